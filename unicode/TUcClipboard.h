// The form library's clipboard object with UTF-16 text: SetAsWideText puts the text both as
// UTF-16 (CF_UNICODETEXT) and as 8-bit text in the system code page (CF_TEXT) for programs that
// read only that; GetAsWideText prefers the UTF-16 text. Text another program put is read only
// within its block and up to its first zero.
#pragma once

#include "platform/forms/TClipboard.h"
#include "platform/rtl/WideString.h"

class TUcClipboard : public TClipboard {
 public:
  // The UTF-16 text, else the 8-bit text widened; "" when there is neither. Raises Exception
  // "Cannot open clipboard" when another window holds the clipboard.
  WideString GetAsWideText();
  void SetAsWideText(const WideString& value);
};

// The process's one wide clipboard object, made on first use and freed when the layer shuts
// down.
TUcClipboard* UcClipboard();

namespace unicode {
void FreeUcClipboard();
}  // namespace unicode
