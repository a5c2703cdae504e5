#pragma once
#include "devmem/capture_device_port.h"

// The system device enumerator, class enumerators, monikers and property
// bags of DirectShow, and the filter's driver interface.
class Win32CaptureDevices : public CaptureDevicePort {
 public:
  int32_t CreateSystemDeviceEnumerator(ComReference* out) override;
  int32_t CreateClassEnumerator(ComReference deviceEnumerator, DeviceCategory category,
                                ComReference* out) override;
  void ResetEnumerator(ComReference enumerator) override;
  int32_t NextMoniker(ComReference enumerator, ComReference* out) override;
  int32_t BindToPropertyBag(ComReference moniker, ComReference* out) override;
  int32_t ReadFriendlyName(ComReference propertyBag, FilterNameText& name) override;
  int32_t BindToFilter(ComReference moniker, ComReference* out) override;
  int32_t QueryDriverInterface(ComReference filter, ComReference* out) override;
  void Release(ComReference reference) override;
};
