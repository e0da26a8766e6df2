// TGIFExtensionList: the extension blocks that stand before one frame's image.
#pragma once

#include "pictures/gif/TGIFList.h"

class TGIFExtension;
class TGIFSubImage;

class TGIFExtensionList : public TGIFList {
 public:
  explicit TGIFExtensionList(TGIFSubImage* subImage);
  TGIFExtension* GetExtension(int index) const;
  void SetExtension(int index, TGIFExtension* extension);
  // Reads extensions (zero bytes between them skipped) up to the image block, the trailer, or a
  // stray byte (warned); the stream is left at that byte.
  void LoadFromStream(TStream* stream) override;
  TGIFSubImage* SubImage() const { return subImage_; }

 private:
  TGIFSubImage* subImage_;
};
