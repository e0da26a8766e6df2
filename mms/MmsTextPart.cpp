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
  // The program's one UTF-8 encoder, as code page 65001 uses it, in a single pass.
  if (count > 0) platform::EncodeUtf8(std::u16string_view(text, static_cast<std::size_t>(count)), out);
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
