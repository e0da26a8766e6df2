#include "pictures/gif/TGIFGraphicControlExtension.h"

#include <algorithm>

#include "pictures/GIFException.h"
#include "pictures/gif/TGIFColorMap.h"
#include "pictures/gif/TGIFSubImage.h"
#include "pictures/gifcoding/GIFStreamRoutines.h"

TGIFGraphicControlExtension::TGIFGraphicControlExtension(TGIFSubImage* subImage) : TGIFExtension(subImage) {
  if (subImage_ && !subImage_->GraphicControlExtension()) subImage_->SetGraphicControlExtension(this);
}

TGIFGraphicControlExtension::~TGIFGraphicControlExtension() {
  if (!subImage_) return;
  if (GetTransparent()) subImage_->SetTransparentFlag(false);
  if (subImage_->GraphicControlExtension() == this) subImage_->SetGraphicControlExtension(nullptr);
}

void TGIFGraphicControlExtension::SaveToStream(TStream* stream) {
  TGIFExtension::SaveToStream(stream);
  BYTE bytes[6] = {4, rec_.PackedFields, 0, 0, rec_.TransparentColorIndex, 0};
  PutGIFWord(bytes + 2, rec_.Delay);
  stream->WriteBuffer(bytes, 6);
}

void TGIFGraphicControlExtension::LoadFromStream(TStream* stream) {
  TGIFExtension::LoadFromStream(stream);
  BYTE size = 0;
  BYTE data[255] = {};
  int got = 0;
  if (ReadByte(stream, size)) got = std::max(0, stream->Read(data, size));
  if (got < 4) Warning(gsWarning, sOutOfData);
  rec_.BlockSize = 4;
  rec_.PackedFields = data[0];
  rec_.Delay = GIFWord(data + 1);
  rec_.TransparentColorIndex = data[3];
  rec_.Terminator = 0;
  // A size of 0 is itself the terminator.
  if (size != 0 && got == size) SkipSubBlocks(stream);
  // Only the frame's own block makes the frame transparent.
  if (GetTransparent() && subImage_ && subImage_->GraphicControlExtension() == this)
    subImage_->SetTransparentFlag(true);
}

void TGIFGraphicControlExtension::SetTransparent(bool value) {
  rec_.PackedFields = BYTE(value ? rec_.PackedFields | 0x01 : rec_.PackedFields & ~0x01);
  if (subImage_) subImage_->SetTransparentFlag(value);
}

void TGIFGraphicControlExtension::SetTransparentColorIndex(int index) {
  TGIFColorMap* map = subImage_ ? subImage_->GetActiveColorMap() : nullptr;
  if (map && map->Count() != 0 && (index < 0 || index >= map->Count())) {
    Warning(gsWarning, sBadColorIndex);
    index = 0;
  }
  rec_.TransparentColorIndex = BYTE(index);
}

TColor TGIFGraphicControlExtension::GetTransparentColor() {
  return subImage_->GetActiveColorMap()->GetColor(rec_.TransparentColorIndex);
}

void TGIFGraphicControlExtension::SetTransparentColor(TColor color) {
  rec_.TransparentColorIndex = BYTE(subImage_->GetActiveColorMap()->AddUnique(color));
}

void TGIFGraphicControlExtension::SetUserInput(bool value) {
  rec_.PackedFields = BYTE(value ? rec_.PackedFields | 0x02 : rec_.PackedFields & ~0x02);
}

void TGIFGraphicControlExtension::SetDisposal(TDisposalMethod value) {
  rec_.PackedFields = BYTE((rec_.PackedFields & 0xE3) | ((int(value) * 4) & 0x1C));
}
