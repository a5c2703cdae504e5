#include "app/win32/registry_win32.h"

#include <windows.h>

RegistryKeyId Win32Registry::OpenLocalMachineKey(const char* subkey, RegistryAccess access) {
  HKEY key = NULL;
  REGSAM sam = access == RegistryAccess::Read ? KEY_READ : KEY_QUERY_VALUE;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, subkey, 0, sam, &key) != ERROR_SUCCESS || key == NULL)
    return kNoRegistryKey;
  return reinterpret_cast<RegistryKeyId>(key);
}

bool Win32Registry::QueryValue(RegistryKeyId key, const char* name, void* data, uint32_t* size) {
  DWORD type = 0;
  DWORD bytes = *size;
  LONG rc = RegQueryValueExA(reinterpret_cast<HKEY>(key), name, NULL, &type, static_cast<BYTE*>(data), &bytes);
  if (rc != ERROR_SUCCESS) return false;
  *size = bytes;
  return true;
}

void Win32Registry::CloseKey(RegistryKeyId key) { RegCloseKey(reinterpret_cast<HKEY>(key)); }
