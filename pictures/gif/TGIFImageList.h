// TGIFImageList: the frames of a picture, read one after another up to the trailer.
#pragma once

#include "pictures/gif/TGIFList.h"

class TGIFLoadContext;
class TGIFSubImage;

class TGIFImageList : public TGIFList {
 public:
  explicit TGIFImageList(TGIFImage* image) : TGIFList(image) {}
  TGIFSubImage* GetImage(int index) const;
  void SetImage(int index, TGIFSubImage* image);
  // Reads frames until the trailer, the end of the stream, or a byte that starts no block
  // (warned); the stream is left at the byte that ended the frames.
  // With the load context of the picture as it stands.
  void LoadFromStream(TStream* stream) override;
  // Each frame read reports to the context's FrameRead.
  void LoadFromStream(TStream* stream, TGIFLoadContext& context);
  void SaveToStream(TStream* stream) override;
};
