// WebPalette: the fixed palette of 216 colours (six levels of red, green and blue) that dithered
// GIF drawing uses.
#pragma once

#include "platform/gdi/GdiTypes.h"

// Entry r x 36 + g x 6 + b holds (51r, 51g, 51b). The caller owns the handle.
HPALETTE WebPalette();
