#pragma once
// Device nodes through SetupAPI. setupapi.dll is not one of the system's
// known DLLs on XP, so it is loaded from the system folder by full path
// (a setupapi.dll beside Setup.exe in a download folder must never be the
// one that runs) rather than imported. Holds the one set the maintenance
// works on at a time; the set is destroyed when it is handed back, and at
// the latest with this object, before the library is let go.
#include <windows.h>
#include <setupapi.h>

#include "base/win32/system_library.h"
#include "devices/device_node_port.h"
#include "devices/win32/device_info_set.h"

class SetupApiDeviceNodes final : public DeviceNodePort {
 public:
  SetupApiDeviceNodes();
  ~SetupApiDeviceNodes() = default;
  SetupApiDeviceNodes(const SetupApiDeviceNodes&) = delete;
  SetupApiDeviceNodes& operator=(const SetupApiDeviceNodes&) = delete;

  // kNoDeviceSet when setupapi.dll or one of its functions is missing, and
  // while a set obtained earlier has not been handed back.
  DeviceSetId OpenDeviceSet(DeviceSetScope scope) override;
  bool HasDeviceAt(DeviceSetId set, uint32_t index) override;
  HardwareIdRead ReadHardwareIds(DeviceSetId set, uint32_t index, uint8_t* buffer,
                                 uint32_t size) override;
  void RemoveDevice(DeviceSetId set, uint32_t index) override;
  void CloseDeviceSet(DeviceSetId set) override;

 private:
  // The element record of set's element index (SetupDiEnumDeviceInfo), or
  // null when set is not the one held or has no such element.
  SP_DEVINFO_DATA* Element(DeviceSetId set, uint32_t index);

  SystemLibrary library_;  // declared first: outlives the set
  decltype(&SetupDiGetClassDevsA) getClassDevs_;
  decltype(&SetupDiEnumDeviceInfo) enumDeviceInfo_;
  decltype(&SetupDiGetDeviceRegistryPropertyA) getRegistryProperty_;
  decltype(&SetupDiRemoveDevice) removeDevice_;
  DeviceInfoSet set_;
  SP_DEVINFO_DATA element_{};
  DWORD elementIndex_ = 0;
  bool elementValid_ = false;
};
