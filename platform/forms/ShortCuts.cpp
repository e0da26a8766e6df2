#include "platform/forms/ShortCuts.h"

#include "platform/rtl/StringRoutines.h"
#include "platform/win/Win.h"

namespace {

constexpr LPARAM kAltMask = 0x20000000;

// The name of a key as a shortcut shows it; empty for keys without one.
AnsiString KeyName(unsigned key) {
  static const char* const navigation[] = {"Space", "PgUp", "PgDn",  "End", "Home",
                                           "Left",  "Up",   "Right", "Down"};
  switch (key) {
    case 0x08:
      return "Backspace";
    case 0x09:
      return "Tab";
    case 0x0D:
      return "Enter";
    case 0x1B:
      return "Esc";
    case 0x2D:
      return "Ins";
    case 0x2E:
      return "Del";
    default:
      break;
  }
  if (key >= 0x20 && key <= 0x28) return navigation[key - 0x20];
  if (key >= '0' && key <= '9') return AnsiString(static_cast<char>(key));
  if (key >= 'A' && key <= 'Z') return AnsiString(static_cast<char>(key));
  if (key >= VK_NUMPAD0 && key <= VK_NUMPAD0 + 9)
    return AnsiString(static_cast<char>('0' + key - VK_NUMPAD0));
  if (key >= VK_F1 && key <= VK_F1 + 23) return "F" + IntToStr(static_cast<int>(key - VK_F1 + 1));
  return AnsiString();
}

// Takes `front` off the start of `text` when it is there, in any letter case.
bool TakeFront(AnsiString& text, const char* front) {
  AnsiString f(front);
  if (text.Length() < f.Length() || !SameText(text.SubString(1, f.Length()), f)) return false;
  text.Delete(1, f.Length());
  return true;
}

}  // namespace

TShortCut ShortCut(WORD key, TShiftState shift) {
  if (key > 0xFF) return 0;
  TShortCut result = key;
  if (shift & ssShift) result |= scShift;
  if (shift & ssCtrl) result |= scCtrl;
  if (shift & ssAlt) result |= scAlt;
  return result;
}

void ShortCutToKey(TShortCut shortCut, WORD& key, TShiftState& shift) {
  key = shortCut & 0xFF;
  shift = 0;
  if (shortCut & scShift) shift |= ssShift;
  if (shortCut & scCtrl) shift |= ssCtrl;
  if (shortCut & scAlt) shift |= ssAlt;
}

AnsiString ShortCutToText(TShortCut shortCut) {
  AnsiString name = KeyName(shortCut & 0xFF);
  if (name.IsEmpty()) return AnsiString();
  AnsiString result;
  if (shortCut & scShift) result += "Shift+";
  if (shortCut & scCtrl) result += "Ctrl+";
  if (shortCut & scAlt) result += "Alt+";
  return result + name;
}

TShortCut TextToShortCut(const AnsiString& text) {
  AnsiString rest = text;
  TShortCut shift = 0;
  for (;;) {
    if (TakeFront(rest, "Shift+"))
      shift |= scShift;
    else if (TakeFront(rest, "^"))
      shift |= scCtrl;
    else if (TakeFront(rest, "Ctrl+"))
      shift |= scCtrl;
    else if (TakeFront(rest, "Alt+"))
      shift |= scAlt;
    else
      break;
  }
  if (rest.IsEmpty()) return 0;
  // Keys are tried from the lowest, so a name two keys share (a digit and its keypad twin)
  // gives the main one.
  for (unsigned key = 0x08; key <= 0xFF; ++key) {
    AnsiString name = KeyName(key);
    if (!name.IsEmpty() && SameText(name, rest)) return static_cast<TShortCut>(key | shift);
  }
  return 0;
}

TShiftState KeyDataToShiftState(LPARAM keyData) {
  TShiftState result = 0;
  if (GetKeyState(VK_SHIFT) < 0) result |= ssShift;
  if (GetKeyState(VK_CONTROL) < 0) result |= ssCtrl;
  if (keyData & kAltMask) result |= ssAlt;
  return result;
}
