// The PNG picture as a graphic: load errors, defaults, transparency modes, drawing over a
// background, gamma at display, and its place in the picture registry.
#include <gtest/gtest.h>

#include <cmath>

#include "PngTestSupport.h"
#include "pictures/png/PngExceptions.h"
#include "pictures/png/TChunkPLTE.h"
#include "pictures/png/TChunktRNS.h"
#include "platform/forms/TBitmap.h"
#include "platform/forms/TPicture.h"
#include "platform/gdi/Gdi.h"
#include "platform/rtl/Program.h"
#include "platform/rtl/Resources.h"
#include "support/TempDir.h"

using namespace pngtest;

namespace {

struct Failure {
  std::string type, text;
  std::uint32_t chunks = 0;
  bool operator==(const Failure&) const = default;
};
Failure LoadFailure(const Bytes& file) {
  TPNGObject png;
  try {
    Load(png, file);
  } catch (const Exception& e) {
    return {typeid(e).name(), e.Message.ToStd(), png.Chunks()->Count()};
  }
  return {"", "", png.Chunks()->Count()};
}
template <class E>
Failure Fails(const char* text, std::uint32_t chunks) {
  return {typeid(E).name(), text, chunks};
}

Bytes Gray8Rows(std::uint32_t w, std::uint32_t h, std::uint8_t value = 0) {
  Bytes rows;
  for (std::uint32_t y = 0; y < h; ++y) {
    rows.push_back(0);
    rows.insert(rows.end(), w, value);
  }
  return rows;
}

TEST(PngPicture, BrokenFilesRaiseTheirClassAndText) {
  struct Case {
    const char* file;
    Failure expected;
  } suite[] = {
      {"xs1n0g01.png", Fails<EPNGInvalidFileHeader>(pngtext::InvalidFileHeader, 0)},
      {"xs2n0g01.png", Fails<EPNGInvalidFileHeader>(pngtext::InvalidFileHeader, 0)},
      {"xs4n0g01.png", Fails<EPNGInvalidFileHeader>(pngtext::InvalidFileHeader, 0)},
      {"xs7n0g01.png", Fails<EPNGInvalidFileHeader>(pngtext::InvalidFileHeader, 0)},
      {"xcrn0g04.png", Fails<EPNGInvalidFileHeader>(pngtext::InvalidFileHeader, 0)},
      {"xlfn0g04.png", Fails<EPNGInvalidFileHeader>(pngtext::InvalidFileHeader, 0)},
      {"xhdn0g08.png", Fails<EPngInvalidCRC>(pngtext::InvalidCRC, 1)},
      {"xcsn0g01.png", Fails<EPngInvalidCRC>(pngtext::InvalidCRC, 3)},
      {"xdtn0g01.png", Fails<EPNGNoImageData>(pngtext::NoImageData, 3)},
      {"xc1n0g08.png", Fails<EPngInvalidIHDR>(pngtext::InvalidIHDR, 1)},
      {"xc9n2c08.png", Fails<EPngInvalidIHDR>(pngtext::InvalidIHDR, 1)},
      {"xd0n2c08.png", Fails<EPngInvalidIHDR>(pngtext::InvalidIHDR, 1)},
      {"xd3n2c08.png", Fails<EPngInvalidIHDR>(pngtext::InvalidIHDR, 1)},
      {"xd9n2c08.png", Fails<EPngInvalidIHDR>(pngtext::InvalidIHDR, 1)},
  };
  for (const Case& c : suite) {
    Failure got = LoadFailure(SuiteFile(c.file));
    EXPECT_EQ(got.type, c.expected.type) << c.file;
    EXPECT_EQ(got.text, c.expected.text) << c.file;
  }

  const Bytes header = Ihdr(4, 1, 8, 0);
  const Bytes data = Chunk("IDAT", Deflate(Gray8Rows(4, 1)));
  Bytes huge = Chunk("tEXt", {});
  WriteBigEndian32(huge.data(), 0xFFFFFFFFu);
  Bytes beyond = Chunk("tEXt", Bytes(100, 'a'));
  beyond.resize(60);
  Bytes whole = File({header, Chunk("gAMA", {0, 1, 0x86, 0xA0}), data, Iend()});
  struct Crafted {
    const char* what;
    Bytes file;
    Failure expected;
  } crafted[] = {
      {"text first", File({Chunk("tEXt", {'a', 0, 'b'}), header, data, Iend()}),
       Fails<EPNGIHDRNotFirst>(pngtext::IHDRNotFirst, 0)},
      {"unknown critical chunk", File({header, Chunk("ABCD", {1}), data, Iend()}),
       Fails<EPNGUnknownCriticalChunk>(pngtext::UnknownCriticalChunk, 2)},
      {"cut after the gamma chunk", Bytes(whole.begin(), whole.begin() + 8 + 25 + 16),
       Fails<EPngUnexpectedEnd>(pngtext::UnexpectedEnd, 2)},
      {"length 0xFFFFFFFF", File({header, huge, data, Iend()}),
       Fails<EPngUnexpectedEnd>(pngtext::UnexpectedEnd, 1)},
      {"length beyond the file", File({header, beyond}), Fails<EPngUnexpectedEnd>(pngtext::UnexpectedEnd, 2)},
      {"cut inside a CRC", Bytes(whole.begin(), whole.begin() + 8 + 25 + 14),
       Fails<EPngInvalidCRC>(pngtext::InvalidCRC, 2)},
      {"no IDAT", File({header, Iend()}), Fails<EPNGNoImageData>(pngtext::NoImageData, 2)},
  };
  for (const Crafted& c : crafted) EXPECT_EQ(LoadFailure(c.file), c.expected) << c.what;
}

TEST(PngPicture, DefaultsAndHeaderQueries) {
  TPNGObject png;
  EXPECT_EQ(png.Filters, FilterBit(pfSub));
  EXPECT_EQ(png.CompressionLevel, 7);
  EXPECT_EQ(png.InterlaceMethod, imNone);
  EXPECT_EQ(png.MaxIdatSize(), 65535u);
  png.SetMaxIdatSize(100);
  EXPECT_EQ(png.MaxIdatSize(), 65535u);
  png.SetMaxIdatSize(100000);
  EXPECT_EQ(png.MaxIdatSize(), 100000u);
  png.SetMaxIdatSize(0xFFFFFFFFu);
  EXPECT_EQ(png.MaxIdatSize(), 0x7FFFFFFFu);
  EXPECT_EQ(TPNGObject::GetLibraryVersion().ToStd(), "1.564");
  EXPECT_EQ(png.Width(), 0);
  EXPECT_TRUE(png.Empty());
  EXPECT_THROW(png.GetTransparencyMode(), EPNGHeaderNotPresent);

  struct Case {
    const char* file;
    std::uint32_t rowBytes, offset;
  } cases[] = {
      {"basn0g08.png", 32, 1},  {"basn0g16.png", 64, 2}, {"basn3p04.png", 16, 1},  {"basn2c08.png", 96, 3},
      {"basn2c16.png", 192, 6}, {"basn4a08.png", 64, 2}, {"basn4a16.png", 128, 4}, {"basn6a08.png", 128, 4},
      {"basn6a16.png", 256, 8}, {"basn0g01.png", 4, 1},
  };
  for (const Case& c : cases) {
    Load(png, SuiteFile(c.file));
    std::uint32_t rowBytes = 0, offset = 0;
    png.GetPixelInfo(rowBytes, offset);
    EXPECT_EQ(rowBytes, c.rowBytes) << c.file;
    EXPECT_EQ(offset, c.offset) << c.file;
  }
}

TEST(PngPicture, TransparencyModes) {
  struct Case {
    const char* file;
    TPNGTransparencyMode mode;
  } cases[] = {
      {"tp0n0g08.png", ptmNone},    {"tp0n2c08.png", ptmNone},    {"tp0n3p08.png", ptmNone},
      {"basn0g08.png", ptmNone},    {"tbbn0g04.png", ptmBit},     {"tbrn2c08.png", ptmBit},
      {"tbbn3p08.png", ptmBit},     {"tp1n3p08.png", ptmBit},     {"tm3n3p02.png", ptmPartial},
      {"basn4a08.png", ptmPartial}, {"basn6a16.png", ptmPartial},
  };
  for (const Case& c : cases) {
    TPNGObject png;
    Load(png, SuiteFile(c.file));
    EXPECT_EQ(png.GetTransparencyMode(), c.mode) << c.file;
  }
  TPNGObject png;
  Load(png, SuiteFile("tp1n3p08.png"));
  auto* trns = png.Chunks()->FindChunk<TChunktRNS>();
  auto* plte = png.Chunks()->FindChunk<TChunkPLTE>();
  std::uint32_t first = 0;
  while (trns->PaletteValues()[first] != 0) ++first;
  const std::uint32_t item = plte->GetPaletteItem(first);
  EXPECT_EQ(COLORREF(png.GetTransparentColor()), RGB(BYTE(item >> 16), BYTE(item >> 8), BYTE(item)));
}

// A 32-bit canvas filled with one colour, the picture drawn into `rect`.
struct Sheet {
  TBitmap bitmap;
  Sheet(int w, int h, TColor background) {
    bitmap.SetPixelFormat(pf32bit);
    bitmap.SetSize(w, h);
    bitmap.Canvas()->Brush()->SetColor(background);
    bitmap.Canvas()->FillRect(RECT{0, 0, w, h});
  }
  COLORREF At(int x, int y) {
    const auto* row = static_cast<const std::uint8_t*>(bitmap.ScanLine(y)) + 4 * x;
    return RGB(row[2], row[1], row[0]);
  }
};

TEST(PngPicture, PartialTransparencyBlendsOverTheTarget) {
  // Colour type 6, 4 x 1: alpha 0, 255, 128 and 128 over a black and a white target.
  Bytes row = {0, 255, 0, 0, 0, 0, 255, 0, 255, 255, 255, 255, 128, 0, 0, 255, 128};
  TPNGObject png;
  Load(png, Simple(4, 1, 8, 6, row));
  Sheet sheet(4, 1, clBlack);
  sheet.bitmap.Canvas()->StretchDraw(RECT{0, 0, 4, 1}, &png);
  EXPECT_EQ(sheet.At(0, 0), RGB(0, 0, 0)) << "alpha 0 keeps the target";
  EXPECT_EQ(sheet.At(1, 0), RGB(0, 255, 0)) << "alpha 255 copies";
  EXPECT_EQ(sheet.At(2, 0), RGB(128, 128, 128)) << "(128 * 255 + 127 * 0 + 255) >> 8";
  EXPECT_EQ(sheet.At(3, 0), RGB(0, 0, 128));

  // Right to left draws the normalised rectangle; an empty one draws nothing.
  Sheet flipped(4, 1, clBlack);
  flipped.bitmap.Canvas()->StretchDraw(RECT{4, 1, 0, 0}, &png);
  for (int x = 0; x < 4; ++x) EXPECT_EQ(flipped.At(x, 0), sheet.At(x, 0));
  Sheet empty(4, 1, clWhite);
  empty.bitmap.Canvas()->StretchDraw(RECT{2, 0, 2, 1}, &png);
  for (int x = 0; x < 4; ++x) EXPECT_EQ(empty.At(x, 0), RGB(255, 255, 255));
}

TEST(PngPicture, StretchingMapsColumnsByTruncation) {
  // 32 columns, each with its own red, partially transparent so the blending path draws.
  Bytes row = {0};
  for (int x = 0; x < 32; ++x) row.insert(row.end(), {std::uint8_t(x * 8), 0, 0, 255});
  row[4] = 254;  // one pixel below 255 keeps the image partially transparent
  TPNGObject png;
  Load(png, Simple(32, 1, 8, 6, row));
  Sheet sheet(77, 1, clBlack);
  sheet.bitmap.Canvas()->StretchDraw(RECT{0, 0, 77, 1}, &png);
  for (int j = 1; j < 77; ++j) {
    const int source = int(std::trunc(j / (77.0 / 32.0)));
    EXPECT_EQ(GetRValue(sheet.At(j, 0)), source * 8) << j;
  }
}

TEST(PngPicture, PaletteIndicesPastThePaletteDrawBlack) {
  // Four entries in the file, pixels using 0 and 9; translucent entry 0 keeps partial mode.
  Bytes rows = {0, 0, 9};
  const Bytes plte = {10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120};
  TPNGObject png;
  Load(png, Simple(2, 1, 8, 3, rows, {Chunk("PLTE", plte), Chunk("tRNS", {255, 128})}));
  ASSERT_EQ(png.GetTransparencyMode(), ptmPartial);
  Sheet sheet(2, 1, clWhite);
  ASSERT_NO_THROW(sheet.bitmap.Canvas()->StretchDraw(RECT{0, 0, 2, 1}, &png));
  EXPECT_EQ(sheet.At(0, 0), RGB(10, 20, 30));
  EXPECT_EQ(sheet.At(1, 0), RGB(0, 0, 0));
  EXPECT_THROW(png.Chunks()->FindChunk<TChunkPLTE>()->GetPaletteItem(9), EPngError);
}

TEST(PngPicture, TransparentEntriesOtherThanZeroAreNotBitTransparency) {
  // [128]: entry 0 is translucent, not invisible; black pixels of other entries stay.
  Bytes rows = {0, 0, 1};
  TPNGObject png;
  Load(png, Simple(2, 1, 8, 3, rows, {Chunk("PLTE", {200, 200, 200, 0, 0, 0}), Chunk("tRNS", {128})}));
  EXPECT_EQ(png.GetTransparencyMode(), ptmPartial);
  Sheet sheet(2, 1, clWhite);
  sheet.bitmap.Canvas()->StretchDraw(RECT{0, 0, 2, 1}, &png);
  EXPECT_EQ(sheet.At(0, 0), RGB(227, 227, 227)) << "(255 * 127 + 200 * 128 + 255) >> 8";
  EXPECT_EQ(sheet.At(1, 0), RGB(0, 0, 0));
}

TEST(PngPicture, SixteenBitTransparentSampleMatchesBothBytes) {
  // Grey 0x1234, 0x1235 and 0x1200: only the first is transparent.
  Bytes rows = {0, 0x12, 0x34, 0x12, 0x35, 0x12, 0x00};
  TPNGObject png;
  Load(png, Simple(3, 1, 16, 0, rows, {Chunk("tRNS", {0x12, 0x34})}));
  EXPECT_EQ(png.GetTransparencyMode(), ptmBit);
  Sheet sheet(3, 1, clRed);
  sheet.bitmap.Canvas()->StretchDraw(RECT{0, 0, 3, 1}, &png);
  EXPECT_EQ(sheet.At(0, 0), RGB(255, 0, 0));
  EXPECT_EQ(sheet.At(1, 0), RGB(0x12, 0x12, 0x12));
  EXPECT_EQ(sheet.At(2, 0), RGB(0x12, 0x12, 0x12));

  // A sample the depth cannot hold, or a chunk of the wrong length, makes nothing transparent.
  for (const Bytes& bad : {Bytes{0x01, 0x00}, Bytes{0, 1, 0}}) {
    TPNGObject grey;
    Load(grey, Simple(1, 1, 8, 0, Gray8Rows(1, 1), {Chunk("tRNS", bad)}));
    EXPECT_EQ(grey.GetTransparencyMode(), ptmNone);
    EXPECT_EQ(Chunks(Save(grey))[1].data, bad) << "saved unchanged";
  }
}

TEST(PngPicture, GammaAppliesWhenDrawingAndNotToTheSavedSamples) {
  for (const char* name : {"g03n2c08.png", "g10n3p04.png", "g25n0g16.png", "g03n0g16.png"}) {
    const Bytes file = SuiteFile(name);
    TPNGObject png;
    Load(png, file);
    Samples samples;
    ASSERT_TRUE(Libpng::Get().Read(file, samples));
    std::uint32_t gama = 0;
    Bytes plte;
    for (const ChunkView& c : Chunks(file)) {
      if (c.name == "gAMA") gama = ReadBigEndian32(c.data.data());
      if (c.name == "PLTE") plte = c.data;
    }
    auto gamma = [gama](int v) {
      return int(std::nearbyint(std::pow(v / 255.0, 1.0 / (gama / 100000.0 * 2.2)) * 255.0));
    };
    const int w = int(samples.width), h = int(samples.height);
    Sheet sheet(w, h, clBlack);
    sheet.bitmap.Canvas()->StretchDraw(RECT{0, 0, w, h}, &png);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const std::uint16_t* s = &samples.values[std::size_t(y * w + x) * samples.channels];
        int r, g, b;
        if (samples.colorType == 3) {
          r = plte[s[0] * 3], g = plte[s[0] * 3 + 1], b = plte[s[0] * 3 + 2];
        } else if (samples.colorType == 2) {
          r = s[0], g = s[1], b = s[2];
        } else {
          r = g = b = samples.bitDepth == 16 ? s[0] >> 8 : s[0];
        }
        ASSERT_EQ(sheet.At(x, y), RGB(BYTE(gamma(r)), BYTE(gamma(g)), BYTE(gamma(b))))
            << name << " " << x << "," << y;
      }
    Samples saved;
    ASSERT_TRUE(Libpng::Get().Read(Save(png), saved));
    EXPECT_TRUE(saved.values == samples.values) << name;
  }

  // Changing a pixel shows at once: the display copy is made again.
  TPNGObject png;
  Load(png, SuiteFile("g03n2c08.png"));
  Sheet before(32, 32, clBlack);
  before.bitmap.Canvas()->StretchDraw(RECT{0, 0, 32, 32}, &png);
  png.SetPixels(0, 0, TColor(RGB(255, 255, 255)));
  Sheet after(32, 32, clBlack);
  after.bitmap.Canvas()->StretchDraw(RECT{0, 0, 32, 32}, &png);
  EXPECT_EQ(after.At(0, 0), RGB(255, 255, 255));
  EXPECT_EQ(after.At(1, 0), before.At(1, 0));
}

TEST(PngPicture, PicturesLoadPngFilesByExtension) {
  testsupport::TempDir dir;
  const Bytes file = SuiteFile("basn2c08.png");
  for (const char* name : {"x.PNG", "x.png"}) {
    TPicture picture;
    picture.LoadFromFile(dir.write(name, std::string(file.begin(), file.end())).c_str());
    EXPECT_NE(dynamic_cast<TPNGObject*>(picture.Graphic()), nullptr) << name;
    EXPECT_EQ(picture.Width(), 32);
  }
  TPicture picture;
  picture.LoadFromFile(dir.write("good.png", std::string(file.begin(), file.end())).c_str());
  TGraphic* before = picture.Graphic();
  const Bytes broken = SuiteFile("xcsn0g01.png");
  EXPECT_THROW(picture.LoadFromFile(dir.write("bad.png", std::string(broken.begin(), broken.end())).c_str()),
               EPngInvalidCRC);
  EXPECT_EQ(picture.Graphic(), before);
}

TEST(PngPicture, ResourcesLoadByNameAndIdentifier) {
  static const Bytes file = SuiteFile("basn3p08.png");
  platform::RegisterResource(RT_RCDATA, "PNGTESTPICTURE", file.data(), file.size());
  platform::RegisterResource(RT_RCDATA, MAKEINTRESOURCE(4711), file.data(), file.size());
  TPNGObject byName, byId;
  byName.LoadFromResourceName(HInstance, "PNGTESTPICTURE");
  byId.LoadFromResourceID(HInstance, 4711);
  EXPECT_EQ(byName.Width(), 32);
  EXPECT_EQ(byId.Height(), 32);
  try {
    byName.LoadFromResourceName(HInstance, "NOSUCHPICTURE");
    FAIL() << "a missing resource loads";
  } catch (const EPNGCouldNotLoadResource& e) {
    EXPECT_EQ(e.Message.ToStd(), pngtext::CouldNotLoadResource);
  }
}

}  // namespace
