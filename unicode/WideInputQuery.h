// Asking for one line of UTF-16 text: a small dialog with the prompt, an edit holding the
// starting value (all selected), OK and Cancel.
#pragma once

#include "platform/rtl/WideString.h"

// True with `value` := the typed text when OK was chosen; `value` is kept otherwise.
bool WideInputQuery(const WideString& caption, const WideString& prompt, WideString& value);
// The typed text, or `defaultValue` when the dialog was cancelled.
WideString WideInputBox(const WideString& caption, const WideString& prompt, const WideString& defaultValue);
