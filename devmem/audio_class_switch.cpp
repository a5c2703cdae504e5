#include "devmem/audio_class_switch.h"

int32_t AudioClassSwitcher::SwitchAudioClass(const AudioClassInputs& in) {
  if (!connection_.OpenDeviceConnection()) return 0;
  int32_t result = SwitchOverOpenConnection(in);
  connection_.CloseDeviceConnection();
  return result;
}

int32_t AudioClassSwitcher::SwitchOverOpenConnection(const AudioClassInputs& in) {
  int32_t result = 0;

  // A missing device warns here; the reads below then decide.
  int32_t detected = 0;
  connection_.DetectI2cDevice(kAudioBusAddress, &detected);

  connection_.ReadDeviceRegister(kAudioBusAddress, kAudioClassRegister, SavedRegister8_);
  int32_t pairStatus = connection_.ReadDeviceRegisterPair(
      kAudioBusAddress, kAudioVolumeRegisterLow, SavedRegister37_, SavedRegister38_);

  if (in.DelAudioRegKey) {
    nodes_.RemoveMatchedDeviceNodes();
    if (in.DelAudioRegKeyMessage) result = 1;
  }

  // Without register 38 the device's state is not known: write nothing.
  if (pairStatus != 0) return result;

  if (in.EnableXPAudioClass) {
    if (SavedRegister8_ == kAudioClassOff &&
        connection_.WriteDeviceRegister(kAudioBusAddress, kAudioClassRegister, kAudioClassOn) == 0) {
      // Windows must enumerate the device afresh to see its new class.
      nodes_.RemoveMatchedDeviceNodes();
      result = 1;
    }
  } else if (in.IsVista) {
    if (SavedRegister8_ == kAudioClassOff &&
        connection_.WriteDeviceRegister(kAudioBusAddress, kAudioClassRegister, kAudioClassOn) == 0)
      result = 1;
  } else {
    if (SavedRegister8_ == kAudioClassOn &&
        connection_.WriteDeviceRegister(kAudioBusAddress, kAudioClassRegister, kAudioClassOff) == 0)
      result = 1;
  }

  if (in.EnableXPAudioClass && in.EnableAudioVol &&
      !(SavedRegister38_ == 1 && SavedRegister37_ == 0)) {
    // The device needs its time between the two writes.
    pause_.Pause(kVolumeWritePauseMs);
    connection_.WriteDeviceRegister(kAudioBusAddress, kAudioVolumeRegisterHigh, 1);
    pause_.Pause(kVolumeWritePauseMs);
    if (connection_.WriteDeviceRegister(kAudioBusAddress, kAudioVolumeRegisterLow, 0) == 0)
      result = 1;
  }
  return result;
}
