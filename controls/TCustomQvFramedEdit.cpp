#include "controls/TCustomQvFramedEdit.h"

#include <algorithm>
#include <string>

#include "controls/FrameDrawing.h"
#include "platform/forms/FormMessages.h"
#include "platform/forms/TApplication.h"
#include "platform/forms/TForm.h"

namespace {

TColor Or(TColor set, TColor fallback) { return set == clDefault ? fallback : set; }

}  // namespace

TColor TowardColor(TColor base, TColor target, int parts) {
  const COLORREF c = ColorToRGB(base), t = ColorToRGB(target);
  auto mix = [&](int shift) {
    const int a = static_cast<int>((c >> shift) & 0xFF), b = static_cast<int>((t >> shift) & 0xFF);
    return a + (b - a) / parts;
  };
  return static_cast<TColor>(mix(0) | (mix(8) << 8) | (mix(16) << 16));
}

TCustomQvFramedEdit::TCustomQvFramedEdit(TComponent* owner)
    : TCustomControl(owner), colors_(std::make_unique<TValidateEditColors>(this)) {
  SetColor(clWindow);
  TabStop = true;
}

TCustomQvFramedEdit::~TCustomQvFramedEdit() = default;

void TCustomQvFramedEdit::AttachInner(TCustomEdit* inner) {
  inner_ = inner;
  inner->SetParent(this);
  inner->SetParentColor(true);
  auto moved = [inner](int& x, int& y) {
    x += inner->Left();
    y += inner->Top();
  };
  inner->OnClick = [this](TObject*) {
    if (OnClick) OnClick(this);
  };
  inner->OnDblClick = [this](TObject*) {
    if (OnDblClick) OnDblClick(this);
  };
  inner->OnMouseDown = [this, moved](TObject*, TMouseButton b, TShiftState s, int x, int y) {
    moved(x, y);
    if (OnMouseDown) OnMouseDown(this, b, s, x, y);
  };
  inner->OnMouseUp = [this, moved](TObject*, TMouseButton b, TShiftState s, int x, int y) {
    moved(x, y);
    if (OnMouseUp) OnMouseUp(this, b, s, x, y);
  };
  inner->OnMouseMove = [this, moved](TObject*, TShiftState s, int x, int y) {
    moved(x, y);
    if (OnMouseMove) OnMouseMove(this, s, x, y);
  };
  inner->OnEnter = [this](TObject*) {
    focused_ = true;
    Invalidate();
    if (OnEnter) OnEnter(this);
  };
  inner->OnExit = [this](TObject*) {
    focused_ = false;
    Invalidate();
    if (OnExit) OnExit(this);
  };
  inner->OnChange = [this](TObject*) {
    if (OnChange) OnChange(this);
  };
  // The keys reach the inner edit, which holds the focus; the outer control's handlers hear them.
  inner->OnKeyDown = [this](TObject*, WORD& key, TShiftState shift) {
    if (OnKeyDown) OnKeyDown(this, key, shift);
  };
  inner->OnKeyUp = [this](TObject*, WORD& key, TShiftState shift) {
    if (OnKeyUp) OnKeyUp(this, key, shift);
  };
  inner->OnKeyPress = [this](TObject*, char& key) {
    if (OnKeyPress) OnKeyPress(this, key);
  };
  EdgeWidthAdj();
}

int TCustomQvFramedEdit::FrameWidth(TQvEditBorderStyle s) const {
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

void TCustomQvFramedEdit::SetBorderStyle(TQvEditBorderStyle value) {
  borderStyle_ = value;
  EdgeWidthAdj();
  Invalidate();
}

void TCustomQvFramedEdit::EdgeWidthAdj() {
  if (!inner_) return;  // sized before the inner edit exists
  int inset = FrameWidth(borderStyle_);
  if (inset) ++inset;
  inner_->SetBounds(inset, inset, std::max(Width() - 2 * inset, 0), std::max(Height() - 2 * inset, 0));
}

void TCustomQvFramedEdit::Resize() {
  TCustomControl::Resize();
  EdgeWidthAdj();
}

void TCustomQvFramedEdit::Loaded() {
  TCustomControl::Loaded();
  EdgeWidthAdj();
}

AnsiString TCustomQvFramedEdit::Text() const { return inner_->Text(); }
void TCustomQvFramedEdit::SetText(const AnsiString& value) { inner_->SetCaption(value); }

void TCustomQvFramedEdit::Click() {
  if (!inner_->Focused() && inner_->CanFocus()) inner_->SetFocus();
  TCustomControl::Click();
}

void TCustomQvFramedEdit::MouseState(unsigned bit, bool inside) {
  if (inside)
    mouseBits_ |= bit;
  else
    mouseBits_ &= ~bit;
  // The pointer leaves the frame before it enters the edit (and the other way round): when it
  // is already over the other part, that part counts now, so crossing announces nothing.
  if (!inside && Application) {
    TControl* now = Application->MouseControl();
    if (now == inner_) mouseBits_ |= kOverEdit;
    if (now == this) mouseBits_ |= kOverFrame;
  }
  const unsigned before = announced_;
  announced_ = mouseBits_;
  Invalidate();
  if (mouseBits_ && !before) {
    if (OnMouseEnter) OnMouseEnter(this);
  } else if (!mouseBits_ && before) {
    if (OnMouseLeave) OnMouseLeave(this);
  }
}

void TCustomQvFramedEdit::Dispatch(void* message) {
  auto& m = *static_cast<TMessage*>(message);
  switch (m.Msg) {
    case WM_SETTEXT:
      inner_->SetCaption(AnsiString(reinterpret_cast<const char*>(m.LParam)));
      m.Result = 1;
      return;
    case WM_GETTEXT: {
      // No room (0) takes nothing, not even the terminator.
      const AnsiString whole = inner_->Text();
      const std::string& text = whole.ToStd();
      auto* out = reinterpret_cast<char*>(m.LParam);
      const std::size_t room = m.WParam ? m.WParam - 1 : 0;
      const std::size_t n = std::min(room, text.size());
      if (out && m.WParam) {
        text.copy(out, n);
        out[n] = 0;
      }
      m.Result = static_cast<LRESULT>(m.WParam && out ? n : 0);
      return;
    }
    case WM_GETTEXTLENGTH:
      m.Result = static_cast<LRESULT>(inner_->Text().Length());
      return;
    case WM_SETFOCUS:
      if (inner_->CanFocus()) inner_->SetFocus();
      return;
    case CM_ENABLEDCHANGED:
      TCustomControl::Dispatch(message);
      inner_->SetEnabled(Enabled());
      inner_->SetColor(Enabled() ? Color() : Or(colors_->DisabledColor(), clBtnFace));
      Invalidate();
      return;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      // Only this control's own visits count here; the edit's come through InnerMouse.
      if (m.LParam == 0 || m.LParam == reinterpret_cast<LPARAM>(this)) {
        MouseState(kOverFrame, m.Msg == CM_MOUSEENTER);
        if (Parent()) Parent()->Perform(m.Msg, 0, reinterpret_cast<LPARAM>(this));
        return;
      }
      break;
  }
  TCustomControl::Dispatch(message);
}

void TCustomQvFramedEdit::InnerFocused() {
  if (TCustomForm* form = GetParentForm(this)) form->SetActiveControlInPlace(this);
}

void TCustomQvFramedEdit::Paint() {
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
                            : hot      ? TowardColor(Color(), hotColor, 5)
                            : focused_ ? TowardColor(Color(), focusColor, 4)
                                       : Color();
      c->Brush()->SetStyle(bsClear);
      c->Pen()->SetColor(outer);
      c->Rectangle(RECT{0, 0, w, h});
      c->Pen()->SetColor(second);
      c->Rectangle(RECT{1, 1, w - 1, h - 1});
      if (ThirdRing()) {
        c->Pen()->SetColor(Enabled() ? Color() : disabled);
        c->Rectangle(RECT{2, 2, w - 2, h - 2});
      }
      c->Brush()->SetStyle(bsSolid);
      break;
    }
    default:
      break;
  }
}
