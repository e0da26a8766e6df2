#include "pictures/color/ColorReduction.h"

#include <algorithm>
#include <vector>

#include "pictures/GIFException.h"
#include "pictures/color/TBurkesDitherer.h"
#include "pictures/color/TColorQuantizer.h"
#include "pictures/color/TFloydSteinbergDitherer.h"
#include "pictures/color/TGrayScaleLookup.h"
#include "pictures/color/TJaJuNiDitherer.h"
#include "pictures/color/TMonochromeLookup.h"
#include "pictures/color/TNetscapeColorLookup.h"
#include "pictures/color/TSierraDitherer.h"
#include "pictures/color/TSlowColorLookup.h"
#include "pictures/color/TSteveArcheDitherer.h"
#include "pictures/color/TStuckiDitherer.h"
#include "pictures/color/WebPalette.h"
#include "pictures/dib/GDICheck.h"
#include "pictures/dib/TDIBReader.h"
#include "pictures/dib/TDIBWriter.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/OwnedGdiObject.h"
#include "platform/win/Win.h"
#include "platform/win/WindowDC.h"

namespace {

HPALETTE MakePalette(const std::vector<PALETTEENTRY>& entries) {
  std::vector<BYTE> memory(sizeof(LOGPALETTE) +
                           sizeof(PALETTEENTRY) * std::max<std::size_t>(entries.size(), 1));
  auto* palette = reinterpret_cast<LOGPALETTE*>(memory.data());
  palette->palVersion = 0x300;
  palette->palNumEntries = WORD(entries.size());
  std::copy(entries.begin(), entries.end(), palette->palPalEntry);
  return GDICheck(CreatePalette(palette));
}

std::vector<PALETTEENTRY> EntriesOf(HPALETTE palette) {
  WORD count = 0;
  if (palette) GetObjectA(palette, sizeof count, &count);
  std::vector<PALETTEENTRY> entries(std::min<WORD>(count, 256));
  if (!entries.empty()) GetPaletteEntries(palette, 0, UINT(entries.size()), entries.data());
  return entries;
}

HPALETTE GreyPalette(std::initializer_list<int> levels) {
  std::vector<PALETTEENTRY> entries;
  for (int level : levels)
    entries.push_back(PALETTEENTRY{BYTE(level), BYTE(level), BYTE(level), PC_NOCOLLAPSE});
  return MakePalette(entries);
}

HPALETTE GreyRamp() {
  std::vector<PALETTEENTRY> entries(256);
  for (int i = 0; i < 256; ++i)
    entries[std::size_t(i)] = PALETTEENTRY{BYTE(i), BYTE(i), BYTE(i), PC_NOCOLLAPSE};
  return MakePalette(entries);
}

HPALETTE ScreenHalftonePalette() {
  HPALETTE palette;
  {
    WindowDC screen(nullptr);
    palette = CreateHalftonePalette(screen);
  }
  return GDICheck(palette);
}

HPALETTE OptimizedPalette(const std::vector<TBitmap*>& bitmaps, int colors, int colorBits, bool windows) {
  colors = std::clamp(colors, 1, 256);
  std::vector<PALETTEENTRY> entries(std::size_t(windows ? 256 : colors),
                                    PALETTEENTRY{0, 0, 0, PC_NOCOLLAPSE});
  int offset = 0;
  if (windows) {
    std::vector<PALETTEENTRY> system = EntriesOf(HPALETTE(GetStockObject(DEFAULT_PALETTE)));
    const std::size_t count = system.size();
    for (std::size_t i = 0; i < 10 && i < count; ++i) {
      entries[i] = system[i];
      entries[246 + i] = system[count >= 20 ? count - 10 + i : i];
    }
    colors = 236;
    offset = 10;
  }
  TColorQuantizer quantizer(colors, colorBits);
  for (TBitmap* bitmap : bitmaps) {
    if (!bitmap || bitmap->Empty()) continue;
    TDIBReader reader(bitmap, pf24bit);
    quantizer.ProcessImage(&reader, bitmap->Width(), bitmap->Height());
  }
  std::vector<RGBQUAD> table(256);
  const int found = quantizer.GetColorTable(table.data(), colors);
  for (int i = 0; i < found; ++i) {
    const RGBQUAD& c = table[std::size_t(i)];
    entries[std::size_t(offset + i)] = PALETTEENTRY{c.rgbRed, c.rgbGreen, c.rgbBlue, 0};
  }
  return MakePalette(entries);
}

}  // namespace

std::unique_ptr<TDitherEngine> CreateDitherEngine(TDitherMode mode, int width, TColorLookup* lookup) {
  switch (mode) {
    case TDitherMode::dmNearest:
      return std::make_unique<TDitherEngine>(width, lookup);
    case TDitherMode::dmFloydSteinberg:
      return std::make_unique<TFloydSteinbergDitherer>(width, lookup);
    case TDitherMode::dmStucki:
      return std::make_unique<TStuckiDitherer>(width, lookup);
    case TDitherMode::dmSierra:
      return std::make_unique<TSierraDitherer>(width, lookup);
    case TDitherMode::dmJaJuNI:
      return std::make_unique<TJaJuNiDitherer>(width, lookup);
    case TDitherMode::dmSteveArche:
      return std::make_unique<TSteveArcheDitherer>(width, lookup);
    case TDitherMode::dmBurkes:
      return std::make_unique<TBurkesDitherer>(width, lookup);
  }
  return nullptr;
}

HPALETTE CreateOptimizedPaletteFromManyBitmaps(TList* bitmaps, int colors, int colorBits, bool windows) {
  if (!bitmaps || bitmaps->Count() == 0) GIFError(sInvalidBitmapList);
  std::vector<TBitmap*> list;
  for (int i = 0; i < bitmaps->Count(); ++i) list.push_back(static_cast<TBitmap*>(bitmaps->Items(i)));
  return OptimizedPalette(list, colors, colorBits, windows);
}

HPALETTE CreateOptimizedPaletteFromSingleBitmap(TBitmap* bitmap, int colors, int colorBits, bool windows) {
  return OptimizedPalette({bitmap}, colors, colorBits, windows);
}

TBitmap* ReduceColors(TBitmap* bitmap, TColorReduction colorReduction, TDitherMode ditherMode,
                      int reductionBits, HPALETTE palette) {
  auto result = std::make_unique<TBitmap>();
  if (colorReduction == rmNone) {
    result->Assign(bitmap);
    result->SetPixelFormat(pf24bit);
    return result.release();
  }
  if (!bitmap || bitmap->Empty()) return result.release();
  const int width = bitmap->Width(), height = bitmap->Height();
  // A big result starts at 1 bit so its handle stays small until the DIB replaces it.
  if (std::int64_t(width) * height > 500000) result->SetPixelFormat(pf1bit);

  // The palette made for this reduction is deleted on every way out; the stock palette belongs to
  // the system and is never deleted.
  HPALETTE reductionPalette = nullptr;
  OwnedGdiObject<HPALETTE> made;
  std::unique_ptr<TColorLookup> lookup;
  switch (colorReduction) {
    case rmWindows20:
      reductionPalette = HPALETTE(GetStockObject(DEFAULT_PALETTE));
      lookup = std::make_unique<TSlowColorLookup>(reductionPalette);
      break;
    case rmWindows256:
      reductionPalette = ScreenHalftonePalette();
      made.Reset(reductionPalette);
      lookup = std::make_unique<TSlowColorLookup>(reductionPalette);
      break;
    case rmWindowsGray:
      reductionPalette = GreyPalette({0, 128, 192, 255});
      made.Reset(reductionPalette);
      lookup = std::make_unique<TSlowColorLookup>(reductionPalette);
      break;
    case rmMonochrome:
      reductionPalette = GreyPalette({0, 255});
      made.Reset(reductionPalette);
      lookup = std::make_unique<TMonochromeLookup>(reductionPalette);
      break;
    case rmGrayScale:
      reductionPalette = GreyRamp();
      made.Reset(reductionPalette);
      lookup = std::make_unique<TGrayScaleLookup>(reductionPalette);
      break;
    case rmNetscape:
      reductionPalette = WebPalette();
      made.Reset(reductionPalette);
      lookup = std::make_unique<TNetscapeColorLookup>(reductionPalette);
      break;
    case rmQuantize:
      reductionPalette =
          CreateOptimizedPaletteFromSingleBitmap(bitmap, 1 << std::clamp(reductionBits, 1, 8), 8, false);
      made.Reset(reductionPalette);
      lookup = std::make_unique<TSlowColorLookup>(reductionPalette);
      break;
    case rmQuantizeWindows:
      reductionPalette = CreateOptimizedPaletteFromSingleBitmap(bitmap, 256, 8, true);
      made.Reset(reductionPalette);
      lookup = std::make_unique<TSlowColorLookup>(reductionPalette);
      break;
    case rmPalette: {
      std::vector<PALETTEENTRY> entries = EntriesOf(palette);
      if (!entries.empty()) made.Reset(reductionPalette = MakePalette(entries));
      lookup = std::make_unique<TSlowColorLookup>(reductionPalette);
      break;
    }
    default:
      return result.release();
  }

  if (lookup->Colors() == 0) return result.release();
  std::unique_ptr<TDitherEngine> engine = CreateDitherEngine(ditherMode, width, lookup.get());
  if (!engine) return result.release();

  {
    TDIBReader reader(bitmap, pf24bit);
    TDIBWriter writer(result.get(), reductionPalette, height, width, pf8bit);
    for (int row = 0; row < height; ++row) {
      const BYTE* source = static_cast<const BYTE*>(reader.RowPointer(row));
      BYTE* target = static_cast<BYTE*>(writer.RowPointer(row));
      BYTE r, g, b;
      for (int x = engine->Column(); x >= 0 && x < width; x = engine->Column()) {
        const BYTE* pixel = source + 3 * std::size_t(x);
        target[x] = BYTE(engine->DitherPixel(pixel[2], pixel[1], pixel[0], r, g, b));
      }
      engine->NextRow();
    }
  }
  return result.release();
}
