#pragma once
// COM on the launcher's one thread: the device connection initialises it
// when it opens and uninitialises it when it closes (or at once when the
// driver's interface cannot be had).

class ComApartmentPort {
 public:
  virtual void Initialize() = 0;    // CoInitialize(NULL); the result is of no interest
  virtual void Uninitialize() = 0;  // CoUninitialize

 protected:
  ~ComApartmentPort() = default;
};
