// The TGA class against the reference pictures of the TGA suite (grey, grey with alpha,
// colour-mapped, RGB and RGBA; raw and run-length; bottom-up and top-down), hand-made files for
// colour maps with other entry sizes and for runs that span rows, and the encoder.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BridgeTestSupport.h"
#include "imagelib/IxImageTGA.h"
#include "support/SharedData.h"

namespace {

using bridgetest::DecodeBytes;
using bridgetest::EncodeBytes;

const char* kSuite = "testdata/pillow/tga";

// An 18-byte header.
std::vector<uint8_t> Header(uint8_t type, uint8_t mapType, uint16_t first, uint16_t length, uint8_t entryBits,
                            uint16_t w, uint16_t h, uint8_t depth, uint8_t descriptor) {
  return {0,
          mapType,
          type,
          uint8_t(first),
          uint8_t(first >> 8),
          uint8_t(length),
          uint8_t(length >> 8),
          entryBits,
          0,
          0,
          0,
          0,
          uint8_t(w),
          uint8_t(w >> 8),
          uint8_t(h),
          uint8_t(h >> 8),
          depth,
          descriptor};
}

void Append(std::vector<uint8_t>& v, const std::vector<uint8_t>& more) {
  v.insert(v.end(), more.begin(), more.end());
}

TEST(IxImageTGASuite, EveryFileEqualsItsReferencePicture) {
  std::vector<std::string> tgas, refs;
  for (const std::string& path : testsupport::SharedFiles(kSuite, ".tga")) {
    const std::string name = bridgetest::Name(path);
    tgas.push_back(path);
    // common_200x32_rgba_bl_raw.tga -> common_200x32_rgba.png
    refs.push_back(path.substr(0, path.size() - std::string("_bl_raw.tga").size()) + ".png");
  }
  ASSERT_GE(tgas.size(), 20u);
  const auto oracle = imagetest::PillowDecodeAll(refs, "RGBA");
  for (size_t i = 0; i < tgas.size(); ++i) {
    const std::string name = bridgetest::Name(tgas[i]);
    ASSERT_TRUE(oracle[i].ok) << name << ": " << oracle[i].error;
    IxImage img;
    ASSERT_TRUE(img.Load(tgas[i].c_str(), IXIMAGE_FORMAT_TGA)) << name << ": " << img.GetLastError();
    EXPECT_EQ(img.GetType(), IXIMAGE_FORMAT_TGA);
    EXPECT_EQ(bridgetest::CountRgbaDifferences(img, oracle[i], true, name), 0) << name;
    IxImage detected;
    ASSERT_TRUE(DecodeBytes(detected, testsupport::ReadFileBytes(tgas[i]), IXIMAGE_FORMAT_UNKNOWN)) << name;
    EXPECT_EQ(detected.GetType(), IXIMAGE_FORMAT_TGA) << name;
  }
}

TEST(IxImageTGADecode, ColourMapsOfEveryEntrySizeAndFirstEntry) {
  struct Case {
    uint8_t bits;
    std::vector<uint8_t> entry;
    uint8_t red, green, blue;
  };
  // 5-bit channels 31, 16 and 1 span the whole range: 255, 131, 8.
  const Case cases[] = {{15, {0x01, 0x7E}, 255, 131, 8},
                        {16, {0x01, 0x7E}, 255, 131, 8},
                        {24, {8, 128, 248}, 248, 128, 8},
                        {32, {8, 128, 248, 255}, 248, 128, 8}};
  for (const Case& c : cases) {
    // Two map entries starting at index 5, then 2 x 1 pixels using them.
    std::vector<uint8_t> file = Header(1, 1, 5, 2, c.bits, 2, 1, 8, 0);
    Append(file, std::vector<uint8_t>(c.entry.size(), 0));
    Append(file, c.entry);
    Append(file, {6, 5});
    IxImage img;
    ASSERT_TRUE(DecodeBytes(img, file, IXIMAGE_FORMAT_TGA)) << int(c.bits) << ": " << img.GetLastError();
    const IxRGBQuad p = img.GetPixelColor(0, 0);
    EXPECT_EQ(p.rgbRed, c.red) << int(c.bits);
    EXPECT_EQ(p.rgbGreen, c.green) << int(c.bits);
    EXPECT_EQ(p.rgbBlue, c.blue) << int(c.bits);
    EXPECT_EQ(img.GetPixelColor(1, 0).rgbRed, 0);
  }
}

TEST(IxImageTGADecode, SixteenBitWhiteIsWhite) {
  for (uint8_t depth : {15, 16}) {
    // 2 x 1 true colour: white, then red 1, green 0, blue 30.
    std::vector<uint8_t> file = Header(2, 0, 0, 0, 0, 2, 1, depth, 0);
    Append(file, {0xFF, 0x7F, 0x1E, 0x04});
    IxImage img;
    ASSERT_TRUE(DecodeBytes(img, file, IXIMAGE_FORMAT_TGA)) << int(depth) << ": " << img.GetLastError();
    const IxRGBQuad white = img.GetPixelColor(0, 0);
    EXPECT_EQ(white.rgbRed, 255);
    EXPECT_EQ(white.rgbGreen, 255);
    EXPECT_EQ(white.rgbBlue, 255);
    const IxRGBQuad other = img.GetPixelColor(1, 0);
    EXPECT_EQ(other.rgbRed, 8);
    EXPECT_EQ(other.rgbGreen, 0);
    EXPECT_EQ(other.rgbBlue, 246);
  }
}

TEST(IxImageTGADecode, RunsThatSpanRowsEqualRowsOfTheirOwn) {
  // 3 x 2 grey: one run of 4 pixels of 9 crossing the row end, then 2 raw pixels.
  std::vector<uint8_t> spanning = Header(11, 0, 0, 0, 0, 3, 2, 8, 0);
  Append(spanning, {0x83, 9, 0x01, 7, 8});
  std::vector<uint8_t> split = Header(11, 0, 0, 0, 0, 3, 2, 8, 0);
  Append(split, {0x82, 9, 0x80, 9, 0x01, 7, 8});
  IxImage a, b;
  ASSERT_TRUE(DecodeBytes(a, spanning, IXIMAGE_FORMAT_TGA)) << a.GetLastError();
  ASSERT_TRUE(DecodeBytes(b, split, IXIMAGE_FORMAT_TGA));
  EXPECT_EQ(bridgetest::PixelsTopDown(a), bridgetest::PixelsTopDown(b));
  EXPECT_EQ(a.GetPixelIndex(0, 1), 9);
  EXPECT_EQ(a.GetPixelIndex(2, 1), 8);
}

TEST(IxImageTGADecode, TopDownRightToLeftAlphaLandsInPlace) {
  // 2 x 2, 32 bits, top-down and right to left: the first pixel read is the top right one.
  std::vector<uint8_t> file = Header(2, 0, 0, 0, 0, 2, 2, 32, 0x38);
  Append(file, {1, 1, 1, 10, 2, 2, 2, 20, 3, 3, 3, 30, 4, 4, 4, 40});
  IxImage img;
  ASSERT_TRUE(DecodeBytes(img, file, IXIMAGE_FORMAT_TGA));
  EXPECT_EQ(img.GetPixelColor(1, 1).rgbRed, 1);
  EXPECT_EQ(img.AlphaGet(1, 1), 10);
  EXPECT_EQ(img.AlphaGet(0, 1), 20);
  EXPECT_EQ(img.AlphaGet(1, 0), 30);
  EXPECT_EQ(img.GetPixelColor(0, 0).rgbRed, 4);
}

TEST(IxImageTGADecode, DamagedHeadersAndDataAreRefused) {
  struct Case {
    std::vector<uint8_t> bytes;
    const char* message;
  };
  std::vector<uint8_t> truncated = Header(2, 0, 0, 0, 0, 4, 4, 24, 0);
  Append(truncated, {1, 2, 3});
  std::vector<uint8_t> shortRun = Header(10, 0, 0, 0, 0, 4, 4, 24, 0);
  Append(shortRun, {0x81, 1, 2, 3});
  const Case cases[] = {
      {{0, 0, 2}, "Not a TGA"},
      {Header(4, 0, 0, 0, 0, 4, 4, 24, 0), "Unknown TGA image type"},
      {Header(2, 0, 0, 0, 0, 0, 4, 24, 0), "bad TGA header"},
      {Header(2, 0, 0, 0, 0, 4, 4, 12, 0), "bad TGA header"},
      {Header(1, 1, 0, 300, 24, 4, 4, 8, 0), "bad TGA header"},
      {Header(1, 0, 0, 0, 0, 4, 4, 8, 0), "bad TGA header"},
      {truncated, "corrupted TGA"},
      {shortRun, "corrupted TGA"},
  };
  for (const Case& c : cases) {
    IxImage img;
    EXPECT_FALSE(DecodeBytes(img, c.bytes, IXIMAGE_FORMAT_TGA)) << c.message;
    EXPECT_STREQ(img.GetLastError(), c.message);
  }
}

TEST(IxImageTGAEncode, RoundTripsIndexedColourAndAlpha) {
  IxImage indexed(7, 5, 8, 0);
  for (int i = 0; i < 256; ++i) indexed.SetPaletteColor(static_cast<uint8_t>(i), i, i / 2, 255 - i);
  bridgetest::Fill(indexed, [](int64_t x, int64_t top) { return static_cast<uint32_t>(x * 31 + top * 7); });
  IxImage rgba(7, 5, 24, 0);
  bridgetest::Fill(rgba,
                   [](int64_t x, int64_t top) { return static_cast<uint32_t>(x * 0x203040 + top * 0x0A); });
  rgba.AlphaCreate();
  rgba.AlphaSet(3, 2, 77);
  for (IxImage* src : {&indexed, &rgba}) {
    bool ok = false;
    const std::vector<uint8_t> bytes = EncodeBytes(*src, IXIMAGE_FORMAT_TGA, &ok);
    ASSERT_TRUE(ok) << src->GetLastError();
    IxImage back;
    ASSERT_TRUE(DecodeBytes(back, bytes, IXIMAGE_FORMAT_TGA)) << back.GetLastError();
    EXPECT_EQ(back.GetBpp(), src->GetBpp());
    EXPECT_EQ(bridgetest::PixelsTopDown(back, true), bridgetest::PixelsTopDown(*src, true));
  }
  IxImage mono(4, 4, 1, 0);
  bool ok = true;
  EncodeBytes(mono, IXIMAGE_FORMAT_TGA, &ok);
  EXPECT_FALSE(ok);
  EXPECT_STREQ(mono.GetLastError(), "Bit depth must be 8 or 24");
}

}  // namespace
