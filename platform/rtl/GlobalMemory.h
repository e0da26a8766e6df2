// Global memory blocks (the clipboard's currency): GlobalAlloc hands out an opaque handle,
// GlobalLock the block's address, GlobalSize its size.
#pragma once

#include "platform/rtl/Types.h"

constexpr UINT GMEM_FIXED = 0x0;
constexpr UINT GMEM_MOVEABLE = 0x2;
constexpr UINT GMEM_ZEROINIT = 0x40;
constexpr UINT GHND = 0x42;
constexpr UINT GMEM_DDESHARE = 0x2000;

// Blocks always start zeroed. Null with ERROR_NOT_ENOUGH_MEMORY when the size cannot be had
// (or passes 2 GiB).
HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes);
// The block's address (null for an empty block or a bad handle).
LPVOID GlobalLock(HGLOBAL block);
// TRUE while the block stays locked; FALSE (last error 0) when the last lock went.
BOOL GlobalUnlock(HGLOBAL block);
SIZE_T GlobalSize(HGLOBAL block);
// Null on success, the handle when it was not a block.
HGLOBAL GlobalFree(HGLOBAL block);
HGLOBAL GlobalReAlloc(HGLOBAL block, SIZE_T bytes, UINT flags);
