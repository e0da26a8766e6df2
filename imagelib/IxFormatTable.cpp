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

#ifdef IX_HAS_BMP
#include "imagelib/IxImageBMP.h"
#endif
#ifdef IX_HAS_GIF
#include "imagelib/IxImageGIF.h"
#endif
#ifdef IX_HAS_JPG
#include "imagelib/IxImageJPG.h"
#endif
#ifdef IX_HAS_PNG
#include "imagelib/IxImagePNG.h"
#endif
#ifdef IX_HAS_ICO
#include "imagelib/IxImageICO.h"
#endif
#ifdef IX_HAS_TIF
#include "imagelib/IxImageTIF.h"
#endif
#ifdef IX_HAS_TGA
#include "imagelib/IxImageTGA.h"
#endif
#ifdef IX_HAS_PCX
#include "imagelib/IxImagePCX.h"
#endif
#ifdef IX_HAS_WBMP
#include "imagelib/IxImageWBMP.h"
#endif
#ifdef IX_HAS_WMF
#include "imagelib/IxImageWMF.h"
#endif
#ifdef IX_HAS_JAS
#include "imagelib/IxImageJAS.h"
#endif

const IxFormatCodec* IxFindFormatCodec(uint32_t format) {
  switch (format) {
#ifdef IX_HAS_BMP
    case IXIMAGE_FORMAT_BMP: {
      static const IxFormatCodec c = CodecOf<IxImageBMP>();
      return &c;
    }
#endif
#ifdef IX_HAS_GIF
    case IXIMAGE_FORMAT_GIF: {
      static const IxFormatCodec c = CodecOf<IxImageGIF>();
      return &c;
    }
#endif
#ifdef IX_HAS_JPG
    case IXIMAGE_FORMAT_JPG: {
      static const IxFormatCodec c = CodecOf<IxImageJPG>();
      return &c;
    }
#endif
#ifdef IX_HAS_PNG
    case IXIMAGE_FORMAT_PNG: {
      static const IxFormatCodec c = CodecOf<IxImagePNG>();
      return &c;
    }
#endif
#ifdef IX_HAS_ICO
    case IXIMAGE_FORMAT_ICO: {
      static const IxFormatCodec c = CodecOf<IxImageICO>();
      return &c;
    }
#endif
#ifdef IX_HAS_TIF
    case IXIMAGE_FORMAT_TIF: {
      static const IxFormatCodec c = CodecOf<IxImageTIF, ExtraArg::kNone, ExtraArg::kAppendFlag>();
      return &c;
    }
#endif
#ifdef IX_HAS_TGA
    case IXIMAGE_FORMAT_TGA: {
      static const IxFormatCodec c = CodecOf<IxImageTGA>();
      return &c;
    }
#endif
#ifdef IX_HAS_PCX
    case IXIMAGE_FORMAT_PCX: {
      static const IxFormatCodec c = CodecOf<IxImagePCX>();
      return &c;
    }
#endif
#ifdef IX_HAS_WBMP
    case IXIMAGE_FORMAT_WBMP: {
      static const IxFormatCodec c = CodecOf<IxImageWBMP>();
      return &c;
    }
#endif
#ifdef IX_HAS_WMF
    case IXIMAGE_FORMAT_WMF: {
      static const IxFormatCodec c = CodecOf<IxImageWMF>();
      return &c;
    }
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
    default:
      return nullptr;
  }
}
