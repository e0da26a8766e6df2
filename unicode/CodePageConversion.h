// Conversions between UTF-16 and 8-bit text through a numbered code page, UTF-8 and raw UCS-2
// bytes, and the code pages of font character sets, locales and the keyboard.
#pragma once

#include "platform/rtl/AnsiString.h"
#include "platform/rtl/CodePage.h"
#include "platform/rtl/WideString.h"

// The layer's default code page: 0, the system code page.
UINT DefaultSystemCodePage();

// 65000 is UTF-7, 65001 UTF-8, any other page goes through the system's conversion. A page the
// system cannot convert raises the last OS error; a non-empty text never comes back empty.
WideString StringToWideStringEx(const AnsiString& s, UINT codePage);
AnsiString WideStringToStringEx(const WideString& s, UINT codePage);

// Thin names over the program's one UTF-8 codec.
AnsiString WideStringToUTF8(const WideString& s);
WideString UTF8ToWideString(const AnsiString& s);

// Raw little-endian 16-bit units; an odd last byte is dropped.
WideString UCS2ToWideString(const AnsiString& bytes);
AnsiString WideStringToUCS2(const WideString& s);
// Swaps the bytes of every unit up to the terminating zero unit.
void StrSwapByteOrder(char16_t* s);

// The ANSI code page of a font character set; an unknown set raises the last OS error.
UINT CharSetToCodePage(DWORD charSet);
// The ANSI code page of a locale. Every locale here uses the system code page.
UINT LCIDToCodePage(LCID locale);
UINT KeyboardCodePage();
// A key character as UTF-16: values from 256 up are already UTF-16; a smaller value is one byte
// of the keyboard code page and gives its character when that byte alone is one, else it is
// returned unchanged.
char16_t KeyUnicode(char16_t c);
