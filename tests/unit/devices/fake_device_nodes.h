#pragma once
// A device service in memory for the maintenance tests. It records every
// call in order with its values, checks that each set it handed out is used
// only while open and closed exactly once, and can be told to fail at any
// call: no set, a read outcome of choice, a removal that does not remove.
#include <cstdint>
#include <cstring>
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "devices/device_node_port.h"

struct FakeNode {
  std::string ids;        // the hardware-ID list exactly as stored (use MultiSz)
  bool present = true;    // plugged in: part of a PresentOnly set
  bool hasIds = true;     // false: the node has no hardware-ID list
  // Replies given, one per read, before the node answers from its list.
  std::deque<HardwareIdRead> forcedReads;
  // When set, an Ok read reports this many bytes stored (it still writes
  // the whole list): a service that stored a list not ending in its
  // terminators.
  int64_t reportedBytes = -1;
  bool removalFails = false;  // the node stays in the system
  int removals = 0;           // successful removals
};

// "A\0B\0" + the list's final terminator from {"A", "B"}.
inline std::string MultiSz(std::initializer_list<const char*> ids) {
  std::string s;
  for (const char* id : ids) {
    s += id;
    s += '\0';
  }
  s += '\0';
  return s;
}

class FakeDeviceNodes final : public DeviceNodePort {
 public:
  std::vector<FakeNode> nodes;
  bool failOpen = false;
  std::vector<std::string> calls;
  std::vector<std::string> faults;  // misuse of the service; must stay empty

  DeviceSetId OpenDeviceSet(DeviceSetScope scope) override {
    bool present = scope == DeviceSetScope::PresentOnly;
    calls.push_back(present ? "open present" : "open all");
    if (failOpen) return kNoDeviceSet;
    DeviceSetId id = nextSet_++;
    std::vector<size_t>& members = sets_[id];
    for (size_t i = 0; i < nodes.size(); ++i)
      if (!present || nodes[i].present) members.push_back(i);
    open_[id] = true;
    return id;
  }

  bool HasDeviceAt(DeviceSetId set, uint32_t index) override {
    calls.push_back("has " + std::to_string(index));
    return Member(set, index) != nullptr;
  }

  HardwareIdRead ReadHardwareIds(DeviceSetId set, uint32_t index, uint8_t* buffer,
                                 uint32_t size) override {
    calls.push_back("read " + std::to_string(index) + " " + std::to_string(size));
    if (size > 0 && !buffer) faults.push_back("read with a null buffer of size " + std::to_string(size));
    FakeNode* node = Member(set, index);
    if (!node) return {HardwareIdOutcome::OtherError, 0};
    if (!node->forcedReads.empty()) {
      HardwareIdRead r = node->forcedReads.front();
      node->forcedReads.pop_front();
      return r;
    }
    if (!node->hasIds) return {HardwareIdOutcome::NoHardwareId, 0};
    uint32_t need = static_cast<uint32_t>(node->ids.size());
    if (size < need) return {HardwareIdOutcome::InsufficientBuffer, need};
    std::memcpy(buffer, node->ids.data(), need);
    uint32_t reported = node->reportedBytes >= 0 ? static_cast<uint32_t>(node->reportedBytes) : need;
    return {HardwareIdOutcome::Ok, reported};
  }

  void RemoveDevice(DeviceSetId set, uint32_t index) override {
    calls.push_back("remove " + std::to_string(index));
    FakeNode* node = Member(set, index);
    if (node && !node->removalFails) ++node->removals;
  }

  void CloseDeviceSet(DeviceSetId set) override {
    calls.push_back("close");
    auto it = open_.find(set);
    if (it == open_.end() || !it->second) {
      faults.push_back("close of a set not open");
      return;
    }
    it->second = false;
  }

  // Sets handed out and not closed.
  int OpenSets() const {
    int n = 0;
    for (const auto& kv : open_) n += kv.second ? 1 : 0;
    return n;
  }

  // Reads of the list so far: "read <index> <size>" entries only.
  std::vector<std::string> Reads() const {
    std::vector<std::string> r;
    for (const std::string& c : calls)
      if (c.compare(0, 5, "read ") == 0) r.push_back(c);
    return r;
  }

  std::vector<std::string> Removals() const {
    std::vector<std::string> r;
    for (const std::string& c : calls)
      if (c.compare(0, 7, "remove ") == 0) r.push_back(c);
    return r;
  }

 private:
  FakeNode* Member(DeviceSetId set, uint32_t index) {
    auto o = open_.find(set);
    if (o == open_.end() || !o->second) {
      faults.push_back("call on a set not open");
      return nullptr;
    }
    const std::vector<size_t>& members = sets_[set];
    return index < members.size() ? &nodes[members[index]] : nullptr;
  }

  DeviceSetId nextSet_ = 0x51;
  std::map<DeviceSetId, std::vector<size_t>> sets_;
  std::map<DeviceSetId, bool> open_;
};
