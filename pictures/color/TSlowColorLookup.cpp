#include "pictures/color/TSlowColorLookup.h"

#include "platform/gdi/Gdi.h"

TSlowColorLookup::TSlowColorLookup(HPALETTE palette) : TColorLookup(palette) {
  WORD count = 0;
  if (palette) GetObjectA(palette, sizeof count, &count);
  if (count > 256) count = 256;
  entries_.resize(count);
  if (count) GetPaletteEntries(palette, 0, count, entries_.data());
  colors_ = count;
}

int TSlowColorLookup::NearestIndex(BYTE red, BYTE green, BYTE blue, BYTE& outRed, BYTE& outGreen,
                                   BYTE& outBlue) {
  UINT index = entries_.empty() ? 0xFFFFFFFF : GetNearestPaletteIndex(palette_, RGB(red, green, blue));
  if (index >= entries_.size()) {
    outRed = red;
    outGreen = green;
    outBlue = blue;
    return 0;
  }
  outRed = entries_[index].peRed;
  outGreen = entries_[index].peGreen;
  outBlue = entries_[index].peBlue;
  return int(index);
}
