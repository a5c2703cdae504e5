#pragma once
#include "launch/process_ports.h"

// Files handed to the shell's "open" verb through ShellExecuteA.
class Win32Shell final : public ShellPort {
 public:
  int32_t OpenWithShellVerb(const char* target) override;
};
