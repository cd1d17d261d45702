// The base of every dialog of kalvor.exe. It owns the dialog procedure and
// finds its object through the dialog's DWLP_USER slot (set at WM_INITDIALOG
// from the creation parameter), so a dialog is one small class: its data,
// onInit, onCommand, onOk. ModalDialog runs a dialog box; ModelessDialog
// creates a dialog that lives beside the main window and takes its keyboard
// messages through the program's ModelessDialogs.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace kalvor::shell {

// The modeless dialogs that are open, owned by the program: the message loop
// gives each its keyboard handling (IsDialogMessageA) before dispatching.
class ModelessDialogs {
 public:
  void add(HWND dialog);
  void remove(HWND dialog);
  // True when one of the dialogs took the message.
  bool handleMessage(MSG& msg) const;
  bool empty() const { return dialogs_.empty(); }

 private:
  std::vector<HWND> dialogs_;
};

// Sees every message of every dialog before the dialog does (the bubble help).
class DialogMessageObserver {
 public:
  virtual ~DialogMessageObserver() = default;
  // True when the observer consumed the message.
  virtual bool dialogMessage(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam, bool modeless) = 0;
};

class DialogBase {
 public:
  // The one observer of the program's dialogs; null for none.
  static void setMessageObserver(DialogMessageObserver* observer) { observer_ = observer; }

  DialogBase(const DialogBase&) = delete;
  DialogBase& operator=(const DialogBase&) = delete;

  // The dialog window; null before WM_INITDIALOG and after it is destroyed.
  HWND window() const { return window_; }

 protected:
  // `templateName` names the dialog resource of `instance`.
  DialogBase(HINSTANCE instance, const char* templateName) : instance_(instance), templateName_(templateName) {}
  virtual ~DialogBase() = default;

  // WM_INITDIALOG. True lets the system focus the first tab stop; return
  // false after setting the focus yourself.
  virtual bool onInit() { return true; }
  // WM_COMMAND from a control or accelerator; true when handled. Unhandled
  // IDOK and IDCANCEL go on to onOk and onCancel.
  virtual bool onCommand(int /*id*/, int /*code*/) { return false; }
  // "OK" (the default button, Enter); ends with 1 unless overridden.
  virtual void onOk() { end(1); }
  // "Abbrechen" (Escape); ends with 0 unless overridden.
  virtual void onCancel() { end(0); }
  // WM_CLOSE (the close box); false leaves it to the default processing,
  // which turns it into IDCANCEL.
  virtual bool onClose() { return false; }
  virtual bool onNotify(int /*id*/, const NMHDR& /*header*/) { return false; }
  virtual bool onTimer(UINT_PTR /*timer*/) { return false; }
  virtual bool onDrawItem(const DRAWITEMSTRUCT& /*item*/) { return false; }
  virtual bool onMeasureItem(MEASUREITEMSTRUCT& /*item*/) { return false; }
  // Any other message (painting, scrolling, sizing, the mouse); true when
  // handled, with `result` as the message's result.
  virtual bool onMessage(UINT /*msg*/, WPARAM /*wParam*/, LPARAM /*lParam*/, LRESULT& /*result*/) { return false; }
  // After the window is gone (WM_NCDESTROY).
  virtual void onDestroyed() {}
  // The base's own bookkeeping at WM_NCDESTROY, before onDestroyed.
  virtual void forget(HWND /*dialog*/) {}
  // Ends the dialog with `code` (modal: the result of run; modeless: destroys it).
  virtual void end(INT_PTR code) = 0;
  // True for a dialog that lives beside the main window.
  virtual bool modeless() const { return false; }

  // --- Helpers for the dialog's controls ----------------------------------
  HINSTANCE instance() const { return instance_; }
  const char* templateName() const { return templateName_; }
  HWND item(int id) const { return GetDlgItem(window_, id); }
  std::string itemText(int id) const;
  void setItemText(int id, std::string_view text) const;
  bool isChecked(int id) const { return IsDlgButtonChecked(window_, id) == BST_CHECKED; }
  void check(int id, bool on) const { CheckDlgButton(window_, id, on ? BST_CHECKED : BST_UNCHECKED); }
  bool isEnabled(int id) const { return IsWindowEnabled(item(id)) != 0; }
  void enable(int id, bool on) const { EnableWindow(item(id), on ? TRUE : FALSE); }
  void focus(int id) const { SetFocus(item(id)); }
  LRESULT sendItem(int id, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return SendDlgItemMessageA(window_, id, msg, wParam, lParam);
  }
  // A string-table text of the program.
  std::string text(int stringId) const;
  // A message box over the dialog with string-table text and caption; the button chosen.
  int messageBox(int textId, int captionId, UINT type) const;
  // Moves the dialog, without repainting, to stand centred over `owner`'s client area.
  void centreOver(HWND owner) const;

  // The dialog procedure shared by every dialog; lParam of WM_INITDIALOG is the object.
  static INT_PTR CALLBACK procedure(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);

 private:
  INT_PTR handle(UINT msg, WPARAM wParam, LPARAM lParam);

  static inline DialogMessageObserver* observer_ = nullptr;
  HINSTANCE instance_;
  const char* templateName_;
  HWND window_ = nullptr;
};

// A dialog box: run() returns when the dialog has ended.
class ModalDialog : public DialogBase {
 public:
  // Runs the dialog over `owner`; the code it ended with, -1 when it could not be shown.
  INT_PTR run(HWND owner);

 protected:
  using DialogBase::DialogBase;
  void end(INT_PTR code) override { EndDialog(window(), code); }
};

// A dialog that stays open while the program goes on; the object must
// outlive its window (the destructor destroys the window).
class ModelessDialog : public DialogBase {
 public:
  ~ModelessDialog() override { destroy(); }
  // Creates the dialog over `owner`, hidden unless the template says
  // WS_VISIBLE, and registers it with `dialogs` when given (so the message
  // loop gives it its keyboard handling). False when it cannot be made.
  bool create(HWND owner, ModelessDialogs* dialogs);
  // Destroys the window (no-op when there is none).
  void destroy();
  bool isOpen() const { return window() != nullptr; }

 protected:
  using DialogBase::DialogBase;
  void end(INT_PTR) override { destroy(); }
  bool modeless() const override { return true; }

 private:
  void forget(HWND dialog) final;
  ModelessDialogs* dialogs_ = nullptr;
};

// Moves `dialog`, without repainting, to stand centred over `owner`'s client area.
void centreOverClientArea(HWND dialog, HWND owner);

}  // namespace kalvor::shell
