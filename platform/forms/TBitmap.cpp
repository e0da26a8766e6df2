#include "platform/forms/TBitmap.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <optional>

#include "platform/gdi/Gdi.h"
#include "platform/gdi/SelectedObject.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/GlobalBlock.h"
#include "platform/rtl/Resources.h"
#include "platform/rtl/TMemoryStream.h"
#include "platform/win/Win.h"

struct TBitmap::Image {
  OwnedGdiObject<HBITMAP> bitmap;
  std::uint8_t* bits = nullptr;
  int width = 0, height = 0, bpp = 32, stride = 0;
  bool bitFields = false;
  DWORD masks[3] = {0, 0, 0};
  std::vector<RGBQUAD> table;
  // A BITMAPINFO describing the pixels (top-down).
  std::vector<std::uint8_t> Info() const {
    std::vector<std::uint8_t> info(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD), 0);
    auto* bi = reinterpret_cast<BITMAPINFO*>(info.data());
    bi->bmiHeader = {40,        width,
                     -height,   1,
                     WORD(bpp), bitFields ? BI_BITFIELDS : BI_RGB,
                     0,         0,
                     0,         DWORD(bpp <= 8 ? table.size() : 0),
                     0};
    if (bitFields)
      std::memcpy(bi->bmiColors, masks, sizeof masks);
    else
      for (std::size_t i = 0; i < table.size() && i < 256; ++i) bi->bmiColors[i] = table[i];
    return info;
  }
};

namespace {

int BitsOf(TPixelFormat f) {
  switch (f) {
    case pf1bit:
      return 1;
    case pf4bit:
      return 4;
    case pf8bit:
      return 8;
    case pf15bit:
    case pf16bit:
      return 16;
    case pf24bit:
      return 24;
    default:
      return 32;
  }
}

std::vector<RGBQUAD> DefaultTable(int bpp) {
  std::vector<RGBQUAD> table;
  if (bpp == 1) {
    table = {{0, 0, 0, 0}, {255, 255, 255, 0}};
  } else if (bpp == 4) {
    static const COLORREF vga[16] = {0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080,
                                     0x808000, 0x808080, 0xC0C0C0, 0x0000FF, 0x00FF00, 0x00FFFF,
                                     0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF};
    for (COLORREF c : vga) table.push_back(RGBQUAD{GetBValue(c), GetGValue(c), GetRValue(c), 0});
  } else if (bpp == 8) {
    OwnedGdiObject<HPALETTE> halftone(CreateHalftonePalette(nullptr));
    PALETTEENTRY entries[256];
    UINT n = GetPaletteEntries(halftone, 0, 256, entries);
    for (UINT i = 0; i < n; ++i)
      table.push_back(RGBQUAD{entries[i].peBlue, entries[i].peGreen, entries[i].peRed, 0});
  }
  return table;
}

}  // namespace

// The canvas of a bitmap: a memory DC with the bitmap selected, made when first drawn on.
class TBitmap::TBitmapCanvas : public TCanvas {
 public:
  explicit TBitmapCanvas(TBitmap* owner) : owner_(owner) {}
  ~TBitmapCanvas() override { FreeContext(); }
  void FreeContext() {
    if (!ownDC_) return;
    DeselectHandles();
    selected_.reset();
    ownDC_.reset();
  }

 protected:
  void CreateHandle() override {
    owner_->Unshare();
    if (!owner_->image_) return;
    ownDC_.emplace(nullptr);
    selected_.emplace(*ownDC_, owner_->image_->bitmap);
    dc_ = *ownDC_;
  }
  void Changing() override {
    owner_->Unshare();
    owner_->FreeMask();
    TCanvas::Changing();
  }
  void Changed() override {
    TCanvas::Changed();
    owner_->Changed(owner_);
  }

 private:
  TBitmap* owner_;
  // The memory DC and the bitmap in it while the canvas has a handle (the bitmap goes back
  // out before the DC is deleted).
  std::optional<OwnedMemoryDC> ownDC_;
  std::optional<SelectedObject> selected_;
};

// The DC the pixels are read from for one drawing: the canvas's while it has a handle, else a
// memory DC made for it with the bitmap selected, deleted when the drawing ends.
class TBitmap::SourceDC {
 public:
  explicit SourceDC(TBitmap& bitmap) {
    if (bitmap.canvas_ && bitmap.canvas_->HandleAllocated()) {
      dc_ = bitmap.canvas_->Handle();
      return;
    }
    memory_.emplace(nullptr);
    selected_.emplace(*memory_, bitmap.image_->bitmap);
    dc_ = *memory_;
  }
  operator HDC() const { return dc_; }

 private:
  std::optional<OwnedMemoryDC> memory_;
  std::optional<SelectedObject> selected_;
  HDC dc_ = nullptr;
};

TBitmap::TBitmap() = default;

TBitmap::~TBitmap() { canvas_.reset(); }

bool TBitmap::GetEmpty() const { return !image_; }
int TBitmap::GetWidth() const { return image_ ? image_->width : 0; }
int TBitmap::GetHeight() const { return image_ ? image_->height : 0; }

TCanvas* TBitmap::Canvas() {
  if (!canvas_) canvas_ = std::make_unique<TBitmapCanvas>(this);
  return canvas_.get();
}

void TBitmap::FreeContext() {
  if (canvas_) canvas_->FreeContext();
}

void TBitmap::FreeMask() { mask_.Reset(); }

HBITMAP TBitmap::Handle() {
  Unshare();
  return image_ ? image_->bitmap.Get() : nullptr;
}

HBITMAP TBitmap::ReleaseHandle() {
  Unshare();
  if (!image_) return nullptr;
  FreeContext();
  HBITMAP h = image_->bitmap.Release();
  image_.reset();
  Changed(this);
  return h;
}

void TBitmap::Replace(std::shared_ptr<Image> image) {
  FreeContext();
  FreeMask();
  palette_.Reset();
  image_ = std::move(image);
}

HPALETTE TBitmap::GetPalette() {
  if (!image_ || image_->bpp > 8 || image_->table.empty()) return nullptr;
  if (!palette_) {
    const std::size_t n = std::min<std::size_t>(image_->table.size(), 256);
    std::vector<std::uint8_t> memory(sizeof(LOGPALETTE) + n * sizeof(PALETTEENTRY));
    auto* logical = reinterpret_cast<LOGPALETTE*>(memory.data());
    logical->palVersion = 0x300;
    logical->palNumEntries = WORD(n);
    for (std::size_t i = 0; i < n; ++i) {
      const RGBQUAD& q = image_->table[i];
      logical->palPalEntry[i] = PALETTEENTRY{q.rgbRed, q.rgbGreen, q.rgbBlue, 0};
    }
    palette_.Reset(CreatePalette(logical));
  }
  return palette_;
}

void TBitmap::SetPaletteImpl(HPALETTE value) {
  if (!value || !image_ || image_->bpp > 8) return;
  WORD count = 0;
  GetObjectA(value, sizeof count, &count);
  const std::size_t n = std::min<std::size_t>(count, std::size_t(1) << image_->bpp);
  std::vector<PALETTEENTRY> entries(n);
  if (n) GetPaletteEntries(value, 0, UINT(n), entries.data());
  TDibImage d = ToDibImage();
  if (d.Table.size() < n) d.Table.resize(n, RGBQUAD{0, 0, 0, 0});
  for (std::size_t i = 0; i < n; ++i)
    d.Table[i] = RGBQUAD{entries[i].peBlue, entries[i].peGreen, entries[i].peRed, 0};
  TPixelFormat keep = pixelFormat_;
  FromDibImage(d);
  pixelFormat_ = keep;
  PaletteModified = true;
  Changed(this);
}

void TBitmap::Unshare() {
  if (!image_ || image_.use_count() == 1) return;
  // Another bitmap shares these pixels: copy them before they change.
  TDibImage copy = ToDibImage();
  TPixelFormat keep = pixelFormat_;
  FromDibImage(copy);
  pixelFormat_ = keep;
}

TDibImage TBitmap::ToDibImage() {
  TDibImage d;
  if (!image_) return d;
  d.Width = image_->width;
  d.Height = image_->height;
  d.BitCount = image_->bpp;
  d.BitFields = image_->bitFields;
  std::memcpy(d.Masks, image_->masks, sizeof d.Masks);
  d.Table = image_->table;
  d.Bits.assign(image_->bits, image_->bits + static_cast<std::size_t>(image_->stride) * image_->height);
  return d;
}

void TBitmap::FromDibImage(const TDibImage& d) {
  if (d.Width <= 0 || d.Height <= 0) {
    Replace(nullptr);
    return;
  }
  auto img = std::make_shared<Image>();
  img->width = d.Width;
  img->height = d.Height;
  img->bpp = d.BitCount;
  img->bitFields = d.BitFields;
  std::memcpy(img->masks, d.Masks, sizeof d.Masks);
  img->table = d.BitCount <= 8 ? d.Table : std::vector<RGBQUAD>();
  if (d.BitCount <= 8 && img->table.empty()) img->table = DefaultTable(d.BitCount);
  img->stride = d.Stride();
  std::vector<std::uint8_t> info = img->Info();
  void* bits = nullptr;
  img->bitmap.Reset(CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(info.data()), DIB_RGB_COLORS,
                                     &bits, nullptr, 0));
  if (!img->bitmap || !bits) throw EOutOfResources("Out of system resources");
  img->bits = static_cast<std::uint8_t*>(bits);
  std::size_t n =
      std::min(d.Bits.size(), static_cast<std::size_t>(img->stride) * static_cast<std::size_t>(d.Height));
  if (n) std::memcpy(img->bits, d.Bits.data(), n);
  Replace(std::move(img));
  switch (d.BitCount) {
    case 1:
      pixelFormat_ = pf1bit;
      break;
    case 4:
      pixelFormat_ = pf4bit;
      break;
    case 8:
      pixelFormat_ = pf8bit;
      break;
    case 16:
      pixelFormat_ = d.BitFields && d.Masks[1] == 0x7E0 ? pf16bit : pf15bit;
      break;
    case 24:
      pixelFormat_ = pf24bit;
      break;
    default:
      pixelFormat_ = pf32bit;
      break;
  }
}

void TBitmap::SetSize(int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (width == GetWidth() && height == GetHeight()) return;
  TDibImage d;
  d.Width = width;
  d.Height = height;
  d.BitCount = BitsOf(pixelFormat_);
  if (d.BitCount == 16) {
    d.BitFields = pixelFormat_ == pf16bit;
    if (d.BitFields) {
      d.Masks[0] = 0xF800;
      d.Masks[1] = 0x07E0;
      d.Masks[2] = 0x001F;
    }
  }
  if (static_cast<std::int64_t>(width) * height > (std::int64_t(1) << 28))
    throw EOutOfResources("Out of system resources");
  d.Bits.assign(static_cast<std::size_t>(d.Stride()) * static_cast<std::size_t>(height), 0);
  if (image_) {
    // Keep the top-left pixels; new pixels are black (index 0, or zero bits).
    d.Table = image_->table;
    d.BitFields = image_->bitFields;
    std::memcpy(d.Masks, image_->masks, sizeof d.Masks);
    std::size_t rowBytes = (static_cast<std::size_t>(std::min(width, image_->width)) * image_->bpp + 7) / 8;
    for (int y = 0; y < std::min(height, image_->height); ++y)
      std::memcpy(d.Bits.data() + static_cast<std::size_t>(d.Stride()) * y,
                  image_->bits + static_cast<std::size_t>(image_->stride) * y, rowBytes);
  }
  TPixelFormat keep = pixelFormat_;
  FromDibImage(d);
  pixelFormat_ = keep;
  Changed(this);
}

void TBitmap::SetPixelFormat(TPixelFormat value) {
  if (value == pixelFormat_) return;
  if (value == pfCustom) throw EInvalidGraphic("Invalid property value");
  if (!image_) {
    pixelFormat_ = value;
    return;
  }
  int bpp = BitsOf(value);
  TDibImage d;
  d.Width = image_->width;
  d.Height = image_->height;
  d.BitCount = bpp;
  if (bpp == 16 && value == pf16bit) {
    d.BitFields = true;
    d.Masks[0] = 0xF800;
    d.Masks[1] = 0x07E0;
    d.Masks[2] = 0x001F;
  }
  d.Table = DefaultTable(bpp);
  d.Bits.assign(static_cast<std::size_t>(d.Stride()) * static_cast<std::size_t>(d.Height), 0);
  // Convert by drawing the old pixels into the new format.
  std::shared_ptr<Image> old = image_;
  FromDibImage(d);
  pixelFormat_ = value;
  {
    OwnedMemoryDC dc(nullptr);
    SelectedObject selected(dc, image_->bitmap);
    std::vector<std::uint8_t> info = old->Info();
    StretchDIBits(dc, 0, 0, old->width, old->height, 0, 0, old->width, old->height, old->bits,
                  reinterpret_cast<BITMAPINFO*>(info.data()), DIB_RGB_COLORS, SRCCOPY);
  }
  Changed(this);
}

void TBitmap::SetMonochrome(bool value) {
  if (value == Monochrome()) return;
  SetPixelFormat(value ? pf1bit : pfDevice);
}

void* TBitmap::ScanLine(int row) {
  Unshare();
  if (!image_ || row < 0 || row >= image_->height) throw EInvalidGraphic("Scan line index out of range");
  FreeMask();
  return image_->bits + static_cast<std::size_t>(image_->stride) * static_cast<std::size_t>(row);
}

void TBitmap::SetTransparentMode(TTransparentMode value) {
  if (transparentMode_ == value) return;
  transparentMode_ = value;
  FreeMask();
  Changed(this);
}

void TBitmap::SetTransparentColor(TColor value) {
  transparentColor_ = value;
  transparentMode_ = value == clDefault ? tmAuto : tmFixed;
  FreeMask();
  Changed(this);
}

TColor TBitmap::TransparentColor() {
  if (transparentMode_ == tmFixed && transparentColor_ != clDefault) return transparentColor_;
  if (!image_) return clDefault;
  COLORREF c = GetPixel(SourceDC(*this), 0, image_->height - 1);
  return static_cast<TColor>(c & 0xFFFFFF);
}

HBITMAP TBitmap::MaskHandle() {
  if (!image_) return nullptr;
  if (mask_) return mask_;
  COLORREF key = ColorToRGB(TransparentColor());
  SourceDC src(*this);
  mask_.Reset(CreateBitmap(image_->width, image_->height, 1, 1, nullptr));
  OwnedMemoryDC maskDC(nullptr);
  SelectedObject selected(maskDC, mask_);
  COLORREF oldBk = SetBkColor(src, key);
  BitBlt(maskDC, 0, 0, image_->width, image_->height, src, 0, 0, SRCCOPY);
  SetBkColor(src, oldBk);
  return mask_;
}

void TBitmap::Draw(TCanvas* canvas, const RECT& r) {
  if (!image_) return;
  HDC dst = canvas->Handle();
  int w = r.right - r.left, h = r.bottom - r.top;
  if (w == 0 || h == 0) return;
  HBITMAP mask = Transparent() ? MaskHandle() : nullptr;
  SourceDC src(*this);
  if (!mask) {
    StretchBlt(dst, r.left, r.top, w, h, src, 0, 0, image_->width, image_->height, canvas->CopyMode);
  } else if (w == image_->width && h == image_->height) {
    MaskBlt(dst, r.left, r.top, w, h, src, 0, 0, mask, 0, 0, MAKEROP4(0x00AA0029, SRCCOPY));
  } else {
    // Stretch picture and mask alike, then mask the stretched copy.
    int aw = std::abs(w), ah = std::abs(h);
    BITMAPINFO bi{};
    bi.bmiHeader = {40, aw, -ah, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    OwnedGdiObject<HBITMAP> pic(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    OwnedGdiObject<HBITMAP> smask(CreateBitmap(aw, ah, 1, 1, nullptr));
    int sx = w < 0 ? image_->width - 1 : 0, sw = w < 0 ? -image_->width : image_->width;
    int sy = h < 0 ? image_->height - 1 : 0, sh = h < 0 ? -image_->height : image_->height;
    OwnedMemoryDC picDC(nullptr);
    SelectedObject picSelected(picDC, pic);
    StretchBlt(picDC, 0, 0, aw, ah, src, sx, sy, sw, sh, SRCCOPY);
    {
      // The stretched mask leaves its DC before it masks the blit.
      OwnedMemoryDC maskDC(nullptr), srcMaskDC(nullptr);
      SelectedObject maskSelected(maskDC, smask), srcMaskSelected(srcMaskDC, mask);
      StretchBlt(maskDC, 0, 0, aw, ah, srcMaskDC, sx, sy, sw, sh, SRCCOPY);
    }
    MaskBlt(dst, std::min(r.left, r.right), std::min(r.top, r.bottom), aw, ah, picDC, 0, 0, smask, 0, 0,
            MAKEROP4(0x00AA0029, SRCCOPY));
  }
}

void TBitmap::LoadFromStream(TStream* stream) {
  std::int64_t size = stream->Size() - stream->Position();
  if (size <= 0 || size > std::numeric_limits<int>::max()) throw EInvalidGraphic("Bitmap image is not valid");
  std::vector<std::uint8_t> data(static_cast<std::size_t>(size));
  stream->ReadBuffer(data.data(), static_cast<int>(size));
  TDibImage image = ReadBmpFile(data.data(), data.size());
  FromDibImage(image);
  Changed(this);
}

void TBitmap::SaveToStream(TStream* stream) {
  if (!image_) return;
  std::vector<std::uint8_t> data = WriteBmpFile(ToDibImage());
  stream->WriteBuffer(data.data(), static_cast<int>(data.size()));
}

void TBitmap::LoadPackedDib(const std::uint8_t* data, std::size_t size) {
  // The reader places the pixels after the header, the masks and the table by itself.
  std::vector<std::uint8_t> file(14 + size, 0);
  file[0] = 'B';
  file[1] = 'M';
  if (size) std::memcpy(file.data() + 14, data, size);
  FromDibImage(ReadBmpFile(file.data(), file.size()));
  Changed(this);
}

void TBitmap::LoadFromClipboardFormat(WORD format, HANDLE data, HPALETTE) {
  if (format != CF_DIB || !data) throw EInvalidGraphic("Unsupported clipboard format");
  auto block = static_cast<HGLOBAL>(data);
  SIZE_T size = GlobalSize(block);
  std::vector<std::uint8_t> dib;
  {
    LockedGlobal lock(block);
    const auto* p = lock.As<const std::uint8_t>();
    if (!p) throw EInvalidGraphic("Bitmap image is not valid");
    dib.assign(p, p + size);
  }
  LoadPackedDib(dib.data(), dib.size());
}

void TBitmap::LoadResourceBytes(TCustomMemoryStream& stream) {
  const auto* bytes = static_cast<const std::uint8_t*>(stream.Memory());
  const auto size = static_cast<std::size_t>(stream.Size());
  if (size >= 2 && bytes[0] == 'B' && bytes[1] == 'M') {
    FromDibImage(ReadBmpFile(bytes, size));
    Changed(this);
  } else {
    LoadPackedDib(bytes, size);
  }
}

void TBitmap::LoadFromResourceName(HINSTANCE instance, const AnsiString& name) {
  TResourceStream stream(instance, name, RT_BITMAP);
  LoadResourceBytes(stream);
}

void TBitmap::LoadFromResourceID(HINSTANCE instance, int id) {
  std::unique_ptr<TResourceStream> stream(TResourceStream::CreateFromID(instance, id, RT_BITMAP));
  LoadResourceBytes(*stream);
}

void TBitmap::SaveToClipboardFormat(WORD& format, HANDLE& data, HPALETTE& palette) {
  std::vector<std::uint8_t> file = image_ ? WriteBmpFile(ToDibImage()) : std::vector<std::uint8_t>();
  if (file.size() <= 14) throw EInvalidGraphic("Bitmap image is not valid");
  OwnedGlobal block(GlobalAlloc(GMEM_MOVEABLE, file.size() - 14));
  if (!block) throw EOutOfResources("Out of system resources");
  {
    LockedGlobal lock(block.Get());
    std::memcpy(lock.As<void>(), file.data() + 14, file.size() - 14);
  }
  format = CF_DIB;
  data = block.Release();
  palette = nullptr;
}

void TBitmap::Assign(TPersistent* source) {
  if (!source) {
    Replace(nullptr);
    Changed(this);
    return;
  }
  if (auto* other = dynamic_cast<TBitmap*>(source)) {
    if (other == this) return;
    // Share the pixels; whoever changes them first copies. The source's canvas lets go of
    // them so both can draw from them.
    other->FreeContext();
    Replace(other->image_);
    pixelFormat_ = other->pixelFormat_;
    transparent_ = other->transparent_;
    transparentMode_ = other->transparentMode_;
    transparentColor_ = other->transparentColor_;
    Changed(this);
    return;
  }
  if (auto* graphic = dynamic_cast<TGraphic*>(source)) {
    // Any other picture is drawn onto a bitmap of its size.
    pixelFormat_ = pf24bit;
    Replace(nullptr);
    SetSize(graphic->Width(), graphic->Height());
    if (image_) {
      RECT r{0, 0, graphic->Width(), graphic->Height()};
      Canvas()->Brush()->SetColor(clWhite);
      Canvas()->FillRect(r);
      Canvas()->StretchDraw(r, graphic);
    }
    Changed(this);
    return;
  }
  TGraphic::Assign(source);
}

void TBitmap::ReadData(TStream* stream) { ReadSizedData(stream); }

void TBitmap::WriteData(TStream* stream) { WriteSizedData(stream); }
