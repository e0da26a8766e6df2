// The SMIL writer: turns the composer's slide table into the SMIL presentation that is the first
// part of every message file. The head and the two regions are always the same; each slide in use
// becomes one par element naming its parts by their part names. 8-bit text, CR LF line ends.
#pragma once

#include <string>

#include "mms/MmsSlidePartNames.h"

// A new NUL-terminated malloc block with the SMIL text (the caller frees it), or nullptr when
// memory runs out. Writes the durations and item times it used back into the composer: a slide
// of 0 ms or less gets 1000 ms, item times are clamped into their slide.
char* MmsBuildSmil();
// Appends the same text to `out` (no terminator), with the same write-back into the composer. May
// throw std::bad_alloc. Lets a caller keep one buffer across builds and, through `names` (one
// entry per slide in use, as MmsSlidePartNames gives them), work out the part names only once.
void MmsAppendSmil(std::string& out, const tMMS_SlidePartNames* names = nullptr);
