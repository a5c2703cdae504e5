#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/launch_settings.h"
#include "app/profile_int.h"
#include "app/launcher_doubles.h"

namespace {

const char kNoSetupPathDefault[] = "The driver of this version does not support this operating system.";
const char kRePluginDefault[] = "Please Re-Plugin the USB device on your computer.";

// The keys read when both counts are 0, in order.
const std::vector<std::string> kPlainKeys = {
    "DeviceIDNum",        "SetupVistax64Path",  "SetupVistax64Exe", "SetupVistax86Path",
    "SetupVistax86Exe",   "SetupXPx64Path",     "SetupXPx64Exe",    "SetupXPx86Path",
    "SetupXPx86Exe",      "SilenceMode",        "EnableAudioClass", "EnableXPAudioClass",
    "DelAudioRegKey",     "DelAudioRegKeyMessage", "EnableAudioVol", "EnableTimer",
    "WaitTimer",          "CheckFinishInstall", "AnotherAPNum",     "Setup",
    "NoSetupPath",        "RePlugin",           "LaunchAnotherAPParam", "MustRePlugin",
};

struct Loaded {
  RecordingPlatform platform;
  LauncherApp app;

  Loaded() { app.Attach(&platform.ports); }
  const LaunchSettings& Load() {
    EXPECT_EQ(app.LoadLaunchSettings(), 1);
    return app.Settings();
  }
  std::vector<std::string> Keys() const { return platform.log.With("ini "); }
};

void ExpectDefaults(const LaunchSettings& s) {
  EXPECT_EQ(s.DeviceIDNum, 0);
  EXPECT_STREQ(s.SetupVistax64Path.c_str(), "Vista_x64");
  EXPECT_STREQ(s.SetupVistax64Exe.c_str(), "SetupDrv.exe");
  EXPECT_STREQ(s.SetupVistax86Path.c_str(), "Vista_x86");
  EXPECT_STREQ(s.SetupVistax86Exe.c_str(), "SetupDrv.exe");
  EXPECT_STREQ(s.SetupXPx64Path.c_str(), "XP_x64");
  EXPECT_STREQ(s.SetupXPx64Exe.c_str(), "SetupDrv.exe");
  EXPECT_STREQ(s.SetupXPx86Path.c_str(), "XP_x86");
  EXPECT_STREQ(s.SetupXPx86Exe.c_str(), "SetupDrv.exe");
  const int32_t ints[] = {s.EnableAudioClass, s.EnableXPAudioClass, s.DelAudioRegKey, s.DelAudioRegKeyMessage,
                          s.EnableAudioVol,   s.EnableTimer,        s.WaitTimer,      s.CheckFinishInstall,
                          s.AnotherAPNum,     s.MustRePlugin};
  for (int32_t v : ints) EXPECT_EQ(v, 0);
  EXPECT_STREQ(s.Setup.c_str(), "SetupDrv");
  EXPECT_STREQ(s.NoSetupPath.c_str(), kNoSetupPathDefault);
  EXPECT_STREQ(s.RePlugin.c_str(), kRePluginDefault);
  EXPECT_STREQ(s.LaunchAnotherAPParam.c_str(), "0");
  for (int i = 0; i < kFurtherProgramEntries; ++i) {
    EXPECT_TRUE(s.furtherPrograms.vista[i].x64.empty());
    EXPECT_TRUE(s.furtherPrograms.vista[i].x86.empty());
    EXPECT_TRUE(s.furtherPrograms.xp[i].x64.empty());
    EXPECT_TRUE(s.furtherPrograms.xp[i].x86.empty());
  }
  for (int i = 0; i < kDeviceIdTableSize; ++i) EXPECT_TRUE(s.deviceIds.entries[i].DevDrvID.empty());
}

TEST(LoadLaunchSettings, NoFileGivesEveryDefault) {
  Loaded t;
  t.platform.profile.fileMissing = true;
  ExpectDefaults(t.Load());
  EXPECT_EQ(t.app.Silent(), 0);
  EXPECT_EQ(t.Keys(), kPlainKeys);
  EXPECT_TRUE(t.platform.log.With("collect").empty());
  for (const std::string& path : t.platform.profile.paths) EXPECT_EQ(path, "C:\\pkg\\Setting.ini");
  for (const std::string& section : t.platform.profile.sections) EXPECT_EQ(section, "Const");
}

TEST(LoadLaunchSettings, PassesEachKeysDefaultToTheReader) {
  Loaded t;
  t.Load();
  const std::vector<std::string> expected = {
      "0",         "Vista_x64", "SetupDrv.exe", "Vista_x86", "SetupDrv.exe", "XP_x64",
      "SetupDrv.exe", "XP_x86", "SetupDrv.exe", "0",         "0",            "0",
      "0",         "0",         "0",            "0",         "0",            "0",
      "0",         "SetupDrv",  kNoSetupPathDefault, kRePluginDefault, "0", "0"};
  EXPECT_EQ(t.platform.profile.defaults, expected);
}

struct EmptyTextCase {
  const char* key;
  const SettingText LaunchSettings::*field;
};

TEST(LoadLaunchSettings, PresentButEmptyTextIsEmptyNotTheDefault) {
  const EmptyTextCase cases[] = {
      {"SetupVistax64Path", &LaunchSettings::SetupVistax64Path},
      {"SetupVistax64Exe", &LaunchSettings::SetupVistax64Exe},
      {"SetupVistax86Path", &LaunchSettings::SetupVistax86Path},
      {"SetupVistax86Exe", &LaunchSettings::SetupVistax86Exe},
      {"SetupXPx64Path", &LaunchSettings::SetupXPx64Path},
      {"SetupXPx64Exe", &LaunchSettings::SetupXPx64Exe},
      {"SetupXPx86Path", &LaunchSettings::SetupXPx86Path},
      {"SetupXPx86Exe", &LaunchSettings::SetupXPx86Exe},
      {"Setup", &LaunchSettings::Setup},
      {"NoSetupPath", &LaunchSettings::NoSetupPath},
      {"RePlugin", &LaunchSettings::RePlugin},
      {"LaunchAnotherAPParam", &LaunchSettings::LaunchAnotherAPParam},
  };
  for (const EmptyTextCase& c : cases) {
    Loaded t;
    t.platform.profile.values[c.key] = "";
    const LaunchSettings& s = t.Load();
    EXPECT_TRUE((s.*c.field).empty()) << c.key;
    // Every other text keeps its default.
    EXPECT_EQ(std::string(s.Setup.c_str()), std::string(c.field == &LaunchSettings::Setup ? "" : "SetupDrv"))
        << c.key;
  }
}

struct IntKeyCase {
  const char* key;
  int32_t LaunchSettings::*field;
};

const IntKeyCase kIntKeys[] = {
    {"EnableAudioClass", &LaunchSettings::EnableAudioClass},
    {"EnableXPAudioClass", &LaunchSettings::EnableXPAudioClass},
    {"DelAudioRegKey", &LaunchSettings::DelAudioRegKey},
    {"DelAudioRegKeyMessage", &LaunchSettings::DelAudioRegKeyMessage},
    {"EnableAudioVol", &LaunchSettings::EnableAudioVol},
    {"EnableTimer", &LaunchSettings::EnableTimer},
    {"WaitTimer", &LaunchSettings::WaitTimer},
    {"CheckFinishInstall", &LaunchSettings::CheckFinishInstall},
    {"MustRePlugin", &LaunchSettings::MustRePlugin},
};

TEST(LoadLaunchSettings, EachIntegerKeyLandsInItsOwnField) {
  for (const IntKeyCase& c : kIntKeys) {
    for (const char* text : {"7", "", "-2147483648", "2147483647", "4294967297", "yes", " 500ms", "+1"}) {
      Loaded t;
      t.platform.profile.values[c.key] = text;
      const LaunchSettings& s = t.Load();
      EXPECT_EQ(s.*c.field, ParseProfileInt(text)) << c.key << "=" << text;
      for (const IntKeyCase& other : kIntKeys)
        if (other.field != c.field) EXPECT_EQ(s.*other.field, 0) << c.key << " leaked into " << other.key;
    }
  }
}

TEST(LoadLaunchSettings, IntegerExamplesFromPackages) {
  Loaded t;
  t.platform.profile.values = {{"WaitTimer", " 500ms"}, {"EnableTimer", "yes"}, {"MustRePlugin", "+1"}};
  const LaunchSettings& s = t.Load();
  EXPECT_EQ(s.WaitTimer, 500);
  EXPECT_EQ(s.EnableTimer, 0);
  EXPECT_EQ(s.MustRePlugin, 1);
}

TEST(LoadLaunchSettings, ReadsNumberedKeysInOrderAndCollectsAfterThePrefixes) {
  Loaded t;
  t.platform.profile.values = {
      {"DeviceIDNum", "2"},
      {"DevDrvID0", "USB\\VID_1234&PID_0001"},
      {"DeviceIDSection0", "SecA"},
      {"DevDrvID1", "USB\\VID_1234&PID_0002"},
      {"AnotherAPNum", "2"},
      {"AnotherAPVistax64Exe0", "v64_0.exe"},
      {"AnotherAPVistax86Exe0", "v86_0.exe"},
      {"AnotherAPXPx64Exe0", "x64_0.exe"},
      {"AnotherAPXPx86Exe0", "x86_0.exe"},
      {"AnotherAPXPx86Exe1", "x86_1.msu"},
  };
  const LaunchSettings& s = t.Load();
  const std::vector<std::string> expected = {
      "ini DeviceIDNum",
      "ini DevDrvID0",
      "ini DeviceIDSection0",
      "ini DevDrvID1",
      "ini DeviceIDSection1",
      "collect 2 USB\\VID_1234&PID_0001,USB\\VID_1234&PID_0002",
      "ini SetupVistax64Path",
      "ini SetupVistax64Exe",
      "ini SetupVistax86Path",
      "ini SetupVistax86Exe",
      "ini SetupXPx64Path",
      "ini SetupXPx64Exe",
      "ini SetupXPx86Path",
      "ini SetupXPx86Exe",
      "ini SilenceMode",
      "ini EnableAudioClass",
      "ini EnableXPAudioClass",
      "ini DelAudioRegKey",
      "ini DelAudioRegKeyMessage",
      "ini EnableAudioVol",
      "ini EnableTimer",
      "ini WaitTimer",
      "ini CheckFinishInstall",
      "ini AnotherAPNum",
      "ini AnotherAPVistax64Exe0",
      "ini AnotherAPVistax86Exe0",
      "ini AnotherAPXPx64Exe0",
      "ini AnotherAPXPx86Exe0",
      "ini AnotherAPVistax64Exe1",
      "ini AnotherAPVistax86Exe1",
      "ini AnotherAPXPx64Exe1",
      "ini AnotherAPXPx86Exe1",
      "ini Setup",
      "ini NoSetupPath",
      "ini RePlugin",
      "ini LaunchAnotherAPParam",
      "ini MustRePlugin",
  };
  EXPECT_EQ(t.platform.log.calls, expected);
  EXPECT_EQ(s.DeviceIDNum, 2);
  EXPECT_STREQ(s.deviceIds.entries[0].DeviceIDSection.c_str(), "SecA");
  EXPECT_TRUE(s.deviceIds.entries[1].DeviceIDSection.empty());
  EXPECT_TRUE(s.deviceIds.entries[2].DevDrvID.empty());
  EXPECT_STREQ(s.furtherPrograms.vista[0].x64.c_str(), "v64_0.exe");
  EXPECT_STREQ(s.furtherPrograms.vista[0].x86.c_str(), "v86_0.exe");
  EXPECT_STREQ(s.furtherPrograms.xp[0].x64.c_str(), "x64_0.exe");
  EXPECT_STREQ(s.furtherPrograms.xp[0].x86.c_str(), "x86_0.exe");
  EXPECT_STREQ(s.furtherPrograms.xp[1].x86.c_str(), "x86_1.msu");
  EXPECT_TRUE(s.furtherPrograms.vista[1].x64.empty());
  EXPECT_TRUE(s.furtherPrograms.xp[2].x86.empty());
}

TEST(LoadLaunchSettings, NegativeDeviceCountCollectsAtTheSamePlaceAndReadsNoPrefix) {
  Loaded t;
  t.platform.profile.values = {{"DeviceIDNum", "-1"}, {"DevDrvID0", "USB\\VID_1"}};
  t.Load();
  const std::vector<std::string> calls(t.platform.log.calls.begin(), t.platform.log.calls.begin() + 3);
  EXPECT_EQ(calls, (std::vector<std::string>{"ini DeviceIDNum", "collect -1", "ini SetupVistax64Path"}));
  EXPECT_EQ(t.platform.log.calls.size(), kPlainKeys.size() + 1);
}

TEST(LoadLaunchSettings, SilenceModeIsSkippedWhenTheCommandLineMadeTheRunSilent) {
  Loaded t;
  t.platform.profile.values["SilenceMode"] = "0";
  t.app.SetCommandLine("Setup.exe s");
  t.app.ReadCommandLine();
  t.Load();
  EXPECT_EQ(t.app.Silent(), 1);
  std::vector<std::string> expected = kPlainKeys;
  expected.erase(expected.begin() + 9);  // SilenceMode
  EXPECT_EQ(t.Keys(), expected);
}

TEST(LoadLaunchSettings, SilenceModeValueBecomesSilent) {
  for (const char* text : {"-1", "2", "0", ""}) {
    Loaded t;
    t.platform.profile.values["SilenceMode"] = text;
    t.Load();
    EXPECT_EQ(t.app.Silent(), ParseProfileInt(text)) << text;
  }
}

struct CountCase {
  const char* name;
  const char* text;       // nullptr: key absent
  int32_t stored;         // the count kept in the settings
  int entriesRead;        // numbered entries read
  bool collects;          // CollectMatchedIds called
};

TEST(LoadLaunchSettings, DeviceIdCountsStayWithinTheTable) {
  const CountCase cases[] = {
      {"absent", nullptr, 0, 0, false},
      {"zero", "0", 0, 0, false},
      {"one", "1", 1, 1, true},
      {"ten", "10", 10, 10, true},
      {"eleven", "11", 10, 10, true},
      {"largest", "2147483647", 10, 10, true},
      {"overflowing wraps positive", "99999999999", 10, 10, true},
      {"minus one", "-1", -1, 0, true},
      {"smallest", "-2147483648", INT32_MIN, 0, true},
      {"wraps negative", "2147483648", INT32_MIN, 0, true},
  };
  for (const CountCase& c : cases) {
    Loaded t;
    if (c.text) t.platform.profile.values["DeviceIDNum"] = c.text;
    for (int i = 0; i < 12; ++i) t.platform.profile.values["DevDrvID" + std::to_string(i)] = "ID" + std::to_string(i);
    const LaunchSettings& s = t.Load();
    EXPECT_EQ(s.DeviceIDNum, c.stored) << c.name;
    int read = 0;
    for (const std::string& key : t.Keys()) read += key.rfind("DevDrvID", 0) == 0;
    EXPECT_EQ(read, c.entriesRead) << c.name;
    std::vector<std::string> collects = t.platform.log.With("collect ");
    if (!c.collects) {
      EXPECT_TRUE(collects.empty()) << c.name;
      continue;
    }
    ASSERT_EQ(collects.size(), 1u) << c.name;
    std::string expected = std::to_string(c.stored);
    for (int i = 0; i < c.entriesRead; ++i) expected += (i == 0 ? " ID" : ",ID") + std::to_string(i);
    EXPECT_EQ(collects[0], expected) << c.name;
  }
}

TEST(LoadLaunchSettings, FurtherProgramCountsStayWithinTheTable) {
  const CountCase cases[] = {
      {"absent", nullptr, 0, 0, false},     {"zero", "0", 0, 0, false},
      {"three", "3", 3, 3, false},          {"five", "5", 5, 5, false},
      {"six", "6", 5, 5, false},            {"largest", "2147483647", 5, 5, false},
      {"minus one", "-1", -1, 0, false},    {"smallest", "-2147483648", INT32_MIN, 0, false},
  };
  for (const CountCase& c : cases) {
    Loaded t;
    if (c.text) t.platform.profile.values["AnotherAPNum"] = c.text;
    for (int i = 0; i < 7; ++i) t.platform.profile.values["AnotherAPXPx86Exe" + std::to_string(i)] = "p.exe";
    const LaunchSettings& s = t.Load();
    EXPECT_EQ(s.AnotherAPNum, c.stored) << c.name;
    int read = 0;
    for (const std::string& key : t.Keys()) read += key.rfind("AnotherAP", 0) == 0 && key != "AnotherAPNum";
    EXPECT_EQ(read, 4 * c.entriesRead) << c.name;
    for (int i = 0; i < kFurtherProgramEntries; ++i)
      EXPECT_EQ(s.furtherPrograms.xp[i].x86.empty(), i >= c.entriesRead) << c.name << " entry " << i;
  }
}

TEST(LoadLaunchSettings, NumberedKeysUseDecimalIndexes) {
  Loaded t;
  t.platform.profile.values["DeviceIDNum"] = "10";
  t.Load();
  std::vector<std::string> keys = t.Keys();
  EXPECT_EQ(keys[19], "DevDrvID9");
  EXPECT_EQ(keys[20], "DeviceIDSection9");
}

TEST(LoadLaunchSettings, LongValuesArriveCutAt255) {
  Loaded t;
  std::string longValue(10000, 'a');
  t.platform.profile.values["RePlugin"] = longValue;
  t.platform.profile.values["AnotherAPNum"] = "1";
  t.platform.profile.values["AnotherAPXPx86Exe0"] = std::string(100000, 'b');
  const LaunchSettings& s = t.Load();
  EXPECT_EQ(std::string(s.RePlugin.c_str()), longValue.substr(0, 255));
  EXPECT_EQ(s.furtherPrograms.xp[0].x86.size(), 255u);
}

TEST(LoadLaunchSettings, BinaryValuesStopAtTheirFirstNul) {
  Loaded t;
  t.platform.profile.values["Setup"] = std::string("Cap\0tion", 8);
  t.platform.profile.values["WaitTimer"] = std::string("12\0" "34", 5);
  t.platform.profile.values["NoSetupPath"] = std::string("\xff\xfe" "N\0o", 5);  // what a UTF-16 file looks like byte-wise
  const LaunchSettings& s = t.Load();
  EXPECT_STREQ(s.Setup.c_str(), "Cap");
  EXPECT_EQ(s.WaitTimer, 12);
  EXPECT_STREQ(s.NoSetupPath.c_str(), "\xff\xfeN");
}

TEST(LoadLaunchSettings, SettingsPathIsBesideTheExecutable) {
  struct PathCase {
    const char* modulePath;
    const char* settingsPath;
  } cases[] = {
      {"C:\\pkg\\Setup.exe", "C:\\pkg\\Setting.ini"},
      {"C:\\Setup.exe", "C:\\Setting.ini"},
      {"D:\\My Package\\Installer.exe", "D:\\My Package\\Setting.ini"},
      {"\\\\server\\share\\pkg\\Setup.exe", "\\\\server\\share\\pkg\\Setting.ini"},
  };
  for (const PathCase& c : cases) {
    Loaded t;
    t.platform.modulePath.path = c.modulePath;
    t.Load();
    ASSERT_FALSE(t.platform.profile.paths.empty());
    for (const std::string& path : t.platform.profile.paths) EXPECT_EQ(path, c.settingsPath) << c.modulePath;
  }
}

TEST(LoadLaunchSettings, UnknownFolderReadsNothingAndTakesTheDefaults) {
  struct UnknownCase {
    const char* name;
    std::string modulePath;
    bool whole;
  } cases[] = {
      {"path not whole", "C:\\pkg\\Setup.exe", false},
      {"no separator", "Setup.exe", true},
      {"settings path too long", "C:\\" + std::string(497, 'd') + "\\Setup.exe", true},
  };
  for (const UnknownCase& c : cases) {
    Loaded t;
    t.platform.modulePath.path = c.modulePath;
    t.platform.modulePath.whole = c.whole;
    t.platform.profile.values["DeviceIDNum"] = "1";
    ExpectDefaults(t.Load());
    EXPECT_TRUE(t.platform.log.calls.empty()) << c.name;
  }
}

TEST(LoadLaunchSettings, ModulePathOf500CharactersStillFindsTheFile) {
  Loaded t;
  std::string folder = "C:\\" + std::string(487, 'd');  // 490 characters
  t.platform.modulePath.path = folder + "\\Setup.exe";
  ASSERT_EQ(t.platform.modulePath.path.size(), 500u);
  t.platform.profile.values["Setup"] = "Found";
  EXPECT_STREQ(t.Load().Setup.c_str(), "Found");
  EXPECT_EQ(t.platform.profile.paths.front(), folder + "\\Setting.ini");
}

}  // namespace
