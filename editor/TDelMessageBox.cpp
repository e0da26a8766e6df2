#include "editor/TDelMessageBox.h"

#include "controls/TImButton.h"
#include "platform/forms/TImage.h"
#include "unicode/TUcLabel.h"

TDelMessageBox* DelMessageBox = nullptr;

void TDelMessageBox::Loaded() {
  TEditorBox::Loaded();
  QvBackImage = Find<TImage>("QvBackImage");
  Save_Label = Find<TUcLabel>("Save_Label");
  OkButton = Find<TImButton>("OkButton");
  CancleImButton = Find<TImButton>("CancleImButton");
  ImButton1 = Find<TImButton>("ImButton1");
  AddButton(OkButton, "STR_Mivora_YES ", 20);
  AddButton(CancleImButton, "STR_CloseFrm_Cancel ", 10);
  SetMessageLabel(Save_Label, "STR_Mivora_DelHint");
}

void TDelMessageBox::OkButtonClick(TObject*) { ModalResult = mrOk; }

void TDelMessageBox::CancleImButtonClick(TObject*) { ModalResult = mrCancel; }
