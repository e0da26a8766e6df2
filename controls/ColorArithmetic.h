// Colour arithmetic of the control library: an HSL space whose components run from 0 to 240
// (the scale of the system colour dialog), and the light, dark, blended and complementary
// colours the themed controls derive from one base colour. System colours are turned into RGB
// before any arithmetic.
#pragma once

#include <cstdint>

#include "platform/forms/TColor.h"

void ColorToHSL(TColor color, std::uint8_t& h, std::uint8_t& s, std::uint8_t& l);
// h, s and l as bytes: a luminance above 240 (LighterColor may give up to 255) saturates at white.
TColor HSLtoColor(std::uint8_t h, std::uint8_t s, std::uint8_t l);

std::uint8_t ColorHue(TColor color);
std::uint8_t ColorSaturation(TColor color);
std::uint8_t ColorLuminance(TColor color);

// The luminance moved by `amount`, within 0..255.
TColor DarkerColor(TColor color, std::uint8_t amount);
TColor LighterColor(TColor color, std::uint8_t amount);
// n < 0: darker by -n; n > 0: lighter by n.
TColor AdjustColor(TColor color, int n);

// Per channel weight/255 of `fore` and the rest of `back`, rounded to even.
TColor BlendColors(TColor fore, TColor back, std::uint8_t weight);
bool ColorsTooClose(TColor a, TColor b);
// The hue turned by 120 (of 240), full saturation, the given luminance (or the colour's own).
TColor ComplementaryColor(TColor color, std::uint8_t luminance);
TColor ComplementaryColor(TColor color);

int Min(int a, int b);
int Max(int a, int b);
void Swap(int& a, int& b);
void Swap(std::int16_t& a, std::int16_t& b);
