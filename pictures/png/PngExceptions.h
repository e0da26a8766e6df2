// The exceptions of the PNG picture class, each with the one text it is raised with, and the
// texts of zlib's result codes.
#pragma once

#include "platform/rtl/Exceptions.h"

#define MMS_PNG_DECLARE_EXCEPTION(Name) \
  class Name : public Exception {       \
   public:                              \
    using Exception::Exception;         \
  };

MMS_PNG_DECLARE_EXCEPTION(EPngError)
MMS_PNG_DECLARE_EXCEPTION(EPNGInvalidFileHeader)
MMS_PNG_DECLARE_EXCEPTION(EPngUnexpectedEnd)
MMS_PNG_DECLARE_EXCEPTION(EPNGIHDRNotFirst)
MMS_PNG_DECLARE_EXCEPTION(EPNGUnknownCriticalChunk)
MMS_PNG_DECLARE_EXCEPTION(EPNGNoImageData)
MMS_PNG_DECLARE_EXCEPTION(EPngInvalidCRC)
MMS_PNG_DECLARE_EXCEPTION(EPngInvalidIHDR)
MMS_PNG_DECLARE_EXCEPTION(EPNGSizeExceeds)
MMS_PNG_DECLARE_EXCEPTION(EPNGUnknownCompression)
MMS_PNG_DECLARE_EXCEPTION(EPNGUnknownInterlace)
MMS_PNG_DECLARE_EXCEPTION(EPNGInvalidPalette)
MMS_PNG_DECLARE_EXCEPTION(EPNGMissingMultipleIDAT)
MMS_PNG_DECLARE_EXCEPTION(EPNGZLIBError)
MMS_PNG_DECLARE_EXCEPTION(EPNGHeaderNotPresent)
MMS_PNG_DECLARE_EXCEPTION(EPNGInvalidSpec)
MMS_PNG_DECLARE_EXCEPTION(EPNGOutMemory)
MMS_PNG_DECLARE_EXCEPTION(EPNGCannotChangeTransparent)
MMS_PNG_DECLARE_EXCEPTION(EPNGInvalidNewSize)
MMS_PNG_DECLARE_EXCEPTION(EPNGCouldNotLoadResource)

#undef MMS_PNG_DECLARE_EXCEPTION

namespace pngtext {
extern const char* const InvalidFileHeader;
extern const char* const UnexpectedEnd;
extern const char* const IHDRNotFirst;
extern const char* const UnknownCriticalChunk;
extern const char* const NoImageData;
extern const char* const InvalidCRC;
extern const char* const InvalidIHDR;
extern const char* const SizeExceeds;
extern const char* const UnknownCompression;
extern const char* const UnknownInterlace;
extern const char* const InvalidPalette;
extern const char* const MissingMultipleIDAT;
extern const char* const ZLIBError;
extern const char* const NotCompatible;
extern const char* const ExistentCriticalChunk;
extern const char* const InvalidImage;
extern const char* const NoSuchPaletteEntry;
extern const char* const HeaderNotPresent;
extern const char* const InvalidSpec;
extern const char* const OutMemory;
extern const char* const CannotChangeTransparent;
extern const char* const InvalidNewSize;
extern const char* const CouldNotLoadResource;

// The text of a zlib result code, "data error (-3)"; "" for codes zlib does not have.
const char* ZLIBErrors(int result);
}  // namespace pngtext

// Raises `E` with `text`.
template <class E>
[[noreturn]] void RaiseError(const char* text) {
  throw E(AnsiString(text));
}
