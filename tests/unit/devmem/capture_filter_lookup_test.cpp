#include "devmem/capture_filter_lookup.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_devmem.h"

namespace devmem_test {
namespace {

FakeDevice Device(const std::string& name) {
  FakeDevice d;
  d.friendlyName = name;
  return d;
}

FakeDevice Unbindable(const std::string& name) {
  FakeDevice d = Device(name);
  d.bindResult = REGDB_E_CLASSNOTREG_;
  return d;
}

std::vector<std::string> Matching(const Journal& journal, const std::string& prefix) {
  std::vector<std::string> out;
  for (const std::string& e : journal)
    if (e.rfind(prefix, 0) == 0) out.push_back(e);
  return out;
}

struct LookupFixture : ::testing::Test {
  FakePlatform p;
  CaptureFilterLookup lookup{p.registry, p.world};
};

// ---- the filter-name rule --------------------------------------------------

struct MatchCase {
  const char* name;
  const char* friendlyName;
  const char* wanted;
  bool matches;
};

const MatchCase kMatchCases[] = {
    {"same name", "USB K111 Device", "USB K111 Device", true},
    {"more characters after the name", "USB K111 Device #2", "USB K111 Device", true},
    {"number right after the name", "USB K111 Device2", "USB K111 Device", true},
    {"letter case differs", "usb k111 device", "USB K111 Device", false},
    {"one letter's case differs", "USB K111 device", "USB K111 Device", false},
    {"friendly name shorter", "USB K111 Devic", "USB K111 Device", false},
    {"other model", "USB K112 Device", "USB K111 Device", false},
    {"wanted name is a prefix of the model", "USB K1119 Device", "USB K111", true},
    {"empty wanted, any name", "Anything at all", "", true},
    {"empty wanted, empty name", "", "", true},
    {"no name read", "", "USB K111 Device", false},
};

TEST(FilterNameRule, PrefixCaseSensitiveEmptyMatchesAll) {
  for (const MatchCase& c : kMatchCases) {
    EXPECT_EQ(FriendlyNameMatches(FilterNameText(c.friendlyName), FilterNameText(c.wanted)),
              c.matches)
        << c.name;
  }
}

// ---- the driver's registry key ---------------------------------------------

TEST_F(LookupFixture, RealDSNameReadFirstAndDSNameThenNotRead) {
  p.registry.SetText("RealDSName", "Real Name");
  p.registry.SetText("DSName", "Other Name");
  FilterNameText name;
  ASSERT_TRUE(lookup.ReadDriverFilterName(name));
  EXPECT_STREQ(name.c_str(), "Real Name");
  EXPECT_EQ(p.journal, (Journal{"RegOpen Software\\Varlink\\BDA read", "RegQuery RealDSName 256",
                                "RegClose"}));
}

TEST_F(LookupFixture, DSNameReadWith256AgainWhenRealDSNameTooLong) {
  p.registry.SetText("RealDSName", std::string(256, 'x'));  // 257 bytes with its NUL
  p.registry.SetText("DSName", "Short");
  FilterNameText name;
  ASSERT_TRUE(lookup.ReadDriverFilterName(name));
  EXPECT_STREQ(name.c_str(), "Short");
  EXPECT_EQ(p.journal, (Journal{"RegOpen Software\\Varlink\\BDA read", "RegQuery RealDSName 256",
                                "RegQuery DSName 256", "RegClose"}));
}

TEST_F(LookupFixture, NeitherValueLeavesTheNameUntouchedAndClosesTheKey) {
  p.registry.keyExists = true;
  FilterNameText name("kept");
  EXPECT_FALSE(lookup.ReadDriverFilterName(name));
  EXPECT_STREQ(name.c_str(), "kept");
  EXPECT_EQ(p.registry.openKeys, 0);
  EXPECT_EQ(p.journal.back(), "RegClose");
}

TEST_F(LookupFixture, NoKeyGivesNoName) {
  FilterNameText name("kept");
  EXPECT_FALSE(lookup.ReadDriverFilterName(name));
  EXPECT_STREQ(name.c_str(), "kept");
  EXPECT_EQ(p.journal, (Journal{"RegOpen Software\\Varlink\\BDA read"}));
}

TEST_F(LookupFixture, NameOfExactly256BytesWithoutTerminatorIsReadWholeAndNoFurther) {
  std::string stored(256, 'N');
  p.registry.SetBytes("RealDSName", stored);  // fills the buffer, no NUL
  FilterNameText name;
  ASSERT_TRUE(lookup.ReadDriverFilterName(name));
  EXPECT_EQ(std::string(name.c_str()), stored);
}

TEST_F(LookupFixture, AnyValueTypeGivesTheTextUpToItsFirstNul) {
  p.registry.SetBytes("RealDSName", std::string("USB K1\0junk", 11));
  FilterNameText name;
  ASSERT_TRUE(lookup.ReadDriverFilterName(name));
  EXPECT_STREQ(name.c_str(), "USB K1");
}

// ---- the trial order ---------------------------------------------------------

TEST_F(LookupFixture, FullTrialOrderWithTheDefaultNameSearchedAgainAsFallback11) {
  // One unbindable device per name in each category: each name's trials show
  // as one bind attempt per category, in the order the lookup tries them.
  for (const char* n : kFallbackFilterNames) {
    p.world.video.push_back(Unbindable(n));
    p.world.bda.push_back(Unbindable(n));
  }
  OwnedComReference iface = lookup.OpenCustomPropertyInterface();
  EXPECT_FALSE(iface.Held());

  std::vector<std::string> want;
  auto tried = [&](const std::string& n) {
    want.push_back("BindToObject video:" + n);
    want.push_back("BindToObject bda:" + n);
  };
  tried("USB K111 Device");
  for (const char* n : kFallbackFilterNames) tried(n);
  EXPECT_EQ(Matching(p.journal, "BindToObject"), want);

  std::vector<std::string> categories;
  for (int i = 0; i < 16; ++i) {
    categories.push_back("CreateClassEnumerator video");
    categories.push_back("CreateClassEnumerator bda");
  }
  EXPECT_EQ(Matching(p.journal, "CreateClassEnumerator"), categories);
  EXPECT_EQ(Matching(p.journal, "CreateSystemDeviceEnumerator").size(), 32u);
  EXPECT_EQ(p.world.LiveReferences(), 0) << p.world.DescribeLive();
}

TEST_F(LookupFixture, EarlierFallbackWinsOverLaterOneInAnEarlierCategory) {
  p.registry.SetText("RealDSName", "Not Present");
  p.world.video.push_back(Device("USB K105 Device"));
  p.world.bda.push_back(Device("USB K103 Device"));
  OwnedComReference iface = lookup.OpenCustomPropertyInterface();
  ASSERT_TRUE(iface.Held());
  EXPECT_EQ(p.world.LabelOf(iface.Get()), "driver bda:USB K103 Device");
  EXPECT_EQ(p.world.LiveReferences(), 1) << p.world.DescribeLive();
}

TEST_F(LookupFixture, WantedNameFoundNeedsNoFallback) {
  p.registry.SetText("DSName", "My Tuner");
  p.world.video.push_back(Device("USB K101 Device"));
  p.world.video.push_back(Device("My Tuner 2"));
  OwnedComReference iface = lookup.OpenCustomPropertyInterface();
  ASSERT_TRUE(iface.Held());
  EXPECT_EQ(p.world.LabelOf(iface.Get()), "driver video:My Tuner 2");
}

TEST_F(LookupFixture, VideoInputCategoryBeforeBda) {
  p.world.bda.push_back(Device("USB K111 Device"));
  p.world.video.push_back(Device("USB K111 Device"));
  OwnedComReference iface = lookup.OpenCustomPropertyInterface();
  ASSERT_TRUE(iface.Held());
  EXPECT_EQ(p.world.LabelOf(iface.Get()), "driver video:USB K111 Device");
  EXPECT_EQ(Matching(p.journal, "CreateClassEnumerator"), (Journal{"CreateClassEnumerator video"}));
}

TEST_F(LookupFixture, LetterCaseKeepsADeviceFromMatching) {
  p.world.video.push_back(Device("usb k111 device"));
  OwnedComReference iface = lookup.OpenCustomPropertyInterface();
  EXPECT_FALSE(iface.Held());
  EXPECT_TRUE(Matching(p.journal, "BindToObject").empty());
}

// ---- where each reference is taken and released -----------------------------

TEST_F(LookupFixture, FailedBindPassedOverEveryReferenceReleasedWhereItIsDone) {
  p.world.video.push_back(Unbindable("USB K111 Device"));
  p.world.video.push_back(Device("USB K111 Device B"));
  OwnedComReference iface = lookup.OpenCustomPropertyInterface();
  ASSERT_TRUE(iface.Held());
  EXPECT_EQ(p.world.LabelOf(iface.Get()), "driver video:USB K111 Device B");
  EXPECT_EQ(p.journal, (Journal{
                           "RegOpen Software\\Varlink\\BDA read",
                           "CreateSystemDeviceEnumerator",
                           "CreateClassEnumerator video",
                           "Release devenum",
                           "Reset classenum video",
                           "Next classenum video -> video:USB K111 Device",
                           "BindToStorage video:USB K111 Device",
                           "ReadFriendlyName video:USB K111 Device",
                           "Release bag video:USB K111 Device",
                           "BindToObject video:USB K111 Device",
                           "Release moniker video:USB K111 Device",
                           "Next classenum video -> video:USB K111 Device B",
                           "BindToStorage video:USB K111 Device B",
                           "ReadFriendlyName video:USB K111 Device B",
                           "Release bag video:USB K111 Device B",
                           "BindToObject video:USB K111 Device B",
                           "Release moniker video:USB K111 Device B",
                           "Release classenum video",
                           "QueryInterface video:USB K111 Device B",
                           "Release filter video:USB K111 Device B",
                       }));
  EXPECT_EQ(p.world.LiveReferences(), 1);
}

TEST_F(LookupFixture, CategoryWithoutDevicesIsNotFoundAndTheSearchMovesOn) {
  p.world.bda.push_back(Device("USB K111 Device"));
  OwnedComReference iface = lookup.OpenCustomPropertyInterface();
  ASSERT_TRUE(iface.Held());
  EXPECT_EQ(p.world.LabelOf(iface.Get()), "driver bda:USB K111 Device");
  std::vector<std::string> head(p.journal.begin() + 1, p.journal.begin() + 6);
  EXPECT_EQ(head, (Journal{"CreateSystemDeviceEnumerator", "CreateClassEnumerator video",
                           "Release devenum", "CreateSystemDeviceEnumerator",
                           "CreateClassEnumerator bda"}));
}

TEST_F(LookupFixture, FilterWithoutTheInterfaceEndsTheLookup) {
  FakeDevice plain = Device("USB K111 Device");
  plain.hasInterface = false;
  p.world.video.push_back(plain);
  p.world.video.push_back(Device("USB K101 Device"));  // would answer, never tried
  OwnedComReference iface = lookup.OpenCustomPropertyInterface();
  EXPECT_FALSE(iface.Held());
  EXPECT_EQ(Matching(p.journal, "CreateClassEnumerator"), (Journal{"CreateClassEnumerator video"}));
  EXPECT_EQ(p.journal.back(), "Release filter video:USB K111 Device");
  EXPECT_EQ(p.world.LiveReferences(), 0);
}

TEST_F(LookupFixture, EmptyWantedNameTakesTheFirstDeviceThatBinds) {
  p.registry.SetText("RealDSName", "");
  FakeDevice noBag = Device("Webcam");
  noBag.bagResult = E_FAIL_;
  p.world.video.push_back(noBag);
  p.world.video.push_back(Unbindable("Grabber"));
  FakeDevice unnamed = Device("Unnamed");
  unnamed.nameReadResult = E_FAIL_;
  p.world.video.push_back(unnamed);
  p.world.video.push_back(Device("USB K101 Device"));
  OwnedComReference iface = lookup.OpenCustomPropertyInterface();
  ASSERT_TRUE(iface.Held());
  // A device without a property bag is passed over; one whose name cannot
  // be read still matches the empty name.
  EXPECT_EQ(p.world.LabelOf(iface.Get()), "driver video:Unnamed");
  EXPECT_EQ(Matching(p.journal, "BindToObject"),
            (Journal{"BindToObject video:Grabber", "BindToObject video:Unnamed"}));
}

TEST_F(LookupFixture, EmptyWantedNameWithoutInterfaceTriesNoFallback) {
  p.registry.SetText("RealDSName", "");
  FakeDevice first = Device("Webcam");
  first.hasInterface = false;
  p.world.video.push_back(first);
  p.world.bda.push_back(Device("USB K101 Device"));
  EXPECT_FALSE(lookup.OpenCustomPropertyInterface().Held());
  EXPECT_EQ(Matching(p.journal, "CreateClassEnumerator"), (Journal{"CreateClassEnumerator video"}));
}

TEST_F(LookupFixture, UnreadableNameAfterAFailedMatchDoesNotMatchOnTheOldName) {
  p.world.video.push_back(Unbindable("USB K111 Device"));
  FakeDevice unreadable = Device("USB K111 Device (unreadable)");
  unreadable.nameReadResult = E_FAIL_;
  p.world.video.push_back(unreadable);
  FakeDevice tooLong = Device("USB K111 Device (does not fit)");
  tooLong.nameFits = false;
  p.world.video.push_back(tooLong);
  EXPECT_FALSE(lookup.FindFilterInCategory(DeviceCategory::VideoInput,
                                           FilterNameText("USB K111 Device"))
                   .Held());
  EXPECT_EQ(Matching(p.journal, "BindToObject"), (Journal{"BindToObject video:USB K111 Device"}));
  EXPECT_EQ(p.world.LiveReferences(), 0);
}

TEST_F(LookupFixture, BindGivingNoFilterIsPassedOver) {
  FakeDevice nullFilter = Device("USB K111 Device");
  nullFilter.bindGivesNull = true;
  p.world.video.push_back(nullFilter);
  p.world.video.push_back(Device("USB K111 Device"));
  OwnedComReference filter =
      lookup.FindFilterInCategory(DeviceCategory::VideoInput, FilterNameText("USB K111 Device"));
  ASSERT_TRUE(filter.Held());
  EXPECT_EQ(Matching(p.journal, "BindToObject").size(), 2u);
}

struct EnumeratorFailure {
  const char* name;
  int32_t createResult;
  bool createGivesNull;
  int32_t classResult;
};

TEST_F(LookupFixture, EnumeratorFailuresGiveNoFilterAndLeakNothing) {
  const EnumeratorFailure cases[] = {
      {"device enumerator fails", REGDB_E_CLASSNOTREG_, false, 0},
      {"device enumerator null", 0, true, 0},
      {"class enumerator fails", 0, false, E_FAIL_},
  };
  for (const EnumeratorFailure& c : cases) {
    FakePlatform q;
    q.world.video.push_back(Device("USB K111 Device"));
    q.world.createEnumeratorResult = c.createResult;
    q.world.createEnumeratorGivesNull = c.createGivesNull;
    q.world.classEnumeratorResult[0] = c.classResult;
    CaptureFilterLookup l(q.registry, q.world);
    EXPECT_FALSE(
        l.FindFilterInCategory(DeviceCategory::VideoInput, FilterNameText("USB K111 Device")).Held())
        << c.name;
    EXPECT_EQ(q.world.LiveReferences(), 0) << c.name << ": " << q.world.DescribeLive();
    EXPECT_TRUE(Matching(q.journal, "Next").empty()) << c.name;
  }
}

TEST_F(LookupFixture, NothingFoundLeaksNothingAndFallsThroughAllNames) {
  p.world.video.push_back(Device("Webcam"));
  EXPECT_FALSE(lookup.OpenCustomPropertyInterface().Held());
  EXPECT_EQ(Matching(p.journal, "Release classenum").size(), 16u);
  EXPECT_EQ(Matching(p.journal, "Release moniker").size(), 16u);
  EXPECT_EQ(p.world.LiveReferences(), 0);
}

}  // namespace
}  // namespace devmem_test
