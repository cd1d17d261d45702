// One kalvor.exe per collection folder: a second start on the same folder
// brings the running program's main window to the front and ends.
#pragma once

#include <windows.h>

#include <string>

namespace kalvor::shell {

class RunningInstance {
 public:
  // Takes the named mutex of the working folder; running() tells whether
  // another kalvor.exe of this folder holds it already.
  RunningInstance();
  ~RunningInstance();
  RunningInstance(const RunningInstance&) = delete;
  RunningInstance& operator=(const RunningInstance&) = delete;

  bool running() const { return running_; }
  // Restores and activates the other program's main window; false when it
  // has none yet (it is still starting).
  bool activateOther() const;
  // Marks this program's main window as the one of this folder.
  void markMainWindow(HWND window) const;

 private:
  std::string name_;
  HANDLE mutex_ = nullptr;
  bool running_ = false;
};

}  // namespace kalvor::shell
