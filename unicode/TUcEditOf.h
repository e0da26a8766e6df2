// What the layer's edit and memo add to the form library's edit controls, written once: a UTF-16
// window with wide text, hint, selection and selected text, and actions that carry wide
// captions and hints. `Base` is TCustomEdit or TCustomMemo; both are made in TUcEditOf.cpp.
#pragma once

#include "platform/forms/TEdit.h"
#include "platform/forms/TMemo.h"
#include "platform/rtl/WideString.h"

template <class Base>
class TUcEditOf : public Base {
 public:
  explicit TUcEditOf(TComponent* owner) : Base(owner) {}
  WideString GetText() { return Text(); }
  WideString Text();
  void SetText(const WideString& text);
  void SetText(const char16_t* text) { SetText(WideString(text)); }
  WideString Hint();
  void SetHint(const WideString& text);
  int SelStart() override { return GetSelStart(); }
  void SetSelStart(int value) override { SetSelStartW(value); }
  int SelLength() override { return GetSelLength(); }
  void SetSelLength(int value) override { SetSelLengthW(value); }
  virtual int GetSelStart();
  virtual int GetSelLength();
  virtual WideString GetSelText();
  void SetSelText(const WideString& text);
  void SetSelText(const char16_t* text) { SetSelText(WideString(text)); }
  // The 8-bit form stays reachable beside the wide one.
  using Base::SetSelText;

 protected:
  using Base::GetText;
  using Base::SetText;
  virtual void SetSelStartW(int value);
  virtual void SetSelLengthW(int value);
  void CreateWindowHandle(const TCreateParams& params) override;
  TActionLinkClass GetActionLinkClass() const override;
  void ActionChange(TObject* sender, bool checkDefaults) override;
};

extern template class TUcEditOf<TCustomEdit>;
extern template class TUcEditOf<TCustomMemo>;
