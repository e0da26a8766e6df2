// The form library's edit and memo over the system edit: typing Latin, Vietnamese with
// combining marks and Khmer; the caret moving by whole clusters; selection, clipboard and undo;
// exactly one OnChange per change (typed, pasted, set; windowed or not) and a handler that sets
// the text again running twice, not forever; the memo's line list and its count rule; the
// properties the window fixes at creation; edits read from a layout.
#include <string>
#include <vector>

#include "StdCtrlsTestSupport.h"
#include "platform/forms/ClassRegistry.h"
#include "platform/forms/TMemo.h"
#include "platform/forms/TRichEdit.h"
#include "platform/rtl/Exceptions.h"

using namespace stdctrlstest;

namespace {

class EditsTest : public StdCtrlsTest {
 protected:
  template <class C>
  C* Edit(int changesFrom = 0) {
    C* e = Make<C>(10, 10, 240, 80);
    e->OnChange = [this](TObject*) { ++changes; };
    e->SetFocus();
    Driver().RunUntilIdle();
    changes = changesFrom;
    return e;
  }
  int changes = 0;
};

class TSheetForm : public TForm {
 public:
  explicit TSheetForm(TComponent* owner) : TForm(owner) {}
};

// Code points: a surrogate pair is one character, inserted at once.
int CodePoints(const std::u16string& s) {
  int n = 0;
  for (char16_t u : s) n += !(u >= 0xDC00 && u <= 0xDFFF);
  return n;
}

TEST_F(EditsTest, TypingAnyScriptGivesTheTextAndOneChangePerCharacter) {
  const std::u16string cases[] = {u"Hello", u"Tiếng Việt", u"Vie\u0302\u0303t", u"ភាសាខ្មែរ", u"a\U0001F600b"};
  for (const std::u16string& typed : cases) {
    SCOPED_TRACE(Utf8(typed));
    for (bool memo : {false, true}) {
      TCustomEdit* e = memo ? static_cast<TCustomEdit*>(Edit<TMemo>()) : Edit<TEdit>();
      Type(typed);
      EXPECT_EQ(e->Text(), Utf8(typed));
      EXPECT_EQ(changes, CodePoints(typed));
      EXPECT_EQ(e->SelStart(), e->Text().Length());
      EXPECT_TRUE(e->Modified());
      delete e;
    }
  }
}

TEST_F(EditsTest, TheCaretMovesOverWholeKhmerAndVietnameseClusters) {
  TEdit* e = Edit<TEdit>();
  // "ខ្មែ" is one cluster of four code points (12 bytes), "រ" another; "ệ" written as e with two
  // combining marks is one cluster of five bytes.
  e->SetTextProp(Utf8(u"ខ្មែរe\u0323\u0302"));
  e->SetSelStart(0);
  Key(VK_RIGHT);
  EXPECT_EQ(e->SelStart(), 12);
  Key(VK_RIGHT);
  EXPECT_EQ(e->SelStart(), 15);
  Key(VK_RIGHT, platform::headless::kShift);
  EXPECT_EQ(e->SelLength(), 5);
  EXPECT_EQ(e->SelText(), Utf8(u"e\u0323\u0302"));
  Key(VK_LEFT);
  Key(VK_LEFT);
  EXPECT_EQ(e->SelStart(), 12);  // the selection collapses to its start, then one cluster back
  Key(VK_HOME);
  // Delete takes the whole cluster; Backspace one code point.
  Key(VK_DELETE);
  EXPECT_EQ(e->Text(), Utf8(u"រe\u0323\u0302"));
  Key(VK_END);
  Key(VK_BACK);
  EXPECT_EQ(e->Text(), Utf8(u"រe\u0323"));
}

TEST_F(EditsTest, SelectCutPasteAndUndoEachChangeOnce) {
  for (bool memo : {false, true}) {
    SCOPED_TRACE(memo ? "memo" : "edit");
    TCustomEdit* e = memo ? static_cast<TCustomEdit*>(Edit<TMemo>()) : Edit<TEdit>();
    e->SetTextProp(Utf8(u"Tiếng Việt"));
    changes = 0;
    e->SetSelStart(0);
    e->SetSelLength(static_cast<int>(Utf8(u"Tiếng").size()));
    EXPECT_EQ(e->SelText(), Utf8(u"Tiếng"));
    char buffer[4];
    EXPECT_EQ(e->GetSelTextBuf(buffer, sizeof buffer), 3);
    EXPECT_STREQ(buffer, "Ti\xE1");  // bytes, as many as fit
    e->CutToClipboard();
    EXPECT_EQ(e->Text(), Utf8(u" Việt"));
    EXPECT_EQ(changes, 1);
    e->SetSelStart(e->Text().Length());
    e->PasteFromClipboard();
    EXPECT_EQ(e->Text(), Utf8(u" ViệtTiếng"));
    EXPECT_EQ(changes, 2);
    EXPECT_TRUE(e->CanUndo());
    e->Undo();
    EXPECT_EQ(e->Text(), Utf8(u" Việt"));
    EXPECT_EQ(changes, 3);
    e->SelectAll();
    e->ClearSelection();
    EXPECT_EQ(e->Text(), "");
    EXPECT_EQ(changes, 4);
    // The keyboard's clipboard chords go the same way.
    Type(u"abc");
    e->SelectAll();
    Driver().Chord("Ctrl+C");
    Driver().Chord("End");
    Driver().Chord("Ctrl+V");
    Driver().RunUntilIdle();
    EXPECT_EQ(e->Text(), "abcabc");
    EXPECT_EQ(changes, 8);
    delete e;
  }
}

TEST_F(EditsTest, SettingTheTextChangesOnceAndAHandlerThatSetsItAgainRunsTwice) {
  // Windowed single-line, windowed memo and an edit without a window.
  for (int kind = 0; kind < 3; ++kind) {
    SCOPED_TRACE(kind);
    TCustomEdit* e = kind == 1 ? static_cast<TCustomEdit*>(new TMemo(form)) : new TEdit(form);
    if (kind < 2) {
      e->SetParent(form);
      e->HandleNeeded();
    }
    int runs = 0;
    e->OnChange = [&](TObject* sender) {
      EXPECT_EQ(sender, e);
      ++runs;
      e->SetTextProp("upper");  // the second run finds the text already so and stops
    };
    e->SetTextProp("lower");
    EXPECT_EQ(runs, 2);
    EXPECT_EQ(e->Text(), "upper");
    runs = 0;
    e->SetTextProp("upper");  // unchanged: nothing happens
    EXPECT_EQ(runs, 0);
    e->OnChange = [&](TObject*) { ++runs; };
    e->Clear();
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(e->HandleAllocated(), kind < 2);
    delete e;
  }
}

TEST_F(EditsTest, MemoLinesCountHardLinesWithoutAnEmptyLastOne) {
  struct Case {
    const char* text;
    int count;
    std::vector<std::string> lines;
  } cases[] = {{"", 0, {}},
               {"a", 1, {"a"}},
               {"a\r\n", 1, {"a"}},
               {"a\r\nb", 2, {"a", "b"}},
               {"\r\n\r\n", 2, {"", ""}},
               {"one\ntwo", 1, {"one\ntwo"}}};  // a bare LF is no line break of the window
  for (bool windowed : {true, false}) {
    auto* memo = new TMemo(form);
    if (windowed) {
      memo->SetParent(form);
      memo->SetBounds(10, 10, 60, 80);  // narrow: wrapping must not change the count
      memo->HandleNeeded();
    }
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(windowed ? "window " : "no window ") + c.text);
      memo->SetTextProp(c.text);
      ASSERT_EQ(memo->Lines()->Count(), c.count);
      for (int i = 0; i < c.count; ++i)
        EXPECT_EQ(memo->Lines()->Strings(i), c.lines[static_cast<std::size_t>(i)]);
      EXPECT_EQ(memo->Lines()->Text(), c.text);  // as it is, nothing added
    }
    memo->SetTextProp("a long first line that wraps in a narrow memo");
    EXPECT_EQ(memo->Lines()->Count(), 1);
    EXPECT_EQ(memo->HandleAllocated(), windowed);
    delete memo;
  }
}

TEST_F(EditsTest, MemoLinesInsertDeleteAndPutChangeTheTextOnceEach) {
  for (bool windowed : {true, false}) {
    SCOPED_TRACE(windowed ? "window" : "no window");
    auto* memo = new TMemo(form);
    if (windowed) {
      memo->SetParent(form);
      memo->HandleNeeded();
    }
    int changes = 0;
    memo->OnChange = [&](TObject*) { ++changes; };
    TStrings* lines = memo->Lines();
    lines->Add("one");
    EXPECT_EQ(memo->Text(), "one\r\n");
    lines->Add("three");
    lines->Insert(1, "two");
    EXPECT_EQ(memo->Text(), "one\r\ntwo\r\nthree\r\n");
    EXPECT_EQ(changes, 3);
    EXPECT_THROW(lines->Insert(4, "five"), EStringListError);
    EXPECT_THROW(lines->Insert(-1, "zero"), EStringListError);
    lines->SetStrings(2, "3");
    lines->Delete(0);
    EXPECT_EQ(memo->Text(), "two\r\n3\r\n");
    EXPECT_EQ(changes, 5);
    // After a last line with text, Add starts a new line.
    memo->SetTextProp("x");
    lines->Add("y");
    EXPECT_EQ(memo->Text(), "x\r\ny");
    // Text written with any line breaks is stored with CR LF.
    lines->SetText("a\nb\rc\r\nd");
    EXPECT_EQ(memo->Text(), "a\r\nb\r\nc\r\nd");
    EXPECT_EQ(lines->Count(), 4);
    changes = 0;
    lines->Clear();
    EXPECT_EQ(lines->Count(), 0);
    EXPECT_EQ(changes, 1);
    delete memo;
  }
}

TEST_F(EditsTest, PropertiesFixedAtCreationKeepTheTextWhenTheWindowIsMadeAgain) {
  TEdit* e = Edit<TEdit>();
  e->SetTextProp("secret");
  e->SetModified(true);
  HWND before = e->Handle();
  e->SetPasswordChar('*');
  EXPECT_NE(e->Handle(), before);
  EXPECT_EQ(e->Text(), "secret");
  EXPECT_TRUE(e->Modified());
  EXPECT_EQ(SendMessageA(e->Handle(), EM_GETPASSWORDCHAR, 0, 0), '*');
  // A password edit gives nothing to the clipboard.
  e->SelectAll();
  e->CopyToClipboard();
  EXPECT_NE(e->Handle(), nullptr);
  e->SetPasswordChar(0);
  e->SetBorderStyle(bsNone);
  EXPECT_FALSE(GetWindowLongA(e->Handle(), GWL_STYLE) & WS_BORDER);
  EXPECT_EQ(e->Text(), "secret");

  // The limit holds typing, not the text set by code.
  e->SetMaxLength(8);
  e->SetFocus();
  e->SetSelStart(6);
  changes = 0;
  Type(u"xyz");
  EXPECT_EQ(e->Text(), "secretxy");
  EXPECT_EQ(changes, 2);
  e->SetTextProp("longer than eight");
  EXPECT_EQ(e->Text(), "longer than eight");

  // Read-only: no change by typing or pasting.
  e->SetReadOnly(true);
  changes = 0;
  Type(u"q");
  e->PasteFromClipboard();
  EXPECT_EQ(e->Text(), "longer than eight");
  EXPECT_EQ(changes, 0);
}

TEST_F(EditsTest, EnteringAnEditByKeyboardSelectsItsTextButAClickPlacesTheCaret) {
  auto* first = Make<TEdit>(10, 10, 150, 22);
  auto* second = Make<TEdit>(10, 40, 150, 22);
  auto* memo = Make<TMemo>(10, 70, 150, 60);
  for (TCustomEdit* e :
       {static_cast<TCustomEdit*>(first), static_cast<TCustomEdit*>(second), static_cast<TCustomEdit*>(memo)})
    e->SetTextProp("some text");
  second->SetFocus();
  EXPECT_EQ(second->SelLength(), 9);
  memo->SetFocus();
  EXPECT_EQ(memo->SelLength(), 0);
  Driver().Advance(1000);
  Driver().Click(At(first, 20, 8));
  Driver().RunUntilIdle();
  EXPECT_TRUE(first->Focused());
  EXPECT_EQ(first->SelLength(), 0);
  second->SetAutoSelect(false);
  second->SetSelStart(2);
  second->SetFocus();
  EXPECT_EQ(second->SelLength(), 0);
}

TEST_F(EditsTest, AMemoWantsReturnsAndTabsOnlyWhenAsked) {
  auto* memo = Edit<TMemo>();
  Type(u"a\rb\tc");
  EXPECT_EQ(memo->Text(), "a\r\nbc");
  memo->SetWantTabs(true);
  memo->SetWantReturns(false);
  Type(u"\td\re");
  EXPECT_EQ(memo->Text(), "a\r\nbc\tde");
  const LRESULT code = SendMessageA(memo->Handle(), WM_GETDLGCODE, 0, 0);
  EXPECT_TRUE(code & DLGC_WANTTAB);
  EXPECT_FALSE(code & DLGC_WANTALLKEYS);
  // Scroll bars and wrapping are the window's style.
  memo->SetScrollBars(ssVertical);
  memo->SetWordWrap(false);
  const DWORD style = static_cast<DWORD>(GetWindowLongA(memo->Handle(), GWL_STYLE));
  EXPECT_TRUE(style & WS_VSCROLL);
  EXPECT_TRUE(style & ES_AUTOHSCROLL);
  EXPECT_EQ(memo->Text(), "a\r\nbc\tde");
}

TEST_F(EditsTest, ARichEditHoldsPlainTextLinesLikeAMemo) {
  auto* rich = Edit<TRichEdit>();
  rich->Lines()->Add("Tiếng Việt");
  rich->Lines()->Add("ខ្មែរ");
  EXPECT_EQ(rich->Lines()->Count(), 2);
  EXPECT_EQ(rich->Text(), "Tiếng Việt\r\nខ្មែរ\r\n");
  EXPECT_EQ(changes, 2);
  rich->SetWantReturns(false);
  rich->SetSelStart(0);
  Type(u"\r>");
  EXPECT_EQ(rich->Lines()->Strings(0), ">Tiếng Việt");
  rich->SetHideScrollBars(false);
  EXPECT_EQ(rich->Lines()->Count(), 2);
  EXPECT_FALSE(rich->PlainText());
}

TEST_F(EditsTest, ARichEditTellsEachChangeOfTheSelectionOnce) {
  auto* rich = Edit<TRichEdit>();
  int changed = 0;
  rich->OnSelectionChange = [&](TObject* sender) {
    EXPECT_EQ(sender, rich);
    ++changed;
  };
  rich->Lines()->Add("abcdef");
  const int afterText = changed;
  rich->SetFocus();
  rich->SetSelStart(2);
  EXPECT_EQ(changed, afterText + 1);
  rich->SetSelStart(2);  // the same caret: no change
  EXPECT_EQ(changed, afterText + 1);
  rich->SetSelLength(3);
  EXPECT_EQ(changed, afterText + 2);
  Type(u"x");  // the selection is replaced: one change, the caret after the x
  EXPECT_EQ(changed, afterText + 3);
  EXPECT_EQ(rich->SelStart(), 3);
  EXPECT_EQ(rich->SelLength(), 0);
}

TEST_F(EditsTest, EditsAndMemosComeFromALayout) {
  static const char* layout = R"(object Sheet: TSheetForm
  Width = 300
  Height = 200
  object Title: TEdit
    Left = 8
    Top = 8
    Width = 120
    Height = 22
    MaxLength = 4
    Text = 'Tiếng'
    PasswordChar = '#'
  end
  object Content: TMemo
    Left = 8
    Top = 40
    Width = 200
    Height = 100
    ScrollBars = ssVertical
    WantTabs = True
    Lines.Strings = (
      'first'
      'ខ្មែរ')
  end
end
)";
  RegisterProperties<TSheetForm>("TSheetForm", "TForm");
  RegisterFormLayout("TSheetForm", layout);
  auto* sheet = new TSheetForm(Application);
  sheet->AfterConstruction();
  auto* title = dynamic_cast<TEdit*>(sheet->FindComponent("Title"));
  auto* content = dynamic_cast<TMemo*>(sheet->FindComponent("Content"));
  ASSERT_TRUE(title && content);
  EXPECT_EQ(title->MaxLength(), 4);
  EXPECT_EQ(title->PasswordChar(), '#');
  EXPECT_EQ(title->Text(), Utf8(u"Tiếng"));
  EXPECT_EQ(content->ScrollBars(), ssVertical);
  EXPECT_TRUE(content->WantTabs());
  EXPECT_EQ(content->Lines()->Count(), 2);
  EXPECT_EQ(content->Lines()->Strings(1), Utf8(u"ខ្មែរ"));
  sheet->Show();
  Driver().RunUntilIdle();
  EXPECT_EQ(content->Text(), Utf8(u"first\r\nខ្មែរ\r\n"));
  EXPECT_EQ(SendMessageA(title->Handle(), EM_GETLIMITTEXT, 0, 0), 4);
}

}  // namespace
