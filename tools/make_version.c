/* Builds the binary version block (the system's VS_VERSIONINFO format) of
 * Setup.exe from a text file (ui/win32/version.txt), so that the
 * string table holds exactly what is written there: an empty value is
 * stored with no characters (value length 0, only the terminator), which
 * the resource compiler's VERSIONINFO statement cannot express. Plain C with stdio only,
 * for the build machine's cc; bytes are written little-endian.
 *
 *   make_version OUT.bin IN.txt
 *
 * IN.txt: '#' comment lines and
 *   file-version A B C D       product-version A B C D
 *   flags-mask N   flags N   os N   file-type N   file-subtype N
 *   string-table KEY           (one table; then its values in order)
 *   value KEY[ TEXT]           (TEXT is the rest of the line, ASCII)
 *   translation LANGUAGE CODEPAGE */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#define MAX_VALUES 32
#define TEXT_MAX 256

static unsigned char out[8192];
static size_t used;

static void fail(const char *file, int line, const char *what) {
  fprintf(stderr, "make_version: %s:%d: %s\n", file, line, what);
  exit(1);
}

static void put16_at(size_t at, unsigned v) {
  out[at] = (unsigned char)v;
  out[at + 1] = (unsigned char)(v >> 8);
}

static void put16(unsigned v) {
  if (used + 2 > sizeof out) fail("output", 0, "version block too large");
  put16_at(used, v);
  used += 2;
}

static void put32(unsigned long v) {
  put16((unsigned)(v & 0xFFFF));
  put16((unsigned)((v >> 16) & 0xFFFF));
}

static void align4(void) {
  while (used % 4 != 0) {
    if (used + 1 > sizeof out) fail("output", 0, "version block too large");
    out[used++] = 0;
  }
}

static void wide(const char *s) {
  for (; *s; ++s) put16((unsigned char)*s);
  put16(0);
}

/* Starts a node: wLength (patched by end_node), wValueLength, wType, key. */
static size_t begin_node(const char *key, unsigned value_length, unsigned type) {
  size_t at;
  align4();
  at = used;
  put16(0);
  put16(value_length);
  put16(type);
  wide(key);
  align4();
  return at;
}

static void end_node(size_t at) { put16_at(at, (unsigned)(used - at)); }

struct value {
  char key[TEXT_MAX];
  char text[TEXT_MAX];
};

int main(int argc, char **argv) {
  unsigned long fv[4] = {0}, pv[4] = {0}, mask = 0, flags = 0, os = 0, type = 0, subtype = 0;
  unsigned long language = 0, codepage = 0;
  char table[TEXT_MAX] = "";
  static struct value values[MAX_VALUES];
  int count = 0, lineno = 0, have_translation = 0, i;
  char line[600];
  FILE *in, *f;
  size_t root, sfi, st, vfi, var;

  if (argc != 3) {
    fprintf(stderr, "usage: make_version OUT.bin IN.txt\n");
    return 2;
  }
  in = fopen(argv[2], "r");
  if (!in) fail(argv[2], 0, "cannot open");
  while (fgets(line, sizeof line, in)) {
    size_t n = strlen(line);
    ++lineno;
    while (n > 0 && (line[n - 1] == '\n' || line[n - 1] == '\r')) line[--n] = '\0';
    if (n == 0 || line[0] == '#') continue;
    if (sscanf(line, "file-version %lu %lu %lu %lu", &fv[0], &fv[1], &fv[2], &fv[3]) == 4) continue;
    if (sscanf(line, "product-version %lu %lu %lu %lu", &pv[0], &pv[1], &pv[2], &pv[3]) == 4) continue;
    if (sscanf(line, "flags-mask %li", (long *)&mask) == 1) continue;
    if (sscanf(line, "flags %li", (long *)&flags) == 1) continue;
    if (sscanf(line, "os %li", (long *)&os) == 1) continue;
    if (sscanf(line, "file-type %li", (long *)&type) == 1) continue;
    if (sscanf(line, "file-subtype %li", (long *)&subtype) == 1) continue;
    if (sscanf(line, "translation %li %li", (long *)&language, (long *)&codepage) == 2) {
      have_translation = 1;
      continue;
    }
    if (strncmp(line, "string-table ", 13) == 0) {
      if (n - 13 >= TEXT_MAX) fail(argv[2], lineno, "key too long");
      strcpy(table, line + 13);
      continue;
    }
    if (strncmp(line, "value ", 6) == 0) {
      const char *key = line + 6;
      const char *space = strchr(key, ' ');
      size_t klen = space ? (size_t)(space - key) : strlen(key);
      const char *text = space ? space + 1 : "";
      const char *c;
      if (count == MAX_VALUES) fail(argv[2], lineno, "too many values");
      if (klen == 0 || klen >= TEXT_MAX || strlen(text) >= TEXT_MAX) fail(argv[2], lineno, "bad value line");
      for (c = text; *c; ++c)
        if ((unsigned char)*c >= 0x80) fail(argv[2], lineno, "values are ASCII");
      memcpy(values[count].key, key, klen);
      values[count].key[klen] = '\0';
      strcpy(values[count].text, text);
      ++count;
      continue;
    }
    fail(argv[2], lineno, "unknown line");
  }
  fclose(in);
  if (table[0] == '\0' || !have_translation) fail(argv[2], lineno, "needs a string-table and a translation");

  root = begin_node("VS_VERSION_INFO", 52, 0);
  put32(0xFEEF04BDul);
  put32(0x00010000ul);
  put32((fv[0] << 16) | fv[1]);
  put32((fv[2] << 16) | fv[3]);
  put32((pv[0] << 16) | pv[1]);
  put32((pv[2] << 16) | pv[3]);
  put32(mask);
  put32(flags);
  put32(os);
  put32(type);
  put32(subtype);
  put32(0);
  put32(0);
  sfi = begin_node("StringFileInfo", 0, 1);
  st = begin_node(table, 0, 1);
  for (i = 0; i < count; ++i) {
    /* Value length in characters with the terminator, 0 when the value
     * is empty; the terminator is there either way, for readers that look
     * for it rather than at the length. */
    size_t len = strlen(values[i].text);
    size_t node = begin_node(values[i].key, len ? (unsigned)(len + 1) : 0u, 1);
    wide(values[i].text);
    end_node(node);
  }
  end_node(st);
  end_node(sfi);
  vfi = begin_node("VarFileInfo", 0, 1);
  var = begin_node("Translation", 4, 0);
  put16((unsigned)language);
  put16((unsigned)codepage);
  end_node(var);
  end_node(vfi);
  end_node(root);

  f = fopen(argv[1], "wb");
  if (!f || fwrite(out, 1, used, f) != used || fclose(f) != 0) fail(argv[1], 0, "cannot write");
  return 0;
}
