// TDelMessageBox: asks before a slide, or a part of one, is deleted: OK (1) deletes, Cancel or
// the close button (2) keeps it. Its message is "delete this slide" unless the caller sets the
// key of another.
#pragma once

#include "editor/TEditorBox.h"

class TImage;

class TDelMessageBox : public TEditorBox {
 public:
  using TEditorBox::TEditorBox;

  TImage* QvBackImage = nullptr;
  TUcLabel* Save_Label = nullptr;
  TImButton* OkButton = nullptr;
  TImButton* CancleImButton = nullptr;
  TImButton* ImButton1 = nullptr;

  void OkButtonClick(TObject* sender);
  void CancleImButtonClick(TObject* sender);

 protected:
  void Loaded() override;
};

// The instance start-up makes (never shown; every use makes a box of its own).
extern TDelMessageBox* DelMessageBox;
