#include "mms/MmsTextPart.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <string_view>

#include "mms/MmsAlloc.h"
#include "platform/rtl/Utf8.h"

namespace {
constexpr char16_t kByteOrderMark = 0xFEFF;
}

bool MmsTextPartAppendUtf8(const char16_t* text, int count, std::string& out) {
  if (text == nullptr || count < 0) return false;
  // Decided here rather than by the caller, so that a text part never depends on whether its
  // file was written by the text editor (with the mark) or unpacked from a message (without).
  if (count > 0 && text[0] == kByteOrderMark) {
    ++text;
    --count;
  }
  const std::size_t units = static_cast<std::size_t>(count);
  // Most slide texts are plain ASCII, whose UTF-8 is the same units a byte each: narrowed in
  // blocks of 16 (which the compiler turns into a few vector steps), checked as they go. At the
  // first block with any other unit the whole text goes through the full encoder instead.
  constexpr std::size_t kBlock = 16;
  const std::size_t at = out.size();
  out.resize(at + units);
  char* to = out.data() + at;
  char16_t seen = 0;
  std::size_t i = 0;
  for (; i + kBlock <= units && seen < 0x80; i += kBlock) {
    char block[kBlock];  // narrowed apart from `to`, which the compiler must assume may overlap the text
    for (std::size_t k = 0; k < kBlock; ++k) {
      seen |= text[i + k];
      block[k] = static_cast<char>(text[i + k]);
    }
    std::memcpy(to + i, block, kBlock);
  }
  for (; i < units && seen < 0x80; ++i) {
    seen |= text[i];
    to[i] = static_cast<char>(text[i]);
  }
  if (seen < 0x80) return true;
  out.resize(at);
  // The program's one UTF-8 encoder, as code page 65001 uses it, in a single pass.
  platform::EncodeUtf8(std::u16string_view(text, units), out);
  return true;
}

char* MmsTextPartToUtf8(const char16_t* text, int count, int* outLen) {
  if (outLen != nullptr) *outLen = 0;
  std::string encoded;
  try {
    if (!MmsTextPartAppendUtf8(text, count, encoded)) return nullptr;
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
  if (encoded.size() > static_cast<std::size_t>(INT_MAX) - 1) return nullptr;
  const int size = static_cast<int>(encoded.size());
  char* utf8 = static_cast<char*>(MmsAlloc(static_cast<std::size_t>(size) + 1));
  if (utf8 == nullptr) return nullptr;
  if (size > 0) std::memcpy(utf8, encoded.data(), encoded.size());
  utf8[size] = '\0';
  if (outLen != nullptr) *outLen = size;
  return utf8;
}
