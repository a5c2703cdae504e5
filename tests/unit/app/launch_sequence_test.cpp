#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/launcher_doubles.h"

namespace {

using Calls = std::vector<std::string>;

const char kNoSetup[] = "box SetupDrv|The driver of this version does not support this operating system.";
const char kRePlug[] = "box SetupDrv|Please Re-Plugin the USB device on your computer.";
const char kFailed[] = "box SetupDrv|CreateProcess failed.";

struct LaunchRun {
  RecordingPlatform platform;
  LauncherApp app;
  const char* commandLine = "C:\\pkg\\Setup.exe";

  LaunchRun() {
    // Every program the tests configure exists in the package.
    for (const char* file : {"C:\\pkg\\XP_x86\\SetupDrv.exe", "C:\\pkg\\XP_x64\\SetupDrv.exe",
                             "C:\\pkg\\Vista_x86\\SetupDrv.exe", "C:\\pkg\\Vista_x64\\SetupDrv.exe",
                             "C:\\pkg\\a.exe", "C:\\pkg\\b.exe", "C:\\pkg\\c.exe", "C:\\pkg\\tool.exe"})
      platform.processes.existing.insert(file);
  }
  void Set(const std::string& key, const std::string& value) { platform.profile.values[key] = value; }
  Calls Go() {
    app.Attach(&platform.ports);
    app.SetCommandLine(commandLine);
    EXPECT_EQ(app.InitInstance(), 0);
    EXPECT_EQ(platform.registry.openKeys, 0);
    return platform.Visible();
  }
};

std::string Start(const std::string& file, const std::string& line) { return "start " + file + "|" + line; }
std::string Start(const std::string& file) { return Start(file, file); }

TEST(LaunchSequence, DefaultsOnA32BitXpSystem) {
  LaunchRun t;
  const Calls expected = {Start("C:\\pkg\\XP_x86\\SetupDrv.exe"), "switch 0", "dialog 0 0 0"};
  EXPECT_EQ(t.Go(), expected);
  EXPECT_EQ(t.app.Silent(), 0);
  EXPECT_EQ(t.app.IsVista(), 0);
  EXPECT_EQ(t.app.Is64(), 0);
  EXPECT_EQ(t.app.FinishInstallOk(), 1);
  EXPECT_EQ(t.app.MsuOpened(), 0);
  EXPECT_EQ(t.app.Variant(), OsVariant::XP_x86);
  EXPECT_STREQ(t.app.ModuleFolder().c_str(), "C:\\pkg");
}

TEST(LaunchSequence, WithoutPortsItReturnsAtOnce) {
  LauncherApp app;
  EXPECT_EQ(app.InitInstance(), 0);
}

TEST(LaunchSequence, EachVariantStartsItsOwnSetup) {
  struct Case {
    bool vista, is64;
    OsVariant variant;
    const char* folderKey;
    const char* exeKey;
  } cases[] = {
      {true, true, OsVariant::Vista_x64, "SetupVistax64Path", "SetupVistax64Exe"},
      {true, false, OsVariant::Vista_x86, "SetupVistax86Path", "SetupVistax86Exe"},
      {false, true, OsVariant::XP_x64, "SetupXPx64Path", "SetupXPx64Exe"},
      {false, false, OsVariant::XP_x86, "SetupXPx86Path", "SetupXPx86Exe"},
  };
  for (const auto& c : cases) {
    LaunchRun t;
    if (c.vista) t.platform.SetVista();
    if (c.is64) t.platform.Set64Bit();
    t.Set("EnableAudioClass", "1");
    t.Set(c.folderKey, "Mine");
    t.Set(c.exeKey, "a.exe");
    t.platform.processes.existing.insert("C:\\pkg\\Mine\\a.exe");
    const Calls expected = {Start("C:\\pkg\\Mine\\a.exe"), std::string("switch ") + (c.vista ? "1" : "0"),
                            "dialog 0 0 0"};
    EXPECT_EQ(t.Go(), expected) << c.folderKey;
    EXPECT_EQ(t.app.Variant(), c.variant) << c.folderKey;
  }
}

TEST(LaunchSequence, SilentRunsComeFromTheWordOrTheSetting) {
  struct Case {
    const char* name;
    const char* commandLine;
    const char* silenceMode;  // nullptr: absent
    int32_t silent;
  } cases[] = {
      {"word s", "Setup.exe s", nullptr, 1},
      {"word s beats SilenceMode=0", "Setup.exe s", "0", 1},
      {"SilenceMode=2", "Setup.exe", "2", 2},
      {"SilenceMode=-1", "Setup.exe", "-1", -1},
      {"flag /s", "Setup.exe /s", nullptr, 0},
      {"word x then s", "Setup.exe x s", "0", 0},
  };
  for (const auto& c : cases) {
    LaunchRun t;
    t.commandLine = c.commandLine;
    if (c.silenceMode) t.Set("SilenceMode", c.silenceMode);
    t.Set("AnotherAPNum", "1");
    t.Set("AnotherAPXPx86Exe0", "tool.exe");
    t.Set("MustRePlugin", "1");
    const std::string silence = c.silent ? " Silence" : "";
    const Calls expected = {
        Start("C:\\pkg\\XP_x86\\SetupDrv.exe", "C:\\pkg\\XP_x86\\SetupDrv.exe" + silence), "switch 0",
        kRePlug,  // shown in a silent run as well
        Start("C:\\pkg\\tool.exe", "C:\\pkg\\tool.exe 0" + silence), "dialog 0 0 0"};
    EXPECT_EQ(t.Go(), expected) << c.name;
    EXPECT_EQ(t.app.Silent(), c.silent) << c.name;
  }
}

TEST(LaunchSequence, MissingSetupShowsNoSetupPathAndGoesOn) {
  LaunchRun t;
  t.platform.SetVista();
  t.platform.Set64Bit();
  t.Set("SetupVistax64Exe", "");
  t.Set("EnableAudioClass", "1");
  t.Set("MustRePlugin", "1");
  t.Set("AnotherAPNum", "1");
  t.Set("AnotherAPVistax64Exe0", "tool.exe");
  t.Set("EnableTimer", "1");
  t.Set("WaitTimer", "300");
  const Calls expected = {kNoSetup, "switch 1", kRePlug, Start("C:\\pkg\\tool.exe", "C:\\pkg\\tool.exe 0"),
                          "dialog 0 1 300"};
  EXPECT_EQ(t.Go(), expected);
}

TEST(LaunchSequence, EmptySetupFolderAlsoShowsNoSetupPath) {
  LaunchRun t;
  t.Set("SetupXPx86Path", "");
  t.Set("Setup", "My Caption");
  t.Set("NoSetupPath", "Not here.");
  const Calls expected = {"box My Caption|Not here.", "switch 0", "dialog 0 0 0"};
  EXPECT_EQ(t.Go(), expected);
}

TEST(LaunchSequence, AudioClassSwitchConditions) {
  struct Case {
    const char* name;
    bool vista;
    const char* enableAudioClass;
    int32_t switchResult;
    bool called;
  } cases[] = {
      {"XP, off", false, "0", 0, true},        {"XP, off, asks re-plug", false, "0", 1, true},
      {"XP, on", false, "1", 0, true},         {"Vista, off", true, "0", 1, false},
      {"Vista, on", true, "1", 0, true},       {"Vista, on, asks re-plug", true, "1", -5, true},
  };
  for (const auto& c : cases) {
    LaunchRun t;
    if (c.vista) t.platform.SetVista();
    t.Set("EnableAudioClass", c.enableAudioClass);
    t.platform.audioSwitch.result = c.switchResult;
    const std::string setup = c.vista ? "C:\\pkg\\Vista_x86\\SetupDrv.exe" : "C:\\pkg\\XP_x86\\SetupDrv.exe";
    Calls expected = {Start(setup)};
    if (c.called) expected.push_back(std::string("switch ") + (c.vista ? "1" : "0"));
    if (c.called && c.switchResult != 0) expected.push_back(kRePlug);
    expected.push_back("dialog 0 0 0");
    EXPECT_EQ(t.Go(), expected) << c.name;
  }
}

TEST(LaunchSequence, RePluginCanBeShownTwice) {
  LaunchRun t;
  t.platform.audioSwitch.result = 1;
  t.Set("MustRePlugin", "1");
  t.Set("RePlugin", "Plug again.");
  const Calls expected = {Start("C:\\pkg\\XP_x86\\SetupDrv.exe"), "switch 0", "box SetupDrv|Plug again.",
                          "box SetupDrv|Plug again.", "dialog 0 0 0"};
  EXPECT_EQ(t.Go(), expected);
}

TEST(LaunchSequence, FinishedInstallMarkGatesRePluginAndFurtherPrograms) {
  struct Case {
    const char* name;
    const char* check;
    bool is64;
    const char* key;     // where FinishInstall is written, nullptr: nowhere
    uint32_t value;
    int32_t ok;
  } cases[] = {
      {"check off, no mark", "0", false, nullptr, 0, 1},
      {"check off, mark 2", "0", false, RecordingPlatform::kCurrentVersion, 2, 1},
      {"check on, no mark", "1", false, nullptr, 0, 0},
      {"check on, mark 2", "1", false, RecordingPlatform::kCurrentVersion, 2, 0},
      {"check on, mark 1", "1", false, RecordingPlatform::kCurrentVersion, 1, 1},
      {"check on, 64-bit, mark in 32-bit view", "-1", true, RecordingPlatform::kCurrentVersion32, 1, 1},
      {"check on, 64-bit, mark in plain key", "1", true, RecordingPlatform::kCurrentVersion, 1, 0},
  };
  for (const auto& c : cases) {
    LaunchRun t;
    if (c.is64) t.platform.Set64Bit();
    t.platform.registry.keys[RecordingPlatform::kCurrentVersion];  // both keys exist
    t.platform.registry.keys[RecordingPlatform::kCurrentVersion32];
    if (c.key) t.platform.registry.SetDword(c.key, "FinishInstall", c.value);
    t.Set("CheckFinishInstall", c.check);
    t.Set("MustRePlugin", "1");
    t.Set("AnotherAPNum", "1");
    t.Set("AnotherAPXPx64Exe0", "tool.exe");
    t.Set("AnotherAPXPx86Exe0", "tool.exe");
    const std::string setup = c.is64 ? "C:\\pkg\\XP_x64\\SetupDrv.exe" : "C:\\pkg\\XP_x86\\SetupDrv.exe";
    Calls expected = {Start(setup), "switch 0"};
    if (c.ok) {
      expected.push_back(kRePlug);
      expected.push_back(Start("C:\\pkg\\tool.exe", "C:\\pkg\\tool.exe 0"));
    }
    expected.push_back("dialog 0 0 0");
    EXPECT_EQ(t.Go(), expected) << c.name;
    EXPECT_EQ(t.app.FinishInstallOk(), c.ok) << c.name;
    bool readMark = !t.platform.log.With("regquery FinishInstall").empty();
    EXPECT_EQ(readMark, std::string(c.check) != "0") << c.name;
  }
}

TEST(FurtherPrograms, EmptyEntriesAreSkippedAndOrderIsKept) {
  LaunchRun t;
  t.Set("AnotherAPNum", "3");
  t.Set("AnotherAPXPx86Exe0", "a.exe");
  t.Set("AnotherAPXPx86Exe2", "c.exe");
  t.Set("AnotherAPXPx64Exe1", "b.exe");  // another variant's entry
  t.Set("LaunchAnotherAPParam", "/quiet");
  const Calls expected = {Start("C:\\pkg\\XP_x86\\SetupDrv.exe"), "switch 0",
                          Start("C:\\pkg\\a.exe", "C:\\pkg\\a.exe /quiet"),
                          Start("C:\\pkg\\c.exe", "C:\\pkg\\c.exe /quiet"), "dialog 0 0 0"};
  EXPECT_EQ(t.Go(), expected);
}

TEST(FurtherPrograms, EachVariantUsesItsOwnColumn) {
  struct Case {
    bool vista, is64;
    const char* program;
  } cases[] = {{true, true, "AnotherAPVistax64Exe0"},
               {true, false, "AnotherAPVistax86Exe0"},
               {false, true, "AnotherAPXPx64Exe0"},
               {false, false, "AnotherAPXPx86Exe0"}};
  for (const auto& c : cases) {
    LaunchRun t;
    if (c.vista) t.platform.SetVista();
    if (c.is64) t.platform.Set64Bit();
    t.Set("AnotherAPNum", "1");
    for (const char* key : {"AnotherAPVistax64Exe0", "AnotherAPVistax86Exe0", "AnotherAPXPx64Exe0", "AnotherAPXPx86Exe0"})
      t.Set(key, key == std::string(c.program) ? "a.exe" : "b.exe");
    t.Go();
    EXPECT_EQ(t.platform.log.With("start ").back(), "C:\\pkg\\a.exe|C:\\pkg\\a.exe 0") << c.program;
  }
}

TEST(FurtherPrograms, UpdatePackagesGoToTheShellAndTheNextProgramStartsAtOnce) {
  LaunchRun t;
  t.commandLine = "Setup.exe s";
  t.Set("AnotherAPNum", "2");
  t.Set("AnotherAPXPx86Exe0", "kb123.msu");
  t.Set("AnotherAPXPx86Exe1", "tool.exe");
  const Calls expected = {Start("C:\\pkg\\XP_x86\\SetupDrv.exe", "C:\\pkg\\XP_x86\\SetupDrv.exe Silence"),
                          "switch 0", "shell C:\\pkg\\kb123.msu",
                          Start("C:\\pkg\\tool.exe", "C:\\pkg\\tool.exe 0 Silence"), "dialog 1 0 0"};
  EXPECT_EQ(t.Go(), expected);
  EXPECT_EQ(t.app.MsuOpened(), 1);
}

TEST(FurtherPrograms, MsuOpenedOnlyOnAShellResultAbove32) {
  struct Case {
    std::vector<int32_t> results;
    int32_t opened;
  } cases[] = {
      {{32, 32}, 0}, {{31, 2}, 0}, {{0, -1}, 0}, {{33, 31}, 1}, {{31, 33}, 1}, {{42, 42}, 1},
  };
  for (const auto& c : cases) {
    LaunchRun t;
    t.platform.shell.results = c.results;
    t.Set("AnotherAPNum", "2");
    t.Set("AnotherAPXPx86Exe0", "a.msu");
    t.Set("AnotherAPXPx86Exe1", "sub\\b.msu");
    Calls calls = t.Go();
    EXPECT_EQ(t.app.MsuOpened(), c.opened) << c.results[0] << "," << c.results[1];
    EXPECT_EQ(t.platform.log.With("shell "), (Calls{"C:\\pkg\\a.msu", "C:\\pkg\\sub\\b.msu"}));
    EXPECT_EQ(calls.back(), "dialog " + std::to_string(c.opened) + " 0 0");
    EXPECT_TRUE(t.platform.log.With("box ").empty());
  }
}

TEST(FurtherPrograms, AFailureNeverEndsTheLoop) {
  LaunchRun t;
  t.platform.processes.failingStarts = {1};  // the first further program
  t.platform.shell.result = 31;
  t.Set("AnotherAPNum", "4");
  t.Set("AnotherAPXPx86Exe0", "a.exe");
  t.Set("AnotherAPXPx86Exe1", "update.msu");
  t.Set("AnotherAPXPx86Exe2", "update.MSU");  // not a package: started, and fails
  t.Set("AnotherAPXPx86Exe3", "b.exe");
  const Calls expected = {Start("C:\\pkg\\XP_x86\\SetupDrv.exe"),
                          "switch 0",
                          Start("C:\\pkg\\a.exe", "C:\\pkg\\a.exe 0"),
                          kFailed,
                          "shell C:\\pkg\\update.msu",
                          Start("C:\\pkg\\update.MSU", "C:\\pkg\\update.MSU 0"),
                          kFailed,
                          Start("C:\\pkg\\b.exe", "C:\\pkg\\b.exe 0"),
                          "dialog 0 0 0"};
  EXPECT_EQ(t.Go(), expected);
}

TEST(FurtherPrograms, CountsOutsideTheTableAreSafe) {
  struct Case {
    const char* count;
    int started;
  } cases[] = {{"0", 0}, {"-1", 0}, {"-2147483648", 0}, {"5", 5}, {"6", 5}, {"2147483647", 5}};
  for (const auto& c : cases) {
    LaunchRun t;
    t.Set("AnotherAPNum", c.count);
    for (int i = 0; i < 7; ++i) t.Set("AnotherAPXPx86Exe" + std::to_string(i), "tool.exe");
    t.Go();
    EXPECT_EQ(static_cast<int>(t.platform.log.With("start ").size()), 1 + c.started) << c.count;
  }
}

TEST(LaunchSequence, ExecutableInTheDriveRoot) {
  LaunchRun t;
  t.platform.modulePath.path = "C:\\Setup.exe";
  t.platform.processes.existing.insert("C:\\XP_x86\\SetupDrv.exe");
  EXPECT_EQ(t.Go(), (Calls{Start("C:\\XP_x86\\SetupDrv.exe"), "switch 0", "dialog 0 0 0"}));
  EXPECT_STREQ(t.app.ModuleFolder().c_str(), "C:");
}

TEST(LaunchSequence, ExecutableWithAnotherNameKeepsItsFolder) {
  LaunchRun t;
  t.platform.modulePath.path = "C:\\pkg\\Installer.exe";  // ten characters
  EXPECT_EQ(t.Go(), (Calls{Start("C:\\pkg\\XP_x86\\SetupDrv.exe"), "switch 0", "dialog 0 0 0"}));
}

TEST(LaunchSequence, UnknownFolderStartsNothingAndStillEnds) {
  LaunchRun t;
  t.platform.modulePath.whole = false;
  t.platform.profile.values["AnotherAPNum"] = "2";  // not read: no file to read
  const Calls expected = {kFailed, "switch 0", "dialog 0 0 0"};
  EXPECT_EQ(t.Go(), expected);
  EXPECT_TRUE(t.platform.log.With("ini ").empty());
}

TEST(LaunchSequence, BlankInThePackageFolderStartsTheConfiguredProgram) {
  LaunchRun t;
  t.platform.modulePath.path = "D:\\My Package\\Setup.exe";
  t.platform.processes.existing = {"D:\\My.exe", "D:\\My Package\\XP_x86\\SetupDrv.exe"};
  const Calls expected = {Start("D:\\My Package\\XP_x86\\SetupDrv.exe"), "switch 0", "dialog 0 0 0"};
  EXPECT_EQ(t.Go(), expected);
}

TEST(LaunchSequence, MissingSetupProgramFailsWithoutSearching) {
  LaunchRun t;
  t.platform.processes.existing.clear();
  t.Set("SetupXPx86Exe", "Setup Drv.exe");
  const Calls expected = {Start("C:\\pkg\\XP_x86\\Setup.exe", "C:\\pkg\\XP_x86\\Setup Drv.exe"), kFailed,
                          "switch 0", "dialog 0 0 0"};
  EXPECT_EQ(t.Go(), expected);
}

TEST(LaunchSequence, CollectsMatchedIdsBeforeAnySetupRuns) {
  LaunchRun t;
  t.Set("DeviceIDNum", "1");
  t.Set("DevDrvID0", "USB\\VID_1D19");
  const Calls expected = {"collect 1 USB\\VID_1D19", Start("C:\\pkg\\XP_x86\\SetupDrv.exe"), "switch 0",
                          "dialog 0 0 0"};
  EXPECT_EQ(t.Go(), expected);
}

TEST(LaunchSequence, LongestTextsAreHeldWhole) {
  // A 490-character folder and 255-character texts: nothing is cut.
  LaunchRun t;
  const std::string folder = "C:\\" + std::string(487, 'f');
  t.platform.modulePath.path = folder + "\\Setup.exe";
  const std::string dir(255, 'd'), exe = std::string(251, 'e') + ".exe", param(255, 'p');
  t.Set("SetupXPx86Path", dir);
  t.Set("SetupXPx86Exe", exe);
  t.Set("AnotherAPNum", "1");
  t.Set("AnotherAPXPx86Exe0", exe);
  t.Set("LaunchAnotherAPParam", param);
  t.commandLine = "Setup.exe s";
  const std::string setup = folder + "\\" + dir + "\\" + exe;
  const std::string tool = folder + "\\" + exe;
  t.platform.processes.existing = {setup, tool};
  const Calls expected = {Start(setup, setup + " Silence"), "switch 0", Start(tool, tool + " " + param + " Silence"),
                          "dialog 0 0 0"};
  EXPECT_EQ(t.Go(), expected);
}

}  // namespace

namespace {

TEST(ExitStatus, SaysWhatWentWrong) {
  struct Case {
    const char* name;
    std::vector<std::pair<std::string, std::string>> settings;
    bool setupMissing;
    int32_t shellResult;
    int32_t status;
  };
  const Case cases[] = {
      {"everything as configured", {}, false, 42, kExitOk},
      {"no driver setup for the variant", {{"SetupXPx86Exe", ""}}, false, 42, kExitNoDriverSetup},
      {"driver setup not there", {}, true, 42, kExitProgramNotStarted},
      {"further program not there", {{"AnotherAPNum", "1"}, {"AnotherAPXPx86Exe0", "gone.exe"}}, false, 42,
       kExitProgramNotStarted},
      {"mark required and missing", {{"CheckFinishInstall", "1"}}, false, 42, kExitFinishInstallMissing},
      {"update package not opened", {{"AnotherAPNum", "1"}, {"AnotherAPXPx86Exe0", "u.msu"}}, false, 31,
       kExitUpdateNotOpened},
      {"update package opened", {{"AnotherAPNum", "1"}, {"AnotherAPXPx86Exe0", "u.msu"}}, false, 33, kExitOk},
      {"no setup and a missing program",
       {{"SetupXPx86Path", ""}, {"AnotherAPNum", "2"}, {"AnotherAPXPx86Exe1", "gone.exe"}},
       false,
       42,
       kExitNoDriverSetup | kExitProgramNotStarted},
  };
  for (const Case& c : cases) {
    LaunchRun t;
    for (const auto& kv : c.settings) t.Set(kv.first, kv.second);
    if (c.setupMissing) t.platform.processes.existing.erase("C:\\pkg\\XP_x86\\SetupDrv.exe");
    t.platform.shell.result = c.shellResult;
    t.Go();
    EXPECT_EQ(t.app.ExitStatus(), c.status) << c.name;
  }
}

}  // namespace
