// Any bytes loaded as a GIF picture from memory, with lowered size limits so the campaign's time
// goes to the block and code-stream structure rather than to clearing memory. Every pixel of
// every frame is read, every frame rendered with its mask, and the picture drawn once without
// animation onto a bitmap. A picture whose pixels all lie within their tables is saved with each
// coder and loaded again, and must give the same pixels; any other picture is written back as far
// as it goes.
#include <cstdint>
#include <vector>

#include "pictures/gif/GIFSettings.h"
#include "pictures/gif/TGIFImage.h"
#include "pictures/gif/TGIFSubImage.h"
#include "platform/forms/TBitmap.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/TMemoryStream.h"

namespace {

bool PixelsWithinTables(TGIFImage& image) {
  for (int i = 0; i < image.Images()->Count(); ++i) {
    TGIFSubImage* frame = image.Images()->GetImage(i);
    if (frame->GetEmpty()) continue;
    const int count = frame->GetActiveColorMap()->Count();
    for (BYTE p : frame->Pixels())
      if (p >= count) return false;
  }
  return true;
}

std::vector<std::vector<BYTE>> FramePixels(TGIFImage& image) {
  std::vector<std::vector<BYTE>> out;
  for (int i = 0; i < image.Images()->Count(); ++i)
    if (!image.Images()->GetImage(i)->GetEmpty()) out.push_back(image.Images()->GetImage(i)->Pixels());
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  GIFMaximumImagePixels = 1 << 12;
  GIFMaximumTotalPixels = 1 << 14;
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
  if (image.Empty()) return 0;
  const bool within = PixelsWithinTables(image);
  for (TGIFCompression coder : {gcLZW, gcRLE}) {
    image.SetCompression(coder);
    TMemoryStream out;
    try {
      image.SaveToStream(&out);
    } catch (const Exception&) {
      if (within) __builtin_trap();  // nothing stands in the way of saving such a picture
      continue;
    }
    out.SetPosition(0);
    TGIFImage back;
    back.OnGIFWarning = image.OnGIFWarning;
    try {
      back.LoadFromStream(&out);
    } catch (const Exception&) {
      // Blocks kept as read may not read back the same way (an odd application header).
      continue;
    }
    if (within && FramePixels(back) != FramePixels(image)) __builtin_trap();
  }
  return sum == 0xFFFFFFFF;
}
