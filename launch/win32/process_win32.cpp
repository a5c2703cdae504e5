#include "launch/win32/process_win32.h"

#include "base/fixed_text.h"
#include "launch/win32/scoped_handle.h"

bool Win32Processes::StartAndWait(const char* applicationName, const char* commandLine) {
  // CreateProcessA may write into the command line, so it gets a copy.
  CommandText line;
  line.Assign(commandLine);
  STARTUPINFOA startup;
  ZeroMemory(&startup, sizeof(startup));
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION started;
  ZeroMemory(&started, sizeof(started));
  if (!CreateProcessA(applicationName, line.WritableBuffer(), NULL, NULL, FALSE, 0, NULL, NULL, &startup,
                      &started))
    return false;
  ScopedHandle process(started.hProcess);
  ScopedHandle thread(started.hThread);
  WaitForSingleObject(process.Get(), INFINITE);
  return true;
}

bool Win32Processes::FileExists(const char* path) {
  DWORD attributes = GetFileAttributesA(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}
