#include "platform/forms/TCustomListControl.h"

#include <algorithm>

#include "platform/controls/Controls.h"
#include "platform/forms/CanvasHandleScope.h"

void TCustomListControl::DrawItem(int index, const RECT& rect, TOwnerDrawState state) {
  if (OnDrawItem) {
    OnDrawItem(this, index, rect, state);
    return;
  }
  canvas_.FillRect(rect);
  AnsiString text;
  if (!ItemText(index, text)) return;
  HDC dc = canvas_.Handle();
  SetBkMode(dc, TRANSPARENT);
  RECT r = rect;
  r.left += 2;
  DrawTextA(dc, text.c_str(), text.Length(), &r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

void TCustomListControl::MeasureItem(int index, int& height) {
  if (OnMeasureItem) OnMeasureItem(this, index, height);
}

void TCustomListControl::DrawOwnerItem(TMessage& m, bool drawNoItem) {
  auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
  const TOwnerDrawState state = dis->itemState & 0xFFFF;
  const int index = static_cast<int>(dis->itemID);
  {
    CanvasHandleScope drawing(canvas_, dis->hDC);
    canvas_.Font()->Assign(Font());
    canvas_.Brush()->SetColor(Color());
    if (index >= 0 && (state & odSelected)) {
      canvas_.Brush()->SetColor(clHighlight);
      canvas_.Font()->SetColor(clHighlightText);
    }
    if (index >= 0 || drawNoItem)
      DrawItem(index, dis->rcItem, state);
    else
      canvas_.FillRect(dis->rcItem);
    if (state & odFocused) DrawFocusRect(dis->hDC, &dis->rcItem);
  }
  m.Result = 1;
}

void TCustomListControl::MeasureOwnerItem(TMessage& m, int itemHeight, bool variable) {
  auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
  int height = itemHeight;
  if (variable) MeasureItem(static_cast<int>(mis->itemID), height);
  mis->itemHeight = static_cast<UINT>(std::max(height, 1));
  m.Result = 1;
}
