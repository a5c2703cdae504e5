#include "devmem/device_memory_channel.h"

#include "devmem/capture_filter_lookup.h"

ComReference DeviceMemoryChannel::Acquire() {
  CaptureFilterLookup lookup(ports_.registry, ports_.devices);
  propertyInterface_ = lookup.OpenCustomPropertyInterface();
  return propertyInterface_.Get();
}

int32_t DeviceMemoryChannel::SelectBusDevice(uint32_t busAddress) {
  if (!propertyInterface_.Held()) return kStatusNoInterface;
  int32_t value = static_cast<int32_t>(busAddress);
  return ports_.driver.SetProperty(propertyInterface_.Get(), PropBusDeviceAddress, &value);
}

int32_t DeviceMemoryChannel::DetectBusDevice(uint32_t busAddress, int32_t* cell) {
  *cell = 0;
  if (!propertyInterface_.Held()) return kStatusNoInterface;
  int32_t status = SelectBusDevice(busAddress);
  if (status < 0) return status;
  int32_t ready = 0;
  status = ports_.driver.GetProperty(propertyInterface_.Get(), PropBusDeviceReady, &ready);
  if (status < 0) return status;
  if (ready == 0) return kStatusNotReady;
  return ports_.driver.GetProperty(propertyInterface_.Get(), PropBusDeviceDetect, cell);
}

int32_t DeviceMemoryChannel::TransferBus(uint32_t descriptor, int32_t* cell, bool write) {
  if (!propertyInterface_.Held()) return kStatusNoInterface;
  ComReference driverInterface = propertyInterface_.Get();
  int32_t described = static_cast<int32_t>(descriptor);
  int32_t status = ports_.driver.SetProperty(driverInterface, PropBusTransfer, &described);
  if (status >= 0) {
    status = write ? ports_.driver.SetProperty(driverInterface, PropBusData, cell)
                   : ports_.driver.GetProperty(driverInterface, PropBusData, cell);
  }
  if (status < 0) {
    // A failed transfer must not stay described for the next data call.
    int32_t cleared = 0;
    ports_.driver.SetProperty(driverInterface, PropBusTransfer, &cleared);
  }
  return status;
}

int32_t DeviceMemoryChannel::ReadBusRegisters(uint32_t busAddress, uint32_t reg,
                                              uint32_t byteCount, int32_t* cell) {
  return TransferBus(BusTransferDescriptor(busAddress, reg, byteCount), cell, false);
}

int32_t DeviceMemoryChannel::WriteBusRegisters(uint32_t busAddress, uint32_t reg,
                                               uint32_t byteCount, int32_t* cell) {
  return TransferBus(BusTransferDescriptor(busAddress, reg, byteCount), cell, true);
}
