#include "devmem/audio_class_switch.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_devmem.h"

namespace devmem_test {
namespace {

using Calls = std::vector<std::string>;

AudioClassInputs Inputs(int32_t isVista, int32_t xp, int32_t vol = 0, int32_t del = 0,
                        int32_t delMessage = 0) {
  return AudioClassInputs{isVista, xp, vol, del, delMessage};
}

// The data writes the switch made, "8:=0x50".
std::vector<std::string> Writes(const FakeDeviceWorld& world) {
  std::vector<std::string> out;
  std::string described;
  for (const std::string& c : world.propertyCalls) {
    if (c.rfind("set 4103 ", 0) == 0) described = c.substr(9);
    if (c.rfind("set 4104 ", 0) == 0) {
      uint32_t reg = (std::stoul(described, nullptr, 16) >> 8) & 0xFF;
      out.push_back(std::to_string(reg) + ":=0x" + c.substr(c.size() - 2));
    }
  }
  return out;
}

struct SwitchFixture : ::testing::Test {
  FakePlatform p;
  AudioClassSwitcher switcher{p.Ports(), p.boxes, p.pause, p.nodes};

  void SetUp() override {
    FakeDevice d;
    d.friendlyName = "USB K111 Device";
    p.world.video.push_back(d);
    // The pair at its wanted state unless a test says otherwise.
    p.world.i2c.registers[37] = 0;
    p.world.i2c.registers[38] = 1;
  }

  void ExpectClosed() {
    EXPECT_FALSE(switcher.Connection().IsOpen());
    EXPECT_EQ(p.world.comInitialized, 0);
    EXPECT_EQ(p.world.comInitializeCalls, 1);
    EXPECT_EQ(p.world.LiveReferences(), 0) << p.world.DescribeLive();
  }
};

TEST_F(SwitchFixture, XpClassTurnsTheAudioClassOffWithTheExactPropertySequence) {
  p.world.i2c.registers[8] = 0x50;
  EXPECT_EQ(switcher.SwitchAudioClass(Inputs(0, 0)), 1);
  EXPECT_EQ(p.world.i2c.registers[8], 0xD0);
  EXPECT_EQ(p.Effects(), (Calls{
                             "CoInitialize",
                             "set 4107 0x000000A0", "get 4116", "get 4115",
                             "set 4103 0x01A00801", "get 4104",
                             "set 4103 0x01A02501", "get 4104",
                             "set 4103 0x01A02601", "get 4104",
                             "set 4103 0x01A00801", "set 4104 0x000000D0",
                             "Release driver video:USB K111 Device",
                             "CoUninitialize",
                         }));
  EXPECT_EQ(switcher.SavedRegister8(), 0x50);
  EXPECT_EQ(switcher.SavedRegister37(), 0);
  EXPECT_EQ(switcher.SavedRegister38(), 1);
  EXPECT_EQ(p.nodes.calls, 0);
  ExpectClosed();
}

struct Register8Case {
  const char* name;
  int32_t isVista, xp, reg8;
  int32_t writeResult;
  const char* write;  // null: none
  int removals;
  int32_t result;
};

TEST_F(SwitchFixture, Register8Table) {
  const Register8Case cases[] = {
      {"XP audio class on, XP, 0xD0", 0, 1, 0xD0, 0, "8:=0x50", 1, 1},
      {"XP audio class on, Vista, 0xD0", 1, 1, 0xD0, 0, "8:=0x50", 1, 1},
      {"XP audio class on, 0x50", 0, 1, 0x50, 0, nullptr, 0, 0},
      {"XP audio class on, other value", 1, 1, 0x12, 0, nullptr, 0, 0},
      {"XP audio class on, write fails", 0, 1, 0xD0, E_FAIL_, "8:=0x50", 0, 0},
      {"XP audio class on, write positive", 0, 1, 0xD0, 1, "8:=0x50", 0, 0},
      {"Vista, off, 0xD0", 1, 0, 0xD0, 0, "8:=0x50", 0, 1},
      {"Vista, off, 0x50", 1, 0, 0x50, 0, nullptr, 0, 0},
      {"Vista, off, other value", 1, 0, 0x00, 0, nullptr, 0, 0},
      {"Vista, off, write fails", 1, 0, 0xD0, E_FAIL_, "8:=0x50", 0, 0},
      {"XP, off, 0x50", 0, 0, 0x50, 0, "8:=0xD0", 0, 1},
      {"XP, off, 0xD0", 0, 0, 0xD0, 0, nullptr, 0, 0},
      {"XP, off, other value", 0, 0, 0x51, 0, nullptr, 0, 0},
      {"XP, off, write fails", 0, 0, 0x50, E_FAIL_, "8:=0xD0", 0, 0},
      {"IsVista any non-zero", 7, 0, 0xD0, 0, "8:=0x50", 0, 1},
      {"EnableXPAudioClass any non-zero", 0, -1, 0xD0, 0, "8:=0x50", 1, 1},
  };
  for (const Register8Case& c : cases) {
    FakePlatform q;
    FakeDevice d;
    d.friendlyName = "USB K111 Device";
    q.world.video.push_back(d);
    q.world.i2c.registers = {{8, c.reg8}, {37, 0}, {38, 1}};
    q.world.i2c.writeResults[8] = c.writeResult;
    AudioClassSwitcher s(q.Ports(), q.boxes, q.pause, q.nodes);
    EXPECT_EQ(s.SwitchAudioClass(Inputs(c.isVista, c.xp, 1)), c.result) << c.name;
    EXPECT_EQ(Writes(q.world), c.write ? Calls{c.write} : Calls{}) << c.name;
    EXPECT_EQ(q.nodes.calls, c.removals) << c.name;
    EXPECT_TRUE(q.boxes.shown.empty()) << c.name;
    EXPECT_EQ(q.world.comInitialized, 0) << c.name;
    EXPECT_EQ(s.SavedRegister8(), c.reg8) << c.name;
  }
}

TEST_F(SwitchFixture, RemovalRunsRightAfterTheRegister8WriteAndBeforeTheVolumeStep) {
  p.world.i2c.registers[8] = 0xD0;
  p.world.i2c.registers[38] = 0;
  EXPECT_EQ(switcher.SwitchAudioClass(Inputs(0, 1, 1, 1, 0)), 1);
  std::vector<std::string> effects = p.Effects();
  ASSERT_GE(effects.size(), 12u);
  EXPECT_EQ(Calls(effects.end() - 12, effects.end()),
            (Calls{
                "RemoveMatchedDeviceNodes",
                "set 4103 0x01A00801", "set 4104 0x00000050",
                "RemoveMatchedDeviceNodes",
                "pause 200",
                "set 4103 0x01A02601", "set 4104 0x00000001",
                "pause 200",
                "set 4103 0x01A02501", "set 4104 0x00000000",
                "Release driver video:USB K111 Device",
                "CoUninitialize",
            }));
  EXPECT_EQ(p.nodes.calls, 2);
  ExpectClosed();
}

struct VolumeCase {
  const char* name;
  int32_t xp, vol, reg37, reg38;
  int32_t write38Result, write37Result;
  bool writes;
  int32_t result;
};

TEST_F(SwitchFixture, VolumeStepConditions) {
  const VolumeCase cases[] = {
      {"pair off its state", 1, 1, 5, 0, 0, 0, true, 1},
      {"38 is 0", 1, 1, 0, 0, 0, 0, true, 1},
      {"37 is 1", 1, 1, 1, 1, 0, 0, true, 1},
      {"already 37 = 0, 38 = 1", 1, 1, 0, 1, 0, 0, false, 0},
      {"EnableAudioVol off", 1, 0, 5, 0, 0, 0, false, 0},
      {"EnableXPAudioClass off", 0, 1, 5, 0, 0, 0, false, 0},
      {"register-37 write fails", 1, 1, 5, 0, 0, E_FAIL_, true, 0},
      {"register-37 write positive", 1, 1, 5, 0, 0, 2, true, 0},
      {"register-38 write fails, 37 decides", 1, 1, 5, 0, E_FAIL_, 0, true, 1},
  };
  for (const VolumeCase& c : cases) {
    FakePlatform q;
    FakeDevice d;
    d.friendlyName = "USB K111 Device";
    q.world.video.push_back(d);
    // 0x12 in register 8: no register-8 write on any path.
    q.world.i2c.registers = {{8, 0x12}, {37, c.reg37}, {38, c.reg38}};
    q.world.i2c.writeResults[38] = c.write38Result;
    q.world.i2c.writeResults[37] = c.write37Result;
    AudioClassSwitcher s(q.Ports(), q.boxes, q.pause, q.nodes);
    EXPECT_EQ(s.SwitchAudioClass(Inputs(0, c.xp, c.vol)), c.result) << c.name;
    Calls effects;
    for (const std::string& e : q.Effects())
      if (e.rfind("pause", 0) == 0 || e.rfind("set 4104", 0) == 0) effects.push_back(e);
    Calls want;
    if (c.writes)
      want = {"pause 200", "set 4104 0x00000001", "pause 200", "set 4104 0x00000000"};
    EXPECT_EQ(effects, want) << c.name;
    EXPECT_EQ(q.world.comInitialized, 0) << c.name;
  }
}

TEST_F(SwitchFixture, ConnectionThatDoesNotOpenDoesNothingAtAll) {
  p.world.video.clear();
  EXPECT_EQ(switcher.SwitchAudioClass(Inputs(0, 1, 1, 1, 1)), 0);
  EXPECT_EQ(p.nodes.calls, 0);
  EXPECT_TRUE(p.boxes.shown.empty());
  EXPECT_TRUE(p.world.propertyCalls.empty());
  EXPECT_EQ(p.Effects(), (Calls{"CoInitialize", "CoUninitialize"}));
  ExpectClosed();
}

TEST_F(SwitchFixture, DelAudioRegKeyRemovesAndAsksForARePlugOnlyWithItsMessageSetting) {
  p.world.i2c.registers[8] = 0xD0;
  EXPECT_EQ(switcher.SwitchAudioClass(Inputs(0, 0, 0, 1, 0)), 0);
  EXPECT_EQ(p.nodes.calls, 1);

  FakePlatform q;
  FakeDevice d;
  d.friendlyName = "USB K111 Device";
  q.world.video.push_back(d);
  q.world.i2c.registers = {{8, 0xD0}, {37, 0}, {38, 1}};
  AudioClassSwitcher s(q.Ports(), q.boxes, q.pause, q.nodes);
  EXPECT_EQ(s.SwitchAudioClass(Inputs(0, 0, 0, 1, 1)), 1);
  EXPECT_EQ(q.nodes.calls, 1);
  EXPECT_TRUE(Writes(q.world).empty());
}

TEST_F(SwitchFixture, FailedRegister38ReadWritesNothingButTheRemovalStillCounts) {
  p.world.i2c.registers[8] = 0x50;
  p.world.i2c.registers[38] = 0;
  p.world.i2c.readResults[38] = E_FAIL_;
  EXPECT_EQ(switcher.SwitchAudioClass(Inputs(0, 1, 1, 1, 1)), 1);
  EXPECT_EQ(p.nodes.calls, 1);
  EXPECT_TRUE(Writes(p.world).empty());
  EXPECT_EQ(p.journal.back(), "CoUninitialize");
  ExpectClosed();
}

TEST_F(SwitchFixture, FailedRegister38ReadWithoutRemovalGives0) {
  p.world.i2c.registers[8] = 0x50;
  p.world.i2c.readResults[38] = 1;  // positive: a failure too
  EXPECT_EQ(switcher.SwitchAudioClass(Inputs(0, 0)), 0);
  EXPECT_TRUE(Writes(p.world).empty());
  ExpectClosed();
}

TEST_F(SwitchFixture, FailedRegister8ReadCountsAs0AndIsNeverWritten) {
  p.world.i2c.registers[8] = 0x50;
  p.world.i2c.readResults[8] = E_FAIL_;
  EXPECT_EQ(switcher.SwitchAudioClass(Inputs(0, 0)), 0);
  EXPECT_EQ(switcher.SavedRegister8(), 0);
  EXPECT_TRUE(Writes(p.world).empty());
}

TEST_F(SwitchFixture, FailedRegister37ReadCountsAs0ForTheVolumeStep) {
  p.world.i2c.registers[8] = 0x50;
  p.world.i2c.registers[37] = 9;
  p.world.i2c.readResults[37] = E_FAIL_;
  EXPECT_EQ(switcher.SwitchAudioClass(Inputs(0, 1, 1)), 0);
  EXPECT_EQ(switcher.SavedRegister37(), 0);
  EXPECT_TRUE(Writes(p.world).empty());
}

struct WarningRun {
  const char* name;
  int32_t ready, detectResult;
  const char* box;
};

TEST_F(SwitchFixture, FailedDetectionWarnsAndTheReadsStillDecide) {
  const WarningRun runs[] = {
      {"not ready", 0, 0, "I2C device was powered down or not ready"},
      {"not detected", 1, E_FAIL_, "I2C device not detected"},
  };
  for (const WarningRun& r : runs) {
    FakePlatform q;
    FakeDevice d;
    d.friendlyName = "USB K111 Device";
    q.world.video.push_back(d);
    q.world.i2c.registers = {{8, 0x50}, {37, 0}, {38, 1}};
    q.world.i2c.ready = r.ready;
    q.world.i2c.detectResult = r.detectResult;
    AudioClassSwitcher s(q.Ports(), q.boxes, q.pause, q.nodes);
    EXPECT_EQ(s.SwitchAudioClass(Inputs(0, 0)), 1) << r.name;
    ASSERT_EQ(q.boxes.shown.size(), 1u) << r.name;
    EXPECT_EQ(q.boxes.shown[0].text, r.box) << r.name;
    EXPECT_EQ(q.boxes.shown[0].caption, "Norvane Custom Property Demo") << r.name;
    EXPECT_EQ(q.boxes.shown[0].icon, BoxIcon::Warning) << r.name;
    EXPECT_EQ(Writes(q.world), (Calls{"8:=0xD0"})) << r.name;
    // The box comes before any register is read.
    Calls effects = q.Effects();
    EXPECT_EQ(effects[effects.size() - 11].rfind("box ", 0), 0u) << r.name;
  }
}

TEST_F(SwitchFixture, FoundThroughAFallbackNameInTheBdaCategory) {
  p.world.video.clear();
  FakeDevice d;
  d.friendlyName = "USB K107 Device";
  p.world.bda.push_back(d);
  p.world.i2c.registers[8] = 0xD0;
  EXPECT_EQ(switcher.SwitchAudioClass(Inputs(1, 0)), 1);
  EXPECT_EQ(p.world.i2c.registers[8], 0x50);
  ExpectClosed();
}

}  // namespace
}  // namespace devmem_test
