// A demo form with every standard control, saved as PNG files in the build folder
// (screenshots/) for a person to look at. Its assertions check the classic look pixel by pixel
// and that the controls answer the user: typing changes the edit once per character, clicks
// check and select.
#include <filesystem>
#include <string>

#include "StdCtrlsTestSupport.h"
#include "platform/forms/TButton.h"
#include "platform/forms/TCheckBox.h"
#include "platform/forms/TComboBox.h"
#include "platform/forms/TGroupBox.h"
#include "platform/forms/TListBox.h"
#include "platform/forms/TMemo.h"
#include "platform/forms/TMenuItem.h"
#include "platform/forms/TPopupMenu.h"
#include "platform/forms/TRadioButton.h"
#include "platform/forms/TStaticText.h"

using namespace stdctrlstest;

namespace {

uint32_t Pixel(TColor color) {
  const COLORREF c = ColorToRGB(color);
  return uint32_t(GetRValue(c)) << 16 | uint32_t(GetGValue(c)) << 8 | GetBValue(c);
}

class DemoFormTest : public StdCtrlsTest {
 protected:
  static std::string ScreenshotPath(const std::string& name) {
    std::filesystem::create_directories(MMS_SCREENSHOT_DIR);
    return std::string(MMS_SCREENSHOT_DIR) + "/" + name;
  }
  // A control's point in the form's client coordinates.
  POINT InForm(TControl* c, int x, int y) {
    POINT p = c->ClientToScreen(POINT{x, y});
    return form->ScreenToClient(p);
  }
  // How many pixels of a control's area have `color`.
  static int Count(const platform::headless::CaptureImage& shot, RECT r, uint32_t color) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) n += shot.At(x, y) == color;
    return n;
  }
};

TEST_F(DemoFormTest, EveryControlShowsTheClassicLookAndAnswersTheUser) {
  form->SetBounds(40, 30, 520, 360);
  form->SetColor(clBtnFace);
  auto* caption = Make<TStaticText>(10, 12, 10, 10);
  caption->SetCaption("&Subject:");
  auto* subject = Make<TEdit>(80, 10, 200, 22);
  subject->SetTextProp(Utf8(u"Tiếng Việt ភាសាខ្មែរ"));
  caption->SetFocusControl(subject);
  auto* memo = Make<TMemo>(10, 40, 270, 90);
  memo->SetScrollBars(ssVertical);
  memo->Lines()->Add("Line one");
  memo->Lines()->Add("Line two, long enough to wrap inside the memo");
  memo->Lines()->Add(Utf8(u"ខ្មែរ and Vie\u0302\u0303t"));
  auto* ok = Make<TButton>(300, 10, 90, 25);
  ok->SetCaption("&OK");
  ok->SetDefault(true);
  auto* cancel = Make<TButton>(400, 10, 90, 25);
  cancel->SetCaption("Cancel");
  cancel->SetCancel(true);
  auto* loop = Make<TCheckBox>(300, 45, 120, 20);
  loop->SetCaption("&Loop");
  loop->SetCheckedProp(true);
  auto* gray = Make<TCheckBox>(300, 68, 120, 20);
  gray->SetCaption("Greyed");
  gray->SetAllowGrayed(true);
  gray->SetState(cbGrayed);
  auto* group = Make<TGroupBox>(300, 95, 190, 80);
  group->SetCaption("Fit");
  auto* fit = Make<TRadioButton>(10, 20, 150, 20, group);
  fit->SetCaption("&Fit to the slide");
  auto* stretch = Make<TRadioButton>(10, 45, 150, 20, group);
  stretch->SetCaption("Stretch");
  fit->SetCheckedProp(true);
  auto* readOnly = Make<TEdit>(10, 140, 270, 22);
  readOnly->SetTextProp("Read-only");
  readOnly->SetReadOnly(true);
  readOnly->SetColor(clBtnFace);
  auto* list = Make<TListBox>(10, 175, 170, 100);
  for (const char16_t* item : {u"Landscape", u"Portrait", u"Square", u"ភាសាខ្មែរ", u"Tiếng Việt"})
    list->Items()->Add(Utf8(item));
  list->SetItemIndex(1);
  auto* combo = Make<TComboBox>(190, 175, 150, 21);
  combo->SetStyle(csDropDownList);
  for (const char* item : {"Fit", "Stretch", "Centre"}) combo->Items()->Add(item);
  combo->SetItemIndex(0);
  auto* edit = Make<TComboBox>(190, 205, 150, 21);
  edit->Items()->Add("Typed");
  edit->SetTextProp("Typed text");
  Driver().RunUntilIdle();

  // The user: types into the subject, selects in the memo, clicks the other radio button.
  int changes = 0;
  subject->OnChange = [&](TObject*) { ++changes; };
  subject->SetFocus();
  subject->SetSelStart(subject->Text().Length());
  Type(u"!");
  EXPECT_EQ(changes, 1);
  memo->SetFocus();
  memo->SetSelStart(0);
  memo->SetSelLength(4);
  Driver().RunUntilIdle();

  const auto shot = Driver().Capture(form->Handle());
  Driver().SavePng(form->Handle(), ScreenshotPath("stdctrls-demo.png"));

  // The edits' insides: the window colour, and the read-only one its own colour.
  POINT inside = InForm(subject, subject->ClientWidth() - 3, subject->ClientHeight() - 3);
  EXPECT_EQ(shot.At(inside.x, inside.y), Pixel(clWindow));
  POINT grey = InForm(readOnly, readOnly->ClientWidth() - 3, 3);
  EXPECT_EQ(shot.At(grey.x, grey.y), Pixel(clBtnFace));
  // The memo's selection in the highlight colour.
  POINT sel = InForm(memo, 3, 4);
  EXPECT_GT(Count(shot, RECT{sel.x, sel.y, sel.x + 20, sel.y + 1}, Pixel(clHighlight)), 5);
  // The default button: a dark frame around the button face.
  POINT frame = InForm(ok, 0, 0), face = InForm(ok, 5, 5);
  EXPECT_EQ(shot.At(frame.x, frame.y), Pixel(clWindowFrame));
  EXPECT_EQ(shot.At(face.x, face.y), Pixel(clBtnFace));
  POINT cancelFrame = InForm(cancel, 0, 0);
  EXPECT_NE(shot.At(cancelFrame.x, cancelFrame.y), Pixel(clWindowFrame));
  // The check mark in the window-text colour inside the checked box; the greyed one in grey.
  POINT box = InForm(loop, 0, 0);
  EXPECT_GT(Count(shot, RECT{box.x, box.y, box.x + 13, box.y + 20}, Pixel(clWindowText)), 10);
  POINT grayBox = InForm(gray, 0, 0);
  EXPECT_GT(Count(shot, RECT{grayBox.x, grayBox.y, grayBox.x + 13, grayBox.y + 20}, Pixel(clGrayText)), 10);
  // The radio dot only in the checked radio button.
  POINT fitBox = InForm(fit, 0, 0), stretchBox = InForm(stretch, 0, 0);
  EXPECT_GT(Count(shot, RECT{fitBox.x, fitBox.y, fitBox.x + 13, fitBox.y + 20}, Pixel(clWindowText)), 4);
  EXPECT_EQ(Count(shot, RECT{stretchBox.x, stretchBox.y, stretchBox.x + 13, stretchBox.y + 20},
                  Pixel(clWindowText)),
            0);
  // The group box's etched frame: shadow then highlight on its left edge, below the caption.
  POINT left = InForm(group, 0, 40);
  EXPECT_EQ(shot.At(left.x, left.y), Pixel(clBtnShadow));
  EXPECT_EQ(shot.At(left.x + 1, left.y), Pixel(clBtnHighlight));
  // The list's selected item in the highlight colour, the others on the window colour.
  POINT selected = InForm(list, 3, 16 + 8);
  EXPECT_EQ(shot.At(selected.x, selected.y), Pixel(clHighlight));
  POINT plain = InForm(list, list->ClientWidth() - 20, 8);
  EXPECT_EQ(shot.At(plain.x, plain.y), Pixel(clWindow));
  // The combo box's drop-down button is a button face.
  POINT button = InForm(combo, combo->Width() - 8, combo->Height() / 2);
  EXPECT_EQ(shot.At(button.x, button.y), Pixel(clBtnFace));
  // The static text sized to its caption on the form's colour.
  POINT text = InForm(caption, caption->Width() - 1, 0);
  EXPECT_EQ(shot.At(text.x, text.y), Pixel(clBtnFace));

  // A click on the other radio button moves the dot; a click on the check box clears it.
  Driver().Advance(1000);
  Driver().Click(At(stretch, 4, 8));
  Driver().Advance(1000);
  Driver().Click(At(loop, 4, 8));
  Driver().RunUntilIdle();
  EXPECT_TRUE(stretch->Checked());
  EXPECT_FALSE(fit->Checked());
  EXPECT_FALSE(loop->Checked());
  const auto after = Driver().Capture(form->Handle());
  EXPECT_EQ(Count(after, RECT{fitBox.x, fitBox.y, fitBox.x + 13, fitBox.y + 20}, Pixel(clWindowText)), 0);
  EXPECT_GT(Count(after, RECT{stretchBox.x, stretchBox.y, stretchBox.x + 13, stretchBox.y + 20},
                  Pixel(clWindowText)),
            4);
  EXPECT_LE(Count(after, RECT{box.x, box.y, box.x + 13, box.y + 20}, Pixel(clWindowText)), 2);
  Driver().SavePng(form->Handle(), ScreenshotPath("stdctrls-demo-clicked.png"));

  // The combo box dropped down: its list is a window of its own over the form.
  int choices = 0;
  combo->OnSelect = [&](TObject*) { ++choices; };
  Driver().Advance(1000);
  Driver().Click(At(combo, combo->Width() - 8, 8));
  Driver().RunUntilIdle();
  ASSERT_TRUE(combo->DroppedDown());
  HWND popup = GetParent(combo->ListHandle());
  ASSERT_NE(popup, nullptr);
  const auto dropped = Driver().Capture(popup);
  EXPECT_GT(Count(dropped, RECT{0, 0, dropped.width, dropped.height}, Pixel(clHighlight)), 20);
  Driver().SavePng(popup, ScreenshotPath("stdctrls-demo-combo.png"));
  Key(VK_DOWN);
  Key(VK_RETURN);
  EXPECT_FALSE(combo->DroppedDown());
  EXPECT_EQ(combo->Text(), "Stretch");
  EXPECT_EQ(choices, 1);

  // The memo's popup menu, open over the form with its first item highlighted; its mnemonic
  // chooses an item.
  auto* menu = new TPopupMenu(form);
  std::vector<std::string> chosen;
  for (const char* caption : {"Cu&t", "&Copy", "&Paste", "-", "Select &all"}) {
    auto* item = new TMenuItem(menu);
    item->SetCaption(caption);
    item->OnClick = [&chosen, item](TObject*) { chosen.push_back(item->Caption().ToStd()); };
    menu->Items()->Add(item);
  }
  menu->Items()->Items(2)->SetEnabled(false);
  menu->Items()->Items(1)->SetShortCut(TextToShortCut("Ctrl+C"));
  memo->SetPopupMenu(menu);
  Driver().OnModal([&](const platform::win::ModalInfo& info) {
    EXPECT_EQ(info.kind, platform::win::ModalInfo::Kind::PopupMenu);
    return platform::win::ModalAnswer::Drive([&, popup = info.hwnd] {
      Driver().Chord("Down");
      Driver().RunUntilIdle();
      const auto open = Driver().Capture(popup);
      EXPECT_GT(Count(open, RECT{0, 0, open.width, 24}, Pixel(clHighlight)), 100);
      EXPECT_EQ(open.At(open.width / 2, open.height - 6), Pixel(clMenu));
      Driver().SavePng(popup, ScreenshotPath("stdctrls-demo-menu.png"));
      Driver().Chord("C");
    });
  });
  Driver().Advance(1000);
  const POINT at = At(memo, 40, 30);
  Driver().Press(1, at);
  Driver().Release(1, at);
  Driver().RunUntilIdle();
  EXPECT_EQ(chosen, (std::vector<std::string>{"&Copy"}));
}

}  // namespace
