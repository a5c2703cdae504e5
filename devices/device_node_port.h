#pragma once
// The system's device nodes as the device-node maintenance sees them: a set
// of nodes taken at one moment, walked by index, each node's hardware-ID
// list read into a buffer the caller owns, and a node removed. On Windows
// this is SetupAPI (devices/win32/setupapi_device_nodes.h).
#include <cstdint>

using DeviceSetId = uintptr_t;  // 0: no set
constexpr DeviceSetId kNoDeviceSet = 0;

enum class DeviceSetScope {
  PresentOnly,  // the devices plugged in now (DIGCF_PRESENT | DIGCF_ALLCLASSES)
  AllKnown,     // every node the system knows, present or not (DIGCF_ALLCLASSES)
};

enum class HardwareIdOutcome {
  Ok,                  // the list is in the buffer; bytes = how many bytes were stored
  InsufficientBuffer,  // nothing stored; bytes = the size the list needs
  NoHardwareId,        // the node has no hardware-ID list
  OtherError,          // anything else
};

struct HardwareIdRead {
  HardwareIdOutcome outcome;
  uint32_t bytes;
};

class DeviceNodePort {
 public:
  // A set of device nodes of every class; kNoDeviceSet when the system does
  // not give one. Each set obtained is handed back to CloseDeviceSet.
  virtual DeviceSetId OpenDeviceSet(DeviceSetScope scope) = 0;
  // True while the set has an element at index (0, 1, 2, ...).
  virtual bool HasDeviceAt(DeviceSetId set, uint32_t index) = 0;
  // Reads the element's hardware-ID list (a multi-string) into buffer, which
  // holds size bytes (buffer may be null when size is 0). Writes nothing
  // past size. The list is not guaranteed to be terminated within bytes.
  virtual HardwareIdRead ReadHardwareIds(DeviceSetId set, uint32_t index, uint8_t* buffer,
                                         uint32_t size) = 0;
  // Removes the element's device node; the element stays in the set. Whether
  // it worked is not reported: the maintenance goes on either way.
  virtual void RemoveDevice(DeviceSetId set, uint32_t index) = 0;
  virtual void CloseDeviceSet(DeviceSetId set) = 0;

 protected:
  ~DeviceNodePort() = default;
};

// Hands its set back on every way out of the scope that obtained it.
class ScopedDeviceSet {
 public:
  ScopedDeviceSet(DeviceNodePort& nodes, DeviceSetScope scope)
      : nodes_(nodes), set_(nodes.OpenDeviceSet(scope)) {}
  ~ScopedDeviceSet() {
    if (set_ != kNoDeviceSet) nodes_.CloseDeviceSet(set_);
  }
  ScopedDeviceSet(const ScopedDeviceSet&) = delete;
  ScopedDeviceSet& operator=(const ScopedDeviceSet&) = delete;

  bool IsOpen() const { return set_ != kNoDeviceSet; }
  DeviceSetId get() const { return set_; }

 private:
  DeviceNodePort& nodes_;
  DeviceSetId set_;
};
