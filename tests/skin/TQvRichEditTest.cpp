// The bordered rich edit: its frame and insets, the flat scroll bars that mirror its own, the
// text messages it shares with the validating edit, and its events.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "FormFixture.h"
#include "Screenshot.h"
#include "controls/TQvRichEdit.h"
#include "platform/backend/HeadlessDriver.h"
#include "platform/controls/FlatScrollBars.h"
#include "platform/forms/PlatformStartup.h"
#include "platform/forms/TApplication.h"
#include "platform/forms/TForm.h"

namespace {

using platform::headless::Driver;

class QvRichEditTest : public skintest::FormFixture {
 protected:
  void SetUp() override {
    FormFixture::SetUp();
    RegisterQvRichEdit();
    MakeForm(420, 140);
    form->SetColor(clBtnFace);
    edit = Place<TQvRichEdit>(form, 10, 10, 185, 89);
    ShowForm();
  }
  HWND Inner() { return edit->InplaceRichEdit()->Handle(); }
  void LongText(TQvRichEdit* e) {
    std::string text;
    for (int i = 0; i < 40; ++i)
      text += "Line " + std::to_string(i) + " of a text longer than the edit is wide\r\n";
    e->SetText(AnsiString(text));
    Driver().RunUntilIdle();
  }

  TQvRichEdit* edit = nullptr;
};

TEST_F(QvRichEditTest, TheInnerEditSitsInsideEachFrame) {
  struct Case {
    TQvEditBorderStyle style;
    int inset;
  } cases[] = {{ebsNormal, 3}, {ebsFlat, 2}, {ebsUltraFlat, 2}, {ebsNone, 0}};
  for (const Case& c : cases) {
    edit->SetBorderStyle(c.style);
    EXPECT_EQ(edit->InplaceRichEdit()->Left(), c.inset) << c.style;
    EXPECT_EQ(edit->InplaceRichEdit()->Height(), 89 - 2 * c.inset) << c.style;
  }
}

TEST_F(QvRichEditTest, FlatBarsStartStopAndMirrorTheEditsOwn) {
  LongText(edit);
  EXPECT_EQ(platform::controls::FlatScrollBarState(Inner()), nullptr);
  edit->SetScrollBarStyle(sbsFlatScrollBar);
  const auto* bars = platform::controls::FlatScrollBarState(Inner());
  ASSERT_NE(bars, nullptr);
  EXPECT_EQ(bars->Vertical.Style, FSB_FLAT_MODE);
  EXPECT_EQ(bars->Horizontal.Style, FSB_FLAT_MODE);
  SendMessageA(Inner(), WM_VSCROLL, SB_PAGEDOWN, 0);
  SendMessageA(Inner(), WM_VSCROLL, SB_PAGEDOWN, 0);
  Driver().RunUntilIdle();
  const int position = GetScrollPos(Inner(), SB_VERT);
  EXPECT_GT(position, 0);
  EXPECT_EQ(bars->Vertical.Info.nPos, position);
  SCROLLINFO own{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
  GetScrollInfo(Inner(), SB_VERT, &own);
  EXPECT_EQ(bars->Vertical.Info.nMax, own.nMax);
  EXPECT_EQ(bars->Vertical.Info.nPage, own.nPage);

  edit->SetScrollBarStyle(sbsNormalScrollBar);  // ends them
  EXPECT_EQ(platform::controls::FlatScrollBarState(Inner()), nullptr);
  edit->SetScrollBarStyle(sbsEncartaScrollBar);  // starts again, at the current position
  bars = platform::controls::FlatScrollBarState(Inner());
  ASSERT_NE(bars, nullptr);
  EXPECT_EQ(bars->Vertical.Style, FSB_ENCARTA_MODE);
  EXPECT_EQ(bars->Vertical.Info.nPos, position);
}

TEST_F(QvRichEditTest, WithoutHiddenBarsAFlatBarIsEnabledOnceTheTextScrolls) {
  edit->InplaceRichEdit()->SetHideScrollBars(false);
  edit->SetScrollBarStyle(sbsFlatScrollBar);
  edit->Lines()->Add("short");
  edit->Invalidate();
  Driver().RunUntilIdle();
  const auto* bars = platform::controls::FlatScrollBarState(Inner());
  ASSERT_NE(bars, nullptr);
  EXPECT_EQ(bars->Vertical.Arrows, ESB_DISABLE_BOTH);
  EXPECT_TRUE(bars->Vertical.Shown);
  LongText(edit);
  edit->InplaceRichEdit()->Invalidate();
  Driver().RunUntilIdle();
  EXPECT_EQ(bars->Vertical.Arrows, ESB_ENABLE_BOTH);
}

TEST_F(QvRichEditTest, LettersPassAndTheTextMessagesAreTheValidatingEdits) {
  edit->InplaceRichEdit()->SetFocus();
  Driver().Type(u"a-1x");
  Driver().RunUntilIdle();
  EXPECT_EQ(edit->Text(), "a-1x");
  char buffer[3] = {'z', 'z', 'z'};
  EXPECT_EQ(edit->Perform(WM_GETTEXT, 0, reinterpret_cast<LPARAM>(buffer)), 0);
  EXPECT_EQ(buffer[0], 'z');  // no room: nothing written
  EXPECT_EQ(edit->Perform(WM_GETTEXT, 3, reinterpret_cast<LPARAM>(buffer)), 2);
  EXPECT_STREQ(buffer, "a-");
  EXPECT_EQ(edit->Perform(WM_GETTEXTLENGTH, 0, 0), 4);
}

TEST_F(QvRichEditTest, TheUltraFlatFrameMixesSystemColoursAsRgb) {
  edit->SetBorderStyle(ebsUltraFlat);
  edit->SetColor(clWindow);  // a system colour: mixed as the white it stands for
  Driver().MoveMouse(Driver().ClientPoint(edit->Handle(), 1, 40));
  Driver().RunUntilIdle();
  const auto shot = Driver().Capture(edit->Handle());
  EXPECT_EQ(shot.At(0, 40) & 0xFFFFFF, 0x0000FFu);
  EXPECT_EQ(shot.At(1, 40) & 0xFFFFFF, 0xCCCCFFu);
  // Two rings only: the third pixel in is the edit.
  edit->InplaceRichEdit()->SetFocus();
  Driver().MoveMouse(Driver().ClientPoint(form->Handle(), 300, 130));
  Driver().RunUntilIdle();
  const auto focused = Driver().Capture(edit->Handle());
  EXPECT_EQ(focused.At(0, 40) & 0xFFFFFF, 0x000080u);
  EXPECT_EQ(focused.At(1, 40) & 0xFFFFFF, 0xC0C0E0u);  // a quarter of the way to navy
}

TEST_F(QvRichEditTest, SelectionAndWheelEventsReachTheOuterControl) {
  LongText(edit);
  int selections = 0;
  edit->OnSelectionChange = [&](TObject* sender) {
    EXPECT_EQ(sender, edit);
    ++selections;
  };
  edit->InplaceRichEdit()->SetSelStart(5);
  EXPECT_EQ(selections, 1);
  int wheels = 0, downs = 0;
  edit->OnMouseWheel = [&](TObject*, TShiftState, int delta, TPoint, bool& handled) {
    ++wheels;
    handled = delta > 0;  // up is taken here, down goes on
  };
  edit->OnMouseWheelDown = [&](TObject*, TShiftState, TPoint, bool&) { ++downs; };
  SendMessageA(Inner(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), MAKELPARAM(20, 20));
  SendMessageA(Inner(), WM_MOUSEWHEEL, MAKEWPARAM(0, 120), MAKELPARAM(20, 20));
  EXPECT_EQ(wheels, 2);
  EXPECT_EQ(downs, 1);
}

TEST_F(QvRichEditTest, ThreeFramesWithALongText) {
  edit->SetBorderStyle(ebsNormal);
  LongText(edit);
  auto* flat = new TQvRichEdit(form);
  flat->SetParent(form);
  flat->SetBounds(205, 10, 100, 89);
  flat->SetBorderStyle(ebsFlat);
  flat->SetScrollBarStyle(sbsFlatScrollBar);
  LongText(flat);
  auto* ultra = new TQvRichEdit(form);
  ultra->SetParent(form);
  ultra->SetBounds(315, 10, 95, 89);
  ultra->SetBorderStyle(ebsUltraFlat);
  LongText(ultra);
  Driver().RunUntilIdle();
  const auto shot = Driver().Capture(form->Handle());
  EXPECT_EQ(shot.At(10, 50) & 0xFFFFFF, 0x808080u);   // the normal frame's outer line
  EXPECT_EQ(shot.At(315, 50) & 0xFFFFFF, 0x000000u);  // ultra-flat, neither hot nor focused
  EXPECT_TRUE(skintest::SaveScreenshot(form->Handle(), "qvrichedit.png"));
}

}  // namespace
