// TGIFHeader: the signature, the logical screen and the global colour table at the start of a
// GIF stream.
#pragma once

#include <memory>

#include "pictures/gif/TGIFGlobalColorMap.h"
#include "pictures/gif/TGIFItem.h"

class TGIFHeader : public TGIFItem {
 public:
  explicit TGIFHeader(TGIFImage* image);
  ~TGIFHeader() override;

  void Clear();
  void Assign(TPersistent* source) override;
  void Prepare();
  TGIFVersion GetVersion() override;
  void LoadFromStream(TStream* stream) override;
  void SaveToStream(TStream* stream) override;

  TColor GetBackgroundColor();
  void SetBackgroundColor(TColor color);
  int BackgroundColorIndex() const { return descriptor_.BackgroundColorIndex; }
  void SetBackgroundColorIndex(int index);
  BYTE AspectRatio() const { return descriptor_.AspectRatio; }
  void SetAspectRatio(BYTE value) { descriptor_.AspectRatio = value; }
  int GetBitsPerPixel() const { return colorMap_->GetBitsPerPixel(); }
  int GetColorResolution() const { return GetBitsPerPixel() - 1; }
  int Width() const { return descriptor_.ScreenWidth; }
  int Height() const { return descriptor_.ScreenHeight; }
  void SetWidth(int value) { descriptor_.ScreenWidth = WORD(value); }
  void SetHeight(int value) { descriptor_.ScreenHeight = WORD(value); }
  BYTE PackedFields() const { return descriptor_.PackedFields; }
  TGIFGlobalColorMap* ColorMap() const { return colorMap_.get(); }
  const TLogicalScreenDescriptor& Descriptor() const { return descriptor_; }

 private:
  TLogicalScreenDescriptor descriptor_;
  std::unique_ptr<TGIFGlobalColorMap> colorMap_;
};
