// The shared formatter behind Format and WideFormat.
#include "platform/rtl/Format.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/rtl/CodePage.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FloatText.h"
#include "platform/rtl/RtlHooks.h"

char DecimalSeparator = '.';
char ThousandSeparator = ',';

namespace {

[[noreturn]] void BadFormat(const AnsiString& format) {
  throw EConvertError("Bad format string '" + format + "' for the given arguments");
}

struct Conversion {
  bool left = false;
  int width = -1;
  int precision = -1;
  char type = 0;
};

// Everything is produced as ASCII or as the argument's own text; `Out` is std::string (system
// code page) or std::u16string.
template <typename Out>
Out TextOf(const TVarRec::Value& v);
template <>
std::string TextOf<std::string>(const TVarRec::Value& v) {
  if (auto* a = std::get_if<AnsiString>(&v)) return a->ToStd();
  return platform::Utf16ToMultiByte(std::get<WideString>(v).ToU16());
}
template <>
std::u16string TextOf<std::u16string>(const TVarRec::Value& v) {
  if (auto* w = std::get_if<WideString>(&v)) return w->ToU16();
  return platform::MultiByteToUtf16(std::get<AnsiString>(v).ToStd());
}

template <typename Out>
Out Widen(const std::string& ascii) {
  return Out(ascii.begin(), ascii.end());
}

std::string Digits(std::uint64_t magnitude, int base) {
  char buf[32];
  auto r = std::to_chars(buf, buf + sizeof buf, magnitude, base);
  std::string s(buf, r.ptr);
  for (char& c : s)
    if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 32);
  return s;
}

std::string GroupThousands(const std::string& fixed) {
  std::size_t start = fixed[0] == '-' ? 1 : 0;
  std::size_t dot = fixed.find('.');
  std::size_t intEnd = dot == std::string::npos ? fixed.size() : dot;
  std::string out = fixed.substr(0, start);
  for (std::size_t i = start; i < intEnd; ++i) {
    out += fixed[i];
    std::size_t left = intEnd - i - 1;
    if (left > 0 && left % 3 == 0) out += ThousandSeparator;
  }
  out += fixed.substr(intEnd);
  return out;
}

std::string UseSeparator(std::string s) {
  for (char& c : s)
    if (c == '.') c = DecimalSeparator;
  return s;
}

std::string FormatFloat(char type, double v, int precision) {
  if (std::isnan(v)) return "NAN";
  if (std::isinf(v)) return v < 0 ? "-INF" : "INF";
  switch (type) {
    case 'e': {
      int digits = precision < 0 ? 15 : std::max(1, std::min(precision, 18));
      return UseSeparator(platform::ScientificText(v, digits, 3, true));
    }
    case 'f':
      return UseSeparator(platform::FixedText(v, precision < 0 ? 2 : std::min(precision, 18)));
    case 'g': {
      int digits = precision < 0 ? 15 : std::max(1, std::min(precision, 18));
      return UseSeparator(platform::GeneralText(v, digits));
    }
    case 'n':
      return UseSeparator(
          GroupThousands(platform::FixedText(v, precision < 0 ? 2 : std::min(precision, 18))));
    case 'm': {
      // The sign follows the rounded digits: an amount that rounds to zero has none.
      std::string fixed = platform::FixedText(v, precision < 0 ? 2 : std::min(precision, 18));
      const bool negative = !fixed.empty() && fixed[0] == '-';
      if (negative) fixed.erase(0, 1);
      std::string n = UseSeparator(GroupThousands(fixed));
      return negative ? "-$" + n : "$" + n;
    }
  }
  return std::string();
}

template <typename Out>
Out Run(const Out& format, const TVarRec* args, std::size_t count, const AnsiString& formatForErrors) {
  Out out;
  std::size_t next = 0;  // the next implicit argument
  std::size_t i = 0;
  auto take = [&](std::size_t index) -> const TVarRec::Value& {
    if (index >= count) BadFormat(formatForErrors);
    return args[index].value();
  };
  auto takeInt = [&]() -> int {
    const TVarRec::Value& v = take(next++);
    if (auto* n = std::get_if<std::int64_t>(&v)) return static_cast<int>(*n);
    if (auto* u = std::get_if<std::uint64_t>(&v)) return static_cast<int>(*u);
    BadFormat(formatForErrors);
  };
  while (i < format.size()) {
    auto c = format[i++];
    if (c != '%') {
      out.push_back(c);
      continue;
    }
    if (i >= format.size()) BadFormat(formatForErrors);
    if (format[i] == '%') {
      out.push_back(c);
      ++i;
      continue;
    }
    Conversion conv;
    auto readNumber = [&](int& value) {
      while (i < format.size() && format[i] >= '0' && format[i] <= '9') {
        value = (value < 0 ? 0 : value) * 10 + (format[i] - '0');
        if (value > 100000) BadFormat(formatForErrors);
        ++i;
      }
    };
    auto readWidth = [&] {
      if (i < format.size() && format[i] == '-') {
        conv.left = true;
        ++i;
      }
      if (i < format.size() && format[i] == '*') {
        conv.width = takeInt();
        ++i;
      } else {
        readNumber(conv.width);
      }
    };
    // "%[index:]...": a leading number (or "*") is the index when a colon follows, else the width.
    int first = -1;
    bool firstStar = false;
    if (format[i] == '*') {
      firstStar = true;
      ++i;
    } else {
      readNumber(first);
    }
    if (i < format.size() && format[i] == ':') {
      int index = firstStar ? takeInt() : first;
      if (index < 0) BadFormat(formatForErrors);
      next = static_cast<std::size_t>(index);
      ++i;
      readWidth();
    } else if (firstStar) {
      conv.width = takeInt();
    } else if (first >= 0) {
      conv.width = first;
    } else {
      readWidth();
    }
    if (i < format.size() && format[i] == '.') {
      ++i;
      conv.precision = 0;
      if (i < format.size() && format[i] == '*') {
        conv.precision = takeInt();
        ++i;
      } else {
        while (i < format.size() && format[i] >= '0' && format[i] <= '9') {
          conv.precision = conv.precision * 10 + (format[i] - '0');
          if (conv.precision > 100000) BadFormat(formatForErrors);
          ++i;
        }
      }
    }
    if (i >= format.size()) BadFormat(formatForErrors);
    char type = static_cast<char>(format[i++]);
    if (type >= 'A' && type <= 'Z') type = static_cast<char>(type + 32);
    const TVarRec::Value& v = take(next++);
    Out piece;
    switch (type) {
      case 'd':
      case 'u':
      case 'x': {
        bool negative = false;
        std::uint64_t magnitude;
        if (auto* n = std::get_if<std::int64_t>(&v)) {
          if (type == 'd') {
            negative = *n < 0;
            magnitude = negative ? 0 - static_cast<std::uint64_t>(*n) : static_cast<std::uint64_t>(*n);
          } else {
            // Unsigned and hexadecimal read a negative 32-bit value as its 32-bit pattern.
            magnitude =
                (*n >= INT32_MIN && *n < 0) ? static_cast<std::uint32_t>(*n) : static_cast<std::uint64_t>(*n);
          }
        } else if (auto* u = std::get_if<std::uint64_t>(&v)) {
          magnitude = *u;
        } else {
          BadFormat(formatForErrors);
        }
        std::string digits = Digits(magnitude, type == 'x' ? 16 : 10);
        if (conv.precision > static_cast<int>(digits.size()))
          digits.insert(0, static_cast<std::size_t>(conv.precision) - digits.size(), '0');
        piece = Widen<Out>((negative ? "-" : "") + digits);
        break;
      }
      case 'e':
      case 'f':
      case 'g':
      case 'n':
      case 'm': {
        double d;
        if (auto* f = std::get_if<double>(&v))
          d = *f;
        else
          BadFormat(formatForErrors);
        piece = Widen<Out>(FormatFloat(type, d, conv.precision));
        break;
      }
      case 'p': {
        auto* p = std::get_if<const void*>(&v);
        if (!p) BadFormat(formatForErrors);
        std::string digits = Digits(reinterpret_cast<std::uintptr_t>(*p), 16);
        digits.insert(0, 16 - digits.size(), '0');
        piece = Widen<Out>(digits);
        break;
      }
      case 's': {
        if (!std::holds_alternative<AnsiString>(v) && !std::holds_alternative<WideString>(v))
          BadFormat(formatForErrors);
        piece = TextOf<Out>(v);
        if (conv.precision >= 0 && piece.size() > static_cast<std::size_t>(conv.precision))
          piece.resize(static_cast<std::size_t>(conv.precision));
        break;
      }
      default:
        BadFormat(formatForErrors);
    }
    if (conv.width > static_cast<int>(piece.size())) {
      Out pad(static_cast<std::size_t>(conv.width) - piece.size(), ' ');
      piece = conv.left ? piece + pad : pad + piece;
    }
    out += piece;
  }
  return out;
}

}  // namespace

AnsiString Format(const AnsiString& format, const TVarRec* args, int high) {
  return AnsiString(
      Run<std::string>(format.ToStd(), args, high < 0 ? 0 : static_cast<std::size_t>(high) + 1, format));
}

WideString WideFormat(const WideString& format, const TVarRec* args, int high) {
  if (auto hook = platform::GetRtlHooks().WideFormat) return hook(format, args, high);
  return platform::OwnWideFormat(format, args, high);
}

WideString platform::OwnWideFormat(const WideString& format, const TVarRec* args, int high) {
  return WideString(Run<std::u16string>(
      format.ToU16(), args, high < 0 ? 0 : static_cast<std::size_t>(high) + 1, AnsiString(format)));
}

AnsiString Format(const AnsiString& format, std::initializer_list<TVarRec> args) {
  return Format(format, args.begin(), static_cast<int>(args.size()) - 1);
}

WideString WideFormat(const WideString& format, std::initializer_list<TVarRec> args) {
  return WideFormat(format, args.begin(), static_cast<int>(args.size()) - 1);
}

void FmtStr(AnsiString& result, const AnsiString& format, std::initializer_list<TVarRec> args) {
  result = Format(format, args);
}
