#include "devmem/device_memory_channel.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "devmem/device_connection.h"
#include "fake_devmem.h"

namespace devmem_test {
namespace {

using Calls = std::vector<std::string>;

FakeDevice Driver() {
  FakeDevice d;
  d.friendlyName = "USB K111 Device";
  return d;
}

struct ChannelFixture : ::testing::Test {
  FakePlatform p;
  DeviceMemoryChannel channel{p.Ports()};

  void SetUp() override {
    p.world.video.push_back(Driver());
    ASSERT_NE(channel.Acquire(), kNoComReference);
    p.world.propertyCalls.clear();
  }
};

TEST(BusTransferDescriptor, FieldsFromTheMostSignificantByteDown) {
  struct Case {
    const char* name;
    uint32_t bus, reg, count, want;
  } cases[] = {
      {"register 8", 0xA0, 8, 1, 0x01A00801u},
      {"register 37", 0xA0, 37, 1, 0x01A02501u},
      {"register 38", 0xA0, 38, 1, 0x01A02601u},
      {"two bytes", 0xA0, 37, 2, 0x01A02502u},
      {"low 8 bits of each field", 0x1A0, 0x108, 0x301, 0x01A00801u},
  };
  for (const Case& c : cases) EXPECT_EQ(BusTransferDescriptor(c.bus, c.reg, c.count), c.want) << c.name;
}

TEST_F(ChannelFixture, ReadOfRegister8DescribesThenGetsTheData) {
  p.world.i2c.registers[8] = 0x50;
  int32_t cell = 0;
  EXPECT_EQ(channel.ReadBusRegisters(0xA0, 8, 1, &cell), 0);
  EXPECT_EQ(cell, 0x50);
  EXPECT_EQ(p.world.propertyCalls, (Calls{"set 4103 0x01A00801", "get 4104"}));
}

TEST_F(ChannelFixture, WriteOfRegister8DescribesThenSetsTheData) {
  int32_t cell = 0x50;
  EXPECT_EQ(channel.WriteBusRegisters(0xA0, 8, 1, &cell), 0);
  EXPECT_EQ(p.world.i2c.registers[8], 0x50);
  EXPECT_EQ(p.world.propertyCalls, (Calls{"set 4103 0x01A00801", "set 4104 0x00000050"}));
}

struct TransferCase {
  const char* name;
  bool write;
  int32_t describeResult;
  int32_t dataResult;
  int32_t status;
  Calls calls;
};

TEST_F(ChannelFixture, TransferIsResetAfterANegativeResultOnly) {
  const TransferCase cases[] = {
      {"read, data fails", false, 0, E_FAIL_, E_FAIL_,
       {"set 4103 0x01A02501", "get 4104", "set 4103 0x00000000"}},
      {"write, data fails", true, 0, E_FAIL_, E_FAIL_,
       {"set 4103 0x01A02501", "set 4104 0x00000007", "set 4103 0x00000000"}},
      {"describing fails", false, E_FAIL_, 0, E_FAIL_, {"set 4103 0x01A02501", "set 4103 0x00000000"}},
      {"read, positive result passed on", false, 0, 1, 1, {"set 4103 0x01A02501", "get 4104"}},
      {"write, positive result passed on", true, 0, 3, 3,
       {"set 4103 0x01A02501", "set 4104 0x00000007"}},
      {"positive describe goes on to the data", false, 2, 0, 0, {"set 4103 0x01A02501", "get 4104"}},
      {"success", true, 0, 0, 0, {"set 4103 0x01A02501", "set 4104 0x00000007"}},
  };
  for (const TransferCase& c : cases) {
    p.world.propertyCalls.clear();
    p.world.i2c.describeResults[37] = c.describeResult;
    (c.write ? p.world.i2c.writeResults : p.world.i2c.readResults)[37] = c.dataResult;
    int32_t cell = 7;
    EXPECT_EQ(channel.TransferBus(BusTransferDescriptor(0xA0, 37, 1), &cell, c.write), c.status)
        << c.name;
    EXPECT_EQ(p.world.propertyCalls, c.calls) << c.name;
    p.world.i2c.readResults.clear();
    p.world.i2c.writeResults.clear();
  }
}

TEST_F(ChannelFixture, ResetOfTheTransferIsMadeEvenWhenItFailsToo) {
  p.world.i2c.readResults[8] = E_FAIL_;
  p.world.i2c.failAtPropertyCall = 2;  // the reset itself
  int32_t cell = 0;
  EXPECT_EQ(channel.ReadBusRegisters(0xA0, 8, 1, &cell), E_FAIL_);
  EXPECT_EQ(p.world.propertyCalls, (Calls{"set 4103 0x01A00801", "get 4104", "set 4103 0x00000000"}));
}

struct DetectCase {
  const char* name;
  int32_t selectResult, readyResult, ready, detectResult;
  int32_t status;
  Calls calls;
};

TEST_F(ChannelFixture, DetectBusDeviceStatuses) {
  const DetectCase cases[] = {
      {"detected", 0, 0, 1, 0, 0, {"set 4107 0x000000A0", "get 4116", "get 4115"}},
      {"select fails", E_FAIL_, 0, 1, 0, E_FAIL_, {"set 4107 0x000000A0"}},
      {"positive select goes on", 1, 0, 1, 0, 0, {"set 4107 0x000000A0", "get 4116", "get 4115"}},
      {"ready query fails", 0, E_FAIL_, 1, 0, E_FAIL_, {"set 4107 0x000000A0", "get 4116"}},
      {"not ready: 21, no detection", 0, 0, 0, 0, 21, {"set 4107 0x000000A0", "get 4116"}},
      {"detection fails", 0, 0, 1, E_FAIL_, E_FAIL_, {"set 4107 0x000000A0", "get 4116", "get 4115"}},
      {"detection positive", 0, 0, 1, 2, 2, {"set 4107 0x000000A0", "get 4116", "get 4115"}},
  };
  for (const DetectCase& c : cases) {
    p.world.propertyCalls.clear();
    p.world.i2c.selectResult = c.selectResult;
    p.world.i2c.readyResult = c.readyResult;
    p.world.i2c.ready = c.ready;
    p.world.i2c.detectResult = c.detectResult;
    int32_t cell = 99;
    EXPECT_EQ(channel.DetectBusDevice(0xA0, &cell), c.status) << c.name;
    EXPECT_EQ(p.world.propertyCalls, c.calls) << c.name;
    if (c.calls.size() < 3) EXPECT_EQ(cell, 0) << c.name;
  }
}

TEST(ChannelWithoutInterface, EveryOperationGives6AndCallsNothing) {
  FakePlatform p;
  DeviceMemoryChannel channel(p.Ports());
  int32_t cell = 5;
  EXPECT_EQ(channel.SelectBusDevice(0xA0), kStatusNoInterface);
  EXPECT_EQ(channel.DetectBusDevice(0xA0, &cell), kStatusNoInterface);
  EXPECT_EQ(cell, 0);
  cell = 5;
  EXPECT_EQ(channel.TransferBus(0x01A00801u, &cell, true), kStatusNoInterface);
  EXPECT_EQ(channel.ReadBusRegisters(0xA0, 8, 1, &cell), kStatusNoInterface);
  EXPECT_EQ(channel.WriteBusRegisters(0xA0, 8, 1, &cell), kStatusNoInterface);
  EXPECT_EQ(cell, 5);
  EXPECT_TRUE(p.world.propertyCalls.empty());
  channel.ReleaseInterface();
  EXPECT_TRUE(p.journal.empty());
}

TEST_F(ChannelFixture, ReleaseInterfaceReleasesOnceAndClears) {
  channel.ReleaseInterface();
  EXPECT_EQ(channel.PropertyInterface(), kNoComReference);
  EXPECT_EQ(p.journal.back(), "Release driver video:USB K111 Device");
  size_t n = p.journal.size();
  channel.ReleaseInterface();
  EXPECT_EQ(p.journal.size(), n);
  EXPECT_EQ(p.world.LiveReferences(), 0);
}

TEST(ChannelAcquire, FailedAcquisitionHoldsNothing) {
  FakePlatform p;
  DeviceMemoryChannel channel(p.Ports());
  EXPECT_EQ(channel.Acquire(), kNoComReference);
  EXPECT_EQ(channel.PropertyInterface(), kNoComReference);
  int32_t cell = 0;
  EXPECT_EQ(channel.ReadBusRegisters(0xA0, 8, 1, &cell), kStatusNoInterface);
}

// ---- the device connection ----------------------------------------------------

struct ConnectionFixture : ::testing::Test {
  FakePlatform p;
  DeviceConnection connection{p.Ports(), p.boxes};

  void Open() {
    p.world.video.push_back(Driver());
    ASSERT_TRUE(connection.OpenDeviceConnection());
    p.journal.clear();
    p.world.propertyCalls.clear();
  }
};

TEST_F(ConnectionFixture, FailedOpenUninitialisesComAtOnceAndLeavesNoChannel) {
  EXPECT_FALSE(connection.OpenDeviceConnection());
  EXPECT_FALSE(connection.IsOpen());
  EXPECT_EQ(connection.Channel(), nullptr);
  EXPECT_EQ(p.journal.front(), "CoInitialize");
  EXPECT_EQ(p.journal.back(), "CoUninitialize");
  EXPECT_EQ(p.world.comInitialized, 0);
  size_t n = p.journal.size();
  connection.CloseDeviceConnection();
  EXPECT_EQ(p.journal.size(), n);
  EXPECT_EQ(p.world.comUninitializeCalls, 1);
}

TEST_F(ConnectionFixture, FilterWithoutInterfaceFailsTheOpenToo) {
  FakeDevice d = Driver();
  d.hasInterface = false;
  p.world.video.push_back(d);
  EXPECT_FALSE(connection.OpenDeviceConnection());
  EXPECT_EQ(p.world.comInitialized, 0);
  EXPECT_EQ(p.world.LiveReferences(), 0);
}

TEST_F(ConnectionFixture, OpenThenCloseReleasesTheInterfaceBeforeUninitialising) {
  p.world.video.push_back(Driver());
  ASSERT_TRUE(connection.OpenDeviceConnection());
  EXPECT_EQ(p.journal.front(), "CoInitialize");
  EXPECT_TRUE(connection.IsOpen());
  EXPECT_EQ(p.world.comInitialized, 1);
  EXPECT_EQ(p.world.LiveReferences(), 1);
  p.journal.clear();
  connection.CloseDeviceConnection();
  EXPECT_EQ(p.journal, (Journal{"Release driver video:USB K111 Device", "CoUninitialize"}));
  EXPECT_FALSE(connection.IsOpen());
  EXPECT_EQ(p.world.comInitialized, 0);
  connection.CloseDeviceConnection();
  EXPECT_EQ(p.world.comUninitializeCalls, 1);
}

TEST_F(ConnectionFixture, CloseWithoutOpenDoesNothing) {
  connection.CloseDeviceConnection();
  EXPECT_TRUE(p.journal.empty());
}

struct WarningCase {
  const char* name;
  int32_t readyResult, ready, detectResult;
  int32_t status;
  const char* box;  // null: none
};

TEST_F(ConnectionFixture, DetectI2cDeviceWarnsOnEveryFailure) {
  Open();
  const WarningCase cases[] = {
      {"detected", 0, 1, 0, 0, nullptr},
      {"not ready", 0, 0, 0, 21, "I2C device was powered down or not ready"},
      {"detection fails", 0, 1, E_FAIL_, E_FAIL_, "I2C device not detected"},
      {"detection positive", 0, 1, 2, 2, "I2C device not detected"},
      {"ready query fails", E_FAIL_, 1, 0, E_FAIL_, "I2C device not detected"},
  };
  for (const WarningCase& c : cases) {
    p.boxes.shown.clear();
    p.world.i2c.readyResult = c.readyResult;
    p.world.i2c.ready = c.ready;
    p.world.i2c.detectResult = c.detectResult;
    int32_t cell = 99;
    EXPECT_EQ(connection.DetectI2cDevice(0xA0, &cell), c.status) << c.name;
    if (c.box) {
      ASSERT_EQ(p.boxes.shown.size(), 1u) << c.name;
      EXPECT_EQ(p.boxes.shown[0].text, c.box) << c.name;
      EXPECT_EQ(p.boxes.shown[0].caption, "Norvane Custom Property Demo") << c.name;
      EXPECT_EQ(p.boxes.shown[0].icon, BoxIcon::Warning) << c.name;
      EXPECT_EQ(cell, 0) << c.name;
    } else {
      EXPECT_TRUE(p.boxes.shown.empty()) << c.name;
      EXPECT_EQ(cell, 0x5A) << c.name;  // what the driver gave
    }
  }
}

TEST_F(ConnectionFixture, ReadDeviceRegisterKeepsTheSavedValueUnlessTheReadGives0) {
  Open();
  p.world.i2c.registers[8] = 0xD0;
  int32_t saved = 0x77;
  EXPECT_EQ(connection.ReadDeviceRegister(0xA0, 8, saved), 0);
  EXPECT_EQ(saved, 0xD0);
  p.world.i2c.readResults[8] = E_FAIL_;
  EXPECT_EQ(connection.ReadDeviceRegister(0xA0, 8, saved = 0x77), E_FAIL_);
  EXPECT_EQ(saved, 0x77);
  p.world.i2c.readResults[8] = 1;
  EXPECT_EQ(connection.ReadDeviceRegister(0xA0, 8, saved), 1);
  EXPECT_EQ(saved, 0x77);
}

struct PairCase {
  const char* name;
  int32_t firstResult, secondResult;
  int32_t status, first, second;
};

TEST_F(ConnectionFixture, ReadDeviceRegisterPairSemantics) {
  Open();
  p.world.i2c.registers[37] = 0x11;
  p.world.i2c.registers[38] = 0x22;
  const PairCase cases[] = {
      {"both read", 0, 0, 0, 0x11, 0x22},
      {"first fails, second read: status 0, only the second", E_FAIL_, 0, 0, -1, 0x22},
      {"second fails: its status, only the first", 0, E_FAIL_, E_FAIL_, 0x11, -2},
      {"second positive: passed on", 0, 4, 4, 0x11, -2},
      {"both fail", E_FAIL_, E_FAIL_, E_FAIL_, -1, -2},
  };
  for (const PairCase& c : cases) {
    p.world.propertyCalls.clear();
    p.world.i2c.readResults[37] = c.firstResult;
    p.world.i2c.readResults[38] = c.secondResult;
    int32_t first = -1, second = -2;
    EXPECT_EQ(connection.ReadDeviceRegisterPair(0xA0, 37, first, second), c.status) << c.name;
    EXPECT_EQ(first, c.first) << c.name;
    EXPECT_EQ(second, c.second) << c.name;
    EXPECT_EQ(p.world.propertyCalls[0], "set 4103 0x01A02501") << c.name;
  }
}

TEST_F(ConnectionFixture, ReadDeviceRegisterPairUsesOneCellForBothReads) {
  Open();
  p.world.i2c.registers[37] = 0x33;
  p.world.i2c.silentReads.insert(38);  // answers 0 without filling the cell
  int32_t first = 0, second = 0;
  EXPECT_EQ(connection.ReadDeviceRegisterPair(0xA0, 37, first, second), 0);
  EXPECT_EQ(first, 0x33);
  EXPECT_EQ(second, 0x33);
}

TEST_F(ConnectionFixture, WriteDeviceRegisterSendsTheValueInOneByte) {
  Open();
  EXPECT_EQ(connection.WriteDeviceRegister(0xA0, 38, 1), 0);
  EXPECT_EQ(p.world.propertyCalls, (Calls{"set 4103 0x01A02601", "set 4104 0x00000001"}));
  p.world.i2c.writeResults[38] = 5;
  EXPECT_EQ(connection.WriteDeviceRegister(0xA0, 38, 1), 5);
}

TEST_F(ConnectionFixture, OperationsOnAClosedConnectionGive6AndCallNothing) {
  int32_t saved = 3, cell = 9;
  EXPECT_EQ(connection.ReadDeviceRegister(0xA0, 8, saved), kStatusNoInterface);
  EXPECT_EQ(connection.ReadDeviceRegisterPair(0xA0, 37, saved, saved), kStatusNoInterface);
  EXPECT_EQ(connection.WriteDeviceRegister(0xA0, 8, 0x50), kStatusNoInterface);
  EXPECT_EQ(saved, 3);
  EXPECT_EQ(connection.DetectI2cDevice(0xA0, &cell), kStatusNoInterface);
  EXPECT_EQ(cell, 0);
  EXPECT_TRUE(p.world.propertyCalls.empty());
}

}  // namespace
}  // namespace devmem_test
