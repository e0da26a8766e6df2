// The skinned push button: which frame of its strip shows in each state, animation on the hover
// timer, owner drawing, its colour set, double clicks and window shapes.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "FormFixture.h"
#include "controls/TImButton.h"
#include "platform/backend/HeadlessDriver.h"
#include "platform/forms/ClassRegistry.h"
#include "platform/forms/FormMessages.h"
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
using skintest::Rgb;

const TColor kFrameColors[4] = {clRed, clLime, clBlue, clYellow};

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

class ImButtonTest : public skintest::FormFixture {
 protected:
  void SetUp() override {
    FormFixture::SetUp();
    RegisterImButton();
    MakeForm(200, 120);
    button = Place<TImButton>(form, 20, 20, 40, 23);
    button->SetLooks(ibkFullPicture);
    Strip(button->Picture(), 4, 40, 23);
    button->OnClick = [this](TObject*) { ++clicks; };
    ShowForm();
  }
  std::uint32_t Face() {
    Driver().RunUntilIdle();
    return Driver().Capture(button->Handle()).At(20, 11);
  }
  POINT Inside() { return Driver().ClientPoint(button->Handle(), 20, 11); }
  POINT Outside() { return Driver().ClientPoint(form->Handle(), 150, 100); }

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

// A transparent button draws its parent first; when that raises, the button is not left thinking
// it is still drawing, and the DC gets back its origin and its objects.
TEST_F(ImButtonTest, ADrawingThatRaisesLeavesTheButtonAbleToDrawAgain) {
  button->SetTransparent(true);
  bool fail = true;
  int parentPaints = 0;
  form->OnPaint = [&](TObject*) {
    ++parentPaints;
    if (fail) throw Exception("parent paint failed");
  };
  TBitmap surface;
  surface.SetPixelFormat(pf32bit);
  surface.SetSize(40, 23);
  HDC dc = surface.Canvas()->Handle();
  const HGDIOBJ brushBefore = GetCurrentObject(dc, OBJ_BRUSH);
  const HGDIOBJ fontBefore = GetCurrentObject(dc, OBJ_FONT);
  DRAWITEMSTRUCT item{};
  item.CtlType = ODT_BUTTON;
  item.hwndItem = button->Handle();
  item.hDC = dc;
  item.rcItem = RECT{0, 0, 40, 23};
  auto draw = [&] { button->Perform(CN_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item)); };

  EXPECT_THROW(draw(), Exception);
  EXPECT_EQ(parentPaints, 1);
  POINT origin{-1, -1};
  GetViewportOrgEx(dc, &origin);
  EXPECT_EQ(origin.x, 0);
  EXPECT_EQ(origin.y, 0);
  EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), brushBefore);
  EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), fontBefore);

  fail = false;
  surface.Canvas()->Brush()->SetColor(clBlack);
  surface.Canvas()->FillRect(RECT{0, 0, 40, 23});
  draw();
  EXPECT_EQ(parentPaints, 2);  // the parent is drawn under the button again
  // The strip's frame is all key colour: the parent's face shows through it.
  EXPECT_EQ(surface.Canvas()->Pixels(20, 11), ColorToRGB(form->Color()));
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
  for (const char* name :
       {"Animated = True", "Spacing = 5", "Looks = ibkWindowsXP", "Colors.HotColor", "HotTextColor",
        "FontAlign = alLeft", "Picture.Data", "PictureCount = 4", "ShowFullPicCaption = True"}) {
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

// The bounding box of the pixels inside the button's frame (3 pixels in) that `ink` accepts.
template <class Ink, class = decltype(std::declval<Ink>()(0u))>
RECT InkOf(const platform::headless::CaptureImage& shot, Ink ink) {
  RECT box{shot.width, shot.height, -1, -1};
  for (int y = 3; y < shot.height - 3; ++y)
    for (int x = 3; x < shot.width - 3; ++x)
      if (ink(shot.At(x, y) & 0xFFFFFF)) {
        box.left = std::min<LONG>(box.left, x);
        box.top = std::min<LONG>(box.top, y);
        box.right = std::max<LONG>(box.right, x + 1);
        box.bottom = std::max<LONG>(box.bottom, y + 1);
      }
  return box;
}
RECT InkOf(const platform::headless::CaptureImage& shot, std::uint32_t rgb) {
  return InkOf(shot, [rgb](std::uint32_t p) { return p == rgb; });
}

TEST_F(ImButtonTest, FontAlignPlacesTheCaptionOnItsSide) {
  button->Picture()->Assign(nullptr);
  button->SetLooks(ibkNormal);
  button->SetBounds(20, 20, 120, 60);
  button->SetCaption("Hg");
  button->Font()->SetColor(clRed);
  button->SetHotTextColor(clRed);
  Driver().MoveMouse(Outside());
  auto ink = [&](TalignType align) {
    button->SetFontAlign(align);
    Driver().RunUntilIdle();
    // Smoothed glyph edges mix with the face: any clearly red pixel is caption.
    return InkOf(Driver().Capture(button->Handle()), [](std::uint32_t p) {
      return (p >> 16) > 0xC0 && ((p >> 8) & 0xFF) < 0x60 && (p & 0xFF) < 0x60;
    });
  };
  const RECT centre = ink(TalignType::alCenter);
  ASSERT_GT(centre.right, centre.left) << "no caption drawn";
  const int midX = (centre.left + centre.right) / 2, midY = (centre.top + centre.bottom) / 2;
  EXPECT_NEAR(midX, 60, 3);
  EXPECT_NEAR(midY, 30, 3);
  const int w = centre.right - centre.left, h = centre.bottom - centre.top;
  // Top and bottom move the caption within the face's height.
  for (auto [align, up] : {std::pair{TalignType::alTop, true}, {TalignType::alBottom, false}}) {
    const RECT r = ink(align);
    EXPECT_EQ(r.right - r.left, w) << up;
    EXPECT_EQ(r.bottom - r.top, h) << up;
    EXPECT_EQ((r.left + r.right) / 2, midX) << up;
    if (up) {
      EXPECT_LT(r.top, centre.top - 5);
    } else {
      EXPECT_GT(r.bottom, centre.bottom + 5);
    }
  }
  // The caption's box is as wide as the caption, so left and right only show on one wider than the
  // face: each puts its own end of the text at its end of the caption's box.
  button->SetCaption(AnsiString("H") + AnsiString(std::string(60, ' ')) + AnsiString("H"));
  const RECT wideCentre = ink(TalignType::alCenter), left = ink(TalignType::alLeft),
             right = ink(TalignType::alRight);
  EXPECT_NE(left.left, right.left);
  EXPECT_NE(right.left, wideCentre.left);
}

TEST_F(ImButtonTest, ADisabledGlyphWithoutItsOwnFrameIsEmbossed) {
  // One 16 x 16 glyph, white with a black 4 x 4 square: the strip has no disabled frame.
  TBitmap glyph;
  glyph.SetPixelFormat(pf32bit);
  glyph.SetSize(16, 16);
  glyph.Canvas()->Brush()->SetColor(clWhite);
  glyph.Canvas()->FillRect(RECT{0, 0, 16, 16});
  glyph.Canvas()->Brush()->SetColor(clBlack);
  glyph.Canvas()->FillRect(RECT{6, 6, 10, 10});
  button->SetLooks(ibkNormal);
  button->SetCaption("");
  button->SetBounds(20, 20, 60, 23);
  button->Picture()->Assign(&glyph);
  button->SetPictureCount(1);
  Driver().RunUntilIdle();
  const RECT black = InkOf(Driver().Capture(button->Handle()), std::uint32_t{0});
  ASSERT_EQ(black.right - black.left, 4) << "the enabled glyph shows its square";

  button->SetEnabled(false);
  Driver().RunUntilIdle();
  const auto shot = Driver().Capture(button->Handle());
  EXPECT_EQ(InkOf(shot, std::uint32_t{0}).right, -1) << "no black left";
  // The square in the shadow colour where it was, the highlight one pixel down and right.
  const RECT shadow = InkOf(shot, Rgb(clBtnShadow));
  EXPECT_EQ(shadow.left, black.left);
  EXPECT_EQ(shadow.top, black.top);
  EXPECT_EQ(shadow.right, black.right);
  EXPECT_EQ(shadow.bottom, black.bottom);
  for (int i = 1; i <= 4; ++i) {
    EXPECT_EQ(shot.At(black.right, black.top + i) & 0xFFFFFF, Rgb(clBtnHighlight)) << i;
    EXPECT_EQ(shot.At(black.left + i, black.bottom) & 0xFFFFFF, Rgb(clBtnHighlight)) << i;
  }
}

// A form whose handlers the button's layout names.
class THandlersForm : public TForm {
 public:
  using TForm::TForm;
  void ButtonEnter(TObject*) { ++enters; }
  void ButtonLeave(TObject*) { ++leaves; }
  int enters = 0, leaves = 0;
};

TEST_F(ImButtonTest, ColourAndPointerEventsSurviveALayout) {
  RegisterProperties<THandlersForm>("THandlersForm", "TForm")
      .Handler("ButtonEnter", &THandlersForm::ButtonEnter)
      .Handler("ButtonLeave", &THandlersForm::ButtonLeave);
  auto* owner = new THandlersForm(Application);
  const char* text = R"(object Owner: THandlersForm
  Left = 0
  Top = 0
  Width = 200
  Height = 100
  object Button1: TImButton
    Left = 10
    Top = 10
    Width = 60
    Height = 23
    Looks = ibkFlat
    Color = clYellow
    Colors.HotColor = clRed
    ParentColor = False
    OnMouseEnter = ButtonEnter
    OnMouseLeave = ButtonLeave
  end
  object Button2: TImButton
    Left = 10
    Top = 40
    Width = 60
    Height = 23
  end
end
)";
  ReadComponentText(owner, text);
  auto* one = dynamic_cast<TImButton*>(owner->FindComponent("Button1"));
  auto* two = dynamic_cast<TImButton*>(owner->FindComponent("Button2"));
  ASSERT_NE(one, nullptr);
  ASSERT_NE(two, nullptr);
  EXPECT_EQ(one->Color(), clYellow);
  ASSERT_TRUE(one->OnMouseEnter);
  one->OnMouseEnter(one);
  one->OnMouseLeave(one);
  EXPECT_EQ(owner->enters, 1);
  EXPECT_EQ(owner->leaves, 1);

  const std::string a = WriteComponentText(one), b = WriteComponentText(two);
  std::size_t at = 0;
  // Properties in their published order; the events follow them.
  for (const char* name : {"Color = clYellow", "Looks = ibkFlat", "Colors.HotColor = clRed",
                           "OnMouseEnter = ButtonEnter", "OnMouseLeave = ButtonLeave"}) {
    const std::size_t found = a.find(name, at);
    ASSERT_NE(found, std::string::npos) << name << " in order in\n" << a;
    at = found;
  }
  // The second button has the constructor's colour and no parent colour: neither is written.
  for (const char* name : {"Color", "ParentColor", "Looks", "OnMouse"})
    EXPECT_EQ(b.find(std::string("\n  ") + name), std::string::npos) << name << " in\n" << b;
  delete owner;
}

}  // namespace
