// The PNG picture's making and changing: blank images, assignment to and from bitmaps,
// the clipboard, transparency changes, pixel access, resizing and the text and pixel-size
// chunks.
#include <algorithm>
#include <cstring>
#include <new>

#include "pictures/png/ChunkRegistry.h"
#include "pictures/png/PngExceptions.h"
#include "pictures/png/TChunkIDAT.h"
#include "pictures/png/TChunkIEND.h"
#include "pictures/png/TChunkPLTE.h"
#include "pictures/png/TChunkpHYs.h"
#include "pictures/png/TChunktEXt.h"
#include "pictures/png/TChunktRNS.h"
#include "pictures/png/TChunkzTXt.h"
#include "pictures/png/TPNGObject.h"
#include "platform/forms/TBitmap.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/OwnedGdiObject.h"
#include "platform/rtl/ScopeExit.h"

TPNGObject::TPNGObject(unsigned colorType, unsigned bitDepth, int width, int height) : TPNGObject() {
  if (colorType > 255 || bitDepth > 255 ||
      !ValidColorTypeAndDepth(std::uint8_t(colorType), std::uint8_t(bitDepth)) || width < 1 || height < 1 ||
      width > 65535 || height > 65535)
    RaiseError<EPNGInvalidSpec>(pngtext::InvalidSpec);
  InitializeGamma();
  beingCreated_ = true;
  {
    // An image that cannot be made is left without chunks.
    platform::ScopeExit failed([this] {
      beingCreated_ = false;
      ClearChunks();
    });
    chunks_.Add<TChunkIEND>();
    TChunkIHDR* header = chunks_.Add<TChunkIHDR>();
    header->IHDRData.ColorType = std::uint8_t(colorType);
    header->IHDRData.BitDepth = std::uint8_t(bitDepth == 2 ? 4 : bitDepth);
    header->IHDRData.Width = std::uint32_t(width);
    header->IHDRData.Height = std::uint32_t(height);
    header->PrepareImageData();
    // Only palette images carry a palette chunk.
    if (colorType == COLOR_PALETTE) chunks_.Add<TChunkPLTE>()->SetCount(1u << header->IHDRData.BitDepth);
    chunks_.Add<TChunkIDAT>();
    failed.Release();
  }
  beingCreated_ = false;
}

// ---- assignment and the clipboard

void TPNGObject::Assign(TPersistent* source) {
  if (!source) {
    ClearChunks();
  } else if (auto* png = dynamic_cast<TPNGObject*>(source)) {
    AssignPNG(png);
  } else if (auto* bitmap = dynamic_cast<TBitmap*>(source)) {
    if (bitmap->Empty()) {
      ClearChunks();
    } else {
      AssignHandle(bitmap->Handle(), bitmap->Transparent(), ColorToRGB(bitmap->TransparentColor()));
    }
  } else {
    TGraphic::Assign(source);
    return;
  }
  Changed(this);
}

void TPNGObject::AssignPNG(TPNGObject* source) {
  if (source == this) return;
  InterlaceMethod = source->InterlaceMethod;
  SetMaxIdatSize(source->MaxIdatSize());
  CompressionLevel = source->CompressionLevel;
  Filters = source->Filters;
  ClearChunks();
  // The display colours of the copy come through the same tables.
  std::memcpy(GammaTable, source->GammaTable, 256);
  std::memcpy(InverseGamma, source->InverseGamma, 256);
  for (std::uint32_t i = 0; i < source->chunks_.Count(); ++i) {
    TChunk* from = source->chunks_.Item(i);
    TChunk* chunk = CreateChunkLike(from);
    chunks_.TPNGPointerList::Add(chunk);
    chunk->Assign(from);
  }
  ImageChanged();
  loadedHeader_ = source->loadedHeader_;
  imageAsLoaded_ = source->imageAsLoaded_;
}

TChunk* TPNGObject::CreateChunkLike(TChunk* from) {
  const TChunkName& name = from->Name();
  if (dynamic_cast<TChunkIHDR*>(from)) return new TChunkIHDR(this);
  if (dynamic_cast<TChunkIDAT*>(from)) return new TChunkIDAT(this);
  if (dynamic_cast<TChunkIEND*>(from)) return new TChunkIEND(this);
  if (dynamic_cast<TChunkPLTE*>(from)) return new TChunkPLTE(this);
  if (dynamic_cast<TChunktRNS*>(from)) return new TChunktRNS(this);
  if (dynamic_cast<TChunkpHYs*>(from)) return new TChunkpHYs(this);
  TChunk* chunk = CreateChunkByName(this, name);
  if (chunk->ClassType() != from->ClassType()) {
    delete chunk;
    chunk = new TChunk(this);
  }
  return chunk;
}

void TPNGObject::AssignHandle(HBITMAP bitmap, bool transparent, COLORREF transparentColor) {
  BITMAP description{};
  if (!bitmap || !GetObjectA(bitmap, sizeof(description), &description) || description.bmWidth <= 0 ||
      description.bmHeight == 0)
    RaiseError<EPNGInvalidSpec>(pngtext::InvalidSpec);
  const int bpp = description.bmBitsPixel;
  ClearChunks();
  auto* header = new TChunkIHDR(this);
  chunks_.TPNGPointerList::Add(header);
  header->IHDRData.Width = std::uint32_t(description.bmWidth);
  header->IHDRData.Height =
      std::uint32_t(description.bmHeight < 0 ? -description.bmHeight : description.bmHeight);
  header->IHDRData.BitDepth = std::uint8_t(bpp < 16 ? bpp : 8);
  header->IHDRData.ColorType = bpp < 16 ? COLOR_PALETTE : COLOR_RGB;
  header->PrepareImageData();
  {
    OwnedMemoryDC screen(nullptr);
    GetDIBits(screen, bitmap, 0, header->IHDRData.Height, header->ImageData,
              reinterpret_cast<BITMAPINFO*>(&header->BitmapInfo), DIB_RGB_COLORS);
  }
  if (header->HasPalette) {
    auto* plte = new TChunkPLTE(this);
    chunks_.TPNGPointerList::Add(plte);
    const std::uint32_t count = 1u << bpp;
    plte->SetCount(count);
    PALETTEENTRY entries[256];
    for (std::uint32_t i = 0; i < count; ++i) {
      const RGBQUAD& c = header->BitmapInfo.bmiColors[i];
      entries[i] = PALETTEENTRY{c.rgbRed, c.rgbGreen, c.rgbBlue, 0};
    }
    header->BitmapInfo.bmiHeader.biClrUsed = count;
    SetDIBColorTable(header->ImageDC, 0, count, header->BitmapInfo.bmiColors);
    DoSetPalette(TChunkIHDR::CreateLogPalette(entries, count), false);
  }
  if (transparent) {
    auto* trns = new TChunktRNS(this);
    chunks_.TPNGPointerList::Add(trns);
    trns->SetTransparentColor(transparentColor);
  }
  chunks_.TPNGPointerList::Add(new TChunkIDAT(this));
  chunks_.TPNGPointerList::Add(new TChunkIEND(this));
  ImageChanged();
}

void TPNGObject::AssignTo(TPersistent* dest) {
  if (auto* png = dynamic_cast<TPNGObject*>(dest)) {
    png->AssignPNG(this);
    return;
  }
  auto* bitmap = dynamic_cast<TBitmap*>(dest);
  if (!bitmap || !HeaderPresent()) {
    TGraphic::AssignTo(dest);
    return;
  }
  const TIHDRData& h = GetHeader()->IHDRData;
  const TPNGTransparencyMode mode = GetTransparencyMode();
  TPixelFormat format;
  if (mode == ptmPartial) {
    format = pf24bit;
  } else if (h.BitDepth == 1) {
    format = pf1bit;
  } else if (h.BitDepth == 2 || h.BitDepth == 4) {
    format = pf4bit;
  } else if ((h.BitDepth == 8 || h.BitDepth == 16) &&
             (h.ColorType == COLOR_GRAYSCALE || h.ColorType == COLOR_RGB)) {
    format = pf24bit;
  } else if (h.BitDepth == 8 && h.ColorType == COLOR_PALETTE) {
    format = pf8bit;
  } else {
    throw Exception(AnsiString());
  }
  bitmap->SetPixelFormat(format);
  bitmap->SetSize(int(h.Width), int(h.Height));
  RECT all{0, 0, int(h.Width), int(h.Height)};
  Draw(bitmap->Canvas(), all);
  if (mode == ptmBit) {
    bitmap->SetTransparentColor(GetTransparentColor());
    bitmap->SetTransparent(true);
  }
}

void TPNGObject::SaveToClipboardFormat(WORD& format, HANDLE& data, HPALETTE& palette) {
  TBitmap bitmap;
  bitmap.SetSize(GetWidth(), GetHeight());
  Draw(bitmap.Canvas(), RECT{0, 0, GetWidth(), GetHeight()});
  bitmap.SaveToClipboardFormat(format, data, palette);
}

void TPNGObject::LoadFromClipboardFormat(WORD format, HANDLE data, HPALETTE palette) {
  TBitmap bitmap;
  bitmap.LoadFromClipboardFormat(format, data, palette);
  AssignHandle(bitmap.Handle(), false, 0);
  Changed(this);
}

// ---- transparency

void TPNGObject::SetTransparentColor(TColor color) {
  if (!HeaderPresent()) return;
  switch (GetHeader()->IHDRData.ColorType) {
    case COLOR_GRAYSCALE:
    case COLOR_RGB:
    case COLOR_PALETTE: {
      auto* trns = chunks_.FindChunk<TChunktRNS>();
      if (!trns) trns = chunks_.Add<TChunktRNS>();
      trns->SetTransparentColor(ColorToRGB(color));
      break;
    }
    case COLOR_GRAYSCALEALPHA:
    case COLOR_RGBALPHA:
      RaiseError<EPNGCannotChangeTransparent>(pngtext::CannotChangeTransparent);
    default:
      break;
  }
  ImageChanged();
}

void TPNGObject::RemoveTransparency() {
  if (!HeaderPresent()) return;
  TChunkIHDR* header = GetHeader();
  switch (header->IHDRData.ColorType) {
    case COLOR_GRAYSCALE:
    case COLOR_RGB:
    case COLOR_PALETTE:
      if (auto* trns = chunks_.FindChunk<TChunktRNS>()) chunks_.RemoveChunk(trns);
      break;
    case COLOR_GRAYSCALEALPHA:
    case COLOR_RGBALPHA:
      header->IHDRData.ColorType =
          header->IHDRData.ColorType == COLOR_GRAYSCALEALPHA ? COLOR_GRAYSCALE : COLOR_RGB;
      std::vector<std::uint8_t>().swap(header->ImageAlpha);
      std::vector<std::uint8_t>().swap(header->ExtraAlpha);
      break;
    default:
      break;
  }
  ImageChanged();
}

void TPNGObject::WidenGrayTo8() {
  TChunkIHDR* header = GetHeader();
  const TIHDRData h = header->IHDRData;
  std::vector<std::uint8_t> values;
  values.reserve(std::uint64_t(h.Width) * h.Height);
  const int bits = header->BitmapInfo.bmiHeader.biBitCount;
  const std::uint32_t top = (1u << bits) - 1;
  for (std::uint32_t y = 0; y < h.Height; ++y)
    for (std::uint32_t x = 0; x < h.Width; ++x) values.push_back(std::uint8_t(StoredIndex(x, y) * 255 / top));
  header->IHDRData.BitDepth = 8;
  header->PrepareImageData();
  for (std::uint32_t y = 0; y < h.Height; ++y)
    std::memcpy(GetScanline(y), values.data() + std::uint64_t(h.Width) * y, h.Width);
}

void TPNGObject::CreateAlpha() {
  if (!HeaderPresent()) return;
  TChunkIHDR* header = GetHeader();
  TIHDRData& h = header->IHDRData;
  if (h.ColorType == COLOR_GRAYSCALE || h.ColorType == COLOR_RGB) {
    // The transparent sample, if any, becomes alpha 0: alpha images carry no tRNS.
    auto* trns = chunks_.FindChunk<TChunktRNS>();
    std::vector<std::uint8_t> alpha(std::uint64_t(h.Width) * h.Height, 255);
    if (trns && trns->SampleUsable())
      for (std::uint32_t y = 0; y < h.Height; ++y)
        for (std::uint32_t x = 0; x < h.Width; ++x)
          if (IsTransparentSample(x, y, trns)) alpha[std::uint64_t(h.Width) * y + x] = 0;
    if (trns) chunks_.RemoveChunk(trns);
    if (h.ColorType == COLOR_GRAYSCALE && h.BitDepth < 8) WidenGrayTo8();
    h.ColorType = h.ColorType == COLOR_GRAYSCALE ? COLOR_GRAYSCALEALPHA : COLOR_RGBALPHA;
    header->ImageAlpha = std::move(alpha);
    if (h.BitDepth == 16) {
      header->ExtraAlpha = header->ImageAlpha;
    }
  } else if (h.ColorType == COLOR_PALETTE) {
    auto* trns = chunks_.FindChunk<TChunktRNS>();
    if (!trns) trns = chunks_.Add<TChunktRNS>();
    std::memset(trns->PaletteValues(), 255, 256);
    trns->ResizeData(1u << h.BitDepth);
    trns->SetBitTransparency(false);
  }
  ImageChanged();
}

// ---- pixels and size

TColor TPNGObject::GetPixels(int x, int y) {
  if (!HeaderPresent()) return 0;
  TChunkIHDR* header = GetHeader();
  const TIHDRData& h = header->IHDRData;
  if (x < 0 || y < 0 || std::uint32_t(x) >= h.Width || std::uint32_t(y) >= h.Height || !header->ImageData)
    return 0;
  const std::uint8_t* row = GetScanline(std::uint32_t(y));
  switch (h.ColorType) {
    case COLOR_PALETTE: {
      auto* plte = chunks_.FindChunk<TChunkPLTE>();
      return plte ? TColor(plte->FileColor(StoredIndex(std::uint32_t(x), std::uint32_t(y)))) : 0;
    }
    case COLOR_GRAYSCALE: {
      const int bits = header->BitmapInfo.bmiHeader.biBitCount;
      const std::uint32_t v = StoredIndex(std::uint32_t(x), std::uint32_t(y));
      const BYTE g = bits == 1 ? BYTE(v ? 255 : 0) : BYTE(v * ((1u << bits) + 1));
      return TColor(RGB(g, g, g));
    }
    case COLOR_GRAYSCALEALPHA:
      return TColor(RGB(row[x], row[x], row[x]));
    default: {
      const std::uint8_t* p = row + 3 * std::uint64_t(x);
      return TColor(RGB(p[2], p[1], p[0]));
    }
  }
}

void TPNGObject::SetPixels(int x, int y, TColor color) {
  if (!HeaderPresent()) return;
  TChunkIHDR* header = GetHeader();
  const TIHDRData& h = header->IHDRData;
  if (x < 0 || y < 0 || std::uint32_t(x) >= h.Width || std::uint32_t(y) >= h.Height || !header->ImageData)
    return;
  const COLORREF rgb = ColorToRGB(color);
  std::uint8_t* row = GetScanline(std::uint32_t(y));
  std::uint8_t* low = GetExtraScanline(std::uint32_t(y));
  const int bits = header->BitmapInfo.bmiHeader.biBitCount;
  auto distance = [rgb](COLORREF c) {
    const int dr = int(GetRValue(c)) - GetRValue(rgb), dg = int(GetGValue(c)) - GetGValue(rgb),
              db = int(GetBValue(c)) - GetBValue(rgb);
    return dr * dr + dg * dg + db * db;
  };
  auto store = [&](std::uint32_t value) {
    const std::uint32_t bit = std::uint32_t(x) * std::uint32_t(bits);
    const int shift = 8 - bits - int(bit & 7);
    const std::uint8_t mask = std::uint8_t(((1 << bits) - 1) << shift);
    row[bit >> 3] = std::uint8_t((row[bit >> 3] & ~mask) | ((value << shift) & mask));
  };
  switch (h.ColorType) {
    case COLOR_PALETTE: {
      // The nearest colour of the file's palette, the first on ties.
      auto* plte = chunks_.FindChunk<TChunkPLTE>();
      const std::uint32_t count = std::min<std::uint32_t>(plte ? plte->Count() : 0, 1u << bits);
      std::uint32_t best = 0;
      int bestDistance = 1 << 30;
      for (std::uint32_t i = 0; i < count; ++i)
        if (distance(plte->FileColor(i)) < bestDistance) {
          bestDistance = distance(plte->FileColor(i));
          best = i;
        }
      store(best);
      break;
    }
    case COLOR_GRAYSCALE: {
      std::uint32_t best = 0;
      int bestDistance = 1 << 30;
      for (std::uint32_t v = 0; v < (1u << bits); ++v) {
        const BYTE g = bits == 1 ? BYTE(v ? 255 : 0) : BYTE(v * ((1u << bits) + 1));
        if (distance(RGB(g, g, g)) < bestDistance) {
          bestDistance = distance(RGB(g, g, g));
          best = v;
        }
      }
      store(best);
      if (low) low[x] = std::uint8_t(best);
      break;
    }
    case COLOR_GRAYSCALEALPHA:
      row[x] = GetRValue(rgb);
      if (low) low[x] = GetRValue(rgb);
      break;
    default: {
      std::uint8_t* p = row + 3 * std::uint64_t(x);
      p[0] = GetBValue(rgb), p[1] = GetGValue(rgb), p[2] = GetRValue(rgb);
      if (low) std::memcpy(low + 3 * std::uint64_t(x), p, 3);
      break;
    }
  }
  ImageChanged();
}

void TPNGObject::Resize(int width, int height) {
  if (width < 1 || height < 1) RaiseError<EPNGInvalidNewSize>(pngtext::InvalidNewSize);
  TChunkIHDR* header = GetHeader();
  TIHDRData& h = header->IHDRData;
  const std::uint64_t pixels = std::uint64_t(width) * std::uint64_t(height);
  if (width > 65535 || height > 65535 || pixels > TChunkIHDR::PixelLimit)
    RaiseError<EPNGOutMemory>(pngtext::OutMemory);
  const int bitCount = header->BitmapInfo.bmiHeader.biBitCount;
  const std::uint32_t newRowBytes =
      std::uint32_t(((std::uint64_t(bitCount) * std::uint64_t(width) + 31) >> 5) * 4);

  TMAXBITMAPINFO info = header->BitmapInfo;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  // The new DC and bitmap are the header's once the image is resized; deleted if it is not.
  HDC dc = CreateCompatibleDC(header->ImageDC);
  platform::ScopeExit deleteDC([dc] {
    if (dc) DeleteDC(dc);
  });
  void* bits = nullptr;
  OwnedGdiObject<HBITMAP> bitmap(
      dc ? CreateDIBSection(dc, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0)
         : nullptr);
  std::vector<std::uint8_t> alpha, extra, extraAlpha;
  try {
    if (!bitmap || !bits) throw std::bad_alloc();
    if (!header->ImageAlpha.empty()) alpha.assign(pixels, 255);
    if (!header->ExtraAlpha.empty()) extraAlpha.assign(pixels, 255);
    if (!header->ExtraImageData.empty()) extra.assign(std::uint64_t(newRowBytes) * height, 0);
  } catch (const std::bad_alloc&) {
    RaiseError<EPNGOutMemory>(pngtext::OutMemory);
  }
  auto* newBits = static_cast<std::uint8_t*>(bits);
  std::memset(newBits, 0, std::uint64_t(newRowBytes) * height);
  const std::uint32_t rows = std::min<std::uint32_t>(std::uint32_t(height), h.Height);
  const std::uint32_t rowCopy = std::min(newRowBytes, header->BytesPerRow);
  const std::uint32_t alphaCopy = std::min<std::uint32_t>(std::uint32_t(width), h.Width);
  for (std::uint32_t r = 0; r < rows; ++r) {
    const std::uint64_t from = std::uint64_t(header->BytesPerRow) * (h.Height - 1 - r);
    const std::uint64_t to = std::uint64_t(newRowBytes) * (std::uint32_t(height) - 1 - r);
    std::memcpy(newBits + to, header->ImageData + from, rowCopy);
    if (!extra.empty()) std::memcpy(extra.data() + to, header->ExtraImageData.data() + from, rowCopy);
    if (!alpha.empty())
      std::memcpy(alpha.data() + std::uint64_t(width) * r,
                  header->ImageAlpha.data() + std::uint64_t(h.Width) * r, alphaCopy);
    if (!extraAlpha.empty())
      std::memcpy(extraAlpha.data() + std::uint64_t(width) * r,
                  header->ExtraAlpha.data() + std::uint64_t(h.Width) * r, alphaCopy);
  }
  if (canvas_->HandleAllocated() && canvas_->Handle() == header->ImageDC) canvas_->SetHandle(nullptr);
  DeleteDC(header->ImageDC);
  DeleteObject(header->ImageHandle);
  SelectObject(dc, bitmap);
  if (header->ImagePalette) {
    SelectPalette(dc, header->ImagePalette, FALSE);
    RealizePalette(dc);
  }
  header->ImageDC = dc;
  deleteDC.Release();
  header->ImageHandle = bitmap.Release();
  header->ImageData = newBits;
  header->ImageAlpha = std::move(alpha);
  header->ExtraAlpha = std::move(extraAlpha);
  header->ExtraImageData = std::move(extra);
  header->BytesPerRow = newRowBytes;
  header->BitmapInfo.bmiHeader.biWidth = width;
  header->BitmapInfo.bmiHeader.biHeight = height;
  h.Width = std::uint32_t(width);
  h.Height = std::uint32_t(height);
  canvas_->SetHandle(dc);
  ImageChanged();
  Changed(this);
}

// ---- chunks

void TPNGObject::AddtEXt(const AnsiString& keyword, const AnsiString& text) {
  auto* chunk = chunks_.Add<TChunktEXt>();
  chunk->SetKeyword(keyword);
  chunk->SetText(text);
}

void TPNGObject::AddzTXt(const AnsiString& keyword, const AnsiString& text) {
  auto* chunk = chunks_.Add<TChunkzTXt>();
  chunk->SetKeyword(keyword);
  chunk->SetText(text);
}

bool TPNGObject::HasPixelInformation() { return chunks_.FindChunk<TChunkpHYs>() != nullptr; }

TChunkpHYs* TPNGObject::GetPixelInformation() {
  auto* chunk = chunks_.FindChunk<TChunkpHYs>();
  if (!chunk) {
    chunk = chunks_.Add<TChunkpHYs>();
    chunk->SetUnitType(utMeter);
  }
  return chunk;
}

void TPNGObject::DrawUsingPixelInformation(TCanvas* canvas, POINT point) {
  double screenX, screenY;
  {
    OwnedMemoryDC screen(nullptr);
    screenX = GetDeviceCaps(screen, LOGPIXELSX) / 0.0254;
    screenY = GetDeviceCaps(screen, LOGPIXELSY) / 0.0254;
  }
  int width = GetWidth(), height = GetHeight();
  // A pixel size of 0 says nothing: the image's own size is drawn.
  if (auto* phys = chunks_.FindChunk<TChunkpHYs>(); phys && phys->PPUnitX() > 0 && phys->PPUnitY() > 0) {
    width = int(double(width) / (phys->PPUnitX() / screenX));
    height = int(double(height) / (phys->PPUnitY() / screenY));
  }
  Draw(canvas, RECT{point.x, point.y, point.x + width, point.y + height});
}
