// The colour work a GIF frame hands to the reduction and dithering code: making the bitmap a
// frame is built from when the source has more than 8 bits per pixel, reading a true-colour
// bitmap into a colour table and pixel indices, and rendering a frame's pixels dithered through
// the 216-colour palette.
#pragma once

#include <functional>

#include "pictures/gif/TGIFColorMap.h"
#include "platform/forms/TBitmap.h"

class TGIFImage;

// The source reduced by the picture's colour reduction, dither mode and reduction bits (the
// unit's defaults without a picture); owned by the caller. A reduction that gives nothing for a
// non-empty source raises "Invalid reduction method".
TBitmap* ReduceColorsForFrame(TBitmap* source, TGIFImage* image);

// Reads a bitmap (any format, read as 24 bits) into `pixels` (width x height, rows top-down),
// building `map` as it goes: the 257th distinct colour raises "Color table overflow". A ring of
// the 8 colours met last spares most table searches.
void ImportTrueColorPixels(TBitmap* bitmap, TGIFColorMap* map, BYTE* pixels);

// Renders `pixels` (width x height, indices into `map`) into 8-bit rows of the 216-colour
// palette with Floyd-Steinberg, serpentine. With `maskRow`, pixels holding `transparentIndex`
// set their mask bit (most significant bit first), keep the row's fill value in the DIB and are
// passed over by the ditherer, taking and giving no error.
void DitherFramePixels(const BYTE* pixels, int width, int height, TGIFColorMap* map, int transparentIndex,
                       const std::function<BYTE*(int row)>& dibRow,
                       const std::function<BYTE*(int row)>& maskRow);
