#pragma once
// A system DLL loaded at run time by its full path in the system folder, so
// that a DLL of the same name beside Setup.exe or in the current folder (a
// Downloads folder, a removable drive) can never stand in for it. Used for
// the DLLs the launcher needs that are not among the system's known DLLs.
#include <windows.h>

class SystemLibrary {
 public:
  explicit SystemLibrary(const char* fileName);
  ~SystemLibrary();
  SystemLibrary(const SystemLibrary&) = delete;
  SystemLibrary& operator=(const SystemLibrary&) = delete;

  bool IsLoaded() const { return module_ != nullptr; }

  // The exported function, or null (also when the DLL did not load).
  template <typename Fn>
  Fn Get(const char* name) const {
    return module_ ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module_, name))) : nullptr;
  }

 private:
  HMODULE module_ = nullptr;
};
