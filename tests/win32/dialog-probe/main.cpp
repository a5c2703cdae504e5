// Test program: the closing dialog on its own, driven from the command
// line, through the same entry the launch sequence calls.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "app/application.h"
#include "ui/win32/completion_dialog.h"

namespace {

class ProbeApp : public Application {
 public:
  int32_t InitInstance() override { return 0; }
};

ProbeApp g_app;

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  if (__argc < 4) return 100;
  const int32_t msuOpened = std::atoi(__argv[1]);
  const int32_t enableTimer = std::atoi(__argv[2]);
  const int32_t waitTimer = std::atoi(__argv[3]);
  Win32ClosingDialog closing;
  const INT_PTR code = closing.RunAndReturnCode(msuOpened, enableTimer, waitTimer);
  if (__argc >= 5) {
    if (FILE* f = std::fopen(__argv[4], "ab")) {
      // The application's main window is the dialog's only while it runs.
      std::fprintf(f, "end %d main-window-after %s\n", static_cast<int>(code),
                   g_app.MainWindow() == 0 ? "none" : "left-set");
      std::fclose(f);
    }
  }
  return static_cast<int>(code);
}
