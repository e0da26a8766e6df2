// What the user sees of the main window: its picture at start (screenshots/editor/main-start.png),
// its shape (the key colour outside the rounded outline is outside the window), controls that
// neither overlap nor leave the window, every text of the three languages fitting its control
// and keeping clear of the controls beside it,
// and the size unit on the skin right of the size label.
#include <gtest/gtest.h>

#include <filesystem>

#include "controls/TImButton.h"
#include "controls/TQvBackImage.h"
#include "editor/TResStringManager.h"
#include "editor/TfrmMain.h"
#include "platform/backend/HeadlessDriver.h"
#include "platform/forms/TBitmap.h"
#include "platform/forms/TCanvas.h"
#include "platform/forms/TImage.h"
#include "platform/forms/TLabel.h"
#include "platform/gdi/Gdi.h"
#include "platform/rtl/Program.h"
#include "platform/rtl/SysUtils.h"
#include "tests/editor/EditorFixture.h"

namespace {

using editortest::EditorTest;
using platform::headless::CaptureImage;
using platform::headless::Driver;

constexpr uint32_t kFuchsia = 0xFF00FF;
// The least room between a text and a control beside it.
constexpr int kTextGap = 3;

class MainWindowLook : public EditorTest {
 protected:
  void SetUp() override {
    EditorTest::SetUp();
    // The product's own language files, for the texts' widths.
    editortest::CopyProductLanguageFiles(app);
    ASSERT_TRUE(Start());
  }
  static bool InShape(const std::vector<RECT>& shape, int x, int y) {
    for (const RECT& r : shape)
      if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return true;
    return false;
  }
};

TEST_F(MainWindowLook, StartsAsTheSkinnedShapedWindowOfTheLayout) {
  TfrmMain* form = frmMain;
  EXPECT_EQ(form->ClientWidth(), 497);
  EXPECT_EQ(form->ClientHeight(), 361);
  EXPECT_EQ(form->BorderStyle(), bsNone);
  EXPECT_TRUE(form->TransparentColor());
  EXPECT_EQ(form->TransparentColorValue(), clFuchsia);
  const CaptureImage image = Driver().Capture(form->Handle());
  ASSERT_EQ(image.width, 497);
  ASSERT_EQ(image.height, 361);
  std::filesystem::create_directories(MMS_SCREENSHOT_DIR);
  EXPECT_TRUE(Driver().SavePng(form->Handle(), std::string(MMS_SCREENSHOT_DIR) + "/main-start.png"));

  // The key colour of the background lies exactly outside the window's shape.
  TBitmap* skin = dynamic_cast<TBitmap*>(form->Controls().QvBackImage2->Picture()->Graphic());
  ASSERT_NE(skin, nullptr);
  ASSERT_EQ(skin->Width(), 497);
  const std::vector<RECT> shape = Driver().Shape(form->Handle());
  ASSERT_FALSE(shape.empty());
  int outside = 0;
  for (int y = 0; y < 361; ++y) {
    for (int x = 0; x < 497; ++x) {
      const bool key = (skin->Canvas()->Pixels(x, y) & 0xFFFFFF) == 0xFF00FF;
      outside += key;
      ASSERT_EQ(InShape(shape, x, y), !key) << x << ", " << y;
    }
  }
  EXPECT_GT(outside, 0);  // the corners are rounded
  EXPECT_NE(image.At(250, 200), kFuchsia);
}

TEST_F(MainWindowLook, VisibleControlsNeitherOverlapNorLeaveTheWindow) {
  TfrmMain* form = frmMain;
  std::vector<TControl*> controls;
  for (int i = 0; i < form->ControlCount(); ++i) {
    TControl* c = form->Controls(i);
    if (!c->Visible() || c == form->Controls().QvBackImage2 || c == form->Controls().Image_Main) continue;
    controls.push_back(c);
  }
  ASSERT_GE(controls.size(), 20u);
  for (TControl* c : controls) {
    SCOPED_TRACE(c->Name().ToStd());
    EXPECT_GE(c->Left(), 0);
    EXPECT_GE(c->Top(), 0);
    EXPECT_LE(c->Left() + c->Width(), 497);
    EXPECT_LE(c->Top() + c->Height(), 361);
  }
  for (size_t i = 0; i < controls.size(); ++i) {
    for (size_t j = i + 1; j < controls.size(); ++j) {
      const TControl* a = controls[i];
      const TControl* b = controls[j];
      const bool apart = a->Left() + a->Width() <= b->Left() || b->Left() + b->Width() <= a->Left() ||
                         a->Top() + a->Height() <= b->Top() || b->Top() + b->Height() <= a->Top();
      EXPECT_TRUE(apart) << a->Name().ToStd() << " overlaps " << b->Name().ToStd();
    }
  }
}

TEST_F(MainWindowLook, EveryTextOfTheThreeLanguagesFitsItsControl) {
  TfrmMain* form = frmMain;
  struct Text {
    TControl* control;
    TFont* font;
    const char* key;
    int x;               // where the text starts: the owner-drawn button texts are drawn at (x, 0)
    bool right = false;  // a right-justified label: the text ends at the control's right edge
  };
  const Text texts[] = {
      {form->Controls().MMSTitle, form->Controls().MMSTitle->Font(), "STR_Main_Menu_Mivora", 0},
      {form->Controls().subject, form->Controls().subject->Font(), "STR_Main_Subject", 0},
      {form->Controls().CurDur, form->Controls().CurDur->Font(), "STR_Main_Cur_Dur", 0},
      {form->Controls().lbl2, form->Controls().lbl2->Font(), "STR_Main_Dur_Unit", 0},
      {form->Controls().lbl5, form->Controls().lbl5->Font(), "STR_Main_Dur_Unit", 0},
      {form->Controls().labMMSSize, form->Controls().labMMSSize->Font(), "STR_Main_MMSSize", 0, true},
      {form->Controls().length, form->Controls().length->Font(), "STR_Main_MMSFrameSize", 0, true},
      {form->Controls().Label2, form->Controls().Label2->Font(), "STR_Main_Picture", 0},
      {form->Controls().Label3, form->Controls().Label3->Font(), "STR_Main_Text", 0},
      {form->Controls().Label4, form->Controls().Label4->Font(), "STR_Main_Video", 0},
      {form->Controls().btnNewFrame, form->Controls().btnNewFrame->Font(), "STR_Main_Menu_Mivora_NewPage", 8},
      {form->Controls().btnDelFrame, form->Controls().btnDelFrame->Font(), "STR_Main_Menu_Edit_Delete", 10},
      {form->Controls().btnSend, form->Controls().btnSend->Font(), "STR_Main_Send ", 20},
      {form->Controls().btnDrafts, form->Controls().btnDrafts->Font(), "STR_Main_SaveAsDraft", 12},
  };
  // The other visible controls a text may stand beside.
  std::vector<TControl*> others;
  for (int i = 0; i < form->ControlCount(); ++i) {
    TControl* c = form->Controls(i);
    if (c->Visible() && c != form->Controls().QvBackImage2 && c != form->Controls().Image_Main)
      others.push_back(c);
  }
  TBitmap sheet;
  sheet.SetSize(8, 8);
  for (int language = 0; language < 3; ++language) {
    ResStringManager.SelectLanguageFile(language);
    for (const Text& t : texts) {
      const WideString text = ResStringManager.GetString(t.key);
      SCOPED_TRACE(std::to_string(language) + " " + t.control->Name().ToStd() + " " +
                   AnsiString(text).ToStd());
      ASSERT_FALSE(text.IsEmpty());
      sheet.Canvas()->Font()->Assign(t.font);
      RECT r{0, 0, 1000, 1000};
      DrawTextW(sheet.Canvas()->Handle(), text.c_bstr(), -1, &r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
      EXPECT_LE(t.x + r.right, t.control->Width());
      EXPECT_LE(r.bottom, t.control->Height());
      // A button's text cell fills its height, so a text drawn from its top stands in the middle.
      if (t.x > 0) {
        EXPECT_EQ(r.bottom, t.control->Height());
      }
      // Where the text stands on the window keeps clear of the controls beside it on its row, so
      // no glyph runs into (or seems to continue) a neighbour such as the spin buttons.
      const int textLeft =
          t.right ? t.control->Left() + t.control->Width() - r.right : t.control->Left() + t.x;
      const int textRight = textLeft + r.right;
      for (const TControl* c : others) {
        if (c == t.control) continue;
        const bool sameRow =
            c->Top() < t.control->Top() + t.control->Height() && t.control->Top() < c->Top() + c->Height();
        if (!sameRow) continue;
        const bool clear = c->Left() + c->Width() + kTextGap <= textLeft || textRight + kTextGap <= c->Left();
        EXPECT_TRUE(clear) << "the text, at " << textLeft << " to " << textRight << ", comes within "
                           << kTextGap << " pixels of " << c->Name().ToStd();
      }
    }
  }
}

TEST_F(MainWindowLook, TheSizeUnitOnTheSkinStandsRightOfTheSizeLabel) {
  TfrmMain* form = frmMain;
  TBitmap* skin = dynamic_cast<TBitmap*>(form->Controls().QvBackImage2->Picture()->Graphic());
  ASSERT_NE(skin, nullptr);
  const TLabel* size = form->Controls().Label_Size;
  const int labelRight = size->Left() + size->Width();
  int inkLeft = -1, inkRight = -1;
  for (int x = form->Controls().labMMSSize->Left(); x < form->Controls().length->Left(); ++x) {
    for (int y = size->Top(); y < size->Top() + size->Height(); ++y) {
      // The body is shaded from top to bottom: each row is compared with its own start.
      if (skin->Canvas()->Pixels(x, y) == skin->Canvas()->Pixels(form->Controls().labMMSSize->Left(), y))
        continue;
      if (inkLeft < 0) inkLeft = x;
      inkRight = x;
    }
  }
  ASSERT_GE(inkLeft, 0) << "no unit on the skin after the size label";
  EXPECT_GE(inkLeft, labelRight);
  EXPECT_LT(inkRight, form->Controls().length->Left());
}

}  // namespace
