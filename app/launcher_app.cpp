// The launch sequence: one pass from the command line to the closing
// dialog. No step ends the run early; every failure is shown and the
// sequence goes on.
#include "app/launcher_app.h"

#include "launch/program_runner.h"

int32_t LauncherApp::InitInstance() {
  if (!ports_) return 0;
  ReadCommandLine();
  LoadLaunchSettings();
  ProbeSystem();
  FindModuleFolder();
  RunDriverSetup();
  RunAudioClassSwitch();
  CheckFinishInstallStep();
  if (FinishInstallOk_ != 0) {
    AskRePlugin();
    RunFurtherPrograms();
  }
  RunClosingDialog();
  return 0;
}

void LauncherApp::ReadCommandLine() {
  if (commandLineSilent_) Silent_ = 1;
}

void LauncherApp::ProbeSystem() {
  IsVista_ = DetectVista();
  Is64_ = Detect64Bit();
  variant_ = SelectVariant(IsVista_, Is64_);
}

void LauncherApp::FindModuleFolder() { moduleFolder_ = ComputeModuleFolder(); }

OsVariant LauncherApp::SelectVariant(int32_t IsVista, int32_t Is64) {
  if (IsVista != 0) return Is64 != 0 ? OsVariant::Vista_x64 : OsVariant::Vista_x86;
  return Is64 != 0 ? OsVariant::XP_x64 : OsVariant::XP_x86;
}

void LauncherApp::RunDriverSetup() {
  const LaunchSettings& s = settings_;
  const SettingText* folder = &s.SetupXPx86Path;
  const SettingText* program = &s.SetupXPx86Exe;
  switch (variant_) {
    case OsVariant::Vista_x64:
      folder = &s.SetupVistax64Path;
      program = &s.SetupVistax64Exe;
      break;
    case OsVariant::Vista_x86:
      folder = &s.SetupVistax86Path;
      program = &s.SetupVistax86Exe;
      break;
    case OsVariant::XP_x64:
      folder = &s.SetupXPx64Path;
      program = &s.SetupXPx64Exe;
      break;
    case OsVariant::XP_x86:
      break;
  }
  if (folder->empty() || program->empty()) {
    ports_->boxes.ShowMessage(s.NoSetupPath.c_str(), s.Setup.c_str(), BoxIcon::None);
    exitStatus_ |= kExitNoDriverSetup;
    return;
  }
  // ModuleFolder\folder\program, no quotes added: the package author's
  // texts go to the platform as they are.
  ProgramCommand command;
  ProgramCommandBuilder build(command);
  build.StartAtFolder(moduleFolder_.c_str());
  build.AddProgram(folder->c_str());
  build.AddProgram("\\");
  build.AddProgram(program->c_str());
  if (RunAndWait(ports_->processes, ports_->boxes, command, Silent_, s.Setup.c_str()) == 0)
    exitStatus_ |= kExitProgramNotStarted;
}

void LauncherApp::RunAudioClassSwitch() {
  // On an XP-class system the switch decides for itself from its settings;
  // on a Vista-class system it runs only when the package asks for it.
  if (IsVista_ != 0 && settings_.EnableAudioClass == 0) return;
  if (ports_->audioSwitch.SwitchAudioClass(settings_, IsVista_) != 0)
    ports_->boxes.ShowMessage(settings_.RePlugin.c_str(), settings_.Setup.c_str(), BoxIcon::None);
}

void LauncherApp::CheckFinishInstallStep() {
  if (settings_.CheckFinishInstall != 0)
    ReadFinishInstall();
  else
    FinishInstallOk_ = 1;
  if (FinishInstallOk_ == 0) exitStatus_ |= kExitFinishInstallMissing;
}

void LauncherApp::AskRePlugin() {
  if (settings_.MustRePlugin != 0)
    ports_->boxes.ShowMessage(settings_.RePlugin.c_str(), settings_.Setup.c_str(), BoxIcon::None);
}

const SettingText& LauncherApp::FurtherProgram(int32_t index) const {
  const FurtherProgramTable& table = settings_.furtherPrograms;
  switch (variant_) {
    case OsVariant::Vista_x64:
      return table.vista[index].x64;
    case OsVariant::Vista_x86:
      return table.vista[index].x86;
    case OsVariant::XP_x64:
      return table.xp[index].x64;
    case OsVariant::XP_x86:
      break;
  }
  return table.xp[index].x86;
}

void LauncherApp::RunFurtherPrograms() {
  const LaunchSettings& s = settings_;
  int32_t count = s.AnotherAPNum < kFurtherProgramEntries ? s.AnotherAPNum : kFurtherProgramEntries;
  for (int32_t i = 0; i < count; ++i) {
    const SettingText& text = FurtherProgram(i);
    if (text.empty()) continue;
    if (IsUpdatePackage(text.c_str()) != 0) {
      // The update installer runs alongside the rest of the run; the
      // closing dialog looks for its windows.
      CommandText target;
      if (moduleFolder_.empty() || !target.Append(moduleFolder_.c_str()) || !target.Append('\\') ||
          !target.Append(text.c_str())) {
        exitStatus_ |= kExitUpdateNotOpened;  // no place to open it from
        continue;
      }
      if (OpenWithShell(ports_->shell, target.c_str()) > 32)
        MsuOpened_ = 1;
      else
        exitStatus_ |= kExitUpdateNotOpened;
      continue;
    }
    ProgramCommand command;
    ProgramCommandBuilder build(command);
    build.StartAtFolder(moduleFolder_.c_str());
    build.AddProgram(text.c_str());
    build.AddParameters(" ");
    build.AddParameters(s.LaunchAnotherAPParam.c_str());
    if (RunAndWait(ports_->processes, ports_->boxes, command, Silent_, s.Setup.c_str()) == 0)
      exitStatus_ |= kExitProgramNotStarted;
  }
}

void LauncherApp::RunClosingDialog() {
  ports_->closingDialog.RunCompletionDialog(MsuOpened_, settings_.EnableTimer, settings_.WaitTimer);
}
