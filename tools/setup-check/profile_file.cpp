#include "tools/setup-check/profile_file.h"

#include <cstdint>
#include <cstdio>

namespace {

char FoldCase(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string Trimmed(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && ProfileFile::IsBlank(static_cast<unsigned char>(s[b]))) ++b;
  while (e > b && ProfileFile::IsBlank(static_cast<unsigned char>(s[e - 1]))) --e;
  return s.substr(b, e - b);
}

// Windows-1252 for the code points 0x80 to 0x9F; the other code points
// below 0x100 are the same byte.
const uint16_t kCp1252High[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                  0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                  0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                  0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char ToAnsi(uint32_t cp) {
  for (int i = 0; i < 32; ++i)
    if (kCp1252High[i] == cp) return static_cast<char>(0x80 + i);
  if (cp < 0x80 || (cp >= 0xA0 && cp < 0x100)) return static_cast<char>(cp);
  return '?';
}

std::string FromUtf16(const std::string& in, size_t start, bool bigEndian) {
  std::string out;
  for (size_t i = start; i + 1 < in.size(); i += 2) {
    uint32_t u = bigEndian ? (static_cast<unsigned char>(in[i]) << 8) | static_cast<unsigned char>(in[i + 1])
                           : (static_cast<unsigned char>(in[i + 1]) << 8) | static_cast<unsigned char>(in[i]);
    out += ToAnsi(u);  // a surrogate half has no place in the code page either
  }
  return out;
}

std::string FromUtf8(const std::string& in, size_t start) {
  std::string out;
  size_t i = start;
  while (i < in.size()) {
    unsigned char c = static_cast<unsigned char>(in[i]);
    int more = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
    uint32_t cp = more == 0 ? c : more == 1 ? (c & 0x1F) : more == 2 ? (c & 0x0F) : (c & 0x07);
    size_t j = i + 1;
    for (int k = 0; k < more && j < in.size() && (static_cast<unsigned char>(in[j]) >> 6) == 2; ++k, ++j)
      cp = (cp << 6) | (static_cast<unsigned char>(in[j]) & 0x3F);
    bool whole = more >= 0 && j == i + 1 + static_cast<size_t>(more);
    out += whole ? ToAnsi(cp) : '?';
    i = (whole || more > 0) ? j : i + 1;  // a cut sequence is one replacement
  }
  return out;
}

}  // namespace

bool ProfileFile::NamesEqual(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (FoldCase(a[i]) != FoldCase(b[i])) return false;
  return true;
}

bool ProfileFile::Load(const std::string& hostPath) {
  *this = ProfileFile();
  FILE* f = std::fopen(hostPath.c_str(), "rb");
  if (!f) return false;
  std::string bytes;
  char chunk[4096];
  size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) bytes.append(chunk, n);
  std::fclose(f);
  Parse(bytes);
  return true;
}

void ProfileFile::Parse(const std::string& input) {
  sections_.clear();
  present_ = true;
  std::string bytes;
  if (input.size() >= 3 && input.compare(0, 3, "\xEF\xBB\xBF") == 0) {
    encoding_ = ProfileEncoding::Utf8;
    bytes = FromUtf8(input, 3);
  } else if (input.size() >= 2 && input.compare(0, 2, "\xFF\xFE") == 0) {
    encoding_ = ProfileEncoding::Utf16Le;
    bytes = FromUtf16(input, 2, false);
  } else if (input.size() >= 2 && input.compare(0, 2, "\xFE\xFF") == 0) {
    encoding_ = ProfileEncoding::Utf16Be;
    bytes = FromUtf16(input, 2, true);
  } else {
    encoding_ = ProfileEncoding::Ansi;
    bytes = input;
  }

  sections_.push_back(ProfileSection());  // the keys before any header
  int line = 1;
  size_t pos = 0;
  while (pos < bytes.size()) {
    size_t end = pos;
    while (end < bytes.size() && bytes[end] != '\n' && bytes[end] != '\r') ++end;
    std::string text = Trimmed(bytes.substr(pos, end - pos));
    int thisLine = line;
    // One line break: CR LF, LF or a lone CR.
    if (end < bytes.size()) {
      if (bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n') ++end;
      ++end;
      ++line;
    }
    pos = end;
    if (text.empty()) continue;

    if (text[0] == '[') {
      size_t close = text.rfind(']');  // the last ']' on the line closes the name
      if (close != std::string::npos) {
        ProfileSection s;
        s.name = text.substr(1, close - 1);
        s.line = thisLine;
        sections_.push_back(s);
        continue;
      }
    }
    ProfileKey k;
    k.line = thisLine;
    size_t eq = text.find('=');
    if (eq != std::string::npos) {
      k.name = Trimmed(text.substr(0, eq));
      k.hasValue = true;
      k.value = Trimmed(text.substr(eq + 1));
    } else {
      k.name = text;
    }
    // The platform keeps a nameless key only when the one before it had a
    // name; no lookup can find one, so only the lint would ever see it.
    std::vector<ProfileKey>& keys = sections_.back().keys;
    if (!k.name.empty() || keys.empty() || !keys.back().name.empty()) keys.push_back(k);
  }
  lineCount_ = bytes.empty() ? 0 : (line - ((bytes.back() == '\n' || bytes.back() == '\r') ? 1 : 0));
}

const ProfileSection* ProfileFile::FindSection(const char* name) const {
  std::string wanted = Trimmed(name ? name : "");
  for (const ProfileSection& s : sections_) {
    if (s.line == 0) continue;  // the keys before any header have no section
    if (NamesEqual(s.name, wanted)) return &s;
  }
  return nullptr;
}

const ProfileKey* ProfileFile::FindKey(const char* section, const char* key) const {
  const ProfileSection* s = FindSection(section);
  if (!s) return nullptr;
  std::string wanted = Trimmed(key ? key : "");
  for (const ProfileKey& k : s->keys)
    if (NamesEqual(k.name, wanted)) return &k;
  return nullptr;
}

std::string ProfileFile::Unquoted(const std::string& value) {
  if (value.size() >= 2 && (value[0] == '\'' || value[0] == '"') && value.back() == value[0])
    return value.substr(1, value.size() - 2);
  return value;
}

std::string ProfileFile::CopyEntry(const std::string& value, size_t bufferSize) {
  if (bufferSize == 0) return std::string();
  std::string v = value;
  bool quoted = false;
  if (v.size() >= 2 && (v[0] == '\'' || v[0] == '"') && v.back() == v[0]) {
    quoted = true;
    v.erase(0, 1);
  }
  std::string out = v.substr(0, bufferSize - 1);
  // The closing quote is dropped as the last character of what was copied,
  // which, when the value only just does not fit, is a character of the value.
  if (quoted && bufferSize >= v.size() && !out.empty()) out.pop_back();
  return out;
}

std::string ProfileFile::GetString(const char* section, const char* key, const char* defaultText,
                                   size_t bufferSize, bool* fromFile) const {
  if (fromFile) *fromFile = false;
  std::string def = defaultText ? defaultText : "";
  // Trailing blanks of the default are dropped (spaces only).
  while (def.size() > 1 && def.back() == ' ') def.pop_back();
  const ProfileKey* k = FindKey(section, key);
  if (k && k->hasValue) {
    if (fromFile) *fromFile = true;
    return CopyEntry(k->value, bufferSize);
  }
  return CopyEntry(def, bufferSize);
}
