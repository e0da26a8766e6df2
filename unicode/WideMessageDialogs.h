// Message dialogs with UTF-16 texts: the form library's message dialog made of Unicode
// controls (an icon of the dialog type, the word-wrapped message and one button per requested
// answer), shown modally; the chosen button's modal result is returned.
#pragma once

#include <initializer_list>

#include "platform/forms/TMessageForm.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/WideString.h"
#include "unicode/TUcMessageForm.h"

// The form caption of a dialog type and a button's caption; EUcInternalError for a value outside
// the tables.
WideString GetMessageCaption(TMsgDlgType type);
WideString GetButtonCaption(TMsgDlgBtn button);

// The dialog, not yet shown; the caller frees it. The cancel button is Cancel, else No, else OK.
TUcMessageForm* WideCreateMessageDialog(const WideString& message, TMsgDlgType type, TMsgDlgButtons buttons,
                                        TMsgDlgBtn defaultButton);
// The default button is OK when requested, else Yes when requested, else Retry.
TUcMessageForm* WideCreateMessageDialog(const WideString& message, TMsgDlgType type, TMsgDlgButtons buttons);

// Shows the dialog at x and/or y where they are not negative (centred on the screen when both
// are) and answers the chosen button's modal result; the form is freed in every case.
int WideMessageDlgPosHelp(const WideString& message, TMsgDlgType type, TMsgDlgButtons buttons,
                          int helpContext, int x, int y, const AnsiString& helpFileName);
int WideMessageDlgPosHelp(const WideString& message, TMsgDlgType type, TMsgDlgButtons buttons,
                          int helpContext, int x, int y, const AnsiString& helpFileName,
                          TMsgDlgBtn defaultButton);
int WideMessageDlgPos(const WideString& message, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext,
                      int x, int y);
int WideMessageDlgPos(const WideString& message, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext,
                      int x, int y, TMsgDlgBtn defaultButton);
int WideMessageDlg(const WideString& message, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext);
int WideMessageDlg(const WideString& message, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext,
                   TMsgDlgBtn defaultButton);

void WideShowMessage(const WideString& message);
void WideShowMessagePos(const WideString& message, int x, int y);
// Shows the formatted text (the layer's wide formatter).
void WideShowMessageFmt(const WideString& format, std::initializer_list<TVarRec> args);
