// The HSL arithmetic the themed controls derive their shades with.
#include <gtest/gtest.h>

#include "controls/ColorArithmetic.h"
#include "platform/gdi/Gdi.h"

namespace {

struct Hsl {
  int h, s, l;
};

Hsl ToHsl(TColor c) {
  std::uint8_t h, s, l;
  ColorToHSL(c, h, s, l);
  return {h, s, l};
}

TEST(ColorArithmetic, ColoursConvertToTheDialogsHslScale) {
  struct Case {
    TColor color;
    Hsl hsl;
  } cases[] = {
      {clRed, {0, 240, 120}},    {clWhite, {0, 0, 240}}, {clBlack, {0, 0, 0}},     {clLime, {80, 240, 120}},
      {clBlue, {160, 240, 120}}, {clGray, {0, 0, 120}},  {clNavy, {160, 240, 60}}, {0x80FF80, {80, 240, 180}},
  };
  for (const Case& c : cases) {
    const Hsl got = ToHsl(c.color);
    EXPECT_EQ(got.h, c.hsl.h) << std::hex << c.color;
    EXPECT_EQ(got.s, c.hsl.s) << std::hex << c.color;
    EXPECT_EQ(got.l, c.hsl.l) << std::hex << c.color;
  }
  // A system colour is turned into its RGB value before the arithmetic.
  const Hsl face = ToHsl(clBtnFace), direct = ToHsl(static_cast<TColor>(GetSysColor(COLOR_BTNFACE)));
  EXPECT_EQ(face.h, direct.h);
  EXPECT_EQ(face.l, direct.l);
}

TEST(ColorArithmetic, HslGivesBackTheColours) {
  struct Case {
    int h, s, l;
    TColor color;
  } cases[] = {
      {0, 240, 120, clRed},
      {0, 0, 240, clWhite},
      {0, 0, 0, clBlack},
      {0, 0, 120, 0x808080},
      // The hue is read on a scale of 239, so green and blue come back with a trace of their
      // neighbours, as they always have.
      {80, 240, 120, 0x02FF00},
      {160, 240, 120, 0xFF0004},
      // A luminance beyond the scale saturates at white.
      {30, 100, 255, clWhite},
  };
  for (const Case& c : cases)
    EXPECT_EQ(HSLtoColor(c.h, c.s, c.l), c.color) << c.h << " " << c.s << " " << c.l;
}

TEST(ColorArithmetic, ShadesBlendsAndComplements) {
  EXPECT_EQ(LighterColor(clWhite, 30), clWhite);
  EXPECT_EQ(DarkerColor(clBlack, 30), clBlack);
  EXPECT_EQ(ColorLuminance(DarkerColor(clRed, 40)), 80);
  EXPECT_EQ(ColorLuminance(LighterColor(clRed, 40)), 160);
  EXPECT_EQ(AdjustColor(clRed, -40), DarkerColor(clRed, 40));
  EXPECT_EQ(AdjustColor(clRed, 40), LighterColor(clRed, 40));
  EXPECT_EQ(AdjustColor(0x123456, 0), 0x123456);

  // About three quarters white: 190/255 of white over black.
  EXPECT_EQ(BlendColors(clWhite, clBlack, 190), 0xBEBEBE);
  EXPECT_EQ(BlendColors(clWhite, clRed, 190), 0xBEBEFF);
  EXPECT_EQ(BlendColors(clBlue, clRed, 0), clRed);
  EXPECT_EQ(BlendColors(clBlue, clRed, 255), clBlue);

  // A hue of 130 turns to 10, one of 20 to 140.
  TColor hue130 = -1, hue20 = -1;
  for (int g = 0; g < 256 && (hue130 < 0 || hue20 < 0); ++g) {
    const TColor c = static_cast<TColor>(RGB(0, static_cast<BYTE>(g), 255));  // blues turning to cyan
    if (ColorHue(c) == 130 && hue130 < 0) hue130 = c;
    const TColor d = static_cast<TColor>(RGB(255, static_cast<BYTE>(g), 0));  // reds turning to yellow
    if (ColorHue(d) == 20 && hue20 < 0) hue20 = d;
  }
  ASSERT_GE(hue130, 0);
  ASSERT_GE(hue20, 0);
  EXPECT_EQ(ComplementaryColor(hue130, 140), HSLtoColor(10, 240, 140));
  EXPECT_EQ(ComplementaryColor(hue20, 140), HSLtoColor(140, 240, 140));
  EXPECT_EQ(ComplementaryColor(hue130), HSLtoColor(10, 240, ColorLuminance(hue130)));

  EXPECT_TRUE(ColorsTooClose(clRed, 0x0000F0));
  EXPECT_FALSE(ColorsTooClose(clRed, clLime));
  EXPECT_FALSE(ColorsTooClose(clRed, 0x000040));  // same hue, far darker
}

}  // namespace
