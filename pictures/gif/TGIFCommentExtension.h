// TGIFCommentExtension: a comment block, one line per data sub-block.
#pragma once

#include <memory>

#include "pictures/gif/TGIFExtension.h"
#include "platform/rtl/TStringList.h"

class TGIFCommentExtension : public TGIFExtension {
 public:
  explicit TGIFCommentExtension(TGIFSubImage* subImage);
  static TGIFExtensionClass ClassRef() { return GIFExtensionClassOf<TGIFCommentExtension>(); }

  BYTE GetExtensionType() override { return 0xFE; }
  void SaveToStream(TStream* stream) override;
  void LoadFromStream(TStream* stream) override;
  TStrings* Text() const { return text_.get(); }

 private:
  std::unique_ptr<TStringList> text_;
};
