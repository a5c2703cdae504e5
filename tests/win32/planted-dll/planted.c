/* A DLL planted beside Setup.exe or in the current folder under the name of
   a system DLL. If the loader ever takes it, its DllMain writes its own path
   to the file named by PLANTED_LOG: the planting scenarios require that file
   to stay empty. */
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID reserved) {
  (void)reserved;
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  char log[MAX_PATH], me[MAX_PATH] = {0};
  DWORD n = GetEnvironmentVariableA("PLANTED_LOG", log, sizeof log);
  if (n == 0 || n >= sizeof log) return TRUE;
  GetModuleFileNameA(self, me, MAX_PATH - 2);
  lstrcatA(me, "\n");
  HANDLE f = CreateFileA(log, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, NULL);
  if (f != INVALID_HANDLE_VALUE) {
    DWORD written;
    WriteFile(f, me, (DWORD)lstrlenA(me), &written, NULL);
    CloseHandle(f);
  }
  return TRUE;
}
