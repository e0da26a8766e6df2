// Text routines of the run-time library.
#include "platform/rtl/StringRoutines.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <string>
#include <string_view>

#include "platform/rtl/CaseMap.h"
#include "platform/rtl/CodePage.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FloatText.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/ParseInt.h"

AnsiString IntToStr(int value) { return AnsiString(std::to_string(value)); }
AnsiString IntToStr(std::int64_t value) { return AnsiString(std::to_string(value)); }

AnsiString IntToHex(std::int64_t value, int digits) {
  char buf[24];
  auto r = std::to_chars(buf, buf + sizeof buf, static_cast<std::uint64_t>(value), 16);
  std::string s(buf, r.ptr);
  for (char& c : s)
    if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 32);
  if (digits > 32) digits = 32;
  if (static_cast<int>(s.size()) < digits) s.insert(0, static_cast<std::size_t>(digits) - s.size(), '0');
  return AnsiString(s);
}

int StrToInt(const AnsiString& s) { return s.ToInt(); }
int StrToIntDef(const AnsiString& s, int defaultValue) { return s.ToIntDef(defaultValue); }
bool TryStrToInt(const AnsiString& s, int& value) { return platform::ParseInt(s.ToStd(), value); }

std::int64_t StrToInt64(const AnsiString& s) {
  std::int64_t v = 0;
  if (!platform::ParseInt64(s.ToStd(), v)) throw EConvertError("'" + s + "' is not a valid integer value");
  return v;
}

AnsiString FloatToStr(double value) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  std::string s = platform::ShortestText(value);
  for (char& c : s)
    if (c == '.') c = DecimalSeparator;
  return AnsiString(s);
}

bool TryStrToFloat(const AnsiString& s, double& value) {
  std::string t = s.Trim().ToStd();
  for (char& c : t)
    if (c == DecimalSeparator) c = '.';
  if (t.empty()) return false;
  const char* begin = t.c_str();
  if (*begin == '+') ++begin;
  auto r = std::from_chars(begin, t.c_str() + t.size(), value);
  return r.ec == std::errc() && r.ptr == t.c_str() + t.size();
}

double StrToFloat(const AnsiString& s) {
  double v = 0;
  if (!TryStrToFloat(s, v)) throw EConvertError("'" + s + "' is not a valid floating point value");
  return v;
}

AnsiString UpperCase(const AnsiString& s) {
  std::string t = s.ToStd();
  for (char& c : t)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  return AnsiString(t);
}

AnsiString LowerCase(const AnsiString& s) {
  std::string t = s.ToStd();
  for (char& c : t)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  return AnsiString(t);
}

WideString WideUpperCase(const WideString& s) {
  std::u16string t = s.ToU16();
  for (char16_t& c : t) c = platform::UpperUnit(c);
  return WideString(t);
}

WideString WideLowerCase(const WideString& s) {
  std::u16string t = s.ToU16();
  for (char16_t& c : t) c = platform::LowerUnit(c);
  return WideString(t);
}

AnsiString AnsiUpperCase(const AnsiString& s) { return AnsiString(WideUpperCase(WideString(s))); }
AnsiString AnsiLowerCase(const AnsiString& s) { return AnsiString(WideLowerCase(WideString(s))); }

AnsiString Trim(const AnsiString& s) { return s.Trim(); }
AnsiString TrimLeft(const AnsiString& s) { return s.TrimLeft(); }
AnsiString TrimRight(const AnsiString& s) { return s.TrimRight(); }
WideString Trim(const WideString& s) { return s.Trim(); }

AnsiString AnsiQuotedStr(const AnsiString& s, char quote) {
  std::string out(1, quote);
  for (char c : s.ToStd()) {
    out += c;
    if (c == quote) out += c;
  }
  out += quote;
  return AnsiString(out);
}

AnsiString QuotedStr(const AnsiString& s) { return AnsiQuotedStr(s, '\''); }

AnsiString AnsiExtractQuotedStr(const char*& p, char quote) {
  if (!p || *p != quote) return AnsiString();
  const char* q = p + 1;
  std::string out;
  while (*q) {
    if (*q == quote) {
      if (q[1] == quote) {
        out += quote;
        q += 2;
        continue;
      }
      ++q;
      break;
    }
    out += *q++;
  }
  p = q;
  return AnsiString(out);
}

const char* AnsiLastChar(const AnsiString& s) {
  if (s.IsEmpty()) return nullptr;
  int i = s.Length();
  while (i > 1 && ByteType(s, i) == mbTrailByte) --i;
  return s.c_str() + (i - 1);
}

AnsiString AdjustLineBreaks(const AnsiString& s) {
  const std::string& t = s.ToStd();
  std::string out;
  out.reserve(t.size());
  for (std::size_t i = 0; i < t.size(); ++i) {
    if (t[i] == '\r') {
      out += "\r\n";
      if (i + 1 < t.size() && t[i + 1] == '\n') ++i;
    } else if (t[i] == '\n') {
      out += "\r\n";
    } else {
      out += t[i];
    }
  }
  return AnsiString(out);
}

AnsiString StringReplace(const AnsiString& s, const AnsiString& oldPattern, const AnsiString& newPattern,
                         TReplaceFlags flags) {
  if (oldPattern.IsEmpty()) return s;
  const std::string& text = s.ToStd();
  // Matching ignores ASCII case only, so positions in the text stay byte positions.
  std::string searchText = flags.Contains(rfIgnoreCase) ? LowerCase(s).ToStd() : text;
  std::string pattern = flags.Contains(rfIgnoreCase) ? LowerCase(oldPattern).ToStd() : oldPattern.ToStd();
  std::string out;
  std::size_t from = 0;
  for (;;) {
    std::size_t at = searchText.find(pattern, from);
    if (at == std::string::npos) break;
    out.append(text, from, at - from);
    out += newPattern.ToStd();
    from = at + pattern.size();
    if (!flags.Contains(rfReplaceAll)) break;
  }
  out.append(text, from, std::string::npos);
  return AnsiString(out);
}

namespace {
int Sign(int v) { return v < 0 ? -1 : (v > 0 ? 1 : 0); }

// An ASCII byte is the UTF-16 unit of the same number in every code page.
char16_t Unit(char c) { return static_cast<unsigned char>(c); }
char16_t Unit(char16_t u) { return u; }

template <typename Char>
int CompareFolded(std::basic_string_view<Char> a, std::basic_string_view<Char> b) {
  std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    char16_t x = platform::FoldUnit(Unit(a[i])), y = platform::FoldUnit(Unit(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool IsAscii(const std::string& s) {
  for (char c : s)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}
}  // namespace

int CompareStr(const AnsiString& a, const AnsiString& b) { return Sign(a.ToStd().compare(b.ToStd())); }
int AnsiCompareStr(const AnsiString& a, const AnsiString& b) { return CompareStr(a, b); }
int WideCompareText(const WideString& a, const WideString& b) {
  return CompareFolded<char16_t>(a.ToU16(), b.ToU16());
}
bool WideSameText(const WideString& a, const WideString& b) { return WideCompareText(a, b) == 0; }
int CompareText(const AnsiString& a, const AnsiString& b) {
  // Class, property and component names are ASCII, and the form reader compares them by the
  // thousand at start-up: those need no widening.
  if (IsAscii(a.ToStd()) && IsAscii(b.ToStd())) return CompareFolded<char>(a.ToStd(), b.ToStd());
  return WideCompareText(WideString(a), WideString(b));
}
bool SameText(const AnsiString& a, const AnsiString& b) { return CompareText(a, b) == 0; }
int AnsiCompareText(const AnsiString& a, const AnsiString& b) { return CompareText(a, b); }
bool AnsiSameText(const AnsiString& a, const AnsiString& b) { return CompareText(a, b) == 0; }
