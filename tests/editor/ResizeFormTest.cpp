// The picture-size settings dialog on its own, with a test host: what it shows at first, what
// OK, Cancel and the close button store, the digit filter of its two fields (typed and
// pasted), and the texts after a change of language.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "controls/TImButton.h"
#include "editor/TEditorBox.h"
#include "editor/TResStringManager.h"
#include "editor/TResizeForm.h"
#include "platform/backend/HeadlessDriver.h"
#include "platform/forms/TEdit.h"
#include "platform/forms/TLabel.h"
#include "platform/forms/TRadioButton.h"
#include "tests/editor/PicResizeFixture.h"

namespace {

using editortest::CentreOf;
using editortest::DragTo;
using editortest::PicResizeTest;
using platform::headless::Driver;
using platform::headless::ModalAnswer;
using platform::headless::ModalInfo;

class ResizeFormTest : public PicResizeTest {
 protected:
  // Runs a new dialog modally; `drive` acts once it is painted. Without a result of its own
  // the dialog is cancelled.
  void Run(const std::function<void(TResizeForm*)>& drive) {
    std::unique_ptr<TResizeForm> form(TResizeForm::New(nullptr, &host));
    Driver().OnModal([&](const ModalInfo&) {
      return ModalAnswer::Drive([&] {
        Driver().RunUntilIdle();
        drive(form.get());
        Driver().RunUntilIdle();
        if (form->ModalResult == mrNone) form->ModalResult = mrCancel;
      });
    });
    form->ShowModal();
    Driver().OnModal(nullptr);
  }
};

TEST_F(ResizeFormTest, TheFirstUseShowsTheDefaultsAndOkStoresWhatTheFieldsHold) {
  Run([](TResizeForm* form) {
    EXPECT_EQ(form->Edit1->Text().ToStd(), "640");
    EXPECT_EQ(form->Edit2->Text().ToStd(), "480");
    EXPECT_TRUE(form->RadioButton1->Checked());
    EXPECT_FALSE(form->RadioButton2->Checked());
    EXPECT_EQ(form->Edit1->Hint().ToStd(), "<STR_MAX_Value>");
    EXPECT_EQ(form->Edit2->Hint().ToStd(), "<STR_MAX_Value>");
    EXPECT_TRUE(form->OKButton->Visible()) << "the first paint shows the buttons";
  });
  EXPECT_EQ(host.stores, 0) << "closing unanswered stores nothing";

  struct Case {
    const char* width;
    const char* height;
    bool second;  // the second way of sizing chosen
    int storedWidth, storedHeight, storedMode;
  };
  const Case cases[] = {
      {"800", "600", false, 800, 600, 1},
      {"", "9999", true, 0, 9999, 0},
      {"0", "", false, 0, 0, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.width) + " x " + c.height);
    Run([&](TResizeForm* form) {
      form->Edit1->SetTextProp(c.width);
      form->Edit2->SetTextProp(c.height);
      Driver().Click(CentreOf(c.second ? form->RadioButton2 : form->RadioButton1));
      Driver().RunUntilIdle();
      Driver().Click(CentreOf(form->OKButton));
    });
    EXPECT_EQ(host.settings.width, c.storedWidth);
    EXPECT_EQ(host.settings.height, c.storedHeight);
    EXPECT_EQ(host.settings.mode, c.storedMode);
  }
  // The next dialog shows what was stored.
  host.settings = {1024, 768, 0};
  Run([](TResizeForm* form) {
    EXPECT_EQ(form->Edit1->Text().ToStd(), "1024");
    EXPECT_TRUE(form->RadioButton2->Checked());
  });
}

TEST_F(ResizeFormTest, CancelAndTheCloseButtonStoreNothing) {
  for (const char* name : {"CancleButton", "ImButton1"}) {
    SCOPED_TRACE(name);
    Run([&](TResizeForm* form) {
      form->Edit1->SetTextProp("12");
      Driver().Click(CentreOf(form->RadioButton2));
      Driver().Click(CentreOf(dynamic_cast<TImButton*>(form->FindComponent(name))));
      Driver().RunUntilIdle();
      EXPECT_NE(form->ModalResult, mrNone) << "the button closed the dialog";
    });
    EXPECT_EQ(host.stores, 0);
    EXPECT_EQ(host.settings.width, 640);
    EXPECT_EQ(host.settings.mode, 1);
  }
}

TEST_F(ResizeFormTest, TheFieldsTakeDigitsOnly) {
  // Typed characters: digits and the editing control codes pass, everything else is dropped.
  struct Key {
    char key;
    bool passes;
  };
  const Key keys[] = {{'0', true},  {'5', true},  {'9', true},  {3, true},    {8, true},
                      {22, true},   {24, true},   {26, true},   {'a', false}, {'-', false},
                      {' ', false}, {'/', false}, {':', false}, {13, false},  {1, false}};
  Run([&](TResizeForm* form) {
    for (const Key& k : keys) {
      SCOPED_TRACE(int(k.key));
      for (TEdit* edit : {form->Edit1, form->Edit2}) {
        char key = k.key;
        ASSERT_TRUE(edit->OnKeyPress);
        edit->OnKeyPress(edit, key);
        EXPECT_EQ(key, k.passes ? k.key : 0);
      }
    }
    // Through the keyboard: the letter never reaches the field.
    form->Edit1->SetTextProp("");
    form->Edit1->SetFocus();
    Driver().Type(u"1a2");
    Driver().RunUntilIdle();
    EXPECT_EQ(form->Edit1->Text().ToStd(), "12");
  });
  // Pasted texts: one holding a letter empties the field; a long one stops at four digits.
  struct Paste {
    const char* text;
    const char* field;
  };
  const Paste pastes[] = {{"12a", ""}, {"12345", "1234"}, {"77", "77"}, {"a", ""}};
  for (const Paste& p : pastes) {
    SCOPED_TRACE(p.text);
    Run([&](TResizeForm* form) {
      for (TEdit* edit : {form->Edit1, form->Edit2}) {
        edit->SetTextProp("");
        edit->SetFocus();
        const std::string bytes = std::string(p.text) + '\0';
        Driver().ClipboardPut(CF_TEXT, std::vector<uint8_t>(bytes.begin(), bytes.end()));
        Driver().Chord("Ctrl+V");
        Driver().RunUntilIdle();
        EXPECT_EQ(edit->Text().ToStd(), p.field) << edit->Name().ToStd();
      }
    });
  }
}

TEST_F(ResizeFormTest, AChangeOfLanguageRereadsEveryText) {
  AppFile("language_editer/lan_Vietnamese.ini", editortest::KeyLanguageFile("vi:"));
  Run([](TResizeForm* form) {
    ResStringManager.SelectLanguageFile(0);
    PostMessageW(form->Handle(), WM_REFRESHCAPTION, 0, 0);
    Driver().RunUntilIdle();
    const std::pair<TControl*, const char*> texts[] = {
        {form->Title, "STR_ResizeSet_Title"},      {form->Label1, "STR_ResizeSet_Hint"},
        {form->Select1, "STR_ResizeSet_Select1"},  {form->Select2, "STR_ResizeSet_Select2"},
        {form->WidthLabel, "STR_ResizeSet_Width"}, {form->HeightLabel, "STR_ResizeSet_Height"},
        {form->OKButton, "STR_Mivora_YES"},        {form->CancleButton, "STR_CloseFrm_Cancel"},
    };
    for (const auto& [control, key] : texts) {
      EXPECT_EQ(control->Caption().ToStd(), AnsiString(ResStringManager.GetString(key)).ToStd()) << key;
      EXPECT_EQ(control->Caption().ToStd().substr(0, 4), "vi:<") << key;
    }
  });
}

}  // namespace
