// The 8-bit side of the wrappers' fallbacks: UTF-16 arguments in the system code page and back.
#pragma once

#include <string_view>

#include "platform/rtl/AnsiString.h"
#include "platform/rtl/WideString.h"

// A null argument stays null: keep the AnsiString alive while the pointer is in use.
const char* UcNarrowArg(const char16_t* s, AnsiString& holder);
AnsiString UcNarrow(std::u16string_view s);
WideString UcWiden(const AnsiString& s);
