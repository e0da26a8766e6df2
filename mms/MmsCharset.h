// Charset conversions of the message reader: texts of parts and subjects arrive in the charset
// their sender named (an IANA MIBenum) and become UTF-16 here.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// MIBenums the reader knows by name.
inline constexpr int MMS_CHARSET_US_ASCII = 3;
inline constexpr int MMS_CHARSET_ISO_8859_1 = 4;
inline constexpr int MMS_CHARSET_UTF8 = 106;
inline constexpr int MMS_CHARSET_UCS2 = 1000;
inline constexpr int MMS_CHARSET_UTF16BE = 1013;
inline constexpr int MMS_CHARSET_UTF16LE = 1014;
inline constexpr int MMS_CHARSET_UTF16 = 1015;

// UTF-8 bytes as UTF-16; malformed sequences become U+FFFD.
std::u16string MmsUtf8ToWide(const uint8_t* bytes, int count);

// Bytes in the system code page as UTF-16.
std::u16string MmsSystemToWide(const uint8_t* bytes, int count);

// A text part's `*length` bytes in `charset` as UTF-16; `*length` becomes the number of UTF-16
// units. None for no bytes or a length of 0 or less. UCS-2 and UTF-16 honour a byte-order mark
// and are big-endian without one (an odd last byte is dropped); ISO-8859-1 and the windows-125x
// charsets go through the code-page tables; 3 through the system code page; any other charset
// is read as UTF-8 when it is valid UTF-8, else in the system code page.
std::optional<std::u16string> MmsCharsetToWide(int charset, const uint8_t* bytes, int* length);

// True for the charsets MmsCharsetToWide decodes by their own rules (not by guessing).
bool MmsCharsetKnown(int charset);
