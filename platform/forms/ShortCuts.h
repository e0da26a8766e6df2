// Key chords as one 16-bit value (the virtual key in the low byte, Shift, Ctrl and Alt as the
// high bits), their text ("Ctrl+Shift+S" is written "Shift+Ctrl+S") and the shift state of a
// key message. Menus, actions and hints name shortcuts through these routines.
#pragma once

#include <cstdint>

#include "platform/forms/TControl.h"

using TShortCut = std::uint16_t;
constexpr TShortCut scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000, scNone = 0;

// The chord of `key` with the Shift, Ctrl and Alt of `shift`; 0 for a key above 0xFF.
TShortCut ShortCut(WORD key, TShiftState shift);
void ShortCutToKey(TShortCut shortCut, WORD& key, TShiftState& shift);
// "Shift+", "Ctrl+", "Alt+" (in that order) and the key's name; empty for a key without one.
AnsiString ShortCutToText(TShortCut shortCut);
// The chord a text names (modifiers in any order, "^" for Ctrl, any letter case); 0 for none.
TShortCut TextToShortCut(const AnsiString& text);
// Shift and Ctrl as the keyboard holds them now, Alt from the key message's data.
TShiftState KeyDataToShiftState(LPARAM keyData);
