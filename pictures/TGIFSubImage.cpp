#include "pictures/TGIFSubImage.h"

#include <algorithm>

#include "pictures/GDICheck.h"
#include "pictures/GIFException.h"
#include "pictures/GIFSettings.h"
#include "pictures/GIFStreamRoutines.h"
#include "pictures/TGIFGraphicControlExtension.h"
#include "pictures/TGIFHeader.h"
#include "pictures/TGIFImage.h"
#include "pictures/TGIFLZWDecoder.h"
#include "pictures/TLZWEncoder.h"
#include "pictures/TRLEEncoder.h"
#include "pictures/WebPalette.h"
#include "platform/gdi/Gdi.h"
#include "platform/rtl/TMemoryStream.h"

TGIFSubImage::TGIFSubImage(TGIFImage* image)
    : TGIFItem(image),
      colorMap_(std::make_unique<TGIFLocalColorMap>(this)),
      extensions_(std::make_unique<TGIFExtensionList>(this)) {}

TGIFSubImage::~TGIFSubImage() {
  if (image_) image_->Images()->Remove(this);
  Clear();
  SetPalette(nullptr);
}

void TGIFSubImage::Clear() {
  extensions_->Clear();
  colorMap_->Clear();
  FreeImage();
  descriptor_.Width = 0;
  descriptor_.Height = 0;
  transparent_ = false;
  graphicControlExtension_ = nullptr;
}

void TGIFSubImage::Assign(TPersistent* source) {
  if (source == this) return;
  if (!source) {
    Clear();
    return;
  }
  auto* frame = dynamic_cast<TGIFSubImage*>(source);
  if (!frame) {
    TGIFItem::Assign(source);
    return;
  }
  Clear();
  if (frame->GetEmpty()) return;
  descriptor_ = frame->descriptor_;
  transparent_ = frame->transparent_;
  pixels_ = frame->pixels_;
  colorMap_->Assign(frame->colorMap_.get());
  // Through a stream, so the copies are the frame's own and its control block is linked to it.
  TMemoryStream stream;
  frame->extensions_->SaveToStream(&stream);
  WriteByte(&stream, 0x2C);
  stream.SetPosition(0);
  extensions_->LoadFromStream(&stream, this);
}

bool TGIFSubImage::GetEmpty() const { return pixels_.empty() || Width() == 0 || Height() == 0; }

void TGIFSubImage::NewImage() {
  const std::int64_t count = std::int64_t(Width()) * Height();
  if (count > GIFMaximumImagePixels) GIFError(sBadDimension);
  pixels_.assign(std::size_t(count), 0);
}

void TGIFSubImage::FreeImage() { std::vector<BYTE>().swap(pixels_); }

void TGIFSubImage::NeedImage() {
  if (pixels_.empty()) NewImage();
  if (pixels_.empty()) GIFError(sEmptyImage);
}

BYTE* TGIFSubImage::GetScanline(int y) {
  if (y < 0 || y >= Height()) GIFError(sBadPixelCoordinates);
  NeedImage();
  return pixels_.data() + std::size_t(y) * std::size_t(Width());
}

BYTE TGIFSubImage::GetPixel(int x, int y) {
  if (x < 0 || x >= Width()) GIFError(sBadPixelCoordinates);
  return GetScanline(y)[x];
}

void TGIFSubImage::SetInterlaced(bool value) {
  descriptor_.PackedFields = BYTE(value ? descriptor_.PackedFields | 0x40 : descriptor_.PackedFields & ~0x40);
}

TGIFColorMap* TGIFSubImage::GetActiveColorMap() const {
  if (colorMap_->Count() > 0 || !image_ || image_->GetColorMap()->Count() == 0) return colorMap_.get();
  return image_->GetColorMap();
}

TGIFVersion TGIFSubImage::GetVersion() {
  return colorMap_->Optimized() || extensions_->Count() > 0 ? gv89a : gv87a;
}

void TGIFSubImage::Prepare() {
  BYTE packed = descriptor_.PackedFields & 0x58;
  if (colorMap_->Count() > 0) {
    packed |= 0x80;
    if (colorMap_->Optimized()) packed |= 0x20;
    packed |= BYTE((colorMap_->GetBitsPerPixel() - 1) & 7);
  }
  descriptor_.PackedFields = packed;
}

HPALETTE TGIFSubImage::GetPalette() {
  if (palette_) return palette_;
  if (image_ && image_->GetDoDither())
    palette_ = WebPalette();
  else if (colorMap_->Count() == 0)
    return image_ ? image_->Palette() : nullptr;
  else
    palette_ = GDICheck(colorMap_->ExportPalette());
  return palette_;
}

void TGIFSubImage::SetPalette(HPALETTE palette) {
  if (palette == palette_) return;
  if (palette_) DeleteObject(palette_);
  palette_ = palette;
}

void TGIFSubImage::MapPixels(const std::vector<int>& map) {
  const std::size_t size = map.size();
  for (BYTE& p : pixels_)
    if (p < size) p = BYTE(map[p]);
  if (transparent_ && graphicControlExtension_) {
    int index = graphicControlExtension_->GetTransparentColorIndex();
    if (std::size_t(index) < size)
      graphicControlExtension_->SetTransparentColorIndex(map[std::size_t(index)]);
  }
}

void TGIFSubImage::LoadFromStream(TStream* stream) {
  Clear();
  extensions_->LoadFromStream(stream, this);
  BYTE b = 0;
  // Only an image separator starts image data; anything else leaves a frame of extensions.
  if (!ReadByte(stream, b)) return;
  stream->Seek(-1, soFromCurrent);
  if (b != 0x2C) return;
  BYTE bytes[10];
  ReadCheck(stream, bytes, 10);
  descriptor_.Separator = bytes[0];
  descriptor_.Left = GIFWord(bytes + 1);
  descriptor_.Top = GIFWord(bytes + 3);
  descriptor_.Width = GIFWord(bytes + 5);
  descriptor_.Height = GIFWord(bytes + 7);
  descriptor_.PackedFields = bytes[9];
  if (descriptor_.Width == 0 || descriptor_.Height == 0) {
    descriptor_.Width = WORD(image_->Header()->Width());
    descriptor_.Height = WORD(image_->Header()->Height());
    Warning(gsWarning, sScreenSizeExceeded);
  }
  const std::int64_t count = std::int64_t(Width()) * Height();
  if (count > GIFMaximumImagePixels) GIFError(sBadDimension);
  image_->ClaimLoadedPixels(count);
  if (descriptor_.PackedFields & 0x80) colorMap_->LoadFromStream(stream, 2 << (descriptor_.PackedFields & 7));
  Decompress(stream);
}

void TGIFSubImage::SaveToStream(TStream* stream) {
  extensions_->SaveToStream(stream);
  if (GetEmpty()) return;
  Prepare();
  BYTE bytes[10] = {0x2C};
  PutGIFWord(bytes + 1, descriptor_.Left);
  PutGIFWord(bytes + 3, descriptor_.Top);
  PutGIFWord(bytes + 5, descriptor_.Width);
  PutGIFWord(bytes + 7, descriptor_.Height);
  bytes[9] = descriptor_.PackedFields;
  stream->WriteBuffer(bytes, 10);
  colorMap_->SaveToStream(stream);
  Compress(stream);
}

void TGIFSubImage::Decompress(TStream* stream) {
  NewImage();
  if (transparent_ && graphicControlExtension_)
    std::fill(pixels_.begin(), pixels_.end(), BYTE(graphicControlExtension_->GetTransparentColorIndex()));
  BYTE codeSize = 0;
  if (!ReadByte(stream, codeSize)) return;
  // Codes of more than 12 bits do not fit the decoder's tables.
  if (codeSize > 11) GIFError(sInvalidData);
  TGIFLZWDecoder decoder(stream, this);
  decoder.Decode(codeSize, pixels_.data(), Width(), Height(), GetInterlaced());
}

void TGIFSubImage::Compress(TStream* stream) {
  int colors = 0, bits = 8;
  if (colorMap_->Count() > 0) {
    colors = colorMap_->Count();
    bits = colorMap_->GetBitsPerPixel();
  } else {
    if (image_) bits = image_->GetBitsPerPixel();
    colors = 1 << bits;
  }
  std::unique_ptr<TGIFEncoder> encoder;
  if (image_ && image_->Compression() == gcRLE)
    encoder = std::make_unique<TRLEEncoder>();
  else
    encoder = std::make_unique<TLZWEncoder>();
  if (image_)
    encoder->Warning = [image = image_](TObject* sender, TGIFSeverity severity, const AnsiString& message) {
      image->Warning(sender, severity, message);
    };
  encoder->Encode(stream, bits, colors, pixels_.empty() ? nullptr : pixels_.data(), GetInterlaced(), Height(),
                  Width());
}

int TGIFSubImage::GetBounds(int index) const {
  switch (index) {
    case 1:
      return Left();
    case 2:
      return Top();
    case 3:
      return Width();
    case 4:
      return Height();
    default:
      return 0;
  }
}

void TGIFSubImage::SetBounds(int index, int value) {
  switch (index) {
    case 1:
      DoSetBounds(value, Top(), Width(), Height());
      break;
    case 2:
      DoSetBounds(Left(), value, Width(), Height());
      break;
    case 3:
      DoSetBounds(Left(), Top(), value, Height());
      break;
    case 4:
      DoSetBounds(Left(), Top(), Width(), value);
      break;
    default:
      break;
  }
}

void TGIFSubImage::DoSetBounds(int left, int top, int width, int height) {
  left = std::clamp(left, 0, 0xFFFF);
  top = std::clamp(top, 0, 0xFFFF);
  width = std::clamp(width, 0, 0xFFFF);
  height = std::clamp(height, 0, 0xFFFF);
  const bool resized = width != Width() || height != Height();
  descriptor_.Left = WORD(left);
  descriptor_.Top = WORD(top);
  descriptor_.Width = WORD(width);
  descriptor_.Height = WORD(height);
  if (resized) {
    FreeImage();
    NewImage();
  }
  if (!image_) return;
  bool warned = false;
  TGIFHeader* header = image_->Header();
  if (header->Width() < left + width) {
    if (header->Width() != 0) {
      Warning(gsWarning, sBadWidth);
      warned = true;
    }
    header->SetWidth(std::min(left + width, 0xFFFF));
  }
  if (header->Height() < top + height) {
    if (header->Height() != 0) {
      Warning(gsWarning, sBadHeight);
      warned = true;
    }
    header->SetHeight(std::min(top + height, 0xFFFF));
  }
  if (warned) Warning(gsWarning, sScreenSizeExceeded);
}

RECT TGIFSubImage::GetBoundsRect() const { return RECT{Left(), Top(), Left() + Width(), Top() + Height()}; }

void TGIFSubImage::SetBoundsRect(const RECT& rect) {
  DoSetBounds(rect.left, rect.top, rect.right - rect.left + 1, rect.bottom - rect.top + 1);
}

RECT TGIFSubImage::GetClientRect() const { return RECT{0, 0, Width(), Height()}; }

RECT TGIFSubImage::ScaleRect(const RECT& rect) const {
  const int screenWidth = image_ ? image_->Width() : 0, screenHeight = image_ ? image_->Height() : 0;
  // A screen without a size maps every frame nowhere (and would divide by zero).
  if (screenWidth == 0 || screenHeight == 0) return RECT{rect.left, rect.top, rect.left, rect.top};
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  return RECT{rect.left + MulDiv(Left(), width, screenWidth), rect.top + MulDiv(Top(), height, screenHeight),
              rect.left + MulDiv(Left() + Width(), width, screenWidth),
              rect.top + MulDiv(Top() + Height(), height, screenHeight)};
}
