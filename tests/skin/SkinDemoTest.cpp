// The skin demo form headless: at rest, with the pointer over its controls, with a button held,
// an image selected and a thumb dragged; the gallery of drawing routines; the skinned popup menu
// in its two colour styles. Each state is saved under screenshots/skin and a few of its pixels
// are checked, so a blank or wrong picture fails.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "FormFixture.h"
#include "Screenshot.h"
#include "SkinGallery.h"
#include "TSkinDemo.h"
#include "platform/backend/HeadlessDriver.h"
#include "platform/forms/FormMessages.h"
#include "platform/forms/PlatformStartup.h"
#include "platform/forms/TApplication.h"
#include "platform/forms/TBitmap.h"
#include "platform/rtl/Program.h"

namespace {

using platform::headless::CaptureImage;
using platform::headless::Driver;
using platform::win::ModalAnswer;
using platform::win::ModalInfo;

// 0x00RRGGBB of a picture's pixel, as captures give them.
std::uint32_t PixelOf(TBitmap& b, int x, int y) {
  const COLORREF c = b.Canvas()->Pixels(x, y) & 0xFFFFFF;
  return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

using skintest::Rgb;

class SkinDemoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::Startup();
    RegisterSkinDemo();
    Application->CreateForm(form);
    strip.LoadFromResourceName(HInstance, "DEMO_STRIP");
    form->Show();
    Driver().RunUntilIdle();
  }
  void TearDown() override { platform::Shutdown(); }

  template <class T>
  T* Get(const char* name) {
    auto* c = dynamic_cast<T*>(form->FindComponent(name));
    EXPECT_NE(c, nullptr) << name;
    return c;
  }
  // A point of a control in the form's capture.
  POINT At(TControl* c, int x, int y) { return POINT{c->Left() + x, c->Top() + y}; }
  std::uint32_t Pixel(const CaptureImage& shot, TControl* c, int x, int y) {
    return shot.At(c->Left() + x, c->Top() + y) & 0xFFFFFF;
  }
  POINT Screen(TControl* c, int x, int y) {
    return Driver().ClientPoint(form->Handle(), c->Left() + x, c->Top() + y);
  }
  // Row `y` of frame `frame` (normal, disabled, pushed, hot) of the button strip.
  std::uint32_t StripPixel(int frame, int x, int y) { return PixelOf(strip, x, frame * 28 + y); }

  TSkinDemo* form = nullptr;
  TBitmap strip;
};

// The committed pictures are what the generator draws.
TEST(SkinDemoPictures, MatchTheirGenerator) {
  const std::string command = std::string("python3 ") + MMS_SOURCE_DIR + "/tools/gen-skin-demo --check";
  EXPECT_EQ(std::system(command.c_str()), 0) << command;
}

TEST_F(SkinDemoTest, AtRestEveryControlShowsItsPicture) {
  auto* bevel = Get<TImButton>("BevelButton");
  EXPECT_FALSE(bevel->Enabled());
  EXPECT_EQ(form->ActiveControl(), Get<TImButton>("NormalButton"));
  ASSERT_TRUE(skintest::SaveScreenshot(form->Handle(), "skin-demo.png"));
  const CaptureImage shot = Driver().Capture(form->Handle());
  // The picture button shows the strip's normal frame away from its caption.
  EXPECT_EQ(Pixel(shot, form->PictureButton, 10, 4), StripPixel(0, 10, 4));
  EXPECT_EQ(Pixel(shot, form->VietButton, 90, 20), StripPixel(0, 90, 20));
  // The XP look's dark outline at the middle of its top edge.
  auto* xp = Get<TImButton>("XPButton");
  EXPECT_EQ(Pixel(shot, xp, xp->Width() / 2, 0), 0x003C74u);
  // A background picture drawn at its own size, and the state images' normal disc.
  TBitmap scene;
  scene.LoadFromResourceName(HInstance, "DEMO_SCENE");
  auto* normal = Get<TQvBackImage>("NormalBack");
  EXPECT_EQ(Pixel(shot, normal, 5, 5), PixelOf(scene, 5, 5));
  EXPECT_EQ(Pixel(shot, normal, 90, 20), PixelOf(scene, 90, 20));  // the sun
  auto* image = Get<TImImage>("Image1");
  EXPECT_EQ(Pixel(shot, form->ImagePanel, image->Left() + 24, image->Top() + 24), 0x3C5AC8u);
  // The raised panel's own bevel colours.
  auto* raised = Get<TTarnelPanel>("RaisedPanel");
  EXPECT_EQ(Pixel(shot, raised, 20, 0), Rgb(clYellow));
  EXPECT_EQ(Pixel(shot, raised, 20, raised->Height() - 1), Rgb(clMaroon));
  EXPECT_EQ(form->Status->Caption(), "Ready");
}

TEST_F(SkinDemoTest, ThePointerMakesControlsHot) {
  // One pointer: the image, the link and the edit frame hear the enter the desktop would send
  // as it passes them; the pointer stays over the picture button.
  auto* image = Get<TImImage>("Image2");
  auto* edit = Get<TValidateEdit>("HexEdit");
  for (TControl* c : std::initializer_list<TControl*>{image, form->Link, edit})
    c->Perform(CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(c));
  Driver().MoveMouse(Screen(form->VietButton, 50, 14));
  Driver().RunUntilIdle();
  ASSERT_TRUE(skintest::SaveScreenshot(form->Handle(), "skin-demo-hot.png"));
  const CaptureImage shot = Driver().Capture(form->Handle());
  EXPECT_EQ(Pixel(shot, form->VietButton, 90, 20), StripPixel(3, 90, 20));  // the hot frame
  EXPECT_EQ(Pixel(shot, form->ImagePanel, image->Left() + 24, image->Top() + 24), 0xF09614u);  // the hot disc
  EXPECT_EQ(form->Link->Font()->Color(), form->Link->HotTextColor());
  EXPECT_EQ(Pixel(shot, edit, 0, 10), 0x0000FFu);  // the ultra flat frame's hot ring
}

TEST_F(SkinDemoTest, AHeldButtonASelectedImageAndADraggedThumb) {
  auto* image = Get<TImImage>("Image3");
  Driver().Click(Screen(form->ImagePanel, image->Left() + 24, image->Top() + 24));
  Driver().RunUntilIdle();
  EXPECT_EQ(form->Status->Caption(), "Selected: Image3");
  // Drag the first bar's thumb to the right.
  TSkTrackBar* bar = form->Track1;
  const int before = bar->Position();
  const RECT thumb = bar->ThumbRect();
  const int y = (thumb.top + thumb.bottom) / 2, x = (thumb.left + thumb.right) / 2;
  Driver().Press(0, Screen(bar, x, y));
  Driver().MoveMouse(Screen(bar, x + 40, y));
  Driver().Release(0, Screen(bar, x + 40, y));
  Driver().RunUntilIdle();
  EXPECT_GT(bar->Position(), before);
  EXPECT_EQ(form->Status->Caption(), "Track1: " + std::to_string(bar->Position()));
  // Hold the picture button down.
  Driver().Press(0, Screen(form->PictureButton, 10, 14));
  Driver().RunUntilIdle();
  ASSERT_TRUE(skintest::SaveScreenshot(form->Handle(), "skin-demo-pressed.png"));
  const CaptureImage shot = Driver().Capture(form->Handle());
  // The pushed frame, inside the focus rectangle and away from the caption.
  EXPECT_EQ(Pixel(shot, form->PictureButton, 10, 20), StripPixel(2, 10, 20));
  EXPECT_EQ(Pixel(shot, form->ImagePanel, image->Left() + 24, image->Top() + 24), 0xC81E28u);  // selected
  Driver().Release(0, Screen(form->PictureButton, 10, 14));
  Driver().RunUntilIdle();
  EXPECT_EQ(form->Status->Caption(), "Click: PictureButton");
}

TEST_F(SkinDemoTest, TheGalleryOfDrawingRoutines) {
  auto* gallery = new TForm(Application, 0);
  gallery->SetBorderStyle(bsNone);
  gallery->SetBounds(0, 0, kSkinGalleryWidth, kSkinGalleryHeight);
  gallery->OnPaint = [gallery](TObject*) { PaintSkinGallery(gallery->Canvas()); };
  gallery->Show();
  Driver().RunUntilIdle();
  ASSERT_TRUE(skintest::SaveScreenshot(gallery->Handle(), "skin-gallery.png"));
  const CaptureImage shot = Driver().Capture(gallery->Handle());
  // The bands of a gradient along one edge: the stop colour at the top, near navy at the bottom.
  EXPECT_EQ(shot.At(8 + 2 * 74 + 30, 8) & 0xFFFFFF, Rgb(clAqua));
  const std::uint32_t bottom = shot.At(8 + 2 * 74 + 30, 67);
  EXPECT_LT((bottom >> 8) & 0xFF, 0x20u);
  EXPECT_GT(bottom & 0xFF, 0x70u);
  EXPECT_EQ(shot.At(8 + 500 + 230, 229) & 0xFFFFFF, Rgb(clNavy));  // the full percent bar
  EXPECT_EQ(shot.At(8 + 230, 229) & 0xFFFFFF, Rgb(clWhite));       // the empty one
  EXPECT_EQ(shot.At(8 + 500 + 3, 204) & 0xFFFFFF, Rgb(clLime));    // a lit LED
  EXPECT_EQ(shot.At(8 + 3, 204) & 0xFFFFFF, Rgb(clBlack));         // none at 0 %
  EXPECT_EQ(shot.At(8, 150) & 0xFFFFFF, Rgb(clMaroon));            // the box
  delete gallery;
}

TEST_F(SkinDemoTest, TheSkinnedPopupMenuInBothColourStyles) {
  ASSERT_NE(form->MenuSkin, nullptr);
  EXPECT_GT(form->MenuSkin->ItemCount(), 0);
  CaptureImage shots[2];
  for (int style = 0; style < 2; ++style) {
    form->MenuSkin->SetGradientColorStyle(style ? gcsCustom : gcsSystem);
    form->MenuSkin->SelectionColorStart = clYellow;
    form->MenuSkin->SelectionColorStop = 0x0080FF;
    form->MenuSkin->SelectionFrameColor = clMaroon;
    Driver().OnModal([&, style](const ModalInfo& info) {
      EXPECT_EQ(info.kind, ModalInfo::Kind::PopupMenu);
      const HWND menu = info.hwnd;
      return ModalAnswer::Drive([&, menu, style] {
        Driver().KeyDown(VK_DOWN);  // the first item selected
        Driver().KeyUp(VK_DOWN);
        Driver().RunUntilIdle();
        shots[style] = Driver().Capture(menu);
        Driver().KeyDown(VK_ESCAPE);
        Driver().KeyUp(VK_ESCAPE);
      });
    });
    form->DemoMenu->Popup(100, 100);
    Driver().RunUntilIdle();
  }
  ASSERT_GT(shots[0].width, 0);
  ASSERT_EQ(shots[0].width, shots[1].width);
  // The two menus side by side on one form, for the screenshot.
  const int w = shots[0].width, h = shots[0].height;
  auto* sheet = new TForm(Application, 0);
  sheet->SetBorderStyle(bsNone);
  sheet->SetBounds(0, 0, 2 * w + 12, h + 8);
  sheet->OnPaint = [&, sheet](TObject*) {
    TCanvas* c = sheet->Canvas();
    c->Brush()->SetColor(clWhite);
    c->FillRect(RECT{0, 0, 2 * w + 12, h + 8});
    for (int i = 0; i < 2; ++i)
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
          const std::uint32_t p = shots[i].At(x, y);
          c->SetPixels(4 + i * (w + 4) + x, 4 + y,
                       static_cast<TColor>(RGB(p >> 16, (p >> 8) & 0xFF, p & 0xFF)));
        }
  };
  sheet->Show();
  Driver().RunUntilIdle();
  ASSERT_TRUE(skintest::SaveScreenshot(sheet->Handle(), "skin-menu.png"));
  // The selected first item: the system highlight in one, the custom frame in the other.
  bool customFrame = false, systemHighlight = false;
  for (int y = 0; y < 24 && y < h; ++y)
    for (int x = 0; x < w; ++x) {
      customFrame |= (shots[1].At(x, y) & 0xFFFFFF) == Rgb(clMaroon);
      systemHighlight |= (shots[0].At(x, y) & 0xFFFFFF) == Rgb(clHighlight);
    }
  EXPECT_TRUE(customFrame);
  EXPECT_TRUE(systemHighlight);
  delete sheet;
}

}  // namespace
