#include "controls/TQvRichEdit.h"

#include <string>
#include <vector>

#include "platform/controls/FlatScrollBars.h"
#include "platform/forms/ClassRegistry.h"
#include "platform/forms/FormMessages.h"

// ---- inner edit

TQvCustomInplaceRichEdit::TQvCustomInplaceRichEdit(TComponent* owner) : TCustomRichEdit(owner) {
  SetBorderStyle(bsNone);
  TabStop = false;
}

void TQvCustomInplaceRichEdit::CreateParams(TCreateParams& params) {
  TCustomRichEdit::CreateParams(params);
  params.Style &= ~static_cast<DWORD>(WS_TABSTOP);
}

void TQvCustomInplaceRichEdit::CreateWnd() {
  TCustomRichEdit::CreateWnd();
  hEnabled_ = vEnabled_ = false;
  if (scrollBarStyle_ != sbsNormalScrollBar) StartFlatBars();
}

void TQvCustomInplaceRichEdit::StartFlatBars() {
  InitializeFlatSB(Handle());
  const int mode = scrollBarStyle_ == sbsFlatScrollBar ? FSB_FLAT_MODE : FSB_ENCARTA_MODE;
  FlatSB_SetScrollProp(Handle(), WSB_PROP_VSTYLE, mode, FALSE);
  FlatSB_SetScrollProp(Handle(), WSB_PROP_HSTYLE, mode, FALSE);
  fProcessScrollBar(true, true);
}

void TQvCustomInplaceRichEdit::fSetScrollBarStyle(TQvScrollBarStyle value) {
  if (value == scrollBarStyle_) return;
  const TQvScrollBarStyle old = scrollBarStyle_;
  scrollBarStyle_ = value;
  if (!HandleAllocated()) return;  // the window starts them when it is made
  if (old != sbsNormalScrollBar) UninitializeFlatSB(Handle());
  if (value != sbsNormalScrollBar) StartFlatBars();
  Invalidate();
}

void TQvCustomInplaceRichEdit::fProcessScrollBar(bool enable, bool force) {
  if (guard_ || scrollBarStyle_ == sbsNormalScrollBar || !HandleAllocated()) return;
  guard_ = true;
  const HWND h = Handle();
  SCROLLINFO horizontal{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0}, vertical = horizontal;
  GetScrollInfo(h, SB_HORZ, &horizontal);
  GetScrollInfo(h, SB_VERT, &vertical);
  bool copy = true;
  if (enable) {
    const DWORD style = static_cast<DWORD>(GetWindowLongA(h, GWL_STYLE));
    auto scrollable = [](const SCROLLINFO& s) {
      return static_cast<long long>(s.nMax) - s.nMin + 1 > static_cast<long long>(s.nPage) && s.nMax > s.nMin;
    };
    const bool hActive = HideScrollBars() ? (style & WS_HSCROLL) != 0 : scrollable(horizontal);
    const bool vActive = HideScrollBars() ? (style & WS_VSCROLL) != 0 : scrollable(vertical);
    if (force || hActive != hEnabled_ || vActive != vEnabled_) {
      hEnabled_ = hActive;
      vEnabled_ = vActive;
      FlatSB_EnableScrollBar(h, SB_HORZ, hActive ? ESB_ENABLE_BOTH : ESB_DISABLE_BOTH);
      FlatSB_EnableScrollBar(h, SB_VERT, vActive ? ESB_ENABLE_BOTH : ESB_DISABLE_BOTH);
      FlatSB_ShowScrollBar(h, SB_HORZ, !HideScrollBars() || hActive);
      FlatSB_ShowScrollBar(h, SB_VERT, !HideScrollBars() || vActive);
    } else {
      copy = false;
    }
  }
  if (copy) {
    FlatSB_SetScrollInfo(h, SB_HORZ, &horizontal, TRUE);
    FlatSB_SetScrollInfo(h, SB_VERT, &vertical, TRUE);
  }
  guard_ = false;
}

void TQvCustomInplaceRichEdit::Dispatch(void* message) {
  auto& m = *static_cast<TMessage*>(message);
  switch (m.Msg) {
    case WM_SETFOCUS:
      TCustomRichEdit::Dispatch(message);
      if (auto* outer = dynamic_cast<TCustomQvFramedEdit*>(Parent())) outer->InnerFocused();
      return;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      if (m.LParam == 0 || m.LParam == reinterpret_cast<LPARAM>(this)) {
        const bool inside = m.Msg == CM_MOUSEENTER;
        if (inside != mouseInside_) {
          mouseInside_ = inside;
          TNotifyEvent& event = inside ? OnInnerMouseEnter : OnInnerMouseLeave;
          if (event) event(this);
        }
      }
      break;
    case WM_MOUSEWHEEL: {
      const int delta = static_cast<short>(HIWORD(m.WParam));
      const TPoint at(static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam)));
      if (OnInnerWheel && OnInnerWheel(MouseShiftState(LOWORD(m.WParam)), delta, at)) {
        m.Result = 1;
        return;
      }
      break;
    }
    default:
      break;
  }
  TCustomRichEdit::Dispatch(message);
  switch (m.Msg) {
    case WM_PAINT:
    case WM_SIZE:
      fProcessScrollBar(true);
      break;
    case WM_NCPAINT:
    case WM_HSCROLL:
    case WM_VSCROLL:
      fProcessScrollBar(false);
      break;
    default:
      break;
  }
}

// ---- outer control

TCustomQvRichEdit::TCustomQvRichEdit(TComponent* owner) : TCustomQvFramedEdit(owner) {
  SetBounds(Left(), Top(), 185, 89);
  edit_ = new TQvCustomInplaceRichEdit(this);
  edit_->SetScrollBars(ssBoth);
  edit_->OnInnerMouseEnter = [this](TObject*) { InnerMouse(true); };
  edit_->OnInnerMouseLeave = [this](TObject*) { InnerMouse(false); };
  edit_->OnInnerWheel = [this](TShiftState shift, int delta, TPoint at) { return Wheel(shift, delta, at); };
  edit_->OnSelectionChange = [this](TObject*) {
    if (OnSelectionChange) OnSelectionChange(this);
  };
  AttachInner(edit_);
}

int TCustomQvRichEdit::FrameWidth(TQvEditBorderStyle style) const {
  switch (style) {
    case ebsNormal:
      return 2;
    case ebsFlat:
    case ebsUltraFlat:
      return 1;
    default:
      return 0;
  }
}

bool TCustomQvRichEdit::Wheel(TShiftState shift, int delta, TPoint at) {
  bool handled = false;
  if (OnMouseWheel) OnMouseWheel(this, shift, delta, at, handled);
  if (handled) return true;
  TMouseWheelUpDownEvent& turn = delta < 0 ? OnMouseWheelDown : OnMouseWheelUp;
  if (turn) turn(this, shift, at, handled);
  return handled;
}

// ---- registration

void RegisterQvRichEdit() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterValidateEditColors();
  static const std::vector<std::string> borderNames{"ebsNone", "ebsNormal", "ebsFlat", "ebsUltraFlat"};
  static const std::vector<std::string> barNames{"sbsNormalScrollBar", "sbsFlatScrollBar",
                                                 "sbsEncartaScrollBar"};
  static const std::vector<std::string> alignmentNames{"taLeftJustify", "taRightJustify", "taCenter"};
  static const std::vector<std::string> imeNames{"imDisable", "imClose",   "imOpen",     "imDontCare",
                                                 "imSAlpha",  "imAlpha",   "imHira",     "imSKata",
                                                 "imKata",    "imChinese", "imSHanguel", "imHanguel"};
  static const std::vector<std::string> scrollNames{"ssNone", "ssHorizontal", "ssVertical", "ssBoth"};
  using T = TQvRichEdit;
  auto inner = [](T& t) { return t.InplaceRichEdit(); };
  // OnKeyDown, OnKeyPress and OnKeyUp are the outer control's (registered with every windowed
  // control); the inner edit passes its keys to them.
  RegisterProperties<T>("TQvRichEdit", "TCustomControl", Factory<T>())
      .Enum("BorderStyle", &T::BorderStyle, &T::SetBorderStyle, ebsNormal, &borderNames)
      .Object("Colors", &T::Colors)
      .Event("OnMouseEnter", static_cast<TNotifyEvent T::*>(&T::OnMouseEnter))
      .Event("OnMouseLeave", static_cast<TNotifyEvent T::*>(&T::OnMouseLeave))
      .Enum("ScrollBarStyle", &T::ScrollBarStyle, &T::SetScrollBarStyle, sbsNormalScrollBar, &barNames)
      .Enum(
          "Alignment", [=](T& t) { return inner(t)->Alignment(); },
          [=](T& t, TAlignment v) { inner(t)->SetAlignment(v); }, taLeftJustify, &alignmentNames)
      .Bool(
          "HideSelection", [=](T& t) { return inner(t)->HideSelection(); },
          [=](T& t, bool v) { inner(t)->SetHideSelection(v); }, true)
      .Bool(
          "HideScrollBars", [=](T& t) { return inner(t)->HideScrollBars(); },
          [=](T& t, bool v) { inner(t)->SetHideScrollBars(v); }, true)
      .Enum("ImeMode", &T::ImeMode, &T::SetImeMode, imDontCare, &imeNames)
      .Str("ImeName", &T::ImeName, &T::SetImeName)
      .Object("Lines", [=](T& t) { return static_cast<TPersistent*>(inner(t)->Lines()); })
      .Int(
          "MaxLength", [=](T& t) { return inner(t)->MaxLength(); },
          [=](T& t, int v) { inner(t)->SetMaxLength(v); }, 0)
      .Bool(
          "PlainText", [=](T& t) { return inner(t)->PlainText(); },
          [=](T& t, bool v) { inner(t)->SetPlainText(v); }, false)
      .Bool(
          "ReadOnly", [=](T& t) { return inner(t)->ReadOnly(); },
          [=](T& t, bool v) { inner(t)->SetReadOnly(v); }, false)
      .Enum(
          "ScrollBars", [=](T& t) { return inner(t)->ScrollBars(); },
          [=](T& t, TScrollStyle v) { inner(t)->SetScrollBars(v); }, ssBoth, &scrollNames)
      .Bool(
          "WantTabs", [=](T& t) { return inner(t)->WantTabs(); },
          [=](T& t, bool v) { inner(t)->SetWantTabs(v); }, false)
      .Bool(
          "WantReturns", [=](T& t) { return inner(t)->WantReturns(); },
          [=](T& t, bool v) { inner(t)->SetWantReturns(v); }, true)
      .Bool(
          "WordWrap", [=](T& t) { return inner(t)->WordWrap(); },
          [=](T& t, bool v) { inner(t)->SetWordWrap(v); }, true)
      .Event("OnChange", static_cast<TNotifyEvent T::*>(&T::OnChange))
      .Event("OnMouseWheel", static_cast<TMouseWheelEvent T::*>(&T::OnMouseWheel))
      .Event("OnMouseWheelDown", static_cast<TMouseWheelUpDownEvent T::*>(&T::OnMouseWheelDown))
      .Event("OnMouseWheelUp", static_cast<TMouseWheelUpDownEvent T::*>(&T::OnMouseWheelUp))
      .Event("OnProtectChange", static_cast<TRichEditProtectChange T::*>(&T::OnProtectChange))
      .Event("OnResizeRequest", static_cast<TRichEditResizeEvent T::*>(&T::OnResizeRequest))
      .Event("OnSaveClipboard", static_cast<TRichEditSaveClipboard T::*>(&T::OnSaveClipboard))
      .Event("OnSelectionChange", static_cast<TNotifyEvent T::*>(&T::OnSelectionChange));
}
