// Palette, pixel, alpha, selection and row-iterator access.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "imagelib/CImageIterator.h"
#include "imagelib/IxImage.h"

namespace {

TEST(IxImagePalette, NearestIndexPrefersTheLowerDuplicateAndCaches) {
  IxImage img(2, 2, 4);
  img.SetPaletteColor(3, 10, 20, 30);
  img.SetPaletteColor(7, 10, 20, 30);
  EXPECT_EQ(img.GetNearestIndex(IxRGBQuad{30, 20, 10, 0}), 3);
  EXPECT_TRUE(img.GetInfo().last_c_isvalid);
  // A repeated call answers from the cache: prove it by changing the palette behind its back.
  IxRGBQuad* pal = img.GetPalette();
  pal[3] = IxRGBQuad{0, 0, 0, 0};
  EXPECT_EQ(img.GetNearestIndex(IxRGBQuad{30, 20, 10, 0}), 3);
  // Any palette setter invalidates it.
  img.SetPaletteColor(0, 0, 0, 0);
  EXPECT_EQ(img.GetNearestIndex(IxRGBQuad{30, 20, 10, 0}), 7);
  EXPECT_EQ(img.GetNearestIndex(IxRGBQuad{30, 20, 10, 0}), 7);
  img.GetPalette()[7] = IxRGBQuad{200, 200, 200, 0};
  img.SetPalette(img.GetPalette(), 16);
  EXPECT_EQ(img.GetNearestIndex(IxRGBQuad{30, 20, 10, 0}), 0);
}

TEST(IxImagePalette, NearestIndexSearchesOnlyTheImportantColours) {
  IxImage img(2, 2, 8);
  img.SetPaletteColor(200, 255, 255, 255);
  EXPECT_EQ(img.GetNearestIndex(IxRGBQuad{255, 255, 255, 0}), 200);
  // Limit the search to the first 16 entries, as a decoder setting colours important would.
  IxBitmapInfoHeader& h = const_cast<IxBitmapInfoHeader&>(img.GetHeader());
  h.biClrImportant = 16;
  img.SetPaletteColor(5, 250, 250, 250);
  EXPECT_EQ(img.GetNearestIndex(IxRGBQuad{255, 255, 255, 0}), 5);
  // Colours important above colours used never takes the search past the palette.
  h.biClrImportant = 100000;
  h.biClrUsed = 16;
  img.SetPaletteColor(6, 250, 250, 251);
  EXPECT_LT(img.GetNearestIndex(IxRGBQuad{255, 255, 255, 0}), 16);
}

TEST(IxImagePalette, CreateInvalidatesTheNearestColourCache) {
  IxImage img(2, 2, 8);
  img.SetPaletteColor(9, 1, 2, 3);
  EXPECT_EQ(img.GetNearestIndex(IxRGBQuad{3, 2, 1, 0}), 9);
  IxImage other;
  other.CopyInfo(img);  // carries the cache along
  ASSERT_NE(other.Create(2, 2, 8), nullptr);
  EXPECT_FALSE(other.GetInfo().last_c_isvalid);
  EXPECT_EQ(other.GetNearestIndex(IxRGBQuad{3, 2, 1, 0}), 0);
}

TEST(IxImagePalette, GreyPaletteSteps) {
  IxImage img(2, 2, 4);
  img.SetGrayPalette();
  for (int i = 0; i < 16; ++i) EXPECT_EQ(img.GetPaletteColor(uint8_t(i)).rgbGreen, i * 17);
  EXPECT_FALSE(img.IsGrayScale());
  IxImage eight(2, 2, 8);
  eight.SetGrayPalette();
  EXPECT_TRUE(eight.IsGrayScale());
  IxImage one(2, 2, 1);
  one.SetGrayPalette();
  EXPECT_EQ(one.GetPaletteColor(1).rgbRed, 255);
}

TEST(IxImagePalette, SetPaletteFromTables) {
  IxImage img(2, 2, 1);
  const uint8_t r[] = {10, 20, 30};
  img.SetPalette(3, r);  // green and blue follow red; the count is clamped to 2 colours
  EXPECT_EQ(img.GetPaletteColor(1).rgbBlue, 20);
  EXPECT_EQ(img.GetPaletteColor(2).rgbBlue, 0);
  const uint8_t rgb[] = {1, 2, 3, 4, 5, 6};
  img.SetPaletteRGB(rgb, 2);
  EXPECT_EQ(img.GetPaletteColor(1).rgbRed, 4);
  EXPECT_EQ(img.GetPaletteColor(1).rgbBlue, 6);
  uint8_t rr, gg, bb;
  EXPECT_TRUE(img.GetPaletteColor(0, &rr, &gg, &bb));
  EXPECT_EQ(gg, 2);
  IxImage rgb24(2, 2, 24);
  EXPECT_EQ(rgb24.GetPalette(), nullptr);
  EXPECT_FALSE(rgb24.GetPaletteColor(0, &rr, &gg, &bb));
}

TEST(IxImagePalette, SwapIndexExchangesEntriesAndPixelsButNeverWritesOutsideThePalette) {
  IxImage img(3, 1, 4);
  img.SetPaletteColor(0, 1, 1, 1);
  img.SetPaletteColor(2, 2, 2, 2);
  img.SetPixelIndex(0, 0, 0);
  img.SetPixelIndex(1, 0, 2);
  img.SetPixelIndex(2, 0, 5);
  img.SwapIndex(0, 2);
  EXPECT_EQ(img.GetPaletteColor(0).rgbRed, 2);
  EXPECT_EQ(img.GetPixelIndex(0, 0), 2);
  EXPECT_EQ(img.GetPixelIndex(1, 0), 0);
  EXPECT_EQ(img.GetPixelIndex(2, 0), 5);
  // A transparent index taken from a GIF can be any byte: 200 names no entry of 16.
  const std::vector<uint8_t> before(img.GetBits(0) - 64, img.GetBits(0) + img.GetEffWidth());
  img.SwapIndex(0, 200);
  const std::vector<uint8_t> after(img.GetBits(0) - 64, img.GetBits(0) + img.GetEffWidth());
  EXPECT_EQ(before, after);
}

TEST(IxImagePixels, IndexOutsideThePicture) {
  IxImage img(4, 4, 8);
  img.GetBits(0)[0] = 42;
  EXPECT_EQ(img.GetPixelIndex(-1, 0), 42);
  img.SetTransIndex(5);
  EXPECT_EQ(img.GetPixelIndex(-1, 0), 5);
  EXPECT_EQ(img.GetPixelIndex(0, 4), 5);
  IxImage rgb(2, 2, 24);
  EXPECT_EQ(rgb.GetPixelIndex(0, 0), 0);
}

TEST(IxImagePixels, SetPixelIndexTouchesOnlyItsBits) {
  struct Case {
    uint32_t bpp;
    int x;
    uint8_t index;
    uint8_t byte0;
  };
  const Case cases[] = {
      {4, 1, 0xFF, 0x0F}, {4, 0, 0xFF, 0xF0}, {1, 0, 1, 0x80}, {1, 7, 3, 0x01}, {8, 0, 0xAB, 0xAB}};
  for (const Case& c : cases) {
    IxImage img(9, 1, c.bpp);
    img.SetPixelIndex(c.x, 0, c.index);
    EXPECT_EQ(img.GetBits(0)[0], c.byte0) << c.bpp << " x " << c.x;
    EXPECT_EQ(img.GetBits(0)[1], 0);
    EXPECT_EQ(img.GetPixelIndex(c.x, 0), c.index & ((1u << c.bpp) - 1));
  }
  IxImage img(2, 2, 8);
  img.SetPixelIndex(2, 0, 9);  // outside: nothing
  EXPECT_EQ(img.GetBits(0)[2], 0);
}

TEST(IxImagePixels, ColourCarriesAlphaOrTheTransparentColoursFourthByte) {
  IxImage img(2, 2, 24);
  img.SetPixelColor(1, 1, IxRGBQuad{1, 2, 3, 0});
  IxImageInfo& info = const_cast<IxImageInfo&>(img.GetInfo());
  info.nBkgndColor.rgbReserved = 77;
  EXPECT_EQ(img.GetPixelColor(1, 1).rgbReserved, 77);
  img.AlphaCreate();
  img.AlphaSet(1, 1, 9);
  EXPECT_EQ(img.GetPixelColor(1, 1, true).rgbReserved, 9);
  EXPECT_EQ(img.GetPixelColor(1, 1, false).rgbReserved, 77);
  EXPECT_EQ(img.GetPixelColor(1, 1).rgbRed, 3);
  // Outside: pixel (0, 0) without a transparent index.
  img.SetPixelColor(0, 0, IxRGBQuad{5, 6, 7, 0});
  EXPECT_EQ(img.GetPixelColor(-3, 0).rgbRed, 7);
  img.SetTransIndex(0);
  img.SetTransColor(IxRGBQuad{8, 8, 8, 0});
  EXPECT_EQ(img.GetPixelColor(-3, 0).rgbRed, 8);
}

TEST(IxImagePixels, SetPixelColorOnIndexedTakesTheNearestEntry) {
  IxImage img(2, 1, 1);
  img.SetPaletteColor(0, 0, 0, 0);
  img.SetPaletteColor(1, 255, 255, 255);
  img.SetPixelColor(1, 0, IxRGB(200, 220, 180));
  EXPECT_EQ(img.GetPixelIndex(1, 0), 1);
  const IxRGBQuad q = IxImage::RGBtoRGBQUAD(IxRGB(1, 2, 3));
  EXPECT_EQ(q.rgbRed, 1);
  EXPECT_EQ(q.rgbBlue, 3);
}

TEST(IxImagePixels, Bitfield2RGBPlacesChannelsByTheirMasks) {
  struct Case {
    uint32_t word, r, g, b;
    uint8_t bpp;
    uint8_t wantB, wantG, wantR;
  };
  const Case cases[] = {
      // Narrow channels span the whole range: full strength is 255, a step of n bits 255 / (2^n - 1).
      {0xFFFF, 0xF800, 0x07E0, 0x001F, 16, 0xFF, 0xFF, 0xFF},  // 5-6-5 white
      {0x7FFF, 0x7C00, 0x03E0, 0x001F, 16, 0xFF, 0xFF, 0xFF},  // 5-5-5 white
      {0x0421, 0x7C00, 0x03E0, 0x001F, 16, 8, 8, 8},           // lowest step of each
      {0x4210, 0x7C00, 0x03E0, 0x001F, 16, 131, 131, 131},     // 16 of 31
      {0x0821, 0xF800, 0x07E0, 0x001F, 16, 8, 4, 8},           // 5-6-5 lowest steps
      {0x003F, 0x0030, 0x000E, 0x0001, 16, 0xFF, 0xFF, 0xFF},  // 2-3-1 all full
      {0x0014, 0x0030, 0x000E, 0x0001, 16, 0, 72, 85},         // 2-3-1: 1 of 3, 2 of 7, 0 of 1
      {0x12345678, 0x00FF0000, 0x0000FF00, 0x000000FF, 32, 0x78, 0x56, 0x34},
      {0xFF00FF00, 0xFF000000, 0x00000FF0, 0x00FF0000, 32, 0x00, 0xF0, 0xFF},
      {0xAABBCCDD, 0, 0, 0, 32, 0xDD, 0xCC, 0xBB},  // no masks: bytes B, G, R
  };
  for (const Case& c : cases) {
    IxImage img(1, 1, 24);
    uint8_t src[4];
    for (int i = 0; i < 4; ++i) src[i] = static_cast<uint8_t>(c.word >> (8 * i));
    img.Bitfield2RGB(src, c.bpp / 8, c.r, c.g, c.b, c.bpp);
    const uint8_t* p = img.GetBits(0);
    EXPECT_EQ(p[0], c.wantB) << std::hex << c.word;
    EXPECT_EQ(p[1], c.wantG) << std::hex << c.word;
    EXPECT_EQ(p[2], c.wantR) << std::hex << c.word;
  }
}

TEST(IxImagePixels, Bitfield2RGBConvertsInPlace) {
  IxImage img(3, 2, 24);
  uint8_t* bits = img.GetBits(0);
  // Two rows of 16-bit pixels, each row padded to 8 bytes, in the pixel area itself.
  const uint16_t words[2][4] = {{0x7C00, 0x03E0, 0x001F, 0}, {0x7FFF, 0x0000, 0x4210, 0}};
  memcpy(bits, words, sizeof(words));
  img.Bitfield2RGB(bits, sizeof(words), 0x7C00, 0x03E0, 0x001F, 16);
  EXPECT_EQ(img.GetPixelColor(0, 0).rgbRed, 255);
  EXPECT_EQ(img.GetPixelColor(1, 0).rgbGreen, 255);
  EXPECT_EQ(img.GetPixelColor(2, 0).rgbBlue, 255);
  EXPECT_EQ(img.GetPixelColor(0, 1).rgbBlue, 255);
  EXPECT_EQ(img.GetPixelColor(1, 1).rgbRed, 0);
  EXPECT_EQ(img.GetPixelColor(2, 1).rgbRed, 131);
}

TEST(IxImagePixels, Bitfield2RGBFillsTheAlphaPlaneFromItsMask) {
  // 4-4-4-4 at 16 bits and 8-8-8-8 at 32: alpha scaled like the colours. A plane left all 0 is a
  // writer's habit, not transparency: it is dropped.
  IxImage img(2, 1, 24);
  img.AlphaCreate();
  const uint16_t words[2] = {0xF0F0, 0x8FFF};
  img.Bitfield2RGB(reinterpret_cast<const uint8_t*>(words), sizeof(words), 0x0F00, 0x00F0, 0x000F, 16,
                   0xF000);
  ASSERT_TRUE(img.AlphaIsValid());
  EXPECT_EQ(img.AlphaGet(0, 0), 255);
  EXPECT_EQ(img.AlphaGet(1, 0), 136);
  EXPECT_EQ(img.GetPixelColor(1, 0).rgbRed, 255);

  IxImage zero(2, 1, 24);
  zero.AlphaCreate();
  const uint8_t bytes[8] = {1, 2, 3, 0, 4, 5, 6, 0};
  zero.Bitfield2RGB(bytes, sizeof(bytes), 0x00FF0000, 0x0000FF00, 0x000000FF, 32, 0xFF000000);
  EXPECT_FALSE(zero.AlphaIsValid());
  EXPECT_EQ(zero.GetPixelColor(1, 0).rgbRed, 6);
}

TEST(IxImagePixels, RGBtoBGRStaysInsideOneRow) {
  IxImage img(2, 1, 24);
  uint8_t buf[9] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
  img.RGBtoBGR(buf, sizeof(buf));  // row size 8: two whole pixels
  const uint8_t want[9] = {3, 2, 1, 6, 5, 4, 7, 8, 9};
  EXPECT_EQ(memcmp(buf, want, 9), 0);
}

TEST(IxImageAlpha, PlaneAccessFlipAndMirror) {
  IxImage img(3, 2, 24);
  EXPECT_EQ(img.AlphaGet(0, 0), 0);
  img.AlphaCreate();
  EXPECT_EQ(img.AlphaGet(2, 1), 255);
  img.AlphaSet(0, 0, 1);
  img.AlphaSet(5, 0, 1);  // outside: ignored
  EXPECT_TRUE(img.AlphaMirror());
  EXPECT_EQ(img.AlphaGet(2, 0), 1);
  EXPECT_TRUE(img.AlphaFlip());
  EXPECT_EQ(img.AlphaGet(2, 1), 1);
  img.AlphaDelete();
  EXPECT_FALSE(img.AlphaFlip());
  IxImage pal(2, 2, 8);
  EXPECT_FALSE(pal.AlphaPaletteIsValid());
  pal.SetPaletteColor(3, 0, 0, 0, 128);
  EXPECT_TRUE(pal.AlphaPaletteIsValid());
}

TEST(IxImageSelection, DeleteResetsTheBox) {
  IxImage img(5, 4, 8);
  img.SelectionDelete();
  EXPECT_EQ(img.GetInfo().rSelectionBox.left, 5);
  EXPECT_EQ(img.GetInfo().rSelectionBox.bottom, 4);
  EXPECT_TRUE(img.SelectionIsInside(4, 3));
  EXPECT_FALSE(img.SelectionIsInside(5, 3));
}

TEST(CImageIteratorTest, RowsFromTheTopDown) {
  IxImage img(4, 3, 8);
  CImageIterator it(&img);
  it.MoveToTopRow();
  EXPECT_EQ(it.GetY(), 2);
  const uint8_t row[] = {9, 9, 9, 9};
  it.SetRow(row, 4);
  EXPECT_EQ(img.GetPixelIndex(0, 2), 9);
  EXPECT_TRUE(it.PrevRow());
  EXPECT_TRUE(it.PrevRow());
  EXPECT_EQ(it.GetY(), 0);
  EXPECT_FALSE(it.PrevRow());
  EXPECT_EQ(it.GetY(), -1);
  EXPECT_FALSE(it.InRange());
  EXPECT_EQ(it.GetRow(), img.GetBits(0));  // the pointer stayed
}

TEST(CImageIteratorTest, CopiesAreClampedToTheRow) {
  IxImage img(4, 2, 8);  // row size 4
  CImageIterator it(&img);
  std::vector<uint8_t> big(64, 0xEE);
  it.SetRow(big.data(), 1000);
  EXPECT_EQ(img.GetBits(1)[0], 0);  // the next row is untouched
  std::vector<uint8_t> out(64, 0x11);
  it.GetRow(out.data(), 1000);
  EXPECT_EQ(out[3], 0xEE);
  EXPECT_EQ(out[4], 0x11);
  it.SetRow(big.data(), -1);
  it.GetRow(nullptr, 4);
  it.SetY(7);  // ignored
  EXPECT_EQ(it.GetY(), 0);
  EXPECT_EQ(it.GetRow(1), img.GetBits(1));
}

}  // namespace
