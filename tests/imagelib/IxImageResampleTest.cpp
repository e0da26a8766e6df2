// Resampling and the transforms: which source pixels each method takes, single-precision
// coordinates, area averaging, the turns and Negative.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "imagelib/IxImage.h"

namespace {

// A 24-bit picture whose pixel (x, y) is blue x, green y, red 0.
IxImage* Coordinates(int w, int h) {
  auto* img = new IxImage(w, h, 24);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) img->SetPixelColor(x, y, IxRGBQuad{uint8_t(x), uint8_t(y), 0, 0});
  return img;
}

TEST(IxImageResample, NearestTakesTruncatedSourceCoordinates) {
  struct Case {
    int w, h, nw, nh;
    std::vector<int> cols;  // the source column of each destination column
  };
  const Case cases[] = {
      {4, 4, 2, 2, {0, 2}},
      {10, 10, 3, 3, {0, 3, 6}},
      // 3 x 1.6666666f rounds to exactly 5.0f in single precision (4.9999998 in double).
      {10, 10, 6, 6, {0, 1, 3, 5, 6, 8}},
      {3, 3, 7, 7, {0, 0, 0, 1, 1, 2, 2}},
  };
  for (const Case& c : cases) {
    std::unique_ptr<IxImage> img(Coordinates(c.w, c.h));
    ASSERT_TRUE(img->Resample(c.nw, c.nh, 1));
    ASSERT_EQ(img->GetWidth(), static_cast<uint32_t>(c.nw));
    for (int x = 0; x < c.nw; ++x) {
      EXPECT_EQ(img->GetPixelColor(x, 0).rgbBlue, c.cols[x]) << c.w << "->" << c.nw << " x " << x;
      EXPECT_EQ(img->GetPixelColor(0, x < c.nh ? x : 0).rgbGreen, c.cols[x < c.nh ? x : 0]);
    }
  }
}

TEST(IxImageResample, NearestOnIndexedPicturesKeepsThePalette) {
  IxImage img(4, 4, 8);
  img.SetGrayPalette();
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) img.SetPixelIndex(x, y, uint8_t(x * 10 + y));
  IxImage dst;
  ASSERT_TRUE(img.Resample(2, 2, 1, &dst));
  EXPECT_EQ(img.GetWidth(), 4u);  // the source stays
  EXPECT_EQ(dst.GetBpp(), 8);
  EXPECT_EQ(dst.GetPixelIndex(1, 1), 22);
  EXPECT_EQ(dst.GetPixelIndex(1, 0), 20);
}

TEST(IxImageResample, AreaAveragingGivesTheMeanOfEachBlock) {
  IxImage img(4, 4, 24);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x)
      img.SetPixelColor(
          x, y, IxRGBQuad{uint8_t(x * 40 + y * 3), uint8_t(200 - x * y * 7), uint8_t((x + y) * 20), 0});
  IxImage src(img, true, false, false);
  ASSERT_TRUE(img.Resample(2, 2, 0));
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 2; ++x) {
      int sum[3] = {0, 0, 0};
      for (int dy = 0; dy < 2; ++dy)
        for (int dx = 0; dx < 2; ++dx) {
          const IxRGBQuad c = src.GetPixelColor(2 * x + dx, 2 * y + dy);
          sum[0] += c.rgbBlue;
          sum[1] += c.rgbGreen;
          sum[2] += c.rgbRed;
        }
      const IxRGBQuad got = img.GetPixelColor(x, y);
      EXPECT_EQ(got.rgbBlue, sum[0] / 4) << x << "," << y;
      EXPECT_EQ(got.rgbGreen, sum[1] / 4) << x << "," << y;
      EXPECT_EQ(got.rgbRed, sum[2] / 4) << x << "," << y;
    }
}

TEST(IxImageResample, AreaAveragingOfALargeShrinkDoesNotOverflow) {
  // 1000 x 1000 white into 10 x 10: 10,000 source pixels per destination pixel.
  IxImage img(1000, 1000, 24);
  img.Clear(255);
  ASSERT_TRUE(img.Resample(10, 10, 0));
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) {
      const IxRGBQuad c = img.GetPixelColor(x, y);
      ASSERT_GE(c.rgbRed, 254) << x << "," << y;
      ASSERT_GE(c.rgbBlue, 254) << x << "," << y;
    }
}

// Area averaging's exact pixels for shrinks of uneven ratios, pinned as a hash of the result:
// weights split at fractional block edges and the rounding of every partial weight must stay
// as they are, whatever the implementation.
TEST(IxImageResample, AreaAveragingKeepsItsPixelsForUnevenRatios) {
  struct Case {
    int w, h, nw, nh;
    uint64_t hash;
  };
  const Case cases[] = {
      {1600, 1200, 176, 144, 17033285724572762527ull},
      {1600, 1200, 640, 480, 18057181217613239422ull},
      {101, 77, 13, 9, 641295142655591112ull},
      {97, 301, 96, 7, 9950688563913754198ull},
      {33, 40, 1, 1, 6163549154261787679ull},
      {640, 480, 639, 479, 2328636352975007959ull},
      {7, 5, 3, 2, 537701130811624269ull},
      {1001, 3, 17, 2, 12858729090940066625ull},
      {3, 40000, 2, 2, 7674901350536871607ull},  // blocks of 20,000 rows
  };
  for (const Case& c : cases) {
    IxImage img(c.w, c.h, 24);
    uint32_t seed = 12345;
    for (int y = 0; y < c.h; ++y) {
      uint8_t* row = img.GetBits(y);
      for (int i = 0; i < 3 * c.w; ++i) {
        seed = seed * 1103515245u + 12345u;
        row[i] = static_cast<uint8_t>((seed >> 16) ^ (i * 7 + y * 13));
      }
    }
    IxImage dst;
    ASSERT_TRUE(img.Resample(c.nw, c.nh, 0, &dst));
    uint64_t hash = 1469598103934665603ull;
    for (int y = 0; y < c.nh; ++y) {
      const uint8_t* row = dst.GetBits(y);
      for (int i = 0; i < 3 * c.nw; ++i) hash = (hash ^ row[i]) * 1099511628211ull;
    }
    EXPECT_EQ(hash, c.hash) << c.w << "x" << c.h << " -> " << c.nw << "x" << c.nh;
  }
}

TEST(IxImageResample, BicubicAndBilinearKeepAFlatColourFlat) {
  for (const int mode : {2, 3}) {
    IxImage img(9, 7, 24);
    for (int y = 0; y < 7; ++y)
      for (int x = 0; x < 9; ++x) img.SetPixelColor(x, y, IxRGBQuad{100, 150, 200, 0});
    ASSERT_TRUE(img.Resample(20, 3, mode));
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 20; ++x) {
        const IxRGBQuad c = img.GetPixelColor(x, y);
        ASSERT_NEAR(c.rgbBlue, 100, 1) << mode;
        ASSERT_NEAR(c.rgbRed, 200, 1) << mode;
      }
  }
}

TEST(IxImageResample, BSplineKernel) {
  EXPECT_NEAR(IxImage::KernelBSpline(0.0f), 0.6666667f, 1e-6);
  EXPECT_NEAR(IxImage::KernelBSpline(1.0f), 0.1666667f, 1e-6);
  EXPECT_NEAR(IxImage::KernelBSpline(-1.0f), 0.1666667f, 1e-6);
  EXPECT_EQ(IxImage::KernelBSpline(2.0f), 0.0f);
  EXPECT_EQ(IxImage::KernelBSpline(-2.5f), 0.0f);
  EXPECT_EQ(IxImage::KernelBSpline(3.0f), 0.0f);
}

TEST(IxImageResample, RefusalsAndTheSameSize) {
  IxImage empty;
  EXPECT_FALSE(empty.Resample(2, 2, 1));  // never a picture out of nothing
  EXPECT_FALSE(empty.IsValid());
  std::unique_ptr<IxImage> img(Coordinates(5, 4));
  EXPECT_FALSE(img->Resample(0, 10, 1));
  EXPECT_FALSE(img->Resample(10, -1, 1));
  EXPECT_EQ(img->GetWidth(), 5u);
  uint8_t* bits = img->GetBits(0);
  EXPECT_TRUE(img->Resample(5, 4, 1));
  EXPECT_EQ(img->GetBits(0), bits);
  IxImage copy;
  EXPECT_TRUE(img->Resample(5, 4, 1, &copy));
  EXPECT_EQ(copy.GetPixelColor(4, 3).rgbBlue, 4);
}

TEST(IxImageResample, AnEscapeStopsWithTheRowsDone) {
  std::unique_ptr<IxImage> img(Coordinates(8, 8));
  img->SetEscape(1);
  EXPECT_TRUE(img->Resample(4, 4, 1));
  EXPECT_EQ(img->GetWidth(), 4u);
}

// A nearest-pixel copy starts from an uncleared picture: the padding after each row and the rows
// a cancel leaves undone must still come out zero.
TEST(IxImageResample, NearestLeavesPaddingAndUndoneRowsZero) {
  for (int escape : {0, 1}) {
    SCOPED_TRACE(escape);
    std::unique_ptr<IxImage> img(Coordinates(12, 12));
    img->SetEscape(escape);
    IxImage out;
    ASSERT_TRUE(img->Resample(5, 7, 1, &out));  // 15 bytes a row, padded to 16
    ASSERT_EQ(out.GetEffWidth(), 16u);
    for (uint32_t y = 0; y < 7; ++y) {
      const uint8_t* row = out.GetBits(0) + y * 16;
      EXPECT_EQ(row[15], 0) << y;
      if (escape) {
        EXPECT_EQ(std::count(row, row + 16, 0), 16) << y;
      }
    }
  }
}

TEST(IxImageResample, AlphaFollowsTheNearestSource) {
  std::unique_ptr<IxImage> img(Coordinates(4, 4));
  img->AlphaCreate();
  img->AlphaSet(2, 2, 7);
  ASSERT_TRUE(img->Resample(2, 2, 2));
  ASSERT_TRUE(img->AlphaIsValid());
  EXPECT_EQ(img->AlphaGet(1, 1), 7);
}

TEST(IxImageTransform, QuarterTurns) {
  // 3 x 2; the top-left pixel as seen is (0, 1).
  std::unique_ptr<IxImage> left(Coordinates(3, 2));
  left->SetPixelColor(0, 1, IxRGBQuad{0, 0, 255, 0});
  std::unique_ptr<IxImage> right(new IxImage(*left, true, true, true));
  ASSERT_TRUE(left->RotateLeft());
  EXPECT_EQ(left->GetWidth(), 2u);
  EXPECT_EQ(left->GetHeight(), 3u);
  EXPECT_EQ(left->GetPixelColor(0, 0).rgbRed, 255);  // bottom left
  ASSERT_TRUE(right->RotateRight());
  EXPECT_EQ(right->GetPixelColor(1, 2).rgbRed, 255);  // top right
  IxImage empty;
  EXPECT_FALSE(empty.RotateLeft());
  EXPECT_FALSE(empty.RotateRight());
}

TEST(IxImageTransform, QuarterTurnsOfIndexedPictures) {
  for (const uint32_t bpp : {1u, 4u, 8u}) {
    IxImage img(70, 3, bpp);  // wider than one tile
    img.SetPixelIndex(69, 0, 1);
    IxImage dst;
    ASSERT_TRUE(img.RotateLeft(&dst));
    EXPECT_EQ(dst.GetWidth(), 3u);
    EXPECT_EQ(dst.GetPixelIndex(2, 69), 1) << bpp;
    ASSERT_TRUE(img.RotateRight());
    EXPECT_EQ(img.GetPixelIndex(0, 0), 1) << bpp;
  }
}

TEST(IxImageTransform, FlipAndMirror) {
  for (const uint32_t bpp : {1u, 4u, 8u, 24u}) {
    IxImage img(5, 3, bpp);
    if (bpp == 24)
      img.SetPixelColor(0, 0, IxRGBQuad{1, 1, 1, 0});
    else
      img.SetPixelIndex(0, 0, 1);
    img.AlphaCreate();
    img.AlphaSet(0, 0, 3);
    ASSERT_TRUE(img.Flip());
    EXPECT_EQ(img.AlphaGet(0, 2), 3);
    ASSERT_TRUE(img.Mirror());
    EXPECT_EQ(img.AlphaGet(4, 2), 3);
    if (bpp == 24)
      EXPECT_EQ(img.GetPixelColor(4, 2).rgbRed, 1) << bpp;
    else
      EXPECT_EQ(img.GetPixelIndex(4, 2), 1) << bpp;
  }
  IxImage empty;
  EXPECT_FALSE(empty.Flip());
  EXPECT_FALSE(empty.Mirror());
}

TEST(IxImageTransform, Negative) {
  IxImage grey(2, 1, 8);
  grey.SetGrayPalette();
  grey.SetPixelIndex(0, 0, 10);
  ASSERT_TRUE(grey.Negative());
  EXPECT_EQ(grey.GetPixelIndex(0, 0), 245);
  EXPECT_TRUE(grey.IsGrayScale());

  IxImage colour(2, 1, 4);
  colour.SetPaletteColor(1, 10, 20, 30);
  colour.SetPixelIndex(0, 0, 1);
  ASSERT_TRUE(colour.Negative());
  EXPECT_EQ(colour.GetPixelIndex(0, 0), 1);
  EXPECT_EQ(colour.GetPaletteColor(1).rgbRed, 245);

  IxImage rgb(1, 1, 24);
  rgb.SetPixelColor(0, 0, IxRGBQuad{0, 100, 255, 0});
  rgb.SetTransColor(IxRGBQuad{1, 2, 3, 0});
  ASSERT_TRUE(rgb.Negative());
  EXPECT_EQ(rgb.GetPixelColor(0, 0).rgbBlue, 255);
  EXPECT_EQ(rgb.GetPixelColor(0, 0).rgbGreen, 155);
  EXPECT_EQ(rgb.GetTransColor().rgbRed, 252);

  IxImage empty;
  EXPECT_FALSE(empty.Negative());
}

}  // namespace
