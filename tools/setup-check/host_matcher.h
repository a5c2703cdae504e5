#pragma once
// The hardware-ID prefix rule, for previewing which configured prefixes
// match the devices an author names: letters compared without regard to
// case, every other byte exactly; an empty prefix matches nothing.
#include <string>

bool HardwareIdMatchesPrefix(const std::string& hardwareId, const std::string& prefix);
