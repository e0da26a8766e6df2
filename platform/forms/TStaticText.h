// TCustomStaticText and TStaticText: a text over the system "STATIC" class, a window of its own
// (unlike a label), so it can take a mnemonic for another control (FocusControl). With AutoSize
// it takes the size of its caption plus two border widths on each side, after creation, after
// loading and after font and text changes. The Unicode static text derives from it.
#pragma once

#include "platform/controls/Controls.h"
#include "platform/forms/ControlTypes.h"
#include "platform/forms/TWinControl.h"

enum TStaticBorderStyle { sbsNone, sbsSingle, sbsSunken };

class TCustomStaticText : public TWinControl {
 public:
  explicit TCustomStaticText(TComponent* owner);

  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool value) override;
  TStaticBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TStaticBorderStyle value);
  TWinControl* FocusControl() const { return focusControl_; }
  void SetFocusControl(TWinControl* value);
  bool ShowAccelChar() const { return showAccelChar_; }
  void SetShowAccelChar(bool value);

  void Dispatch(void* message) override;
  void Loaded() override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void Notification(TComponent* component, TOperation operation) override;
  virtual void AdjustBounds();

 private:
  TAlignment alignment_ = taLeftJustify;
  bool autoSize_ = true;
  TStaticBorderStyle borderStyle_ = sbsNone;
  TWinControl* focusControl_ = nullptr;
  bool showAccelChar_ = true;
};

class TStaticText : public TCustomStaticText {
 public:
  explicit TStaticText(TComponent* owner) : TCustomStaticText(owner) {}
};
