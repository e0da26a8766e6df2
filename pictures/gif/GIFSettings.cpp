#include "pictures/gif/GIFSettings.h"

int GIFDelayExp = 12;
int GIFDefaultDelay = 10;
int GIFMinimumDelay = 3;
int GIFMaximumDelay = 1000;
const char GIFVersions[2][4] = {"87a", "89a"};
TGIFDrawOptions GIFImageDefaultDrawOptions = GIFDrawOption(goAsync) | GIFDrawOption(goTransparent) |
                                             GIFDrawOption(goAnimate) | GIFDrawOption(goLoop) |
                                             GIFDrawOption(goDither) | GIFDrawOption(goAutoDither);
TColorReduction GIFImageDefaultColorReduction = rmNetscape;
int GIFImageDefaultColorReductionBits = 8;
TDitherMode GIFImageDefaultDitherMode = TDitherMode::dmNearest;
TGIFCompression GIFImageDefaultCompression = gcLZW;
TThreadPriority GIFImageDefaultThreadPriority = tpNormal;
int GIFImageDefaultAnimationSpeed = 100;
bool DoAutoDither = false;
bool PaletteDevice = false;
bool GIFImageRenderOnLoad = false;
bool GIFImageOptimizeOnStream = false;
UINT CF_GIF = 0;
std::int64_t GIFMaximumImagePixels = std::int64_t(1) << 26;
std::int64_t GIFMaximumTotalPixels = std::int64_t(1) << 28;
