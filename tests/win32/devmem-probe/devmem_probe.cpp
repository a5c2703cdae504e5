// Runs the audio-class switch once through the real device-memory adapters,
// for the Wine tests, until Setup.exe itself carries the switch.
//
//   devmem-probe.exe IsVista EnableXPAudioClass EnableAudioVol DelAudioRegKey DelAudioRegKeyMessage
//
// Writes "switch.out" beside itself: one "pause <ms>" and one
// "RemoveMatchedDeviceNodes" line per pause and removal asked for, in order,
// then "result=<n>" and the saved registers. The exit status is the result.
// Message boxes are real (MessageBoxA), so the harness's answerer sees and
// records them.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "devmem/audio_class_switch.h"
#include "devmem/win32/capture_devices.h"
#include "devmem/win32/com_apartment.h"
#include "devmem/win32/driver_properties.h"

namespace {

FILE* g_out = stdout;

void OpenOutput() {
  char path[MAX_PATH + 16] = {0};
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return;
  char* slash = std::strrchr(path, '\\');
  if (!slash) return;
  std::strcpy(slash + 1, "switch.out");
  FILE* f = std::fopen(path, "wb");
  if (f) g_out = f;
}

class ProbeBoxes : public MessageBoxPort {
 public:
  void ShowMessage(const char* text, const char* caption, BoxIcon icon) override {
    MessageBoxA(nullptr, text, caption, MB_OK | (icon == BoxIcon::Warning ? MB_ICONWARNING : 0));
  }
};

class ProbePause : public PausePort {
 public:
  void Pause(uint32_t ms) override {
    std::fprintf(g_out, "pause %u\n", static_cast<unsigned>(ms));
    std::fflush(g_out);
    Sleep(ms);
  }
};

class ProbeRegistry : public RegistryPort {
 public:
  RegistryKeyId OpenLocalMachineKey(const char* subkey, RegistryAccess access) override {
    HKEY key = nullptr;
    REGSAM sam = access == RegistryAccess::Read ? KEY_READ : KEY_QUERY_VALUE;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, subkey, 0, sam, &key) != ERROR_SUCCESS) return 0;
    return reinterpret_cast<RegistryKeyId>(key);
  }
  bool QueryValue(RegistryKeyId key, const char* name, void* data, uint32_t* size) override {
    DWORD n = *size;
    LONG rc = RegQueryValueExA(reinterpret_cast<HKEY>(key), name, nullptr, nullptr,
                               static_cast<BYTE*>(data), &n);
    if (rc != ERROR_SUCCESS) return false;
    *size = n;
    return true;
  }
  void CloseKey(RegistryKeyId key) override { RegCloseKey(reinterpret_cast<HKEY>(key)); }
};

class ProbeNodeRemoval : public NodeRemovalPort {
 public:
  void RemoveMatchedDeviceNodes() override {
    std::fprintf(g_out, "RemoveMatchedDeviceNodes\n");
    std::fflush(g_out);
  }
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 6) {
    std::fprintf(stderr,
                 "usage: devmem-probe IsVista EnableXPAudioClass EnableAudioVol DelAudioRegKey "
                 "DelAudioRegKeyMessage\n");
    return 2;
  }
  OpenOutput();
  AudioClassInputs in{std::atoi(argv[1]), std::atoi(argv[2]), std::atoi(argv[3]),
                      std::atoi(argv[4]), std::atoi(argv[5])};

  Win32ComApartment com;
  ProbeRegistry registry;
  Win32CaptureDevices devices;
  Win32DriverProperties driver;
  ProbeBoxes boxes;
  ProbePause pause;
  ProbeNodeRemoval nodes;
  AudioClassSwitcher switcher(DeviceMemoryPorts{com, registry, devices, driver}, boxes, pause,
                              nodes);
  int32_t result = switcher.SwitchAudioClass(in);
  std::fprintf(g_out, "result=%d\nsaved8=0x%02X\nsaved37=0x%02X\nsaved38=0x%02X\n", static_cast<int>(result),
              static_cast<unsigned>(switcher.SavedRegister8()),
              static_cast<unsigned>(switcher.SavedRegister37()),
              static_cast<unsigned>(switcher.SavedRegister38()));
  std::fflush(g_out);
  return result;
}
