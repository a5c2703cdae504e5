#pragma once
// The window manager port over user32: window handles pass through as
// opaque references, nothing is decided here.
#include "ui/window_manager_port.h"

class Win32WindowManager : public WindowManagerPort {
 public:
  WindowRef Desktop() override;
  WindowRef NextChildOfClass(WindowRef parent, WindowRef after, const char* className) override;
  WindowRef FirstChild(WindowRef window) override;
  WindowRef LastSibling(WindowRef window) override;
  int32_t ReadClassName(WindowRef window, char* buffer, int32_t capacity) override;
  int32_t ControlId(WindowRef window) override;
  void Post(WindowRef window, uint32_t message, uintptr_t wParam, intptr_t lParam) override;
};
