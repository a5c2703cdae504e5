#pragma once
// The devices of a dry run, for the launcher's own device code: the
// hardware IDs the author names as plugged in (device-node maintenance),
// and optionally one capture device whose driver answers for an I2C memory
// with the audio-class registers the author gives (the audio-class
// switch). Without a capture device the driver's filter is found nowhere,
// as on a system where the driver is not installed.
#include <cstdint>
#include <string>
#include <vector>

#include "base/pause_port.h"
#include "devices/device_node_port.h"
#include "devmem/capture_device_port.h"
#include "devmem/com_apartment_port.h"
#include "devmem/driver_property_port.h"

struct CaptureDeviceMemory {
  bool present = false;
  int32_t register8 = 0;   // the audio-class byte
  int32_t register37 = 0;  // the volume pair
  int32_t register38 = 1;
};

struct RegisterWrite {
  uint32_t reg;
  int32_t before;
  int32_t after;
};

class SimulatedDevices final : public DeviceNodePort,
                               public ComApartmentPort,
                               public CaptureDevicePort,
                               public DriverPropertyPort,
                               public PausePort {
 public:
  SimulatedDevices(const std::vector<std::string>& hardwareIds, const CaptureDeviceMemory& memory);

  // What the launcher did to the devices, in order.
  const std::vector<RegisterWrite>& writes() const { return writes_; }
  const std::vector<std::string>& removed() const { return removed_; }
  // References handed out and not yet released; 0 after a clean switch.
  int outstandingReferences() const { return outstanding_; }

  // Device nodes: the named hardware IDs are the present devices and every
  // node the system knows.
  DeviceSetId OpenDeviceSet(DeviceSetScope scope) override;
  bool HasDeviceAt(DeviceSetId set, uint32_t index) override;
  HardwareIdRead ReadHardwareIds(DeviceSetId set, uint32_t index, uint8_t* buffer, uint32_t size) override;
  void RemoveDevice(DeviceSetId set, uint32_t index) override;
  void CloseDeviceSet(DeviceSetId set) override;

  void Initialize() override {}
  void Uninitialize() override {}

  int32_t CreateSystemDeviceEnumerator(ComReference* out) override;
  int32_t CreateClassEnumerator(ComReference deviceEnumerator, DeviceCategory category, ComReference* out) override;
  void ResetEnumerator(ComReference enumerator) override;
  int32_t NextMoniker(ComReference enumerator, ComReference* out) override;
  int32_t BindToPropertyBag(ComReference moniker, ComReference* out) override;
  int32_t ReadFriendlyName(ComReference propertyBag, FilterNameText& name) override;
  int32_t BindToFilter(ComReference moniker, ComReference* out) override;
  int32_t QueryDriverInterface(ComReference filter, ComReference* out) override;
  void Release(ComReference reference) override;

  int32_t SetProperty(ComReference driverInterface, uint32_t id, int32_t* value) override;
  int32_t GetProperty(ComReference driverInterface, uint32_t id, int32_t* cell) override;

  void Pause(uint32_t) override {}

 private:
  ComReference Hand(ComReference kind);

  const std::vector<std::string>& hardwareIds_;
  CaptureDeviceMemory memory_;
  int32_t registers_[256];
  uint32_t busAddress_ = 0;
  uint32_t transfer_ = 0;
  bool monikerGiven_ = false;
  int outstanding_ = 0;
  std::vector<RegisterWrite> writes_;
  std::vector<std::string> removed_;
};
