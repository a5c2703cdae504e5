#pragma once
// Recording doubles of every port LauncherApp reaches the system through,
// all writing into one CallLog, and a fixture-style platform that wires
// them into LauncherPorts.
#include <map>
#include <string>
#include <vector>

#include "app/launcher_app.h"
#include "launch/runner_doubles.h"

// "ini <key>" for every key read. A key listed in `values` is present in the
// file with that value (possibly empty); any other key gives its default,
// as does everything while `fileMissing` is set. The reader cuts a value
// to 255 characters, as the platform's does.
class RecordingProfile : public ProfileReader {
 public:
  explicit RecordingProfile(CallLog& log) : log_(log) {}

  std::map<std::string, std::string> values;
  bool fileMissing = false;
  std::vector<std::string> sections;  // the section of every read
  std::vector<std::string> paths;     // the settings path of every read
  std::vector<std::string> defaults;  // the default text of every read

  void ReadString(const char* section, const char* key, const char* defaultText, SettingText& out,
                  const char* path) override {
    log_.Add(std::string("ini ") + key);
    sections.push_back(section);
    paths.push_back(path);
    defaults.push_back(defaultText);
    auto it = values.find(key);
    if (fileMissing || it == values.end())
      out.Assign(defaultText);
    else
      out.AssignBytes(it->second.data(), it->second.size());  // stops at a NUL byte, as the reader does
  }

 private:
  CallLog& log_;
};

class FakeModulePath : public ModulePathPort {
 public:
  std::string path = "C:\\pkg\\Setup.exe";
  bool whole = true;  // false: the path did not come whole
  int calls = 0;

  bool GetModulePath(PathText& out) override {
    ++calls;
    if (!whole) {
      out.Clear();
      return false;
    }
    out.Assign(path.c_str());
    return true;
  }
};

class FakeVersion : public VersionPort {
 public:
  OsVersion version{2, 5, 1};
  bool succeeds = true;

  bool GetVersion(OsVersion& out) override {
    if (!succeeds) return false;
    out = version;
    return true;
  }
};

// Keys and values under HKEY_LOCAL_MACHINE. Logs "regopen <key>",
// "regquery <name>" and "regclose <key>". A value's data is stored as bytes;
// a query fails when the value is missing or its data exceeds the buffer,
// as RegQueryValueExA does, and then leaves the buffer alone.
class FakeRegistry : public RegistryPort {
 public:
  explicit FakeRegistry(CallLog& log) : log_(log) {}

  std::map<std::string, std::map<std::string, std::string>> keys;
  int openKeys = 0;

  void SetText(const std::string& key, const std::string& name, const std::string& text) {
    keys[key][name] = text + std::string(1, '\0');
  }
  void SetBytes(const std::string& key, const std::string& name, const std::string& bytes) {
    keys[key][name] = bytes;
  }
  void SetDword(const std::string& key, const std::string& name, uint32_t value) {
    std::string bytes;
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xff));
    keys[key][name] = bytes;
  }

  RegistryKeyId OpenLocalMachineKey(const char* subkey, RegistryAccess access) override {
    log_.Add(std::string("regopen ") + subkey + (access == RegistryAccess::QueryValue ? "" : " read"));
    auto it = keys.find(subkey);
    if (it == keys.end()) return kNoRegistryKey;
    handles_.push_back(it->first);
    ++openKeys;
    return handles_.size();
  }

  bool QueryValue(RegistryKeyId key, const char* name, void* data, uint32_t* size) override {
    log_.Add(std::string("regquery ") + name);
    const auto& values = keys[handles_.at(key - 1)];
    auto it = values.find(name);
    if (it == values.end() || it->second.size() > *size) return false;
    for (size_t i = 0; i < it->second.size(); ++i) static_cast<char*>(data)[i] = it->second[i];
    *size = static_cast<uint32_t>(it->second.size());
    return true;
  }

  void CloseKey(RegistryKeyId key) override {
    log_.Add("regclose " + handles_.at(key - 1));
    --openKeys;
  }

 private:
  CallLog& log_;
  std::vector<std::string> handles_;
};

// "collect <count> <prefix>,<prefix>,..." with the prefixes of the entries
// below the count.
class RecordingHardwareIds : public HardwareIdCollection {
 public:
  explicit RecordingHardwareIds(CallLog& log) : log_(log) {}

  void CollectMatchedIds(const DeviceIdTable& table, int32_t DeviceIDNum) override {
    std::string call = "collect " + std::to_string(DeviceIDNum);
    for (int32_t i = 0; i < DeviceIDNum && i < kDeviceIdTableSize; ++i)
      call += std::string(i == 0 ? " " : ",") + table.entries[i].DevDrvID.c_str();
    log_.Add(call);
  }

 private:
  CallLog& log_;
};

// "switch <IsVista>"; returns `result`.
class RecordingAudioSwitch : public AudioClassSwitch {
 public:
  explicit RecordingAudioSwitch(CallLog& log) : log_(log) {}

  int32_t result = 0;

  int32_t SwitchAudioClass(const LaunchSettings&, int32_t IsVista) override {
    log_.Add("switch " + std::to_string(IsVista));
    return result;
  }

 private:
  CallLog& log_;
};

// "dialog <MsuOpened> <EnableTimer> <WaitTimer>".
class RecordingClosingDialog : public ClosingDialog {
 public:
  explicit RecordingClosingDialog(CallLog& log) : log_(log) {}

  void RunCompletionDialog(int32_t MsuOpened, int32_t EnableTimer, int32_t WaitTimer) override {
    log_.Add("dialog " + std::to_string(MsuOpened) + " " + std::to_string(EnableTimer) + " " +
             std::to_string(WaitTimer));
  }

 private:
  CallLog& log_;
};

// A whole recording platform. Defaults: C:\pkg\Setup.exe, XP 5.1, 32-bit
// (no registry keys at all), no Setting.ini values, no files.
struct RecordingPlatform {
  CallLog log;
  RecordingProfile profile{log};
  FakeModulePath modulePath;
  FakeVersion version;
  FakeRegistry registry{log};
  RecordingProcesses processes{log};
  RecordingShell shell{log};
  RecordingBoxes boxes{log};
  RecordingHardwareIds hardwareIds{log};
  RecordingAudioSwitch audioSwitch{log};
  RecordingClosingDialog closingDialog{log};
  LauncherPorts ports{profile, modulePath, version, registry, processes, shell,
                      boxes, hardwareIds, audioSwitch, closingDialog};

  static constexpr const char* kCurrentVersion = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
  static constexpr const char* kCurrentVersion32 = "SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion";

  void SetVista() { version.version = OsVersion{2, 6, 1}; }
  void Set64Bit() { registry.SetText(kCurrentVersion, "ProgramFilesDir (x86)", "C:\\Program Files (x86)"); }

  // The calls that reach the user or another program: starts, shell opens,
  // boxes, the seams. Leaves out reads and file probes.
  std::vector<std::string> Visible() const {
    std::vector<std::string> found;
    for (const std::string& c : log.calls) {
      static const char* const kShown[] = {"start ", "shell ", "box ", "collect ", "switch ", "dialog "};
      for (const char* prefix : kShown)
        if (c.rfind(prefix, 0) == 0) found.push_back(c);
    }
    return found;
  }
};
