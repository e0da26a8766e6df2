// Small enumerations several controls share: text alignment, the controls' border style, scroll
// bars of a memo or box, the case an edit forces, and the state an owner-drawn item is drawn in.
#pragma once

#include "platform/forms/OwnerDrawState.h"
#include "platform/forms/TForm.h"

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
// Controls take the first two of the forms' border styles: bsNone and bsSingle.
using TBorderStyle = TFormBorderStyle;
enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };

// Whether `key` is the character after "&" in `caption` (case-insensitive; "&&" is a plain "&").
bool IsAccel(unsigned key, const AnsiString& caption);
