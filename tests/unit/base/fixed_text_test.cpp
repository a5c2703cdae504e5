#include "base/fixed_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using Small = FixedText<8>;  // 7 characters and the terminator

TEST(FixedText, AssignCutsAtTheCapacityLikeTheProfileReader) {
  struct Case {
    const char* name;
    const char* text;
    const char* kept;
  } const cases[] = {
      {"null", nullptr, ""},
      {"empty", "", ""},
      {"fits", "abc", "abc"},
      {"exactly the capacity", "1234567", "1234567"},
      {"one more", "12345678", "1234567"},
      {"far longer", "abcdefghijklmnopqrstuvwxyz", "abcdefg"},
  };
  for (const Case& c : cases) {
    Small t("zzzzzzz");
    t.Assign(c.text);
    EXPECT_STREQ(t.c_str(), c.kept) << c.name;
    EXPECT_EQ(t.size(), std::string(c.kept).size()) << c.name;
  }
  SettingText setting;
  setting.Assign(std::string(10000, 'x').c_str());
  EXPECT_EQ(setting.size(), 255u);
}

TEST(FixedText, AssignBytesStopsAtTheCountOrANul) {
  Small t;
  t.AssignBytes("abcdef", 3);
  EXPECT_STREQ(t.c_str(), "abc");
  const char withNul[] = {'a', 'b', '\0', 'c', 'd'};
  t.AssignBytes(withNul, sizeof withNul);
  EXPECT_STREQ(t.c_str(), "ab");
  EXPECT_EQ(t.size(), 2u);
  // Bytes with no terminator at all are read only as far as the count.
  const char unterminated[4] = {'w', 'x', 'y', 'z'};
  t.AssignBytes(unterminated, sizeof unterminated);
  EXPECT_STREQ(t.c_str(), "wxyz");
}

TEST(FixedText, AppendIsWholeOrNothing) {
  Small t("abc");
  EXPECT_TRUE(t.Append("defg"));  // exactly fills it
  EXPECT_STREQ(t.c_str(), "abcdefg");
  EXPECT_FALSE(t.Append("h"));
  EXPECT_FALSE(t.Append('h'));
  EXPECT_STREQ(t.c_str(), "abcdefg");  // unchanged by the refused appends

  Small u("abcde");
  EXPECT_FALSE(u.Append("xyz"));  // would need 8: refused, not cut
  EXPECT_STREQ(u.c_str(), "abcde");
  EXPECT_TRUE(u.Append('\\'));
  EXPECT_FALSE(u.Append('\0'));  // a terminator is no character to add
  EXPECT_STREQ(u.c_str(), "abcde\\");
  EXPECT_TRUE(u.Append(static_cast<const char*>(nullptr)));
  EXPECT_EQ(u.size(), 6u);
}

TEST(FixedText, SyncAfterWriteNeverReadsPastTheEnd) {
  Small t;
  char* raw = t.WritableBuffer();
  for (size_t i = 0; i < 8; ++i) raw[i] = 'q';  // a platform call that filled all of it
  t.SyncAfterWrite();
  EXPECT_EQ(t.size(), 7u);
  EXPECT_STREQ(t.c_str(), "qqqqqqq");
  raw[2] = '\0';
  t.SyncAfterWrite();
  EXPECT_STREQ(t.c_str(), "qq");
  EXPECT_EQ(t[1], 'q');
  EXPECT_EQ(t[2], '\0');  // past the text: nothing, however large the buffer
  EXPECT_EQ(t[100], '\0');
  t.Clear();
  EXPECT_TRUE(t.empty());
}

}  // namespace
