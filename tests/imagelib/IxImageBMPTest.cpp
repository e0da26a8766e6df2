// The BMP format class against the public BMP suite (good files equal Pillow's pixels, bad files
// are refused or give a sane picture), hand-made headers for the edge cases, and the encoder.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "PillowOracle.h"
#include "imagelib/IxImage.h"
#include "imagelib/IxImageBMP.h"
#include "imagelib/IxMemFile.h"
#include "support/SharedData.h"
#include "support/TempDir.h"

namespace {

using imagetest::OraclePicture;
using imagetest::PillowDecode;

const char* kSuite = "testdata/pillow/bmp";

std::string Name(const std::string& path) { return path.substr(path.find_last_of('/') + 1); }

// Our picture against Pillow's, pixel by pixel. Channels narrower than 8 bits are compared in
// their own bits (`redBits` etc.): Pillow widens them by scaling, we by shifting.
// Pillow widens by scaling and we by shifting.
void ExpectSamePixels(const IxImage& img, const OraclePicture& want, const std::string& what, int redBits = 8,
                      int greenBits = 8, int blueBits = 8) {
  const int rm = (0xFF << (8 - redBits)) & 0xFF, gm = (0xFF << (8 - greenBits)) & 0xFF,
            bm = (0xFF << (8 - blueBits)) & 0xFF;
  ASSERT_EQ(static_cast<int>(img.GetWidth()), want.width) << what;
  ASSERT_EQ(static_cast<int>(img.GetHeight()), want.height) << what;
  int bad = 0;
  for (int top = 0; top < want.height && bad < 5; ++top) {
    const int y = want.height - 1 - top;
    for (int x = 0; x < want.width && bad < 5; ++x) {
      const IxRGBQuad c = img.GetPixelColor(x, y, false);
      const uint8_t* p = want.at(x, top);
      if (c.rgbRed != (p[0] & rm) || c.rgbGreen != (p[1] & gm) || c.rgbBlue != (p[2] & bm)) {
        ADD_FAILURE() << what << " pixel (" << x << "," << top << " from the top): ours " << int(c.rgbRed)
                      << "," << int(c.rgbGreen) << "," << int(c.rgbBlue) << " Pillow " << int(p[0]) << ","
                      << int(p[1]) << "," << int(p[2]);
        ++bad;
      }
    }
  }
}

std::vector<uint8_t> Bytes(const std::string& path) { return testsupport::ReadFileBytes(path); }

bool DecodeBytes(IxImage& img, const std::vector<uint8_t>& data, uint32_t id = IXIMAGE_FORMAT_BMP) {
  std::vector<uint8_t> copy(data);
  IxMemFile in(copy.empty() ? nullptr : copy.data(), copy.size());
  return img.Decode(&in, id);
}

void PutLE32(std::vector<uint8_t>& v, size_t at, uint32_t x) {
  for (int i = 0; i < 4; ++i) v[at + i] = static_cast<uint8_t>(x >> (8 * i));
}
void PutLE16(std::vector<uint8_t>& v, size_t at, uint16_t x) {
  v[at] = static_cast<uint8_t>(x);
  v[at + 1] = static_cast<uint8_t>(x >> 8);
}

// A BMP file with a `headerSize`-byte information header, no palette, 24 bits, w x h.
std::vector<uint8_t> MakeBmp24(uint32_t headerSize, int32_t w, int32_t h, uint32_t compression,
                               uint32_t imageSize) {
  const uint32_t row = ((24 * static_cast<uint32_t>(w) + 31) / 32) * 4;
  const uint32_t pixels = row * static_cast<uint32_t>(h < 0 ? -h : h);
  std::vector<uint8_t> v(14 + headerSize + pixels, 0);
  v[0] = 'B';
  v[1] = 'M';
  PutLE32(v, 2, static_cast<uint32_t>(v.size()));
  PutLE32(v, 10, 14 + headerSize);
  PutLE32(v, 14, headerSize);
  PutLE32(v, 18, static_cast<uint32_t>(w));
  PutLE32(v, 22, static_cast<uint32_t>(h));
  PutLE16(v, 26, 1);
  PutLE16(v, 28, 24);
  PutLE32(v, 30, compression);
  PutLE32(v, 34, imageSize);
  PutLE32(v, 38, 2835);
  PutLE32(v, 42, 2835);
  for (uint32_t i = 0; i < pixels; ++i) v[14 + headerSize + i] = static_cast<uint8_t>(i * 13 + 1);
  return v;
}

TEST(IxImageBMPSuite, GoodFilesEqualPillow) {
  const auto files = testsupport::SharedFiles(kSuite, ".bmp");
  int seen = 0;
  for (const std::string& path : files) {
    const std::string name = Name(path);
    if (name.rfind("g_", 0) != 0) continue;
    ++seen;
    IxImage img;
    ASSERT_TRUE(img.Load(path.c_str(), IXIMAGE_FORMAT_BMP)) << name << ": " << img.GetLastError();
    EXPECT_EQ(img.GetType(), IXIMAGE_FORMAT_BMP) << name;
    // The suite draws the same picture in every g_ file. Pillow refuses this bit-field layout and
    // misreads RLE4 runs, so those two are held against its reading of their plain siblings.
    std::string oraclePath = path;
    if (name == "g_rgb32bf.bmp") oraclePath = testsupport::SharedPath(std::string(kSuite) + "/g_rgb32.bmp");
    if (name == "g_pal4rle.bmp") oraclePath = testsupport::SharedPath(std::string(kSuite) + "/g_pal4.bmp");
    const OraclePicture want = PillowDecode(oraclePath);
    ASSERT_TRUE(want.ok) << name << ": " << want.error;
    if (name.find("rgb16-565") != std::string::npos) {
      ExpectSamePixels(img, want, name, 5, 6, 5);
    } else if (name.find("rgb16") != std::string::npos) {
      ExpectSamePixels(img, want, name, 5, 5, 5);
    } else {
      ExpectSamePixels(img, want, name);
    }
  }
  EXPECT_GE(seen, 20);
}

TEST(IxImageBMPSuite, BadFilesAreRefusedOrGiveTheirHeadersPicture) {
  struct Refusal {
    const char* name;
    const char* message;
  };
  const Refusal refusals[] = {
      {"b_badbitcount.bmp", "Error reading BMP info"},
      {"b_badwidth.bmp", "Error reading BMP info"},
      {"b_reallybig.bmp", "Can't allocate memory"},
  };
  for (const std::string& path : testsupport::SharedFiles(kSuite, ".bmp")) {
    const std::string name = Name(path);
    if (name.rfind("b_", 0) != 0) continue;
    IxImage img;
    const bool ok = DecodeBytes(img, Bytes(path));
    bool mustRefuse = false;
    for (const Refusal& r : refusals) {
      if (name == r.name) {
        mustRefuse = true;
        EXPECT_FALSE(ok) << name;
        EXPECT_STREQ(img.GetLastError(), r.message) << name;
      }
    }
    if (!mustRefuse && ok) {
      EXPECT_TRUE(img.IsValid()) << name;
      EXPECT_EQ(img.GetWidth(), 127u) << name;
      EXPECT_EQ(img.GetHeight(), 64u) << name;
    }
  }
}

TEST(IxImageBMPSuite, BadFilesThatPillowReadsGiveItsPixels) {
  // An image size far beyond the pixel area, absurd densities, a wrong file size or plane count:
  // the pixels are all there and must come out as Pillow sees them.
  for (const char* name :
       {"b_badbitssize.bmp", "b_baddens1.bmp", "b_baddens2.bmp", "b_badfilesize.bmp", "b_badplanes.bmp"}) {
    const std::string path = testsupport::SharedPath(std::string(kSuite) + "/" + name);
    IxImage img;
    ASSERT_TRUE(img.Load(path.c_str(), IXIMAGE_FORMAT_BMP)) << name << ": " << img.GetLastError();
    const OraclePicture want = PillowDecode(path);
    ASSERT_TRUE(want.ok) << name << ": " << want.error;
    ExpectSamePixels(img, want, name);
  }
}

TEST(IxImageBMPSuite, QuestionableFilesNeverBreakAndMatchPillowWhereBothRead) {
  for (const std::string& path : testsupport::SharedFiles(kSuite, ".bmp")) {
    const std::string name = Name(path);
    if (name.rfind("q_", 0) != 0) continue;
    IxImage img;
    const bool ok = DecodeBytes(img, Bytes(path));
    if (!ok) {
      EXPECT_STRNE(img.GetLastError(), "") << name;
      continue;
    }
    ASSERT_TRUE(img.IsValid()) << name;
    const OraclePicture want = PillowDecode(path);
    // Pillow's 16-bit and alpha layouts widen channels its own way, and it paints the pixels that
    // run-length deltas skip in its own colour; compare the plain ones.
    if (!want.ok || name.find("16") != std::string::npos || name.find("rgba") != std::string::npos ||
        name.find("rletrns") != std::string::npos) {
      continue;
    }
    ExpectSamePixels(img, want, name);
  }
}

TEST(IxImageBMPSuite, TruncationsAtEveryEighthNeverBreak) {
  for (const std::string& path : testsupport::SharedFiles(kSuite, ".bmp")) {
    const std::vector<uint8_t> whole = Bytes(path);
    for (int eighth = 0; eighth < 8; ++eighth) {
      std::vector<uint8_t> part(whole.begin(),
                                whole.begin() + static_cast<std::ptrdiff_t>(whole.size() * eighth / 8));
      IxImage img;
      if (DecodeBytes(img, part, 0)) {
        EXPECT_TRUE(img.IsValid()) << Name(path) << " at " << eighth << "/8";
      }
    }
  }
}

TEST(IxImageBMPDecode, AShortFileKeepsWhatWasReadAndZeroesTheRest) {
  std::vector<uint8_t> v = MakeBmp24(40, 4, 4, 0, 0);
  v.resize(v.size() - 16 - 8);  // drop the top row and part of the one below
  IxImage img;
  ASSERT_TRUE(DecodeBytes(img, v));
  EXPECT_EQ(img.GetBits(0)[0], 1);
  EXPECT_EQ(img.GetBits(3)[0], 0);
  EXPECT_EQ(img.GetBits(2)[15], 0);
}

TEST(IxImageBMPDecode, LaterHeadersOnlyForPlainPictures) {
  const int32_t w = 5, h = 3;
  const uint32_t exact = ((24 * w + 31) / 32) * 4 * h;
  IxImage img;
  EXPECT_TRUE(DecodeBytes(img, MakeBmp24(124, w, h, 0, exact))) << img.GetLastError();
  EXPECT_EQ(img.GetWidth(), 5u);
  EXPECT_EQ(img.GetPixelColor(0, 0, false).rgbBlue, 1);
  IxImage bitfields;
  EXPECT_FALSE(DecodeBytes(bitfields, MakeBmp24(124, w, h, 3, exact)));
  EXPECT_STREQ(bitfields.GetLastError(), "Error reading BMP info");
  IxImage wrongSize;
  EXPECT_FALSE(DecodeBytes(wrongSize, MakeBmp24(124, w, h, 0, exact + 4)));
  EXPECT_STREQ(wrongSize.GetLastError(), "Error reading BMP info");
}

TEST(IxImageBMPDecode, RefusesHeadersNothingCanBeMadeOf) {
  struct Case {
    const char* what;
    int32_t w, h;
    uint16_t bpp;
  };
  const Case cases[] = {{"negative width", -5, 3, 24}, {"zero width", 0, 3, 24}, {"zero height", 5, 0, 24},
                        {"depth 0", 5, 3, 0},          {"depth 2", 5, 3, 2},     {"depth 64", 5, 3, 64}};
  for (const Case& c : cases) {
    std::vector<uint8_t> v = MakeBmp24(40, 4, 4, 0, 0);
    PutLE32(v, 18, static_cast<uint32_t>(c.w));
    PutLE32(v, 22, static_cast<uint32_t>(c.h));
    PutLE16(v, 28, c.bpp);
    IxImage img;
    EXPECT_FALSE(DecodeBytes(img, v)) << c.what;
    EXPECT_STREQ(img.GetLastError(), "Error reading BMP info") << c.what;
  }
}

TEST(IxImageBMPDecode, AHugeHeaderOverATinyFileIsRefusedBeforeAllocating) {
  std::vector<uint8_t> v = MakeBmp24(40, 4, 4, 0, 0);
  PutLE32(v, 18, 30000);
  PutLE32(v, 22, 30000);
  IxImage img;
  EXPECT_FALSE(DecodeBytes(img, v));
  EXPECT_STREQ(img.GetLastError(), "Can't allocate memory");
}

TEST(IxImageBMPDecode, BareDibDecodesFromItsFirstByte) {
  const std::string path = testsupport::SharedPath(std::string(kSuite) + "/g_rgb24.bmp");
  const std::vector<uint8_t> whole = Bytes(path);
  const std::vector<uint8_t> dib(whole.begin() + 14, whole.end());
  IxImage bare, file;
  ASSERT_TRUE(DecodeBytes(bare, dib)) << bare.GetLastError();
  ASSERT_TRUE(DecodeBytes(file, whole));
  ASSERT_EQ(bare.GetHeader().biSizeImage, file.GetHeader().biSizeImage);
  EXPECT_EQ(memcmp(bare.GetBits(0), file.GetBits(0), file.GetHeader().biSizeImage), 0);
}

TEST(IxImageBMPDecode, PixelsPerMetreGiveTheResolution) {
  std::vector<uint8_t> v = MakeBmp24(40, 2, 2, 0, 0);
  IxImage img;
  ASSERT_TRUE(DecodeBytes(img, v));
  EXPECT_EQ(img.GetXDPI(), 72);
  EXPECT_EQ(img.GetYDPI(), 72);
  PutLE32(v, 38, 0x7FFFFFFF);  // absurd density stays in range
  IxImage absurd;
  ASSERT_TRUE(DecodeBytes(absurd, v));
  EXPECT_GT(absurd.GetXDPI(), 0);
}

TEST(IxImageBMPDecode, DimensionsOnlyLeavesNoPicture) {
  const std::string path = testsupport::SharedPath(std::string(kSuite) + "/g_pal8.bmp");
  IxImage img;
  img.SetEscape(-1);
  ASSERT_TRUE(img.Load(path.c_str(), IXIMAGE_FORMAT_BMP));
  EXPECT_FALSE(img.IsValid());
  EXPECT_EQ(img.GetWidth(), 127u);
  EXPECT_EQ(img.GetHeight(), 64u);
  EXPECT_STREQ(img.GetLastError(), "output dimensions returned");
}

TEST(IxImageBMPDecode, AnEscapeCancels) {
  IxImage img;
  img.SetEscape(1);
  EXPECT_FALSE(DecodeBytes(img, MakeBmp24(40, 2, 2, 0, 0)));
  EXPECT_STREQ(img.GetLastError(), "Cancelled");
}

TEST(IxImageBMPDecode, RunLengthCodesPointingOutsideStayInside) {
  // 4x2 at 8 bits, RLE8: a run longer than the row, a delta far above the picture, a literal
  // running off the row, then a run on a row beyond the height.
  std::vector<uint8_t> v(14 + 40 + 1024, 0);
  v[0] = 'B';
  v[1] = 'M';
  PutLE32(v, 10, 14 + 40 + 1024);
  PutLE32(v, 14, 40);
  PutLE32(v, 18, 4);
  PutLE32(v, 22, 2);
  PutLE16(v, 26, 1);
  PutLE16(v, 28, 8);
  PutLE32(v, 30, 1);
  const uint8_t codes[] = {3, 7, 0, 6, 1, 2, 3, 4, 5, 6, 0, 0, 0, 2, 0, 200, 9, 9, 0, 0, 0, 1};
  v.insert(v.end(), codes, codes + sizeof(codes));
  IxImage img;
  ASSERT_TRUE(DecodeBytes(img, v)) << img.GetLastError();
  EXPECT_EQ(img.GetPixelIndex(0, 0), 7);
  EXPECT_EQ(img.GetPixelIndex(2, 0), 7);
  EXPECT_EQ(img.GetPixelIndex(3, 0), 1);
  EXPECT_EQ(img.GetPixelIndex(0, 1), 0);
}

TEST(IxImageBMPEncode, An8BitPictureHasTheClassicLayoutAndPillowReadsIt) {
  testsupport::TempDir dir;
  IxImage img(5, 3, 8);
  img.SetGrayPalette();
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) img.SetPixelIndex(x, y, static_cast<uint8_t>(x * 40 + y * 10));
  const std::string path = dir.file("out.bmp");
  ASSERT_TRUE(img.Save(path.c_str(), IXIMAGE_FORMAT_BMP)) << img.GetLastError();
  const std::vector<uint8_t> bytes = Bytes(path);
  ASSERT_EQ(bytes.size(), 14u + 40u + 1024u + img.GetEffWidth() * 3u);
  EXPECT_EQ(bytes[0], 'B');
  EXPECT_EQ(bytes[10], 0x36);
  EXPECT_EQ(bytes[11], 0x04);
  EXPECT_EQ(bytes[12], 0);
  EXPECT_EQ(bytes[13], 0);
  const OraclePicture want = PillowDecode(path);
  ASSERT_TRUE(want.ok) << want.error;
  ExpectSamePixels(img, want, "encoded 8-bit");
}

TEST(IxImageBMPEncode, RoundTripsEveryDepth) {
  for (const uint32_t bpp : {1u, 4u, 8u, 24u}) {
    IxImage img(7, 5, bpp);
    if (bpp == 24) {
      for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x)
          img.SetPixelColor(x, y, IxRGBQuad{uint8_t(x * 30), uint8_t(y * 50), uint8_t(x + y), 0});
    } else {
      for (uint32_t i = 0; i < img.GetNumColors(); ++i)
        img.SetPaletteColor(uint8_t(i), uint8_t(i * 3), uint8_t(255 - i), uint8_t(i));
      for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x) img.SetPixelIndex(x, y, static_cast<uint8_t>(x * 3 + y));
    }
    img.SetXDPI(300);
    IxMemFile out;
    ASSERT_TRUE(out.Open());
    ASSERT_TRUE(img.Encode(&out, IXIMAGE_FORMAT_BMP));
    const int64_t size = out.Size();
    std::vector<uint8_t> bytes(out.GetBuffer(false), out.GetBuffer(false) + size);
    IxImage back;
    ASSERT_TRUE(DecodeBytes(back, bytes)) << bpp << ": " << back.GetLastError();
    EXPECT_EQ(back.GetBpp(), img.GetBpp());
    EXPECT_EQ(back.GetXDPI(), 300);
    EXPECT_EQ(memcmp(back.GetBits(0), img.GetBits(0), img.GetHeader().biSizeImage), 0) << bpp;
    for (int y = 0; y < 5; ++y)
      for (int x = 0; x < 7; ++x) {
        const IxRGBQuad a = back.GetPixelColor(x, y, false), b = img.GetPixelColor(x, y, false);
        ASSERT_EQ(memcmp(&a, &b, 3), 0) << bpp << " at " << x << "," << y;
      }
  }
}

TEST(IxImageBMPEncode, AShortWriteIsAFailure) {
  FILE* full = fopen("/dev/full", "wb");
  if (full == nullptr) GTEST_SKIP() << "no /dev/full";
  IxImage img(200, 200, 24);
  EXPECT_FALSE(img.Encode(full, IXIMAGE_FORMAT_BMP));
  EXPECT_STREQ(img.GetLastError(), "Write Error");
  fclose(full);
}

TEST(IxImageBMPEncode, AnEmptyPictureIsRefused) {
  IxImage empty;
  IxMemFile out;
  ASSERT_TRUE(out.Open());
  EXPECT_FALSE(empty.Encode(&out, IXIMAGE_FORMAT_BMP));
  EXPECT_STREQ(empty.GetLastError(), "null image!!!");
  EXPECT_EQ(out.Size(), 0);
}

}  // namespace
