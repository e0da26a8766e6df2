// TValidateEdit: a one-line edit that takes only the characters of a chosen class (integers,
// positive integers, decimals, hexadecimal digits, or a custom set of characters and ranges),
// typed or pasted, inside a frame of its own drawing (normal, flat, ultra-flat with hot and
// focused colours). The outer control draws the frame; a borderless inner edit holds the text
// and filters the keys.
#pragma once

#include <memory>
#include <string>

#include "controls/TCustomQvFramedEdit.h"
#include "platform/forms/TEdit.h"

enum TValidateType { vtNone, vtCustom, vtInteger, vtIntegerPs, vtFloat, vtFloatPs, vtHex, vtHexUp, vtHexLo };
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

class TCustomValidateEdit : public TCustomQvFramedEdit {
 public:
  explicit TCustomValidateEdit(TComponent* owner);

  TQvCustomInplaceEdit* InplaceEdit() { return edit_; }
  TValidateType ValidateType() const { return edit_->ValidateType(); }
  void SetValidateType(TValidateType value) { edit_->SetValidateType(value); }
  AnsiString ValidateString() const { return edit_->ValidateString(); }
  void SetValidateString(const AnsiString& value) { edit_->SetValidateString(value); }
  void Clear() { edit_->Clear(); }
  int GetSelTextBuf(char* buffer, int size) { return edit_->GetSelTextBuf(buffer, size); }
  AnsiString SelText() { return edit_->SelText(); }
  void SetSelText(const AnsiString& value) { edit_->SetSelText(value); }

 private:
  TQvCustomInplaceEdit* edit_ = nullptr;
};

class TValidateEdit : public TCustomValidateEdit {
 public:
  using TCustomValidateEdit::TCustomValidateEdit;
};

void RegisterValidateEdit();
