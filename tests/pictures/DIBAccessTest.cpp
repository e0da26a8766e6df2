// Direct row access to bitmaps, the web palette and the colour lookups of the ditherers.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>

#include "pictures/GIFException.h"
#include "pictures/color/TGrayScaleLookup.h"
#include "pictures/color/TMonochromeLookup.h"
#include "pictures/color/TNetscapeColorLookup.h"
#include "pictures/color/TSlowColorLookup.h"
#include "pictures/color/WebPalette.h"
#include "pictures/dib/DIBRoutines.h"
#include "pictures/dib/TDIBReader.h"
#include "pictures/dib/TDIBWriter.h"
#include "platform/gdi/Gdi.h"
#include "support/SharedData.h"
#include "support/TempDir.h"

namespace {

HPALETTE MakePalette(const std::vector<PALETTEENTRY>& entries) {
  std::vector<BYTE> memory(sizeof(LOGPALETTE) + entries.size() * sizeof(PALETTEENTRY));
  auto* palette = reinterpret_cast<LOGPALETTE*>(memory.data());
  palette->palVersion = 0x300;
  palette->palNumEntries = WORD(entries.size());
  for (std::size_t i = 0; i < entries.size(); ++i) palette->palPalEntry[i] = entries[i];
  return CreatePalette(palette);
}

}  // namespace

TEST(DIBAccess, WebPaletteSteps) {
  HPALETTE palette = WebPalette();
  PALETTEENTRY entries[216];
  ASSERT_EQ(GetPaletteEntries(palette, 0, 216, entries), 216u);
  auto rgb = [&](int i) { return std::vector<int>{entries[i].peRed, entries[i].peGreen, entries[i].peBlue}; };
  EXPECT_EQ(rgb(0), (std::vector<int>{0, 0, 0}));
  EXPECT_EQ(rgb(36), (std::vector<int>{51, 0, 0}));
  EXPECT_EQ(rgb(215), (std::vector<int>{255, 255, 255}));
  DeleteObject(palette);
}

TEST(DIBAccess, ColourLookups) {
  HPALETTE twins = MakePalette({{10, 10, 10, 0}, {200, 0, 0, 0}, {200, 0, 0, 0}});
  TNetscapeColorLookup netscape(nullptr);
  TGrayScaleLookup grey(nullptr);
  TMonochromeLookup mono(nullptr);
  TSlowColorLookup slow(twins);
  struct Case {
    const char* name;
    TColorLookup* lookup;
    BYTE r, g, b;
    int index;
    BYTE outR, outG, outB;
  };
  const Case cases[] = {
      {"netscape 47", &netscape, 47, 47, 47, 0, 0, 0, 0},
      {"netscape 48", &netscape, 48, 48, 48, 43, 51, 51, 51},
      {"grey", &grey, 100, 50, 200, (100 * 77 + 50 * 150 + 200 * 29) >> 8, 82, 82, 82},
      {"monochrome 127", &mono, 127, 127, 127, 0, 0, 0, 0},
      {"monochrome 128", &mono, 128, 128, 128, 1, 255, 255, 255},
      {"slow, equal entries", &slow, 190, 5, 5, 1, 200, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    BYTE r = 0, g = 0, b = 0;
    EXPECT_EQ(c.lookup->NearestIndex(c.r, c.g, c.b, r, g, b), c.index);
    EXPECT_EQ(std::vector<int>({r, g, b}), std::vector<int>({c.outR, c.outG, c.outB}));
  }
  EXPECT_EQ(netscape.Colors(), 216);
  EXPECT_EQ(slow.Colors(), 3);
  DeleteObject(twins);
}

TEST(DIBAccess, TheWriterBuildsTheBitmapTopRowFirst) {
  HPALETTE palette = MakePalette({{0, 0, 0, 0}, {255, 0, 0, 0}, {0, 0, 255, 0}});
  TBitmap bitmap;
  {
    TDIBWriter small(&bitmap, palette, 1, 1, pf8bit);
    *static_cast<BYTE*>(small.RowPointer(0)) = 1;
    EXPECT_EQ(small.BitsSize(), 4);
    EXPECT_EQ(small.InfoHeader()->biClrUsed, 256u);
    EXPECT_EQ(small.InfoHeader()->biClrImportant, 3u);
  }
  {
    TDIBWriter writer(&bitmap, palette, 3, 2, pf8bit);
    for (int row = 0; row < 3; ++row) std::memset(writer.RowPointer(row), row, 2);
    try {
      writer.RowPointer(3);
      ADD_FAILURE() << "row 3 of 3";
    } catch (const EInvalidGraphicOperation& e) {
      EXPECT_STREQ(e.what(), "Scan line index out of range");
    }
  }
  ASSERT_EQ(bitmap.PixelFormat(), pf8bit);
  ASSERT_EQ(bitmap.Width(), 2);
  ASSERT_EQ(bitmap.Height(), 3);
  for (int row = 0; row < 3; ++row) EXPECT_EQ(static_cast<BYTE*>(bitmap.ScanLine(row))[1], row);
  PALETTEENTRY entries[3];
  ASSERT_NE(bitmap.Palette(), nullptr);
  ASSERT_GE(GetPaletteEntries(bitmap.Palette(), 0, 3, entries), 3u);
  EXPECT_EQ(entries[1].peRed, 255);
  EXPECT_EQ(entries[2].peBlue, 255);
  DeleteObject(palette);

  struct Refusal {
    int width, height;
    TPixelFormat format;
    const char* message;
  };
  for (const Refusal& r :
       {Refusal{0, 5, pf8bit, "Invalid image dimensions"}, Refusal{5, 0, pf24bit, "Invalid image dimensions"},
        Refusal{5, 5, pf4bit, "Unsupported PixelFormat"}}) {
    try {
      TDIBWriter writer(&bitmap, nullptr, r.height, r.width, r.format);
      ADD_FAILURE() << "made";
    } catch (const GIFException& e) {
      EXPECT_STREQ(e.what(), r.message);
    }
  }
}

TEST(DIBAccess, GetDIBReadsEveryRowInTheAskedFormat) {
  HPALETTE palette = MakePalette({{0, 0, 0, 0}, {255, 0, 0, 0}, {0, 0, 255, 0}});
  TBitmap bitmap;
  {
    TDIBWriter writer(&bitmap, palette, 3, 2, pf8bit);
    for (int row = 0; row < 3; ++row) std::memset(writer.RowPointer(row), row, 2);
  }
  // Top row black, then red, then blue.
  struct Case {
    TPixelFormat format;
    HPALETTE palette;
  };
  for (const Case& c : {Case{pf24bit, nullptr}, Case{pf24bit, palette}, Case{pf8bit, palette}}) {
    SCOPED_TRACE(int(c.format) * 10 + (c.palette != nullptr));
    int infoSize = 0, imageSize = 0;
    InternalGetDIBSizes(bitmap.Handle(), infoSize, imageSize, c.format);
    std::vector<BYTE> info(std::size_t(infoSize), 0), bits(std::size_t(imageSize), 0);
    ASSERT_TRUE(InternalGetDIB(bitmap.Handle(), c.palette, info.data(), bits.data(), c.format));
    const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(info.data());
    ASSERT_EQ(std::abs(header->biHeight), 3);
    // The rows come in the order the header gives: top first for a negative height.
    const int stride = AlignBit(2, header->biBitCount, 32);
    const BYTE* top = bits.data() + (header->biHeight < 0 ? 0 : 2 * stride);
    const BYTE* bottom = bits.data() + (header->biHeight < 0 ? 2 * stride : 0);
    const BYTE* middle = bits.data() + stride;
    if (c.format == pf24bit) {
      EXPECT_EQ((std::vector<int>{bottom[0], bottom[1], bottom[2]}), (std::vector<int>{255, 0, 0}));
      EXPECT_EQ((std::vector<int>{middle[3], middle[4], middle[5]}), (std::vector<int>{0, 0, 255}));
      EXPECT_EQ((std::vector<int>{top[3], top[4], top[5]}), (std::vector<int>{0, 0, 0}));
    } else {
      const auto* colours = reinterpret_cast<const RGBQUAD*>(info.data() + header->biSize);
      const BYTE blue = bottom[0], red = middle[1];
      EXPECT_EQ(colours[blue].rgbBlue, 255);
      EXPECT_EQ(colours[red].rgbRed, 255);
      EXPECT_EQ(colours[blue].rgbRed, 0);
    }
  }
  DeleteObject(palette);
  try {
    InitializeBitmapInfoHeader(nullptr, pf24bit);
    ADD_FAILURE() << "no bitmap";
  } catch (const GIFException& e) {
    EXPECT_STREQ(e.what(), "Bitmap image is not valid");
  }
}

TEST(DIBAccess, TheReaderLeavesTheBitmapAsItWas) {
  testsupport::TempDir temp;
  std::vector<std::string> files;
  for (const std::string& path : testsupport::SharedFiles("testdata/pillow/bmp", ".bmp"))
    if (path.substr(path.rfind('/') + 1, 2) == "g_") files.push_back(path);
  ASSERT_FALSE(files.empty());
  // Pillow's RGB pixels of every file, as the oracle.
  std::string script =
      "from PIL import Image\nimport sys\nfor i, p in enumerate(sys.argv[2:]):\n"
      "    try: data = Image.open(p).convert('RGB').tobytes()\n"
      "    except Exception: continue\n"
      "    open(sys.argv[1] + '/%d.rgb' % i, 'wb').write(data)\n";
  std::string command = "/usr/bin/python3 -c \"" + script + "\" '" + temp.path() + "'";
  for (const std::string& f : files) command += " '" + f + "'";
  const bool havePillow = std::system((command + " 2>/dev/null").c_str()) == 0;
  int compared = 0;
  for (std::size_t i = 0; i < files.size(); ++i) {
    SCOPED_TRACE(files[i]);
    TBitmap bitmap;
    bitmap.LoadFromFile(files[i].c_str());
    const TPixelFormat format = bitmap.PixelFormat();
    const TDibImage before = bitmap.ToDibImage();
    auto reader = std::make_unique<TDIBReader>(&bitmap, pf24bit);
    std::vector<BYTE> rgb;
    for (int y = 0; y < bitmap.Height(); ++y) {
      const BYTE* row = static_cast<const BYTE*>(reader->RowPointer(y));
      for (int x = 0; x < bitmap.Width(); ++x)
        rgb.insert(rgb.end(), {row[3 * x + 2], row[3 * x + 1], row[3 * x]});
    }
    reader.reset();
    EXPECT_EQ(bitmap.PixelFormat(), format);
    EXPECT_EQ(bitmap.ToDibImage().Bits, before.Bits);
    std::ifstream in(temp.file(std::to_string(i) + ".rgb"), std::ios::binary);
    // This Pillow misreads 4-bit run-length files, so those are left out of the comparison.
    const bool runLength = files[i].find("rle") != std::string::npos;
    if (havePillow && before.BitCount != 16 && !runLength && in) {
      ++compared;
      std::vector<BYTE> expected((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      EXPECT_TRUE(rgb == expected);
    }
  }
  if (havePillow) {
    EXPECT_GE(compared, 14);
  }
  if (!havePillow) GTEST_SKIP() << "Pillow (python3-pil) is not installed: formats checked, pixels not";
}
