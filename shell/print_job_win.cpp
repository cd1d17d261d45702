#include "shell/print_job_win.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "shell/dialogs/print_status_dialog.h"
#include "win32/printer_canvas.h"
#include "win32/printer_document.h"
#include "win32/strings.h"

namespace kalvor::shell {

namespace {

// The job that runs; the abort procedure of GDI has no parameter for it.
// Only the user-interface thread prints, one job at a time.
PrintStatusDialog* g_status = nullptr;
bool g_running = false;
// A window asked to close while the job ran; closed once the job has ended.
HWND g_closeRequested = nullptr;

bool isCloseRequest(const MSG& msg) {
  return msg.message == WM_CLOSE || (msg.message == WM_SYSCOMMAND && (msg.wParam & 0xFFF0) == SC_CLOSE);
}

// Hands every waiting message on: the status window's keys through
// IsDialogMessageA, the rest dispatched. The other windows are disabled, so
// no user input reaches them; a quit request waits until the job is over.
void pumpMessages() {
  MSG msg;
  bool quit = false;
  int quitCode = 0;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      quit = true;
      quitCode = static_cast<int>(msg.wParam);
      if (g_status) g_status->onQuitRequested();
      continue;
    }
    const HWND status = g_status ? g_status->window() : nullptr;
    // Closing the program now would pull the data from under the job.
    if (isCloseRequest(msg) && msg.hwnd != status && !(status && IsChild(status, msg.hwnd))) {
      g_closeRequested = msg.hwnd;
      continue;
    }
    if (status && IsDialogMessageA(status, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  if (quit) PostQuitMessage(quitCode);
}

BOOL CALLBACK abortProcedure(HDC, int) {
  if (g_status) pumpMessages();
  return g_status && g_status->cancelRequested() ? FALSE : TRUE;
}

// The program's windows the user could act in, disabled for the job and
// enabled again at its end, whatever way it ends.
class DisabledWindows {
 public:
  explicit DisabledWindows(const MainWindows& windows) {
    for (HWND w : {windows.main, windows.description, windows.drawing})
      if (w && IsWindow(w) && IsWindowEnabled(w)) {
        EnableWindow(w, FALSE);
        disabled_.push_back(w);
      }
  }
  ~DisabledWindows() {
    for (HWND w : disabled_)
      if (IsWindow(w)) EnableWindow(w, TRUE);
  }
  DisabledWindows(const DisabledWindows&) = delete;
  DisabledWindows& operator=(const DisabledWindows&) = delete;

 private:
  std::vector<HWND> disabled_;
};

// The status window's progress line and cancel request for the report.
class StatusProgress final : public PrintProgress {
 public:
  explicit StatusProgress(PrintStatusDialog& status) : status_(status) {}
  void show(std::string_view text) override {
    status_.showProgress(text);
    pumpMessages();
  }
  bool cancelled() override {
    pumpMessages();
    return status_.cancelRequested();
  }

 private:
  PrintStatusDialog& status_;
};

class RunningFlag {
 public:
  RunningFlag() { g_running = true; }
  ~RunningFlag() {
    g_running = false;
    g_status = nullptr;
  }
  RunningFlag(const RunningFlag&) = delete;
  RunningFlag& operator=(const RunningFlag&) = delete;
};

void showError(const AppContext& app, const std::string& text) {
  MessageBoxA(app.windows.main, text.c_str(), win32::printerCaption(app.windows.instance).c_str(),
              MB_OK | MB_ICONSTOP);
}

}  // namespace

bool printJobRunning() { return g_running; }

PrintOutcome runPrintJob(AppContext& app, int documentNameId, bool withStatus, const ReportBody& body) {
  if (g_running) {
    MessageBeep(MB_OK);
    return PrintOutcome::kNothingToPrint;
  }
  RunningFlag running;
  win32::DefaultPrinter printer = win32::openDefaultPrinter(app.windows.main);
  if (!printer) {
    showError(app, win32::defaultPrinterMessage(app.windows.instance, printer));
    return PrintOutcome::kDeviceFailed;
  }
  const HDC dc = printer.dc.get();
  PrintOutcome outcome = PrintOutcome::kDeviceFailed;
  std::string failure;
  {
    // The status window goes after the windows are enabled again, so that
    // the main window becomes the active one.
    PrintStatusDialog status(app.windows.instance, app.windows.main);
    DisabledWindows disabled(app.windows);
    win32::PrinterDocument document(dc);
    std::optional<StatusProgress> progress;
    if (withStatus) {
      status.open();
      g_status = &status;
      progress.emplace(status);
      SetAbortProc(dc, abortProcedure);
    }
    if (!document.start(win32::loadString(app.windows.instance, documentNameId))) {
      failure = win32::printerDocumentFailedText(document);
    } else {
      win32::PrinterCanvas canvas(dc, document);
      const PrintResult result = body(canvas, progress ? &*progress : nullptr);
      outcome = result.outcome;
      switch (result.outcome) {
        case PrintOutcome::kPrinted:
          if (!document.finish()) {
            outcome = PrintOutcome::kDeviceFailed;
            failure = win32::printerDocumentFailedText(document);
          }
          break;
        case PrintOutcome::kCancelled:
          MessageBeep(MB_OK);
          document.abort();
          break;
        case PrintOutcome::kNothingToPrint:
          document.abort();
          break;
        case PrintOutcome::kDeviceFailed:
          // The document already aborted itself at the refused call.
          document.abort();
          failure = document.failed() ? win32::printerDocumentFailedText(document) : printFailedText();
          break;
      }
    }
    g_status = nullptr;
    // The canvas and the status window end here, the windows are enabled again.
  }
  if (!failure.empty()) showError(app, failure);
  if (const HWND closing = std::exchange(g_closeRequested, nullptr); closing && IsWindow(closing))
    PostMessageA(closing, WM_CLOSE, 0, 0);
  return outcome;
}

}  // namespace kalvor::shell
