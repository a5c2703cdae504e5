#pragma once
// What the audio-class switch asks of device node maintenance: remove every
// device node whose first hardware ID begins with a matched prefix, so that
// Windows enumerates the device afresh.

class NodeRemovalPort {
 public:
  virtual void RemoveMatchedDeviceNodes() = 0;  // the result is of no interest

 protected:
  ~NodeRemovalPort() = default;
};
