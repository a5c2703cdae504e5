#pragma once
// The steps of the run that other subsystems carry out, as the launch
// sequence sees them.
#include <cstdint>

#include "app/launch_settings.h"

// Notes the configured prefixes that belong to present devices (devices/).
class HardwareIdCollection {
 public:
  virtual void CollectMatchedIds(const DeviceIdTable& table, int32_t DeviceIDNum) = 0;

 protected:
  ~HardwareIdCollection() = default;
};

// The audio-class switch in the device's memory (devmem/). Non-zero: the
// user must be asked to re-plug the device.
class AudioClassSwitch {
 public:
  virtual int32_t SwitchAudioClass(const LaunchSettings& settings, int32_t IsVista) = 0;

 protected:
  ~AudioClassSwitch() = default;
};

// The closing dialog (ui/), run modally; returns when it has ended.
class ClosingDialog {
 public:
  virtual void RunCompletionDialog(int32_t MsuOpened, int32_t EnableTimer, int32_t WaitTimer) = 0;

 protected:
  ~ClosingDialog() = default;
};
