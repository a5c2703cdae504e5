// The findings on Setting.ini: for each small file, exactly these findings
// at these lines, in this order.
#include "tools/setup-check/lint.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "tools/setup-check/key_catalogue.h"

namespace {

// line:severity:code:key
std::vector<std::string> Summary(const std::vector<Finding>& findings) {
  std::vector<std::string> out;
  for (const Finding& f : findings)
    out.push_back(std::to_string(f.line) + ":" + SeverityName(f.severity) + ":" + f.code + ":" + f.key);
  return out;
}

struct LintCase {
  const char* name;
  std::string file;
  std::vector<std::string> findings;
};

const LintCase kLintCases[] = {
    {"clean file", "[Const]\r\nSetup=Caption\r\nAnotherAPNum=1\r\nAnotherAPXPx86Exe0=tool.exe\r\n", {}},
    {"unknown key far from every key", "[Const]\r\nFavouriteColour=blue\r\n", {"2:warning:unknown-key:FavouriteColour"}},
    {"misspelled key", "[Const]\r\n; note\r\nSetupXPx86Exee=a.exe\r\n", {"3:warning:misspelled-key:SetupXPx86Exee"}},
    {"numbered key with a leading zero", "[Const]\r\nDeviceIDNum=2\r\nDevDrvID01=USB\\VID_1\r\nDevDrvID0=a\r\nDevDrvID1=b\r\n",
     {"3:warning:misspelled-key:DevDrvID01"}},
    {"numbered key beyond its table", "[Const]\r\nAnotherAPNum=5\r\nAnotherAPXPx86Exe5=a.exe\r\n",
     {"3:warning:beyond-table:AnotherAPXPx86Exe5"}},
    {"numbered key beyond its count", "[Const]\r\nAnotherAPNum=1\r\nAnotherAPXPx86Exe0=a.exe\r\nAnotherAPXPx86Exe1=b.exe\r\n",
     {"4:warning:not-read:AnotherAPXPx86Exe1"}},
    {"count above the table", "[Const]\r\n\r\nAnotherAPNum=6\r\n", {"3:warning:count-range:AnotherAPNum"}},
    {"count below zero", "[Const]\r\nDeviceIDNum=-1\r\n", {"2:warning:count-range:DeviceIDNum"}},
    {"empty and missing prefixes", "[Const]\r\nDeviceIDNum=3\r\nDevDrvID0=USB\\VID_1\r\nDevDrvID1=\r\n",
     {"2:warning:empty-prefix:DevDrvID2", "4:warning:empty-prefix:DevDrvID1"}},
    {"update package in another case", "[Const]\r\nAnotherAPNum=2\r\nAnotherAPVistax64Exe0=kb.MSU\r\nAnotherAPVistax64Exe1=kb.msu\r\n",
     {"3:error:msu-case:AnotherAPVistax64Exe0"}},
    {"value cut at 255", "[Const]\r\nNoSetupPath=" + std::string(256, 'x') + "\r\nRePlugin=" + std::string(255, 'x') + "\r\n",
     {"2:warning:long-value:NoSetupPath"}},
    {"key set twice, any case", "[Const]\r\nSetup=a\r\nRePlugin=b\r\nSETUP=c\r\n", {"4:warning:duplicate-key:Setup"}},
    {"timer on, no interval", "[Const]\r\nEnableTimer=1\r\n", {"2:warning:timer-interval:WaitTimer"}},
    {"timer on, negative interval", "[Const]\r\nEnableTimer=1\r\nWaitTimer=-5\r\n", {"3:warning:timer-interval:WaitTimer"}},
    {"timer on with interval", "[Const]\r\nEnableTimer=1\r\nWaitTimer=500\r\n", {}},
    {"non-numbers in integer keys", "[Const]\r\nEnableTimer=yes\r\nWaitTimer=500ms\r\nMustRePlugin=+1\r\nSilenceMode=99999999999\r\nEnableAudioVol=\r\n",
     {"2:warning:not-a-number:EnableTimer", "3:warning:not-a-number:WaitTimer", "5:warning:not-a-number:SilenceMode"}},
    {"blanks in program texts", "[Const]\r\nSetupXPx86Path=XP x86\r\nSetupXPx86Exe=Setup.exe /q\r\nAnotherAPNum=1\r\nAnotherAPXPx86Exe0=tool.exe -a\r\n",
     {"2:warning:blank-in-program:SetupXPx86Path", "3:warning:blank-in-program:SetupXPx86Exe",
      "5:warning:blank-in-program:AnotherAPXPx86Exe0"}},
    {"line without '='", "[Const]\r\nSetupXPx86Exe\r\n", {"2:warning:no-equals:SetupXPx86Exe"}},
    {"inline comment", "[Const]\r\nSetup=Caption ; the box title\r\n", {"2:warning:inline-comment:Setup"}},
    {"second section and keys outside", "Setup=a\r\n[Other]\r\nRePlugin=b\r\n[Const]\r\n[const]\r\nSetup=c\r\n",
     {"1:warning:outside-section:Setup", "3:warning:outside-section:RePlugin", "5:warning:second-section:"}},
    {"no Const section", "[Other]\r\nx=1\r\n", {"0:warning:no-const-section:"}},
    {"UTF-8 mark", "\xEF\xBB\xBF[Const]\r\nSetup=a\r\n", {"1:note:utf8-mark:"}},
    {"UTF-16 file", std::string("\xFF\xFE[\0C\0o\0n\0s\0t\0]\0\n\0F\0o\0o\0=\0x\0", 28),
     {"1:note:utf16-file:", "2:warning:unknown-key:Foo"}},
    {"LF line ends count the same", "[Const]\nFoo=1\n\nSetupXPx86Exee=a\n", {"2:warning:unknown-key:Foo", "4:warning:misspelled-key:SetupXPx86Exee"}},
};

TEST(LintSettingsFile, FindsExactlyTheseAtTheseLines) {
  for (const LintCase& c : kLintCases) {
    ProfileFile f;
    f.Parse(c.file);
    EXPECT_EQ(Summary(LintSettingsFile(f)), c.findings) << c.name;
  }
}

TEST(LintSettingsFile, SuggestsTheNearestKey) {
  ProfileFile f;
  f.Parse("[Const]\r\nEnableAudoClass=1\r\nAnotherAPNumber=1\r\n");
  std::vector<Finding> found = LintSettingsFile(f);
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(found[0].message, "unknown key \"EnableAudoClass\", did you mean \"EnableAudioClass\"?");
  EXPECT_EQ(found[1].message, "unknown key \"AnotherAPNumber\", did you mean \"AnotherAPNum\"?");
}

TEST(LintSettingsFile, MissingFileIsOnlyANote) {
  ProfileFile f;
  f.Load("/nonexistent/Setting.ini");
  EXPECT_EQ(Summary(LintSettingsFile(f)), std::vector<std::string>{"0:note:no-settings-file:"});
}

TEST(KeyDistance, IgnoresLetterCase) {
  EXPECT_EQ(KeyDistance("setupxpx86exe", "SetupXPx86Exe"), 0);
  EXPECT_EQ(KeyDistance("SetupXPx86Exee", "SetupXPx86Exe"), 1);
  EXPECT_EQ(KeyDistance("", "abc"), 3);
}

class PackageUsesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/setup-check-uses-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir_ = tmpl;
    ASSERT_EQ(system(("mkdir -p '" + dir_ + "/XP_x86' '" + dir_ + "/Vista_x64/Sub.exe'").c_str()), 0);
    std::ofstream(dir_ + "/XP_x86/SetupDrv.EXE") << "x";
    std::ofstream(dir_ + "/kb1.msu") << "x";
  }
  void TearDown() override { ASSERT_EQ(system(("rm -rf '" + dir_ + "'").c_str()), 0); }
  std::string dir_;
};

TEST_F(PackageUsesTest, ReportsWhatIsMissingOncePerKeyWithItsVariants) {
  std::vector<PackageUse> uses = {
      {"xp-x86", UseKind::SetupFolder, "SetupXPx86Path", 0, "xp_X86"},
      {"xp-x86", UseKind::SetupProgram, "SetupXPx86Exe", 0, "xp_x86\\setupdrv.exe"},  // found: names without case
      {"xp-x64", UseKind::SetupFolder, "SetupXPx64Path", 0, "XP_x64"},
      {"xp-x64", UseKind::SetupProgram, "SetupXPx64Exe", 0, "XP_x64\\SetupDrv.exe"},  // under the missing folder
      {"vista-x64", UseKind::SetupProgram, "SetupVistax64Exe", 0, "Vista_x64\\Sub.exe"},  // a folder, not a file
      {"vista-x64", UseKind::UpdatePackage, "AnotherAPVistax64Exe0", 7, "kb1.msu"},
      {"vista-x64", UseKind::FurtherProgram, "AnotherAPVistax64Exe1", 8, "tool.exe"},
      {"vista-x86", UseKind::FurtherProgram, "AnotherAPVistax64Exe1", 8, "tool.exe"},
  };
  std::vector<Finding> found = LintPackageUses(dir_, uses);
  EXPECT_EQ(Summary(found), (std::vector<std::string>{"0:error:missing-folder:SetupXPx64Path",
                                                      "0:error:missing-program:SetupVistax64Exe",
                                                      "8:error:missing-program:AnotherAPVistax64Exe1"}));
  ASSERT_EQ(found.size(), 3u);
  EXPECT_EQ(found[1].message,
            "program \"Vista_x64\\Sub.exe\" (SetupVistax64Exe) is not in the package as a file: the launcher shows "
            "\"CreateProcess failed.\" (an empty SetupVistax64Exe= shows the NoSetupPath box instead)");
  EXPECT_EQ(found[0].message,
            "folder \"XP_x64\" (SetupXPx64Path) is not in the package: the launcher shows \"CreateProcess failed.\" (an "
            "empty SetupXPx64Exe= shows the NoSetupPath box instead)");
  EXPECT_EQ(found[2].variants, (std::vector<std::string>{"vista-x64", "vista-x86"}));
}

TEST(KeyCatalogue, NamesEveryKeyOnce) {
  std::vector<std::string> names = AllKeyNames();
  EXPECT_EQ(names.size(), 24u + 2u * 10u + 4u * 5u);  // 30 keys, 6 of them numbered
  int index = 0;
  EXPECT_NE(FindKeyDef("devdrvid9", &index), nullptr);
  EXPECT_EQ(index, 9);
  EXPECT_EQ(FindKeyDef("DevDrvID10", &index), nullptr);
  EXPECT_EQ(FindKeyDef("DevDrvID01", &index), nullptr);
}

}  // namespace
