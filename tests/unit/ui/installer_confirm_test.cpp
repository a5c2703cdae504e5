// The scan of the desktop for the update installer's dialogs: which buttons
// are pressed, in which order, and when the closing dialog ends.
#include "ui/installer_confirm.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "fake_desktop.h"

namespace {

using Log = std::vector<std::string>;

// A dialog of the first shape: the static marker first, then its buttons.
WindowRef MarkedDialog(FakeDesktop& d, const std::string& name, std::vector<int32_t> buttons,
                       const std::string& markerClass = "Static", int32_t markerId = 0xCAFE) {
  WindowRef dialog = d.Add(d.Root(), "#32770", 0, name);
  d.Add(dialog, markerClass, markerId, name + ".marker");
  for (int32_t id : buttons) d.Add(dialog, "Button", id, name + ".b" + std::to_string(id));
  return dialog;
}

// A dialog of the second shape: some text, then the pane as its last child,
// the edit marker first in the pane, then the pane's buttons.
WindowRef PaneDialog(FakeDesktop& d, const std::string& name, std::vector<int32_t> buttons,
                     const std::string& markerClass = "Edit", int32_t markerId = 0xFBAE) {
  WindowRef dialog = d.Add(d.Root(), "#32770", 0, name);
  d.Add(dialog, "Static", 0xFFFF, name + ".text");
  WindowRef pane = d.Add(dialog, "#32770", 0, name + ".pane");
  d.Add(pane, markerClass, markerId, name + ".marker");
  for (int32_t id : buttons) d.Add(pane, "Button", id, name + ".b" + std::to_string(id));
  return dialog;
}

// The closing dialog's own window as its template makes it.
WindowRef OwnDialog(FakeDesktop& d) {
  WindowRef dialog = d.Add(d.Root(), "#32770", 0, "own");
  d.Add(dialog, "Button", 1, "own.ok");
  d.Add(dialog, "Button", 2, "own.cancel");
  return dialog;
}

Log Press(const std::string& label) { return {label + " down 1 0", label + " up 0 0"}; }

Log Cat(std::initializer_list<Log> parts) {
  Log all;
  for (const Log& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

const Log kEnd = {"end"};

struct ScanCase {
  const char* name;
  std::function<void(FakeDesktop&)> build;
  Log expected;
};

void PrintTo(const ScanCase& c, std::ostream* os) { *os << c.name; }

class ScanTest : public testing::TestWithParam<ScanCase> {};

TEST_P(ScanTest, PressesAndEnds) {
  FakeDesktop desktop;
  GetParam().build(desktop);
  ConfirmInstallerDialogs(desktop, desktop);
  EXPECT_EQ(GetParam().expected, desktop.Log());
  for (int32_t capacity : desktop.ClassNameCapacities()) EXPECT_EQ(128, capacity);
}

const ScanCase kScanCases[] = {
    {"NothingOnTheDesktop", [](FakeDesktop&) {}, {}},
    {"OwnWindowNeverMatches", [](FakeDesktop& d) { OwnDialog(d); }, {}},
    {"Pass1OkThenCancelPressesOkOnly", [](FakeDesktop& d) { MarkedDialog(d, "A", {1, 2}); },
     Press("A.b1")},
    {"Pass1CancelThenOkPressesBothAndEnds", [](FakeDesktop& d) { MarkedDialog(d, "A", {2, 1}); },
     Cat({Press("A.b2"), kEnd, Press("A.b1")})},
    {"Pass1LoneCancelEnds", [](FakeDesktop& d) { MarkedDialog(d, "A", {2}); },
     Cat({Press("A.b2"), kEnd})},
    {"Pass1OtherIdentifiersPassedOver", [](FakeDesktop& d) { MarkedDialog(d, "A", {3, 0, 1, 2}); },
     Press("A.b1")},
    {"Pass1TwoCancelsBothPressed", [](FakeDesktop& d) { MarkedDialog(d, "A", {2, 2}); },
     Cat({Press("A.b2"), kEnd, Press("A.b2"), kEnd})},
    {"Pass1TwoMarkedDialogsInOneTick",
     [](FakeDesktop& d) {
       MarkedDialog(d, "A", {1, 2});
       OwnDialog(d);
       MarkedDialog(d, "B", {2});
     },
     Cat({Press("A.b1"), Press("B.b2"), kEnd})},
    {"Pass1MarkerWithOtherIdentifier", [](FakeDesktop& d) { MarkedDialog(d, "A", {2, 1}, "Static", 0xCAFF); },
     {}},
    {"Pass1MarkerOfOtherClass", [](FakeDesktop& d) { MarkedDialog(d, "A", {2, 1}, "Edit", 0xCAFE); },
     {}},
    {"Pass1MarkerClassInOtherCase", [](FakeDesktop& d) { MarkedDialog(d, "A", {2, 1}, "static"); }, {}},
    {"Pass1MarkerClassLongerThanStatic", [](FakeDesktop& d) { MarkedDialog(d, "A", {2, 1}, "StaticX"); },
     {}},
    {"Pass1MarkerClassShorterThanStatic", [](FakeDesktop& d) { MarkedDialog(d, "A", {2, 1}, "Stati"); },
     {}},
    {"Pass1MarkerClassOver127CharactersCut",
     [](FakeDesktop& d) { MarkedDialog(d, "A", {2, 1}, "Static" + std::string(300, 'x')); }, {}},
    {"Pass1MarkerNotFirstChild",
     [](FakeDesktop& d) {
       WindowRef dialog = d.Add(d.Root(), "#32770", 0, "A");
       d.Add(dialog, "Button", 2, "A.b2");
       d.Add(dialog, "Static", 0xCAFE, "A.marker");
     },
     {}},
    {"Pass1MarkedWindowOfOtherClass",
     [](FakeDesktop& d) {
       WindowRef window = d.Add(d.Root(), "#32771", 0, "A");
       d.Add(window, "Static", 0xCAFE, "A.marker");
       d.Add(window, "Button", 2, "A.b2");
     },
     {}},
    {"Pass1ButtonsInsideChildPaneNotPressed",
     [](FakeDesktop& d) {
       WindowRef dialog = MarkedDialog(d, "A", {});
       WindowRef pane = d.Add(dialog, "#32770", 0, "A.pane");
       d.Add(pane, "Button", 2, "A.pane.b2");
       d.Add(pane, "Button", 1, "A.pane.b1");
     },
     {}},
    {"Pass1OnlyButtonClassPressed",
     [](FakeDesktop& d) {
       WindowRef dialog = MarkedDialog(d, "A", {});
       d.Add(dialog, "Edit", 2, "A.edit2");
       d.Add(dialog, "Static", 1, "A.static1");
       d.Add(dialog, "Button", 1, "A.b1");
     },
     Press("A.b1")},
    {"Pass2PressesFirstOkOfPaneAndEnds", [](FakeDesktop& d) { PaneDialog(d, "P", {2, 1, 3}); },
     Cat({Press("P.b1"), kEnd})},
    {"Pass2OnlyFirstOfTwoOkButtons",
     [](FakeDesktop& d) {
       WindowRef dialog = PaneDialog(d, "P", {1});
       d.Add(dialog + 2, "Button", 1, "P.second");
     },
     Cat({Press("P.b1"), kEnd})},
    {"Pass2OnlyFirstMatchingWindow",
     [](FakeDesktop& d) {
       PaneDialog(d, "P", {1});
       PaneDialog(d, "Q", {1});
     },
     Cat({Press("P.b1"), kEnd})},
    {"Pass2PaneWithoutOkGoesOnToNextWindow",
     [](FakeDesktop& d) {
       PaneDialog(d, "P", {2, 3});
       OwnDialog(d);
       PaneDialog(d, "Q", {1});
     },
     Cat({Press("Q.b1"), kEnd})},
    {"Pass2PaneWithoutOkStaysArmed", [](FakeDesktop& d) { PaneDialog(d, "P", {2}); }, {}},
    {"Pass2MarkerClassInOtherCase", [](FakeDesktop& d) { PaneDialog(d, "P", {1}, "EDIT"); }, {}},
    {"Pass2MarkerWithOtherIdentifier", [](FakeDesktop& d) { PaneDialog(d, "P", {1}, "Edit", 0xFBAF); },
     {}},
    {"Pass2MarkerOfStaticClass", [](FakeDesktop& d) { PaneDialog(d, "P", {1}, "Static", 0xFBAE); }, {}},
    {"Pass2PaneNotLastChild",
     [](FakeDesktop& d) {
       WindowRef dialog = PaneDialog(d, "P", {1});
       d.Add(dialog, "Button", 1, "P.outer.b1");
     },
     {}},
    {"Pass2PaneIsOnlyChild",
     [](FakeDesktop& d) {
       WindowRef dialog = d.Add(d.Root(), "#32770", 0, "P");
       WindowRef pane = d.Add(dialog, "#32770", 0, "P.pane");
       d.Add(pane, "Edit", 0xFBAE, "P.marker");
       d.Add(pane, "Button", 1, "P.b1");
     },
     Cat({Press("P.b1"), kEnd})},
    {"Pass2DialogWithoutChildren", [](FakeDesktop& d) { d.Add(d.Root(), "#32770", 0, "E"); }, {}},
    {"Pass1CancelAndPass2MatchInOneTick",
     [](FakeDesktop& d) {
       PaneDialog(d, "P", {1});
       MarkedDialog(d, "A", {2});
     },
     Cat({Press("A.b2"), kEnd, Press("P.b1"), kEnd})},
    {"Pass1OkAndPass2InOneTick",
     [](FakeDesktop& d) {
       MarkedDialog(d, "A", {1});
       PaneDialog(d, "P", {1});
     },
     Cat({Press("A.b1"), Press("P.b1"), kEnd})},
    {"DialogGoneAfterCancelEndsItsWalkAndPass1",
     [](FakeDesktop& d) {
       WindowRef a = MarkedDialog(d, "A", {2, 1});
       MarkedDialog(d, "B", {1});
       d.DestroyAfterPost(a + 2, a);
     },
     Cat({Press("A.b2"), kEnd})},
    {"ButtonGoneAfterPressEndsTheWalk",
     [](FakeDesktop& d) {
       WindowRef a = MarkedDialog(d, "A", {2, 1});
       d.DestroyAfterPost(a + 2, a + 2);
       MarkedDialog(d, "B", {1});
     },
     Cat({Press("A.b2"), kEnd, Press("B.b1")})},
    {"MarkerGoneBeforeItIsReadNeverMatches",
     [](FakeDesktop& d) {
       WindowRef a = MarkedDialog(d, "A", {2});
       d.DestroyBeforeUse(a + 1, a + 1);
       MarkedDialog(d, "B", {1});
     },
     Press("B.b1")},
    {"PaneGoneBeforeItIsSearchedNeverMatches",
     [](FakeDesktop& d) {
       WindowRef p = PaneDialog(d, "P", {1});
       d.DestroyBeforeUse(p + 2, p + 2);
       PaneDialog(d, "Q", {1});
     },
     Cat({Press("Q.b1"), kEnd})},
    {"Pass2DialogGoneAfterItsPressStillEnds",
     [](FakeDesktop& d) {
       WindowRef p = PaneDialog(d, "P", {1});
       d.DestroyAfterPost(p + 4, p);
       PaneDialog(d, "Q", {1});
     },
     Cat({Press("P.b1"), kEnd})},
    {"Pass2PaneWalkEndsWhenItsButtonGoes",
     [](FakeDesktop& d) {
       WindowRef p = PaneDialog(d, "P", {2, 1});
       d.DestroyBeforeUse(p + 4, p + 4);  // the Cancel button, as the walk reaches it
       PaneDialog(d, "Q", {1});
     },
     Cat({Press("Q.b1"), kEnd})},
    {"DialogGoneWhileItsShapeIsReadEndsThePass",
     [](FakeDesktop& d) {
       WindowRef a = MarkedDialog(d, "A", {2});
       d.DestroyBeforeUse(a + 1, a);
       MarkedDialog(d, "B", {2});
     },
     {}},
};

INSTANTIATE_TEST_SUITE_P(Shapes, ScanTest, testing::ValuesIn(kScanCases),
                         [](const testing::TestParamInfo<ScanCase>& info) { return info.param.name; });

TEST(ScanClassNames, ReadIntoTheFullBuffer) {
  // A class of exactly 127 characters is read whole; the scan asks for the
  // names into its 128-character buffer (the fake cuts at what it is told,
  // so a smaller buffer than the scan claims would show up under ASan).
  FakeDesktop desktop;
  MarkedDialog(desktop, "A", {2}, std::string(127, 'S'));
  ConfirmInstallerDialogs(desktop, desktop);
  EXPECT_TRUE(desktop.Log().empty());
  ASSERT_FALSE(desktop.ClassNameCapacities().empty());
  for (int32_t capacity : desktop.ClassNameCapacities()) EXPECT_EQ(128, capacity);
}

}  // namespace
