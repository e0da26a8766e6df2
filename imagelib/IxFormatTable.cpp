#include "imagelib/IxFormatTable.h"

#include "imagelib/IxImage.h"
#include "imagelib/IxImageTypes.h"

namespace {

enum class ExtraArg { kNone, kFormatId, kAppendFlag };

template <class F, ExtraArg kDecode = ExtraArg::kNone, ExtraArg kEncode = ExtraArg::kNone>
IxFormatCodec CodecOf() {
  IxFormatCodec codec;
  codec.make = []() -> std::unique_ptr<IxImage> { return std::make_unique<F>(); };
  codec.decode = [](IxImage& object, IxFile* stream, uint32_t format) -> bool {
    F& f = static_cast<F&>(object);
    if constexpr (kDecode == ExtraArg::kFormatId) {
      return f.Decode(stream, format);
    } else {
      (void)format;
      return f.Decode(stream);
    }
  };
  codec.encode = [](IxImage& object, IxFile* stream, uint32_t format) -> bool {
    F& f = static_cast<F&>(object);
    if constexpr (kEncode == ExtraArg::kFormatId) {
      return f.Encode(stream, format);
    } else if constexpr (kEncode == ExtraArg::kAppendFlag) {
      (void)format;
      return f.Encode(stream, false);
    } else {
      (void)format;
      return f.Encode(stream);
    }
  };
  return codec;
}

}  // namespace

#if __has_include("imagelib/IxImageBMP.h")
#include "imagelib/IxImageBMP.h"
#define IX_HAS_BMP 1
#endif
#if __has_include("imagelib/IxImageGIF.h")
#include "imagelib/IxImageGIF.h"
#define IX_HAS_GIF 1
#endif
#if __has_include("imagelib/IxImageJPG.h")
#include "imagelib/IxImageJPG.h"
#define IX_HAS_JPG 1
#endif
#if __has_include("imagelib/IxImagePNG.h")
#include "imagelib/IxImagePNG.h"
#define IX_HAS_PNG 1
#endif
#if __has_include("imagelib/IxImageICO.h")
#include "imagelib/IxImageICO.h"
#define IX_HAS_ICO 1
#endif
#if __has_include("imagelib/IxImageTIF.h")
#include "imagelib/IxImageTIF.h"
#define IX_HAS_TIF 1
#endif
#if __has_include("imagelib/IxImageTGA.h")
#include "imagelib/IxImageTGA.h"
#define IX_HAS_TGA 1
#endif
#if __has_include("imagelib/IxImagePCX.h")
#include "imagelib/IxImagePCX.h"
#define IX_HAS_PCX 1
#endif
#if __has_include("imagelib/IxImageWBMP.h")
#include "imagelib/IxImageWBMP.h"
#define IX_HAS_WBMP 1
#endif
#if __has_include("imagelib/IxImageWMF.h")
#include "imagelib/IxImageWMF.h"
#define IX_HAS_WMF 1
#endif
#if __has_include("imagelib/IxImageJAS.h")
#include "imagelib/IxImageJAS.h"
#define IX_HAS_JAS 1
#endif

const IxFormatCodec* IxFindFormatCodec(uint32_t format) {
  switch (format) {
#ifdef IX_HAS_BMP
    case IXIMAGE_FORMAT_BMP: { static const IxFormatCodec c = CodecOf<IxImageBMP>(); return &c; }
#endif
#ifdef IX_HAS_GIF
    case IXIMAGE_FORMAT_GIF: { static const IxFormatCodec c = CodecOf<IxImageGIF>(); return &c; }
#endif
#ifdef IX_HAS_JPG
    case IXIMAGE_FORMAT_JPG: { static const IxFormatCodec c = CodecOf<IxImageJPG>(); return &c; }
#endif
#ifdef IX_HAS_PNG
    case IXIMAGE_FORMAT_PNG: { static const IxFormatCodec c = CodecOf<IxImagePNG>(); return &c; }
#endif
#ifdef IX_HAS_ICO
    case IXIMAGE_FORMAT_ICO: { static const IxFormatCodec c = CodecOf<IxImageICO>(); return &c; }
#endif
#ifdef IX_HAS_TIF
    case IXIMAGE_FORMAT_TIF: {
      static const IxFormatCodec c = CodecOf<IxImageTIF, ExtraArg::kNone, ExtraArg::kAppendFlag>();
      return &c;
    }
#endif
#ifdef IX_HAS_TGA
    case IXIMAGE_FORMAT_TGA: { static const IxFormatCodec c = CodecOf<IxImageTGA>(); return &c; }
#endif
#ifdef IX_HAS_PCX
    case IXIMAGE_FORMAT_PCX: { static const IxFormatCodec c = CodecOf<IxImagePCX>(); return &c; }
#endif
#ifdef IX_HAS_WBMP
    case IXIMAGE_FORMAT_WBMP: { static const IxFormatCodec c = CodecOf<IxImageWBMP>(); return &c; }
#endif
#ifdef IX_HAS_WMF
    case IXIMAGE_FORMAT_WMF: { static const IxFormatCodec c = CodecOf<IxImageWMF>(); return &c; }
#endif
#ifdef IX_HAS_JAS
    case IXIMAGE_FORMAT_JP2:
    case IXIMAGE_FORMAT_JPC:
    case IXIMAGE_FORMAT_PGX:
    case IXIMAGE_FORMAT_PNM:
    case IXIMAGE_FORMAT_RAS: {
      static const IxFormatCodec c = CodecOf<IxImageJAS, ExtraArg::kFormatId, ExtraArg::kFormatId>();
      return &c;
    }
#endif
    default: return nullptr;
  }
}
