// What the layer's edit and memo add to the form library's edit controls, written once: a UTF-16
// window with wide text, hint, selection and selected text, and actions that carry wide
// captions and hints. `Base` is TCustomEdit or TCustomMemo.
#pragma once

#include "platform/rtl/WideString.h"
#include "unicode/UcActions.h"
#include "unicode/UcControls.h"
#include "unicode/UcCustomEdit.h"

template <class Base>
class TUcEditOf : public Base {
 public:
  explicit TUcEditOf(TComponent* owner) : Base(owner) {}
  WideString GetText() { return Text(); }
  WideString Text() { return UcControl_GetText(this); }
  void SetText(const WideString& text) { UcControl_SetText(this, text); }
  void SetText(const char16_t* text) { SetText(WideString(text)); }
  WideString Hint() { return UcControl_GetHint(this); }
  void SetHint(const WideString& text) { UcControl_SetHint(this, text); }
  int SelStart() override { return GetSelStart(); }
  void SetSelStart(int value) override { SetSelStartW(value); }
  int SelLength() override { return GetSelLength(); }
  void SetSelLength(int value) override { SetSelLengthW(value); }
  virtual int GetSelStart() { return UcCustomEdit_GetSelStart(this); }
  virtual int GetSelLength() { return UcCustomEdit_GetSelLength(this); }
  virtual WideString GetSelText() { return UcCustomEdit_GetSelText(this); }
  void SetSelText(const WideString& text) { UcCustomEdit_SetSelText(this, text); }
  void SetSelText(const char16_t* text) { SetSelText(WideString(text)); }
  // The 8-bit form stays reachable beside the wide one.
  using Base::SetSelText;

 protected:
  using Base::GetText;
  using Base::SetText;
  virtual void SetSelStartW(int value) { UcCustomEdit_SetSelStart(this, value); }
  virtual void SetSelLengthW(int value) { UcCustomEdit_SetSelLength(this, value); }
  void CreateWindowHandle(const TCreateParams& params) override {
    UcCustomEdit_CreateWindowHandle(this, params);
  }
  TActionLinkClass GetActionLinkClass() const override {
    return UcControl_GetActionLinkClass(const_cast<TUcEditOf*>(this), Base::GetActionLinkClass());
  }
  void ActionChange(TObject* sender, bool checkDefaults) override {
    UcControl_BeforeInherited_ActionChange(this, sender, checkDefaults);
    Base::ActionChange(sender, checkDefaults);
  }
};
