// Text and name routines of the control library: characters in strings, accelerator marks,
// environment references, and names for new components.
#pragma once

#include "platform/forms/TComponent.h"
#include "platform/rtl/AnsiString.h"

// The last character; 0 for an empty text.
char LastChar(const AnsiString& s);
int CountChar(const AnsiString& s, char c);
// From position `from` (1-based) up to, not including, the n-th `c` after it (to the end when
// there are fewer).
AnsiString CopyEx(const AnsiString& s, int from, char c, int n);
// Without the first `c`.
AnsiString RemoveChar(const AnsiString& s, char c);
// Without single "&" accelerator marks; a doubled one stays single.
AnsiString RemovePrefixChars(const AnsiString& s);
// %NAME% references replaced by the environment's values; the text unchanged when one is unknown.
AnsiString ExpandEnvironmentVariables(const AnsiString& s);
// `base` followed by the first number from 1 no component of `owner` is named (the bare base
// first when `bareAllowed`), compared without case.
AnsiString GetNewComponentName(TComponent* owner, const AnsiString& base, bool bareAllowed = false);
// The text when it is a valid identifier, else its letters, digits and underscores (the first kept
// only when a letter or underscore), else `fallback`.
AnsiString CreateValidIdent(const AnsiString& text, const AnsiString& fallback);
