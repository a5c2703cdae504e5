#pragma once
#include <cstdint>

class PausePort {
 public:
  virtual void Pause(uint32_t milliseconds) = 0;  // Sleep

 protected:
  ~PausePort() = default;
};
