// The one bounded reader every decoder of message bytes goes through: a position and the end of
// the bytes beside it. Every read checks the bytes left first; a read that does not fit fails and
// leaves the cursor where it was. Lengths from the bytes are unsigned and never trusted: a caller
// takes a length's bytes only through Take or Skip, which refuse what is not there.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class WspCursor {
 public:
  WspCursor() = default;
  WspCursor(const uint8_t* data, size_t size) : pos_(data), end_(data ? data + size : data) {}

  size_t Remaining() const { return static_cast<size_t>(end_ - pos_); }
  bool AtEnd() const { return pos_ == end_; }
  const uint8_t* Position() const { return pos_; }
  const uint8_t* End() const { return end_; }

  bool PeekByte(uint8_t& out) const;
  bool ReadByte(uint8_t& out);
  bool Skip(uint64_t count);
  // A cursor over the next `count` bytes, which this one then steps over.
  bool Take(uint64_t count, WspCursor& part);
  // The rest of the bytes as a cursor of their own; this one ends up at its end.
  WspCursor TakeRest();

  // A uintvar: 7 bits a byte, most significant first; more than 5 bytes or a value above
  // 2^32-1 is an error.
  bool ReadUintvar(uint32_t& out);
  // A Value-length: a byte 0 to 30 is the length, 31 is followed by a uintvar. The length must
  // fit in the bytes left; any other first byte is an error.
  bool ReadValueLength(uint32_t& out);
  // A Long-integer: a short length (1 to 8; 0 and more are errors here) and that many bytes,
  // most significant first.
  bool ReadLongInteger(uint64_t& out);
  // An Integer-value: a Short-integer (a byte with bit 7, its low bits) or a Long-integer.
  bool ReadIntegerValue(uint64_t& out);
  // The bytes up to a NUL, which must come before the end; the cursor ends past the NUL.
  bool ReadText(std::string& out);
  // Steps over one value by its generic shape: 0-30 a length and that many bytes, 31 a uintvar
  // length and its bytes, 32-127 a text up to its NUL, 128-255 the byte alone.
  bool SkipValue();

 private:
  const uint8_t* pos_ = nullptr;
  const uint8_t* end_ = nullptr;
};
