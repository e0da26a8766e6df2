// Asks for a file name with the Unicode open (or save) dialog.
#pragma once

#include "platform/rtl/WideString.h"

// True with `fileName` := the chosen file when the person confirmed; an empty filter offers
// all files; a save dialog asks before an existing file is replaced.
bool WidePromptForFileName(WideString& fileName, const WideString& filter = WideString(),
                           const WideString& defaultExt = WideString(),
                           const WideString& title = WideString(),
                           const WideString& initialDir = WideString(), bool saveDialog = false);
