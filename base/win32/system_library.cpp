#include "base/win32/system_library.h"

HMODULE LoadSystemDll(const char* fileName) {
  char path[MAX_PATH + 1];
  UINT n = GetSystemDirectoryA(path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return nullptr;
  if (lstrlenA(path) + 1 + lstrlenA(fileName) >= MAX_PATH) return nullptr;
  lstrcatA(path, "\\");
  lstrcatA(path, fileName);
  // LOAD_WITH_ALTERED_SEARCH_PATH: the DLL's own dependencies are looked for
  // in its folder (the system folder) first, not in the launcher's.
  return LoadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

SystemLibrary::~SystemLibrary() {
  if (module_) FreeLibrary(module_);
}
