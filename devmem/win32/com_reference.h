#pragma once
// Between the adapters and the portable core a COM reference travels as an
// opaque number; these convert, and ComReferenceOwner keeps one in an
// adapter's own scope so that every way out releases it.
#include <windows.h>
#include <unknwn.h>

#include "devmem/capture_device_port.h"

template <typename T>
T* FromComReference(ComReference ref) {
  return reinterpret_cast<T*>(ref);
}

inline ComReference ToComReference(IUnknown* p) { return reinterpret_cast<ComReference>(p); }

template <typename T>
class ComReferenceOwner {
 public:
  ComReferenceOwner() = default;
  explicit ComReferenceOwner(T* p) : p_(p) {}
  ~ComReferenceOwner() { Reset(); }
  ComReferenceOwner(const ComReferenceOwner&) = delete;
  ComReferenceOwner& operator=(const ComReferenceOwner&) = delete;

  T* Get() const { return p_; }
  T* operator->() const { return p_; }
  // For an out parameter: releases what is held first.
  T** Receive() {
    Reset();
    return &p_;
  }
  void** ReceiveVoid() { return reinterpret_cast<void**>(Receive()); }
  void Reset() {
    if (p_) {
      T* p = p_;
      p_ = nullptr;
      p->Release();
    }
  }
  // Hands the reference on to the core, which releases it through the port.
  ComReference Detach() {
    ComReference ref = ToComReference(p_);
    p_ = nullptr;
    return ref;
  }

 private:
  T* p_ = nullptr;
};
