// The Unicode label, edit and memo: wide captions drawn with the wide text call, wide text and
// selection in UTF-16 units, the wide password character, and the memo's wide lines.
#include <string>

#include "UcFixture.h"
#include "platform/forms/TGraphicControl.h"
#include "platform/rtl/Exceptions.h"
#include "unicode/TUcEdit.h"
#include "unicode/TUcLabel.h"
#include "unicode/TUcMemo.h"
#include "unicode/UcTextWrappers.h"

namespace uctest {
namespace {

// Draws a text as a label would, with the wide call, for comparing pixels.
class TReference : public TGraphicControl {
 public:
  explicit TReference(TComponent* owner) : TGraphicControl(owner) {}
  std::u16string text;

 protected:
  void Paint() override {
    Canvas()->Font()->Assign(Font());
    Canvas()->Brush()->SetStyle(bsClear);
    RECT r = ClientRect();
    Uc_DrawTextW(Canvas()->RequiredHandle(), text.c_str(), int(text.size()), &r, DT_EXPANDTABS | DT_LEFT);
  }
};

class UcLabel : public UcTest {
 protected:
  static int CountColor(const platform::headless::CaptureImage& image, RECT r, uint32_t color) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) n += image.At(x, y) == color;
    return n;
  }
};

TEST_F(UcLabel, AKhmerCaptionDrawsThePixelsOfTheWideTextCall) {
  CodePageScope page(1252);
  TForm* form = NewForm(300, 120);
  auto* label = Child<TUcLabel>(form, 10, 10, 200, 30);
  label->Font()->SetName("Khmer OS");
  label->Font()->SetSize(14);
  label->SetCaption(kKhmer);
  auto* reference = Child<TReference>(form, 10, 60, 200, 30);
  reference->Font()->Assign(label->Font());
  reference->text = kKhmer;
  form->Repaint();
  Driver().RunUntilIdle();
  const auto image = Driver().Capture(form->Handle());
  int differing = 0, inked = 0;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 200; ++x) {
      differing += image.At(10 + x, 10 + y) != image.At(10 + x, 60 + y);
      inked += image.At(10 + x, 10 + y) != image.At(5, 5);
    }
  EXPECT_EQ(differing, 0);
  EXPECT_GT(inked, 20);
}

TEST_F(UcLabel, AnEmptyAutoSizeLabelIsOneLineHighAndADisabledOneIsEmbossed) {
  Driver().UseFixedMetricFont(6, 13);
  TForm* form = NewForm(300, 120);
  auto* label = Child<TUcLabel>(form, 10, 10, 100, 40);
  label->SetAutoSize(true);
  label->SetCaption(u"ក");
  label->SetCaption(u"");
  EXPECT_EQ(label->Height(), 13);
  label->SetCaption(u"\u1780\u1781");
  EXPECT_EQ(label->Width(), 12);
  label->SetEnabled(false);
  form->Repaint();
  Driver().RunUntilIdle();
  const auto image = Driver().Capture(form->Handle());
  const RECT r{10, 10, 10 + 14, 10 + 15};
  EXPECT_GT(CountColor(image, r, 0xFFFFFF), 0);  // the highlight copy
  EXPECT_GT(CountColor(image, r, ColorToRGB(clBtnShadow) & 0xFFFFFF ? 0x808080 : 0), 0);  // the shadow text
  Driver().UseFixedMetricFont(0, 0);
}

TEST_F(UcLabel, AltWithAKhmerHotkeyFocusesTheLabelsControl) {
  TForm* form = NewForm();
  auto* edit = Child<TUcEdit>(form, 10, 40, 100, 24);
  auto* other = Child<TUcEdit>(form, 10, 70, 100, 24);
  auto* label = Child<TUcLabel>(form, 10, 10, 100, 20);
  label->SetCaption(u"\u1780&\u1781");
  label->SetFocusControl(edit);
  other->SetFocus();
  EXPECT_EQ(form->Perform(CM_DIALOGCHAR, 0x1781, 0), 1);
  EXPECT_TRUE(edit->Focused());
  other->SetFocus();
  EXPECT_EQ(form->Perform(CM_DIALOGCHAR, 0x1782, 0), 0);
  EXPECT_TRUE(other->Focused());
}

using UcEditMemo = UcTest;

TEST_F(UcEditMemo, WideTextsAndSelectionsInUtf16Units) {
  // Under UTF-8 the form library's 8-bit selection counts three bytes for a Khmer letter and
  // four for a pair; the wide one counts units under every code page.
  for (UINT codePage : {1252u, 65001u}) {
    SCOPED_TRACE(codePage);
    CodePageScope page(codePage);
    TForm* form = NewForm();
    auto* edit = Child<TUcEdit>(form, 10, 10, 200, 24);
    auto* memo = Child<TUcMemo>(form, 10, 40, 200, 100);
    for (const char16_t* text : {kKhmer, kVietnamese}) {
      edit->SetText(text);
      memo->SetText(text);
      EXPECT_EQ(edit->Text(), WideString(text));
      EXPECT_EQ(memo->Text(), WideString(text));
    }
    for (TCustomEdit* control : {static_cast<TCustomEdit*>(edit), static_cast<TCustomEdit*>(memo)}) {
      auto* ucEdit = dynamic_cast<TUcEdit*>(control);
      auto* ucMemo = dynamic_cast<TUcMemo*>(control);
      auto setText = [&](const char16_t* t) { ucEdit ? ucEdit->SetText(t) : ucMemo->SetText(t); };
      auto text = [&] { return ucEdit ? ucEdit->Text() : ucMemo->Text(); };
      auto selText = [&] { return ucEdit ? ucEdit->GetSelText() : ucMemo->GetSelText(); };
      setText(u"\u1780a\U0001F600b\u1780");  // a pair counts two units
      control->SetSelStart(2);
      control->SetSelLength(2);
      EXPECT_EQ(control->SelStart(), 2);
      EXPECT_EQ(control->SelLength(), 2);
      EXPECT_EQ(selText(), WideString(u"\U0001F600"));
      ucEdit ? ucEdit->SetSelText(u"\u1781") : ucMemo->SetSelText(u"\u1781");
      EXPECT_EQ(text(), WideString(u"\u1780a\u1781b\u1780"));
      EXPECT_EQ(control->SelStart(), 3);
      EXPECT_EQ(control->SelLength(), 0);
      control->SetSelStart(text().Length());
      EXPECT_EQ(control->SelStart(), 5);
    }
  }
}

TEST_F(UcEditMemo, EachRealChangeGivesOneOnChange) {
  TForm* form = NewForm();
  auto* edit = Child<TUcEdit>(form, 10, 10, 200, 24);
  int changes = 0;
  edit->OnChange = [&](TObject*) { ++changes; };
  edit->SetText(kKhmer);
  edit->SetText(kKhmer);
  EXPECT_EQ(changes, 1);
  edit->SetText(kVietnamese);
  EXPECT_EQ(changes, 2);
}

TEST_F(UcEditMemo, AWidePasswordCharacterIsSentWideOnTheSameWindow) {
  CodePageScope page(1252);
  TForm* form = NewForm();
  auto* edit = Child<TUcEdit>(form, 10, 10, 200, 24);
  HWND window = edit->Handle();
  edit->SetPasswordChar(u'\u25CF');
  EXPECT_EQ(edit->Handle(), window);  // no second window
  EXPECT_EQ(SendMessageW(window, EM_GETPASSWORDCHAR, 0, 0), 0x25CF);
  EXPECT_EQ(edit->TCustomEdit::PasswordChar(), '*');
  EXPECT_EQ(edit->PasswordChar(), u'\u25CF');
  edit->SetPasswordChar(u'#');
  EXPECT_EQ(edit->TCustomEdit::PasswordChar(), '#');
  edit->TCustomEdit::SetPasswordChar('$');  // 8-bit code wins
  EXPECT_EQ(edit->PasswordChar(), u'$');
  // Made later, the window takes the wide character too.
  edit->SetPasswordChar(u'\u25CF');
  edit->RecreateWnd();
  EXPECT_EQ(SendMessageW(edit->Handle(), EM_GETPASSWORDCHAR, 0, 0), 0x25CF);
}

TEST_F(UcEditMemo, LinesAreStoredWithCrLfAndInsertedUpToTheCount) {
  TForm* form = NewForm();
  auto* memo = Child<TUcMemo>(form, 10, 10, 200, 100);
  memo->Lines()->SetText(u"a\nb\n\u1780");
  EXPECT_EQ(memo->Text(), WideString(u"a\r\nb\r\n\u1780"));
  EXPECT_EQ(memo->Lines()->Count(), 3);
  EXPECT_EQ(memo->Lines()->Strings(2), WideString(u"\u1780"));

  struct Case {
    const char16_t* start;
    int index;
    const char16_t* result;  // null: an error
  };
  const Case cases[] = {{u"abc", 1, u"abc\r\nx"}, {u"abc\r\n", 1, u"abc\r\nx\r\n"},
                        {u"", 0, u"x\r\n"},       {u"abc", -1, u"abc"},
                        {u"abc", 2, nullptr},     {u"a\r\nb", 1, u"a\r\nx\r\nb"}};
  for (const Case& c : cases) {
    memo->SetText(c.start);
    if (!c.result) {
      EXPECT_THROW(memo->Lines()->Insert(c.index, u"x"), EStringListError);
      EXPECT_EQ(memo->Text(), WideString(c.start));
      continue;
    }
    memo->Lines()->Insert(c.index, u"x");
    EXPECT_EQ(memo->Text(), WideString(c.result)) << int(&c - cases);
  }
}

// A memo standing in for a rich edit: its window answers EM_EXGETSEL from its selection, `shift`
// units off when a test wants the caret misplaced.
struct RichEditStandIn {
  TUcMemo* memo = nullptr;
  TWndMethodValue saved;
  int shift = 0;
  void Proc(TMessage& m) {
    if (m.Msg != EM_EXGETSEL) {
      saved(m);
      return;
    }
    DWORD start = 0, end = 0;
    SendMessageW(memo->Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    auto* range = reinterpret_cast<LONG*>(m.LParam);
    range[0] = LONG(start) + shift;
    range[1] = LONG(end) + shift;
    m.Result = 0;
  }
};

TEST_F(UcEditMemo, RichEditModeInsertsTheListsLineBreaksAndChecksTheCaret) {
  TForm* form = NewForm();
  RichEditStandIn rich;
  rich.memo = Child<TUcMemo>(form, 10, 10, 200, 100);
  rich.saved = rich.memo->WindowProc;
  rich.memo->WindowProc = TWndMethodValue::Of<RichEditStandIn, &RichEditStandIn::Proc>(&rich);
  auto* lines = static_cast<TUcMemoStrings*>(rich.memo->Lines());
  lines->RichEditMode = true;
  struct Case {
    TUcTextLineBreakStyle style;
    int index;
    int shift;
    const char16_t* result;  // null: the insertion error
  };
  const Case cases[] = {
      {tlbsLF, 1, 0, u"abc\nx"},     {tlbsLF, 0, 0, u"x\nabc"},
      {tlbsCR, 1, 0, u"abc\rx"},     {tlbsLF, 1, 1, nullptr},  // the caret is not after the inserted line
      {tlbsCRLF, 1, 1, u"abc\r\nx"},                           // CR LF lines are not checked
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(int(&c - cases));
    lines->SetLineBreakStyle(c.style);
    rich.memo->SetText(u"abc");
    rich.shift = c.shift;
    if (!c.result) {
      try {
        lines->Insert(c.index, u"x");
        ADD_FAILURE() << "no error";
      } catch (EOutOfResources& e) {
        EXPECT_EQ(e.Message, AnsiString("RichEdit line insertion error"));
      }
      continue;
    }
    lines->Insert(c.index, u"x");
    EXPECT_EQ(rich.memo->Text(), WideString(c.result));
  }
  rich.memo->WindowProc = rich.saved;
}

TEST_F(UcEditMemo, ALineTooLongForTheWindowIsAnError) {
  TForm* form = NewForm();
  auto* memo = Child<TUcMemo>(form, 10, 10, 200, 100);
  memo->SetWordWrap(false);
  memo->SetText(WideString(std::u16string(65536, u'k')));
  EXPECT_THROW(memo->Lines()->Strings(0), EOutOfResources);
  memo->SetText(WideString(std::u16string(65535, u'k')));
  EXPECT_EQ(memo->Lines()->Strings(0).Length(), 65535);
}

TEST_F(UcEditMemo, AMemoTextSetBeforeItsWindowShowsInFull) {
  TForm* form = NewForm();
  auto* memo = new TUcMemo(form);
  memo->SetBounds(10, 10, 200, 100);
  memo->SetText(std::u16string(kKhmer) + u"\r\n" + kVietnamese);
  memo->SetParent(form);
  EXPECT_EQ(WindowText(memo->Handle()), std::u16string(kKhmer) + u"\r\n" + kVietnamese);
  EXPECT_EQ(memo->Lines()->Strings(1), WideString(kVietnamese));
}

}  // namespace
}  // namespace uctest
