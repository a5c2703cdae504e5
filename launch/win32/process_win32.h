#pragma once
#include "launch/process_ports.h"

// Programs started through CreateProcessA and waited for with
// WaitForSingleObject; files looked up with GetFileAttributesA.
class Win32Processes final : public ProcessPort {
 public:
  bool StartAndWait(const char* applicationName, const char* commandLine) override;
  bool FileExists(const char* path) override;
};
