// TCustomComboBox and TComboBox: a combo box over the system "COMBOBOX" class, with a field
// (an edit for csDropDown and csSimple) and a drop-down list of Items. OnChange fires when the
// user edits the field (CBN_EDITCHANGE); choosing an item sets the text and fires OnClick and
// then OnSelect (OnChange when there is no OnSelect). The edit and list children are
// subclassed: their messages pass ComboWndProc, which gives the key events to the control
// (OnKeyDown, OnKeyPress; Enter and Esc close a dropped-down list) and completes typed text
// with the first item that starts with it (AutoComplete). The Unicode combo box derives from
// it and replaces the window class, the item list, ComboWndProc and DrawItem.
#pragma once

#include <memory>

#include "platform/controls/Controls.h"
#include "platform/forms/ControlTypes.h"
#include "platform/forms/TComboBoxStrings.h"
#include "platform/forms/TCustomListControl.h"

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };

class TCustomComboBox : public TCustomListControl {
 public:
  explicit TCustomComboBox(TComponent* owner);
  ~TCustomComboBox() override;

  TStrings* Items() const { return items_.get(); }
  virtual void SetItems(TStrings* value);
  int ItemIndex() override;
  void SetItemIndex(int value) override;
  int ItemCount() override { return items_->Count(); }
  bool DroppedDown();
  void SetDroppedDown(bool value);
  TComboBoxStyle Style() const { return style_; }
  void SetStyle(TComboBoxStyle value);
  bool Sorted() const { return sorted_; }
  void SetSorted(bool value);
  int DropDownCount() const { return dropDownCount_; }
  void SetDropDownCount(int value) { dropDownCount_ = value > 0 ? value : 1; }
  int MaxLength() const { return maxLength_; }
  void SetMaxLength(int value);
  int ItemHeight();
  void SetItemHeight(int value);
  bool AutoComplete() const { return autoComplete_; }
  void SetAutoComplete(bool value) { autoComplete_ = value; }
  bool AutoDropDown() const { return autoDropDown_; }
  void SetAutoDropDown(bool value) { autoDropDown_ = value; }
  // The field's selection, in bytes (styles with an edit).
  virtual int SelStart();
  virtual void SetSelStart(int value);
  virtual int SelLength();
  virtual void SetSelLength(int value);
  virtual AnsiString SelText();
  virtual void SetSelText(const AnsiString& value);
  // The children of the window (null without a window or, for the edit, without one).
  HWND EditHandle() const { return editHandle_; }
  HWND ListHandle() const { return listHandle_; }

  void AddItem(const AnsiString& item, TObject* object) override;
  void Clear() override;
  void ClearSelection() override;
  void CopySelection(TCustomListControl* destination) override;
  void DeleteSelected() override;
  void SelectAll() override;

  TNotifyEvent OnChange;
  TNotifyEvent OnSelect;
  TNotifyEvent OnDropDown;
  TNotifyEvent OnCloseUp;

  void Dispatch(void* message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void DestroyWindowHandle() override;
  // Every message of the edit and list children: `child` is the window, `childProc` the
  // procedure it had before the control subclassed it.
  virtual void ComboWndProc(TMessage& message, HWND child, WNDPROC childProc);
  bool KeyPress(char& key) override;
  bool ItemText(int index, AnsiString& text) override;
  virtual void Change();
  // OnSelect, or Change without one.
  virtual void Select();
  virtual void DropDown();
  virtual void CloseUp();
  bool HasEdit() const { return style_ == csDropDown || style_ == csSimple; }

  // The children's own procedures and the stubs that replace them (the Unicode combo box
  // puts its own list stub in).
  WNDPROC defEditProc_, defListProc_;
  WNDPROC editInstance_, listInstance_;
  HWND editHandle_ = nullptr, listHandle_ = nullptr;

 private:
  friend class TComboBoxStrings;
  // Selects the first item starting with `prefix` and completes the field with it.
  bool SelectItem(const std::string& prefix);
  void UnhookChildren();

  std::unique_ptr<TComboBoxStrings> items_;
  TComboBoxStyle style_ = csDropDown;
  bool sorted_ = false;
  int dropDownCount_ = 8;
  int maxLength_ = 0;
  int itemHeight_ = 16;
  bool autoComplete_ = true;
  bool autoDropDown_ = false;
  int savedItemIndex_ = -1;
  std::string filter_;  // what was typed into a list-only box, for the type-ahead search
  unsigned lastKeyTime_ = 0;
};

class TComboBox : public TCustomComboBox {
 public:
  explicit TComboBox(TComponent* owner) : TCustomComboBox(owner) {}
};
