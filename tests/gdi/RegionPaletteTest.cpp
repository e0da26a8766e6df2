// Regions in bands, palettes and system colours.
#include <gtest/gtest.h>

#include <vector>

#include "platform/gdi/Gdi.h"

static bool operator==(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

namespace {

std::vector<RECT> Rects(HRGN r) {
  std::vector<char> buffer(GetRegionData(r, 0, nullptr));
  auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
  GetRegionData(r, DWORD(buffer.size()), data);
  const RECT* rects = reinterpret_cast<const RECT*>(data->Buffer);
  return std::vector<RECT>(rects, rects + data->rdh.nCount);
}

struct CombineCase {
  int mode;
  int result;
  std::vector<RECT> rects;
};

TEST(Regions, CombineGivesBandedRectangles) {
  // a = [0,4) x [0,4), b = [2,6) x [2,6)
  const CombineCase cases[] = {
      {RGN_AND, SIMPLEREGION, {{2, 2, 4, 4}}},
      {RGN_OR, COMPLEXREGION, {{0, 0, 4, 2}, {0, 2, 6, 4}, {2, 4, 6, 6}}},
      {RGN_XOR, COMPLEXREGION, {{0, 0, 4, 2}, {0, 2, 2, 4}, {4, 2, 6, 4}, {2, 4, 6, 6}}},
      {RGN_DIFF, COMPLEXREGION, {{0, 0, 4, 2}, {0, 2, 2, 4}}},
      {RGN_COPY, SIMPLEREGION, {{0, 0, 4, 4}}},
  };
  for (const auto& c : cases) {
    HRGN a = CreateRectRgn(0, 0, 4, 4), b = CreateRectRgn(2, 2, 6, 6), d = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(CombineRgn(d, a, b, c.mode), c.result) << c.mode;
    EXPECT_EQ(Rects(d), c.rects) << c.mode;
    DeleteObject(a);
    DeleteObject(b);
    DeleteObject(d);
  }
}

TEST(Regions, QueriesAndEquality) {
  HRGN a = CreateRectRgn(0, 0, 2, 1), b = CreateRectRgn(2, 0, 4, 1), u = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(CombineRgn(u, a, b, RGN_OR), SIMPLEREGION);  // touching rectangles join
  HRGN whole = CreateRectRgn(0, 0, 4, 1);
  EXPECT_TRUE(EqualRgn(u, whole));
  EXPECT_TRUE(PtInRegion(u, 3, 0));
  EXPECT_FALSE(PtInRegion(u, 4, 0));
  OffsetRgn(u, 10, 5);
  RECT box;
  EXPECT_EQ(GetRgnBox(u, &box), SIMPLEREGION);
  EXPECT_EQ(box, (RECT{10, 5, 14, 6}));
  HRGN empty = CreateRectRgn(3, 3, 3, 9);
  EXPECT_EQ(GetRgnBox(empty, &box), NULLREGION);
  for (HRGN r : {a, b, u, whole, empty}) DeleteObject(r);
}

TEST(Palettes, HalftoneLayoutAndNearestIndex) {
  HPALETTE p = CreateHalftonePalette(nullptr);
  PALETTEENTRY e[256];
  ASSERT_EQ(GetPaletteEntries(p, 0, 256, e), 256u);
  EXPECT_EQ(e[10 + 36 * 5 + 6 * 1 + 2].peRed, 255);
  EXPECT_EQ(e[10 + 36 * 5 + 6 * 1 + 2].peGreen, 51);
  EXPECT_EQ(e[10 + 36 * 5 + 6 * 1 + 2].peBlue, 102);
  EXPECT_EQ(e[226].peRed, 12);
  EXPECT_EQ(e[255].peRed, 255);
  EXPECT_EQ(e[246].peBlue, 240);
  // Black is at 0 and again in the cube at 10: the first one wins.
  EXPECT_EQ(GetNearestPaletteIndex(p, RGB(0, 0, 0)), 0u);
  EXPECT_EQ(GetNearestPaletteIndex(p, RGB(250, 0, 0)),
            190u);  // the cube's red comes before the static one at 249
  DeleteObject(p);
}

TEST(Palettes, CreatePaletteChecksTheVersion) {
  struct {
    WORD version, count;
    PALETTEENTRY e[2];
  } lp{0x300, 2, {{1, 2, 3, 0}, {4, 5, 6, PC_NOCOLLAPSE}}};
  HPALETTE p = CreatePalette(reinterpret_cast<LOGPALETTE*>(&lp));
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(GetNearestPaletteIndex(p, RGB(4, 5, 7)), 1u);
  lp.version = 0x200;
  EXPECT_EQ(CreatePalette(reinterpret_cast<LOGPALETTE*>(&lp)), nullptr);
  DeleteObject(p);
}

TEST(Colours, SystemColoursAndMulDiv) {
  EXPECT_EQ(GetSysColor(COLOR_BTNFACE), RGB(212, 208, 200));
  EXPECT_EQ(GetSysColor(COLOR_INFOBK), RGB(255, 255, 225));
  EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), RGB(10, 36, 106));
  EXPECT_EQ(MulDiv(5, 3, 2), 8);  // 7.5 rounds away from zero
  EXPECT_EQ(MulDiv(-5, 3, 2), -8);
  EXPECT_EQ(MulDiv(1, 1, 0), -1);
  EXPECT_EQ(MulDiv(0x40000000, 4, 1), -1);  // overflow
}

}  // namespace
