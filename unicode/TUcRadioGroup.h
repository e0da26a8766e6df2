// The radio group of the layer: a Unicode group box showing one Unicode radio button per item of
// its wide Items, in Columns (1 to 16), with the chosen one as ItemIndex (-1: none). A click sets
// ItemIndex and fires OnClick; setting ItemIndex in code checks the button without OnClick. While
// a layout is read, ItemIndex is kept as read and applied once the buttons exist; an index the
// items cannot show checks nothing.
#pragma once

#include <vector>

#include "unicode/TUcGroupBox.h"
#include "unicode/TUcStringList.h"

class TUcGroupButton;

class TUcCustomRadioGroup : public TUcCustomGroupBox {
 public:
  explicit TUcCustomRadioGroup(TComponent* owner);
  ~TUcCustomRadioGroup() override;
  TUcStringList* Items() { return &items_; }
  void SetItems(TWideStrings* value) { items_.Assign(value); }
  int ItemIndex() const { return itemIndex_; }
  void SetItemIndex(int value);
  int Columns() const { return columns_; }
  void SetColumns(int value);
  int ButtonCount() const { return int(buttons_.size()); }
  TUcGroupButton* Buttons(int index) const { return buttons_.at(size_t(index)); }
  void Loaded() override;
  void Dispatch(void* message) override;
  void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) override;
  // Nothing to flip: the buttons are placed by the group.
  void FlipChildren(bool /*allLevels*/) {}

 protected:
  friend class TUcGroupButton;
  virtual bool CanModify() { return true; }
  void ButtonClick(TObject* sender);
  void ItemsChange(TObject* sender);
  void UpdateButtons();
  void ArrangeButtons();

 private:
  void SetButtonCount(int count);
  bool Reading() const { return (ComponentState() & csReading) != 0; }
  std::vector<TUcGroupButton*> buttons_;
  TUcStringList items_;
  int itemIndex_ = -1;
  int columns_ = 1;
  bool updating_ = false;
};

class TUcRadioGroup : public TUcCustomRadioGroup {
 public:
  explicit TUcRadioGroup(TComponent* owner) : TUcCustomRadioGroup(owner) {}
};
