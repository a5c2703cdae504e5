#include "devices/hardware_id_prefix.h"

namespace {

// Only ASCII letters fold: hardware IDs are ASCII, and the bytes of the
// ANSI code page above 0x7F must not depend on the user's locale.
uint8_t FoldLetter(uint8_t c) {
  return (c >= 'a' && c <= 'z') ? static_cast<uint8_t>(c - 'a' + 'A') : c;
}

}  // namespace

bool FirstHardwareIdBeginsWith(const uint8_t* ids, uint32_t bytes, const char* prefix) {
  if (!prefix || prefix[0] == '\0') return false;
  if (!ids) bytes = 0;
  uint32_t i = 0;
  for (; prefix[i] != '\0'; ++i) {
    if (i >= bytes || ids[i] == '\0') return false;  // the first ID is shorter
    if (FoldLetter(ids[i]) != FoldLetter(static_cast<uint8_t>(prefix[i]))) return false;
  }
  return true;
}
