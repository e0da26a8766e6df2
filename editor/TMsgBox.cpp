#include "editor/TMsgBox.h"

#include <memory>

#include "controls/TImButton.h"
#include "platform/forms/TApplication.h"
#include "platform/forms/TImage.h"
#include "platform/forms/TLabel.h"

TMsgBox* MsgBox = nullptr;

void TMsgBox::Loaded() {
  TEditorBox::Loaded();
  Backimg = Find<TImage>("Backimg");
  Boxlab = Find<TLabel>("Boxlab");
  OkButton = Find<TImButton>("OkButton");
  ImButton2 = Find<TImButton>("ImButton2");
  AddButton(OkButton, "STR_Mivora_YES ", 20);
  SetMessageLabel(Boxlab, "STR_Main_Error_OnePage");
}

void TMsgBox::OkButtonClick(TObject*) { Close(); }

void ShowMsgBox(const AnsiString& key) {
  std::unique_ptr<TMsgBox> box(NewBox<TMsgBox>(Application ? Application->MainForm : nullptr));
  box->SetMessageKey(key);
  box->ShowModal();
}
