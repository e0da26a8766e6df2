#include "platform/rtl/DateText.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FileTimes.h"
#include "platform/rtl/Format.h"

AnsiString ShortDateFormat = "M/d/yyyy";
char DateSeparator = '/';
char TimeSeparator = ':';

namespace {

constexpr double kMsPerDay = 86400000.0;

// Reads digits at `i`; false when there are none or too many.
bool Number(const std::string& s, std::size_t& i, int& value, std::size_t maxDigits = 4) {
  std::size_t start = i;
  value = 0;
  while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])) && i - start < maxDigits)
    value = value * 10 + (s[i++] - '0');
  return i > start && !(i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])));
}

void SkipBlanks(const std::string& s, std::size_t& i) {
  while (i < s.size() && s[i] == ' ') ++i;
}

// The order of month, day and year in ShortDateFormat, as 'M', 'D', 'Y'.
std::string DateOrder() {
  std::string order;
  for (char c : ShortDateFormat.ToStd()) {
    char k = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if ((k == 'M' || k == 'D' || k == 'Y') && order.find(k) == std::string::npos) order += k;
  }
  return order.size() == 3 ? order : "MDY";
}

bool ParseDate(const std::string& s, std::size_t& i, TDateTime& value) {
  SkipBlanks(s, i);
  std::vector<int> parts;
  std::vector<std::size_t> digits;
  for (int k = 0; k < 3; ++k) {
    std::size_t start = i;
    int n = 0;
    if (!Number(s, i, n)) return false;
    parts.push_back(n);
    digits.push_back(i - start);
    if (k < 2) {
      if (i < s.size() && s[i] == DateSeparator) {
        ++i;
      } else {
        break;
      }
    }
  }
  if (parts.size() < 2) return false;
  std::string order = DateOrder();
  WORD year = 0, month = 0, day = 0;
  WORD nowYear = 0, nowMonth = 0, nowDay = 0;
  DecodeDate(Date(), nowYear, nowMonth, nowDay);
  if (parts.size() == 2) {
    // Month and day in the format's order, this year.
    order.erase(order.find('Y'), 1);
    year = nowYear;
  }
  for (std::size_t k = 0; k < parts.size(); ++k) {
    switch (order[k]) {
      case 'M':
        month = static_cast<WORD>(parts[k]);
        break;
      case 'D':
        day = static_cast<WORD>(parts[k]);
        break;
      default: {
        int y = parts[k];
        if (digits[k] <= 2) {  // two digits: the century that puts it within 50 years of now
          int century = nowYear / 100 * 100;
          y += century;
          if (y > nowYear + 50)
            y -= 100;
          else if (y <= nowYear - 50)
            y += 100;
        }
        if (y < 1 || y > 9999) return false;
        year = static_cast<WORD>(y);
      }
    }
  }
  try {
    value = EncodeDate(year, month, day);
  } catch (const EConvertError&) {
    return false;
  }
  return true;
}

bool ParseTime(const std::string& s, std::size_t& i, TDateTime& value) {
  SkipBlanks(s, i);
  int h = 0, m = 0, sec = 0, ms = 0;
  if (!Number(s, i, h, 2)) return false;
  if (i < s.size() && s[i] == TimeSeparator) {
    ++i;
    if (!Number(s, i, m, 2)) return false;
    if (i < s.size() && s[i] == TimeSeparator) {
      ++i;
      if (!Number(s, i, sec, 2)) return false;
      if (i < s.size() && s[i] == '.') {
        ++i;
        if (!Number(s, i, ms, 3)) return false;
      }
    }
  } else {
    // A bare hour needs AM or PM.
    std::size_t k = i;
    SkipBlanks(s, k);
    if (k >= s.size() || (std::toupper(static_cast<unsigned char>(s[k])) != 'A' &&
                          std::toupper(static_cast<unsigned char>(s[k])) != 'P'))
      return false;
  }
  SkipBlanks(s, i);
  if (i < s.size() && (std::toupper(static_cast<unsigned char>(s[i])) == 'A' ||
                       std::toupper(static_cast<unsigned char>(s[i])) == 'P')) {
    bool pm = std::toupper(static_cast<unsigned char>(s[i])) == 'P';
    if (i + 1 < s.size() && std::toupper(static_cast<unsigned char>(s[i + 1])) == 'M')
      i += 2;
    else
      ++i;
    if (h < 1 || h > 12) return false;
    h = h % 12 + (pm ? 12 : 0);
  }
  if (h > 23 || m > 59 || sec > 59 || ms > 999) return false;
  value = (h * 3600000.0 + m * 60000.0 + sec * 1000.0 + ms) / kMsPerDay;
  return true;
}

bool AtEnd(const std::string& s, std::size_t i) {
  SkipBlanks(s, i);
  return i == s.size();
}

[[noreturn]] void Invalid(const char* what, const AnsiString& s) {
  throw EConvertError(Format(AnsiString("'%s' is not a valid ") + what, {TVarRec(s)}));
}

AnsiString Two(int v) {
  std::string t = std::to_string(v);
  return AnsiString(t.size() < 2 ? "0" + t : t);
}

}  // namespace

TDateTime EncodeTime(WORD hour, WORD minute, WORD second, WORD millisecond) {
  if (hour > 23 || minute > 59 || second > 59 || millisecond > 999)
    throw EConvertError("Invalid argument to time encode");
  return (hour * 3600000.0 + minute * 60000.0 + second * 1000.0 + millisecond) / kMsPerDay;
}

void DecodeTime(TDateTime time, WORD& hour, WORD& minute, WORD& second, WORD& millisecond) {
  double fraction = std::fabs(time - std::trunc(time));
  auto ms = static_cast<long long>(std::llround(fraction * kMsPerDay));
  if (ms >= 86400000) ms = 86399999;
  hour = static_cast<WORD>(ms / 3600000);
  minute = static_cast<WORD>(ms / 60000 % 60);
  second = static_cast<WORD>(ms / 1000 % 60);
  millisecond = static_cast<WORD>(ms % 1000);
}

bool TryStrToDate(const AnsiString& s, TDateTime& value) {
  std::string text = s.ToStd();
  std::size_t i = 0;
  TDateTime d = 0;
  if (!ParseDate(text, i, d) || !AtEnd(text, i)) return false;
  value = d;
  return true;
}

bool TryStrToTime(const AnsiString& s, TDateTime& value) {
  std::string text = s.ToStd();
  std::size_t i = 0;
  TDateTime t = 0;
  if (!ParseTime(text, i, t) || !AtEnd(text, i)) return false;
  value = t;
  return true;
}

bool TryStrToDateTime(const AnsiString& s, TDateTime& value) {
  std::string text = s.ToStd();
  std::size_t i = 0;
  TDateTime d = 0, t = 0;
  if (ParseDate(text, i, d)) {
    if (AtEnd(text, i)) {
      value = d;
      return true;
    }
    if (!ParseTime(text, i, t) || !AtEnd(text, i)) return false;
    value = d < 0 ? d - t : d + t;
    return true;
  }
  return TryStrToTime(s, value);
}

TDateTime StrToDate(const AnsiString& s) {
  TDateTime v = 0;
  if (!TryStrToDate(s, v)) Invalid("date", s);
  return v;
}

TDateTime StrToTime(const AnsiString& s) {
  TDateTime v = 0;
  if (!TryStrToTime(s, v)) Invalid("time", s);
  return v;
}

TDateTime StrToDateTime(const AnsiString& s) {
  TDateTime v = 0;
  if (!TryStrToDateTime(s, v)) Invalid("date and time", s);
  return v;
}

AnsiString DateToStr(TDateTime value) {
  WORD y = 0, m = 0, d = 0;
  DecodeDate(value, y, m, d);
  std::string out;
  const std::string format = ShortDateFormat.ToStd();
  for (std::size_t i = 0; i < format.size();) {
    char c = format[i];
    std::size_t run = 1;
    while (i + run < format.size() && format[i + run] == c) ++run;
    char k = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (k == 'M')
      out += run >= 2 ? Two(m).ToStd() : std::to_string(m);
    else if (k == 'D')
      out += run >= 2 ? Two(d).ToStd() : std::to_string(d);
    else if (k == 'Y')
      out += run <= 2 ? Two(y % 100).ToStd() : std::to_string(y);
    else if (c == '/')
      out += std::string(run, DateSeparator);
    else
      out += std::string(run, c);
    i += run;
  }
  return AnsiString(out);
}

AnsiString TimeToStr(TDateTime value) {
  WORD h = 0, n = 0, s = 0, ms = 0;
  DecodeTime(value, h, n, s, ms);
  int h12 = h % 12 == 0 ? 12 : h % 12;
  return AnsiString(std::to_string(h12) + TimeSeparator + Two(n).ToStd() + TimeSeparator + Two(s).ToStd() +
                    (h < 12 ? " AM" : " PM"));
}

AnsiString DateTimeToStr(TDateTime value) {
  bool midnight = value == std::trunc(value);
  return midnight ? DateToStr(value) : DateToStr(value) + " " + TimeToStr(value);
}
