#include "tools/setup-check/recording_platform.h"

#include <cstdio>
#include <cstring>

#include "app/launch_step_glue.h"
#include "devices/device_node_maintenance.h"
#include "devmem/audio_class_switch.h"
#include "ui/completion_logic.h"

namespace {

const SystemKind kSystems[4] = {
    {"vista-x64", true, true},
    {"vista-x86", true, false},
    {"xp-x64", false, true},
    {"xp-x86", false, false},
};

const char kCurrentVersion[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
const char kWowCurrentVersion[] = "SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion";

bool StartsWithNoCase(const std::string& s, const std::string& prefix) {
  return s.size() >= prefix.size() && ProfileFile::NamesEqual(s.substr(0, prefix.size()), prefix);
}

std::string Extension(const std::string& path) {
  size_t dot = path.rfind('.');
  size_t sep = path.find_last_of("\\/");
  if (dot == std::string::npos || (sep != std::string::npos && dot < sep)) return "";
  return path.substr(dot);
}

// What CreateProcess would make of a file: a PE image whatever its name, or
// a batch file through the command interpreter.
bool IsStartable(const std::string& hostPath) {
  std::string ext = Extension(hostPath);
  if (ProfileFile::NamesEqual(ext, ".bat") || ProfileFile::NamesEqual(ext, ".cmd")) return true;
  FILE* f = std::fopen(hostPath.c_str(), "rb");
  if (!f) return false;
  char mz[2] = {0, 0};
  size_t n = std::fread(mz, 1, 2, f);
  std::fclose(f);
  return n == 2 && mz[0] == 'M' && mz[1] == 'Z';
}

// The first token of a command line as the platform takes it when no
// program name is given: a quoted token, or the text up to the first blank.
std::string FirstToken(const std::string& commandLine) {
  if (!commandLine.empty() && commandLine[0] == '"') {
    size_t close = commandLine.find('"', 1);
    return commandLine.substr(1, close == std::string::npos ? std::string::npos : close - 1);
  }
  return commandLine.substr(0, commandLine.find_first_of(" \t"));
}

// The closing dialog's window as its initialisation sees it: whether it is
// armed (its timer started) or ends at once.
class DialogWindow final : public CompletionWindowPort {
 public:
  void EndWithOk() override { ended = true; }
  void StartTimer(uint32_t timerId, int32_t intervalMs) override {
    armed = timerId == kScanTimerId;
    interval = intervalMs;
  }
  void Hide() override {}

  bool ended = false;
  bool armed = false;
  int32_t interval = 0;
};

}  // namespace

const SystemKind* SystemKinds() { return kSystems; }

RecordingPlatform::RecordingPlatform(const DryRunOptions& options, const SystemKind& system)
    : options_(options), system_(system), devices_(options.devices, options.captureDevice) {
  maintenance_.reset(new DeviceNodeMaintenance(devices_));
  matching_.reset(new DeviceMatchingStep(*maintenance_));
  nodeRemoval_.reset(new MatchedNodeRemoval(*maintenance_));
  switcher_.reset(new AudioClassSwitcher(DeviceMemoryPorts{devices_, *this, devices_, devices_}, *this, devices_,
                                         *nodeRemoval_));
  audioStep_.reset(new AudioSwitchStep(*switcher_));
}

RecordingPlatform::~RecordingPlatform() = default;

FsEntry RecordingPlatform::Resolve(const std::string& windowsPath, std::string* hostPath) const {
  const std::string& folder = options_.moduleFolder;
  if (StartsWithNoCase(windowsPath, folder) &&
      (windowsPath.size() == folder.size() || windowsPath[folder.size()] == '\\' ||
       windowsPath[folder.size()] == '/'))
    return ResolveInPackage(options_.packageDir, windowsPath.substr(folder.size()), hostPath);
  // Wine's drive Z: is the host's root.
  if (StartsWithNoCase(windowsPath, "Z:\\")) return ResolveInPackage("", windowsPath.substr(2), hostPath);
  return FsEntry::Missing;
}

void RecordingPlatform::ReadString(const char* section, const char* key, const char* defaultText,
                                   SettingText& out, const char* path) {
  std::string hostPath;
  std::string cacheKey = path ? path : "";
  if (files_.find(cacheKey) == files_.end()) {
    ProfileFile f;
    if (Resolve(cacheKey, &hostPath) == FsEntry::File) f.Load(hostPath);
    files_[cacheKey] = f;
  }
  const ProfileFile& file = files_[cacheKey];
  ProfileRead r;
  r.key = key ? key : "";
  r.defaultText = defaultText ? defaultText : "";
  r.value = file.GetString(section, key, defaultText, SettingText::Capacity() + 1, &r.fromFile);
  if (const ProfileKey* k = file.FindKey(section, key)) r.line = k->line;
  out.Assign(r.value.c_str());
  reads_.push_back(r);
}

bool RecordingPlatform::GetModulePath(PathText& out) {
  out.Clear();
  std::string path = options_.moduleFolder + "\\" + options_.exeName;
  out.Assign(path.c_str());
  return out.size() == path.size();
}

bool RecordingPlatform::GetVersion(OsVersion& out) {
  out.platformId = 2;  // NT
  out.major = system_.vista ? 6 : 5;
  out.minor = 1;       // Windows 7 / Windows XP
  return true;
}

RegistryKeyId RecordingPlatform::OpenLocalMachineKey(const char* subkey, RegistryAccess) {
  std::string name = subkey ? subkey : "";
  bool exists = ProfileFile::NamesEqual(name, kCurrentVersion) ||
                (system_.x64 && ProfileFile::NamesEqual(name, kWowCurrentVersion));
  if (!exists) return kNoRegistryKey;
  RegistryKeyId id = nextKey_++;
  openKeys_[id] = name;
  return id;
}

bool RecordingPlatform::QueryValue(RegistryKeyId key, const char* name, void* data, uint32_t* size) {
  auto open = openKeys_.find(key);
  if (open == openKeys_.end() || !name || !size) return false;
  std::string bytes;
  bool found = false;
  std::string valueName = name;
  if (ProfileFile::NamesEqual(valueName, "ProgramFilesDir (x86)") && system_.x64) {
    bytes = std::string("C:\\Program Files (x86)") + '\0';
    found = true;
  }
  bool finish = ProfileFile::NamesEqual(valueName, "FinishInstall");
  if (finish && options_.finishInstall != FinishInstallMark::Absent) {
    uint32_t v = options_.finishInstall == FinishInstallMark::Yes ? 1 : 0;
    bytes.assign(reinterpret_cast<const char*>(&v), 4);  // REG_DWORD, little-endian on the host too
    found = true;
  }
  bool ok = found && bytes.size() <= *size;
  if (found && !ok) *size = static_cast<uint32_t>(bytes.size());
  if (ok) {
    std::memcpy(data, bytes.data(), bytes.size());
    *size = static_cast<uint32_t>(bytes.size());
  }
  if (finish) {
    Step s;
    s.kind = Step::FinishInstall;
    s.registryKey = "HKEY_LOCAL_MACHINE\\" + open->second;
    s.valueRead = ok;
    if (ok) std::memcpy(&s.value, bytes.data(), 4);
    steps_.push_back(s);
  }
  return ok;
}

void RecordingPlatform::CloseKey(RegistryKeyId key) { openKeys_.erase(key); }

bool RecordingPlatform::StartAndWait(const char* applicationName, const char* commandLine) {
  Step s;
  s.kind = Step::Start;
  s.commandLine = commandLine ? commandLine : "";
  s.program = applicationName ? applicationName : FirstToken(s.commandLine);
  std::string hostPath;
  switch (Resolve(s.program, &hostPath)) {
    case FsEntry::Missing:
      s.why = "not in the package";
      break;
    case FsEntry::Folder:
      s.why = "a folder, not a program";
      break;
    case FsEntry::File:
      s.started = IsStartable(hostPath);
      if (!s.started) s.why = "not a program";
      break;
  }
  steps_.push_back(s);
  return s.started;
}

bool RecordingPlatform::FileExists(const char* path) {
  std::string hostPath;
  return path && Resolve(path, &hostPath) == FsEntry::File;
}

int32_t RecordingPlatform::OpenWithShellVerb(const char* target) {
  Step s;
  s.kind = Step::Open;
  s.program = target ? target : "";
  std::string hostPath;
  if (Resolve(s.program, &hostPath) != FsEntry::File) {
    s.shellResult = 2;  // SE_ERR_FNF
    s.why = "not in the package";
  } else if (!system_.vista) {
    s.shellResult = 31;  // SE_ERR_NOASSOC: XP-class Windows has no update installer for ".msu"
    s.why = "XP-class Windows has no program for \".msu\"";
  } else {
    s.shellResult = 42;  // the update installer takes it
  }
  s.started = s.shellResult > 32;
  steps_.push_back(s);
  return s.shellResult;
}

void RecordingPlatform::ShowMessage(const char* text, const char* caption, BoxIcon icon) {
  Step s;
  s.kind = Step::Box;
  s.text = text ? text : "";
  s.caption = caption ? caption : "";
  s.warningIcon = icon == BoxIcon::Warning;
  steps_.push_back(s);
}

void RecordingPlatform::CollectMatchedIds(const DeviceIdTable& table, int32_t DeviceIDNum) {
  // The launcher's own device-node maintenance decides what matches.
  matching_->CollectMatchedIds(table, DeviceIDNum);
  Step s;
  s.kind = Step::CollectIds;
  s.count = DeviceIDNum;
  for (int32_t i = 0; i < maintenance_->MatchedIdCount(); ++i) s.matched.push_back(maintenance_->MatchedId(i));
  steps_.push_back(s);
}

int32_t RecordingPlatform::SwitchAudioClass(const LaunchSettings& settings, int32_t IsVista) {
  // The step stands before the boxes the switch itself shows.
  size_t at = steps_.size();
  Step s;
  s.kind = Step::AudioSwitch;
  s.captureDevice = options_.captureDevice.present;
  steps_.push_back(s);
  size_t writesBefore = devices_.writes().size();
  size_t removedBefore = devices_.removed().size();
  int32_t result = audioStep_->SwitchAudioClass(settings, IsVista);
  Step& done = steps_[at];
  done.result = result;
  done.writes.assign(devices_.writes().begin() + static_cast<std::ptrdiff_t>(writesBefore), devices_.writes().end());
  done.removedNodes.assign(devices_.removed().begin() + static_cast<std::ptrdiff_t>(removedBefore),
                           devices_.removed().end());
  done.unreleasedReferences = devices_.outstandingReferences();
  return result;
}

void RecordingPlatform::RunCompletionDialog(int32_t MsuOpened, int32_t EnableTimer, int32_t WaitTimer) {
  Step s;
  s.kind = Step::ClosingDialog;
  s.MsuOpened = MsuOpened;
  s.EnableTimer = EnableTimer;
  s.WaitTimer = WaitTimer;
  // The dialog's own initialisation decides; nothing runs its loop here.
  DialogWindow window;
  InitCompletionDialog(window, MsuOpened, EnableTimer, WaitTimer);
  s.armed = window.armed && !window.ended;
  steps_.push_back(s);
}
