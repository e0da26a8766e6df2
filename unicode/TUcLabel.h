// The form library's label with a UTF-16 caption and hint, drawn with the wide text call.
#pragma once

#include "platform/forms/TCustomLabel.h"
#include "platform/rtl/WideString.h"

class TUcCustomLabel : public TCustomLabel {
 public:
  explicit TUcCustomLabel(TComponent* owner) : TCustomLabel(owner) {}
  WideString Caption();
  void SetCaption(const WideString& text);
  WideString Hint();
  void SetHint(const WideString& text);
  void Dispatch(void* message) override;

 protected:
  // The UTF-16 text the label draws (its caption).
  virtual WideString GetWideLabelText();
  void DoDrawText(RECT& rect, UINT flags) override;
  TActionLinkClass GetActionLinkClass() const override;
  void ActionChange(TObject* sender, bool checkDefaults) override;
};

class TUcLabel : public TUcCustomLabel {
 public:
  explicit TUcLabel(TComponent* owner) : TUcCustomLabel(owner) {}
};

// Draws `text` as the label draws its caption; false (nothing drawn) on an 8-bit system.
bool UcLabel_DoDrawText(TCustomLabel* label, RECT& rect, UINT flags, const WideString& text);
// Alt with the caption's hotkey focuses the label's FocusControl; true when it did.
bool UcLabel_CMDialogChar(TCustomLabel* label, TMessage& message, const WideString& caption);
