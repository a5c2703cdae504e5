#include "app/win32/profile_reader_win32.h"

#include <windows.h>

void Win32ProfileReader::ReadString(const char* section, const char* key, const char* defaultText,
                                    SettingText& out, const char* path) {
  // The reader cuts the value to the buffer and terminates it.
  GetPrivateProfileStringA(section, key, defaultText, out.WritableBuffer(),
                           static_cast<DWORD>(SettingText::Capacity() + 1), path);
  out.SyncAfterWrite();
}
