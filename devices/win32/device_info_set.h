#pragma once
// Owns one SetupAPI device information set and destroys it on every way
// out of the scope that holds it. The destroy function is handed in: the
// launcher reaches SetupAPI through a library it loads itself.
#include <windows.h>
#include <setupapi.h>

using DestroyDeviceInfoListFn = decltype(&SetupDiDestroyDeviceInfoList);

class DeviceInfoSet {
 public:
  explicit DeviceInfoSet(DestroyDeviceInfoListFn destroy) : destroy_(destroy) {}
  DeviceInfoSet(HDEVINFO set, DestroyDeviceInfoListFn destroy) : set_(set), destroy_(destroy) {}
  ~DeviceInfoSet() { Reset(); }
  DeviceInfoSet(const DeviceInfoSet&) = delete;
  DeviceInfoSet& operator=(const DeviceInfoSet&) = delete;

  bool IsValid() const { return set_ != INVALID_HANDLE_VALUE && set_ != nullptr; }
  HDEVINFO get() const { return set_; }
  bool CanDestroy() const { return destroy_ != nullptr; }

  void Reset(HDEVINFO set = INVALID_HANDLE_VALUE) {
    if (IsValid() && destroy_) destroy_(set_);
    set_ = set;
  }

 private:
  HDEVINFO set_ = INVALID_HANDLE_VALUE;
  DestroyDeviceInfoListFn destroy_;
};
