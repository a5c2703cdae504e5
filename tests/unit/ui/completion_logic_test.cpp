// The closing dialog's decisions: armed or ended at its initialisation,
// what each timer tick does, and the minimised icon's position.
#include "ui/completion_logic.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "fake_desktop.h"

namespace {

using Log = std::vector<std::string>;

struct InitCase {
  const char* name;
  int32_t MsuOpened;
  int32_t EnableTimer;
  int32_t WaitTimer;
  Log expected;
};

void PrintTo(const InitCase& c, std::ostream* os) { *os << c.name; }

class InitTest : public testing::TestWithParam<InitCase> {};

TEST_P(InitTest, ArmsOrEndsAtOnce) {
  FakeDesktop desktop;
  const InitCase& c = GetParam();
  InitCompletionDialog(desktop, c.MsuOpened, c.EnableTimer, c.WaitTimer);
  EXPECT_EQ(c.expected, desktop.Log());
}

const InitCase kInitCases[] = {
    {"NothingOpenedTimerOff", 0, 0, 500, {"end"}},
    {"NothingOpenedTimerOn", 0, 1, 500, {"end"}},
    {"OpenedTimerOff", 1, 0, 500, {"end"}},
    {"OpenedTimerOn", 1, 1, 500, {"timer 300 500"}},
    {"AnyNonZeroIsOn", -1, 7, 2000, {"timer 300 2000"}},
    {"ZeroIntervalPassedOnUnchanged", 1, 1, 0, {"timer 300 0"}},
    {"NegativeIntervalPassedOnUnchanged", 1, 1, -5, {"timer 300 -5"}},
    {"LargestIntervalPassedOnUnchanged", 1, 1, INT_MAX, {"timer 300 2147483647"}},
};

INSTANTIATE_TEST_SUITE_P(Settings, InitTest, testing::ValuesIn(kInitCases),
                         [](const testing::TestParamInfo<InitCase>& info) { return info.param.name; });

// A desktop with a dialog whose Cancel button ends the run when scanned.
void AddCancelOnlyDialog(FakeDesktop& d) {
  WindowRef dialog = d.Add(d.Root(), "#32770", 0, "A");
  d.Add(dialog, "Static", 0xCAFE, "A.marker");
  d.Add(dialog, "Button", 2, "A.b2");
}

TEST(TimerTest, OwnTimerHidesThenScans) {
  FakeDesktop desktop;
  AddCancelOnlyDialog(desktop);
  OnCompletionTimer(desktop, desktop, 300);
  EXPECT_EQ((Log{"hide", "A.b2 down 1 0", "A.b2 up 0 0", "end"}), desktop.Log());
}

TEST(TimerTest, OtherTimersOnlyHide) {
  for (uintptr_t id : {uintptr_t{0}, uintptr_t{1}, uintptr_t{299}, uintptr_t{301}, uintptr_t{300 + 0x10000}}) {
    FakeDesktop desktop;
    AddCancelOnlyDialog(desktop);
    OnCompletionTimer(desktop, desktop, id);
    EXPECT_EQ((Log{"hide"}), desktop.Log()) << "timer " << id;
  }
}

TEST(TimerTest, EveryTickScansAgain) {
  // Nothing matches: the dialog stays hidden and armed; each tick hides and
  // looks again, a dialog that turns up later is pressed then.
  FakeDesktop desktop;
  OnCompletionTimer(desktop, desktop, 300);
  OnCompletionTimer(desktop, desktop, 300);
  AddCancelOnlyDialog(desktop);
  OnCompletionTimer(desktop, desktop, 300);
  EXPECT_EQ((Log{"hide", "hide", "hide", "A.b2 down 1 0", "A.b2 up 0 0", "end"}), desktop.Log());
}

struct IconCase {
  int32_t extent;
  int32_t icon;
  int32_t origin;
};

TEST(IconTest, CentresWithTruncationTowardZero) {
  const IconCase cases[] = {
      {36, 32, 2},   {37, 32, 3},  {20, 32, -5}, {32, 32, 0},
      {33, 32, 1},   {0, 32, -15},  // -31 / 2 truncates to -15, not -16
      {31, 32, 0},   {16, 16, 0},  {INT_MAX, 0, 1073741824}, {INT_MIN, INT_MAX, INT_MIN + 1},
  };
  for (const IconCase& c : cases) {
    EXPECT_EQ(c.origin, CentredIconOrigin(c.extent, c.icon)) << c.extent << " - " << c.icon;
  }
}

}  // namespace
