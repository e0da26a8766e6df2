#include "platform/forms/GroupButtonLayout.h"

#include "platform/gdi/SelectedObject.h"
#include "platform/win/DeferWindowPos.h"
#include "platform/win/WindowDC.h"

namespace {

int CaptionLineHeight(TWinControl* group) {
  WindowDC dc(nullptr);
  SelectedObject font(dc, group->Font()->Handle());
  TEXTMETRICA metrics{};
  GetTextMetricsA(dc, &metrics);
  return metrics.tmHeight;
}

// Ends the batch also when a move's handler raises.
struct DeferredBatch {
  HDWP handle;
  ~DeferredBatch() {
    if (handle) EndDeferWindowPos(handle);
  }
};

}  // namespace

void ArrangeGroupButtons(TWinControl* group, const std::vector<TWinControl*>& buttons, int columns) {
  if (buttons.empty() || columns < 1) return;
  const int count = int(buttons.size());
  const int textHeight = CaptionLineHeight(group);
  const int perColumn = (count + columns - 1) / columns;
  const int buttonWidth = (group->Width() - 10) / columns;
  const int inner = group->Height() - textHeight - 5;
  const int buttonHeight = inner / perColumn;
  const int topMargin = textHeight + 1 + (inner % perColumn) / 2;
  std::vector<RECT> places;
  for (int i = 0; i < count; ++i) {
    const int left = (i / perColumn) * buttonWidth + 8, top = (i % perColumn) * buttonHeight + topMargin;
    places.push_back({left, top, left + buttonWidth, top + buttonHeight});
  }
  {
    DeferredBatch batch{BeginDeferWindowPos(count)};
    for (int i = 0; i < count && batch.handle; ++i) {
      if (!buttons[size_t(i)]->HandleAllocated()) continue;  // placed by its bounds when it gets one
      const RECT& r = places[size_t(i)];
      batch.handle = DeferWindowPos(batch.handle, buttons[size_t(i)]->Handle(), nullptr, r.left, r.top,
                                    r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }
  // The controls take the places their windows moved to.
  for (int i = 0; i < count; ++i) {
    const RECT& r = places[size_t(i)];
    buttons[size_t(i)]->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
    buttons[size_t(i)]->SetVisible(true);
  }
}

int CheckedButtonIndex(int itemIndex, int count) {
  return itemIndex >= 0 && itemIndex < count ? itemIndex : -1;
}
