// TMessageForm: the form library's message dialog, a dialog-bordered form with an icon for its
// type, the word-wrapped message and one button per requested answer, each closing the form
// with its modal result. CreateMessageDialog builds it (MessageDialogs.h); a test's script sees
// it as a message box with the message and the button captions as texts.
#pragma once

#include <vector>

#include "platform/forms/TForm.h"

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn {
  mbYes,
  mbNo,
  mbOK,
  mbCancel,
  mbAbort,
  mbRetry,
  mbIgnore,
  mbAll,
  mbNoToAll,
  mbYesToAll,
  mbHelp
};
using TMsgDlgButtons = unsigned;  // bits 1 << TMsgDlgBtn
constexpr TMsgDlgButtons MsgDlgButton(TMsgDlgBtn button) { return 1u << button; }
constexpr TMsgDlgButtons mbYesNoCancel = MsgDlgButton(mbYes) | MsgDlgButton(mbNo) | MsgDlgButton(mbCancel);
constexpr TMsgDlgButtons mbYesNo = MsgDlgButton(mbYes) | MsgDlgButton(mbNo);
constexpr TMsgDlgButtons mbOKCancel = MsgDlgButton(mbOK) | MsgDlgButton(mbCancel);
constexpr TMsgDlgButtons mbAbortRetryIgnore =
    MsgDlgButton(mbAbort) | MsgDlgButton(mbRetry) | MsgDlgButton(mbIgnore);

// The form caption of a dialog type ("Warning", "Error", "Information", "Confirm"; the
// application's title for mtCustom) and a button's caption, component name and modal result.
AnsiString MessageDialogCaption(TMsgDlgType type);
const char* MessageDialogButtonCaption(TMsgDlgBtn button);
const char* MessageDialogButtonName(TMsgDlgBtn button);
TModalResult MessageDialogButtonResult(TMsgDlgBtn button);

class TButton;

class TMessageForm : public TForm {
 public:
  explicit TMessageForm(TComponent* owner);

  const AnsiString& Message() const { return message_; }
  TMsgDlgType DialogType() const { return type_; }
  // The buttons in order, left to right.
  const std::vector<TButton*>& Buttons() const { return buttons_; }
  TButton* DefaultButton() const { return defaultButton_; }
  TButton* CancelButton() const { return cancelButton_; }
  int HelpContext = 0;

  void Dispatch(void* message) override;

 protected:
  friend TMessageForm* CreateMessageDialog(const AnsiString&, TMsgDlgType, TMsgDlgButtons);
  void PaintWindow(HDC dc) override;
  void DescribeModal(platform::win::ModalInfo& info) override;

 private:
  AnsiString message_;
  TMsgDlgType type_ = mtCustom;
  RECT iconRect_{0, 0, 0, 0};
  RECT textRect_{0, 0, 0, 0};
  std::vector<TButton*> buttons_;
  TButton* defaultButton_ = nullptr;
  TButton* cancelButton_ = nullptr;
};
