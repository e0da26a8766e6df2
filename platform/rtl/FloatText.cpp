// Floating-point text. Digits come from the exact decimal expansion of the double (through
// std::to_chars, which never looks at the locale), rounded half away from zero as the classic
// formatter does ("%.0f" of 2.5 is "3", not the C library's "2").
#include "platform/rtl/FloatText.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace platform {
namespace {

// |v| as a digit string and the position of the decimal point within it: value = 0.digits * 10^point.
struct Decimal {
  std::string digits;  // no leading zeros; empty for zero
  int point = 0;
};

Decimal Exact(double v) {
  static thread_local char buf[1600];
  auto r = std::to_chars(buf, buf + sizeof buf, std::fabs(v), std::chars_format::fixed, 1100);
  std::string s(buf, r.ptr);
  std::size_t dot = s.find('.');
  Decimal d;
  d.digits = s.substr(0, dot) + s.substr(dot + 1);
  d.point = static_cast<int>(dot);
  std::size_t lead = d.digits.find_first_not_of('0');
  if (lead == std::string::npos) return Decimal{};
  d.digits.erase(0, lead);
  d.point -= static_cast<int>(lead);
  std::size_t last = d.digits.find_last_not_of('0');
  d.digits.erase(last + 1);
  return d;
}

// Keeps `keep` leading digits (may be 0 or negative), rounding half away from zero.
Decimal RoundDigits(Decimal d, int keep) {
  if (keep < 0) return Decimal{};
  if (static_cast<int>(d.digits.size()) <= keep) return d;
  bool up = d.digits[static_cast<std::size_t>(keep)] >= '5';
  d.digits.resize(static_cast<std::size_t>(keep));
  if (up) {
    int i = keep - 1;
    while (i >= 0 && d.digits[static_cast<std::size_t>(i)] == '9')
      d.digits[static_cast<std::size_t>(i--)] = '0';
    if (i < 0) {
      d.digits.insert(0, "1");
      ++d.point;
    } else {
      ++d.digits[static_cast<std::size_t>(i)];
    }
  }
  std::size_t last = d.digits.find_last_not_of('0');
  if (last == std::string::npos) return Decimal{};
  d.digits.erase(last + 1);
  return d;
}

char DigitAt(const Decimal& d, int i) {  // i-th digit of 0.digits
  return (i >= 0 && i < static_cast<int>(d.digits.size())) ? d.digits[static_cast<std::size_t>(i)] : '0';
}

std::string Exponent(int e, int minDigits, bool plusSign) {
  std::string digits = std::to_string(std::abs(e));
  if (static_cast<int>(digits.size()) < minDigits)
    digits.insert(0, static_cast<std::size_t>(minDigits) - digits.size(), '0');
  return "E" + std::string(e < 0 ? "-" : (plusSign ? "+" : "")) + digits;
}

// Fixed text of a rounded decimal with `decimals` digits after the point (-1: as many as it has).
std::string FixedOf(const Decimal& d, int decimals) {
  std::string out;
  if (d.point <= 0) {
    out = "0";
  } else {
    for (int i = 0; i < d.point; ++i) out += DigitAt(d, i);
  }
  int frac = decimals >= 0 ? decimals : std::max(0, static_cast<int>(d.digits.size()) - d.point);
  if (frac > 0) {
    out += '.';
    for (int i = 0; i < frac; ++i) out += DigitAt(d, d.point + i);
  }
  return out;
}

std::string Signed(double v, const Decimal& d, std::string text) {
  return (v < 0 && !d.digits.empty()) ? "-" + text : text;
}

}  // namespace

std::string ShortestText(double v) {
  if (v == 0) return "0";
  char buf[64];
  auto r = std::to_chars(buf, buf + sizeof buf, v);
  std::string s(buf, r.ptr);
  std::size_t e = s.find('e');
  if (e == std::string::npos) return s;
  return s.substr(0, e) + Exponent(std::atoi(s.c_str() + e + 1), 0, false);
}

std::string FixedText(double v, int decimals) {
  Decimal d = RoundDigits(Exact(v), Exact(v).point + decimals);
  return Signed(v, d, FixedOf(d, decimals));
}

std::string ScientificText(double v, int digits, int exponentDigits, bool plusSign) {
  Decimal d = RoundDigits(Exact(v), digits);
  std::string mantissa(1, DigitAt(d, 0));
  if (digits > 1) {
    mantissa += '.';
    for (int i = 1; i < digits; ++i) mantissa += DigitAt(d, i);
  }
  int exponent = d.digits.empty() ? 0 : d.point - 1;
  return Signed(v, d, mantissa + Exponent(exponent, exponentDigits, plusSign));
}

std::string GeneralText(double v, int precision) {
  Decimal d = RoundDigits(Exact(v), precision);
  if (d.digits.empty()) return "0";
  int exponent = d.point - 1;
  if (exponent < precision && std::fabs(v) >= 0.00001) return Signed(v, d, FixedOf(d, -1));
  std::string mantissa(1, d.digits[0]);
  if (d.digits.size() > 1) mantissa += "." + d.digits.substr(1);
  return Signed(v, d, mantissa + Exponent(exponent, 0, false));
}

}  // namespace platform
