#include "mms/MmsContentTypes.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <string>

const char* const WspContentTypeTable[WSP_CONTENT_TYPE_COUNT] = {
    "*/*",
    "text/*",
    "text/html",
    "text/plain",
    "text/x-hdml",
    "text/x-ttml",
    "text/x-vCalender",
    "text/x-vCard",
    "text/vnd.wap.wml",
    "text/vnd.wap.wmlscript",
    "text/vnd.wap.channel",
    "Multipart/*",
    "Multipart/mixed",
    "Multipart/form-data",
    "Multipart/byteranges",
    "Multipart/alternative",
    "application/*",
    "application/java-vm",
    "application/x-www-form-rulencoded",
    "application/x-hdmlc",
    "application/vnd.wap.wmlc",
    "application/vnd.wap.wmlscriptc",
    "application/vnd.wap.channelc",
    "application/vnd.wap.uaprof",
    "application/vnd.wap.wtls-ca-certificate",
    "application/vnd.wap.wtls-user-certificate",
    "application/x-x509-ca-cert",
    "application/x-x509-user-cert",
    "image/*",
    "image/gif",
    "image/jpeg",
    "image/tiff",
    "image/png",
    "image/vnd.wap.wbmp",
    "application/vnd.wap.multipart.*",
    "application/vnd.wap.multipart.mixed",
    "application/vnd.wap.multipart.form-data",
    "application/vnd.wap.multipart.byteranges",
    "application/vnd.wap.multipart.alternative",
    "application/xml",
    "text/xml",
    "application/vnd.wap.wbxml",
    "application/x-x968-cross-cert",
    "application/x-x968-ca-cert",
    "application/x-x968-user-cert",
    "text/vnd.wap.si",
    "application/vnd.wap.sic",
    "text/vnd.wap.sl",
    "application/vnd.wap.slc",
    "text/vnd.wap.co",
    "application/vnd.wap.coc",
    "application/vnd.wap.multipart.related",
    "application/vnd.wap.sia",
};

const tMMS_PartType MmsPartTypeTable[MMS_PART_TYPE_COUNT] = {
    {"text/plain", "text%d.txt"},     {"image/gif", "Image%d.gif"},  {"image/jpeg", "Image%d.jpg"},
    {"image/png", "Image%d.png"},     {"image/bmp", "Image%d.bmp"},  {"audio/wav", "Audio%d.wav"},
    {"audio/imelody", "Audio%d.mld"}, {"audio/mid", "Audio%d.mid"},  {"audio/amr", "Audio%d.amr"},
    {"audio/mp3", "Audio%d.mp3"},     {"video/mpeg", "Video%d.mpg"},
};

namespace {

constexpr std::size_t kNameBlockSize = 50;
// Each piece of a fallback name is cut so that the whole name, with any int index, stays below
// MMS_PART_NAME_SIZE: "Part" + 11 + "_" + 6 + "." + 6 = 29.
constexpr std::size_t kFallbackPieceMax = 6;

bool AsciiSameText(const char* a, const char* b) {
  for (;; ++a, ++b) {
    unsigned char ca = static_cast<unsigned char>(*a);
    unsigned char cb = static_cast<unsigned char>(*b);
    if (ca >= 'A' && ca <= 'Z') ca = static_cast<unsigned char>(ca - 'A' + 'a');
    if (cb >= 'A' && cb <= 'Z') cb = static_cast<unsigned char>(cb - 'A' + 'a');
    if (ca != cb) return false;
    if (ca == 0) return true;
  }
}

// Lower-case letters, digits and '-' of a type's piece: safe in a file name and in a SMIL src.
std::string SanitisedPiece(const char* begin, const char* end) {
  std::string out;
  for (const char* p = begin; p < end && out.size() < kFallbackPieceMax; ++p) {
    char c = *p;
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-') out += c;
  }
  return out;
}

// "image/x-png" on slide 0 becomes "Part0_image.x-png"; an empty type "Part0.bin". Table names
// never begin with "Part", so a fallback name cannot clash with one of them.
int FallbackPartName(char* out, int slideIndex, const char* contentType) {
  const char* end = contentType + std::strlen(contentType);
  const char* slash = std::find(contentType, end, '/');
  std::string top = SanitisedPiece(contentType, slash);
  std::string sub = slash < end ? SanitisedPiece(slash + 1, end) : std::string();
  if (sub.empty()) sub = "bin";
  std::string name = "Part" + std::to_string(slideIndex);
  if (!top.empty()) name += "_" + top;
  name += "." + sub;
  std::memcpy(out, name.c_str(), name.size() + 1);
  return static_cast<int>(name.size());
}

// A table name: its format with the slide's number in place of "%d", cut to fit the buffer as a
// formatted print would.
int FormatTableName(char* out, const char* format, int slideIndex) {
  constexpr std::size_t kMax = MMS_PART_NAME_SIZE - 1;
  std::size_t n = 0;
  for (const char* p = format; *p != '\0' && n < kMax; ++p) {
    if (p[0] == '%' && p[1] == 'd') {
      char digits[16];
      const char* end = std::to_chars(digits, digits + sizeof digits, slideIndex).ptr;
      for (const char* d = digits; d < end && n < kMax; ++d) out[n++] = *d;
      ++p;
    } else {
      out[n++] = *p;
    }
  }
  out[n] = '\0';
  return static_cast<int>(n);
}

}  // namespace

int WspContentTypeCode(const char* name) {
  if (name == nullptr) return WSP_CONTENT_TYPE_UNKNOWN;
  // The writer asks once for every part: the table's lengths, measured once, rule out nearly
  // every entry before a byte is compared.
  static const auto lengths = [] {
    std::array<std::size_t, WSP_CONTENT_TYPE_COUNT> all{};
    for (int code = 0; code < WSP_CONTENT_TYPE_COUNT; ++code)
      all[code] = std::strlen(WspContentTypeTable[code]);
    return all;
  }();
  const std::size_t length = std::strlen(name);
  for (int code = 0; code < WSP_CONTENT_TYPE_COUNT; ++code) {
    const char* entry = WspContentTypeTable[code];
    if (lengths[code] == length && entry[0] == name[0] && std::memcmp(entry, name, length) == 0) return code;
  }
  return WSP_CONTENT_TYPE_UNKNOWN;
}

char* WspContentTypeName(int code) {
  if (code < 0 || code >= WSP_CONTENT_TYPE_COUNT) return nullptr;
  const char* name = WspContentTypeTable[code];
  std::size_t size = std::max(kNameBlockSize, std::strlen(name) + 1);
  char* block = static_cast<char*>(std::calloc(size, 1));
  if (block != nullptr) std::memcpy(block, name, std::strlen(name));
  return block;
}

int MmsPartFileName(char* out, int slideIndex, const char* contentType) {
  if (out == nullptr || contentType == nullptr) return 0;
  // Asked twice for every item of every build: the lengths, measured once, rule out most entries
  // before the letters are compared.
  static const auto lengths = [] {
    std::array<std::size_t, MMS_PART_TYPE_COUNT> all{};
    for (int i = 0; i < MMS_PART_TYPE_COUNT; ++i) all[i] = std::strlen(MmsPartTypeTable[i].ContentType);
    return all;
  }();
  const std::size_t length = std::strlen(contentType);
  for (int i = 0; i < MMS_PART_TYPE_COUNT; ++i) {
    const tMMS_PartType& entry = MmsPartTypeTable[i];
    if (lengths[i] == length && AsciiSameText(entry.ContentType, contentType)) {
      return FormatTableName(out, entry.NameFormat, slideIndex);
    }
  }
  return FallbackPartName(out, slideIndex, contentType);
}
