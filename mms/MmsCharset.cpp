#include "mms/MmsCharset.h"

#include <string_view>

#include "platform/rtl/CodePage.h"
#include "platform/rtl/Utf8.h"

namespace {

std::string_view AsChars(const uint8_t* bytes, int count) {
  return std::string_view(reinterpret_cast<const char*>(bytes), static_cast<size_t>(count));
}

std::u16string CodePageToWide(UINT codePage, const uint8_t* bytes, int count) {
  if (!bytes || count <= 0) return {};
  LPCSTR src = reinterpret_cast<LPCSTR>(bytes);
  int units = MultiByteToWideChar(codePage, 0, src, count, nullptr, 0);
  if (units <= 0) return {};
  std::u16string out(static_cast<size_t>(units), u'\0');
  units = MultiByteToWideChar(codePage, 0, src, count, out.data(), units);
  out.resize(units > 0 ? static_cast<size_t>(units) : 0);
  return out;
}

// The windows-125x (2250-2258) and windows-874 (2109) MIBenums as code pages; 0 for others.
UINT WindowsCodePage(int charset) {
  if (charset >= 2250 && charset <= 2258) return static_cast<UINT>(charset - 2250 + 1250);
  if (charset == 2109) return 874;
  return 0;
}

std::u16string Utf16ToWide(const uint8_t* bytes, int count, bool bigEndian) {
  size_t n = static_cast<size_t>(count);
  size_t start = 0;
  if (n >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF) {
    bigEndian = true;
    start = 2;
  } else if (n >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
    bigEndian = false;
    start = 2;
  }
  std::u16string out;
  out.reserve((n - start) / 2);
  for (size_t i = start; i + 1 < n; i += 2) {
    unsigned hi = bigEndian ? bytes[i] : bytes[i + 1];
    unsigned lo = bigEndian ? bytes[i + 1] : bytes[i];
    out.push_back(static_cast<char16_t>((hi << 8) | lo));
  }
  return out;
}

std::u16string Latin1ToWide(const uint8_t* bytes, int count) {
  std::u16string out;
  out.reserve(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) out.push_back(static_cast<char16_t>(bytes[i]));
  return out;
}

}  // namespace

std::u16string MmsUtf8ToWide(const uint8_t* bytes, int count) {
  std::u16string out;
  if (bytes && count > 0) platform::DecodeUtf8(AsChars(bytes, count), out);
  return out;
}

std::u16string MmsSystemToWide(const uint8_t* bytes, int count) {
  return CodePageToWide(CP_ACP, bytes, count);
}

bool MmsCharsetKnown(int charset) {
  switch (charset) {
    case MMS_CHARSET_US_ASCII:
    case MMS_CHARSET_ISO_8859_1:
    case MMS_CHARSET_UTF8:
    case MMS_CHARSET_UCS2:
    case MMS_CHARSET_UTF16BE:
    case MMS_CHARSET_UTF16LE:
    case MMS_CHARSET_UTF16:
      return true;
    default:
      return WindowsCodePage(charset) != 0;
  }
}

std::optional<std::u16string> MmsCharsetToWide(int charset, const uint8_t* bytes, int* length) {
  if (!bytes || !length || *length <= 0) return std::nullopt;
  int count = *length;
  std::u16string out;
  switch (charset) {
    case MMS_CHARSET_UTF8:
      out = MmsUtf8ToWide(bytes, count);
      break;
    case MMS_CHARSET_US_ASCII:
      out = MmsSystemToWide(bytes, count);
      break;
    case MMS_CHARSET_ISO_8859_1:
      out = Latin1ToWide(bytes, count);
      break;
    case MMS_CHARSET_UCS2:
    case MMS_CHARSET_UTF16:
    case MMS_CHARSET_UTF16BE:
      out = Utf16ToWide(bytes, count, true);
      break;
    case MMS_CHARSET_UTF16LE:
      out = Utf16ToWide(bytes, count, false);
      break;
    default:
      if (UINT codePage = WindowsCodePage(charset)) {
        out = CodePageToWide(codePage, bytes, count);
      } else if (!platform::DecodeUtf8(AsChars(bytes, count), out)) {
        // Not UTF-8 after all: the best guess left is the system's own code page.
        out = MmsSystemToWide(bytes, count);
      }
      break;
  }
  *length = static_cast<int>(out.size());
  return out;
}
