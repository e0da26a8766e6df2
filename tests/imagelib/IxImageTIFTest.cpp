// The TIFF bridge against Pillow's reading of the TIFF suite, every orientation on both reading
// paths, strips and tiles that end past the picture, resolution units, pages, and the encoder's
// choice of photometric, compression and page tags (read back with libtiff).
#include <gtest/gtest.h>
#include <tiffio.h>

#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "BridgeTestSupport.h"
#include "OracleProcess.h"
#include "imagelib/IxImageTIF.h"
#include "imagelib/IxMemFile.h"
#include "support/SharedData.h"
#include "support/TempDir.h"

namespace {

using bridgetest::DecodeBytes;
using bridgetest::EncodeBytes;

const char* kSuite = "testdata/pillow/tiff";

std::vector<uint8_t> FileBytes(const std::string& path) { return testsupport::ReadFileBytes(path); }

TEST(IxImageTIFSuite, FilesEqualPillowOrAreRefused) {
  // Valid sample layouts neither path can show are named; damaged files are refused otherwise.
  const std::map<std::string, std::string> refused = {
      {"10ct_32bit_128.tiff", "Unsupported TIFF format: 32-bit floating-point min-is-white samples"},
      {"12bit.cropped.tif", "Unsupported TIFF format: 12-bit min-is-black samples"},
      {"16_bit_binary_pgm.tiff", "Unsupported TIFF format: 32-bit signed min-is-black samples"},
      {"hopper_unknown_pixel_mode.tif", "Unsupported TIFF format: 32-bit RGB samples"},
      {"tiff_strip_cmyk_16l_jpeg.tif", "Unsupported TIFF format: 16-bit CMYK samples"},
      {"libtiff_segfault.tif", ""},
      {"oom-225817ca0f8c663be7ab4b9e717b02c661e66834.tif", ""},
      {"seek_too_large.tif", ""}};
  // Pillow clips 16-bit grey where we keep the high byte; alpha files are premultiplied by one
  // reader and not the other; Pillow converts CIELab its own way.
  const std::set<std::string> notCompared = {"12in16bit.tif",
                                             "16_bit_noise.tif",
                                             "16bit.MM.cropped.tif",
                                             "16bit.MM.deflate.tif",
                                             "16bit.cropped.tif",
                                             "16bit.deflate.tif",
                                             "16bit.r.tif",
                                             "16bit.s.tif",
                                             "cmx3g8_wv_1998.260_0745_mcidas.tiff",
                                             "ifd_tag_type.tiff",
                                             "imagedraw_rectangle_I.tiff",
                                             "uint16_1_4660.tif",
                                             "pil136.tiff",
                                             "tiff_wrong_bits_per_sample.tiff",
                                             "tiff_16bit_RGBa.tiff",
                                             "tiff_strip_planar_16bit_RGBa.tiff",
                                             "tiff_tiled_planar_16bit_RGBa.tiff",
                                             "hopper.Lab.tif"};
  const std::vector<std::string> files = testsupport::SharedFiles(kSuite);
  ASSERT_GE(files.size(), 90u);
  const auto oracle = imagetest::PillowDecodeAll(files);
  int compared = 0;
  for (size_t i = 0; i < files.size(); ++i) {
    const std::string name = bridgetest::Name(files[i]);
    IxImage img;
    const bool ok = img.Load(files[i].c_str(), IXIMAGE_FORMAT_TIF);
    if (const auto r = refused.find(name); r != refused.end()) {
      EXPECT_FALSE(ok) << name;
      if (r->second.empty()) {
        EXPECT_STRNE(img.GetLastError(), "") << name;
        EXPECT_EQ(std::string(img.GetLastError()).rfind("Unsupported", 0), std::string::npos) << name;
      } else {
        EXPECT_EQ(img.GetLastError(), r->second);
      }
      continue;
    }
    ASSERT_TRUE(ok) << name << ": " << img.GetLastError();
    EXPECT_EQ(img.GetType(), IXIMAGE_FORMAT_TIF) << name;
    if (notCompared.count(name) != 0 || !oracle[i].ok) continue;
    // 16-bit colour maps are scaled by 255/65535 and CMYK goes through libtiff: one step apart.
    EXPECT_EQ(bridgetest::CountDifferences(img, oracle[i].width, oracle[i].height, oracle[i].rgb, 2, name), 0)
        << name;
    ++compared;
  }
  EXPECT_GE(compared, 60);
}

TEST(IxImageTIFSuite, SixteenBitGreyKeepsTheHighByte) {
  IxImage img;
  ASSERT_TRUE(img.Load(testsupport::SharedPath(std::string(kSuite) + "/16bit.cropped.tif").c_str(), 0));
  TIFF* tif = TIFFOpen(testsupport::SharedPath(std::string(kSuite) + "/16bit.cropped.tif").c_str(), "r");
  ASSERT_NE(tif, nullptr);
  std::vector<uint16_t> line(TIFFScanlineSize(tif) / 2 + 1);
  ASSERT_EQ(TIFFReadScanline(tif, line.data(), 5, 0), 1);
  TIFFClose(tif);
  for (int x = 0; x < 10; ++x) EXPECT_EQ(img.GetPixelIndex(x, img.GetHeight() - 1 - 5), line[x] >> 8) << x;
}

// Writes with Pillow the upright 11 x 6 picture `mode` ("RGB" or "L") stored for each of the
// eight orientations, as orient<N>.tif, and the upright one as upright.tif.
void WriteOrientedFixtures(const testsupport::TempDir& dir, const std::string& mode) {
  const std::string script =
      dir.write("orient.py",
                "import sys\n"
                "from PIL import Image\n"
                "d, mode = sys.argv[1], sys.argv[2]\n"
                "up = Image.new('RGB', (11, 6))\n"
                "up.putdata([((x * 23) % 256, (y * 40) % 256, (x * y * 7) % 256) for y in range(6) for x in "
                "range(11)])\n"
                "up = up.convert(mode)\n"
                "up.save(d + '/upright.tif', compression='raw')\n"
                "undo = {1: None, 2: Image.FLIP_LEFT_RIGHT, 3: Image.ROTATE_180, 4: Image.FLIP_TOP_BOTTOM,\n"
                "        5: Image.TRANSPOSE, 6: Image.ROTATE_90, 7: Image.TRANSVERSE, 8: Image.ROTATE_270}\n"
                "for n, t in undo.items():\n"
                "    stored = up if t is None else up.transpose(t)\n"
                "    stored.save('%s/orient%d.tif' % (d, n), compression='raw', tiffinfo={274: n})\n");
  ASSERT_EQ(system((std::string(imagetest::kDebianPython) + " " + script + " " + dir.path() + " " + mode +
                    " 2>/dev/null")
                       .c_str()),
            0);
}

TEST(IxImageTIFDecode, EveryOrientationLoadsUprightOnBothPaths) {
  // 8-bit RGB and grey are read as stored, CMYK through the RGBA reader.
  for (const std::string mode : {"RGB", "L", "CMYK"}) {
    testsupport::TempDir dir;
    WriteOrientedFixtures(dir, mode);
    IxImage upright;
    ASSERT_TRUE(upright.Load(dir.file("upright.tif").c_str(), IXIMAGE_FORMAT_TIF));
    ASSERT_EQ(upright.GetWidth(), 11u);
    for (int n = 1; n <= 8; ++n) {
      IxImage img;
      ASSERT_TRUE(img.Load(dir.file("orient" + std::to_string(n) + ".tif").c_str(), IXIMAGE_FORMAT_TIF))
          << mode << " " << n;
      EXPECT_EQ(img.GetBpp(), upright.GetBpp());
      EXPECT_TRUE(bridgetest::PixelsTopDown(img) == bridgetest::PixelsTopDown(upright))
          << mode << " orientation " << n << " " << img.GetWidth() << "x" << img.GetHeight();
    }
  }
}

// An 8-bit palette TIFF of w x h written with libtiff, striped or tiled; pixel (x, top) = (x + 3 top) % 256.
std::vector<uint8_t> PaletteTiff(uint32_t w, uint32_t h, uint32_t rowsPerStrip, uint32_t tile) {
  IxMemFile mem;
  mem.Open();
  TIFF* tif = TiffOpenOverIxFile(&mem, "w");
  TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, w);
  TIFFSetField(tif, TIFFTAG_IMAGELENGTH, h);
  TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8);
  TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 1);
  TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_PALETTE);
  TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
  std::vector<uint16_t> map(768);
  for (int i = 0; i < 256; ++i) {
    map[i] = static_cast<uint16_t>(i * 257);
    map[256 + i] = static_cast<uint16_t>((255 - i) * 257);
    map[512 + i] = static_cast<uint16_t>((i / 2) * 257);
  }
  TIFFSetField(tif, TIFFTAG_COLORMAP, map.data(), map.data() + 256, map.data() + 512);
  auto value = [](uint32_t x, uint32_t top) { return static_cast<uint8_t>((x + 3 * top) % 256); };
  if (tile != 0) {
    TIFFSetField(tif, TIFFTAG_TILEWIDTH, tile);
    TIFFSetField(tif, TIFFTAG_TILELENGTH, tile);
    std::vector<uint8_t> buf(tile * tile);
    for (uint32_t ty = 0; ty < h; ty += tile) {
      for (uint32_t tx = 0; tx < w; tx += tile) {
        for (uint32_t r = 0; r < tile; ++r) {
          for (uint32_t c = 0; c < tile; ++c) buf[r * tile + c] = value(tx + c, ty + r);
        }
        TIFFWriteTile(tif, buf.data(), tx, ty, 0, 0);
      }
    }
  } else {
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, rowsPerStrip);
    std::vector<uint8_t> line(w);
    for (uint32_t top = 0; top < h; ++top) {
      for (uint32_t x = 0; x < w; ++x) line[x] = value(x, top);
      TIFFWriteScanline(tif, line.data(), top, 0);
    }
  }
  TIFFClose(tif);
  const uint8_t* b = mem.GetBuffer(false);
  return std::vector<uint8_t>(b, b + mem.Size());
}

TEST(IxImageTIFDecode, StripsAndTilesThatEndPastThePictureAreCut) {
  struct Case {
    uint32_t w, h, rowsPerStrip, tile;
  };
  for (const Case& c : {Case{20, 10, 4, 0}, Case{20, 20, 0, 16}, Case{33, 17, 0, 16}}) {
    IxImage img;
    ASSERT_TRUE(DecodeBytes(img, PaletteTiff(c.w, c.h, c.rowsPerStrip, c.tile), IXIMAGE_FORMAT_TIF))
        << c.w << "x" << c.h << ": " << img.GetLastError();
    ASSERT_EQ(img.GetWidth(), c.w);
    ASSERT_EQ(img.GetHeight(), c.h);
    EXPECT_EQ(img.GetBpp(), 8);
    for (uint32_t top = 0; top < c.h; ++top) {
      for (uint32_t x = 0; x < c.w; ++x) {
        ASSERT_EQ(img.GetPixelIndex(x, c.h - 1 - top), (x + 3 * top) % 256)
            << c.w << "x" << c.h << " " << x << "," << top;
      }
    }
    EXPECT_EQ(img.GetPaletteColor(10).rgbGreen, 245);
  }
}

TEST(IxImageTIFDecode, ResolutionPerCentimetreAndDimensionsOnly) {
  IxMemFile mem;
  mem.Open();
  TIFF* tif = TiffOpenOverIxFile(&mem, "w");
  TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, 3);
  TIFFSetField(tif, TIFFTAG_IMAGELENGTH, 2);
  TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8);
  TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK);
  TIFFSetField(tif, TIFFTAG_RESOLUTIONUNIT, RESUNIT_CENTIMETER);
  TIFFSetField(tif, TIFFTAG_XRESOLUTION, 118.11f);
  TIFFSetField(tif, TIFFTAG_YRESOLUTION, 118.11f);
  uint8_t line[3] = {0, 128, 255};
  TIFFWriteScanline(tif, line, 0, 0);
  TIFFWriteScanline(tif, line, 1, 0);
  TIFFClose(tif);
  const std::vector<uint8_t> bytes(mem.GetBuffer(false), mem.GetBuffer(false) + mem.Size());
  IxImage img;
  ASSERT_TRUE(DecodeBytes(img, bytes, IXIMAGE_FORMAT_TIF));
  EXPECT_EQ(img.GetXDPI(), 300);
  EXPECT_EQ(img.GetYDPI(), 300);
  EXPECT_TRUE(img.IsGrayScale());

  IxImage dims;
  dims.SetEscape(-1);
  EXPECT_TRUE(DecodeBytes(dims, bytes, IXIMAGE_FORMAT_TIF));
  EXPECT_FALSE(dims.IsValid());
  EXPECT_EQ(dims.GetWidth(), 3u);
  EXPECT_STREQ(dims.GetLastError(), "output dimensions returned");
}

// A one-row TIFF written with libtiff: `pixels` holds the samples of every pixel, each of
// `bits` (8, 12, 16 or 32) bits, interleaved or, with `planar`, plane after plane.
struct SampleTiff {
  uint16_t bits = 8, samples = 3, photometric = PHOTOMETRIC_RGB, format = SAMPLEFORMAT_UINT;
  uint16_t extra = 0;  // type of the one extra sample, with `hasExtra`
  bool hasExtra = false, planar = false;
};

std::vector<uint8_t> WriteSampleTiff(const SampleTiff& t, const std::vector<uint32_t>& pixels) {
  const uint32_t width = static_cast<uint32_t>(pixels.size() / t.samples);
  IxMemFile mem;
  mem.Open();
  TIFF* tif = TiffOpenOverIxFile(&mem, "w");
  TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, width);
  TIFFSetField(tif, TIFFTAG_IMAGELENGTH, 1);
  TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, t.bits);
  TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, t.samples);
  TIFFSetField(tif, TIFFTAG_SAMPLEFORMAT, t.format);
  TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, t.photometric);
  TIFFSetField(tif, TIFFTAG_PLANARCONFIG, t.planar ? PLANARCONFIG_SEPARATE : PLANARCONFIG_CONTIG);
  TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, 1);
  if (t.hasExtra) TIFFSetField(tif, TIFFTAG_EXTRASAMPLES, 1, &t.extra);
  // Packed big-endian bits serve every depth; libtiff swaps 16 and 32-bit samples to host order
  // only when reading, and the file is written in host order, so those are written natively.
  auto pack = [&](const std::vector<uint32_t>& values) {
    std::vector<uint8_t> out((values.size() * t.bits + 7) / 8 + 4, 0);
    for (size_t i = 0; i < values.size(); ++i) {
      if (t.bits == 16) {
        const uint16_t v = static_cast<uint16_t>(values[i]);
        memcpy(&out[2 * i], &v, 2);
      } else if (t.bits == 32) {
        memcpy(&out[4 * i], &values[i], 4);
      } else {
        for (uint32_t b = 0; b < t.bits; ++b) {
          if ((values[i] >> (t.bits - 1 - b)) & 1) {
            const size_t at = i * t.bits + b;
            out[at / 8] |= static_cast<uint8_t>(0x80 >> (at % 8));
          }
        }
      }
    }
    return out;
  };
  if (t.planar) {
    for (uint16_t s = 0; s < t.samples; ++s) {
      std::vector<uint32_t> plane;
      for (uint32_t x = 0; x < width; ++x) plane.push_back(pixels[x * t.samples + s]);
      std::vector<uint8_t> line = pack(plane);
      TIFFWriteScanline(tif, line.data(), 0, s);
    }
  } else {
    std::vector<uint8_t> line = pack(pixels);
    TIFFWriteScanline(tif, line.data(), 0, 0);
  }
  TIFFClose(tif);
  return std::vector<uint8_t>(mem.GetBuffer(false), mem.GetBuffer(false) + mem.Size());
}

TEST(IxImageTIFDecode, AssociatedAlphaIsDividedOutOfTheColour) {
  // Colour as the picture shows it, with its alpha; the file stores it multiplied by alpha when
  // the alpha is associated, as it is otherwise.
  struct Pixel {
    uint32_t r, g, b, a;
  };
  const Pixel shown[] = {{201, 185, 154, 48}, {10, 250, 128, 255}, {0, 0, 0, 0}, {255, 2, 90, 200}};
  struct Case {
    uint16_t bits;
    uint16_t extra;
    bool planar;    // planar files go through libtiff's RGBA reader
    int tolerance;  // 8-bit products lose a little of the colour
  };
  const Case cases[] = {
      {8, EXTRASAMPLE_ASSOCALPHA, false, 1}, {16, EXTRASAMPLE_ASSOCALPHA, false, 0},
      {8, EXTRASAMPLE_UNASSALPHA, false, 0}, {16, EXTRASAMPLE_UNASSALPHA, false, 0},
      {8, EXTRASAMPLE_ASSOCALPHA, true, 1},  {16, EXTRASAMPLE_ASSOCALPHA, true, 2},
      {8, EXTRASAMPLE_UNASSALPHA, true, 2},
  };
  for (const Case& c : cases) {
    const uint32_t top = c.bits == 16 ? 65535 : 255;
    const uint32_t scale = c.bits == 16 ? 257 : 1;
    std::vector<uint32_t> samples;
    for (const Pixel& p : shown) {
      const uint32_t a = p.a * scale;
      for (uint32_t v : {p.r, p.g, p.b}) {
        const uint32_t full = v * scale;
        samples.push_back(c.extra == EXTRASAMPLE_ASSOCALPHA ? (full * a + top / 2) / top : full);
      }
      samples.push_back(a);
    }
    SampleTiff t;
    t.bits = c.bits;
    t.samples = 4;
    t.hasExtra = true;
    t.extra = c.extra;
    t.planar = c.planar;
    IxImage img;
    const std::string what = std::to_string(c.bits) + "-bit " +
                             (c.extra == EXTRASAMPLE_ASSOCALPHA ? "associated" : "unassociated") +
                             (c.planar ? " planar" : "");
    ASSERT_TRUE(DecodeBytes(img, WriteSampleTiff(t, samples), IXIMAGE_FORMAT_TIF))
        << what << ": " << img.GetLastError();
    ASSERT_TRUE(img.AlphaIsValid()) << what;
    for (int x = 0; x < 4; ++x) {
      const IxRGBQuad q = img.GetPixelColor(x, 0);
      const Pixel& p = shown[x];
      EXPECT_EQ(img.AlphaGet(x, 0), p.a) << what << " pixel " << x;
      if (p.a == 0) continue;  // no colour is left to recover
      EXPECT_NEAR(q.rgbRed, p.r, c.tolerance) << what << " pixel " << x;
      EXPECT_NEAR(q.rgbGreen, p.g, c.tolerance) << what << " pixel " << x;
      EXPECT_NEAR(q.rgbBlue, p.b, c.tolerance) << what << " pixel " << x;
    }
  }

  // Grey with associated alpha: grey 100 at alpha 51 is stored as 20.
  SampleTiff grey;
  grey.samples = 2;
  grey.photometric = PHOTOMETRIC_MINISBLACK;
  grey.hasExtra = true;
  grey.extra = EXTRASAMPLE_ASSOCALPHA;
  IxImage img;
  ASSERT_TRUE(DecodeBytes(img, WriteSampleTiff(grey, {20, 51, 7, 255}), IXIMAGE_FORMAT_TIF))
      << img.GetLastError();
  EXPECT_EQ(img.GetPixelIndex(0, 0), 100);
  EXPECT_EQ(img.GetPixelIndex(1, 0), 7);
  EXPECT_EQ(img.AlphaGet(0, 0), 51);
}

TEST(IxImageTIFDecode, ValidLayoutsNeitherPathReadsAreNamedNotCalledCorrupt) {
  struct Case {
    SampleTiff t;
    const char* text;
  };
  SampleTiff twelve;
  twelve.bits = 12;
  SampleTiff wideGrey;
  wideGrey.bits = 32;
  wideGrey.samples = 1;
  wideGrey.photometric = PHOTOMETRIC_MINISBLACK;
  SampleTiff floatGrey = wideGrey;
  floatGrey.format = SAMPLEFORMAT_IEEEFP;
  SampleTiff cmyk;
  cmyk.bits = 16;
  cmyk.samples = 4;
  cmyk.photometric = PHOTOMETRIC_SEPARATED;
  const Case cases[] = {
      {twelve, "Unsupported TIFF format: 12-bit RGB samples"},
      {wideGrey, "Unsupported TIFF format: 32-bit min-is-black samples"},
      {floatGrey, "Unsupported TIFF format: 32-bit floating-point min-is-black samples"},
      {cmyk, "Unsupported TIFF format: 16-bit CMYK samples"},
  };
  for (const Case& c : cases) {
    std::vector<uint32_t> samples(2u * c.t.samples, 7);
    IxImage img;
    EXPECT_FALSE(DecodeBytes(img, WriteSampleTiff(c.t, samples), IXIMAGE_FORMAT_TIF)) << c.text;
    EXPECT_STREQ(img.GetLastError(), c.text);
  }
}

struct TagView {
  uint16_t compression = 0, photometric = 0, samples = 0, bits = 0;
  uint32_t subfile = 0;
  uint16_t page = 0, pages = 0;
  std::string name;
  int quality = -1;
};

// The tags of every page of a TIFF in memory, read with libtiff.
std::vector<TagView> Pages(std::vector<uint8_t> bytes) {
  std::vector<TagView> out;
  IxMemFile mem(bytes.data(), bytes.size());
  TIFF* tif = TiffOpenOverIxFile(&mem, "r");
  if (tif == nullptr) return out;
  do {
    TagView t;
    TIFFGetField(tif, TIFFTAG_COMPRESSION, &t.compression);
    TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &t.photometric);
    TIFFGetField(tif, TIFFTAG_SAMPLESPERPIXEL, &t.samples);
    TIFFGetField(tif, TIFFTAG_BITSPERSAMPLE, &t.bits);
    TIFFGetField(tif, TIFFTAG_SUBFILETYPE, &t.subfile);
    TIFFGetField(tif, TIFFTAG_PAGENUMBER, &t.page, &t.pages);
    char* name = nullptr;
    if (TIFFGetField(tif, TIFFTAG_PAGENAME, &name) && name != nullptr) t.name = name;
    out.push_back(t);
  } while (TIFFReadDirectory(tif));
  TIFFClose(tif);
  return out;
}

TEST(IxImageTIFEncode, PhotometricAndCompressionFollowThePicture) {
  IxImage colour(17, 9, 24, 0);
  bridgetest::Fill(
      colour, [](int64_t x, int64_t top) { return static_cast<uint32_t>(x * 0x0F0E0D + top * 0x100000); });
  colour.SetJpegQuality(60);
  IxImage mono(17, 9, 1, 0);
  mono.SetGrayPalette();
  bridgetest::Fill(mono, [](int64_t x, int64_t top) { return static_cast<uint32_t>((x ^ top) & 1); });
  IxImage ramp(17, 9, 4, 0);
  for (uint8_t i = 0; i < 16; ++i) ramp.SetPaletteColor(i, 17 * i, 17 * i, 17 * i);
  bridgetest::Fill(ramp, [](int64_t x, int64_t top) { return static_cast<uint32_t>((x + top) % 16); });
  IxImage palette(17, 9, 8, 0);
  for (int i = 0; i < 256; ++i) palette.SetPaletteColor(static_cast<uint8_t>(i), i, 0, 255 - i);
  bridgetest::Fill(palette, [](int64_t x, int64_t top) { return static_cast<uint32_t>(x * 9 + top); });

  struct Case {
    IxImage* img;
    uint16_t compression, photometric;
    bool exact;
  };
  const Case cases[] = {
      {&colour, COMPRESSION_JPEG, PHOTOMETRIC_RGB, false},
      {&mono, COMPRESSION_CCITTFAX4, PHOTOMETRIC_MINISWHITE, true},
      {&ramp, COMPRESSION_LZW, PHOTOMETRIC_MINISBLACK, true},
      {&palette, COMPRESSION_LZW, PHOTOMETRIC_PALETTE, true},
  };
  for (const Case& c : cases) {
    const std::vector<uint8_t> look = bridgetest::PixelsTopDown(*c.img);
    bool ok = false;
    const std::vector<uint8_t> bytes = EncodeBytes(*c.img, IXIMAGE_FORMAT_TIF, &ok);
    ASSERT_TRUE(ok) << c.img->GetBpp() << ": " << c.img->GetLastError();
    const std::vector<TagView> pages = Pages(bytes);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(pages[0].compression, c.compression) << c.img->GetBpp();
    EXPECT_EQ(pages[0].photometric, c.photometric) << c.img->GetBpp();
    EXPECT_EQ(pages[0].subfile, 0u);
    IxImage back;
    ASSERT_TRUE(DecodeBytes(back, bytes, IXIMAGE_FORMAT_TIF)) << back.GetLastError();
    EXPECT_EQ(back.GetBpp(), c.img->GetBpp());
    // The 1-bit picture was swapped to min-is-white in the caller too, keeping its look.
    EXPECT_EQ(bridgetest::PixelsTopDown(*c.img), look);
    if (c.exact) {
      EXPECT_EQ(bridgetest::PixelsTopDown(back), look) << c.img->GetBpp();
    } else {
      EXPECT_LT(bridgetest::CountDifferences(back, 17, 9, look, 40, "jpeg"), 10);
    }
  }
  EXPECT_EQ(mono.GetPaletteColor(0).rgbRed, 255);
}

TEST(IxImageTIFEncode, AlphaAndGreyAlphaRoundTripLosslessly) {
  IxImage rgba(6, 5, 24, 0);
  bridgetest::Fill(
      rgba, [](int64_t x, int64_t top) { return static_cast<uint32_t>(x * 0x2A0B01 + top * 0x000F30); });
  rgba.AlphaCreate();
  rgba.AlphaSet(2, 3, 17);
  rgba.SetCodecOption(COMPRESSION_LZW, IXIMAGE_FORMAT_TIF);
  IxImage greyAlpha(6, 5, 8, 0);
  greyAlpha.SetGrayPalette();
  bridgetest::Fill(greyAlpha, [](int64_t x, int64_t top) { return static_cast<uint32_t>(x * 40 + top); });
  greyAlpha.AlphaCreate();
  greyAlpha.AlphaSet(1, 1, 99);
  for (IxImage* src : {&rgba, &greyAlpha}) {
    bool ok = false;
    const std::vector<uint8_t> bytes = EncodeBytes(*src, IXIMAGE_FORMAT_TIF, &ok);
    ASSERT_TRUE(ok) << src->GetLastError();
    IxImage back;
    ASSERT_TRUE(DecodeBytes(back, bytes, IXIMAGE_FORMAT_TIF)) << back.GetLastError();
    EXPECT_EQ(bridgetest::PixelsTopDown(back, true), bridgetest::PixelsTopDown(*src, true)) << src->GetBpp();
  }
}

TEST(IxImageTIFEncode, AppendedPagesAreNumberedAndNamed) {
  IxImage src(8, 8, 8, 0);
  src.SetGrayPalette();
  IxMemFile mem;
  mem.Open();
  IxImageTIF writer;
  writer.Ghost(&src);
  for (int n = 0; n < 3; ++n) ASSERT_TRUE(writer.Encode(&mem, true)) << writer.GetLastError();
  ASSERT_TRUE(writer.Encode(&mem, false)) << writer.GetLastError();
  const std::vector<uint8_t> bytes(mem.GetBuffer(false), mem.GetBuffer(false) + mem.Size());
  const std::vector<TagView> pages = Pages(bytes);
  ASSERT_EQ(pages.size(), 4u);
  for (int n = 0; n < 4; ++n) {
    EXPECT_EQ(pages[n].subfile, static_cast<uint32_t>(FILETYPE_PAGE));
    EXPECT_EQ(pages[n].page, n + 1);
    EXPECT_EQ(pages[n].pages, n + 1);
    EXPECT_EQ(pages[n].name, "Page " + std::to_string(n + 1));
  }
  IxImage third;
  third.SetFrame(3);
  EXPECT_TRUE(DecodeBytes(third, bytes, IXIMAGE_FORMAT_TIF));
  EXPECT_EQ(third.GetNumFrames(), 4);
  IxImage missing;
  missing.SetFrame(4);
  EXPECT_FALSE(DecodeBytes(missing, bytes, IXIMAGE_FORMAT_TIF));
  EXPECT_STREQ(missing.GetLastError(), "Error: page not present in TIFF file");
  EXPECT_EQ(missing.GetNumFrames(), 4);
}

TEST(IxImageTIFEncode, ShortWriteFails) {
  IxImage src(64, 64, 8, 0);
  bridgetest::Fill(src, [](int64_t x, int64_t top) { return static_cast<uint32_t>(x * 7 + top * 13); });
  bridgetest::ShortWriteFile disk(200);
  EXPECT_FALSE(src.Encode(&disk, IXIMAGE_FORMAT_TIF));
  EXPECT_STRNE(src.GetLastError(), "");
}

TEST(IxImageTIFDecode, PagesTheChainAnnouncesButCannotReadAreNotCounted) {
  const std::vector<uint8_t> good = PaletteTiff(6, 4, 4, 0);
  ASSERT_EQ(good[0], 'I');
  const uint32_t ifd = good[4] | (good[5] << 8) | (good[6] << 16) | (static_cast<uint32_t>(good[7]) << 24);
  const uint32_t entries = good[ifd] | (good[ifd + 1] << 8);
  const size_t next = ifd + 2 + 12 * entries;
  // The first directory's link to the next one: past the end, into the pixels, back to itself.
  for (const uint32_t link : {static_cast<uint32_t>(good.size() + 1000), uint32_t{8}, ifd}) {
    std::vector<uint8_t> bytes = good;
    for (int k = 0; k < 4; ++k) bytes[next + k] = static_cast<uint8_t>(link >> (8 * k));
    IxImage first;
    ASSERT_TRUE(DecodeBytes(first, bytes, IXIMAGE_FORMAT_TIF)) << link << ": " << first.GetLastError();
    const int32_t pages = first.GetNumFrames();
    EXPECT_GE(pages, 1) << link;
    for (int32_t page = 1; page < pages; ++page) {
      IxImage img;
      img.SetFrame(page);
      if (!DecodeBytes(img, bytes, IXIMAGE_FORMAT_TIF)) {
        EXPECT_STRNE(img.GetLastError(), "") << link << " page " << page;
      }
    }
    IxImage past;
    past.SetFrame(pages);
    EXPECT_FALSE(DecodeBytes(past, bytes, IXIMAGE_FORMAT_TIF)) << link;
    EXPECT_STREQ(past.GetLastError(), "Error: page not present in TIFF file") << link;
  }
}

TEST(IxImageTIFDecode, DamagedFilesFailCleanly) {
  const std::vector<uint8_t> good =
      FileBytes(testsupport::SharedPath(std::string(kSuite) + "/hopper_lzw.tif"));
  for (size_t cut : {size_t{4}, size_t{16}, good.size() / 3, good.size() - 20}) {
    IxImage img;
    const bool ok =
        DecodeBytes(img, std::vector<uint8_t>(good.begin(), good.begin() + cut), IXIMAGE_FORMAT_TIF);
    if (!ok) {
      EXPECT_STRNE(img.GetLastError(), "") << cut;
    }
  }
}

}  // namespace
