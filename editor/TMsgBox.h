// TMsgBox: a warning with one button. Its message is that the only slide of a message cannot
// be deleted unless the caller sets the key of another; OK and the close button close it (2).
#pragma once

#include "editor/TOneButtonBox.h"

class TMsgBox : public TOneButtonBox {
 public:
  using TOneButtonBox::TOneButtonBox;

  TUcLabel* Boxlab = nullptr;

 protected:
  void Loaded() override;
};

// The instance start-up makes (never shown; every use makes a box of its own).
extern TMsgBox* MsgBox;

// Shows the warning of language key `key` (with `argument` for its "%s") in a box of its own,
// owned by the main form, and waits until it is closed.
void ShowMsgBox(const AnsiString& key, const WideString& argument = WideString());
