// The WBMP class: sizes in the format's multi-byte integers (so 128 pixels and more work both
// ways), rows from the top, and every refusal with its message.
#include <gtest/gtest.h>

#include <vector>

#include "BridgeTestSupport.h"
#include "imagelib/IxImageWBMP.h"

namespace {

using bridgetest::DecodeBytes;
using bridgetest::EncodeBytes;

IxImage OneBit(int w, int h) {
  IxImage img(w, h, 1, 0);
  img.SetGrayPalette();
  bridgetest::Fill(img,
                   [](int64_t x, int64_t top) { return static_cast<uint32_t>((x * 7 + top * 3) % 5 == 0); });
  return IxImage(img, true, false, false);
}

TEST(IxImageWBMP, WritesMultiByteSizesAndReadsThemBack) {
  struct Case {
    int width, height;
    std::vector<uint8_t> header;
  };
  const Case cases[] = {
      {5, 3, {0, 0, 5, 3}},
      {200, 10, {0, 0, 0x81, 0x48, 10}},
      {128, 128, {0, 0, 0x81, 0x00, 0x81, 0x00}},
      {300, 1, {0, 0, 0x82, 0x2C, 1}},
  };
  for (const Case& c : cases) {
    IxImage src = OneBit(c.width, c.height);
    bool ok = false;
    const std::vector<uint8_t> bytes = EncodeBytes(src, IXIMAGE_FORMAT_WBMP, &ok);
    ASSERT_TRUE(ok) << c.width << ": " << src.GetLastError();
    ASSERT_EQ(bytes.size(), c.header.size() + static_cast<size_t>((c.width + 7) / 8) * c.height) << c.width;
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + c.header.size()), c.header) << c.width;
    IxImage back;
    ASSERT_TRUE(DecodeBytes(back, bytes, IXIMAGE_FORMAT_WBMP)) << c.width << ": " << back.GetLastError();
    EXPECT_EQ(back.GetType(), IXIMAGE_FORMAT_WBMP);
    EXPECT_EQ(bridgetest::PixelsTopDown(back), bridgetest::PixelsTopDown(src)) << c.width;
  }
}

TEST(IxImageWBMP, RowsRunFromTheTopAndOneIsWhite) {
  const std::vector<uint8_t> file = {0, 0, 3, 2, 0b10100000, 0b01000000};
  IxImage img;
  ASSERT_TRUE(DecodeBytes(img, file, IXIMAGE_FORMAT_WBMP));
  EXPECT_EQ(img.GetPixelColor(0, 1).rgbRed, 255);
  EXPECT_EQ(img.GetPixelColor(1, 1).rgbRed, 0);
  EXPECT_EQ(img.GetPixelColor(1, 0).rgbRed, 255);
}

TEST(IxImageWBMP, DamagedFilesAreRefusedWithTheirMessage) {
  struct Case {
    std::vector<uint8_t> bytes;
    const char* message;
  };
  const Case cases[] = {
      {{0, 0, 3}, "Not a WBMP"},
      {{0, 0, 0x81, 0x81, 0x81, 0x81, 0x01, 1}, "Not a WBMP"},
      {{1, 0, 3, 2, 0, 0}, "Unsupported WBMP type"},
      {{0, 0, 0, 2}, "Corrupted WBMP"},
      {{0, 0, 3, 0}, "Corrupted WBMP"},
      {{0, 0, 16, 4, 1, 2, 3}, "Corrupted WBMP"},  // rows missing
  };
  for (const Case& c : cases) {
    IxImage img;
    EXPECT_FALSE(DecodeBytes(img, c.bytes, IXIMAGE_FORMAT_WBMP)) << c.message;
    EXPECT_STREQ(img.GetLastError(), c.message);
  }
}

TEST(IxImageWBMP, OnlyOneBitPicturesAreSavedAndShortWritesFail) {
  IxImage grey(4, 4, 8, 0);
  bool ok = true;
  EncodeBytes(grey, IXIMAGE_FORMAT_WBMP, &ok);
  EXPECT_FALSE(ok);
  EXPECT_STREQ(grey.GetLastError(), "Can't save this image as WBMP");

  IxImage src = OneBit(64, 64);
  bridgetest::ShortWriteFile disk(20);
  EXPECT_FALSE(src.Encode(&disk, IXIMAGE_FORMAT_WBMP));
}

}  // namespace
