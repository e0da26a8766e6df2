#include "pictures/gif/TGIFExtensionList.h"

#include <memory>

#include "pictures/GIFException.h"
#include "pictures/gif/TGIFExtension.h"
#include "pictures/gif/TGIFSubImage.h"
#include "pictures/gif/TGIFUnknownExtension.h"
#include "pictures/gifcoding/GIFStreamRoutines.h"

TGIFExtensionList::TGIFExtensionList(TGIFSubImage* subImage)
    : TGIFList(subImage ? subImage->Image() : nullptr), subImage_(subImage) {}

TGIFExtension* TGIFExtensionList::GetExtension(int index) const {
  return static_cast<TGIFExtension*>(GetItem(index));
}

void TGIFExtensionList::SetExtension(int index, TGIFExtension* extension) { SetItem(index, extension); }

void TGIFExtensionList::LoadFromStream(TStream* stream) {
  BYTE b = 0;
  if (!ReadByte(stream, b)) return;
  for (;;) {
    if (b == 0) {
      if (!ReadByte(stream, b)) return;
      continue;
    }
    if (b == 0x2C || b == 0x3B) break;
    if (b != 0x21) {
      Warning(gsWarning, sBadExtensionLabel);
      break;
    }
    TGIFExtensionClass extensionClass = TGIFExtension::FindExtension(stream);
    if (!extensionClass) {
      if (GIFBytesLeft(stream) == 0) GIFError(sOutOfData);
      Warning(gsWarning, sUnknownExtension);
      extensionClass = TGIFUnknownExtension::ClassRef();
    } else if (extensionClass == TGIFUnknownExtension::ClassRef()) {
      Warning(gsWarning, sBadBlockSize);
    }
    stream->Seek(-1, soFromCurrent);
    std::unique_ptr<TGIFExtension> extension(extensionClass->Create(subImage_));
    extension->LoadFromStream(stream);
    Add(extension.release());
    if (!ReadByte(stream, b)) return;
  }
  stream->Seek(-1, soFromCurrent);
}
