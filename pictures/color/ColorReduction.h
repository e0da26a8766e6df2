// Reducing a true-colour bitmap to 256 colours or fewer: the optimised palettes the octree
// quantizer chooses, the dithering engine for a dither mode, and ReduceColors, which makes the
// 8-bit bitmap a GIF frame is built from. The caller's bitmap is never changed.
#pragma once

#include <memory>

#include "pictures/GIFTypes.h"
#include "pictures/color/TDitherEngine.h"
#include "platform/forms/TBitmap.h"
#include "platform/rtl/TList.h"

// The engine of a dither mode over `width` pixels, or null for a value that names none.
std::unique_ptr<TDitherEngine> CreateDitherEngine(TDitherMode mode, int width, TColorLookup* lookup);

// One palette for all bitmaps of the list (TBitmap*): `colors` entries (1..256) chosen by the
// quantizer at `colorBits` (1..8); with Windows colours the system's 20 static colours take
// entries 0-9 and 246-255 and 236 are chosen. Entries no colour was found for are black. The
// caller owns the palette. No list or an empty one raises "Invalid bitmap list".
HPALETTE CreateOptimizedPaletteFromManyBitmaps(TList* bitmaps, int colors, int colorBits, bool windows);
HPALETTE CreateOptimizedPaletteFromSingleBitmap(TBitmap* bitmap, int colors, int colorBits, bool windows);

// A new 8-bit bitmap (owned by the caller) with the reduction's palette and the pixels of
// `bitmap` mapped to it by `ditherMode`; rmNone gives a 24-bit copy. An unknown reduction or
// dither mode, or a palette without colours (rmPalette without `palette`), gives an empty bitmap.
TBitmap* ReduceColors(TBitmap* bitmap, TColorReduction colorReduction, TDitherMode ditherMode,
                      int reductionBits, HPALETTE palette);
