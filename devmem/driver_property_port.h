#pragma once
// The capture driver's custom properties, reached through the
// IDriverCustomProperty reference the filter lookup obtained.
#include <cstdint>

#include "devmem/capture_device_port.h"

class DriverPropertyPort {
 public:
  // IDriverCustomProperty::SetProperty(id, value); the driver's HRESULT.
  virtual int32_t SetProperty(ComReference driverInterface, uint32_t id, int32_t* value) = 0;
  // IDriverCustomProperty::GetProperty(id, cell); the driver fills *cell.
  virtual int32_t GetProperty(ComReference driverInterface, uint32_t id, int32_t* cell) = 0;

 protected:
  ~DriverPropertyPort() = default;
};
