// Rectangles, frames, focus rectangles, lines and clipping, pinned pixel by pixel.
#include <gtest/gtest.h>

#include <string>

#include "tests/gdi/GdiTestSupport.h"

using gditest::Canvas;

namespace {

// One character per pixel: '.' for the background, '#' for anything else.
std::string Picture(Canvas& c, uint32_t background = 0) {
  std::string out;
  for (int y = 0; y < c.h; ++y) {
    for (int x = 0; x < c.w; ++x) out += c.At(x, y) == background ? '.' : '#';
    out += '\n';
  }
  return out;
}

TEST(Shapes, RectangleWithPenOutlinesAndFillsTheInside) {
  Canvas c(6, 5);
  HBRUSH brush = CreateSolidBrush(RGB(0, 0, 255));
  HGDIOBJ oldBrush = SelectObject(c.dc, brush);
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
  HGDIOBJ oldPen = SelectObject(c.dc, pen);
  Rectangle(c.dc, 1, 1, 5, 5);
  EXPECT_EQ(c.At(1, 1), 0x00FF0000u);  // pen
  EXPECT_EQ(c.At(4, 4), 0x00FF0000u);  // right - 1, bottom - 1 are the outline
  EXPECT_EQ(c.At(2, 2), 0x000000FFu);  // brush
  EXPECT_EQ(c.At(5, 1), 0u);
  EXPECT_EQ(Picture(c), "......\n.####.\n.####.\n.####.\n.####.\n");
  SelectObject(c.dc, oldPen);
  SelectObject(c.dc, oldBrush);
  DeleteObject(pen);
  DeleteObject(brush);
}

TEST(Shapes, RectangleWithNullPenFillsOneLessEachWay) {
  Canvas c(6, 5);
  SelectObject(c.dc, GetStockObject(NULL_PEN));
  SelectObject(c.dc, GetStockObject(BLACK_BRUSH));
  c.Fill(0x00FFFFFF);
  Rectangle(c.dc, 1, 1, 5, 5);
  EXPECT_EQ(Picture(c, 0x00FFFFFF), "......\n.###..\n.###..\n.###..\n......\n");
}

TEST(Shapes, FillRectFillsExactlyAndFrameRectStaysInside) {
  Canvas c(5, 4);
  RECT r{1, 1, 4, 3};
  FillRect(c.dc, &r, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
  EXPECT_EQ(Picture(c), ".....\n.###.\n.###.\n.....\n");
  EXPECT_EQ(c.At(1, 1), 0x00FFFFFFu);
  Canvas f(5, 5);
  RECT q{0, 0, 5, 5};
  HBRUSH b = CreateSolidBrush(RGB(1, 1, 1));
  FrameRect(f.dc, &q, b);
  EXPECT_EQ(Picture(f), "#####\n#...#\n#...#\n#...#\n#####\n");
  DeleteObject(b);
}

TEST(Shapes, DrawFocusRectTwiceRestoresThePixels) {
  Canvas c(6, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x) c.At(x, y) = uint32_t(x * 16 + y);
  const Canvas* before = nullptr;
  (void)before;
  std::vector<std::vector<uint32_t>> original;
  for (int y = 0; y < 4; ++y) original.push_back(c.Row(y));
  RECT r{0, 0, 6, 4};
  DrawFocusRect(c.dc, &r);
  EXPECT_EQ(c.At(0, 0), 0x00FFFFFFu);     // x + y even: inverted
  EXPECT_EQ(c.At(1, 0), original[0][1]);  // odd: untouched
  EXPECT_EQ(c.At(2, 2), original[2][2]);  // inside: untouched
  DrawFocusRect(c.dc, &r);
  for (int y = 0; y < 4; ++y) EXPECT_EQ(c.Row(y), original[size_t(y)]);
}

TEST(Shapes, LineStopsBeforeItsEndAndTiesGoToTheLowerY) {
  Canvas c(5, 3);
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(255, 255, 255));
  SelectObject(c.dc, pen);
  MoveToEx(c.dc, 0, 0, nullptr);
  LineTo(c.dc, 4, 2);
  EXPECT_EQ(Picture(c), "##...\n..##.\n.....\n");
  POINT p;
  GetCurrentPositionEx(c.dc, &p);
  EXPECT_EQ(p.x, 4);
  EXPECT_EQ(p.y, 2);
}

TEST(Shapes, XorPenTwiceRestores) {
  Canvas c(4, 1);
  c.Fill(0x00123456);
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(255, 255, 255));
  SelectObject(c.dc, pen);
  SetROP2(c.dc, R2_XORPEN);
  MoveToEx(c.dc, 0, 0, nullptr);
  LineTo(c.dc, 4, 0);
  EXPECT_EQ(c.At(0, 0), 0x00123456u ^ 0x00FFFFFFu);
  MoveToEx(c.dc, 0, 0, nullptr);
  LineTo(c.dc, 4, 0);
  EXPECT_EQ(c.At(3, 0), 0x00123456u);
}

TEST(Shapes, ClippingAndSaveRestore) {
  Canvas c(6, 1);
  const int saved = SaveDC(c.dc);
  IntersectClipRect(c.dc, 1, 0, 5, 1);
  ExcludeClipRect(c.dc, 2, 0, 3, 1);
  SetViewportOrgEx(c.dc, 1, 0, nullptr);
  RECT all{-10, -10, 10, 10};
  FillRect(c.dc, &all, reinterpret_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  EXPECT_EQ(Picture(c), ".#.##.\n");
  EXPECT_EQ(GetPixel(c.dc, 1, 0), CLR_INVALID);  // device x 2 is clipped away
  RestoreDC(c.dc, saved);
  FillRect(c.dc, &all, reinterpret_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  EXPECT_EQ(Picture(c), "######\n");
}

TEST(Shapes, DrawingClearsTheFourthByte) {
  Canvas c(2, 1);
  c.Fill(0xFF000000);
  RECT r{0, 0, 1, 1};
  InvertRect(c.dc, &r);
  EXPECT_EQ(c.At(0, 0), 0x00FFFFFFu);
  SetPixel(c.dc, 1, 0, RGB(1, 2, 3));
  EXPECT_EQ(c.At(1, 0), 0x00010203u);
}

}  // namespace
