// TValidateEdit: a one-line edit that takes only the characters of a chosen class (integers,
// positive integers, decimals, hexadecimal digits, or a custom set of characters and ranges),
// typed or pasted, inside a frame of its own drawing (normal, flat, ultra-flat with hot and
// focused colours). The outer control draws the frame; a borderless inner edit holds the text
// and filters the keys.
#pragma once

#include <memory>

#include "controls/TControlColorSet.h"
#include "platform/forms/TCustomControl.h"
#include "platform/forms/TEdit.h"

enum TValidateType { vtNone, vtCustom, vtInteger, vtIntegerPs, vtFloat, vtFloatPs, vtHex, vtHexUp, vtHexLo };
enum TQvEditBorderStyle { ebsNone, ebsNormal, ebsFlat, ebsUltraFlat };

// The validating edit's colours: default frame, disabled, focused, hot.
class TValidateEditColors : public TControlColorSet {
 public:
  using TControlColorSet::TControlColorSet;
  // Takes the colours of another edit colour set; any other source is ignored.
  void Assign(TPersistent* source) override;
  TColor DefaultColor() const { return GetColor(0); }
  TColor DisabledColor() const { return GetColor(1); }
  TColor FocusedColor() const { return GetColor(2); }
  TColor HotColor() const { return GetColor(3); }
  void SetDefaultColor(TColor c) { SetColor(0, c); }
  void SetDisabledColor(TColor c) { SetColor(1, c); }
  void SetFocusedColor(TColor c) { SetColor(2, c); }
  void SetHotColor(TColor c) { SetColor(3, c); }
};

// The inner edit: borderless, no tab stop of its own; drops the keys its type does not allow.
class TQvCustomInplaceEdit : public TCustomEdit {
 public:
  explicit TQvCustomInplaceEdit(TComponent* owner);
  TValidateType ValidateType() const { return validateType_; }
  void SetValidateType(TValidateType value);
  const AnsiString& ValidateString() const { return validateString_; }
  void SetValidateString(const AnsiString& value);
  // Whether `key` may go in at the caret now; it may be changed (hexadecimal case).
  bool Accepts(char& key);
  void Dispatch(void* message) override;

  TNotifyEvent OnInnerMouseEnter, OnInnerMouseLeave;

 protected:
  void CreateParams(TCreateParams& params) override;
  bool KeyPress(char& key) override;

 private:
  AnsiString validateString_;
  TValidateType validateType_ = vtNone;
};

class TCustomValidateEdit : public TCustomControl {
 public:
  explicit TCustomValidateEdit(TComponent* owner);
  ~TCustomValidateEdit() override;

  TQvCustomInplaceEdit* InplaceEdit() { return edit_; }
  TValidateType ValidateType() const { return edit_->ValidateType(); }
  void SetValidateType(TValidateType value) { edit_->SetValidateType(value); }
  AnsiString ValidateString() const { return edit_->ValidateString(); }
  void SetValidateString(const AnsiString& value) { edit_->SetValidateString(value); }
  TQvEditBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TQvEditBorderStyle value);
  TValidateEditColors* Colors() { return colors_.get(); }
  void SetColors(TValidateEditColors* value) { colors_->Assign(value); }
  bool IsFocused() const { return focused_; }
  AnsiString Text() const;
  void SetText(const AnsiString& value) override;
  void Clear() { edit_->Clear(); }
  int GetSelTextBuf(char* buffer, int size) { return edit_->GetSelTextBuf(buffer, size); }
  AnsiString SelText() { return edit_->SelText(); }
  void SetSelText(const AnsiString& value) { edit_->SetSelText(value); }
  void Click() override;
  void Dispatch(void* message) override;

  TNotifyEvent OnChange;

 protected:
  void Paint() override;
  void Resize() override;
  void Loaded() override;

 private:
  void EdgeWidthAdj();
  void MouseState(unsigned bit, bool inside);

  TQvCustomInplaceEdit* edit_ = nullptr;
  TQvEditBorderStyle borderStyle_ = ebsNormal;
  bool focused_ = false;
  unsigned mouseBits_ = 0, announced_ = 0;
  std::unique_ptr<TValidateEditColors> colors_;
};

class TValidateEdit : public TCustomValidateEdit {
 public:
  using TCustomValidateEdit::TCustomValidateEdit;
};

void RegisterValidateEdit();
