// Floating-point numbers as text with "." as the decimal separator, whatever the form library's
// separator is set to; safe to call from any thread.
#pragma once

#include "platform/rtl/WideString.h"

// The shortest text that reads back as the same value.
WideString ENG_US_FloatToStr(double value);
// Raises EConvertError when the text is not a number with "." (nor with the form library's own
// separator).
double ENG_US_StrToFloat(const WideString& s);
