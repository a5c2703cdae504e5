#pragma once
#include "devmem/com_apartment_port.h"

class Win32ComApartment : public ComApartmentPort {
 public:
  void Initialize() override;
  void Uninitialize() override;
};
