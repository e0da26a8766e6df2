#include "pictures/png/TPNGObject.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <typeinfo>

#include "pictures/png/ChunkRegistry.h"
#include "pictures/png/PngCrc.h"
#include "pictures/png/PngExceptions.h"
#include "pictures/png/TChunkIDAT.h"
#include "pictures/png/TChunkIEND.h"
#include "pictures/png/TChunkPLTE.h"
#include "pictures/png/TChunktRNS.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/OwnedGdiObject.h"
#include "platform/rtl/Resources.h"

namespace {
constexpr std::uint8_t kSignature[8] = {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A};
}

TPNGObject::TPNGObject() : canvas_(std::make_unique<TCanvas>()), chunks_(this) {
  InitializeGamma();
  canvas_->OnChange = [this](TObject*) { ImageChanged(); };
}

TPNGObject::~TPNGObject() {
  ClearChunks();
  canvas_->SetHandle(nullptr);
}

void TPNGObject::SetMaxIdatSize(std::uint32_t value) {
  maxIdatSize_ = value < 65535 ? 65535 : value > kMaxChunkLength ? kMaxChunkLength : value;
}

void TPNGObject::InitializeGamma() {
  for (int i = 0; i < 256; ++i) GammaTable[i] = InverseGamma[i] = BYTE(i);
  ImageChanged();
}

void TPNGObject::ClearChunks() {
  InitializeGamma();
  for (std::uint32_t i = 0; i < chunks_.Count(); ++i) delete chunks_.Item(i);
  chunks_.SetSize(0);
}

bool TPNGObject::HeaderPresent() const {
  return chunks_.Count() > 0 && dynamic_cast<TChunkIHDR*>(chunks_.Item(0)) != nullptr;
}

TChunkIHDR* TPNGObject::GetHeader() const {
  if (!HeaderPresent()) RaiseError<EPNGHeaderNotPresent>(pngtext::HeaderNotPresent);
  return static_cast<TChunkIHDR*>(chunks_.Item(0));
}

int TPNGObject::GetWidth() const { return HeaderPresent() ? int(GetHeader()->IHDRData.Width) : 0; }
int TPNGObject::GetHeight() const { return HeaderPresent() ? int(GetHeader()->IHDRData.Height) : 0; }

void TPNGObject::GetPixelInfo(std::uint32_t& rowBytes, std::uint32_t& offset) const {
  rowBytes = offset = 0;
  if (!HeaderPresent()) return;
  const TIHDRData& h = GetHeader()->IHDRData;
  rowBytes = std::uint32_t(TChunkIDAT::RowLength(h.ColorType, h.BitDepth, h.Width));
  offset = TChunkIDAT::PixelOffset(h.ColorType, h.BitDepth);
}

std::uint8_t* TPNGObject::GetScanline(std::uint32_t row) {
  TChunkIHDR* h = GetHeader();
  if (!h->ImageData || row >= h->IHDRData.Height) return nullptr;
  return h->ImageData + std::uint64_t(h->BytesPerRow) * (h->IHDRData.Height - 1 - row);
}

std::uint8_t* TPNGObject::GetExtraScanline(std::uint32_t row) {
  TChunkIHDR* h = GetHeader();
  if (!h->ExtraData() || row >= h->IHDRData.Height) return nullptr;
  return h->ExtraData() + std::uint64_t(h->BytesPerRow) * (h->IHDRData.Height - 1 - row);
}

std::uint8_t* TPNGObject::GetAlphaScanline(std::uint32_t row) {
  TChunkIHDR* h = GetHeader();
  if (!h->AlphaData() || row >= h->IHDRData.Height) return nullptr;
  return h->AlphaData() + std::uint64_t(h->IHDRData.Width) * row;
}

// ---- loading and saving

void TPNGObject::LoadFromStream(TStream* stream) {
  ClearChunks();
  std::uint8_t signature[8];
  if (!ReadFully(stream, signature, 8) || std::memcmp(signature, kSignature, 8) != 0)
    RaiseError<EPNGInvalidFileHeader>(pngtext::InvalidFileHeader);
  bool idatSeen = false;
  for (;;) {
    std::uint8_t head[8];
    if (!ReadFully(stream, head, 8)) RaiseError<EPngUnexpectedEnd>(pngtext::UnexpectedEnd);
    const std::uint32_t length = ReadBigEndian32(head);
    TChunkName name;
    std::memcpy(name.data(), head + 4, 4);
    if (chunks_.Count() == 0 && std::memcmp(name.data(), "IHDR", 4) != 0)
      RaiseError<EPNGIHDRNotFirst>(pngtext::IHDRNotFirst);
    if (length > kMaxChunkLength) RaiseError<EPngUnexpectedEnd>(pngtext::UnexpectedEnd);
    const bool isIdat = std::memcmp(name.data(), "IDAT", 4) == 0;
    if (std::memcmp(name.data(), "cHRM", 4) == 0 || (isIdat && idatSeen)) {
      // Dropped unread: its data and CRC are passed over.
      if (std::uint64_t(length) + 4 > BytesLeft(stream))
        RaiseError<EPngUnexpectedEnd>(pngtext::UnexpectedEnd);
      stream->Seek(std::int64_t(length) + 4, soFromCurrent);
      continue;
    }
    if (isIdat) idatSeen = true;
    TChunk* chunk = CreateChunkByName(this, name);
    chunks_.TPNGPointerList::Add(chunk);
    if (chunk->ClassType() == &typeid(TChunk) && (name[0] & 0x20) == 0)
      RaiseError<EPNGUnknownCriticalChunk>(pngtext::UnknownCriticalChunk);
    if (!chunk->LoadFromStream(stream, name, length)) break;
    if (std::memcmp(name.data(), "IEND", 4) == 0) break;
  }
  if (!idatSeen) RaiseError<EPNGNoImageData>(pngtext::NoImageData);
  ImageChanged();
  const TChunkIHDR* header = GetHeader();
  loadedHeader_.assign(header->Data(), header->Data() + std::min<std::uint32_t>(header->DataSize(), 13));
  imageAsLoaded_ = true;
  Changed(this);
}

void TPNGObject::SaveToStream(TStream* stream) {
  // Image data is always coded anew. Unknown chunks that depend on it (an upper-case fourth
  // letter: unsafe to copy, as animation frames are) may be kept only while header, palette and
  // pixels are as loaded; safe-to-copy ones are always kept.
  bool imageKept = imageAsLoaded_ && HeaderPresent();
  if (imageKept) {
    const std::array<std::uint8_t, 13> saved = GetHeader()->SavedData();
    imageKept =
        loadedHeader_.size() == saved.size() && std::equal(saved.begin(), saved.end(), loadedHeader_.begin());
  }
  WriteFully(stream, kSignature, 8);
  for (std::uint32_t i = 0; i < chunks_.Count(); ++i) {
    TChunk* chunk = chunks_.Item(i);
    const bool unknown = chunk->ClassType() == &typeid(TChunk);
    if (unknown && !imageKept && (chunk->Name()[3] & 0x20) == 0) continue;
    chunk->SaveToStream(stream);
  }
}

void TPNGObject::LoadFromResourceName(HINSTANCE instance, const AnsiString& name) {
  std::unique_ptr<TResourceStream> stream;
  try {
    stream = std::make_unique<TResourceStream>(instance, name, RT_RCDATA);
  } catch (const EResNotFound&) {
    RaiseError<EPNGCouldNotLoadResource>(pngtext::CouldNotLoadResource);
  }
  LoadFromStream(stream.get());
}

void TPNGObject::LoadFromResourceID(HINSTANCE instance, int id) {
  std::unique_ptr<TResourceStream> stream;
  try {
    stream.reset(TResourceStream::CreateFromID(instance, id, RT_RCDATA));
  } catch (const EResNotFound&) {
    RaiseError<EPNGCouldNotLoadResource>(pngtext::CouldNotLoadResource);
  }
  LoadFromStream(stream.get());
}

// ---- transparency and palette

TPNGTransparencyMode TPNGObject::GetTransparencyMode() {
  TChunkIHDR* header = GetHeader();
  auto* trns = chunks_.FindChunk<TChunktRNS>();
  switch (header->IHDRData.ColorType) {
    case COLOR_GRAYSCALE:
    case COLOR_RGB:
      return trns && trns->SampleUsable() ? ptmBit : ptmNone;
    case COLOR_PALETTE:
      if (!trns) return ptmNone;
      return trns->BitTransparency() ? ptmBit : ptmPartial;
    case COLOR_GRAYSCALEALPHA:
    case COLOR_RGBALPHA:
      return ptmPartial;
    default:
      return ptmNone;
  }
}

bool TPNGObject::GetTransparent() const {
  return HeaderPresent() && const_cast<TPNGObject*>(this)->GetTransparencyMode() != ptmNone;
}

TColor TPNGObject::GetTransparentColor() {
  auto* trns = chunks_.FindChunk<TChunktRNS>();
  return trns ? TColor(trns->GetTransparentColor()) : TColor(0);
}

HPALETTE TPNGObject::GetPalette() { return HeaderPresent() ? GetHeader()->ImagePalette : nullptr; }

void TPNGObject::DoSetPalette(HPALETTE palette, bool updateColorTable) {
  // The palette is the image's from here on: deleted on every way out unless the header takes it.
  OwnedGdiObject<HPALETTE> given(palette);
  TChunkIHDR* header = HeaderPresent() ? GetHeader() : nullptr;
  if (!header || !header->HasPalette || !header->ImageDC) return;
  if (palette == header->ImagePalette) {
    given.Release();
    return;
  }
  if (updateColorTable) {
    header->PaletteToDIB(palette);
    SetDIBColorTable(header->ImageDC, 0, header->BitmapInfo.bmiHeader.biClrUsed,
                     header->BitmapInfo.bmiColors);
  }
  SelectPalette(header->ImageDC, palette, FALSE);
  RealizePalette(header->ImageDC);
  if (header->ImagePalette) DeleteObject(header->ImagePalette);
  header->ImagePalette = given.Release();
  ImageChanged();
}
