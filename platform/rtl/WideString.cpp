// WideString members that need more than the header.
#include "platform/rtl/WideString.h"

#include "platform/rtl/AnsiString.h"
#include "platform/rtl/CodePage.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/ParseInt.h"
#include "platform/rtl/RtlHooks.h"
#include "platform/rtl/StringRoutines.h"

namespace {
std::u16string DecimalText(int v) {
  std::string s = std::to_string(v);
  return std::u16string(s.begin(), s.end());
}
bool IsTrimmed(char16_t c) { return c <= u' '; }
}  // namespace

WideString::WideString(int v) : s_(DecimalText(v)) {}
namespace {
std::u16string AnsiToWide(std::string_view bytes) {
  auto hook = platform::GetRtlHooks().AnsiToWide;
  return hook ? hook(bytes) : platform::OwnAnsiToWide(bytes);
}
}  // namespace

namespace platform {
std::u16string OwnAnsiToWide(std::string_view bytes) { return MultiByteToUtf16(bytes); }
}  // namespace platform

WideString::WideString(const AnsiString& a)
    : s_(AnsiToWide(std::string_view(a.c_str(), static_cast<std::size_t>(a.Length())))) {}
WideString::WideString(const char* a) : s_(a ? AnsiToWide(a) : std::u16string()) {}

char16_t& WideString::operator[](int index) {
  if (index < 1 || index > Length()) throw ERangeError("Index out of bounds (" + AnsiString(index) + ")");
  return s_[static_cast<std::size_t>(index - 1)];
}

char16_t WideString::operator[](int index) const {
  if (index < 1 || index > Length()) throw ERangeError("Index out of bounds (" + AnsiString(index) + ")");
  return s_[static_cast<std::size_t>(index - 1)];
}

WideString WideString::SubString(int start, int count) const {
  if (start < 1) start = 1;
  if (count <= 0 || start > Length()) return WideString();
  return WideString(s_.substr(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(count)));
}

int WideString::Pos(const WideString& sub) const {
  if (sub.IsEmpty()) return 0;
  std::size_t at = s_.find(sub.s_);
  return at == std::u16string::npos ? 0 : static_cast<int>(at) + 1;
}

WideString& WideString::Insert(const WideString& str, int index) {
  if (index < 1) index = 1;
  if (index > Length() + 1) index = Length() + 1;
  s_.insert(static_cast<std::size_t>(index - 1), str.s_);
  return *this;
}

WideString& WideString::Delete(int index, int count) {
  if (index < 1 || index > Length() || count <= 0) return *this;
  s_.erase(static_cast<std::size_t>(index - 1), static_cast<std::size_t>(count));
  return *this;
}

WideString WideString::UpperCase() const { return WideUpperCase(*this); }
WideString WideString::LowerCase() const { return WideLowerCase(*this); }

WideString WideString::Trim() const { return TrimLeft().TrimRight(); }

WideString WideString::TrimLeft() const {
  std::size_t i = 0;
  while (i < s_.size() && IsTrimmed(s_[i])) ++i;
  return WideString(s_.substr(i));
}

WideString WideString::TrimRight() const {
  std::size_t n = s_.size();
  while (n > 0 && IsTrimmed(s_[n - 1])) --n;
  return WideString(s_.substr(0, n));
}

int WideString::ToInt() const {
  int v = 0;
  if (!platform::ParseInt(s_, v))
    throw EConvertError("'" + AnsiString(*this) + "' is not a valid integer value");
  return v;
}

int WideString::ToIntDef(int defaultValue) const {
  int v = 0;
  return platform::ParseInt(s_, v) ? v : defaultValue;
}
