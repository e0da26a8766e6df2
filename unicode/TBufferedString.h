// Growing 8-bit and UTF-16 string buffers: text is appended in place and the buffer grows in
// steps rather than once per character.
#pragma once

#include <string>
#include <string_view>

#include "platform/rtl/AnsiString.h"
#include "platform/rtl/Object.h"
#include "platform/rtl/WideString.h"

class TBufferedAnsiString : public TObject {
 public:
  void Clear();
  void AddChar(char c);
  void AddString(const AnsiString& s);
  // Adds up to `count` bytes, stopping early at a zero byte.
  void AddBuffer(const char* p, int count);
  AnsiString Value() const;
  char* BuffPtr() { return buffer_.data(); }
  int Capacity() const { return static_cast<int>(buffer_.size()); }

 private:
  std::string buffer_;  // zero beyond the written part
  int count_ = 0;
};

class TBufferedWideString : public TObject {
 public:
  void Clear();
  void AddChar(char16_t c);
  void AddString(const WideString& s);
  // Adds up to `count` units, stopping early at a zero unit.
  void AddBuffer(const char16_t* p, int count);
  WideString Value() const;
  // Everything written, zero units included (Value stops at the first one).
  std::u16string_view Written() const { return {buffer_.data(), static_cast<std::size_t>(count_)}; }
  char16_t* BuffPtr() { return buffer_.data(); }
  int Capacity() const { return static_cast<int>(buffer_.size()); }

 private:
  std::u16string buffer_;  // zero beyond the written part
  int count_ = 0;
};
