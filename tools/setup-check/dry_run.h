#pragma once
// The dry run: the launcher's own sequence (LauncherApp) run once per kind
// of Windows over a recording platform, and the findings on the package.
#include <memory>
#include <string>
#include <vector>

#include "tools/setup-check/lint.h"
#include "tools/setup-check/recording_platform.h"

struct VariantRun {
  std::string variant;  // vista-x64 ...
  bool vista = false;
  bool x64 = false;
  std::string commandLine;  // what the launcher was started with
  // What the run decided, as LauncherApp reports it.
  int32_t Silent = 0;
  int32_t IsVista = 0;
  int32_t Is64 = 0;
  int32_t FinishInstallOk = 0;
  int32_t MsuOpened = 0;
  std::string moduleFolder;
  int32_t setupExitStatus = 0;  // the exit status Setup.exe ends with
  // Settings that explain the decisions.
  int32_t EnableAudioClass = 0;
  int32_t CheckFinishInstall = 0;
  std::vector<ProfileRead> reads;
  std::vector<Step> steps;
};

struct CheckResult {
  std::string packageDir;
  std::string settingsPath;  // host path of Setting.ini (may not exist)
  bool settingsPresent = false;
  int settingsLines = 0;
  DryRunOptions options;
  std::vector<VariantRun> runs;
  std::vector<Finding> findings;
  int errors = 0;
  int warnings = 0;
  int notes = 0;
  int ExitStatus() const { return errors ? 2 : warnings ? 1 : 0; }
};

// Runs the launch sequence on one kind of Windows.
VariantRun RunVariant(const DryRunOptions& options, const SystemKind& system);

// Everything setup-check does for a package: the runs of the variants asked
// for (all four when variants is empty) and every finding.
CheckResult CheckPackage(const DryRunOptions& options, const std::vector<std::string>& variants);

// The programs, folders and update packages a run could not start or open,
// tied to their keys.
std::vector<PackageUse> UsesOfRun(const VariantRun& run);
