// The PCX class against Pillow's reading of real files (grey, 8-bit with an odd stride, 4
// planes, 1 bit), hand-made files for plane layouts and damaged headers, and the encoder's
// layout (pad bytes, closing palette, 1-bit inversion that leaves the caller's picture alone).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BridgeTestSupport.h"
#include "imagelib/IxImagePCX.h"
#include "support/SharedData.h"

namespace {

using bridgetest::DecodeBytes;
using bridgetest::EncodeBytes;

// A 128-byte header; the run-length data follows.
std::vector<uint8_t> Header(uint8_t bits, uint16_t w, uint16_t h, uint8_t planes, uint16_t bytesPerLine) {
  std::vector<uint8_t> v(128, 0);
  v[0] = 10;
  v[1] = 5;
  v[2] = 1;
  v[3] = bits;
  v[8] = uint8_t(w - 1);
  v[9] = uint8_t((w - 1) >> 8);
  v[10] = uint8_t(h - 1);
  v[11] = uint8_t((h - 1) >> 8);
  v[65] = planes;
  v[66] = uint8_t(bytesPerLine);
  v[67] = uint8_t(bytesPerLine >> 8);
  return v;
}

TEST(IxImagePCXFiles, EqualPillow) {
  std::vector<std::string> paths = testsupport::SharedFiles("testdata/pillow/pcx", ".pcx");
  ASSERT_EQ(paths.size(), 4u);
  const auto oracle = imagetest::PillowDecodeAll(paths);
  for (size_t i = 0; i < paths.size(); ++i) {
    const std::string name = bridgetest::Name(paths[i]);
    IxImage img;
    if (!oracle[i].ok) {
      // Pillow finds 01r_00.pcx truncated; so do we.
      EXPECT_FALSE(img.Load(paths[i].c_str(), IXIMAGE_FORMAT_PCX)) << name;
      EXPECT_STREQ(img.GetLastError(), "corrupted PCX") << name;
      continue;
    }
    ASSERT_TRUE(img.Load(paths[i].c_str(), IXIMAGE_FORMAT_PCX)) << name << ": " << img.GetLastError();
    EXPECT_EQ(img.GetType(), IXIMAGE_FORMAT_PCX);
    if (name == "p_4_planes.pcx") {
      // Each plane line is "bytes per line" (2) long, so planes 0 and 1 hold the pixel's set bits:
      // index 3, red in the header palette. Pillow 9.4 takes one byte per plane line and reads 5.
      EXPECT_EQ(img.GetBpp(), 4);
      EXPECT_EQ(img.GetPixelIndex(0, 0), 3);
      EXPECT_EQ(img.GetPixelColor(0, 0).rgbRed, 255);
      continue;
    }
    EXPECT_EQ(bridgetest::CountDifferences(img, oracle[i].width, oracle[i].height, oracle[i].rgb, 0, name), 0)
        << name;
  }
}

TEST(IxImagePCXDecode, OneBitPlanesCombineIntoFourBitIndices) {
  // 8 x 1, three planes of one byte each: plane 0 = 0xF0, plane 1 = 0xCC, plane 2 = 0xAA.
  std::vector<uint8_t> file = Header(1, 8, 1, 3, 2);
  for (int i = 0; i < 16; ++i) {
    file[16 + 3 * i] = uint8_t(i * 16);
  }
  file.insert(file.end(), {0xC1, 0xF0, 0, 0xC1, 0xCC, 0, 0xC1, 0xAA, 0});
  IxImage img;
  ASSERT_TRUE(DecodeBytes(img, file, IXIMAGE_FORMAT_PCX)) << img.GetLastError();
  EXPECT_EQ(img.GetBpp(), 4);
  const uint8_t want[8] = {7, 3, 5, 1, 6, 2, 4, 0};
  for (int x = 0; x < 8; ++x) EXPECT_EQ(img.GetPixelIndex(x, 0), want[x]) << x;
  EXPECT_EQ(img.GetPaletteColor(7).rgbRed, 112);
}

TEST(IxImagePCXDecode, DamagedHeadersAndDataAreRefused) {
  struct Case {
    std::vector<uint8_t> bytes;
    const char* message;
  };
  auto with = [](std::vector<uint8_t> v, std::vector<uint8_t> data) {
    v.insert(v.end(), data.begin(), data.end());
    return v;
  };
  std::vector<uint8_t> notPcx = Header(8, 4, 4, 1, 4);
  notPcx[0] = 11;
  std::vector<uint8_t> encoding = Header(8, 4, 4, 1, 4);
  encoding[2] = 2;
  std::vector<uint8_t> backwards = Header(8, 4, 4, 1, 4);
  backwards[4] = 9;  // X min beyond X max
  const Case cases[] = {
      {std::vector<uint8_t>(100, 10), "Can't read PCX image"},
      {notPcx, "Error: Not a PCX file"},
      {encoding, "PCX file has unknown encoding scheme"},
      {Header(1, 4, 4, 5, 2), "Can't handle image with more than 4 planes"},
      {Header(4, 4, 4, 2, 2), "Can't handle packed pixels with more than 1 plane."},
      {Header(8, 4, 4, 2, 4), "Can't handle more than 1 bit per pixel"},
      {backwards, "corrupted PCX"},
      {Header(8, 40, 4, 1, 20), "corrupted PCX"},  // lines shorter than the width
      {with(Header(8, 4, 1, 1, 4), {0xC5, 1}), "repeat count spans end of image"},
      {with(Header(8, 4, 2, 1, 4), {0xC4, 1}), "corrupted PCX"},
      {with(Header(8, 4, 1, 1, 4), {0xC4, 1, 13}), "bad color map signature"},
  };
  for (const Case& c : cases) {
    IxImage img;
    EXPECT_FALSE(DecodeBytes(img, c.bytes, IXIMAGE_FORMAT_PCX)) << c.message;
    EXPECT_STREQ(img.GetLastError(), c.message);
  }
}

TEST(IxImagePCXEncode, EightBitLinesArePaddedAndThePaletteCloses) {
  IxImage src(3, 2, 8, 0);
  for (int i = 0; i < 256; ++i) src.SetPaletteColor(static_cast<uint8_t>(i), i, 0, 255 - i);
  bridgetest::Fill(src, [](int64_t x, int64_t top) { return static_cast<uint32_t>(200 + x + top); });
  bool ok = false;
  const std::vector<uint8_t> bytes = EncodeBytes(src, IXIMAGE_FORMAT_PCX, &ok);
  ASSERT_TRUE(ok);
  EXPECT_EQ(bytes[66], 4);  // bytes per line rounded up to even
  // Each line: three values of 192 or more, coded as runs of one, then the pad byte.
  const std::vector<uint8_t> data(bytes.begin() + 128, bytes.begin() + 128 + 14);
  EXPECT_EQ(data,
            (std::vector<uint8_t>{0xC1, 200, 0xC1, 201, 0xC1, 202, 0, 0xC1, 201, 0xC1, 202, 0xC1, 203, 0}));
  ASSERT_EQ(bytes.size(), 128u + 14 + 769);
  EXPECT_EQ(bytes[128 + 14], 12);
  IxImage back;
  ASSERT_TRUE(DecodeBytes(back, bytes, IXIMAGE_FORMAT_PCX));
  EXPECT_EQ(bridgetest::PixelsTopDown(back), bridgetest::PixelsTopDown(src));
}

TEST(IxImagePCXEncode, InvertedOneBitPictureKeepsItsLookAndTheCallersPixels) {
  IxImage src(10, 3, 1, 0);
  src.SetPaletteColor(0, 255, 255, 255);
  src.SetPaletteColor(1, 0, 0, 0);
  bridgetest::Fill(src, [](int64_t x, int64_t top) { return static_cast<uint32_t>((x + top) % 3 == 0); });
  const std::vector<uint8_t> look = bridgetest::PixelsTopDown(src);
  const uint8_t firstIndex = src.GetPixelIndex(0, 2);
  bool ok = false;
  const std::vector<uint8_t> bytes = EncodeBytes(src, IXIMAGE_FORMAT_PCX, &ok);
  ASSERT_TRUE(ok);
  EXPECT_EQ(src.GetPixelIndex(0, 2), firstIndex);
  EXPECT_EQ(src.GetPaletteColor(0).rgbRed, 255);
  IxImage back;
  ASSERT_TRUE(DecodeBytes(back, bytes, IXIMAGE_FORMAT_PCX));
  EXPECT_EQ(bridgetest::PixelsTopDown(back), look);
}

TEST(IxImagePCXEncode, FourBitAndColourPicturesRoundTrip) {
  IxImage four(13, 4, 4, 0);
  for (uint8_t i = 0; i < 16; ++i) four.SetPaletteColor(i, 16 * i, 8 * i, 255 - 16 * i);
  bridgetest::Fill(four, [](int64_t x, int64_t top) { return static_cast<uint32_t>((x + 5 * top) % 16); });
  IxImage rgba(9, 5, 24, 0);
  bridgetest::Fill(
      rgba, [](int64_t x, int64_t top) { return static_cast<uint32_t>(x * 0x1F2F3F + top * 0x010203); });
  rgba.AlphaCreate();
  rgba.AlphaSet(4, 4, 99);
  for (IxImage* src : {&four, &rgba}) {
    bool ok = false;
    const std::vector<uint8_t> bytes = EncodeBytes(*src, IXIMAGE_FORMAT_PCX, &ok);
    ASSERT_TRUE(ok);
    IxImage back;
    ASSERT_TRUE(DecodeBytes(back, bytes, IXIMAGE_FORMAT_PCX)) << back.GetLastError();
    EXPECT_EQ(back.GetBpp(), src->GetBpp());
    EXPECT_EQ(bridgetest::PixelsTopDown(back, true), bridgetest::PixelsTopDown(*src, true));
  }
}

}  // namespace
