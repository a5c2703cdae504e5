#pragma once
#include <cstdint>

#include "base/fixed_text.h"

// The full path of the process's own executable (GetModuleFileNameA).
class ModulePathPort {
 public:
  // False when the path cannot be had whole in a PathText.
  virtual bool GetModulePath(PathText& out) = 0;

 protected:
  ~ModulePathPort() = default;
};

struct OsVersion {
  uint32_t platformId = 0;  // VER_PLATFORM_WIN32_NT is 2
  uint32_t major = 0;
  uint32_t minor = 0;
};

// GetVersionExA with an OSVERSIONINFOA of size 148.
class VersionPort {
 public:
  virtual bool GetVersion(OsVersion& out) = 0;

 protected:
  ~VersionPort() = default;
};
