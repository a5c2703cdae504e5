#pragma once
// The configured hardware-ID prefixes (DevDrvID0.. of Setting.ini).
#include <cstdint>

#include "base/fixed_text.h"

constexpr int32_t kDeviceIdTableSize = 10;

struct DeviceIdEntry {
  SettingText DevDrvID;         // a hardware-ID prefix, such as USB\VID_1234&PID_5678
  SettingText DeviceIDSection;  // read beside it and kept; nothing uses it
};

struct DeviceIdTable {
  DeviceIdEntry entries[kDeviceIdTableSize];
};
