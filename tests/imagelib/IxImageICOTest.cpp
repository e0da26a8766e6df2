// The ICO class against Pillow's reading of real icons (1-, 8-, 24- and 32-bit frames, embedded
// PNG frames, 256-pixel entries, a directory that lies about the size), and the AND-mask rules
// of reading and writing on icons made here.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BridgeTestSupport.h"
#include "imagelib/IxImageICO.h"
#include "support/SharedData.h"

namespace {

using bridgetest::DecodeBytes;
using bridgetest::EncodeBytes;

std::string Ico(const std::string& name) { return testsupport::SharedPath("testdata/pillow/ico/" + name); }

TEST(IxImageICOFiles, FramesEqualPillow) {
  struct Case {
    const char* name;
    int frame;  // the frame Pillow shows: the largest
    int frames;
    bool exactAlpha;
  };
  const Case cases[] = {
      {"black_and_white.ico", 0, 1, false}, {"hopper.ico", 0, 1, false},
      {"hopper_256x256.ico", 0, 1, false},  {"hopper_draw.ico", 0, 1, true},
      {"hopper_mask.ico", 0, 1, false},     {"hopper_unexpected.ico", 0, 1, false},
      {"pillow.ico", 0, 5, true},           {"python.ico", 2, 3, true},
  };
  std::vector<std::string> paths;
  for (const Case& c : cases) paths.push_back(Ico(c.name));
  const auto oracle = imagetest::PillowDecodeAll(paths, "RGBA");
  for (size_t i = 0; i < paths.size(); ++i) {
    const Case& c = cases[i];
    ASSERT_TRUE(oracle[i].ok) << c.name << ": " << oracle[i].error;
    IxImage img;
    img.SetFrame(c.frame);
    ASSERT_TRUE(img.Load(paths[i].c_str(), IXIMAGE_FORMAT_ICO)) << c.name << ": " << img.GetLastError();
    EXPECT_EQ(img.GetType(), IXIMAGE_FORMAT_ICO) << c.name;
    EXPECT_EQ(img.GetNumFrames(), c.frames) << c.name;
    EXPECT_EQ(bridgetest::CountRgbaDifferences(img, oracle[i], c.exactAlpha, c.name), 0) << c.name;
  }
}

TEST(IxImageICOFiles, EveryFrameOfAMultiSizeIconLoadsAndAMissingOneFails) {
  const std::vector<uint8_t> bytes = testsupport::ReadFileBytes(Ico("pillow.ico"));
  const int sizes[] = {256, 48, 32, 24, 16};
  for (int f = 0; f < 5; ++f) {
    IxImage img;
    img.SetFrame(f);
    ASSERT_TRUE(DecodeBytes(img, bytes, IXIMAGE_FORMAT_ICO)) << f;
    EXPECT_EQ(img.GetWidth(), static_cast<uint32_t>(sizes[f]));
    EXPECT_TRUE(img.AlphaIsValid()) << f;
  }
  IxImage img;
  img.SetFrame(5);
  EXPECT_FALSE(DecodeBytes(img, bytes, IXIMAGE_FORMAT_ICO));
  EXPECT_EQ(img.GetNumFrames(), 5);
}

TEST(IxImageICOFiles, CursorsDecodeAndOtherTypesFail) {
  std::vector<uint8_t> bytes = testsupport::ReadFileBytes(Ico("hopper.ico"));
  bytes[2] = 2;
  IxImage cursor;
  EXPECT_TRUE(DecodeBytes(cursor, bytes, IXIMAGE_FORMAT_ICO));
  bytes[2] = 3;
  IxImage other;
  EXPECT_FALSE(DecodeBytes(other, bytes, IXIMAGE_FORMAT_ICO));
}

TEST(IxImageICOMask, TwentyFourBitMaskOfOneColourBecomesTheTransparentColour) {
  IxImage src(8, 6, 24, 0);
  bridgetest::Fill(src,
                   [](int64_t x, int64_t top) { return (x + top) % 3 == 0 ? 0u : 0x4080C0u + uint32_t(x); });
  src.SetTransColor(IxRGBQuad{0, 0, 0, 0});
  src.SetTransIndex(0);
  bool ok = false;
  const std::vector<uint8_t> bytes = EncodeBytes(src, IXIMAGE_FORMAT_ICO, &ok);
  ASSERT_TRUE(ok);
  IxImage back;
  ASSERT_TRUE(DecodeBytes(back, bytes, IXIMAGE_FORMAT_ICO));
  EXPECT_FALSE(back.AlphaIsValid());
  EXPECT_EQ(back.GetTransIndex(), 0);
  const IxRGBQuad t = back.GetTransColor();
  EXPECT_EQ(t.rgbRed + t.rgbGreen + t.rgbBlue, 0);
  EXPECT_EQ(bridgetest::PixelsTopDown(back), bridgetest::PixelsTopDown(src));
}

TEST(IxImageICOMask, MaskedPixelsOfAnIndexedIconTakeTheLowestUnusedIndex) {
  IxImage src(8, 8, 4, 0);
  for (uint8_t i = 0; i < 16; ++i) src.SetPaletteColor(i, 16 * i, 255 - 16 * i, 7 * i);
  bridgetest::Fill(src, [](int64_t x, int64_t top) { return static_cast<uint32_t>((x + 2 * top) % 12); });
  src.SetTransIndex(3);
  bool ok = false;
  const std::vector<uint8_t> bytes = EncodeBytes(src, IXIMAGE_FORMAT_ICO, &ok);
  ASSERT_TRUE(ok);
  IxImage back;
  ASSERT_TRUE(DecodeBytes(back, bytes, IXIMAGE_FORMAT_ICO));
  EXPECT_EQ(back.GetTransIndex(), 12);
  EXPECT_FALSE(back.AlphaIsValid());
  for (int64_t y = 0; y < 8; ++y) {
    for (int64_t x = 0; x < 8; ++x) {
      const bool hidden = src.GetPixelIndex(x, y) == 3;
      EXPECT_EQ(bridgetest::Visibility(back, x, y), hidden ? 0 : 255) << x << "," << y;
      if (!hidden) {
        EXPECT_EQ(back.GetPixelIndex(x, y), src.GetPixelIndex(x, y));
      }
    }
  }
}

TEST(IxImageICOEncode, AlphaIconRoundTripsAndLargePicturesAreRefused) {
  IxImage src(10, 7, 24, 0);
  bridgetest::Fill(
      src, [](int64_t x, int64_t top) { return static_cast<uint32_t>(x * 0x112233 + top * 0x050301); });
  src.AlphaCreate();
  for (int y = 0; y < 7; ++y) {
    for (int x = 0; x < 10; ++x) src.AlphaSet(x, y, static_cast<uint8_t>(25 * x));
  }
  bool ok = false;
  const std::vector<uint8_t> bytes = EncodeBytes(src, IXIMAGE_FORMAT_ICO, &ok);
  ASSERT_TRUE(ok);
  IxImage back;
  ASSERT_TRUE(DecodeBytes(back, bytes, IXIMAGE_FORMAT_UNKNOWN));
  EXPECT_EQ(back.GetType(), IXIMAGE_FORMAT_ICO);
  EXPECT_EQ(bridgetest::PixelsTopDown(back, true), bridgetest::PixelsTopDown(src, true));

  IxImage big(256, 16, 8, 0);
  EncodeBytes(big, IXIMAGE_FORMAT_ICO, &ok);
  EXPECT_FALSE(ok);
  EXPECT_STREQ(big.GetLastError(), "Can't save this image as icon");
}

TEST(IxImageICODecode, TruncatedIconsFail) {
  const std::vector<uint8_t> bytes = testsupport::ReadFileBytes(Ico("hopper.ico"));
  for (size_t cut : {size_t{3}, size_t{10}, size_t{40}, size_t{300}}) {
    IxImage img;
    EXPECT_FALSE(
        DecodeBytes(img, std::vector<uint8_t>(bytes.begin(), bytes.begin() + cut), IXIMAGE_FORMAT_ICO))
        << cut;
  }
}

}  // namespace
