// Reading Setting.ini into LaunchSettings, once, at start-up.
#include "app/launcher_app.h"
#include "app/profile_int.h"

namespace {

const char kSection[] = "Const";

using KeyText = FixedText<64>;

// A numbered key: the base name directly followed by the decimal index.
KeyText NumberedKey(const char* base, int32_t index) {
  char digits[12];
  size_t n = 0;
  uint32_t value = static_cast<uint32_t>(index);  // indexes are never negative
  do {
    digits[n++] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value != 0 && n < sizeof(digits));
  KeyText key(base);
  while (n > 0) key.Append(digits[--n]);
  return key;
}

// The tables have room for so many entries; a larger count uses the first
// ones and a negative count none.
int32_t EntriesToRead(int32_t count, int32_t tableSize) {
  if (count <= 0) return 0;
  return count < tableSize ? count : tableSize;
}

int32_t CountWithinTable(int32_t count, int32_t tableSize) {
  return count > tableSize ? tableSize : count;
}

}  // namespace

void LauncherApp::ReadText(const char* key, const char* defaultText, SettingText& out) {
  // Without a known folder there is no Setting.ini to read: asking the
  // profile reader for a bare file name would make it look in the Windows
  // folder instead. Every key then takes its default, as for a missing file.
  if (settingsPath_.empty()) {
    out.Assign(defaultText);
    return;
  }
  ports_->profile.ReadString(kSection, key, defaultText, out, settingsPath_.c_str());
}

int32_t LauncherApp::ReadInt(const char* key) {
  SettingText text;
  ReadText(key, "0", text);
  return ParseProfileInt(text.c_str());
}

int32_t LauncherApp::LoadLaunchSettings() {
  LaunchSettings& s = settings_;

  // Setting.ini lies beside the executable; a folder too long for the path
  // leaves the path unknown.
  settingsPath_ = ComputeModuleFolder();
  if (!settingsPath_.empty() && !settingsPath_.Append("\\Setting.ini")) settingsPath_.Clear();

  s.DeviceIDNum = CountWithinTable(ReadInt("DeviceIDNum"), kDeviceIdTableSize);
  if (s.DeviceIDNum != 0) {
    int32_t entries = EntriesToRead(s.DeviceIDNum, kDeviceIdTableSize);
    for (int32_t i = 0; i < entries; ++i) {
      DeviceIdEntry& entry = s.deviceIds.entries[i];
      ReadText(NumberedKey("DevDrvID", i).c_str(), "", entry.DevDrvID);
      ReadText(NumberedKey("DeviceIDSection", i).c_str(), "", entry.DeviceIDSection);
    }
    // Note the present devices now, before any setup changes them. A
    // negative count is handed on as it is and matches nothing.
    ports_->hardwareIds.CollectMatchedIds(s.deviceIds, s.DeviceIDNum);
  }

  ReadText("SetupVistax64Path", "Vista_x64", s.SetupVistax64Path);
  ReadText("SetupVistax64Exe", "SetupDrv.exe", s.SetupVistax64Exe);
  ReadText("SetupVistax86Path", "Vista_x86", s.SetupVistax86Path);
  ReadText("SetupVistax86Exe", "SetupDrv.exe", s.SetupVistax86Exe);
  ReadText("SetupXPx64Path", "XP_x64", s.SetupXPx64Path);
  ReadText("SetupXPx64Exe", "SetupDrv.exe", s.SetupXPx64Exe);
  ReadText("SetupXPx86Path", "XP_x86", s.SetupXPx86Path);
  ReadText("SetupXPx86Exe", "SetupDrv.exe", s.SetupXPx86Exe);

  // The command line's word wins over the setting.
  if (Silent_ == 0) Silent_ = ReadInt("SilenceMode");

  s.EnableAudioClass = ReadInt("EnableAudioClass");
  s.EnableXPAudioClass = ReadInt("EnableXPAudioClass");
  s.DelAudioRegKey = ReadInt("DelAudioRegKey");
  s.DelAudioRegKeyMessage = ReadInt("DelAudioRegKeyMessage");
  s.EnableAudioVol = ReadInt("EnableAudioVol");
  s.EnableTimer = ReadInt("EnableTimer");
  s.WaitTimer = ReadInt("WaitTimer");
  s.CheckFinishInstall = ReadInt("CheckFinishInstall");
  s.AnotherAPNum = CountWithinTable(ReadInt("AnotherAPNum"), kFurtherProgramEntries);

  int32_t entries = EntriesToRead(s.AnotherAPNum, kFurtherProgramEntries);
  for (int32_t i = 0; i < entries; ++i) {
    FurtherProgramEntry& vista = s.furtherPrograms.vista[i];
    FurtherProgramEntry& xp = s.furtherPrograms.xp[i];
    ReadText(NumberedKey("AnotherAPVistax64Exe", i).c_str(), "", vista.x64);
    ReadText(NumberedKey("AnotherAPVistax86Exe", i).c_str(), "", vista.x86);
    ReadText(NumberedKey("AnotherAPXPx64Exe", i).c_str(), "", xp.x64);
    ReadText(NumberedKey("AnotherAPXPx86Exe", i).c_str(), "", xp.x86);
  }

  ReadText("Setup", "SetupDrv", s.Setup);
  ReadText("NoSetupPath", "The driver of this version does not support this operating system.",
           s.NoSetupPath);
  ReadText("RePlugin", "Please Re-Plugin the USB device on your computer.", s.RePlugin);
  ReadText("LaunchAnotherAPParam", "0", s.LaunchAnotherAPParam);

  s.MustRePlugin = ReadInt("MustRePlugin");
  return 1;
}
