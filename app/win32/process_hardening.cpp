#include "app/win32/process_hardening.h"

#include <windows.h>

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

template <typename Fn>
Fn Kernel32Function(const char* name) {
  HMODULE kernel32 = GetModuleHandleA("kernel32.dll");
  return kernel32 ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(kernel32, name))) : nullptr;
}

}  // namespace

void HardenProcess() {
  auto setDefaultDllDirectories = Kernel32Function<SetDefaultDllDirectoriesFn>("SetDefaultDllDirectories");
  bool restricted = setDefaultDllDirectories && setDefaultDllDirectories(kSearchSystem32);
  if (!restricted) {
    // Without the default directories (XP SP1 and later have this one), at
    // least the current folder leaves the search.
    auto setDllDirectory = Kernel32Function<SetDllDirectoryAFn>("SetDllDirectoryA");
    if (setDllDirectory) setDllDirectory("");
  }
  // SearchPath (used by the system for programs and files) looks in the
  // current folder last, not first.
  auto setSearchPathMode = Kernel32Function<SetSearchPathModeFn>("SetSearchPathMode");
  if (setSearchPathMode) setSearchPathMode(kSafeSearchMode | kSearchModePermanent);
  auto setDepPolicy = Kernel32Function<SetProcessDEPPolicyFn>("SetProcessDEPPolicy");
  if (setDepPolicy) setDepPolicy(kDepEnable);
}
