#include "mms/MmsTextPart.h"

#include <cstdlib>

#include "mms/MmsAlloc.h"
#include "platform/rtl/CodePage.h"

namespace {
constexpr char16_t kByteOrderMark = 0xFEFF;
}

char* MmsTextPartToUtf8(const char16_t* text, int count, int* outLen) {
  if (outLen != nullptr) *outLen = 0;
  if (text == nullptr || count < 0) return nullptr;
  // Decided here rather than by the caller, so that a text part never depends on whether its
  // file was written by the text editor (with the mark) or unpacked from a message (without).
  if (count > 0 && text[0] == kByteOrderMark) {
    ++text;
    --count;
  }
  int size = 0;
  if (count > 0) {
    size = WideCharToMultiByte(CP_UTF8, 0, text, count, nullptr, 0, nullptr, nullptr);
    if (size <= 0) return nullptr;
  }
  char* utf8 = static_cast<char*>(MmsAlloc(static_cast<std::size_t>(size) + 1));
  if (utf8 == nullptr) return nullptr;
  if (count > 0 && WideCharToMultiByte(CP_UTF8, 0, text, count, utf8, size, nullptr, nullptr) != size) {
    std::free(utf8);
    return nullptr;
  }
  utf8[size] = '\0';
  if (outLen != nullptr) *outLen = size;
  return utf8;
}
