#include "win32/printer_document.h"

#include <commdlg.h>

#include <cstdio>

#include "string_ids.h"
#include "win32/strings.h"

namespace kalvor::win32 {

DefaultPrinter openDefaultPrinter(HWND owner) {
  PRINTDLGA pd{};
  pd.lStructSize = sizeof pd;
  pd.hwndOwner = owner;
  pd.Flags = PD_RETURNDEFAULT | PD_RETURNDC;
  DefaultPrinter result;
  const BOOL ok = PrintDlgA(&pd);
  if (pd.hDevMode) GlobalFree(pd.hDevMode);
  if (pd.hDevNames) GlobalFree(pd.hDevNames);
  if (ok && pd.hDC) {
    result.dc = PrinterDc(pd.hDC);
    return result;
  }
  if (pd.hDC) DeleteDC(pd.hDC);
  if (ok) {
    // The dialog answered but gave no device context.
    result.errorCode = PDERR_CREATEICFAILURE;
    return result;
  }
  const DWORD error = CommDlgExtendedError();
  // Without any error code the dialog found nothing to return either.
  result.noPrinter = error == 0 || error == PDERR_NODEFAULTPRN || error == PDERR_NODEVICES;
  result.errorCode = error;
  return result;
}

std::string defaultPrinterMessage(HINSTANCE instance, const DefaultPrinter& printer) {
  if (printer.noPrinter) return loadString(instance, strings::kStrNoDefaultPrinter);
  std::string text = loadString(instance, strings::kStrPrinterError);
  const std::size_t at = text.find("%x");
  if (at != std::string::npos) {
    char code[16];
    std::snprintf(code, sizeof code, "%lx", static_cast<unsigned long>(printer.errorCode));
    text.replace(at, 2, code);
  }
  return text;
}

std::string printerCaption(HINSTANCE instance) {
  return loadString(instance, strings::kStrPrinterErrorCaption);
}

PrinterDocument::~PrinterDocument() {
  if (state_ == State::kOpen) abort();
}

bool PrinterDocument::fail(const char* call) {
  failedCall_ = call;
  failedError_ = GetLastError();
  if (state_ == State::kOpen) AbortDoc(dc_);
  state_ = State::kFailed;
  pageOpen_ = false;
  return false;
}

bool PrinterDocument::start(std::string_view name) {
  if (state_ != State::kNotStarted) return false;
  const std::string docName(name);
  DOCINFOA info{};
  info.cbSize = sizeof info;
  info.lpszDocName = docName.c_str();
  if (StartDocA(dc_, &info) <= 0) return fail("StartDoc");
  state_ = State::kOpen;
  return true;
}

bool PrinterDocument::startPage() {
  if (state_ != State::kOpen) return false;
  if (pageOpen_ && !endPage()) return false;
  if (StartPage(dc_) <= 0) return fail("StartPage");
  pageOpen_ = true;
  return true;
}

bool PrinterDocument::endPage() {
  if (state_ != State::kOpen || !pageOpen_) return false;
  pageOpen_ = false;
  if (EndPage(dc_) <= 0) return fail("EndPage");
  return true;
}

bool PrinterDocument::finish() {
  if (state_ != State::kOpen) return false;
  if (pageOpen_ && !endPage()) return false;
  if (EndDoc(dc_) <= 0) return fail("EndDoc");
  state_ = State::kFinished;
  return true;
}

void PrinterDocument::abort() {
  if (state_ != State::kOpen) return;
  AbortDoc(dc_);
  pageOpen_ = false;
  state_ = State::kAborted;
}

std::string printerDocumentFailedText(const PrinterDocument& document) {
  char code[64];
  std::snprintf(code, sizeof code, " (%s, Fehler %lu)", document.failedCall(),
                static_cast<unsigned long>(document.failedError()));
  return "Der Drucker hat das Dokument nicht angenommen; der Druck wurde abgebrochen." + std::string(code);
}

}  // namespace kalvor::win32
