#include "app/win32/version_win32.h"

#include <windows.h>

bool Win32Version::GetVersion(OsVersion& out) {
  OSVERSIONINFOA info;
  ZeroMemory(&info, sizeof(info));
  info.dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);  // 148
  static_assert(sizeof(OSVERSIONINFOA) == 148, "the record the system expects");
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#endif
  if (!GetVersionExA(&info)) return false;
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
  out.platformId = info.dwPlatformId;
  out.major = info.dwMajorVersion;
  out.minor = info.dwMinorVersion;
  return true;
}
