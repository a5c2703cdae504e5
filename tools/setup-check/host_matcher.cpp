#include "tools/setup-check/host_matcher.h"

namespace {
char Fold(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
}  // namespace

bool HardwareIdMatchesPrefix(const std::string& hardwareId, const std::string& prefix) {
  if (prefix.empty() || prefix.size() > hardwareId.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i)
    if (Fold(hardwareId[i]) != Fold(prefix[i])) return false;
  return true;
}
