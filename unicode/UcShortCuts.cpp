#include "unicode/UcShortCuts.h"

#include "platform/rtl/Program.h"
#include "platform/rtl/StringRoutines.h"
#include "platform/win/Win.h"
#include "unicode/CodePageConversion.h"
#include "unicode/UcNarrowText.h"
#include "unicode/UcPlatformFlags.h"

namespace {

// Keys whose names the form library gives in English whatever the layout.
bool HasFixedName(unsigned key) {
  return key == 8 || key == 9 || key == 13 || key == 27 || (key >= 32 && key <= 40) || key == 45 ||
         key == 46 || (key >= 112 && key <= 135);
}

WideString KeyName(unsigned key) {
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z') || (key >= 96 && key <= 105)) {
    const WideChar mapped = WideChar(MapVirtualKeyW(key, 2));
    if (key >= '0' && key <= '9' && mapped != WideChar(key) &&
        (VkKeyScanW(WideChar(key)) & 0xFF) == SHORT(key))
      return WideString(WideChar(key));
    return mapped ? WideString(mapped) : WideString();
  }
  WCHAR name[257] = {};
  const LONG scan = LONG(MapVirtualKeyW(key, 0)) << 16;
  const int n = GetKeyNameTextW(scan, name, 256);
  return WideString(name, n > 0 ? n : 0);
}

bool TakeFront(WideString& text, const char16_t* front) {
  const WideString f(front);
  if (text.Length() < f.Length() || text.SubString(1, f.Length()) != f) return false;
  text.Delete(1, f.Length());
  return true;
}

}  // namespace

TShortCut MessageToShortCut(const TMessage& m) {
  return ShortCut(WORD(m.WParam & 0xFFFF), KeyDataToShiftState(m.LParam));
}

WideString WideShortCutToText(TShortCut shortCut) {
  const unsigned key = shortCut & 0xFF;
  if (!Win32PlatformIsUnicode() || HasFixedName(key)) return UcWiden(ShortCutToText(shortCut));
  const WideString name = KeyName(key);
  if (name.IsEmpty()) return WideString();
  WideString result;
  if (shortCut & scShift) result += u"Shift+";
  if (shortCut & scCtrl) result += u"Ctrl+";
  if (shortCut & scAlt) result += u"Alt+";
  return result + name;
}

TShortCut WideTextToShortCut(const WideString& text) {
  WideString rest = text;
  TShortCut shift = 0;
  for (;;) {
    if (TakeFront(rest, u"Shift+"))
      shift |= scShift;
    else if (TakeFront(rest, u"^"))
      shift |= scCtrl;
    else if (TakeFront(rest, u"Ctrl+"))
      shift |= scCtrl;
    else if (TakeFront(rest, u"Alt+"))
      shift |= scAlt;
    else
      break;
  }
  if (rest.IsEmpty()) return 0;
  for (unsigned key = 8; key <= 0x255; ++key)
    if (WideSameText(WideShortCutToText(TShortCut(key)), rest)) return TShortCut(key | shift);
  return 0;
}

WideString WideGetHotkey(const WideString& caption) {
  WideString hotkey;
  const int n = caption.Length();
  for (int i = 1; i <= n; ++i) {
    if (caption[i] != u'&' || i == n) continue;
    if (caption[i + 1] == u'&') {
      ++i;  // an escaped ampersand
      continue;
    }
    hotkey = WideString(caption[i + 1]);
    ++i;
  }
  return hotkey;
}

WideString WideStripHotkey(const WideString& caption) {
  WideString result;
  const int n = caption.Length();
  for (int i = 1; i <= n; ++i) {
    if (caption[i] == u'&') {
      if (SysLocale.FarEast && i > 1 && i + 2 <= n && caption[i - 1] == u'(' && caption[i + 2] == u')') {
        result.Delete(result.Length(), 1);  // the "(" already copied
        i += 2;
        continue;
      }
      if (i < n) result += WideString(caption[++i]);
      continue;
    }
    result += WideString(caption[i]);
  }
  return result;
}

bool WideSameCaption(const WideString& a, const WideString& b) {
  return WideSameText(WideStripHotkey(a), WideStripHotkey(b));
}

bool IsWideCharAccel(WORD charCode, const WideString& caption) {
  return WideSameText(WideString(KeyUnicode(WideChar(charCode))), WideGetHotkey(caption));
}
