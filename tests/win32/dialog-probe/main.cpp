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
const char* g_result = nullptr;

void Append(const char* line) {
  if (g_result == nullptr) return;
  if (FILE* f = std::fopen(g_result, "ab")) {
    std::fprintf(f, "%s\n", line);
    std::fclose(f);
  }
}

// Runs inside the dialog's modal loop (a thread timer): what the running
// dialog shows of itself that another process cannot ask for under Wine,
// its caption icons, and whether it is the application's main window.
void CALLBACK LookAtDialog(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND dialog = FindWindowExA(nullptr, nullptr, "#32770", "Drovik");
  if (dialog == nullptr || GetWindowThreadProcessId(dialog, nullptr) != GetCurrentThreadId()) return;
  KillTimer(nullptr, timer);
  const LRESULT big = SendMessageA(dialog, WM_GETICON, ICON_BIG, 0);
  const LRESULT small = SendMessageA(dialog, WM_GETICON, ICON_SMALL, 0);
  const HICON app = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(128));
  char line[128];
  std::snprintf(line, sizeof line, "running icons %s main-window %s",
                app != nullptr && big == reinterpret_cast<LRESULT>(app) && small == big ? "128" : "other",
                g_app.MainWindow() == reinterpret_cast<uintptr_t>(dialog) ? "dialog" : "other");
  Append(line);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  if (__argc < 4) return 100;
  const int32_t msuOpened = std::atoi(__argv[1]);
  const int32_t enableTimer = std::atoi(__argv[2]);
  const int32_t waitTimer = std::atoi(__argv[3]);
  if (__argc >= 5) g_result = __argv[4];
  SetTimer(nullptr, 0, 20, LookAtDialog);
  Win32ClosingDialog closing;
  const INT_PTR code = closing.RunAndReturnCode(msuOpened, enableTimer, waitTimer);
  // The application's main window is the dialog's only while it runs.
  char line[64];
  std::snprintf(line, sizeof line, "end %d main-window-after %s", static_cast<int>(code),
                g_app.MainWindow() == 0 ? "none" : "left-set");
  Append(line);
  return static_cast<int>(code);
}
