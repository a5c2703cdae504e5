#pragma once
// Doubles for the device memory ports: a registry with the driver's key, a
// DirectShow device world whose COM references are counted one by one, an
// I2C device behind the driver's properties, COM, boxes, pauses and node
// removal. Each records the calls the logic made, in order, in one shared
// journal, and can be told to fail.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "base/message_box_port.h"
#include "base/pause_port.h"
#include "base/registry_port.h"
#include "devmem/capture_device_port.h"
#include "devmem/com_apartment_port.h"
#include "devmem/device_memory_channel.h"
#include "devmem/driver_property_port.h"
#include "devmem/node_removal_port.h"

namespace devmem_test {

constexpr int32_t E_FAIL_ = static_cast<int32_t>(0x80004005u);
constexpr int32_t E_NOINTERFACE_ = static_cast<int32_t>(0x80004002u);
constexpr int32_t REGDB_E_CLASSNOTREG_ = static_cast<int32_t>(0x80040154u);
constexpr int32_t S_FALSE_ = 1;

inline std::string Hex(uint32_t v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%08X", v);
  return buf;
}

using Journal = std::vector<std::string>;

// HKLM\Software\Varlink\BDA and its values, as raw bytes.
class FakeRegistry : public RegistryPort {
 public:
  explicit FakeRegistry(Journal& journal) : journal_(journal) {}

  bool keyExists = false;
  std::map<std::string, std::string> values;  // bytes stored (no terminator added)
  std::vector<std::string> failingValues;     // present but the query fails anyway

  void SetText(const std::string& name, const std::string& text) {
    keyExists = true;
    values[name] = text + std::string(1, '\0');
  }
  void SetBytes(const std::string& name, const std::string& bytes) {
    keyExists = true;
    values[name] = bytes;
  }

  RegistryKeyId OpenLocalMachineKey(const char* subkey, RegistryAccess access) override {
    journal_.push_back(std::string("RegOpen ") + subkey +
                       (access == RegistryAccess::Read ? " read" : " query"));
    if (!keyExists || std::string(subkey) != "Software\\Varlink\\BDA") return kNoRegistryKey;
    ++openKeys;
    return 77;
  }
  bool QueryValue(RegistryKeyId key, const char* name, void* data, uint32_t* size) override {
    EXPECT_EQ(key, 77u);
    journal_.push_back(std::string("RegQuery ") + name + " " + std::to_string(*size));
    auto it = values.find(name);
    if (it == values.end()) return false;
    for (const std::string& f : failingValues)
      if (f == name) return false;
    if (it->second.size() > *size) return false;  // ERROR_MORE_DATA
    for (size_t i = 0; i < it->second.size(); ++i) static_cast<char*>(data)[i] = it->second[i];
    *size = static_cast<uint32_t>(it->second.size());
    return true;
  }
  void CloseKey(RegistryKeyId key) override {
    EXPECT_EQ(key, 77u);
    journal_.push_back("RegClose");
    --openKeys;
  }

  int openKeys = 0;

 private:
  Journal& journal_;
};

struct FakeDevice {
  std::string friendlyName;
  int32_t bagResult = 0;         // BindToStorage
  int32_t nameReadResult = 0;    // IPropertyBag::Read; S_OK fills the name
  bool nameFits = true;          // false: the conversion does not fit and gives no name
  int32_t bindResult = 0;        // BindToObject
  bool bindGivesNull = false;
  bool hasInterface = true;      // QueryInterface(IID_IDriverCustomProperty)
};

// The I2C device at 0xA0 behind the driver's properties.
struct FakeI2cDevice {
  std::map<uint32_t, int32_t> registers;
  int32_t ready = 1;
  int32_t selectResult = 0;
  int32_t readyResult = 0;
  int32_t detectResult = 0;
  std::map<uint32_t, int32_t> readResults;       // register -> result of get 4104
  std::map<uint32_t, int32_t> writeResults;      // register -> result of set 4104
  std::map<uint32_t, int32_t> describeResults;   // register -> result of set 4103
  std::set<uint32_t> silentReads;                // get 4104 gives 0 but leaves the cell
  int32_t failAtPropertyCall = -1;               // 0-based index of any call to fail
  int32_t failAtPropertyResult = E_FAIL_;
};

class FakeDeviceWorld : public CaptureDevicePort, public DriverPropertyPort, public ComApartmentPort {
 public:
  explicit FakeDeviceWorld(Journal& journal) : journal_(journal) {}
  ~FakeDeviceWorld() {
    // Whatever a test did, no reference may be left or released twice.
    EXPECT_EQ(LiveReferences(), 0) << "references left: " << DescribeLive();
  }

  std::vector<FakeDevice> video;
  std::vector<FakeDevice> bda;
  int32_t createEnumeratorResult = 0;
  bool createEnumeratorGivesNull = false;
  int32_t classEnumeratorResult[2] = {0, 0};  // used when the category has devices
  FakeI2cDevice i2c;

  // The property calls made, "set 4103 0x01A00801" / "get 4104".
  std::vector<std::string> propertyCalls;
  int comInitialized = 0;   // CoInitialize calls minus CoUninitialize calls
  int comInitializeCalls = 0;
  int comUninitializeCalls = 0;
  int doubleReleases = 0;

  int LiveReferences() const { return static_cast<int>(live_.size()); }
  std::string DescribeLive() const {
    std::string s;
    for (const auto& r : live_) s += r.second.label + "; ";
    return s;
  }
  bool IsLive(ComReference ref) const { return live_.count(ref) != 0; }
  std::string LabelOf(ComReference ref) const {
    auto it = live_.find(ref);
    return it == live_.end() ? "?" : it->second.label;
  }

  // ComApartmentPort
  void Initialize() override {
    journal_.push_back("CoInitialize");
    ++comInitialized;
    ++comInitializeCalls;
  }
  void Uninitialize() override {
    journal_.push_back("CoUninitialize");
    --comInitialized;
    ++comUninitializeCalls;
  }

  // CaptureDevicePort
  int32_t CreateSystemDeviceEnumerator(ComReference* out) override {
    journal_.push_back("CreateSystemDeviceEnumerator");
    *out = createEnumeratorGivesNull ? kNoComReference : Take({Kind::DevEnum, 0, 0, "devenum"});
    return createEnumeratorResult;
  }
  int32_t CreateClassEnumerator(ComReference devEnum, DeviceCategory category,
                                ComReference* out) override {
    int c = category == DeviceCategory::VideoInput ? 0 : 1;
    journal_.push_back(std::string("CreateClassEnumerator ") + CategoryName(c));
    EXPECT_EQ(KindOf(devEnum), Kind::DevEnum);
    *out = kNoComReference;
    if (Devices(c).empty()) return S_FALSE_;  // a category without devices: no enumerator
    if (classEnumeratorResult[c] < 0) return classEnumeratorResult[c];
    *out = Take({Kind::ClassEnum, c, 0, std::string("classenum ") + CategoryName(c)});
    positions_[*out] = 0;
    return classEnumeratorResult[c];
  }
  void ResetEnumerator(ComReference e) override {
    journal_.push_back("Reset " + Label(e));
    EXPECT_EQ(KindOf(e), Kind::ClassEnum);
    positions_[e] = 0;
  }
  int32_t NextMoniker(ComReference e, ComReference* out) override {
    EXPECT_EQ(KindOf(e), Kind::ClassEnum);
    const Ref& r = live_.at(e);
    size_t& pos = positions_[e];
    *out = kNoComReference;
    if (pos >= Devices(r.category).size()) {
      journal_.push_back("Next " + Label(e) + " -> end");
      return S_FALSE_;
    }
    int index = static_cast<int>(pos++);
    *out = Take({Kind::Moniker, r.category, index, "moniker " + DeviceLabel(r.category, index)});
    journal_.push_back("Next " + Label(e) + " -> " + DeviceLabel(r.category, index));
    return 0;
  }
  int32_t BindToPropertyBag(ComReference m, ComReference* out) override {
    const Ref r = live_.at(m);
    EXPECT_EQ(r.kind, Kind::Moniker);
    const FakeDevice& d = Devices(r.category)[r.index];
    journal_.push_back("BindToStorage " + DeviceLabel(r.category, r.index));
    *out = kNoComReference;
    if (d.bagResult < 0) return d.bagResult;
    *out = Take({Kind::Bag, r.category, r.index, "bag " + DeviceLabel(r.category, r.index)});
    return d.bagResult;
  }
  int32_t ReadFriendlyName(ComReference bag, FilterNameText& name) override {
    const Ref r = live_.at(bag);
    EXPECT_EQ(r.kind, Kind::Bag);
    const FakeDevice& d = Devices(r.category)[r.index];
    journal_.push_back("ReadFriendlyName " + DeviceLabel(r.category, r.index));
    EXPECT_TRUE(name.empty()) << "a device's name must start empty";
    if (d.nameReadResult == 0 && d.nameFits) name.Assign(d.friendlyName.c_str());
    return d.nameReadResult;
  }
  int32_t BindToFilter(ComReference m, ComReference* out) override {
    const Ref r = live_.at(m);
    EXPECT_EQ(r.kind, Kind::Moniker);
    const FakeDevice& d = Devices(r.category)[r.index];
    journal_.push_back("BindToObject " + DeviceLabel(r.category, r.index));
    *out = kNoComReference;
    if (d.bindGivesNull) return 0;
    if (d.bindResult < 0) return d.bindResult;
    *out = Take({Kind::Filter, r.category, r.index, "filter " + DeviceLabel(r.category, r.index)});
    return d.bindResult;
  }
  int32_t QueryDriverInterface(ComReference f, ComReference* out) override {
    const Ref r = live_.at(f);
    EXPECT_EQ(r.kind, Kind::Filter);
    const FakeDevice& d = Devices(r.category)[r.index];
    journal_.push_back("QueryInterface " + DeviceLabel(r.category, r.index));
    *out = kNoComReference;
    if (!d.hasInterface) return E_NOINTERFACE_;
    *out = Take({Kind::Driver, r.category, r.index, "driver " + DeviceLabel(r.category, r.index)});
    return 0;
  }
  void Release(ComReference ref) override {
    auto it = live_.find(ref);
    if (it == live_.end()) {
      ++doubleReleases;
      ADD_FAILURE() << "release of a reference not held: " << ref;
      return;
    }
    journal_.push_back("Release " + it->second.label);
    live_.erase(it);
    positions_.erase(ref);
  }

  // DriverPropertyPort: emulates the I2C device at 0xA0.
  int32_t SetProperty(ComReference iface, uint32_t id, int32_t* value) override {
    EXPECT_EQ(KindOf(iface), Kind::Driver);
    std::string call = "set " + std::to_string(id) + " " + Hex(static_cast<uint32_t>(*value));
    return Property(call, [&]() -> int32_t {
      switch (id) {
        case PropBusDeviceAddress:
          address_ = static_cast<uint32_t>(*value);
          return i2c.selectResult;
        case PropBusTransfer: {
          transfer_ = static_cast<uint32_t>(*value);
          if (transfer_ == 0) return 0;
          auto it = i2c.describeResults.find(TransferRegister());
          return it == i2c.describeResults.end() ? 0 : it->second;
        }
        case PropBusData: {
          if (!TransferToDevice()) return E_FAIL_;
          uint32_t reg = TransferRegister();
          auto it = i2c.writeResults.find(reg);
          int32_t hr = it == i2c.writeResults.end() ? 0 : it->second;
          if (hr >= 0) i2c.registers[reg] = *value & 0xFF;
          return hr;
        }
        default:
          return E_FAIL_;
      }
    });
  }
  int32_t GetProperty(ComReference iface, uint32_t id, int32_t* cell) override {
    EXPECT_EQ(KindOf(iface), Kind::Driver);
    std::string call = "get " + std::to_string(id);
    return Property(call, [&]() -> int32_t {
      switch (id) {
        case PropBusDeviceReady:
          if (i2c.readyResult >= 0) *cell = address_ == 0xA0 ? i2c.ready : 0;
          return i2c.readyResult;
        case PropBusDeviceDetect:
          *cell = 0x5A;  // any value: the logic must not use it
          return i2c.detectResult;
        case PropBusData: {
          if (!TransferToDevice()) return E_FAIL_;
          uint32_t reg = TransferRegister();
          auto it = i2c.readResults.find(reg);
          int32_t hr = it == i2c.readResults.end() ? 0 : it->second;
          if (hr == 0 && i2c.silentReads.count(reg) == 0) {
            // One byte is transferred: the rest of the cell stays.
            *cell = static_cast<int32_t>((static_cast<uint32_t>(*cell) & ~0xFFu) |
                                         (static_cast<uint32_t>(i2c.registers[reg]) & 0xFFu));
          }
          return hr;
        }
        default:
          return E_FAIL_;
      }
    });
  }

 private:
  enum class Kind { None, DevEnum, ClassEnum, Moniker, Bag, Filter, Driver };
  struct Ref {
    Kind kind;
    int category;
    int index;
    std::string label;
  };

  static const char* CategoryName(int c) { return c == 0 ? "video" : "bda"; }
  std::vector<FakeDevice>& Devices(int c) { return c == 0 ? video : bda; }
  std::string DeviceLabel(int c, int i) {
    return std::string(CategoryName(c)) + ":" + Devices(c)[i].friendlyName;
  }
  ComReference Take(Ref r) {
    ComReference id = next_++;
    live_[id] = r;
    return id;
  }
  Kind KindOf(ComReference ref) const {
    auto it = live_.find(ref);
    return it == live_.end() ? Kind::None : it->second.kind;
  }
  std::string Label(ComReference ref) const { return LabelOf(ref); }

  uint32_t TransferRegister() const { return (transfer_ >> 8) & 0xFF; }
  bool TransferToDevice() const {
    return transfer_ != 0 && ((transfer_ >> 16) & 0xFF) == 0xA0 && (transfer_ & 0xFF) == 1;
  }

  template <typename F>
  int32_t Property(const std::string& call, F answer) {
    int index = static_cast<int>(propertyCalls.size());
    propertyCalls.push_back(call);
    journal_.push_back(call);
    if (index == i2c.failAtPropertyCall) return i2c.failAtPropertyResult;
    return answer();
  }

  Journal& journal_;
  std::map<ComReference, Ref> live_;
  std::map<ComReference, size_t> positions_;
  ComReference next_ = 1000;
  uint32_t address_ = 0;
  uint32_t transfer_ = 0;
};

struct ShownBox {
  std::string text;
  std::string caption;
  BoxIcon icon;
};

class RecordingBoxes : public MessageBoxPort {
 public:
  explicit RecordingBoxes(Journal& journal) : journal_(journal) {}
  void ShowMessage(const char* text, const char* caption, BoxIcon icon) override {
    journal_.push_back(std::string("box ") + caption + "|" + text +
                       (icon == BoxIcon::Warning ? " (warning)" : ""));
    shown.push_back({text, caption, icon});
  }
  std::vector<ShownBox> shown;

 private:
  Journal& journal_;
};

class RecordingPause : public PausePort {
 public:
  explicit RecordingPause(Journal& journal) : journal_(journal) {}
  void Pause(uint32_t ms) override { journal_.push_back("pause " + std::to_string(ms)); }

 private:
  Journal& journal_;
};

class RecordingNodeRemoval : public NodeRemovalPort {
 public:
  explicit RecordingNodeRemoval(Journal& journal) : journal_(journal) {}
  void RemoveMatchedDeviceNodes() override {
    journal_.push_back("RemoveMatchedDeviceNodes");
    ++calls;
  }
  int calls = 0;

 private:
  Journal& journal_;
};

// Everything together, as the switch and the connection are built on.
struct FakePlatform {
  Journal journal;
  FakeRegistry registry{journal};
  FakeDeviceWorld world{journal};
  RecordingBoxes boxes{journal};
  RecordingPause pause{journal};
  RecordingNodeRemoval nodes{journal};

  DeviceMemoryPorts Ports() { return DeviceMemoryPorts{world, registry, world, world}; }

  // The journal without the lookup's COM traffic and registry reads.
  std::vector<std::string> Effects() const {
    std::vector<std::string> out;
    for (const std::string& e : journal) {
      if (e.rfind("set ", 0) == 0 || e.rfind("get ", 0) == 0 || e.rfind("box ", 0) == 0 ||
          e.rfind("pause ", 0) == 0 || e == "RemoveMatchedDeviceNodes" || e == "CoInitialize" ||
          e == "CoUninitialize" || e.rfind("Release driver", 0) == 0)
        out.push_back(e);
    }
    return out;
  }
};

}  // namespace devmem_test
