// A read-only cursor over bytes held in memory, for the decoders that have the whole input at
// hand (GIF files, EXIF blocks). It reads two ways: in sequence from a position (ReadByte,
// ReadU16, Read, Skip, after SeekTo) and at an absolute offset without moving (U8 ... U64, At).
// Numbers are in the byte order given at construction. Every read is checked against the end,
// so a damaged or hostile input can make a read fail but never reach outside the buffer;
// offsets and counts are 64-bit so that offset + count taken from a file cannot wrap.
#pragma once

#include <cstddef>
#include <cstdint>

class IxMemoryCursor {
 public:
  IxMemoryCursor(const uint8_t* data, uint64_t size, bool bigEndian = false)
      : data_(data), size_(size), bigEndian_(bigEndian) {}

  uint64_t Size() const { return size_; }
  bool BigEndian() const { return bigEndian_; }

  // ---- in sequence
  uint64_t Position() const { return pos_; }
  uint64_t Remaining() const { return size_ - pos_; }
  bool AtEnd() const { return pos_ >= size_; }

  // Moves to an absolute position; positions past the end are clamped to the end.
  void SeekTo(uint64_t position) { pos_ = position < size_ ? position : size_; }

  // The next byte, or -1 at the end.
  int ReadByte() { return pos_ < size_ ? data_[pos_++] : -1; }

  // A 16-bit number, or -1 when fewer than two bytes are left.
  int32_t ReadU16() {
    uint16_t v;
    if (!U16(pos_, v)) return -1;
    pos_ += 2;
    return v;
  }

  // Copies `count` bytes; false (and nothing consumed) when fewer are left.
  bool Read(uint8_t* out, uint64_t count) {
    if (count > Remaining()) return false;
    for (uint64_t i = 0; i < count; ++i) out[i] = data_[pos_ + i];
    pos_ += count;
    return true;
  }

  // Skips `count` bytes; false (and the cursor at the end) when fewer are left.
  bool Skip(uint64_t count) {
    if (count > Remaining()) {
      pos_ = size_;
      return false;
    }
    pos_ += count;
    return true;
  }

  // Skips a chain of data sub-blocks (a length byte, then that many bytes) up to and including
  // the zero-length terminator. False when the data ends first.
  bool SkipSubBlocks() {
    for (;;) {
      const int len = ReadByte();
      if (len < 0) return false;
      if (len == 0) return true;
      if (!Skip(static_cast<uint64_t>(len))) return false;
    }
  }

  // ---- at an offset
  // True when [offset, offset + count) lies inside the data.
  bool Fits(uint64_t offset, uint64_t count) const { return offset <= size_ && count <= size_ - offset; }
  // Pointer to `count` bytes at `offset`, or null when they do not fit.
  const uint8_t* At(uint64_t offset, uint64_t count) const {
    return Fits(offset, count) ? data_ + offset : nullptr;
  }

  // Each returns false (and leaves `value` 0) when the bytes do not fit.
  bool U8(uint64_t offset, uint8_t& value) const;
  bool U16(uint64_t offset, uint16_t& value) const;
  bool U32(uint64_t offset, uint32_t& value) const;
  bool U64(uint64_t offset, uint64_t& value) const;

 private:
  const uint8_t* data_;
  uint64_t size_;
  bool bigEndian_;
  uint64_t pos_ = 0;
};
