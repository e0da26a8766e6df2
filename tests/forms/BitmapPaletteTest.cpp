// A bitmap's palette: made from the colour table of 1-, 4- and 8-bit bitmaps; setting one
// changes the colours drawn, not the pixels' indices.
#include <gtest/gtest.h>

#include <vector>

#include "platform/forms/TBitmap.h"
#include "platform/gdi/Gdi.h"
#include "support/SharedData.h"

TEST(BitmapPalette, EqualsTheColourTable) {
  TBitmap bitmap;
  bitmap.LoadFromFile(testsupport::SharedPath("testdata/pillow/bmp/g_pal8.bmp").c_str());
  const TDibImage dib = bitmap.ToDibImage();
  ASSERT_EQ(dib.BitCount, 8);
  HPALETTE palette = bitmap.Palette();
  ASSERT_NE(palette, nullptr);
  std::vector<PALETTEENTRY> entries(dib.Table.size());
  ASSERT_EQ(GetPaletteEntries(palette, 0, UINT(entries.size()), entries.data()), dib.Table.size());
  for (std::size_t i = 0; i < entries.size(); ++i) {
    EXPECT_EQ(entries[i].peRed, dib.Table[i].rgbRed);
    EXPECT_EQ(entries[i].peGreen, dib.Table[i].rgbGreen);
    EXPECT_EQ(entries[i].peBlue, dib.Table[i].rgbBlue);
  }
  EXPECT_EQ(bitmap.Palette(), palette);  // kept by the bitmap

  TBitmap deep;
  deep.SetPixelFormat(pf24bit);
  deep.SetSize(4, 4);
  EXPECT_EQ(deep.Palette(), nullptr);
  TBitmap empty;
  empty.SetPixelFormat(pf8bit);
  EXPECT_EQ(empty.Palette(), nullptr);
}

TEST(BitmapPalette, SettingOneChangesTheColoursDrawn) {
  TBitmap bitmap;
  bitmap.SetPixelFormat(pf4bit);
  bitmap.SetSize(2, 1);
  static_cast<BYTE*>(bitmap.ScanLine(0))[0] = 0x5A;  // indices 5 and 10
  std::vector<BYTE> memory(sizeof(LOGPALETTE) + 16 * sizeof(PALETTEENTRY));
  auto* logical = reinterpret_cast<LOGPALETTE*>(memory.data());
  logical->palVersion = 0x300;
  logical->palNumEntries = 16;
  for (int i = 0; i < 16; ++i) logical->palPalEntry[i] = PALETTEENTRY{BYTE(i * 16), BYTE(255 - i), 7, 0};
  HPALETTE palette = CreatePalette(logical);
  int changes = 0;
  bitmap.OnChange = [&changes](TObject*) { ++changes; };
  bitmap.SetPalette(palette);
  EXPECT_TRUE(bitmap.PaletteModified);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(static_cast<BYTE*>(bitmap.ScanLine(0))[0], 0x5A);
  EXPECT_EQ(bitmap.PixelFormat(), pf4bit);

  TBitmap target;
  target.SetPixelFormat(pf24bit);
  target.SetSize(2, 1);
  target.Canvas()->Draw(0, 0, &bitmap);
  const BYTE* drawn = static_cast<const BYTE*>(target.ScanLine(0));
  EXPECT_EQ(std::vector<int>({drawn[2], drawn[1], drawn[0]}), std::vector<int>({5 * 16, 250, 7}));
  EXPECT_EQ(std::vector<int>({drawn[5], drawn[4], drawn[3]}), std::vector<int>({10 * 16, 245, 7}));
  DeleteObject(palette);
}
