// "DRUCKSTATUS": the small window beside a long print job with its progress
// line and "Druck &abbrechen". It is the one window that answers while the
// job runs; its button (or Escape, or the close box) asks the job to stop
// after the current entry.
#pragma once

#include <string_view>

#include "shell/dialog.h"

namespace kalvor::shell {

class PrintStatusDialog final : public ModelessDialog {
 public:
  PrintStatusDialog(HINSTANCE instance, HWND owner);
  ~PrintStatusDialog() override { destroy(); }

  // Creates and shows the window centred over the owner; clears the request to stop.
  bool open();
  void showProgress(std::string_view line);
  bool cancelRequested() const { return cancelRequested_; }
  // The program is asked to end: the job stops first.
  void onQuitRequested() { cancelRequested_ = true; }

 private:
  bool onInit() override;
  bool onCommand(int id, int code) override;
  void onCancel() override { cancelRequested_ = true; }
  void onOk() override {}

  HWND owner_;
  bool cancelRequested_ = false;
};

}  // namespace kalvor::shell
