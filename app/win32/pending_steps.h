#pragma once
// PLACEHOLDERS, replaced at integration: the three steps that other
// subsystems carry out (device matching, the audio-class switch, the
// closing dialog), here doing nothing so that Setup.exe can be built and
// run before they land. This is the only placeholder in Setup.exe.
#include "app/launch_steps.h"

class PendingHardwareIdCollection final : public HardwareIdCollection {
 public:
  void CollectMatchedIds(const DeviceIdTable& table, int32_t DeviceIDNum) override;
};

class PendingAudioClassSwitch final : public AudioClassSwitch {
 public:
  int32_t SwitchAudioClass(const LaunchSettings& settings, int32_t IsVista) override;
};

class PendingClosingDialog final : public ClosingDialog {
 public:
  void RunCompletionDialog(int32_t MsuOpened, int32_t EnableTimer, int32_t WaitTimer) override;
};
