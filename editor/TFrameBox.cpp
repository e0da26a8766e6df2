#include "editor/TFrameBox.h"

#include "controls/TImButton.h"
#include "platform/forms/TImage.h"
#include "platform/forms/TLabel.h"

TFrameBox* FrameBox = nullptr;

void TFrameBox::Loaded() {
  TEditorBox::Loaded();
  Backimg = Find<TImage>("Backimg");
  Box_Label = Find<TLabel>("Box_Label");
  OkButton = Find<TImButton>("OkButton");
  ImButton2 = Find<TImButton>("ImButton2");
  AddButton(OkButton, "STR_Mivora_YES ", 20);
  SetMessageLabel(Box_Label, "STR_Main_Error_Page");
}

void TFrameBox::OkButtonClick(TObject*) { Close(); }
