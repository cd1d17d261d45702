// A modeless progress dialog ("IndexAufbau", "IndexAufbau1",
// "TAUSCHLISTEN_AUFBAU") shown while a long operation runs on the one thread.
#pragma once

#include <windows.h>

#include <string>

#include "app/startup.h"

namespace kalvor::shell {

// Shows the dialog from template `templateName` centred over the main window's
// client area when the first progress arrives, and destroys it at the end.
class ProgressDialog final : public StartupProgress {
 public:
  // `lineControl` is the static that shows the progress lines; `title`, when
  // not empty, replaces the template's caption.
  ProgressDialog(HINSTANCE instance, HWND owner, const char* templateName, int lineControl,
                 std::string title = {});
  ~ProgressDialog() override { close(); }
  ProgressDialog(const ProgressDialog&) = delete;
  ProgressDialog& operator=(const ProgressDialog&) = delete;

  void searchIndexRebuildStarted() override { show(); }
  void searchIndexRebuildFinished() override { close(); }
  void progress(const std::string& line) override;
  // Shows the dialog now (no-op when it is shown).
  void show();
  // Destroys the dialog (no-op when it is not shown).
  void close();

 private:
  HINSTANCE instance_;
  HWND owner_;
  const char* templateName_;
  int lineControl_;
  std::string title_;
  HWND dialog_ = nullptr;
};

// Moves `dialog` without repainting so that it stands centred over the client area of `owner`.
void centreOverClientArea(HWND dialog, HWND owner);

}  // namespace kalvor::shell
