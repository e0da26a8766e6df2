#include "mms/MmsCharset.h"

#include <string_view>

#include "mms/MmsText.h"
#include "platform/rtl/CodePage.h"
#include "platform/rtl/CodePageTables.h"
#include "platform/rtl/Utf8.h"

namespace {

constexpr UINT CP_WINDOWS_1252 = 1252;

std::string_view AsChars(const uint8_t* bytes, int count) {
  return std::string_view(reinterpret_cast<const char*>(bytes), static_cast<size_t>(count));
}

// Empty when the page cannot convert the bytes (a double-byte page the run-time library lacks).
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

// The double-byte charsets as the run-time library's code pages (each a superset of the charset
// it stands for); 0 for others.
UINT DoubleByteCodePage(int charset) {
  switch (charset) {
    case MMS_CHARSET_SHIFT_JIS:
      return 932;
    case MMS_CHARSET_GB2312:
    case MMS_CHARSET_GBK:
      return 936;
    case MMS_CHARSET_EUC_KR:
      return 949;
    case MMS_CHARSET_BIG5:
      return 950;
    default:
      return 0;
  }
}

bool IsUtf8(const uint8_t* bytes, int count) {
  std::u16string ignored;
  return platform::DecodeUtf8(AsChars(bytes, count), ignored);
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

// windows-1252 with its five undefined bytes read as the C1 controls of the same value, as
// browsers read it: every byte is one character, so nothing is lost.
std::u16string Windows1252ToWide(const uint8_t* bytes, int count) {
  const char16_t* high = platform::SingleByteHighHalf(CP_WINDOWS_1252);
  std::u16string out;
  out.reserve(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) {
    uint8_t b = bytes[i];
    char16_t unit = b < 0x80 ? char16_t{b} : high[b - 0x80];
    out.push_back(unit == u'\xFFFD' ? static_cast<char16_t>(b) : unit);
  }
  return out;
}

// Bytes that are not valid UTF-8: the system's own single-byte page when it has one, else
// windows-1252.
std::u16string NotUtf8ToWide(const uint8_t* bytes, int count) {
  if (GetACP() != CP_UTF8) {
    std::u16string out = CodePageToWide(CP_ACP, bytes, count);
    if (!out.empty()) return out;
  }
  return Windows1252ToWide(bytes, count);
}

struct CharsetName {
  const char* Name;
  int Charset;
};
const CharsetName kCharsetNames[] = {
    {"us-ascii", MMS_CHARSET_US_ASCII},
    {"ascii", MMS_CHARSET_US_ASCII},
    {"iso-8859-1", MMS_CHARSET_ISO_8859_1},
    {"iso8859-1", MMS_CHARSET_ISO_8859_1},
    {"latin1", MMS_CHARSET_ISO_8859_1},
    {"utf-8", MMS_CHARSET_UTF8},
    {"utf8", MMS_CHARSET_UTF8},
    {"iso-10646-ucs-2", MMS_CHARSET_UCS2},
    {"ucs-2", MMS_CHARSET_UCS2},
    {"utf-16", MMS_CHARSET_UTF16},
    {"utf-16be", MMS_CHARSET_UTF16BE},
    {"utf-16le", MMS_CHARSET_UTF16LE},
    {"shift_jis", MMS_CHARSET_SHIFT_JIS},
    {"shift-jis", MMS_CHARSET_SHIFT_JIS},
    {"sjis", MMS_CHARSET_SHIFT_JIS},
    {"gb2312", MMS_CHARSET_GB2312},
    {"gbk", MMS_CHARSET_GBK},
    {"big5", MMS_CHARSET_BIG5},
    {"euc-kr", MMS_CHARSET_EUC_KR},
    {"ks_c_5601-1987", MMS_CHARSET_EUC_KR},
    {"windows-874", 2109},
};

}  // namespace

std::u16string MmsUtf8ToWide(const uint8_t* bytes, int count) {
  std::u16string out;
  if (bytes && count > 0) platform::DecodeUtf8(AsChars(bytes, count), out);
  return out;
}

std::u16string MmsSystemToWide(const uint8_t* bytes, int count) {
  return CodePageToWide(CP_ACP, bytes, count);
}

std::u16string MmsUnlabelledToWide(const uint8_t* bytes, int count) {
  if (!bytes || count <= 0) return {};
  // A UTF-8 byte-order mark is no letter, whatever bytes follow it.
  if (count >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
    bytes += 3;
    count -= 3;
    if (count == 0) return {};
  }
  if (GetACP() == CP_UTF8 && !IsUtf8(bytes, count)) return Windows1252ToWide(bytes, count);
  std::u16string out = MmsSystemToWide(bytes, count);
  // A double-byte system page the run-time library cannot convert gives nothing: lose no letter.
  return out.empty() ? NotUtf8ToWide(bytes, count) : out;
}

std::string MmsHeaderTextToUtf8(std::string_view bytes) {
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
  std::u16string wide;
  if (platform::DecodeUtf8(bytes, wide)) return std::string(bytes);
  return platform::Utf16ToUtf8(
      Windows1252ToWide(reinterpret_cast<const uint8_t*>(bytes.data()), static_cast<int>(bytes.size())));
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
      return WindowsCodePage(charset) != 0 || DoubleByteCodePage(charset) != 0;
  }
}

int MmsCharsetFromName(std::string_view name) {
  while (!name.empty() && (name.front() == ' ' || name.front() == '"')) name.remove_prefix(1);
  while (!name.empty() && (name.back() == ' ' || name.back() == '"')) name.remove_suffix(1);
  std::string lower = MmsLower(name);
  for (const CharsetName& known : kCharsetNames) {
    if (lower == known.Name) return known.Charset;
  }
  // windows-1250 to windows-1258 (MIBenums 2250-2258).
  if (lower.size() == 12 && lower.rfind("windows-125", 0) == 0 && lower[11] >= '0' && lower[11] <= '8')
    return 2250 + (lower[11] - '0');
  return 0;
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
      out = MmsUnlabelledToWide(bytes, count);
      break;
    case MMS_CHARSET_ISO_8859_1:
      out = IsUtf8(bytes, count) ? Latin1ToWide(bytes, count) : Windows1252ToWide(bytes, count);
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
      } else if (UINT doubleByte = DoubleByteCodePage(charset);
                 doubleByte && !(out = CodePageToWide(doubleByte, bytes, count)).empty()) {
        // Converted by the run-time library.
      } else if (!platform::DecodeUtf8(AsChars(bytes, count), out)) {
        // Not UTF-8 after all: read it as text that named no charset.
        out = NotUtf8ToWide(bytes, count);
      }
      break;
  }
  *length = static_cast<int>(out.size());
  return out;
}
