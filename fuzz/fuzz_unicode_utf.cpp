// Outside bytes through the Unicode layer's decoders. The first byte picks the decoder: UTF-7
// (whatever it accepts must re-encode to text that decodes to the same units), UTF-8 (the same
// round trip), or a code page, where a page the system cannot convert may raise but never
// answers empty for a non-empty input.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/rtl/Exceptions.h"
#include "unicode/CodePageConversion.h"
#include "unicode/Utf7.h"
#include "unicode/WideException.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  AnsiString bytes(reinterpret_cast<const char*>(data) + 1, static_cast<int>(size - 1));
  static constexpr UINT kPages[] = {1252, 1258, 874, 932, 936, 949, 950};
  switch (data[0] % 3) {
    case 0:
      try {
        WideString text = UTF7ToWideString(bytes);
        if (UTF7ToWideString(WideStringToUTF7(text)) != text) std::abort();
      } catch (const EUcGeneralError&) {
      }
      break;
    case 1: {
      WideString text = UTF8ToWideString(bytes);
      if (UTF8ToWideString(WideStringToUTF8(text)) != text) std::abort();
      break;
    }
    default: {
      UINT page = kPages[(data[0] / 3) % (sizeof kPages / sizeof kPages[0])];
      try {
        WideString text = StringToWideStringEx(bytes, page);
        if (!bytes.IsEmpty() && text.IsEmpty()) std::abort();
        WideStringToStringEx(text, page);
      } catch (const EOSError&) {
      }
    }
  }
  return 0;
}
