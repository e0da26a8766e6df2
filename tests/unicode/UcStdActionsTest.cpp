// The wide-aware standard actions: every class keeps a UTF-16 caption and hint and is in the
// registry beside its form-library base; Assign copies what the form library's copy leaves out;
// the edit actions work on a focused Unicode edit or memo, the Delete action on the character
// after the caret.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "UcFixture.h"
#include "platform/forms/ClassRegistry.h"
#include "unicode/TUcCommonDialogAction.h"
#include "unicode/TUcEdit.h"
#include "unicode/TUcEditAction.h"
#include "unicode/TUcFileAction.h"
#include "unicode/TUcHelpAction.h"
#include "unicode/TUcHintAction.h"
#include "unicode/TUcMemo.h"
#include "unicode/TUcOpenDialog.h"
#include "unicode/TUcSaveDialog.h"
#include "unicode/TUcSearchAction.h"
#include "unicode/TUcStrings.h"
#include "unicode/TUcWindowAction.h"
#include "unicode/UcActions.h"
#include "unicode/UcControls.h"

namespace uctest {
namespace {

struct ActionClass {
  const char* name;
  const char* base;
  std::function<TCustomAction*(TComponent*)> make;
  std::function<bool(TObject*)> isBase;
};

template <class U, class B>
ActionClass Row(const char* name, const char* base) {
  return {name, base, [](TComponent* owner) { return new U(owner); },
          [](TObject* o) { return dynamic_cast<B*>(o) != nullptr; }};
}

const std::vector<ActionClass>& AllClasses() {
  static const std::vector<ActionClass> rows = {
      Row<TUcHintAction, THintAction>("TUcHintAction", "THintAction"),
      Row<TUcEditAction, TEditAction>("TUcEditAction", "TEditAction"),
      Row<TUcEditCut, TEditCut>("TUcEditCut", "TEditCut"),
      Row<TUcEditCopy, TEditCopy>("TUcEditCopy", "TEditCopy"),
      Row<TUcEditPaste, TEditPaste>("TUcEditPaste", "TEditPaste"),
      Row<TUcEditSelectAll, TEditSelectAll>("TUcEditSelectAll", "TEditSelectAll"),
      Row<TUcEditUndo, TEditUndo>("TUcEditUndo", "TEditUndo"),
      Row<TUcEditDelete, TEditDelete>("TUcEditDelete", "TEditDelete"),
      Row<TUcWindowAction, TWindowAction>("TUcWindowAction", "TWindowAction"),
      Row<TUcWindowClose, TWindowClose>("TUcWindowClose", "TWindowClose"),
      Row<TUcWindowCascade, TWindowCascade>("TUcWindowCascade", "TWindowCascade"),
      Row<TUcWindowTileHorizontal, TWindowTileHorizontal>("TUcWindowTileHorizontal", "TWindowTileHorizontal"),
      Row<TUcWindowTileVertical, TWindowTileVertical>("TUcWindowTileVertical", "TWindowTileVertical"),
      Row<TUcWindowMinimizeAll, TWindowMinimizeAll>("TUcWindowMinimizeAll", "TWindowMinimizeAll"),
      Row<TUcWindowArrange, TWindowArrange>("TUcWindowArrange", "TWindowArrange"),
      Row<TUcHelpAction, THelpAction>("TUcHelpAction", "THelpAction"),
      Row<TUcHelpContents, THelpContents>("TUcHelpContents", "THelpContents"),
      Row<TUcHelpTopicSearch, THelpTopicSearch>("TUcHelpTopicSearch", "THelpTopicSearch"),
      Row<TUcHelpOnHelp, THelpOnHelp>("TUcHelpOnHelp", "THelpOnHelp"),
      Row<TUcHelpContextAction, THelpContextAction>("TUcHelpContextAction", "THelpContextAction"),
      Row<TUcCommonDialogAction, TCommonDialogAction>("TUcCommonDialogAction", "TCommonDialogAction"),
      Row<TUcFileAction, TFileAction>("TUcFileAction", "TFileAction"),
      Row<TUcFileOpen, TFileOpen>("TUcFileOpen", "TFileOpen"),
      Row<TUcFileOpenWith, TFileOpenWith>("TUcFileOpenWith", "TFileOpenWith"),
      Row<TUcFileSaveAs, TFileSaveAs>("TUcFileSaveAs", "TFileSaveAs"),
      Row<TUcFilePrintSetup, TFilePrintSetup>("TUcFilePrintSetup", "TFilePrintSetup"),
      Row<TUcFileExit, TFileExit>("TUcFileExit", "TFileExit"),
      Row<TUcSearchAction, TSearchAction>("TUcSearchAction", "TSearchAction"),
      Row<TUcSearchFind, TSearchFind>("TUcSearchFind", "TSearchFind"),
      Row<TUcSearchReplace, TSearchReplace>("TUcSearchReplace", "TSearchReplace"),
      Row<TUcSearchFindFirst, TSearchFindFirst>("TUcSearchFindFirst", "TSearchFindFirst"),
      Row<TUcSearchFindNext, TSearchFindNext>("TUcSearchFindNext", "TSearchFindNext"),
      Row<TUcFontEdit, TFontEdit>("TUcFontEdit", "TFontEdit"),
      Row<TUcColorSelect, TColorSelect>("TUcColorSelect", "TColorSelect"),
      Row<TUcPrintDlg, TPrintDlg>("TUcPrintDlg", "TPrintDlg"),
  };
  return rows;
}

using platform::headless::ModalAnswer;
using platform::headless::ModalInfo;
using UcStdActions = UcTest;

TEST_F(UcStdActions, EveryClassIsAWideActionOverItsFormLibraryBaseAndKeepsKhmerTexts) {
  CodePageScope page(1252);
  TForm* form = NewForm();
  ASSERT_EQ(AllClasses().size(), 35u);
  for (const ActionClass& c : AllClasses()) {
    SCOPED_TRACE(c.name);
    std::unique_ptr<TCustomAction> action(c.make(form));
    EXPECT_NE(dynamic_cast<IUcAction*>(action.get()), nullptr);
    EXPECT_TRUE(c.isBase(action.get()));

    UcAction_SetCaption(action.get(), kKhmer);
    UcAction_SetHint(action.get(), WideString(kVietnamese) + WideString(u"|") + WideString(kKhmer));
    EXPECT_EQ(UcAction_GetCaption(action.get()), WideString(kKhmer));
    EXPECT_EQ(UcAction_GetHint(action.get()),
              WideString(kVietnamese) + WideString(u"|") + WideString(kKhmer));
    EXPECT_EQ(action->Caption(), AnsiString("?????????"));  // the 8-bit form under 1252

    std::unique_ptr<TCustomAction> copy(c.make(form));
    copy->Assign(action.get());
    EXPECT_EQ(UcAction_GetCaption(copy.get()), WideString(kKhmer));
    EXPECT_EQ(UcAction_GetHint(copy.get()), UcAction_GetHint(action.get()));

    // A layout names the class and gets it, a descendant of the form library's class.
    const TClassInfo* info = GetClass(c.name);
    ASSERT_NE(info, nullptr);
    ASSERT_NE(info->Parent, nullptr);
    EXPECT_EQ(info->Parent->Name, c.base);
    if (info->Create) {
      std::unique_ptr<TComponent> made(info->Create(form));
      EXPECT_EQ(ClassInfoOf(made.get()), info);
      EXPECT_EQ(ClassInfoOf(action.get()), info);
    }
  }
}

TEST_F(UcStdActions, AssignCopiesTheDialogEventsTheFileToOpenWithAndTheFindActionToContinue) {
  TForm* form = NewForm();
  std::vector<std::string> log;
  auto logger = [&log](const char* what) { return [&log, what](TObject*) { log.push_back(what); }; };

  TUcFileOpenWith source(form);
  source.SetCaption(kKhmer);
  source.SetFileName("/d/\xE1\x9E\x81.txt");  // a Khmer name in UTF-8
  source.BeforeExecute = logger("before");
  source.OnAccept = logger("accept");
  source.OnCancel = logger("cancel");
  source.SetHandlerName("OnAccept", "OpenAccept");

  TUcFileOpenWith copy(form);
  copy.Assign(&source);
  EXPECT_EQ(copy.Caption(), WideString(kKhmer));
  EXPECT_EQ(copy.FileName(), source.FileName());
  ASSERT_TRUE(copy.BeforeExecute && copy.OnAccept && copy.OnCancel);
  copy.BeforeExecute(&copy);
  copy.OnAccept(&copy);
  copy.OnCancel(&copy);
  EXPECT_EQ(log, (std::vector<std::string>{"before", "accept", "cancel"}));
  EXPECT_EQ(copy.HandlerName("OnAccept"), "OpenAccept");  // written back under its handler's name

  // Any two dialog actions share the events; a font action has no file name to take.
  TUcFontEdit font(form);
  font.Assign(&source);
  EXPECT_TRUE(font.OnAccept && font.OnCancel && font.BeforeExecute);

  // The form library's own copy leaves these out: the layer is what carries them.
  TFileOpenWith plain(form);
  plain.Assign(&source);
  EXPECT_EQ(plain.FileName(), "");
  EXPECT_FALSE(plain.OnAccept);

  TUcSearchFind find(form);
  TUcSearchFindNext next(form);
  next.SetSearchFind(&find);
  TUcSearchFindNext nextCopy(form);
  nextCopy.Assign(&next);
  EXPECT_EQ(nextCopy.SearchFind(), &find);
}

TEST_F(UcStdActions, FileActionsRunTheLayersDialogsWhoseNamesAreUtf16) {
  // Under 1252 a Khmer name has no 8-bit form: only a UTF-16 dialog gives it back whole.
  CodePageScope page(1252);
  TForm* form = NewForm();
  const std::u16string chosen = u"/d/" + std::u16string(kKhmer) + u".txt";
  std::vector<ModalInfo::Kind> kinds;
  Driver().OnModal([&](const ModalInfo& info) {
    kinds.push_back(info.kind);
    return ModalAnswer::Files({chosen});
  });
  TUcFileOpen open(form);
  TUcFileOpenWith openWith(form);
  TUcFileSaveAs save(form);
  EXPECT_NE(dynamic_cast<TUcOpenDialog*>(static_cast<TFileOpen&>(open).Dialog()), nullptr);
  EXPECT_NE(dynamic_cast<TUcOpenDialog*>(static_cast<TFileOpen&>(openWith).Dialog()), nullptr);
  EXPECT_NE(dynamic_cast<TUcSaveDialog*>(static_cast<TFileSaveAs&>(save).Dialog()), nullptr);

  open.SetCaption(kKhmer);
  int accepted = 0;
  open.OnAccept = [&](TObject*) { ++accepted; };
  EXPECT_TRUE(open.Execute());
  EXPECT_EQ(accepted, 1);
  EXPECT_EQ(open.Dialog()->FileName(), WideString(chosen));
  ASSERT_EQ(open.Dialog()->Files()->Count(), 1);
  EXPECT_EQ(open.Dialog()->Files()->Strings(0), WideString(chosen));
  EXPECT_TRUE(save.Execute());
  EXPECT_EQ(save.Dialog()->FileName(), WideString(chosen));
  EXPECT_EQ(kinds, (std::vector<ModalInfo::Kind>{ModalInfo::Kind::OpenDialog, ModalInfo::Kind::SaveDialog}));
  EXPECT_EQ(open.Caption(), WideString(kKhmer));
  EXPECT_TRUE(exceptions.empty());
}

class UcEditActions : public UcTest {
 protected:
  template <class C>
  C* Focused(TForm* form, const char16_t* text, int selStart, int selLength) {
    C* e = Child<C>(form, 10, 10, 280, 120);
    e->SetText(text);
    e->SetFocus();
    Driver().RunUntilIdle();
    e->SetSelStart(selStart);
    e->SetSelLength(selLength);
    return e;
  }
  static std::u16string ClipboardWide() {
    const std::vector<uint8_t> bytes = Driver().ClipboardRead(CF_UNICODETEXT);
    std::u16string s;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) s.push_back(char16_t(bytes[i] | bytes[i + 1] << 8));
    while (!s.empty() && s.back() == 0) s.pop_back();
    return s;
  }
  static void PutWide(const std::u16string& s) {
    std::vector<uint8_t> bytes;
    for (char16_t u : s) bytes.insert(bytes.end(), {uint8_t(u), uint8_t(u >> 8)});
    bytes.insert(bytes.end(), {0, 0});
    Driver().ClipboardPut(CF_UNICODETEXT, bytes);
  }
};

TEST_F(UcEditActions, DeleteTakesTheCharacterAfterTheCaretWhenNothingIsSelectedAndIsAlwaysEnabled) {
  CodePageScope page(1252);
  TForm* form = NewForm();
  struct Case {
    const char* name;
    bool memo;
    const char16_t* text;
    int selStart, selLength;
    const char16_t* after;
  };
  const Case cases[] = {
      {"caret", false, u"\u1797\u17B6\u179F\u17B6", 1, 0, u"\u1797\u179F\u17B6"},
      {"selection", false, u"\u1797\u17B6\u179F\u17B6", 1, 2, u"\u1797\u17B6"},
      {"caret at the end", false, u"\u1797\u17B6", 2, 0, u"\u1797\u17B6"},
      {"surrogate pair", false, u"a\U0001F600b", 1, 0, u"ab"},
      {"memo caret", true, u"\u1780\u1781", 0, 0, u"\u1781"},
      {"memo line break", true, u"\u1780\r\n\u1781", 1, 0, u"\u1780\u1781"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TCustomEdit* edit =
        c.memo ? static_cast<TCustomEdit*>(Focused<TUcMemo>(form, c.text, c.selStart, c.selLength))
               : Focused<TUcEdit>(form, c.text, c.selStart, c.selLength);
    TUcEditDelete action(form);
    action.SetEnabled(false);
    action.Update();
    EXPECT_TRUE(action.Enabled());
    EXPECT_TRUE(action.Execute());
    EXPECT_EQ(UcControl_GetText(edit), WideString(c.after));
    delete edit;
  }
  // The form library's Delete needs a selection.
  auto* edit = Focused<TUcEdit>(form, u"\u1780\u1781", 0, 0);
  TEditDelete plain(form);
  plain.Update();
  EXPECT_FALSE(plain.Enabled());
  delete edit;

  // An 8-bit edit counts bytes: under UTF-8 a character of several bytes goes whole.
  CodePageScope utf8(CP_UTF8);
  auto* narrow = Child<TEdit>(form, 10, 10, 200, 24);
  narrow->SetTextProp(
      "a\xC3\xA9"
      "b");
  narrow->SetFocus();
  narrow->SetSelStart(1);
  narrow->SetSelLength(0);
  TUcEditDelete action(form);
  EXPECT_TRUE(action.Execute());
  EXPECT_EQ(narrow->Text(), "ab");
  EXPECT_TRUE(exceptions.empty());
}

TEST_F(UcEditActions, CutCopyPasteAndSelectAllCarryKhmerTextExactly) {
  CodePageScope page(1252);
  TForm* form = NewForm();
  auto* edit = Focused<TUcEdit>(form, kKhmer, 2, 3);
  TUcEditCut cut(form);
  EXPECT_TRUE(cut.Execute());
  EXPECT_EQ(ClipboardWide(), std::u16string(kKhmer).substr(2, 3));
  EXPECT_EQ(edit->Text(), WideString(std::u16string(kKhmer).erase(2, 3)));
  delete edit;

  auto* memo = Focused<TUcMemo>(form, u"\u1780\r\n\u1781", 3, 0);
  PutWide(kVietnamese);
  TUcEditPaste paste(form);
  EXPECT_TRUE(paste.Execute());
  EXPECT_EQ(UcControl_GetText(memo), WideString(u"\u1780\r\n" + std::u16string(kVietnamese) + u"\u1781"));

  TUcEditSelectAll selectAll(form);
  EXPECT_TRUE(selectAll.Execute());
  TUcEditCopy copy(form);
  EXPECT_TRUE(copy.Execute());
  EXPECT_EQ(ClipboardWide(), u"\u1780\r\n" + std::u16string(kVietnamese) + u"\u1781");

  TUcEditUndo undo(form);
  EXPECT_TRUE(undo.Execute());
  EXPECT_EQ(UcControl_GetText(memo), WideString(u"\u1780\r\n\u1781"));
  EXPECT_TRUE(exceptions.empty());
}

}  // namespace
}  // namespace uctest
