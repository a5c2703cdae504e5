#pragma once
#include "base/message_box_port.h"

// MessageBoxA with no owner window and one OK button.
class Win32MessageBoxes final : public MessageBoxPort {
 public:
  void ShowMessage(const char* text, const char* caption, BoxIcon icon) override;
};
