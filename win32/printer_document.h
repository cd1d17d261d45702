// The default printer and one document on it: the printer's device context
// from the common print dialog (without showing it), and the StartDoc ..
// EndDoc bracket whose every step is checked, so that a spooler that refuses
// a page ends the job with a message instead of passing for a finished print.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace kalvor::win32 {

// A printer device context, deleted at the end.
class PrinterDc {
 public:
  PrinterDc() = default;
  explicit PrinterDc(HDC dc) : dc_(dc) {}
  ~PrinterDc() { reset(); }
  PrinterDc(PrinterDc&& other) noexcept : dc_(other.release()) {}
  PrinterDc& operator=(PrinterDc&& other) noexcept {
    if (this != &other) {
      reset();
      dc_ = other.release();
    }
    return *this;
  }
  PrinterDc(const PrinterDc&) = delete;
  PrinterDc& operator=(const PrinterDc&) = delete;

  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }
  void reset() {
    if (dc_) DeleteDC(dc_);
    dc_ = nullptr;
  }
  HDC release() {
    HDC dc = dc_;
    dc_ = nullptr;
    return dc;
  }

 private:
  HDC dc_ = nullptr;
};

// The default printer, or why there is none.
struct DefaultPrinter {
  PrinterDc dc;
  // On failure: true when no printer is the default one (string 10083),
  // otherwise the common dialog's error code (string 10088).
  bool noPrinter = false;
  DWORD errorCode = 0;
  explicit operator bool() const { return static_cast<bool>(dc); }
};

// Asks the common print dialog for the default printer's DC without showing
// it (PD_RETURNDEFAULT | PD_RETURNDC); the device mode and names it returns
// are freed here.
DefaultPrinter openDefaultPrinter(HWND owner);

// The German message for a failed openDefaultPrinter (Windows-1252), from
// the string table of `instance`, and its caption.
std::string defaultPrinterMessage(HINSTANCE instance, const DefaultPrinter& printer);
std::string printerCaption(HINSTANCE instance);

// One document on a printer DC. Every spooler call is checked: the first
// that fails aborts the document (AbortDoc) and is remembered; later calls
// do nothing and fail. A document neither finished nor aborted when the
// object ends is aborted then.
class PrinterDocument {
 public:
  // `dc` must outlive the document.
  explicit PrinterDocument(HDC dc) : dc_(dc) {}
  ~PrinterDocument();
  PrinterDocument(const PrinterDocument&) = delete;
  PrinterDocument& operator=(const PrinterDocument&) = delete;

  // StartDocA with `name` (Windows-1252) as the document's name.
  bool start(std::string_view name);
  bool startPage();
  bool endPage();
  // Ends the document (EndDoc): it goes to the printer. Ends an open page first.
  bool finish();
  // Throws the document away (AbortDoc): the user cancelled.
  void abort();

  bool started() const { return state_ != State::kNotStarted; }
  bool pageOpen() const { return pageOpen_; }
  bool failed() const { return state_ == State::kFailed; }
  bool finished() const { return state_ == State::kFinished; }
  bool aborted() const { return state_ == State::kAborted || state_ == State::kFailed; }
  // Which call failed and how ("EndPage", GetLastError), for the message.
  const char* failedCall() const { return failedCall_; }
  DWORD failedError() const { return failedError_; }

 private:
  enum class State { kNotStarted, kOpen, kFinished, kAborted, kFailed };
  bool fail(const char* call);

  HDC dc_;
  State state_ = State::kNotStarted;
  bool pageOpen_ = false;
  const char* failedCall_ = "";
  DWORD failedError_ = 0;
};

// The German message for a document the printer did not take (Windows-1252).
std::string printerDocumentFailedText(const PrinterDocument& document);

}  // namespace kalvor::win32
