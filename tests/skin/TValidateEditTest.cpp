// The validating edit: which keys each type lets in, pasting, the text messages of the outer
// control and its frame.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <regex>
#include <string>

#include "FormFixture.h"
#include "controls/TQvRichEdit.h"
#include "controls/TValidateEdit.h"
#include "platform/backend/HeadlessDriver.h"
#include "platform/forms/PlatformStartup.h"
#include "platform/forms/TApplication.h"
#include "platform/forms/TClipboard.h"
#include "platform/forms/TForm.h"
#include "platform/forms/TWriter.h"

namespace {

using platform::headless::Driver;

class ValidateEditTest : public skintest::FormFixture {
 protected:
  void SetUp() override {
    FormFixture::SetUp();
    RegisterValidateEdit();
    MakeForm(200, 100);
    edit = Place<TValidateEdit>(form, 10, 10, 121, 21);
    ShowForm();
  }
  TValidateEdit* edit = nullptr;
};

TEST_F(ValidateEditTest, EachTypeLetsInItsCharacters) {
  struct Case {
    TValidateType type;
    const char* custom;
    const char* text;
    int selStart, selLength;
    char key;
    bool accepted;
  } cases[] = {
      {vtInteger, "", "-12", 0, 0, '5', false},  // nothing goes before the minus sign
      {vtInteger, "", "-12", 0, 0, '-', false},
      {vtInteger, "", "-12", 1, 0, '5', true},
      {vtInteger, "", "-12", 0, 1, '-', true},  // replacing the sign
      {vtInteger, "", "12", 0, 0, '-', true},
      {vtInteger, "", "12", 1, 0, '-', false},
      {vtInteger, "", "12", 2, 0, 'x', false},
      {vtIntegerPs, "", "12", 0, 0, '-', false},
      {vtFloat, "", "1.5", 3, 0, '.', false},
      {vtFloat, "", "1.5", 1, 1, '.', true},  // the selection holds the dot
      {vtFloat, "", "15", 1, 0, '.', true},
      {vtFloat, "", "-5", 0, 0, '.', false},  // a dot goes no more in front of the sign than a digit
      {vtFloat, "", "-5", 1, 0, '.', true},
      {vtFloatPs, "", "15", 0, 0, '-', false},
      {vtHex, "", "", 0, 0, 'F', true},
      {vtHex, "", "", 0, 0, 'g', false},
      {vtCustom, "a-fx", "", 0, 0, 'a', true},
      {vtCustom, "a-fx", "", 0, 0, 'f', true},
      {vtCustom, "a-fx", "", 0, 0, 'x', true},
      {vtCustom, "a-fx", "", 0, 0, 'g', false},
      {vtCustom, "a-fx", "", 0, 0, '-', false},
      {vtIntegerPs, "", "", 0, 0, '\b', true},  // control characters always pass
      {vtNone, "", "", 0, 0, '%', true},
  };
  TQvCustomInplaceEdit* inner = edit->InplaceEdit();
  for (const Case& c : cases) {
    edit->SetValidateType(c.type);
    if (c.type == vtCustom) edit->SetValidateString(c.custom);
    edit->SetText(c.text);
    inner->SetSelStart(c.selStart);
    inner->SetSelLength(c.selLength);
    char key = c.key;
    EXPECT_EQ(inner->Accepts(key), c.accepted) << c.type << " '" << c.text << "' " << c.key;
  }
  edit->SetValidateType(vtHexUp);
  char lower = 'b';
  EXPECT_TRUE(inner->Accepts(lower));
  EXPECT_EQ(lower, 'B');
  edit->SetValidateType(vtHexLo);
  char upper = 'C';
  EXPECT_TRUE(inner->Accepts(upper));
  EXPECT_EQ(upper, 'c');
}

TEST_F(ValidateEditTest, TypedAndPastedTextIsFiltered) {
  edit->SetValidateType(vtIntegerPs);
  edit->InplaceEdit()->SetFocus();
  Driver().Type(u"1a2b3");
  Driver().RunUntilIdle();
  EXPECT_EQ(edit->Text(), "123");
  Clipboard()->SetAsText("45xy");
  edit->InplaceEdit()->SetSelStart(3);
  edit->InplaceEdit()->PasteFromClipboard();
  Driver().RunUntilIdle();
  EXPECT_EQ(edit->Text(), "12345");
}

TEST_F(ValidateEditTest, TheValidateStringAndTypeFollowEachOther) {
  edit->SetValidateString("0-9-");
  EXPECT_EQ(edit->ValidateType(), vtCustom);
  edit->SetValidateType(vtHex);
  EXPECT_EQ(edit->ValidateString(), "");
  edit->SetValidateString("");
  EXPECT_EQ(edit->ValidateType(), vtHex);
}

TEST_F(ValidateEditTest, TextMessagesReachTheInnerEdit) {
  edit->Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>("hello"));
  EXPECT_EQ(edit->InplaceEdit()->Text(), "hello");
  EXPECT_EQ(edit->Perform(WM_GETTEXTLENGTH, 0, 0), 5);
  char buffer[4];
  std::memset(buffer, 'z', sizeof buffer);
  EXPECT_EQ(edit->Perform(WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer)), 3);
  EXPECT_STREQ(buffer, "hel");
  // The inner edit sits inside the frame: border width 2, plus one.
  EXPECT_EQ(edit->InplaceEdit()->Left(), 3);
  EXPECT_EQ(edit->InplaceEdit()->Width(), 121 - 6);
  edit->SetBorderStyle(ebsNone);
  EXPECT_EQ(edit->InplaceEdit()->Left(), 0);
}

TEST_F(ValidateEditTest, TheUltraFlatFrameShowsTheFocus) {
  auto* other = new TEdit(form);
  other->SetParent(form);
  other->SetBounds(10, 50, 80, 21);
  edit->SetBorderStyle(ebsUltraFlat);
  // Showing the form focused its first control; the form's own window takes the focus here.
  form->SetActiveControl(nullptr);
  auto outer = [&] {
    Driver().RunUntilIdle();
    return Driver().Capture(edit->Handle()).At(0, 10);
  };
  other->SetFocus();
  EXPECT_FALSE(edit->IsFocused());
  EXPECT_EQ(outer(), 0u);  // black when neither hot nor focused
  edit->InplaceEdit()->SetFocus();
  EXPECT_TRUE(edit->IsFocused());
  EXPECT_EQ(outer(), 0x000080u);  // 0x800000 in blue-green-red order
}

TEST_F(ValidateEditTest, APasteJudgesEachCharacterAgainstTheTextBeforeIt) {
  struct Case {
    TValidateType type;
    const char* text;
    int selStart, selLength, maxLength;
    const char* clipboard;
    const char* expected;
  } cases[] = {
      {vtInteger, "", 0, 0, 0, "--5", "-5"},
      {vtFloat, "", 0, 0, 0, "1..2", "1.2"},
      {vtFloat, "-5", 0, 0, 0, ".", "-5"},
      {vtIntegerPs, "", 0, 0, 0, "12\r\n34", "12"},
      {vtIntegerPs, "", 0, 0, 0, "12\n34", "12"},
      {vtIntegerPs, "", 0, 0, 0, "1\t2", "12"},  // control characters of the clipboard stay out
      {vtIntegerPs, "", 0, 0, 0, "12ab", "12"},
      {vtIntegerPs, "9", 1, 0, 3, "12345", "912"},  // MaxLength applies
      {vtInteger, "-12", 0, 3, 0, "-7", "-7"},      // the selection is replaced
      {vtHexUp, "", 0, 0, 0, "a1g", "A1"},
  };
  TQvCustomInplaceEdit* inner = edit->InplaceEdit();
  for (const Case& c : cases) {
    edit->SetValidateType(c.type);
    inner->SetMaxLength(c.maxLength);
    edit->SetText(c.text);
    inner->SetSelStart(c.selStart);
    inner->SetSelLength(c.selLength);
    Clipboard()->SetAsText(c.clipboard);
    inner->PasteFromClipboard();
    EXPECT_EQ(edit->Text(), c.expected) << c.type << " '" << c.text << "' + '" << c.clipboard << "'";
  }
}

TEST_F(ValidateEditTest, ACustomSetComparesWholeCharacters) {
  // "à" is C3 A0; "á", "â" and "ã" share its first byte and must stay out.
  edit->SetValidateString(
      "\xC3\xA0"
      "a-c");
  TQvCustomInplaceEdit* inner = edit->InplaceEdit();
  for (const char* ch : {"\xC3\xA0", "a", "b", "c"}) {
    std::string c = ch;
    EXPECT_TRUE(inner->AcceptsCharacter(c)) << ch;
  }
  for (const char* ch : {"\xC3\xA1", "\xC3\xA2", "\xC3\xA3", "d", "\xC3", "\xA0"}) {
    std::string c = ch;
    EXPECT_FALSE(inner->AcceptsCharacter(c)) << ch;
  }
  inner->SetFocus();
  Driver().Type(u"\u00E1\u00E0x\u00E2b");
  Driver().RunUntilIdle();
  EXPECT_EQ(edit->Text(),
            "\xC3\xA0"
            "b");
  Clipboard()->SetAsText(
      "\xC3\xA3\xC3\xA0"
      "cd");
  inner->PasteFromClipboard();
  EXPECT_EQ(edit->Text(),
            "\xC3\xA0"
            "b"
            "\xC3\xA0"
            "c");
}

// Typed characters, caret moves, selections, deletions and pastes of random text in any order
// never leave a text outside its type's grammar.
TEST_F(ValidateEditTest, ARandomWalkKeepsTheTextInItsGrammar) {
  struct Case {
    TValidateType type;
    const char* custom;
    const char* grammar;
  } cases[] = {
      {vtInteger, "", "-?[0-9]*"},         {vtIntegerPs, "", "[0-9]*"},   {vtFloat, "", "-?[0-9]*\\.?[0-9]*"},
      {vtFloatPs, "", "[0-9]*\\.?[0-9]*"}, {vtHex, "", "[0-9a-fA-F]*"},   {vtHexUp, "", "[0-9A-F]*"},
      {vtHexLo, "", "[0-9a-f]*"},          {vtCustom, "x0-3", "[x0-3]*"},
  };
  const std::u16string alphabet = u"--..0123456789abcdefxyzABX \u00E0";
  const std::string pasteAlphabet = "--..0123456789afxzAF \r\n\t";
  TQvCustomInplaceEdit* inner = edit->InplaceEdit();
  inner->SetFocus();
  for (const Case& c : cases) {
    std::mt19937 random(1234 + c.type);
    edit->SetValidateType(c.type);
    if (c.type == vtCustom) edit->SetValidateString(c.custom);
    edit->SetText("");
    const std::regex grammar(c.grammar);
    for (int step = 0; step < 1500; ++step) {
      const int length = edit->Text().Length();
      auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
      const int action = pick(8);
      switch (action) {
        case 6:
          edit->SetText("");  // short texts meet the sign and the dot more often
          break;
        case 7:
          Driver().Type(pick(2) ? u"-" : u".");
          break;
        case 0:
        case 1:
          Driver().Type(
              std::u16string(1, alphabet[static_cast<std::size_t>(pick(static_cast<int>(alphabet.size())))]));
          break;
        case 2:
          inner->SetSelStart(pick(2) ? 0 : pick(length + 1));
          break;
        case 3: {
          const int start = pick(length + 1);
          inner->SetSelStart(start);
          inner->SetSelLength(pick(length - start + 1));
          break;
        }
        case 4: {
          std::string text;
          for (int i = pick(6); i >= 0; --i)
            text += pasteAlphabet[static_cast<std::size_t>(pick(static_cast<int>(pasteAlphabet.size())))];
          Clipboard()->SetAsText(AnsiString(text));
          inner->PasteFromClipboard();
          break;
        }
        default:
          Driver().KeyDown(pick(2) ? VK_DELETE : VK_BACK);
          Driver().KeyUp(VK_DELETE);
          break;
      }
      Driver().RunUntilIdle();
      const std::string text = edit->Text().ToStd();
      ASSERT_TRUE(std::regex_match(text, grammar)) << c.type << " step " << step << ": '" << text << "'";
    }
  }
}

TEST_F(ValidateEditTest, GetTextWithARoomOfZeroOrOneWritesNoCharacter) {
  edit->SetText("abc");
  char buffer[2] = {'z', 'z'};
  EXPECT_EQ(edit->Perform(WM_GETTEXT, 0, reinterpret_cast<LPARAM>(buffer)), 0);
  EXPECT_EQ(buffer[0], 'z');  // no room: not even the terminator
  EXPECT_EQ(edit->Perform(WM_GETTEXT, 1, reinterpret_cast<LPARAM>(buffer)), 0);
  EXPECT_EQ(buffer[0], '\0');
  EXPECT_EQ(buffer[1], 'z');
}

TEST_F(ValidateEditTest, FrameEditFrameOutsideIsOneEnterAndOneLeave) {
  int enters = 0, leaves = 0;
  edit->OnMouseEnter = [&](TObject*) { ++enters; };
  edit->OnMouseLeave = [&](TObject*) { ++leaves; };
  auto at = [&](int x, int y) {
    Driver().MoveMouse(Driver().ClientPoint(edit->Handle(), x, y));
    Driver().RunUntilIdle();
  };
  at(1, 1);  // the frame
  EXPECT_EQ(enters, 1);
  at(40, 10);  // the inner edit
  at(1, 1);
  EXPECT_EQ(enters, 1);
  EXPECT_EQ(leaves, 0);
  at(150, 60);  // outside, on the form
  EXPECT_EQ(enters, 1);
  EXPECT_EQ(leaves, 1);
}

TEST_F(ValidateEditTest, TheUltraFlatHotRingMixesAFifthOfTheHotColour) {
  edit->SetBorderStyle(ebsUltraFlat);
  edit->SetColor(clWindow);
  // An edit elsewhere holds the focus, so the ring shows the hot colour alone.
  auto* other = new TEdit(form);
  other->SetParent(form);
  other->SetBounds(10, 50, 80, 21);
  other->SetFocus();
  Driver().MoveMouse(Driver().ClientPoint(edit->Handle(), 1, 1));
  Driver().RunUntilIdle();
  const auto shot = Driver().Capture(edit->Handle());
  EXPECT_EQ(shot.At(0, 10) & 0xFFFFFF, 0x0000FFu);  // the hot colour 0xFF0000, blue
  // white moved a fifth of the way to blue: RGB(204, 204, 255), read back as 0x00RRGGBB
  EXPECT_EQ(shot.At(1, 10) & 0xFFFFFF, 0xCCCCFFu);
}

TEST_F(ValidateEditTest, EveryPublishedPropertyTravelsThroughALayout) {
  edit->SetName("Edit1");
  edit->SetBorderStyle(ebsFlat);
  edit->SetValidateType(vtHexUp);
  edit->InplaceEdit()->SetAutoSelect(false);
  edit->InplaceEdit()->SetCharCase(ecUpperCase);
  edit->InplaceEdit()->SetHideSelection(false);
  edit->SetImeMode(imClose);
  edit->SetImeName("Pinyin");
  edit->InplaceEdit()->SetMaxLength(7);
  edit->InplaceEdit()->SetOEMConvert(true);
  edit->InplaceEdit()->SetPasswordChar('*');
  edit->InplaceEdit()->SetReadOnly(true);
  edit->SetText("AB");
  edit->Colors()->SetHotColor(clRed);
  const std::string text = WriteComponentText(edit);
  std::size_t at = 0;
  for (const char* name :
       {"ValidateType = vtHexUp", "Colors.HotColor", "BorderStyle = ebsFlat", "AutoSelect = False",
        "CharCase = ecUpperCase", "HideSelection = False", "ImeMode = imClose", "ImeName = 'Pinyin'",
        "MaxLength = 7", "OEMConvert = True", "PasswordChar = '*'", "ReadOnly = True", "Text = 'AB'"}) {
    const std::size_t found = text.find(name, at);
    ASSERT_NE(found, std::string::npos) << name << " in order in\n" << text;
    at = found;
  }
  TValidateEdit back(nullptr);
  ReadComponentText(&back, text);
  EXPECT_EQ(back.ValidateType(), vtHexUp);
  EXPECT_EQ(back.BorderStyle(), ebsFlat);
  EXPECT_EQ(back.InplaceEdit()->CharCase(), ecUpperCase);
  EXPECT_EQ(back.ImeMode(), imClose);
  EXPECT_EQ(back.ImeName(), "Pinyin");
  EXPECT_EQ(back.InplaceEdit()->PasswordChar(), '*');
  EXPECT_TRUE(back.InplaceEdit()->OEMConvert());
  EXPECT_FALSE(back.InplaceEdit()->HideSelection());
  EXPECT_EQ(back.Colors()->HotColor(), clRed);
  EXPECT_EQ(back.Text(), "AB");
  // Defaults are not written.
  TValidateEdit plain(nullptr);
  const std::string bare = WriteComponentText(&plain);
  for (const char* name :
       {"ImeMode", "CharCase", "HideSelection", "OEMConvert", "PasswordChar", "BorderStyle"})
    EXPECT_EQ(bare.find(name), std::string::npos) << name << " in\n" << bare;
}

// Both framed edits: whichever way the inner edit takes the focus (a click, the outer control's
// SetFocus, coming back from another control), the form names the framed edit as its active
// control, and Tab goes on from it.
TEST_F(ValidateEditTest, TheFramedEditIsTheFormsActiveControlWhileItsInnerEditHasTheFocus) {
  form->SetBounds(0, 0, 300, 200);
  auto* rich = new TQvRichEdit(form);
  rich->SetParent(form);
  rich->SetBounds(10, 40, 150, 60);
  auto* plain = new TEdit(form);
  plain->SetParent(form);
  plain->SetBounds(10, 120, 80, 21);
  Driver().RunUntilIdle();
  for (TCustomQvFramedEdit* framed : std::initializer_list<TCustomQvFramedEdit*>{edit, rich}) {
    plain->SetFocus();
    Driver().RunUntilIdle();
    ASSERT_EQ(form->ActiveControl(), plain);
    Driver().Click(Driver().ClientPoint(framed->Handle(), framed->Width() / 2, 10));
    Driver().RunUntilIdle();
    EXPECT_TRUE(framed->IsFocused());
    EXPECT_EQ(form->ActiveControl(), framed);
    plain->SetFocus();
    framed->SetFocus();
    Driver().RunUntilIdle();
    EXPECT_TRUE(framed->IsFocused());
    EXPECT_EQ(form->ActiveControl(), framed);
  }
  // Tab from the validating edit goes to the next control in the tab order, not into its frame.
  edit->SetFocus();
  Driver().RunUntilIdle();
  Driver().Chord("Tab");
  Driver().RunUntilIdle();
  EXPECT_FALSE(edit->IsFocused());
  EXPECT_EQ(form->ActiveControl(), rich);
}

}  // namespace
