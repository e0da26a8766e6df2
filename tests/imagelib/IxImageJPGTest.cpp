// The JPEG format class: pixels against djpeg (the same libjpeg, so equal byte for byte), the
// resolution rules, truncated and empty input, the encoder's options, refusals and write errors,
// and the EXIF block carried through a re-encode.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "JpegFixtures.h"
#include "imagelib/IxConvertTo24Bits.h"
#include "imagelib/IxExifInfo.h"
#include "imagelib/IxMemFile.h"
#include "support/SharedData.h"
#include "support/TempDir.h"

using namespace jpegtest;
using Entry = TiffWriter::Entry;

namespace {

std::string Hopper() { return testsupport::SharedPath("testdata/pillow/jpeg/hopper.jpg"); }
std::string PillowJpeg(const std::string& name) {
  return testsupport::SharedPath("testdata/pillow/jpeg/" + name);
}

// Every pixel byte of our picture against djpeg's BMP, allowing `tolerance` per byte; the padding
// at the end of each row is zero.
void ExpectSamePixels(const IxImage& ours, const Bmp& theirs, int tolerance = 0) {
  ASSERT_EQ(static_cast<int32_t>(ours.GetWidth()), theirs.width);
  ASSERT_EQ(static_cast<int32_t>(ours.GetHeight()), theirs.height);
  ASSERT_EQ(ours.GetBpp(), theirs.bpp);
  const size_t bytes = static_cast<size_t>(theirs.width) * theirs.bpp / 8;
  int worst = 0;
  size_t dirtyPadding = 0;
  for (int32_t y = 0; y < theirs.height; ++y) {
    const uint8_t* a = ours.GetBits(y);
    const uint8_t* b = theirs.Row(y);
    for (size_t i = 0; i < bytes; ++i) worst = std::max(worst, std::abs(a[i] - b[i]));
    for (size_t i = bytes; i < ours.GetEffWidth(); ++i) dirtyPadding += a[i] != 0;
  }
  EXPECT_LE(worst, tolerance);
  EXPECT_EQ(dirtyPadding, 0u);
  if (theirs.bpp == 8) {
    // djpeg writes the palette blue, green, red, 0 like ours.
    const IxRGBQuad* pal = ours.GetPalette();
    ASSERT_NE(pal, nullptr);
    for (size_t i = 0; i * 4 < theirs.palette.size() && i < ours.GetNumColors(); ++i) {
      EXPECT_EQ(pal[i].rgbBlue, theirs.palette[4 * i]) << i;
      EXPECT_EQ(pal[i].rgbGreen, theirs.palette[4 * i + 1]) << i;
      EXPECT_EQ(pal[i].rgbRed, theirs.palette[4 * i + 2]) << i;
    }
  }
}

// The marker codes of a JPEG file up to its first scan, and the component count of its frame.
struct Markers {
  std::vector<int> codes;
  int components = -1;
};
Markers MarkersOf(const Bytes& file) {
  Markers m;
  size_t at = 2;
  while (at + 4 <= file.size() && file[at] == 0xFF) {
    int code = file[at + 1];
    m.codes.push_back(code);
    if ((code >= 0xC0 && code <= 0xCF && code != 0xC4 && code != 0xC8 && code != 0xCC) &&
        at + 9 < file.size()) {
      m.components = file[at + 9];
    }
    if (code == 0xDA) break;
    at += 2 + ((file[at + 2] << 8) | file[at + 3]);
  }
  return m;
}
bool HasMarker(const Markers& m, int code) {
  return std::find(m.codes.begin(), m.codes.end(), code) != m.codes.end();
}

// A 24-bit picture with a little of everything: gradients and a sharp edge.
void Paint(IxImage& image, int32_t w, int32_t h) {
  ASSERT_NE(image.Create(w, h, 24, IXIMAGE_FORMAT_JPG), nullptr);
  for (int32_t y = 0; y < h; ++y) {
    uint8_t* row = image.GetBits(y);
    for (int32_t x = 0; x < w; ++x) {
      row[3 * x] = static_cast<uint8_t>(x * 255 / w);
      row[3 * x + 1] = static_cast<uint8_t>(y * 255 / h);
      row[3 * x + 2] = (x / 8 + y / 8) % 2 ? 230 : 20;
    }
  }
}

// A memory stream that takes only `limit` bytes in all.
class ShortStream : public IxMemFile {
 public:
  explicit ShortStream(size_t limit) : limit_(limit) { Open(); }
  size_t Write(const void* buffer, size_t size, size_t count) override {
    if (static_cast<size_t>(Tell()) + size * count > limit_) return 0;
    return IxMemFile::Write(buffer, size, count);
  }

 private:
  size_t limit_;
};

}  // namespace

// ---- decoding against djpeg ----

TEST(JpegDecode, PixelsEqualDjpeg) {
  testsupport::TempDir dir;
  const std::string ppm = dir.file("hopper.ppm");
  Shell("djpeg -pnm '" + Hopper() + "' > '" + ppm + "'");
  struct Case {
    const char* name;
    std::string make;  // cjpeg options, or empty to use `file` as it is
    std::string file;
    uint32_t option;
    uint8_t scale;
    uint8_t quality;
    std::string djpegOptions;
    int tolerance;
  };
  const std::vector<Case> cases = {
      {"baseline", "-quality 85", "", 0, 0, 90, "", 0},
      {"progressive", "-progressive", "", 0, 0, 90, "", 0},
      {"arithmetic", "-arithmetic", "", 0, 0, 90, "", 0},
      {"4:4:4 optimized", "-sample 1x1 -optimize", "", 0, 0, 90, "", 0},
      {"restart markers", "-restart 2", "", 0, 0, 90, "", 0},
      {"grey file", "", PillowJpeg("hopper_gray.jpg"), 0, 0, 90, "", 0},
      {"grey output of a colour file", "", Hopper(), IxImageJPG::DECODE_GRAYSCALE, 0, 90, "-grayscale", 0},
      {"half size", "", Hopper(), 0, 2, 90, "-scale 1/2", 0},
      {"eighth size", "", Hopper(), 0, 8, 90, "-scale 1/8", 0},
      {"no fancy upsampling", "", Hopper(), IxImageJPG::DECODE_NOFANCYUPSAMPLING, 0, 90, "-nosmooth", 0},
      {"quantized to 64 colours", "", Hopper(), IxImageJPG::DECODE_QUANTIZE, 0, 64, "-colors 64", 0},
      {"quantized one pass", "", Hopper(),
       IxImageJPG::DECODE_QUANTIZE | IxImageJPG::DECODE_NOTWOPASS | IxImageJPG::DECODE_DITHER, 0, 32,
       "-colors 32 -onepass -dither none", 0},
      // CMYK (Adobe, inverted): djpeg rounds c*k/255 where the decoder truncates.
      {"CMYK", "", PillowJpeg("pil_sample_cmyk.jpg"), 0, 0, 90, "", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string file = c.file;
    if (!c.make.empty()) {
      file = dir.file(std::string(c.name) + ".jpg");
      Shell("cjpeg " + c.make + " '" + ppm + "' > '" + file + "'");
    }
    IxImageJPG image;
    image.SetCodecOption(c.option, IXIMAGE_FORMAT_JPG);
    image.SetJpegScale(c.scale);
    image.SetJpegQuality(c.quality);
    ASSERT_TRUE(DecodeBytes(image, testsupport::ReadFileBytes(file))) << image.GetLastError();
    ExpectSamePixels(image, Djpeg(file, c.djpegOptions), c.tolerance);
  }
}

TEST(JpegDecode, GreyOutputIsOneBytePerPixelWithAGreyRamp) {
  IxImageJPG image;
  image.SetCodecOption(IxImageJPG::DECODE_GRAYSCALE, IXIMAGE_FORMAT_JPG);
  ASSERT_TRUE(DecodeBytes(image, testsupport::ReadFileBytes(Hopper())));
  EXPECT_EQ(image.GetBpp(), 8);
  EXPECT_EQ(image.GetNumColors(), 256u);
  EXPECT_TRUE(image.IsGrayScale());
}

TEST(JpegDecode, TruncatedFileDecodesWhatIsThere) {
  testsupport::TempDir dir;
  Bytes whole = testsupport::ReadFileBytes(Hopper());
  for (size_t keep : {whole.size() / 2, whole.size() * 3 / 4}) {
    const std::string cut =
        dir.write("cut.jpg", std::string(whole.begin(), whole.begin() + static_cast<long>(keep)));
    IxImageJPG image;
    ASSERT_TRUE(DecodeBytes(image, testsupport::ReadFileBytes(cut))) << image.GetLastError();
    ExpectSamePixels(image, Djpeg(cut));
  }
  IxImageJPG image;
  EXPECT_TRUE(DecodeBytes(image, testsupport::ReadFileBytes(PillowJpeg("truncated_jpeg.jpg"))));
}

TEST(JpegDecode, FailuresCarryTheLibraryMessage) {
  const struct {
    const char* name;
    Bytes data;
    const char* error;
  } cases[] = {
      {"empty", {}, "Empty input file"},
      {"not a JPEG", ToBytes("\x89PNG\r\n\x1a\n"), "Not a JPEG file: starts with 0x89 0x50"},
      {"start marker only", {0xFF, 0xD8}, "Improper call to JPEG library in state 201"},
  };
  for (const auto& c : cases) {
    IxImageJPG image;
    EXPECT_FALSE(DecodeBytes(image, c.data)) << c.name;
    EXPECT_FALSE(image.IsValid());
    if (std::string(c.name) != "start marker only") {
      EXPECT_STREQ(image.GetLastError(), c.error) << c.name;
    } else {
      EXPECT_STRNE(image.GetLastError(), "") << c.name;
    }
  }
}

// The grey hopper with a frame that declares five components, all like its one: libjpeg decodes
// it (the missing scans read as empty) into five bytes a pixel of no known colour space.
Bytes FiveComponentHopper() {
  const Bytes grey = testsupport::ReadFileBytes(PillowJpeg("hopper_gray.jpg"));
  Bytes out(grey.begin(), grey.begin() + 2);
  size_t at = 2;
  while (grey[at + 1] != 0xDA) {
    const size_t length = (grey[at + 2] << 8) | grey[at + 3];
    if (grey[at + 1] != 0xC0) {
      out.insert(out.end(), grey.begin() + static_cast<long>(at),
                 grey.begin() + static_cast<long>(at + 2 + length));
    } else {
      // Precision, height, width, then five copies of the one component with ids 1 to 5.
      Bytes frame(grey.begin() + static_cast<long>(at + 4), grey.begin() + static_cast<long>(at + 9));
      frame.push_back(5);
      for (uint8_t id = 1; id <= 5; ++id) frame.insert(frame.end(), {id, grey[at + 11], grey[at + 12]});
      out.insert(out.end(), {0xFF, 0xC0, 0, static_cast<uint8_t>(frame.size() + 2)});
      out.insert(out.end(), frame.begin(), frame.end());
    }
    at += 2 + length;
  }
  out.insert(out.end(), grey.begin() + static_cast<long>(at), grey.end());
  return out;
}

TEST(JpegDecode, ScanlinesWiderThanThePicturesRowsAreRefused) {
  // Five bytes a pixel would not fit rows of three.
  IxImageJPG image;
  EXPECT_FALSE(DecodeBytes(image, FiveComponentHopper()));
  EXPECT_STREQ(image.GetLastError(), "Unsupported JPEG colour components");
}

TEST(JpegDecode, PictureTooLargeKeepsCreatesMessage) {
  Bytes file = testsupport::ReadFileBytes(Hopper());
  size_t sof = 2;
  while (!(file[sof] == 0xFF && file[sof + 1] == 0xC0)) sof += 2 + ((file[sof + 2] << 8) | file[sof + 3]);
  // 65500 x 65500, libjpeg's largest, is beyond what a picture may hold.
  for (size_t i : {sof + 5, sof + 7}) file[i] = 0xFF;
  for (size_t i : {sof + 6, sof + 8}) file[i] = 0xDC;
  IxImageJPG image;
  EXPECT_FALSE(DecodeBytes(image, file));
  EXPECT_STREQ(image.GetLastError(), "IXIMAGE_MAX_MEMORY exceeded");
  EXPECT_FALSE(image.IsValid());
}

TEST(JpegDecode, DimensionsOnly) {
  IxImageJPG image;
  image.SetEscape(-1);
  image.SetJpegScale(4);
  ASSERT_TRUE(DecodeBytes(image, testsupport::ReadFileBytes(Hopper())));
  EXPECT_EQ(image.GetWidth(), 32u);
  EXPECT_EQ(image.GetHeight(), 32u);
  EXPECT_FALSE(image.IsValid());
}

TEST(JpegDecode, EscapeStopsTheDecode) {
  const Bytes file = testsupport::ReadFileBytes(Hopper());
  {
    // Leaves a block of picture bytes on the heap for the next picture to be given.
    IxImageJPG earlier;
    ASSERT_TRUE(DecodeBytes(earlier, file));
  }
  IxImageJPG image;
  image.SetEscape(1);
  EXPECT_FALSE(DecodeBytes(image, file));
  EXPECT_STREQ(image.GetLastError(), "");
  // Rows the decode never reached are blank, not what the memory held before.
  if (image.IsValid()) {
    const uint8_t* bits = image.GetBits(0);
    EXPECT_TRUE(std::all_of(bits, bits + image.GetHeader().biSizeImage, [](uint8_t b) { return b == 0; }));
  }
}

TEST(JpegDecode, ThroughTheDispatch) {
  IxImage image(Hopper().c_str(), IXIMAGE_FORMAT_JPG);
  ASSERT_TRUE(image.IsValid()) << image.GetLastError();
  EXPECT_EQ(image.GetType(), static_cast<uint32_t>(IXIMAGE_FORMAT_JPG));
  ExpectSamePixels(image, Djpeg(Hopper()));
  IxImage detected(Hopper().c_str(), IXIMAGE_FORMAT_UNKNOWN);
  EXPECT_TRUE(detected.IsValid());
}

TEST(JpegDecode, EveryPillowFileEqualsDjpegOrFailsCleanly) {
  for (const std::string& path : testsupport::SharedFiles("testdata/pillow/jpeg", ".jpg")) {
    SCOPED_TRACE(path);
    IxImageJPG image;
    Bytes file = testsupport::ReadFileBytes(path);
    if (!DecodeBytes(image, file)) {
      EXPECT_STRNE(image.GetLastError(), "");
      continue;
    }
    const bool cmyk = image.GetInfo().dwType == IXIMAGE_FORMAT_JPG && MarkersOf(file).components == 4;
    ExpectSamePixels(image, Djpeg(path), cmyk ? 1 : 0);
  }
}

// ---- resolution ----

TEST(JpegResolution, FirstMatchWins) {
  auto exif = [](bool big, uint32_t num, uint32_t den, uint32_t unit) {
    TiffWriter w(big, 0);
    uint32_t r = w.Rational(static_cast<int32_t>(num), static_cast<int32_t>(den));
    std::vector<Entry> entries = {{282, 5, 1, r}, {283, 5, 1, r}};
    if (unit) entries.push_back({296, 3, 1, unit});
    w.SetFirstDir(w.Dir(entries));
    return ExifSection(w);
  };
  TiffWriter noResolution(false);
  noResolution.Dir({{274, 3, 1, 1}});
  TiffWriter notANumber(true, 0);
  uint32_t nan = notANumber.Double(std::nan(""));
  notANumber.SetFirstDir(notANumber.Dir({{282, 12, 1, nan}, {283, 12, 1, nan}, {296, 3, 1, 2}}));
  TiffWriter huge(false, 0);
  uint32_t big = huge.Rational(2000000000, 1);
  huge.SetFirstDir(huge.Dir({{282, 5, 1, big}, {283, 5, 1, big}, {296, 3, 1, 5}}));

  const struct {
    const char* name;
    std::vector<Bytes> sections;
    int32_t dpi;
  } cases[] = {
      {"JFIF 118 per cm", {JfifSection(2, 118, 118)}, 300},
      {"JFIF no unit, density 1", {JfifSection(0, 1, 1)}, 1},
      {"JFIF density 0", {JfifSection(0, 0, 0)}, 96},
      {"JFIF 150 per inch", {JfifSection(1, 150, 150)}, 150},
      {"neither", {}, 96},
      {"EXIF 72 per inch before JFIF", {JfifSection(1, 300, 300), exif(false, 72, 1, 2)}, 72},
      {"EXIF 118 per cm truncates", {JfifSection(2, 118, 118), exif(true, 118, 1, 3)}, 299},
      {"EXIF without a unit", {JfifSection(1, 200, 200), exif(false, 72, 1, 0)}, 200},
      {"EXIF below one per inch", {JfifSection(1, 200, 200), exif(false, 1, 2, 2)}, 96},
      {"EXIF without a resolution", {JfifSection(1, 200, 200), ExifSection(noResolution)}, 200},
      {"EXIF not a number", {JfifSection(1, 180, 180), ExifSection(notANumber)}, 180},
      {"EXIF beyond the int range", {ExifSection(huge)}, INT32_MAX},
  };
  for (const auto& c : cases) {
    IxImageJPG image;
    ASSERT_TRUE(DecodeBytes(image, JpegWith(c.sections, Hopper()))) << c.name << ": " << image.GetLastError();
    EXPECT_EQ(image.GetXDPI(), c.dpi) << c.name;
    EXPECT_EQ(image.GetYDPI(), c.dpi) << c.name;
  }
}

TEST(JpegResolution, NothingOfAnEarlierFileSurvivesTheNextDecode) {
  IxImageJPG image;
  ASSERT_TRUE(DecodeBytes(image, testsupport::ReadFileBytes(PillowJpeg("flower.jpg"))));
  ASSERT_EQ(image.GetExifInfo().IsExif, 1);
  ASSERT_EQ(image.GetXDPI(), 180);
  ASSERT_NE(image.GetExifInfo().ThumbnailPointer, nullptr);
  ASSERT_TRUE(DecodeBytes(image, JpegWith({JfifSection(1, 150, 150)}, Hopper())));
  EXPECT_EQ(image.GetExifInfo().IsExif, 0);
  EXPECT_EQ(image.GetExifInfo().ThumbnailPointer, nullptr);
  EXPECT_STREQ(image.GetExifInfo().CameraMake, "");
  EXPECT_EQ(image.GetXDPI(), 150);
}

TEST(JpegResolution, RealFiles) {
  const struct {
    const char* name;
    int32_t x, y;
  } cases[] = {
      {"photoshop-200dpi.jpg", 200, 200},  // its thumbnail directory says 72
      {"exif-72dpi-int.jpg", 72, 72},        {"exif-200dpcm.jpg", 508, 508}, {"hopper.jpg", 96, 96},
      {"exif-dpi-zerodivision.jpg", 96, 96},
  };
  for (const auto& c : cases) {
    IxImageJPG image;
    ASSERT_TRUE(DecodeBytes(image, testsupport::ReadFileBytes(PillowJpeg(c.name)))) << c.name;
    EXPECT_EQ(image.GetXDPI(), c.x) << c.name;
    EXPECT_EQ(image.GetYDPI(), c.y) << c.name;
  }
}

// ---- encoding ----

TEST(JpegEncode, RefusesIndexedPicturesButAnEightBitGreyRamp) {
  const struct {
    const char* name;
    uint32_t bpp;
    bool grey;  // entries (i, i, i)
  } cases[] = {{"8-bit colour", 8, false}, {"4-bit grey values", 4, true}, {"1-bit grey values", 1, true}};
  for (const auto& c : cases) {
    IxImageJPG image;
    ASSERT_NE(image.Create(64, 4, c.bpp), nullptr);
    for (uint32_t i = 0; i < image.GetNumColors(); ++i) {
      image.SetPaletteColor(static_cast<uint8_t>(i), static_cast<uint8_t>(i), static_cast<uint8_t>(i),
                            static_cast<uint8_t>(c.grey ? i : 255 - i));
    }
    ASSERT_EQ(image.IsGrayScale(), c.grey) << c.name;
    Bytes out;
    EXPECT_FALSE(EncodeBytes(image, out)) << c.name;
    EXPECT_STREQ(image.GetLastError(), "JPEG can save only RGB or GreyScale images") << c.name;
    EXPECT_TRUE(out.empty()) << c.name;
  }
}

TEST(JpegEncode, GreyRampBecomesOneComponent) {
  IxImageJPG image;
  ASSERT_NE(image.Create(40, 30, 8), nullptr);
  image.SetGrayPalette();
  for (int32_t y = 0; y < 30; ++y) std::memset(image.GetBits(y), y * 8, image.GetEffWidth());
  Bytes out;
  ASSERT_TRUE(EncodeBytes(image, out)) << image.GetLastError();
  EXPECT_EQ(MarkersOf(out).components, 1);
  IxImageJPG back;
  ASSERT_TRUE(DecodeBytes(back, out));
  EXPECT_EQ(back.GetBpp(), 8);
  EXPECT_NEAR(back.GetBits(29)[20], 29 * 8, 2);
}

TEST(JpegEncode, ColoursKeepTheirPlaceAndJfifHoldsTheResolution) {
  testsupport::TempDir dir;
  IxImageJPG image;
  ASSERT_NE(image.Create(16, 16, 24), nullptr);
  for (int32_t y = 0; y < 16; ++y) {
    for (int32_t x = 0; x < 16; ++x) {
      uint8_t* p = image.GetBits(y) + 3 * x;
      p[0] = 10, p[1] = 120, p[2] = 240;  // blue, green, red
    }
  }
  for (int32_t dpi : {96, 300}) {
    image.SetXDPI(dpi);
    image.SetYDPI(dpi);
    Bytes out;
    ASSERT_TRUE(EncodeBytes(image, out)) << image.GetLastError();
    const uint8_t d = static_cast<uint8_t>(dpi >> 8), e = static_cast<uint8_t>(dpi);
    const Bytes expected = {0xFF, 0xE0, 0x00, 0x10, 'J', 'F', 'I', 'F', 0x00, 0x01, 0x01, 0x01, d, e, d, e};
    EXPECT_EQ(Bytes(out.begin() + 2, out.begin() + 18), expected);
    const std::string path = dir.file("colour.jpg");
    WriteFile(path, out);
    Bmp bmp = Djpeg(path);
    EXPECT_NEAR(bmp.Row(5)[15], 10, 3);
    EXPECT_NEAR(bmp.Row(5)[16], 120, 3);
    EXPECT_NEAR(bmp.Row(5)[17], 240, 3);
  }
}

TEST(JpegEncode, QualityAndOptions) {
  IxImageJPG image;
  Paint(image, 96, 64);
  auto encode = [&](uint8_t quality, uint32_t options) {
    image.SetJpegQuality(quality);
    image.SetCodecOption(options, IXIMAGE_FORMAT_JPG);
    Bytes out;
    EXPECT_TRUE(EncodeBytes(image, out)) << image.GetLastError();
    return out;
  };
  const Bytes q100 = encode(100, 0), q10 = encode(10, 0);
  EXPECT_LT(q10.size() * 3, q100.size());
  EXPECT_TRUE(HasMarker(MarkersOf(q100), 0xC0));
  EXPECT_TRUE(HasMarker(MarkersOf(encode(90, IxImageJPG::ENCODE_PROGRESSIVE)), 0xC2));
  EXPECT_TRUE(HasMarker(MarkersOf(encode(90, IxImageJPG::ENCODE_ARITHMETIC)), 0xC9));
  EXPECT_EQ(MarkersOf(encode(90, IxImageJPG::ENCODE_GRAYSCALE)).components, 1);
  EXPECT_LE(encode(90, IxImageJPG::ENCODE_OPTIMIZE).size(), encode(90, 0).size());
  EXPECT_NE(encode(90, IxImageJPG::ENCODE_SMOOTHING).size(), 0u);
  // Every variant decodes back with djpeg's pixels.
  testsupport::TempDir dir;
  for (uint32_t options : {0u, IxImageJPG::ENCODE_PROGRESSIVE, IxImageJPG::ENCODE_ARITHMETIC,
                           IxImageJPG::ENCODE_OPTIMIZE | IxImageJPG::ENCODE_BASELINE}) {
    const Bytes out = encode(75, options);
    const std::string path = dir.file("v.jpg");
    WriteFile(path, out);
    IxImageJPG back;
    ASSERT_TRUE(DecodeBytes(back, out));
    ExpectSamePixels(back, Djpeg(path));
  }
}

TEST(JpegEncode, ShortWriteFailsTheSave) {
  IxImageJPG image;
  Paint(image, 200, 200);
  for (size_t limit : {0u, 100u, 5000u}) {
    ShortStream stream(limit);
    EXPECT_FALSE(image.Encode(&stream)) << limit;
    EXPECT_STREQ(image.GetLastError(), "Output file write error --- out of disk space?") << limit;
  }
}

TEST(JpegEncode, RefusesEmptyPictureAndNoStream) {
  IxImageJPG image;
  IxMemFile stream;
  stream.Open();
  EXPECT_FALSE(image.Encode(&stream));
  EXPECT_STREQ(image.GetLastError(), "null image!!!");
  Paint(image, 8, 8);
  EXPECT_FALSE(image.Encode(nullptr));
  EXPECT_STREQ(image.GetLastError(), "null file handler");
}

TEST(JpegEncode, ReencodeKeepsTheExifBlock) {
  testsupport::TempDir dir;
  const std::string original = PillowJpeg("flower.jpg");
  IxImageJPG image;
  ASSERT_TRUE(DecodeBytes(image, testsupport::ReadFileBytes(original)));
  ASSERT_EQ(image.GetExifInfo().IsExif, 1);
  image.SetJpegQuality(50);
  Bytes out;
  ASSERT_TRUE(EncodeBytes(image, out)) << image.GetLastError();
  Markers m = MarkersOf(out);
  ASSERT_FALSE(m.codes.empty());
  EXPECT_EQ(m.codes.front(), 0xE1);
  EXPECT_FALSE(HasMarker(m, 0xE0));
  const std::string path = dir.file("again.jpg");
  WriteFile(path, out);
  const std::string tags = " -n -T -Make -Model -DateTimeOriginal -ExposureTime -FNumber ";
  EXPECT_EQ(Shell("exiftool" + tags + "'" + path + "'"), Shell("exiftool" + tags + "'" + original + "'"));
  IxImageJPG back;
  ASSERT_TRUE(DecodeBytes(back, out));
  ExpectSamePixels(back, Djpeg(path));
}

TEST(JpegEncode, SaveThroughTheDispatchCarriesNoExif) {
  testsupport::TempDir dir;
  IxImage image(PillowJpeg("flower.jpg").c_str(), IXIMAGE_FORMAT_JPG);
  ASSERT_TRUE(image.IsValid());
  const std::string path = dir.file("saved.jpg");
  ASSERT_TRUE(image.Save(path.c_str(), IXIMAGE_FORMAT_JPG)) << image.GetLastError();
  Markers m = MarkersOf(testsupport::ReadFileBytes(path));
  EXPECT_EQ(m.codes.front(), 0xE0);
  EXPECT_FALSE(HasMarker(m, 0xE1));
  // The resolution of the loaded picture goes into the JFIF header.
  IxImage back(path.c_str(), IXIMAGE_FORMAT_JPG);
  EXPECT_EQ(back.GetXDPI(), image.GetXDPI());
}

// ---- indexed to 24 bits ----

TEST(ConvertTo24Bits, IndexedPicturesKeepTheirColoursAndThenEncode) {
  for (uint32_t bpp : {1u, 4u, 8u}) {
    SCOPED_TRACE(bpp);
    IxImageJPG image;
    ASSERT_NE(image.Create(13, 7, bpp), nullptr);
    const uint32_t colours = image.GetNumColors();
    for (uint32_t i = 0; i < colours; ++i) {
      image.SetPaletteColor(static_cast<uint8_t>(i), static_cast<uint8_t>(i * 37),
                            static_cast<uint8_t>(255 - i), static_cast<uint8_t>(i * 11));
    }
    for (int32_t y = 0; y < 7; ++y) {
      for (int32_t x = 0; x < 13; ++x) image.SetPixelIndex(x, y, static_cast<uint8_t>((x * 7 + y) % colours));
    }
    image.SetXDPI(150);
    IxImage before(image, true, true, true);
    ASSERT_TRUE(IxConvertTo24Bits(image));
    EXPECT_EQ(image.GetBpp(), 24);
    EXPECT_EQ(image.GetXDPI(), 150);
    EXPECT_EQ(image.GetHeader().biXPelsPerMeter, 5906);  // 150 dots per inch
    for (int32_t y = 0; y < 7; ++y) {
      for (int32_t x = 0; x < 13; ++x) {
        IxRGBQuad want = before.GetPixelColor(x, y, false), got = image.GetPixelColor(x, y, false);
        ASSERT_EQ(std::tie(got.rgbRed, got.rgbGreen, got.rgbBlue),
                  std::tie(want.rgbRed, want.rgbGreen, want.rgbBlue));
      }
    }
    Bytes out;
    EXPECT_TRUE(EncodeBytes(image, out)) << image.GetLastError();
  }
  IxImage empty;
  EXPECT_FALSE(IxConvertTo24Bits(empty));
}
