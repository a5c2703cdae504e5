// The host half of the profile reader comparison: answers the same lookups
// as tests/win32/profile-dump, with setup-check's own reader, in the same
// format (section|key|answer, answer escaped as there).
#include <cstdio>
#include <string>

#include "tools/setup-check/profile_file.h"

namespace {

std::string Escaped(const std::string& s) {
  std::string out;
  for (unsigned char c : s) {
    if (c < 0x20 || c >= 0x7f || c == '|' || c == '\\') {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: profile-dump-host INIFILE REQUESTS\n");
    return 64;
  }
  ProfileFile file;
  file.Load(argv[1]);  // a missing file answers every lookup with its default
  FILE* req = std::fopen(argv[2], "rb");
  if (!req) return 2;
  char line[2048];
  while (std::fgets(line, sizeof line, req)) {
    std::string l(line);
    while (!l.empty() && (l.back() == '\n' || l.back() == '\r')) l.pop_back();
    size_t a = l.find('|');
    if (a == std::string::npos) continue;
    size_t b = l.find('|', a + 1);
    if (b == std::string::npos) continue;
    std::string section = l.substr(0, a), key = l.substr(a + 1, b - a - 1), def = l.substr(b + 1);
    std::string answer = file.GetString(section.c_str(), key.c_str(), def.c_str(), 256);
    std::printf("%s|%s|%s\n", Escaped(section).c_str(), Escaped(key).c_str(), Escaped(answer).c_str());
  }
  std::fclose(req);
  return 0;
}
