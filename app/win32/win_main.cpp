// Setup.exe's entry point: the platform's adapters and the one application
// object, all with static storage, then the launch sequence.
#include <windows.h>

#include "app/launcher_app.h"
#include "app/win32/message_box_win32.h"
#include "app/win32/module_path_win32.h"
#include "app/win32/pending_steps.h"
#include "app/win32/profile_reader_win32.h"
#include "app/win32/registry_win32.h"
#include "app/win32/version_win32.h"
#include "launch/win32/process_win32.h"
#include "launch/win32/shell_win32.h"

namespace {

Win32ProfileReader g_profile;
Win32ModulePath g_modulePath;
Win32Version g_version;
Win32Registry g_registry;
Win32Processes g_processes;
Win32Shell g_shell;
Win32MessageBoxes g_boxes;
PendingHardwareIdCollection g_hardwareIds;
PendingAudioClassSwitch g_audioSwitch;
PendingClosingDialog g_closingDialog;

LauncherPorts g_ports{g_profile, g_modulePath, g_version,     g_registry,    g_processes,
                      g_shell,   g_boxes,      g_hardwareIds, g_audioSwitch, g_closingDialog};

LauncherApp g_launcher;

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  g_launcher.Attach(&g_ports);
  g_launcher.SetCommandLine(GetCommandLineA());
  return RunApplication();
}
