// The skinned push button: which frame of its strip shows in each state, animation on the hover
// timer, owner drawing, its colour set, double clicks and window shapes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/TImButton.h"
#include "platform/backend/HeadlessDriver.h"
#include "platform/forms/PlatformStartup.h"
#include "platform/forms/TApplication.h"
#include "platform/forms/TBitmap.h"
#include "platform/forms/TForm.h"
#include "platform/forms/TReader.h"
#include "platform/forms/TWriter.h"
#include "platform/gdi/Gdi.h"
#include "platform/rtl/Exceptions.h"

namespace {

using platform::headless::Driver;

const TColor kFrameColors[4] = {clRed, clLime, clBlue, clYellow};

std::uint32_t Rgb(TColor c) {
  const COLORREF v = ColorToRGB(c);
  return (GetRValue(v) << 16) | (GetGValue(v) << 8) | GetBValue(v);
}

// A strip of `frames` frames of w x h, one colour each, stacked downwards (or across).
void Strip(TPicture* picture, int frames, int w, int h, bool across = false) {
  TBitmap b;
  b.SetPixelFormat(pf32bit);
  b.SetSize(across ? w * frames : w, across ? h : h * frames);
  for (int i = 0; i < frames; ++i) {
    b.Canvas()->Brush()->SetColor(kFrameColors[i % 4]);
    b.Canvas()->FillRect(across ? RECT{i * w, 0, (i + 1) * w, h} : RECT{0, i * h, w, (i + 1) * h});
  }
  picture->Assign(&b);
}

class ImButtonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::Startup();
    RegisterImButton();
    form = new TForm(Application);
    form->SetBounds(0, 0, 200, 120);
    button = new TImButton(form);
    button->SetParent(form);
    button->SetBounds(20, 20, 40, 23);
    button->SetLooks(ibkFullPicture);
    Strip(button->Picture(), 4, 40, 23);
    button->OnClick = [this](TObject*) { ++clicks; };
    form->Show();
    Driver().RunUntilIdle();
  }
  void TearDown() override {
    delete form;
    platform::Shutdown();
  }
  std::uint32_t Face() {
    Driver().RunUntilIdle();
    return Driver().Capture(button->Handle()).At(20, 11);
  }
  POINT Inside() { return Driver().ClientPoint(button->Handle(), 20, 11); }
  POINT Outside() { return Driver().ClientPoint(form->Handle(), 150, 100); }

  TForm* form = nullptr;
  TImButton* button = nullptr;
  int clicks = 0;
};

TEST_F(ImButtonTest, EachStateShowsItsFrameOfTheStrip) {
  EXPECT_EQ(Face(), Rgb(clRed));  // normal: frame 0 of 92 / 23 = 4
  Driver().MoveMouse(Inside());
  EXPECT_EQ(Face(), Rgb(clYellow));  // hot: frame 3
  EXPECT_TRUE(button->Hot());
  Driver().Press(0, Inside());
  EXPECT_EQ(Face(), Rgb(clBlue));  // pushed wins over hot: frame 2
  Driver().Release(0, Inside());
  EXPECT_EQ(Face(), Rgb(clYellow));
  EXPECT_EQ(clicks, 1);
  Driver().Press(0, Inside());
  button->SetEnabled(false);
  EXPECT_EQ(Face(), Rgb(clLime));  // disabled wins over pushed: frame 1
  button->SetEnabled(true);
  Driver().Release(0, Inside());

  // One frame: the whole strip is the face in every state.
  button->SetPictureCount(1);
  const std::uint32_t whole = Face();
  EXPECT_EQ(whole, Rgb(clLime));  // the middle of the squeezed strip
  Driver().MoveMouse(Outside());
  Driver().Advance(200);
  EXPECT_EQ(Face(), whole);
  button->SetEnabled(false);
  EXPECT_EQ(Face(), whole);
}

TEST_F(ImButtonTest, AShortStripFallsBackToItsFirstFrame) {
  Strip(button->Picture(), 2, 40, 23);
  button->SetEnabled(false);
  EXPECT_EQ(Face(), Rgb(clLime));
  button->SetEnabled(true);
  Driver().MoveMouse(Inside());
  EXPECT_EQ(Face(), Rgb(clRed));  // frame 3 of 2: frame 0
}

TEST_F(ImButtonTest, TheHoverTimerAnimatesAndNoticesTheMouseLeaving) {
  Strip(button->AnimatePicture(), 4, 40, 23);
  button->SetAnimatedCount(4);
  button->SetAnimated(true);
  std::vector<std::string> events;
  button->OnMouseEnter = [&](TObject*) { events.push_back("enter"); };
  button->OnMouseLeave = [&](TObject*) { events.push_back("leave"); };
  Driver().MoveMouse(Inside());
  std::vector<std::uint32_t> seen{Face()};
  for (int tick = 0; tick < 5; ++tick) {
    Driver().Advance(200);
    seen.push_back(Face());
  }
  const std::vector<std::uint32_t> expected{Rgb(clRed),    Rgb(clLime), Rgb(clBlue),
                                            Rgb(clYellow), Rgb(clRed),  Rgb(clLime)};
  EXPECT_EQ(seen, expected);
  Driver().MoveMouse(Outside());
  Driver().Advance(200);
  Driver().RunUntilIdle();
  EXPECT_FALSE(button->Hot());
  EXPECT_EQ(button->AnimationCounter(), 0);
  EXPECT_EQ(Face(), Rgb(clRed));
  ASSERT_GE(events.size(), 2u);
  EXPECT_EQ(events.front(), "enter");
  EXPECT_EQ(events.back(), "leave");
}

TEST_F(ImButtonTest, OwnerDrawingGetsTheStateAndSurvivesAFailingHandler) {
  std::vector<int> states;
  button->SetDefaultDraw(false);
  button->OnOwnerDraw = [&](TObject* sender, TCanvas* canvas, const RECT& r, int status, int& counter) {
    EXPECT_EQ(sender, button);
    EXPECT_EQ(r.right, 40);
    (void)counter;
    states.push_back(status);
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(clFuchsia);
    canvas->FillRect(r);
    if (status & ibsPushed) throw Exception("drawing failed");
  };
  EXPECT_EQ(Face(), Rgb(clFuchsia));  // the handler instead of the picture
  button->SetEnabled(false);
  Face();
  button->SetEnabled(true);
  Driver().MoveMouse(Inside());
  Driver().Press(0, Inside());
  Face();
  Driver().Release(0, Inside());
  Face();
  ASSERT_FALSE(states.empty());
  bool sawDisabled = false, sawPushedHot = false;
  for (int s : states) {
    sawDisabled |= (s & ibsDisabled) != 0;
    sawPushedHot |= (s & (ibsPushed | ibsHot)) == (ibsPushed | ibsHot);
  }
  EXPECT_TRUE(sawDisabled);
  EXPECT_TRUE(sawPushedHot);

  button->OnOwnerDraw = nullptr;  // no handler: the look is drawn even without DefaultDraw
  button->Invalidate();
  EXPECT_EQ(Face(), Rgb(clYellow));
}

TEST_F(ImButtonTest, TheColourSetAndTheLooksThatSetIt) {
  TImButtonColors* colors = button->Colors();
  EXPECT_EQ(colors->fGetIbColor(4), clDefault);
  colors->fSetIbColor(-1, clRed);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(colors->fGetIbColor(i), clDefault);
  button->SetLooks(ibkUltraFlat);
  EXPECT_EQ(colors->DefaultColor(), 0x800000);
  EXPECT_EQ(colors->PushedColor(), 0xB5B5B5);
  EXPECT_EQ(colors->HotColor(), 0xF0C8C0);
  TImButtonColors other(nullptr);
  other.Assign(colors);
  EXPECT_EQ(other.HotColor(), 0xF0C8C0);
  button->SetLooks(ibkFlat);
  EXPECT_EQ(colors->HotColor(), clDefault);
  // The ultra-flat face is filled with the state colour.
  button->Picture()->Assign(nullptr);
  button->SetLooks(ibkUltraFlat);
  EXPECT_EQ(Face(), Rgb(button->Color()));
  Driver().MoveMouse(Inside());
  EXPECT_EQ(Face(), Rgb(static_cast<TColor>(0xF0C8C0)));
}

TEST_F(ImButtonTest, ATransparentButtonShowsItsParentUnderItsFace) {
  form->SetColor(clLime);
  button->Picture()->Assign(nullptr);
  button->SetLooks(ibkFlat);  // no frame and no fill of its own while neither hot nor pushed
  button->SetTransparent(true);
  EXPECT_EQ(Face(), Rgb(clLime));
  button->SetTransparent(false);
  EXPECT_EQ(Face(), Rgb(button->Color()));
}

TEST_F(ImButtonTest, ADoubleClickIsTwoPresses) {
  Driver().DoubleClick(Inside());
  Driver().RunUntilIdle();
  EXPECT_EQ(clicks, 2);
}

TEST_F(ImButtonTest, MasksAndTheXpLookShapeTheWindow) {
  TBitmap mask;
  mask.SetPixelFormat(pf32bit);
  mask.SetSize(30, 20);
  mask.Canvas()->Brush()->SetColor(clFuchsia);
  mask.Canvas()->FillRect(RECT{0, 0, 30, 20});
  mask.Canvas()->Brush()->SetColor(clWhite);
  mask.Canvas()->FillRect(RECT{5, 5, 25, 15});
  button->MaskPicture()->Assign(&mask);
  EXPECT_EQ(button->Width(), 30);
  EXPECT_EQ(button->Height(), 20);
  HRGN shape = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(button->Handle(), shape), 0);
  EXPECT_TRUE(PtInRegion(shape, 5, 5));
  EXPECT_FALSE(PtInRegion(shape, 4, 5));
  button->MaskPicture()->Assign(nullptr);  // an empty mask: the whole window again
  EXPECT_EQ(GetWindowRgn(button->Handle(), shape), 0);

  button->SetLooks(ibkWindowsXP);
  ASSERT_NE(GetWindowRgn(button->Handle(), shape), 0);
  EXPECT_FALSE(PtInRegion(shape, 0, 0));
  EXPECT_FALSE(PtInRegion(shape, 29, 19));
  EXPECT_TRUE(PtInRegion(shape, 1, 0));
  button->SetLooks(ibkNormal);
  EXPECT_EQ(GetWindowRgn(button->Handle(), shape), 0);
  DeleteObject(shape);
}

TEST_F(ImButtonTest, MoreFramesThanTheStripHasRowsDrawAPlainFace) {
  Strip(button->Picture(), 1, 40, 23);
  button->SetPictureCount(50);  // 23 rows: every frame would be 0 rows high
  button->Invalidate();
  Driver().RunUntilIdle();
  EXPECT_NE(Face(), Rgb(kFrameColors[0]));  // no stretched sliver of the strip
  button->SetBounds(20, 20, 40, 0);
  button->SetPictureCount(0);
  Driver().RunUntilIdle();
  // A glyph strip of 4 pixels with 50 glyphs: no glyph, the caption alone.
  button->SetBounds(20, 20, 60, 23);
  button->SetLooks(ibkNormal);
  Strip(button->Picture(), 1, 4, 16, true);
  button->SetPictureCount(50);
  button->Invalidate();
  Driver().RunUntilIdle();
  const auto shot = Driver().Capture(button->Handle());
  for (int x = 4; x < 56; ++x) ASSERT_NE(shot.At(x, 11) & 0xFFFFFF, Rgb(kFrameColors[0])) << x;
}

TEST_F(ImButtonTest, TheXpLookHasItsGoldenRows) {
  button->SetLooks(ibkWindowsXP);
  button->SetBounds(20, 20, 60, 23);
  button->Picture()->Assign(nullptr);
  button->SetCaption("");
  auto* other = new TImButton(form);  // holds the focus, so the face is the plain one
  other->SetParent(form);
  other->SetBounds(100, 20, 40, 23);
  other->SetFocus();
  Driver().MoveMouse(Outside());
  Driver().RunUntilIdle();
  const auto shot = Driver().Capture(button->Handle());
  struct Row {
    int y;
    std::uint32_t rgb;
  } rows[] = {{0, 0x003C74}, {1, 0xFFFFFF}, {20, 0xE5E2DA}, {21, 0xD6D0C5}, {22, 0x003C74}};
  for (const Row& r : rows) EXPECT_EQ(shot.At(30, r.y) & 0xFFFFFF, r.rgb) << "row " << r.y;
}

TEST_F(ImButtonTest, ALayoutKeepsThePublishedPropertiesInOrderAndSkipsDefaults) {
  button->SetName("Button1");
  button->SetAnimated(true);
  button->SetSpacing(5);
  button->SetLooks(ibkWindowsXP);
  button->SetColor(clYellow);
  button->Colors()->SetHotColor(clRed);
  button->SetHotTextColor(clGreen);
  button->SetFontAlign(TalignType::alLeft);
  button->SetPictureCount(4);
  button->SetShowFullPicCaption(true);
  const std::string text = WriteComponentText(button);
  std::size_t at = 0;
  for (const char* name : {"Animated = True", "Spacing = 5", "Looks = ibkWindowsXP", "Colors.HotColor",
                           "HotTextColor", "FontAlign = alLeft", "Picture.Data", "PictureCount = 4",
                           "ShowFullPicCaption = True"}) {
    const std::size_t found = text.find(name, at);
    ASSERT_NE(found, std::string::npos) << name << " in order in\n" << text;
    at = found;
  }
  for (const char* name : {"DefaultDraw", "FocusRect", "Transparent", "DisableCapColor", "AnimatedCount"})
    EXPECT_EQ(text.find(name), std::string::npos) << name << " in\n" << text;
  TImButton back(nullptr);
  ReadComponentText(&back, text);
  EXPECT_TRUE(back.Animated());
  EXPECT_EQ(back.Spacing(), 5);
  EXPECT_EQ(back.Looks(), ibkWindowsXP);
  EXPECT_EQ(back.Color(), clYellow);
  EXPECT_EQ(back.Colors()->HotColor(), clRed);
  EXPECT_EQ(back.FontAlign(), TalignType::alLeft);
  EXPECT_EQ(back.PictureCount(), 4);
  EXPECT_EQ(back.Picture()->Height(), 4 * 23);
}

}  // namespace
