// The EXIF reader and writer: marker section walking, EXIF fields from data built here in both
// byte orders, hostile directories (loops, overflowing counts, bad links), and real files
// compared with exiftool.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "JpegFixtures.h"
#include "imagelib/IxExifInfo.h"
#include "imagelib/IxMemFile.h"
#include "support/SharedData.h"
#include "support/TempDir.h"

using namespace jpegtest;
using Exif = IxImageJPG::IxExifInfo;
using Entry = TiffWriter::Entry;

namespace {

constexpr uint16_t kAscii = 2, kShort = 3, kLong = 4, kRational = 5, kUndefined = 7, kSRational = 10,
                   kDouble = 12;

std::string Hopper() { return testsupport::SharedPath("testdata/pillow/jpeg/hopper.jpg"); }
std::string PillowJpeg(const std::string& name) {
  return testsupport::SharedPath("testdata/pillow/jpeg/" + name);
}

// Reads a JPEG made of the EXIF data and hopper's picture; returns the reader's IsExif verdict.
bool ReadExif(Exif& reader, const TiffWriter& tiff) {
  EXPECT_TRUE(ReadSections(reader, JpegWith({ExifSection(tiff)}, Hopper()), Exif::kReadExif));
  return reader.Info().IsExif != 0;
}

// One IFD at 8 holding the given entries, the values they point to placed after it.
TiffWriter OneDir(bool big, const std::vector<Entry>& entries) {
  TiffWriter w(big);
  w.Dir(entries);
  return w;
}

Bytes Sos() { return Section(0xDA, {1, 1, 0, 0, 63, 0}); }

}  // namespace

// ---- marker sections ----

TEST(ExifSections, TwentyOneSectionsBeforeTheScanStopAtTwenty) {
  std::vector<Bytes> sections(21, Section(0xE2, ToBytes("x")));
  Exif reader;
  EXPECT_FALSE(ReadSections(reader, JpegWith(sections, Hopper()), Exif::kReadExif));
  EXPECT_STREQ(reader.GetLastError(), "Too many sections in jpg file");
  EXPECT_EQ(reader.GetSectionCount(), 20);
}

TEST(ExifSections, ImageDataNeedsARoomOfItsOwn) {
  // With the scan as the 20th section, the image data would be the 21st.
  Bytes tail = {0x12, 0x34, 0xFF, 0xD9};
  for (int apps : {18, 19}) {
    Bytes file = {0xFF, 0xD8};
    for (int i = 0; i < apps; ++i) file = Concat({file, Section(0xE2, ToBytes("x"))});
    file = Concat({file, Sos(), tail});
    Exif reader;
    bool ok = ReadSections(reader, file, Exif::kReadExif | Exif::kReadImage);
    EXPECT_EQ(reader.GetSectionCount(), 20) << apps;
    if (apps == 18) {
      EXPECT_TRUE(ok);
      EXPECT_EQ(reader.GetSectionMarker(19), Exif::kImageData);
    } else {
      EXPECT_FALSE(ok);
      EXPECT_STREQ(reader.GetLastError(), "Too many sections in jpg file");
    }
  }
}

TEST(ExifSections, BrokenMarkersEndTheWalkWithTheirMessage) {
  struct Case {
    const char* name;
    Bytes file;
    const char* error;
  };
  const Case cases[] = {
      {"not a JPEG", {0x89, 'P', 'N', 'G'}, ""},
      {"seven fill bytes",
       {0xFF, 0xD8, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xE2, 0, 2},
       "too many padding bytes\n"},
      {"length below two", {0xFF, 0xD8, 0xFF, 0xE2, 0x00, 0x01}, "invalid marker"},
      {"section cut short", {0xFF, 0xD8, 0xFF, 0xE2, 0x00, 0x10, 1, 2, 3}, "Premature end of file?"},
      {"length cut short", {0xFF, 0xD8, 0xFF, 0xE2, 0x00}, "Premature end of file?"},
      {"nothing after the start", {0xFF, 0xD8}, "Premature end of file?"},
      {"end of image before a scan", {0xFF, 0xD8, 0xFF, 0xD9, 0x00, 0x02}, "No image in jpeg!\n"},
  };
  for (const Case& c : cases) {
    Exif reader;
    EXPECT_FALSE(ReadSections(reader, c.file, Exif::kReadExif | Exif::kReadImage)) << c.name;
    EXPECT_STREQ(reader.GetLastError(), c.error) << c.name;
  }
}

TEST(ExifSections, FrameHeaderGivesSizeColourAndProcess) {
  Exif reader;
  ASSERT_TRUE(ReadSections(reader, testsupport::ReadFileBytes(Hopper()), Exif::kReadExif));
  EXPECT_EQ(reader.Info().Width, 128);
  EXPECT_EQ(reader.Info().Height, 128);
  EXPECT_EQ(reader.Info().IsColor, 1);
  EXPECT_EQ(reader.Info().Process, 0xC0);
  EXPECT_EQ(reader.Info().IsExif, 0);
  // The JFIF section is never kept.
  for (int i = 0; i < reader.GetSectionCount(); ++i) EXPECT_NE(reader.GetSectionMarker(i), 0xE0);
}

TEST(ExifSections, OnlyTheFirstCommentCounts) {
  Exif reader;
  Bytes file = JpegWith({Section(0xFE, ToBytes("first\r\nline\x01\ttab")), Section(0xFE, ToBytes("second"))},
                        Hopper());
  ASSERT_TRUE(ReadSections(reader, file, Exif::kReadExif));
  EXPECT_STREQ(reader.Info().Comments, "first\nline?\ttab");
  int comments = 0;
  for (int i = 0; i < reader.GetSectionCount(); ++i) comments += reader.GetSectionMarker(i) == 0xFE;
  EXPECT_EQ(comments, 1);

  // Without the EXIF mode bit comments are dropped unread.
  Exif imageOnly;
  ASSERT_TRUE(ReadSections(imageOnly, file, Exif::kReadImage));
  EXPECT_STREQ(imageOnly.Info().Comments, "");
}

TEST(ExifSections, LongCommentStaysInsideItsField) {
  Exif reader;
  ASSERT_TRUE(ReadSections(reader, JpegWith({Section(0xFE, Bytes(3000, 'c'))}, Hopper()), Exif::kReadExif));
  EXPECT_EQ(std::strlen(reader.Info().Comments), sizeof(reader.Info().Comments) - 1);
}

// ---- EXIF fields ----

class ExifOrder : public ::testing::TestWithParam<bool> {};
INSTANTIATE_TEST_SUITE_P(ByteOrders, ExifOrder, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "MM" : "II"; });

TEST_P(ExifOrder, OrientationOneToEightOrUndefined) {
  for (uint32_t value : {1u, 6u, 8u, 0u, 9u, 65535u}) {
    Exif reader;
    ASSERT_TRUE(ReadExif(reader, OneDir(GetParam(), {{274, kShort, 1, value}})));
    const bool valid = value >= 1 && value <= 8;
    EXPECT_EQ(reader.Info().Orientation, valid ? static_cast<int>(value) : 0) << value;
    EXPECT_STREQ(reader.GetLastError(), valid ? "" : "Undefined rotation value") << value;
  }
}

TEST_P(ExifOrder, CameraFields) {
  TiffWriter w(GetParam(), 0);
  uint32_t make = w.Raw(ToBytes(std::string("A camera maker with a very long name\0", 38)));
  uint32_t model = w.Raw(ToBytes(std::string("Model\0", 6)));
  uint32_t date = w.Raw(ToBytes(std::string("2024:05:06 07:08:09\0", 20)));
  uint32_t exposure = w.Rational(1, 250);
  uint32_t fnumber = w.Rational(28, 10);
  uint32_t focal = w.Rational(35, 1);
  uint32_t bias = w.Rational(-1, 3);  // signed even as an unsigned rational
  uint32_t distance = w.Rational(5, 0);
  uint32_t dir = w.Dir({{271, kAscii, 38, make},
                        {272, kAscii, 6, model},
                        {36867, kAscii, 20, date},
                        {33434, kRational, 1, exposure},
                        {33437, kRational, 1, fnumber},
                        {37386, kRational, 1, focal},
                        {37380, kSRational, 1, bias},
                        {37382, kRational, 1, distance},
                        {34855, kShort, 1, 2},
                        {34850, kShort, 1, 3},
                        {37383, kShort, 1, 5},
                        {37384, kShort, 1, 10},
                        {37385, kShort, 1, 0x19},
                        {37122, kLong, 1, 4},
                        {36864, kUndefined, 4, 0x30333230}});
  w.SetFirstDir(dir);
  Exif reader;
  ASSERT_TRUE(ReadExif(reader, w));
  const IxExifInfoBlock& info = reader.Info();
  EXPECT_STREQ(info.CameraMake, "A camera maker with a very long");  // 31 characters
  EXPECT_EQ(std::strlen(info.CameraMake), 31u);
  EXPECT_STREQ(info.CameraModel, "Model");
  EXPECT_STREQ(info.DateTime, "2024:05:06 07:08:09");
  EXPECT_FLOAT_EQ(info.ExposureTime, 1.0f / 250);
  EXPECT_FLOAT_EQ(info.ApertureFNumber, 2.8f);
  EXPECT_FLOAT_EQ(info.FocalLength, 35.0f);
  EXPECT_FLOAT_EQ(info.ExposureBias, -1.0f / 3);
  EXPECT_EQ(info.Distance, 0.0f);      // zero denominator
  EXPECT_EQ(info.ISOequivalent, 400);  // below 50: times 200
  EXPECT_EQ(info.ExposureProgram, 3);
  EXPECT_EQ(info.MeteringMode, 5);
  EXPECT_EQ(info.Whitebalance, 10);
  EXPECT_EQ(info.FlashUsed, 1);
  EXPECT_EQ(info.CompressionLevel, 4);
  EXPECT_EQ(std::string(info.Version).size(), 4u);
  EXPECT_TRUE(std::string(info.Version) == "0230" || std::string(info.Version) == "0320");
}

TEST_P(ExifOrder, ApexValuesStandInOnlyForMissingFields) {
  {
    Exif reader;
    TiffWriter w(GetParam(), 0);
    uint32_t shutter = w.Rational(6, 1), aperture = w.Rational(4, 1);
    w.SetFirstDir(w.Dir({{37377, kSRational, 1, shutter}, {37378, kRational, 1, aperture}}));
    ASSERT_TRUE(ReadExif(reader, w));
    EXPECT_FLOAT_EQ(reader.Info().ExposureTime, 1.0f / 64);
    EXPECT_FLOAT_EQ(reader.Info().ApertureFNumber, 4.0f);
  }
  {
    Exif reader;
    TiffWriter w(GetParam(), 0);
    uint32_t exposure = w.Rational(1, 10), shutter = w.Rational(6, 1);
    uint32_t fnumber = w.Rational(8, 1), aperture = w.Rational(4, 1);
    w.SetFirstDir(w.Dir({{33434, kRational, 1, exposure},
                         {37377, kSRational, 1, shutter},
                         {33437, kRational, 1, fnumber},
                         {37381, kRational, 1, aperture}}));
    ASSERT_TRUE(ReadExif(reader, w));
    EXPECT_FLOAT_EQ(reader.Info().ExposureTime, 0.1f);
    EXPECT_FLOAT_EQ(reader.Info().ApertureFNumber, 8.0f);
  }
}

TEST_P(ExifOrder, ResolutionUnitsBecomeFactors) {
  const struct {
    uint32_t unit;
    float factor;
  } cases[] = {{1, 1.0f}, {2, 1.0f}, {3, 0.3937007f}, {4, 0.03937007f}, {5, 0.00003937f}, {7, 0.0f}};
  for (const auto& c : cases) {
    TiffWriter w(GetParam(), 0);
    uint32_t x = w.Rational(118, 1), y = w.Rational(236, 2);
    w.SetFirstDir(w.Dir({{282, kRational, 1, x}, {283, kRational, 1, y}, {296, kShort, 1, c.unit}}));
    Exif reader;
    ASSERT_TRUE(ReadExif(reader, w));
    EXPECT_FLOAT_EQ(reader.Info().Xresolution, 118.0f);
    EXPECT_FLOAT_EQ(reader.Info().Yresolution, 118.0f);
    EXPECT_FLOAT_EQ(reader.Info().ResolutionUnit, c.factor) << c.unit;
  }
}

TEST_P(ExifOrder, UserComment) {
  const struct {
    std::string value;
    const char* expected;
  } cases[] = {
      {std::string("ASCII\0\0\0word   ", 15), "word"},
      {std::string("ASCII   text", 12), "text"},
      {std::string("ASCII\0\0\0\0\0", 10), ""},  // nothing after the prefix
      {"plain words  ", "plain words"},
      {std::string(300, 'u'), nullptr},  // 199 characters at most
  };
  for (const auto& c : cases) {
    TiffWriter w(GetParam(), 0);
    uint32_t at = w.Raw(ToBytes(c.value));
    w.SetFirstDir(w.Dir({{37510, kUndefined, static_cast<uint32_t>(c.value.size()), at}}));
    Exif reader;
    ASSERT_TRUE(ReadExif(reader, w));
    if (c.expected) {
      EXPECT_STREQ(reader.Info().Comments, c.expected);
    } else {
      EXPECT_EQ(std::string(reader.Info().Comments), std::string(199, 'u'));
    }
  }
}

TEST_P(ExifOrder, SubDirectoriesThumbnailAndSensorWidth) {
  // IFD0 -> EXIF directory -> interoperability directory; IFD0 -> IFD1 with the thumbnail.
  TiffWriter w(GetParam(), 0);
  Bytes thumb = {0xFF, 0xD8, 't', 'h', 'u', 'm', 'b', 0xFF, 0xD9};
  uint32_t thumbAt = w.Raw(thumb);
  uint32_t fpx = w.Rational(1000, 1);
  uint32_t interop = w.Dir({{1, kAscii, 4, 0x00383952}});
  uint32_t exif = w.Dir({{40962, kLong, 1, 3000},
                         {40963, kShort, 1, 2000},
                         {41486, kRational, 1, fpx},
                         {41488, kShort, 1, 2},
                         {40965, kLong, 1, interop},
                         {34855, kShort, 1, 100}});
  uint32_t x72 = w.Rational(72, 1), x300 = w.Rational(300, 1);
  uint32_t ifd1 = w.Dir({{513, kLong, 1, thumbAt},
                         {514, kLong, 1, static_cast<uint32_t>(thumb.size())},
                         {282, kRational, 1, x72},
                         {296, kShort, 1, 3}});
  uint32_t ifd0 = w.Dir({{282, kRational, 1, x300}, {296, kShort, 1, 2}, {34665, kLong, 1, exif}}, ifd1);
  w.SetFirstDir(ifd0);
  Exif reader;
  ASSERT_TRUE(ReadExif(reader, w));
  const IxExifInfoBlock& info = reader.Info();
  EXPECT_EQ(info.ISOequivalent, 100);
  EXPECT_FLOAT_EQ(info.CCDWidth, 3.0f);  // 3000 pixels x 1 inch / 1000 per inch
  ASSERT_NE(info.ThumbnailPointer, nullptr);
  ASSERT_EQ(info.ThumbnailSize, thumb.size());
  EXPECT_EQ(Bytes(info.ThumbnailPointer, info.ThumbnailPointer + info.ThumbnailSize), thumb);
  // The thumbnail's own resolution is not the picture's.
  EXPECT_FLOAT_EQ(info.Xresolution, 300.0f);
  EXPECT_FLOAT_EQ(info.ResolutionUnit, 1.0f);
}

TEST_P(ExifOrder, SubDirectoryOffsetReadByItsFormat) {
  // A 16-bit offset lies in the first two of the four value bytes, whatever the byte order.
  TiffWriter w(GetParam());
  const uint32_t sub = 8 + TiffWriter::DirSize(1);
  w.Dir({{34665, kShort, 1, sub}});
  w.Dir({{274, kShort, 1, 4}});
  Exif reader;
  ASSERT_TRUE(ReadExif(reader, w));
  EXPECT_EQ(reader.Info().Orientation, 4);
}

TEST_P(ExifOrder, ThumbnailOutsideTheDataIsNotKept) {
  TiffWriter w(GetParam());
  w.Dir({{513, kLong, 1, 20}, {514, kLong, 1, 0xFFFFFFF0}});
  Exif reader;
  ASSERT_TRUE(ReadExif(reader, w));
  EXPECT_EQ(reader.Info().ThumbnailPointer, nullptr);
  EXPECT_EQ(reader.Info().ThumbnailSize, 0u);
}

TEST_P(ExifOrder, FirstDirectoryWhereTheHeaderSaysItIs) {
  TiffWriter w(GetParam(), 0);
  w.Pad(40);
  w.SetFirstDir(w.Dir({{274, kShort, 1, 5}}));
  Exif reader;
  ASSERT_TRUE(ReadExif(reader, w));
  EXPECT_EQ(reader.Info().Orientation, 5);
}

TEST(ExifSections, CallersBlockLosesTheThumbnailWithTheReader) {
  IxExifInfoBlock block{};
  {
    Exif reader(&block);
    ASSERT_TRUE(ReadSections(reader, testsupport::ReadFileBytes(PillowJpeg("flower.jpg")), Exif::kReadExif));
    ASSERT_NE(block.ThumbnailPointer, nullptr);
  }
  EXPECT_EQ(block.ThumbnailPointer, nullptr);  // it pointed into the reader's copy of the section
  EXPECT_EQ(block.ThumbnailSize, 0u);
  EXPECT_STREQ(block.CameraMake, "Canon");
}

// ---- hostile EXIF data ----

TEST(ExifHostile, DirectoryLinkedToItselfTerminates) {
  TiffWriter w(false);
  // IFD0 at 8 -> EXIF directory that names itself both as a sub-directory and as the next one.
  uint32_t sub = 8 + TiffWriter::DirSize(1);
  w.Dir({{34665, kLong, 1, sub}});
  ASSERT_EQ(w.Size(), sub);
  w.Dir({{34665, kLong, 1, sub}, {274, kShort, 1, 3}}, sub);
  Exif reader;
  ASSERT_TRUE(ReadExif(reader, w));
  EXPECT_EQ(reader.Info().Orientation, 3);  // the walk went on after the loop
  EXPECT_STREQ(reader.GetLastError(), "Illegal subdirectory link");
}

TEST(ExifHostile, SubDirectoryPointingToItsParentTerminates) {
  TiffWriter w(true, 0);
  w.Pad(16);
  uint32_t parent = 16, child = 16 + TiffWriter::DirSize(1);
  w.Dir({{34665, kLong, 1, child}}, parent);
  w.Dir({{34665, kLong, 1, parent}, {274, kShort, 1, 7}}, parent);
  w.SetFirstDir(parent);
  Exif reader;
  ASSERT_TRUE(ReadExif(reader, w));
  EXPECT_EQ(reader.Info().Orientation, 7);
}

TEST(ExifHostile, LongChainOfDirectoriesIsCutAtTheDepthLimit) {
  TiffWriter w(false);
  const uint32_t n = 200, size = TiffWriter::DirSize(1);
  for (uint32_t i = 0; i < n; ++i) w.Dir({{34855, kShort, 1, 100 + i}}, i + 1 < n ? 8 + (i + 1) * size : 0);
  Exif reader;
  ASSERT_TRUE(ReadExif(reader, w));
  EXPECT_EQ(reader.Info().ISOequivalent, 100 + Exif::kMaxDirDepth - 1);
}

TEST(ExifHostile, ValuesMustLieInsideTheData) {
  struct Case {
    const char* name;
    std::vector<Entry> entries;
    const char* error;
  };
  const Case cases[] = {
      // 0x20000000 rationals are 4 GiB: the byte count must not wrap to a small number.
      {"count overflowing 32 bits",
       {{282, kRational, 0x20000000, 8}},
       "Illegal pointer offset value in EXIF."},
      {"value crossing the end", {{271, kAscii, 64, 20}}, "Illegal pointer offset value in EXIF."},
      {"offset far outside", {{282, kRational, 1, 0xFFFFFFF8}}, "Illegal pointer offset value in EXIF."},
      {"unknown format", {{274, 13, 1, 1}}, "Illegal format code in EXIF dir"},
      {"format zero", {{274, 0, 1, 1}}, "Illegal format code in EXIF dir"},
      {"sub-directory outside", {{34665, kLong, 1, 5000}}, "Illegal subdirectory link"},
  };
  for (const Case& c : cases) {
    Exif reader;
    EXPECT_FALSE(ReadExif(reader, OneDir(false, c.entries))) << c.name;
    EXPECT_STREQ(reader.GetLastError(), c.error) << c.name;
  }
}

TEST(ExifHostile, DirectoryLargerThanTheData) {
  TiffWriter w(false);
  w.U16(500);  // 500 entries announced, none there
  w.U32(0);
  Exif reader;
  EXPECT_FALSE(ReadExif(reader, w));
  EXPECT_STREQ(reader.GetLastError(), "Illegally sized directory");
}

TEST(ExifHostile, NextLinkOutsideTheDataKeepsWhatWasRead) {
  TiffWriter w(false);
  w.Dir({{274, kShort, 1, 2}}, 0x7FFFFFFF);
  Exif reader;
  EXPECT_TRUE(ReadExif(reader, w));
  EXPECT_EQ(reader.Info().Orientation, 2);
  EXPECT_STREQ(reader.GetLastError(), "Illegal subdirectory link");
}

TEST(ExifHostile, NumbersOutsideTheIntRangeAreClamped) {
  TiffWriter w(true, 0);
  uint32_t nan = w.Double(std::nan("")), huge = w.Double(1e300), tiny = w.Double(-1e300);
  uint32_t dimension = w.Double(1e12);
  w.SetFirstDir(w.Dir({{34855, kDouble, 1, nan},
                       {274, kDouble, 1, huge},
                       {37383, kDouble, 1, huge},
                       {37384, kDouble, 1, tiny},
                       {282, kDouble, 1, huge},
                       {40962, kDouble, 1, dimension},
                       {41486, kDouble, 1, tiny},
                       {37377, kDouble, 1, tiny},
                       {37378, kDouble, 1, huge}}));
  Exif reader;
  ASSERT_TRUE(ReadExif(reader, w));
  const IxExifInfoBlock& info = reader.Info();
  EXPECT_EQ(info.ISOequivalent, 0);  // not a number: absent, then times 200
  EXPECT_EQ(info.Orientation, 0);
  EXPECT_EQ(info.MeteringMode, INT32_MAX);
  EXPECT_EQ(info.Whitebalance, INT32_MIN);
  EXPECT_TRUE(std::isinf(info.Xresolution));
  EXPECT_TRUE(std::isinf(info.ExposureTime));
  EXPECT_TRUE(std::isinf(info.ApertureFNumber));
}

TEST(ExifHostile, EmptyValuesReadAsZero) {
  // Count 0 means no bytes: a double must not be read out of the four inline bytes.
  Exif reader;
  ASSERT_TRUE(ReadExif(reader, OneDir(false, {{282, kDouble, 0, 0x40590000}, {271, kAscii, 0, 0x41414141}})));
  EXPECT_EQ(reader.Info().Xresolution, 0.0f);
  EXPECT_STREQ(reader.Info().CameraMake, "");
}

TEST(ExifHostile, BrokenHeaders) {
  const struct {
    Bytes payload;
    const char* error;
  } cases[] = {
      {ToBytes(std::string("Exif\0\1II*\0\x08\0\0\0", 14)), "Incorrect Exif header"},
      {ToBytes(std::string("Exif\0\0XX*\0\x08\0\0\0", 14)), "Invalid Exif alignment marker."},
      {ToBytes(std::string("Exif\0\0II+\0\x08\0\0\0", 14)), "Invalid Exif start (1)"},
      {ToBytes(std::string("Exif\0\0II", 8)), "Invalid Exif start (1)"},
      {ToBytes(std::string("Exif\0\0", 6)), "Invalid Exif alignment marker."},
  };
  for (const auto& c : cases) {
    Exif reader;
    ASSERT_TRUE(ReadSections(reader, JpegWith({Section(0xE1, c.payload)}, Hopper()), Exif::kReadExif));
    EXPECT_EQ(reader.Info().IsExif, 0);
    EXPECT_STREQ(reader.GetLastError(), c.error);
  }
}

// ---- keeping and writing sections ----

TEST(ExifWriter, DiscardAllButExifKeepsExifThenComment) {
  TiffWriter w(false);
  w.Dir({{274, kShort, 1, 1}});
  Exif reader;
  ASSERT_TRUE(ReadSections(reader,
                           JpegWith({Section(0xE2, ToBytes("icc")), Section(0xFE, ToBytes("note")),
                                     ExifSection(w), ExifSection(w)},
                                    Hopper()),
                           Exif::kReadExif));
  reader.DiscardAllButExif();
  ASSERT_EQ(reader.GetSectionCount(), 2);
  EXPECT_EQ(reader.GetSectionMarker(0), 0xE1);
  EXPECT_EQ(reader.GetSectionMarker(1), 0xFE);
}

TEST(ExifWriter, RefusesWithoutTheImageData) {
  Exif reader;
  ASSERT_TRUE(ReadSections(reader, testsupport::ReadFileBytes(Hopper()), Exif::kReadExif));
  IxMemFile out;
  out.Open();
  EXPECT_FALSE(reader.EncodeExif(&out));
  EXPECT_STREQ(reader.GetLastError(), "Can't write exif : didn't read all");
  EXPECT_EQ(out.Size(), 0);
}

TEST(ExifWriter, WritesAJfifHeaderWhenTheFirstSectionIsNeither) {
  Exif reader;
  Bytes original = testsupport::ReadFileBytes(Hopper());
  ASSERT_TRUE(ReadSections(reader, original, Exif::kReadImage));
  IxMemFile out;
  out.Open();
  ASSERT_TRUE(reader.EncodeExif(&out));
  const uint8_t* b = out.GetBuffer(false);
  const Bytes head(b, b + 20);
  const Bytes expected = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 'J',  'F',  'I',  'F',
                          0x00, 0x01, 0x01, 0x01, 0x01, 0x2C, 0x01, 0x2C, 0x00, 0x00};
  EXPECT_EQ(head, expected);
  // The rest is the original after its own JFIF section.
  Bytes body = JpegBody(Hopper());
  EXPECT_EQ(Bytes(b + 20, b + out.Size()), body);
}

TEST(ExifWriter, RewrittenFileKeepsPictureAndFields) {
  testsupport::TempDir dir;
  for (const char* name : {"flower.jpg", "iptc.jpg", "hopper_orientation_6.jpg"}) {
    const std::string path = PillowJpeg(name);
    Exif reader;
    ASSERT_TRUE(ReadSections(reader, testsupport::ReadFileBytes(path), Exif::kReadExif | Exif::kReadImage));
    IxMemFile out;
    out.Open();
    ASSERT_TRUE(reader.EncodeExif(&out)) << name;
    const uint8_t* b = out.GetBuffer(false);
    const std::string copy = dir.file(std::string("copy-") + name);
    WriteFile(copy, Bytes(b, b + out.Size()));
    const std::string tags = " -n -T -Make -Model -Orientation -ExposureTime -FNumber -ISO -Flash ";
    EXPECT_EQ(Shell("exiftool" + tags + "'" + copy + "'"), Shell("exiftool" + tags + "'" + path + "'"))
        << name;
    EXPECT_EQ(Djpeg(copy).pixels, Djpeg(path).pixels) << name;
  }
}

// ---- real files against exiftool ----

namespace {

std::vector<std::string> SplitTabs(const std::string& line) {
  std::vector<std::string> out;
  size_t start = 0;
  for (;;) {
    size_t tab = line.find('\t', start);
    out.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
    if (tab == std::string::npos) break;
    start = tab + 1;
  }
  if (!out.empty() && !out.back().empty() && out.back().back() == '\n') out.back().pop_back();
  return out;
}

bool Has(const std::string& v) { return v != "-" && !v.empty(); }

// Compares the fields of one file with exiftool's numbers.
void CompareWithExiftool(const std::string& path) {
  SCOPED_TRACE(path);
  std::vector<std::string> t = SplitTabs(Shell(
      "exiftool -n -T -Make -Model -DateTimeOriginal -IFD0:Orientation -IFD0:XResolution -IFD0:YResolution "
      "-IFD0:ResolutionUnit -EXIF:ExposureTime -EXIF:FNumber -EXIF:ISO -EXIF:FocalLength -EXIF:Flash '" +
      path + "'"));
  ASSERT_EQ(t.size(), 12u);
  Exif reader;
  ReadSections(reader, testsupport::ReadFileBytes(path), Exif::kReadExif);
  const IxExifInfoBlock& info = reader.Info();
  ASSERT_EQ(info.IsExif, 1) << reader.GetLastError();
  auto text = [](const std::string& v, size_t max) { return Has(v) ? v.substr(0, max) : std::string(); };
  EXPECT_EQ(info.CameraMake, text(t[0], 31));
  EXPECT_EQ(info.CameraModel, text(t[1], 39));
  EXPECT_EQ(info.DateTime, text(t[2], 19));
  if (Has(t[3])) {
    int o = std::stoi(t[3]);
    EXPECT_EQ(info.Orientation, o >= 1 && o <= 8 ? o : 0);
  }
  // Rationals are read as signed 32-bit numbers, so 4294967295/1 is -1.
  auto number = [](const std::string& v) {
    double d = Has(v) ? std::stod(v) : 0.0;
    return d >= 2147483648.0 ? d - 4294967296.0 : d;
  };
  auto near = [](double ours, double theirs) {
    return std::fabs(ours - theirs) <= 1e-4 * std::max(1.0, std::fabs(theirs));
  };
  if (Has(t[4]) && t[4] != "undef") {
    EXPECT_TRUE(near(info.Xresolution, number(t[4]))) << info.Xresolution;
  }
  if (Has(t[5]) && t[5] != "undef") {
    EXPECT_TRUE(near(info.Yresolution, number(t[5]))) << info.Yresolution;
  }
  if (Has(t[6])) {
    int unit = std::stoi(t[6]);
    if (unit == 2) {
      EXPECT_FLOAT_EQ(info.ResolutionUnit, 1.0f);
    }
    if (unit == 3) {
      EXPECT_FLOAT_EQ(info.ResolutionUnit, 0.3937007f);
    }
  }
  if (Has(t[7])) {
    EXPECT_TRUE(near(info.ExposureTime, number(t[7]))) << info.ExposureTime;
  }
  if (Has(t[8])) {
    EXPECT_TRUE(near(info.ApertureFNumber, number(t[8]))) << info.ApertureFNumber;
  }
  if (Has(t[9])) {
    int iso = std::stoi(t[9]);
    EXPECT_EQ(info.ISOequivalent, iso < 50 ? iso * 200 : iso);
  }
  if (Has(t[10])) {
    EXPECT_TRUE(near(info.FocalLength, number(t[10]))) << info.FocalLength;
  }
  if (Has(t[11])) {
    EXPECT_EQ(info.FlashUsed, (std::stoi(t[11]) & 7) != 0 ? 1 : 0);
  }
}

}  // namespace

TEST(ExifRealFiles, FieldsEqualExiftool) {
  for (const char* name :
       {"flower.jpg", "iptc.jpg", "iptc_roundUp.jpg", "ultrahdr.jpg", "xmp_test.jpg", "exif-72dpi-int.jpg",
        "exif-200dpcm.jpg", "exif-ifd-offset.jpg", "photoshop-200dpi.jpg", "pil_sample_rgb.jpg",
        "empty_gps_ifd.jpg", "sugarshack_bad_mpo_header.jpg", "exif_gps.jpg", "hopper_orientation_2.jpg",
        "hopper_orientation_6.jpg", "hopper_orientation_8.jpg", "orientation_rectangle.jpg", "rgb.jpg"}) {
    CompareWithExiftool(PillowJpeg(name));
  }
}

TEST(ExifRealFiles, EveryPillowFileIsReadWithoutHarm) {
  for (const std::string& path : testsupport::SharedFiles("testdata/pillow/jpeg", ".jpg")) {
    Bytes file = testsupport::ReadFileBytes(path);
    Exif reader;
    ReadSections(reader, file, Exif::kReadExif | Exif::kReadImage);
    // Every cut of the file too: the walk must stop cleanly wherever the bytes end.
    for (size_t cut = 1; cut < 8; ++cut) {
      Exif partial;
      ReadSections(partial, Bytes(file.begin(), file.begin() + static_cast<long>(file.size() * cut / 8)),
                   Exif::kReadExif | Exif::kReadImage);
    }
  }
}

class ExiftoolWritten : public ::testing::TestWithParam<const char*> {};
INSTANTIATE_TEST_SUITE_P(ByteOrders, ExiftoolWritten, ::testing::Values("II", "MM"));

TEST_P(ExiftoolWritten, FieldsAndThumbnailEqualExiftool) {
  testsupport::TempDir dir;
  const std::string base = dir.file("base.jpg"), thumb = dir.file("thumb.jpg"), photo = dir.file("photo.jpg");
  Shell("djpeg -pnm '" + Hopper() + "' | cjpeg -quality 80 > '" + base + "'");
  Shell("djpeg -pnm -scale 1/4 '" + Hopper() + "' | cjpeg > '" + thumb + "'");
  Shell(
      std::string("exiftool -q -n -o '") + photo + "' -ExifByteOrder=" + GetParam() +
      " -Make='Acme Optics' -Model='Box 2' -Orientation=6 -XResolution=240 -YResolution=240 -ResolutionUnit=2"
      " -ExposureTime=0.004 -FNumber=5.6 -ISO=800 -FocalLength=50 -Flash=9 -DateTimeOriginal='2020:01:02 "
      "03:04:05'"
      " '-ThumbnailImage<=" +
      thumb + "' '" + base + "'");
  CompareWithExiftool(photo);
  Exif reader;
  ReadSections(reader, testsupport::ReadFileBytes(photo), Exif::kReadExif);
  ASSERT_NE(reader.Info().ThumbnailPointer, nullptr);
  const IxExifInfoBlock& info = reader.Info();
  EXPECT_EQ(Bytes(info.ThumbnailPointer, info.ThumbnailPointer + info.ThumbnailSize),
            testsupport::ReadFileBytes(thumb));
}

TEST(ExifRealFiles, SelfLinkedDirectoryWrittenByExiftool) {
  // exiftool writes a valid file; its IFD1 link is then pointed back at IFD0.
  testsupport::TempDir dir;
  const std::string base = dir.file("base.jpg"), photo = dir.file("photo.jpg");
  Shell("djpeg -pnm '" + Hopper() + "' | cjpeg > '" + base + "'");
  Shell("exiftool -q -n -o '" + photo + "' -ExifByteOrder=II -Orientation=3 -Make=Loop '" + base + "'");
  Bytes file = testsupport::ReadFileBytes(photo);
  // Exif header at the first APP1: FF E1 len "Exif\0\0" then the TIFF data.
  size_t app1 = 2;
  while (!(file[app1] == 0xFF && file[app1 + 1] == 0xE1))
    app1 += 2 + ((file[app1 + 2] << 8) | file[app1 + 3]);
  const size_t tiff = app1 + 10;
  const uint32_t ifd0 = file[tiff + 4] | (file[tiff + 5] << 8);
  const uint32_t entries = file[tiff + ifd0] | (file[tiff + ifd0 + 1] << 8);
  const size_t link = tiff + ifd0 + 2 + 12 * entries;
  file[link] = static_cast<uint8_t>(ifd0);
  file[link + 1] = static_cast<uint8_t>(ifd0 >> 8);
  file[link + 2] = file[link + 3] = 0;
  Exif reader;
  ASSERT_TRUE(ReadSections(reader, file, Exif::kReadExif));
  EXPECT_EQ(reader.Info().IsExif, 1);
  EXPECT_EQ(reader.Info().Orientation, 3);
  EXPECT_STREQ(reader.Info().CameraMake, "Loop");
  EXPECT_STREQ(reader.GetLastError(), "Illegal subdirectory link");
}
