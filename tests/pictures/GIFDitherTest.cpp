// The dithering engines: the serpentine walk, exact colours kept exactly, the mean grey level
// kept by error diffusion, and errors landing where each matrix puts them even when the caller
// passes over pixels.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>

#include "pictures/color/ColorReduction.h"
#include "pictures/color/TMonochromeLookup.h"
#include "pictures/color/TNetscapeColorLookup.h"
#include "pictures/gif/GIFFrameConversion.h"
#include "pictures/gif/TGIFSubImage.h"
#include "platform/gdi/Gdi.h"

namespace {

const TDitherMode kModes[] = {
    TDitherMode::dmNearest, TDitherMode::dmFloydSteinberg, TDitherMode::dmStucki, TDitherMode::dmSierra,
    TDitherMode::dmJaJuNI,  TDitherMode::dmSteveArche,     TDitherMode::dmBurkes};
const char* kModeNames[] = {"Nearest", "FloydSteinberg", "Stucki", "Sierra",
                            "JaJuNi",  "SteveArche",     "Burkes"};

struct Rgb {
  int r, g, b;
};

// Walks `height` rows as a caller does and returns the indices, row by row.
std::vector<int> Walk(TDitherEngine& engine, int width, int height,
                      const std::function<Rgb(int, int)>& colour,
                      const std::function<bool(int, int)>& skip = nullptr) {
  std::vector<int> out(std::size_t(width * height), -1);
  for (int y = 0; y < height; ++y) {
    for (int x = engine.Column(); x >= 0 && x < width; x = engine.Column()) {
      if (skip && skip(x, y)) {
        engine.SkipPixel();
        continue;
      }
      const Rgb c = colour(x, y);
      BYTE r, g, b;
      out[std::size_t(y * width + x)] = engine.DitherPixel(BYTE(c.r), BYTE(c.g), BYTE(c.b), r, g, b);
    }
    engine.NextRow();
  }
  return out;
}

// A lookup that keeps every grey as it is, except one value that it maps to another: the only
// pixel with an error. It records the grey asked for at each call.
class OneErrorLookup : public TColorLookup {
 public:
  OneErrorLookup(int from, int to) : TColorLookup(nullptr), from_(from), to_(to) { colors_ = 256; }
  int NearestIndex(BYTE red, BYTE, BYTE, BYTE& r, BYTE& g, BYTE& b) override {
    asked.push_back(red);
    const int chosen = red == from_ ? to_ : red;
    r = g = b = BYTE(chosen);
    return chosen;
  }
  std::vector<int> asked;

 private:
  int from_, to_;
};

}  // namespace

TEST(GIFDither, ColourInThePaletteGivesItsIndexEverywhere) {
  TNetscapeColorLookup lookup(nullptr);
  for (int width : {1, 2, 9}) {
    for (std::size_t m = 0; m < std::size(kModes); ++m) {
      SCOPED_TRACE(std::string(kModeNames[m]) + " width " + std::to_string(width));
      auto engine = CreateDitherEngine(kModes[m], width, &lookup);
      ASSERT_TRUE(engine);
      std::vector<int> out = Walk(*engine, width, 7, [](int, int) { return Rgb{51, 102, 153}; });
      EXPECT_EQ(out, std::vector<int>(std::size_t(width * 7), 1 * 36 + 2 * 6 + 3));
    }
  }
}

TEST(GIFDither, SecondRowIsWalkedRightToLeft) {
  for (std::size_t m = 0; m < std::size(kModes); ++m) {
    SCOPED_TRACE(kModeNames[m]);
    std::vector<std::pair<int, int>> visits;
    TNetscapeColorLookup lookup(nullptr);
    auto engine = CreateDitherEngine(kModes[m], 4, &lookup);
    Walk(*engine, 4, 3, [&](int x, int y) {
      visits.push_back({x, y});
      return Rgb{0, 0, 0};
    });
    const std::vector<std::pair<int, int>> expected = {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {3, 1}, {2, 1},
                                                       {1, 1}, {0, 1}, {0, 2}, {1, 2}, {2, 2}, {3, 2}};
    EXPECT_EQ(visits, expected);
  }
}

TEST(GIFDither, GreysThroughBlackAndWhite) {
  TMonochromeLookup lookup(nullptr);
  auto nearest = CreateDitherEngine(TDitherMode::dmNearest, 32, &lookup);
  EXPECT_EQ(Walk(*nearest, 32, 32,
                 [](int, int) {
                   return Rgb{127, 127, 127};
                 }),
            std::vector<int>(32 * 32, 0));
  // Big enough that the errors lost at the edges stay well below one level.
  const int size = 200;
  for (std::size_t m = 1; m < std::size(kModes); ++m) {
    for (int grey = 32; grey <= 230; grey += 22) {
      SCOPED_TRACE(std::string(kModeNames[m]) + " grey " + std::to_string(grey));
      auto engine = CreateDitherEngine(kModes[m], size, &lookup);
      std::vector<int> out = Walk(*engine, size, size, [&](int, int) { return Rgb{grey, grey, grey}; });
      double white = 0;
      for (int index : out) white += index;
      EXPECT_NEAR(white * 255 / double(out.size()), grey, 2.0);
    }
  }
}

// Each engine's places in the rows below, as (row, column offset along the first row's
// direction); row 0 places are taken by later pixels of the same row.
TEST(GIFDither, ErrorLandsUnderItsPixelWhenEarlierPixelsArePassedOver) {
  const std::map<std::string, std::set<std::pair<int, int>>> places = {
      {"FloydSteinberg", {{1, -1}, {1, 0}, {1, 1}}},
      {"Stucki", {{1, -2}, {1, -1}, {1, 0}, {1, 1}, {1, 2}, {2, -2}, {2, -1}, {2, 0}, {2, 1}, {2, 2}}},
      {"Sierra", {{1, -2}, {1, -1}, {1, 0}, {1, 1}, {1, 2}, {2, -1}, {2, 0}, {2, 1}}},
      {"JaJuNi", {{1, -2}, {1, -1}, {1, 0}, {1, 1}, {1, 2}, {2, -2}, {2, -1}, {2, 0}, {2, 1}, {2, 2}}},
      {"SteveArche",
       {{1, -3}, {1, -1}, {1, 1}, {1, 3}, {2, -2}, {2, 0}, {2, 2}, {3, -3}, {3, -1}, {3, 1}, {3, 3}}},
      {"Burkes", {{1, -2}, {1, -1}, {1, 0}, {1, 1}, {1, 2}}},
  };
  const int width = 14, height = 5, column = 7;
  for (std::size_t m = 1; m < std::size(kModes); ++m) {
    for (bool skipping : {false, true}) {
      SCOPED_TRACE(std::string(kModeNames[m]) + (skipping ? " passing over pixels" : ""));
      OneErrorLookup lookup(158, 128);
      auto engine = CreateDitherEngine(kModes[m], width, &lookup);
      // Row 0: pixels 1 to 3 passed over, pixel 7 the only one with an error (30).
      std::vector<std::pair<int, int>> order;
      std::vector<int> asked;
      for (int y = 0; y < height; ++y) {
        for (int x = engine->Column(); x >= 0 && x < width; x = engine->Column()) {
          if (skipping && y == 0 && x >= 1 && x <= 3) {
            engine->SkipPixel();
            continue;
          }
          BYTE r, g, b;
          const int grey = y == 0 && x == column ? 158 : 128;
          engine->DitherPixel(BYTE(grey), BYTE(grey), BYTE(grey), r, g, b);
          order.push_back({x, y});
        }
        engine->NextRow();
      }
      // Where a pixel of a later row was asked for another grey than its own.
      std::set<std::pair<int, int>> touched;
      for (std::size_t i = 0; i < order.size(); ++i)
        if (order[i].second > 0 && lookup.asked[i] != 128)
          touched.insert({order[i].second, order[i].first - column});
      EXPECT_EQ(touched, places.at(kModeNames[m]));
    }
  }
}

// A frame drawn dithered through the web palette: transparent pixels get their mask bit and keep
// the row's fill value, and are passed over without disturbing their neighbours.
TEST(GIFDither, FrameRenderedThroughTheWebPalette) {
  TGIFSubImage frame(nullptr);
  TGIFColorMap* map = frame.ColorMap();
  map->Add(TColor(RGB(51, 102, 153)));   // a web colour
  map->Add(TColor(RGB(255, 255, 255)));  // another
  map->Add(TColor(RGB(10, 200, 60)));    // transparent
  const int width = 11, height = 4;
  std::vector<BYTE> pixels(std::size_t(width * height));
  for (int i = 0; i < width * height; ++i) pixels[std::size_t(i)] = BYTE(i % 5 == 2 ? 2 : i % 3 == 0);
  std::vector<BYTE> dib(pixels.size()), mask(std::size_t(2 * height), 0);
  DitherFramePixels(
      pixels.data(), width, height, map, 2, [&](int row) { return dib.data() + row * width; },
      [&](int row) { return mask.data() + row * 2; });
  const BYTE fill = BYTE(MulDiv(36, 10, 51) + MulDiv(6, 200, 51) + 60 / 51 + 1);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      SCOPED_TRACE(std::to_string(x) + "," + std::to_string(y));
      const int p = pixels[std::size_t(y * width + x)];
      const bool bit = (mask[std::size_t(y * 2 + x / 8)] >> (7 - x % 8)) & 1;
      EXPECT_EQ(bit, p == 2);
      EXPECT_EQ(dib[std::size_t(y * width + x)], p == 2 ? fill : p == 1 ? 215 : 1 * 36 + 2 * 6 + 3);
    }
}
