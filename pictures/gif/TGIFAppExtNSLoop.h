// TGIFAppExtNSLoop: the looping block ("NETSCAPE2.0" or "ANIMEXTS1.0"): how often an animation
// plays, and an optional buffer size.
#pragma once

#include "pictures/gif/TGIFApplicationExtension.h"

class TGIFAppExtNSLoop : public TGIFApplicationExtension {
 public:
  explicit TGIFAppExtNSLoop(TGIFSubImage* subImage);
  static TGIFExtensionClass ClassRef() { return GIFExtensionClassOf<TGIFAppExtNSLoop>(); }
  void SaveData(TStream* stream) override;
  // Sub-blocks until the terminator or the end of the stream.
  void LoadData(TStream* stream) override;

  int Loops() const { return loops_; }
  void SetLoops(int value) { loops_ = WORD(value); }
  DWORD BufferSize() const { return bufferSize_; }
  void SetBufferSize(DWORD value) { bufferSize_ = value; }

 private:
  WORD loops_ = 0;
  DWORD bufferSize_ = 0;
};
