// The form of the Unicode message dialogs (WideMessageDlg and its relatives): an empty form
// made in code that holds the dialog's icon, its message label and its buttons. It uses the
// system's message font, and Ctrl+C copies the whole dialog as text with a bell.
#pragma once

#include "platform/forms/TMessageForm.h"
#include "platform/rtl/WideString.h"
#include "unicode/TUcForm.h"

class TUcLabel;

class TUcMessageForm : public TUcForm {
 public:
  explicit TUcMessageForm(TComponent* owner);

  // The label holding the message.
  TUcLabel* Message = nullptr;
  int HelpContext = 0;
  AnsiString HelpFile;

  // The dialog as text: dividers, the caption, the message and the buttons' captions.
  WideString GetFormText();

 protected:
  void DescribeModal(platform::win::ModalInfo& info) override;

 private:
  friend TUcMessageForm* WideCreateMessageDialog(const WideString&, TMsgDlgType, TMsgDlgButtons, TMsgDlgBtn);
  void HelpButtonClick(TObject* sender);
  void CustomKeyDown(TObject* sender, WORD& key, TShiftState shift);
};
