#pragma once
// The window manager as the closing dialog's scan sees it: the desktop's
// top-level windows, their children in the window manager's order, and
// posted messages. Windows are opaque references; 0 stands for none.
#include <cstdint>

using WindowRef = uintptr_t;

class WindowManagerPort {
 public:
  // The window whose direct children are the top-level windows.
  virtual WindowRef Desktop() = 0;

  // The next direct child of parent after `after` (0: from the first) whose
  // class is exactly className, in the window manager's order. 0 at the end,
  // and 0 when `after` or parent no longer exists.
  virtual WindowRef NextChildOfClass(WindowRef parent, WindowRef after, const char* className) = 0;

  // The first child of window; 0 when it has none or window is 0 or gone.
  virtual WindowRef FirstChild(WindowRef window) = 0;

  // The last window among window's siblings (window itself when it has
  // none); 0 when window is 0 or gone.
  virtual WindowRef LastSibling(WindowRef window) = 0;

  // Copies window's class name into buffer, cut to capacity - 1 characters
  // and terminated; returns the number of characters copied, 0 (and an
  // empty buffer) when the window is gone.
  virtual int32_t ReadClassName(WindowRef window, char* buffer, int32_t capacity) = 0;

  // The window's control identifier; 0 when the window is gone.
  virtual int32_t ControlId(WindowRef window) = 0;

  // Queues message for the window's own thread and returns at once; the
  // outcome is of no interest.
  virtual void Post(WindowRef window, uint32_t message, uintptr_t wParam, intptr_t lParam) = 0;

 protected:
  ~WindowManagerPort() = default;
};

// The messages the scan posts, with the window manager's numbers.
constexpr uint32_t kMessageLeftButtonDown = 0x0201;  // WM_LBUTTONDOWN
constexpr uint32_t kMessageLeftButtonUp = 0x0202;    // WM_LBUTTONUP
constexpr uintptr_t kLeftButtonHeld = 0x0001;        // MK_LBUTTON
