// One bounded reader for the picture files the form library decodes itself (BMP, icons): every
// read and seek is checked against the end of the data, and a read past it raises
// EInvalidGraphic with the file kind's own text. Numbers are little-endian.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/rtl/Exceptions.h"

class LittleEndianReader {
 public:
  LittleEndianReader(const std::uint8_t* data, std::size_t size, const char* invalidText)
      : data_(data), size_(size), invalidText_(invalidText) {}
  [[noreturn]] void Invalid() const { throw EInvalidGraphic(invalidText_); }
  void Seek(std::uint64_t pos) {
    if (pos > size_) Invalid();
    pos_ = static_cast<std::size_t>(pos);
  }
  std::size_t Pos() const { return pos_; }
  std::size_t Left() const { return size_ - pos_; }
  const std::uint8_t* Take(std::uint64_t n) {
    if (n > Left()) Invalid();
    const std::uint8_t* p = data_ + pos_;
    pos_ += static_cast<std::size_t>(n);
    return p;
  }
  std::uint8_t U8() { return *Take(1); }
  std::uint16_t U16() {
    const std::uint8_t* p = Take(2);
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
  }
  std::uint32_t U32() {
    const std::uint8_t* p = Take(4);
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) |
           (std::uint32_t(p[3]) << 24);
  }
  std::int32_t I32() { return static_cast<std::int32_t>(U32()); }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  const char* invalidText_;
  std::size_t pos_ = 0;
};
