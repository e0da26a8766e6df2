#include "pictures/gif/TGIFSubImage.h"

#include <algorithm>
#include <cstring>

#include "pictures/GIFException.h"
#include "pictures/color/WebPalette.h"
#include "pictures/dib/GDICheck.h"
#include "pictures/dib/TDIBWriter.h"
#include "pictures/gif/GIFFrameConversion.h"
#include "pictures/gif/GIFSettings.h"
#include "pictures/gif/TGIFGraphicControlExtension.h"
#include "pictures/gif/TGIFHeader.h"
#include "pictures/gif/TGIFImage.h"
#include "pictures/gif/TGIFLoadContext.h"
#include "pictures/gifcoding/GIFStreamRoutines.h"
#include "pictures/gifcoding/TGIFLZWDecoder.h"
#include "pictures/gifcoding/TLZWEncoder.h"
#include "pictures/gifcoding/TRLEEncoder.h"
#include "platform/forms/TBitmap.h"
#include "platform/forms/TIcon.h"
#include "platform/forms/TMetafile.h"
#include "platform/forms/TPicture.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/OwnedGdiObject.h"
#include "platform/gdi/SavedDCState.h"
#include "platform/gdi/SelectedObject.h"
#include "platform/rtl/ScopeExit.h"
#include "platform/rtl/TMemoryStream.h"

namespace {

// Frames above this many pixels get a 1-bit bitmap before the DIB replaces it.
constexpr std::int64_t kSmallHandlePixels = 500000;
// Where the mask's bit is 1 the destination stays, elsewhere the source is copied.
constexpr DWORD kMaskedCopy = MAKEROP4(0x00AA0029, SRCCOPY);

int RectWidth(const RECT& r) { return r.right - r.left; }
int RectHeight(const RECT& r) { return r.bottom - r.top; }

// Copies `w` x `h` of `src` into `dest` through `mask`: one MaskBlt when unstretched, else the
// mask and a blackened copy of the frame stretched with AND and OR.
void MaskedBlit(HDC dst, const RECT& dest, HDC src, int w, int h, HBITMAP mask) {
  const int dw = RectWidth(dest), dh = RectHeight(dest);
  if (dw <= 0 || dh <= 0) return;
  if (dw == w && dh == h) {
    MaskBlt(dst, dest.left, dest.top, w, h, src, 0, 0, mask, 0, 0, kMaskedCopy);
    return;
  }
  OwnedMemoryDC maskDC(dst), monoDC(dst), colorDC(dst);
  OwnedGdiObject<HBITMAP> mono(CreateBitmap(w, h, 1, 1, nullptr)), color(CreateCompatibleBitmap(dst, w, h));
  const COLORREF oldText = SetTextColor(dst, RGB(0, 0, 0)), oldBk = SetBkColor(dst, RGB(255, 255, 255));
  if (maskDC && monoDC && colorDC && mono && color) {
    SelectedObject maskIn(maskDC, mask), monoIn(monoDC, mono), colorIn(colorDC, color);
    BitBlt(monoDC, 0, 0, w, h, maskDC, 0, 0, NOTSRCCOPY);
    BitBlt(colorDC, 0, 0, w, h, monoDC, 0, 0, SRCCOPY);
    BitBlt(colorDC, 0, 0, w, h, src, 0, 0, SRCAND);
    StretchBlt(dst, dest.left, dest.top, dw, dh, maskDC, 0, 0, w, h, SRCAND);
    StretchBlt(dst, dest.left, dest.top, dw, dh, colorDC, 0, 0, w, h, SRCPAINT);
  }
  SetTextColor(dst, oldText);
  SetBkColor(dst, oldBk);
}

// Cells of `w` x `h` from rect's top-left corner while a cell's left (top) edge is inside.
template <typename F>
void ForEachCell(const RECT& rect, int w, int h, F&& f) {
  if (w <= 0 || h <= 0) return;
  for (int y = rect.top; y < rect.bottom; y += h)
    for (int x = rect.left; x < rect.right; x += w) f(RECT{x, y, x + w, y + h});
}

}  // namespace

TGIFSubImage::TGIFSubImage(TGIFImage* image)
    : TGIFItem(image),
      colorMap_(std::make_unique<TGIFLocalColorMap>(this)),
      extensions_(std::make_unique<TGIFExtensionList>(this)) {}

TGIFSubImage::~TGIFSubImage() {
  if (image_) image_->Images()->Remove(this);
  Clear();
  if (palette_) DeleteObject(palette_);
  palette_ = nullptr;
}

void TGIFSubImage::Clear() {
  extensions_->Clear();
  colorMap_->Clear();
  FreeImage();
  descriptor_.Width = 0;
  descriptor_.Height = 0;
  transparent_ = false;
  graphicControlExtension_ = nullptr;
  FreeBitmap();
  FreeMask();
}

void TGIFSubImage::Assign(TPersistent* source) {
  if (source == this) return;
  if (!source) {
    Clear();
  } else if (auto* frame = dynamic_cast<TGIFSubImage*>(source)) {
    AssignFrame(frame);
  } else if (auto* bitmap = dynamic_cast<TBitmap*>(source)) {
    AssignBitmap(bitmap);
  } else if (auto* picture = dynamic_cast<TPicture*>(source)) {
    Assign(picture->Graphic());
  } else if (auto* graphic = dynamic_cast<TGraphic*>(source)) {
    AssignGraphic(graphic);
  } else {
    TGIFItem::Assign(source);
  }
}

void TGIFSubImage::AssignTo(TPersistent* dest) {
  if (auto* bitmap = dynamic_cast<TBitmap*>(dest)) {
    bitmap->Assign(GetBitmap());
    return;
  }
  TGIFItem::AssignTo(dest);
}

void TGIFSubImage::AssignFrame(TGIFSubImage* frame) {
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
  extensions_->LoadFromStream(&stream);
  if (frame->bitmap_) {
    bitmap_ = std::make_unique<TBitmap>();
    bitmap_->Assign(frame->bitmap_.get());
  }
}

void TGIFSubImage::AssignBitmap(TBitmap* source) {
  Clear();
  if (source->Empty()) return;
  if (source->Width() > 0xFFFF || source->Height() > 0xFFFF) GIFError(sBadDimension);
  descriptor_.Width = WORD(source->Width());
  descriptor_.Height = WORD(source->Height());
  const TPixelFormat format = source->PixelFormat();
  const bool indexed = format == pf1bit || format == pf4bit || format == pf8bit;
  // A frame that fails half-way is left empty.
  platform::ScopeExit clear([this] { Clear(); });
  if (indexed) {
    bitmap_ = std::make_unique<TBitmap>();
    bitmap_->Assign(source);
  } else {
    bitmap_.reset(ReduceColorsForFrame(source, image_));
  }
  NewImage();
  ImportBitmapRows();
  // The mask of a transparent bitmap comes from the caller's bitmap; the copy shares it.
  if (source->Transparent()) ImportMask(source->MaskHandle());
  clear.Release();
}

void TGIFSubImage::ImportBitmapRows() {
  if (image_) image_->DoProgress(psStarting, 0, false, sProgressConverting);
  TBitmap* bitmap = bitmap_.get();
  const int w = Width(), h = Height();
  // An import that fails ends the progress report at 0.
  platform::ScopeExit failed([this] {
    if (image_) image_->DoProgress(psEnding, 0, false, sProgressConverting);
  });
  const TPixelFormat format = bitmap->PixelFormat();
  if (format != pf1bit && format != pf4bit && format != pf8bit) {
    ImportTrueColorPixels(bitmap, colorMap_.get(), pixels_.data());
    failed.Release();
    if (image_) image_->DoProgress(psEnding, 100, false, sProgressConverting);
    return;
  }
  colorMap_->ImportPalette(bitmap->Palette());
  for (int y = 0; y < h; ++y) {
    if (image_ && y % 32 == 0) image_->DoProgress(psRunning, BYTE(y * 100 / h), false, sProgressConverting);
    const auto* row = static_cast<const BYTE*>(bitmap->ScanLine(y));
    BYTE* out = pixels_.data() + std::size_t(y) * std::size_t(w);
    for (int x = 0; x < w; ++x) {
      if (format == pf1bit)
        out[x] = BYTE((row[x >> 3] >> (7 - (x & 7))) & 1);
      else if (format == pf4bit)
        out[x] = BYTE(x & 1 ? row[x >> 1] & 0x0F : row[x >> 1] >> 4);
      else
        out[x] = row[x];
    }
  }
  failed.Release();
  if (image_) image_->DoProgress(psEnding, 100, false, sProgressConverting);
}

void TGIFSubImage::ImportMask(HBITMAP mask) {
  if (!mask || GetEmpty()) return;
  const int w = Width(), h = Height();
  // Optimising renumbers the pixels: the bitmap copy no longer matches them.
  colorMap_->Optimize();
  FreeBitmap();
  FreeMask();
  const int count = colorMap_->Count();
  if (count == 256) {
    // No index is left for the transparent pixels: the frame stays opaque.
    Warning(gsWarning, sTooManyColors);
    return;
  }
  const int index = colorMap_->Add(TColor(0));
  // The mask as 1-bit rows, top-down: 1 where the picture leaves what is beneath.
  std::vector<BYTE> info(sizeof(BITMAPINFOHEADER) + 2 * sizeof(RGBQUAD), 0);
  auto* header = reinterpret_cast<BITMAPINFOHEADER*>(info.data());
  header->biSize = sizeof(BITMAPINFOHEADER);
  header->biWidth = w;
  header->biHeight = -h;
  header->biPlanes = 1;
  header->biBitCount = 1;
  header->biCompression = BI_RGB;
  const int stride = ((w + 31) / 32) * 4;
  std::vector<BYTE> rows(std::size_t(stride) * std::size_t(h), 0);
  {
    OwnedMemoryDC dc(nullptr);
    GetDIBits(dc, mask, 0, UINT(h), rows.data(), reinterpret_cast<BITMAPINFO*>(info.data()), DIB_RGB_COLORS);
  }
  bool any = false;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (rows[std::size_t(y) * std::size_t(stride) + std::size_t(x >> 3)] & (0x80 >> (x & 7))) {
        pixels_[std::size_t(y) * std::size_t(w) + std::size_t(x)] = BYTE(index);
        any = true;
      }
  if (!any) {
    colorMap_->Delete(index);
    return;
  }
  auto* extension = new TGIFGraphicControlExtension(this);
  extensions_->Add(extension);
  extension->SetTransparentColorIndex(index);
  extension->SetTransparent(true);
  FreeBitmap();
  FreeMask();
}

void TGIFSubImage::AssignGraphic(TGraphic* source) {
  Clear();
  if (source->Empty()) return;
  TBitmap bitmap;
  bitmap.SetPixelFormat(pf24bit);
  bitmap.SetSize(source->Width(), source->Height());
  const RECT all{0, 0, source->Width(), source->Height()};
  const bool drawn = dynamic_cast<TIcon*>(source) || dynamic_cast<TMetafile*>(source);
  if (drawn)
    bitmap.Canvas()->StretchDraw(all, source);
  else
    bitmap.Assign(source);
  AssignBitmap(&bitmap);
  if (auto* icon = dynamic_cast<TIcon*>(source)) {
    const TMaskedImage& image = icon->Image();
    const int w = image.Width, h = image.Height, stride = ((w + 15) / 16) * 2;
    std::vector<BYTE> bits(std::size_t(stride) * std::size_t(h), 0);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        if (!image.Opaque[std::size_t(y) * std::size_t(w) + std::size_t(x)])
          bits[std::size_t(y) * std::size_t(stride) + std::size_t(x >> 3)] |= BYTE(0x80 >> (x & 7));
    OwnedGdiObject<HBITMAP> mask(GDICheck(CreateBitmap(w, h, 1, 1, bits.data())));
    ImportMask(mask);
  }
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
  if (bitmap_ && bitmap_->Palette()) return bitmap_->Palette();
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
  if (bitmap_ && bitmap_->Palette() != palette) {
    FreeBitmap();
    if (image_) {
      image_->PaletteModified = true;
      image_->FrameChanged();
    }
  }
}

TBitmap* TGIFSubImage::GetBitmap() {
  if (bitmap_) return bitmap_.get();
  if (GetEmpty()) return nullptr;
  return Render();
}

TBitmap* TGIFSubImage::Render() {
  if (image_) image_->DoProgress(psStarting, 0, false, sProgressRendering);
  auto bitmap = std::make_unique<TBitmap>();
  {
    // A render that stops ends the progress report at 0.
    platform::ScopeExit stopped([this] {
      if (image_) image_->DoProgress(psEnding, 0, false, sProgressRendering);
    });
    try {
      RenderPlain(bitmap.get(), image_ && image_->GetDoDither());
    } catch (const EAbort&) {
      // A progress handler asked to stop: the frame stays without bitmap.
      return nullptr;
    }
    stopped.Release();
  }
  bitmap_ = std::move(bitmap);
  if (image_) {
    image_->DoProgress(psEnding, 100, image_->PaletteModified, sProgressRendering);
    if (image_->PaletteModified) image_->FrameChanged();
  }
  return bitmap_.get();
}

void TGIFSubImage::RenderPlain(TBitmap* bitmap, bool dither) {
  const int w = Width(), h = Height();
  if (std::int64_t(w) * h > kSmallHandlePixels) bitmap->SetPixelFormat(pf1bit);
  HPALETTE palette = GetPalette();
  const bool buildMask = !mask_ && needMask_ && transparent_ && graphicControlExtension_;
  needMask_ = false;
  const int maskStride = ((w + 15) / 16) * 2;
  std::vector<BYTE> maskBits;
  if (buildMask) maskBits.assign(std::size_t(maskStride) * std::size_t(h), 0);
  const int transparentIndex = buildMask ? graphicControlExtension_->GetTransparentColorIndex() : -1;
  bool masked = false;
  {
    TDIBWriter writer(bitmap, palette, h, w, pf8bit);
    if (dither) {
      // The frame's palette is the 216-colour one: each pixel's colour goes through the ditherer.
      auto dibRow = [&](int y) {
        if (y % 32 == 0 && image_)
          image_->DoProgress(psRunning, BYTE(y * 100 / h), false, sProgressRendering);
        return static_cast<BYTE*>(writer.RowPointer(y));
      };
      std::function<BYTE*(int)> maskRow;
      if (buildMask)
        maskRow = [&](int y) { return maskBits.data() + std::size_t(y) * std::size_t(maskStride); };
      DitherFramePixels(pixels_.data(), w, h, GetActiveColorMap(), transparentIndex, dibRow, maskRow);
      masked = buildMask && std::any_of(maskBits.begin(), maskBits.end(), [](BYTE b) { return b != 0; });
    }
    for (int y = 0; y < h && !dither; ++y) {
      if (y % 32 == 0 && image_) image_->DoProgress(psRunning, BYTE(y * 100 / h), false, sProgressRendering);
      const BYTE* row = pixels_.data() + std::size_t(y) * std::size_t(w);
      std::memcpy(writer.RowPointer(y), row, std::size_t(w));
      if (!buildMask) continue;
      BYTE* maskRow = maskBits.data() + std::size_t(y) * std::size_t(maskStride);
      for (int x = 0; x < w; ++x)
        if (row[x] == transparentIndex) {
          maskRow[x >> 3] |= BYTE(0x80 >> (x & 7));
          masked = true;
        }
    }
  }
  if (bitmap->Empty()) GIFError(sNoDIB);
  if (masked) mask_ = GDICheck(CreateBitmap(w, h, 1, 1, maskBits.data()));
}

void TGIFSubImage::SetBitmap(TBitmap* bitmap) {
  FreeBitmap();
  if (!bitmap) return;
  bitmap_ = std::make_unique<TBitmap>();
  bitmap_->Assign(bitmap);
}

void TGIFSubImage::SetHasBitmap(bool value) {
  if (value == GetHasBitmap()) return;
  if (value)
    GetBitmap();
  else
    FreeBitmap();
}

void TGIFSubImage::NewBitmap() { bitmap_ = std::make_unique<TBitmap>(); }

void TGIFSubImage::FreeBitmap() { bitmap_.reset(); }

void TGIFSubImage::FreeMask() {
  if (mask_) DeleteObject(mask_);
  mask_ = nullptr;
  needMask_ = true;
}

bool TGIFSubImage::HasMask() {
  if (needMask_ && transparent_) {
    FreeBitmap();
    GetBitmap();
  }
  return mask_ != nullptr;
}

void TGIFSubImage::Draw(TCanvas* canvas, const RECT& rect, bool transparent, bool tile) {
  Paint(canvas, tile ? rect : ScaleRect(rect), rect, transparent, tile);
}

void TGIFSubImage::StretchDraw(TCanvas* canvas, const RECT& rect, bool transparent, bool tile) {
  Paint(canvas, rect, rect, transparent, tile);
}

void TGIFSubImage::Paint(TCanvas* canvas, const RECT& target, const RECT& clip, bool transparent, bool tile) {
  if (RectWidth(target) <= 0 || RectHeight(target) <= 0 || RectWidth(clip) <= 0 || RectHeight(clip) <= 0)
    return;
  const bool masked = transparent && transparent_ && HasMask();
  TBitmap* bitmap = GetBitmap();
  if (!bitmap) return;
  const int w = Width(), h = Height();
  {
    canvas->Lock();
    platform::ScopeExit unlock([canvas] { canvas->Unlock(); });
    HDC dst = canvas->Handle();
    SavedDCState saved(dst);
    IntersectClipRect(dst, clip.left, clip.top, clip.right, clip.bottom);
    HDC src = bitmap->Canvas()->Handle();
    if (masked) {
      if (tile)
        ForEachCell(target, w, h, [&](const RECT& cell) { MaskedBlit(dst, cell, src, w, h, mask_); });
      else
        MaskedBlit(dst, target, src, w, h, mask_);
    } else if (tile) {
      ForEachCell(target, w, h,
                  [&](const RECT& cell) { BitBlt(dst, cell.left, cell.top, w, h, src, 0, 0, SRCCOPY); });
    } else {
      StretchBlt(dst, target.left, target.top, RectWidth(target), RectHeight(target), src, 0, 0, w, h,
                 SRCCOPY);
    }
  }
  canvas->Changed();
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
  TGIFLoadContext context = image_ ? image_->NewLoadContext() : TGIFLoadContext(0, 0, GIFMaximumTotalPixels);
  LoadFromStream(stream, context);
}

void TGIFSubImage::LoadFromStream(TStream* stream, TGIFLoadContext& context) {
  Clear();
  extensions_->LoadFromStream(stream);
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
    descriptor_.Width = WORD(context.ScreenWidth());
    descriptor_.Height = WORD(context.ScreenHeight());
    Warning(gsWarning, sScreenSizeExceeded);
  }
  const std::int64_t count = std::int64_t(Width()) * Height();
  if (count > GIFMaximumImagePixels) GIFError(sBadDimension);
  context.ClaimPixels(count);
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
  TGIFLZWDecoder decoder(
      stream, [this](TGIFSeverity severity, const AnsiString& message) { Warning(severity, message); });
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
    FreeBitmap();
    FreeMask();
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
