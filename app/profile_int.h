#pragma once
#include <cstdint>

// The integer rule of every integer key of Setting.ini: leading white space,
// one optional sign, decimal digits in 32-bit arithmetic that wraps, and
// nothing read past the first non-digit. No digit gives 0.
int32_t ParseProfileInt(const char* text);
