// The layer's UTF-16 formatting: the form library's wide formatter, whatever the length of the
// result, and a form that writes into a caller's buffer.
#pragma once

#include <initializer_list>

#include "platform/rtl/Format.h"

WideString Uc_WideFmtStr(const WideString& format, std::initializer_list<TVarRec> args);
// The same over an argument array (`high` the last index), as the library's formatter takes it.
WideString Uc_WideFmtStr(const WideString& format, const TVarRec* args, int high);
WideString Uc_WideFormat(const WideString& format, std::initializer_list<TVarRec> args);
// Writes at most `bufferLength` units of the result (no terminator) and returns the count.
unsigned Uc_WideFormatBuf(char16_t* buffer, unsigned bufferLength, const WideString& format,
                          std::initializer_list<TVarRec> args);
