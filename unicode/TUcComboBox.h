// The form library's combo box with a UTF-16 window and wide items: the text, the selection and
// the typed completion work on UTF-16 text, the edit and list children stay UTF-16 windows, and
// the items, their objects, the selection and the text survive the window being made again.
#pragma once

#include <memory>

#include "platform/forms/TComboBox.h"
#include "platform/rtl/WideString.h"
#include "unicode/TUcComboBoxStrings.h"
#include "unicode/TUcStringList.h"
#include "unicode/UcControls.h"

// A combo box that searches its items itself: the index of the first item from after
// `startIndex` (-1: from the start) whose text begins with `value`, or -1.
class IUcComboFindString {
 public:
  virtual ~IUcComboFindString() = default;
  virtual int FindString(const WideString& value, int startIndex) = 0;
};

class TUcCustomComboBox : public TCustomComboBox, public IWideCustomListControl {
 public:
  explicit TUcCustomComboBox(TComponent* owner);
  ~TUcCustomComboBox() override;

  TUcStrings* Items() const { return items_.get(); }
  // The form library's 8-bit view of the same items.
  TStrings* AnsiItems() const { return TCustomComboBox::Items(); }
  virtual void SetItems(TUcStrings* value);
  void SetItems(TStrings* value) override;
  WideString Text();
  void SetText(const WideString& text);
  void SetText(const char16_t* text) { SetText(WideString(text)); }
  WideString Hint();
  void SetHint(const WideString& text);
  // The field's selection in UTF-16 units.
  int SelStart() override;
  void SetSelStart(int value) override;
  int SelLength() override;
  void SetSelLength(int value) override;
  WideString GetSelText();
  void SetSelText(const WideString& text);
  using TCustomComboBox::SetSelText;

  virtual void AddItem(const WideString& item, TObject* object) override;
  void AddItem(const AnsiString& item, TObject* object) override { TCustomComboBox::AddItem(item, object); }
  void CopySelection(TCustomListControl* destination) override;
  void Dispatch(void* message) override;

  // Whether the typed completion takes an item only when it is the one match, and whether it
  // keeps the case the user typed.
  virtual bool GetAutoComplete_UniqueMatchOnly() { return false; }
  virtual bool GetAutoComplete_PreserveDataEntryCase() { return true; }

 protected:
  using TCustomComboBox::SetText;
  void CreateWindowHandle(const TCreateParams& params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void ComboWndProc(TMessage& message, HWND child, WNDPROC childProc) override;
  void DrawItem(int index, const RECT& rect, TOwnerDrawState state) override;
  // A WM_CHAR of the edit child after OnKeyPress (the wide character in the safe form): the
  // typed completion; a consumed character comes back as 0.
  virtual void DoEditCharMsg(TMessage& message);
  bool KeyPress(char& key) override;
  TActionLinkClass GetActionLinkClass() const override;
  void ActionChange(TObject* sender, bool checkDefaults) override;

 private:
  friend class TUcComboBoxStrings;
  friend bool UcCombo_AutoCompleteSelect(TUcCustomComboBox*, const WideString&, bool, bool);
  friend void UcCombo_AutoCompleteKeyPress(TUcCustomComboBox*, WideChar&, bool, bool);
  friend void UcCombo_AutoSearchKeyPress(TUcCustomComboBox*, WideChar&);

  std::unique_ptr<TUcComboBoxStrings> items_;
  std::unique_ptr<TUcStringList> savedItems_;
  int savedItemIndex_ = -1;
  WideString searchText_;
  unsigned lastKeyTime_ = 0;
};

class TUcComboBox : public TUcCustomComboBox {
 public:
  explicit TUcComboBox(TComponent* owner) : TUcCustomComboBox(owner) {}
};

// The first item from after `startIndex` whose text begins with `text` (case-insensitive), or
// -1: the combo box's own search when it offers one, else the window's.
int UcCombo_FindString(TUcCustomComboBox* comboBox, const WideString& text, int startIndex);
// The first match when it is the only one, else -1.
int UcCombo_FindUniqueString(TUcCustomComboBox* comboBox, const WideString& text);
// Selects the item `text` begins (the unique one when asked) and, with an edit, completes the
// text with the item's tail, which is left selected. True when an item was found.
bool UcCombo_AutoCompleteSelect(TUcCustomComboBox* comboBox, const WideString& text, bool preserveCase,
                                bool uniqueOnly);
// The typed completion of the styles with an edit; raises EUcInternalError for the others.
void UcCombo_AutoCompleteKeyPress(TUcCustomComboBox* comboBox, WideChar& key, bool preserveCase,
                                  bool uniqueOnly);
// The type-ahead search of the list-only styles: keys within 1250 ms of each other search
// together.
void UcCombo_AutoSearchKeyPress(TUcCustomComboBox* comboBox, WideChar& key);
