#pragma once
// setup-check's command line: the arguments after the program name. The
// report goes to *out, usage complaints to *err; the result is the exit
// status (0 clean, 1 warnings, 2 errors, 64 bad usage).
#include <string>
#include <vector>

int RunSetupCheck(const std::vector<std::string>& args, std::string* out, std::string* err);
