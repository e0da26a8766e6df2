// The form library's message dialogs: MessageDlg asks with a TMessageForm and returns the
// modal result of the button chosen (mrYes, mrNo, ...); ShowMessage tells with an OK button.
#pragma once

#include "platform/forms/TMessageForm.h"

// A message dialog not yet shown, owned by the application; the caller frees it. The default
// button is OK when requested, else Yes, else Retry; the cancel button Cancel, else No, else OK.
TMessageForm* CreateMessageDialog(const AnsiString& message, TMsgDlgType type, TMsgDlgButtons buttons);
// Shows the dialog modally, centred on the screen, or at x and/or y when not negative.
int MessageDlgPos(const AnsiString& message, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext, int x,
                  int y);
int MessageDlg(const AnsiString& message, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext);
void ShowMessage(const AnsiString& message);
void ShowMessagePos(const AnsiString& message, int x, int y);
