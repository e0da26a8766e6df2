// Reducing true-colour bitmaps: the quantizer's palettes, each reduction's palette and lookup,
// the caller's bitmap left as it was, and big flat areas counted without overflow.
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "pictures/GIFException.h"
#include "pictures/color/ColorReduction.h"
#include "pictures/gif/GIFFrameConversion.h"
#include "pictures/gif/TGIFImage.h"
#include "pictures/gif/TGIFSubImage.h"
#include "platform/forms/TJPEGImage.h"
#include "platform/gdi/Gdi.h"
#include "platform/win/Win.h"
#include "support/SharedData.h"

namespace {

std::vector<PALETTEENTRY> Entries(HPALETTE palette) {
  WORD count = 0;
  GetObjectA(palette, sizeof count, &count);
  std::vector<PALETTEENTRY> entries(count);
  if (count) GetPaletteEntries(palette, 0, count, entries.data());
  return entries;
}

std::unique_ptr<TBitmap> Bitmap24(int width, int height, const std::function<COLORREF(int, int)>& colour) {
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetPixelFormat(pf24bit);
  bitmap->SetSize(width, height);
  for (int y = 0; y < height; ++y) {
    BYTE* row = static_cast<BYTE*>(bitmap->ScanLine(y));
    for (int x = 0; x < width; ++x) {
      const COLORREF c = colour(x, y);
      row[3 * x] = GetBValue(c), row[3 * x + 1] = GetGValue(c), row[3 * x + 2] = GetRValue(c);
    }
  }
  return bitmap;
}

// The pixels of any bitmap as colours, through a 24-bit copy.
std::vector<COLORREF> Colours(TBitmap* bitmap) {
  TBitmap copy;
  copy.Assign(bitmap);
  copy.SetPixelFormat(pf24bit);
  std::vector<COLORREF> out;
  for (int y = 0; y < copy.Height(); ++y) {
    const BYTE* row = static_cast<const BYTE*>(copy.ScanLine(y));
    for (int x = 0; x < copy.Width(); ++x) out.push_back(RGB(row[3 * x + 2], row[3 * x + 1], row[3 * x]));
  }
  return out;
}

std::vector<std::uint8_t> RawRows(TBitmap* bitmap) {
  std::vector<std::uint8_t> out;
  const int bytes = bitmap->PixelFormat() == pf32bit ? 4 : bitmap->PixelFormat() == pf24bit ? 3 : 2;
  for (int y = 0; y < bitmap->Height(); ++y) {
    const auto* row = static_cast<const std::uint8_t*>(bitmap->ScanLine(y));
    out.insert(out.end(), row, row + bitmap->Width() * bytes);
  }
  return out;
}

std::unique_ptr<TBitmap> Photo() {
  TJPEGImage jpeg;
  jpeg.LoadFromFile(testsupport::SharedPath("testdata/pillow/jpeg/flower.jpg").c_str());
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->Assign(&jpeg);
  bitmap->SetPixelFormat(pf24bit);
  return bitmap;
}

double MeanError(const std::vector<COLORREF>& a, const std::vector<COLORREF>& b) {
  double sum = 0;
  for (std::size_t i = 0; i < a.size(); ++i)
    sum += std::sqrt(std::pow(GetRValue(a[i]) - GetRValue(b[i]), 2) +
                     std::pow(GetGValue(a[i]) - GetGValue(b[i]), 2) +
                     std::pow(GetBValue(a[i]) - GetBValue(b[i]), 2));
  return sum / double(a.size());
}

}  // namespace

TEST(GIFColorReduction, QuantizedPalettes) {
  const COLORREF five[] = {RGB(255, 0, 0), RGB(0, 128, 0), RGB(10, 20, 30), RGB(200, 200, 200),
                           RGB(0, 0, 255)};
  auto bitmap = Bitmap24(10, 10, [&](int x, int y) { return five[(x + y) % 5]; });

  HPALETTE palette = CreateOptimizedPaletteFromSingleBitmap(bitmap.get(), 16, 8, false);
  std::vector<PALETTEENTRY> entries = Entries(palette);
  DeleteObject(palette);
  ASSERT_EQ(entries.size(), 16u);
  std::set<COLORREF> first, expected(std::begin(five), std::end(five));
  for (int i = 0; i < 5; ++i) first.insert(RGB(entries[i].peRed, entries[i].peGreen, entries[i].peBlue));
  EXPECT_EQ(first, expected);
  for (std::size_t i = 5; i < 16; ++i) {  // entries no colour was found for stay black
    EXPECT_EQ(RGB(entries[i].peRed, entries[i].peGreen, entries[i].peBlue), 0u);
    EXPECT_EQ(entries[i].peFlags, PC_NOCOLLAPSE);
  }

  // Colours and colour bits beyond their ranges are brought into them.
  struct Case {
    int colors, bits;
    std::size_t entries;
  };
  for (const Case& c : {Case{8, 8, 8}, Case{0, 8, 1}, Case{-5, 0, 1}, Case{300, 9, 256}, Case{2, 1, 2}}) {
    SCOPED_TRACE(std::to_string(c.colors) + " colours, " + std::to_string(c.bits) + " bits");
    HPALETTE p = CreateOptimizedPaletteFromSingleBitmap(bitmap.get(), c.colors, c.bits, false);
    EXPECT_EQ(Entries(p).size(), c.entries);
    DeleteObject(p);
  }

  // With the Windows colours the 20 static colours keep their places.
  HPALETTE windows = CreateOptimizedPaletteFromSingleBitmap(bitmap.get(), 256, 8, true);
  std::vector<PALETTEENTRY> all = Entries(windows),
                            system = Entries(HPALETTE(GetStockObject(DEFAULT_PALETTE)));
  DeleteObject(windows);
  ASSERT_EQ(all.size(), 256u);
  ASSERT_EQ(system.size(), 20u);
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(RGB(all[i].peRed, all[i].peGreen, all[i].peBlue),
              RGB(system[i].peRed, system[i].peGreen, system[i].peBlue));
    EXPECT_EQ(RGB(all[246 + i].peRed, all[246 + i].peGreen, all[246 + i].peBlue),
              RGB(system[10 + i].peRed, system[10 + i].peGreen, system[10 + i].peBlue));
  }
  std::set<COLORREF> quantized;
  for (int i = 10; i < 15; ++i) quantized.insert(RGB(all[i].peRed, all[i].peGreen, all[i].peBlue));
  EXPECT_EQ(quantized, expected);
}

TEST(GIFColorReduction, BitmapListIsRequired) {
  TList empty;
  for (TList* list : {static_cast<TList*>(nullptr), &empty}) {
    try {
      CreateOptimizedPaletteFromManyBitmaps(list, 256, 8, false);
      ADD_FAILURE() << "no error";
    } catch (const GIFException& e) {
      EXPECT_STREQ(e.Message.c_str(), "Invalid bitmap list");
    }
  }
  // Two bitmaps give one palette holding the colours of both.
  auto red = Bitmap24(4, 4, [](int, int) { return RGB(255, 0, 0); });
  auto blue = Bitmap24(3, 3, [](int, int) { return RGB(0, 0, 255); });
  TList both;
  both.Add(red.get());
  both.Add(blue.get());
  HPALETTE palette = CreateOptimizedPaletteFromManyBitmaps(&both, 4, 8, false);
  std::vector<PALETTEENTRY> entries = Entries(palette);
  DeleteObject(palette);
  std::set<COLORREF> found;
  for (int i = 0; i < 2; ++i) found.insert(RGB(entries[i].peRed, entries[i].peGreen, entries[i].peBlue));
  EXPECT_EQ(found, (std::set<COLORREF>{RGB(255, 0, 0), RGB(0, 0, 255)}));
}

TEST(GIFColorReduction, OneColourOverNineMillionPixelsStaysExact) {
  auto bitmap = Bitmap24(3000, 3000, [](int, int) { return RGB(250, 128, 7); });
  HPALETTE palette = CreateOptimizedPaletteFromSingleBitmap(bitmap.get(), 256, 8, false);
  std::vector<PALETTEENTRY> entries = Entries(palette);
  DeleteObject(palette);
  EXPECT_EQ(RGB(entries[0].peRed, entries[0].peGreen, entries[0].peBlue), RGB(250, 128, 7));
}

TEST(GIFColorReduction, EmptyResults) {
  auto bitmap = Bitmap24(5, 5, [](int x, int y) { return RGB(x * 50, y * 50, 0); });
  struct Case {
    const char* name;
    TColorReduction reduction;
    TDitherMode mode;
  };
  for (const Case& c : {Case{"unknown dither mode", rmNetscape, TDitherMode(42)},
                        Case{"palette without a palette", rmPalette, TDitherMode::dmFloydSteinberg},
                        Case{"unknown reduction", TColorReduction(12), TDitherMode::dmNearest}}) {
    SCOPED_TRACE(c.name);
    std::unique_ptr<TBitmap> result(ReduceColors(bitmap.get(), c.reduction, c.mode, 8, nullptr));
    ASSERT_TRUE(result);
    EXPECT_TRUE(result->Empty());
  }
}

TEST(GIFColorReduction, NoneGivesATrueColourCopy) {
  auto source = Bitmap24(6, 4, [](int x, int y) { return RGB(x * 40, y * 60, 9); });
  TBitmap eight;
  eight.Assign(source.get());
  eight.SetPixelFormat(pf8bit);
  std::unique_ptr<TBitmap> result(ReduceColors(&eight, rmNone, TDitherMode::dmNearest, 8, nullptr));
  EXPECT_EQ(result->PixelFormat(), pf24bit);
  EXPECT_EQ(eight.PixelFormat(), pf8bit);
  EXPECT_EQ(Colours(result.get()), Colours(&eight));
}

// The caller's bitmap keeps its format and pixels (alpha included), and the web palette's
// levels come out as (c + 3) div 51.
TEST(GIFColorReduction, SuiteBitmapsKeepTheirFormat) {
  for (const char* name : {"g_rgb16.bmp", "g_rgb24.bmp", "g_rgb32.bmp"}) {
    SCOPED_TRACE(name);
    TBitmap source;
    source.LoadFromFile(testsupport::SharedPath(std::string("testdata/pillow/bmp/") + name).c_str());
    const TPixelFormat format = source.PixelFormat();
    const std::vector<std::uint8_t> before = RawRows(&source);
    std::unique_ptr<TBitmap> result(ReduceColors(&source, rmNetscape, TDitherMode::dmNearest, 8, nullptr));
    EXPECT_EQ(source.PixelFormat(), format);
    EXPECT_EQ(RawRows(&source), before);
    ASSERT_EQ(result->PixelFormat(), pf8bit);
    const std::vector<COLORREF> in = Colours(&source), out = Colours(result.get());
    ASSERT_EQ(in.size(), out.size());
    std::size_t wrong = 0;
    for (std::size_t i = 0; i < in.size(); ++i) {
      auto level = [](int c) { return (c + 3) / 51 * 51; };
      if (out[i] != RGB(level(GetRValue(in[i])), level(GetGValue(in[i])), level(GetBValue(in[i])))) ++wrong;
    }
    EXPECT_EQ(wrong, 0u);
  }
}

TEST(GIFColorReduction, PhotoThroughEveryReduction) {
  auto photo = Photo();
  ASSERT_FALSE(photo->Empty());
  const std::vector<COLORREF> original = Colours(photo.get());

  std::unique_ptr<TBitmap> quantized(
      ReduceColors(photo.get(), rmQuantize, TDitherMode::dmNearest, 8, nullptr));
  std::unique_ptr<TBitmap> web(ReduceColors(photo.get(), rmNetscape, TDitherMode::dmNearest, 8, nullptr));
  EXPECT_LT(MeanError(original, Colours(quantized.get())), MeanError(original, Colours(web.get())));

  HPALETTE given = CreateOptimizedPaletteFromSingleBitmap(photo.get(), 32, 8, false);
  HDC screen = GetDC(nullptr);
  HPALETTE halftone = CreateHalftonePalette(screen);
  ReleaseDC(nullptr, screen);
  const std::size_t halftoneSize = Entries(halftone).size();
  DeleteObject(halftone);
  struct Case {
    TColorReduction reduction;
    int bits;
    std::size_t colours;
  };
  for (const Case& c :
       {Case{rmWindows20, 8, 20}, Case{rmWindows256, 8, halftoneSize}, Case{rmWindowsGray, 8, 4},
        Case{rmMonochrome, 8, 2}, Case{rmGrayScale, 8, 256}, Case{rmNetscape, 8, 216}, Case{rmQuantize, 3, 8},
        Case{rmQuantize, 8, 256}, Case{rmQuantizeWindows, 8, 256}, Case{rmPalette, 8, 32}}) {
    SCOPED_TRACE(int(c.reduction) * 100 + c.bits);
    std::unique_ptr<TBitmap> result(
        ReduceColors(photo.get(), c.reduction, TDitherMode::dmFloydSteinberg, c.bits, given));
    ASSERT_EQ(result->PixelFormat(), pf8bit);
    ASSERT_EQ(result->Width(), photo->Width());
    int highest = 0;
    for (int y = 0; y < result->Height(); ++y) {
      const BYTE* row = static_cast<const BYTE*>(result->ScanLine(y));
      for (int x = 0; x < result->Width(); ++x) highest = std::max<int>(highest, row[x]);
    }
    EXPECT_LT(std::size_t(highest), c.colours);
    // The stock palette is still there after a reduction through it.
    EXPECT_EQ(Entries(HPALETTE(GetStockObject(DEFAULT_PALETTE))).size(), 20u);
  }
  DeleteObject(given);
}

// A true-colour bitmap read into a frame's table: up to 256 colours exactly as a plain search
// finds them, and the 257th refused.
TEST(GIFColorReduction, TrueColourPixelsIntoATable) {
  for (int colours : {200, 256, 300}) {
    SCOPED_TRACE(colours);
    // Colours revisited in short runs and from far back, so the ring misses as often as it hits.
    auto bitmap = Bitmap24(60, 20, [&](int x, int y) {
      const int i = ((y * 60 + x) / 3 * 37) % colours;
      return RGB(i & 0xFF, i >> 8, 5);
    });
    TGIFSubImage frame(nullptr);
    frame.DoSetBounds(0, 0, 60, 20);
    std::vector<BYTE> pixels(60 * 20);
    if (colours > 256) {
      EXPECT_THROW(ImportTrueColorPixels(bitmap.get(), frame.ColorMap(), pixels.data()), GIFException);
      continue;
    }
    ImportTrueColorPixels(bitmap.get(), frame.ColorMap(), pixels.data());
    EXPECT_EQ(frame.ColorMap()->Count(), colours);
    const std::vector<COLORREF> in = Colours(bitmap.get());
    for (std::size_t i = 0; i < in.size(); ++i) {
      const TGIFColor c = frame.ColorMap()->Colors(pixels[i]);
      ASSERT_EQ(RGB(c.Red, c.Green, c.Blue), in[i]) << i;
      // The table holds each colour once, where a plain search would put it.
      ASSERT_EQ(frame.ColorMap()->IndexOf(TColor(in[i])), pixels[i]);
    }
  }
}

TEST(GIFColorReduction, FrameReductionRefusesAnEmptyResult) {
  auto bitmap = Bitmap24(4, 4, [](int x, int y) { return RGB(x * 60, y * 60, 0); });
  TGIFImage image;
  image.SetColorReduction(rmPalette);
  try {
    delete ReduceColorsForFrame(bitmap.get(), &image);
    ADD_FAILURE() << "no error";
  } catch (const GIFException& e) {
    EXPECT_STREQ(e.Message.c_str(), "Invalid reduction method");
  }
  image.SetColorReduction(rmQuantize);
  image.SetReductionBits(3);
  std::unique_ptr<TBitmap> reduced(ReduceColorsForFrame(bitmap.get(), &image));
  EXPECT_EQ(reduced->PixelFormat(), pf8bit);
}
