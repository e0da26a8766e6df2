#include "pictures/png/TChunktRNS.h"

#include <cstring>

#include "pictures/png/PngExceptions.h"
#include "pictures/png/TChunkIHDR.h"
#include "pictures/png/TChunkPLTE.h"
#include "pictures/png/TPNGObject.h"

TChunktRNS::TChunktRNS(TPNGObject* owner) : TChunk(owner, kChunkName) {
  std::memset(values_, 255, sizeof(values_));
}

bool TChunktRNS::LoadFromStream(TStream* stream, const TChunkName& name, std::uint32_t size) {
  TChunk::LoadFromStream(stream, name, size);
  if (dataSize_ > 256) RaiseError<EPNGInvalidPalette>(pngtext::InvalidPalette);
  std::memset(values_, 255, sizeof(values_));
  std::memcpy(values_, data_.data(), dataSize_);
  TChunkIHDR* header = GetHeader();
  if (!header) return true;
  switch (header->IHDRData.ColorType) {
    case COLOR_GRAYSCALE:
    case COLOR_RGB:
      bitTransparency_ = true;
      break;
    case COLOR_PALETTE: {
      // Bit transparency is one fully transparent entry among opaque ones; entries past the
      // palette do not count.
      std::uint32_t n = dataSize_;
      if (auto* plte = owner_ ? owner_->Chunks()->FindChunk<TChunkPLTE>() : nullptr)
        n = std::min(n, plte->Count());
      int differing = 0;
      bool zero = false;
      for (std::uint32_t i = 0; i < n; ++i)
        if (values_[i] != 255) {
          ++differing;
          zero = values_[i] == 0;
        }
      bitTransparency_ = differing == 1 && zero;
      break;
    }
    default:
      break;
  }
  return true;
}

bool TChunktRNS::SampleUsable() {
  TChunkIHDR* header = GetHeader();
  if (!header) return false;
  const std::uint32_t limit = std::uint32_t(1) << header->IHDRData.BitDepth;
  switch (header->IHDRData.ColorType) {
    case COLOR_GRAYSCALE:
      return dataSize_ == 2 && Sample(0) < limit;
    case COLOR_RGB:
      return dataSize_ == 6 && Sample(0) < limit && Sample(1) < limit && Sample(2) < limit;
    default:
      return true;
  }
}

COLORREF TChunktRNS::GetTransparentColor() {
  TChunkIHDR* header = GetHeader();
  if (!header || !owner_) return 0;
  const std::uint8_t depth = header->IHDRData.BitDepth;
  switch (header->IHDRData.ColorType) {
    case COLOR_GRAYSCALE: {
      if (!SampleUsable()) return 0;
      std::uint32_t index = Sample(0);
      if (depth == 16) index >>= 8;
      if (depth == 2) index *= 5;
      const BYTE g = header->BitmapInfo.bmiColors[index & 0xFF].rgbRed;
      return RGB(g, g, g);
    }
    case COLOR_RGB: {
      if (!SampleUsable()) return 0;
      const int shift = depth == 16 ? 8 : 0;
      return RGB(owner_->GammaTable[(Sample(0) >> shift) & 0xFF],
                 owner_->GammaTable[(Sample(1) >> shift) & 0xFF],
                 owner_->GammaTable[(Sample(2) >> shift) & 0xFF]);
    }
    case COLOR_PALETTE: {
      auto* plte = owner_->Chunks()->FindChunk<TChunkPLTE>();
      if (!plte) return 0;
      const std::uint32_t n = std::min(std::min(dataSize_, plte->Count()), 256u);
      for (std::uint32_t i = 0; i < n; ++i)
        if (values_[i] == 0) {
          const RGBQUAD& c = header->BitmapInfo.bmiColors[i];
          return RGB(c.rgbRed, c.rgbGreen, c.rgbBlue);
        }
      return 0;
    }
    default:
      return 0;
  }
}

void TChunktRNS::SetTransparentColor(COLORREF rgb) {
  TChunkIHDR* header = GetHeader();
  if (!header) return;
  std::memset(values_, 0, sizeof(values_));
  bitTransparency_ = true;
  const std::uint8_t depth = header->IHDRData.BitDepth;
  // A component of 0..255 as a sample of the image's depth.
  auto scaled = [depth](BYTE c) -> std::uint16_t {
    if (depth == 16) return std::uint16_t(c * 257);
    const std::uint32_t top = (1u << depth) - 1;
    return std::uint16_t((c * top + 127) / 255);
  };
  auto put = [this](int index, std::uint16_t v) {
    values_[index * 2] = BYTE(v >> 8);
    values_[index * 2 + 1] = BYTE(v);
  };
  switch (header->IHDRData.ColorType) {
    case COLOR_GRAYSCALE:
      ResizeData(2);
      put(0, scaled(GetRValue(rgb)));
      break;
    case COLOR_RGB:
      ResizeData(6);
      put(0, scaled(GetRValue(rgb)));
      put(1, scaled(GetGValue(rgb)));
      put(2, scaled(GetBValue(rgb)));
      break;
    case COLOR_PALETTE: {
      const std::uint32_t count = std::min<std::uint32_t>(header->BitmapInfo.bmiHeader.biClrUsed, 256);
      std::uint32_t i = 0;
      for (; i < count; ++i) {
        const RGBQUAD& c = header->BitmapInfo.bmiColors[i];
        if (c.rgbRed == GetRValue(rgb) && c.rgbGreen == GetGValue(rgb) && c.rgbBlue == GetBValue(rgb)) break;
        values_[i] = 255;
      }
      if (i < count) {
        ResizeData(i + 1);
      } else {
        // No entry has the colour: nothing becomes transparent.
        ResizeData(count);
        bitTransparency_ = false;
      }
      break;
    }
    default:
      break;
  }
}

void TChunktRNS::WidenGray2() {
  if (dataSize_ == 2 && Sample(0) < 4) {
    const std::uint16_t v = std::uint16_t(Sample(0) * 5);
    values_[0] = BYTE(v >> 8);
    values_[1] = BYTE(v);
  }
}

bool TChunktRNS::SaveToStream(TStream* stream) {
  if (dataSize_ <= 256) std::memcpy(data_.data(), values_, dataSize_);
  return SaveData(stream);
}

void TChunktRNS::Assign(TChunk* source) {
  if (auto* other = dynamic_cast<TChunktRNS*>(source)) {
    std::memcpy(values_, other->values_, sizeof(values_));
    bitTransparency_ = other->bitTransparency_;
  }
  TChunk::Assign(source);
}
