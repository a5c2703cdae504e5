#include "ui/completion_logic.h"

void InitCompletionDialog(CompletionWindowPort& window, int32_t MsuOpened, int32_t EnableTimer,
                          int32_t WaitTimer) {
  if (MsuOpened != 0 && EnableTimer != 0) {
    window.StartTimer(kScanTimerId, WaitTimer);
  } else {
    window.EndWithOk();
  }
}

void OnCompletionTimer(CompletionWindowPort& window, WindowManagerPort& windows, uintptr_t timerId) {
  window.Hide();
  if (timerId == kScanTimerId) ConfirmInstallerDialogs(windows, window);
}

int32_t CentredIconOrigin(int32_t extent, int32_t iconExtent) {
  // In 64 bits so that no client size can overflow the sum.
  const int64_t twice = static_cast<int64_t>(extent) - iconExtent + 1;
  return static_cast<int32_t>(twice / 2);
}
