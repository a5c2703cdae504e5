#pragma once
// The one command-line word the launcher understands, over the command line
// as the system hands it over: one string, program name first.
#include <cstddef>

#include "base/fixed_text.h"

// What the launcher needs to know of one argument: how long it is and how
// it starts. An argument can be far longer than anything worth keeping.
struct CommandLineArgument {
  FixedText<8> head;  // the first characters
  size_t length = 0;  // the whole argument's length
};

// Skips the program name by the platform's rule for it (double quotes group,
// nothing is escaped) and returns where the arguments begin.
const char* SkipProgramName(const char* commandLine);

// Reads the next argument at p by the platform's splitting rule: blanks and
// tabs separate; double quotes group and are dropped; 2n backslashes before
// a quote give n backslashes and the quote groups, 2n+1 give n and a literal
// quote; inside quotes a doubled quote is one literal quote; other
// backslashes are literal. Returns the position after it, or null when no
// argument is left.
const char* NextCommandLineArgument(const char* p, CommandLineArgument& arg);

// The silent word: the first argument that is not empty and does not begin
// with '-' or '/' is s or S as a whole.
bool CommandLineAsksSilent(const char* commandLine);
