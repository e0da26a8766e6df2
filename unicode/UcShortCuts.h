// Shortcut texts named in the keyboard layout, and the hotkey marks ("&") of captions.
#pragma once

#include "platform/forms/ShortCuts.h"
#include "platform/rtl/WideString.h"
#include "platform/win/WinTypes.h"

TShortCut MessageToShortCut(const TMessage& keyMessage);
// "Shift+Ctrl+S"; empty for a key without a name.
WideString WideShortCutToText(TShortCut shortCut);
// The shortcut a text names ("Ctrl+S", "^S"), 0 when none.
TShortCut WideTextToShortCut(const WideString& text);

// The hotkey character of a caption, or empty; the last mark wins, "&&" is a plain "&".
WideString WideGetHotkey(const WideString& caption);
WideString WideStripHotkey(const WideString& caption);
// Equal without hotkey marks, ignoring case.
bool WideSameCaption(const WideString& a, const WideString& b);
// Whether a typed character is the caption's hotkey, ignoring case.
bool IsWideCharAccel(WORD charCode, const WideString& caption);
