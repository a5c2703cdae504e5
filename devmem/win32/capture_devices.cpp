#include "devmem/win32/capture_devices.h"

#include <windows.h>
#include <objbase.h>
#include <oaidl.h>
#include <oleauto.h>
#include <strmif.h>

#include "devmem/win32/com_reference.h"
#include "devmem/win32/driver_custom_property.h"

namespace {

// The BSTR a property bag read gives, freed on every way out.
class BstrOwner {
 public:
  explicit BstrOwner(BSTR s) : s_(s) {}
  ~BstrOwner() {
    if (s_) SysFreeString(s_);
  }
  BstrOwner(const BstrOwner&) = delete;
  BstrOwner& operator=(const BstrOwner&) = delete;
  BSTR Get() const { return s_; }

 private:
  BSTR s_;
};

const GUID& CategoryGuid(DeviceCategory category) {
  return category == DeviceCategory::VideoInput ? kVideoInputDeviceCategory
                                                : kBdaReceiverComponentCategory;
}

}  // namespace

int32_t Win32CaptureDevices::CreateSystemDeviceEnumerator(ComReference* out) {
  ComReferenceOwner<ICreateDevEnum> enumerator;
  HRESULT hr = CoCreateInstance(kClsidSystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER,
                                __uuidof(ICreateDevEnum), enumerator.ReceiveVoid());
  *out = enumerator.Detach();
  return hr;
}

int32_t Win32CaptureDevices::CreateClassEnumerator(ComReference deviceEnumerator,
                                                   DeviceCategory category, ComReference* out) {
  ComReferenceOwner<IEnumMoniker> enumerator;
  HRESULT hr = FromComReference<ICreateDevEnum>(deviceEnumerator)
                   ->CreateClassEnumerator(CategoryGuid(category), enumerator.Receive(), 0);
  *out = enumerator.Detach();
  return hr;
}

void Win32CaptureDevices::ResetEnumerator(ComReference enumerator) {
  FromComReference<IEnumMoniker>(enumerator)->Reset();
}

int32_t Win32CaptureDevices::NextMoniker(ComReference enumerator, ComReference* out) {
  ComReferenceOwner<IMoniker> moniker;
  ULONG fetched = 0;
  HRESULT hr = FromComReference<IEnumMoniker>(enumerator)->Next(1, moniker.Receive(), &fetched);
  *out = moniker.Detach();
  return hr;
}

int32_t Win32CaptureDevices::BindToPropertyBag(ComReference moniker, ComReference* out) {
  ComReferenceOwner<IPropertyBag> bag;
  HRESULT hr = FromComReference<IMoniker>(moniker)->BindToStorage(
      nullptr, nullptr, __uuidof(IPropertyBag), bag.ReceiveVoid());
  *out = bag.Detach();
  return hr;
}

int32_t Win32CaptureDevices::ReadFriendlyName(ComReference propertyBag, FilterNameText& name) {
  VARIANT value;
  VariantInit(&value);
  value.vt = VT_BSTR;
  value.bstrVal = nullptr;
  HRESULT hr = FromComReference<IPropertyBag>(propertyBag)->Read(L"FriendlyName", &value, nullptr);
  name.Clear();
  if (hr != S_OK || value.vt != VT_BSTR) {
    // Whatever a failed or odd read left in the VARIANT goes with it.
    VariantClear(&value);
    return hr;
  }
  BstrOwner text(value.bstrVal);
  // The whole name or none: a name that does not fit the 260 bytes (or
  // cannot be converted) leaves nothing behind to compare.
  if (text.Get() &&
      WideCharToMultiByte(CP_ACP, 0, text.Get(), -1, name.WritableBuffer(),
                          static_cast<int>(FilterNameText::Capacity() + 1), nullptr, nullptr) > 0) {
    name.SyncAfterWrite();
  } else {
    name.Clear();
  }
  return hr;
}

int32_t Win32CaptureDevices::BindToFilter(ComReference moniker, ComReference* out) {
  ComReferenceOwner<IBaseFilter> filter;
  HRESULT hr = FromComReference<IMoniker>(moniker)->BindToObject(
      nullptr, nullptr, __uuidof(IBaseFilter), filter.ReceiveVoid());
  *out = filter.Detach();
  return hr;
}

int32_t Win32CaptureDevices::QueryDriverInterface(ComReference filter, ComReference* out) {
  ComReferenceOwner<IDriverCustomProperty> driver;
  HRESULT hr = FromComReference<IBaseFilter>(filter)->QueryInterface(
      __uuidof(IDriverCustomProperty), driver.ReceiveVoid());
  *out = driver.Detach();
  return hr;
}

void Win32CaptureDevices::Release(ComReference reference) {
  if (reference != kNoComReference) FromComReference<IUnknown>(reference)->Release();
}
