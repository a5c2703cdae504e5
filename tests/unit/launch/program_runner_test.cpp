#include "launch/program_runner.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "launch/runner_doubles.h"

namespace {

struct RunnerSetup {
  CallLog log;
  RecordingProcesses processes{log};
  RecordingBoxes boxes{log};

  int32_t Run(const char* folder, const char* program, const char* parameters, int32_t silent) {
    ProgramCommand command;
    ProgramCommandBuilder build(command);
    build.StartAtFolder(folder);
    build.AddProgram(program);
    if (parameters) build.AddParameters(parameters);
    return RunAndWait(processes, boxes, command, silent, "Caption");
  }
};

TEST(IsUpdatePackage, OnlyAnExactLastMsuExtension) {
  struct Case {
    const char* text;
    int32_t update;
  } cases[] = {
      {"update.msu", 1},      {"update.MSU", 0},     {"update.Msu", 0},      {"setup.msu.exe", 0},
      {"a.b.msu", 1},         {"dir.old\\setup", 0}, {"setup", 0},           {"", 0},
      {".msu", 1},            {"update.msu ", 0},    {"update.msux", 0},     {"update.ms", 0},
      {"sub\\kb123.msu", 1},  {"x.msu.", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(IsUpdatePackage(c.text), c.update) << c.text;
  EXPECT_EQ(IsUpdatePackage(nullptr), 0);
}

TEST(OpenWithShell, HandsTheTargetOverAndReturnsTheShellsCode) {
  for (int32_t code : {42, 33, 32, 31, 2, 0, -1}) {
    CallLog log;
    RecordingShell shell(log);
    shell.result = code;
    EXPECT_EQ(OpenWithShell(shell, "D:\\pkg\\kb.msu"), code);
    EXPECT_EQ(log.calls, std::vector<std::string>{"shell D:\\pkg\\kb.msu"});
  }
}

TEST(RunAndWait, StartsTheCommandExactlyAsBuilt) {
  RunnerSetup t;
  t.processes.existing = {"D:\\pkg\\Vista_x64\\SetupDrv.exe"};
  EXPECT_EQ(t.Run("D:\\pkg", "Vista_x64\\SetupDrv.exe", nullptr, 0), 1);
  const std::vector<std::string> expected = {
      "exists D:\\pkg\\Vista_x64\\SetupDrv.exe",
      "start D:\\pkg\\Vista_x64\\SetupDrv.exe|D:\\pkg\\Vista_x64\\SetupDrv.exe"};
  EXPECT_EQ(t.log.calls, expected);
}

TEST(RunAndWait, SilentRunsAppendSilenceAfterTheParameters) {
  struct Case {
    int32_t silent;
    const char* parameters;
    const char* line;
  } cases[] = {
      {1, nullptr, "D:\\pkg\\tool.exe Silence"},
      {-1, " 0", "D:\\pkg\\tool.exe 0 Silence"},
      {0, " 0", "D:\\pkg\\tool.exe 0"},
      {0, " ", "D:\\pkg\\tool.exe "},
      {2, " ", "D:\\pkg\\tool.exe  Silence"},
  };
  for (const auto& c : cases) {
    RunnerSetup t;
    t.processes.existing = {"D:\\pkg\\tool.exe"};
    EXPECT_EQ(t.Run("D:\\pkg", "tool.exe", c.parameters, c.silent), 1);
    EXPECT_EQ(t.log.With("start "), std::vector<std::string>{std::string("D:\\pkg\\tool.exe|") + c.line})
        << c.line;
  }
}

TEST(RunAndWait, AProgramThatCannotStartShowsTheBoxAndGivesZero) {
  RunnerSetup t;
  t.processes.existing = {"D:\\pkg\\tool.exe"};
  t.processes.failingStarts = {0};
  EXPECT_EQ(t.Run("D:\\pkg", "tool.exe", " 0", 1), 0);
  const std::vector<std::string> expected = {"exists D:\\pkg\\tool.exe",
                                             "start D:\\pkg\\tool.exe|D:\\pkg\\tool.exe 0 Silence",
                                             "box Caption|CreateProcess failed."};
  EXPECT_EQ(t.log.calls, expected);
}

TEST(RunAndWait, AnIncompleteCommandIsRefusedWithTheBox) {
  // No folder: nothing to build the program's path from.
  RunnerSetup t;
  EXPECT_EQ(t.Run("", "tool.exe", " 0", 0), 0);
  EXPECT_EQ(t.log.calls, std::vector<std::string>{"box Caption|CreateProcess failed."});

  // A part that does not fit.
  RunnerSetup u;
  std::string huge(CommandText::Capacity(), 'x');
  EXPECT_EQ(u.Run("D:\\pkg", huge.c_str(), nullptr, 0), 0);
  EXPECT_EQ(u.log.calls, std::vector<std::string>{"box Caption|CreateProcess failed."});
}

TEST(RunAndWait, ACommandWithNoRoomForSilenceIsRefusedNotCut) {
  RunnerSetup t;
  std::string parameters(CommandText::Capacity() - std::string("D:\\pkg\\tool.exe").size() - 4, 'p');
  t.processes.existing = {"D:\\pkg\\tool.exe"};
  EXPECT_EQ(t.Run("D:\\pkg", "tool.exe", parameters.c_str(), 0), 1);  // fits without the word
  ASSERT_EQ(t.log.With("start ").size(), 1u);

  RunnerSetup u;
  u.processes.existing = {"D:\\pkg\\tool.exe"};
  EXPECT_EQ(u.Run("D:\\pkg", "tool.exe", parameters.c_str(), 1), 0);
  EXPECT_EQ(u.log.calls, std::vector<std::string>{"box Caption|CreateProcess failed."});
}

struct ResolveCase {
  const char* name;
  const char* folder;
  const char* program;
  std::vector<std::string> existing;
  std::vector<std::string> probed;  // FileExists calls, in order
  std::string application;          // what CreateProcessA is given
  int32_t result;
};

TEST(RunAndWait, ResolvesTheProgramInsideTheConfiguredTextOnly) {
  const ResolveCase cases[] = {
      {"blank in the package folder is no cut", "D:\\My Package", "Vista_x64\\SetupDrv.exe",
       {"D:\\My.exe", "D:\\My Package\\Vista_x64\\SetupDrv.exe"},
       {"D:\\My Package\\Vista_x64\\SetupDrv.exe"},
       "D:\\My Package\\Vista_x64\\SetupDrv.exe", 1},
      {"shortest existing cut wins, as the platform does", "D:\\p", "tools\\my tool.exe",
       {"D:\\p\\tools\\my.exe", "D:\\p\\tools\\my tool.exe"},
       {"D:\\p\\tools\\my.exe"},
       "D:\\p\\tools\\my.exe", 1},
      {"whole text when no cut exists", "D:\\p", "tools\\my tool.exe",
       {"D:\\p\\tools\\my tool.exe"},
       {"D:\\p\\tools\\my.exe", "D:\\p\\tools\\my tool.exe"},
       "D:\\p\\tools\\my tool.exe", 1},
      {"nothing exists: first candidate, which fails", "D:\\p", "tools\\my tool.exe",
       {},
       {"D:\\p\\tools\\my.exe", "D:\\p\\tools\\my tool.exe"},
       "D:\\p\\tools\\my.exe", 0},
      {"no extension gets .exe", "D:\\p", "setup", {"D:\\p\\setup.exe"}, {"D:\\p\\setup.exe"},
       "D:\\p\\setup.exe", 1},
      {"dot in a folder is no extension", "D:\\p", "dir.old\\setup", {}, {"D:\\p\\dir.old\\setup.exe"},
       "D:\\p\\dir.old\\setup.exe", 0},
      {"other extension kept", "D:\\p", "update.MSU", {"D:\\p\\update.MSU"}, {"D:\\p\\update.MSU"},
       "D:\\p\\update.MSU", 1},
      {"run of blanks cut once", "D:\\p", "a  b.exe", {}, {"D:\\p\\a.exe", "D:\\p\\a  b.exe"},
       "D:\\p\\a.exe", 0},
      {"three parts", "D:\\p", "a b c.exe", {"D:\\p\\a b c.exe"},
       {"D:\\p\\a.exe", "D:\\p\\a b.exe", "D:\\p\\a b c.exe"}, "D:\\p\\a b c.exe", 1},
      {"tab cuts as a blank does", "D:\\p", "a\tb.exe", {"D:\\p\\a\tb.exe"},
       {"D:\\p\\a.exe", "D:\\p\\a\tb.exe"}, "D:\\p\\a\tb.exe", 1},
  };
  for (const ResolveCase& c : cases) {
    RunnerSetup t;
    t.processes.existing = {c.existing.begin(), c.existing.end()};
    EXPECT_EQ(t.Run(c.folder, c.program, " 0", 0), c.result) << c.name;
    EXPECT_EQ(t.log.With("exists "), c.probed) << c.name;
    std::string line = std::string(c.folder) + "\\" + c.program + " 0";
    EXPECT_EQ(t.log.With("start "), std::vector<std::string>{c.application + "|" + line}) << c.name;
    EXPECT_EQ(t.log.With("box ").size(), c.result ? 0u : 1u) << c.name;
  }
}

TEST(ProgramCommandBuilder, MarksAPartThatDoesNotFit) {
  ProgramCommand command;
  ProgramCommandBuilder build(command);
  build.StartAtFolder("D:\\pkg");
  build.AddProgram("a.exe");
  build.AddParameters(" 0");
  EXPECT_TRUE(command.complete);
  EXPECT_STREQ(command.line.c_str(), "D:\\pkg\\a.exe 0");
  EXPECT_STREQ(command.program.c_str(), "a.exe");
  build.AddParameters(std::string(CommandText::Capacity(), 'x').c_str());
  EXPECT_FALSE(command.complete);
  EXPECT_STREQ(command.line.c_str(), "D:\\pkg\\a.exe 0");  // refused, never cut
}

}  // namespace
