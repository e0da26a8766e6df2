// TChunktRNS: transparency. Palette images get an alpha value for each entry; grey and
// truecolour images one sample (big-endian, at the image's depth) that is fully transparent.
// The 256 values hold the chunk's bytes either way.
#pragma once

#include "pictures/png/TChunk.h"
#include "platform/gdi/GdiTypes.h"

class TChunktRNS : public TChunk {
 public:
  static constexpr const char* kChunkName = "tRNS";
  explicit TChunktRNS(TPNGObject* owner);
  const char* GetName() const override { return kChunkName; }

  bool LoadFromStream(TStream* stream, const TChunkName& name, std::uint32_t size) override;
  bool SaveToStream(TStream* stream) override;
  void Assign(TChunk* source) override;

  bool BitTransparency() const { return bitTransparency_; }
  void SetBitTransparency(bool value) { bitTransparency_ = value; }
  BYTE* PaletteValues() { return values_; }
  // The displayed colour that is transparent (COLORREF); 0 when none.
  COLORREF GetTransparentColor();
  void SetTransparentColor(COLORREF rgb);
  // False for a grey or truecolour sample the image cannot have (a wrong length or a value
  // beyond the depth): such a chunk makes nothing transparent.
  bool SampleUsable();
  // Grey 16-bit sample (grey images) or one of the three (truecolour), as the file gives it.
  std::uint16_t Sample(int index) const {
    return std::uint16_t(values_[index * 2] << 8 | values_[index * 2 + 1]);
  }
  // A 2-bit grey sample v becomes 5v, the value the image holds when it is written at 4 bits.
  void WidenGray2();

 private:
  bool bitTransparency_ = false;
  BYTE values_[256];
};
