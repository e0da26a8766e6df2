// The form library's single-line edit with a UTF-16 window: wide text, selection, hint and
// password character.
#pragma once

#include "platform/forms/TEdit.h"
#include "platform/rtl/WideString.h"

class TUcCustomEdit : public TCustomEdit {
 public:
  explicit TUcCustomEdit(TComponent* owner) : TCustomEdit(owner) {}
  ~TUcCustomEdit() override;
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
  WideChar PasswordChar();
  void SetPasswordChar(WideChar value);
  // The 8-bit forms stay reachable beside the wide ones.
  using TCustomEdit::SetPasswordChar;
  using TCustomEdit::SetSelText;

 protected:
  using TCustomEdit::GetText;
  using TCustomEdit::SetText;
  virtual void SetSelStartW(int value);
  virtual void SetSelLengthW(int value);
  void CreateWindowHandle(const TCreateParams& params) override;
  void CreateWnd() override;
  TActionLinkClass GetActionLinkClass() const override;
  void ActionChange(TObject* sender, bool checkDefaults) override;

 private:
  WideChar passwordChar_ = 0;
};

class TUcEdit : public TUcCustomEdit {
 public:
  explicit TUcEdit(TComponent* owner) : TUcCustomEdit(owner) {}
};
