// The PNG bridge against the PNG suite (every valid file decodes, the pictures equal Pillow's,
// the broken x* files are refused), and the transparency, palette and resolution rules of
// reading and writing, checked on small pictures made here.
#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <cstring>
#include <string>
#include <vector>

#include "BridgeTestSupport.h"
#include "GifTestSupport.h"
#include "imagelib/IxImagePNG.h"
#include "support/SharedData.h"

namespace {

using bridgetest::DecodeBytes;
using bridgetest::EncodeBytes;
using bridgetest::Name;

const char* kSuite = "testdata/png";

// Colour type digit and bit depth from a suite name such as "basn3p08.png".
int ColourType(const std::string& name) { return name[4] - '0'; }
int BitDepth(const std::string& name) { return std::stoi(name.substr(6, 2)); }

struct PngChunk {
  std::string type;
  std::vector<uint8_t> data;
};

std::vector<PngChunk> Chunks(const std::vector<uint8_t>& png) {
  std::vector<PngChunk> out;
  size_t at = 8;
  while (at + 12 <= png.size()) {
    const uint32_t len = (uint32_t(png[at]) << 24) | (png[at + 1] << 16) | (png[at + 2] << 8) | png[at + 3];
    if (at + 12 + len > png.size()) break;
    out.push_back({std::string(png.begin() + at + 4, png.begin() + at + 8),
                   std::vector<uint8_t>(png.begin() + at + 8, png.begin() + at + 8 + len)});
    at += 12 + len;
  }
  return out;
}

const PngChunk* Find(const std::vector<PngChunk>& chunks, const std::string& type) {
  for (const PngChunk& c : chunks) {
    if (c.type == type) return &c;
  }
  return nullptr;
}

void OnWrite(png_structp png, png_bytep data, size_t n) {
  auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + n);
}

// A 4 x 2 palette PNG of 4 entries, written with libpng, with the given tRNS values.
std::vector<uint8_t> PalettePng(const std::vector<uint8_t>& trns) {
  std::vector<uint8_t> out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_set_write_fn(png, &out, OnWrite, nullptr);
  png_set_IHDR(png, info, 4, 2, 8, PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_color pal[4] = {{10, 20, 30}, {40, 50, 60}, {70, 80, 90}, {100, 110, 120}};
  png_set_PLTE(png, info, pal, 4);
  if (!trns.empty()) png_set_tRNS(png, info, trns.data(), static_cast<int>(trns.size()), nullptr);
  png_write_info(png, info);
  uint8_t rows[2][4] = {{0, 1, 2, 3}, {3, 2, 1, 0}};
  for (auto& r : rows) png_write_row(png, r);
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return out;
}

TEST(IxImagePNGSuite, ValidFilesDecodeAndEqualPillow) {
  std::vector<std::string> opaque;
  for (const std::string& path : testsupport::SharedFiles(kSuite, ".png")) {
    const std::string name = Name(path);
    if (name[0] == 'x') continue;
    IxImage img;
    ASSERT_TRUE(img.Load(path.c_str(), IXIMAGE_FORMAT_PNG)) << name << ": " << img.GetLastError();
    EXPECT_EQ(img.GetType(), IXIMAGE_FORMAT_PNG) << name;
    const int type = ColourType(name);
    const int depth = BitDepth(name);
    EXPECT_EQ(img.GetCodecOption(IXIMAGE_FORMAT_PNG), name[3] == 'i' ? 1u : 0u) << name;
    const bool trns = Find(Chunks(testsupport::ReadFileBytes(path)), "tRNS") != nullptr;
    EXPECT_EQ(img.AlphaIsValid(), type == 4 || type == 6 || (trns && depth == 16)) << name;
    // Pictures with transparency are compared in TransparencyIsKeptForEveryColourTypeAndDepth;
    // Pillow widens 16-bit grey differently.
    if (type == 4 || type == 6 || trns || (type == 0 && depth == 16)) continue;
    opaque.push_back(path);
  }
  const std::vector<imagetest::OraclePicture> oracle = imagetest::PillowDecodeAll(opaque);
  for (size_t i = 0; i < opaque.size(); ++i) {
    const std::string name = Name(opaque[i]);
    ASSERT_TRUE(oracle[i].ok) << name << ": " << oracle[i].error;
    IxImage img;
    ASSERT_TRUE(img.Load(opaque[i].c_str(), IXIMAGE_FORMAT_PNG));
    EXPECT_EQ(bridgetest::CountDifferences(img, oracle[i].width, oracle[i].height, oracle[i].rgb, 0, name), 0)
        << name;
  }
  EXPECT_GE(opaque.size(), 80u);
}

TEST(IxImagePNGSuite, TransparencyIsKeptForEveryColourTypeAndDepth) {
  // Every suite picture with an alpha channel or a tRNS chunk: the alpha of every pixel equals
  // Pillow's RGBA reading, and so does the colour of every pixel not wholly transparent (but for
  // 16-bit grey, which Pillow widens its own way). Pillow does not scale the transparent grey
  // level of grey pictures other than 8-bit; their alpha is held against libpng's RGBA reading.
  std::vector<std::string> paths;
  for (const std::string& path : testsupport::SharedFiles(kSuite, ".png")) {
    const std::string name = Name(path);
    if (name[0] == 'x') continue;
    const int type = ColourType(name);
    if (type == 4 || type == 6 || Find(Chunks(testsupport::ReadFileBytes(path)), "tRNS") != nullptr)
      paths.push_back(path);
  }
  const std::vector<imagetest::OraclePicture> oracle = imagetest::PillowDecodeAll(paths, "RGBA");
  int transparentSomewhere = 0;
  for (size_t i = 0; i < paths.size(); ++i) {
    const std::string name = Name(paths[i]);
    ASSERT_TRUE(oracle[i].ok) << name << ": " << oracle[i].error;
    IxImage img;
    ASSERT_TRUE(img.Load(paths[i].c_str(), IXIMAGE_FORMAT_PNG)) << name;
    const bool compareColour =
        !(ColourType(name) == 0 && BitDepth(name) == 16) && !(ColourType(name) == 4 && BitDepth(name) == 16);
    const bool libpngAlpha = ColourType(name) == 0 && BitDepth(name) != 8;
    const imagetest::OraclePicture alphaOracle = libpngAlpha ? giftest::ReadPngRgba(paths[i]) : oracle[i];
    ASSERT_TRUE(alphaOracle.ok) << name << ": " << alphaOracle.error;
    int bad = 0;
    for (int top = 0; top < oracle[i].height && bad < 3; ++top) {
      for (int x = 0; x < oracle[i].width && bad < 3; ++x) {
        const uint8_t* want = &oracle[i].rgb[(static_cast<size_t>(top) * oracle[i].width + x) * 4];
        const int64_t y = oracle[i].height - 1 - top;
        const uint8_t wantAlpha = alphaOracle.rgb[(static_cast<size_t>(top) * oracle[i].width + x) * 4 + 3];
        const uint8_t alpha = bridgetest::Visibility(img, x, y);
        const IxRGBQuad c = img.GetPixelColor(x, y, false);
        bool same = alpha == wantAlpha;
        if (same && wantAlpha != 0 && compareColour)
          same = c.rgbRed == want[0] && c.rgbGreen == want[1] && c.rgbBlue == want[2];
        if (!same) {
          ADD_FAILURE() << name << " pixel " << x << "," << top << ": ours " << int(c.rgbRed) << ","
                        << int(c.rgbGreen) << "," << int(c.rgbBlue) << " alpha " << int(alpha) << ", Pillow "
                        << int(want[0]) << "," << int(want[1]) << "," << int(want[2]) << " alpha "
                        << int(wantAlpha);
          ++bad;
        }
        if (wantAlpha == 0) ++transparentSomewhere;
      }
    }
  }
  EXPECT_GE(paths.size(), 20u);
  EXPECT_GT(transparentSomewhere, 0);
}

TEST(IxImagePNGSuite, BrokenFilesAreRefused) {
  int seen = 0;
  for (const std::string& path : testsupport::SharedFiles(kSuite, ".png")) {
    const std::string name = Name(path);
    if (name[0] != 'x') continue;
    ++seen;
    const std::vector<uint8_t> bytes = testsupport::ReadFileBytes(path);
    IxImage typed;
    EXPECT_FALSE(DecodeBytes(typed, bytes, IXIMAGE_FORMAT_PNG)) << name;
    EXPECT_STRNE(typed.GetLastError(), "") << name;
    IxImage detected;
    EXPECT_FALSE(DecodeBytes(detected, bytes, IXIMAGE_FORMAT_UNKNOWN))
        << name << " taken as " << detected.GetType();
  }
  EXPECT_GE(seen, 14);
}

TEST(IxImagePNGSuite, DetectionFindsPngForEveryValidFile) {
  for (const std::string& path : testsupport::SharedFiles(kSuite, ".png")) {
    const std::string name = Name(path);
    if (name[0] == 'x') continue;
    IxImage img;
    ASSERT_TRUE(DecodeBytes(img, testsupport::ReadFileBytes(path), IXIMAGE_FORMAT_UNKNOWN)) << name;
    EXPECT_EQ(img.GetType(), IXIMAGE_FORMAT_PNG) << name;
  }
}

TEST(IxImagePNGDecode, PaletteTransparency) {
  IxImage single;
  ASSERT_TRUE(DecodeBytes(single, PalettePng({0}), IXIMAGE_FORMAT_PNG)) << single.GetLastError();
  EXPECT_EQ(single.GetTransIndex(), 0);
  EXPECT_FALSE(single.GetInfo().bAlphaPaletteEnabled);

  IxImage graded;
  ASSERT_TRUE(DecodeBytes(graded, PalettePng({0, 128}), IXIMAGE_FORMAT_PNG)) << graded.GetLastError();
  EXPECT_EQ(graded.GetTransIndex(), -1);
  EXPECT_TRUE(graded.GetInfo().bAlphaPaletteEnabled);
  const uint8_t want[4] = {0, 128, 255, 255};
  for (uint8_t i = 0; i < 4; ++i) EXPECT_EQ(graded.GetPaletteColor(i).rgbReserved, want[i]) << int(i);
  EXPECT_EQ(graded.GetPaletteColor(2).rgbRed, 70);

  IxImage opaque;
  ASSERT_TRUE(DecodeBytes(opaque, PalettePng({}), IXIMAGE_FORMAT_PNG));
  EXPECT_EQ(opaque.GetTransIndex(), -1);
  EXPECT_EQ(opaque.GetPixelIndex(1, 1), 1);  // top row, stored last
  EXPECT_EQ(opaque.GetPixelIndex(1, 0), 2);
}

TEST(IxImagePNGDecode, SixteenBitGreyBecomesAnEightBitGreyRamp) {
  IxImage img;
  ASSERT_TRUE(img.Load(testsupport::SharedPath("testdata/png/basn0g16.png").c_str(), IXIMAGE_FORMAT_PNG));
  EXPECT_EQ(img.GetBpp(), 8);
  EXPECT_TRUE(img.IsGrayScale());
  IxImage twoBit;
  ASSERT_TRUE(twoBit.Load(testsupport::SharedPath("testdata/png/basn0g02.png").c_str(), IXIMAGE_FORMAT_PNG));
  EXPECT_EQ(twoBit.GetBpp(), 4);
  EXPECT_EQ(twoBit.GetPaletteColor(1).rgbRed, 85);
  EXPECT_EQ(twoBit.GetPaletteColor(3).rgbRed, 255);
}

TEST(IxImagePNGDecode, ResolutionPerMetreBecomesDotsPerInch) {
  IxImage src(3, 3, 24, IXIMAGE_FORMAT_PNG);
  src.SetXDPI(300);
  src.SetYDPI(72);
  bool ok = false;
  const std::vector<uint8_t> bytes = EncodeBytes(src, IXIMAGE_FORMAT_PNG, &ok);
  ASSERT_TRUE(ok);
  IxImage back;
  ASSERT_TRUE(DecodeBytes(back, bytes, IXIMAGE_FORMAT_PNG));
  EXPECT_EQ(back.GetXDPI(), 300);
  EXPECT_EQ(back.GetYDPI(), 72);
}

TEST(IxImagePNGDecode, TruncatedAndDamagedFilesFailCleanly) {
  const std::vector<uint8_t> good =
      testsupport::ReadFileBytes(testsupport::SharedPath("testdata/png/basn2c08.png"));
  for (size_t cut : {size_t{0}, size_t{7}, size_t{33}, good.size() / 2, good.size() - 13}) {
    IxImage img;
    EXPECT_FALSE(DecodeBytes(img, std::vector<uint8_t>(good.begin(), good.begin() + cut), IXIMAGE_FORMAT_PNG))
        << cut;
    EXPECT_STRNE(img.GetLastError(), "") << cut;
  }
  std::vector<uint8_t> damaged = good;
  damaged[damaged.size() / 2] ^= 0x55;
  IxImage img;
  EXPECT_FALSE(DecodeBytes(img, damaged, IXIMAGE_FORMAT_PNG));
}

TEST(IxImagePNGDecode, HugeHeaderWithoutDataIsRefusedBeforeAllocating) {
  // A valid 60000 x 60000 RGB header (about 10 GB of pixels) followed by a few bytes.
  std::vector<uint8_t> png = PalettePng({});
  png[16] = 0;
  png[17] = 0;
  png[18] = 0xEA;
  png[19] = 0x60;
  png[20] = 0;
  png[21] = 0;
  png[22] = 0xEA;
  png[23] = 0x60;
  png[24] = 8;
  png[25] = 2;
  const uint32_t crc = static_cast<uint32_t>(crc32(0, png.data() + 12, 17));
  for (int i = 0; i < 4; ++i) png[29 + i] = static_cast<uint8_t>(crc >> (24 - 8 * i));
  IxImage img;
  EXPECT_FALSE(DecodeBytes(img, png, IXIMAGE_FORMAT_PNG));
  EXPECT_STREQ(img.GetLastError(), "Can't allocate memory");
}

TEST(IxImagePNGEncode, RoundTripsEveryDepthAndInterlace) {
  for (uint32_t bpp : {1u, 4u, 8u, 24u}) {
    for (uint32_t interlace : {0u, 1u}) {
      IxImage src(13, 7, bpp, 0);
      if (bpp <= 8) src.SetGrayPalette();
      bridgetest::Fill(src, [&](int64_t x, int64_t top) {
        return bpp <= 8 ? static_cast<uint32_t>((x + 3 * top) % (1u << bpp))
                        : static_cast<uint32_t>(x * 0x0A0B0C + top * 0x302010);
      });
      src.SetCodecOption(interlace, IXIMAGE_FORMAT_PNG);
      bool ok = false;
      const std::vector<uint8_t> bytes = EncodeBytes(src, IXIMAGE_FORMAT_PNG, &ok);
      ASSERT_TRUE(ok) << bpp << ": " << src.GetLastError();
      EXPECT_EQ(bytes[28], interlace) << bpp;
      IxImage back;
      ASSERT_TRUE(DecodeBytes(back, bytes, IXIMAGE_FORMAT_PNG)) << bpp << ": " << back.GetLastError();
      EXPECT_EQ(back.GetBpp(), bpp);
      EXPECT_EQ(back.GetCodecOption(IXIMAGE_FORMAT_PNG), interlace);
      EXPECT_EQ(bridgetest::PixelsTopDown(back), bridgetest::PixelsTopDown(src)) << bpp << " " << interlace;
    }
  }
}

// Rows of 37 pixels take the sixteen-at-a-time split and its byte-wise end; interlaced files
// combine each pass with what the earlier ones left.
TEST(IxImagePNGEncode, AlphaPlaneIsWrittenAndReadBack) {
  struct Case {
    int width, height;
    uint32_t interlace;
  };
  for (const Case c : {Case{5, 4, 0}, Case{37, 3, 0}, Case{37, 9, 1}}) {
    IxImage src(c.width, c.height, 24, 0);
    bridgetest::Fill(src, [](int64_t x, int64_t top) {
      return static_cast<uint32_t>((0x3A1F07 * (x + 1) + 0x0B1D29 * top) & 0xFFFFFF);
    });
    src.AlphaCreate();
    for (int y = 0; y < c.height; ++y) {
      for (int x = 0; x < c.width; ++x) src.AlphaSet(x, y, static_cast<uint8_t>(x * 60 + y * 7));
    }
    src.SetCodecOption(c.interlace, IXIMAGE_FORMAT_PNG);
    bool ok = false;
    const std::vector<uint8_t> bytes = EncodeBytes(src, IXIMAGE_FORMAT_PNG, &ok);
    ASSERT_TRUE(ok) << c.width;
    EXPECT_EQ(bytes[25], 6);
    EXPECT_EQ(bytes[28], c.interlace);
    IxImage back;
    ASSERT_TRUE(DecodeBytes(back, bytes, IXIMAGE_FORMAT_PNG)) << c.width;
    EXPECT_EQ(bridgetest::PixelsTopDown(back, true), bridgetest::PixelsTopDown(src, true))
        << c.width << "x" << c.height << " interlace " << c.interlace;
  }
}

TEST(IxImagePNGEncode, TransparentIndexIsSwappedToZeroInTheCallersPictureToo) {
  IxImage src(4, 4, 8, 0);
  for (int i = 0; i < 256; ++i) src.SetPaletteColor(static_cast<uint8_t>(i), i, 255 - i, i / 2);
  bridgetest::Fill(src, [](int64_t x, int64_t top) { return static_cast<uint32_t>((x + top) % 9); });
  src.SetTransIndex(7);
  const std::vector<uint8_t> before = bridgetest::PixelsTopDown(src);
  const IxRGBQuad seven = src.GetPaletteColor(7);
  bool ok = false;
  const std::vector<uint8_t> bytes = EncodeBytes(src, IXIMAGE_FORMAT_PNG, &ok);
  ASSERT_TRUE(ok);
  EXPECT_EQ(src.GetTransIndex(), 0);
  EXPECT_EQ(src.GetPaletteColor(0).rgbRed, seven.rgbRed);
  EXPECT_EQ(bridgetest::PixelsTopDown(src), before);  // the look is unchanged
  const auto chunks = Chunks(bytes);
  ASSERT_NE(Find(chunks, "tRNS"), nullptr);
  EXPECT_EQ(Find(chunks, "tRNS")->data, std::vector<uint8_t>{0});
  IxImage back;
  ASSERT_TRUE(DecodeBytes(back, bytes, IXIMAGE_FORMAT_PNG));
  EXPECT_EQ(back.GetTransIndex(), 0);
  EXPECT_EQ(bridgetest::PixelsTopDown(back), before);
}

TEST(IxImagePNGEncode, PaletteIsCutToTheHighestIndexUsed) {
  IxImage src(20, 20, 8, 0);
  src.SetGrayPalette();
  bridgetest::Fill(src, [](int64_t x, int64_t top) { return static_cast<uint32_t>((x + top) % 10); });
  bool ok = false;
  const auto chunks = Chunks(EncodeBytes(src, IXIMAGE_FORMAT_PNG, &ok));
  ASSERT_TRUE(ok);
  ASSERT_NE(Find(chunks, "PLTE"), nullptr);
  EXPECT_EQ(Find(chunks, "PLTE")->data.size(), 30u);
}

TEST(IxImagePNGEncode, TransparentColourBecomesAnAlphaChannelLeavingTheCallerAlone) {
  IxImage src(6, 3, 24, 0);
  bridgetest::Fill(src, [](int64_t x, int64_t) { return x % 2 ? 0x00FF00u : 0x123456u; });
  src.SetTransColor(IxRGBQuad{0x00, 0xFF, 0x00, 0});
  src.SetTransIndex(0);
  bool ok = false;
  const std::vector<uint8_t> bytes = EncodeBytes(src, IXIMAGE_FORMAT_PNG, &ok);
  ASSERT_TRUE(ok);
  EXPECT_FALSE(src.AlphaIsValid());
  EXPECT_EQ(bytes[25], 6);
  IxImage back;
  ASSERT_TRUE(DecodeBytes(back, bytes, IXIMAGE_FORMAT_PNG));
  ASSERT_TRUE(back.AlphaIsValid());
  EXPECT_EQ(back.AlphaGet(1, 0), 0);
  EXPECT_EQ(back.AlphaGet(0, 0), 255);
}

TEST(IxImagePNGEncode, ShortWriteFailsAndEmptyImageIsRefused) {
  IxImage src(64, 64, 24, 0);
  bridgetest::Fill(src, [](int64_t x, int64_t top) { return static_cast<uint32_t>(x * 977 + top * 131071); });
  src.SetTransIndex(0);  // takes the path with a temporary alpha plane
  bridgetest::ShortWriteFile disk(100);
  EXPECT_FALSE(src.Encode(&disk, IXIMAGE_FORMAT_PNG));
  EXPECT_STREQ(src.GetLastError(), "Error saving PNG file");
  EXPECT_FALSE(src.AlphaIsValid());

  IxImage empty;
  bool ok = true;
  EncodeBytes(empty, IXIMAGE_FORMAT_PNG, &ok);
  EXPECT_FALSE(ok);
  EXPECT_STREQ(empty.GetLastError(), "null image!!!");
}

}  // namespace
