// Outside text through the run-time library: the profile-file reader (every encoding it
// recognises) and the UTF-8 codec, whose re-encoded output must decode to the same units.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/rtl/CodePage.h"
#include "platform/rtl/Profile.h"
#include "platform/rtl/Utf8.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  static const char16_t* const kSections[] = {u"APP_SECTION", u"STR_ALL_STR", u" s ", u""};
  static const char16_t* const kKeys[] = {u"APP_STRING_FILE", u"MMS_TITLE", u"k", u""};
  for (const char16_t* section : kSections)
    for (const char16_t* key : kKeys) platform::ProfileValue(bytes, section, key, u"default  ");

  std::u16string units;
  platform::DecodeUtf8(bytes, units);
  std::string again;
  platform::EncodeUtf8(units, again);
  std::u16string twice;
  if (!platform::DecodeUtf8(again, twice) || twice != units) std::abort();

  // The single-byte tables and the double-byte classification over the same bytes.
  if (size > 0) {
    SetSystemCodePage(1258);
    std::u16string wide = platform::MultiByteToUtf16(bytes);
    if (wide.size() != size) std::abort();  // one unit per byte
    SetSystemCodePage(932);
    for (std::size_t i = 0; i < size && i < 64; ++i)
      StrByteType(std::string(bytes.substr(0, 64)).c_str(), static_cast<unsigned>(i));
    SetSystemCodePage(CP_UTF8);
  }
  return 0;
}
