#include "platform/forms/TSplitter.h"

#include <algorithm>

#include "platform/forms/TWinControl.h"

namespace {
constexpr TCursor kSplitCursor = -14;  // the horizontal-split cursor
}  // namespace

TSplitter::TSplitter(TComponent* owner) : TGraphicControl(owner) {
  SetAlign(alLeft);
  SetBounds(0, 0, 3, 100);
  SetCursor(kSplitCursor);
}

void TSplitter::SetBeveled(bool value) {
  if (beveled_ == value) return;
  beveled_ = value;
  Invalidate();
}

TControl* TSplitter::FindResizeControl() const {
  TWinControl* parent = Parent();
  if (!parent) return nullptr;
  for (int i = 0; i < parent->ControlCount(); ++i) {
    TControl* c = parent->Controls(i);
    if (c == this || !c->Visible() || c->Align() != Align()) continue;
    RECT r = c->BoundsRect();
    bool touches = false;
    switch (Align()) {
      case alLeft:
        touches = r.right == Left();
        break;
      case alRight:
        touches = r.left == Left() + Width();
        break;
      case alTop:
        touches = r.bottom == Top();
        break;
      case alBottom:
        touches = r.top == Top() + Height();
        break;
      default:
        break;
    }
    if (touches) return c;
  }
  return nullptr;
}

// How large the resized control may grow: what it has plus what the client-aligned rest has,
// less MinSize for that rest.
int TSplitter::Room() const {
  TWinControl* parent = Parent();
  if (!parent || !control_) return 0;
  int total = Horizontal() ? parent->ClientHeight() : parent->ClientWidth();
  int taken = 0;
  for (int i = 0; i < parent->ControlCount(); ++i) {
    TControl* c = parent->Controls(i);
    if (c == control_ || !c->Visible()) continue;
    bool across = Horizontal() ? (c->Align() == alTop || c->Align() == alBottom)
                               : (c->Align() == alLeft || c->Align() == alRight);
    if (across) taken += Horizontal() ? c->Height() : c->Width();
  }
  return total - taken - minSize_;
}

void TSplitter::Paint() {
  TCanvas* c = Canvas();
  RECT r = ClientRect();
  c->Brush()->SetColor(Color());
  c->FillRect(r);
  if (beveled_) Frame3D(c, r, clBtnHighlight, clBtnShadow, 1);
}

void TSplitter::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TGraphicControl::MouseDown(button, shift, x, y);
  if (button != mbLeft) return;
  control_ = FindResizeControl();
  moved_ = false;
  if (!control_) return;
  // Positions in the parent, so the splitter moving under the pointer does not matter.
  downPos_ = Horizontal() ? Top() + y : Left() + x;
  startSize_ = Horizontal() ? control_->Height() : control_->Width();
}

void TSplitter::MouseMove(TShiftState shift, int x, int y) {
  TGraphicControl::MouseMove(shift, x, y);
  if (!control_ || !(shift & ssLeft)) return;
  int pos = Horizontal() ? Top() + y : Left() + x;
  int delta = pos - downPos_;
  // Dragging towards the control's own edge shrinks it.
  if (Align() == alRight || Align() == alBottom) delta = -delta;
  int size = std::clamp(startSize_ + delta, std::min(minSize_, startSize_), std::max(Room(), minSize_));
  bool accept = true;
  if (OnCanResize) OnCanResize(this, size, accept);
  if (!accept) return;
  int current = Horizontal() ? control_->Height() : control_->Width();
  if (size == current) return;
  if (Horizontal())
    control_->SetHeight(size);
  else
    control_->SetWidth(size);
  moved_ = true;
}

void TSplitter::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TGraphicControl::MouseUp(button, shift, x, y);
  if (button != mbLeft || !control_) return;
  control_ = nullptr;
  if (moved_ && OnMoved) OnMoved(this);
}
