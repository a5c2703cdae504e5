#pragma once
// LauncherApp: the application object and the launch sequence, from the
// command line to the closing dialog.
#include <cstdint>

#include "app/application.h"
#include "app/exit_status.h"
#include "app/command_line.h"
#include "app/launch_settings.h"
#include "app/launch_steps.h"
#include "app/profile_reader.h"
#include "app/system_ports.h"
#include "base/fixed_text.h"
#include "base/message_box_port.h"
#include "base/registry_port.h"
#include "launch/process_ports.h"

// Everything the sequence reaches the system through.
struct LauncherPorts {
  ProfileReader& profile;
  ModulePathPort& modulePath;
  VersionPort& version;
  RegistryPort& registry;
  ProcessPort& processes;
  ShellPort& shell;
  MessageBoxPort& boxes;
  HardwareIdCollection& hardwareIds;
  AudioClassSwitch& audioSwitch;
  ClosingDialog& closingDialog;
};

enum class OsVariant { Vista_x64, Vista_x86, XP_x64, XP_x86 };

class LauncherApp : public Application {
 public:
  LauncherApp() = default;

  // Before RunApplication(): the platform, and the process's whole command
  // line as the system gives it (program name first, then the arguments).
  void Attach(LauncherPorts* ports) { ports_ = ports; }
  // Only the silent word matters of it, and it is settled here, so a
  // command line of any length is judged whole.
  void SetCommandLine(const char* commandLine) { commandLineSilent_ = CommandLineAsksSilent(commandLine); }

  // Runs the launch sequence once and returns 0.
  int32_t InitInstance() override;

  // The steps of the sequence, in the order InitInstance runs them. Each can
  // be run on its own by a test that has attached the ports.
  void ReadCommandLine();          // Silent = 1 on the silent word
  int32_t LoadLaunchSettings();    // Setting.ini; always 1
  void ProbeSystem();              // IsVista, Is64 and the variant from them
  void FindModuleFolder();         // ModuleFolder
  int32_t DetectVista();           // 1: NT 6.x
  int32_t Detect64Bit();           // 1: "ProgramFilesDir (x86)" ends in (x86)
  PathText ComputeModuleFolder();  // empty when the executable's folder is unknown
  void RunDriverSetup();
  void RunAudioClassSwitch();
  void ReadFinishInstall();        // FinishInstallOk from the finished-install mark
  void CheckFinishInstallStep();   // ReadFinishInstall, or FinishInstallOk = 1
  void AskRePlugin();              // the MustRePlugin box
  void RunFurtherPrograms();
  void RunClosingDialog();

  static OsVariant SelectVariant(int32_t IsVista, int32_t Is64);

  // What the run decided, for the tools and tests that look at a run.
  const LaunchSettings& Settings() const { return settings_; }
  int32_t Silent() const { return Silent_; }
  int32_t IsVista() const { return IsVista_; }
  int32_t Is64() const { return Is64_; }
  int32_t FinishInstallOk() const { return FinishInstallOk_; }
  int32_t MsuOpened() const { return MsuOpened_; }
  OsVariant Variant() const { return variant_; }
  const PathText& ModuleFolder() const { return moduleFolder_; }
  // The process's exit status after the run (app/exit_status.h).
  int32_t ExitStatus() const { return exitStatus_; }

 private:
  const SettingText& FurtherProgram(int32_t index) const;
  void ReadText(const char* key, const char* defaultText, SettingText& out);
  int32_t ReadInt(const char* key);

  LauncherPorts* ports_ = nullptr;
  bool commandLineSilent_ = false;
  PathText settingsPath_;  // empty while the loader does not know the folder
  LaunchSettings settings_;
  int32_t Silent_ = 0;
  int32_t IsVista_ = 0;
  int32_t Is64_ = 0;
  int32_t FinishInstallOk_ = 0;
  int32_t MsuOpened_ = 0;
  OsVariant variant_ = OsVariant::XP_x86;
  PathText moduleFolder_;
  int32_t exitStatus_ = kExitOk;
};
