#pragma once
// DeviceMemoryChannel: the launcher's one way to the device's I2C bus. It
// holds the capture driver's IDriverCustomProperty reference and turns each
// register read or write into the driver's short property sequence.
#include <cstdint>

#include "base/registry_port.h"
#include "devmem/capture_device_port.h"
#include "devmem/com_apartment_port.h"
#include "devmem/driver_property_port.h"

// The driver's properties (32-bit values).
constexpr uint32_t PropBusTransfer = 4103;       // set: the transfer the next PropBusData carries out
constexpr uint32_t PropBusData = 4104;           // set to write, get to read
constexpr uint32_t PropBusDeviceAddress = 4107;  // set: the bus device the next two report on
constexpr uint32_t PropBusDeviceDetect = 4115;   // get: S_OK means detected
constexpr uint32_t PropBusDeviceReady = 4116;    // get: 0 means powered down or not ready

// Statuses besides the driver's own HRESULTs.
constexpr int32_t kStatusNoInterface = 6;   // ERROR_INVALID_HANDLE
constexpr int32_t kStatusNotReady = 21;     // ERROR_NOT_READY

// 0x01, bus address, register, byte count, from the most significant byte
// down; each field its low 8 bits. Reads and writes share it.
constexpr uint32_t BusTransferDescriptor(uint32_t busAddress, uint32_t reg, uint32_t byteCount) {
  return (1u << 24) | ((busAddress & 0xFFu) << 16) | ((reg & 0xFFu) << 8) | (byteCount & 0xFFu);
}

// What the device connection and its channel reach the platform through.
struct DeviceMemoryPorts {
  ComApartmentPort& com;         // CoInitialize / CoUninitialize
  RegistryPort& registry;        // the driver's filter name
  CaptureDevicePort& devices;    // DirectShow device enumeration, COM references
  DriverPropertyPort& driver;    // IDriverCustomProperty
};

class DeviceMemoryChannel {
 public:
  explicit DeviceMemoryChannel(DeviceMemoryPorts ports)
      : ports_(ports), propertyInterface_(ports.devices) {}
  ~DeviceMemoryChannel() { ReleaseInterface(); }
  DeviceMemoryChannel(const DeviceMemoryChannel&) = delete;
  DeviceMemoryChannel& operator=(const DeviceMemoryChannel&) = delete;

  // Looks the interface up and keeps it; kNoComReference when it cannot be had.
  ComReference Acquire();
  void ReleaseInterface() { propertyInterface_.Reset(); }
  ComReference PropertyInterface() const { return propertyInterface_.Get(); }

  // Each returns 0, the driver's failing or positive result, or 6 when no
  // interface is held (nothing is called then).
  int32_t SelectBusDevice(uint32_t busAddress);
  int32_t DetectBusDevice(uint32_t busAddress, int32_t* cell);
  int32_t TransferBus(uint32_t descriptor, int32_t* cell, bool write);
  int32_t ReadBusRegisters(uint32_t busAddress, uint32_t reg, uint32_t byteCount, int32_t* cell);
  int32_t WriteBusRegisters(uint32_t busAddress, uint32_t reg, uint32_t byteCount, int32_t* cell);

 private:
  DeviceMemoryPorts ports_;
  OwnedComReference propertyInterface_;
};
