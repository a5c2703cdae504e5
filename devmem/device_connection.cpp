#include "devmem/device_connection.h"

#include <new>

bool DeviceConnection::OpenDeviceConnection() {
  // Opening an open connection would make a second channel; the launcher
  // never does it, and a second open keeps the one it has.
  if (channel_) return true;
  ports_.com.Initialize();
  channel_ = new (channelStorage_) DeviceMemoryChannel(ports_);
  if (channel_->Acquire() != kNoComReference) return true;
  channel_->~DeviceMemoryChannel();
  channel_ = nullptr;
  ports_.com.Uninitialize();
  return false;
}

void DeviceConnection::CloseDeviceConnection() {
  if (!channel_) return;
  channel_->ReleaseInterface();
  channel_->~DeviceMemoryChannel();
  channel_ = nullptr;
  ports_.com.Uninitialize();
}

int32_t DeviceConnection::DetectI2cDevice(uint32_t busAddress, int32_t* cell) {
  int32_t status = kStatusNoInterface;
  if (channel_) {
    status = channel_->DetectBusDevice(busAddress, cell);
  } else {
    *cell = 0;
  }
  if (status == kStatusNotReady) {
    *cell = 0;
    boxes_.ShowMessage(kNotReadyWarning, kDeviceWarningCaption, BoxIcon::Warning);
  } else if (status != 0) {
    *cell = 0;
    boxes_.ShowMessage(kNotDetectedWarning, kDeviceWarningCaption, BoxIcon::Warning);
  }
  return status;
}

int32_t DeviceConnection::ReadDeviceRegister(uint32_t busAddress, uint32_t reg, int32_t& saved) {
  int32_t cell = 0;
  int32_t status = channel_ ? channel_->ReadBusRegisters(busAddress, reg, 1, &cell)
                            : kStatusNoInterface;
  if (status == 0) saved = cell;
  return status;
}

int32_t DeviceConnection::ReadDeviceRegisterPair(uint32_t busAddress, uint32_t firstReg,
                                                 int32_t& savedFirst, int32_t& savedSecond) {
  if (!channel_) return kStatusNoInterface;
  int32_t cell = 0;
  if (channel_->ReadBusRegisters(busAddress, firstReg, 1, &cell) == 0) savedFirst = cell;
  int32_t status = channel_->ReadBusRegisters(busAddress, firstReg + 1, 1, &cell);
  if (status == 0) savedSecond = cell;
  return status;
}

int32_t DeviceConnection::WriteDeviceRegister(uint32_t busAddress, uint32_t reg, int32_t value) {
  if (!channel_) return kStatusNoInterface;
  int32_t cell = value;
  return channel_->WriteBusRegisters(busAddress, reg, 1, &cell);
}
