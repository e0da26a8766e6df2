// Any bytes loaded as a GIF picture from memory, with lowered size limits so the campaign's time
// goes to the block and code-stream structure rather than to clearing memory. Every pixel of
// every frame is read, every frame rendered with its mask, and the picture drawn once without
// animation onto a bitmap; a picture without image data to encode is written back and loaded
// again.
#include <cstdint>

#include "pictures/GIFSettings.h"
#include "pictures/TGIFImage.h"
#include "pictures/TGIFSubImage.h"
#include "platform/forms/TBitmap.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/TMemoryStream.h"

namespace {

bool HasImageData(TGIFImage& image) {
  for (int i = 0; i < image.Images()->Count(); ++i)
    if (!image.Images()->GetImage(i)->GetEmpty()) return true;
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  GIFMaximumImagePixels = 1 << 20;
  GIFMaximumTotalPixels = 1 << 22;
  TMemoryStream stream;
  if (size) stream.WriteBuffer(data, static_cast<int>(size));
  stream.SetPosition(0);
  TGIFImage image;
  image.OnGIFWarning = [](TObject*, TGIFSeverity, const AnsiString&) {};
  try {
    image.LoadFromStream(&stream);
  } catch (const Exception&) {
    // Refused, or cut short: the frames read so far stay and are touched below.
  }
  unsigned sum = 0;
  for (int i = 0; i < image.Images()->Count(); ++i) {
    TGIFSubImage* frame = image.Images()->GetImage(i);
    for (BYTE p : frame->Pixels()) sum += p;
    if (!frame->GetEmpty()) sum += frame->GetPixel(frame->Width() - 1, frame->Height() - 1);
    frame->GetActiveColorMap();
    try {
      frame->HasMask();
      frame->GetBitmap();
    } catch (const Exception&) {
      // No colour table anywhere: nothing to render with.
    }
  }
  const std::int64_t screen = std::int64_t(image.Width()) * image.Height();
  if (!image.Empty() && screen > 0 && screen <= GIFMaximumImagePixels) {
    image.SetAnimate(false);
    TBitmap target;
    target.SetPixelFormat(pf24bit);
    target.SetSize(image.Width(), image.Height());
    try {
      target.Canvas()->Draw(0, 0, &image);
    } catch (const Exception&) {
      // As above.
    }
  }
  if (!image.Empty() && !HasImageData(image)) {
    TMemoryStream out;
    image.SaveToStream(&out);
    out.SetPosition(0);
    TGIFImage back;
    back.OnGIFWarning = image.OnGIFWarning;
    try {
      back.LoadFromStream(&out);
    } catch (const Exception&) {
      // Blocks kept as read may not read back the same way (an odd application header).
    }
  }
  return sum == 0xFFFFFFFF;
}
