// The dry run: LauncherApp's own sequence over the recording platform, and
// setup-check's report and exit statuses.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "package_fixture.h"
#include "tools/setup-check/cli.h"
#include "tools/setup-check/dry_run.h"
#include "tools/setup-check/key_catalogue.h"
#include "tools/setup-check/report.h"

namespace {

DryRunOptions OptionsFor(const PackageFolder& pkg) {
  DryRunOptions o;
  o.packageDir = pkg.path();
  o.moduleFolder = "C:\\pkg";
  return o;
}

const SystemKind& System(const char* name) {
  for (int i = 0; i < 4; ++i)
    if (std::string(SystemKinds()[i].name) == name) return SystemKinds()[i];
  return SystemKinds()[3];
}

// One line per step: what a user or the system would see.
std::vector<std::string> StepsOf(const VariantRun& run) {
  std::vector<std::string> out;
  for (const Step& s : run.steps) {
    switch (s.kind) {
      case Step::Start:
        out.push_back(std::string(s.started ? "start " : "cannot start ") + s.commandLine);
        break;
      case Step::Open:
        out.push_back("open " + s.program + " -> " + std::to_string(s.shellResult));
        break;
      case Step::Box:
        out.push_back("box " + s.caption + "|" + s.text);
        break;
      case Step::AudioSwitch: {
        std::string a = "audio switch";
        if (s.captureDevice) a += " -> " + std::to_string(s.result);
        for (const RegisterWrite& w : s.writes)
          a += " w" + std::to_string(w.reg) + ":" + std::to_string(w.before) + ">" + std::to_string(w.after);
        for (const std::string& id : s.removedNodes) a += " rm:" + id;
        out.push_back(a);
        break;
      }
      case Step::CollectIds: {
        std::string m;
        for (const std::string& p : s.matched) m += " " + p;
        out.push_back("collect " + std::to_string(s.count) + m);
        break;
      }
      case Step::FinishInstall:
        out.push_back(s.registryKey + (s.valueRead ? " = " + std::to_string(s.value) : " missing"));
        break;
      case Step::ClosingDialog:
        out.push_back("dialog " + std::to_string(s.MsuOpened) + " " + std::to_string(s.EnableTimer) + " " +
                      std::to_string(s.WaitTimer));
        break;
    }
  }
  return out;
}

TEST(DryRun, PresentDevicesAreMatchedByTheLaunchersPrefixRule) {
  PackageFolder pkg;
  pkg.Program("XP_x86/SetupDrv.exe");
  pkg.File("Setting.ini",
           "[Const]\r\nDeviceIDNum=4\r\n"
           "DevDrvID0=USB\\VID_1D19&PID_6105\r\n"
           "DevDrvID1=\r\n"                      // empty: matches nothing
           "DevDrvID2=usb\\vid_1d19&pid_6106\r\n"  // letters without case
           "DevDrvID3=USB/VID_1D19\r\n");          // other bytes exactly
  DryRunOptions o = OptionsFor(pkg);
  o.devices = {"USB\\VID_1D19&PID_6106&REV_0100", "USB\\VID_1D19&PID_6105", "USB\\VID_1D19&PID_6105&MI_01"};
  VariantRun run = RunVariant(o, System("xp-x86"));
  ASSERT_FALSE(run.steps.empty());
  // Once per matching device, in the order the devices are listed.
  EXPECT_EQ(StepsOf(run)[0], "collect 4 usb\\vid_1d19&pid_6106 USB\\VID_1D19&PID_6105 USB\\VID_1D19&PID_6105");
}

TEST(DryRun, LoaderAsksForExactlyTheCataloguedKeysWithTheirDefaults) {
  PackageFolder pkg;
  pkg.File("Setting.ini", "[Const]\r\nDeviceIDNum=10\r\nAnotherAPNum=5\r\n");
  VariantRun run = RunVariant(OptionsFor(pkg), System("xp-x86"));
  std::set<std::string> asked;
  for (const ProfileRead& r : run.reads) {
    asked.insert(r.key);
    int index = 0;
    const KeyDef* keyDef = FindKeyDef(r.key, &index);
    ASSERT_NE(keyDef, nullptr) << r.key;
    EXPECT_EQ(r.defaultText, keyDef->kind == KeyKind::Integer ? "0" : keyDef->defaultText) << r.key;
  }
  std::vector<std::string> all = AllKeyNames();
  EXPECT_EQ(asked, std::set<std::string>(all.begin(), all.end()));
}

TEST(DryRun, EachVariantStartsItsOwnSetupAndPrograms) {
  PackageFolder pkg;
  pkg.Program("Vista_x64/SetupDrv.exe");
  pkg.Program("XP_x86/SetupDrv.exe");
  pkg.Program("tools/tool.exe");
  pkg.File("kb123.msu", "update");
  pkg.File("Setting.ini",
           "[Const]\r\n"
           "DeviceIDNum=2\r\n"
           "DevDrvID0=USB\\VID_1D19&PID_6105\r\n"
           "DevDrvID1=USB\\VID_1D19&PID_6106\r\n"
           "SetupXPx64Exe=\r\n"
           "AnotherAPNum=2\r\n"
           "AnotherAPVistax64Exe0=kb123.msu\r\n"
           "AnotherAPVistax64Exe1=tools\\tool.exe\r\n"
           "AnotherAPXPx86Exe0=kb123.msu\r\n"
           "AnotherAPXPx86Exe1=missing.exe\r\n"
           "LaunchAnotherAPParam=/quiet\r\n"
           "EnableTimer=1\r\nWaitTimer=250\r\n"
           "CheckFinishInstall=1\r\nMustRePlugin=1\r\nSetup=Pkg\r\n");
  DryRunOptions o = OptionsFor(pkg);
  o.devices = {"USB\\VID_1D19&PID_6106&MI_00"};
  o.silentWord = true;

  VariantRun vista64 = RunVariant(o, System("vista-x64"));
  EXPECT_EQ(StepsOf(vista64),
            (std::vector<std::string>{
                "collect 2 USB\\VID_1D19&PID_6106",
                "start C:\\pkg\\Vista_x64\\SetupDrv.exe Silence",
                "HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion = 1",
                "box Pkg|Please Re-Plugin the USB device on your computer.",
                "open C:\\pkg\\kb123.msu -> 42",
                "start C:\\pkg\\tools\\tool.exe /quiet Silence",
                "dialog 1 1 250",
            }));
  EXPECT_TRUE(ConfirmsUpdateInstaller(vista64));
  EXPECT_FALSE(AudioSwitchCalled(vista64));
  EXPECT_EQ(vista64.setupExitStatus, 0);

  VariantRun xp64 = RunVariant(o, System("xp-x64"));
  EXPECT_EQ(StepsOf(xp64),
            (std::vector<std::string>{
                "collect 2 USB\\VID_1D19&PID_6106",
                "box Pkg|The driver of this version does not support this operating system.",
                "audio switch",
                "HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion = 1",
                "box Pkg|Please Re-Plugin the USB device on your computer.",
                "dialog 0 1 250",
            }));
  EXPECT_EQ(xp64.setupExitStatus, 1);  // no driver setup

  // XP has no program for ".msu": the shell cannot open it, and the
  // missing program fails to start.
  VariantRun xp86 = RunVariant(o, System("xp-x86"));
  EXPECT_EQ(StepsOf(xp86),
            (std::vector<std::string>{
                "collect 2 USB\\VID_1D19&PID_6106",
                "start C:\\pkg\\XP_x86\\SetupDrv.exe Silence",
                "audio switch",
                "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion = 1",
                "box Pkg|Please Re-Plugin the USB device on your computer.",
                "open C:\\pkg\\kb123.msu -> 31",
                "cannot start C:\\pkg\\missing.exe /quiet Silence",
                "box Pkg|CreateProcess failed.",
                "dialog 0 1 250",
            }));
  EXPECT_FALSE(ConfirmsUpdateInstaller(xp86));
  EXPECT_EQ(xp86.setupExitStatus, 2 + 8);  // a program not started, an update package not opened
}

TEST(DryRun, FinishedInstallMarkDecidesTheFurtherPrograms) {
  PackageFolder pkg;
  pkg.Program("XP_x86/SetupDrv.exe");
  pkg.Program("tool.exe");
  pkg.File("Setting.ini", "[Const]\r\nCheckFinishInstall=1\r\nMustRePlugin=1\r\nAnotherAPNum=1\r\nAnotherAPXPx86Exe0=tool.exe\r\n");
  struct Case {
    FinishInstallMark mark;
    std::vector<std::string> steps;
  } cases[] = {
      {FinishInstallMark::Yes,
       {"start C:\\pkg\\XP_x86\\SetupDrv.exe", "audio switch",
        "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion = 1",
        "box SetupDrv|Please Re-Plugin the USB device on your computer.", "start C:\\pkg\\tool.exe 0",
        "dialog 0 0 0"}},
      {FinishInstallMark::No,
       {"start C:\\pkg\\XP_x86\\SetupDrv.exe", "audio switch",
        "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion = 0", "dialog 0 0 0"}},
      {FinishInstallMark::Absent,
       {"start C:\\pkg\\XP_x86\\SetupDrv.exe", "audio switch",
        "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion missing", "dialog 0 0 0"}},
  };
  for (const Case& c : cases) {
    DryRunOptions o = OptionsFor(pkg);
    o.finishInstall = c.mark;
    EXPECT_EQ(StepsOf(RunVariant(o, System("xp-x86"))), c.steps);
  }
}

// The launcher's own audio-class switch runs over the simulated capture
// device: its register writes, node removals and answer are the real ones.
TEST(DryRun, AudioClassSwitchOverTheCaptureDevice) {
  struct Case {
    const char* name;
    const char* system;
    const char* settings;
    CaptureDeviceMemory memory;
    std::vector<std::string> steps;
  } cases[] = {
      {"Vista, switch asked for, no capture driver", "vista-x86", "EnableAudioClass=1\r\n", {},
       {"start C:\\pkg\\Vista_x86\\SetupDrv.exe", "audio switch", "dialog 0 0 0"}},
      {"Vista, class off: switched on, re-plug", "vista-x86", "EnableAudioClass=1\r\n", {true, 0xD0, 0, 1},
       {"start C:\\pkg\\Vista_x86\\SetupDrv.exe", "audio switch -> 1 w8:208>80",
        "box SetupDrv|Please Re-Plugin the USB device on your computer.", "dialog 0 0 0"}},
      {"Vista, class already on: nothing written", "vista-x86", "EnableAudioClass=1\r\n", {true, 0x50, 0, 1},
       {"start C:\\pkg\\Vista_x86\\SetupDrv.exe", "audio switch -> 0", "dialog 0 0 0"}},
      {"XP without EnableXPAudioClass: class switched off", "xp-x86", "", {true, 0x50, 0, 1},
       {"start C:\\pkg\\XP_x86\\SetupDrv.exe", "audio switch -> 1 w8:80>208",
        "box SetupDrv|Please Re-Plugin the USB device on your computer.", "dialog 0 0 0"}},
      {"XP with every audio key: nodes removed, class on, volume pair set", "xp-x86",
       "EnableXPAudioClass=1\r\nEnableAudioVol=1\r\nDelAudioRegKey=1\r\nDelAudioRegKeyMessage=1\r\n"
       "DeviceIDNum=1\r\nDevDrvID0=USB\\VID_1D19\r\n",
       {true, 0xD0, 5, 0},
       {"collect 1 USB\\VID_1D19", "start C:\\pkg\\XP_x86\\SetupDrv.exe",
        "audio switch -> 1 w8:208>80 w38:0>1 w37:5>0 rm:USB\\VID_1D19&PID_6105 rm:USB\\VID_1D19&PID_6105",
        "box SetupDrv|Please Re-Plugin the USB device on your computer.", "dialog 0 0 0"}},
  };
  for (const Case& c : cases) {
    PackageFolder pkg;
    pkg.Program("Vista_x86/SetupDrv.exe");
    pkg.Program("XP_x86/SetupDrv.exe");
    pkg.File("Setting.ini", std::string("[Const]\r\n") + c.settings);
    DryRunOptions o = OptionsFor(pkg);
    o.devices = {"USB\\VID_1D19&PID_6105"};
    o.captureDevice = c.memory;
    VariantRun run = RunVariant(o, System(c.system));
    EXPECT_EQ(StepsOf(run), c.steps) << c.name;
    for (const Step& s : run.steps)
      if (s.kind == Step::AudioSwitch) EXPECT_EQ(s.unreleasedReferences, 0) << c.name;
  }
}

TEST(DryRun, MissingProgramsAreJudgedByWhatTheRunCouldStart) {
  PackageFolder pkg;
  pkg.Program("XP_x86/SetupDrv.exe");
  pkg.Program("tools/tool.exe");
  pkg.File("Setting.ini",
           "[Const]\r\nAnotherAPNum=3\r\n"
           "AnotherAPXPx86Exe0=TOOLS\\Tool.exe -a\r\n"  // the platform cuts at the blank and ignores case
           "AnotherAPXPx86Exe1=tools\\gone.exe\r\n"
           "AnotherAPXPx86Exe2=tools\\gone.msu\r\n"
           "AnotherAPVistax86Exe0=tools\\tool.exe\r\n");
  CheckResult r = CheckPackage(OptionsFor(pkg), {"xp-x86", "vista-x86"});
  std::vector<std::string> found;
  for (const Finding& f : r.findings)
    found.push_back(std::to_string(f.line) + ":" + f.code + ":" + f.key + ":" + (f.variants.empty() ? "" : f.variants[0]));
  EXPECT_EQ(found, (std::vector<std::string>{"0:missing-folder:SetupVistax86Path:vista-x86",
                                             "3:blank-in-program:AnotherAPXPx86Exe0:",
                                             "4:missing-program:AnotherAPXPx86Exe1:xp-x86",
                                             "5:missing-program:AnotherAPXPx86Exe2:xp-x86"}));
  EXPECT_EQ(r.ExitStatus(), 2);
}

TEST(DryRun, SilenceModeMakesTheRunSilentAndSaysWhy) {
  PackageFolder pkg;
  pkg.Program("XP_x86/SetupDrv.exe");
  pkg.File("Setting.ini", "[Const]\r\n\r\nSilenceMode=2\r\n");
  CheckResult r = CheckPackage(OptionsFor(pkg), {"xp-x86"});
  ASSERT_EQ(r.runs.size(), 1u);
  EXPECT_EQ(r.runs[0].Silent, 2);
  EXPECT_EQ(SilentReason(r, r.runs[0]), "SilenceMode=2 (line 3)");
  EXPECT_EQ(StepsOf(r.runs[0])[0], "start C:\\pkg\\XP_x86\\SetupDrv.exe Silence");
}

const char kSampleSetting[] =
    "[Const]\r\n"
    "DeviceIDNum=1\r\n"
    "DevDrvID0=USB\\VID_1D19&PID_6105\r\n"
    "SetupXPx64Path=\r\n"
    "AnotherAPNum=1\r\n"
    "AnotherAPVistax64Exe0=Vista_x64\\kb1.msu\r\n"
    "AnotherAPVistax86Exe0=Tool.exe\r\n"
    "EnableTimer=1\r\n"
    "WaitTimer=500\r\n"
    "Setup=Drovik\r\n"
    "AnotherAPXPx86Exe0=tool.exe\r\n";

const char kSampleReport[] =
    "setup-check: package @PKG@\n"
    "Setting.ini: 11 lines\n"
    "devices present: USB\\VID_1D19&PID_6105&REV_0001\n"
    "finished-install mark assumed: yes\n"
    "\n"
    "settings as the launcher reads them:\n"
    "  DeviceIDNum            = \"1\"                            line 2\n"
    "  DevDrvID0              = \"USB\\VID_1D19&PID_6105\"        line 3\n"
    "  DeviceIDSection0       = \"\"                             default\n"
    "  SetupVistax64Path      = \"Vista_x64\"                    default\n"
    "  SetupVistax64Exe       = \"SetupDrv.exe\"                 default\n"
    "  SetupVistax86Path      = \"Vista_x86\"                    default\n"
    "  SetupVistax86Exe       = \"SetupDrv.exe\"                 default\n"
    "  SetupXPx64Path         = \"\"                             line 4\n"
    "  SetupXPx64Exe          = \"SetupDrv.exe\"                 default\n"
    "  SetupXPx86Path         = \"XP_x86\"                       default\n"
    "  SetupXPx86Exe          = \"SetupDrv.exe\"                 default\n"
    "  SilenceMode            = \"0\"                            default\n"
    "  EnableAudioClass       = \"0\"                            default\n"
    "  EnableXPAudioClass     = \"0\"                            default\n"
    "  DelAudioRegKey         = \"0\"                            default\n"
    "  DelAudioRegKeyMessage  = \"0\"                            default\n"
    "  EnableAudioVol         = \"0\"                            default\n"
    "  EnableTimer            = \"1\"                            line 8\n"
    "  WaitTimer              = \"500\"                          line 9\n"
    "  CheckFinishInstall     = \"0\"                            default\n"
    "  AnotherAPNum           = \"1\"                            line 5\n"
    "  AnotherAPVistax64Exe0  = \"Vista_x64\\kb1.msu\"            line 6\n"
    "  AnotherAPVistax86Exe0  = \"Tool.exe\"                     line 7\n"
    "  AnotherAPXPx64Exe0     = \"\"                             default\n"
    "  AnotherAPXPx86Exe0     = \"tool.exe\"                     line 11\n"
    "  Setup                  = \"Drovik\"                       line 10\n"
    "  NoSetupPath            = \"The driver of this version does not support this operating system.\" default\n"
    "  RePlugin               = \"Please Re-Plugin the USB device on your computer.\" default\n"
    "  LaunchAnotherAPParam   = \"0\"                            default\n"
    "  MustRePlugin           = \"0\"                            default\n"
    "\n"
    "vista-x64 (Windows NT 6.1, 64-bit): \"C:\\Drivers\\Setup.exe\"\n"
    "  silent: no (no command-line word, SilenceMode is absent)\n"
    "  1. hardware IDs: DeviceIDNum 1, matched: USB\\VID_1D19&PID_6105\n"
    "  2. driver setup: start C:\\Drivers\\Vista_x64\\SetupDrv.exe\n"
    "  3. update package: open C:\\Drivers\\Vista_x64\\kb1.msu (shell result 42)\n"
    "  4. closing dialog hides itself and confirms the update installer's dialogs every 500 ms\n"
    "  audio-class switch not called (Vista class and EnableAudioClass is 0)\n"
    "  finished install not checked (CheckFinishInstall is 0): further programs may run\n"
    "  Setup.exe exit status: 0 (everything configured was done)\n"
    "\n"
    "vista-x86 (Windows NT 6.1, 32-bit): \"C:\\Drivers\\Setup.exe\"\n"
    "  silent: no (no command-line word, SilenceMode is absent)\n"
    "  1. hardware IDs: DeviceIDNum 1, matched: USB\\VID_1D19&PID_6105\n"
    "  2. driver setup: start C:\\Drivers\\Vista_x86\\SetupDrv.exe\n"
    "       not started: C:\\Drivers\\Vista_x86\\SetupDrv.exe is not in the package\n"
    "  3. box \"Drovik\": \"CreateProcess failed.\"\n"
    "  4. further program: start C:\\Drivers\\Tool.exe 0\n"
    "  5. closing dialog closes at once (no update package was opened)\n"
    "  audio-class switch not called (Vista class and EnableAudioClass is 0)\n"
    "  finished install not checked (CheckFinishInstall is 0): further programs may run\n"
    "  Setup.exe exit status: 2 (a program not started)\n"
    "\n"
    "xp-x64 (Windows NT 5.1, 64-bit): \"C:\\Drivers\\Setup.exe\"\n"
    "  silent: no (no command-line word, SilenceMode is absent)\n"
    "  1. hardware IDs: DeviceIDNum 1, matched: USB\\VID_1D19&PID_6105\n"
    "  2. box \"Drovik\": \"The driver of this version does not support this operating system.\"\n"
    "  3. audio-class switch called (XP class: always called; it decides from EnableXPAudioClass and the audio "
    "keys); no capture driver found, answer: no re-plug\n"
    "  4. closing dialog closes at once (no update package was opened)\n"
    "  finished install not checked (CheckFinishInstall is 0): further programs may run\n"
    "  Setup.exe exit status: 1 (no driver setup)\n"
    "\n"
    "xp-x86 (Windows NT 5.1, 32-bit): \"C:\\Drivers\\Setup.exe\"\n"
    "  silent: no (no command-line word, SilenceMode is absent)\n"
    "  1. hardware IDs: DeviceIDNum 1, matched: USB\\VID_1D19&PID_6105\n"
    "  2. driver setup: start C:\\Drivers\\XP_x86\\SetupDrv.exe\n"
    "  3. audio-class switch called (XP class: always called; it decides from EnableXPAudioClass and the audio "
    "keys); no capture driver found, answer: no re-plug\n"
    "  4. further program: start C:\\Drivers\\tool.exe 0\n"
    "  5. closing dialog closes at once (no update package was opened)\n"
    "  finished install not checked (CheckFinishInstall is 0): further programs may run\n"
    "  Setup.exe exit status: 0 (everything configured was done)\n"
    "\n"
    "findings:\n"
    "  package: error: folder \"Vista_x86\" (SetupVistax86Path) is not in the package: the launcher shows "
    "\"CreateProcess failed.\" (an empty SetupVistax86Exe= shows the NoSetupPath box instead) [vista-x86] "
    "(missing-folder)\n"
    "0 error(s), 0 warning(s), 0 note(s)\n";

std::string Replaced(std::string s, const std::string& from, const std::string& to) {
  for (size_t at = s.find(from); at != std::string::npos; at = s.find(from, at + to.size())) s.replace(at, from.size(), to);
  return s;
}

TEST(Report, SamplePackageExactly) {
  PackageFolder pkg;
  pkg.File("Setting.ini", kSampleSetting);
  pkg.Program("Vista_x64/SetupDrv.exe");
  pkg.File("Vista_x64/kb1.msu", "update");
  pkg.Program("XP_x86/SetupDrv.exe");
  pkg.Program("tool.exe");  // Tool.exe names it too: Windows ignores the case
  std::string out, err;
  int status = RunSetupCheck({"--module-folder", "C:\\Drivers", "--device", "USB\\VID_1D19&PID_6105&REV_0001", pkg.path()},
                             &out, &err);
  EXPECT_EQ(out, Replaced(Replaced(kSampleReport, "@PKG@", pkg.path()), "0 error(s)", "1 error(s)"));
  EXPECT_EQ(err, "");
  EXPECT_EQ(status, 2);
}

TEST(Report, JsonCarriesTheSameRun) {
  PackageFolder pkg;
  pkg.File("Setting.ini", kSampleSetting);
  pkg.Program("Vista_x64/SetupDrv.exe");
  pkg.File("Vista_x64/kb1.msu", "update");
  std::string out, err;
  RunSetupCheck({"--json", "--os", "vista-x64", "--module-folder", "C:\\Drivers", pkg.path()}, &out, &err);
  for (const char* piece : {
           "\"variant\": \"vista-x64\", \"windowsVersion\": \"6.1\", \"x64\": true,",
           "{\"kind\": \"start\", \"role\": \"driver setup\", \"program\": \"C:\\\\Drivers\\\\Vista_x64\\\\SetupDrv.exe\", "
           "\"commandLine\": \"C:\\\\Drivers\\\\Vista_x64\\\\SetupDrv.exe\", \"started\": true, \"reason\": \"\"}",
           "{\"kind\": \"open\", \"target\": \"C:\\\\Drivers\\\\Vista_x64\\\\kb1.msu\", \"shellResult\": 42, \"opened\": true, "
           "\"reason\": \"\"}",
           "{\"kind\": \"closingDialog\", \"msuOpened\": 1, \"enableTimer\": 1, \"waitTimer\": 500, "
           "\"confirmsUpdateInstaller\": true}",
           "{\"key\": \"WaitTimer\", \"value\": \"500\", \"default\": false, \"defaultText\": \"0\", \"line\": 9}",
           "\"summary\": {\"errors\": 0, \"warnings\": 0, \"notes\": 0, \"exitStatus\": 0}",
       })
    EXPECT_NE(out.find(piece), std::string::npos) << piece << "\nin\n" << out;
}

TEST(Report, TraceOfAPackageAtTheRootOfADrive) {
  PackageFolder pkg;
  pkg.Program("XP_x86/SetupDrv.exe");
  std::string out, err;
  EXPECT_EQ(RunSetupCheck({"--trace", "--silent", "--os", "xp-x86", "--module-folder", "C:\\", pkg.path()}, &out, &err), 0);
  EXPECT_EQ(out, "run xp-x86\nstart C:\\XP_x86\\SetupDrv.exe Silence\ndialog closes\nexit 0\n");
}

TEST(Report, TraceShowsTheDevicesChanges) {
  PackageFolder pkg;
  pkg.Program("XP_x86/SetupDrv.exe");
  pkg.File("Setting.ini", "[Const]\r\nDeviceIDNum=1\r\nDevDrvID0=USB\\VID_1D19\r\nDelAudioRegKey=1\r\n");
  std::string out, err;
  RunSetupCheck({"--trace", "--os", "xp-x86", "--module-folder", "C:\\pkg", "--capture-device", "0x50", "--device",
                 "USB\\VID_1D19&PID_6108", pkg.path()},
                &out, &err);
  EXPECT_EQ(out,
            "run xp-x86\nstart C:\\pkg\\XP_x86\\SetupDrv.exe\nwrite 8 0xD0\nremove USB\\VID_1D19&PID_6108\n"
            "box SetupDrv|Please Re-Plugin the USB device on your computer.\ndialog closes\nexit 0\n");
}

TEST(ExitStatus, CleanWarningsErrorsAndBadUsage) {
  PackageFolder clean, warned, broken;
  clean.Program("XP_x86/SetupDrv.exe");
  warned.Program("XP_x86/SetupDrv.exe");
  warned.File("Setting.ini", "[Const]\r\nSetupXPx86Exee=x.exe\r\n");
  broken.File("Setting.ini", "[Const]\r\nSetupXPx86Path=Nowhere\r\n");
  struct Case {
    const char* name;
    std::vector<std::string> args;
    int status;
    bool complains;
  } cases[] = {
      {"clean", {"--os", "xp-x86", clean.path()}, 0, false},
      {"warnings", {"--os", "xp-x86", warned.path()}, 1, false},
      {"errors", {"--os", "xp-x86", broken.path()}, 2, false},
      {"errors on another variant only", {"--os", "vista-x64", clean.path()}, 2, false},
      {"no package", {}, 64, true},
      {"two packages", {clean.path(), warned.path()}, 64, true},
      {"not a folder", {clean.path() + "/nothing-here"}, 64, true},
      {"unknown option", {"--fast", clean.path()}, 64, true},
      {"unknown variant", {"--os", "win10", clean.path()}, 64, true},
      {"option without value", {clean.path(), "--device"}, 64, true},
      {"bad finished-install mark", {"--finish-install", "maybe", clean.path()}, 64, true},
      {"register out of range", {"--capture-device", "0x100", clean.path()}, 64, true},
      {"two registers", {"--capture-device", "0xD0,0", clean.path()}, 64, true},
      {"three registers", {"--os", "xp-x86", "--capture-device", "0xD0,0,1", clean.path()}, 0, false},
      {"help", {"--help"}, 0, false},
      {"module folder of separators only", {"--module-folder", "\\\\", clean.path()}, 64, true},
  };
  for (const Case& c : cases) {
    std::string out, err;
    EXPECT_EQ(RunSetupCheck(c.args, &out, &err), c.status) << c.name;
    EXPECT_EQ(!err.empty(), c.complains) << c.name << ": " << err;
    if (c.complains) EXPECT_EQ(out, "") << c.name;
  }
  std::string out, err;
  RunSetupCheck({"--help"}, &out, &err);
  EXPECT_EQ(out.compare(0, 36, "usage: setup-check [options] PACKAGE"), 0);
}

}  // namespace
