// The form library's memo with a UTF-16 window and wide lines.
#pragma once

#include <memory>

#include "platform/forms/TMemo.h"
#include "unicode/TUcMemoStrings.h"

class TUcCustomMemo : public TCustomMemo {
 public:
  explicit TUcCustomMemo(TComponent* owner);
  ~TUcCustomMemo() override;
  TUcStrings* Lines() const { return lines_.get(); }
  virtual void SetLines(TUcStrings* value);
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
  WideString GetSelText();
  void SetSelText(const WideString& text);
  void SetSelText(const char16_t* text) { SetSelText(WideString(text)); }
  // The 8-bit forms stay reachable beside the wide ones.
  using TCustomMemo::SetLines;
  using TCustomMemo::SetSelText;

 protected:
  using TCustomMemo::GetText;
  using TCustomMemo::SetText;
  virtual void SetSelStartW(int value);
  virtual void SetSelLengthW(int value);
  void CreateWindowHandle(const TCreateParams& params) override;
  TActionLinkClass GetActionLinkClass() const override;
  void ActionChange(TObject* sender, bool checkDefaults) override;

 private:
  std::unique_ptr<TUcMemoStrings> lines_;
};

class TUcMemo : public TUcCustomMemo {
 public:
  explicit TUcMemo(TComponent* owner) : TUcCustomMemo(owner) {}
};
