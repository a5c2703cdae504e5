#include "app/win32/process_hardening.h"

#include <windows.h>

#include "base/win32/system_library.h"

namespace {

// Not in every system's kernel32 (XP, an unpatched Vista or 7 lack some):
// looked up, never imported, so Setup.exe still starts there.
using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
using SetDllDirectoryAFn = BOOL(WINAPI*)(LPCSTR);
using SetSearchPathModeFn = BOOL(WINAPI*)(DWORD);
using SetProcessDEPPolicyFn = BOOL(WINAPI*)(DWORD);

constexpr DWORD kSearchSystem32 = 0x00000800;     // LOAD_LIBRARY_SEARCH_SYSTEM32
constexpr DWORD kSafeSearchMode = 0x00000001;     // BASE_SEARCH_PATH_ENABLE_SAFE_SEARCHMODE
constexpr DWORD kSearchModePermanent = 0x00008000;  // BASE_SEARCH_PATH_PERMANENT
constexpr DWORD kDepEnable = 0x00000001;          // PROCESS_DEP_ENABLE

// What the system loads late on the launcher's behalf (the message boxes'
// theme, DirectShow's device enumeration on the way to the capture driver).
// Where the search cannot be restricted, these are loaded now from the
// system folder by full path, so that the later loads by name find them
// already in the process.
const char* const kLateSystemDlls[] = {"uxtheme.dll", "devenum.dll", "quartz.dll", "msdmo.dll",
                                       "dsound.dll",  "winmm.dll",   "msacm32.dll", "avicap32.dll"};

void PreloadFromSystemFolder() {
  // Kept for the whole run on purpose; a DLL the system does not have is
  // simply not there.
  for (const char* name : kLateSystemDlls) LoadSystemDll(name);
}

template <typename Fn>
Fn Kernel32Function(const char* name) {
  return ExportedFunction<Fn>(GetModuleHandleA("kernel32.dll"), name);
}

}  // namespace

void HardenProcess() {
  auto setDefaultDllDirectories = Kernel32Function<SetDefaultDllDirectoriesFn>("SetDefaultDllDirectories");
  bool restricted = setDefaultDllDirectories && setDefaultDllDirectories(kSearchSystem32);
  if (!restricted) {
    // Without the default directories (XP SP1 and later have this one), at
    // least the current folder leaves the search.
    auto setDllDirectory = Kernel32Function<SetDllDirectoryAFn>("SetDllDirectoryA");
    if (!setDllDirectory || !setDllDirectory("")) PreloadFromSystemFolder();
  }
  // SearchPath (used by the system for programs and files) looks in the
  // current folder last, not first.
  auto setSearchPathMode = Kernel32Function<SetSearchPathModeFn>("SetSearchPathMode");
  if (setSearchPathMode) setSearchPathMode(kSafeSearchMode | kSearchModePermanent);
  auto setDepPolicy = Kernel32Function<SetProcessDEPPolicyFn>("SetProcessDEPPolicy");
  if (setDepPolicy) setDepPolicy(kDepEnable);
}
