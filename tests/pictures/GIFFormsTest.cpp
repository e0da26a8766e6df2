// What a user sees: GIF pictures in TImage controls of a form over a patterned panel, still,
// stretched, tiled and animated on the fake clock, saved as screenshots under the build folder
// (screenshots/pictures/gif-*.png); and a form closed while its picture plays.
#include <gtest/gtest.h>

#include "GifPaintSupport.h"
#include "imagelib/IxImage.h"
#include "imagelib/IxMemFile.h"
#include "platform/forms/TApplication.h"
#include "platform/forms/TForm.h"
#include "platform/forms/TImage.h"
#include "platform/forms/TPaintBox.h"
#include "support/TempDir.h"

using namespace gifpaint;

namespace {

using GifForms = GifTest;

// A borderless form at (0, 0) whose whole client area shows the backdrop pattern.
TForm* PatternForm(int width, int height) {
  Driver().SetScreenSize(width + 20, height + 20);
  TForm* form = nullptr;
  Application->CreateForm(form);
  form->SetBorderStyle(bsNone);
  form->SetBounds(0, 0, width, height);
  auto* panel = new TPaintBox(form);
  panel->SetBounds(0, 0, width, height);
  panel->SetParent(form);
  panel->OnPaint = [panel](TObject*) {
    TCanvas* c = panel->Canvas();
    for (int y = 0; y < panel->Height(); y += 5)
      for (int x = 0; x < panel->Width(); x += 5) {
        c->Brush()->SetColor(
            TColor(RGB(Backdrop(x, y) >> 16, (Backdrop(x, y) >> 8) & 0xFF, Backdrop(x, y) & 0xFF)));
        c->FillRect(RECT{x, y, x + 5, y + 5});
      }
  };
  return form;
}

// Images at multiples of 10 keep the backdrop's squares where the reference expects them.
TImage* AddImage(TForm* form, const std::string& file, int left, int top, int width, int height,
                 bool stretch) {
  auto* image = new TImage(form);
  image->Picture()->LoadFromFile(file.c_str());
  image->SetBounds(left, top, width, height);
  image->SetStretch(stretch);
  image->SetParent(form);
  return image;
}

// Where the capture of the image at (left, top) differs from the reference over the backdrop.
std::string CaptureDiffers(const platform::headless::CaptureImage& capture, const Rgba& reference, int left,
                           int top) {
  int wrong = 0;
  for (int y = 0; y < reference.height; ++y)
    for (int x = 0; x < reference.width; ++x)
      wrong += capture.At(left + x, top + y) != OverBackdrop(reference)(x, y);
  return wrong ? std::to_string(wrong) + " pixels differ" : "";
}

TEST_F(GifForms, StillPicturesStretchedAndTiled) {
  TForm* form = PatternForm(660, 220);
  AddImage(form, GifPath("static_nontransparent.gif"), 10, 10, 100, 100, false);
  AddImage(form, GifPath("static_transparent.gif"), 120, 10, 100, 100, false);
  AddImage(form, GifPath("static_transparent.gif"), 230, 10, 200, 200, true);
  TImage* tiled = AddImage(form, GifPath("static_transparent.gif"), 440, 10, 210, 150, true);
  auto* gif = static_cast<TGIFImage*>(tiled->Picture()->Graphic());
  gif->SetDrawOptions(gif->DrawOptions() | GIFDrawOption(goTile));
  form->Show();
  Driver().RunUntilIdle();
  EXPECT_TRUE(Driver().SavePng(form->Handle(), (ScreenshotFolder() / "gif-demo.png").string()));

  const auto capture = Driver().Capture(form->Handle());
  EXPECT_EQ(CaptureDiffers(capture, ReadPng(GifPath("frames/static_nontransparent.png")), 10, 10), "");
  const Rgba transparent = ReadPng(GifPath("frames/static_transparent.png"));
  EXPECT_EQ(CaptureDiffers(capture, transparent, 120, 10), "");
  // Stretched twice: every picture pixel covers two by two.
  int wrong = 0;
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 200; ++x) {
      const std::uint32_t p = transparent.At(x / 2, y / 2);
      const std::uint32_t want = (p >> 24) == 0 ? Backdrop(230 + x, 10 + y) : p & 0xFFFFFF;
      wrong += capture.At(230 + x, 10 + y) != want;
    }
  EXPECT_EQ(wrong, 0);
  // Tiled from the top-left corner and cut at the control's edges; nothing beyond them.
  wrong = 0;
  for (int y = 0; y < 220; ++y)
    for (int x = 430; x < 660; ++x) {
      const bool inside = x >= 440 && x < 650 && y >= 10 && y < 160;
      const std::uint32_t p = inside ? transparent.At((x - 440) % 100, (y - 10) % 100) : 0;
      const std::uint32_t want = !inside || (p >> 24) == 0 ? Backdrop(x, y) : p & 0xFFFFFF;
      wrong += capture.At(x, y) != want;
    }
  EXPECT_EQ(wrong, 0);
  EXPECT_EQ(platform::RunningThreads(), 0u);
}

TEST_F(GifForms, AnAnimationPlaysInAnImageOnTheFakeClock) {
  const std::string name = "animated_transparent_frame_restoreprev_loop";
  // The program's main window stays; the one showing the picture is closed later.
  TForm* mainForm = nullptr;
  Application->CreateForm(mainForm);
  TForm* form = PatternForm(220, 120);
  AddImage(form, GifPath(name + ".gif"), 10, 10, 100, 100, false);
  AddImage(form, GifPath("animated_transparent_loop_frames_out_of_bounds.gif"), 110, 10, 100, 100, false);
  form->Show();
  Driver().RunUntilIdle();
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    if (i > 0) Play(1200);
    Driver().RunUntilIdle();
    const auto capture = Driver().Capture(form->Handle());
    EXPECT_TRUE(Driver().SavePng(
        form->Handle(), (ScreenshotFolder() / ("gif-anim-" + std::to_string(i * 1200) + ".png")).string()));
    EXPECT_EQ(CaptureDiffers(capture, ReferenceFrame(name, i), 10, 10), "");
    EXPECT_EQ(
        CaptureDiffers(capture, ReferenceFrame("animated_transparent_loop_frames_out_of_bounds", i), 110, 10),
        "");
    // Nothing of the out-of-bounds frames lands beside the picture.
    int outside = 0;
    for (int y = 0; y < 120; ++y)
      for (int x = 0; x < 220; ++x)
        if (x < 10 || x >= 210 || y < 10 || y >= 110) outside += capture.At(x, y) != Backdrop(x, y);
    EXPECT_EQ(outside, 0);
  }
  EXPECT_GE(platform::RunningThreads(), 1u);
  // Closing the form mid-animation frees the pictures and their painters.
  bool freed = false;
  form->OnClose = [](TObject*, TCloseAction& action) { action = caFree; };
  form->OnDestroy = [&](TObject*) { freed = true; };
  form->Close();
  Driver().RunUntilIdle();
  EXPECT_TRUE(freed);
  EXPECT_TRUE(NoThreadLeft());
}

TEST_F(GifForms, AMosaicShowsWholeAfterItsPass) {
  IxImage source;
  source.Create(51, 30, 24, 0);
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 51; ++x)
      source.SetPixelColor(x, y,
                           IxRGBQuad{std::uint8_t(255 - x * 5), std::uint8_t(y * 8), std::uint8_t(x * 5), 0});
  IxMemFile out;
  out.Open();
  ASSERT_TRUE(source.Encode(&out, IXIMAGE_FORMAT_GIF));
  const auto* b = reinterpret_cast<const char*>(out.GetBuffer(false));
  testsupport::TempDir dir;
  const std::string path = dir.write("mosaic.gif", std::string(b, b + out.Size()));
  TForm* form = PatternForm(120, 80);
  AddImage(form, path, 10, 10, 102, 60, true);
  form->Show();
  Play(1000);
  Driver().RunUntilIdle();
  EXPECT_TRUE(Driver().SavePng(form->Handle(), (ScreenshotFolder() / "gif-mosaic.png").string()));
  const auto capture = Driver().Capture(form->Handle());
  int wrong = 0;
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 102; ++x) {
      const IxRGBQuad c = source.GetPixelColor(x / 2, 29 - y / 2, false);
      wrong += capture.At(10 + x, 10 + y) !=
               (std::uint32_t(c.rgbRed) << 16 | std::uint32_t(c.rgbGreen) << 8 | c.rgbBlue);
    }
  EXPECT_EQ(wrong, 0);
  EXPECT_TRUE(NoThreadLeft());
}

}  // namespace
