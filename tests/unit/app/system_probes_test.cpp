#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/launcher_doubles.h"

namespace {

struct Probed {
  RecordingPlatform platform;
  LauncherApp app;
  Probed() { app.Attach(&platform.ports); }
};

struct VersionCase {
  const char* name;
  OsVersion version;
  bool succeeds;
  int32_t isVista;
};

TEST(DetectVista, OnlyNtMajorSixIsVistaClass) {
  const VersionCase cases[] = {
      {"Vista 6.0", {2, 6, 0}, true, 1},      {"7 6.1", {2, 6, 1}, true, 1},
      {"8.1 6.3", {2, 6, 3}, true, 1},        {"XP 5.1", {2, 5, 1}, true, 0},
      {"2003 5.2", {2, 5, 2}, true, 0},       {"10 reports 10", {2, 10, 0}, true, 0},
      {"NT 7 is not 6", {2, 7, 0}, true, 0},  {"9x platform with 6", {1, 6, 0}, true, 0},
      {"Win32s", {0, 6, 0}, true, 0},         {"call fails", {2, 6, 1}, false, 0},
  };
  for (const VersionCase& c : cases) {
    Probed t;
    t.platform.version.version = c.version;
    t.platform.version.succeeds = c.succeeds;
    EXPECT_EQ(t.app.DetectVista(), c.isVista) << c.name;
  }
}

struct BitnessCase {
  const char* name;
  const char* data;  // nullptr: value missing
  size_t size;       // bytes of data, 0: as text with its terminator
  int32_t is64;
};

TEST(Detect64Bit, ProgramFilesX86DecidesAndTheKeyIsClosed) {
  const std::string unterminated = "C:\\" + std::string(246, 'p') + " (x86)";  // 256 bytes, no NUL
  const std::string unterminatedPlain = "C:\\" + std::string(253, 'p');
  const std::string tooLong = "C:\\" + std::string(247, 'p') + " (x86)";  // 257 bytes
  const BitnessCase cases[] = {
      {"64-bit", "C:\\Program Files (x86)", 0, 1},
      {"upper case X86", "C:\\Program Files (X86)", 0, 1},
      {"trailing separator", "C:\\Program Files (x86)\\", 0, 0},
      {"no parenthesis", "C:\\Program Files", 0, 0},
      {"other parenthesis", "C:\\Program Files (x64)", 0, 0},
      {"last parenthesis counts", "C:\\(x86) dir (y)", 0, 0},
      {"earlier parenthesis ignored", "C:\\a (b)\\Files (x86)", 0, 1},
      {"text after x86", "C:\\Program Files (x86) old", 0, 0},
      {"empty value", "", 0, 0},
      {"value missing", nullptr, 0, 0},
      {"256 bytes unterminated", unterminated.c_str(), 256, 1},
      {"256 bytes unterminated without x86", unterminatedPlain.c_str(), 256, 0},
      {"257 bytes do not fit", tooLong.c_str(), 257, 0},
      {"binary data after the terminator", "C:\\P (x86)\0junk(", 16, 1},
  };
  for (const BitnessCase& c : cases) {
    Probed t;
    t.platform.registry.keys[RecordingPlatform::kCurrentVersion];  // the key exists
    if (c.data)
      t.platform.registry.SetBytes(RecordingPlatform::kCurrentVersion, "ProgramFilesDir (x86)",
                                   c.size ? std::string(c.data, c.size) : std::string(c.data) + '\0');
    EXPECT_EQ(t.app.Detect64Bit(), c.is64) << c.name;
    EXPECT_EQ(t.platform.registry.openKeys, 0) << c.name;
    const std::vector<std::string> expected = {
        "regopen SOFTWARE\\Microsoft\\Windows\\CurrentVersion", "regquery ProgramFilesDir (x86)",
        "regclose SOFTWARE\\Microsoft\\Windows\\CurrentVersion"};
    EXPECT_EQ(t.platform.log.calls, expected) << c.name;
  }
}

TEST(Detect64Bit, KeyThatCannotBeOpenedMeans32Bit) {
  Probed t;
  EXPECT_EQ(t.app.Detect64Bit(), 0);
  const std::vector<std::string> expected = {"regopen SOFTWARE\\Microsoft\\Windows\\CurrentVersion"};
  EXPECT_EQ(t.platform.log.calls, expected);
}

struct FinishCase {
  const char* name;
  bool is64;
  const char* key;    // where the value is, nullptr: nowhere (key still exists)
  std::string bytes;  // the value's data, empty: missing
  int32_t ok;
};

TEST(ReadFinishInstall, OnlyTheIntegerOneMarksAFinishedInstall) {
  const char* plain = RecordingPlatform::kCurrentVersion;
  const char* wow = RecordingPlatform::kCurrentVersion32;
  const FinishCase cases[] = {
      {"value 1", false, plain, std::string("\x01\0\0\0", 4), 1},
      {"value 2", false, plain, std::string("\x02\0\0\0", 4), 0},
      {"value 0", false, plain, std::string("\0\0\0\0", 4), 0},
      {"value 0x101", false, plain, std::string("\x01\x01\0\0", 4), 0},
      {"high byte only", false, plain, std::string("\0\0\0\x01", 4), 0},
      {"missing", false, plain, "", 0},
      {"text 1 is not the integer", false, plain, std::string("1\0", 2), 0},
      {"one byte 1", false, plain, std::string("\x01", 1), 1},
      {"eight bytes do not fit", false, plain, std::string("\x01\0\0\0\0\0\0\0", 8), 0},
      {"64-bit reads the 32-bit view", true, wow, std::string("\x01\0\0\0", 4), 1},
      {"64-bit ignores the plain key", true, plain, std::string("\x01\0\0\0", 4), 0},
      {"32-bit ignores the 32-bit view", false, wow, std::string("\x01\0\0\0", 4), 0},
  };
  for (const FinishCase& c : cases) {
    Probed t;
    if (c.is64) t.platform.Set64Bit();
    t.app.ProbeSystem();
    ASSERT_EQ(t.app.Is64(), c.is64 ? 1 : 0);
    t.platform.registry.keys[plain];
    t.platform.registry.keys[wow];
    if (!c.bytes.empty()) t.platform.registry.SetBytes(c.key, "FinishInstall", c.bytes);
    t.platform.log.calls.clear();
    t.app.ReadFinishInstall();
    EXPECT_EQ(t.app.FinishInstallOk(), c.ok) << c.name;
    const std::string key = c.is64 ? wow : plain;
    const std::vector<std::string> expected = {"regopen " + key, "regquery FinishInstall", "regclose " + key};
    EXPECT_EQ(t.platform.log.calls, expected) << c.name;
    EXPECT_EQ(t.platform.registry.openKeys, 0) << c.name;
  }
}

TEST(ReadFinishInstall, KeyThatCannotBeOpenedLeavesTheMarkUnset) {
  Probed t;
  t.app.ReadFinishInstall();
  EXPECT_EQ(t.app.FinishInstallOk(), 0);
  const std::vector<std::string> expected = {"regopen SOFTWARE\\Microsoft\\Windows\\CurrentVersion"};
  EXPECT_EQ(t.platform.log.calls, expected);
}

struct FolderCase {
  const char* name;
  std::string modulePath;
  bool whole;
  std::string folder;
};

TEST(ComputeModuleFolder, TakesTheFolderUpToTheLastSeparator) {
  const std::string longFolder = "C:\\" + std::string(487, 'd');
  const FolderCase cases[] = {
      {"package folder", "C:\\pkg\\Setup.exe", true, "C:\\pkg"},
      {"drive root", "C:\\Setup.exe", true, "C:"},
      {"ten-character name", "C:\\pkg\\Install.exe", true, "C:\\pkg"},
      {"short name", "C:\\a.exe", true, "C:"},
      {"path shorter than ten", "C:\\a", true, "C:"},
      {"forward slash", "Z:\\tmp/pkg/Setup.exe", true, "Z:\\tmp/pkg"},
      {"blank in folder", "D:\\My Package\\Setup.exe", true, "D:\\My Package"},
      {"UNC", "\\\\srv\\share\\Setup.exe", true, "\\\\srv\\share"},
      {"long path prefix", "\\\\?\\C:\\pkg\\Setup.exe", true, "\\\\?\\C:\\pkg"},
      {"500 characters", longFolder + "\\Setup.exe", true, longFolder},
      {"no separator", "Setup.exe", true, ""},
      {"empty", "", true, ""},
      {"not whole", "C:\\pkg\\Setup.exe", false, ""},
  };
  for (const FolderCase& c : cases) {
    Probed t;
    t.platform.modulePath.path = c.modulePath;
    t.platform.modulePath.whole = c.whole;
    EXPECT_EQ(std::string(t.app.ComputeModuleFolder().c_str()), c.folder) << c.name;
  }
}

}  // namespace
