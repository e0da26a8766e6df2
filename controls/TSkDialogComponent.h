// TSkDialogComponent: the base of the control library's dialog components: where the dialog
// appears (centred on its owner form, or by Position at OriginLeft / OriginTop), its font, size,
// frame and the captions of its OK, Cancel and Help buttons.
#pragma once

#include <memory>

#include "controls/FrameDrawing.h"
#include "platform/forms/TFont.h"
#include "platform/forms/TForm.h"

enum TFramingPreference { fpCustomFraming, fpXPThemes };

class TSkDialogComponent : public TComponent {
 public:
  explicit TSkDialogComponent(TComponent* owner);
  ~TSkDialogComponent() override;

  bool CenterToParent() const { return centerToParent_; }
  // True centres the dialog on its owner form (poOwnerFormCenter), false on the screen.
  void SetCenterToParent(bool value);
  int OriginLeft() const { return originLeft_; }
  void SetOriginLeft(int value) { originLeft_ = value; }
  int OriginTop() const { return originTop_; }
  void SetOriginTop(int value) { originTop_ = value; }
  TPosition Position() const { return position_; }
  void SetPosition(TPosition value) { position_ = value; }
  TFont* Font() { return font_.get(); }
  void SetFont(TFont* value) { font_->Assign(value); }

  int Height = 300, Width = 350;
  int BorderStyle = 2;
  int HelpContext = 0;
  TColor FrameColor = clBtnShadow;
  TFrameStyleEx FrameStyle = fsFlat;
  bool FrameVisible = false;
  TFramingPreference FramingPreference = fpXPThemes;
  AnsiString OKCaption = "OK", CancelCaption = "Cancel", HelpCaption = "&Help";

  // Gives `form` the dialog's position (and its origin for a designed position).
  void CenterForm(TCustomForm* form);

 private:
  bool centerToParent_ = false;
  int originLeft_ = 100, originTop_ = 100;
  TPosition position_ = poScreenCenter;
  std::unique_ptr<TFont> font_;
};

// Registers the class and its properties for form layouts.
void RegisterSkDialogComponent();
