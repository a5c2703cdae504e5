#include "base/win32/system_library.h"

SystemLibrary::SystemLibrary(const char* fileName) {
  char path[MAX_PATH + 1];
  UINT n = GetSystemDirectoryA(path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return;
  if (lstrlenA(path) + 1 + lstrlenA(fileName) >= MAX_PATH) return;
  lstrcatA(path, "\\");
  lstrcatA(path, fileName);
  // LOAD_WITH_ALTERED_SEARCH_PATH: the DLL's own dependencies are looked for
  // in the system folder too, not in the launcher's.
  module_ = LoadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

SystemLibrary::~SystemLibrary() {
  if (module_) FreeLibrary(module_);
}
