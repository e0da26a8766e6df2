// Colour tables: how they grow, search, are written and are optimised, with every pixel keeping
// its colour.
#include <gtest/gtest.h>

#include "GifFixtures.h"
#include "pictures/GIFException.h"
#include "pictures/gif/TGIFGraphicControlExtension.h"
#include "pictures/gif/TGIFSubImage.h"
#include "platform/gdi/Gdi.h"

using namespace giftest;

namespace {

TColor Rgb(int r, int g, int b) { return TColor(r | (g << 8) | (b << 16)); }

Bytes Written(TGIFColorMap* map) {
  TMemoryStream stream;
  map->SaveToStream(&stream);
  const auto* p = static_cast<const std::uint8_t*>(stream.Memory());
  return Bytes(p, p + stream.Size());
}

// A picture with one frame of the given pixels over a global table of `colors` distinct colours.
Bytes OneFrame(const Bytes& pixels, int colors, const Bytes& before = {}) {
  Bytes gif = Header(int(pixels.size()), 1, colors);
  Append(gif, before);
  int size = 2;
  while ((1 << size) <= *std::max_element(pixels.begin(), pixels.end())) ++size;
  Append(gif, ImageBlock(0, 0, int(pixels.size()), 1, size, SubBlocks(PlainCodes(pixels, size))));
  gif.push_back(0x3B);
  return gif;
}

}  // namespace

TEST(GIFColorMap, GrowsSearchesAndIsWrittenPadded) {
  TGIFImage image;
  TGIFColorMap* map = image.GetColorMap();
  map->SetCapacity(17);
  EXPECT_EQ(map->Capacity(), 32);
  map->SetCapacity(300);
  EXPECT_EQ(map->Capacity(), 256);
  map->Clear();

  map->Add(Rgb(1, 2, 3));
  EXPECT_EQ(Written(map), (Bytes{1, 2, 3, 0, 0, 0}));
  map->Add(Rgb(4, 5, 6));
  map->Add(Rgb(1, 2, 3));
  EXPECT_EQ(Written(map), (Bytes{1, 2, 3, 4, 5, 6, 1, 2, 3, 0, 0, 0}));
  EXPECT_EQ(map->IndexOf(Rgb(1, 2, 3)), 2);
  map->SetOptimized(true);
  EXPECT_EQ(map->IndexOf(Rgb(1, 2, 3)), 0);
  EXPECT_EQ(map->IndexOf(Rgb(9, 9, 9)), -1);

  map->Clear();
  for (int i = 0; i < 256; ++i) map->Add(Rgb(i, 0, 0));
  try {
    map->Add(Rgb(0, 1, 0));
    ADD_FAILURE() << "added";
  } catch (const GIFException& e) {
    EXPECT_STREQ(e.what(), "Color table overflow");
  }
  EXPECT_EQ(map->Count(), 256);

  std::vector<TGIFColor> many(300, TGIFColor{7, 8, 9});
  map->ImportColorMap(many.data(), 300);
  EXPECT_EQ(map->Count(), 256);
  std::vector<BYTE> quads(300 * 4, 1);
  map->ImportColorTable(quads.data(), 300);
  EXPECT_EQ(map->Count(), 256);
}

TEST(GIFColorMap, TheScreenDescriptorSaysWhatIsWritten) {
  struct Case {
    int colors;
    bool sorted;
    BYTE packed;
  };
  for (const Case& c : {Case{3, false, 0x80 | 0x10 | 1}, Case{3, true, 0x80 | 0x08 | 0x10 | 1},
                        Case{1, false, 0x80 | 0x00 | 0}, Case{200, false, 0x80 | 0x70 | 7}}) {
    SCOPED_TRACE(c.colors);
    TGIFImage image;
    for (int i = 0; i < c.colors; ++i) image.GetColorMap()->Add(Rgb(i, i, i));
    image.GetColorMap()->SetOptimized(c.sorted);
    image.Header()->Prepare();
    EXPECT_EQ(image.Header()->PackedFields(), c.packed);
  }
}

TEST(GIFColorMap, OptimisingOrdersByUseAndRenumbersThePixels) {
  // Colour 1 used most, 3 next, 0 once, 2 never; background 2 and transparent index 3.
  const Bytes pixels = {1, 3, 1, 0, 3, 1, 7};
  Bytes gif = OneFrame(pixels, 4, ControlBlock(0x01, 0, 3));
  gif[11] = 2;
  TGIFImage image;
  Load(image, gif);
  TGIFColorMap* map = image.GetColorMap();
  TGIFSubImage* frame = image.Images()->GetImage(0);
  std::vector<TGIFColor> before;
  for (BYTE p : frame->Pixels()) before.push_back(p < 4 ? map->Colors(p) : TGIFColor{});
  const TGIFColor background = map->Colors(2), transparent = map->Colors(3);

  EXPECT_TRUE(map->Optimize());
  EXPECT_TRUE(map->Optimized());
  EXPECT_EQ(map->Count(), 4);  // the background colour counts as used
  EXPECT_EQ(frame->Pixels()[0], 0);
  for (std::size_t i = 0; i + 1 < pixels.size(); ++i) EXPECT_EQ(map->Colors(frame->Pixels()[i]), before[i]);
  EXPECT_EQ(frame->Pixels().back(), 7);  // not a colour of this table: left alone
  EXPECT_EQ(map->Colors(image.GetBackgroundColorIndex()), background);
  EXPECT_EQ(map->Colors(frame->GraphicControlExtension()->GetTransparentColorIndex()), transparent);

  TGIFImage unused;
  Load(unused, OneFrame({2, 2, 0, 2}, 4));
  EXPECT_TRUE(unused.GetColorMap()->Optimize());
  EXPECT_EQ(unused.GetColorMap()->Count(), 2);
  EXPECT_EQ(unused.Images()->GetImage(0)->Pixels(), (Bytes{0, 0, 1, 0}));
}

TEST(GIFColorMap, AnOrderedTableOnlyBecomesSorted) {
  TGIFImage image;
  Load(image, OneFrame({0, 0, 0, 1, 1, 2}, 4));
  std::vector<TGIFColor> before(image.GetColorMap()->Data(), image.GetColorMap()->Data() + 4);
  EXPECT_TRUE(image.GetColorMap()->Optimize());
  EXPECT_TRUE(image.GetColorMap()->Optimized());
  EXPECT_EQ(image.GetColorMap()->Count(), 4);
  EXPECT_EQ(std::vector<TGIFColor>(image.GetColorMap()->Data(), image.GetColorMap()->Data() + 4), before);
  EXPECT_EQ(image.Images()->GetImage(0)->Pixels(), (Bytes{0, 0, 0, 1, 1, 2}));
}

TEST(GIFColorMap, PalettesComeFromTheTables) {
  auto entries = [](HPALETTE palette) {
    std::vector<int> out;
    PALETTEENTRY e[256];
    UINT n = GetPaletteEntries(palette, 0, 256, e);
    for (UINT i = 0; i < n && i < 256; ++i) out.insert(out.end(), {e[i].peRed, e[i].peGreen, e[i].peBlue});
    return out;
  };
  Bytes local = Header(2, 1, 0);
  Append(local, ImageBlock(0, 0, 2, 1, 2, SubBlocks(PlainCodes({0, 1}, 2)), 0x80));
  local.insert(local.end() - std::ptrdiff_t(SubBlocks(PlainCodes({0, 1}, 2)).size()) - 1, {9, 8, 7, 6, 5, 4});
  local.push_back(0x3B);
  Bytes none = Header(2, 1, 0);
  Append(none, ImageBlock(0, 0, 2, 1, 2, SubBlocks(PlainCodes({0, 1}, 2))));
  none.push_back(0x3B);

  TGIFImage global;
  Load(global, OneFrame({0, 1}, 4));
  EXPECT_EQ(entries(global.Palette()), (std::vector<int>{0, 0, 0, 40, 40, 40, 80, 80, 80, 120, 120, 120}));
  EXPECT_EQ(global.Palette(), global.Palette());  // kept

  TGIFImage ownTable;
  Load(ownTable, local);
  EXPECT_EQ(entries(ownTable.Palette()), (std::vector<int>{9, 8, 7, 6, 5, 4}));

  TGIFImage noTable;
  Load(noTable, none);
  try {
    noTable.Palette();
    ADD_FAILURE() << "a palette without any table";
  } catch (const GIFException& e) {
    EXPECT_STREQ(e.what(), "No global or local color table defined");
  }

  TGIFImage empty;
  EXPECT_EQ(empty.Palette(), nullptr);
  DoAutoDither = true;
  TGIFImage dithered;
  Load(dithered, OneFrame({0, 1}, 4));
  EXPECT_EQ(entries(dithered.Palette()).size(), 216u * 3);
  DoAutoDither = false;
}
