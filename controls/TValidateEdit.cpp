#include "controls/TValidateEdit.h"

#include <string>
#include <vector>

#include "controls/FrameDrawing.h"
#include "platform/forms/ClassRegistry.h"
#include "platform/forms/FormMessages.h"
#include "platform/forms/TClipboard.h"
#include "platform/rtl/StringRoutines.h"

namespace {

constexpr unsigned kOverEdit = 1, kOverFrame = 0x8000;

int BorderWidth(TQvEditBorderStyle s) {
  switch (s) {
    case ebsNormal:
      return 2;
    case ebsFlat:
      return 1;
    case ebsUltraFlat:
      return 2;
    default:
      return 0;
  }
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHex(char c) { return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

// The custom set: single characters and ranges "a-f", read left to right.
bool InCustomSet(const std::string& set, char c) {
  for (std::size_t i = 0; i < set.size(); ++i) {
    if (i + 2 < set.size() && set[i + 1] == '-') {
      if (c >= set[i] && c <= set[i + 2]) return true;
      i += 2;
    } else if (set[i] == c) {
      return true;
    }
  }
  return false;
}

// c + (target - c) / parts for each of red, green and blue, truncated toward zero.
TColor Toward(TColor base, TColor target, int parts) {
  const COLORREF c = ColorToRGB(base), t = ColorToRGB(target);
  auto mix = [&](int shift) {
    const int a = static_cast<int>((c >> shift) & 0xFF), b = static_cast<int>((t >> shift) & 0xFF);
    return a + (b - a) / parts;
  };
  return static_cast<TColor>(mix(0) | (mix(8) << 8) | (mix(16) << 16));
}

TColor Or(TColor set, TColor fallback) { return set == clDefault ? fallback : set; }

}  // namespace

// ---- colours

void TValidateEditColors::Assign(TPersistent* source) {
  if (auto* other = dynamic_cast<TValidateEditColors*>(source)) CopyColors(*other);
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

bool TQvCustomInplaceEdit::Accepts(char& key) {
  const unsigned char u = static_cast<unsigned char>(key);
  if (u < 32) return true;
  const AnsiString trimmed = Trim(Text());
  const std::string& text = trimmed.ToStd();
  const int selStart = SelStart(), selLength = SelLength();
  const AnsiString selectedText = SelText();
  const std::string& selected = selectedText.ToStd();
  const bool leadingMinus = !text.empty() && text[0] == '-';
  auto integer = [&](char c) {
    if (IsDigit(c)) return !(selStart == 0 && selLength == 0 && leadingMinus);
    if (c == '-') return selStart == 0 && (selLength > 0 || !leadingMinus);
    return false;
  };
  auto dot = [&] { return selected.find('.') != std::string::npos || text.find('.') == std::string::npos; };
  switch (validateType_) {
    case vtNone:
      return true;
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
    case vtCustom:
      return InCustomSet(validateString_.ToStd(), key);
  }
  return false;
}

bool TQvCustomInplaceEdit::KeyPress(char& key) {
  if (!Accepts(key)) key = 0;
  if (key == 0) return true;
  return TCustomEdit::KeyPress(key);
}

void TQvCustomInplaceEdit::Dispatch(void* message) {
  auto& m = *static_cast<TMessage*>(message);
  switch (m.Msg) {
    case WM_PASTE:
      if (!ReadOnly() && validateType_ != vtNone) {
        const AnsiString pasted = Clipboard()->AsText();
        std::string kept;
        for (char c : pasted.ToStd())
          if (Accepts(c)) kept += c;
        SetSelText(AnsiString(kept));
        return;
      }
      break;
    case WM_SETFOCUS:
      TCustomEdit::Dispatch(message);
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

TCustomValidateEdit::TCustomValidateEdit(TComponent* owner)
    : TCustomControl(owner), colors_(std::make_unique<TValidateEditColors>(this)) {
  SetBounds(Left(), Top(), 121, 21);
  SetColor(clWindow);
  TabStop = true;
  edit_ = new TQvCustomInplaceEdit(this);
  edit_->SetParent(this);
  auto moved = [this](int& x, int& y) {
    x += edit_->Left();
    y += edit_->Top();
  };
  edit_->OnClick = [this](TObject*) {
    if (OnClick) OnClick(this);
  };
  edit_->OnDblClick = [this](TObject*) {
    if (OnDblClick) OnDblClick(this);
  };
  edit_->OnMouseDown = [this, moved](TObject*, TMouseButton b, TShiftState s, int x, int y) {
    moved(x, y);
    if (OnMouseDown) OnMouseDown(this, b, s, x, y);
  };
  edit_->OnMouseUp = [this, moved](TObject*, TMouseButton b, TShiftState s, int x, int y) {
    moved(x, y);
    if (OnMouseUp) OnMouseUp(this, b, s, x, y);
  };
  edit_->OnMouseMove = [this, moved](TObject*, TShiftState s, int x, int y) {
    moved(x, y);
    if (OnMouseMove) OnMouseMove(this, s, x, y);
  };
  edit_->OnEnter = [this](TObject*) {
    focused_ = true;
    Invalidate();
    if (OnEnter) OnEnter(this);
  };
  edit_->OnExit = [this](TObject*) {
    focused_ = false;
    Invalidate();
    if (OnExit) OnExit(this);
  };
  edit_->OnChange = [this](TObject*) {
    if (OnChange) OnChange(this);
  };
  edit_->OnInnerMouseEnter = [this](TObject*) { MouseState(kOverEdit, true); };
  edit_->OnInnerMouseLeave = [this](TObject*) { MouseState(kOverEdit, false); };
  EdgeWidthAdj();
}

TCustomValidateEdit::~TCustomValidateEdit() = default;

void TCustomValidateEdit::SetBorderStyle(TQvEditBorderStyle value) {
  borderStyle_ = value;
  EdgeWidthAdj();
  Invalidate();
}

void TCustomValidateEdit::EdgeWidthAdj() {
  if (!edit_) return;  // sized before the inner edit exists
  int inset = BorderWidth(borderStyle_);
  if (inset) ++inset;
  edit_->SetBounds(inset, inset, std::max(Width() - 2 * inset, 0), std::max(Height() - 2 * inset, 0));
}

void TCustomValidateEdit::Resize() {
  TCustomControl::Resize();
  EdgeWidthAdj();
}

void TCustomValidateEdit::Loaded() {
  TCustomControl::Loaded();
  EdgeWidthAdj();
}

AnsiString TCustomValidateEdit::Text() const { return edit_->Text(); }
void TCustomValidateEdit::SetText(const AnsiString& value) { edit_->SetCaption(value); }

void TCustomValidateEdit::Click() {
  if (!edit_->Focused() && edit_->CanFocus()) edit_->SetFocus();
  TCustomControl::Click();
}

void TCustomValidateEdit::MouseState(unsigned bit, bool inside) {
  if (inside)
    mouseBits_ |= bit;
  else
    mouseBits_ &= ~bit;
  const unsigned before = announced_;
  announced_ = mouseBits_;
  Invalidate();
  // Moving between the frame and the edit changes bits but announces nothing.
  if (mouseBits_ && !before) {
    if (OnMouseEnter) OnMouseEnter(this);
  } else if (!mouseBits_ && before) {
    if (OnMouseLeave) OnMouseLeave(this);
  }
}

void TCustomValidateEdit::Dispatch(void* message) {
  auto& m = *static_cast<TMessage*>(message);
  switch (m.Msg) {
    case WM_SETTEXT:
      edit_->SetCaption(AnsiString(reinterpret_cast<const char*>(m.LParam)));
      m.Result = 1;
      return;
    case WM_GETTEXT: {
      const AnsiString whole = edit_->Text();
      const std::string& text = whole.ToStd();
      auto* out = reinterpret_cast<char*>(m.LParam);
      const std::size_t room = m.WParam ? m.WParam - 1 : 0;
      const std::size_t n = std::min(room, text.size());
      if (out && m.WParam) {
        text.copy(out, n);
        out[n] = 0;
      }
      m.Result = static_cast<LRESULT>(m.WParam ? n : 0);
      return;
    }
    case WM_GETTEXTLENGTH:
      m.Result = static_cast<LRESULT>(edit_->Text().Length());
      return;
    case WM_SETFOCUS:
      if (edit_->CanFocus()) edit_->SetFocus();
      return;
    case CM_ENABLEDCHANGED:
      TCustomControl::Dispatch(message);
      edit_->SetEnabled(Enabled());
      edit_->SetColor(Enabled() ? Color() : Or(colors_->DisabledColor(), clBtnFace));
      Invalidate();
      return;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      // Only this control's own visits count here; the edit's come through its own events.
      if (m.LParam == 0 || m.LParam == reinterpret_cast<LPARAM>(this)) {
        MouseState(kOverFrame, m.Msg == CM_MOUSEENTER);
        if (Parent()) Parent()->Perform(m.Msg, 0, reinterpret_cast<LPARAM>(this));
        return;
      }
      break;
  }
  TCustomControl::Dispatch(message);
}

void TCustomValidateEdit::Paint() {
  TCanvas* c = Canvas();
  const int w = Width(), h = Height();
  const int r = w - 1, b = h - 1;
  auto edge = [&](int inset, TColor topLeft, TColor bottomRight) {
    DrawRaisedEdge(c, inset, inset, r - inset, b - inset, topLeft, bottomRight);
  };
  c->Brush()->SetColor(Color());
  c->FillRect(RECT{0, 0, w, h});
  switch (borderStyle_) {
    case ebsNormal:
      edge(0, 0x808080, clWhite);
      edge(1, 0x404040, 0xDFDFDF);
      if (!Enabled()) {
        c->Brush()->SetColor(clBtnFace);
        c->FillRect(RECT{2, 2, w - 2, h - 2});
      }
      break;
    case ebsFlat:
      edge(0, 0x808080, clWhite);
      if (!Enabled()) {
        c->Brush()->SetColor(clBtnFace);
        c->FillRect(RECT{1, 1, w - 1, h - 1});
      }
      break;
    case ebsUltraFlat: {
      const TColor hotColor = Or(colors_->HotColor(), 0xFF0000);
      const TColor focusColor = Or(colors_->FocusedColor(), 0x800000);
      const TColor disabled = Or(colors_->DisabledColor(), clBtnFace);
      const bool hot = Enabled() && mouseBits_ != 0;
      const TColor outer = hot ? hotColor : focused_ ? focusColor : Or(colors_->DefaultColor(), clBlack);
      const TColor second = !Enabled() ? disabled
                            : hot      ? Toward(Color(), hotColor, 5)
                            : focused_ ? Toward(Color(), focusColor, 4)
                                       : Color();
      c->Brush()->SetStyle(bsClear);
      c->Pen()->SetColor(outer);
      c->Rectangle(RECT{0, 0, w, h});
      c->Pen()->SetColor(second);
      c->Rectangle(RECT{1, 1, w - 1, h - 1});
      c->Pen()->SetColor(Enabled() ? Color() : disabled);
      c->Rectangle(RECT{2, 2, w - 2, h - 2});
      c->Brush()->SetStyle(bsSolid);
      break;
    }
    default:
      break;
  }
}

void RegisterValidateEdit() {
  static bool done = false;
  if (done) return;
  done = true;
  static const std::vector<std::string> typeNames{"vtNone",      "vtCustom", "vtInteger",
                                                  "vtIntegerPs", "vtFloat",  "vtFloatPs",
                                                  "vtHex",       "vtHexUp",  "vtHexLo"};
  static const std::vector<std::string> borderNames{"ebsNone", "ebsNormal", "ebsFlat", "ebsUltraFlat"};
  using C = TValidateEditColors;
  RegisterProperties<C>("TValidateEditColors", "")
      .Color("DefaultColor", &C::DefaultColor, &C::SetDefaultColor, clDefault)
      .Color("DisabledColor", &C::DisabledColor, &C::SetDisabledColor, clDefault)
      .Color("FocusedColor", &C::FocusedColor, &C::SetFocusedColor, clDefault)
      .Color("HotColor", &C::HotColor, &C::SetHotColor, clDefault);
  using T = TValidateEdit;
  RegisterProperties<T>("TValidateEdit", "TCustomControl", Factory<T>())
      .Enum("ValidateType", &T::ValidateType, &T::SetValidateType, vtNone, &typeNames)
      .Str("ValidateString", &T::ValidateString, &T::SetValidateString)
      .Object("Colors", &T::Colors)
      .Enum("BorderStyle", &T::BorderStyle, &T::SetBorderStyle, ebsNormal, &borderNames)
      .Str("Text", &T::Text, &T::SetText)
      .Int(
          "MaxLength", [](T& t) { return t.InplaceEdit()->MaxLength(); },
          [](T& t, int v) { t.InplaceEdit()->SetMaxLength(v); }, 0)
      .Bool(
          "ReadOnly", [](T& t) { return t.InplaceEdit()->ReadOnly(); },
          [](T& t, bool v) { t.InplaceEdit()->SetReadOnly(v); }, false)
      .Bool(
          "AutoSelect", [](T& t) { return t.InplaceEdit()->AutoSelect(); },
          [](T& t, bool v) { t.InplaceEdit()->SetAutoSelect(v); }, true)
      .Event("OnChange", static_cast<TNotifyEvent T::*>(&T::OnChange));
}
