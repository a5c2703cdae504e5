#pragma once
// The DirectShow device enumeration that the filter lookup walks, seen as
// COM references the lookup takes and releases itself. A reference is an
// opaque number (0: none); every non-zero reference a call hands out is the
// caller's and goes back through Release exactly once.
#include <cstdint>

#include "base/fixed_text.h"

using ComReference = uintptr_t;
constexpr ComReference kNoComReference = 0;

// The two device categories a capture driver's filter can be listed in.
enum class DeviceCategory {
  VideoInput,                // CLSID_VideoInputDeviceCategory
  BdaReceiverComponent,      // KSCATEGORY_BDA_RECEIVER_COMPONENT
};

// Friendly names, wanted and read: 259 ANSI characters and the terminator.
using FilterNameText = FixedText<260>;

class CaptureDevicePort {
 public:
  // Each call returns the HRESULT of the platform call; *out is the
  // reference it gave (kNoComReference when none), the caller's to release
  // even when the result is negative.

  // CoCreateInstance(CLSID_SystemDeviceEnum, ..., IID_ICreateDevEnum).
  virtual int32_t CreateSystemDeviceEnumerator(ComReference* out) = 0;
  // ICreateDevEnum::CreateClassEnumerator(category, out, 0). A category
  // without devices gives S_FALSE and no enumerator.
  virtual int32_t CreateClassEnumerator(ComReference deviceEnumerator, DeviceCategory category,
                                        ComReference* out) = 0;
  // IEnumMoniker::Reset.
  virtual void ResetEnumerator(ComReference enumerator) = 0;
  // IEnumMoniker::Next(1, out, &fetched); S_OK (0) means one moniker came back.
  virtual int32_t NextMoniker(ComReference enumerator, ComReference* out) = 0;
  // IMoniker::BindToStorage(NULL, NULL, IID_IPropertyBag).
  virtual int32_t BindToPropertyBag(ComReference moniker, ComReference* out) = 0;
  // IPropertyBag::Read("FriendlyName") into a VARIANT preset to VT_BSTR;
  // on S_OK the name converted to the ANSI code page, the BSTR freed. name
  // is filled only with a whole, terminated conversion: a name that does
  // not fit, or cannot be converted, leaves it empty.
  virtual int32_t ReadFriendlyName(ComReference propertyBag, FilterNameText& name) = 0;
  // IMoniker::BindToObject(NULL, NULL, IID_IBaseFilter).
  virtual int32_t BindToFilter(ComReference moniker, ComReference* out) = 0;
  // QueryInterface(IID_IDriverCustomProperty) on a filter.
  virtual int32_t QueryDriverInterface(ComReference filter, ComReference* out) = 0;
  // IUnknown::Release on any reference handed out above.
  virtual void Release(ComReference reference) = 0;

 protected:
  ~CaptureDevicePort() = default;
};

// One COM reference, released when it goes out of scope unless handed on.
class OwnedComReference {
 public:
  explicit OwnedComReference(CaptureDevicePort& port, ComReference ref = kNoComReference)
      : port_(&port), ref_(ref) {}
  ~OwnedComReference() { Reset(); }
  OwnedComReference(OwnedComReference&& other) : port_(other.port_), ref_(other.Detach()) {}
  OwnedComReference& operator=(OwnedComReference&& other) {
    if (this != &other) {
      Reset();
      port_ = other.port_;
      ref_ = other.Detach();
    }
    return *this;
  }
  OwnedComReference(const OwnedComReference&) = delete;
  OwnedComReference& operator=(const OwnedComReference&) = delete;

  ComReference Get() const { return ref_; }
  bool Held() const { return ref_ != kNoComReference; }
  // Where a port call stores the reference it gives; releases any held one
  // first so that nothing is overwritten unreleased.
  ComReference* Receive() {
    Reset();
    return &ref_;
  }
  // Releases the reference now.
  void Reset() {
    if (ref_ != kNoComReference) {
      ComReference ref = ref_;
      ref_ = kNoComReference;
      port_->Release(ref);
    }
  }
  // Hands the reference on; this owner no longer releases it.
  ComReference Detach() {
    ComReference ref = ref_;
    ref_ = kNoComReference;
    return ref;
  }

 private:
  CaptureDevicePort* port_;
  ComReference ref_;
};
