// The form library's list box with a UTF-16 window and wide items, which survive the window
// being made again with their objects, the top item and the selection. A virtual list box
// takes its texts from a wide data event (or the 8-bit OnData) and answers the window's text
// questions itself, never writing more than the length it reported for the item.
#pragma once

#include <functional>
#include <memory>
#include <unordered_map>

#include "platform/forms/TListBox.h"
#include "platform/rtl/WideString.h"
#include "unicode/TUcListBoxStrings.h"
#include "unicode/TUcStringList.h"
#include "unicode/UcControls.h"

using TLBGetWideDataEvent = std::function<void(TWinControl* control, int index, WideString& data)>;

class TUcCustomListBox : public TCustomListBox, public IWideCustomListControl {
 public:
  explicit TUcCustomListBox(TComponent* owner);
  ~TUcCustomListBox() override;

  TUcStrings* Items() const { return items_.get(); }
  // The form library's 8-bit view of the same items.
  TStrings* AnsiItems() const { return TCustomListBox::Items(); }
  virtual void SetItems(TUcStrings* value);
  void SetItems(TStrings* value) override;
  WideString Hint();
  void SetHint(const WideString& text);

  void AddItem(const WideString& item, TObject* object) override;
  void AddItem(const AnsiString& item, TObject* object) override { TCustomListBox::AddItem(item, object); }
  void CopySelection(TCustomListControl* destination) override;
  void Dispatch(void* message) override;

  // The texts of a virtual list box.
  TLBGetWideDataEvent OnDataW;

 protected:
  void CreateWindowHandle(const TCreateParams& params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void DrawItem(int index, const RECT& rect, TOwnerDrawState state) override;
  TActionLinkClass GetActionLinkClass() const override;
  void ActionChange(TObject* sender, bool checkDefaults) override;

 private:
  // The text of a virtual item; false without a data event or for an index outside the items.
  bool VirtualText(int index, WideString& text);
  void AnswerGetText(TMessage& message);
  void AnswerGetTextLength(TMessage& message);

  std::unique_ptr<TUcListBoxStrings> items_;
  std::unique_ptr<TUcStringList> savedItems_;
  int savedTopIndex_ = 0;
  int savedItemIndex_ = -1;
  // The length last reported for each virtual item, in the units the caller asked in.
  std::unordered_map<int, int> reportedLength_;
};

class TUcListBox : public TUcCustomListBox {
 public:
  explicit TUcListBox(TComponent* owner) : TUcCustomListBox(owner) {}
};
