#include "unicode/TBufferedString.h"

#include <algorithm>
#include <cstring>

namespace {

// A full buffer grows by its own length, at least 32 and at most 256 units.
template <typename S>
void GrowForOne(S& buffer) {
  std::size_t step = std::clamp<std::size_t>(buffer.size(), 32, 256);
  buffer.resize(buffer.size() + step);
}

}  // namespace

void TBufferedAnsiString::Clear() {
  std::fill(buffer_.begin(), buffer_.end(), '\0');
  count_ = 0;
}

void TBufferedAnsiString::AddChar(char c) {
  if (count_ >= static_cast<int>(buffer_.size())) GrowForOne(buffer_);
  buffer_[static_cast<std::size_t>(count_++)] = c;
}

void TBufferedAnsiString::AddString(const AnsiString& s) {
  std::size_t length = static_cast<std::size_t>(s.Length());
  if (static_cast<std::size_t>(count_) + length > buffer_.size()) {
    std::size_t step = std::max<std::size_t>(buffer_.size() / 2, 8);
    buffer_.resize(buffer_.size() + step * (length / step + 1));
  }
  std::memcpy(buffer_.data() + count_, s.data(), length);
  count_ += static_cast<int>(length);
}

void TBufferedAnsiString::AddBuffer(const char* p, int count) {
  for (int i = 0; i < count && p[i]; ++i) AddChar(p[i]);
}

AnsiString TBufferedAnsiString::Value() const {
  return AnsiString(std::string(buffer_.data(), strnlen(buffer_.data(), static_cast<std::size_t>(count_))));
}

void TBufferedWideString::Clear() {
  std::fill(buffer_.begin(), buffer_.end(), u'\0');
  count_ = 0;
}

void TBufferedWideString::AddChar(char16_t c) {
  if (count_ >= static_cast<int>(buffer_.size())) GrowForOne(buffer_);
  buffer_[static_cast<std::size_t>(count_++)] = c;
}

void TBufferedWideString::AddString(const WideString& s) {
  for (char16_t c : s.ToU16()) AddChar(c);
}

void TBufferedWideString::AddBuffer(const char16_t* p, int count) {
  for (int i = 0; i < count && p[i]; ++i) AddChar(p[i]);
}

WideString TBufferedWideString::Value() const {
  std::u16string_view written(buffer_.data(), static_cast<std::size_t>(count_));
  return WideString(std::u16string(written.substr(0, written.find(u'\0'))));
}
