#include "platform/forms/TControlScrollBar.h"

#include <algorithm>

#include "platform/controls/Controls.h"
#include "platform/forms/TScrollingWinControl.h"

void TControlScrollBar::SetIncrement(int value) { increment_ = std::max(value, 1); }

void TControlScrollBar::SetRange(int value) {
  control_->autoScroll_ = false;
  range_ = std::max(value, 0);
  control_->Realign();
}

void TControlScrollBar::SetVisible(bool value) {
  if (visible_ == value) return;
  visible_ = value;
  control_->Realign();
}

void TControlScrollBar::SetPosition(int value) {
  if (control_->ComponentState() & csReading) {
    position_ = value;
    return;
  }
  value = std::clamp(value, 0, calcRange_);
  if (value != position_) {
    int old = position_;
    position_ = value;
    if (kind_ == sbHorizontal)
      control_->ScrollBy(old - value, 0);
    else
      control_->ScrollBy(0, old - value);
  }
  if (control_->HandleAllocated()) {
    int bar = kind_ == sbHorizontal ? SB_HORZ : SB_VERT;
    if (GetScrollPos(control_->Handle(), bar) != position_)
      SetScrollPos(control_->Handle(), bar, position_, TRUE);
  }
}

void TControlScrollBar::Apply(int clientSize) {
  page_ = std::max(clientSize, 0);
  calcRange_ = shown_ ? std::max(range_ - page_, 0) : 0;
  if (control_->HandleAllocated()) {
    SCROLLINFO info{sizeof(SCROLLINFO),           SIF_ALL,   0,        calcRange_ > 0 ? range_ : 0,
                    static_cast<UINT>(page_ + 1), position_, position_};
    SetScrollInfo(control_->Handle(), kind_ == sbHorizontal ? SB_HORZ : SB_VERT, &info, TRUE);
  }
  SetPosition(position_);
}

void TControlScrollBar::ScrollMessage(TMessage& m) {
  auto trackPos = [this, &m]() {
    // The full 32-bit position: the message carries only 16 bits of it.
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_TRACKPOS, 0, 0, 0, 0, 0};
    if (control_->HandleAllocated() &&
        GetScrollInfo(control_->Handle(), kind_ == sbHorizontal ? SB_HORZ : SB_VERT, &info))
      return info.nTrackPos;
    return static_cast<int>(static_cast<SHORT>(m.WParamHi()));
  };
  switch (m.WParamLo()) {
    case SB_LINEUP:
      SetPosition(position_ - increment_);
      break;
    case SB_LINEDOWN:
      SetPosition(position_ + increment_);
      break;
    case SB_PAGEUP:
      SetPosition(position_ - page_);
      break;
    case SB_PAGEDOWN:
      SetPosition(position_ + page_);
      break;
    case SB_THUMBPOSITION:
      SetPosition(trackPos());
      break;
    case SB_THUMBTRACK:
      if (tracking_) SetPosition(trackPos());
      break;
    case SB_TOP:
      SetPosition(0);
      break;
    case SB_BOTTOM:
      SetPosition(calcRange_);
      break;
    default:
      break;
  }
}

void TControlScrollBar::Assign(TPersistent* source) {
  if (auto* other = dynamic_cast<TControlScrollBar*>(source)) {
    increment_ = other->increment_;
    visible_ = other->visible_;
    style_ = other->style_;
    tracking_ = other->tracking_;
    range_ = other->range_;
    control_->Realign();
    SetPosition(other->position_);
    return;
  }
  TPersistent::Assign(source);
}
