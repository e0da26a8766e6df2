// The Unicode buttons, check and radio buttons, scroll bar, group box and static text: UTF-16
// windows and captions, accelerators in any script, the group box's painting and the static
// text's size.
#include <filesystem>
#include <string>

#include "UcFixture.h"
#include "unicode/TUcButton.h"
#include "unicode/TUcCheckBox.h"
#include "unicode/TUcGroupBox.h"
#include "unicode/TUcRadioButton.h"
#include "unicode/TUcScrollBar.h"
#include "unicode/TUcStaticText.h"

namespace uctest {
namespace {

using UcButtons = UcTest;

TEST_F(UcButtons, EveryControlHasAUnicodeWindowThatKeepsAKhmerCaption) {
  CodePageScope page(1252);
  TForm* form = NewForm();
  auto* button = Child<TUcButton>(form, 10, 10, 90, 24);
  auto* check = Child<TUcCheckBox>(form, 10, 40, 90, 20);
  auto* radio = Child<TUcRadioButton>(form, 10, 70, 90, 20);
  auto* group = Child<TUcGroupBox>(form, 110, 10, 150, 80);
  auto* text = Child<TUcStaticText>(form, 110, 100, 90, 20);
  auto* bar = Child<TUcScrollBar>(form, 10, 200, 200, 17);
  // Captions set before the windows exist move into them.
  button->SetCaption(kKhmer);
  check->SetCaption(kVietnamese);
  radio->SetCaption(kKhmer);
  group->SetCaption(kVietnamese);
  text->SetCaption(kKhmer);
  bar->SetHint(kKhmer);
  for (TWinControl* c : std::initializer_list<TWinControl*>{button, check, radio, group, text, bar})
    EXPECT_TRUE(IsWindowUnicode(c->Handle())) << c->ClassName().ToStd();
  EXPECT_EQ(WindowText(button->Handle()), kKhmer);
  EXPECT_EQ(WindowText(check->Handle()), kVietnamese);
  EXPECT_EQ(radio->Caption(), WideString(kKhmer));
  EXPECT_EQ(group->Caption(), WideString(kVietnamese));
  EXPECT_EQ(WindowText(text->Handle()), kKhmer);
  EXPECT_EQ(bar->Hint(), WideString(kKhmer));
  // The 8-bit caption is the code page's form of the wide one.
  EXPECT_EQ(button->NarrowCaption(), AnsiString("?????????"));
}

// Alt with a Khmer hotkey: what each control does when it is the one named, and when it is not.
TEST_F(UcButtons, AKhmerHotkeyRunsEachControlsAccelerator) {
  TForm* form = NewForm();
  auto* button = Child<TUcButton>(form, 10, 10, 90, 24);
  auto* check = Child<TUcCheckBox>(form, 10, 40, 90, 20);
  auto* radio = Child<TUcRadioButton>(form, 10, 70, 90, 20);
  auto* group = Child<TUcGroupBox>(form, 110, 10, 150, 100);
  auto* inner = Child<TUcButton>(group, 10, 20, 80, 24);
  auto* other = Child<TUcButton>(form, 10, 120, 90, 24);
  button->SetCaption(u"\u1780&\u1781");
  check->SetCaption(u"&\u1782");
  radio->SetCaption(u"&\u1783");
  group->SetCaption(u"&\u1784");
  inner->SetCaption(u"&\u1785");
  int buttonClicks = 0, innerClicks = 0;
  button->OnClick = [&](TObject*) { ++buttonClicks; };
  inner->OnClick = [&](TObject*) { ++innerClicks; };

  other->SetFocus();
  EXPECT_EQ(form->Perform(CM_DIALOGCHAR, 0x1781, 0), 1);
  EXPECT_EQ(buttonClicks, 1);
  EXPECT_TRUE(other->Focused());  // a button clicks without taking the focus

  EXPECT_EQ(form->Perform(CM_DIALOGCHAR, 0x1782, 0), 1);
  EXPECT_TRUE(check->Focused());
  EXPECT_EQ(check->State(), cbChecked);

  EXPECT_EQ(form->Perform(CM_DIALOGCHAR, 0x1783, 0), 1);
  EXPECT_TRUE(radio->Focused());

  other->SetFocus();
  EXPECT_EQ(form->Perform(CM_DIALOGCHAR, 0x1784, 0), 1);
  EXPECT_TRUE(inner->Focused());  // the group box hands the focus to its first child
  EXPECT_EQ(innerClicks, 0);

  // Not the group's hotkey: the group asks its children, so the inner button clicks.
  EXPECT_EQ(form->Perform(CM_DIALOGCHAR, 0x1785, 0), 1);
  EXPECT_EQ(innerClicks, 1);
  EXPECT_EQ(form->Perform(CM_DIALOGCHAR, 0x1786, 0), 0);

  // A disabled button keeps its hotkey to itself.
  button->SetEnabled(false);
  EXPECT_EQ(form->Perform(CM_DIALOGCHAR, 0x1781, 0), 0);
  EXPECT_EQ(buttonClicks, 1);
}

TEST_F(UcButtons, TheStaticTextFocusesItsControlAndNeverAsksItsChildren) {
  TForm* form = NewForm();
  auto* edit = Child<TUcButton>(form, 10, 40, 100, 24);
  auto* text = Child<TUcStaticText>(form, 10, 10, 100, 20);
  auto* nested = Child<TUcButton>(text, 0, 0, 40, 16);
  text->SetCaption(u"\u1780&\u1781");
  nested->SetCaption(u"&\u1790");
  int nestedClicks = 0;
  nested->OnClick = [&](TObject*) { ++nestedClicks; };
  // Without a focus control the hotkey does nothing.
  EXPECT_EQ(form->Perform(CM_DIALOGCHAR, 0x1781, 0), 0);
  text->SetFocusControl(edit);
  EXPECT_EQ(form->Perform(CM_DIALOGCHAR, 0x1781, 0), 1);
  EXPECT_TRUE(edit->Focused());
  EXPECT_EQ(form->Perform(CM_DIALOGCHAR, 0x1790, 0), 0);
  EXPECT_EQ(nestedClicks, 0);
  text->SetShowAccelChar(false);
  form->FocusControl(nullptr);
  EXPECT_EQ(form->Perform(CM_DIALOGCHAR, 0x1781, 0), 0);
}

TEST_F(UcButtons, AnAutoSizeStaticTextTakesTheSizeOfAKhmerCaptionTheCodePageCannotHold) {
  CodePageScope page(1252);
  Driver().UseFixedMetricFont(6, 13);
  TForm* form = NewForm();
  auto* text = Child<TUcStaticText>(form, 10, 10, 20, 20);
  text->SetAutoSize(true);
  text->SetCaption(kKhmer);  // 9 units
  EXPECT_EQ(text->Width(), 9 * 6 + 4 * GetSystemMetrics(SM_CXBORDER));
  EXPECT_EQ(text->Height(), 13 + 4 * GetSystemMetrics(SM_CYBORDER));
  EXPECT_EQ(text->Left(), 10);
  text->SetCaption(u"\u1780\u1781");
  EXPECT_EQ(text->Width(), 2 * 6 + 4);
  text->SetAutoSize(false);
  text->SetCaption(kKhmer);
  EXPECT_EQ(text->Width(), 2 * 6 + 4);
}

using UcGroupBoxPaint = UcTest;

TEST_F(UcGroupBoxPaint, TheFrameRunsThroughTheMiddleOfTheCaptionLineAndTheCaptionSitsEightPixelsIn) {
  Driver().UseFixedMetricFont(6, 13);
  TForm* form = NewForm(320, 200);
  auto* titled = Child<TUcGroupBox>(form, 10, 10, 140, 80);
  auto* bare = Child<TUcGroupBox>(form, 160, 10, 140, 80);
  titled->SetCaption(kKhmer);
  form->Repaint();
  Driver().RunUntilIdle();
  const auto image = Driver().Capture(form->Handle());
  auto at = [&](TControl* c, int x, int y) { return image.At(c->Left() + x, c->Top() + y) & 0xFFFFFF; };
  const uint32_t face = at(bare, 40, 40), shadow = 0x808080, light = 0xFFFFFF;
  const int top = 13 / 2 - 1;
  for (TControl* box : {static_cast<TControl*>(titled), static_cast<TControl*>(bare)}) {
    EXPECT_EQ(at(box, 2, top), shadow);
    EXPECT_EQ(at(box, 2, top + 1), light);
    EXPECT_EQ(at(box, 0, 40), shadow);
    EXPECT_EQ(at(box, 139, 40), shadow);
    EXPECT_EQ(at(box, 3, 2), face);
  }
  // The caption covers the frame line from x = 8 on for its width; the bare box's line runs on.
  int inkTitled = 0, inkBare = 0;
  for (int y = 0; y < 13; ++y)
    for (int x = 8; x < 8 + 9 * 6; ++x) {
      inkTitled += at(titled, x, y) != face;
      inkBare += at(bare, x, y) != face;
    }
  EXPECT_GT(inkTitled, 20);
  EXPECT_EQ(inkBare, 2 * 9 * 6);  // only the two frame lines
  EXPECT_EQ(at(titled, 8 + 9 * 6 + 1, top), shadow);
  for (int x = 0; x < 8; ++x) EXPECT_EQ(at(titled, x, 2), face) << x;
  std::filesystem::create_directories(Screenshots());
  Driver().SavePng(form->Handle(), Screenshots() + "uc-groupbox.png");
}

}  // namespace
}  // namespace uctest
