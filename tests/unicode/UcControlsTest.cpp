// Unicode windows for the form library's controls: wide texts with and without a window, the
// character messages 8-bit handlers see, notify formats, hints, and the lifetimes of traps.
#include <string>
#include <vector>

#include "UcFixture.h"
#include "platform/forms/TListBox.h"
#include "platform/rtl/CodePage.h"
#include "unicode/TUcEdit.h"
#include "unicode/TUcLabel.h"
#include "unicode/UcControls.h"
#include "unicode/WideException.h"

namespace uctest {
namespace {

// Counts the text messages that reach the form library's handlers.
template <class Base>
class Counting : public Base {
 public:
  explicit Counting(TComponent* owner) : Base(owner) {}
  int setTexts = 0, textChanges = 0;
  std::vector<WPARAM> chars;
  void WndProc(TMessage& m) override {
    if (m.Msg == WM_SETTEXT) ++setTexts;
    if (m.Msg == CM_TEXTCHANGED) ++textChanges;
    if (m.Msg == WM_CHAR) chars.push_back(m.WParam);
    Base::WndProc(m);
  }
};

using UcControls = UcTest;

TEST_F(UcControls, ASetTextSendsOneSetAndOneChangeOnlyWhenTheTextChanges) {
  CodePageScope page(1252);
  TForm* form = NewForm();
  enum Kind { Windowed, NoWindowYet, Windowless };
  struct Case {
    Kind kind;
    const char16_t* start;
    const char16_t* next;
    int setTexts, textChanges;
  };
  // "ក" and "ខ" are both "?" in 1252: the same 8-bit text.
  const Case cases[] = {
      {Windowed, u"abc", u"abc", 0, 0},         {Windowed, u"abc", u"abd", 1, 1},
      {Windowed, u"\u1780", u"\u1781", 1, 1},   {NoWindowYet, u"abc", u"abc", 0, 0},
      {NoWindowYet, u"abc", u"abd", 1, 1},      {NoWindowYet, u"\u1780", u"\u1781", 0, 0},
      {Windowless, u"abc", u"abc", 0, 0},       {Windowless, u"abc", u"abd", 1, 1},
      {Windowless, u"\u1780", u"\u1781", 2, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(int(&c - cases));
    TControl* control = nullptr;
    int* sets = nullptr;
    int* changes = nullptr;
    if (c.kind == Windowless) {
      auto* label = Child<Counting<TUcLabel>>(form, 0, 0, 50, 20);
      control = label;
      sets = &label->setTexts;
      changes = &label->textChanges;
    } else {
      auto* edit = new Counting<TUcEdit>(form);
      edit->SetBounds(0, 0, 80, 20);
      if (c.kind == Windowed) {
        edit->SetParent(form);
        edit->HandleNeeded();
      }
      control = edit;
      sets = &edit->setTexts;
      changes = &edit->textChanges;
    }
    UcControl_SetText(control, c.start);
    *sets = *changes = 0;
    UcControl_SetText(control, c.next);
    EXPECT_EQ(*sets, c.setTexts);
    EXPECT_EQ(*changes, c.textChanges);
    EXPECT_EQ(UcControl_GetText(control), WideString(c.next));
    delete control;
  }
}

TEST_F(UcControls, AWideTextOutlivesTheWindowAndReachesTheNextOne) {
  CodePageScope page(1252);
  TForm* form = NewForm();
  auto* edit = new TUcEdit(form);
  edit->SetBounds(10, 10, 200, 24);
  edit->SetText(kKhmer);  // no window yet
  EXPECT_FALSE(edit->HandleAllocated());
  EXPECT_EQ(edit->TControl::Text(), AnsiString("?????????"));
  edit->SetParent(form);
  ASSERT_TRUE(IsWindowUnicode(edit->Handle()));
  EXPECT_EQ(WindowText(edit->Handle()), std::u16string(kKhmer));

  // Typed into the window, then the window goes and comes back twice.
  SetFocus(edit->Handle());
  SendMessageW(edit->Handle(), EM_SETSEL, 9, 9);
  SendMessageW(edit->Handle(), WM_CHAR, 0x1780, 1);
  const std::u16string typed = std::u16string(kKhmer) + u"\u1780";
  edit->DestroyHandle();
  EXPECT_EQ(edit->Text(), WideString(typed));
  EXPECT_EQ(edit->TControl::Text(), AnsiString("??????????"));
  edit->HandleNeeded();
  EXPECT_EQ(WindowText(edit->Handle()), typed);
  edit->RecreateWnd();
  edit->HandleNeeded();
  EXPECT_EQ(edit->Text(), WideString(typed));
}

TEST_F(UcControls, TypedCharactersReachEightBitHandlersSafelyAndTheEditExactly) {
  struct Case {
    UINT page;
    WPARAM code;
    WPARAM seen;  // by the form library's WM_CHAR handler
  };
  const Case cases[] = {
      {1252, 0x41, 0x41},          {1252, 0xE9, 0xE9},         {1252, 0xFF, 0xFF},
      {1252, 0x0E01, 0x0E0100FF},  {1252, 0x1780, 0x178000FF}, {65001, 0x41, 0x41},
      {65001, 0xE9, 0x00E900FF},   {65001, 0xFF, 0x00FF00FF},  {65001, 0x0E01, 0x0E0100FF},
      {65001, 0x1780, 0x178000FF},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.page << " " << std::hex << c.code);
    CodePageScope page(c.page);
    TForm* form = NewForm();
    auto* edit = Child<Counting<TUcEdit>>(form, 10, 10, 200, 24);
    SendMessageW(edit->Handle(), WM_CHAR, c.code, 1);
    ASSERT_EQ(edit->chars.size(), 1u);
    EXPECT_EQ(edit->chars[0], c.seen);
    EXPECT_EQ(edit->Text(), WideString(std::u16string(1, char16_t(c.code))));
    delete form;
  }
}

TEST_F(UcControls, AKeyPressHandlerCanSwallowOrReplaceAWideCharacter) {
  CodePageScope page(65001);
  TForm* form = NewForm();
  auto* edit = Child<TUcEdit>(form, 10, 10, 200, 24);
  char replacement = 0;
  edit->OnKeyPress = [&](TObject*, char& key) { key = replacement; };
  SendMessageW(edit->Handle(), WM_CHAR, 0x1780, 1);
  EXPECT_EQ(edit->Text(), WideString());
  replacement = 'A';
  SendMessageW(edit->Handle(), WM_CHAR, 0x1780, 1);
  EXPECT_EQ(edit->Text(), WideString(u"A"));
}

TEST_F(UcControls, TheNotifyFormatIsWideForUnicodeWindowsAndTheOneBeingMade) {
  TForm* form = NewForm();
  auto* edit = Child<TUcEdit>(form, 10, 10, 100, 24);
  HWND narrow =
      CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 5, 5, form->Handle(), nullptr, nullptr, nullptr);
  EXPECT_EQ(edit->Perform(WM_NOTIFYFORMAT, reinterpret_cast<WPARAM>(edit->Handle()), NF_QUERY), NFR_UNICODE);
  EXPECT_EQ(edit->Perform(WM_NOTIFYFORMAT, reinterpret_cast<WPARAM>(narrow), NF_QUERY), NFR_ANSI);

  DestroyWindow(narrow);
}

TEST_F(UcControls, TheFormLibraryReadsAUnicodeWindowInTheSystemCodePage) {
  for (UINT cp : {1252u, 65001u}) {
    CodePageScope page(cp);
    TForm* form = NewForm();
    auto* edit = Child<TUcEdit>(form, 10, 10, 200, 24);
    edit->SetText(kVietnamese);
    const AnsiString eightBit = edit->TControl::Text();  // WM_GETTEXT performed by the library
    if (cp == 1252)
      EXPECT_EQ(eightBit, AnsiString("Ti?ng Vi?t"));
    else
      EXPECT_EQ(eightBit, AnsiString("Ti\xE1\xBA\xBFng Vi\xE1\xBB\x87t"));
    delete form;
  }
}

TEST_F(UcControls, HintHalvesAndTheHintOfTheParents) {
  struct Case {
    const char16_t* hint;
    const char16_t* shortHint;
    const char16_t* longHint;
  };
  const Case cases[] = {
      {u"a|b", u"a", u"b"}, {u"ab", u"ab", u"ab"}, {u"|", u"", u""}, {u"a|b|c", u"a", u"b|c"}};
  for (const Case& c : cases) {
    EXPECT_EQ(WideGetShortHint(c.hint), WideString(c.shortHint));
    EXPECT_EQ(WideGetLongHint(c.hint), WideString(c.longHint));
  }
  TForm* form = NewForm();
  auto* label = Child<TUcLabel>(form, 0, 0, 10, 10);
  UcControl_SetHint(form, kKhmer);
  EXPECT_EQ(WideGetHint(label), WideString(kKhmer));
  label->SetHint(u"own");
  EXPECT_EQ(WideGetHint(label), WideString(u"own"));
}

TEST_F(UcControls, AWindowlessTextFollowsEightBitChangesAndMakesEightBitListenersSeeWideOnes) {
  CodePageScope page(1252);
  TForm* form = NewForm();
  auto* label = Child<TUcLabel>(form, 0, 0, 10, 10);
  std::vector<std::string> seen;
  label->SetCaption(u"\u1780\u1781");
  class TListening : public TUcLabel {
   public:
    using TUcLabel::TUcLabel;
    std::vector<std::string>* seen = nullptr;
    void WndProc(TMessage& m) override {
      if (m.Msg == CM_TEXTCHANGED) seen->push_back(TControl::Text().ToStd());
      TUcLabel::WndProc(m);
    }
  };
  auto* listening = Child<TListening>(form, 0, 0, 10, 10);
  listening->seen = &seen;
  listening->SetCaption(u"\u1780\u1781");
  seen.clear();
  listening->SetCaption(u"\u1782\u1783");  // the same "??" in 8 bits
  EXPECT_EQ(seen, (std::vector<std::string>{"", "??"}));
  EXPECT_EQ(listening->Caption(), WideString(u"\u1782\u1783"));
  listening->TControl::SetCaption("plain");  // 8-bit code wins over the stale shadow
  EXPECT_EQ(listening->Caption(), WideString(u"plain"));
  EXPECT_EQ(label->Caption(), WideString(u"\u1780\u1781"));
}

TEST_F(UcControls, OnAnEightBitSystemTheEditHasAnEightBitWindow) {
  for (UINT cp : {1252u, 65001u}) {
    CodePageScope page(cp, true);
    TForm* form = NewForm();
    auto* edit = Child<TUcEdit>(form, 10, 10, 200, 24);
    EXPECT_FALSE(IsWindowUnicode(edit->Handle()));
    edit->SetText(kKhmer);
    EXPECT_EQ(edit->Text(), cp == 1252 ? WideString(u"?????????") : WideString(kKhmer));
    delete form;
  }
}

// ---- lifetimes

TEST_F(UcControls, AControlFreedWhileItsWindowHandlesAMessageLeavesNothingBehind) {
  class TSelfFreeing : public TUcEdit {
   public:
    using TUcEdit::TUcEdit;
    void WndProc(TMessage& m) override {
      if (m.Msg == WM_USER + 1) {
        delete this;  // the trap is still passing this message on
        return;
      }
      TUcEdit::WndProc(m);
    }
  };
  TForm* form = NewForm();
  const int before = form->ControlCount();
  auto* edit = Child<TSelfFreeing>(form, 10, 10, 200, 24);
  HWND window = edit->Handle();
  SendMessageW(window, WM_USER + 1, 0, 0);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(form->ControlCount(), before);
}

TEST_F(UcControls, ReCreatingTheWindowReusesTheOneTrap) {
  TForm* form = NewForm();
  auto* edit = Child<TUcEdit>(form, 10, 10, 200, 24);
  HWND first = edit->Handle();
  const LONG_PTR proc = GetWindowLongPtrW(first, GWL_WNDPROC);
  for (int i = 0; i < 5; ++i) {
    edit->RecreateWnd();
    edit->HandleNeeded();
  }
  // The raw procedure of the same trap stands in the new window.
  EXPECT_EQ(GetWindowLongPtrW(edit->Handle(), GWL_WNDPROC), proc);
  ReCreateUnicodeWnd(edit, u"EDIT", false);
  EXPECT_EQ(GetWindowLongPtrW(edit->Handle(), GWL_WNDPROC), proc);
  EXPECT_TRUE(IsWindowUnicode(edit->Handle()));
}

TEST_F(UcControls, WindowsThatOutliveTheLayerKeepWorking) {
  TForm* form = NewForm();
  auto* edit = Child<TUcEdit>(form, 10, 10, 200, 24);
  edit->SetText(u"before");
  unicode::LayerShutdown();
  SetWindowTextW(edit->Handle(), u"after");
  EXPECT_EQ(WindowText(edit->Handle()), u"after");
  EXPECT_EQ(edit->TControl::Text(), AnsiString("after"));
  SendMessageW(edit->Handle(), WM_PAINT, 0, 0);
  delete form;
  unicode::LayerStartup();
}

TEST_F(UcControls, SubclassingAnEightBitWindowIsAnInternalError) {
  TForm* form = NewForm();
  auto* edit = new TEdit(form);
  edit->SetParent(form);
  EXPECT_THROW(SubClassUnicodeControl(edit, "", false), EUcInternalError);
}

TEST_F(UcControls, ListItemsGoWideWhereTheListTakesThem) {
  CodePageScope page(1252);
  TForm* form = NewForm();
  auto* list = Child<TListBox>(form, 0, 0, 100, 100);
  WideListControl_AddItem(list, kKhmer, nullptr);
  EXPECT_EQ(list->Items()->Strings(0), AnsiString("?????????"));
  class TWideList : public TListBox, public IWideCustomListControl {
   public:
    using TListBox::TListBox;
    std::vector<WideString> added;
    void AddItem(const WideString& item, TObject*) override { added.push_back(item); }
    using TListBox::AddItem;
  };
  auto* wide = Child<TWideList>(form, 0, 0, 100, 100);
  WideListControl_AddItem(wide, kKhmer, nullptr);
  EXPECT_EQ(wide->added, std::vector<WideString>{WideString(kKhmer)});
}

}  // namespace
}  // namespace uctest
