#pragma once
// Fixed-capacity 8-bit text. Every text the launcher keeps lives in one of
// these: they can never be written past their end. Assign() cuts at the
// capacity the way the profile reader cuts a long value; Append() refuses
// (and leaves the text as it was) when the addition does not fit, so that a
// command is never started cut short.
#include <cstddef>
#include <cstdint>

template <size_t N>
class FixedText {
  static_assert(N >= 1, "room for the terminator");

 public:
  FixedText() { buf_[0] = '\0'; }
  explicit FixedText(const char* s) { Assign(s); }

  static constexpr size_t Capacity() { return N - 1; }

  const char* c_str() const { return buf_; }
  size_t size() const { return len_; }
  bool empty() const { return len_ == 0; }
  char operator[](size_t i) const { return i < len_ ? buf_[i] : '\0'; }

  void Clear() {
    len_ = 0;
    buf_[0] = '\0';
  }

  // Copies s, cut to the capacity. A null s gives the empty text.
  void Assign(const char* s) { AssignBytes(s, static_cast<size_t>(-1)); }

  // Copies at most n bytes of s (stopping at a NUL), cut to the capacity.
  void AssignBytes(const char* s, size_t n) {
    size_t i = 0;
    for (; s && i < n && i < Capacity() && s[i] != '\0'; ++i) buf_[i] = s[i];
    len_ = i;
    buf_[len_] = '\0';
  }

  // Appends s whole, or returns false and changes nothing.
  bool Append(const char* s) {
    size_t n = s ? Length(s) : 0;
    if (n > Capacity() - len_) return false;
    for (size_t i = 0; i < n; ++i) buf_[len_ + i] = s[i];
    len_ += n;
    buf_[len_] = '\0';
    return true;
  }

  bool Append(char c) {
    char s[2] = {c, '\0'};
    return c != '\0' && Append(s);
  }

  // Raw access for a platform call that fills the buffer; call
  // SyncAfterWrite() afterwards so that the length is re-read, never past
  // the end.
  char* WritableBuffer() { return buf_; }
  void SyncAfterWrite() {
    buf_[Capacity()] = '\0';
    len_ = Length(buf_);
  }

 private:
  static size_t Length(const char* s) {
    size_t n = 0;
    while (s[n] != '\0') ++n;
    return n;
  }

  char buf_[N];
  size_t len_ = 0;
};

// Configured texts: 255 characters and the terminator.
using SettingText = FixedText<256>;
// Paths derived from the module path (the module folder, Setting.ini).
using PathText = FixedText<512>;
// Command lines and shell targets. Large enough for the longest command the
// launcher can build (a 511-character folder, three 255-character texts,
// separators and " Silence"), so a command is held whole, never cut.
using CommandText = FixedText<2048>;
