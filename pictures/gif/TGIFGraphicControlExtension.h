// TGIFGraphicControlExtension: a frame's transparency, delay and disposal. The first one of a
// frame is the frame's own and drives its transparent flag.
#pragma once

#include "pictures/gif/TGIFExtension.h"

class TGIFGraphicControlExtension : public TGIFExtension {
 public:
  explicit TGIFGraphicControlExtension(TGIFSubImage* subImage);
  ~TGIFGraphicControlExtension() override;
  static TGIFExtensionClass ClassRef() { return GIFExtensionClassOf<TGIFGraphicControlExtension>(); }

  BYTE GetExtensionType() override { return 0xF9; }
  void SaveToStream(TStream* stream) override;
  // Reads as many data bytes as the block's size byte says (missing fields are 0, with a
  // warning), then skips to the block's terminator.
  void LoadFromStream(TStream* stream) override;

  bool GetTransparent() const { return (rec_.PackedFields & 0x01) != 0; }
  void SetTransparent(bool value);
  int GetTransparentColorIndex() const { return rec_.TransparentColorIndex; }
  void SetTransparentColorIndex(int index);
  TColor GetTransparentColor();
  void SetTransparentColor(TColor color);
  int GetDelay() const { return rec_.Delay; }
  void SetDelay(int value) { rec_.Delay = WORD(value); }
  bool GetUserInput() const { return (rec_.PackedFields & 0x02) != 0; }
  void SetUserInput(bool value);
  TDisposalMethod GetDisposal() const { return TDisposalMethod((rec_.PackedFields >> 2) & 7); }
  void SetDisposal(TDisposalMethod value);
  // The raw disposal field: values 4-7 are kept as read.
  int GetDisposalValue() const { return (rec_.PackedFields >> 2) & 7; }
  BYTE PackedFields() const { return rec_.PackedFields; }

 private:
  TGIFGCERec rec_;
};
