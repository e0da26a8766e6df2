// TCustomRichEdit and TRichEdit: the rich edit as far as this program uses it, a memo over the
// system multi-line edit holding plain text only (no character or paragraph formats).
// OnSelectionChange fires once for every change of the selection or the caret, however it came
// (keys, mouse, text set from code). PlainText and HideScrollBars are kept for layouts and
// descendants (the bordered rich edit publishes them); the text is plain either way and the
// memo's scroll bars show as ScrollBars says. OnProtectChange, OnResizeRequest and
// OnSaveClipboard are kept for layouts but never fire: plain text has no protected ranges, no
// content that asks for room, and no objects to leave on the clipboard.
#pragma once

#include <functional>

#include "platform/forms/TMemo.h"

using TRichEditProtectChange =
    std::function<void(TObject* sender, int startPos, int endPos, bool& allowChange)>;
using TRichEditResizeEvent = std::function<void(TObject* sender, RECT& rect)>;
using TRichEditSaveClipboard =
    std::function<void(TObject* sender, int numObjects, int numChars, bool& saveClipboard)>;

class TCustomRichEdit : public TCustomMemo {
 public:
  explicit TCustomRichEdit(TComponent* owner);

  bool PlainText() const { return plainText_; }
  void SetPlainText(bool value) { plainText_ = value; }
  bool HideScrollBars() const { return hideScrollBars_; }
  void SetHideScrollBars(bool value);

  void Dispatch(void* message) override;

  TNotifyEvent OnSelectionChange;
  TRichEditProtectChange OnProtectChange;
  TRichEditResizeEvent OnResizeRequest;
  TRichEditSaveClipboard OnSaveClipboard;

 protected:
  virtual void SelectionChange();

 private:
  void CheckSelection();
  bool plainText_ = false;
  bool hideScrollBars_ = true;
  DWORD lastStart_ = 0, lastEnd_ = 0;
};

class TRichEdit : public TCustomRichEdit {
 public:
  explicit TRichEdit(TComponent* owner) : TCustomRichEdit(owner) {}
};
