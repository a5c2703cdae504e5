#include "devices/device_node_maintenance.h"

#include "devices/hardware_id_prefix.h"

namespace {

// A node whose reported size keeps changing is passed over after this many
// attempts instead of holding up the scan.
constexpr int kMaxBufferGrowths = 8;

}  // namespace

DeviceNodeMaintenance::DeviceNodeMaintenance(DeviceNodePort& nodes) : nodes_(nodes) {
  buffer_[0] = 0;
}

const char* DeviceNodeMaintenance::MatchedId(int32_t i) const {
  return (i >= 0 && i < matchedCount_) ? matched_[i].c_str() : "";
}

void DeviceNodeMaintenance::ResizeBuffer(uint32_t size) {
  if (size > kHardwareIdBufferLimit) size = kHardwareIdBufferLimit;
  for (uint32_t i = 0; i < size; ++i) buffer_[i] = 0;
  bufferSize_ = size;
}

DeviceNodeMaintenance::ReadStep DeviceNodeMaintenance::ReadHardwareIds(DeviceSetId set,
                                                                      uint32_t index,
                                                                      uint32_t& bytes) {
  bytes = 0;
  for (int growths = 0;; ++growths) {
    HardwareIdRead read =
        nodes_.ReadHardwareIds(set, index, bufferSize_ ? buffer_ : nullptr, bufferSize_);
    switch (read.outcome) {
      case HardwareIdOutcome::Ok:
        // The list may lack its terminators: only the bytes the service
        // stored are ever compared.
        bytes = read.bytes < bufferSize_ ? read.bytes : bufferSize_;
        return ReadStep::Compare;
      case HardwareIdOutcome::NoHardwareId:
        return ReadStep::Skip;
      case HardwareIdOutcome::InsufficientBuffer:
        // Grow only to a larger size within the bound; a node asking for
        // more, or for no more than it already had, is passed over.
        if (read.bytes <= bufferSize_ || read.bytes > kHardwareIdBufferLimit ||
            growths >= kMaxBufferGrowths)
          return ReadStep::Skip;
        ResizeBuffer(read.bytes);
        break;
      case HardwareIdOutcome::OtherError:
      default:
        return ReadStep::EndScan;
    }
  }
}

int32_t DeviceNodeMaintenance::CollectMatchedIds(const DeviceIdTable& table, int32_t DeviceIDNum) {
  ScopedDeviceSet set(nodes_, DeviceSetScope::PresentOnly);
  if (!set.IsOpen()) return 0;

  // A count above the table's size uses the whole table; a negative count
  // none of it (the scan still runs and matches nothing).
  int32_t prefixes = DeviceIDNum < 0 ? 0 : DeviceIDNum;
  if (prefixes > kDeviceIdTableSize) prefixes = kDeviceIdTableSize;

  int32_t count = 0;
  ResizeBuffer(kHardwareIdFirstBuffer);
  // Further matches find no room in a full list, so the scan ends there.
  for (uint32_t index = 0; count < kMatchedIdListSize && nodes_.HasDeviceAt(set.get(), index);
       ++index) {
    uint32_t bytes = 0;
    ReadStep step = ReadHardwareIds(set.get(), index, bytes);
    if (step == ReadStep::EndScan) break;
    if (step == ReadStep::Skip) continue;
    for (int32_t j = 0; j < prefixes && count < kMatchedIdListSize; ++j) {
      const SettingText& prefix = table.entries[j].DevDrvID;
      if (FirstHardwareIdBeginsWith(buffer_, bytes, prefix.c_str()))
        matched_[count++].Assign(prefix.c_str());
    }
  }
  bufferSize_ = 0;
  matchedCount_ = count;
  return count;
}

int32_t DeviceNodeMaintenance::RemoveMatchedDeviceNodes() {
  ScopedDeviceSet set(nodes_, DeviceSetScope::AllKnown);
  if (!set.IsOpen()) return 0;

  for (uint32_t index = 0; nodes_.HasDeviceAt(set.get(), index); ++index) {
    // Each node is first asked for its size with no buffer at all.
    bufferSize_ = 0;
    uint32_t bytes = 0;
    ReadStep step = ReadHardwareIds(set.get(), index, bytes);
    if (step == ReadStep::EndScan) break;
    if (step == ReadStep::Skip) continue;
    // Once per listed entry it matches: a prefix found on two devices at
    // start-up hands each of its nodes over twice.
    for (int32_t j = 0; j < matchedCount_; ++j) {
      if (FirstHardwareIdBeginsWith(buffer_, bytes, matched_[j].c_str()))
        nodes_.RemoveDevice(set.get(), index);
    }
  }
  bufferSize_ = 0;
  return 1;
}
