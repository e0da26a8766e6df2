// How the 8-bit fallbacks of the system-service wrappers hand a widened result back into the
// caller's UTF-16 buffer of a given size, with the options each wrapper asks for. Also the
// fetch of an 8-bit result of any length from an A call that reports the size it needs.
#pragma once

#include <functional>

#include "platform/rtl/AnsiString.h"
#include "platform/rtl/Types.h"
#include "platform/rtl/WideString.h"

enum TUcCopyBackOption : unsigned {
  cbNone = 0,
  // A result that does not fit fills the buffer without a terminator and returns its size.
  cbTruncating = 1,
  // A result exactly the buffer's size loses its last unit to the terminator.
  cbExactFit = 2,
  // A result that does not fit leaves an empty string behind.
  cbClearing = 4,
  // A result that does not fit leaves its leading folders (up to a delimiter) unterminated.
  cbPartialPath = 8,
};

// Copies `w` into `buffer` (room for `size` units) by the options; returns the units copied or,
// when the result does not fit, the size it needs (length + 1) unless truncating.
DWORD UcCopyBack(const WideString& w, char16_t* buffer, DWORD size, unsigned options);

// Calls `fetch(buffer, size)` with growing 8-bit buffers until the result fits. `fetch` returns
// the length written (below size), the size it needs (at least size) or 0 on failure. Returns
// false on failure.
bool UcFetchNarrow(const std::function<DWORD(char*, DWORD)>& fetch, AnsiString& result);
