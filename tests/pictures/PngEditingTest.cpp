// Making and changing PNG pictures: blank images, bitmaps in and out, transparency changes,
// pixel access, resizing, the pixel-size chunk and the clipboard.
#include <gtest/gtest.h>

#include "PngTestSupport.h"
#include "pictures/png/PngExceptions.h"
#include "pictures/png/TChunkPLTE.h"
#include "pictures/png/TChunkpHYs.h"
#include "pictures/png/TChunktRNS.h"
#include "platform/forms/TBitmap.h"
#include "platform/gdi/Gdi.h"
#include "platform/rtl/GlobalMemory.h"

using namespace pngtest;

namespace {

// AssignTo is how the picture hands itself to a bitmap; the bitmap's own Assign draws instead.
class TExposedPNG : public TPNGObject {
 public:
  using TPNGObject::AssignTo;
};

std::vector<std::string> ChunkNames(const Bytes& file) {
  std::vector<std::string> out;
  for (const ChunkView& c : Chunks(file)) out.push_back(c.name);
  return out;
}

TEST(PngEditing, BlankImagesOfEveryTypeAndDepth) {
  for (unsigned type : {0u, 1u, 2u, 3u, 4u, 5u, 6u, 7u})
    for (unsigned depth : {1u, 2u, 3u, 4u, 8u, 16u}) {
      const bool defined = ValidColorTypeAndDepth(std::uint8_t(type), std::uint8_t(depth));
      std::unique_ptr<TPNGObject> png;
      try {
        png = std::make_unique<TPNGObject>(type, depth, 5, 3);
      } catch (const EPNGInvalidSpec& e) {
        EXPECT_FALSE(defined) << type << "/" << depth;
        EXPECT_EQ(e.Message.ToStd(), pngtext::InvalidSpec);
        continue;
      }
      ASSERT_TRUE(defined) << type << "/" << depth;
      const Bytes saved = Save(*png);
      Samples samples;
      ASSERT_TRUE(Libpng::Get().Read(saved, samples)) << type << "/" << depth;
      EXPECT_EQ(samples.width, 5u);
      EXPECT_EQ(samples.bitDepth, depth == 2 ? 4 : int(depth)) << "2 bits are held as 4";
      const std::vector<std::string> expected = type == 3
                                                    ? std::vector<std::string>{"IHDR", "PLTE", "IDAT", "IEND"}
                                                    : std::vector<std::string>{"IHDR", "IDAT", "IEND"};
      EXPECT_EQ(ChunkNames(saved), expected) << type << "/" << depth;
    }
  for (auto [w, h] : {std::pair{0, 3}, {3, 0}, {65536, 1}})
    EXPECT_THROW(TPNGObject(2, 8, w, h), EPNGInvalidSpec);
}

TEST(PngEditing, BitmapsAssignInAndOut) {
  TBitmap rgb;
  rgb.SetPixelFormat(pf24bit);
  rgb.SetSize(3, 2);
  rgb.Canvas()->SetPixels(0, 0, TColor(RGB(10, 20, 30)));
  rgb.Canvas()->SetPixels(2, 1, TColor(RGB(200, 100, 50)));
  TPNGObject png;
  png.Assign(&rgb);
  EXPECT_EQ(png.GetHeader()->IHDRData.ColorType, COLOR_RGB);
  EXPECT_EQ(png.GetHeader()->IHDRData.BitDepth, 8);
  EXPECT_EQ(png.Chunks()->FindChunk<TChunkPLTE>(), nullptr);
  EXPECT_EQ(COLORREF(png.GetPixels(0, 0)), RGB(10, 20, 30));
  EXPECT_EQ(COLORREF(png.GetPixels(2, 1)), RGB(200, 100, 50));

  TBitmap indexed;
  indexed.SetPixelFormat(pf8bit);
  indexed.SetSize(4, 4);
  png.Assign(&indexed);
  EXPECT_EQ(png.GetHeader()->IHDRData.ColorType, COLOR_PALETTE);
  ASSERT_NE(png.Chunks()->FindChunk<TChunkPLTE>(), nullptr);
  EXPECT_EQ(png.Chunks()->FindChunk<TChunkPLTE>()->Count(), 256u);
  Samples samples;
  EXPECT_TRUE(Libpng::Get().Read(Save(png), samples));

  rgb.SetTransparentColor(TColor(RGB(10, 20, 30)));
  rgb.SetTransparent(true);
  png.Assign(&rgb);
  EXPECT_NE(png.Chunks()->FindChunk<TChunktRNS>(), nullptr);
  EXPECT_EQ(png.GetTransparencyMode(), ptmBit);

  TBitmap empty;
  png.Assign(&empty);
  EXPECT_TRUE(png.Empty());

  struct Case {
    const char* file;
    TPixelFormat format;
  } cases[] = {
      {"basn0g01.png", pf1bit},  {"basn3p02.png", pf4bit},  {"basn3p04.png", pf4bit},
      {"basn0g08.png", pf24bit}, {"basn2c16.png", pf24bit}, {"basn3p08.png", pf8bit},
      {"basn6a08.png", pf24bit}, {"tbrn2c08.png", pf24bit},
  };
  TExposedPNG exposed;
  for (const Case& c : cases) {
    Load(exposed, SuiteFile(c.file));
    TBitmap out;
    exposed.AssignTo(&out);
    EXPECT_EQ(out.PixelFormat(), c.format) << c.file;
    EXPECT_EQ(out.Width(), 32) << c.file;
    EXPECT_EQ(out.Transparent(), exposed.GetTransparencyMode() == ptmBit) << c.file;
  }
  // What the bitmap gets is what is drawn: the file's colours through the gamma table.
  Load(exposed, SuiteFile("basn2c08.png"));
  TBitmap out;
  exposed.AssignTo(&out);
  out.SetPixelFormat(pf32bit);
  const auto* row = static_cast<const std::uint8_t*>(out.ScanLine(5));
  const COLORREF file = COLORREF(exposed.GetPixels(7, 5));
  EXPECT_EQ(RGB(row[4 * 7 + 2], row[4 * 7 + 1], row[4 * 7]),
            RGB(exposed.GammaTable[GetRValue(file)], exposed.GammaTable[GetGValue(file)],
                exposed.GammaTable[GetBValue(file)]));
}

TEST(PngEditing, ResizingKeepsTheTopLeftAndOpaqueAlpha) {
  TPNGObject png;
  Load(png, SuiteFile("basn6a16.png"));
  EXPECT_THROW(png.Resize(0, 10), EPNGInvalidNewSize);
  const Samples before = OurSamples(png);
  png.Resize(40, 35);
  const Samples after = OurSamples(png);
  ASSERT_EQ(after.width, 40u);
  for (std::uint32_t y = 0; y < 35; ++y)
    for (std::uint32_t x = 0; x < 40; ++x)
      for (int c = 0; c < 4; ++c) {
        const std::uint16_t got = after.values[(y * 40 + x) * 4 + c];
        if (x < 32 && y < 32) {
          ASSERT_EQ(got, before.values[(y * 32 + x) * 4 + c]) << x << "," << y;
        } else {
          ASSERT_EQ(got, c == 3 ? 0xFFFF : 0) << x << "," << y << " new pixels: black, opaque";
        }
      }
  Samples saved;
  ASSERT_TRUE(Libpng::Get().Read(Save(png), saved));
  EXPECT_TRUE(saved.values == after.values);
  png.Resize(7, 3);
  EXPECT_EQ(png.Width(), 7);
  EXPECT_TRUE(Libpng::Get().Read(Save(png), saved));
}

TEST(PngEditing, TransparencyChanges) {
  TPNGObject alpha(COLOR_RGBALPHA, 8, 2, 2);
  EXPECT_THROW(alpha.SetTransparentColor(clBlack), EPNGCannotChangeTransparent);

  // The colour's red, scaled to the depth, is the grey sample written.
  struct Case {
    unsigned type, depth;
    TColor color;
    Bytes trns;
  } cases[] = {
      {COLOR_GRAYSCALE, 1, TColor(RGB(255, 255, 255)), {0, 1}},
      {COLOR_GRAYSCALE, 4, TColor(RGB(255, 0, 0)), {0, 15}},
      {COLOR_GRAYSCALE, 16, TColor(RGB(0x12, 0, 0)), {0x12, 0x12}},
      {COLOR_RGB, 16, TColor(RGB(1, 2, 3)), {1, 1, 2, 2, 3, 3}},
      {COLOR_RGB, 8, TColor(RGB(1, 2, 3)), {0, 1, 0, 2, 0, 3}},
  };
  for (const Case& c : cases) {
    TPNGObject png(c.type, c.depth, 2, 1);
    png.SetTransparentColor(c.color);
    const Bytes saved = Save(png);
    Samples samples;
    EXPECT_TRUE(Libpng::Get().Read(saved, samples));
    bool found = false;
    for (const ChunkView& v : Chunks(saved))
      if (v.name == "tRNS") {
        found = true;
        EXPECT_EQ(v.data, c.trns) << c.type << "/" << c.depth;
      }
    EXPECT_TRUE(found);
  }

  TPNGObject rgb;
  Load(rgb, SuiteFile("basn2c08.png"));
  const Samples original = OurSamples(rgb);
  rgb.CreateAlpha();
  EXPECT_EQ(rgb.GetHeader()->IHDRData.ColorType, COLOR_RGBALPHA);
  EXPECT_EQ(rgb.GetTransparencyMode(), ptmPartial);
  for (std::uint32_t y = 0; y < 32; ++y)
    for (std::uint32_t x = 0; x < 32; ++x) ASSERT_EQ(rgb.GetAlphaScanline(y)[x], 255);
  rgb.RemoveTransparency();
  EXPECT_EQ(rgb.GetHeader()->IHDRData.ColorType, COLOR_RGB);
  EXPECT_TRUE(OurSamples(rgb).values == original.values);

  TPNGObject palette;
  Load(palette, SuiteFile("basn3p04.png"));
  palette.CreateAlpha();
  EXPECT_EQ(palette.GetTransparencyMode(), ptmPartial);
  palette.RemoveTransparency();
  EXPECT_EQ(palette.GetTransparencyMode(), ptmNone);

  // A grey image below 8 bits gains alpha at 8 bits; its transparent grey becomes alpha 0.
  TPNGObject grey;
  Load(grey, SuiteFile("tbbn0g04.png"));
  const TColor first = grey.GetPixels(0, 0);
  grey.CreateAlpha();
  EXPECT_EQ(grey.GetHeader()->IHDRData.BitDepth, 8);
  EXPECT_EQ(grey.GetPixels(0, 0), first);
  Samples saved;
  ASSERT_TRUE(Libpng::Get().Read(Save(grey), saved));
  EXPECT_EQ(saved.colorType, 4);
  bool anyTransparent = false;
  for (std::size_t i = 1; i < saved.values.size(); i += 2) anyTransparent |= saved.values[i] == 0;
  EXPECT_TRUE(anyTransparent);

  // Removing the transparency of a truecolour image drops its transparent colour.
  TPNGObject keyed;
  Load(keyed, SuiteFile("tbrn2c08.png"));
  keyed.RemoveTransparency();
  EXPECT_EQ(keyed.GetTransparencyMode(), ptmNone);
}

TEST(PngEditing, PixelsRoundTripInTheFilesValues) {
  for (const char* name : {"basn3p08.png", "basn3p02.png", "basn0g01.png", "basn0g02.png", "basn0g04.png",
                           "basn0g08.png", "basn2c08.png", "basn0g16.png", "basn4a08.png"}) {
    TPNGObject png;
    Load(png, SuiteFile(name));
    TPNGObject copy;
    copy.Assign(&png);
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 32; ++x) {
        const TColor c = png.GetPixels(x, y);
        copy.SetPixels(x, y, c);
        ASSERT_EQ(copy.GetPixels(x, y), c) << name << " " << x << "," << y;
      }
    // 16-bit samples keep only the high byte given; the rest must match exactly.
    if (png.GetHeader()->IHDRData.BitDepth != 16) {
      EXPECT_TRUE(OurSamples(copy).values == OurSamples(png).values) << name;
    }
    const Samples before = OurSamples(png);
    EXPECT_EQ(png.GetPixels(-1, 0), 0);
    EXPECT_EQ(png.GetPixels(32, 0), 0);
    png.SetPixels(32, 0, clWhite);
    png.SetPixels(0, -1, clWhite);
    EXPECT_TRUE(OurSamples(png).values == before.values) << name << ": nothing written outside";
  }
  // Grey pixels give the grey the file means.
  TPNGObject grey;
  Load(grey, SuiteFile("basn0g02.png"));
  std::set<COLORREF> greys;
  for (int x = 0; x < 32; ++x) greys.insert(COLORREF(grey.GetPixels(x, 0)));
  EXPECT_TRUE(greys.count(RGB(85, 85, 85)));
}

TEST(PngEditing, PixelSizeDecidesTheDrawnSize) {
  struct Case {
    Bytes phys;
    int width;
  } cases[] = {
      {{0, 0, 0, 0, 0, 0, 0, 0, 1}, 32},              // 0 pixels a metre: the own size
      {{0, 0, 0x1D, 0x87, 0, 0, 0x1D, 0x87, 1}, 16},  // 7559 a metre (192 dpi), against 96 dpi
  };
  for (const Case& c : cases) {
    Bytes rows;
    for (int y = 0; y < 32; ++y) {
      rows.push_back(0);
      rows.insert(rows.end(), 32, 200);
    }
    TPNGObject png;
    Load(png, Simple(32, 32, 8, 0, rows, {Chunk("pHYs", c.phys)}));
    TBitmap sheet;
    sheet.SetPixelFormat(pf32bit);
    sheet.SetSize(40, 40);
    sheet.Canvas()->Brush()->SetColor(clBlack);
    sheet.Canvas()->FillRect(RECT{0, 0, 40, 40});
    png.DrawUsingPixelInformation(sheet.Canvas(), POINT{0, 0});
    int drawn = 0;
    const auto* row = static_cast<const std::uint8_t*>(sheet.ScanLine(0));
    while (drawn < 40 && row[4 * drawn] == 200) ++drawn;
    EXPECT_EQ(drawn, c.width);
  }
  TPNGObject png(COLOR_RGB, 8, 2, 2);
  EXPECT_FALSE(png.HasPixelInformation());
  EXPECT_EQ(png.GetPixelInformation()->UnitType(), utMeter);
  EXPECT_TRUE(png.HasPixelInformation());
}

TEST(PngEditing, ClipboardRoundTripKeepsOpaquePixels) {
  // No gamma chunk: what is drawn is what is stored.
  Bytes rows;
  for (int y = 0; y < 8; ++y) {
    rows.push_back(0);
    for (int x = 0; x < 24; ++x) rows.push_back(std::uint8_t(x * 11 + y * 29));
  }
  TPNGObject png;
  Load(png, Simple(8, 8, 8, 2, rows));
  WORD format = 0;
  HANDLE data = nullptr;
  HPALETTE palette = nullptr;
  png.SaveToClipboardFormat(format, data, palette);
  TPNGObject back;
  back.LoadFromClipboardFormat(format, data, palette);
  GlobalFree(static_cast<HGLOBAL>(data));
  EXPECT_TRUE(OurSamples(back).values == OurSamples(png).values);
}

}  // namespace
