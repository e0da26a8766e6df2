#include "pictures/gif/TGIFHeader.h"

#include <cctype>
#include <cstring>

#include "pictures/GIFException.h"
#include "pictures/gif/GIFSettings.h"
#include "pictures/gif/TGIFImage.h"
#include "pictures/gifcoding/GIFStreamRoutines.h"

namespace {

bool IsSignature(const char* bytes) {
  return std::toupper(static_cast<unsigned char>(bytes[0])) == 'G' &&
         std::toupper(static_cast<unsigned char>(bytes[1])) == 'I' &&
         std::toupper(static_cast<unsigned char>(bytes[2])) == 'F';
}

}  // namespace

TGIFHeader::TGIFHeader(TGIFImage* image)
    : TGIFItem(image), colorMap_(std::make_unique<TGIFGlobalColorMap>(this)) {}

TGIFHeader::~TGIFHeader() = default;

void TGIFHeader::Clear() {
  colorMap_->Clear();
  descriptor_ = TLogicalScreenDescriptor{};
}

void TGIFHeader::Assign(TPersistent* source) {
  if (auto* header = dynamic_cast<TGIFHeader*>(source)) {
    if (header == this) return;
    colorMap_->Assign(header->colorMap_.get());
    descriptor_ = header->descriptor_;
    return;
  }
  if (auto* map = dynamic_cast<TGIFColorMap*>(source)) {
    Clear();
    colorMap_->Assign(map);
    return;
  }
  TGIFItem::Assign(source);
}

void TGIFHeader::Prepare() {
  BYTE packed = 0;
  if (colorMap_->Count() > 0) packed |= 0x80;
  if (colorMap_->Optimized()) packed |= 0x08;
  int resolution = image_ ? image_->GetColorResolution() : GetColorResolution();
  packed |= BYTE((resolution * 16) & 0x70);
  packed |= BYTE((colorMap_->GetBitsPerPixel() - 1) & 7);
  descriptor_.PackedFields = packed;
}

TGIFVersion TGIFHeader::GetVersion() {
  return colorMap_->Optimized() || descriptor_.AspectRatio != 0 ? gv89a : gv87a;
}

void TGIFHeader::LoadFromStream(TStream* stream) {
  std::int64_t start = stream->Position();
  char signature[6];
  ReadCheck(stream, signature, 6);
  if (!IsSignature(signature)) {
    // A four-byte prefix (a length, say) may stand before the signature.
    stream->SetPosition(start);
    SkipBytes(stream, 4);
    ReadCheck(stream, signature, 6);
    if (!IsSignature(signature)) GIFError(sBadSignature);
  }
  BYTE bytes[7];
  ReadCheck(stream, bytes, 7);
  descriptor_.ScreenWidth = GIFWord(bytes);
  descriptor_.ScreenHeight = GIFWord(bytes + 2);
  descriptor_.PackedFields = bytes[4];
  descriptor_.BackgroundColorIndex = bytes[5];
  descriptor_.AspectRatio = bytes[6];
  if (std::int64_t(descriptor_.ScreenWidth) * descriptor_.ScreenHeight > GIFMaximumImagePixels)
    GIFError(sBadDimension);
  if (descriptor_.PackedFields & 0x80) {
    int n = 2 << (descriptor_.PackedFields & 7);
    colorMap_->LoadFromStream(stream, n);
  } else {
    colorMap_->Clear();
  }
}

void TGIFHeader::SaveToStream(TStream* stream) {
  TGIFVersion version = image_ ? image_->GetVersion() : GetVersion();
  if (version == gvUnknown) GIFError(sBadVersion);
  char signature[6] = {'G', 'I', 'F'};
  std::memcpy(signature + 3, GIFVersions[version - gv87a], 3);
  stream->WriteBuffer(signature, 6);
  Prepare();
  BYTE bytes[7];
  PutGIFWord(bytes, descriptor_.ScreenWidth);
  PutGIFWord(bytes + 2, descriptor_.ScreenHeight);
  bytes[4] = descriptor_.PackedFields;
  bytes[5] = descriptor_.BackgroundColorIndex;
  bytes[6] = descriptor_.AspectRatio;
  stream->WriteBuffer(bytes, 7);
  if (descriptor_.PackedFields & 0x80) colorMap_->SaveToStream(stream);
}

TColor TGIFHeader::GetBackgroundColor() { return colorMap_->GetColor(descriptor_.BackgroundColorIndex); }

void TGIFHeader::SetBackgroundColor(TColor color) { SetBackgroundColorIndex(colorMap_->AddUnique(color)); }

void TGIFHeader::SetBackgroundColorIndex(int index) {
  if (colorMap_->Count() != 0 && (index < 0 || index >= colorMap_->Count())) {
    Warning(gsWarning, sBadColorIndex);
    index = 0;
  }
  descriptor_.BackgroundColorIndex = BYTE(index);
}
