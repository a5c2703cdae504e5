#pragma once
#include "app/system_ports.h"

// The executable's path through GetModuleFileNameA.
class Win32ModulePath final : public ModulePathPort {
 public:
  bool GetModulePath(PathText& out) override;
};
