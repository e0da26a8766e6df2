// Code pages and text conversion: the process's system code page (CP_ACP, UTF-8 by default,
// settable to the single-byte pages 874 and 1250-1258 or to the double-byte pages
// 932/936/949/950), the classic conversion functions between 8-bit text and UTF-16, and the byte
// classification that splits 8-bit text into characters.
#pragma once

#include "platform/rtl/Types.h"

class AnsiString;
class WideString;

constexpr UINT CP_ACP = 0;
constexpr UINT CP_OEMCP = 1;
constexpr UINT CP_UTF7 = 65000;
constexpr UINT CP_UTF8 = 65001;

constexpr DWORD MB_PRECOMPOSED = 0x1;
constexpr DWORD MB_COMPOSITE = 0x2;
constexpr DWORD MB_USEGLYPHCHARS = 0x4;
constexpr DWORD MB_ERR_INVALID_CHARS = 0x8;
constexpr DWORD WC_NO_BEST_FIT_CHARS = 0x400;

constexpr UINT MAX_LEADBYTES = 12;
constexpr UINT MAX_DEFAULTCHAR = 2;

struct CPINFO {
  UINT MaxCharSize;
  BYTE DefaultChar[MAX_DEFAULTCHAR];
  BYTE LeadByte[MAX_LEADBYTES];  // pairs of inclusive ranges, ended by a 0, 0 pair
};
using LPCPINFO = CPINFO*;

// The system code page. Start-up sets it once (default 65001); tests set 1252 to pin the
// classic 8-bit results. Returns false (and changes nothing) for a page this layer lacks.
UINT GetACP();
UINT GetOEMCP();
bool SetSystemCodePage(UINT codePage);

// Classic semantics: a source length of -1 means "up to and including the terminator"; a
// destination size of 0 asks for the needed size; a destination too small fails with
// ERROR_INSUFFICIENT_BUFFER and writes nothing past its end. Undefined bytes of a single-byte
// page give U+FFFD (or fail with ERROR_NO_UNICODE_TRANSLATION under MB_ERR_INVALID_CHARS), and
// so does an undefined pair of a double-byte page or a lead byte without its trail byte (the
// byte after it is then read on its own). A page this layer lacks fails with
// ERROR_INVALID_PARAMETER.
int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR src, int srcBytes, LPWSTR dst, int dstUnits);
// Units a page lacks become `defaultChar` (else "?"), one per unit (a pair gives two), with
// *usedDefault set; there is no best fit. Under UTF-8 a lone surrogate becomes U+FFFD
// and sets *usedDefault.
int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR src, int srcUnits, LPSTR dst, int dstBytes,
                        LPCSTR defaultChar, LPBOOL usedDefault);

BOOL GetCPInfo(UINT codePage, LPCPINFO info);
BOOL IsDBCSLeadByte(BYTE b);
BOOL IsDBCSLeadByteEx(UINT codePage, BYTE b);

enum TMbcsByteType { mbSingleByte, mbLeadByte, mbTrailByte };
// The kind of the byte at 1-based `index` of `s` in the system code page: single-byte pages
// answer mbSingleByte for every byte; under UTF-8 lead bytes C2-F4 are mbLeadByte and
// continuation bytes mbTrailByte; under a double-byte page the byte after a lead byte is its
// trail byte. An index outside the text is mbSingleByte.
TMbcsByteType ByteType(const AnsiString& s, int index);
// The same over a terminated buffer with a 0-based index.
TMbcsByteType StrByteType(const char* s, unsigned index);

// Between UTF-16 and UTF-8 bytes, whatever the system code page.
AnsiString UTF8Encode(const WideString& s);
WideString UTF8Decode(const AnsiString& utf8);
// Between UTF-8 bytes and the system code page.
AnsiString Utf8ToAnsi(const AnsiString& utf8);
AnsiString AnsiToUtf8(const AnsiString& s);

#include <string>
#include <string_view>

namespace platform {
// Whole-string conversions through a code page (CP_ACP = the system code page), replacing what
// cannot be converted as the classic functions do. A double-byte page gives an empty result.
std::u16string MultiByteToUtf16(std::string_view s, UINT codePage = CP_ACP);
std::string Utf16ToMultiByte(std::u16string_view s, UINT codePage = CP_ACP);
}  // namespace platform
