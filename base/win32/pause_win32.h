#pragma once
#include <windows.h>

#include "base/pause_port.h"

class Win32Pause final : public PausePort {
 public:
  void Pause(uint32_t milliseconds) override { Sleep(milliseconds); }
};
