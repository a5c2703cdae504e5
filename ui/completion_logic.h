#pragma once
// What the closing dialog decides, apart from its window: whether it waits
// for the update installer at all, what a timer tick does, and where the
// icon of the minimised dialog goes.
#include <cstdint>

#include "ui/installer_confirm.h"

// The closing dialog's own window.
class CompletionWindowPort : public DialogEndPort {
 public:
  // A timer message with timerId about every intervalMs until the window
  // is destroyed. The interval goes to the timer service unchanged, so its
  // own bounds apply to 0 and to out-of-range values; a failure goes
  // unnoticed (the dialog then simply stays up until the user ends it).
  virtual void StartTimer(uint32_t timerId, int32_t intervalMs) = 0;
  // Hides the window; hiding a hidden window does nothing.
  virtual void Hide() = 0;

 protected:
  ~CompletionWindowPort() = default;
};

constexpr uint32_t kScanTimerId = 300;

// Initialisation: armed only when an update package was opened and the
// settings allow the automatic confirmation; otherwise the dialog ends at
// once, before it waits for any input.
void InitCompletionDialog(CompletionWindowPort& window, int32_t MsuOpened, int32_t EnableTimer,
                          int32_t WaitTimer);

// One timer message: the dialog hides on every tick and scans only on its
// own timer's.
void OnCompletionTimer(CompletionWindowPort& window, WindowManagerPort& windows, uintptr_t timerId);

// The origin that centres an icon of iconExtent in a client extent:
// (extent - iconExtent + 1) / 2 in signed division that truncates toward
// zero, so a client smaller than the icon gives a negative origin.
int32_t CentredIconOrigin(int32_t extent, int32_t iconExtent);
