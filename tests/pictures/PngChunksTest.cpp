// The chunks of the PNG picture: CRC, the header's checks, gamma tables, the chunk list's
// placement rules, and ancillary chunks written back as they came.
#include <gtest/gtest.h>

#include <random>
#include <typeinfo>

#include "PngTestSupport.h"
#include "pictures/png/PngExceptions.h"
#include "pictures/png/TChunkIDAT.h"
#include "pictures/png/TChunkIEND.h"
#include "pictures/png/TChunkPLTE.h"
#include "pictures/png/TChunkgAMA.h"
#include "pictures/png/TChunkpHYs.h"
#include "pictures/png/TChunktEXt.h"
#include "pictures/png/TChunktIME.h"
#include "pictures/png/TChunktRNS.h"
#include "pictures/png/TChunkzTXt.h"

using namespace pngtest;

namespace {

// Registered once for the whole program.
const auto* const environment = ::testing::AddGlobalTestEnvironment(new PngEnvironment);

// The class and text of what loading `file` raises ("" when it loads).
std::pair<std::string, std::string> LoadError(const Bytes& file) {
  TPNGObject png;
  try {
    Load(png, file);
  } catch (const Exception& e) {
    std::string name = typeid(e).name();
    return {name, e.Message.ToStd()};
  }
  return {"", ""};
}
template <class E>
std::pair<std::string, std::string> Expect(const char* text) {
  return {typeid(E).name(), text};
}

Bytes Gray8Rows(std::uint32_t w, std::uint32_t h) { return Bytes(std::size_t(w + 1) * h, 0); }

TEST(PngCrc, MatchesZlibAndKnownValues) {
  std::mt19937 random(7);
  for (std::size_t length : {0u, 1u, 13u, 4096u}) {
    Bytes buffer(length);
    for (auto& b : buffer) b = std::uint8_t(random());
    EXPECT_EQ(~update_crc(0xFFFFFFFFu, buffer.data(), length), crc32(0, buffer.data(), uInt(length)))
        << length;
  }
  TPNGObject png;
  TChunkIEND iend(&png);
  TMemoryStream stream;
  iend.SaveToStream(&stream);
  ASSERT_EQ(stream.Size(), 12);
  EXPECT_EQ(ReadBigEndian32(static_cast<const std::uint8_t*>(stream.Memory()) + 8), 0xAE426082u);
}

TEST(PngChunks, CraftedHeadersAndPalettesAreJudged) {
  const Bytes good = Ihdr(4, 2, 8, 0);
  Bytes shortHeader = Chunk("IHDR", Bytes(good.begin() + 8, good.begin() + 20));
  const Bytes rows = Gray8Rows(4, 2);
  struct Case {
    const char* what;
    Bytes file;
    std::pair<std::string, std::string> expected;
  } cases[] = {
      {"12-byte header", File({shortHeader, Chunk("IDAT", Deflate(rows)), Iend()}),
       Expect<EPngInvalidIHDR>(pngtext::InvalidIHDR)},
      {"width 65536", File({Ihdr(65536, 1, 8, 0), Chunk("IDAT", Deflate(Gray8Rows(1, 1))), Iend()}),
       Expect<EPNGSizeExceeds>(pngtext::SizeExceeds)},
      {"width 65535 height 1",
       File({Ihdr(65535, 1, 8, 0), Chunk("IDAT", Deflate(Gray8Rows(65535, 1))), Iend()}),
       {"", ""}},
      {"width 0", File({Ihdr(0, 1, 8, 0), Chunk("IDAT", Deflate(rows)), Iend()}),
       Expect<EPngInvalidIHDR>(pngtext::InvalidIHDR)},
      {"height 0", File({Ihdr(1, 0, 8, 0), Chunk("IDAT", Deflate(rows)), Iend()}),
       Expect<EPngInvalidIHDR>(pngtext::InvalidIHDR)},
      {"65535 x 65535 pixels", File({Ihdr(65535, 65535, 8, 2), Chunk("IDAT", Deflate(rows)), Iend()}),
       Expect<EPNGOutMemory>(pngtext::OutMemory)},
      {"compression 1", File({Ihdr(4, 2, 8, 0, 0, 1), Chunk("IDAT", Deflate(rows)), Iend()}),
       Expect<EPNGUnknownCompression>(pngtext::UnknownCompression)},
      {"interlace 2", File({Ihdr(4, 2, 8, 0, 2), Chunk("IDAT", Deflate(rows)), Iend()}),
       Expect<EPNGUnknownInterlace>(pngtext::UnknownInterlace)},
      {"filter method 7", File({Ihdr(4, 2, 8, 0, 0, 0, 7), Chunk("IDAT", Deflate(rows)), Iend()}), {"", ""}},
      {"grey at 3 bits", File({Ihdr(4, 2, 3, 0), Chunk("IDAT", Deflate(rows)), Iend()}),
       Expect<EPngInvalidIHDR>(pngtext::InvalidIHDR)},
      {"grey and alpha at 4 bits", File({Ihdr(4, 2, 4, 4), Chunk("IDAT", Deflate(rows)), Iend()}),
       Expect<EPngInvalidIHDR>(pngtext::InvalidIHDR)},
      {"second header", File({good, good, Chunk("IDAT", Deflate(rows)), Iend()}),
       Expect<EPngInvalidIHDR>(pngtext::InvalidIHDR)},
      {"PLTE of 10 bytes",
       File({Ihdr(4, 2, 8, 3), Chunk("PLTE", Bytes(10)), Chunk("IDAT", Deflate(rows)), Iend()}),
       Expect<EPNGInvalidPalette>(pngtext::InvalidPalette)},
      {"PLTE of 769 bytes",
       File({Ihdr(4, 2, 8, 3), Chunk("PLTE", Bytes(769)), Chunk("IDAT", Deflate(rows)), Iend()}),
       Expect<EPNGInvalidPalette>(pngtext::InvalidPalette)},
      {"tRNS of 257 bytes",
       File({Ihdr(4, 2, 8, 3), Chunk("PLTE", Bytes(768)), Chunk("tRNS", Bytes(257)),
             Chunk("IDAT", Deflate(rows)), Iend()}),
       Expect<EPNGInvalidPalette>(pngtext::InvalidPalette)},
  };
  for (const Case& c : cases) EXPECT_EQ(LoadError(c.file), c.expected) << c.what;
}

TEST(PngChunks, GammaTablesFollowTheChunkAndIgnoreBadValues) {
  auto tables = [](const Bytes& gama) {
    TPNGObject png;
    Load(png, Simple(1, 1, 8, 0, Gray8Rows(1, 1), {Chunk("gAMA", gama)}));
    return std::make_pair(Bytes(png.GammaTable, png.GammaTable + 256),
                          Bytes(png.InverseGamma, png.InverseGamma + 256));
  };
  auto value = [](std::uint32_t v) {
    Bytes d(4);
    WriteBigEndian32(d.data(), v);
    return d;
  };
  Bytes identity(256);
  for (int i = 0; i < 256; ++i) identity[i] = std::uint8_t(i);

  const auto [gamma, inverse] = tables(value(100000));
  EXPECT_EQ(Bytes(gamma.begin(), gamma.begin() + 8), (Bytes{0, 21, 28, 34, 39, 43, 46, 50}));
  EXPECT_EQ(Bytes(gamma.begin() + 250, gamma.end()), (Bytes{253, 253, 254, 254, 255, 255}));
  EXPECT_EQ(inverse[255], 255);
  EXPECT_EQ(inverse[21], 1);

  EXPECT_EQ(tables(value(45455)).first, identity);
  for (const Bytes& bad : {value(0), value(0x80000000u), value(0xFFFFFFFFu), Bytes{0, 1}}) {
    const auto [g, i] = tables(bad);
    EXPECT_EQ(g, identity);
    EXPECT_EQ(i, identity);
  }
}

TEST(PngChunks, ListPlacesChunksAndRefusesDuplicates) {
  TPNGObject png(COLOR_PALETTE, 8, 2, 2);
  auto names = [&] {
    std::string out;
    for (std::uint32_t i = 0; i < png.Chunks()->Count(); ++i)
      out += png.Chunks()->Item(i)->GetChunkName().ToStd() + " ";
    return out;
  };
  EXPECT_EQ(names(), "IHDR PLTE IDAT IEND ");
  png.Chunks()->Add<TChunktEXt>();
  png.Chunks()->Add<TChunktRNS>();
  png.Chunks()->Add<TChunkgAMA>();
  png.Chunks()->Add<TChunkpHYs>();
  EXPECT_EQ(names(), "IHDR pHYs gAMA PLTE tRNS IDAT tEXt IEND ");

  auto refusal = [&](auto add) -> std::string {
    try {
      add();
    } catch (const EPngError& e) {
      return e.Message.ToStd();
    }
    return "";
  };
  const std::string existent = pngtext::ExistentCriticalChunk;
  EXPECT_EQ(refusal([&] { png.Chunks()->Add<TChunkgAMA>(); }), existent);
  EXPECT_EQ(refusal([&] { png.Chunks()->Add<TChunktRNS>(); }), existent);
  EXPECT_EQ(refusal([&] { png.Chunks()->Add<TChunkIHDR>(); }), existent);
  EXPECT_EQ(refusal([&] { png.Chunks()->Add<TChunkIDAT>(); }), existent);
  EXPECT_EQ(refusal([&] { png.Chunks()->Add<TChunkPLTE>(); }), existent);
  EXPECT_EQ(refusal([&] { png.Chunks()->Add<TChunkIEND>(); }), existent);
  EXPECT_EQ(names(), "IHDR pHYs gAMA PLTE tRNS IDAT tEXt IEND ");

  // Without a palette, tRNS goes before the image data.
  TPNGObject grey(COLOR_GRAYSCALE, 8, 2, 2);
  EXPECT_EQ(grey.Chunks()->Count(), 3u) << "no palette for grey images";
  grey.Chunks()->Add<TChunktRNS>();
  EXPECT_EQ(grey.Chunks()->Item(1)->GetChunkName().ToStd(), "tRNS");

  grey.Chunks()->RemoveChunk(grey.Chunks()->FindChunk<TChunkIEND>());
  EXPECT_EQ(refusal([&] { grey.Chunks()->Add<TChunktEXt>(); }), pngtext::InvalidImage);
}

TEST(PngChunks, AncillaryChunksAreWrittenBackAsTheyCame) {
  struct Case {
    const char* file;
    std::vector<std::string> kept;  // chunks whose bytes must come back unchanged, in order
  } cases[] = {
      {"cdfn2c08.png", {"pHYs"}}, {"cdhn2c08.png", {"pHYs"}}, {"cdsn2c08.png", {"pHYs"}},
      {"cdun2c08.png", {"pHYs"}}, {"cm0n0g04.png", {"tIME"}}, {"cm7n0g04.png", {"tIME"}},
      {"cm9n0g04.png", {"tIME"}}, {"ct1n0g04.png", {"tEXt"}}, {"cs3n2c16.png", {"sBIT"}},
      {"ch1n3p04.png", {"hIST"}}, {"ps1n0g08.png", {"sPLT"}}, {"ctjn0g04.png", {"iTXt"}},
      {"exif2c08.png", {"eXIf"}}, {"bgbn4a08.png", {"bKGD"}},
  };
  for (const Case& c : cases) {
    const Bytes original = SuiteFile(c.file);
    TPNGObject png;
    Load(png, original);
    const Bytes saved = Save(png);
    Samples ignored;
    EXPECT_TRUE(Libpng::Get().Read(saved, ignored)) << c.file;
    std::vector<ChunkView> before, after;
    for (const ChunkView& v : Chunks(original))
      if (std::find(c.kept.begin(), c.kept.end(), v.name) != c.kept.end()) before.push_back(v);
    for (const ChunkView& v : Chunks(saved))
      if (std::find(c.kept.begin(), c.kept.end(), v.name) != c.kept.end()) after.push_back(v);
    ASSERT_EQ(before.size(), after.size()) << c.file;
    ASSERT_FALSE(before.empty()) << c.file;
    for (std::size_t i = 0; i < before.size(); ++i) EXPECT_EQ(before[i].data, after[i].data) << c.file;
  }
  // Chromaticities are dropped on loading.
  TPNGObject png;
  Load(png, SuiteFile("ccwn2c08.png"));
  for (const ChunkView& v : Chunks(Save(png))) EXPECT_NE(v.name, "cHRM");
}

TEST(PngChunks, UnknownChunksTiedToTheImageDataStayOnlyWithTheImageTheyCameWith) {
  // Animation chunks are unsafe to copy (upper-case fourth letter): they describe frames that
  // match the header they came with. A private safe-to-copy chunk goes with any image.
  Bytes control(26, 0);
  control[3] = 1;   // sequence number
  control[7] = 4;   // width
  control[11] = 1;  // height
  const std::vector<Bytes> extra = {Chunk("acTL", {0, 0, 0, 2, 0, 0, 0, 0}), Chunk("fcTL", control),
                                    Chunk("prVt", {1, 2, 3})};
  struct Case {
    int depth;
    bool editPixel;
    bool unsafeKept;
    const char* what;
  } cases[] = {
      {2, false, false, "2-bit grey, saved at 4 bits"},
      {8, false, true, "8-bit grey as loaded"},
      {8, true, false, "8-bit grey with a pixel changed"},
  };
  for (const Case& c : cases) {
    const Bytes rows = c.depth == 2 ? Bytes{0, 0x1B} : Bytes{0, 10, 20, 30, 40};
    TPNGObject png;
    Load(png, Simple(4, 1, c.depth, 0, rows, extra));
    if (c.editPixel) png.SetPixels(1, 0, TColor(0xFFFFFF));
    const Bytes saved = Save(png);
    Samples ignored;
    EXPECT_TRUE(Libpng::Get().Read(saved, ignored)) << c.what;
    std::vector<std::string> names;
    for (const ChunkView& v : Chunks(saved)) names.push_back(v.name);
    const std::vector<std::string> expected =
        c.unsafeKept ? std::vector<std::string>{"IHDR", "acTL", "fcTL", "prVt", "IDAT", "IEND"}
                     : std::vector<std::string>{"IHDR", "prVt", "IDAT", "IEND"};
    EXPECT_EQ(names, expected) << c.what;
  }
}

TEST(PngChunks, TextChunksReadLikeTheirUncompressedTwins) {
  auto texts = [](const char* file) {
    TPNGObject png;
    Load(png, SuiteFile(file));
    std::vector<std::pair<std::string, std::string>> out;
    for (std::uint32_t i = 0; i < png.Chunks()->Count(); ++i)
      if (auto* t = dynamic_cast<TChunktEXt*>(png.Chunks()->Item(i)))
        out.emplace_back(t->Keyword().ToStd(), t->Text().ToStd());
    return out;
  };
  const auto plain = texts("ct1n0g04.png");
  ASSERT_FALSE(plain.empty());
  EXPECT_EQ(texts("ctzn0g04.png"), plain);

  // A saved compressed text inflates to the same text.
  TPNGObject png;
  Load(png, SuiteFile("ctzn0g04.png"));
  png.AddzTXt("Comment", "made here");
  TPNGObject again;
  Load(again, Save(png));
  auto* last = dynamic_cast<TChunkzTXt*>(again.Chunks()->Item(again.Chunks()->Count() - 2));
  ASSERT_NE(last, nullptr);
  EXPECT_EQ(last->Keyword().ToStd(), "Comment");
  EXPECT_EQ(last->Text().ToStd(), "made here");
}

TEST(PngChunks, ChunksThatCannotBeParsedKeepTheirData) {
  // Wrong-length pixel size and time, a 2-byte text, compressed texts without separator,
  // method byte or valid data: all read without error and come back byte for byte.
  // A compressed text that inflates past 8 MiB reads as empty, and is kept too.
  Bytes bomb = {'k', 0, 0};
  const Bytes packed = Deflate(Bytes(9u << 20, 'z'), 9);
  bomb.insert(bomb.end(), packed.begin(), packed.end());
  const std::vector<Bytes> odd = {Chunk("zTXt", bomb),
                                  Chunk("pHYs", {0, 0, 0, 1, 2}),
                                  Chunk("tIME", {7, 0xE0, 1}),
                                  Chunk("tEXt", {'a', 'b'}),
                                  Chunk("zTXt", {'k', 'e', 'y', 'w'}),
                                  Chunk("zTXt", {'k', 0}),
                                  Chunk("zTXt", {'k', 0, 0, 1, 2, 3, 4}),
                                  Chunk("ihdr", {1, 2, 3})};
  const Bytes file = Simple(2, 1, 8, 0, Gray8Rows(2, 1), odd);
  TPNGObject png;
  Load(png, file);
  for (std::uint32_t i = 0; i < png.Chunks()->Count(); ++i)
    if (auto* text = dynamic_cast<TChunktEXt*>(png.Chunks()->Item(i))) {
      EXPECT_EQ(text->Text().ToStd(), "") << i;
      if (text->GetChunkName() == "tEXt") {
        EXPECT_EQ(text->Keyword().ToStd(), "");
      }
    }
  const Bytes saved = Save(png);
  std::vector<Bytes> written;
  for (const ChunkView& v : Chunks(saved))
    if (v.name != "IHDR" && v.name != "IDAT" && v.name != "IEND")
      written.push_back(Chunk(v.name.c_str(), v.data));
  EXPECT_EQ(written, odd);
}

TEST(PngChunks, TransparencyOfPaletteEntries) {
  struct Case {
    Bytes trns;
    TPNGTransparencyMode mode;
  } cases[] = {
      {{255, 0, 255}, ptmBit},
      {{0, 128}, ptmPartial},
      {{128}, ptmPartial},
      {{255, 255, 255, 0}, ptmPartial},
  };
  for (const Case& c : cases) {
    // Three palette entries: a zero past them does not count.
    const Bytes file =
        Simple(2, 1, 8, 3, Gray8Rows(2, 1), {Chunk("PLTE", Bytes(9, 40)), Chunk("tRNS", c.trns)});
    TPNGObject png;
    Load(png, file);
    EXPECT_EQ(png.GetTransparencyMode(), c.mode) << int(c.trns.size());
  }
}

}  // namespace
