// TOneButtonBox: a warning with a single OK button; OK and the close button close it (2). Its
// subclasses name the message label and its default message.
#pragma once

#include "editor/TEditorBox.h"

class TImage;

class TOneButtonBox : public TEditorBox {
 public:
  using TEditorBox::TEditorBox;

  TImage* Backimg = nullptr;
  TImButton* OkButton = nullptr;
  TImButton* ImButton2 = nullptr;

  void OkButtonClick(TObject* sender);

 protected:
  // Finds the controls the layout must have, the message label among them.
  TUcLabel* LoadedWithLabel(const char* labelName, const char* defaultKey);
};
