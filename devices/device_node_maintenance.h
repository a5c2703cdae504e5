#pragma once
// Device node maintenance: at start-up, note which configured hardware-ID
// prefixes belong to devices that are plugged in (the matched list); later,
// on request, remove every device node, present or not, whose first
// hardware ID begins with a noted prefix, so that Windows enumerates the
// device afresh when it is plugged in again.
#include <cstdint>

#include "base/fixed_text.h"
#include "devices/device_id_table.h"
#include "devices/device_node_port.h"

constexpr int32_t kMatchedIdListSize = 10;
using MatchedIdText = FixedText<512>;

// Room for the hardware-ID list of one node. The list grows to the size the
// device service reports, up to this bound: 20 IDs of the longest a device
// ID can be (200 characters) fit, where a real device has two to six. A node
// that reports more is passed over rather than trusted with more memory.
constexpr uint32_t kHardwareIdBufferLimit = 4096;
// The first read of the start-up scan uses this much; a node that needs more
// grows the buffer for the nodes after it.
constexpr uint32_t kHardwareIdFirstBuffer = 256;

class DeviceNodeMaintenance {
 public:
  explicit DeviceNodeMaintenance(DeviceNodePort& nodes);
  DeviceNodeMaintenance(const DeviceNodeMaintenance&) = delete;
  DeviceNodeMaintenance& operator=(const DeviceNodeMaintenance&) = delete;

  // Scans the present devices and lists, in the order found, each of the
  // first DeviceIDNum prefixes of table (at most the table's 10) that a
  // device's first hardware ID begins with, once per matching device. At
  // most 10 entries are listed; further matches are dropped. Returns the
  // number listed, which MatchedIdCount() then gives; 0 when the system
  // gives no device set, the list then staying as it was.
  int32_t CollectMatchedIds(const DeviceIdTable& table, int32_t DeviceIDNum);

  // Scans every node the system knows and removes each one whose first
  // hardware ID begins with a listed prefix, once per listed entry it
  // matches. 1 when a device set was obtained (whatever was removed), else 0.
  int32_t RemoveMatchedDeviceNodes();

  int32_t MatchedIdCount() const { return matchedCount_; }
  // Entry i of the matched list; "" outside the list.
  const char* MatchedId(int32_t i) const;

 private:
  enum class ReadStep { Compare, Skip, EndScan };

  // The node's hardware-ID list into the buffer, grown while the service asks
  // for more room; bytes receives how much of it the service filled.
  ReadStep ReadHardwareIds(DeviceSetId set, uint32_t index, uint32_t& bytes);
  // A zero-filled buffer of size bytes (size <= kHardwareIdBufferLimit).
  void ResizeBuffer(uint32_t size);

  DeviceNodePort& nodes_;
  MatchedIdText matched_[kMatchedIdListSize];
  int32_t matchedCount_ = 0;
  uint8_t buffer_[kHardwareIdBufferLimit];
  uint32_t bufferSize_ = 0;
};
