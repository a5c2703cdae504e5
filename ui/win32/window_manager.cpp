#include "ui/win32/window_manager.h"

#include <windows.h>

namespace {
HWND H(WindowRef w) { return reinterpret_cast<HWND>(w); }
WindowRef R(HWND h) { return reinterpret_cast<WindowRef>(h); }
}  // namespace

WindowRef Win32WindowManager::Desktop() { return R(GetDesktopWindow()); }

WindowRef Win32WindowManager::NextChildOfClass(WindowRef parent, WindowRef after, const char* className) {
  return R(FindWindowExA(H(parent), H(after), className, nullptr));
}

WindowRef Win32WindowManager::FirstChild(WindowRef window) {
  return window != 0 ? R(GetWindow(H(window), GW_CHILD)) : 0;
}

WindowRef Win32WindowManager::LastSibling(WindowRef window) {
  return window != 0 ? R(GetWindow(H(window), GW_HWNDLAST)) : 0;
}

int32_t Win32WindowManager::ReadClassName(WindowRef window, char* buffer, int32_t capacity) {
  if (capacity <= 0) return 0;
  buffer[0] = '\0';
  int n = GetClassNameA(H(window), buffer, capacity);
  if (n <= 0) {
    buffer[0] = '\0';
    return 0;
  }
  if (n >= capacity) n = capacity - 1;
  buffer[n] = '\0';
  return n;
}

int32_t Win32WindowManager::ControlId(WindowRef window) {
  return static_cast<int32_t>(GetWindowLongA(H(window), GWL_ID));
}

void Win32WindowManager::Post(WindowRef window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  PostMessageA(H(window), message, static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam));
}
