#pragma once
#include <windows.h>

// Owns one kernel handle and closes it on every way out of its scope.
class ScopedHandle {
 public:
  ScopedHandle() = default;
  explicit ScopedHandle(HANDLE handle) : handle_(handle) {}
  ~ScopedHandle() { Reset(); }
  ScopedHandle(const ScopedHandle&) = delete;
  ScopedHandle& operator=(const ScopedHandle&) = delete;

  HANDLE Get() const { return handle_; }
  bool IsValid() const { return handle_ != NULL && handle_ != INVALID_HANDLE_VALUE; }
  void Reset(HANDLE handle = NULL) {
    if (IsValid()) CloseHandle(handle_);
    handle_ = handle;
  }

 private:
  HANDLE handle_ = NULL;
};
