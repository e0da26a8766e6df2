// Format strings from outside (a message text or its translation, as UTF-16 little-endian)
// through the format-string checks: a format either raises EFormatSpecError or is rewritten so
// that rewriting again changes nothing and it compares equal to the original; formatting its
// floating-point specifiers ahead may raise only the formatter's own errors.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/rtl/Exceptions.h"
#include "unicode/TFormatStrParser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::u16string units(size / 2, u'\0');
  for (std::size_t i = 0; i < units.size(); ++i) units[i] = char16_t(data[2 * i] | (data[2 * i + 1] << 8));
  const WideString format(units);
  WideString canonical;
  try {
    canonical = GetCanonicalFormatStr(format);
  } catch (const EFormatSpecError&) {
    return 0;
  }
  try {
    if (GetCanonicalFormatStr(canonical) != canonical) std::abort();
  } catch (const EFormatSpecError&) {
    // The grammar takes a "*" width followed by digits ("%*0f"), which the formatter refuses
    // too; with its index written out such a specifier no longer parses.
  }
  try {
    if (!FormatStringsAreCompatible(format, canonical)) std::abort();
  } catch (const EFormatSpecError&) {
    // One argument named with two types.
  } catch (const EConvertError&) {
    // An index too large for a number.
  }
  const TVarRec args[] = {TVarRec(3), TVarRec(2.5), TVarRec(u"\u1781"), TVarRec(-7), TVarRec(1e300)};
  try {
    ReplaceFloatingArgumentsInFormatString(format, args, 4);
  } catch (const EConvertError&) {
    // A specifier the formatter refuses or an argument of the wrong kind.
  }
  return 0;
}
