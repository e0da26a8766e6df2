// TValidateEdit: a one-line edit that takes only the characters of a chosen class (integers,
// positive integers, decimals, hexadecimal digits, or a custom set of characters and ranges),
// typed or pasted, inside a frame of its own drawing (normal, flat, ultra-flat with hot and
// focused colours). The outer control draws the frame; a borderless inner edit holds the text
// and filters the keys.
#pragma once

#include <memory>
#include <string>

#include "controls/TControlColorSet.h"
#include "platform/forms/TCustomControl.h"
#include "platform/forms/TEdit.h"

enum TValidateType { vtNone, vtCustom, vtInteger, vtIntegerPs, vtFloat, vtFloatPs, vtHex, vtHexUp, vtHexLo };
enum TQvEditBorderStyle { ebsNone, ebsNormal, ebsFlat, ebsUltraFlat };
enum TImeMode { imDisable, imClose, imOpen, imDontCare, imSAlpha, imAlpha, imHira, imSKata, imKata, imChinese,
                imSHanguel, imHanguel };

// The edit state a character is judged against: the text, the caret and the selection (bytes).
struct TValidateState {
  std::string Text;
  int SelStart = 0, SelLength = 0;
};

// Whether the whole character `ch` (one byte, or the bytes of one character of the system code
// page) may go in at the state's caret under `type`; hexadecimal types may change its case.
// Control characters always pass; only vtCustom takes characters beyond ASCII.
bool ValidateCharacter(TValidateType type, const std::string& validateString, const TValidateState& state,
                       std::string& ch);
// The characters of `pasted` that survive the filter, each judged against the text as it would
// be after the ones kept before it; the paste ends at the first line break, control characters
// are dropped and the text grows to at most `maxLength` bytes (0: no limit).
std::string FilterPaste(TValidateType type, const std::string& validateString, const TValidateState& state,
                        const std::string& pasted, int maxLength);

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
  // The same for a whole character of the system code page.
  bool AcceptsCharacter(std::string& ch);
  void Dispatch(void* message) override;

  TNotifyEvent OnInnerMouseEnter, OnInnerMouseLeave;

 protected:
  void CreateParams(TCreateParams& params) override;
  bool KeyPress(char& key) override;

 private:
  TValidateState State();

  AnsiString validateString_;
  TValidateType validateType_ = vtNone;
  std::string pending_;  // the first bytes of a character still being typed
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
  // Kept for layouts; this desktop's input methods follow the focused window on their own.
  TImeMode ImeMode() const { return imeMode_; }
  void SetImeMode(TImeMode value) { imeMode_ = value; }
  AnsiString ImeName() const { return imeName_; }
  void SetImeName(const AnsiString& value) { imeName_ = value; }
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
  TImeMode imeMode_ = imDontCare;
  AnsiString imeName_;
};

class TValidateEdit : public TCustomValidateEdit {
 public:
  using TCustomValidateEdit::TCustomValidateEdit;
};

void RegisterValidateEdit();
