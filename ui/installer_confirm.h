#pragma once
// Presses the buttons of the update installer's dialogs on the user's
// behalf. The installer runs in its own processes alongside the launcher;
// its dialogs are recognised by shape alone (window class and control
// identifiers), whoever owns them.
#include <cstdint>

#include "ui/window_manager_port.h"

// Ends the closing dialog as its OK button would (the end code IDOK).
// Calling it again in the same tick is harmless.
class DialogEndPort {
 public:
  virtual void EndWithOk() = 0;

 protected:
  ~DialogEndPort() = default;
};

// The shapes, as the installer builds its dialogs.
constexpr const char* kDialogClass = "#32770";
constexpr const char* kButtonClass = "Button";
// First shape: a dialog whose first child is this static control.
constexpr const char* kStaticMarkerClass = "Static";
constexpr int32_t kStaticMarkerId = 0xCAFE;  // 51966
// Second shape: a dialog whose last child is a pane whose first child is
// this edit control.
constexpr const char* kEditMarkerClass = "Edit";
constexpr int32_t kEditMarkerId = 0xFBAE;  // 64430
constexpr int32_t kButtonOk = 1;      // IDOK
constexpr int32_t kButtonCancel = 2;  // IDCANCEL
// Class names are read into this many characters, terminator included.
constexpr int32_t kClassNameCapacity = 128;

// One scan of the desktop: pass 1 (dialogs marked by the static control),
// then pass 2 (panes marked by the edit control). Presses are posted mouse
// clicks; some of them end the closing dialog through `end`.
void ConfirmInstallerDialogs(WindowManagerPort& windows, DialogEndPort& end);
