// The image data of the PNG picture: decoding every kind of file to the file's own samples,
// the chunk stream around the compressed data, and encoding (filters, chunk sizes, round trips).
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <set>

#include "PngTestSupport.h"
#include "pictures/png/PngExceptions.h"
#include "pictures/png/TChunkIDAT.h"
#include "platform/gdi/Gdi.h"
#include "support/TempDir.h"

using namespace pngtest;

namespace {

std::string ErrorText(const Bytes& file) {
  TPNGObject png;
  try {
    Load(png, file);
  } catch (const Exception& e) {
    return std::string(typeid(e).name()) + ": " + e.Message.ToStd();
  }
  return "";
}

// The decompressed image data of a file (all its IDAT chunks).
Bytes InflatedData(const Bytes& file) {
  Bytes packed;
  for (const ChunkView& c : Chunks(file))
    if (c.name == "IDAT") packed.insert(packed.end(), c.data.begin(), c.data.end());
  Bytes out(1 << 20);
  uLongf size = uLongf(out.size());
  EXPECT_EQ(uncompress(out.data(), &size, packed.data(), uLong(packed.size())), Z_OK);
  out.resize(size);
  return out;
}

// The filter byte of every row of a non-interlaced image whose rows are `rowBytes` long.
std::vector<int> FilterBytes(const Bytes& file, std::size_t rowBytes) {
  const Bytes data = InflatedData(file);
  std::vector<int> out;
  for (std::size_t p = 0; p < data.size(); p += rowBytes + 1) out.push_back(data[p]);
  return out;
}

TEST(PngDecoding, EverySuiteFileHoldsTheFilesSamples) {
  ASSERT_TRUE(Libpng::Get().Available());
  for (const std::string& name : ValidSuiteFiles()) {
    const Bytes file = SuiteFile(name);
    Samples expected;
    ASSERT_TRUE(Libpng::Get().Read(file, expected)) << name;
    TPNGObject png;
    Load(png, file);
    const Samples ours = OurSamples(png);
    EXPECT_EQ(ours.width, expected.width) << name;
    EXPECT_EQ(ours.height, expected.height) << name;
    EXPECT_TRUE(ours.values == expected.values) << name;
    // Grey colour tables show the gamma table at the bitmap's depth.
    TChunkIHDR* h = png.GetHeader();
    if (h->IHDRData.ColorType == 0 || h->IHDRData.ColorType == 4) {
      const int n = 1 << h->BitmapInfo.bmiHeader.biBitCount;
      for (int j = 0; j < n; ++j)
        ASSERT_EQ(h->BitmapInfo.bmiColors[j].rgbRed, png.GammaTable[MulDiv(j, 255, n - 1)])
            << name << " " << j;
    }
  }
}

TEST(PngDecoding, SplitImageDataDecodesAsOne) {
  TPNGObject one, nine;
  Load(one, SuiteFile("oi1n2c16.png"));
  Load(nine, SuiteFile("oi9n2c16.png"));
  EXPECT_TRUE(OurSamples(one).values == OurSamples(nine).values);
}

// A 16 x 16 grey image with one IDAT chunk per 20 compressed bytes.
Bytes ManyIdats(bool textInside) {
  Bytes rows;
  for (int y = 0; y < 16; ++y) {
    rows.push_back(0);
    for (int x = 0; x < 16; ++x) rows.push_back(std::uint8_t(x * 16 + y));
  }
  const Bytes packed = Deflate(rows, 0);
  std::vector<Bytes> chunks = {Ihdr(16, 16, 8, 0)};
  for (std::size_t p = 0; p < packed.size(); p += 20) {
    if (textInside && p == 40) chunks.push_back(Chunk("tEXt", {'a', 0, 'b'}));
    chunks.push_back(Chunk(
        "IDAT", Bytes(packed.begin() + long(p), packed.begin() + long(std::min(p + 20, packed.size())))));
  }
  chunks.push_back(Iend());
  return File(chunks);
}

TEST(PngDecoding, StreamFaultsRaiseTheirErrors) {
  EXPECT_EQ(ErrorText(ManyIdats(false)), "");
  Bytes flipped = ManyIdats(false);
  // The CRC of the third IDAT chunk: signature 8, IHDR 25, two IDATs of 32.
  flipped[8 + 25 + 32 * 2 + 8 + 20] ^= 1;
  EXPECT_EQ(ErrorText(flipped), std::string(typeid(EPngInvalidCRC).name()) + ": " + pngtext::InvalidCRC);
  EXPECT_EQ(ErrorText(ManyIdats(true)),
            std::string(typeid(EPNGMissingMultipleIDAT).name()) + ": " + pngtext::MissingMultipleIDAT);

  Bytes corrupt = Deflate(Bytes(17 * 4, 0));
  corrupt[2] = 0xFF;  // an invalid block type
  EXPECT_EQ(ErrorText(File({Ihdr(16, 4, 8, 0), Chunk("IDAT", corrupt), Iend()})),
            std::string(typeid(EPNGZLIBError).name()) + ": " + pngtext::ZLIBError + "data error (-3)");

  // A stream that asks for a preset dictionary.
  z_stream z{};
  deflateInit(&z, 6);
  const Bytes dictionary = {1, 2, 3, 4};
  deflateSetDictionary(&z, dictionary.data(), uInt(dictionary.size()));
  Bytes rows(17 * 4, 0), packed(256);
  z.next_in = rows.data(), z.avail_in = uInt(rows.size());
  z.next_out = packed.data(), z.avail_out = uInt(packed.size());
  deflate(&z, Z_FINISH);
  packed.resize(packed.size() - z.avail_out);
  deflateEnd(&z);
  EXPECT_EQ(ErrorText(File({Ihdr(16, 4, 8, 0), Chunk("IDAT", packed), Iend()})),
            std::string(typeid(EPNGZLIBError).name()) + ": " + pngtext::ZLIBError + "need dictionary (2)");
}

TEST(PngDecoding, AStreamEndingEarlyLoadsWithTheRestCleared) {
  // Two of four rows, then bytes after the stream's end inside the same chunk.
  Bytes rows = {0, 9, 9, 0, 8, 8};
  Bytes packed = Deflate(rows);
  packed.insert(packed.end(), {1, 2, 3, 4, 5});
  TPNGObject png;
  Load(png, File({Ihdr(2, 4, 8, 0), Chunk("IDAT", packed), Chunk("tEXt", {'k', 0, 't'}), Iend()}));
  EXPECT_EQ(OurSamples(png).values, (std::vector<std::uint16_t>{9, 9, 8, 8, 0, 0, 0, 0}));
  EXPECT_EQ(png.Chunks()->Count(), 4u) << "the chunks after the image data are read";
}

TEST(PngDecoding, ALongChunkWhoseRowsEndEarlyLoads) {
  // 100000 bytes of stored deflate data whose rows end in the first 65535 bytes: the rest of
  // the chunk still counts for its CRC.
  Bytes rows(16 * 101, 0);
  for (std::size_t i = 0; i < rows.size(); ++i) rows[i] = i % 101 == 0 ? 0 : std::uint8_t(i);
  Bytes packed = Deflate(rows, 0);
  packed.resize(100000, 0x55);
  TPNGObject png;
  Load(png, File({Ihdr(100, 16, 8, 0), Chunk("IDAT", packed), Iend()}));
  EXPECT_EQ(png.GetScanline(15)[99], rows[15 * 101 + 100]);
}

TEST(PngEncoding, FilterChoice) {
  TPNGObject png(COLOR_RGB, 8, 16, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 16; ++x)
      png.SetPixels(x, y, TColor(RGB(std::uint8_t(x * 16), std::uint8_t(y * 60), 7)));
  struct Case {
    TFilters filters;
    std::vector<int> expected;
  } cases[] = {
      {FilterBit(pfSub), {1, 1, 1, 1}},
      {FilterBit(pfNone), {0, 0, 0, 0}},
      {0, {0, 0, 0, 0}},
      {FilterBit(pfPaeth), {4, 4, 4, 4}},
  };
  for (const Case& c : cases) {
    png.Filters = c.filters;
    EXPECT_EQ(FilterBytes(Save(png), 48), c.expected) << int(c.filters);
  }

  // One grey row. Flat: None, Sub and Up all score 14 and the lowest offered type wins.
  // Triangular numbers: Sub gives 0, 1, 2 ... and Up the row itself, neither repeating a
  // neighbour, so every score is 0 and the row goes out unfiltered even without None.
  struct Row {
    std::vector<std::uint8_t> samples;
    TFilters filters;
    int expected;
  } rows[] = {
      {std::vector<std::uint8_t>(16, 5), TFilters(FilterBit(pfSub) | FilterBit(pfUp)), 1},
      {std::vector<std::uint8_t>(16, 5), kAllFilters, 0},
      {{0, 1, 3, 6, 10, 15, 21, 28, 36, 45, 55, 66, 78, 91, 105, 120},
       TFilters(FilterBit(pfSub) | FilterBit(pfUp)),
       0},
  };
  for (const Row& r : rows) {
    TPNGObject grey(COLOR_GRAYSCALE, 8, 16, 1);
    std::copy(r.samples.begin(), r.samples.end(), grey.GetScanline(0));
    grey.Filters = r.filters;
    EXPECT_EQ(FilterBytes(Save(grey), 16), std::vector<int>{r.expected}) << int(r.filters);
  }
}

TEST(PngEncoding, ImageDataIsSplitIntoChunksOfTheMaximumSize) {
  TPNGObject png(COLOR_RGB, 8, 256, 200);
  std::mt19937 random(11);
  for (std::uint32_t y = 0; y < 200; ++y)
    for (int x = 0; x < 768; ++x) png.GetScanline(y)[x] = std::uint8_t(random());
  png.CompressionLevel = 0;
  std::vector<std::size_t> sizes;
  for (const ChunkView& c : Chunks(Save(png)))
    if (c.name == "IDAT") sizes.push_back(c.data.size());
  ASSERT_EQ(sizes.size(), 3u);
  EXPECT_EQ(sizes[0], 65535u);
  EXPECT_EQ(sizes[1], 65535u);
  EXPECT_GT(sizes[2], 0u);
  EXPECT_LT(sizes[2], 65535u);
}

TEST(PngEncoding, EverySuiteFileRoundTripsSampleForSample) {
  for (const std::string& name : ValidSuiteFiles()) {
    TPNGObject png;
    Load(png, SuiteFile(name));
    Samples original;
    ASSERT_TRUE(Libpng::Get().Read(SuiteFile(name), original));
    if (original.bitDepth == 2 && original.colorType == 0) {
      // Written at 4 bits, grey v becomes 5v: the same grey.
      for (auto& v : original.values) v = std::uint16_t(v * 5);
    }
    for (TInterlaceMethod method : {imNone, imAdam7}) {
      png.InterlaceMethod = method;
      png.Filters = kAllFilters;
      const Bytes saved = Save(png);
      Samples back;
      ASSERT_TRUE(Libpng::Get().Read(saved, back)) << name;
      if (original.bitDepth == 2) {
        EXPECT_EQ(back.bitDepth, 4) << name;
      }
      EXPECT_TRUE(back.values == original.values) << name << " interlace " << int(method);
    }
  }
}

// pngcheck's complaints about a folder of files, one file name a line ("" when it is missing).
std::set<std::string> PngcheckComplaints(const std::string& folder, const std::string& listing) {
  std::set<std::string> names;
  if (std::system(("pngcheck -q " + folder + "/*.png > " + listing + " 2>&1").c_str()) == 127 * 256)
    return {""};
  std::string text;
  for (const std::uint8_t c : testsupport::ReadFileBytes(listing)) text += char(c);
  for (std::size_t p = 0; (p = text.find(".png", p)) != std::string::npos; p += 4) {
    const std::size_t start = text.find_last_of("/ ", p) + 1;
    names.insert(text.substr(start, p + 4 - start));
  }
  return names;
}

TEST(PngEncoding, PngcheckAcceptsWhatWeSaveWhereverItAcceptsTheOriginal) {
  // pngcheck is stricter than the format in places (a tIME of 1970).
  testsupport::TempDir dir;
  for (const std::string& name : ValidSuiteFiles()) {
    TPNGObject png;
    Load(png, SuiteFile(name));
    png.Filters = kAllFilters;
    const Bytes saved = Save(png);
    dir.write(name, std::string(saved.begin(), saved.end()));
  }
  testsupport::TempDir out;
  const std::set<std::string> ours = PngcheckComplaints(dir.path(), out.file("ours.txt"));
  if (ours.count("")) GTEST_SKIP() << "pngcheck is not installed";
  const std::set<std::string> originals =
      PngcheckComplaints(testsupport::SharedPath("testdata/png"), out.file("originals.txt"));
  ASSERT_TRUE(originals.count("cm7n0g04.png")) << "the listing names the files pngcheck refuses";
  for (const std::string& name : ours) {
    EXPECT_TRUE(originals.count(name)) << name;
  }
}

TEST(PngEncoding, TwoBitGreySavedAtFourBitsKeepsItsGreys) {
  TPNGObject png;
  Load(png, SuiteFile("basn0g02.png"));
  TPNGObject again;
  Load(again, Save(png));
  EXPECT_EQ(again.GetHeader()->IHDRData.BitDepth, 4);
  const std::uint8_t* row = again.GetScanline(0);
  // The first row runs through the four greys.
  std::set<int> values;
  for (std::uint32_t y = 0; y < again.GetHeader()->IHDRData.Height; ++y)
    for (std::uint32_t x = 0; x < 32; ++x) values.insert(again.GetPixels(int(x), int(y)) & 0xFF);
  (void)row;
  EXPECT_EQ(values, (std::set<int>{0, 85, 170, 255}));
}

}  // namespace
