#pragma once
// A small reader of a PE file's resource section, for checking what the
// Windows build put into Setup.exe: every resource with its type,
// identifier, language and bytes, and readers of the formats the checks
// look into (extended dialog templates, version blocks).
#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

struct PeResource {
  uint32_t type = 0;  // numeric types only; a named type or name is an error
  uint32_t id = 0;
  uint32_t language = 0;
  Bytes data;
};

// Reads path's resources; on failure returns false and says why in error.
bool ReadPeResources(const std::string& path, std::vector<PeResource>& out, std::string& error);

// Little-endian reads that fail (ok = false) instead of reading past the end.
class ByteReader {
 public:
  explicit ByteReader(const Bytes& b, size_t at = 0) : b_(b), at_(at) {}
  uint8_t U8();
  uint16_t U16();
  uint32_t U32();
  int16_t S16() { return static_cast<int16_t>(U16()); }
  // A NUL-terminated UTF-16 string of ASCII characters ('?' for others).
  std::string WideString();
  // A sz_Or_Ord field of a dialog template: "" for none, "#<n>" for an
  // ordinal, else the string.
  std::string StringOrOrdinal();
  void AlignTo4() { at_ = (at_ + 3) & ~size_t{3}; }
  size_t At() const { return at_; }
  void Seek(size_t at) { at_ = at; }
  bool Ok() const { return ok_; }

 private:
  const Bytes& b_;
  size_t at_;
  bool ok_ = true;
};

// A node of a version block: its key, type (1 text, 0 binary), value bytes
// (text values without their terminator, and with valueLength kept as
// stored) and children in order.
struct VersionNode {
  std::string key;
  uint16_t type = 0;
  uint16_t valueLength = 0;
  Bytes value;
  std::vector<VersionNode> children;
};

bool ParseVersionNode(const Bytes& data, size_t at, size_t end, VersionNode& out, size_t& next);
