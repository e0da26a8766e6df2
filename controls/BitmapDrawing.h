// Drawing bitmaps for the control library: with a key colour left out (stretched, tiled or whole),
// tiled from a corner or aligned to the canvas origin so neighbouring areas join, stretched,
// centred (a larger bitmap cut to its middle), flipped top to bottom; and the two blit helpers
// the gradients use to widen and mirror what they have painted.
#pragma once

#include "platform/forms/TBitmap.h"
#include "platform/forms/TCanvas.h"

// The `source` part of `bitmap` stretched into `dest`, leaving out the pixels of `key`.
void DrawTransparentBitmap(TCanvas* canvas, TBitmap* bitmap, const RECT& dest, TColor key,
                           const RECT& source);
void DrawFullTransparentBitmap(TCanvas* canvas, TBitmap* bitmap, const RECT& dest, TColor key,
                               const RECT& source);

void TileTransparentBitmap(TCanvas* canvas, TBitmap* bitmap, const RECT& rect, TColor key);
void TileBitmap(TCanvas* canvas, TBitmap* bitmap, const RECT& rect);
// Tiles as if the pattern started at the canvas origin, so two neighbouring calls join without seams.
void TileRealizedBitmap(TCanvas* canvas, TBitmap* bitmap, const RECT& rect);

void StretchTransparentBitmap(TCanvas* canvas, TBitmap* bitmap, const RECT& rect, TColor key);
void StretchBitmap(TCanvas* canvas, TBitmap* bitmap, const RECT& rect);
void CenterBitmap(TCanvas* canvas, TBitmap* bitmap, const RECT& rect);
void FlipBitmap(TBitmap* bitmap);

// Fills width x height at (x, y) by doubling the filledWidth x filledHeight part already
// painted there: across first, then down.
void BitFillBlit(HDC dc, int x, int y, DWORD rop, int filledWidth, int filledHeight, int width, int height);
// Completes a box drawn in its top-left quarter of width x height at (x, y): mirrored down, then
// the left half mirrored right.
void BoxBitMirrorBlit(HDC dc, int x, int y, DWORD rop, int height, int width);
