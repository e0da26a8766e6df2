#include "platform/forms/TScrollBar.h"

#include <algorithm>

#include "platform/controls/Controls.h"
#include "platform/rtl/Exceptions.h"

TScrollBar::TScrollBar(TComponent* owner) : TWinControl(owner) {
  ControlStyle = csDoubleClicks | csOpaque;
  TabStop = true;
  SetBounds(0, 0, 121, GetSystemMetrics(SM_CYHSCROLL));
}

void TScrollBar::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  CreateSubClass(params, "SCROLLBAR");
  params.Style |= kind_ == sbVertical ? SBS_VERT : SBS_HORZ;
}

void TScrollBar::CreateWnd() {
  TWinControl::CreateWnd();
  SetScrollRange(handle_, SB_CTL, min_, max_, FALSE);
  SendPage();
  SetScrollPos(handle_, SB_CTL, position_, TRUE);
}

void TScrollBar::SendPage() {
  if (!handle_) return;
  SCROLLINFO info{sizeof(SCROLLINFO), SIF_PAGE, 0, 0, static_cast<UINT>(pageSize_), 0, 0};
  SetScrollInfo(handle_, SB_CTL, &info, TRUE);
}

void TScrollBar::SetKind(TScrollBarKind value) {
  if (kind_ == value) return;
  kind_ = value;
  if (!(ComponentState() & csLoading)) SetBounds(Left(), Top(), Height(), Width());
  RecreateWnd();
}

void TScrollBar::SetParams(int position, int min, int max) {
  if (max < min) throw EInvalidOperation("Scroll bar property out of range");
  position = std::clamp(position, min, max);
  if (min_ != min || max_ != max) {
    min_ = min;
    max_ = max;
    // A page longer than the new range is cut to it.
    pageSize_ = std::min(pageSize_, max_ - min_ + 1);
    if (handle_) {
      SetScrollRange(handle_, SB_CTL, min_, max_, position_ == position);
      SendPage();
    }
  }
  if (position_ != position) {
    position_ = position;
    if (handle_) SetScrollPos(handle_, SB_CTL, position_, TRUE);
    Change();
  }
}

// While a layout is read the values are only kept: a range may come before or after its
// position. Loaded checks them together.
void TScrollBar::SetMin(int value) {
  if (ComponentState() & csLoading) {
    min_ = value;
    return;
  }
  SetParams(position_, value, max_);
}

void TScrollBar::SetMax(int value) {
  if (ComponentState() & csLoading) {
    max_ = value;
    return;
  }
  SetParams(position_, min_, value);
}

void TScrollBar::SetPosition(int value) {
  if (ComponentState() & csLoading) {
    position_ = value;
    return;
  }
  SetParams(value, min_, max_);
}

void TScrollBar::SetPageSize(int value) {
  if (!(ComponentState() & csLoading)) value = std::clamp(value, 0, max_ - min_ + 1);
  if (pageSize_ == value) return;
  pageSize_ = value;
  SendPage();
}

void TScrollBar::Loaded() {
  TWinControl::Loaded();
  // The values the layout gave, made consistent without firing OnChange: handlers are bound by
  // now, and reading a layout is no change.
  if (max_ < min_) max_ = min_;
  position_ = std::clamp(position_, min_, max_);
  pageSize_ = std::clamp(pageSize_, 0, max_ - min_ + 1);
  if (handle_) {
    SetScrollRange(handle_, SB_CTL, min_, max_, FALSE);
    SendPage();
    SetScrollPos(handle_, SB_CTL, position_, TRUE);
  }
}

void TScrollBar::Change() {
  TWinControl::Changed();
  if (OnChange) OnChange(this);
}

void TScrollBar::Scroll(TScrollCode scrollCode, int& scrollPos) {
  if (OnScroll) OnScroll(this, scrollCode, scrollPos);
}

void TScrollBar::DoScroll(TMessage& m) {
  int code = static_cast<int>(m.WParamLo());
  int pos = position_;
  switch (code) {
    case SB_LINEUP:
      pos -= smallChange_;
      break;
    case SB_LINEDOWN:
      pos += smallChange_;
      break;
    case SB_PAGEUP:
      pos -= largeChange_;
      break;
    case SB_PAGEDOWN:
      pos += largeChange_;
      break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: {
      // The full 32-bit track position: the message carries only 16 bits of it.
      SCROLLINFO info{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
      if (handle_ && GetScrollInfo(handle_, SB_CTL, &info))
        pos = info.nTrackPos;
      else
        pos = static_cast<SHORT>(m.WParamHi());
      break;
    }
    case SB_TOP:
      pos = min_;
      break;
    case SB_BOTTOM:
      pos = max_;
      break;
    default:
      break;
  }
  if (code > SB_ENDSCROLL) return;
  pos = std::clamp(pos, min_, max_);
  Scroll(static_cast<TScrollCode>(code), pos);
  SetPosition(pos);
}

void TScrollBar::Dispatch(void* message) {
  auto& m = *static_cast<TMessage*>(message);
  switch (m.Msg) {
    case CN_HSCROLL:
    case CN_VSCROLL:
      DoScroll(m);
      m.Result = 0;
      return;
    default:
      TWinControl::Dispatch(message);
  }
}
