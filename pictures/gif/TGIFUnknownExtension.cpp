#include "pictures/gif/TGIFUnknownExtension.h"

void TGIFUnknownExtension::SaveToStream(TStream* stream) {
  TGIFExtension::SaveToStream(stream);
  WriteGIFBlocks(stream, blocks_);
}

void TGIFUnknownExtension::LoadFromStream(TStream* stream) {
  label_ = DoReadFromStream(stream);
  ReadGIFBlocks(stream, blocks_);
}
