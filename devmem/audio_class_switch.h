#pragma once
// The audio-class switch: brings the device's audio-class byte (register 8
// of the I2C device at 0xA0) and, on request, its register pair 37/38 to
// what the launch settings ask for, and says whether the user must re-plug
// the device.
#include <cstdint>

#include "base/message_box_port.h"
#include "base/pause_port.h"
#include "devmem/device_connection.h"
#include "devmem/node_removal_port.h"

// The settings and the probe result the switch decides on; any non-zero
// value means on.
struct AudioClassInputs {
  int32_t IsVista;
  int32_t EnableXPAudioClass;
  int32_t EnableAudioVol;
  int32_t DelAudioRegKey;
  int32_t DelAudioRegKeyMessage;
};

constexpr uint32_t kAudioBusAddress = 0xA0;
constexpr uint32_t kAudioClassRegister = 8;
constexpr uint32_t kAudioVolumeRegisterLow = 37;   // wanted 0
constexpr uint32_t kAudioVolumeRegisterHigh = 38;  // wanted 1
constexpr int32_t kAudioClassOn = 0x50;
constexpr int32_t kAudioClassOff = 0xD0;
constexpr uint32_t kVolumeWritePauseMs = 200;

class AudioClassSwitcher {
 public:
  AudioClassSwitcher(DeviceMemoryPorts devmem, MessageBoxPort& boxes, PausePort& pause,
                     NodeRemovalPort& nodes)
      : connection_(devmem, boxes), pause_(pause), nodes_(nodes) {}

  // 1 when the user must be asked to re-plug the device, 0 otherwise. The
  // device connection is closed again before it returns.
  int32_t SwitchAudioClass(const AudioClassInputs& in);

  // What was read from the device (0 until a read of it succeeds).
  int32_t SavedRegister8() const { return SavedRegister8_; }
  int32_t SavedRegister37() const { return SavedRegister37_; }
  int32_t SavedRegister38() const { return SavedRegister38_; }

  const DeviceConnection& Connection() const { return connection_; }

 private:
  int32_t SwitchOverOpenConnection(const AudioClassInputs& in);

  DeviceConnection connection_;
  PausePort& pause_;
  NodeRemovalPort& nodes_;
  int32_t SavedRegister8_ = 0;
  int32_t SavedRegister37_ = 0;
  int32_t SavedRegister38_ = 0;
};
