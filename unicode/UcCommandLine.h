// The classic splitting of a UTF-16 command line into parameters: blanks and control characters
// separate them, a quotation mark toggles quoting and is dropped, and an empty pair of quotation
// marks between parameters is skipped. The program's own parameters are the platform's
// WideParamStr and WideParamCount; these routines split any command-line text the same way.
#pragma once

#include "platform/rtl/WideString.h"

// Parameter `index` of `commandLine` (0 is the program's name), empty past the end.
WideString WideParamStrOf(const WideString& commandLine, int index);
// The number of non-empty parameters after the program's name.
int WideParamCountOf(const WideString& commandLine);
