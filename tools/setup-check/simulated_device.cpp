#include "tools/setup-check/simulated_device.h"

#include <cstring>

#include "devmem/capture_filter_lookup.h"
#include "devmem/device_memory_channel.h"

namespace {

// The references this platform hands out, by what they stand for.
constexpr ComReference kSystemEnumerator = 1;
constexpr ComReference kClassEnumerator = 2;
constexpr ComReference kMoniker = 3;
constexpr ComReference kPropertyBag = 4;
constexpr ComReference kFilter = 5;
constexpr ComReference kDriverInterface = 6;

constexpr int32_t kSOk = 0;
constexpr int32_t kSFalse = 1;
constexpr int32_t kEFail = static_cast<int32_t>(0x80004005u);
constexpr uint32_t kAudioBus = 0xA0;

}  // namespace

SimulatedDevices::SimulatedDevices(const std::vector<std::string>& hardwareIds, const CaptureDeviceMemory& memory)
    : hardwareIds_(hardwareIds), memory_(memory) {
  for (int32_t& r : registers_) r = 0;
  registers_[8] = memory.register8 & 0xFF;
  registers_[37] = memory.register37 & 0xFF;
  registers_[38] = memory.register38 & 0xFF;
}

DeviceSetId SimulatedDevices::OpenDeviceSet(DeviceSetScope) { return 1; }

bool SimulatedDevices::HasDeviceAt(DeviceSetId, uint32_t index) { return index < hardwareIds_.size(); }

HardwareIdRead SimulatedDevices::ReadHardwareIds(DeviceSetId, uint32_t index, uint8_t* buffer, uint32_t size) {
  std::string list = hardwareIds_[index] + '\0' + '\0';  // a multi-string of one ID
  if (list.size() > size) return {HardwareIdOutcome::InsufficientBuffer, static_cast<uint32_t>(list.size())};
  std::memcpy(buffer, list.data(), list.size());
  return {HardwareIdOutcome::Ok, static_cast<uint32_t>(list.size())};
}

void SimulatedDevices::RemoveDevice(DeviceSetId, uint32_t index) {
  if (index < hardwareIds_.size()) removed_.push_back(hardwareIds_[index]);
}

void SimulatedDevices::CloseDeviceSet(DeviceSetId) {}

ComReference SimulatedDevices::Hand(ComReference kind) {
  ++outstanding_;
  return kind;
}

int32_t SimulatedDevices::CreateSystemDeviceEnumerator(ComReference* out) {
  *out = Hand(kSystemEnumerator);
  return kSOk;
}

int32_t SimulatedDevices::CreateClassEnumerator(ComReference, DeviceCategory category, ComReference* out) {
  *out = kNoComReference;
  // The capture device is a video input; a category without devices gives
  // S_FALSE and no enumerator.
  if (!memory_.present || category != DeviceCategory::VideoInput) return kSFalse;
  *out = Hand(kClassEnumerator);
  monikerGiven_ = false;
  return kSOk;
}

void SimulatedDevices::ResetEnumerator(ComReference) { monikerGiven_ = false; }

int32_t SimulatedDevices::NextMoniker(ComReference, ComReference* out) {
  *out = kNoComReference;
  if (monikerGiven_) return kSFalse;
  monikerGiven_ = true;
  *out = Hand(kMoniker);
  return kSOk;
}

int32_t SimulatedDevices::BindToPropertyBag(ComReference, ComReference* out) {
  *out = Hand(kPropertyBag);
  return kSOk;
}

int32_t SimulatedDevices::ReadFriendlyName(ComReference, FilterNameText& name) {
  // The driver package names no filter in the registry here, so the
  // launcher looks for its default name.
  name.Assign(kDefaultFilterName);
  return kSOk;
}

int32_t SimulatedDevices::BindToFilter(ComReference, ComReference* out) {
  *out = Hand(kFilter);
  return kSOk;
}

int32_t SimulatedDevices::QueryDriverInterface(ComReference, ComReference* out) {
  *out = Hand(kDriverInterface);
  return kSOk;
}

void SimulatedDevices::Release(ComReference) { --outstanding_; }

int32_t SimulatedDevices::SetProperty(ComReference, uint32_t id, int32_t* value) {
  switch (id) {
    case PropBusDeviceAddress:
      busAddress_ = static_cast<uint32_t>(*value);
      return kSOk;
    case PropBusTransfer:
      transfer_ = static_cast<uint32_t>(*value);
      return kSOk;
    case PropBusData: {
      if (((transfer_ >> 16) & 0xFF) != kAudioBus) return kEFail;
      uint32_t reg = (transfer_ >> 8) & 0xFF;
      writes_.push_back({reg, registers_[reg], *value & 0xFF});
      registers_[reg] = *value & 0xFF;
      return kSOk;
    }
    default:
      return kEFail;
  }
}

int32_t SimulatedDevices::GetProperty(ComReference, uint32_t id, int32_t* cell) {
  switch (id) {
    case PropBusDeviceReady:
      *cell = 1;
      return kSOk;
    case PropBusDeviceDetect:
      *cell = busAddress_ == kAudioBus ? 1 : 0;
      return busAddress_ == kAudioBus ? kSOk : kEFail;
    case PropBusData:
      if (((transfer_ >> 16) & 0xFF) != kAudioBus) return kEFail;
      *cell = registers_[(transfer_ >> 8) & 0xFF];
      return kSOk;
    default:
      return kEFail;
  }
}
