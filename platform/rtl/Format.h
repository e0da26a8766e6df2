// Format and WideFormat: one formatter for 8-bit and UTF-16 text with the classic specifiers
// %[index:][-][width][.precision]type, types d u x e f g n m p s, "*" for a width or precision
// taken from the arguments, and "%%". Numbers use "." (DecimalSeparator) whatever the locale.
// A bad specifier, a missing argument or one of the wrong kind raises EConvertError.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <variant>

#include "platform/rtl/AnsiString.h"
#include "platform/rtl/WideString.h"

// One argument of Format: a small variant (integer, unsigned, 64-bit integer, floating point,
// pointer, 8-bit text, UTF-16 text, boolean).
class TVarRec {
 public:
  TVarRec(int v) : value_(static_cast<std::int64_t>(v)) {}
  TVarRec(long v) : value_(static_cast<std::int64_t>(v)) {}
  TVarRec(long long v) : value_(static_cast<std::int64_t>(v)) {}
  TVarRec(unsigned v) : value_(static_cast<std::uint64_t>(v)) {}
  TVarRec(unsigned long v) : value_(static_cast<std::uint64_t>(v)) {}
  TVarRec(unsigned long long v) : value_(static_cast<std::uint64_t>(v)) {}
  TVarRec(short v) : value_(static_cast<std::int64_t>(v)) {}
  TVarRec(unsigned short v) : value_(static_cast<std::uint64_t>(v)) {}
  TVarRec(double v) : value_(v) {}
  TVarRec(float v) : value_(static_cast<double>(v)) {}
  TVarRec(bool v) : value_(v) {}
  TVarRec(char c) : value_(AnsiString(c)) {}
  TVarRec(char16_t c) : value_(WideString(c)) {}
  TVarRec(const char* s) : value_(AnsiString(s)) {}
  TVarRec(const AnsiString& s) : value_(s) {}
  TVarRec(const char16_t* s) : value_(WideString(s)) {}
  TVarRec(const WideString& s) : value_(s) {}
  TVarRec(const void* p) : value_(p) {}

  using Value = std::variant<std::int64_t, std::uint64_t, double, bool, const void*, AnsiString, WideString>;
  const Value& value() const { return value_; }

 private:
  Value value_;
};

// The form library's decimal separator for formatted numbers.
extern char DecimalSeparator;
extern char ThousandSeparator;

AnsiString Format(const AnsiString& format, std::initializer_list<TVarRec> args);
WideString WideFormat(const WideString& format, std::initializer_list<TVarRec> args);
// The classic open-array form: `high` is the index of the last argument (count - 1).
AnsiString Format(const AnsiString& format, const TVarRec* args, int high);
WideString WideFormat(const WideString& format, const TVarRec* args, int high);
void FmtStr(AnsiString& result, const AnsiString& format, std::initializer_list<TVarRec> args);

template <typename... A>
AnsiString Format(const AnsiString& format, const A&... args) {
  return Format(format, {TVarRec(args)...});
}
template <typename... A>
WideString WideFormat(const WideString& format, const A&... args) {
  return WideFormat(format, {TVarRec(args)...});
}
