#pragma once
#include "devmem/driver_property_port.h"

// IDriverCustomProperty::SetProperty / GetProperty on the held interface.
class Win32DriverProperties : public DriverPropertyPort {
 public:
  int32_t SetProperty(ComReference driverInterface, uint32_t id, int32_t* value) override;
  int32_t GetProperty(ComReference driverInterface, uint32_t id, int32_t* cell) override;
};
