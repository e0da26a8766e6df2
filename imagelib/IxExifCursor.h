// Bounded reads of TIFF-structured EXIF data: every read names an offset from the start of the
// data ("II"/"MM" bytes) and fails instead of reading past the end. Offsets and lengths are
// 64-bit so that offset + count arithmetic taken from the file cannot wrap.
#pragma once

#include <cstddef>
#include <cstdint>

class IxExifCursor {
 public:
  IxExifCursor(const uint8_t* data, uint64_t length, bool bigEndian)
      : data_(data), length_(length), bigEndian_(bigEndian) {}

  uint64_t Length() const { return length_; }
  bool BigEndian() const { return bigEndian_; }

  // True when [offset, offset + count) lies inside the data.
  bool Fits(uint64_t offset, uint64_t count) const { return offset <= length_ && count <= length_ - offset; }
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
  uint64_t length_;
  bool bigEndian_;
};
