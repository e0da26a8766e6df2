#include "pictures/gif/GIFFrameConversion.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "pictures/GIFException.h"
#include "pictures/color/ColorReduction.h"
#include "pictures/color/TFloydSteinbergDitherer.h"
#include "pictures/color/TNetscapeColorLookup.h"
#include "pictures/dib/TDIBReader.h"
#include "pictures/gif/GIFSettings.h"
#include "pictures/gif/TGIFImage.h"
#include "platform/gdi/Gdi.h"

TBitmap* ReduceColorsForFrame(TBitmap* source, TGIFImage* image) {
  const TColorReduction reduction = image ? image->ColorReduction() : GIFImageDefaultColorReduction;
  const TDitherMode mode = image ? image->DitherMode() : GIFImageDefaultDitherMode;
  const int bits = image ? image->ReductionBits() : GIFImageDefaultColorReductionBits;
  std::unique_ptr<TBitmap> reduced(ReduceColors(source, reduction, mode, bits, nullptr));
  if (reduced->Empty() && !source->Empty()) GIFError(sInvalidReduction);
  return reduced.release();
}

void ImportTrueColorPixels(TBitmap* bitmap, TGIFColorMap* map, BYTE* pixels) {
  const int width = bitmap->Width(), height = bitmap->Height();
  TDIBReader reader(bitmap, pf24bit);
  map->Clear();
  struct Slot {
    COLORREF color;
    int index;
  };
  Slot ring[8];
  int used = 0, last = 0;
  for (int y = 0; y < height; ++y) {
    const BYTE* row = static_cast<const BYTE*>(reader.RowPointer(y));
    BYTE* out = pixels + std::size_t(y) * std::size_t(width);
    for (int x = 0; x < width; ++x, row += 3) {
      const COLORREF color = RGB(row[2], row[1], row[0]);
      int found = -1;
      // From the last hit backwards round the ring, up to an empty slot or a full round.
      for (int n = 0, at = last; n < used; ++n, at = (at + used - 1) % used)
        if (ring[at].color == color) {
          found = ring[at].index;
          last = at;
          break;
        }
      if (found < 0) {
        found = map->AddUnique(TColor(color));
        last = used < 8 ? used++ : (last + 1) & 7;
        ring[last] = Slot{color, found};
      }
      out[x] = BYTE(found);
    }
  }
}

void DitherFramePixels(const BYTE* pixels, int width, int height, TGIFColorMap* map, int transparentIndex,
                       const std::function<BYTE*(int row)>& dibRow,
                       const std::function<BYTE*(int row)>& maskRow) {
  TNetscapeColorLookup lookup(nullptr);
  TFloydSteinbergDitherer ditherer(width, &lookup);
  BYTE fill = 0;
  if (maskRow) {
    const TGIFColor c = transparentIndex >= 0 && transparentIndex < map->Count()
                            ? map->Colors(transparentIndex)
                            : TGIFColor{};
    fill = BYTE((MulDiv(36, c.Red, 51) + MulDiv(6, c.Green, 51) + c.Blue / 51 + 1) & 0xFF);
  }
  for (int y = 0; y < height; ++y) {
    const BYTE* source = pixels + std::size_t(y) * std::size_t(width);
    BYTE* target = dibRow(y);
    BYTE* mask = maskRow ? maskRow(y) : nullptr;
    if (mask) std::memset(target, fill, std::size_t(width));
    for (int x = ditherer.Column(); x >= 0 && x < width; x = ditherer.Column()) {
      const int p = source[x];
      if (mask && p == transparentIndex) {
        mask[x >> 3] |= BYTE(0x80 >> (x & 7));
        ditherer.SkipPixel();
        continue;
      }
      const TGIFColor c = p < map->Count() ? map->Colors(p) : TGIFColor{};
      BYTE r, g, b;
      target[x] = BYTE(ditherer.DitherPixel(c.Red, c.Green, c.Blue, r, g, b));
    }
    ditherer.NextRow();
  }
}
