#include "launch/win32/shell_win32.h"

#include <windows.h>
#include <shellapi.h>

int32_t Win32Shell::OpenWithShellVerb(const char* target) {
  HINSTANCE result = ShellExecuteA(NULL, "open", target, NULL, NULL, SW_SHOW);
  return static_cast<int32_t>(reinterpret_cast<INT_PTR>(result));
}
