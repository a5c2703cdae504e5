// The host profile reader answers as GetPrivateProfileStringA does. The same
// cases are held against the platform itself by the Wine test
// tests/wine/check/profile_corpus.sh; these pin them on the host.
#include "tools/setup-check/profile_file.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct ReadCase {
  const char* name;
  std::string file;
  const char* section;
  const char* key;
  const char* defaultText;
  std::string answer;
  bool fromFile;
};

// Characters below 0x100 as UTF-16.
std::string Utf16(const std::string& text, bool bigEndian) {
  std::string out;
  for (char c : text) {
    if (bigEndian) out += '\0';
    out += c;
    if (!bigEndian) out += '\0';
  }
  return out;
}

const std::string kA255(255, 'a');
const std::string kA256(256, 'a');

const ReadCase kReadCases[] = {
    {"plain value", "[Const]\r\nSetup=Caption\r\n", "Const", "Setup", "dflt", "Caption", true},
    {"section name in another case", "[cONST]\r\nSetup=x\r\n", "Const", "Setup", "dflt", "x", true},
    {"key name in another case", "[Const]\r\nsEtUp=x\r\n", "Const", "Setup", "dflt", "x", true},
    {"blanks around the name and the value", "[Const]\r\n \t Setup \t= \t two words \t\r\n", "Const", "Setup",
     "dflt", "two words", true},
    {"blanks around the header", "   [Const]   \r\nSetup=x\r\n", "Const", "Setup", "dflt", "x", true},
    {"blanks inside the brackets are part of the name", "[ Const ]\r\nSetup=x\r\n", "Const", "Setup", "dflt",
     "dflt", false},
    {"blanks around the asked names do not count", "[Const]\r\nSetup=x\r\n", " Const ", " Setup ", "dflt", "x",
     true},
    {"a ';' line is no key that is asked for", "[Const]\r\n;Setup=commented\r\nSetup=real\r\n", "Const", "Setup",
     "dflt", "real", true},
    {"an inline ';' is part of the value", "[Const]\r\nSetup=x ; note\r\n", "Const", "Setup", "dflt", "x ; note",
     true},
    {"double quotes stripped", "[Const]\r\nSetup=\"Quoted caption\"\r\n", "Const", "Setup", "dflt",
     "Quoted caption", true},
    {"single quotes stripped", "[Const]\r\nSetup='single'\r\n", "Const", "Setup", "dflt", "single", true},
    {"blanks inside quotes kept", "[Const]\r\nSetup=\"  in  \"\r\n", "Const", "Setup", "dflt", "  in  ", true},
    {"two quotes give the empty text", "[Const]\r\nSetup=\"\"\r\n", "Const", "Setup", "dflt", "", true},
    {"mismatched quotes kept", "[Const]\r\nSetup=\"a'\r\n", "Const", "Setup", "dflt", "\"a'", true},
    {"a lone quote kept", "[Const]\r\nSetup=\"\r\n", "Const", "Setup", "dflt", "\"", true},
    {"inner quotes kept", "[Const]\r\nSetup=\"a\"b\"\r\n", "Const", "Setup", "dflt", "a\"b", true},
    {"first of a repeated key wins", "[Const]\r\nSetup=first\r\nSETUP=second\r\n", "Const", "Setup", "dflt",
     "first", true},
    {"only the first section of a name is searched", "[Const]\r\nSetup=x\r\n[Const]\r\nRePlugin=y\r\n", "Const",
     "RePlugin", "dflt", "dflt", false},
    {"missing section", "[Other]\r\nSetup=x\r\n", "Const", "Setup", "dflt", "dflt", false},
    {"keys before any header belong to no section", "Setup=x\r\n[Const]\r\n", "Const", "Setup", "dflt", "dflt",
     false},
    {"present but empty", "[Const]\r\nSetup=\r\n", "Const", "Setup", "dflt", "", true},
    {"present, only blanks", "[Const]\r\nSetup=   \r\n", "Const", "Setup", "dflt", "", true},
    {"a line without '=' reads as the default", "[Const]\r\nSetup\r\n", "Const", "Setup", "dflt", "dflt", false},
    {"a line without '=' hides a later value", "[Const]\r\nSetup\r\nSetup=later\r\n", "Const", "Setup", "dflt",
     "dflt", false},
    {"value with '='", "[Const]\r\nSetup = a=b\r\n", "Const", "Setup", "dflt", "a=b", true},
    {"255 characters kept", "[Const]\r\nSetup=" + kA255 + "\r\n", "Const", "Setup", "dflt", kA255, true},
    {"256 characters cut to 255", "[Const]\r\nSetup=" + kA256 + "\r\n", "Const", "Setup", "dflt", kA255, true},
    {"quoted 255 characters lose one more", "[Const]\r\nSetup=\"" + kA255 + "\"\r\n", "Const", "Setup", "dflt",
     std::string(254, 'a'), true},
    {"quoted 256 characters cut, opening quote dropped", "[Const]\r\nSetup=\"" + kA256 + "\"\r\n", "Const",
     "Setup", "dflt", kA255, true},
    {"LF line ends", "[Const]\nSetupXPx86Exe=lf.exe\n\n\nSetup=x\n", "Const", "Setup", "dflt", "x", true},
    {"lone CR line ends", "[Const]\rSetup=cr\r", "Const", "Setup", "dflt", "cr", true},
    {"no line end after the last value", "[Const]\r\nSetup=last", "Const", "Setup", "dflt", "last", true},
    {"text after the closing bracket ignored", "[Const] ; note\r\nSetup=x\r\n", "Const", "Setup", "dflt", "x",
     true},
    {"the last bracket closes the name", "[Const]]\r\nSetup=x\r\n", "Const", "Setup", "dflt", "dflt", false},
    {"a header without ']' is a key line", "[Const\r\nSetup=x\r\n", "Const", "Setup", "dflt", "dflt", false},
    {"UTF-8 mark skipped", "\xEF\xBB\xBF[Const]\r\nSetup=x\r\n", "Const", "Setup", "dflt", "x", true},
    {"DOS end-of-file mark is a blank", "[Const]\r\nSetup=\x1ax\x1a\r\n\x1a", "Const", "Setup", "dflt", "x", true},
    {"no-break space is not a blank", "[Const]\r\nSetup=\xA0x\xA0\r\n", "Const", "Setup", "dflt", "\xA0x\xA0", true},
    {"UTF-8 text in the ANSI code page", "\xEF\xBB\xBF[Const]\r\nSetup=Caf\xC3\xA9 \xE2\x82\xAC \xE4\xB8\xAD\r\n", "Const",
     "Setup", "dflt", "Caf\xE9 \x80 ?", true},
    {"a cut UTF-8 sequence is one '?'", "\xEF\xBB\xBF[Const]\r\nSetup=a\xE2\x82" "b\xFF" "c\r\n", "Const", "Setup", "dflt",
     "a?b?c", true},
    {"UTF-16 little-endian", "\xFF\xFE" + Utf16("[Const]\r\nSetup=\xE9", false) + std::string("\xAC\x20", 2), "Const",
     "Setup", "dflt", "\xE9\x80", true},
    {"UTF-16 big-endian", "\xFE\xFF" + Utf16("[Const]\nSetup=x", true), "Const", "Setup", "dflt", "x", true},
    {"ANSI bytes above 0x7F pass unchanged", "[Const]\r\nSetup=\x80\x81\x9D\xFF\r\n", "Const", "Setup", "dflt",
     "\x80\x81\x9D\xFF", true},
    {"default loses trailing blanks", "[Const]\r\n", "Const", "Setup", "dflt   ", "dflt", false},
    {"default loses its quotes", "[Const]\r\n", "Const", "Setup", "\"q\"", "q", false},
};

TEST(ProfileFile, AnswersLikeThePlatform) {
  for (const ReadCase& c : kReadCases) {
    ProfileFile f;
    f.Parse(c.file);
    bool fromFile = !c.fromFile;
    EXPECT_EQ(f.GetString(c.section, c.key, c.defaultText, 256, &fromFile), c.answer) << c.name;
    EXPECT_EQ(fromFile, c.fromFile) << c.name;
  }
}

TEST(ProfileFile, MissingFileGivesTheDefault) {
  ProfileFile f;
  EXPECT_FALSE(f.Load("/nonexistent/setup-check/Setting.ini"));
  EXPECT_FALSE(f.present());
  bool fromFile = true;
  EXPECT_EQ(f.GetString("Const", "Setup", "SetupDrv", 256, &fromFile), "SetupDrv");
  EXPECT_FALSE(fromFile);
}

TEST(ProfileFile, KeepsLineNumbersForEveryLineEnding) {
  ProfileFile f;
  f.Parse("; note\r\n[Const]\r\n\r\nA=1\nB=2\rC=3\r\n\r\nD\r\n");
  ASSERT_EQ(f.sections().size(), 2u);
  const ProfileSection& s = f.sections()[1];
  EXPECT_EQ(s.line, 2);
  ASSERT_EQ(s.keys.size(), 4u);
  EXPECT_EQ(s.keys[0].line, 4);
  EXPECT_EQ(s.keys[1].line, 5);
  EXPECT_EQ(s.keys[2].line, 6);
  EXPECT_EQ(s.keys[3].line, 8);
  EXPECT_FALSE(s.keys[3].hasValue);
  EXPECT_EQ(f.sections()[0].keys[0].name, "; note");
  EXPECT_EQ(f.lineCount(), 8);
}

}  // namespace
