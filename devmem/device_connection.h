#pragma once
// The process-wide device connection: COM initialised on the thread, one
// DeviceMemoryChannel holding the driver's interface. Opened and closed
// once by the audio-class switch; nothing of it outlives that call.
#include <cstdint>

#include "base/message_box_port.h"
#include "devmem/device_memory_channel.h"

// The device layer's warnings.
constexpr const char kDeviceWarningCaption[] = "Norvane Custom Property Demo";
constexpr const char kNotReadyWarning[] = "I2C device was powered down or not ready";
constexpr const char kNotDetectedWarning[] = "I2C device not detected";

class DeviceConnection {
 public:
  DeviceConnection(DeviceMemoryPorts ports, MessageBoxPort& boxes) : ports_(ports), boxes_(boxes) {}
  ~DeviceConnection() { CloseDeviceConnection(); }
  DeviceConnection(const DeviceConnection&) = delete;
  DeviceConnection& operator=(const DeviceConnection&) = delete;

  // True when the driver's interface was acquired. On false the connection
  // is closed again, COM uninitialised.
  bool OpenDeviceConnection();
  // Releases the interface, ends the channel, uninitialises COM; nothing
  // when the connection is closed.
  void CloseDeviceConnection();

  bool IsOpen() const { return channel_ != nullptr; }
  // The process-wide channel, null while the connection is closed.
  DeviceMemoryChannel* Channel() { return channel_; }

  // Detects the bus device; on any failure *cell is 0 and a warning box
  // has been shown and closed by the user.
  int32_t DetectI2cDevice(uint32_t busAddress, int32_t* cell);
  // One byte; saved changes only when the read gives 0.
  int32_t ReadDeviceRegister(uint32_t busAddress, uint32_t reg, int32_t& saved);
  // reg and reg + 1 through one cell (not reset between the reads); each
  // saved value changes only when its own read gives 0. The status is that
  // of the second read.
  int32_t ReadDeviceRegisterPair(uint32_t busAddress, uint32_t firstReg, int32_t& savedFirst,
                                 int32_t& savedSecond);
  int32_t WriteDeviceRegister(uint32_t busAddress, uint32_t reg, int32_t value);

 private:

  DeviceMemoryPorts ports_;
  MessageBoxPort& boxes_;
  // At most one channel, in place: no heap.
  alignas(DeviceMemoryChannel) unsigned char channelStorage_[sizeof(DeviceMemoryChannel)];
  DeviceMemoryChannel* channel_ = nullptr;
};
