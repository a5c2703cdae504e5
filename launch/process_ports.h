#pragma once
#include <cstdint>

// Starting programs: CreateProcessA (no inheritance, creation flags 0, the
// launcher's environment and current folder, a zeroed STARTUPINFOA), then
// WaitForSingleObject(INFINITE) and both handles closed.
class ProcessPort {
 public:
  // applicationName may be null (the command line's first token is the
  // program then). False when the process could not be created.
  virtual bool StartAndWait(const char* applicationName, const char* commandLine) = 0;
  // True when path names an existing file (not a folder).
  virtual bool FileExists(const char* path) = 0;

 protected:
  ~ProcessPort() = default;
};

// ShellExecuteA(no owner, "open", target, no parameters, no folder, SW_SHOW).
class ShellPort {
 public:
  // The shell's result code: above 32 when the file was opened.
  virtual int32_t OpenWithShellVerb(const char* target) = 0;

 protected:
  ~ShellPort() = default;
};
