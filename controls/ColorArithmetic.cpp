#include "controls/ColorArithmetic.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

// The classic Round: halves go to the even neighbour (the default rounding mode).
int RoundEven(double v) { return static_cast<int>(std::nearbyint(v)); }

std::uint8_t Channel(COLORREF rgb, int shift) { return static_cast<std::uint8_t>((rgb >> shift) & 0xFF); }

TColor FromRgb(int r, int g, int b) { return static_cast<TColor>(r | (g << 8) | (b << 16)); }

}  // namespace

void ColorToHSL(TColor color, std::uint8_t& h, std::uint8_t& s, std::uint8_t& l) {
  const COLORREF rgb = ColorToRGB(color);
  const double r = Channel(rgb, 0) / 255.0, g = Channel(rgb, 8) / 255.0, b = Channel(rgb, 16) / 255.0;
  const double mx = std::max({r, g, b}), mn = std::min({r, g, b});
  const double lum = (mx + mn) / 2;
  double hue = 0, sat = 0;
  if (mx != mn) {
    const double d = mx - mn;
    sat = lum < 0.5 ? d / (mx + mn) : d / (2 - mx - mn);
    if (r == mx)
      hue = (g - b) / d;
    else if (g != mx)
      hue = 4 + (r - g) / d;
    else
      hue = 2 + (b - r) / d;
    hue /= 6;
    if (hue < 0) hue += 1;
  }
  h = static_cast<std::uint8_t>(RoundEven(hue * 240));
  s = static_cast<std::uint8_t>(RoundEven(sat * 240));
  l = static_cast<std::uint8_t>(RoundEven(lum * 240));
}

TColor HSLtoColor(std::uint8_t hb, std::uint8_t sb, std::uint8_t lb) {
  const double h = hb / 239.0, s = sb / 240.0, l = lb / 240.0;
  const double v = l < 0.5 ? l * (1 + s) : l + s - l * s;
  if (v <= 0) return 0;
  const double m = 2 * l - v;
  const double sv = (v - m) / v;
  const double h6 = 6 * h;
  const int sextant = static_cast<int>(h6);
  const double f = h6 - sextant;
  const double vsf = v * sv * f;
  const double mid1 = m + vsf, mid2 = v - vsf;
  double r, g, b;
  switch (sextant) {
    case 1:
      r = mid2, g = v, b = m;
      break;
    case 2:
      r = m, g = v, b = mid1;
      break;
    case 3:
      r = m, g = mid2, b = v;
      break;
    case 4:
      r = mid1, g = m, b = v;
      break;
    case 5:
      r = v, g = m, b = mid2;
      break;
    default:
      r = v, g = mid1, b = m;
      break;
  }
  auto to8 = [](double c) { return RoundEven(std::min(c, 1.0) * 255); };
  return FromRgb(to8(r), to8(g), to8(b));
}

std::uint8_t ColorHue(TColor color) {
  std::uint8_t h, s, l;
  ColorToHSL(color, h, s, l);
  return h;
}

std::uint8_t ColorSaturation(TColor color) {
  std::uint8_t h, s, l;
  ColorToHSL(color, h, s, l);
  return s;
}

std::uint8_t ColorLuminance(TColor color) {
  std::uint8_t h, s, l;
  ColorToHSL(color, h, s, l);
  return l;
}

TColor DarkerColor(TColor color, std::uint8_t amount) {
  std::uint8_t h, s, l;
  ColorToHSL(color, h, s, l);
  return HSLtoColor(h, s, static_cast<std::uint8_t>(std::max(l - amount, 0)));
}

TColor LighterColor(TColor color, std::uint8_t amount) {
  std::uint8_t h, s, l;
  ColorToHSL(color, h, s, l);
  return HSLtoColor(h, s, static_cast<std::uint8_t>(std::min(l + amount, 255)));
}

TColor AdjustColor(TColor color, int n) {
  if (n < 0) return DarkerColor(color, static_cast<std::uint8_t>(std::min(-n, 255)));
  if (n > 0) return LighterColor(color, static_cast<std::uint8_t>(std::min(n, 255)));
  return color;
}

TColor BlendColors(TColor fore, TColor back, std::uint8_t weight) {
  const COLORREF f = ColorToRGB(fore), b = ColorToRGB(back);
  const float w = weight / 255.0f;
  auto mix = [&](int shift) { return RoundEven(w * Channel(f, shift) + (1 - w) * Channel(b, shift)); };
  return FromRgb(mix(0), mix(8), mix(16));
}

bool ColorsTooClose(TColor a, TColor b) {
  std::uint8_t ha, sa, la, hb, sb, lb;
  ColorToHSL(a, ha, sa, la);
  ColorToHSL(b, hb, sb, lb);
  return std::abs(ha - hb) < 20 && std::abs(la - lb) < 60;
}

TColor ComplementaryColor(TColor color, std::uint8_t luminance) {
  const std::uint8_t h = ColorHue(color);
  return HSLtoColor(static_cast<std::uint8_t>(h < 120 ? h + 120 : h - 120), 240, luminance);
}

TColor ComplementaryColor(TColor color) { return ComplementaryColor(color, ColorLuminance(color)); }

int Min(int a, int b) { return a < b ? a : b; }
int Max(int a, int b) { return a > b ? a : b; }
void Swap(int& a, int& b) { std::swap(a, b); }
void Swap(std::int16_t& a, std::int16_t& b) { std::swap(a, b); }
