// TCustomRadioGroup and TRadioGroup: a group box that shows one radio button per item of its
// Items, arranged in Columns (1 to 16), and keeps the chosen one as ItemIndex (-1: none).
// A click on a button sets ItemIndex and fires OnClick; setting ItemIndex in code checks the
// button without OnClick. While a layout is read, ItemIndex is kept as read and applied once the
// buttons exist; an index the items cannot show checks nothing.
#pragma once

#include <vector>

#include "platform/forms/TGroupBox.h"
#include "platform/rtl/TStringList.h"

class TGroupButton;

// The items of a radio group; a layout lists them as Items.Strings.
class TRadioGroupStrings : public TStringList {
 public:
  void DefineProperties(TFiler* filer) override;
};

class TCustomRadioGroup : public TCustomGroupBox {
 public:
  explicit TCustomRadioGroup(TComponent* owner);
  ~TCustomRadioGroup() override;
  TStrings* Items() { return &items_; }
  void SetItems(TStrings* value) { items_.Assign(value); }
  int ItemIndex() const { return itemIndex_; }
  void SetItemIndex(int value);
  int Columns() const { return columns_; }
  void SetColumns(int value);
  int ButtonCount() const { return int(buttons_.size()); }
  TGroupButton* Buttons(int index) const { return buttons_.at(size_t(index)); }
  void Loaded() override;
  void Dispatch(void* message) override;
  void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) override;
  // Nothing to flip: the buttons are placed by the group.
  void FlipChildren(bool /*allLevels*/) {}

 protected:
  friend class TGroupButton;
  virtual bool CanModify() { return true; }
  void ButtonClick(TObject* sender);
  void ItemsChange(TObject* sender);
  void UpdateButtons();
  void ArrangeButtons();

 private:
  void SetButtonCount(int count);
  bool Reading() const { return (ComponentState() & csReading) != 0; }
  std::vector<TGroupButton*> buttons_;
  TRadioGroupStrings items_;
  int itemIndex_ = -1;
  int columns_ = 1;
  bool updating_ = false;
};

class TRadioGroup : public TCustomRadioGroup {
 public:
  explicit TRadioGroup(TComponent* owner) : TCustomRadioGroup(owner) {}
};
