#include "devmem/win32/driver_properties.h"

#include "devmem/win32/com_reference.h"
#include "devmem/win32/driver_custom_property.h"

int32_t Win32DriverProperties::SetProperty(ComReference driverInterface, uint32_t id,
                                           int32_t* value) {
  LONG cell = *value;
  HRESULT hr = FromComReference<IDriverCustomProperty>(driverInterface)->SetProperty(id, &cell);
  *value = cell;
  return hr;
}

int32_t Win32DriverProperties::GetProperty(ComReference driverInterface, uint32_t id,
                                           int32_t* cell) {
  LONG value = *cell;
  HRESULT hr = FromComReference<IDriverCustomProperty>(driverInterface)->GetProperty(id, &value);
  *cell = value;
  return hr;
}
