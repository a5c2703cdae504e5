/* Stand-in for every program a package starts: a driver setup, a further
   program, the handler of an update package. It records what it was started
   with and when it ended, so a test sees exactly what the launcher did.

   STANDIN_LOG   file that gets "start <command line>" and "end <command line>"
   STANDIN_WHO   optional file that gets "<own module path>|<command line>"
   <module>.sleep  optional file beside the program: milliseconds to wait
                   before ending (a slow installer). */
#include <windows.h>

static void append_line(const char* env_name, const char* a, const char* b, const char* c) {
  char path[MAX_PATH];
  DWORD n = GetEnvironmentVariableA(env_name, path, sizeof path);
  if (n == 0 || n >= sizeof path) return;
  HANDLE f = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                         OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
  if (f == INVALID_HANDLE_VALUE) return;
  /* One write per line, so lines of concurrent programs never interleave. */
  static char line[70000];
  int len = 0;
  const char* parts[3] = {a, b, c};
  for (int i = 0; i < 3; ++i)
    for (const char* p = parts[i]; p && *p && len < (int)sizeof line - 2; ++p) line[len++] = *p;
  line[len++] = '\n';
  DWORD written;
  WriteFile(f, line, (DWORD)len, &written, NULL);
  CloseHandle(f);
}

static DWORD read_sleep_ms(const char* module) {
  char path[MAX_PATH + 8];
  lstrcpynA(path, module, MAX_PATH);
  lstrcatA(path, ".sleep");
  HANDLE f = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
  if (f == INVALID_HANDLE_VALUE) return 0;
  char buf[16] = {0};
  DWORD got = 0;
  ReadFile(f, buf, sizeof buf - 1, &got, NULL);
  CloseHandle(f);
  DWORD ms = 0;
  for (const char* p = buf; *p >= '0' && *p <= '9'; ++p) ms = ms * 10 + (DWORD)(*p - '0');
  return ms;
}

int WINAPI WinMain(HINSTANCE inst, HINSTANCE prev, LPSTR args, int show) {
  (void)inst; (void)prev; (void)args; (void)show;
  const char* cmd = GetCommandLineA();
  char module[MAX_PATH] = {0};
  GetModuleFileNameA(NULL, module, MAX_PATH - 1);
  append_line("STANDIN_LOG", "start ", cmd, NULL);
  append_line("STANDIN_WHO", module, "|", cmd);
  DWORD ms = read_sleep_ms(module);
  if (ms) Sleep(ms);
  append_line("STANDIN_LOG", "end ", cmd, NULL);
  return 0;
}
