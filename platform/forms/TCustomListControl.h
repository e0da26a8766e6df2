// TCustomListControl: what list and combo boxes have in common, so that one can copy its
// selection into another (CopySelection calls the destination's AddItem) and callers can treat
// either alike: items with objects, one current item, selecting and deleting. It also draws and
// measures owner-drawn items for both: the window's CN_DRAWITEM and CN_MEASUREITEM reach
// DrawItem and MeasureItem on a canvas set up with the control's font and colours.
#pragma once

#include <functional>

#include "platform/forms/OwnerDrawState.h"
#include "platform/forms/TCanvas.h"
#include "platform/forms/TWinControl.h"

using TDrawItemEvent =
    std::function<void(TWinControl* control, int index, const RECT& rect, TOwnerDrawState state)>;
using TMeasureItemEvent = std::function<void(TWinControl* control, int index, int& height)>;

class TCustomListControl : public TWinControl {
 public:
  explicit TCustomListControl(TComponent* owner) : TWinControl(owner) {}

  virtual void AddItem(const AnsiString& item, TObject* object) = 0;
  virtual void Clear() = 0;
  virtual void ClearSelection() = 0;
  // Adds the selected items (the current one of a single-selection list) to `destination`.
  virtual void CopySelection(TCustomListControl* destination) = 0;
  virtual void DeleteSelected() = 0;
  virtual void SelectAll() = 0;
  virtual int ItemIndex() = 0;
  virtual void SetItemIndex(int value) = 0;
  virtual int ItemCount() = 0;

  // Valid while an item is drawn.
  TCanvas* Canvas() { return &canvas_; }

  TDrawItemEvent OnDrawItem;
  TMeasureItemEvent OnMeasureItem;

 protected:
  // OnDrawItem, or the item's text (ItemText) on the canvas's colours.
  virtual void DrawItem(int index, const RECT& rect, TOwnerDrawState state);
  // OnMeasureItem; `height` comes in as the fixed item height.
  virtual void MeasureItem(int index, int& height);
  // The text the default DrawItem writes for `index`; false to leave the item empty.
  virtual bool ItemText(int index, AnsiString& text) = 0;

  // Answers CN_DRAWITEM: the canvas takes the item's DC, the control's font and colour (the
  // highlight colours for a selected item), DrawItem paints and a focused item gets its
  // frame. With `drawNoItem` the empty field (index -1) is drawn by DrawItem too, else it is
  // only filled.
  void DrawOwnerItem(TMessage& message, bool drawNoItem);
  // Answers CN_MEASUREITEM: `itemHeight`, or with `variable` what MeasureItem makes of it (at
  // least 1).
  void MeasureOwnerItem(TMessage& message, int itemHeight, bool variable);

 private:
  TCanvas canvas_;
};
