// The texts of OS error codes as UTF-16, from the system or from a library module.
#pragma once

#include "platform/rtl/Types.h"
#include "platform/rtl/WideString.h"

// The system's text for `code`, trailing line break included.
WideString WideSysErrorMessage(DWORD code);
// The text of `code` from `module` (the system when null); "Unspecified error (N) from NAME."
// when there is none or it holds nothing but blanks and control characters.
WideString WideLibraryErrorMessage(const WideString& libraryName, HMODULE module, DWORD code);
