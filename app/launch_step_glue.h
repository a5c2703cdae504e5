#pragma once
// The launch sequence's steps carried out by the subsystems that own them.
// Kept apart from the subsystems so that none of them depends on the
// launch sequence.
#include "app/launch_steps.h"
#include "devices/device_node_maintenance.h"
#include "devmem/audio_class_switch.h"
#include "devmem/node_removal_port.h"

class DeviceMatchingStep final : public HardwareIdCollection {
 public:
  explicit DeviceMatchingStep(DeviceNodeMaintenance& maintenance) : maintenance_(maintenance) {}
  void CollectMatchedIds(const DeviceIdTable& table, int32_t DeviceIDNum) override {
    maintenance_.CollectMatchedIds(table, DeviceIDNum);
  }

 private:
  DeviceNodeMaintenance& maintenance_;
};

// What the audio-class switch asks of the device node maintenance.
class MatchedNodeRemoval final : public NodeRemovalPort {
 public:
  explicit MatchedNodeRemoval(DeviceNodeMaintenance& maintenance) : maintenance_(maintenance) {}
  void RemoveMatchedDeviceNodes() override { maintenance_.RemoveMatchedDeviceNodes(); }

 private:
  DeviceNodeMaintenance& maintenance_;
};

class AudioSwitchStep final : public AudioClassSwitch {
 public:
  explicit AudioSwitchStep(AudioClassSwitcher& switcher) : switcher_(switcher) {}
  int32_t SwitchAudioClass(const LaunchSettings& settings, int32_t IsVista) override {
    AudioClassInputs in{IsVista, settings.EnableXPAudioClass, settings.EnableAudioVol, settings.DelAudioRegKey,
                        settings.DelAudioRegKeyMessage};
    return switcher_.SwitchAudioClass(in);
  }

 private:
  AudioClassSwitcher& switcher_;
};
