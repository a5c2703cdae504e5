#pragma once
// A Windows profile file as GetPrivateProfileStringA sees it, for the host
// tools. It keeps every line that the platform's reader keeps (with its line
// number in the file, for the findings) and answers lookups the way the
// platform does:
//   - a line is cut at CR or LF; blanks (tab, LF, VT, FF, CR, space and the
//     DOS end-of-file mark ^Z) around a line are dropped;
//   - "[name]" opens a section; the name is what stands between '[' and the
//     last ']' of the line, blanks included, and anything after that ']' is
//     ignored; a '[' line without ']' is an ordinary line;
//   - any other line is a key: the name before the first '=', the value
//     after it, both without the blanks around them; a line without '=' is
//     a key with no value, which reads as the default;
//   - section and key names are compared without regard to letter case;
//     only the first section of a name is searched, and in it the first key
//     of a name wins;
//   - there is no comment syntax: a ';' line is a key whose name starts with
//     ';', which no lookup asks for;
//   - a value that starts and ends with the same quote (' or ") loses both;
//   - the answer is cut to the buffer (255 characters and the terminator);
//   - a file that starts with a UTF-8 or UTF-16 byte-order mark is read as
//     such and its text converted to the ANSI code page (Windows-1252 here),
//     a character that the code page lacks becoming '?';
//   - a missing file answers like an empty one: the default, quotes of the
//     default stripped too.
#include <cstddef>
#include <string>
#include <vector>

struct ProfileKey {
  std::string name;     // without the blanks around it
  bool hasValue = false;  // the line had an '='
  std::string value;    // as written, quotes kept, without the blanks around it
  int line = 0;         // 1-based line number in the file
};

struct ProfileSection {
  std::string name;  // between '[' and ']', as written; empty before any header
  int line = 0;      // the header's line; 0 for the keys before any header
  std::vector<ProfileKey> keys;
};

enum class ProfileEncoding { Ansi, Utf8, Utf16Le, Utf16Be };

class ProfileFile {
 public:
  // Reads the file's bytes; false (and an empty file) when it cannot be read.
  bool Load(const std::string& hostPath);
  void Parse(const std::string& bytes);

  bool present() const { return present_; }
  ProfileEncoding encoding() const { return encoding_; }
  int lineCount() const { return lineCount_; }
  const std::vector<ProfileSection>& sections() const { return sections_; }

  // The first section whose name equals `name` (blanks around `name` ignored).
  const ProfileSection* FindSection(const char* name) const;
  // The key that a lookup of section/key finds, or null.
  const ProfileKey* FindKey(const char* section, const char* key) const;

  // GetPrivateProfileStringA into a buffer of bufferSize characters. Sets
  // *fromFile when the answer is the key's value (not the default).
  std::string GetString(const char* section, const char* key, const char* defaultText,
                        size_t bufferSize, bool* fromFile = nullptr) const;

  // The value as the platform hands it over with unlimited room: quotes
  // stripped, nothing cut.
  static std::string Unquoted(const std::string& value);
  // The platform's copy of a value into a buffer of bufferSize characters.
  static std::string CopyEntry(const std::string& value, size_t bufferSize);

  static bool IsBlank(unsigned char c) { return (c >= 0x09 && c <= 0x0d) || c == 0x1a || c == 0x20; }
  static bool NamesEqual(const std::string& a, const std::string& b);

 private:
  bool present_ = false;
  ProfileEncoding encoding_ = ProfileEncoding::Ansi;
  int lineCount_ = 0;
  std::vector<ProfileSection> sections_;
};
