#include "pictures/png/TChunkgAMA.h"

#include <cmath>

#include "pictures/png/PngCrc.h"
#include "pictures/png/PngExceptions.h"
#include "pictures/png/TPNGObject.h"

TChunkgAMA::TChunkgAMA(TPNGObject* owner) : TChunk(owner, kChunkName) { SetValue(1); }

std::uint32_t TChunkgAMA::GetValue() {
  if (dataSize_ != 4) SetValue(1);
  return ReadBigEndian32(data_.data());
}

void TChunkgAMA::SetValue(std::uint32_t value) {
  if (dataSize_ != 4) ResizeData(4);
  WriteBigEndian32(data_.data(), value);
}

bool TChunkgAMA::LoadFromStream(TStream* stream, const TChunkName& name, std::uint32_t size) {
  TChunk::LoadFromStream(stream, name, size);
  if (dataSize_ != 4 || !owner_) return true;
  // Read unsigned; 0 and values past the format's range leave the tables as they are.
  const std::uint32_t value = ReadBigEndian32(data_.data());
  if (value == 0 || value > 0x7FFFFFFFu) return true;
  const double exponent = 1.0 / (double(value) / 100000.0 * 2.2);
  for (int i = 0; i < 256; ++i) {
    double g = std::nearbyint(std::pow(i / 255.0, exponent) * 255.0);
    if (!(g >= 0)) g = 0;
    if (g > 255) g = 255;
    owner_->GammaTable[i] = std::uint8_t(g);
    owner_->InverseGamma[int(g)] = std::uint8_t(i);
  }
  owner_->ImageChanged();
  return true;
}

void TChunkgAMA::Assign(TChunk* source) {
  auto* other = dynamic_cast<TChunkgAMA*>(source);
  if (!other) RaiseError<EPngError>(pngtext::NotCompatible);
  SetValue(other->GetValue());
}
