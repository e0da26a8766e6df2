// UTF-7 (RFC 2152) between UTF-16 and 8-bit text. The encoder writes the optional direct
// characters as themselves and shifts everything else that is not plain ASCII text; the decoder
// reads the whole input and raises EUcGeneralError "Invalid UTF7" afterwards when any of it was
// not well formed.
#pragma once

#include "platform/rtl/AnsiString.h"
#include "platform/rtl/WideString.h"

AnsiString WideStringToUTF7(const WideString& s);
WideString UTF7ToWideString(const AnsiString& s);
