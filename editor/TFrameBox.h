// TFrameBox: the warning that a message already holds as many slides as it may. OK and the
// close button close it (2).
#pragma once

#include "editor/TEditorBox.h"

class TImage;

class TFrameBox : public TEditorBox {
 public:
  using TEditorBox::TEditorBox;

  TImage* Backimg = nullptr;
  TLabel* Box_Label = nullptr;
  TImButton* OkButton = nullptr;
  TImButton* ImButton2 = nullptr;

  void OkButtonClick(TObject* sender);

 protected:
  void Loaded() override;
};

// The instance start-up makes (never shown; every use makes a box of its own).
extern TFrameBox* FrameBox;
