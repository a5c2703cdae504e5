#pragma once
#include "base/registry_port.h"

// Keys under HKEY_LOCAL_MACHINE through RegOpenKeyExA, RegQueryValueExA and
// RegCloseKey; the key id is the HKEY. Callers hold keys in
// ScopedRegistryKey, which closes them on every way out.
class Win32Registry final : public RegistryPort {
 public:
  RegistryKeyId OpenLocalMachineKey(const char* subkey, RegistryAccess access) override;
  bool QueryValue(RegistryKeyId key, const char* name, void* data, uint32_t* size) override;
  void CloseKey(RegistryKeyId key) override;
};
