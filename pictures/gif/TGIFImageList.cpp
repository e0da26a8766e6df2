#include "pictures/gif/TGIFImageList.h"

#include <memory>

#include "pictures/GIFException.h"
#include "pictures/gif/GIFSettings.h"
#include "pictures/gif/TGIFImage.h"
#include "pictures/gif/TGIFLoadContext.h"
#include "pictures/gif/TGIFSubImage.h"
#include "pictures/gifcoding/GIFStreamRoutines.h"

namespace {

// The next byte that is not 0, or false at the end of the stream.
bool NextBlockByte(TStream* stream, BYTE& b) {
  while (ReadByte(stream, b))
    if (b != 0) return true;
  return false;
}

}  // namespace

TGIFSubImage* TGIFImageList::GetImage(int index) const { return static_cast<TGIFSubImage*>(GetItem(index)); }

void TGIFImageList::SetImage(int index, TGIFSubImage* image) { SetItem(index, image); }

void TGIFImageList::LoadFromStream(TStream* stream) {
  TGIFLoadContext context = image_ ? image_->NewLoadContext() : TGIFLoadContext(0, 0, GIFMaximumTotalPixels);
  LoadFromStream(stream, context);
}

void TGIFImageList::LoadFromStream(TStream* stream, TGIFLoadContext& context) {
  BYTE b = 0;
  bool more = NextBlockByte(stream, b);
  while (more) {
    // Back to the byte: the frame or the trailer reads it. A stream that simply ends leaves the
    // trailer nothing to read.
    stream->Seek(-1, soFromCurrent);
    if (b == 0x3B) break;
    if (b != 0x21 && b != 0x2C) {
      Warning(gsWarning, sBadBlock);
      break;
    }
    auto frame = std::make_unique<TGIFSubImage>(image_);
    frame->LoadFromStream(stream, context);
    Add(frame.release());
    const std::int64_t size = stream->Size();
    if (context.FrameRead) context.FrameRead(BYTE(size > 0 ? stream->Position() * 100 / size : 0));
    more = NextBlockByte(stream, b);
  }
}

void TGIFImageList::SaveToStream(TStream* stream) {
  for (int i = 0; i < Count(); ++i) {
    GetImage(i)->SaveToStream(stream);
    image_->DoProgress(psRunning, BYTE((i + 1) * 100 / Count()), false, sProgressSaving);
  }
}
