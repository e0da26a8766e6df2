// Bitmaps drawn with a key colour, tiled, centred and flipped; gradients; tab trapezoids.
#include <gtest/gtest.h>

#include <cstdlib>

#include "Sheet.h"
#include "controls/BitmapDrawing.h"
#include "controls/Gradients.h"
#include "controls/Trapezoids.h"
#include "platform/forms/TBitmap.h"
#include "platform/gdi/Gdi.h"

namespace {

using skintest::Sheet;

// A 4 x 4 picture: the key in the left half, red top right, blue bottom right.
void KeyedPicture(Sheet& s, TColor key) {
  s.canvas()->Brush()->SetColor(key);
  s.canvas()->FillRect(RECT{0, 0, 2, 4});
  s.canvas()->Brush()->SetColor(clRed);
  s.canvas()->FillRect(RECT{2, 0, 4, 2});
  s.canvas()->Brush()->SetColor(clBlue);
  s.canvas()->FillRect(RECT{2, 2, 4, 4});
}

TEST(BitmapDrawing, KeyPixelsLeaveTheBackgroundShowing) {
  for (TColor key : {clFuchsia, clBlack}) {
    for (bool full : {false, true}) {
      Sheet picture(4, 4, clWhite);
      KeyedPicture(picture, key);
      Sheet target(10, 10, clLime);
      const RECT dest{1, 1, 9, 9}, source{0, 0, 4, 4};
      if (full)
        DrawFullTransparentBitmap(target.canvas(), &picture.bitmap, dest, key, source);
      else
        DrawTransparentBitmap(target.canvas(), &picture.bitmap, dest, key, source);
      EXPECT_EQ(target.at(2, 5), ColorToRGB(clLime)) << key << " " << full;
      EXPECT_EQ(target.at(6, 2), ColorToRGB(clRed)) << key << " " << full;
      EXPECT_EQ(target.at(8, 8), ColorToRGB(clBlue)) << key << " " << full;
      EXPECT_EQ(target.at(0, 0), ColorToRGB(clLime));
      EXPECT_EQ(target.at(9, 9), ColorToRGB(clLime));
    }
  }
  Sheet picture(4, 4, clWhite);
  KeyedPicture(picture, clFuchsia);
  Sheet target(10, 10, clLime);
  StretchTransparentBitmap(target.canvas(), &picture.bitmap, RECT{0, 0, 8, 8}, clFuchsia);
  EXPECT_EQ(target.at(3, 3), ColorToRGB(clLime));
  EXPECT_EQ(target.at(7, 7), ColorToRGB(clBlue));
}

TEST(BitmapDrawing, TilesStartAtTheCornerOrAtTheCanvasOrigin) {
  Sheet tile(3, 2, clBlue);
  tile.canvas()->SetPixels(0, 0, clRed);
  Sheet a(20, 10, clWhite);
  TileBitmap(a.canvas(), &tile.bitmap, RECT{1, 1, 8, 6});
  EXPECT_EQ(a.at(1, 1), ColorToRGB(clRed));
  EXPECT_EQ(a.at(4, 3), ColorToRGB(clRed));
  EXPECT_EQ(a.at(7, 5), ColorToRGB(clRed));  // the last tile is cut after one column
  EXPECT_EQ(a.at(8, 5), ColorToRGB(clWhite));

  // Two neighbouring areas join exactly as one.
  Sheet halves(20, 10, clWhite), whole(20, 10, clWhite);
  TileRealizedBitmap(halves.canvas(), &tile.bitmap, RECT{1, 1, 8, 9});
  TileRealizedBitmap(halves.canvas(), &tile.bitmap, RECT{8, 1, 17, 9});
  TileRealizedBitmap(whole.canvas(), &tile.bitmap, RECT{1, 1, 17, 9});
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 20; ++x) ASSERT_EQ(halves.at(x, y), whole.at(x, y)) << x << "," << y;
  EXPECT_EQ(whole.at(3, 2), ColorToRGB(clRed));  // aligned to the origin, not to the area

  Sheet keyed(12, 8, clLime);
  Sheet pattern(2, 2, clFuchsia);
  pattern.canvas()->SetPixels(1, 1, clRed);
  TileTransparentBitmap(keyed.canvas(), &pattern.bitmap, RECT{0, 0, 5, 5}, clFuchsia);
  EXPECT_EQ(keyed.at(0, 0), ColorToRGB(clLime));
  EXPECT_EQ(keyed.at(3, 3), ColorToRGB(clRed));
  EXPECT_EQ(keyed.at(5, 5), ColorToRGB(clLime));
}

TEST(BitmapDrawing, CentringFlippingAndBlitHelpers) {
  Sheet big(6, 6, clBlue);
  big.canvas()->SetPixels(2, 2, clRed);
  Sheet small(2, 2, clWhite);
  CenterBitmap(small.canvas(), &big.bitmap, RECT{0, 0, 2, 2});  // the middle of the larger picture
  EXPECT_EQ(small.at(0, 0), ColorToRGB(clRed));
  Sheet wide(10, 10, clWhite);
  CenterBitmap(wide.canvas(), &big.bitmap, RECT{0, 0, 10, 10});
  EXPECT_EQ(wide.at(4, 4), ColorToRGB(clRed));
  EXPECT_EQ(wide.at(1, 1), ColorToRGB(clWhite));

  Sheet flip(3, 5, clBlue);
  flip.canvas()->SetPixels(1, 0, clRed);
  FlipBitmap(&flip.bitmap);
  EXPECT_EQ(flip.at(1, 4), ColorToRGB(clRed));
  EXPECT_EQ(flip.at(1, 0), ColorToRGB(clBlue));
  FlipBitmap(&flip.bitmap);
  EXPECT_EQ(flip.at(1, 0), ColorToRGB(clRed));

  Sheet fill(12, 7, clWhite);
  fill.canvas()->SetPixels(2, 1, clRed);
  fill.canvas()->SetPixels(3, 1, clBlue);
  BitFillBlit(fill.canvas()->Handle(), 2, 1, SRCCOPY, 2, 1, 9, 5);
  for (int y = 1; y < 6; ++y)
    for (int x = 2; x < 11; ++x)
      ASSERT_EQ(fill.at(x, y), ColorToRGB((x - 2) % 2 ? clBlue : clRed)) << x << "," << y;
  EXPECT_EQ(fill.at(11, 1), ColorToRGB(clWhite));
  EXPECT_EQ(fill.at(2, 6), ColorToRGB(clWhite));

  Sheet box(8, 6, clWhite);
  box.canvas()->SetPixels(0, 0, clRed);
  box.canvas()->SetPixels(1, 2, clBlue);
  BoxBitMirrorBlit(box.canvas()->Handle(), 0, 0, SRCCOPY, 6, 8);
  EXPECT_EQ(box.at(7, 0), ColorToRGB(clRed));
  EXPECT_EQ(box.at(0, 5), ColorToRGB(clRed));
  EXPECT_EQ(box.at(7, 5), ColorToRGB(clRed));
  EXPECT_EQ(box.at(6, 3), ColorToRGB(clBlue));
}

int Distance(COLORREF a, COLORREF b) {
  return std::abs(GetRValue(a) - GetRValue(b)) + std::abs(GetGValue(a) - GetGValue(b)) +
         std::abs(GetBValue(a) - GetBValue(b));
}

TEST(Gradients, EachDirectionRunsFromItsStartToItsStop) {
  const COLORREF start = RGB(0, 0, 0), stop = RGB(200, 100, 40);
  struct Case {
    TGradientDirection direction;
    POINT nearStart, atStop;
  } cases[] = {
      {gdHorizontalEnd, {10, 29}, {10, 0}}, {gdHorizontalCenter, {10, 15}, {10, 0}},
      {gdVerticalEnd, {39, 10}, {0, 10}},   {gdVerticalCenter, {20, 10}, {39, 10}},
      {gdDiagonalDown, {0, 0}, {39, 29}},   {gdDiagonalUp, {0, 29}, {39, 0}},
      {gdSquareBox, {20, 15}, {0, 0}},      {gdHorizontalBox, {20, 15}, {0, 15}},
      {gdVerticalBox, {20, 15}, {20, 0}},   {gdBigSquareBox, {20, 15}, {39, 29}},
  };
  for (const Case& c : cases) {
    Sheet s(40, 30, clWhite);
    PaintGradient(s.canvas(), RECT{0, 0, 40, 30}, c.direction, 256, static_cast<TColor>(start),
                  static_cast<TColor>(stop));
    EXPECT_LE(Distance(s.at(c.nearStart.x, c.nearStart.y), start), 40) << c.direction;
    EXPECT_LE(Distance(s.at(c.atStop.x, c.atStop.y), stop), 12) << c.direction;
  }
  Sheet solid(20, 20, clWhite);
  PaintGradient(solid.canvas(), RECT{2, 2, 18, 18}, gdDiagonalUp, 16, clRed, clRed);
  EXPECT_EQ(solid.at(2, 2), ColorToRGB(clRed));
  EXPECT_EQ(solid.at(17, 17), ColorToRGB(clRed));
  EXPECT_EQ(solid.at(1, 1), ColorToRGB(clWhite));
  PaintGradient(solid.canvas(), RECT{5, 5, 5, 9}, gdHorizontalEnd, 16, clBlue, clBlue);  // empty
  EXPECT_EQ(solid.at(5, 5), ColorToRGB(clRed));
}

TEST(Gradients, FewColoursGiveBroadBands) {
  // Four colours: bands of at least four pixels, whatever the colour steps.
  Sheet s(1, 64, clWhite);
  FillGrad(s.canvas()->Handle(), 0, 0, false, 1, 64, 4, RGB(0, 0, 0), RGB(255, 255, 255), false);
  int run = 1, shortest = 64;
  for (int y = 1; y < 64; ++y) {
    if (s.at(0, y) == s.at(0, y - 1)) {
      ++run;
    } else {
      shortest = std::min(shortest, run);
      run = 1;
    }
  }
  EXPECT_GE(shortest, 4);
}

TEST(Trapezoids, TabCornersGrowingAndBorders) {
  TTrap t;
  SetTrapezoid(t, RECT{0, 0, 101, 21}, 10, tsCenter, tdTop);
  EXPECT_EQ(t[0], TPoint(5, 0));
  EXPECT_EQ(t[1], TPoint(95, 0));
  EXPECT_EQ(t[2], TPoint(100, 20));
  EXPECT_EQ(t[3], TPoint(0, 20));
  SetTrapezoid(t, RECT{0, 0, 101, 21}, 10, tsLeft, tdBottom);
  EXPECT_EQ(t[2], TPoint(90, 20));
  EXPECT_EQ(t[3], TPoint(0, 20));
  SetTrapezoid(t, RECT{0, 0, 21, 101}, 500, tsRight, tdLeft);  // the slant is at most the side
  EXPECT_EQ(t[0], TPoint(0, 100));
  EXPECT_EQ(t[3], TPoint(0, 100));

  EXPECT_EQ(Intersect(TPoint(0, 20), TPoint(10, 0), 10, true), TPoint(5, 10));
  EXPECT_EQ(Intersect(TPoint(0, 0), TPoint(10, 5), 4, false), TPoint(4, 2));
  SetTrapezoid(t, RECT{0, 0, 101, 21}, 20, tsCenter, tdTop);
  TTrap crossings;
  AdjustTrapezoid(t, RECT{0, 10, 101, 21}, tdTop, crossings);
  EXPECT_EQ(crossings[0], TPoint(5, 10));
  EXPECT_EQ(crossings[1], TPoint(95, 10));

  TTrap grown = t;
  InflateTrapezoid(grown, 2);
  EXPECT_EQ(grown[0], TPoint(8, -2));
  EXPECT_EQ(grown[2], TPoint(102, 22));

  Sheet s(30, 20, clWhite);
  TTrap box{TPoint(2, 2), TPoint(20, 2), TPoint(20, 15), TPoint(2, 15)};
  DrawTrapezoidBorder(s.canvas(), box, TTrapBevelStyle::bsLowered, 2);
  EXPECT_EQ(s.at(20, 8), ColorToRGB(clBtnHighlight));
  EXPECT_EQ(s.at(2, 8), ColorToRGB(clBtnShadow));
  EXPECT_EQ(s.at(3, 8), ColorToRGB(clBtnShadow));  // the second ring
  EXPECT_EQ(s.at(5, 8), ColorToRGB(clWhite));
  EXPECT_EQ(s.canvas()->Pen()->Color(), clBlack);
}

TEST(BitmapDrawing, EdgeCasesDrawNothingOrJoinBeforeTheOrigin) {
  // An empty bitmap: every tiling and stretching routine returns without touching the canvas.
  TBitmap empty;
  Sheet target(8, 8, clLime);
  const RECT all{0, 0, 8, 8};
  TileBitmap(target.canvas(), &empty, all);
  TileRealizedBitmap(target.canvas(), &empty, all);
  TileTransparentBitmap(target.canvas(), &empty, all, clFuchsia);
  StretchBitmap(target.canvas(), &empty, all);
  StretchTransparentBitmap(target.canvas(), &empty, all, clFuchsia);
  CenterBitmap(target.canvas(), &empty, all);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) ASSERT_EQ(target.at(x, y), ColorToRGB(clLime)) << x << "," << y;

  // Areas beginning left of and above the origin still follow the origin's pattern.
  Sheet tile(3, 2, clBlue);
  tile.canvas()->SetPixels(0, 0, clRed);
  Sheet halves(12, 8, clWhite), whole(12, 8, clWhite);
  TileRealizedBitmap(halves.canvas(), &tile.bitmap, RECT{-7, -5, -1, 8});
  TileRealizedBitmap(halves.canvas(), &tile.bitmap, RECT{-1, -5, 12, 8});
  TileRealizedBitmap(whole.canvas(), &tile.bitmap, RECT{-4, -3, 12, 8});
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 12; ++x) {
      const TColor expected = (x % 3 == 0 && y % 2 == 0) ? clRed : clBlue;
      ASSERT_EQ(whole.at(x, y), ColorToRGB(expected)) << x << "," << y;
      ASSERT_EQ(halves.at(x, y), ColorToRGB(expected)) << x << "," << y;
    }

  // Doubling from nothing painted draws nothing.
  Sheet fill(6, 6, clWhite);
  fill.canvas()->SetPixels(0, 0, clRed);
  BitFillBlit(fill.canvas()->Handle(), 0, 0, SRCCOPY, 0, 1, 6, 6);
  BitFillBlit(fill.canvas()->Handle(), 0, 0, SRCCOPY, 1, -2, 6, 6);
  EXPECT_EQ(fill.at(1, 0), ColorToRGB(clWhite));
  EXPECT_EQ(fill.at(0, 1), ColorToRGB(clWhite));
}

TEST(Gradients, AGradientOfNoLengthPaintsNothing) {
  for (int length : {0, -1, -5}) {
    Sheet s(10, 10, clLime);
    FillGrad(s.canvas()->Handle(), 0, 0, true, 8, length, 256, RGB(0, 0, 0), RGB(255, 255, 255), false);
    FillGrad(s.canvas()->Handle(), 0, 0, false, 8, length, 256, RGB(0, 0, 0), RGB(255, 255, 255), true);
    EXPECT_EQ(s.at(0, 0), ColorToRGB(clLime)) << length;
  }
  Sheet one(10, 10, clLime);
  FillGrad(one.canvas()->Handle(), 0, 0, true, 8, 1, 256, RGB(10, 20, 30), RGB(255, 255, 255), false);
  EXPECT_EQ(one.at(0, 0), RGB(10, 20, 30));
  EXPECT_EQ(one.at(1, 0), ColorToRGB(clLime));
}

TEST(Trapezoids, ASideParallelToTheCrossingLineGivesItsFirstPoint) {
  const TPoint h = Intersect(TPoint(3, 5), TPoint(9, 5), 7, true);
  EXPECT_EQ(h.x, 3);
  EXPECT_EQ(h.y, 7);
  const TPoint v = Intersect(TPoint(4, 2), TPoint(4, 8), 6, false);
  EXPECT_EQ(v.x, 6);
  EXPECT_EQ(v.y, 2);
}

}  // namespace
