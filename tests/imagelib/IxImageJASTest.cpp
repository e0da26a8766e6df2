// The JPEG-2000 family class: JP2 and code-stream files and the PNM files of the Pillow suite
// against Pillow's reading, hand-made PGX, PNM and Sun raster files for precision, sign, frames
// and damage, and round trips through every format id it writes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "BridgeTestSupport.h"
#include "OracleProcess.h"
#include "imagelib/IxImageJAS.h"
#include "support/SharedData.h"
#include "support/TempDir.h"

namespace {

using bridgetest::DecodeBytes;
using bridgetest::EncodeBytes;

std::vector<uint8_t> Text(const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); }

std::vector<uint8_t> Join(std::vector<uint8_t> a, const std::vector<uint8_t>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TEST(IxImageJASFiles, EqualPillowOrAreRefused) {
  struct Folder {
    const char* path;
    uint32_t id;
  };
  // Pillow refuses these too (truncated boxes, missing data, zero height, an unknown mode).
  const std::set<std::string> refused = {
      "balloon_eciRGBv2_aware.jp2", "expected_to_read.jp2", "not_enough_data.jp2", "unbound_variable.jp2",
      "unknown_mode.j2k",           "zero_height.j2k",      "negative_size.ppm"};
  // More than 8 bits: we rescale to 8 bits, Pillow keeps (and clips) 16-bit values.
  const std::set<std::string> notCompared = {
      "16bit.cropped.j2k", "16bit.cropped.jp2",      "9bit.j2k",   "issue_6194.j2k", "16_bit_binary.pgm",
      "hopper_16bit.pgm",  "hopper_16bit_plain.pgm", "courB08.pbm"};
  int compared = 0;
  for (const Folder& f : {Folder{"testdata/pillow/jp2", IXIMAGE_FORMAT_JP2},
                          Folder{"testdata/pillow/pnm", IXIMAGE_FORMAT_PNM}}) {
    const std::vector<std::string> files = testsupport::SharedFiles(f.path);
    const auto oracle = imagetest::PillowDecodeAll(files);
    for (size_t i = 0; i < files.size(); ++i) {
      const std::string name = bridgetest::Name(files[i]);
      const std::vector<uint8_t> bytes = testsupport::ReadFileBytes(files[i]);
      IxImage img;
      const bool ok = DecodeBytes(img, bytes, f.id);
      if (refused.count(name) != 0) {
        EXPECT_FALSE(ok) << name;
        EXPECT_STREQ(img.GetLastError(), "error: cannot load image data") << name;
        continue;
      }
      if (name == "courB08.pbm") continue;  // a PNG under another name
      ASSERT_TRUE(ok) << name << ": " << img.GetLastError();
      EXPECT_EQ(img.GetType(), f.id) << name;
      IxImage detected;
      ASSERT_TRUE(DecodeBytes(detected, bytes, IXIMAGE_FORMAT_UNKNOWN)) << name;
      // Detection reports the format it found: a code stream without the box wrapper is JPC, a
      // Sun raster among the PNM files is RAS.
      auto endsWith = [&](const char* tail) {
        const size_t n = strlen(tail);
        return name.size() > n && name.compare(name.size() - n, n, tail) == 0;
      };
      const uint32_t found = endsWith(".j2k")   ? uint32_t{IXIMAGE_FORMAT_JPC}
                             : endsWith(".ras") ? uint32_t{IXIMAGE_FORMAT_RAS}
                                                : f.id;
      EXPECT_EQ(detected.GetType(), found) << name;
      if (notCompared.count(name) != 0 || !oracle[i].ok) continue;
      EXPECT_EQ(bridgetest::CountDifferences(img, oracle[i].width, oracle[i].height, oracle[i].rgb, 0, name),
                0)
          << name;
      ++compared;
    }
  }
  EXPECT_GE(compared, 15);

  // The Sun raster in red, green, blue order is the suite's picture, coded apart (a few levels
  // off here and there); blue and red swapped, it would be far off everywhere.
  IxImage ras, ppm;
  ASSERT_TRUE(
      ras.Load(testsupport::SharedPath("testdata/pillow/pnm/hopper.ras").c_str(), IXIMAGE_FORMAT_RAS));
  ASSERT_TRUE(
      ppm.Load(testsupport::SharedPath("testdata/pillow/pnm/hopper.ppm").c_str(), IXIMAGE_FORMAT_PNM));
  const std::vector<uint8_t> a = bridgetest::PixelsTopDown(ras), b = bridgetest::PixelsTopDown(ppm);
  ASSERT_EQ(a.size(), b.size());
  double off = 0;
  for (size_t i = 0; i < a.size(); ++i) off += std::abs(int{a[i]} - int{b[i]});
  EXPECT_LT(off / static_cast<double>(a.size()), 4.0);
}

TEST(IxImageJASDecode, GreyPgxIsOneEightBitFrameAndWidePrecisionIsRescaled) {
  IxImage eight;
  ASSERT_TRUE(DecodeBytes(eight, Join(Text("PG ML +8 3 1\n"), {0, 128, 255}), IXIMAGE_FORMAT_PGX));
  EXPECT_EQ(eight.GetBpp(), 8);
  EXPECT_EQ(eight.GetNumFrames(), 1);
  EXPECT_EQ(eight.GetPixelIndex(1, 0), 128);
  EXPECT_EQ(eight.GetType(), IXIMAGE_FORMAT_PGX);

  // 10 bits, little-endian, with a space after the sign: rescaled to 8 bits, grey on three channels.
  IxImage ten;
  ASSERT_TRUE(DecodeBytes(ten, Join(Text("PG LM + 10 2 1\n"), {0xFF, 0x03, 0x00, 0x02}), IXIMAGE_FORMAT_PGX));
  EXPECT_EQ(ten.GetBpp(), 24);
  EXPECT_EQ(ten.GetPixelColor(0, 0).rgbGreen, 255);
  EXPECT_EQ(ten.GetPixelColor(1, 0).rgbRed, 127);

  // Signed 4-bit samples: -8 .. 7 stay as their low bytes in a 4-bit frame.
  IxImage sgnd;
  ASSERT_TRUE(DecodeBytes(sgnd, Join(Text("PG ML -4 2 1\n"), {0x07, 0x0F}), IXIMAGE_FORMAT_PGX));
  EXPECT_EQ(sgnd.GetBpp(), 4);
  EXPECT_EQ(sgnd.GetPixelIndex(0, 0), 7);
  EXPECT_EQ(sgnd.GetPixelIndex(1, 0), 15);  // -1
}

// Runs OpenJPEG's own encoder (lossless, one resolution level for tiny pictures) on `input`,
// writing `output` (.jp2 or .j2k).
bool OpenJpegCompress(const std::string& input, const std::string& output) {
  std::vector<uint8_t> log;
  return imagetest::RunCapture("opj_compress -i " + imagetest::ShellQuote(input) + " -o " +
                                   imagetest::ShellQuote(output) + " -n 1 >/dev/null 2>&1",
                               log);
}

TEST(IxImageJASDecode, OpacityChannelBecomesTheAlphaPlane) {
  testsupport::TempDir dir;
  // 4 x 2 pixels with alpha, among them fully transparent and half-transparent ones.
  IxImage src(4, 2, 24, 0);
  bridgetest::Fill(
      src, [](int64_t x, int64_t top) { return static_cast<uint32_t>(0x3A1F07 * (x + 1) + 0x40 * top); });
  src.AlphaCreate();
  const uint8_t alpha[2][4] = {{0, 48, 128, 255}, {255, 1, 0, 200}};
  for (int top = 0; top < 2; ++top)
    for (int x = 0; x < 4; ++x) src.AlphaSet(x, 1 - top, alpha[top][x]);
  ASSERT_TRUE(src.Save(dir.file("rgba.png").c_str(), IXIMAGE_FORMAT_PNG)) << src.GetLastError();
  // The channel definition of a JP2 file marks the opacity; a bare code stream of four planes
  // is read as red, green, blue and opacity.
  for (const char* name : {"rgba.jp2", "rgba.j2k"}) {
    ASSERT_TRUE(OpenJpegCompress(dir.file("rgba.png"), dir.file(name))) << name;
    IxImage img;
    ASSERT_TRUE(img.Load(dir.file(name).c_str(), IXIMAGE_FORMAT_UNKNOWN))
        << name << ": " << img.GetLastError();
    EXPECT_EQ(img.GetBpp(), 24) << name;
    ASSERT_TRUE(img.AlphaIsValid()) << name;
    EXPECT_EQ(bridgetest::PixelsTopDown(img, true), bridgetest::PixelsTopDown(src, true)) << name;
  }

  // The same JP2 with its opacity marked as premultiplied (channel definition type 2): the
  // colour is divided by the alpha.
  std::vector<uint8_t> jp2 = testsupport::ReadFileBytes(dir.file("rgba.jp2"));
  const uint8_t cdef[4] = {'c', 'd', 'e', 'f'};
  const auto box = std::search(jp2.begin(), jp2.end(), cdef, cdef + 4);
  ASSERT_NE(box, jp2.end());
  // Count, then (channel, type, association) per channel; channel 3 is the opacity.
  const size_t typeLow = static_cast<size_t>(box - jp2.begin()) + 4 + 2 + 3 * 6 + 2 + 1;
  ASSERT_EQ(jp2[typeLow], 1);
  jp2[typeLow] = 2;
  IxImage premultiplied;
  ASSERT_TRUE(DecodeBytes(premultiplied, jp2, IXIMAGE_FORMAT_JP2)) << premultiplied.GetLastError();
  for (int top = 0; top < 2; ++top) {
    for (int x = 0; x < 4; ++x) {
      const int y = 1 - top;
      const uint32_t a = alpha[top][x];
      const IxRGBQuad stored = src.GetPixelColor(x, y), shown = premultiplied.GetPixelColor(x, y);
      auto divided = [a](uint32_t c) { return a == 0 ? c : std::min<uint32_t>(255, (c * 255 + a / 2) / a); };
      EXPECT_EQ(premultiplied.AlphaGet(x, y), a);
      EXPECT_EQ(shown.rgbRed, divided(stored.rgbRed)) << x << "," << top;
      EXPECT_EQ(shown.rgbBlue, divided(stored.rgbBlue)) << x << "," << top;
    }
  }

  // Grey with opacity (a grey and alpha PNG written by Pillow): one grey picture with its alpha.
  const std::string script = dir.write("graya.py",
                                       "import sys\n"
                                       "from PIL import Image\n"
                                       "im = Image.new('LA', (3, 1))\n"
                                       "im.putdata([(10, 0), (128, 77), (250, 255)])\n"
                                       "im.save(sys.argv[1])\n");
  std::vector<uint8_t> log;
  ASSERT_TRUE(imagetest::RunCapture(std::string(imagetest::kDebianPython) + " " + script + " " +
                                        imagetest::ShellQuote(dir.file("graya.png")),
                                    log));
  ASSERT_TRUE(OpenJpegCompress(dir.file("graya.png"), dir.file("graya.jp2")));
  IxImage grey;
  ASSERT_TRUE(grey.Load(dir.file("graya.jp2").c_str(), IXIMAGE_FORMAT_JP2)) << grey.GetLastError();
  EXPECT_EQ(grey.GetNumFrames(), 1);
  EXPECT_TRUE(grey.IsGrayScale());
  ASSERT_TRUE(grey.AlphaIsValid());
  const uint8_t greys[3] = {10, 128, 250}, alphas[3] = {0, 77, 255};
  for (int x = 0; x < 3; ++x) {
    EXPECT_EQ(grey.GetPixelIndex(x, 0), greys[x]) << x;
    EXPECT_EQ(grey.AlphaGet(x, 0), alphas[x]) << x;
  }
}

TEST(IxImageJASDecode, TwoComponentsAreTwoFrames) {
  // Two planes that no channel definition calls opacity.
  testsupport::TempDir dir;
  std::string pam = "P7\nWIDTH 3\nHEIGHT 2\nDEPTH 2\nMAXVAL 255\nTUPLTYPE GRAYSCALE_ALPHA\nENDHDR\n";
  for (int i = 0; i < 6; ++i) pam += {static_cast<char>(40 * i), static_cast<char>(255 - 30 * i)};
  ASSERT_TRUE(OpenJpegCompress(dir.write("two.pam", pam), dir.file("two.j2k")));
  const std::vector<uint8_t> bytes = testsupport::ReadFileBytes(dir.file("two.j2k"));
  IxImage first, second, third;
  ASSERT_TRUE(DecodeBytes(first, bytes, IXIMAGE_FORMAT_JPC));
  EXPECT_EQ(first.GetNumFrames(), 2);
  EXPECT_FALSE(first.AlphaIsValid());
  EXPECT_EQ(first.GetPixelIndex(2, 0), 200);
  second.SetFrame(1);
  ASSERT_TRUE(DecodeBytes(second, bytes, IXIMAGE_FORMAT_JPC));
  EXPECT_TRUE(second.IsGrayScale());
  EXPECT_EQ(second.GetPixelIndex(2, 0), 105);
  third.SetFrame(2);
  EXPECT_FALSE(DecodeBytes(third, bytes, IXIMAGE_FORMAT_JPC));
  EXPECT_STREQ(third.GetLastError(), "wrong frame!");
  EXPECT_EQ(third.GetNumFrames(), 2);
}

TEST(IxImageJASDecode, SunRasterLayouts) {
  auto header = [](uint32_t w, uint32_t h, uint32_t depth, uint32_t type, uint32_t mapType,
                   uint32_t mapLength) {
    std::vector<uint8_t> v;
    for (uint32_t x : {0x59A66A95u, w, h, depth, 0u, type, mapType, mapLength}) {
      for (int i = 3; i >= 0; --i) v.push_back(static_cast<uint8_t>(x >> (8 * i)));
    }
    return v;
  };
  // Colour pixels are blue, green, red in old and standard files and red, green, blue in the RGB
  // type (type 3); 32-bit pixels lead with a pad byte.
  struct Colour {
    uint32_t depth, type;
    std::vector<uint8_t> pixel;
  };
  for (const Colour& c : {Colour{32, 1, {0, 10, 20, 30}}, Colour{24, 0, {10, 20, 30, 0}},
                          Colour{32, 3, {0, 30, 20, 10}}, Colour{24, 3, {30, 20, 10, 0}}}) {
    IxImage colour;
    ASSERT_TRUE(DecodeBytes(colour, Join(header(1, 1, c.depth, c.type, 0, 0), c.pixel), IXIMAGE_FORMAT_RAS))
        << c.depth << " type " << c.type;
    EXPECT_EQ(colour.GetBpp(), 24);
    EXPECT_EQ(colour.GetPixelColor(0, 0).rgbRed, 30) << c.depth << " type " << c.type;
    EXPECT_EQ(colour.GetPixelColor(0, 0).rgbGreen, 20) << c.depth << " type " << c.type;
    EXPECT_EQ(colour.GetPixelColor(0, 0).rgbBlue, 10) << c.depth << " type " << c.type;
  }
  // An 8-bit file with a colour map: the map is checked, then the indices show as grey.
  std::vector<uint8_t> mapped = header(3, 1, 8, 1, 1, 6);
  mapped = Join(mapped, {1, 2, 3, 4, 5, 6, 1, 0, 1, 0});
  IxImage grey;
  ASSERT_TRUE(DecodeBytes(grey, mapped, IXIMAGE_FORMAT_RAS)) << grey.GetLastError();
  EXPECT_EQ(grey.GetPixelIndex(0, 0), 1);
  EXPECT_TRUE(grey.IsGrayScale());
  for (const std::vector<uint8_t>& bad : {header(1, 1, 8, 2, 0, 0), header(1, 1, 8, 1, 1, 4),
                                          header(0, 1, 8, 1, 0, 0), header(4, 4, 24, 1, 0, 0)}) {
    IxImage img;
    EXPECT_FALSE(DecodeBytes(img, Join(bad, {1, 2}), IXIMAGE_FORMAT_RAS));
    EXPECT_STREQ(img.GetLastError(), "error: cannot load image data");
  }
}

TEST(IxImageJASDecode, DamagedPnmAndPgxAreRefused) {
  for (const std::string& bad :
       {std::string("P5 4 4 255\n12"), std::string("P2 2 1 255 7"), std::string("P5 -3 4 255\n"),
        std::string("P6 100000 100000 255\n"), std::string("P7 1 1 1\n"), std::string("PG ML +17 1 1\n"),
        std::string("PG XX +8 1 1\n1"), std::string("P1 2 2 0 1 2 0")}) {
    IxImage img;
    EXPECT_FALSE(DecodeBytes(img, Text(bad), IXIMAGE_FORMAT_PNM)) << bad;
    EXPECT_STREQ(img.GetLastError(), "error: cannot load image data") << bad;
  }
}

TEST(IxImageJASEncode, EveryFormatRoundTrips) {
  IxImage colour(19, 11, 24, 0);
  bridgetest::Fill(
      colour, [](int64_t x, int64_t top) { return static_cast<uint32_t>(x * 0x0D0B07 + top * 0x110305); });
  colour.SetJpegQuality(100);
  IxImage grey(19, 11, 8, 0);
  grey.SetGrayPalette();
  bridgetest::Fill(grey, [](int64_t x, int64_t top) { return static_cast<uint32_t>(x * 13 + top * 7); });
  grey.SetJpegQuality(100);
  for (uint32_t id = IXIMAGE_FORMAT_JP2; id <= IXIMAGE_FORMAT_RAS; ++id) {
    for (IxImage* src : {&colour, &grey}) {
      if (id == IXIMAGE_FORMAT_PGX && src == &colour) continue;
      bool ok = false;
      const std::vector<uint8_t> bytes = EncodeBytes(*src, id, &ok);
      ASSERT_TRUE(ok) << id << ": " << src->GetLastError();
      IxImage back;
      ASSERT_TRUE(DecodeBytes(back, bytes, id)) << id << ": " << back.GetLastError();
      EXPECT_EQ(back.GetType(), id);
      EXPECT_EQ(back.GetBpp(), src->GetBpp()) << id;
      EXPECT_EQ(bridgetest::PixelsTopDown(back), bridgetest::PixelsTopDown(*src)) << id;
    }
  }
  bool ok = false;
  const std::vector<uint8_t> pgx = EncodeBytes(grey, IXIMAGE_FORMAT_PGX, &ok);
  EXPECT_EQ(std::string(pgx.begin(), pgx.begin() + 16), "PG ML + 8 19 11\n");
}

TEST(IxImageJASEncode, RefusalsAndRate) {
  IxImage colour(64, 64, 24, 0);
  bridgetest::Fill(colour, [](int64_t x, int64_t top) {
    return static_cast<uint32_t>((x * 977 + top * 131) * 2654435761u);
  });
  bool ok = true;
  EncodeBytes(colour, IXIMAGE_FORMAT_PGX, &ok);
  EXPECT_FALSE(ok);
  EXPECT_STREQ(colour.GetLastError(), "PGX can save only GrayScale images");

  IxImage palette(4, 4, 4, 0);
  palette.SetPaletteColor(1, 255, 0, 0);
  EncodeBytes(palette, IXIMAGE_FORMAT_JP2, &ok);
  EXPECT_FALSE(ok);
  EXPECT_STREQ(palette.GetLastError(), "JasPer can save only RGB or GrayScale images");

  // Quality 50 asks for half the raw size at most.
  colour.SetJpegQuality(50);
  const std::vector<uint8_t> half = EncodeBytes(colour, IXIMAGE_FORMAT_JP2, &ok);
  ASSERT_TRUE(ok);
  EXPECT_LT(half.size(), 64u * 64 * 3 / 2 + 400);
  colour.SetJpegQuality(100);
  const std::vector<uint8_t> lossless = EncodeBytes(colour, IXIMAGE_FORMAT_JP2, &ok);
  ASSERT_TRUE(ok);
  EXPECT_GT(lossless.size(), half.size());

  bridgetest::ShortWriteFile disk(50);
  EXPECT_FALSE(colour.Encode(&disk, IXIMAGE_FORMAT_RAS));
  EXPECT_STREQ(colour.GetLastError(), "error: cannot encode image\n");
}

}  // namespace
