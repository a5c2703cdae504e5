#pragma once
// The platform of a dry run: every port of the launcher, answering as one
// of the four kinds of Windows would with the package folder as its disk,
// and recording what the launch sequence asked of it, in order.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/launch_steps.h"
#include "app/profile_reader.h"
#include "app/system_ports.h"
#include "base/message_box_port.h"
#include "base/registry_port.h"
#include "launch/process_ports.h"
#include "tools/setup-check/package_fs.h"
#include "tools/setup-check/profile_file.h"
#include "tools/setup-check/simulated_device.h"

class AudioClassSwitcher;
class AudioSwitchStep;
class DeviceMatchingStep;
class DeviceNodeMaintenance;
class MatchedNodeRemoval;

enum class FinishInstallMark { Yes, No, Absent };

struct DryRunOptions {
  std::string packageDir;      // host path of the package folder
  std::string moduleFolder;    // the same folder as the launcher sees it (Z:\...)
  std::string exeName = "Setup.exe";
  bool silentWord = false;     // the command-line word s
  std::vector<std::string> devices;  // hardware IDs of present devices
  FinishInstallMark finishInstall = FinishInstallMark::Yes;
  CaptureDeviceMemory captureDevice;  // the capture device plugged in, if any
};

// A system of one of the four kinds.
struct SystemKind {
  const char* name;  // vista-x64 ...
  bool vista;
  bool x64;
};
const SystemKind* SystemKinds();  // four, in the order of Variants()

struct ProfileRead {
  std::string key;
  std::string defaultText;
  std::string value;
  bool fromFile = false;  // the value came from the file, not the default
  int line = 0;           // the line that decided it (0: none)
};

struct Step {
  enum Kind { Start, Open, Box, AudioSwitch, CollectIds, FinishInstall, ClosingDialog };
  Kind kind = Start;
  // Start: the program file and the command line; Open: the target.
  std::string program;
  std::string commandLine;
  bool started = false;   // Start: the program could be started
  std::string why;        // Start/Open: why it could not
  int32_t shellResult = 0;  // Open
  // Box
  std::string caption;
  std::string text;
  bool warningIcon = false;
  // AudioSwitch: the answer, and what it did to the device
  int32_t result = 0;
  bool captureDevice = false;
  std::vector<RegisterWrite> writes;
  std::vector<std::string> removedNodes;
  int unreleasedReferences = 0;  // COM references the switch left behind (none, when sound)
  // CollectIds: the count and the prefixes that matched
  int32_t count = 0;
  std::vector<std::string> matched;
  // FinishInstall: where it was read and what it held
  std::string registryKey;
  bool valueRead = false;
  uint32_t value = 0;
  // ClosingDialog: what it was given, and what it did at initialisation
  int32_t MsuOpened = 0;
  int32_t EnableTimer = 0;
  int32_t WaitTimer = 0;
  bool armed = false;  // it started its timer: it confirms the update installer's dialogs
};

class RecordingPlatform final : public ProfileReader,
                                public ModulePathPort,
                                public VersionPort,
                                public RegistryPort,
                                public ProcessPort,
                                public ShellPort,
                                public MessageBoxPort,
                                public HardwareIdCollection,
                                public AudioClassSwitch,
                                public ClosingDialog {
 public:
  RecordingPlatform(const DryRunOptions& options, const SystemKind& system);
  ~RecordingPlatform();

  const std::vector<ProfileRead>& reads() const { return reads_; }
  const std::vector<Step>& steps() const { return steps_; }

  // Where a path of the launcher's lies in the package (host path), if at all.
  FsEntry Resolve(const std::string& windowsPath, std::string* hostPath) const;

  void ReadString(const char* section, const char* key, const char* defaultText, SettingText& out,
                  const char* path) override;
  bool GetModulePath(PathText& out) override;
  bool GetVersion(OsVersion& out) override;
  RegistryKeyId OpenLocalMachineKey(const char* subkey, RegistryAccess access) override;
  bool QueryValue(RegistryKeyId key, const char* name, void* data, uint32_t* size) override;
  void CloseKey(RegistryKeyId key) override;
  bool StartAndWait(const char* applicationName, const char* commandLine) override;
  bool FileExists(const char* path) override;
  int32_t OpenWithShellVerb(const char* target) override;
  void ShowMessage(const char* text, const char* caption, BoxIcon icon) override;
  void CollectMatchedIds(const DeviceIdTable& table, int32_t DeviceIDNum) override;
  int32_t SwitchAudioClass(const LaunchSettings& settings, int32_t IsVista) override;
  void RunCompletionDialog(int32_t MsuOpened, int32_t EnableTimer, int32_t WaitTimer) override;

 private:
  const DryRunOptions& options_;
  SystemKind system_;
  // The launcher's own device code over the simulated devices, put
  // together as Setup.exe's entry point does.
  SimulatedDevices devices_;
  std::unique_ptr<DeviceNodeMaintenance> maintenance_;
  std::unique_ptr<DeviceMatchingStep> matching_;
  std::unique_ptr<MatchedNodeRemoval> nodeRemoval_;
  std::unique_ptr<AudioClassSwitcher> switcher_;
  std::unique_ptr<AudioSwitchStep> audioStep_;
  std::map<std::string, ProfileFile> files_;
  std::map<RegistryKeyId, std::string> openKeys_;
  RegistryKeyId nextKey_ = 1;
  std::vector<ProfileRead> reads_;
  std::vector<Step> steps_;
};
