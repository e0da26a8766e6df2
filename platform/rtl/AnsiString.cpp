// AnsiString members that need more than the header.
#include "platform/rtl/AnsiString.h"

#include <cstdarg>
#include <cstdio>

#include "platform/rtl/CodePage.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/ParseInt.h"
#include "platform/rtl/RtlHooks.h"
#include "platform/rtl/StringRoutines.h"
#include "platform/rtl/WideString.h"

AnsiString::AnsiString(int v) : s_(std::to_string(v)) {}
AnsiString::AnsiString(unsigned v) : s_(std::to_string(v)) {}
AnsiString::AnsiString(long v) : s_(std::to_string(v)) {}
AnsiString::AnsiString(unsigned long v) : s_(std::to_string(v)) {}
AnsiString::AnsiString(long long v) : s_(std::to_string(v)) {}
AnsiString::AnsiString(unsigned long long v) : s_(std::to_string(v)) {}
namespace {
std::string WideToAnsi(std::u16string_view units) {
  auto hook = platform::GetRtlHooks().WideToAnsi;
  return hook ? hook(units) : platform::OwnWideToAnsi(units);
}
}  // namespace

namespace platform {
std::string OwnWideToAnsi(std::u16string_view units) { return Utf16ToMultiByte(units); }
}  // namespace platform

AnsiString::AnsiString(const WideString& w) : s_(WideToAnsi(w.ToU16())) {}
AnsiString::AnsiString(const char16_t* w) : s_(w ? WideToAnsi(w) : std::string()) {}

char& AnsiString::operator[](int index) {
  if (index < 1 || index > Length()) throw ERangeError("Index out of bounds (" + AnsiString(index) + ")");
  return s_[static_cast<std::size_t>(index - 1)];
}

char AnsiString::operator[](int index) const {
  if (index < 1 || index > Length()) throw ERangeError("Index out of bounds (" + AnsiString(index) + ")");
  return s_[static_cast<std::size_t>(index - 1)];
}

AnsiString AnsiString::SubString(int start, int count) const {
  if (start < 1) start = 1;
  if (count <= 0 || start > Length()) return AnsiString();
  std::size_t from = static_cast<std::size_t>(start - 1);
  return AnsiString(s_.substr(from, static_cast<std::size_t>(count)));
}

int AnsiString::Pos(const AnsiString& sub) const {
  if (sub.IsEmpty()) return 0;
  std::size_t at = s_.find(sub.s_);
  return at == std::string::npos ? 0 : static_cast<int>(at) + 1;
}

AnsiString& AnsiString::Insert(const AnsiString& str, int index) {
  if (index < 1) index = 1;
  if (index > Length() + 1) index = Length() + 1;
  s_.insert(static_cast<std::size_t>(index - 1), str.s_);
  return *this;
}

AnsiString& AnsiString::Delete(int index, int count) {
  if (index < 1 || index > Length() || count <= 0) return *this;
  s_.erase(static_cast<std::size_t>(index - 1), static_cast<std::size_t>(count));
  return *this;
}

int AnsiString::LastDelimiter(const AnsiString& delimiters) const {
  std::size_t at = s_.find_last_of(delimiters.s_);
  return at == std::string::npos ? 0 : static_cast<int>(at) + 1;
}

namespace {
bool IsTrimmed(char c) { return static_cast<unsigned char>(c) <= ' '; }
}  // namespace

AnsiString AnsiString::UpperCase() const { return AnsiUpperCase(*this); }
AnsiString AnsiString::LowerCase() const { return AnsiLowerCase(*this); }

AnsiString AnsiString::Trim() const { return TrimLeft().TrimRight(); }

AnsiString AnsiString::TrimLeft() const {
  std::size_t i = 0;
  while (i < s_.size() && IsTrimmed(s_[i])) ++i;
  return AnsiString(s_.substr(i));
}

AnsiString AnsiString::TrimRight() const {
  std::size_t n = s_.size();
  while (n > 0 && IsTrimmed(s_[n - 1])) --n;
  return AnsiString(s_.substr(0, n));
}

int AnsiString::ToInt() const {
  int v = 0;
  if (!platform::ParseInt(s_, v)) throw EConvertError("'" + *this + "' is not a valid integer value");
  return v;
}

int AnsiString::ToIntDef(int defaultValue) const {
  int v = 0;
  return platform::ParseInt(s_, v) ? v : defaultValue;
}

namespace {
std::string VFormat(const char* format, va_list args) {
  if (!format) return std::string();
  va_list copy;
  va_copy(copy, args);
  int n = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  if (n <= 0) return std::string();
  std::string out(static_cast<std::size_t>(n) + 1, '\0');
  std::vsnprintf(out.data(), out.size(), format, args);
  out.resize(static_cast<std::size_t>(n));
  return out;
}
}  // namespace

AnsiString& AnsiString::sprintf(const char* format, ...) {
  va_list args;
  va_start(args, format);
  s_ = VFormat(format, args);
  va_end(args);
  return *this;
}

AnsiString& AnsiString::cat_sprintf(const char* format, ...) {
  va_list args;
  va_start(args, format);
  s_ += VFormat(format, args);
  va_end(args);
  return *this;
}
