// Comparison of UTF-16 texts in the layer's locale, with the system's comparison flags. Where
// the system cannot collate, texts are ordered by their units rather than all reported "less".
#pragma once

#include "platform/rtl/Types.h"

// Negative, 0 or positive. A count of -1 runs to the terminator.
int UcCollate(const char16_t* a, int na, const char16_t* b, int nb, DWORD flags);
