#include "editor/TMessageBoxForm.h"

#include "controls/TImButton.h"
#include "editor/EditorAppFolder.h"
#include "platform/forms/TImage.h"
#include "platform/rtl/Profile.h"
#include "unicode/TUcLabel.h"

namespace {
// APP_STRING_FILE is read into a buffer of this size (29 characters and the terminator).
constexpr DWORD kLanguageValueSize = 30;
}  // namespace

void TMessageBoxForm::Loaded() {
  TEditorBox::Loaded();
  QvBackImage4 = Find<TImage>("QvBackImage4");
  Title = Find<TUcLabel>("Title");
  OkButton = Find<TImButton>("OkButton");
  NoButton = Find<TImButton>("NoButton");
  CancleImButton = Find<TImButton>("CancleImButton");
  ImButton1 = Find<TImButton>("ImButton1");
  AddButton(OkButton, "STR_CloseFrm_OK", 25);
  AddButton(NoButton, "STR_CloseFrm_NO ", 23);
  AddButton(CancleImButton, "STR_TextEdit_Cancle ", 18);
  SetMessageLabel(Title, "STR_CloseFrm_Title");
}

void TMessageBoxForm::setCaption() {
  TEditorBox::setCaption();
  char value[kLanguageValueSize] = {};
  const AnsiString settings = EditorAppFolder() + "App.Config.ini";
  GetPrivateProfileStringA("APP_SECTION", "APP_STRING_FILE", "\\Language\\lan_ENG.ini", value,
                           kLanguageValueSize, settings.c_str());
  const AnsiString language(value);
  if (language == "\\Language\\lan_VIE.ini" || language == "\\Language\\lan_Khmer.ini") {
    OkButton->SetWidth(76);
    NoButton->SetWidth(85);
    CancleImButton->SetWidth(76);
  } else if (language == "\\Language\\lan_ENG.ini") {
    OkButton->SetWidth(74);
    NoButton->SetWidth(74);
    CancleImButton->SetWidth(74);
  }
}

void TMessageBoxForm::OkButtonClick(TObject*) { ModalResult = mrOk; }

void TMessageBoxForm::NoButtonClick(TObject*) { ModalResult = 3; }

void TMessageBoxForm::CancleImButtonClick(TObject*) { ModalResult = mrCancel; }
