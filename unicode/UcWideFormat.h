// The layer's UTF-16 formatting: the form library's wide formatter, whatever the length of the
// result, and a form that writes into a caller's buffer.
#pragma once

#include <initializer_list>

#include "platform/rtl/Format.h"

WideString Uc_WideFmtStr(const WideString& format, std::initializer_list<TVarRec> args);
WideString Uc_WideFormat(const WideString& format, std::initializer_list<TVarRec> args);
// Writes at most `bufferLength` units of the result (no terminator) and returns the count.
unsigned Uc_WideFormatBuf(char16_t* buffer, unsigned bufferLength, const WideString& format,
                          std::initializer_list<TVarRec> args);
