#pragma once
// LauncherApp: the application object and the launch sequence, from the
// command line to the closing dialog.
#include <cstdint>

#include "app/application.h"
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
  void SetCommandLine(const char* commandLine) { commandLine_.Assign(commandLine); }

  // Runs the launch sequence once and returns 0.
  int32_t InitInstance() override;

  // What the run decided, for the tools and tests that look at a run.
  const LaunchSettings& Settings() const { return settings_; }
  int32_t Silent() const { return Silent_; }
  int32_t IsVista() const { return IsVista_; }
  int32_t Is64() const { return Is64_; }
  int32_t FinishInstallOk() const { return FinishInstallOk_; }
  int32_t MsuOpened() const { return MsuOpened_; }
  OsVariant Variant() const { return variant_; }
  const PathText& ModuleFolder() const { return moduleFolder_; }

 private:
  LauncherPorts* ports_ = nullptr;
  CommandText commandLine_;
  LaunchSettings settings_;
  int32_t Silent_ = 0;
  int32_t IsVista_ = 0;
  int32_t Is64_ = 0;
  int32_t FinishInstallOk_ = 0;
  int32_t MsuOpened_ = 0;
  OsVariant variant_ = OsVariant::XP_x86;
  PathText moduleFolder_;
};
