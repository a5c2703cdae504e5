#include "tools/setup-check/dry_run.h"

#include "app/launcher_app.h"
#include "tools/setup-check/key_catalogue.h"

namespace {

const ProfileRead* FindRead(const VariantRun& run, const std::string& key) {
  for (const ProfileRead& r : run.reads)
    if (r.key == key) return &r;
  return nullptr;
}

bool StartsWithNoCase(const std::string& s, const std::string& prefix) {
  return s.size() >= prefix.size() && ProfileFile::NamesEqual(s.substr(0, prefix.size()), prefix);
}

const VariantKeys& KeysOf(const std::string& variant) {
  for (int i = 0; i < kVariantCount; ++i)
    if (variant == Variants()[i].name) return Variants()[i];
  return Variants()[kVariantCount - 1];
}

}  // namespace

VariantRun RunVariant(const DryRunOptions& options, const SystemKind& system) {
  VariantRun run;
  run.variant = system.name;
  run.vista = system.vista;
  run.x64 = system.x64;
  run.commandLine = "\"" + options.moduleFolder + "\\" + options.exeName + "\"" + (options.silentWord ? " s" : "");

  RecordingPlatform platform(options, system);
  LauncherPorts ports{platform, platform, platform, platform, platform,
                      platform, platform, platform, platform, platform};
  // LaunchSettings is large; the object lives on the heap, not the stack.
  std::unique_ptr<LauncherApp> app(new LauncherApp());
  app->Attach(&ports);
  app->SetCommandLine(run.commandLine.c_str());
  app->InitInstance();

  run.Silent = app->Silent();
  run.IsVista = app->IsVista();
  run.Is64 = app->Is64();
  run.FinishInstallOk = app->FinishInstallOk();
  run.MsuOpened = app->MsuOpened();
  run.moduleFolder = app->ModuleFolder().c_str();
  run.setupExitStatus = app->ExitStatus();
  run.EnableAudioClass = app->Settings().EnableAudioClass;
  run.CheckFinishInstall = app->Settings().CheckFinishInstall;
  run.reads = platform.reads();
  run.steps = platform.steps();
  return run;
}

std::vector<PackageUse> UsesOfRun(const VariantRun& run) {
  std::vector<PackageUse> uses;
  const VariantKeys& keys = KeysOf(run.variant);
  const std::string base = run.moduleFolder + "\\";
  const ProfileRead* folder = FindRead(run, keys.setupFolder);
  const ProfileRead* program = FindRead(run, keys.setupProgram);
  bool setupSeen = false;
  for (const Step& s : run.steps) {
    if (s.kind != Step::Start && s.kind != Step::Open) continue;
    // What the run could start or open is there; the platform's own rules
    // (the cut at a blank, letter case) have already found it.
    const bool found = s.kind == Step::Start ? s.started : s.shellResult != 2;
    const std::string& text = s.kind == Step::Start ? s.commandLine : s.program;
    // The driver setup: ModuleFolder\folder\program.
    if (!setupSeen && s.kind == Step::Start && folder && program &&
        StartsWithNoCase(text, base + folder->value + "\\" + program->value)) {
      setupSeen = true;
      if (found) continue;
      uses.push_back({run.variant, UseKind::SetupFolder, keys.setupFolder, folder->line, folder->value});
      uses.push_back({run.variant, UseKind::SetupProgram, keys.setupProgram, program->line,
                      folder->value + "\\" + program->value});
      continue;
    }
    // A further program or update package: ModuleFolder\text[ parameters].
    for (int i = 0; i < kFurtherProgramEntries; ++i) {
      std::string key = std::string(keys.furtherBase) + std::to_string(i);
      const ProfileRead* r = FindRead(run, key);
      if (!r || r->value.empty()) continue;
      std::string whole = base + r->value;
      bool same = s.kind == Step::Open ? ProfileFile::NamesEqual(text, whole) : StartsWithNoCase(text, whole + " ");
      if (!same) continue;
      if (!found) uses.push_back({run.variant, s.kind == Step::Open ? UseKind::UpdatePackage : UseKind::FurtherProgram, key,
                      r->line, r->value});
      break;
    }
  }
  return uses;
}

CheckResult CheckPackage(const DryRunOptions& options, const std::vector<std::string>& variants) {
  CheckResult result;
  result.packageDir = options.packageDir;
  result.options = options;
  std::string settingsHost;
  ProfileFile file;
  if (ResolveInPackage(options.packageDir, "Setting.ini", &settingsHost) == FsEntry::File) {
    file.Load(settingsHost);
  } else {
    settingsHost = options.packageDir + "/Setting.ini";
  }
  result.settingsPath = settingsHost;
  result.settingsPresent = file.present();
  result.settingsLines = file.lineCount();
  result.findings = LintSettingsFile(file);

  std::vector<PackageUse> uses;
  for (int i = 0; i < 4; ++i) {
    const SystemKind& system = SystemKinds()[i];
    bool wanted = variants.empty();
    for (const std::string& v : variants) wanted = wanted || v == system.name;
    if (!wanted) continue;
    result.runs.push_back(RunVariant(options, system));
    for (const PackageUse& u : UsesOfRun(result.runs.back())) uses.push_back(u);
  }
  for (const Finding& f : LintPackageUses(options.packageDir, uses)) result.findings.push_back(f);
  SortFindings(result.findings);
  for (const Finding& f : result.findings) {
    if (f.severity == Severity::Error) ++result.errors;
    if (f.severity == Severity::Warning) ++result.warnings;
    if (f.severity == Severity::Note) ++result.notes;
  }
  return result;
}
