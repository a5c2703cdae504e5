#pragma once
// Our own small modal-dialog layer on plain Win32: a dialog object runs its
// template from the program's resources with DoModal and gets its messages
// through a static message map (message -> member handler), with the
// system's dialog procedure as the default handling for everything else.
//
// A derived dialog lists its handlers in a constant table, chains it to its
// base's map, and returns it from GetMessageMap():
//
//   const ModalDialog::MessageMapEntry MyDialog::kEntries[] = {
//       {WM_TIMER, static_cast<Handler>(&MyDialog::OnTimerMessage)},
//   };
//   const ModalDialog::MessageMap MyDialog::kMap = {&ModalDialog::kMap, kEntries, 1};
//
// The tables are constants made at compile time: no start-up code, no
// guarded local statics.
//
// A handler returns what the dialog procedure returns: Default() (FALSE)
// to let the system's dialog procedure handle the message as well, TRUE
// when the message is done, or the value itself for the few messages whose
// result is the procedure's return value (WM_QUERYDRAGICON and the like).
#include <windows.h>

class ModalDialog {
 public:
  ModalDialog(WORD templateId, HWND parent);
  virtual ~ModalDialog();
  ModalDialog(const ModalDialog&) = delete;
  ModalDialog& operator=(const ModalDialog&) = delete;

  // Creates the window from the template, calls OnInitDialog once and runs
  // the dialog's messages until EndDialog; the window is then hidden and
  // destroyed. Returns the end code, or -1 when the window could not be
  // made. Ending from OnInitDialog returns without waiting for input.
  INT_PTR DoModal();

  // The window while the modal run lasts, else null.
  HWND Window() const { return window_; }

  // The program's application object takes the dialog's window as its main
  // window while the modal run lasts.
  void SetMainWindowWhileRunning(bool on) { mainWindow_ = on; }

 protected:
  using Handler = INT_PTR (ModalDialog::*)(WPARAM, LPARAM);
  struct MessageMapEntry {
    UINT message;
    Handler handler;
  };
  struct MessageMap {
    const MessageMap* base;
    const MessageMapEntry* entries;
    UINT count;
  };

  // This dialog's map; the first entry found for a message, derived tables
  // before their bases, handles it.
  virtual const MessageMap* GetMessageMap() const { return &kMap; }
  static const MessageMap kMap;

  // Called once when the window exists, before it is shown. Returns TRUE to
  // let the system set the initial focus. The base's does nothing.
  virtual BOOL OnInitDialog();
  virtual void DoDataExchange() {}
  // OK button and Enter: data exchange, then EndDialog(IDOK).
  virtual void OnOK();
  // Cancel button, Esc and the close box: EndDialog(IDCANCEL).
  virtual void OnCancel();

  // Ends the modal run with code; a further call before the run ends is
  // harmless.
  void EndDialog(INT_PTR code);

  static INT_PTR Default() { return FALSE; }

 private:
  INT_PTR OnCommandMessage(WPARAM wParam, LPARAM lParam);
  INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR InitWindow(HWND window);
  static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static const MessageMapEntry kEntries[];

  WORD templateId_;
  HWND parent_;
  HWND window_ = nullptr;
  bool mainWindow_ = false;
  bool ended_ = false;
};
