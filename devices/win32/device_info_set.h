#pragma once
// Owns one SetupAPI device information set and destroys it on every way
// out of the scope that holds it.
#include <windows.h>
#include <setupapi.h>

class DeviceInfoSet {
 public:
  DeviceInfoSet() = default;
  explicit DeviceInfoSet(HDEVINFO set) : set_(set) {}
  ~DeviceInfoSet() { Reset(); }
  DeviceInfoSet(const DeviceInfoSet&) = delete;
  DeviceInfoSet& operator=(const DeviceInfoSet&) = delete;

  bool IsValid() const { return set_ != INVALID_HANDLE_VALUE && set_ != nullptr; }
  HDEVINFO get() const { return set_; }

  void Reset(HDEVINFO set = INVALID_HANDLE_VALUE) {
    if (IsValid()) SetupDiDestroyDeviceInfoList(set_);
    set_ = set;
  }

 private:
  HDEVINFO set_ = INVALID_HANDLE_VALUE;
};
