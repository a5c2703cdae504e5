#include "app/profile_int.h"

int32_t ParseProfileInt(const char* text) {
  if (!text) return 0;
  const char* p = text;
  while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\v' || *p == '\f' || *p == '\r') ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') {
    negative = (*p == '-');
    ++p;
  }
  uint32_t value = 0;  // unsigned: the wrap-around is defined
  for (; *p >= '0' && *p <= '9'; ++p) value = value * 10u + static_cast<uint32_t>(*p - '0');
  if (negative) value = 0u - value;
  return static_cast<int32_t>(value);
}
