// How the tests print the library's string types in failure messages.
#pragma once

#include <ostream>

#include "platform/rtl/AnsiString.h"
#include "platform/rtl/Utf8.h"
#include "platform/rtl/WideString.h"

inline void PrintTo(const AnsiString& s, std::ostream* os) { *os << '"' << s.ToStd() << '"'; }
inline void PrintTo(const WideString& s, std::ostream* os) {
  *os << "u\"" << platform::Utf16ToUtf8(s.ToU16()) << '"';
}
