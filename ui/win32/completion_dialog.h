#pragma once
// The closing dialog (template 102): ends at once, or, after an update
// package was opened, hides itself on its first timer tick and presses the
// update installer's dialogs on every tick until a press ends it.
#include <windows.h>

#include <cstdint>

#include "app/launch_steps.h"
#include "ui/completion_logic.h"
#include "ui/win32/modal_dialog.h"
#include "ui/win32/window_manager.h"

class CompletionDialog : public ModalDialog, private CompletionWindowPort {
 public:
  CompletionDialog(HWND parent, int32_t MsuOpened, int32_t EnableTimer, int32_t WaitTimer);
  ~CompletionDialog() override;

 protected:
  const MessageMap* GetMessageMap() const override { return &kMap; }
  void DoDataExchange() override {}
  BOOL OnInitDialog() override;
  void OnOK() override { ModalDialog::OnOK(); }

 private:
  INT_PTR OnPaint(WPARAM wParam, LPARAM lParam);
  INT_PTR OnQueryDragIcon(WPARAM wParam, LPARAM lParam);
  INT_PTR OnTimer(WPARAM wParam, LPARAM lParam);

  // CompletionWindowPort
  void EndWithOk() override { OnOK(); }
  void StartTimer(uint32_t timerId, int32_t intervalMs) override;
  void Hide() override;

  static const MessageMapEntry kEntries[];
  static const MessageMap kMap;

  // Icon 128 of the program; a shared icon, never destroyed.
  HICON AppIcon;
  int32_t msuOpened_;
  int32_t enableTimer_;
  int32_t waitTimer_;
  Win32WindowManager windows_;
};

// The launch sequence's last step on Windows: the closing dialog with no
// parent, as the application's main window while it runs.
class Win32ClosingDialog : public ClosingDialog {
 public:
  void RunCompletionDialog(int32_t MsuOpened, int32_t EnableTimer, int32_t WaitTimer) override;
  // The same, with the dialog's end code (IDOK, IDCANCEL, -1), for the test
  // program that drives the dialog alone.
  INT_PTR RunAndReturnCode(int32_t MsuOpened, int32_t EnableTimer, int32_t WaitTimer);
};
