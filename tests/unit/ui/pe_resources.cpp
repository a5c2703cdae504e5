#include "pe_resources.h"

#include <fstream>
#include <iterator>

uint8_t ByteReader::U8() {
  if (at_ + 1 > b_.size()) {
    ok_ = false;
    return 0;
  }
  return b_[at_++];
}

uint16_t ByteReader::U16() {
  const uint16_t lo = U8();
  return static_cast<uint16_t>(lo | (U8() << 8));
}

uint32_t ByteReader::U32() {
  const uint32_t lo = U16();
  return lo | (static_cast<uint32_t>(U16()) << 16);
}

std::string ByteReader::WideString() {
  std::string s;
  for (;;) {
    const uint16_t c = U16();
    if (!ok_ || c == 0) return s;
    s.push_back(c < 0x80 ? static_cast<char>(c) : '?');
  }
}

std::string ByteReader::StringOrOrdinal() {
  const size_t start = at_;
  const uint16_t first = U16();
  if (first == 0x0000) return "";
  if (first == 0xFFFF) return "#" + std::to_string(U16());
  at_ = start;
  return WideString();
}

namespace {

struct Section {
  uint32_t rva, size, fileOffset, rawSize;
};

bool RvaToOffset(const std::vector<Section>& sections, uint32_t rva, uint32_t size, size_t fileSize,
                 size_t& offset) {
  for (const Section& s : sections) {
    if (rva >= s.rva && rva - s.rva < s.rawSize && size <= s.rawSize - (rva - s.rva)) {
      offset = s.fileOffset + (rva - s.rva);
      return offset + size <= fileSize;
    }
  }
  return false;
}

}  // namespace

bool ReadPeResources(const std::string& path, std::vector<PeResource>& out, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "cannot open " + path;
    return false;
  }
  const Bytes file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ByteReader r(file, 0x3C);
  const uint32_t pe = r.U32();
  r.Seek(pe);
  if (r.U32() != 0x00004550) {
    error = "no PE signature";
    return false;
  }
  r.U16();  // machine
  const uint16_t sectionCount = r.U16();
  r.Seek(pe + 20);
  const uint16_t optionalSize = r.U16();
  const size_t optional = pe + 24;
  r.Seek(optional);
  if (r.U16() != 0x10B) {
    error = "not a PE32 image";
    return false;
  }
  r.Seek(optional + 92);
  const uint32_t directoryCount = r.U32();
  if (directoryCount < 3) {
    error = "no resource directory";
    return false;
  }
  r.Seek(optional + 96 + 2 * 8);
  const uint32_t resourceRva = r.U32();
  const uint32_t resourceSize = r.U32();
  std::vector<Section> sections;
  r.Seek(optional + optionalSize);
  for (uint16_t i = 0; i < sectionCount; ++i) {
    const size_t at = r.At();
    r.Seek(at + 8);
    Section s;
    s.size = r.U32();
    s.rva = r.U32();
    s.rawSize = r.U32();
    s.fileOffset = r.U32();
    sections.push_back(s);
    r.Seek(at + 40);
  }
  if (!r.Ok()) {
    error = "truncated headers";
    return false;
  }
  size_t base = 0;
  if (resourceRva == 0 || !RvaToOffset(sections, resourceRva, resourceSize, file.size(), base)) {
    error = "resource section not in the file";
    return false;
  }

  // Three levels: type, name, language; high bits mark names and
  // subdirectories, offsets count from the section's start.
  struct Entry {
    uint32_t id;
    uint32_t offset;
  };
  auto readDirectory = [&](uint32_t offset, std::vector<Entry>& entries) {
    ByteReader d(file, base + offset + 12);
    const uint16_t named = d.U16();
    const uint16_t ids = d.U16();
    for (uint32_t i = 0; i < uint32_t{named} + ids; ++i) entries.push_back({d.U32(), d.U32()});
    return d.Ok() && named == 0;
  };
  std::vector<Entry> types;
  if (!readDirectory(0, types)) {
    error = "named resource type or bad directory";
    return false;
  }
  for (const Entry& type : types) {
    std::vector<Entry> names;
    if (!(type.offset & 0x80000000u) || !readDirectory(type.offset & 0x7FFFFFFFu, names)) {
      error = "bad name directory of type " + std::to_string(type.id);
      return false;
    }
    for (const Entry& name : names) {
      std::vector<Entry> languages;
      if (!(name.offset & 0x80000000u) || !readDirectory(name.offset & 0x7FFFFFFFu, languages)) {
        error = "bad language directory";
        return false;
      }
      for (const Entry& language : languages) {
        if (language.offset & 0x80000000u) {
          error = "language entry is a directory";
          return false;
        }
        ByteReader leaf(file, base + language.offset);
        const uint32_t dataRva = leaf.U32();
        const uint32_t dataSize = leaf.U32();
        size_t dataAt = 0;
        if (!leaf.Ok() || !RvaToOffset(sections, dataRva, dataSize, file.size(), dataAt)) {
          error = "resource data outside the file";
          return false;
        }
        PeResource res;
        res.type = type.id;
        res.id = name.id;
        res.language = language.id;
        res.data.assign(file.begin() + static_cast<long>(dataAt),
                        file.begin() + static_cast<long>(dataAt + dataSize));
        out.push_back(res);
      }
    }
  }
  return true;
}

bool ParseVersionNode(const Bytes& data, size_t at, size_t end, VersionNode& out, size_t& next) {
  ByteReader r(data, at);
  const uint16_t length = r.U16();
  out.valueLength = r.U16();
  out.type = r.U16();
  out.key = r.WideString();
  r.AlignTo4();
  const size_t nodeEnd = at + length;
  if (!r.Ok() || length < 6 || nodeEnd > end) return false;
  const size_t valueBytes = out.type == 1 ? size_t{out.valueLength} * 2 : out.valueLength;
  if (r.At() + valueBytes > nodeEnd) return false;
  out.value.assign(data.begin() + static_cast<long>(r.At()),
                   data.begin() + static_cast<long>(r.At() + valueBytes));
  if (out.type == 1) {
    // Text is stored with its terminator when it has one; keep the characters.
    while (out.value.size() >= 2 && out.value[out.value.size() - 1] == 0 &&
           out.value[out.value.size() - 2] == 0)
      out.value.resize(out.value.size() - 2);
  }
  r.Seek(r.At() + valueBytes);
  r.AlignTo4();
  size_t child = r.At();
  while (child + 6 <= nodeEnd) {
    VersionNode c;
    size_t after = 0;
    if (!ParseVersionNode(data, child, nodeEnd, c, after)) return false;
    out.children.push_back(c);
    child = (after + 3) & ~size_t{3};
  }
  next = nodeEnd;
  return true;
}
