// GIFException, the exception of the GIF picture classes, and the texts of their messages.
#pragma once

#include "platform/rtl/Exceptions.h"

class GIFException : public EInvalidGraphic {
 public:
  using EInvalidGraphic::EInvalidGraphic;
};

// Raises GIFException with one of the texts below.
[[noreturn]] void GIFError(const char* message);

inline constexpr char sBadDimension[] = "Invalid image dimensions";
inline constexpr char sNoDIB[] = "Image has no DIB";
inline constexpr char sInvalidStream[] = "Invalid stream operation";
inline constexpr char sInvalidColor[] = "Color not in color table";
inline constexpr char sInvalidBitSize[] = "Invalid Bits Per Pixel value";
inline constexpr char sEmptyColorMap[] = "Color table is empty";
inline constexpr char sEmptyImage[] = "Image is empty";
inline constexpr char sInvalidBitmapList[] = "Invalid bitmap list";
inline constexpr char sInvalidReduction[] = "Invalid reduction method";
inline constexpr char sGIFImageFile[] = "GIF Image";
inline constexpr char sProgressLoading[] = "Loading...";
inline constexpr char sProgressSaving[] = "Saving...";
inline constexpr char sProgressConverting[] = "Converting...";
inline constexpr char sProgressRendering[] = "Rendering...";
inline constexpr char sProgressCopying[] = "Copying...";
inline constexpr char sProgressOptimizing[] = "Optimizing...";
inline constexpr char sDecodeTooFewBits[] = "Decoder bit buffer under-run";
inline constexpr char sDecodeCircular[] = "Circular decoder table entry";
inline constexpr char sBadTrailer[] = "Invalid Image trailer";
inline constexpr char sBadExtensionInstance[] =
    "Internal error: Extension Instance does not match Extension Label";
inline constexpr char sBadBlockSize[] = "Unsupported Application Extension block size";
inline constexpr char sBadBlock[] = "Unknown GIF block type";
inline constexpr char sUnsupportedClass[] = "Object type not supported for operation";
inline constexpr char sInvalidData[] = "Invalid GIF data";
inline constexpr char sBadHeight[] = "Image height too small for contained frames";
inline constexpr char sBadWidth[] = "Image width too small for contained frames";
inline constexpr char sFailedPaste[] = "Failed to store GIF on clipboard";
inline constexpr char sScreenSizeExceeded[] = "Image exceeds Logical Screen size";
inline constexpr char sNoColorTable[] = "No global or local color table defined";
inline constexpr char sBadPixelCoordinates[] = "Invalid pixel coordinates";
inline constexpr char sInvalidPixelFormat[] = "Unsupported PixelFormat";
inline constexpr char sOutOfData[] = "Premature end of data";
inline constexpr char sTooManyColors[] = "Color table overflow";
inline constexpr char sBadColorIndex[] = "Invalid color index";
inline constexpr char sBadVersion[] = "Unsupported GIF version";
inline constexpr char sBadSignature[] = "Invalid GIF signature";
inline constexpr char sScreenBadColorSize[] = "Invalid number of colors specified in Screen Descriptor";
inline constexpr char sImageBadColorSize[] = "Invalid number of colors specified in Image Descriptor";
inline constexpr char sUnknownExtension[] = "Unknown extension type";
inline constexpr char sBadExtensionLabel[] = "Invalid extension introducer";
inline constexpr char sOutOfMemDIB[] = "Failed to allocate memory for GIF DIB";
