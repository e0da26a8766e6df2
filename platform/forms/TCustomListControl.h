// TCustomListControl: what list and combo boxes have in common, so that one can copy its
// selection into another (CopySelection calls the destination's AddItem) and callers can treat
// either alike: items with objects, one current item, selecting and deleting.
#pragma once

#include "platform/forms/TWinControl.h"

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
};
