#include "devices/win32/setupapi_device_nodes.h"

namespace {

DeviceSetId IdOf(HDEVINFO set) { return reinterpret_cast<DeviceSetId>(set); }

}  // namespace

SetupApiDeviceNodes::SetupApiDeviceNodes()
    : library_("setupapi.dll"),
      getClassDevs_(library_.Get<decltype(&SetupDiGetClassDevsA)>("SetupDiGetClassDevsA")),
      enumDeviceInfo_(library_.Get<decltype(&SetupDiEnumDeviceInfo)>("SetupDiEnumDeviceInfo")),
      getRegistryProperty_(library_.Get<decltype(&SetupDiGetDeviceRegistryPropertyA)>(
          "SetupDiGetDeviceRegistryPropertyA")),
      removeDevice_(library_.Get<decltype(&SetupDiRemoveDevice)>("SetupDiRemoveDevice")),
      set_(library_.Get<DestroyDeviceInfoListFn>("SetupDiDestroyDeviceInfoList")) {}

DeviceSetId SetupApiDeviceNodes::OpenDeviceSet(DeviceSetScope scope) {
  if (set_.IsValid()) return kNoDeviceSet;
  if (!getClassDevs_ || !enumDeviceInfo_ || !getRegistryProperty_ || !removeDevice_ || !set_.CanDestroy())
    return kNoDeviceSet;
  DWORD flags = DIGCF_ALLCLASSES;
  if (scope == DeviceSetScope::PresentOnly) flags |= DIGCF_PRESENT;
  set_.Reset(getClassDevs_(nullptr, nullptr, nullptr, flags));
  elementValid_ = false;
  return set_.IsValid() ? IdOf(set_.get()) : kNoDeviceSet;
}

SP_DEVINFO_DATA* SetupApiDeviceNodes::Element(DeviceSetId set, uint32_t index) {
  if (!set_.IsValid() || set != IdOf(set_.get())) return nullptr;
  if (elementValid_ && elementIndex_ == index) return &element_;
  elementValid_ = false;
  element_ = SP_DEVINFO_DATA{};
  element_.cbSize = sizeof(element_);
  if (!enumDeviceInfo_(set_.get(), index, &element_)) return nullptr;
  elementIndex_ = index;
  elementValid_ = true;
  return &element_;
}

bool SetupApiDeviceNodes::HasDeviceAt(DeviceSetId set, uint32_t index) {
  return Element(set, index) != nullptr;
}

HardwareIdRead SetupApiDeviceNodes::ReadHardwareIds(DeviceSetId set, uint32_t index, uint8_t* buffer,
                                                    uint32_t size) {
  SP_DEVINFO_DATA* element = Element(set, index);
  if (!element) return {HardwareIdOutcome::OtherError, 0};
  DWORD type = 0;
  DWORD required = 0;
  if (getRegistryProperty_(set_.get(), element, SPDRP_HARDWAREID, &type, buffer, size, &required))
    return {HardwareIdOutcome::Ok, required};
  switch (GetLastError()) {
    case ERROR_INSUFFICIENT_BUFFER:
      return {HardwareIdOutcome::InsufficientBuffer, required};
    case ERROR_INVALID_DATA:
      return {HardwareIdOutcome::NoHardwareId, 0};
    default:
      return {HardwareIdOutcome::OtherError, 0};
  }
}

void SetupApiDeviceNodes::RemoveDevice(DeviceSetId set, uint32_t index) {
  SP_DEVINFO_DATA* element = Element(set, index);
  if (element) removeDevice_(set_.get(), element);
}

void SetupApiDeviceNodes::CloseDeviceSet(DeviceSetId set) {
  if (set_.IsValid() && set == IdOf(set_.get())) {
    set_.Reset();
    elementValid_ = false;
  }
}
