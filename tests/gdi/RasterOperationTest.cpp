// Raster operations, monochrome <-> colour conversions, masks and stretching, pinned with small
// tables of pixels.
#include <gtest/gtest.h>

#include "tests/gdi/GdiTestSupport.h"

using gditest::Canvas;
using gditest::MonoCanvas;

namespace {

constexpr uint32_t kDst = 0xFFF0A05A;  // fourth byte set: drawing must clear it
constexpr uint32_t kSrc = 0x000FCC33;
constexpr COLORREF kBrush = RGB(0x55, 0x3C, 0x81);  // raw 0x00553C81

struct RopCase {
  const char* name;
  DWORD rop;
  uint32_t expected;  // from the operation's definition, on 24 colour bits
};

TEST(RasterOperations, MainRoadOperationsGiveTheirDefinitions) {
  const uint32_t d = kDst & 0xFFFFFF, s = kSrc, p = 0x553C81, m = 0xFFFFFF;
  const RopCase cases[] = {
      {"SRCCOPY", SRCCOPY, s},
      {"SRCAND", SRCAND, s & d},
      {"SRCPAINT", SRCPAINT, s | d},
      {"SRCINVERT", SRCINVERT, s ^ d},
      {"NOTSRCCOPY", NOTSRCCOPY, ~s & m},
      {"MERGEPAINT", MERGEPAINT, (~s | d) & m},
      {"SRCERASE", SRCERASE, s & ~d & m},
      {"NOTSRCERASE", NOTSRCERASE, ~(s | d) & m},
      {"MERGECOPY", MERGECOPY, p & s},
      {"DSTINVERT", DSTINVERT, ~d & m},
      {"PATCOPY", PATCOPY, p},
      {"PATINVERT", PATINVERT, p ^ d},
      {"PATPAINT", PATPAINT, (p | ~s | d) & m},
      {"BLACKNESS", BLACKNESS, 0},
      {"WHITENESS", WHITENESS, m},
      {"keep destination", 0x00AA0029, d},
  };
  for (const auto& c : cases) {
    Canvas src(2, 1), dst(2, 1);
    src.Fill(kSrc);
    dst.Fill(kDst);
    HBRUSH brush = CreateSolidBrush(kBrush);
    HGDIOBJ old = SelectObject(dst.dc, brush);
    ASSERT_TRUE(BitBlt(dst.dc, 0, 0, 1, 1, src.dc, 0, 0, c.rop)) << c.name;
    EXPECT_EQ(dst.At(0, 0), c.expected) << c.name;
    EXPECT_EQ(dst.At(1, 0), kDst) << c.name << ": outside the rectangle";
    SelectObject(dst.dc, old);
    DeleteObject(brush);
  }
}

TEST(RasterOperations, IndexedDestinationOperatesOnIndices) {
  std::vector<RGBQUAD> table(16);
  for (int i = 0; i < 16; ++i) table[size_t(i)] = {BYTE(i * 16), BYTE(i * 16), BYTE(i * 16), 0};
  Canvas src(1, 1, 8, table), dst(1, 1, 8, table);
  src.Byte(0, 0) = 0x0A;
  dst.Byte(0, 0) = 0x06;
  BitBlt(dst.dc, 0, 0, 1, 1, src.dc, 0, 0, SRCINVERT);
  EXPECT_EQ(dst.Byte(0, 0), 0x0A ^ 0x06);
}

TEST(RasterOperations, ColourToMonochromeUsesTheSourceBackground) {
  Canvas src(4, 1);
  src.At(0, 0) = 0x00FF0000;  // red
  src.At(1, 0) = 0x0000FF00;  // green
  src.At(2, 0) = 0xFF00FF00;  // green with a fourth byte: only 24 bits compare
  src.At(3, 0) = 0x00FFFFFF;  // white is not special
  SetBkColor(src.dc, RGB(0, 255, 0));
  MonoCanvas dst(4, 1);
  SetBkColor(dst.dc, RGB(255, 0, 0));  // the destination's colours play no part
  BitBlt(dst.dc, 0, 0, 4, 1, src.dc, 0, 0, SRCCOPY);
  EXPECT_EQ(dst.Bit(0, 0), 0);
  EXPECT_EQ(dst.Bit(1, 0), 1);
  EXPECT_EQ(dst.Bit(2, 0), 1);
  EXPECT_EQ(dst.Bit(3, 0), 0);
}

TEST(RasterOperations, MonochromeToColourUsesTheDestinationTextAndBackground) {
  MonoCanvas src(2, 1, {0x40});        // 0, 1
  SetTextColor(src.dc, RGB(1, 2, 3));  // the source's colours play no part
  Canvas dst(2, 1);
  SetTextColor(dst.dc, RGB(0, 0, 255));
  SetBkColor(dst.dc, RGB(255, 255, 0));
  BitBlt(dst.dc, 0, 0, 2, 1, src.dc, 0, 0, SRCCOPY);
  EXPECT_EQ(dst.At(0, 0), 0x000000FFu);  // 0 -> text colour (blue)
  EXPECT_EQ(dst.At(1, 0), 0x00FFFF00u);  // 1 -> background (yellow)
}

TEST(RasterOperations, MonochromeToMonochromeCopiesBits) {
  MonoCanvas src(16, 1, {0xA5, 0x0F});
  MonoCanvas dst(16, 1);
  SetTextColor(dst.dc, RGB(255, 255, 255));
  BitBlt(dst.dc, 0, 0, 16, 1, src.dc, 0, 0, SRCCOPY);
  const int expected[16] = {1, 0, 1, 0, 0, 1, 0, 1, 0, 0, 0, 0, 1, 1, 1, 1};
  for (int x = 0; x < 16; ++x) EXPECT_EQ(dst.Bit(x, 0), expected[x]) << x;
}

TEST(RasterOperations, MaskBltKeepsTheDestinationWhereTheMaskIsSet) {
  Canvas src(4, 1), dst(4, 1);
  src.Fill(0x00112233);
  dst.Fill(0x00AABBCC);
  MonoCanvas mask(4, 1, {0x50});  // 0 1 0 1
  ASSERT_TRUE(MaskBlt(dst.dc, 0, 0, 4, 1, src.dc, 0, 0, mask.bitmap, 0, 0, MAKEROP4(0x00AA0029, SRCCOPY)));
  EXPECT_EQ(dst.Row(0), (std::vector<uint32_t>{0x112233, 0xAABBCC, 0x112233, 0xAABBCC}));
}

TEST(RasterOperations, ClassicTransparencySequenceEqualsMaskBlt) {
  // Picture with a key colour (magenta) drawn transparently over a background, both ways.
  Canvas picture(4, 2);
  const uint32_t key = 0x00FF00FF;
  const uint32_t pixels[8] = {key, 0x123456, key, 0x00FF00, 0xABCDEF, key, 0x000001, key};
  for (int i = 0; i < 8; ++i) picture.At(i % 4, i / 4) = pixels[i];
  MonoCanvas mask(4, 2);
  SetBkColor(picture.dc, RGB(255, 0, 255));
  BitBlt(mask.dc, 0, 0, 4, 2, picture.dc, 0, 0, SRCCOPY);  // key -> 1

  Canvas a(4, 2), b(4, 2);
  a.Fill(0x00808080);
  b.Fill(0x00808080);
  MaskBlt(a.dc, 0, 0, 4, 2, picture.dc, 0, 0, mask.bitmap, 0, 0, MAKEROP4(0x00AA0029, SRCCOPY));

  // Key pixels of the picture black, then mask AND destination, then OR the picture.
  Canvas black(4, 2);
  BitBlt(black.dc, 0, 0, 4, 2, picture.dc, 0, 0, SRCCOPY);
  SetTextColor(black.dc, RGB(0, 0, 0));
  SetBkColor(black.dc, RGB(255, 255, 255));
  BitBlt(black.dc, 0, 0, 4, 2, mask.dc, 0, 0, 0x00220326);  // D and not S: mask 1 (white) clears
  SetTextColor(b.dc, RGB(0, 0, 0));
  SetBkColor(b.dc, RGB(255, 255, 255));
  BitBlt(b.dc, 0, 0, 4, 2, mask.dc, 0, 0, SRCAND);
  BitBlt(b.dc, 0, 0, 4, 2, black.dc, 0, 0, SRCPAINT);
  for (int y = 0; y < 2; ++y) EXPECT_EQ(a.Row(y), b.Row(y)) << y;
  EXPECT_EQ(a.At(0, 0), 0x808080u);
  EXPECT_EQ(a.At(1, 0), 0x123456u);
}

struct StretchCase {
  const char* name;
  int srcWidth, dstWidth;
  bool mirror;
  std::vector<uint32_t> expected;
};

TEST(RasterOperations, StretchIsNearestNeighbourByFloor) {
  const StretchCase cases[] = {
      {"3 to 7", 3, 7, false, {0, 0, 0, 1, 1, 2, 2}},
      {"7 to 3", 7, 3, false, {0, 2, 4}},
      {"3 to 7 mirrored", 3, 7, true, {2, 2, 1, 1, 0, 0, 0}},
  };
  for (const auto& c : cases) {
    Canvas src(c.srcWidth, 1), dst(c.dstWidth, 1);
    for (int x = 0; x < c.srcWidth; ++x) src.At(x, 0) = uint32_t(x);
    if (c.mirror)
      StretchBlt(dst.dc, c.dstWidth - 1, 0, -c.dstWidth, 1, src.dc, 0, 0, c.srcWidth, 1, SRCCOPY);
    else
      StretchBlt(dst.dc, 0, 0, c.dstWidth, 1, src.dc, 0, 0, c.srcWidth, 1, SRCCOPY);
    EXPECT_EQ(dst.Row(0), c.expected) << c.name;
  }
}

TEST(RasterOperations, TwoDimensionalStretchesTakeTheFloorSourcePixelInsideTheClip) {
  struct Case {
    const char* name;
    int x, y, w, h, xs, ys, ws, hs;
  };
  const Case cases[] = {
      {"twice the size", 0, 0, 24, 16, 0, 0, 12, 8},
      {"odd ratios from a part of the source", 3, 2, 17, 11, 2, 1, 7, 5},
      {"shrink", 1, 1, 5, 4, 0, 0, 12, 8},
      {"reaching past the destination's edge", 20, 12, 10, 9, 4, 3, 5, 4},
  };
  for (const Case& c : cases) {
    Canvas src(12, 8), dst(26, 18);
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 12; ++x) src.At(x, y) = 0xAB000000u | uint32_t(y * 16 + x);
    for (int y = 0; y < 18; ++y)
      for (int x = 0; x < 26; ++x) dst.At(x, y) = kDst;
    // A clip with a hole, so that rows are split into two runs and rows are left out.
    HRGN outer = CreateRectRgn(0, 0, 26, 18);
    HRGN hole = CreateRectRgn(6, 4, 9, 7);
    CombineRgn(outer, outer, hole, RGN_DIFF);
    SelectClipRgn(dst.dc, outer);
    StretchBlt(dst.dc, c.x, c.y, c.w, c.h, src.dc, c.xs, c.ys, c.ws, c.hs, SRCCOPY);
    int bad = 0;
    for (int y = 0; y < 18; ++y) {
      for (int x = 0; x < 26; ++x) {
        const bool drawn =
            x >= c.x && x < c.x + c.w && y >= c.y && y < c.y + c.h && !(x >= 6 && x < 9 && y >= 4 && y < 7);
        const uint32_t want =
            drawn ? src.At(c.xs + (x - c.x) * c.ws / c.w, c.ys + (y - c.y) * c.hs / c.h) & 0xFFFFFF : kDst;
        if (dst.At(x, y) != want && bad++ < 3) ADD_FAILURE() << c.name << " at " << x << "," << y;
      }
    }
    EXPECT_EQ(bad, 0) << c.name;
    DeleteObject(outer);
    DeleteObject(hole);
  }
}

// Pictures are 24-bit, window buffers 32-bit: copies between the two layouts, at the same size
// (partly outside the source) and stretched, clipped around a hole, in every direction.
TEST(RasterOperations, CopiesBetween24And32BitLayoutsTakeTheFloorSourcePixelInsideTheClip) {
  struct Geometry {
    const char* name;
    int x, y, w, h, xs, ys, ws, hs;
  };
  const Geometry shapes[] = {
      {"same size, reaching past the source", 3, 2, 14, 9, 2, 1, 14, 9},
      {"stretched", 1, 1, 23, 15, 1, 0, 9, 7},
      {"shrunk", 2, 3, 5, 4, 0, 0, 12, 8},
  };
  auto get = [](Canvas& c, int bpp, int x, int y) -> uint32_t {
    if (bpp == 32) return c.At(x, y);
    return uint32_t(c.Byte(x * 3, y)) | uint32_t(c.Byte(x * 3 + 1, y)) << 8 |
           uint32_t(c.Byte(x * 3 + 2, y)) << 16;
  };
  auto set = [](Canvas& c, int bpp, int x, int y, uint32_t v) {
    if (bpp == 32) {
      c.At(x, y) = v;
      return;
    }
    for (int i = 0; i < 3; ++i) c.Byte(x * 3 + i, y) = uint8_t(v >> (8 * i));
  };
  for (const int sb : {24, 32})
    for (const int db : {24, 32})
      for (const Geometry& g : shapes) {
        Canvas src(12, 8, sb), dst(26, 18, db);
        for (int y = 0; y < 8; ++y)
          for (int x = 0; x < 12; ++x) set(src, sb, x, y, 0xAB000000u | uint32_t(0x10305 * (y * 16 + x + 1)));
        for (int y = 0; y < 18; ++y)
          for (int x = 0; x < 26; ++x) set(dst, db, x, y, kDst);
        HRGN outer = CreateRectRgn(0, 0, 26, 18);
        HRGN hole = CreateRectRgn(6, 4, 9, 7);
        CombineRgn(outer, outer, hole, RGN_DIFF);
        SelectClipRgn(dst.dc, outer);
        StretchBlt(dst.dc, g.x, g.y, g.w, g.h, src.dc, g.xs, g.ys, g.ws, g.hs, SRCCOPY);
        const uint32_t keep = db == 32 ? kDst : kDst & 0xFFFFFF;
        int bad = 0;
        for (int y = 0; y < 18; ++y)
          for (int x = 0; x < 26; ++x) {
            const int sx = g.xs + (x - g.x) * g.ws / g.w, sy = g.ys + (y - g.y) * g.hs / g.h;
            const bool drawn = x >= g.x && x < g.x + g.w && y >= g.y && y < g.y + g.h &&
                               !(x >= 6 && x < 9 && y >= 4 && y < 7) && sx < 12 && sy < 8;
            const uint32_t want = drawn ? get(src, sb, sx, sy) & 0xFFFFFF : keep;
            if (get(dst, db, x, y) != want && bad++ < 3)
              ADD_FAILURE() << g.name << " " << sb << " to " << db << " at " << x << "," << y;
          }
        EXPECT_EQ(bad, 0) << g.name << " " << sb << " to " << db;
        DeleteObject(outer);
        DeleteObject(hole);
      }
}

TEST(RasterOperations, StretchDIBitsReadsA24BitBottomUpPicture) {
  // 2 x 2, bottom-up, rows padded to 8 bytes: bottom row (B0, B1), top row (T0, T1).
  struct {
    BITMAPINFOHEADER h;
  } info{{40, 2, 2, 1, 24, BI_RGB, 0, 0, 0, 0, 0}};
  const uint8_t rows[16] = {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0, 0,
                            0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0, 0};
  Canvas dst(4, 4);
  dst.Fill(kDst);
  StretchDIBits(dst.dc, 0, 0, 4, 4, 0, 0, 2, 2, rows, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS,
                SRCCOPY);
  EXPECT_EQ(dst.Row(0), (std::vector<uint32_t>{0x131211, 0x131211, 0x161514, 0x161514}));
  EXPECT_EQ(dst.Row(3), (std::vector<uint32_t>{0x030201, 0x030201, 0x060504, 0x060504}));
}

TEST(RasterOperations, OverlappingBlitOnOneDcCopiesThroughABuffer) {
  Canvas c(5, 1);
  for (int x = 0; x < 5; ++x) c.At(x, 0) = uint32_t(x + 1);
  BitBlt(c.dc, 1, 0, 4, 1, c.dc, 0, 0, SRCCOPY);
  EXPECT_EQ(c.Row(0), (std::vector<uint32_t>{1, 1, 2, 3, 4}));
}

TEST(RasterOperations, StretchDIBitsCountsSourceRowsFromTheBottomOfABottomUpDib) {
  // A 1 x 3 bottom-up DIB: memory rows bottom, middle, top.
  struct {
    BITMAPINFOHEADER h;
  } info{{40, 1, 3, 1, 32, BI_RGB, 0, 0, 0, 0, 0}};
  const uint32_t rows[3] = {0x00000B, 0x00000A, 0x00000C};  // bottom=B, middle=A, top=C
  Canvas dst(1, 1);
  StretchDIBits(dst.dc, 0, 0, 1, 1, 0, 0, 1, 1, rows, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS,
                SRCCOPY);
  EXPECT_EQ(dst.At(0, 0), 0x00000Bu);  // ys = 0 is the bottom row
}

}  // namespace
