#include "app/profile_int.h"

#include <gtest/gtest.h>

namespace {

struct IntCase {
  const char* name;
  const char* text;
  int32_t value;
};

const IntCase kIntCases[] = {
    {"empty", "", 0},
    {"letters", "abc", 0},
    {"digits then letters", "12abc", 12},
    {"negative", "-3", -3},
    {"plus sign", "+7", 7},
    {"hex is not read", "0x10", 0},
    {"decimal point ends", "1.5", 1},
    {"blank between sign and digit", "- 5", 0},
    {"leading white space", " \t\n\v\f\r42", 42},
    {"unit after number", "500ms", 500},
    {"word yes", "yes", 0},
    {"plus one", "+1", 1},
    {"largest", "2147483647", 2147483647},
    {"smallest", "-2147483648", INT32_MIN},
    {"wraps past the largest", "2147483648", INT32_MIN},
    {"wraps modulo 2^32", "4294967297", 1},
    {"long digit run wraps", "99999999999999999999", static_cast<int32_t>(1661992959u)},
    {"two signs", "--1", 0},
    {"trailing blank", "3 ", 3},
};

TEST(IntegerRule, ConvertsEveryExample) {
  for (const IntCase& c : kIntCases) {
    EXPECT_EQ(ParseProfileInt(c.text), c.value) << c.name << ": \"" << c.text << "\"";
  }
}

}  // namespace
