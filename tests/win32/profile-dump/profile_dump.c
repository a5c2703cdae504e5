/* profile-dump INIFILE REQUESTS
 * REQUESTS holds one lookup a line: section|key|default. For each, prints
 * section|key|answer, where answer is what GetPrivateProfileStringA puts in
 * a 256-character buffer (the launcher's), with bytes outside printable
 * ASCII, '|' and '\' written as \xNN. LF line ends on stdout. */
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <stdio.h>
#include <string.h>

static void put_escaped(const char* s) {
  for (; *s; ++s) {
    unsigned char c = (unsigned char)*s;
    if (c < 0x20 || c >= 0x7f || c == '|' || c == '\\')
      printf("\\x%02X", c);
    else
      putchar(c);
  }
}

int main(int argc, char** argv) {
  char ini[MAX_PATH];
  char line[2048];
  FILE* req;
  if (argc != 3) {
    fprintf(stderr, "usage: profile-dump INIFILE REQUESTS\n");
    return 64;
  }
  _setmode(_fileno(stdout), _O_BINARY);
  /* The profile reader wants a full path, or it looks in the Windows folder. */
  if (!GetFullPathNameA(argv[1], sizeof ini, ini, NULL)) return 2;
  req = fopen(argv[2], "rb");
  if (!req) return 2;
  while (fgets(line, sizeof line, req)) {
    char* section = line;
    char* key;
    char* def;
    char answer[256];
    size_t n = strlen(line);
    while (n && (line[n - 1] == '\n' || line[n - 1] == '\r')) line[--n] = '\0';
    key = strchr(section, '|');
    if (!key) continue;
    *key++ = '\0';
    def = strchr(key, '|');
    if (!def) continue;
    *def++ = '\0';
    memset(answer, 0x55, sizeof answer);
    GetPrivateProfileStringA(section, key, def, answer, sizeof answer, ini);
    answer[sizeof answer - 1] = '\0';
    put_escaped(section);
    putchar('|');
    put_escaped(key);
    putchar('|');
    put_escaped(answer);
    putchar('\n');
  }
  fclose(req);
  return 0;
}
