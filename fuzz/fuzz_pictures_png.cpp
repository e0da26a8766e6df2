// PNG files as the PNG picture reads them: any bytes load or raise one of the picture's own
// errors; what loads draws, saves, and reads back to the same pixels.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "pictures/png/PngRegistration.h"
#include "pictures/png/TPNGObject.h"
#include "platform/forms/TBitmap.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/TMemoryStream.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  pictures::RegisterPng();
  // Small images only: the fuzzer's time goes into the parser, not into clearing storage.
  TChunkIHDR::PixelLimit = 1u << 14;
  return 0;
}

namespace {
bool SameStorage(TPNGObject& a, TPNGObject& b) {
  TChunkIHDR* x = a.GetHeader();
  TChunkIHDR* y = b.GetHeader();
  return x->IHDRData.Width == y->IHDRData.Width && x->IHDRData.Height == y->IHDRData.Height &&
         x->ImageBytes() == y->ImageBytes() &&
         std::memcmp(x->ImageData, y->ImageData, x->ImageBytes()) == 0 && x->ImageAlpha == y->ImageAlpha &&
         x->ExtraImageData == y->ExtraImageData && x->ExtraAlpha == y->ExtraAlpha;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TMemoryStream input;
  if (size > 0) input.WriteBuffer(data, int(size));
  input.SetPosition(0);
  TPNGObject png;
  bool loaded = true;
  try {
    png.LoadFromStream(&input);
  } catch (const Exception&) {
    loaded = false;
  }
  // Whatever was read, complete or not, draws.
  TBitmap canvas;
  canvas.SetPixelFormat(pf32bit);
  canvas.SetSize(64, 64);
  try {
    canvas.Canvas()->StretchDraw(RECT{0, 0, 64, 64}, &png);
    canvas.Canvas()->StretchDraw(RECT{60, 50, 3, 7}, &png);
  } catch (const Exception&) {
    std::abort();
  }
  if (!loaded || !png.HeaderPresent()) return 0;
  TMemoryStream saved;
  png.SaveToStream(&saved);
  saved.SetPosition(0);
  TPNGObject again;
  again.LoadFromStream(&saved);  // what we write we must read
  if (!SameStorage(png, again)) std::abort();
  return 0;
}
