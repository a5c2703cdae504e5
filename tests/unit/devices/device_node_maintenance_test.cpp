#include "devices/device_node_maintenance.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_device_nodes.h"

namespace {

using Calls = std::vector<std::string>;

const char kTunerA[] = "USB\\VID_1234&PID_5678";
const char kTunerB[] = "USB\\VID_1234&PID_9ABC";

FakeNode Node(std::initializer_list<const char*> ids, bool present = true) {
  FakeNode n;
  n.ids = MultiSz(ids);
  n.present = present;
  return n;
}

FakeNode NodeWithoutIds(bool present = true) {
  FakeNode n;
  n.hasIds = false;
  n.present = present;
  return n;
}

DeviceIdTable Table(std::initializer_list<const char*> prefixes) {
  DeviceIdTable t;
  int i = 0;
  for (const char* p : prefixes) t.entries[i++].DevDrvID.Assign(p);
  return t;
}

class DeviceNodeMaintenanceTest : public ::testing::Test {
 protected:
  void TearDown() override {
    EXPECT_EQ(fake.OpenSets(), 0) << "a device set was not handed back";
    EXPECT_TRUE(fake.faults.empty()) << fake.faults.front();
  }

  std::vector<std::string> Matched() const {
    std::vector<std::string> r;
    for (int32_t i = 0; i < maintenance.MatchedIdCount(); ++i) r.push_back(maintenance.MatchedId(i));
    return r;
  }

  // Collects with the given prefixes, then forgets the calls it made.
  void CollectWith(std::initializer_list<const char*> prefixes) {
    DeviceIdTable t = Table(prefixes);
    maintenance.CollectMatchedIds(t, static_cast<int32_t>(prefixes.size()));
    fake.calls.clear();
  }

  FakeDeviceNodes fake;
  DeviceNodeMaintenance maintenance{fake};
};

TEST_F(DeviceNodeMaintenanceTest, CollectListsTheConfiguredTextOfAPresentDevice) {
  fake.nodes = {Node({"PCI\\VEN_8086&DEV_1237"}), Node({"USB\\VID_1234&PID_5678&REV_0100", kTunerA})};
  DeviceIdTable t = Table({kTunerA});

  EXPECT_EQ(maintenance.CollectMatchedIds(t, 1), 1);

  EXPECT_EQ(Matched(), (std::vector<std::string>{kTunerA}));
  EXPECT_EQ(fake.calls, (Calls{"open present", "has 0", "read 0 256", "has 1", "read 1 256", "has 2", "close"}));
}

struct CollectCase {
  const char* name;
  std::vector<FakeNode> nodes;
  std::vector<const char*> prefixes;
  std::vector<std::string> matched;
};

TEST_F(DeviceNodeMaintenanceTest, CollectAppliesThePrefixRuleToEachPresentDevice) {
  const CollectCase cases[] = {
      {"prefix in lower case", {Node({"USB\\VID_1234&PID_5678"})}, {"usb\\vid_1234"}, {"usb\\vid_1234"}},
      {"only a later ID of the list", {Node({"USB\\COMPOSITE", kTunerA})}, {"USB\\VID_1234"}, {}},
      {"first ID shorter than the prefix", {Node({"USB\\VID_12"})}, {"USB\\VID_1234"}, {}},
      {"non-letter bytes exact", {Node({"USB|VID_1234"})}, {"USB\\VID_1234"}, {}},
      {"one device, two prefixes, table order",
       {Node({kTunerA})},
       {"USB\\VID_1234&PID_5678", "OTHER", "usb\\VID_1234"},
       {"USB\\VID_1234&PID_5678", "usb\\VID_1234"}},
      {"found in device order", {Node({kTunerB}), Node({kTunerA})}, {kTunerA, kTunerB}, {kTunerB, kTunerA}},
      {"an absent device is not looked at", {Node({kTunerA}, false)}, {kTunerA}, {}},
      {"empty prefix matches nothing", {Node({kTunerA}), Node({"ROOT\\MONITOR"})}, {"", kTunerA}, {kTunerA}},
  };
  for (const CollectCase& c : cases) {
    FakeDeviceNodes nodes;
    nodes.nodes = c.nodes;
    DeviceNodeMaintenance m(nodes);
    DeviceIdTable t;
    for (size_t i = 0; i < c.prefixes.size(); ++i) t.entries[i].DevDrvID.Assign(c.prefixes[i]);

    int32_t count = m.CollectMatchedIds(t, static_cast<int32_t>(c.prefixes.size()));

    std::vector<std::string> got;
    for (int32_t i = 0; i < m.MatchedIdCount(); ++i) got.push_back(m.MatchedId(i));
    EXPECT_EQ(got, c.matched) << c.name;
    EXPECT_EQ(count, static_cast<int32_t>(c.matched.size())) << c.name;
    EXPECT_EQ(nodes.OpenSets(), 0) << c.name;
  }
}

TEST_F(DeviceNodeMaintenanceTest, TwoDevicesOfOnePrefixListItTwiceAndRemoveEachNodeTwice) {
  fake.nodes = {Node({kTunerA}), Node({"ROOT\\MONITOR"}), Node({kTunerB})};
  CollectWith({"USB\\VID_1234"});
  EXPECT_EQ(Matched(), (std::vector<std::string>{"USB\\VID_1234", "USB\\VID_1234"}));

  EXPECT_EQ(maintenance.RemoveMatchedDeviceNodes(), 1);

  EXPECT_EQ(fake.calls, (Calls{"open all", "has 0", "read 0 0", "read 0 23", "remove 0", "remove 0", "has 1",
                               "read 1 0", "read 1 14", "has 2", "read 2 0", "read 2 23", "remove 2",
                               "remove 2", "has 3", "close"}));
}

TEST_F(DeviceNodeMaintenanceTest, CollectGrowsTheBufferToTheReportedSizeAndKeepsItForLaterDevices) {
  std::string longId(299, 'X');
  FakeNode big = Node({longId.c_str()});  // 301 bytes
  big.forcedReads = {{HardwareIdOutcome::InsufficientBuffer, 280}};  // first asks for less than it needs
  fake.nodes = {big, Node({kTunerA})};
  DeviceIdTable t = Table({"XXX", kTunerA});

  EXPECT_EQ(maintenance.CollectMatchedIds(t, 2), 2);

  EXPECT_EQ(fake.Reads(), (Calls{"read 0 256", "read 0 280", "read 0 301", "read 1 301"}));
  EXPECT_EQ(Matched(), (std::vector<std::string>{"XXX", kTunerA}));
}

TEST_F(DeviceNodeMaintenanceTest, ANodeAskingForMoreThanTheBoundIsPassedOver) {
  FakeNode huge = Node({kTunerA});
  huge.forcedReads = {{HardwareIdOutcome::InsufficientBuffer, kHardwareIdBufferLimit + 1}};
  FakeNode shrinking = Node({kTunerA});
  shrinking.forcedReads = {{HardwareIdOutcome::InsufficientBuffer, 100}};  // no more than it has
  FakeNode atBound = Node({kTunerA});
  atBound.forcedReads = {{HardwareIdOutcome::InsufficientBuffer, kHardwareIdBufferLimit}};
  fake.nodes = {huge, shrinking, atBound, Node({kTunerA})};
  DeviceIdTable t = Table({kTunerA});

  EXPECT_EQ(maintenance.CollectMatchedIds(t, 1), 2);

  EXPECT_EQ(fake.Reads(), (Calls{"read 0 256", "read 1 256", "read 2 256", "read 2 4096", "read 3 4096"}));
}

TEST_F(DeviceNodeMaintenanceTest, ANodeWhoseSizeNeverSettlesIsPassedOver) {
  FakeNode restless = Node({kTunerA});
  for (uint32_t size = 300; size < 300 + 20 * 10; size += 10)
    restless.forcedReads.push_back({HardwareIdOutcome::InsufficientBuffer, size});
  fake.nodes = {restless, Node({kTunerA})};
  DeviceIdTable t = Table({kTunerA});

  EXPECT_EQ(maintenance.CollectMatchedIds(t, 1), 1);

  Calls reads = fake.Reads();
  ASSERT_EQ(reads.size(), 10u);  // the first read and eight growths, then the next device
  EXPECT_EQ(reads[8], "read 0 370");
  EXPECT_EQ(reads[9], "read 1 370");
}

TEST_F(DeviceNodeMaintenanceTest, CollectSkipsADeviceWithoutHardwareIds) {
  fake.nodes = {NodeWithoutIds(), Node({kTunerA})};
  DeviceIdTable t = Table({kTunerA});

  EXPECT_EQ(maintenance.CollectMatchedIds(t, 1), 1);

  EXPECT_EQ(fake.calls, (Calls{"open present", "has 0", "read 0 256", "has 1", "read 1 256", "has 2", "close"}));
}

TEST_F(DeviceNodeMaintenanceTest, CollectEndsTheScanAtAnotherReadErrorAndKeepsWhatItFound) {
  FakeNode broken = Node({kTunerA});
  broken.forcedReads = {{HardwareIdOutcome::OtherError, 0}};
  fake.nodes = {Node({kTunerA}), broken, Node({kTunerB})};
  DeviceIdTable t = Table({"USB\\VID_1234"});

  EXPECT_EQ(maintenance.CollectMatchedIds(t, 1), 1);

  EXPECT_EQ(maintenance.MatchedIdCount(), 1);
  EXPECT_EQ(fake.calls, (Calls{"open present", "has 0", "read 0 256", "has 1", "read 1 256", "close"}));
}

TEST_F(DeviceNodeMaintenanceTest, CollectEndsTheScanWhenAGrowthReadFails) {
  FakeNode broken = Node({std::string(400, 'U').c_str()});
  broken.forcedReads = {{HardwareIdOutcome::InsufficientBuffer, 402}, {HardwareIdOutcome::OtherError, 0}};
  fake.nodes = {broken, Node({kTunerA})};
  DeviceIdTable t = Table({kTunerA});

  EXPECT_EQ(maintenance.CollectMatchedIds(t, 1), 0);

  EXPECT_EQ(fake.calls, (Calls{"open present", "has 0", "read 0 256", "read 0 402", "close"}));
}

TEST_F(DeviceNodeMaintenanceTest, CollectListsAtMostTenAndWritesNothingPastTheList) {
  for (int i = 0; i < 6; ++i) fake.nodes.push_back(Node({kTunerA}));
  DeviceIdTable t = Table({"USB\\VID_1234", "usb\\vid_1234&pid_5678"});  // two entries per device

  EXPECT_EQ(maintenance.CollectMatchedIds(t, 2), 10);

  EXPECT_EQ(maintenance.MatchedIdCount(), 10);
  for (int32_t i = 0; i < 10; ++i)
    EXPECT_STREQ(maintenance.MatchedId(i), i % 2 ? "usb\\vid_1234&pid_5678" : "USB\\VID_1234") << i;
  EXPECT_STREQ(maintenance.MatchedId(10), "");
  EXPECT_STREQ(maintenance.MatchedId(-1), "");
  // The list is full after the fifth device: the scan stops there.
  EXPECT_EQ(fake.Reads().size(), 5u);
  EXPECT_EQ(fake.calls.back(), "close");
}

TEST_F(DeviceNodeMaintenanceTest, ElevenMatchesLeaveTheEleventhOut) {
  for (int i = 0; i < 11; ++i) fake.nodes.push_back(Node({(std::string("USB\\VID_000") + char('A' + i)).c_str()}));
  DeviceIdTable t = Table({"USB\\VID_000"});

  EXPECT_EQ(maintenance.CollectMatchedIds(t, 1), 10);

  EXPECT_EQ(Matched(), std::vector<std::string>(10, "USB\\VID_000"));
}

TEST_F(DeviceNodeMaintenanceTest, ACountOfZeroOrLessMatchesNothingAndRemovesNothing) {
  for (int32_t count : {0, -1, INT32_MIN}) {
    FakeDeviceNodes nodes;
    nodes.nodes = {Node({kTunerA}), Node({kTunerB}, false)};
    DeviceNodeMaintenance m(nodes);
    DeviceIdTable t = Table({kTunerA, kTunerB});

    EXPECT_EQ(m.CollectMatchedIds(t, count), 0) << count;
    EXPECT_EQ(m.MatchedIdCount(), 0) << count;
    EXPECT_STREQ(m.MatchedId(0), "") << count;
    EXPECT_EQ(m.RemoveMatchedDeviceNodes(), 1) << count;

    EXPECT_EQ(nodes.Removals(), Calls{}) << count;
    EXPECT_EQ(nodes.Reads().size(), 1u + 4u) << count;  // the scans still ran
    EXPECT_EQ(nodes.OpenSets(), 0) << count;
  }
}

TEST_F(DeviceNodeMaintenanceTest, NothingCollectedMeansTheRemovalScansAndRemovesNothing) {
  fake.nodes = {Node({kTunerA})};

  EXPECT_EQ(maintenance.RemoveMatchedDeviceNodes(), 1);

  EXPECT_EQ(fake.calls, (Calls{"open all", "has 0", "read 0 0", "read 0 23", "has 1", "close"}));
}

TEST_F(DeviceNodeMaintenanceTest, ACountAboveTheTableUsesTheWholeTable) {
  fake.nodes = {Node({"ROOT\\TENTH"})};
  DeviceIdTable t;
  for (int i = 0; i < kDeviceIdTableSize; ++i) t.entries[i].DevDrvID.Assign("NOTHING");
  t.entries[kDeviceIdTableSize - 1].DevDrvID.Assign("ROOT\\TENTH");

  EXPECT_EQ(maintenance.CollectMatchedIds(t, 11), 1);
  EXPECT_STREQ(maintenance.MatchedId(0), "ROOT\\TENTH");
}

TEST_F(DeviceNodeMaintenanceTest, APrefixWhoseDeviceWasAbsentAtStartUpRemovesNothingLater) {
  fake.nodes = {
      Node({"ROOT\\MONITOR"}),
      Node({kTunerA}),          // plugged in
      Node({kTunerB}, false),   // configured, not plugged in: left from an earlier install
      Node({kTunerA}, false),   // an earlier node of the plugged-in device
      Node({kTunerB}, false),
  };
  CollectWith({kTunerA, kTunerB});
  EXPECT_EQ(Matched(), (std::vector<std::string>{kTunerA}));

  EXPECT_EQ(maintenance.RemoveMatchedDeviceNodes(), 1);

  EXPECT_EQ(fake.Removals(), (Calls{"remove 1", "remove 3"}));
  EXPECT_EQ(fake.nodes[1].removals, 1);
  EXPECT_EQ(fake.nodes[3].removals, 1);
  EXPECT_EQ(fake.nodes[2].removals + fake.nodes[4].removals + fake.nodes[0].removals, 0);
}

TEST_F(DeviceNodeMaintenanceTest, AnEmptyPrefixRemovesNoNodeOfTheSystem) {
  fake.nodes = {Node({"ROOT\\MONITOR"}), Node({"HID\\VID_845E"}), Node({kTunerA}), Node({"PCI\\VEN_8086"})};
  DeviceIdTable t = Table({"", kTunerA, ""});
  EXPECT_EQ(maintenance.CollectMatchedIds(t, 3), 1);

  EXPECT_EQ(maintenance.RemoveMatchedDeviceNodes(), 1);

  EXPECT_EQ(fake.Removals(), (Calls{"remove 2"}));
}

TEST_F(DeviceNodeMaintenanceTest, RemovalGrowsEachNodesBufferFromNothing) {
  FakeNode restated = Node({kTunerA});
  restated.forcedReads = {{HardwareIdOutcome::InsufficientBuffer, 10}};
  fake.nodes = {Node({kTunerA}), restated};
  CollectWith({kTunerA});
  fake.nodes[1].forcedReads = {{HardwareIdOutcome::InsufficientBuffer, 10}};

  EXPECT_EQ(maintenance.RemoveMatchedDeviceNodes(), 1);

  EXPECT_EQ(fake.calls, (Calls{"open all", "has 0", "read 0 0", "read 0 23", "remove 0", "has 1", "read 1 0",
                               "read 1 10", "read 1 23", "remove 1", "has 2", "close"}));
}

TEST_F(DeviceNodeMaintenanceTest, RemovalSkipsNodesWithoutIdsAndPassesOverOversizedOnes) {
  fake.nodes = {Node({kTunerA}), NodeWithoutIds(false), Node({kTunerA}, false), Node({kTunerA}, false)};
  CollectWith({kTunerA});
  fake.nodes[2].forcedReads = {{HardwareIdOutcome::InsufficientBuffer, kHardwareIdBufferLimit + 1}};

  EXPECT_EQ(maintenance.RemoveMatchedDeviceNodes(), 1);

  EXPECT_EQ(fake.Removals(), (Calls{"remove 0", "remove 3"}));
  EXPECT_EQ(fake.Reads(), (Calls{"read 0 0", "read 0 23", "read 1 0", "read 2 0", "read 3 0", "read 3 23"}));
}

TEST_F(DeviceNodeMaintenanceTest, RemovalEndsTheWholeScanAtAnotherReadError) {
  fake.nodes = {Node({kTunerA}), Node({kTunerA}, false), Node({kTunerA}, false)};
  CollectWith({kTunerA});
  fake.nodes[1].forcedReads = {{HardwareIdOutcome::InsufficientBuffer, 23}, {HardwareIdOutcome::OtherError, 0}};

  EXPECT_EQ(maintenance.RemoveMatchedDeviceNodes(), 1);

  EXPECT_EQ(fake.calls, (Calls{"open all", "has 0", "read 0 0", "read 0 23", "remove 0", "has 1", "read 1 0",
                               "read 1 23", "close"}));
}

TEST_F(DeviceNodeMaintenanceTest, AFailedRemovalIsNotNoticedAndTheScanGoesOn) {
  fake.nodes = {Node({kTunerA}), Node({kTunerA}, false)};
  CollectWith({kTunerA});
  fake.nodes[0].removalFails = true;

  EXPECT_EQ(maintenance.RemoveMatchedDeviceNodes(), 1);

  EXPECT_EQ(fake.Removals(), (Calls{"remove 0", "remove 1"}));
  EXPECT_EQ(fake.nodes[0].removals, 0);
  EXPECT_EQ(fake.nodes[1].removals, 1);
}

TEST_F(DeviceNodeMaintenanceTest, EachRemovalScansTheSystemAnew) {
  fake.nodes = {Node({kTunerA})};
  CollectWith({kTunerA});
  fake.nodes.push_back(Node({kTunerA}, false));

  EXPECT_EQ(maintenance.RemoveMatchedDeviceNodes(), 1);
  EXPECT_EQ(maintenance.RemoveMatchedDeviceNodes(), 1);

  EXPECT_EQ(fake.Removals(), (Calls{"remove 0", "remove 1", "remove 0", "remove 1"}));
  EXPECT_EQ(maintenance.MatchedIdCount(), 1);
}

TEST_F(DeviceNodeMaintenanceTest, AListNotEndingInItsTerminatorsIsComparedOnlyAsFarAsItWasStored) {
  FakeNode cut = Node({"USB\\VID_1234&PID_5678"});
  cut.reportedBytes = 12;  // "USB\VID_1234", no terminator; the rest is leftovers
  fake.nodes = {cut};
  DeviceIdTable t = Table({"USB\\VID_1234&PID", "USB\\VID_1234"});
  EXPECT_EQ(maintenance.CollectMatchedIds(t, 2), 1);
  EXPECT_STREQ(maintenance.MatchedId(0), "USB\\VID_1234");

  FakeNode overstated = Node({"USB\\VID_1234"});
  overstated.reportedBytes = 100000;  // more than the buffer: the buffer's end bounds it
  fake.nodes = {overstated};
  fake.calls.clear();
  EXPECT_EQ(maintenance.RemoveMatchedDeviceNodes(), 1);
  EXPECT_EQ(fake.Removals(), (Calls{"remove 0"}));
}

TEST_F(DeviceNodeMaintenanceTest, NoDeviceSetLeavesTheListAsItWasAndTouchesNothing) {
  fake.nodes = {Node({kTunerA})};
  CollectWith({kTunerA});
  fake.failOpen = true;
  DeviceIdTable t = Table({kTunerB});

  EXPECT_EQ(maintenance.CollectMatchedIds(t, 1), 0);
  EXPECT_EQ(Matched(), (std::vector<std::string>{kTunerA}));
  EXPECT_EQ(maintenance.RemoveMatchedDeviceNodes(), 0);

  EXPECT_EQ(fake.calls, (Calls{"open present", "open all"}));
}

TEST_F(DeviceNodeMaintenanceTest, NoDeviceSetAtStartUpLeavesTheCountAtZero) {
  fake.failOpen = true;
  DeviceIdTable t = Table({kTunerA});

  EXPECT_EQ(maintenance.CollectMatchedIds(t, 1), 0);

  EXPECT_EQ(maintenance.MatchedIdCount(), 0);
  EXPECT_STREQ(maintenance.MatchedId(0), "");
}

TEST_F(DeviceNodeMaintenanceTest, ASecondCollectionStartsTheListAfresh) {
  fake.nodes = {Node({kTunerA}), Node({kTunerB})};
  CollectWith({kTunerA, kTunerB});
  ASSERT_EQ(maintenance.MatchedIdCount(), 2);
  DeviceIdTable t = Table({kTunerB});

  EXPECT_EQ(maintenance.CollectMatchedIds(t, 1), 1);
  EXPECT_EQ(Matched(), (std::vector<std::string>{kTunerB}));
}

// Every way out of a scan hands its set back: the fixture checks the count,
// these check that the close is the last call.
TEST_F(DeviceNodeMaintenanceTest, TheSetIsHandedBackLastOnEveryWayOut) {
  struct Path {
    const char* name;
    HardwareIdRead firstRead;
  };
  const Path paths[] = {
      {"ends normally", {HardwareIdOutcome::Ok, 0}},
      {"read error", {HardwareIdOutcome::OtherError, 0}},
      {"no hardware ID", {HardwareIdOutcome::NoHardwareId, 0}},
      {"oversized", {HardwareIdOutcome::InsufficientBuffer, kHardwareIdBufferLimit * 2}},
  };
  for (const Path& p : paths) {
    FakeDeviceNodes nodes;
    nodes.nodes = {Node({kTunerA}), Node({kTunerA})};
    DeviceNodeMaintenance m(nodes);
    DeviceIdTable t = Table({kTunerA});
    if (p.firstRead.outcome != HardwareIdOutcome::Ok) nodes.nodes[0].forcedReads = {p.firstRead};
    m.CollectMatchedIds(t, 1);
    if (p.firstRead.outcome != HardwareIdOutcome::Ok) nodes.nodes[0].forcedReads = {p.firstRead};
    m.RemoveMatchedDeviceNodes();

    int closes = 0;
    for (const std::string& c : nodes.calls) closes += c == "close";
    EXPECT_EQ(closes, 2) << p.name;
    EXPECT_EQ(nodes.calls.back(), "close") << p.name;
    EXPECT_EQ(nodes.OpenSets(), 0) << p.name;
    EXPECT_TRUE(nodes.faults.empty()) << p.name;
  }
}

}  // namespace
