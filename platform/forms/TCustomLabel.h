// TCustomLabel: a windowless control that draws its caption on its parent's canvas through the
// platform's DrawText (so every script shapes), aligned left, right or centred, at the top,
// middle or bottom, wrapped or not, with "&" underlining the next letter. With AutoSize it
// takes the size of its text; an Alt+letter press focuses its FocusControl. The Unicode label
// replaces GetLabelText and DoDrawText.
#pragma once

#include "platform/forms/ControlTypes.h"
#include "platform/forms/TGraphicControl.h"

class TWinControl;

class TCustomLabel : public TGraphicControl {
 public:
  explicit TCustomLabel(TComponent* owner);

  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  TTextLayout Layout() const { return layout_; }
  void SetLayout(TTextLayout value);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool value);
  bool Transparent() const { return !(ControlStyle & csOpaque); }
  void SetTransparent(bool value);
  bool ShowAccelChar() const { return showAccelChar_; }
  void SetShowAccelChar(bool value);
  TWinControl* FocusControl() const { return focusControl_; }
  void SetFocusControl(TWinControl* value);
  void SetAutoSize(bool value) override;

  void Dispatch(void* message) override;

 protected:
  // The text drawn; the caption here.
  virtual AnsiString GetLabelText();
  // Draws the text into `rect` with DrawText flags; with DT_CALCRECT measures it instead
  // (an empty text measures one line high).
  virtual void DoDrawText(RECT& rect, UINT flags);
  void Paint() override;
  // With AutoSize: the size of the text (keeping the right edge of a right-aligned label).
  virtual void AdjustBounds();
  void AdjustSize() override { AdjustBounds(); }
  void Loaded() override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  TAlignment alignment_ = taLeftJustify;
  TTextLayout layout_ = tlTop;
  bool wordWrap_ = false;
  bool showAccelChar_ = true;
  TWinControl* focusControl_ = nullptr;
};
