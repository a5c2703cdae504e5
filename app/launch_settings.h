#pragma once
// Everything Setting.ini configures, read once at start-up.
#include <cstdint>

#include "base/fixed_text.h"
#include "devices/device_id_table.h"

constexpr int32_t kFurtherProgramEntries = 5;

struct FurtherProgramEntry {
  SettingText x64;
  SettingText x86;
};

struct FurtherProgramTable {
  FurtherProgramEntry vista[kFurtherProgramEntries];  // AnotherAPVistax64Exe / AnotherAPVistax86Exe
  FurtherProgramEntry xp[kFurtherProgramEntries];     // AnotherAPXPx64Exe / AnotherAPXPx86Exe
};

struct LaunchSettings {
  int32_t DeviceIDNum = 0;
  DeviceIdTable deviceIds;

  SettingText SetupVistax64Path;
  SettingText SetupVistax64Exe;
  SettingText SetupVistax86Path;
  SettingText SetupVistax86Exe;
  SettingText SetupXPx64Path;
  SettingText SetupXPx64Exe;
  SettingText SetupXPx86Path;
  SettingText SetupXPx86Exe;

  int32_t EnableAudioClass = 0;
  int32_t EnableXPAudioClass = 0;
  int32_t DelAudioRegKey = 0;
  int32_t DelAudioRegKeyMessage = 0;
  int32_t EnableAudioVol = 0;
  int32_t EnableTimer = 0;
  int32_t WaitTimer = 0;
  int32_t CheckFinishInstall = 0;
  int32_t AnotherAPNum = 0;

  FurtherProgramTable furtherPrograms;

  SettingText Setup;
  SettingText NoSetupPath;
  SettingText RePlugin;
  SettingText LaunchAnotherAPParam;

  int32_t MustRePlugin = 0;
};
