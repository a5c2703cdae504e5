// Setup.exe's entry point. The process is hardened before anything else
// runs; then the platform's adapters are made, handed to the one
// application object, and the launch sequence runs.
#include <windows.h>

#include "app/launch_step_glue.h"
#include "app/launcher_app.h"
#include "app/win32/message_box_win32.h"
#include "app/win32/module_path_win32.h"
#include "app/win32/process_hardening.h"
#include "app/win32/profile_reader_win32.h"
#include "app/win32/registry_win32.h"
#include "app/win32/version_win32.h"
#include "devices/device_node_maintenance.h"
#include "devices/win32/setupapi_device_nodes.h"
#include "devmem/audio_class_switch.h"
#include "devmem/win32/capture_devices.h"
#include "devmem/win32/com_apartment.h"
#include "devmem/win32/driver_properties.h"
#include "base/win32/pause_win32.h"
#include "launch/win32/process_win32.h"
#include "launch/win32/shell_win32.h"
#include "ui/win32/completion_dialog.h"

// The application object, with static storage like every application
// object: it exists before the entry point runs.
LauncherApp g_launcher;

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  HardenProcess();

  // The adapters live for the whole run; they are made here, after the
  // hardening, so that no DLL they load is looked for in an unsafe place.
  Win32ProfileReader profile;
  Win32ModulePath modulePath;
  Win32Version version;
  Win32Registry registry;
  Win32Processes processes;
  Win32Shell shell;
  Win32MessageBoxes boxes;
  SetupApiDeviceNodes deviceNodes;
  DeviceNodeMaintenance deviceMaintenance(deviceNodes);
  DeviceMatchingStep hardwareIds(deviceMaintenance);
  MatchedNodeRemoval nodeRemoval(deviceMaintenance);
  Win32ComApartment com;
  Win32CaptureDevices captureDevices;
  Win32DriverProperties driver;
  Win32Pause pause;
  AudioClassSwitcher switcher(DeviceMemoryPorts{com, registry, captureDevices, driver}, boxes, pause, nodeRemoval);
  AudioSwitchStep audioSwitch(switcher);
  Win32ClosingDialog closingDialog;

  LauncherPorts ports{profile, modulePath, version, registry,    processes,
                      shell,   boxes,      hardwareIds, audioSwitch, closingDialog};
  g_launcher.Attach(&ports);
  g_launcher.SetCommandLine(GetCommandLineA());
  RunApplication();
  return g_launcher.ExitStatus();
}
