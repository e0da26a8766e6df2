#include "unicode/EngUsFloat.h"

#include <charconv>
#include <cmath>
#include <string>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"

namespace {

bool Parse(const std::string& text, double& value) {
  const char* first = text.data();
  const char* last = first + text.size();
  if (first != last && *first == '+') ++first;
  auto [end, error] = std::from_chars(first, last, value);
  return error == std::errc() && end == last && first != last;
}

}  // namespace

WideString ENG_US_FloatToStr(double value) {
  char buffer[64];
  auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
  std::u16string out(buffer, error == std::errc() ? end : buffer);
  return WideString(std::move(out));
}

double ENG_US_StrToFloat(const WideString& s) {
  std::string text;
  const WideString trimmed = s.Trim();
  for (char16_t c : trimmed.ToU16()) {
    if (c > 0x7F) throw EConvertError(Format("'%s' is not a valid floating point value", {TVarRec(s)}));
    text += static_cast<char>(c);
  }
  double value = 0;
  if (Parse(text, value)) return value;
  if (DecimalSeparator != '.' && text.find('.') == std::string::npos) {
    std::string swapped = text;
    for (char& c : swapped)
      if (c == DecimalSeparator) c = '.';
    if (Parse(swapped, value)) return value;
  }
  throw EConvertError(Format("'%s' is not a valid floating point value", {TVarRec(s)}));
}
