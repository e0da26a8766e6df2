// Resources compiled into the program: constant blobs keyed by (type, name or integer id) in
// the one module (HInstance), registered at start-up by the code that embeds them, and the
// classic functions and TResourceStream over them. Names compare case-insensitively (ASCII).
#pragma once

#include <cstdint>

#include "platform/rtl/AnsiString.h"
#include "platform/rtl/TMemoryStream.h"
#include "platform/rtl/Types.h"
#include "platform/rtl/WideString.h"

struct HRSRC__;
using HRSRC = HRSRC__*;

inline LPSTR MAKEINTRESOURCEA(WORD id) { return reinterpret_cast<LPSTR>(static_cast<std::uintptr_t>(id)); }
inline LPWSTR MAKEINTRESOURCEW(WORD id) { return reinterpret_cast<LPWSTR>(static_cast<std::uintptr_t>(id)); }
#define MAKEINTRESOURCE(id) MAKEINTRESOURCEA(static_cast<WORD>(id))
inline bool IS_INTRESOURCE(const void* p) { return (reinterpret_cast<std::uintptr_t>(p) >> 16) == 0; }

#define RT_CURSOR MAKEINTRESOURCE(1)
#define RT_BITMAP MAKEINTRESOURCE(2)
#define RT_ICON MAKEINTRESOURCE(3)
#define RT_STRING MAKEINTRESOURCE(6)
#define RT_RCDATA MAKEINTRESOURCE(10)
#define RT_GROUP_CURSOR MAKEINTRESOURCE(12)
#define RT_GROUP_ICON MAKEINTRESOURCE(14)

// Null with ERROR_RESOURCE_TYPE_NOT_FOUND / ERROR_RESOURCE_NAME_NOT_FOUND when absent.
HRSRC FindResourceA(HMODULE module, LPCSTR name, LPCSTR type);
HRSRC FindResourceW(HMODULE module, LPCWSTR name, LPCWSTR type);
HGLOBAL LoadResource(HMODULE module, HRSRC resource);
// The constant bytes (never to be written).
LPVOID LockResource(HGLOBAL loaded);
DWORD SizeofResource(HMODULE module, HRSRC resource);
BOOL FreeResource(HGLOBAL loaded);  // nothing to free: FALSE, the classic "done"

// A string of the string table: copies at most size - 1 units plus a terminator and returns
// the count; 0 when absent. LoadStringW with size 0 stores a read-only pointer to the text in
// *buffer (reinterpreted as LPWSTR*) and returns its length.
int LoadStringA(HINSTANCE instance, UINT id, LPSTR buffer, int size);
int LoadStringW(HINSTANCE instance, UINT id, LPWSTR buffer, int size);

struct TResStringRec {
  const HINSTANCE* Module;
  int Identifier;
};
using PResStringRec = const TResStringRec*;
AnsiString LoadResString(PResStringRec record);
AnsiString LoadStr(int id);
HINSTANCE FindResourceHInstance(HINSTANCE instance);
HINSTANCE FindClassHInstance(const void* classRef);

// A read-only stream over a resource; EResNotFound "Resource %s not found" when absent.
class TResourceStream : public TCustomMemoryStream {
 public:
  TResourceStream(HINSTANCE instance, const AnsiString& name, LPCSTR type);
  static TResourceStream* CreateFromID(HINSTANCE instance, int id, LPCSTR type);
  int Write(const void* buffer, int count) override;  // EStreamError

 private:
  TResourceStream(HINSTANCE instance, LPCSTR name, LPCSTR type, const AnsiString& shownName);
};

namespace platform {
// Registers a resource; `type` and `name` may be integer ids (MAKEINTRESOURCE). The bytes must
// live as long as the program. A second registration of the same key replaces the first.
void RegisterResource(LPCSTR type, LPCSTR name, const void* data, std::size_t size);
// Registers a string-table entry (UTF-16).
void RegisterResourceString(UINT id, const char16_t* text);
}  // namespace platform
