/* Builds a .ico from text pixel maps (the maps in ui/win32/icons), one image per
 * map, in the order given: 16-colour device-independent bitmaps in the icon
 * form (a 40-byte header of twice the image's height, 16 palette entries,
 * the 4-bit colour rows, then the 1-bit mask rows, every row padded to 32
 * bits, bottom row first). Plain C with stdio only, so that any build
 * machine's cc makes it; the bytes are written little-endian whatever the
 * machine.
 *
 *   make_icon OUT.ico MAP.txt [MAP.txt...]
 *
 * A map: '#' comment lines, "size N" (N = 16, 32, 48 or 64), sixteen
 * "colour D RRGGBB [name]" lines (D a hex digit), "pixels", then N rows of
 * N characters, each a hex digit or '.' for transparent. */
#include <ctype.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#define MAX_SIZE 64
#define MAX_IMAGES 8

struct image {
  int size;
  unsigned char palette[16][3]; /* r, g, b */
  int have_colour[16];
  signed char pixels[MAX_SIZE][MAX_SIZE]; /* -1: transparent */
  unsigned char *bytes;
  long length;
};

static void fail(const char *file, int line, const char *what) {
  fprintf(stderr, "make_icon: %s:%d: %s\n", file, line, what);
  exit(1);
}

static int hex_digit(int c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = tolower(c);
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

static void read_map(const char *file, struct image *im) {
  char line[512];
  int lineno = 0, rows = -1, i;
  FILE *f = fopen(file, "r");
  if (!f) fail(file, 0, "cannot open");
  memset(im, 0, sizeof *im);
  while (fgets(line, sizeof line, f)) {
    size_t n = strlen(line);
    ++lineno;
    while (n > 0 && (line[n - 1] == '\n' || line[n - 1] == '\r')) line[--n] = '\0';
    if (rows < 0) {
      unsigned rgb;
      char d;
      if (n == 0 || line[0] == '#') continue;
      if (sscanf(line, "size %d", &im->size) == 1) {
        if (im->size != 16 && im->size != 32 && im->size != 48 && im->size != 64)
          fail(file, lineno, "size must be 16, 32, 48 or 64");
      } else if (sscanf(line, "colour %c %6x", &d, &rgb) == 2 && hex_digit(d) >= 0) {
        int k = hex_digit(d);
        im->palette[k][0] = (unsigned char)(rgb >> 16);
        im->palette[k][1] = (unsigned char)(rgb >> 8);
        im->palette[k][2] = (unsigned char)rgb;
        im->have_colour[k] = 1;
      } else if (strcmp(line, "pixels") == 0) {
        if (im->size == 0) fail(file, lineno, "\"size\" must come before \"pixels\"");
        for (i = 0; i < 16; ++i)
          if (!im->have_colour[i]) fail(file, lineno, "the palette needs all 16 colours");
        rows = 0;
      } else {
        fail(file, lineno, "expected size, colour or pixels");
      }
    } else {
      if (rows >= im->size) {
        if (n == 0) continue;
        fail(file, lineno, "more rows than the size");
      }
      if ((int)n != im->size) fail(file, lineno, "a row must have exactly size characters");
      for (i = 0; i < im->size; ++i) {
        int k = line[i] == '.' ? -1 : hex_digit((unsigned char)line[i]);
        if (k < 0 && line[i] != '.') fail(file, lineno, "a pixel is a hex digit or '.'");
        im->pixels[rows][i] = (signed char)k;
      }
      ++rows;
    }
  }
  fclose(f);
  if (rows != im->size) fail(file, lineno, "fewer rows than the size");
}

static void put16(unsigned char *p, unsigned v) {
  p[0] = (unsigned char)v;
  p[1] = (unsigned char)(v >> 8);
}

static void put32(unsigned char *p, unsigned long v) {
  put16(p, (unsigned)(v & 0xFFFF));
  put16(p + 2, (unsigned)((v >> 16) & 0xFFFF));
}

static void encode(struct image *im) {
  const int n = im->size;
  const long colour_row = ((n * 4 + 31) / 32) * 4;
  const long mask_row = ((n + 31) / 32) * 4;
  const long colour_bytes = colour_row * n, mask_bytes = mask_row * n;
  unsigned char *p;
  int x, y, k;
  im->length = 40 + 16 * 4 + colour_bytes + mask_bytes;
  im->bytes = calloc(1, (size_t)im->length);
  if (!im->bytes) fail("memory", 0, "out of memory");
  p = im->bytes;
  put32(p + 0, 40);                                      /* header size */
  put32(p + 4, (unsigned long)n);                        /* width */
  put32(p + 8, (unsigned long)(2 * n));                  /* colour and mask */
  put16(p + 12, 1);                                      /* planes */
  put16(p + 14, 4);                                      /* bits per pixel */
  put32(p + 16, 0);                                      /* no compression */
  put32(p + 20, (unsigned long)(colour_bytes + mask_bytes)); /* image size */
  p += 40;
  for (k = 0; k < 16; ++k, p += 4) {
    p[0] = im->palette[k][2];
    p[1] = im->palette[k][1];
    p[2] = im->palette[k][0];
    p[3] = 0;
  }
  for (y = 0; y < n; ++y) {
    const signed char *row = im->pixels[n - 1 - y];
    unsigned char *c = p + y * colour_row;
    unsigned char *m = p + colour_bytes + y * mask_row;
    for (x = 0; x < n; ++x) {
      int index = row[x] < 0 ? 0 : row[x];
      c[x / 2] |= (unsigned char)(x % 2 == 0 ? index << 4 : index);
      if (row[x] < 0) m[x / 8] |= (unsigned char)(0x80 >> (x % 8));
    }
  }
}

int main(int argc, char **argv) {
  static struct image images[MAX_IMAGES];
  int count = argc - 2, i;
  long offset;
  unsigned char dir[6 + 16 * MAX_IMAGES];
  FILE *out;
  if (count < 1 || count > MAX_IMAGES) {
    fprintf(stderr, "usage: make_icon OUT.ico MAP.txt [MAP.txt...] (at most %d maps)\n", MAX_IMAGES);
    return 2;
  }
  for (i = 0; i < count; ++i) {
    read_map(argv[2 + i], &images[i]);
    encode(&images[i]);
  }
  put16(dir, 0);
  put16(dir + 2, 1); /* icons */
  put16(dir + 4, (unsigned)count);
  offset = 6 + 16L * count;
  for (i = 0; i < count; ++i) {
    unsigned char *e = dir + 6 + 16 * i;
    e[0] = (unsigned char)images[i].size; /* 256 would be 0; not allowed here */
    e[1] = (unsigned char)images[i].size;
    e[2] = 16; /* colours */
    e[3] = 0;
    put16(e + 4, 1); /* planes */
    put16(e + 6, 4); /* bits per pixel */
    put32(e + 8, (unsigned long)images[i].length);
    put32(e + 12, (unsigned long)offset);
    offset += images[i].length;
  }
  out = fopen(argv[1], "wb");
  if (!out) fail(argv[1], 0, "cannot create");
  if (fwrite(dir, 1, (size_t)(6 + 16 * count), out) != (size_t)(6 + 16 * count)) fail(argv[1], 0, "write failed");
  for (i = 0; i < count; ++i) {
    if (fwrite(images[i].bytes, 1, (size_t)images[i].length, out) != (size_t)images[i].length)
      fail(argv[1], 0, "write failed");
    free(images[i].bytes);
  }
  if (fclose(out) != 0) fail(argv[1], 0, "write failed");
  return 0;
}
