// TGIFItem: the base of every part of a GIF picture that reads and writes itself in a stream
// (header, frames, extensions, trailer). It reports warnings to the picture it belongs to.
#pragma once

#include "pictures/GIFTypes.h"
#include "platform/rtl/Object.h"
#include "platform/rtl/TStream.h"

class TGIFImage;

class TGIFItem : public TPersistent {
 public:
  explicit TGIFItem(TGIFImage* image) : image_(image) {}
  virtual TGIFVersion GetVersion() { return gv87a; }
  virtual void Warning(TGIFSeverity severity, const AnsiString& message);
  virtual void SaveToStream(TStream* stream) = 0;
  virtual void LoadFromStream(TStream* stream) = 0;
  // Saving goes through memory, so a failure leaves the file as it was.
  virtual void SaveToFile(const AnsiString& fileName);
  virtual void LoadFromFile(const AnsiString& fileName);
  TGIFImage* Image() const { return image_; }

 protected:
  TGIFImage* image_;
};
