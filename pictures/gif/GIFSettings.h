// The settings every new GIF picture reads: defaults of its drawing, colour reduction and
// compression, frame delays, and the size limits that keep a hostile file from asking for
// unbounded memory. All are writable by the host.
#pragma once

#include <cstdint>

#include "pictures/GIFTypes.h"
#include "platform/rtl/TThread.h"

extern int GIFDelayExp;
extern int GIFDefaultDelay;
extern int GIFMinimumDelay;
extern int GIFMaximumDelay;
// The version text written after "GIF" for gv87a and gv89a.
extern const char GIFVersions[2][4];
extern TGIFDrawOptions GIFImageDefaultDrawOptions;
extern TColorReduction GIFImageDefaultColorReduction;
extern int GIFImageDefaultColorReductionBits;
extern TDitherMode GIFImageDefaultDitherMode;
extern TGIFCompression GIFImageDefaultCompression;
extern TThreadPriority GIFImageDefaultThreadPriority;
extern int GIFImageDefaultAnimationSpeed;
extern bool DoAutoDither;
extern bool PaletteDevice;
extern bool GIFImageRenderOnLoad;
extern bool GIFImageOptimizeOnStream;
extern UINT CF_GIF;
// The most pixels one frame, or the logical screen, may have.
extern std::int64_t GIFMaximumImagePixels;
// The most pixels all frames of one picture may have together.
extern std::int64_t GIFMaximumTotalPixels;
