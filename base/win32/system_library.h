#pragma once
// System DLLs loaded at run time by their full path in the system folder, so
// that a DLL of the same name beside Setup.exe or in the current folder (a
// Downloads folder, a removable drive) can never stand in for one. Used for
// the DLLs the launcher needs that are not among the system's known DLLs,
// and for functions that not every system's DLLs have.
#include <windows.h>

// Loads the system folder's fileName; null when it is not there. The DLL's
// own dependencies are looked for beside it, in the system folder, too.
HMODULE LoadSystemDll(const char* fileName);

// The function module exports under name, or null (also for no module).
template <typename Fn>
Fn ExportedFunction(HMODULE module, const char* name) {
  return module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

// A system DLL held for the lifetime of this object.
class SystemLibrary {
 public:
  explicit SystemLibrary(const char* fileName) : module_(LoadSystemDll(fileName)) {}
  ~SystemLibrary();
  SystemLibrary(const SystemLibrary&) = delete;
  SystemLibrary& operator=(const SystemLibrary&) = delete;

  bool IsLoaded() const { return module_ != nullptr; }

  // The exported function, or null (also when the DLL did not load).
  template <typename Fn>
  Fn Get(const char* name) const {
    return ExportedFunction<Fn>(module_, name);
  }

 private:
  HMODULE module_ = nullptr;
};
