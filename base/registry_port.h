#pragma once
// Read-only access to keys under HKEY_LOCAL_MACHINE. The launcher never
// writes the registry.
#include <cstdint>

enum class RegistryAccess { QueryValue, Read };  // KEY_QUERY_VALUE, KEY_READ

using RegistryKeyId = uintptr_t;  // 0: no key
constexpr RegistryKeyId kNoRegistryKey = 0;

class RegistryPort {
 public:
  // Opens HKEY_LOCAL_MACHINE\subkey; kNoRegistryKey when it cannot be opened.
  virtual RegistryKeyId OpenLocalMachineKey(const char* subkey, RegistryAccess access) = 0;
  // RegQueryValueExA: *size holds the capacity of data on entry and the
  // number of bytes stored on success. Any value type. True on success.
  // Text data is not guaranteed to be terminated within *size.
  virtual bool QueryValue(RegistryKeyId key, const char* name, void* data, uint32_t* size) = 0;
  virtual void CloseKey(RegistryKeyId key) = 0;

 protected:
  ~RegistryPort() = default;
};

// Closes its key on every way out of the scope that opened it.
class ScopedRegistryKey {
 public:
  ScopedRegistryKey(RegistryPort& registry, const char* subkey, RegistryAccess access)
      : registry_(registry), key_(registry.OpenLocalMachineKey(subkey, access)) {}
  ~ScopedRegistryKey() {
    if (key_ != kNoRegistryKey) registry_.CloseKey(key_);
  }
  ScopedRegistryKey(const ScopedRegistryKey&) = delete;
  ScopedRegistryKey& operator=(const ScopedRegistryKey&) = delete;

  bool IsOpen() const { return key_ != kNoRegistryKey; }
  bool QueryValue(const char* name, void* data, uint32_t* size) {
    return IsOpen() && registry_.QueryValue(key_, name, data, size);
  }

 private:
  RegistryPort& registry_;
  RegistryKeyId key_;
};
