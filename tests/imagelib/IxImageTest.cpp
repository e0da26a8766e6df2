// The image object: creation and its limits, ownership between objects, resolution, accessors.
#include <gtest/gtest.h>

#include <cstring>
#include <numeric>
#include <string>

#include "imagelib/IxImage.h"

namespace {

uint32_t Checksum(const IxImage& img) {
  const uint8_t* p = img.GetBits(0);
  uint32_t sum = 0;
  for (uint32_t i = 0; i < img.GetHeader().biSizeImage; ++i) sum = sum * 31 + p[i];
  return sum;
}

TEST(IxImageCreate, RoundsDepthAndLaysOutRows) {
  struct Case {
    int32_t w, h;
    uint32_t bpp;
    uint16_t wantBpp;
    uint32_t wantRow, wantColors;
  };
  const Case cases[] = {
      {10, 10, 16, 24, 32, 0}, {3, 1, 1, 1, 4, 2},   {3, 1, 2, 4, 4, 16}, {5, 2, 8, 8, 8, 256},
      {33, 1, 1, 1, 8, 2},     {1, 1, 32, 24, 4, 0}, {7, 3, 0, 1, 4, 2},
  };
  for (const Case& c : cases) {
    IxImage img;
    ASSERT_NE(img.Create(c.w, c.h, c.bpp, 1), nullptr) << c.w << "x" << c.h << "@" << c.bpp;
    EXPECT_EQ(img.GetBpp(), c.wantBpp);
    EXPECT_EQ(img.GetEffWidth(), c.wantRow);
    EXPECT_EQ(img.GetNumColors(), c.wantColors);
    EXPECT_EQ(img.GetHeader().biSizeImage, c.wantRow * static_cast<uint32_t>(c.h));
    EXPECT_EQ(img.GetType(), 1u);
    // The pixel area comes cleared, so a short read never shows old heap contents.
    const uint8_t* bits = img.GetBits(0);
    for (uint32_t i = 0; i < img.GetHeader().biSizeImage; ++i) ASSERT_EQ(bits[i], 0);
  }
}

TEST(IxImageCreate, RefusesEmptyAndNegativeSizes) {
  const int32_t sizes[][2] = {{0, 5}, {5, 0}, {-1, 5}, {5, -3}, {INT32_MIN, 1}};
  for (const auto& s : sizes) {
    IxImage img(4, 4, 8);
    ASSERT_TRUE(img.IsValid());
    EXPECT_EQ(img.Create(s[0], s[1], 8), nullptr);
    EXPECT_STREQ(img.GetLastError(), "IxImage::Create : width and height must be greater than zero");
    EXPECT_FALSE(img.IsValid());
  }
}

TEST(IxImageCreate, RefusesSizesOverTheLimitOrThe32BitFields) {
  struct Case {
    int32_t w, h;
    uint32_t bpp;
  };
  // The first is over the memory formula; the others pass it but their DIB does not fit 32 bits.
  const Case cases[] = {{100000, 100000, 24}, {40000, 40000, 24}, {70000, 70000, 8}, {INT32_MAX, 1, 24}};
  for (const Case& c : cases) {
    IxImage img;
    EXPECT_EQ(img.Create(c.w, c.h, c.bpp), nullptr) << c.w << "x" << c.h;
    EXPECT_STREQ(img.GetLastError(), "IXIMAGE_MAX_MEMORY exceeded");
    EXPECT_FALSE(img.IsValid());
  }
}

TEST(IxImageResolution, DpiToPixelsPerMetre) {
  struct Case {
    int32_t dpi, wantDpi, wantPels;
  };
  const Case cases[] = {{72, 72, 2835},
                        {96, 96, 3780},
                        {300, 300, 11811},
                        {0, 96, 3780},
                        {-5, 96, 3780},
                        // Absurd values stay in range instead of overflowing.
                        {INT32_MAX, INT32_MAX, INT32_MAX}};
  for (const Case& c : cases) {
    IxImage img;
    img.SetXDPI(c.dpi);
    img.SetYDPI(c.dpi);
    EXPECT_EQ(img.GetXDPI(), c.wantDpi);
    EXPECT_EQ(img.GetHeader().biXPelsPerMeter, c.wantPels) << c.dpi;
    EXPECT_EQ(img.GetHeader().biYPelsPerMeter, c.wantPels);
  }
}

TEST(IxImageResolution, CreateKeepsTheResolution) {
  IxImage img;
  img.SetXDPI(300);
  ASSERT_NE(img.Create(4, 4, 24), nullptr);
  EXPECT_EQ(img.GetHeader().biXPelsPerMeter, 11811);
  EXPECT_EQ(img.GetXDPI(), 300);
}

TEST(IxImageOwnership, DestroyOnAGhostFreesNothing) {
  IxImage owner(8, 8, 8);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) owner.SetPixelIndex(x, y, static_cast<uint8_t>(x * 8 + y));
  const uint32_t before = Checksum(owner);
  {
    IxImage ghost;
    ghost.Ghost(&owner);
    EXPECT_TRUE(ghost.IsValid());
    EXPECT_EQ(ghost.GetBits(0), owner.GetBits(0));
    EXPECT_FALSE(ghost.Destroy());
    EXPECT_EQ(ghost.Create(2, 2, 8), nullptr);  // a ghost cannot replace what it shares
  }
  EXPECT_EQ(Checksum(owner), before);
}

TEST(IxImageOwnership, TransferEmptiesTheSource) {
  IxImage src(5, 3, 24);
  src.SetXDPI(300);
  uint8_t* bits = src.GetBits(0);
  IxImage dst(2, 2, 8);
  ASSERT_TRUE(dst.Transfer(src));
  EXPECT_FALSE(src.IsValid());
  EXPECT_EQ(src.GetWidth(), 0u);
  EXPECT_EQ(dst.GetBits(0), bits);
  EXPECT_EQ(dst.GetWidth(), 5u);
  EXPECT_EQ(dst.GetXDPI(), 300);
}

TEST(IxImageOwnership, CopyDuplicatesPixelsAndAlpha) {
  IxImage src(3, 2, 24);
  src.SetPixelColor(1, 1, IxRGBQuad{10, 20, 30, 0});
  src.AlphaCreate();
  src.AlphaSet(2, 0, 7);
  IxImage copy(src, true, true, true);
  ASSERT_TRUE(copy.IsValid());
  EXPECT_NE(copy.GetBits(0), src.GetBits(0));
  EXPECT_EQ(copy.GetPixelColor(1, 1, false).rgbRed, 30);
  EXPECT_EQ(copy.AlphaGet(2, 0), 7);
  IxImage noPixels(src, false, false, false);
  EXPECT_EQ(noPixels.GetPixelColor(1, 1, false).rgbRed, 0);
  EXPECT_FALSE(noPixels.AlphaIsValid());
}

TEST(IxImageBuffers, GetBitsBounds) {
  IxImage empty;
  EXPECT_EQ(empty.GetBits(0), nullptr);
  IxImage img(4, 3, 8);
  EXPECT_NE(img.GetBits(0), nullptr);
  EXPECT_EQ(img.GetBits(2), img.GetBits(0) + 2 * img.GetEffWidth());
  EXPECT_EQ(img.GetBits(3), nullptr);
  EXPECT_EQ(img.GetBits(-1), nullptr);
  EXPECT_EQ(img.GetSize(), 40u + 1024u + 12u);
}

TEST(IxImageBuffers, LoweringColoursUsedDoesNotMoveThePixels) {
  // A decoder may lower "colours used" to what it filled; the pixel area stays where it was.
  IxImage img(4, 2, 8);
  uint8_t* bits = img.GetBits(0);
  const uint32_t size = img.GetSize();
  const_cast<IxBitmapInfoHeader&>(img.GetHeader()).biClrUsed = 12;
  EXPECT_EQ(img.GetBits(0), bits);
  EXPECT_EQ(img.GetSize(), size);
  EXPECT_EQ(img.GetNumColors(), 12u);
  img.SetPaletteColor(100, 1, 2, 3);  // beyond the colours used: ignored
  EXPECT_EQ(img.GetPalette()[100].rgbRed, 0);
}

TEST(IxImageBuffers, HeaderIsSerialisedLittleEndianInTheBlock) {
  IxImage img(0x0102, 3, 8);
  const uint8_t* block = img.GetBits(0) - img.GetPaletteSize() - 40;
  const uint8_t want[] = {40, 0, 0, 0, 0x02, 0x01, 0, 0, 3, 0, 0, 0, 1, 0, 8, 0};
  EXPECT_EQ(memcmp(block, want, sizeof(want)), 0);
  const IxBitmapInfoHeader back = IxImage::ReadInfoHeader(block);
  EXPECT_EQ(back.biWidth, 0x0102);
  EXPECT_EQ(back.biClrUsed, 256u);
}

TEST(IxImageBuffers, ClearFillsByDepth) {
  struct Case {
    uint32_t bpp;
    uint8_t value, want;
  };
  const Case cases[] = {{1, 3, 255}, {4, 0x3A, 0xAA}, {8, 0x3A, 0x3A}, {24, 9, 9}};
  for (const Case& c : cases) {
    IxImage img(5, 2, c.bpp);
    img.Clear(c.value);
    EXPECT_EQ(img.GetBits(0)[0], c.want) << c.bpp;
    EXPECT_EQ(img.GetBits(1)[img.GetEffWidth() - 1], c.want);
  }
}

TEST(IxImageOptions, CodecOptionsAreIndexedByFormat) {
  IxImage img(3);
  EXPECT_TRUE(img.SetCodecOption(7));
  EXPECT_EQ(img.GetCodecOption(3), 7u);
  EXPECT_EQ(img.GetCodecOption(), 7u);
  EXPECT_TRUE(img.SetCodecOption(9, 15));
  EXPECT_EQ(img.GetCodecOption(15), 9u);
  EXPECT_EQ(img.GetCodecOption(16), 0u);
  EXPECT_FALSE(img.SetCodecOption(1, 16));
}

TEST(IxImageOptions, StartupDefaults) {
  IxImage img(2);
  EXPECT_EQ(img.GetType(), 2u);
  EXPECT_EQ(img.GetJpegQuality(), 90);
  EXPECT_EQ(img.GetTransIndex(), -1);
  EXPECT_FALSE(img.IsTransparent());
  EXPECT_TRUE(img.IsEnabled());
  EXPECT_EQ(img.GetXDPI(), 96);
  EXPECT_EQ(img.GetHeader().biYPelsPerMeter, 3780);
  EXPECT_FALSE(img.IsValid());
}

TEST(IxImageOptions, TransparentColourKeepsReservedClearAndFollowsTheIndex) {
  IxImage img(2, 2, 8);
  img.SetTransColor(IxRGBQuad{1, 2, 3, 99});
  EXPECT_EQ(img.GetTransColor().rgbReserved, 0);
  EXPECT_EQ(img.GetTransColor().rgbBlue, 1);
  img.SetPaletteColor(4, 40, 50, 60);
  img.SetTransIndex(4);
  EXPECT_EQ(img.GetTransColor().rgbRed, 40);
  EXPECT_EQ(img.GetColorType(), 1);
  img.AlphaCreate();
  EXPECT_EQ(img.GetColorType(), 4);
}

}  // namespace
