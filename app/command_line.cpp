#include "app/command_line.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

void Put(CommandLineArgument& arg, char c) {
  arg.head.Append(c);  // refuses quietly once the head is full
  ++arg.length;
}

}  // namespace

const char* SkipProgramName(const char* commandLine) {
  const char* p = commandLine;
  if (!p) return nullptr;
  bool quoted = false;
  for (; *p != '\0'; ++p) {
    if (*p == '"') {
      quoted = !quoted;
    } else if (!quoted && IsBlank(*p)) {
      break;
    }
  }
  return p;
}

const char* NextCommandLineArgument(const char* p, CommandLineArgument& arg) {
  arg.head.Clear();
  arg.length = 0;
  if (!p) return nullptr;
  while (IsBlank(*p)) ++p;
  if (*p == '\0') return nullptr;

  bool quoted = false;
  while (*p != '\0' && (quoted || !IsBlank(*p))) {
    if (*p == '\\') {
      size_t backslashes = 0;
      while (*p == '\\') {
        ++backslashes;
        ++p;
      }
      if (*p == '"') {
        for (size_t i = 0; i < backslashes / 2; ++i) Put(arg, '\\');
        if (backslashes % 2 == 1) {
          Put(arg, '"');
          ++p;
        }
        // An even run leaves the quote to group, below.
      } else {
        for (size_t i = 0; i < backslashes; ++i) Put(arg, '\\');
      }
      continue;
    }
    if (*p == '"') {
      if (quoted && p[1] == '"') {
        Put(arg, '"');
        p += 2;
      } else {
        quoted = !quoted;
        ++p;
      }
      continue;
    }
    Put(arg, *p);
    ++p;
  }
  return p;
}

bool CommandLineAsksSilent(const char* commandLine) {
  CommandLineArgument arg;
  const char* p = SkipProgramName(commandLine);
  while ((p = NextCommandLineArgument(p, arg)) != nullptr) {
    if (arg.length == 0) continue;  // "" is an argument, but not the word
    char first = arg.head[0];
    if (first == '-' || first == '/') continue;  // flags have no effect
    return arg.length == 1 && (first == 's' || first == 'S');
  }
  return false;
}
