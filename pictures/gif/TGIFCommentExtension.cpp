#include "pictures/gif/TGIFCommentExtension.h"

#include "pictures/gifcoding/GIFStreamRoutines.h"

TGIFCommentExtension::TGIFCommentExtension(TGIFSubImage* subImage)
    : TGIFExtension(subImage), text_(std::make_unique<TStringList>()) {}

void TGIFCommentExtension::SaveToStream(TStream* stream) {
  TGIFExtension::SaveToStream(stream);
  WriteStrings(stream, text_.get());
}

void TGIFCommentExtension::LoadFromStream(TStream* stream) {
  TGIFExtension::LoadFromStream(stream);
  ReadStrings(stream, text_.get());
}
