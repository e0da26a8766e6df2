// Wrappers of the text services: the UTF-16 entry point on a Unicode system, otherwise the 8-bit
// one with the texts converted through the system code page.
#pragma once

#include "platform/controls/Menus.h"
#include "platform/gdi/Gdi.h"
#include "platform/rtl/CharCase.h"
#include "platform/rtl/Locale.h"
#include "platform/rtl/Resources.h"
#include "platform/win/Win.h"

// The locale the layer compares and classifies in (US English).
LCID UcThreadLocale();

BOOL Uc_SetWindowTextW(HWND hwnd, LPCWSTR text);
int Uc_DrawTextW(HDC dc, LPCWSTR text, int count, RECT* rect, UINT format);
int Uc_CompareStringW(LCID locale, DWORD flags, LPCWSTR a, int na, LPCWSTR b, int nb);
LPWSTR Uc_CharUpperW(LPWSTR s);
LPWSTR Uc_CharLowerW(LPWSTR s);
DWORD Uc_CharUpperBuffW(LPWSTR s, DWORD length);
DWORD Uc_CharLowerBuffW(LPWSTR s, DWORD length);
int Uc_LoadStringW(HINSTANCE instance, UINT id, LPWSTR buffer, int size);
BOOL Uc_InsertMenuItemW(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFOW* info);
BOOL Uc_GetStringTypeExW(LCID locale, DWORD infoType, LPCWSTR src, int count, LPWORD types);
int Uc_GetCurrencyFormatW(LCID locale, DWORD flags, LPCWSTR value, const CURRENCYFMTW* format, LPWSTR out,
                          int size);

// True when the pointer's high bits are zero: a resource given by number.
bool Uc_Is_IntResource(const void* p);

constexpr WORD MAKELANGID(WORD primary, WORD sub) { return static_cast<WORD>((sub << 10) | primary); }
constexpr WORD PRIMARYLANGID(WORD language) { return language & 0x3FF; }
constexpr WORD SUBLANGID(WORD language) { return language >> 10; }
constexpr DWORD MAKELCID(WORD language, WORD sort) { return (DWORD{sort} << 16) | language; }
constexpr WORD LANGIDFROMLCID(LCID locale) { return static_cast<WORD>(locale & 0xFFFF); }
constexpr WORD SORTIDFROMLCID(LCID locale) { return static_cast<WORD>(locale >> 16); }
