// A read-only cursor over the bytes of one GIF file held in memory. Every read of the GIF
// decoder goes through it: each read is checked against the end, so a damaged or hostile file
// can make a read fail but never reach outside the buffer.
#pragma once

#include <cstddef>
#include <cstdint>

class IxGifCursor {
 public:
  IxGifCursor(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  size_t Position() const { return pos_; }
  size_t Size() const { return size_; }
  size_t Remaining() const { return size_ - pos_; }
  bool AtEnd() const { return pos_ >= size_; }

  // Moves to an absolute position; positions past the end are clamped to the end.
  void SeekTo(size_t position) { pos_ = position < size_ ? position : size_; }

  // The next byte, or -1 at the end.
  int ReadByte() { return pos_ < size_ ? data_[pos_++] : -1; }

  // A little-endian 16-bit number, or -1 when fewer than two bytes are left.
  int32_t ReadU16() {
    if (Remaining() < 2) return -1;
    const int32_t v = data_[pos_] | (data_[pos_ + 1] << 8);
    pos_ += 2;
    return v;
  }

  // Copies `count` bytes; false (and nothing consumed) when fewer are left.
  bool Read(uint8_t* out, size_t count) {
    if (count > Remaining()) return false;
    for (size_t i = 0; i < count; ++i) out[i] = data_[pos_ + i];
    pos_ += count;
    return true;
  }

  // Skips `count` bytes; false (and the cursor at the end) when fewer are left.
  bool Skip(size_t count) {
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
      if (!Skip(static_cast<size_t>(len))) return false;
    }
  }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
};
