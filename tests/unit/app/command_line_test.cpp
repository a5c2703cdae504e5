#include "app/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The arguments as the splitting rule gives them, heads only (up to 7
// characters) with their full lengths.
std::vector<std::string> Split(const char* commandLine) {
  std::vector<std::string> args;
  CommandLineArgument arg;
  const char* p = SkipProgramName(commandLine);
  while ((p = NextCommandLineArgument(p, arg)) != nullptr)
    args.push_back(std::string(arg.head.c_str()) + "#" + std::to_string(arg.length));
  return args;
}

struct SplitCase {
  const char* name;
  const char* commandLine;
  std::vector<std::string> args;
};

TEST(CommandLineSplitting, FollowsThePlatformRule) {
  const SplitCase cases[] = {
      {"program name only", "Setup.exe", {}},
      {"blanks and tabs separate", "Setup.exe a\tb  c", {"a#1", "b#1", "c#1"}},
      {"trailing blanks", "Setup.exe a  \t ", {"a#1"}},
      {"quoted program name with a blank", "\"C:\\My Pkg\\Setup.exe\" s", {"s#1"}},
      {"backslash in program name is literal", "\"C:\\pkg\\\" x", {"x#1"}},
      {"quotes group", "Setup.exe \"a b\" c", {"a b#3", "c#1"}},
      {"empty quotes are an argument", "Setup.exe \"\" s", {"#0", "s#1"}},
      {"quote inside a word", "Setup.exe a\"b c\"d", {"ab cd#5"}},
      {"escaped quote", "Setup.exe a\\\"b", {"a\"b#3"}},
      {"two backslashes then quote", "Setup.exe a\\\\\"b c\"", {"a\\b c#5"}},
      {"three backslashes then quote", "Setup.exe a\\\\\\\"b", {"a\\\"b#4"}},
      {"backslashes without quote", "Setup.exe a\\\\b", {"a\\\\b#4"}},
      {"doubled quote inside quotes", "Setup.exe \"a\"\"b\"", {"a\"b#3"}},
      {"unclosed quote runs to the end", "Setup.exe \"a b", {"a b#3"}},
      {"long argument keeps its length", "Setup.exe abcdefghij", {"abcdefg#10"}},
      {"empty command line", "", {}},
  };
  for (const SplitCase& c : cases) EXPECT_EQ(Split(c.commandLine), c.args) << c.name;
  EXPECT_EQ(Split(nullptr), std::vector<std::string>{});
}

struct SilentCase {
  const char* name;
  const char* commandLine;
  bool silent;
};

TEST(SilentWord, OnlyTheFirstPlainArgumentCounts) {
  const SilentCase cases[] = {
      {"s", "Setup.exe s", true},
      {"S", "Setup.exe S", true},
      {"quoted s", "Setup.exe \"s\"", true},
      {"s with blanks around", "Setup.exe   s  ", true},
      {"no argument", "Setup.exe", false},
      {"s1", "Setup.exe s1", false},
      {"sx", "Setup.exe sx", false},
      {"silent", "Setup.exe silent", false},
      {"flag /s", "Setup.exe /s", false},
      {"flag -s", "Setup.exe -s", false},
      {"x then s", "Setup.exe x s", false},
      {"flag /p then s", "Setup.exe /p s", true},
      {"flag -q then S", "Setup.exe -q S", true},
      {"empty then s", "Setup.exe \"\" s", true},
      {"quoted s with blank", "Setup.exe \"s \"", false},
      {"program name s is not an argument", "s", false},
      {"quoted program with blank then s", "\"C:\\My Pkg\\Setup.exe\" s", true},
      {"unquoted program with blank", "C:\\My Pkg\\Setup.exe s", false},
      {"s after a quoted flag", "Setup.exe \"/x y\" s", true},
      {"escaped quote before s", "Setup.exe \\\"s", false},
      {"tab separated", "Setup.exe\ts", true},
      {"null", nullptr, false},
  };
  for (const SilentCase& c : cases) EXPECT_EQ(CommandLineAsksSilent(c.commandLine), c.silent) << c.name;
}

TEST(SilentWord, HugeCommandLinesAreJudgedWhole) {
  // 100,000 characters of flags, then the word: judged by the whole line.
  std::string flags = "Setup.exe";
  while (flags.size() < 100000) flags += " /flag";
  EXPECT_TRUE(CommandLineAsksSilent((flags + " s").c_str()));
  EXPECT_FALSE(CommandLineAsksSilent((flags + " x s").c_str()));

  std::string longWord = "Setup.exe " + std::string(100000, 's');
  EXPECT_FALSE(CommandLineAsksSilent(longWord.c_str()));
}

TEST(SilentWord, BytesAboveAsciiAreNoWord) {
  EXPECT_FALSE(CommandLineAsksSilent("Setup.exe \xe9"));
  EXPECT_FALSE(CommandLineAsksSilent("Setup.exe s\xff"));
  EXPECT_FALSE(CommandLineAsksSilent("Setup.exe \xff\xfe s"));  // the first word is not s
}

}  // namespace
