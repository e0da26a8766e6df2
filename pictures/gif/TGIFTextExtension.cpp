#include "pictures/gif/TGIFTextExtension.h"

#include "pictures/gif/TGIFColorMap.h"
#include "pictures/gif/TGIFSubImage.h"
#include "pictures/gifcoding/GIFStreamRoutines.h"

TGIFTextExtension::TGIFTextExtension(TGIFSubImage* subImage)
    : TGIFExtension(subImage), text_(std::make_unique<TStringList>()) {}

void TGIFTextExtension::SaveToStream(TStream* stream) {
  TGIFExtension::SaveToStream(stream);
  BYTE bytes[13] = {rec_.BlockSize};
  PutGIFWord(bytes + 1, rec_.Left);
  PutGIFWord(bytes + 3, rec_.Top);
  PutGIFWord(bytes + 5, rec_.Width);
  PutGIFWord(bytes + 7, rec_.Height);
  bytes[9] = rec_.CellWidth;
  bytes[10] = rec_.CellHeight;
  bytes[11] = rec_.TextFGColorIndex;
  bytes[12] = rec_.TextBGColorIndex;
  stream->WriteBuffer(bytes, 13);
  WriteStrings(stream, text_.get());
}

void TGIFTextExtension::LoadFromStream(TStream* stream) {
  TGIFExtension::LoadFromStream(stream);
  BYTE bytes[13];
  ReadCheck(stream, bytes, 13);
  rec_.BlockSize = bytes[0];
  rec_.Left = GIFWord(bytes + 1);
  rec_.Top = GIFWord(bytes + 3);
  rec_.Width = GIFWord(bytes + 5);
  rec_.Height = GIFWord(bytes + 7);
  rec_.CellWidth = bytes[9];
  rec_.CellHeight = bytes[10];
  rec_.TextFGColorIndex = bytes[11];
  rec_.TextBGColorIndex = bytes[12];
  ReadStrings(stream, text_.get());
}

int TGIFTextExtension::GetBounds(int index) const {
  switch (index) {
    case 1:
      return rec_.Left;
    case 2:
      return rec_.Top;
    case 3:
      return rec_.Width;
    case 4:
      return rec_.Height;
    default:
      return 0;
  }
}

void TGIFTextExtension::SetBounds(int index, int value) {
  switch (index) {
    case 1:
      rec_.Left = WORD(value);
      break;
    case 2:
      rec_.Top = WORD(value);
      break;
    case 3:
      rec_.Width = WORD(value);
      break;
    case 4:
      rec_.Height = WORD(value);
      break;
    default:
      break;
  }
}

int TGIFTextExtension::GetCharWidthHeight(int index) const {
  return index == 1 ? rec_.CellWidth : index == 2 ? rec_.CellHeight : 0;
}

void TGIFTextExtension::SetCharWidthHeight(int index, int value) {
  if (index == 1) rec_.CellWidth = BYTE(value);
  if (index == 2) rec_.CellHeight = BYTE(value);
}

int TGIFTextExtension::GetColorIndex(int index) const {
  return index == 1 ? rec_.TextFGColorIndex : index == 2 ? rec_.TextBGColorIndex : 0;
}

void TGIFTextExtension::SetColorIndex(int index, int value) {
  if (index == 1) rec_.TextFGColorIndex = BYTE(value);
  if (index == 2) rec_.TextBGColorIndex = BYTE(value);
}

TColor TGIFTextExtension::GetForegroundColor() {
  return subImage_->GetActiveColorMap()->GetColor(rec_.TextFGColorIndex);
}

void TGIFTextExtension::SetForegroundColor(TColor color) {
  rec_.TextFGColorIndex = BYTE(subImage_->GetActiveColorMap()->AddUnique(color));
}

TColor TGIFTextExtension::GetBackgroundColor() {
  return subImage_->GetActiveColorMap()->GetColor(rec_.TextBGColorIndex);
}

void TGIFTextExtension::SetBackgroundColor(TColor color) {
  rec_.TextBGColorIndex = BYTE(subImage_->GetActiveColorMap()->AddUnique(color));
}
