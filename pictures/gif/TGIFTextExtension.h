// TGIFTextExtension: a plain text block (a text grid on the logical screen and its text), kept
// and written back.
#pragma once

#include <memory>

#include "pictures/gif/TGIFExtension.h"
#include "platform/rtl/TStringList.h"

class TGIFTextExtension : public TGIFExtension {
 public:
  explicit TGIFTextExtension(TGIFSubImage* subImage);
  static TGIFExtensionClass ClassRef() { return GIFExtensionClassOf<TGIFTextExtension>(); }

  BYTE GetExtensionType() override { return 0x01; }
  void SaveToStream(TStream* stream) override;
  void LoadFromStream(TStream* stream) override;

  TStrings* Text() const { return text_.get(); }
  // 1 left, 2 top, 3 width, 4 height; others read 0 and change nothing.
  int GetBounds(int index) const;
  void SetBounds(int index, int value);
  // 1 cell width, 2 cell height.
  int GetCharWidthHeight(int index) const;
  void SetCharWidthHeight(int index, int value);
  // 1 foreground, 2 background.
  int GetColorIndex(int index) const;
  void SetColorIndex(int index, int value);
  TColor GetForegroundColor();
  void SetForegroundColor(TColor color);
  TColor GetBackgroundColor();
  void SetBackgroundColor(TColor color);

 private:
  std::unique_ptr<TStringList> text_;
  TGIFPlainTextExtensionRec rec_;
};
