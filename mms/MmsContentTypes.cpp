#include "mms/MmsContentTypes.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
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

// The types are a few dozen bytes that mostly differ early: compared here rather than by a call.
bool SameBytes(const char* a, const char* b, std::size_t length) {
  for (std::size_t i = 0; i < length; ++i) {
    if (a[i] != b[i]) return false;
  }
  return true;
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
  return WspContentTypeCode(name, std::strlen(name));
}

int WspContentTypeCode(const char* name, std::size_t length) {
  if (name == nullptr) return WSP_CONTENT_TYPE_UNKNOWN;
  // The writer asks once for every part: the codes are kept grouped by the length of their names
  // (in code order within a group), so only names of the same length are compared.
  constexpr std::size_t kLongest = 63;
  struct ByLength {
    std::array<std::uint8_t, WSP_CONTENT_TYPE_COUNT> codes{};
    std::array<std::uint8_t, kLongest + 2> first{};  // the group of length n: [first[n], first[n + 1])
  };
  static const ByLength index = [] {
    ByLength all;
    std::size_t at = 0;
    for (std::size_t n = 0; n <= kLongest; ++n) {
      all.first[n] = static_cast<std::uint8_t>(at);
      for (int code = 0; code < WSP_CONTENT_TYPE_COUNT; ++code) {
        if (std::strlen(WspContentTypeTable[code]) == n) all.codes[at++] = static_cast<std::uint8_t>(code);
      }
    }
    all.first[kLongest + 1] = static_cast<std::uint8_t>(at);
    return all;
  }();
  if (length > kLongest) return WSP_CONTENT_TYPE_UNKNOWN;
  for (std::size_t i = index.first[length]; i < index.first[length + 1]; ++i) {
    const int code = index.codes[i];
    if (SameBytes(WspContentTypeTable[code], name, length)) return code;
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
  // Asked for every item of every build: the length of each entry's type, and its names for the
  // slides a message can hold, are worked out once.
  constexpr int kPreparedSlides = 40;
  struct Name {
    char text[MMS_PART_NAME_SIZE];
    int length;
  };
  struct Prepared {
    std::array<std::size_t, MMS_PART_TYPE_COUNT> lengths;
    std::array<std::array<Name, kPreparedSlides>, MMS_PART_TYPE_COUNT> names;
  };
  static const std::unique_ptr<const Prepared> prepared = [] {
    auto all = std::make_unique<Prepared>();
    for (int i = 0; i < MMS_PART_TYPE_COUNT; ++i) {
      all->lengths[i] = std::strlen(MmsPartTypeTable[i].ContentType);
      for (int slide = 0; slide < kPreparedSlides; ++slide) {
        Name& name = all->names[i][slide];
        name.length = FormatTableName(name.text, MmsPartTypeTable[i].NameFormat, slide);
      }
    }
    return all;
  }();
  auto name = [&](int i) {
    if (slideIndex < 0 || slideIndex >= kPreparedSlides)
      return FormatTableName(out, MmsPartTypeTable[i].NameFormat, slideIndex);
    const Name& known = prepared->names[i][slideIndex];
    std::memcpy(out, known.text, MMS_PART_NAME_SIZE);
    return known.length;
  };
  const std::size_t length = std::strlen(contentType);
  // Types nearly always come in the table's own spelling: an exact match is tried first (two
  // entries never match one type alike, so the order of the two tries does not matter).
  for (int i = 0; i < MMS_PART_TYPE_COUNT; ++i) {
    if (prepared->lengths[i] == length && SameBytes(MmsPartTypeTable[i].ContentType, contentType, length))
      return name(i);
  }
  for (int i = 0; i < MMS_PART_TYPE_COUNT; ++i) {
    if (prepared->lengths[i] == length && AsciiSameText(MmsPartTypeTable[i].ContentType, contentType))
      return name(i);
  }
  return FallbackPartName(out, slideIndex, contentType);
}
