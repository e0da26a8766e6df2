// TCustomListBox and TListBox: a list over the system "LISTBOX" class. Items (TListBoxStrings)
// hold the texts and objects; ItemIndex, TopIndex and Selected[] read and set the window's
// selection; OnClick fires when the user changes the selection (LBN_SELCHANGE) and OnDblClick
// on a double click (LBN_DBLCLK). Owner-drawn styles paint each item through DrawItem (the
// OnDrawItem handler, or the item's text on the selection colours); the virtual styles have
// no items of their own, only Count, and take each item's text from OnData. The Unicode list
// box derives from it and replaces the window class, the item list and DrawItem.
#pragma once

#include <memory>

#include "platform/controls/Controls.h"
#include "platform/forms/ControlTypes.h"
#include "platform/forms/TCustomListControl.h"
#include "platform/forms/TListBoxStrings.h"

enum TListBoxStyle { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable, lbVirtual, lbVirtualOwnerDraw };

using TLBGetDataEvent = std::function<void(TWinControl* control, int index, AnsiString& data)>;

class TCustomListBox : public TCustomListControl {
 public:
  explicit TCustomListBox(TComponent* owner);
  ~TCustomListBox() override;

  TStrings* Items() const { return items_.get(); }
  virtual void SetItems(TStrings* value);
  int ItemIndex() override;
  void SetItemIndex(int value) override;
  int TopIndex();
  void SetTopIndex(int value);
  // Raises EStringListError "List index out of bounds (%d)" for an index outside the items.
  bool Selected(int index);
  void SetSelected(int index, bool value);
  int SelCount();
  // The number of items; for the virtual styles the only thing the list knows of its items.
  int Count();
  void SetCount(int value);
  int ItemCount() override { return Count(); }

  TListBoxStyle Style() const { return style_; }
  void SetStyle(TListBoxStyle value);
  bool Sorted() const { return sorted_; }
  void SetSorted(bool value);
  bool MultiSelect() const { return multiSelect_; }
  void SetMultiSelect(bool value);
  bool ExtendedSelect() const { return extendedSelect_; }
  void SetExtendedSelect(bool value);
  bool IntegralHeight() const { return integralHeight_; }
  void SetIntegralHeight(bool value);
  int ItemHeight();
  void SetItemHeight(int value);
  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle value);
  void AddItem(const AnsiString& item, TObject* object) override;
  void Clear() override;
  void ClearSelection() override;
  void CopySelection(TCustomListControl* destination) override;
  void DeleteSelected() override;
  void SelectAll() override;
  // The window's own operations, which the item lists use.
  virtual void DeleteString(int index);
  virtual void ResetContent();
  // The item's data word (the object of Items), raw.
  virtual LPARAM InternalGetItemData(int index);
  virtual void InternalSetItemData(int index, LPARAM data);

  TLBGetDataEvent OnData;

  void Dispatch(void* message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  bool ItemText(int index, AnsiString& text) override;
  // The text of a virtual item: OnData's answer, "" without one.
  virtual AnsiString DoGetData(int index);
  bool IsVirtual() const { return style_ == lbVirtual || style_ == lbVirtualOwnerDraw; }

 private:
  friend class TListBoxStrings;
  std::unique_ptr<TListBoxStrings> items_;
  TListBoxStyle style_ = lbStandard;
  bool sorted_ = false;
  bool multiSelect_ = false;
  bool extendedSelect_ = true;
  bool integralHeight_ = false;
  int itemHeight_ = 16;
  TBorderStyle borderStyle_ = bsSingle;
  // Kept while there is no window.
  int savedItemIndex_ = -1;
  int savedTopIndex_ = 0;
  int savedCount_ = 0;
  std::vector<bool> savedSelected_;
};

class TListBox : public TCustomListBox {
 public:
  explicit TListBox(TComponent* owner) : TCustomListBox(owner) {}
};
