#include "app/win32/module_path_win32.h"

#include <windows.h>

bool Win32ModulePath::GetModulePath(PathText& out) {
  const DWORD size = static_cast<DWORD>(PathText::Capacity() + 1);
  DWORD length = GetModuleFileNameA(NULL, out.WritableBuffer(), size);
  // A result that fills the buffer was cut: XP then leaves it without a
  // terminator, later systems terminate it short. Either way it is not the
  // path.
  if (length == 0 || length >= size) {
    out.Clear();
    return false;
  }
  out.WritableBuffer()[length] = '\0';
  out.SyncAfterWrite();
  return true;
}
