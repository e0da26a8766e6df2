// The skin demo: one form built from its layout resource (resources/forms/TSkinDemo.layout) that
// holds every skinned control: the push button in its six looks and as picture strips that write
// their own captions, background pictures in their four styles, a panel of state images, the
// transparent and the bevelled panels, validating edits, a link label, bordered rich edits and
// track bars of every thumb style. Its pictures are drawn by tools/gen-skin-demo and compiled in.
// The demo program shows it on the desktop; the skin tests and the desktop road drive the same
// form.
#pragma once

#include <string>

#include "controls/TImButton.h"
#include "controls/TImImage.h"
#include "controls/TImPanel.h"
#include "controls/TQvBackImage.h"
#include "controls/TQvRichEdit.h"
#include "controls/TQvUrlLabel.h"
#include "controls/TSkMenuController.h"
#include "controls/TSkTrackBar.h"
#include "controls/TTarnelPanel.h"
#include "controls/TValidateEdit.h"
#include "platform/forms/TForm.h"
#include "platform/forms/TLabel.h"
#include "platform/forms/TPopupMenu.h"

class TSkinDemo : public TForm {
 public:
  explicit TSkinDemo(TComponent* owner) : TForm(owner) {}

  // The components the layout made, found by name once it is read.
  TImButton* PictureButton = nullptr;
  TImButton* VietButton = nullptr;
  TImButton* KhmerButton = nullptr;
  TLabel* Status = nullptr;
  TImPanel* ImagePanel = nullptr;
  TValidateEdit* IntEdit = nullptr;
  TQvUrlLabel* Link = nullptr;
  TSkTrackBar* Track1 = nullptr;
  TPopupMenu* DemoMenu = nullptr;
  TSkMenuController* MenuSkin = nullptr;

  void FormCreate(TObject* sender);
  // Every button: the status line names the last one clicked ("Click: XPButton").
  void ButtonClick(TObject* sender);
  // The picture-strip buttons write their caption over the strip's frame.
  void StripOwnerDraw(TObject* sender, TCanvas* canvas, const RECT& rect, int status, int& counter);
  // Every track bar: the status line shows its name and position ("Track1: 42").
  void TrackChange(TObject* sender);
  void ImageStatusChanged(TObject* sender, int newStatus, int oldStatus);

 private:
  void Say(const std::string& text);
};

// Registers the skinned controls, the demo's form class and its handlers with the layout reader.
void RegisterSkinDemo();
