// Adding a glyph bitmap to an image list: a square bitmap, a strip of two glyphs side by side,
// or else the top-left part of the list's size; uncovered where a pixel has the colour of the
// pixel at (0, 15) (the bottom-left one of a bitmap shorter than 16 rows).
#pragma once

#include "platform/forms/TBitmap.h"
#include "platform/forms/TImageList.h"

// `first` and `second` get the new indices (-1 when none was added; `second` only for a strip).
void AddImageToImageList(TImageList* list, TBitmap* bitmap, int& first, int& second);
// The colour that marks the uncovered pixels of a glyph bitmap.
TColor GlyphMaskColor(TBitmap* bitmap);
