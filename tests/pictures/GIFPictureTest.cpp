// The GIF picture as a graphic of the form library: found by file name and clipboard format,
// its defaults and limits, its palette, drawing a still or animated picture once, and copying.
#include <gtest/gtest.h>

#include <cstring>

#include "GifPaintSupport.h"
#include "pictures/GIFException.h"
#include "pictures/gif/GIFSettings.h"
#include "pictures/gif/TGIFPainter.h"
#include "platform/forms/TPicture.h"
#include "platform/gdi/Gdi.h"
#include "platform/rtl/GlobalMemory.h"
#include "platform/rtl/Program.h"
#include "platform/rtl/Resources.h"
#include "platform/win/Win.h"
#include "support/TempDir.h"

using namespace gifpaint;

namespace {

using GifPicture = GifTest;

std::string Raise(const std::function<void()>& f) {
  try {
    f();
  } catch (const Exception& e) {
    return e.Message.c_str();
  }
  return "";
}

TEST_F(GifPicture, FilesOfEitherCaseLoadThroughThePictureRegistry) {
  testsupport::TempDir dir;
  const auto bytes = testsupport::ReadFileBytes(GifPath("animated_loop.gif"));
  const std::string content(bytes.begin(), bytes.end());
  for (const char* name : {"a.gif", "b.GIF"}) {
    SCOPED_TRACE(name);
    TPicture picture;
    picture.LoadFromFile(dir.write(name, content).c_str());
    ASSERT_NE(dynamic_cast<TGIFImage*>(picture.Graphic()), nullptr);
    EXPECT_EQ(picture.Width(), 100);
  }
  // The editor registers the class once more under its own description.
  TPicture::RegisterFileFormat<TGIFImage>("gif", "GIF   File", "TGIFImage");
  TPicture picture;
  picture.LoadFromFile(dir.write("c.Gif", content).c_str());
  EXPECT_NE(dynamic_cast<TGIFImage*>(picture.Graphic()), nullptr);
}

TEST_F(GifPicture, StartingTwiceRegistersOnceAndTheEndTakesTheClassOut) {
  testsupport::TempDir dir;
  const auto bytes = testsupport::ReadFileBytes(GifPath("static_transparent.gif"));
  const std::string path = dir.write("p.gif", std::string(bytes.begin(), bytes.end()));
  const UINT format = CF_GIF;
  pictures::Startup();
  EXPECT_EQ(CF_GIF, format);
  pictures::Shutdown();
  TPicture picture;
  EXPECT_EQ(Raise([&] { picture.LoadFromFile(path.c_str()); }), "No picture class for the extension .gif");
  pictures::Startup();
  picture.LoadFromFile(path.c_str());
  EXPECT_NE(dynamic_cast<TGIFImage*>(picture.Graphic()), nullptr);
}

TEST_F(GifPicture, ClipboardDataOfTheGifFormatLoadsTheSameFrames) {
  const auto bytes = testsupport::ReadFileBytes(GifPath("animated_loop.gif"));
  ASSERT_NE(CF_GIF, 0u);
  Driver().ClipboardPut(CF_GIF, bytes, "GIF Image");
  auto file = LoadGif(GifPath("animated_loop.gif"));
  TGIFImage pasted;
  ASSERT_TRUE(OpenClipboard(nullptr));
  pasted.LoadFromClipboardFormat(WORD(CF_GIF), nullptr, nullptr);
  CloseClipboard();
  ASSERT_EQ(pasted.Images()->Count(), 4);
  for (int i = 0; i < 4; ++i)
    EXPECT_EQ(pasted.Images()->GetImage(i)->Pixels(), file->Images()->GetImage(i)->Pixels());
  EXPECT_TRUE(TPicture::SupportsClipboardFormat(WORD(CF_GIF)));

  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 8);
  EXPECT_EQ(Raise([&] { pasted.LoadFromClipboardFormat(3, block, nullptr); }),
            "Unsupported clipboard format");
  GlobalFree(block);
  EXPECT_EQ(pasted.Images()->Count(), 4);
}

TEST_F(GifPicture, APictureOnTheClipboardComesBackTheSame) {
  auto gif = LoadGif(GifPath("animated_loop.gif"));
  WORD format = 0;
  HANDLE data = nullptr;
  HPALETTE palette = nullptr;
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  gif->SaveToClipboardFormat(format, data, palette);
  EXPECT_TRUE(format == CF_BITMAP || format == CF_DIB);  // as a bitmap gives it
  ASSERT_NE(data, nullptr);
  SetClipboardData(format, data);
  TGIFImage back;
  back.LoadFromClipboardFormat(WORD(CF_GIF), nullptr, nullptr);
  CloseClipboard();
  ASSERT_EQ(back.Images()->Count(), 4);
  for (int i = 0; i < 4; ++i)
    EXPECT_EQ(back.Images()->GetImage(i)->Pixels(), gif->Images()->GetImage(i)->Pixels());
}

TEST_F(GifPicture, AResourceOfTheProgramLoads) {
  static const auto bytes = testsupport::ReadFileBytes(GifPath("animated_noloop.gif"));
  platform::RegisterResource(RT_RCDATA, "NOLOOPGIF", bytes.data(), bytes.size());
  TGIFImage gif;
  gif.LoadFromResourceName(HInstance, "NOLOOPGIF");
  EXPECT_EQ(gif.Images()->Count(), 4);
  EXPECT_NE(Raise([&] { gif.LoadFromResourceName(HInstance, "NOSUCHGIF"); }), "");
}

TEST_F(GifPicture, DefaultsAndLimits) {
  TGIFImage gif;
  EXPECT_EQ(gif.DrawOptions(), GIFDrawOption(goAsync) | GIFDrawOption(goTransparent) |
                                   GIFDrawOption(goAnimate) | GIFDrawOption(goLoop) |
                                   GIFDrawOption(goDither) | GIFDrawOption(goAutoDither));
  EXPECT_EQ(gif.ColorReduction(), rmNetscape);
  EXPECT_EQ(gif.ReductionBits(), 8);
  EXPECT_EQ(gif.DitherMode(), TDitherMode::dmNearest);
  EXPECT_EQ(gif.Compression(), gcLZW);
  EXPECT_EQ(gif.AnimationSpeed(), 100);
  EXPECT_EQ(gif.ForceFrame(), -1);
  EXPECT_EQ(gif.DrawBackgroundColor(), clNone);
  // The screen has 32 bits: no dithering unless the screen had 8 bits or fewer.
  EXPECT_FALSE(DoAutoDither);
  EXPECT_FALSE(gif.GetDoDither());
  DoAutoDither = true;
  EXPECT_TRUE(gif.GetDoDither());
  DoAutoDither = false;

  struct Speed {
    int value, stored;
  } speeds[] = {{-5, 0}, {0, 0}, {250, 250}, {1000, 1000}, {5000, 1000}};
  for (const Speed& s : speeds) {
    gif.SetAnimationSpeed(s.value);
    EXPECT_EQ(gif.AnimationSpeed(), s.stored) << s.value;
  }
  struct Bits {
    int value;
    const char* error;
  } bits[] = {{2, "Invalid Bits Per Pixel value"}, {3, ""}, {8, ""}, {9, "Invalid Bits Per Pixel value"}};
  for (const Bits& b : bits) EXPECT_EQ(Raise([&] { gif.SetReductionBits(b.value); }), b.error) << b.value;

  auto built = BuildAnimation({{.delay = -1, .left = 2, .width = 4}}, 8, 4);
  EXPECT_EQ(Raise([&] { built->SetWidth(5); }), "Image width too small for contained frames");
  EXPECT_EQ(built->Width(), 8);
  EXPECT_EQ(Raise([&] { built->SetHeight(3); }), "Image height too small for contained frames");
  EXPECT_EQ(built->Height(), 4);
}

TEST_F(GifPicture, PaletteComesFromTheGlobalTableElseTheFirstFrame) {
  auto global = LoadGif(GifPath("static_nontransparent.gif"));
  ASSERT_GT(global->GetColorMap()->Count(), 0);
  HPALETTE palette = global->Palette();
  ASSERT_NE(palette, nullptr);
  PALETTEENTRY entry{};
  GetPaletteEntries(palette, 0, 1, &entry);
  EXPECT_EQ(RGB(entry.peRed, entry.peGreen, entry.peBlue), COLORREF(global->GetColorMap()->GetColor(0)));
  EXPECT_EQ(global->Palette(), palette);  // kept

  // Without a global table the first frame's own table gives it.
  auto local = BuildAnimation({{.delay = -1, .color = 1}});
  local->GetColorMap()->Clear();
  local->Images()->GetImage(0)->ColorMap()->Add(TColor(0x123456));
  local->Images()->GetImage(0)->ColorMap()->Add(TColor(0x654321));
  HPALETTE framePalette = local->Palette();
  ASSERT_NE(framePalette, nullptr);
  GetPaletteEntries(framePalette, 1, 1, &entry);
  EXPECT_EQ(RGB(entry.peRed, entry.peGreen, entry.peBlue), 0x654321u);
}

TEST_F(GifPicture, APictureWithoutAnyColorTableCannotBeDrawn) {
  auto gif = BuildAnimation({{.delay = -1}});
  gif->GetColorMap()->Clear();
  auto canvas = BackdropCanvas(4, 4);
  EXPECT_EQ(Raise([&] {
              canvas->Canvas()->StretchDraw(RECT{0, 0, 4, 4}, gif.get());
            }),
            "No global or local color table defined");
}

TEST_F(GifPicture, AOneFramePictureIsDrawnWithoutAThread) {
  auto gif = LoadGif(GifPath("static_transparent.gif"));
  auto canvas = BackdropCanvas(100, 100);
  canvas->Canvas()->StretchDraw(RECT{0, 0, 100, 100}, gif.get());
  EXPECT_EQ(platform::RunningThreads(), 0u);
  EXPECT_EQ(gif->DrawPainter(), nullptr);
  EXPECT_EQ(Differences(*canvas, OverBackdrop(ReadPng(GifPath("frames/static_transparent.png")))), "");
}

TEST_F(GifPicture, WithoutAnimationTheForcedFrameIsDrawn) {
  const std::string name = "animated_loop";
  auto gif = LoadGif(GifPath(name + ".gif"));
  gif->SetAnimate(false);
  gif->SetForceFrame(2);
  auto canvas = BackdropCanvas(100, 100);
  canvas->Canvas()->StretchDraw(RECT{0, 0, 100, 100}, gif.get());
  EXPECT_EQ(platform::RunningThreads(), 0u);
  // Frame 2 alone: its own pixels inside its bounds (the reference there), the backdrop around.
  const Rgba reference = ReferenceFrame(name, 2);
  const RECT bounds = gif->Images()->GetImage(2)->GetBoundsRect();
  ASSERT_NE(bounds.right - bounds.left, 100);
  EXPECT_EQ(Differences(*canvas,
                        [&](int x, int y) -> std::uint32_t {
                          const bool inside =
                              x >= bounds.left && x < bounds.right && y >= bounds.top && y < bounds.bottom;
                          return inside ? reference.At(x, y) & 0xFFFFFF : Backdrop(x, y);
                        }),
            "");
}

TEST_F(GifPicture, AnAnimationDrawnOnceShowsItsFirstFrameAndFreeingItLeavesNoThread) {
  const std::string name = "animated_transparent_loop";
  auto gif = LoadGif(GifPath(name + ".gif"));
  auto canvas = BackdropCanvas(100, 100);
  canvas->Canvas()->StretchDraw(RECT{0, 0, 100, 100}, gif.get());
  EXPECT_EQ(Differences(*canvas, OverBackdrop(ReferenceFrame(name, 0))), "");
  EXPECT_NE(gif->DrawPainter(), nullptr);
  gif.reset();
  EXPECT_TRUE(NoThreadLeft());
}

TEST_F(GifPicture, DirectDrawKeepsItsPainterForTheSameTargetAndReplacesItForAnother) {
  auto gif = LoadGif(GifPath("animated_loop.gif"));
  gif->SetDrawOptions(gif->DrawOptions() | GIFDrawOption(goDirectDraw));
  auto canvas = BackdropCanvas(200, 100);
  canvas->Canvas()->StretchDraw(RECT{0, 0, 100, 100}, gif.get());
  Settle();
  TGIFPainter* first = gif->DrawPainter();
  ASSERT_NE(first, nullptr);
  canvas->Canvas()->StretchDraw(RECT{0, 0, 100, 100}, gif.get());
  EXPECT_EQ(gif->DrawPainter(), first);
  EXPECT_EQ(gif->Painters()->LockList()->Count(), 1);
  gif->Painters()->UnlockList();
  canvas->Canvas()->StretchDraw(RECT{100, 0, 200, 100}, gif.get());
  Settle();
  ASSERT_NE(gif->DrawPainter(), nullptr);
  EXPECT_EQ(gif->DrawPainter()->Rect().left, 100);
  EXPECT_EQ(gif->Painters()->LockList()->Count(), 1);
  gif->Painters()->UnlockList();
  gif.reset();
  EXPECT_TRUE(NoThreadLeft());
}

TEST_F(GifPicture, CopyingAPictureKeepsThisPicturesHandlers) {
  auto source = LoadGif(GifPath("animated_loop.gif"));
  std::vector<std::string> sourceSaw, targetSaw;
  source->OnProgress = [&](TObject*, TProgressStage, BYTE, bool, const RECT&, const AnsiString& m) {
    sourceSaw.push_back(m.c_str());
  };
  TGIFImage target;
  target.OnProgress = [&](TObject*, TProgressStage, BYTE, bool, const RECT&, const AnsiString& m) {
    targetSaw.push_back(m.c_str());
  };
  target.OnGIFWarning = [&](TObject*, TGIFSeverity, const AnsiString& m) { targetSaw.push_back(m.c_str()); };
  target.Assign(source.get());
  ASSERT_EQ(target.Images()->Count(), 4);
  EXPECT_EQ(target.Images()->GetImage(3)->Pixels(), source->Images()->GetImage(3)->Pixels());
  ASSERT_FALSE(sourceSaw.empty());
  EXPECT_EQ(sourceSaw.front(), "Copying...");
  EXPECT_TRUE(targetSaw.empty());
  // Afterwards the copy reports through its own handlers again.
  ASSERT_TRUE(target.OnProgress);
  ASSERT_TRUE(target.OnGIFWarning);
  target.Images()->GetImage(0)->DoSetBounds(0, 0, 200, 10);
  EXPECT_FALSE(targetSaw.empty());
}

TEST_F(GifPicture, APictureEqualsOnlyItselfNotItsLoadedCopy) {
  auto a = LoadGif(GifPath("animated_loop.gif"));
  auto b = LoadGif(GifPath("animated_loop.gif"));
  EXPECT_TRUE(a->Equals(a.get()));
  EXPECT_FALSE(a->Equals(b.get()));
}

TEST_F(GifPicture, APictureGivesItsRenderedBitmap) {
  auto gif = LoadGif(GifPath("static_nontransparent.gif"));
  TBitmap bitmap;
  bitmap.Assign(gif.get());
  EXPECT_EQ(bitmap.Width(), 100);
  auto reference = ReadPng(GifPath("frames/static_nontransparent.png"));
  auto canvas = BackdropCanvas(100, 100);
  canvas->Canvas()->Draw(0, 0, &bitmap);
  EXPECT_EQ(Differences(*canvas, OverBackdrop(reference)), "");
}

}  // namespace
