// TMessageBoxForm: the close question. Keep the changed message as a draft and close the editor
// (OK, 1), close without keeping it (No, 3), or stay (Cancel or the close button, 2). The
// buttons' widths follow the language named in the settings file.
#pragma once

#include "editor/TEditorBox.h"

class TImage;

class TMessageBoxForm : public TEditorBox {
 public:
  using TEditorBox::TEditorBox;

  TImage* QvBackImage4 = nullptr;
  TUcLabel* Title = nullptr;
  TImButton* OkButton = nullptr;
  TImButton* NoButton = nullptr;
  TImButton* CancleImButton = nullptr;
  TImButton* ImButton1 = nullptr;

  // Also sets the buttons' widths: 76, 85, 76 for the Vietnamese and Khmer files, 74 each for
  // the English one (also when the settings name none); the layout's for any other name.
  void setCaption() override;

  void OkButtonClick(TObject* sender);
  void NoButtonClick(TObject* sender);
  void CancleImButtonClick(TObject* sender);

 protected:
  void Loaded() override;
};
