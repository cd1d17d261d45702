#include "shell/label_print_job.h"

#include <string>

namespace kalvor::shell {

LabelPrintJob::LabelPrintJob(win32::PrinterDc dc, HINSTANCE instance)
    : instance_(instance),
      dc_(std::move(dc)),
      document_(dc_.get()),
      canvas_(dc_.get(), document_),
      sheet_(canvas_) {}

LabelPrintJob::~LabelPrintJob() {
  // A job that was neither printed nor thrown away leaves nothing behind.
  if (!document_.finished()) document_.abort();
}

std::unique_ptr<LabelPrintJob> LabelPrintJob::open(HWND owner, HINSTANCE instance, std::string_view name) {
  win32::DefaultPrinter printer = win32::openDefaultPrinter(owner);
  if (!printer) {
    MessageBoxA(owner, win32::defaultPrinterMessage(instance, printer).c_str(),
                win32::printerCaption(instance).c_str(), MB_OK | MB_ICONINFORMATION);
    return nullptr;
  }
  std::unique_ptr<LabelPrintJob> job(new LabelPrintJob(std::move(printer.dc), instance));
  if (!job->document_.start(name)) {
    MessageBoxA(owner, win32::printerDocumentFailedText(job->document_).c_str(),
                win32::printerCaption(instance).c_str(), MB_OK | MB_ICONEXCLAMATION);
    return nullptr;
  }
  return job;
}

void LabelPrintJob::print(const LabelContent& content, int copies) {
  if (!sheet_.geometry()) return;
  sheet_.printLabels(content, copies);
  labels_ += copies;
}

bool LabelPrintJob::finish(HWND owner) {
  if (labels_ == 0) {
    document_.abort();
    return true;
  }
  sheet_.finish();
  if (document_.finish()) return true;
  MessageBoxA(owner, win32::printerDocumentFailedText(document_).c_str(),
              win32::printerCaption(instance_).c_str(), MB_OK | MB_ICONEXCLAMATION);
  return false;
}

}  // namespace kalvor::shell
