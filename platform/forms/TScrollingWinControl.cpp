#include "platform/forms/TScrollingWinControl.h"

#include <algorithm>

#include "platform/controls/Controls.h"
#include "platform/rtl/ScopeExit.h"

TScrollingWinControl::TScrollingWinControl(TComponent* owner) : TWinControl(owner) {}

TScrollingWinControl::~TScrollingWinControl() = default;

void TScrollingWinControl::SetAutoScroll(bool value) {
  if (autoScroll_ == value) return;
  autoScroll_ = value;
  if (!value) {
    horz_.SetAutoRange(0);
    vert_.SetAutoRange(0);
  }
  Realign();
}

RECT TScrollingWinControl::ClientRect() const {
  int edge = BorderEdge();
  int bar = GetSystemMetrics(SM_CXVSCROLL);
  int w = Width() - 2 * edge - (vert_.shown_ ? bar : 0);
  int h = Height() - 2 * edge - (horz_.shown_ ? GetSystemMetrics(SM_CYHSCROLL) : 0);
  return RECT{0, 0, std::max(w, 0), std::max(h, 0)};
}

void TScrollingWinControl::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  if (horz_.shown_) params.Style |= WS_HSCROLL;
  if (vert_.shown_) params.Style |= WS_VSCROLL;
}

void TScrollingWinControl::AdjustClientRect(RECT& rect) {
  // Children are laid out on the whole scrolled area, moved by the positions.
  int w = std::max<int>(horz_.range_, rect.right - rect.left);
  int h = std::max<int>(vert_.range_, rect.bottom - rect.top);
  rect = RECT{-horz_.position_, -vert_.position_, -horz_.position_ + w, -vert_.position_ + h};
  TWinControl::AdjustClientRect(rect);
}

void TScrollingWinControl::AlignControls(RECT& rect) {
  TWinControl::AlignControls(rect);
  if (scrolling_ || updatingBars_) return;
  // A bar that appears or goes changes the client area: align once more (twice at most, as
  // the second bar may follow the first).
  for (int pass = 0; pass < 3; ++pass) {
    if (autoScroll_) CalcAutoRange();
    if (!UpdateScrollBars()) break;
    RECT again = ClientRect();
    AdjustClientRect(again);
    TWinControl::AlignControls(again);
  }
}

void TScrollingWinControl::CalcAutoRange() {
  int horz = 0, vert = 0;
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    if (!c->Visible()) continue;
    TAnchors a = c->Anchors();
    // Children held to the far edge follow the client area; they do not make it larger.
    bool rightOnly = (a & AnchorBit(akRight)) && !(a & AnchorBit(akLeft));
    bool bottomOnly = (a & AnchorBit(akBottom)) && !(a & AnchorBit(akTop));
    if ((c->Align() == alNone || c->Align() == alLeft) && !rightOnly)
      horz = std::max(horz, c->Left() + c->Width() + horz_.position_);
    if ((c->Align() == alNone || c->Align() == alTop) && !bottomOnly)
      vert = std::max(vert, c->Top() + c->Height() + vert_.position_);
  }
  horz_.SetAutoRange(horz);
  vert_.SetAutoRange(vert);
}

bool TScrollingWinControl::UpdateScrollBars() {
  if (updatingBars_ || (ComponentState() & (csLoading | csDestroying))) return false;
  updatingBars_ = true;
  bool changed = false;
  {
    platform::ScopeExit restore([&] { updatingBars_ = false; });
    int edge = BorderEdge();
    int w0 = std::max(Width() - 2 * edge, 0), h0 = std::max(Height() - 2 * edge, 0);
    int barWidth = GetSystemMetrics(SM_CXVSCROLL), barHeight = GetSystemMetrics(SM_CYHSCROLL);
    bool v = vert_.visible_ && vert_.range_ > h0;
    bool h = horz_.visible_ && horz_.range_ > w0 - (v ? barWidth : 0);
    if (h && !v) v = vert_.visible_ && vert_.range_ > h0 - barHeight;
    changed = h != horz_.shown_ || v != vert_.shown_;
    horz_.shown_ = h;
    vert_.shown_ = v;
    if (changed) ShowBars(h, v);
    RECT client = ClientRect();
    horz_.Apply(client.right);
    vert_.Apply(client.bottom);
  }
  return changed;
}

void TScrollingWinControl::ShowBars(bool horz, bool vert) {
  if (!HandleAllocated()) return;
  HWND h = Handle();
  DWORD style = static_cast<DWORD>(GetWindowLongA(h, GWL_STYLE));
  style = horz ? (style | WS_HSCROLL) : (style & ~WS_HSCROLL);
  style = vert ? (style | WS_VSCROLL) : (style & ~WS_VSCROLL);
  SetWindowLongA(h, GWL_STYLE, static_cast<LONG>(style));
  SetWindowPos(h, nullptr, 0, 0, 0, 0,
               SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TScrollingWinControl::ScrollBy(int dx, int dy) {
  if (dx == 0 && dy == 0) return;
  // Aligned children are placed by the alignment that follows; the others move here.
  scrolling_ = true;
  {
    platform::ScopeExit restore([&] { scrolling_ = false; });
    for (int i = 0; i < ControlCount(); ++i) {
      TControl* c = Controls(i);
      if (c->Align() != alNone) continue;
      c->SetBounds(c->Left() + dx, c->Top() + dy, c->Width(), c->Height());
    }
  }
  Realign();
  Invalidate();
}

void TScrollingWinControl::ScrollInView(TControl* control) {
  if (!control || control->Parent() != this) return;
  RECT r = control->BoundsRect();
  RECT client = ClientRect();
  if (r.left < 0) {
    horz_.SetPosition(horz_.position_ + r.left);
  } else if (r.right > client.right) {
    if (r.right - r.left > client.right) r.right = r.left + client.right;
    horz_.SetPosition(horz_.position_ + r.right - client.right);
  }
  if (r.top < 0) {
    vert_.SetPosition(vert_.position_ + r.top);
  } else if (r.bottom > client.bottom) {
    if (r.bottom - r.top > client.bottom) r.bottom = r.top + client.bottom;
    vert_.SetPosition(vert_.position_ + r.bottom - client.bottom);
  }
}

void TScrollingWinControl::Dispatch(void* message) {
  auto& m = *static_cast<TMessage*>(message);
  // The window's own bars report with no control window in lParam.
  if ((m.Msg == WM_HSCROLL || m.Msg == WM_VSCROLL) && m.LParam == 0) {
    (m.Msg == WM_HSCROLL ? horz_ : vert_).ScrollMessage(m);
    m.Result = 0;
    return;
  }
  TWinControl::Dispatch(message);
}
