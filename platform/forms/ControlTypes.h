// Small enumerations several controls share: text alignment, the controls' border style, scroll
// bars of a memo or box, the case an edit forces, and the state an owner-drawn item is drawn in.
#pragma once

#include "platform/forms/TForm.h"

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
// Controls take the first two of the forms' border styles: bsNone and bsSingle.
using TBorderStyle = TFormBorderStyle;
enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };

enum TOwnerDrawStateFlag : unsigned {
  odSelected = 1u << 0, odGrayed = 1u << 1, odDisabled = 1u << 2, odChecked = 1u << 3, odFocused = 1u << 4,
  odDefault = 1u << 5, odHotLight = 1u << 6, odInactive = 1u << 7, odNoAccel = 1u << 8, odNoFocusRect = 1u << 9
};
using TOwnerDrawState = unsigned;

// Whether `key` is the character after "&" in `caption` (case-insensitive; "&&" is a plain "&").
bool IsAccel(unsigned key, const AnsiString& caption);
