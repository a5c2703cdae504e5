#include "ui/installer_confirm.h"

namespace {

bool SameText(const char* a, const char* b) {
  for (; *a != '\0' && *a == *b; ++a, ++b) {
  }
  return *a == *b;
}

// A window's shape: class name (whole, letter case significant, as far as
// the 128-character buffer holds it) and control identifier. A window that
// has gone away has neither and so never matches.
bool HasShape(WindowManagerPort& windows, WindowRef window, const char* className, int32_t id) {
  if (window == 0) return false;
  char name[kClassNameCapacity];
  name[0] = '\0';
  int32_t n = windows.ReadClassName(window, name, kClassNameCapacity);
  if (n < 0 || n >= kClassNameCapacity) n = kClassNameCapacity - 1;
  name[n] = '\0';
  return SameText(name, className) && windows.ControlId(window) == id;
}

// A click at the button's top-left corner; the installer's process acts on
// it later, nothing here waits for that.
void Press(WindowManagerPort& windows, WindowRef button) {
  windows.Post(button, kMessageLeftButtonDown, kLeftButtonHeld, 0);
  windows.Post(button, kMessageLeftButtonUp, 0, 0);
}

// Pass 1: a dialog whose first child is the static marker. Its OK button
// answers the installer; a Cancel button before it means the installer is
// asking whether to stop, and the launcher is done then.
void ConfirmMarkedDialogs(WindowManagerPort& windows, DialogEndPort& end) {
  const WindowRef desktop = windows.Desktop();
  for (WindowRef dialog = windows.NextChildOfClass(desktop, 0, kDialogClass); dialog != 0;
       dialog = windows.NextChildOfClass(desktop, dialog, kDialogClass)) {
    if (!HasShape(windows, windows.FirstChild(dialog), kStaticMarkerClass, kStaticMarkerId)) continue;
    for (WindowRef button = windows.NextChildOfClass(dialog, 0, kButtonClass); button != 0;
         button = windows.NextChildOfClass(dialog, button, kButtonClass)) {
      const int32_t id = windows.ControlId(button);
      if (id == kButtonOk) {
        Press(windows, button);
        break;
      }
      if (id == kButtonCancel) {
        Press(windows, button);
        end.EndWithOk();
      }
    }
  }
}

// Pass 2: a dialog whose last child is a pane that starts with the edit
// marker. The pane's first OK button finishes the installer, and with it
// the launcher; one press per scan.
void ConfirmMarkedPanes(WindowManagerPort& windows, DialogEndPort& end) {
  const WindowRef desktop = windows.Desktop();
  bool pressed = false;
  WindowRef dialog = windows.NextChildOfClass(desktop, 0, kDialogClass);
  while (dialog != 0) {
    const WindowRef first = windows.FirstChild(dialog);
    const WindowRef pane = first != 0 ? windows.LastSibling(first) : 0;
    const WindowRef marker = pane != 0 ? windows.FirstChild(pane) : 0;
    if (HasShape(windows, marker, kEditMarkerClass, kEditMarkerId)) {
      for (WindowRef button = windows.NextChildOfClass(pane, 0, kButtonClass); button != 0;
           button = windows.NextChildOfClass(pane, button, kButtonClass)) {
        if (windows.ControlId(button) == kButtonOk) {
          Press(windows, button);
          pressed = true;
          break;
        }
      }
    }
    dialog = windows.NextChildOfClass(desktop, dialog, kDialogClass);
    if (pressed) {
      end.EndWithOk();
      return;
    }
  }
}

}  // namespace

void ConfirmInstallerDialogs(WindowManagerPort& windows, DialogEndPort& end) {
  ConfirmMarkedDialogs(windows, end);
  ConfirmMarkedPanes(windows, end);
}
