#pragma once
#include "app/system_ports.h"

// The system's version through GetVersionExA.
class Win32Version final : public VersionPort {
 public:
  bool GetVersion(OsVersion& out) override;
};
