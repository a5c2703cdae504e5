#pragma once
// Finds the capture driver's DirectShow filter by friendly name and obtains
// its IDriverCustomProperty interface, the only way to the device's memory.
#include <cstdint>

#include "base/registry_port.h"
#include "devmem/capture_device_port.h"

// Where the driver package names its filter (HKEY_LOCAL_MACHINE, KEY_READ).
constexpr const char kDriverFilterKey[] = "Software\\Varlink\\BDA";
constexpr const char kRealFilterNameValue[] = "RealDSName";
constexpr const char kFilterNameValue[] = "DSName";
// Each value is read into 256 bytes, terminator included when there is one.
constexpr uint32_t kFilterNameValueBytes = 256;

constexpr const char kDefaultFilterName[] = "USB K111 Device";
constexpr int32_t kFallbackFilterNameCount = 15;
extern const char* const kFallbackFilterNames[kFallbackFilterNameCount];

// Categories in the order every name is searched in.
constexpr DeviceCategory kSearchedCategories[] = {DeviceCategory::VideoInput,
                                                  DeviceCategory::BdaReceiverComponent};

// The filter-name rule: a friendly name matches when it begins with the
// wanted name, byte for byte and case-sensitive; the empty wanted name
// matches every device.
bool FriendlyNameMatches(const FilterNameText& friendlyName, const FilterNameText& wanted);

class CaptureFilterLookup {
 public:
  CaptureFilterLookup(RegistryPort& registry, CaptureDevicePort& devices)
      : registry_(registry), devices_(devices) {}

  // The driver's interface, the caller's to release; none when no filter is
  // found, or the one found does not give the interface (no fallback name
  // is tried then).
  OwnedComReference OpenCustomPropertyInterface();

  // "RealDSName", else "DSName". False (name untouched) when neither can
  // be read.
  bool ReadDriverFilterName(FilterNameText& name);

  // The first filter matching name in the video input category, else in the
  // BDA receiver component category.
  OwnedComReference FindFilterByName(const FilterNameText& name);
  OwnedComReference FindFilterInCategory(DeviceCategory category, const FilterNameText& name);
  // FindFilterByName for each fallback name in table order.
  OwnedComReference FindFallbackFilter();

 private:
  RegistryPort& registry_;
  CaptureDevicePort& devices_;
};
