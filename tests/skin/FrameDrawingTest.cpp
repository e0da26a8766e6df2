// Frames by side sets and styles, read back pixel by pixel from a bitmap's canvas.
#include <gtest/gtest.h>

#include "Sheet.h"
#include "controls/ColorArithmetic.h"
#include "controls/FrameDrawing.h"
#include "platform/forms/TBitmap.h"

namespace {

constexpr COLORREF kPaper = 0x00FFFFFF;

using skintest::Sheet;

COLORREF Rgb(TColor c) { return ColorToRGB(c); }

void ExpectRect(const RECT& r, int l, int t, int rt, int b) {
  EXPECT_EQ(r.left, l);
  EXPECT_EQ(r.top, t);
  EXPECT_EQ(r.right, rt);
  EXPECT_EQ(r.bottom, b);
}

TEST(FrameDrawing, SidesAreDrawnOnlyWhereAskedAndWithAColour) {
  Sheet s(10, 10);
  RECT inner;
  DrawSides(s.canvas(), RECT{0, 0, 10, 10}, clRed, SideBit(sdLeft) | SideBit(sdTop), clNone, inner);
  ExpectRect(inner, 1, 1, 10, 10);
  EXPECT_EQ(s.at(0, 9), Rgb(clRed));  // the left line runs to the bottom edge
  EXPECT_EQ(s.at(9, 0), Rgb(clRed));
  EXPECT_EQ(s.at(9, 5), kPaper);
  EXPECT_EQ(s.at(5, 9), kPaper);

  Sheet t(10, 10);
  DrawSides(t.canvas(), RECT{0, 0, 10, 10}, clNone, kAllSides, clBlue, inner);
  ExpectRect(inner, 1, 1, 9, 9);
  EXPECT_EQ(t.at(0, 5), kPaper);       // no colour: the left side stays as it was
  EXPECT_EQ(t.at(9, 0), Rgb(clBlue));  // right line from the top
  EXPECT_EQ(t.at(0, 9), Rgb(clBlue));  // bottom line from the left

  Sheet u(10, 10);
  DrawBevel(u.canvas(), RECT{0, 0, 10, 10}, clRed, kAllSides, 3, clBlue, inner);
  ExpectRect(inner, 3, 3, 7, 7);
  EXPECT_EQ(u.at(2, 5), Rgb(clRed));
  EXPECT_EQ(u.at(7, 5), Rgb(clBlue));
  EXPECT_EQ(u.at(3, 5), kPaper);
}

TEST(FrameDrawing, StylesUseTheirSystemColours) {
  struct Pixel {
    int x, y;
    TColor color;
  };
  struct Case {
    TFrameStyleEx style;
    int inset;
    std::vector<Pixel> pixels;
  } cases[] = {
      {fsNone, 0, {{0, 5, clWhite}}},
      {fsFlat, 1, {{0, 5, cl3DDkShadow}, {9, 5, cl3DDkShadow}, {1, 5, clWhite}}},
      {fsStatus, 1, {{0, 5, clBtnShadow}, {9, 5, clBtnHighlight}}},
      {fsPopup, 1, {{0, 5, clBtnHighlight}, {9, 5, clBtnShadow}}},
      {fsFlatBold, 2, {{0, 5, clBtnShadow}, {1, 5, clBtnShadow}, {8, 5, clBtnShadow}, {2, 5, clWhite}}},
      {fsRaised, 2, {{0, 5, cl3DLight}, {9, 5, cl3DDkShadow}, {1, 5, clBtnHighlight}, {8, 5, clBtnShadow}}},
      {fsLowered, 2, {{0, 5, clBtnShadow}, {9, 5, clBtnHighlight}, {1, 5, cl3DDkShadow}, {8, 5, cl3DLight}}},
      {fsButtonUp, 2, {{0, 5, clBtnHighlight}, {9, 5, cl3DDkShadow}, {1, 5, cl3DLight}, {8, 5, clBtnShadow}}},
      {fsButtonDown, 2, {{0, 5, clBtnText}, {9, 5, clBtnText}, {1, 5, clBtnShadow}, {8, 5, clBtnShadow}}},
      // Etched: the light outline one pixel in and down, the dark one over it.
      {fsGroove,
       2,
       {{0, 0, clBtnShadow},
        {1, 1, clBtnHighlight},
        {8, 8, clBtnShadow},
        {9, 9, clBtnHighlight},
        {9, 0, clBtnHighlight},
        {0, 9, clBtnHighlight},
        {2, 5, clWhite}}},
      {fsBump, 2, {{0, 0, clBtnHighlight}, {1, 1, clBtnShadow}, {8, 8, clBtnHighlight}, {9, 9, clBtnShadow}}},
      {fsFlatRounded, 0, {{0, 5, clWhite}}},
  };
  for (const Case& c : cases) {
    Sheet s(10, 10);
    RECT inner;
    DrawBorder(s.canvas(), RECT{0, 0, 10, 10}, c.style, inner);
    ExpectRect(inner, c.inset, c.inset, 10 - c.inset, 10 - c.inset);
    for (const Pixel& p : c.pixels)
      EXPECT_EQ(s.at(p.x, p.y), Rgb(p.color)) << "style " << c.style << " at " << p.x << "," << p.y;
  }
}

TEST(FrameDrawing, EtchedSidesCloseTheirOpenCorners) {
  // Only the top and left of a groove: the open ends get the other colour's corner pixels.
  Sheet s(10, 10);
  RECT inner;
  DrawBorderSides(s.canvas(), RECT{0, 0, 10, 10}, fsGroove, SideBit(sdLeft) | SideBit(sdTop), inner);
  ExpectRect(inner, 2, 2, 10, 10);
  EXPECT_EQ(s.at(9, 0), Rgb(clBtnShadow));  // right end of the top, right side not drawn
  EXPECT_EQ(s.at(0, 9), Rgb(clBtnShadow));  // bottom end of the left, bottom not drawn
  EXPECT_EQ(s.at(1, 9), Rgb(clBtnHighlight));
  EXPECT_EQ(s.at(9, 9), kPaper);
}

TEST(FrameDrawing, ColourFramesUseShadesOfOneColour) {
  const TColor base = 0x3080C0;
  auto D = [&](int n) { return ColorToRGB(DarkerColor(base, n)); };
  auto L = [&](int n) { return ColorToRGB(LighterColor(base, n)); };
  struct Case {
    TFrameStyleEx style;
    COLORREF outerLeft, outerRight, innerLeft, innerRight;
  } cases[] = {
      {fsLowered, D(50), L(100), D(100), L(50)},  {fsRaised, L(50), D(100), L(100), D(50)},
      {fsButtonUp, L(100), D(100), L(40), D(50)}, {fsButtonDown, D(100), D(100), D(50), D(50)},
      {fsFlatBold, D(50), D(50), D(50), D(50)},
  };
  for (const Case& c : cases) {
    Sheet s(10, 10);
    RECT inner;
    DrawColorBorder(s.canvas(), RECT{0, 0, 10, 10}, base, c.style, inner);
    ExpectRect(inner, 2, 2, 8, 8);
    EXPECT_EQ(s.at(0, 5), c.outerLeft) << c.style;
    EXPECT_EQ(s.at(9, 5), c.outerRight) << c.style;
    EXPECT_EQ(s.at(1, 5), c.innerLeft) << c.style;
    EXPECT_EQ(s.at(8, 5), c.innerRight) << c.style;
  }
  Sheet flat(10, 10);
  RECT inner;
  DrawColorBorder(flat.canvas(), RECT{0, 0, 10, 10}, base, fsStatus, inner);
  EXPECT_EQ(flat.at(0, 5), D(50));
  EXPECT_EQ(flat.at(9, 5), L(100));
  // Any style past the bold flat one is drawn etched, light over dark.
  Sheet rounded(10, 10);
  DrawColorBorder(rounded.canvas(), RECT{0, 0, 10, 10}, base, fsFlatRounded, inner);
  EXPECT_EQ(rounded.at(0, 0), L(100));
  EXPECT_EQ(rounded.at(1, 1), D(50));
}

}  // namespace
