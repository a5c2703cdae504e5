#pragma once
// The launch sequence's steps carried out by the subsystems that own them.
// Kept apart from the subsystems so that none of them depends on the
// launch sequence.
#include "app/launch_steps.h"
#include "devices/device_node_maintenance.h"

class DeviceMatchingStep final : public HardwareIdCollection {
 public:
  explicit DeviceMatchingStep(DeviceNodeMaintenance& maintenance) : maintenance_(maintenance) {}
  void CollectMatchedIds(const DeviceIdTable& table, int32_t DeviceIDNum) override {
    maintenance_.CollectMatchedIds(table, DeviceIDNum);
  }

 private:
  DeviceNodeMaintenance& maintenance_;
};
