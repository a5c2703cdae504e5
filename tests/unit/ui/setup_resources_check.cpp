// Checks the resources the Windows build put into Setup.exe against what
// the shell, the loader and the closing dialog expect of them. Skipped
// (exit 77) when Setup.exe has not been built.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "pe_resources.h"

namespace {

std::string g_path;
std::vector<PeResource> g_resources;

constexpr uint32_t kIcon = 3, kDialog = 5, kGroupIcon = 14, kVersion = 16, kManifest = 24;
constexpr uint32_t kEnglishUs = 1033, kChineseTaiwan = 1028;

const PeResource* Find(uint32_t type, uint32_t id) {
  for (const PeResource& r : g_resources)
    if (r.type == type && r.id == id) return &r;
  return nullptr;
}

TEST(SetupResources, ExactlyTheLaunchersOwn) {
  std::vector<std::string> got;
  for (const PeResource& r : g_resources)
    got.push_back(std::to_string(r.type) + "/" + std::to_string(r.id) + "/" + std::to_string(r.language));
  const std::vector<std::string> want = {"3/1/1028", "3/2/1028", "5/102/1033", "14/128/1028",
                                         "16/1/1033", "24/1/1028"};
  EXPECT_EQ(want, got);  // the reader lists them in the directory's sorted order
}

struct Control {
  uint32_t helpId, exStyle, style;
  int16_t x, y, cx, cy;
  uint32_t id;
  std::string cls, text;
  uint16_t extra;
};

TEST(SetupResources, Dialog102) {
  const PeResource* d = Find(kDialog, 102);
  ASSERT_NE(nullptr, d);
  EXPECT_EQ(kEnglishUs, d->language);
  ByteReader r(d->data);
  EXPECT_EQ(1, r.U16()) << "template version";
  EXPECT_EQ(0xFFFF, r.U16()) << "extended template signature";
  EXPECT_EQ(0u, r.U32()) << "help id";
  EXPECT_EQ(0x00040000u, r.U32()) << "WS_EX_APPWINDOW only";
  EXPECT_EQ(0x90C800C0u, r.U32()) << "style";
  const uint16_t count = r.U16();
  EXPECT_EQ(2, count);
  EXPECT_EQ(0, r.S16());
  EXPECT_EQ(0, r.S16());
  EXPECT_EQ(180, r.S16());
  EXPECT_EQ(65, r.S16());
  EXPECT_EQ("", r.StringOrOrdinal()) << "menu";
  EXPECT_EQ("", r.StringOrOrdinal()) << "window class";
  EXPECT_EQ("Drovik", r.WideString());
  EXPECT_EQ(8, r.U16()) << "point size";
  EXPECT_EQ(0, r.U16()) << "weight";
  EXPECT_EQ(0, r.U8()) << "italic";
  EXPECT_EQ(1, r.U8()) << "character set";
  EXPECT_EQ("MS Sans Serif", r.WideString());
  std::vector<Control> controls;
  for (uint16_t i = 0; i < count && r.Ok(); ++i) {
    r.AlignTo4();
    Control c;
    c.helpId = r.U32();
    c.exStyle = r.U32();
    c.style = r.U32();
    c.x = r.S16();
    c.y = r.S16();
    c.cx = r.S16();
    c.cy = r.S16();
    c.id = r.U32();
    c.cls = r.StringOrOrdinal();
    c.text = r.StringOrOrdinal();
    c.extra = r.U16();
    controls.push_back(c);
  }
  ASSERT_TRUE(r.Ok()) << "template ends early";
  ASSERT_EQ(2u, controls.size());
  // OK first, Cancel last (one unit higher): the order the installer scan
  // relies on never to take this dialog for the installer's.
  const struct {
    const char* text;
    uint32_t id;
    int16_t x, y;
    uint32_t style;
  } want[] = {{"OK", 1, 30, 40, 0x50010001u}, {"Cancel", 2, 100, 39, 0x50010000u}};
  for (size_t i = 0; i < 2; ++i) {
    SCOPED_TRACE(want[i].text);
    EXPECT_EQ(want[i].text, controls[i].text);
    EXPECT_EQ("#128", controls[i].cls) << "the predefined button class";
    EXPECT_EQ(want[i].id, controls[i].id);
    EXPECT_EQ(want[i].x, controls[i].x);
    EXPECT_EQ(want[i].y, controls[i].y);
    EXPECT_EQ(50, controls[i].cx);
    EXPECT_EQ(14, controls[i].cy);
    EXPECT_EQ(want[i].style, controls[i].style);
    EXPECT_EQ(0u, controls[i].exStyle);
    EXPECT_EQ(0u, controls[i].helpId);
    EXPECT_EQ(0, controls[i].extra) << "no creation data";
  }
  EXPECT_EQ(d->data.size(), r.At()) << "nothing after the last control";
}

TEST(SetupResources, IconGroup128) {
  const PeResource* g = Find(kGroupIcon, 128);
  ASSERT_NE(nullptr, g);
  EXPECT_EQ(kChineseTaiwan, g->language);
  ByteReader r(g->data);
  EXPECT_EQ(0, r.U16());
  EXPECT_EQ(1, r.U16());
  ASSERT_EQ(2, r.U16());
  const struct {
    uint8_t size;
    uint32_t bytes;
    uint16_t id;
  } want[] = {{32, 744, 1}, {16, 296, 2}};
  for (const auto& w : want) {
    SCOPED_TRACE("icon " + std::to_string(w.id));
    EXPECT_EQ(w.size, r.U8());
    EXPECT_EQ(w.size, r.U8());
    EXPECT_EQ(16, r.U8()) << "colours";
    EXPECT_EQ(0, r.U8());
    EXPECT_EQ(1, r.U16()) << "planes";
    EXPECT_EQ(4, r.U16()) << "bits per pixel";
    EXPECT_EQ(w.bytes, r.U32());
    EXPECT_EQ(w.id, r.U16());

    const PeResource* icon = Find(kIcon, w.id);
    ASSERT_NE(nullptr, icon);
    EXPECT_EQ(kChineseTaiwan, icon->language);
    ASSERT_EQ(w.bytes, icon->data.size());
    ByteReader h(icon->data);
    EXPECT_EQ(40u, h.U32());
    EXPECT_EQ(w.size, h.U32());
    EXPECT_EQ(2u * w.size, h.U32()) << "colour image and mask";
    EXPECT_EQ(1, h.U16());
    EXPECT_EQ(4, h.U16());
    EXPECT_EQ(0u, h.U32()) << "uncompressed";
    // Both pictures have transparent corners and opaque pixels: the mask
    // (the last rows of the image) is neither all set nor all clear.
    const size_t maskRow = ((w.size + 31u) / 32u) * 4u;
    const size_t maskAt = icon->data.size() - maskRow * w.size;
    bool set = false, clear = false;
    for (size_t row = 0; row < w.size; ++row)
      for (size_t x = 0; x < w.size; ++x) {
        const bool bit = (icon->data[maskAt + row * maskRow + x / 8] >> (7 - x % 8)) & 1;
        (bit ? set : clear) = true;
      }
    EXPECT_TRUE(set && clear);
  }
  EXPECT_TRUE(r.Ok());
  EXPECT_EQ(g->data.size(), r.At());
}

// The pixel map an icon image is made from: palette and rows, '.' for a
// transparent pixel.
struct PixelMap {
  int size = 0;
  uint32_t palette[16] = {};
  std::vector<std::string> rows;
};

bool LoadPixelMap(const std::string& path, PixelMap& map) {
  std::ifstream in(path);
  std::string line;
  bool pixels = false;
  while (std::getline(in, line)) {
    if (pixels) {
      if (!line.empty()) map.rows.push_back(line);
      continue;
    }
    unsigned rgb = 0;
    char digit = 0;
    if (std::sscanf(line.c_str(), "size %d", &map.size) == 1) continue;
    if (std::sscanf(line.c_str(), "colour %c %6x", &digit, &rgb) == 2) {
      map.palette[std::stoi(std::string(1, digit), nullptr, 16)] = rgb;
      continue;
    }
    if (line == "pixels") pixels = true;
  }
  return pixels && map.size > 0 && static_cast<int>(map.rows.size()) == map.size;
}

TEST(SetupResources, IconImagesAreThePixelMaps) {
  const struct {
    uint16_t id;
    const char* map;
  } images[] = {{1, "setup_32.txt"}, {2, "setup_16.txt"}};
  for (const auto& image : images) {
    SCOPED_TRACE(image.map);
    PixelMap map;
    ASSERT_TRUE(LoadPixelMap(std::string(UI_ICON_MAPS) + "/" + image.map, map));
    const PeResource* icon = Find(kIcon, image.id);
    ASSERT_NE(nullptr, icon);
    const size_t n = static_cast<size_t>(map.size);
    const size_t colourRow = ((n * 4 + 31) / 32) * 4, maskRow = ((n + 31) / 32) * 4;
    ASSERT_EQ(40 + 64 + colourRow * n + maskRow * n, icon->data.size());
    ByteReader palette(icon->data, 40);
    for (int k = 0; k < 16; ++k) {
      const uint32_t bgr0 = palette.U32();
      EXPECT_EQ(map.palette[k], bgr0 & 0xFFFFFF) << "palette entry " << k;
      EXPECT_EQ(0u, bgr0 >> 24);
    }
    // Rows are stored bottom first; two pixels a byte, the left one in the
    // high half; a set mask bit (leftmost pixel in the top bit) is clear
    // glass over colour 0.
    const uint8_t* colour = icon->data.data() + 40 + 64;
    const uint8_t* mask = colour + colourRow * n;
    int mismatches = 0;
    for (size_t y = 0; y < n; ++y) {
      const std::string& row = map.rows[n - 1 - y];
      for (size_t x = 0; x < n; ++x) {
        const int index = (colour[y * colourRow + x / 2] >> (x % 2 == 0 ? 4 : 0)) & 0xF;
        const bool clear = (mask[y * maskRow + x / 8] >> (7 - x % 8)) & 1;
        const bool wantClear = row[x] == '.';
        const int wantIndex = wantClear ? 0 : std::stoi(std::string(1, row[x]), nullptr, 16);
        if (index != wantIndex || clear != wantClear) ++mismatches;
      }
    }
    EXPECT_EQ(0, mismatches);
  }
}

TEST(SetupResources, Manifest1) {
  const PeResource* m = Find(kManifest, 1);
  ASSERT_NE(nullptr, m);
  EXPECT_EQ(kChineseTaiwan, m->language);
  const std::string want =
      "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
      "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\">\r\n"
      "  <assemblyIdentity version=\"1.0.0.0\" processorArchitecture=\"X86\" name=\"Setup.exe.manifest\" "
      "type=\"win32\"/>\r\n"
      "  <trustInfo xmlns=\"urn:schemas-microsoft-com:asm.v3\">\r\n"
      "    <security>\r\n"
      "      <requestedPrivileges>\r\n"
      "        <requestedExecutionLevel level=\"requireAdministrator\" uiAccess=\"false\"/>\r\n"
      "      </requestedPrivileges>\r\n"
      "    </security>\r\n"
      "  </trustInfo>\r\n"
      "</assembly>\r\n";
  EXPECT_EQ(want, std::string(m->data.begin(), m->data.end()));
}

std::string Text(const VersionNode& n) {
  std::string s;
  for (size_t i = 0; i + 1 < n.value.size(); i += 2) s.push_back(static_cast<char>(n.value[i]));
  return s;
}

TEST(SetupResources, Version1) {
  const PeResource* v = Find(kVersion, 1);
  ASSERT_NE(nullptr, v);
  EXPECT_EQ(kEnglishUs, v->language);
  VersionNode root;
  size_t next = 0;
  ASSERT_TRUE(ParseVersionNode(v->data, 0, v->data.size(), root, next));
  EXPECT_EQ("VS_VERSION_INFO", root.key);
  ASSERT_EQ(52u, root.value.size());
  ByteReader f(root.value);
  EXPECT_EQ(0xFEEF04BDu, f.U32());
  f.U32();                              // structure version
  EXPECT_EQ(0x00010001u, f.U32());      // file version 1.1
  EXPECT_EQ(0x00000007u, f.U32());      // .0.7
  EXPECT_EQ(0x00010001u, f.U32());      // product version 1.1
  EXPECT_EQ(0x00000007u, f.U32());      // .0.7
  EXPECT_EQ(0x3Fu, f.U32()) << "flags mask";
  EXPECT_EQ(0u, f.U32()) << "flags";
  EXPECT_EQ(4u, f.U32()) << "VOS__WINDOWS32";
  EXPECT_EQ(1u, f.U32()) << "VFT_APP";
  EXPECT_EQ(0u, f.U32()) << "subtype";
  EXPECT_EQ(0u, f.U32()) << "date";
  EXPECT_EQ(0u, f.U32()) << "date";

  ASSERT_EQ(2u, root.children.size());
  const VersionNode& strings = root.children[0];
  EXPECT_EQ("StringFileInfo", strings.key);
  ASSERT_EQ(1u, strings.children.size());
  EXPECT_EQ("040904b0", strings.children[0].key);
  const std::vector<std::pair<std::string, std::string>> want = {
      {"Comments", ""},
      {"CompanyName", ""},
      {"FileDescription", "Drovik MFC Application"},
      {"FileVersion", "1, 1, 0, 7"},
      {"InternalName", "Drovik"},
      {"LegalCopyright", "Copyright (C) 2026 the Drovik driver package authors"},
      {"LegalTrademarks", ""},
      {"OriginalFilename", "Setup.exe"},
      {"PrivateBuild", ""},
      {"ProductName", "Drovik Application"},
      {"ProductVersion", "1, 1, 0, 7"},
      {"SpecialBuild", ""},
  };
  std::vector<std::pair<std::string, std::string>> got;
  for (const VersionNode& s : strings.children[0].children) {
    got.emplace_back(s.key, Text(s));
    EXPECT_EQ(1, s.type) << s.key;
    // An empty value is stored with no characters at all.
    if (Text(s).empty()) EXPECT_EQ(0, s.valueLength) << s.key;
  }
  EXPECT_EQ(want, got);

  const VersionNode& vars = root.children[1];
  EXPECT_EQ("VarFileInfo", vars.key);
  ASSERT_EQ(1u, vars.children.size());
  EXPECT_EQ("Translation", vars.children[0].key);
  EXPECT_EQ((Bytes{0x09, 0x04, 0xB0, 0x04}), vars.children[0].value);
}

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  g_path = argc > 1 ? argv[1] : SETUP_EXE_PATH;
  struct stat st;
  if (stat(g_path.c_str(), &st) != 0) {
    std::printf("SKIPPED: %s has not been built (cmake --preset windows && cmake --build --preset windows)\n",
                g_path.c_str());
    return 77;
  }
  std::string error;
  if (!ReadPeResources(g_path, g_resources, error)) {
    std::printf("cannot read the resources of %s: %s\n", g_path.c_str(), error.c_str());
    return 1;
  }
  return RUN_ALL_TESTS();
}
