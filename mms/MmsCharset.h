// Charset conversions of the message reader: texts of parts and subjects arrive in the charset
// their sender named (an IANA MIBenum, or a name) and become UTF-16 here.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// MIBenums the reader knows by name.
inline constexpr int MMS_CHARSET_US_ASCII = 3;
inline constexpr int MMS_CHARSET_ISO_8859_1 = 4;
inline constexpr int MMS_CHARSET_SHIFT_JIS = 17;
inline constexpr int MMS_CHARSET_EUC_KR = 38;
inline constexpr int MMS_CHARSET_UTF8 = 106;
inline constexpr int MMS_CHARSET_GBK = 113;
inline constexpr int MMS_CHARSET_UCS2 = 1000;
inline constexpr int MMS_CHARSET_UTF16BE = 1013;
inline constexpr int MMS_CHARSET_UTF16LE = 1014;
inline constexpr int MMS_CHARSET_UTF16 = 1015;
inline constexpr int MMS_CHARSET_GB2312 = 2025;
inline constexpr int MMS_CHARSET_BIG5 = 2026;

// UTF-8 bytes as UTF-16; malformed sequences become U+FFFD.
std::u16string MmsUtf8ToWide(const uint8_t* bytes, int count);

// Bytes in the system code page as UTF-16.
std::u16string MmsSystemToWide(const uint8_t* bytes, int count);

// Text that names no charset, or one that senders put on any 8-bit text (us-ascii): through the
// system code page as it always was, except that under UTF-8 bytes that are not valid UTF-8 are
// read as windows-1252, where every byte is a character, so that no letter is lost.
std::u16string MmsUnlabelledToWide(const uint8_t* bytes, int count);

// The same rule for an 8-bit header text kept as 8-bit text (an address): valid UTF-8 stays as it
// is, anything else is read as windows-1252 and given back in UTF-8. A byte-order mark in front
// is dropped.
std::string MmsHeaderTextToUtf8(std::string_view bytes);

// A text part's `*length` bytes in `charset` as UTF-16; `*length` becomes the number of UTF-16
// units. None for no bytes or a length of 0 or less. UCS-2 and UTF-16 honour a byte-order mark
// and are big-endian without one (an odd last byte is dropped); ISO-8859-1 is Latin-1 when the
// bytes are valid UTF-8 and windows-1252 otherwise; the windows-125x charsets go through the
// code-page tables and the double-byte ones (Shift_JIS, GB2312/GBK, Big5, EUC-KR) through the
// run-time library's double-byte code pages; us-ascii and any other charset follow
// MmsUnlabelledToWide (valid UTF-8 of an unknown charset is read as UTF-8).
std::optional<std::u16string> MmsCharsetToWide(int charset, const uint8_t* bytes, int* length);

// True for the charsets MmsCharsetToWide decodes by their own rules (not by guessing).
bool MmsCharsetKnown(int charset);

// The MIBenum of a charset given by name ("ISO-8859-1", "utf-8", "Shift_JIS"; any case); 0 for a
// name this reader does not know.
int MmsCharsetFromName(std::string_view name);
