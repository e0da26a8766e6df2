// The BMP format class against the public BMP suite (good files equal Pillow's pixels, bad files
// are refused or give a sane picture), hand-made headers for the edge cases, and the encoder.
#include <gtest/gtest.h>

#include <algorithm>
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

// Our picture against Pillow's, pixel by pixel.
void ExpectSamePixels(const IxImage& img, const OraclePicture& want, const std::string& what) {
  ASSERT_EQ(static_cast<int>(img.GetWidth()), want.width) << what;
  ASSERT_EQ(static_cast<int>(img.GetHeight()), want.height) << what;
  int bad = 0;
  for (int top = 0; top < want.height && bad < 5; ++top) {
    const int y = want.height - 1 - top;
    for (int x = 0; x < want.width && bad < 5; ++x) {
      const IxRGBQuad c = img.GetPixelColor(x, y, false);
      const uint8_t* p = want.at(x, top);
      if (c.rgbRed != p[0] || c.rgbGreen != p[1] || c.rgbBlue != p[2]) {
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
    // 16-bit channels included: both widen 5 and 6 bits over the whole range.
    ExpectSamePixels(img, want, name);
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
  // Later headers with bit fields, alpha masks and profiles, unusual masks and 2-bit palettes
  // must decode; JPEG and PNG inside a BMP, and a 16-byte OS/2 header, are refused with a reason.
  const std::vector<std::string> mustDecode = {"q_pal2.bmp",      "q_rgb16-231.bmp",    "q_rgb24lprof.bmp",
                                               "q_rgb24prof.bmp", "q_rgb32-111110.bmp", "q_rgb32bf-xbgr.bmp",
                                               "q_rgb32h52.bmp",  "q_rgba16-4444.bmp",  "q_rgba32.bmp",
                                               "q_rgba32abf.bmp", "q_rgba32h56.bmp"};
  for (const std::string& path : testsupport::SharedFiles(kSuite, ".bmp")) {
    const std::string name = Name(path);
    if (name.rfind("q_", 0) != 0) continue;
    IxImage img;
    const bool ok = DecodeBytes(img, Bytes(path));
    if (std::find(mustDecode.begin(), mustDecode.end(), name) != mustDecode.end()) {
      EXPECT_TRUE(ok) << name << ": " << img.GetLastError();
    }
    if (!ok) {
      EXPECT_STRNE(img.GetLastError(), "") << name;
      continue;
    }
    ASSERT_TRUE(img.IsValid()) << name;
    const OraclePicture want = PillowDecode(path);
    // Pillow paints the pixels that run-length deltas skip in its own colour.
    if (!want.ok || name.find("rletrns") != std::string::npos) continue;
    ExpectSamePixels(img, want, name);
  }
}

TEST(IxImageBMPSuite, AlphaBitFieldsInEveryHeaderGiveOnePicture) {
  // The same picture with an alpha mask after a 40-byte header (compression 6), in a 56-byte and
  // in a 124-byte header; its colours are those Pillow gives the plain 32-bit bit-field file of
  // the same layout, its alpha a real plane (neither all opaque nor all clear).
  IxImage ref;
  ASSERT_TRUE(DecodeBytes(ref, Bytes(testsupport::SharedPath(std::string(kSuite) + "/q_rgba32.bmp"))));
  ASSERT_TRUE(ref.AlphaIsValid());
  int clear = 0, opaque = 0;
  for (uint32_t y = 0; y < ref.GetHeight(); ++y)
    for (uint32_t x = 0; x < ref.GetWidth(); ++x) {
      clear += ref.AlphaGet(x, y) == 0;
      opaque += ref.AlphaGet(x, y) == 255;
    }
  EXPECT_GT(clear, 0);
  EXPECT_GT(opaque, 0);
  EXPECT_LT(opaque, static_cast<int>(ref.GetWidth() * ref.GetHeight()));
  for (const char* name : {"q_rgba32abf.bmp", "q_rgba32h56.bmp"}) {
    IxImage img;
    ASSERT_TRUE(DecodeBytes(img, Bytes(testsupport::SharedPath(std::string(kSuite) + "/" + name))))
        << name << ": " << img.GetLastError();
    ASSERT_TRUE(img.AlphaIsValid()) << name;
    ASSERT_EQ(img.GetWidth(), ref.GetWidth());
    ASSERT_EQ(img.GetHeight(), ref.GetHeight());
    EXPECT_EQ(memcmp(img.GetBits(0), ref.GetBits(0), ref.GetHeader().biSizeImage), 0) << name;
    EXPECT_EQ(memcmp(img.AlphaGetPointer(), ref.AlphaGetPointer(), ref.GetWidth() * ref.GetHeight()), 0)
        << name;
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

TEST(IxImageBMPDecode, LaterHeadersCarryMasksAndAnyCompression) {
  // A 2 x 1 picture in version 4 and 5 headers (and the 52- and 56-byte ones): 32-bit bit fields
  // with the masks in the header, the same with an alpha mask, a wrong image size, and RLE8.
  struct Case {
    const char* what;
    uint32_t headerSize;
    uint16_t bpp;
    uint32_t compression;
    uint32_t imageSize;
    std::vector<uint32_t> masks;  // red, green, blue, alpha, as the header holds them
    std::vector<uint8_t> pixels;  // as stored, after a 2-entry palette at 8 bits
    uint8_t red0, green0, blue0;  // the left pixel
    int alpha0;                   // -1: no alpha plane
  };
  const std::vector<uint8_t> xrgb{0x10, 0x20, 0x30, 0x00, 0xFF, 0xFF, 0xFF, 0x00};
  const std::vector<uint8_t> argb{0x10, 0x20, 0x30, 0x80, 0xFF, 0xFF, 0xFF, 0xFF};
  const std::vector<uint8_t> rle8{2, 1, 0, 1};
  const std::vector<Case> cases = {
      {"v4, bit fields", 108, 32, 3, 8, {0xFF0000, 0xFF00, 0xFF, 0}, xrgb, 0x30, 0x20, 0x10, -1},
      {"v5, bit fields, red and blue swapped",
       124,
       32,
       3,
       8,
       {0xFF, 0xFF00, 0xFF0000, 0},
       xrgb,
       0x10,
       0x20,
       0x30,
       -1},
      {"v5, bit fields with alpha",
       124,
       32,
       3,
       8,
       {0xFF0000, 0xFF00, 0xFF, 0xFF000000},
       argb,
       0x30,
       0x20,
       0x10,
       0x80},
      {"v5, alpha mask over zero bytes",
       124,
       32,
       3,
       8,
       {0xFF0000, 0xFF00, 0xFF, 0xFF000000},
       xrgb,
       0x30,
       0x20,
       0x10,
       -1},
      {"52 bytes, bit fields", 52, 32, 3, 8, {0xFF0000, 0xFF00, 0xFF}, xrgb, 0x30, 0x20, 0x10, -1},
      {"56 bytes, alpha bit fields",
       56,
       32,
       6,
       8,
       {0xFF0000, 0xFF00, 0xFF, 0xFF000000},
       argb,
       0x30,
       0x20,
       0x10,
       0x80},
      {"v5, 16-bit 5-6-5", 124, 16, 3, 4, {0xF800, 0x07E0, 0x001F, 0}, {0xFF, 0xFF, 0, 0}, 255, 255, 255, -1},
      {"v5, uncompressed with a wrong image size", 124, 32, 0, 3, {0, 0, 0, 0}, xrgb, 0x30, 0x20, 0x10, -1},
      {"v4, RLE8", 108, 8, 1, 4, {0, 0, 0, 0}, rle8, 0xFF, 0xFF, 0xFF, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const uint32_t palette = c.bpp == 8 ? 8 : 0;
    std::vector<uint8_t> v(14 + c.headerSize + palette, 0);
    v[0] = 'B';
    v[1] = 'M';
    PutLE32(v, 10, static_cast<uint32_t>(v.size()));
    PutLE32(v, 14, c.headerSize);
    PutLE32(v, 18, 2);
    PutLE32(v, 22, 1);
    PutLE16(v, 26, 1);
    PutLE16(v, 28, c.bpp);
    PutLE32(v, 30, c.compression);
    PutLE32(v, 34, c.imageSize);
    if (palette) {
      PutLE32(v, 46, 2);
      PutLE32(v, 14 + c.headerSize + 4, 0x00FFFFFF);  // entry 1 white
    }
    for (size_t i = 0; i < c.masks.size(); ++i) PutLE32(v, 54 + 4 * i, c.masks[i]);
    v.insert(v.end(), c.pixels.begin(), c.pixels.end());
    IxImage img;
    ASSERT_TRUE(DecodeBytes(img, v)) << img.GetLastError();
    const IxRGBQuad p = img.GetPixelColor(0, 0, false);
    EXPECT_EQ(p.rgbRed, c.red0);
    EXPECT_EQ(p.rgbGreen, c.green0);
    EXPECT_EQ(p.rgbBlue, c.blue0);
    EXPECT_EQ(img.AlphaIsValid(), c.alpha0 >= 0);
    if (c.alpha0 >= 0) {
      EXPECT_EQ(img.AlphaGet(0, 0), c.alpha0);
      EXPECT_EQ(img.AlphaGet(1, 0), 255);
    }
  }
}

TEST(IxImageBMPDecode, SixteenBitWhiteIsWhite) {
  // 2 x 1 at 16 bits, 5-5-5 without bit fields and 5-6-5 with them: white, and one lowest step.
  for (uint32_t compression : {0u, 3u}) {
    std::vector<uint8_t> v = MakeBmp24(40, 2, 1, compression, 0);
    PutLE16(v, 28, 16);
    v.resize(14 + 40);
    if (compression == 3) {
      v.resize(14 + 40 + 12);
      PutLE32(v, 54, 0xF800);
      PutLE32(v, 58, 0x07E0);
      PutLE32(v, 62, 0x001F);
    }
    PutLE32(v, 10, static_cast<uint32_t>(v.size()));
    const uint16_t step = compression == 3 ? 0x0821 : 0x0421;
    v.insert(v.end(), {0xFF, 0xFF, static_cast<uint8_t>(step), static_cast<uint8_t>(step >> 8)});
    IxImage img;
    ASSERT_TRUE(DecodeBytes(img, v)) << img.GetLastError();
    const IxRGBQuad white = img.GetPixelColor(0, 0, false);
    EXPECT_EQ(white.rgbRed, 255) << compression;
    EXPECT_EQ(white.rgbGreen, 255) << compression;
    EXPECT_EQ(white.rgbBlue, 255) << compression;
    EXPECT_EQ(img.GetPixelColor(1, 0, false).rgbRed, 8) << compression;
  }
}

TEST(IxImageBMPDecode, RefusesHeadersNothingCanBeMadeOf) {
  struct Case {
    const char* what;
    int32_t w, h;
    uint16_t bpp;
  };
  const Case cases[] = {{"negative width", -5, 3, 24}, {"zero width", 0, 3, 24}, {"zero height", 5, 0, 24},
                        {"depth 0", 5, 3, 0},          {"depth 3", 5, 3, 3},     {"depth 64", 5, 3, 64}};
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
