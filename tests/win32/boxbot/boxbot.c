/* Answers message boxes the way a user would, and writes down what they
   said. A message box is a top-level "#32770" window whose text is its
   "Static" child 65535; each one seen is logged once as "caption|text" and
   closed with OK.

   boxbot.exe LOG DETAIL_LOG READY_FILE STOP_FILE
   DETAIL_LOG gets "caption|text|icon=yes|no" (icon: the box shows one).
   READY_FILE is created once the bot watches; it ends when STOP_FILE exists. */
#include <windows.h>

#define MAX_SEEN 512

static HWND seen[MAX_SEEN];
static int seen_count;
static const char* log_path;
static const char* detail_path;

static void append(const char* path, const char* text) {
  HANDLE f = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                         OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
  if (f == INVALID_HANDLE_VALUE) return;
  DWORD written;
  WriteFile(f, text, (DWORD)lstrlenA(text), &written, NULL);
  CloseHandle(f);
}

static int was_seen(HWND w) {
  for (int i = 0; i < seen_count; ++i)
    if (seen[i] == w) return 1;
  return 0;
}

/* Newlines in a box text would break the one-line record. */
static void flatten(char* s) {
  for (; *s; ++s)
    if (*s == '\r' || *s == '\n') *s = ' ';
}

static BOOL CALLBACK visit(HWND w, LPARAM unused) {
  (void)unused;
  char cls[64];
  if (!GetClassNameA(w, cls, sizeof cls) || lstrcmpA(cls, "#32770") != 0) return TRUE;
  HWND text = GetDlgItem(w, 65535);
  if (!text || !IsWindowVisible(w)) return TRUE;
  if (!was_seen(w)) {
    static char caption[1024], body[4096], line[6000];
    GetWindowTextA(w, caption, sizeof caption);
    GetWindowTextA(text, body, sizeof body);
    flatten(caption);
    flatten(body);
    int icon = 0;
    for (HWND c = GetWindow(w, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
      char ccls[32];
      if (GetClassNameA(c, ccls, sizeof ccls) && lstrcmpiA(ccls, "Static") == 0 &&
          (GetWindowLongA(c, GWL_STYLE) & SS_TYPEMASK) == SS_ICON && IsWindowVisible(c) &&
          SendMessageA(c, STM_GETICON, 0, 0) != 0)
        icon = 1;
    }
    wsprintfA(line, "%s|%s\n", caption, body);
    append(log_path, line);
    wsprintfA(line, "%s|%s|icon=%s\n", caption, body, icon ? "yes" : "no");
    append(detail_path, line);
    if (seen_count < MAX_SEEN) seen[seen_count++] = w;
  }
  PostMessageA(w, WM_COMMAND, IDOK, 0);
  return TRUE;
}

int main(int argc, char** argv) {
  if (argc < 5) return 64;
  log_path = argv[1];
  detail_path = argv[2];
  append(argv[3], "ready\n");
  while (GetFileAttributesA(argv[4]) == INVALID_FILE_ATTRIBUTES) {
    EnumWindows(visit, 0);
    Sleep(50);
  }
  return 0;
}
