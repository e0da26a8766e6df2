// The classic integer reading rules.
#include "platform/rtl/ParseInt.h"

#include <limits>

namespace platform {
namespace {

template <typename C>
bool Parse(std::basic_string_view<C> t, std::int64_t limitPositive, std::int64_t& out) {
  std::size_t i = 0;
  while (i < t.size() && (t[i] == ' ' || t[i] == '\t')) ++i;
  bool negative = false;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) negative = t[i++] == '-';
  int base = 10;
  if (i < t.size() && t[i] == '$') {
    base = 16, ++i;
  } else if (i + 1 < t.size() && t[i] == '0' && (t[i + 1] == 'x' || t[i + 1] == 'X')) {
    base = 16, i += 2;
  }
  if (i >= t.size()) return false;
  // The magnitude may reach limit + 1 for a negative number; hexadecimal text may also spell the
  // unsigned range (StrToInt("$FFFFFFFF") is -1), which the caller's limit allows for.
  const std::uint64_t maxMagnitude = static_cast<std::uint64_t>(limitPositive) + 1;
  const std::uint64_t hexLimit = base == 16 ? maxMagnitude * 2 - 1 : maxMagnitude;
  std::uint64_t v = 0;
  for (; i < t.size(); ++i) {
    C c = t[i];
    int d;
    if (c >= '0' && c <= '9')
      d = c - '0';
    else if (base == 16 && c >= 'a' && c <= 'f')
      d = c - 'a' + 10;
    else if (base == 16 && c >= 'A' && c <= 'F')
      d = c - 'A' + 10;
    else
      return false;
    const std::uint64_t ub = static_cast<std::uint64_t>(base), ud = static_cast<std::uint64_t>(d);
    if (v > (hexLimit - ud) / ub) return false;
    v = v * ub + ud;
  }
  if (base == 10 && !negative && v > static_cast<std::uint64_t>(limitPositive)) return false;
  if (base == 16 && v > static_cast<std::uint64_t>(limitPositive) && !negative) {
    // Two's complement reading of a full-width hexadecimal value.
    out = static_cast<std::int64_t>(v - 2 * maxMagnitude);
    return true;
  }
  if (negative && v > maxMagnitude) return false;
  out = negative ? -static_cast<std::int64_t>(v - 1) - 1 : static_cast<std::int64_t>(v);
  return true;
}

}  // namespace

bool ParseInt(std::string_view text, int& value) {
  std::int64_t v;
  if (!Parse(text, std::numeric_limits<int>::max(), v)) return false;
  value = static_cast<int>(v);
  return true;
}

bool ParseInt(std::u16string_view text, int& value) {
  std::int64_t v;
  if (!Parse(text, std::numeric_limits<int>::max(), v)) return false;
  value = static_cast<int>(v);
  return true;
}

bool ParseInt64(std::string_view text, std::int64_t& value) {
  return Parse(text, std::numeric_limits<std::int64_t>::max(), value);
}

}  // namespace platform
