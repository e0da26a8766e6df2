#include "imagelib/IxImageWMF.h"

bool IxImageWMF::Decode(IxFile* hFile, int32_t maxWidth, int32_t maxHeight) {
  (void)maxWidth;
  (void)maxHeight;
  if (hFile == nullptr) return false;
  SetLastError("corrupted WMF");
  return false;
}

bool IxImageWMF::Encode(IxFile* hFile) {
  if (hFile != nullptr) SetLastError("Save WMF not supported");
  return false;
}
