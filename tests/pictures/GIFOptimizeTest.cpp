// Optimising pictures: every pass keeps the composed animation (judged by a small compositor
// here and by ImageMagick's -coalesce of the saved files), and the passes' own rules: cropping,
// merging, cleaning up and one global colour table.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <set>

#include "GifBuild.h"
#include "GifFixtures.h"
#include "pictures/GIFException.h"
#include "pictures/gif/TGIFAppExtNSLoop.h"
#include "pictures/gif/TGIFCommentExtension.h"
#include "support/SharedData.h"
#include "support/TempDir.h"

using namespace giftest;

namespace {

constexpr TGIFOptimizeOptions kAll =
    (1 << ooCrop) | (1 << ooMerge) | (1 << ooCleanup) | (1 << ooColorMap) | (1 << ooReduceColors);
constexpr TGIFOptimizeOptions Only(TGIFOptimizeOption option) { return TGIFOptimizeOptions(1 << option); }

using Canvas = std::vector<std::uint32_t>;
struct Shown {
  Canvas canvas;
  int delay;
  bool operator==(const Shown&) const = default;
};

// What the picture shows, frame after frame: disposal applied, transparent pixels and the
// screen's edges respected; consecutive equal pictures are one, with their delays added.
std::vector<Shown> Compose(TGIFImage& image) {
  const int width = image.Width(), height = image.Height();
  Canvas canvas(std::size_t(width * height), 0);
  std::vector<Shown> shown;
  for (int i = 0; i < image.Images()->Count(); ++i) {
    TGIFSubImage* frame = image.Images()->GetImage(i);
    if (frame->GetEmpty()) continue;
    TGIFGraphicControlExtension* control = frame->GraphicControlExtension();
    const int disposal = control ? control->GetDisposalValue() : 0;
    const int transparent = frame->Transparent() && control ? control->GetTransparentColorIndex() : -1;
    const Canvas saved = canvas;
    TGIFColorMap* map = frame->GetActiveColorMap();
    for (int y = 0; y < frame->Height(); ++y)
      for (int x = 0; x < frame->Width(); ++x) {
        const int sx = frame->Left() + x, sy = frame->Top() + y;
        const int p = frame->GetScanline(y)[x];
        if (p == transparent || sx >= width || sy >= height) continue;
        const TGIFColor c = p < map->Count() ? map->Colors(p) : TGIFColor{};
        canvas[std::size_t(sy * width + sx)] = 0xFF000000u | c.Red | (c.Green << 8) | (c.Blue << 16);
      }
    const int delay = control ? control->GetDelay() : 0;
    if (!shown.empty() && shown.back().canvas == canvas)
      shown.back().delay += delay;
    else
      shown.push_back({canvas, delay});
    if (disposal == 2)
      for (int y = frame->Top(); y < std::min(height, frame->Top() + frame->Height()); ++y)
        for (int x = frame->Left(); x < std::min(width, frame->Left() + frame->Width()); ++x)
          canvas[std::size_t(y * width + x)] = 0;
    if (disposal == 3) canvas = saved;
  }
  return shown;
}

bool Shell(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()) == 0; }

// ImageMagick's composed frames of a file, as raw RGBA, each with its delay, merged as above.
std::vector<std::pair<Bytes, int>> Coalesced(const testsupport::TempDir& temp, const std::string& path) {
  std::vector<std::pair<Bytes, int>> out;
  const std::string raw = path + ".rgba", delays = path + ".delays";
  if (!Shell("convert '" + path + "' -coalesce -depth 8 'rgba:" + raw + "'") ||
      std::system(("identify -format '%T %w %h\\n' '" + path + "' > '" + delays + "' 2>/dev/null").c_str()) !=
          0)
    return out;
  (void)temp;
  Bytes all = testsupport::ReadFileBytes(raw);
  // A transparent pixel has no colour.
  for (std::size_t i = 0; i + 3 < all.size(); i += 4)
    if (all[i + 3] == 0) all[i] = all[i + 1] = all[i + 2] = 0;
  std::ifstream in(delays);
  int delay = 0, w = 0, h = 0;
  std::vector<int> list;
  while (in >> delay >> w >> h) list.push_back(delay);
  if (list.empty()) return out;
  const std::size_t size = all.size() / list.size();
  for (std::size_t i = 0; i < list.size(); ++i) {
    Bytes frame(all.begin() + std::ptrdiff_t(i * size), all.begin() + std::ptrdiff_t((i + 1) * size));
    if (!out.empty() && out.back().first == frame)
      out.back().second += list[i];
    else
      out.push_back({frame, list[i]});
  }
  return out;
}

std::vector<int> Bounds(TGIFSubImage* frame) {
  const RECT r = frame->GetBoundsRect();
  return {int(r.left), int(r.top), int(r.right), int(r.bottom)};
}

struct Animation {
  std::string name, path;
};

int ColoursInAll(TGIFImage& image) {
  std::set<std::uint32_t> colours;
  for (int i = 0; i < image.Images()->Count(); ++i) {
    TGIFSubImage* frame = image.Images()->GetImage(i);
    TGIFColorMap* map = frame->GetActiveColorMap();
    for (BYTE p : frame->Pixels())
      if (p < map->Count()) colours.insert(GIFColorToColor(map->Colors(p)));
  }
  return int(colours.size());
}

}  // namespace

TEST(GIFOptimize, AnimationsComposeAsBefore) {
  testsupport::TempDir temp;
  std::vector<Animation> animations;
  for (const std::string& path : testsupport::SharedFiles("testdata/gif", ".gif"))
    if (path.find("animated") != std::string::npos)
      animations.push_back({path.substr(path.rfind('/') + 1), path});
  const std::string magick = temp.file("magick.gif"), sicle = temp.file("sicle.gif");
  if (Shell("convert -seed 5 -size 40x30 plasma: -colors 60 \\( +clone -fill red -draw 'rectangle 5,5 15,12' "
            "\\) "
            "\\( +clone -fill blue -draw 'circle 30,20 34,22' \\) -set delay 7 -loop 0 -layers optimize '" +
            magick + "'"))
    animations.push_back({"ImageMagick", magick});
  if (Shell("gifsicle -O2 '" + animations[0].path + "' -o '" + sicle + "'"))
    animations.push_back({"gifsicle", sicle});
  ASSERT_GE(animations.size(), 12u);

  for (const Animation& a : animations) {
    SCOPED_TRACE(a.name);
    TGIFImage original;
    Load(original, testsupport::ReadFileBytes(a.path));
    ASSERT_LE(ColoursInAll(original), 255);
    const std::vector<Shown> before = Compose(original);

    TGIFImage optimized;
    Load(optimized, testsupport::ReadFileBytes(a.path));
    optimized.Optimize(kAll, rmNone, TDitherMode::dmNearest, 8);
    EXPECT_TRUE(Compose(optimized) == before) << "after Optimize";
    optimized.OptimizeColorMap();
    EXPECT_TRUE(Compose(optimized) == before) << "after OptimizeColorMap";
    EXPECT_LE(optimized.GetColorMap()->Count(), 256);

    TGIFImage mapped;
    Load(mapped, testsupport::ReadFileBytes(a.path));
    mapped.OptimizeColorMap();
    EXPECT_TRUE(Compose(mapped) == before) << "after OptimizeColorMap alone";

    // The saved file, read back by ImageMagick.
    const std::string saved = temp.file(a.name + ".optimized.gif");
    optimized.SaveToFile(saved);
    // ImageMagick refuses frames reaching outside the screen.
    auto expected = Coalesced(temp, a.path), got = Coalesced(temp, saved);
    if (a.name.find("out_of_bounds") != std::string::npos) continue;
    ASSERT_FALSE(expected.empty());
    EXPECT_TRUE(got == expected) << "ImageMagick composes the saved file differently";
  }
}

TEST(GIFOptimize, CropRemovesEmptyFramesOnlyWhereNothingChanges) {
  const Bytes opaque(16, 1), clear(16, 3), corner = {3, 3, 3, 3, 3, 2, 2, 3, 3, 2, 3, 3, 3, 3, 3, 3};
  struct Case {
    const char* name;
    TDisposalMethod firstDisposal;
    bool firstTransparent;
    int secondIndex;  // the frame tested: 0 or 1
    bool removed;
  };
  for (const Case& c :
       {Case{"after an opaque frame that stays", TDisposalMethod::dmNone, false, 1, true},
        Case{"after a transparent frame that stays", TDisposalMethod::dmNoDisposal, true, 1, true},
        Case{"after a frame that clears its area", TDisposalMethod::dmBackground, false, 1, false},
        Case{"after a frame that is restored", TDisposalMethod::dmPrevious, false, 1, false},
        Case{"as the first frame", TDisposalMethod::dmNone, false, 0, false}}) {
    SCOPED_TRACE(c.name);
    TGIFImage image;
    FillTable(image.GetColorMap(), 4);
    if (c.secondIndex == 0) {
      AddControl(AddFrame(image, 0, 0, 4, 4, clear), TDisposalMethod::dmNone, 30, 3);
      AddControl(AddFrame(image, 0, 0, 4, 4, opaque), TDisposalMethod::dmNone, 10);
    } else {
      AddControl(AddFrame(image, 0, 0, 4, 4, opaque), c.firstDisposal, 10, c.firstTransparent ? 3 : -1);
      AddControl(AddFrame(image, 0, 0, 4, 4, clear), TDisposalMethod::dmNone, 30, 3);
    }
    AddControl(AddFrame(image, 0, 0, 4, 4, corner), TDisposalMethod::dmNone, 5, 3);
    const auto before = Compose(image);
    image.Optimize(Only(ooCrop), rmNone, TDitherMode::dmNearest, 8);
    EXPECT_EQ(image.Images()->Count(), c.removed ? 2 : 3);
    if (c.removed) {
      EXPECT_EQ(image.Images()->GetImage(0)->GraphicControlExtension()->GetDelay(), 40);
    }
    EXPECT_TRUE(Compose(image) == before);
    // The last frame is cropped to its opaque pixels.
    TGIFSubImage* last = image.Images()->GetImage(image.Images()->Count() - 1);
    EXPECT_EQ(Bounds(last), (std::vector<int>{1, 1, 3, 3}));
    EXPECT_EQ(last->Pixels(), (std::vector<BYTE>{2, 2, 2, 3}));
  }

  // A frame that clears its area afterwards keeps all of it.
  TGIFImage image;
  FillTable(image.GetColorMap(), 4);
  AddControl(AddFrame(image, 0, 0, 4, 4, opaque), TDisposalMethod::dmNone, 10);
  AddControl(AddFrame(image, 0, 0, 4, 4, corner), TDisposalMethod::dmBackground, 10, 3);
  AddControl(AddFrame(image, 0, 0, 4, 4, opaque), TDisposalMethod::dmNone, 10);
  image.Optimize(Only(ooCrop), rmNone, TDitherMode::dmNearest, 8);
  EXPECT_EQ(Bounds(image.Images()->GetImage(1)), (std::vector<int>{0, 0, 4, 4}));
}

TEST(GIFOptimize, MergeMakesRepeatedPixelsTransparent) {
  const Bytes pixels = {0, 1, 2, 0, 1, 2, 0, 1, 2};
  {
    SCOPED_TRACE("two identical frames");
    TGIFImage image;
    FillTable(image.GetColorMap(), 4);
    AddControl(AddFrame(image, 0, 0, 3, 3, pixels), TDisposalMethod::dmNone, 10);
    AddControl(AddFrame(image, 0, 0, 4, 3, {0, 1, 2, 1, 0, 1, 2, 2, 0, 1, 2, 0}), TDisposalMethod::dmNone,
               10);
    const auto before = Compose(image);
    image.Optimize(Only(ooMerge), rmNone, TDitherMode::dmNearest, 8);
    TGIFSubImage* second = image.Images()->GetImage(1);
    ASSERT_TRUE(second->Transparent());
    const int t = second->GraphicControlExtension()->GetTransparentColorIndex();
    EXPECT_EQ(t, 4);  // black added to the table
    // The overlap repeats the first frame; the column beyond it stays.
    const BYTE x = BYTE(t);
    EXPECT_EQ(second->Pixels(), (std::vector<BYTE>{x, x, x, 1, x, x, x, 2, x, x, x, 0}));
    EXPECT_TRUE(Compose(image) == before);
  }
  {
    SCOPED_TRACE("a frame whose pixels hold another frame's transparent index");
    TGIFImage image;
    FillTable(image.GetColorMap(), 4);
    AddControl(AddFrame(image, 0, 0, 3, 3, Bytes(9, 0)), TDisposalMethod::dmNone, 10, 2);
    AddControl(AddFrame(image, 0, 0, 3, 3, pixels), TDisposalMethod::dmNone, 10);
    AddControl(AddFrame(image, 0, 0, 3, 3, pixels), TDisposalMethod::dmNone, 10);
    const auto before = Compose(image);
    image.Optimize(Only(ooMerge), rmNone, TDitherMode::dmNearest, 8);
    TGIFSubImage* second = image.Images()->GetImage(1);
    // Index 2 (frame 0's transparent index) is a visible colour here: black was added instead,
    // and the pixels of colour 2 stay.
    EXPECT_GE(second->GraphicControlExtension()->GetTransparentColorIndex(), 4);
    EXPECT_EQ(second->Pixels()[2], 2);
    EXPECT_TRUE(Compose(image) == before);
  }
}

TEST(GIFOptimize, CleanupKeepsWhatPlays) {
  TGIFImage image;
  FillTable(image.GetColorMap(), 4);
  auto addComment = [](TGIFSubImage* frame) {
    auto* comment = new TGIFCommentExtension(frame);
    comment->Text()->Add("made by a test");
    frame->Extensions()->Add(comment);
  };
  TGIFSubImage* f0 = AddFrame(image, 0, 0, 2, 2, {0, 1, 2, 3});
  addComment(f0);
  AddControl(f0, TDisposalMethod::dmNone, 0);  // no delay, nothing special: goes
  TGIFSubImage* f1 = AddFrame(image, 0, 0, 2, 2, {1, 1, 2, 3});
  AddControl(f1, TDisposalMethod::dmNone, 20);  // a delay: stays
  TGIFSubImage* f2 = AddFrame(image, 0, 0, 2, 2, {2, 1, 2, 3});
  auto* loop = new TGIFAppExtNSLoop(f2);
  f2->Extensions()->Add(loop);
  AddControl(f2, TDisposalMethod::dmBackground, 0);  // clears its area: stays
  TGIFSubImage* f3 = AddFrame(image, 0, 0, 2, 2, {3, 1, 2, 3});
  f3->Extensions()->Add(new TGIFAppExtNSLoop(f3));                 // a second looping block: goes
  AddControl(f3, TDisposalMethod::dmNone, 0)->SetUserInput(true);  // waits for input: stays
  // Leading frames without delay stay: the picture shows them together.
  image.Optimize(Only(ooCleanup), rmNone, TDitherMode::dmNearest, 8);

  ASSERT_EQ(image.Images()->Count(), 4);
  EXPECT_EQ(f0->Extensions()->Count(), 1) << "the leading frame keeps its control block, loses its comment";
  EXPECT_NE(f1->GraphicControlExtension(), nullptr);
  EXPECT_NE(f2->GraphicControlExtension(), nullptr);
  EXPECT_EQ(f2->Extensions()->IndexOf(loop), 0) << "the only looping block that plays stays where it is";
  EXPECT_EQ(f3->Extensions()->Count(), 1);
  EXPECT_NE(f3->GraphicControlExtension(), nullptr);

  // Without delays before it, a later control block of delay 0 goes.
  TGIFImage later;
  FillTable(later.GetColorMap(), 4);
  AddControl(AddFrame(later, 0, 0, 1, 1, {0}), TDisposalMethod::dmNone, 10);
  TGIFSubImage* g1 = AddFrame(later, 0, 0, 1, 1, {1});
  AddControl(g1, TDisposalMethod::dmNoDisposal, 0);
  later.Optimize(Only(ooCleanup), rmNone, TDitherMode::dmNearest, 8);
  EXPECT_EQ(g1->GraphicControlExtension(), nullptr);
}

TEST(GIFOptimize, ReductionByPaletteIsRefusedAndEmptyPicturesStayEmpty) {
  TGIFImage image;
  FillTable(image.GetColorMap(), 4);
  TGIFSubImage* frame = AddFrame(image, 0, 0, 2, 1, {0, 3});
  AddControl(frame, TDisposalMethod::dmNone, 0);
  try {
    image.Optimize(kAll, rmPalette, TDitherMode::dmNearest, 8);
    ADD_FAILURE() << "no error";
  } catch (const GIFException& e) {
    EXPECT_STREQ(e.Message.c_str(), "Invalid reduction method");
  }
  EXPECT_NE(frame->GraphicControlExtension(), nullptr) << "nothing was changed before the error";
  TGIFImage empty;
  empty.Optimize(kAll, rmNone, TDitherMode::dmNearest, 8);
  EXPECT_EQ(empty.Images()->Count(), 0);
}

TEST(GIFOptimize, OneGlobalTableForThreeHundredColours) {
  TGIFImage image;
  // Two frames with local tables: 150 + 150 distinct greens and blues, then pure red and pure
  // blue used once each, and a transparent pixel.
  auto table = [](TGIFSubImage* frame, int base) {
    frame->ColorMap()->Clear();
    for (int i = 0; i < 150; ++i) frame->ColorMap()->Add(TColor(RGB(0, 50 + i, base)));
  };
  Bytes a(300), b(300);
  for (int i = 0; i < 300; ++i) a[std::size_t(i)] = b[std::size_t(i)] = BYTE(i % 150);
  TGIFSubImage* f0 = AddFrame(image, 0, 0, 30, 10, a);
  table(f0, 0);
  f0->ColorMap()->Add(TColor(RGB(255, 0, 0)));
  f0->GetScanline(9)[29] = 150;
  TGIFSubImage* f1 = AddFrame(image, 0, 0, 30, 10, b);
  table(f1, 200);
  f1->ColorMap()->Add(TColor(RGB(0, 0, 255)));
  f1->ColorMap()->Add(TColor(RGB(9, 9, 9)));
  f1->GetScanline(9)[29] = 150;
  f1->GetScanline(9)[28] = 151;
  AddControl(f1, TDisposalMethod::dmNone, 0, 151);
  FillTable(image.GetColorMap(), 8);
  image.SetBackgroundColorIndex(5);
  const TGIFColor background = image.GetColorMap()->Colors(5);

  image.OptimizeColorMap();
  TGIFColorMap* global = image.GetColorMap();
  ASSERT_EQ(global->Count(), 256);
  EXPECT_TRUE(global->Optimized());
  EXPECT_EQ(global->Colors(255), TGIFColor{}) << "black for the transparent pixels";
  EXPECT_EQ(f1->GraphicControlExtension()->GetTransparentColorIndex(), 255);
  EXPECT_EQ(f0->ColorMap()->Count(), 0);
  EXPECT_EQ(f1->ColorMap()->Count(), 0);
  EXPECT_EQ(f1->GetScanline(9)[28], 255);
  // Colours that did not fit show as the kept colour at the smallest squared distance: red and
  // blue, equally far from everything by component sums, go to different colours.
  auto nearest = [&](const TGIFColor& c) {
    int best = 1 << 30;
    TGIFColor found;
    for (int i = 0; i < 255; ++i) {
      const TGIFColor k = global->Colors(i);
      const int d = (k.Red - c.Red) * (k.Red - c.Red) + (k.Green - c.Green) * (k.Green - c.Green) +
                    (k.Blue - c.Blue) * (k.Blue - c.Blue);
      if (d < best) best = d, found = k;
    }
    return found;
  };
  const TGIFColor red = global->Colors(f0->GetScanline(9)[29]), blue = global->Colors(f1->GetScanline(9)[29]);
  EXPECT_NE(red, blue);
  EXPECT_EQ(red, nearest(TGIFColor{255, 0, 0}));
  EXPECT_EQ(blue, nearest(TGIFColor{0, 0, 255}));
  // The background names the nearest kept colour to the one it named.
  EXPECT_EQ(global->Colors(image.GetBackgroundColorIndex()), nearest(background));
}

TEST(GIFOptimize, BackgroundIndexFollowsItsColour) {
  TGIFImage image;
  FillTable(image.GetColorMap(), 8);
  image.SetBackgroundColorIndex(6);
  AddControl(AddFrame(image, 0, 0, 4, 1, {6, 1, 1, 1}), TDisposalMethod::dmBackground, 10);
  AddControl(AddFrame(image, 0, 0, 2, 1, {2, 2}), TDisposalMethod::dmNone, 10);
  const TGIFColor before = image.GetColorMap()->Colors(6);
  image.OptimizeColorMap();
  EXPECT_EQ(image.GetColorMap()->Colors(image.GetBackgroundColorIndex()), before);
}
