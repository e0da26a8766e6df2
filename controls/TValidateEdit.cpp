#include "controls/TValidateEdit.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/forms/ClassRegistry.h"
#include "platform/forms/FormMessages.h"
#include "platform/forms/TClipboard.h"
#include "platform/rtl/CodePage.h"
#include "platform/rtl/StringRoutines.h"

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHex(char c) { return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

// The bytes of the character a byte of the system code page begins.
std::size_t CharBytes(unsigned char lead) {
  if (GetACP() == CP_UTF8) return lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 1;
  return IsDBCSLeadByte(lead) ? 2 : 1;
}

// The characters of 8-bit text of the system code page as code points; bytes that make no
// character give U+FFFD.
std::u32string CodePoints(const std::string& text) {
  std::u32string out;
  if (text.empty()) return out;
  const int n = static_cast<int>(text.size());
  std::u16string units(static_cast<std::size_t>(n) + 1, u'\0');
  const int got = MultiByteToWideChar(CP_ACP, 0, text.data(), n, units.data(), n + 1);
  for (int i = 0; i < got; ++i) {
    const char16_t u = units[i];
    if (u >= 0xD800 && u <= 0xDBFF && i + 1 < got && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF) {
      out += static_cast<char32_t>(0x10000 + ((u - 0xD800) << 10) + (units[i + 1] - 0xDC00));
      ++i;
    } else {
      out += u;
    }
  }
  return out;
}

// The custom set: single characters and ranges "a-f", read left to right, in whole characters.
bool InCustomSet(const std::string& set, const std::string& ch) {
  const std::u32string c = CodePoints(ch);
  if (c.size() != 1 || (c[0] == 0xFFFD && ch != "\xEF\xBF\xBD")) return false;
  const std::u32string entries = CodePoints(set);
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (i + 2 < entries.size() && entries[i + 1] == U'-') {
      if (c[0] >= entries[i] && c[0] <= entries[i + 2]) return true;
      i += 2;
    } else if (entries[i] == c[0]) {
      return true;
    }
  }
  return false;
}

}  // namespace

bool ValidateCharacter(TValidateType type, const std::string& validateString, const TValidateState& state,
                       std::string& ch) {
  if (ch.empty()) return false;
  if (ch.size() == 1 && static_cast<unsigned char>(ch[0]) < 32) return true;
  if (type == vtNone) return true;
  if (type == vtCustom) return InCustomSet(validateString, ch);
  if (ch.size() != 1) return false;  // every other type is ASCII
  char& key = ch[0];
  const AnsiString trimmed = Trim(AnsiString(state.Text));
  const std::string& text = trimmed.ToStd();
  const bool leadingMinus = !text.empty() && text[0] == '-';
  // Nothing goes in front of the minus sign: a caret at 0 without a selection would put it there.
  const bool beforeSign = state.SelStart == 0 && state.SelLength == 0 && leadingMinus;
  auto integer = [&](char c) {
    if (IsDigit(c)) return !beforeSign;
    if (c == '-') return state.SelStart == 0 && (state.SelLength > 0 || !leadingMinus);
    return false;
  };
  auto dot = [&] {
    const std::size_t from =
        std::min<std::size_t>(static_cast<std::size_t>(std::max(state.SelStart, 0)), state.Text.size());
    const std::string selected =
        state.Text.substr(from, static_cast<std::size_t>(std::max(state.SelLength, 0)));
    return !beforeSign && (selected.find('.') != std::string::npos || text.find('.') == std::string::npos);
  };
  switch (type) {
    case vtInteger:
      return integer(key);
    case vtIntegerPs:
      return IsDigit(key);
    case vtFloat:
      return key == '.' ? dot() : integer(key);
    case vtFloatPs:
      return key == '.' ? dot() : IsDigit(key);
    case vtHexUp:
      if (key >= 'a' && key <= 'z') key = static_cast<char>(key - 'a' + 'A');
      return IsHex(key);
    case vtHexLo:
      if (key >= 'A' && key <= 'Z') key = static_cast<char>(key - 'A' + 'a');
      return IsHex(key);
    case vtHex:
      return IsHex(key);
    default:
      return false;
  }
}

std::string FilterPaste(TValidateType type, const std::string& validateString, const TValidateState& state,
                        const std::string& pasted, int maxLength) {
  const std::string line = pasted.substr(0, std::min(pasted.size(), pasted.find_first_of("\r\n")));
  TValidateState now = state;
  now.SelStart = std::clamp(now.SelStart, 0, static_cast<int>(now.Text.size()));
  now.SelLength = std::clamp(now.SelLength, 0, static_cast<int>(now.Text.size()) - now.SelStart);
  std::string kept;
  for (std::size_t i = 0; i < line.size();) {
    const std::size_t n = std::min(CharBytes(static_cast<unsigned char>(line[i])), line.size() - i);
    std::string ch = line.substr(i, n);
    i += n;
    if (ch.size() == 1 && static_cast<unsigned char>(ch[0]) < 32) continue;
    const std::size_t after = now.Text.size() - static_cast<std::size_t>(now.SelLength) + ch.size();
    if (maxLength > 0 && after > static_cast<std::size_t>(maxLength)) break;
    if (!ValidateCharacter(type, validateString, now, ch)) continue;
    kept += ch;
    now.Text.replace(static_cast<std::size_t>(now.SelStart), static_cast<std::size_t>(now.SelLength), ch);
    now.SelStart += static_cast<int>(ch.size());
    now.SelLength = 0;
  }
  return kept;
}

// ---- inner edit

TQvCustomInplaceEdit::TQvCustomInplaceEdit(TComponent* owner) : TCustomEdit(owner) {
  SetBorderStyle(bsNone);
  TabStop = false;
}

void TQvCustomInplaceEdit::CreateParams(TCreateParams& params) {
  TCustomEdit::CreateParams(params);
  params.Style &= ~static_cast<DWORD>(WS_TABSTOP);
}

void TQvCustomInplaceEdit::SetValidateType(TValidateType value) {
  validateType_ = value;
  if (value != vtCustom) validateString_ = AnsiString();
}

void TQvCustomInplaceEdit::SetValidateString(const AnsiString& value) {
  validateString_ = value;
  if (!value.IsEmpty()) validateType_ = vtCustom;
}

TValidateState TQvCustomInplaceEdit::State() {
  return TValidateState{Text().ToStd(), SelStart(), SelLength()};
}

bool TQvCustomInplaceEdit::Accepts(char& key) {
  std::string ch(1, key);
  const bool ok = ValidateCharacter(validateType_, validateString_.ToStd(), State(), ch);
  key = ch[0];
  return ok;
}

bool TQvCustomInplaceEdit::AcceptsCharacter(std::string& ch) {
  return ValidateCharacter(validateType_, validateString_.ToStd(), State(), ch);
}

bool TQvCustomInplaceEdit::KeyPress(char& key) {
  const unsigned char u = static_cast<unsigned char>(key);
  if (u < 0x80) pending_.clear();
  if (u >= 0x80 && validateType_ == vtCustom) {
    // A character of several bytes arrives a byte at a time: it is judged whole, then put in.
    pending_ += key;
    key = 0;
    if (pending_.size() < CharBytes(static_cast<unsigned char>(pending_[0]))) return true;
    std::string ch;
    ch.swap(pending_);
    const int room = MaxLength() > 0 ? MaxLength() - (Text().Length() - SelLength()) : INT32_MAX;
    if (!ReadOnly() && static_cast<int>(ch.size()) <= room && AcceptsCharacter(ch))
      SetSelText(AnsiString(ch));
    return true;
  }
  if (!Accepts(key)) key = 0;
  if (key == 0) return true;
  return TCustomEdit::KeyPress(key);
}

void TQvCustomInplaceEdit::Dispatch(void* message) {
  auto& m = *static_cast<TMessage*>(message);
  switch (m.Msg) {
    case WM_PASTE:
      if (!ReadOnly() && validateType_ != vtNone) {
        const std::string kept = FilterPaste(validateType_, validateString_.ToStd(), State(),
                                             Clipboard()->AsText().ToStd(), MaxLength());
        if (!kept.empty()) SetSelText(AnsiString(kept));
        return;
      }
      break;
    case WM_SETFOCUS:
      TCustomEdit::Dispatch(message);
      if (auto* outer = dynamic_cast<TCustomQvFramedEdit*>(Parent())) outer->InnerFocused();
      if (AutoSelect()) SelectAll();
      return;
    case CM_MOUSEENTER:
      if (m.LParam == 0 || m.LParam == reinterpret_cast<LPARAM>(this)) {
        if (OnInnerMouseEnter) OnInnerMouseEnter(this);
      }
      break;
    case CM_MOUSELEAVE:
      if (m.LParam == 0 || m.LParam == reinterpret_cast<LPARAM>(this)) {
        if (OnInnerMouseLeave) OnInnerMouseLeave(this);
      }
      break;
  }
  TCustomEdit::Dispatch(message);
}

// ---- outer control

TCustomValidateEdit::TCustomValidateEdit(TComponent* owner) : TCustomQvFramedEdit(owner) {
  SetBounds(Left(), Top(), 121, 21);
  edit_ = new TQvCustomInplaceEdit(this);
  edit_->OnInnerMouseEnter = [this](TObject*) { InnerMouse(true); };
  edit_->OnInnerMouseLeave = [this](TObject*) { InnerMouse(false); };
  AttachInner(edit_);
}

void RegisterValidateEdit() {
  static bool done = false;
  if (done) return;
  done = true;
  static const std::vector<std::string> typeNames{"vtNone",      "vtCustom", "vtInteger",
                                                  "vtIntegerPs", "vtFloat",  "vtFloatPs",
                                                  "vtHex",       "vtHexUp",  "vtHexLo"};
  static const std::vector<std::string> borderNames{"ebsNone", "ebsNormal", "ebsFlat", "ebsUltraFlat"};
  RegisterValidateEditColors();
  static const std::vector<std::string> charCaseNames{"ecNormal", "ecUpperCase", "ecLowerCase"};
  static const std::vector<std::string> imeNames{"imDisable", "imClose",   "imOpen",     "imDontCare",
                                                 "imSAlpha",  "imAlpha",   "imHira",     "imSKata",
                                                 "imKata",    "imChinese", "imSHanguel", "imHanguel"};
  using T = TValidateEdit;
  auto inner = [](T& t) { return t.InplaceEdit(); };
  // OnKeyDown, OnKeyPress and OnKeyUp are the outer control's (registered with every windowed
  // control); the inner edit passes its keys to them.
  RegisterProperties<T>("TValidateEdit", "TCustomControl", Factory<T>())
      .Enum("ValidateType", &T::ValidateType, &T::SetValidateType, vtNone, &typeNames)
      .Str("ValidateString", &T::ValidateString, &T::SetValidateString)
      .Object("Colors", &T::Colors)
      .Event("OnMouseEnter", static_cast<TNotifyEvent T::*>(&T::OnMouseEnter))
      .Event("OnMouseLeave", static_cast<TNotifyEvent T::*>(&T::OnMouseLeave))
      .Enum("BorderStyle", &T::BorderStyle, &T::SetBorderStyle, ebsNormal, &borderNames)
      .Bool(
          "AutoSelect", [=](T& t) { return inner(t)->AutoSelect(); },
          [=](T& t, bool v) { inner(t)->SetAutoSelect(v); }, true)
      .Enum(
          "CharCase", [=](T& t) { return inner(t)->CharCase(); },
          [=](T& t, TEditCharCase v) { inner(t)->SetCharCase(v); }, ecNormal, &charCaseNames)
      .Bool(
          "HideSelection", [=](T& t) { return inner(t)->HideSelection(); },
          [=](T& t, bool v) { inner(t)->SetHideSelection(v); }, true)
      .Enum("ImeMode", &T::ImeMode, &T::SetImeMode, imDontCare, &imeNames)
      .Str("ImeName", &T::ImeName, &T::SetImeName)
      .Int(
          "MaxLength", [=](T& t) { return inner(t)->MaxLength(); },
          [=](T& t, int v) { inner(t)->SetMaxLength(v); }, 0)
      .Bool(
          "OEMConvert", [=](T& t) { return inner(t)->OEMConvert(); },
          [=](T& t, bool v) { inner(t)->SetOEMConvert(v); }, false)
      .Str(
          "PasswordChar",
          [=](T& t) {
            const char c = inner(t)->PasswordChar();
            return c ? AnsiString(std::string(1, c)) : AnsiString();
          },
          [=](T& t, const AnsiString& v) { inner(t)->SetPasswordChar(v.IsEmpty() ? '\0' : v.c_str()[0]); })
      .Bool(
          "ReadOnly", [=](T& t) { return inner(t)->ReadOnly(); },
          [=](T& t, bool v) { inner(t)->SetReadOnly(v); }, false)
      .Str("Text", &T::Text, &T::SetText)
      .Event("OnChange", static_cast<TNotifyEvent T::*>(&T::OnChange));
}
