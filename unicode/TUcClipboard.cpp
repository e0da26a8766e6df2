#include "unicode/TUcClipboard.h"

#include <algorithm>
#include <cstring>

#include "platform/rtl/GlobalMemory.h"
#include "platform/rtl/ScopeExit.h"
#include "unicode/UcNarrowText.h"

namespace {

TUcClipboard*& Instance() {
  static TUcClipboard* instance = nullptr;
  return instance;
}

// The UTF-16 text of a block up to its first zero, never past the block's end; "" for no
// block or one that cannot be locked.
WideString BlockWideText(HANDLE data) {
  if (!data) return WideString();
  const SIZE_T units = GlobalSize(data) / sizeof(char16_t);
  const auto* p = static_cast<const char16_t*>(GlobalLock(data));
  if (!p) return WideString();
  WideString text(std::u16string(p, std::find(p, p + units, u'\0')));
  GlobalUnlock(data);
  return text;
}

}  // namespace

WideString TUcClipboard::GetAsWideText() {
  WideString text;
  {
    Open();
    const platform::ScopeExit close([this] { Close(); });
    text = BlockWideText(GetClipboardData(CF_UNICODETEXT));
  }
  if (!text.IsEmpty()) return text;
  // The 8-bit text is read within its block as well.
  return UcWiden(AsText());
}

void TUcClipboard::SetAsWideText(const WideString& value) {
  Open();
  const platform::ScopeExit close([this] { Close(); });
  SetAsText(UcNarrow(std::u16string_view(value.data(), size_t(value.Length()))));
  SetBuffer(CF_UNICODETEXT, value.c_str(), int((value.Length() + 1) * sizeof(char16_t)));
}

TUcClipboard* UcClipboard() {
  if (!Instance()) Instance() = new TUcClipboard;
  return Instance();
}

namespace unicode {
void FreeUcClipboard() {
  delete Instance();
  Instance() = nullptr;
}
}  // namespace unicode
