#include "editor/TOneButtonBox.h"

#include "controls/TImButton.h"
#include "platform/forms/TImage.h"
#include "unicode/TUcLabel.h"

TUcLabel* TOneButtonBox::LoadedWithLabel(const char* labelName, const char* defaultKey) {
  TEditorBox::Loaded();
  Backimg = Find<TImage>("Backimg");
  OkButton = Find<TImButton>("OkButton");
  ImButton2 = Find<TImButton>("ImButton2");
  AddButton(OkButton, "STR_Mivora_YES ", 20);
  auto* label = Find<TUcLabel>(labelName);
  SetMessageLabel(label, defaultKey);
  return label;
}

void TOneButtonBox::OkButtonClick(TObject*) { Close(); }
