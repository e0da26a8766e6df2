#include "pictures/color/WebPalette.h"

#include <vector>

#include "pictures/dib/GDICheck.h"
#include "platform/gdi/Gdi.h"

HPALETTE WebPalette() {
  std::vector<BYTE> memory(sizeof(LOGPALETTE) + 216 * sizeof(PALETTEENTRY));
  auto* palette = reinterpret_cast<LOGPALETTE*>(memory.data());
  palette->palVersion = 0x300;
  palette->palNumEntries = 216;
  for (int r = 0; r < 6; ++r)
    for (int g = 0; g < 6; ++g)
      for (int b = 0; b < 6; ++b)
        palette->palPalEntry[r * 36 + g * 6 + b] = PALETTEENTRY{BYTE(r * 51), BYTE(g * 51), BYTE(b * 51), 0};
  return GDICheck(CreatePalette(palette));
}
