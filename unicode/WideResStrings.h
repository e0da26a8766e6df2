// Resource strings as UTF-16: from the string table by id or by resource-string record, and the
// hook through which an application may supply them itself.
#pragma once

#include <initializer_list>

#include "platform/rtl/Format.h"
#include "platform/rtl/Resources.h"
#include "platform/rtl/WideString.h"

// Returns true when it supplied the text of `record` in `value`. Null by default.
using TWideCustomLoadResString = bool (*)(PResStringRec record, WideString& value);
extern TWideCustomLoadResString WideCustomLoadResString;

// The text of a resource-string record, however long; empty for a null record.
WideString WideLoadResString(PResStringRec record);
// A resource string kept as 8-bit text: UTF-8 after the bytes EF BB BF (when anything follows
// them), otherwise text in the system code page.
WideString WideResStringFromText(const char* text);
// The first non-empty string-table entry `id` of the program's resource modules, or empty.
WideString WideLoadStr(int id);
WideString WideFmtLoadStr(int id, std::initializer_list<TVarRec> args);
