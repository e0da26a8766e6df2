// DIB header and size routines of the GIF classes: row sizes, the BITMAPINFOHEADER that
// describes a bitmap in a given pixel format, and reading a bitmap's rows through a device
// context.
#pragma once

#include <vector>

#include "platform/forms/TBitmap.h"
#include "platform/gdi/GdiTypes.h"

// Bytes of one row: width x bits rounded up to `alignment` bits.
int AlignBit(int width, int bitsPerPixel, int alignment);
// The header for `bitmap` in `pixelFormat` (1, 4, 8 or 24 bits; others raise "Unsupported
// PixelFormat"); a handle that is no bitmap raises "Bitmap image is not valid".
BITMAPINFOHEADER InitializeBitmapInfoHeader(HBITMAP bitmap, TPixelFormat pixelFormat);
void InternalGetDIBSizes(HBITMAP bitmap, int& infoHeaderSize, int& imageSize, TPixelFormat pixelFormat);
// Reads all rows (bottom-up, as the header says) into `bits` with the header and colour table in
// `info`; both are sized by InternalGetDIBSizes.
bool InternalGetDIB(HBITMAP bitmap, HPALETTE palette, void* info, void* bits, TPixelFormat pixelFormat);
