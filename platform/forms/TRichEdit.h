// TCustomRichEdit and TRichEdit: the rich edit as far as this program uses it, a memo over the
// system multi-line edit holding plain text only (no character or paragraph formats, no
// selection-change notifications). PlainText and HideScrollBars are kept for layouts and
// descendants (the bordered rich edit publishes them); the text is plain either way and the
// memo's scroll bars show as ScrollBars says.
#pragma once

#include "platform/forms/TMemo.h"

class TCustomRichEdit : public TCustomMemo {
 public:
  explicit TCustomRichEdit(TComponent* owner);

  bool PlainText() const { return plainText_; }
  void SetPlainText(bool value) { plainText_ = value; }
  bool HideScrollBars() const { return hideScrollBars_; }
  void SetHideScrollBars(bool value);

 private:
  bool plainText_ = false;
  bool hideScrollBars_ = true;
};

class TRichEdit : public TCustomRichEdit {
 public:
  explicit TRichEdit(TComponent* owner) : TCustomRichEdit(owner) {}
};
