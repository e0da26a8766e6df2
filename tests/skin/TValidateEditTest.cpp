// The validating edit: which keys each type lets in, pasting, the text messages of the outer
// control and its frame.
#include <gtest/gtest.h>

#include <cstring>

#include "controls/TValidateEdit.h"
#include "platform/backend/HeadlessDriver.h"
#include "platform/forms/PlatformStartup.h"
#include "platform/forms/TApplication.h"
#include "platform/forms/TClipboard.h"
#include "platform/forms/TForm.h"

namespace {

using platform::headless::Driver;

class ValidateEditTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::Startup();
    RegisterValidateEdit();
    form = new TForm(Application);
    form->SetBounds(0, 0, 200, 100);
    edit = new TValidateEdit(form);
    edit->SetParent(form);
    edit->SetBounds(10, 10, 121, 21);
    form->Show();
    Driver().RunUntilIdle();
  }
  void TearDown() override {
    delete form;
    platform::Shutdown();
  }
  TForm* form = nullptr;
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
  edit->SetBorderStyle(ebsUltraFlat);
  // Showing the form focused its first control; the form's own window takes the focus here.
  form->SetActiveControl(nullptr);
  auto outer = [&] {
    Driver().RunUntilIdle();
    return Driver().Capture(edit->Handle()).At(0, 10);
  };
  EXPECT_EQ(outer(), 0u);  // black when neither hot nor focused
  edit->InplaceEdit()->SetFocus();
  EXPECT_TRUE(edit->IsFocused());
  EXPECT_EQ(outer(), 0x000080u);  // 0x800000 in blue-green-red order
}

}  // namespace
