// Integer parsing with the classic rules shared by StrToInt, AnsiString::ToInt and the
// profile readers: leading blanks, an optional sign, decimal digits or "$"/"0x" hexadecimal,
// nothing after the number, and no overflow of the 32-bit range.
#pragma once

#include <cstdint>
#include <string_view>

namespace platform {

bool ParseInt(std::string_view text, int& value);
bool ParseInt(std::u16string_view text, int& value);
bool ParseInt64(std::string_view text, std::int64_t& value);

}  // namespace platform
