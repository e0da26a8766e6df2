// The skin pictures compiled into the editor: the committed files are what tools/make-skins
// draws, and every picture has the size, frame layout and key colour its windows rely on.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "editor/EditorResources.h"
#include "platform/forms/TBitmap.h"
#include "platform/rtl/Program.h"

namespace {

constexpr std::uint32_t kKey = 0xFF00FF;

TEST(Skins, TheCommittedPicturesAreWhatTheGeneratorDraws) {
  const std::string command = std::string(MMS_SOURCE_DIR) + "/tools/make-skins --check";
  EXPECT_EQ(std::system(command.c_str()), 0) << "run tools/make-skins and commit its output";
}

struct Picture {
  int width = 0, height = 0;
  std::vector<std::uint32_t> pixels;  // 0xRRGGBB, row by row
  std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

Picture Load(const char* name) {
  RegisterEditorResources();
  TBitmap bitmap;
  bitmap.LoadFromResourceName(HInstance, name);
  bitmap.SetPixelFormat(pf32bit);
  Picture p{bitmap.Width(), bitmap.Height(), {}};
  for (int y = 0; y < p.height; ++y) {
    auto* row = static_cast<std::uint32_t*>(bitmap.ScanLine(y));
    for (int x = 0; x < p.width; ++x) p.pixels.push_back(row[x] & 0xFFFFFF);
  }
  return p;
}

// Checks one rounded shape (a window background or one frame of a button strip) at rows
// top..top+height: the key colour fills its four corners and nothing else, every key pixel
// reaching the corner through key pixels, so the shape has no holes and no keyed seams.
void ExpectKeyedOnlyOutsideTheOutline(const Picture& p, int top, int height, int corner,
                                      const std::string& what) {
  const int w = p.width;
  for (auto [x, y] :
       {std::pair{0, 0}, std::pair{w - 1, 0}, std::pair{0, height - 1}, std::pair{w - 1, height - 1}})
    EXPECT_EQ(p.At(x, top + y), kKey) << what << ": corner " << x << "," << y;
  int misplaced = 0;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < w; ++x) {
      if (p.At(x, top + y) != kKey) continue;
      const int cx = x < w / 2 ? x : w - 1 - x, cy = y < height / 2 ? y : height - 1 - y;
      // Outside a rounded corner a key pixel has a key neighbour towards the corner.
      const bool inCorner = cx < corner && cy < corner;
      const int towardsX = x < w / 2 ? x - 1 : x + 1, towardsY = y < height / 2 ? y - 1 : y + 1;
      const bool reaches =
          cx == 0 || cy == 0 || p.At(towardsX, top + y) == kKey || p.At(x, top + towardsY) == kKey;
      if (!inCorner || !reaches) ++misplaced;
    }
  EXPECT_EQ(misplaced, 0) << what << ": key-colour pixels inside the outline";
}

TEST(Skins, EveryPictureHasItsSizeFramesAndKeyColourWhereTheWindowsNeedThem) {
  struct Case {
    const char* name;
    int width, height;
    int frameHeight;  // 0: one picture; else a strip of frames of that height
    int frames;
    int corner;  // 0: a plain rectangle without key colour
  };
  const Case cases[] = {
      {"MAINBACK", 497, 361, 0, 1, 10},
      {"BOXBACK", 317, 163, 0, 1, 10},
      {"FRAMEBOXBACK", 316, 163, 0, 1, 10},
      {"imgFrameListnew", 250, 222, 0, 1, 0},
      // Button strips: normal, disabled, pushed, hot, each as high as the buttons that show it.
      {"BTNMAIN", 64, 92, 23, 4, 4},  // narrower than its buttons: a face is only widened
      {"BTNCLOSE", 34, 88, 22, 4, 4},
      {"BTNSMALL", 16, 64, 16, 4, 4},
      {"BTNSPINUP", 15, 10, 10, 1, 3},
      {"BTNSPINDOWN", 15, 10, 10, 1, 3},
      // The text editor window: its background, its two button sizes and the hint's icon.
      {"TEXTEDITBACK", 358, 260, 0, 1, 10},
      {"BTNTEXT", 66, 92, 23, 4, 4},
      {"BTNOPENFILE", 68, 92, 23, 4, 4},
      {"TEXTEDITICON", 16, 16, 0, 1, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Picture p = Load(c.name);
    ASSERT_EQ(p.width, c.width);
    ASSERT_EQ(p.height, c.height);
    const int frameHeight = c.frameHeight ? c.frameHeight : c.height;
    EXPECT_EQ(p.height, c.frames * frameHeight);
    for (int f = 0; f < c.frames; ++f) {
      const std::string what = std::string(c.name) + " frame " + std::to_string(f);
      if (c.corner) {
        ExpectKeyedOnlyOutsideTheOutline(p, f * frameHeight, frameHeight, c.corner, what);
        // A transparent button keys the frame's bottom-left pixel; a window's shape, the top-left.
        EXPECT_EQ(p.At(0, f * frameHeight + frameHeight - 1), kKey) << what;
      } else {
        for (std::uint32_t px : p.pixels) ASSERT_NE(px, kKey) << what;
      }
    }
    // Frames differ from each other, so each state shows.
    for (int f = 1; f < c.frames; ++f) {
      auto frame = [&](int i) {
        return std::vector<std::uint32_t>(p.pixels.begin() + i * frameHeight * p.width,
                                          p.pixels.begin() + (i + 1) * frameHeight * p.width);
      };
      EXPECT_NE(frame(f), frame(0)) << "frame " << f;
    }
  }
  // The spin buttons carry their arrows: the two pictures differ.
  EXPECT_NE(Load("BTNSPINUP").pixels, Load("BTNSPINDOWN").pixels);
}

}  // namespace
