#include "devmem/win32/com_apartment.h"

#include <objbase.h>
#include <windows.h>

void Win32ComApartment::Initialize() { CoInitialize(nullptr); }

void Win32ComApartment::Uninitialize() { CoUninitialize(); }
