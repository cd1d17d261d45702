// A modeless progress dialog ("IndexAufbau", "IndexAufbau1",
// "TAUSCHLISTEN_AUFBAU") shown while a long operation runs on the one thread.
#pragma once

#include <string>

#include "app/startup.h"
#include "shell/dialog.h"

namespace kalvor::shell {

// Shows the dialog centred over the owner's client area when the first
// progress arrives, and destroys it at the end.
class ProgressDialog final : public ModelessDialog, public StartupProgress {
 public:
  // `lineControl` is the static that shows the progress lines; `title`, when
  // not empty, replaces the template's caption.
  ProgressDialog(HINSTANCE instance, HWND owner, const char* templateName, int lineControl,
                 std::string title = {})
      : ModelessDialog(instance, templateName), owner_(owner), lineControl_(lineControl), title_(std::move(title)) {}
  ~ProgressDialog() override { destroy(); }

  void searchIndexRebuildStarted() override { show(); }
  void searchIndexRebuildFinished() override { destroy(); }
  void progress(const std::string& line) override;
  // Shows the dialog now (no-op when it is shown).
  void show();

 private:
  bool onInit() override;

  HWND owner_;
  int lineControl_;
  std::string title_;
};

}  // namespace kalvor::shell
