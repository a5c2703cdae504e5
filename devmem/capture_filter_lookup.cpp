#include "devmem/capture_filter_lookup.h"

const char* const kFallbackFilterNames[kFallbackFilterNameCount] = {
    "USB K101 Device", "USB K102 Device", "USB K103 Device", "USB K104 Device",
    "USB K105 Device", "USB K106 Device", "USB K107 Device", "USB K108 Device",
    "USB K109 Device", "USB K110 Device", "USB K111 Device", "USB K112 Device",
    "USB K113 Device", "USB K114 Device", "USB K115 Device",
};

namespace {

bool Succeeded(int32_t hr) { return hr >= 0; }

}  // namespace

bool FriendlyNameMatches(const FilterNameText& friendlyName, const FilterNameText& wanted) {
  // Both texts are terminated within their buffers, so a friendly name
  // shorter than the wanted one ends the comparison at its terminator.
  for (size_t i = 0; i < wanted.size(); ++i) {
    if (friendlyName[i] != wanted[i]) return false;
  }
  return true;
}

OwnedComReference CaptureFilterLookup::OpenCustomPropertyInterface() {
  FilterNameText wanted;
  if (!ReadDriverFilterName(wanted)) wanted.Assign(kDefaultFilterName);

  OwnedComReference filter = FindFilterByName(wanted);
  if (!filter.Held()) filter = FindFallbackFilter();
  if (!filter.Held()) return OwnedComReference(devices_);

  OwnedComReference driverInterface(devices_);
  int32_t hr = devices_.QueryDriverInterface(filter.Get(), driverInterface.Receive());
  // The interface keeps the filter alive; our filter reference goes now,
  // whatever the answer.
  filter.Reset();
  if (!Succeeded(hr)) driverInterface.Reset();
  return driverInterface;
}

bool CaptureFilterLookup::ReadDriverFilterName(FilterNameText& name) {
  ScopedRegistryKey key(registry_, kDriverFilterKey, RegistryAccess::Read);
  if (!key.IsOpen()) return false;

  // A value of exactly 256 bytes comes back without a terminator: only the
  // bytes the registry reports are ever looked at.
  char data[kFilterNameValueBytes];
  uint32_t size = kFilterNameValueBytes;
  if (!key.QueryValue(kRealFilterNameValue, data, &size)) {
    size = kFilterNameValueBytes;
    if (!key.QueryValue(kFilterNameValue, data, &size)) return false;
  }
  if (size > kFilterNameValueBytes) size = kFilterNameValueBytes;
  name.AssignBytes(data, size);
  return true;
}

OwnedComReference CaptureFilterLookup::FindFilterByName(const FilterNameText& name) {
  for (DeviceCategory category : kSearchedCategories) {
    OwnedComReference filter = FindFilterInCategory(category, name);
    if (filter.Held()) return filter;
  }
  return OwnedComReference(devices_);
}

OwnedComReference CaptureFilterLookup::FindFallbackFilter() {
  for (const char* fallback : kFallbackFilterNames) {
    FilterNameText name(fallback);
    OwnedComReference filter = FindFilterByName(name);
    if (filter.Held()) return filter;
  }
  return OwnedComReference(devices_);
}

OwnedComReference CaptureFilterLookup::FindFilterInCategory(DeviceCategory category,
                                                            const FilterNameText& name) {
  OwnedComReference none(devices_);

  // Every search makes its own system device enumerator and lets it go as
  // soon as the class enumerator exists.
  OwnedComReference deviceEnumerator(devices_);
  int32_t hr = devices_.CreateSystemDeviceEnumerator(deviceEnumerator.Receive());
  if (!Succeeded(hr) || !deviceEnumerator.Held()) return none;

  OwnedComReference classEnumerator(devices_);
  hr = devices_.CreateClassEnumerator(deviceEnumerator.Get(), category, classEnumerator.Receive());
  deviceEnumerator.Reset();
  if (!Succeeded(hr) || !classEnumerator.Held()) return none;

  devices_.ResetEnumerator(classEnumerator.Get());
  for (;;) {
    OwnedComReference moniker(devices_);
    if (devices_.NextMoniker(classEnumerator.Get(), moniker.Receive()) != 0) break;
    if (!moniker.Held()) continue;

    OwnedComReference propertyBag(devices_);
    hr = devices_.BindToPropertyBag(moniker.Get(), propertyBag.Receive());
    if (!Succeeded(hr) || !propertyBag.Held()) continue;

    // Each device's name starts empty: a name that cannot be read (or does
    // not fit) never matches on what an earlier device was called.
    FilterNameText friendlyName;
    if (devices_.ReadFriendlyName(propertyBag.Get(), friendlyName) != 0) friendlyName.Clear();
    propertyBag.Reset();

    if (!FriendlyNameMatches(friendlyName, name)) continue;

    OwnedComReference filter(devices_);
    hr = devices_.BindToFilter(moniker.Get(), filter.Receive());
    if (Succeeded(hr) && filter.Held()) {
      moniker.Reset();
      classEnumerator.Reset();
      return filter;
    }
  }
  return none;
}
