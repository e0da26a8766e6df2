// TChunkPLTE: the palette chunk. It keeps the file's entries, which saving writes back; the
// header's palette and colour table hold them through the gamma table, for display.
#pragma once

#include "pictures/png/TChunk.h"
#include "platform/gdi/GdiTypes.h"

class TChunkPLTE : public TChunk {
 public:
  static constexpr const char* kChunkName = "PLTE";
  explicit TChunkPLTE(TPNGObject* owner) : TChunk(owner, kChunkName) {}
  const char* GetName() const override { return kChunkName; }

  bool LoadFromStream(TStream* stream, const TChunkName& name, std::uint32_t size) override;
  bool SaveToStream(TStream* stream) override;
  void Assign(TChunk* source) override;

  std::uint32_t Count() const { return count_; }
  void SetCount(std::uint32_t count) { count_ = count; }
  // The displayed colour of an entry as blue | green << 8 | red << 16; EPngError past the count.
  std::uint32_t GetPaletteItem(std::uint32_t index);
  // The file's colour of an entry (COLORREF, red in the low byte); 0 past the count.
  COLORREF FileColor(std::uint32_t index) const;

 private:
  // Rebuilds the entries from the header's palette when they do not match the count.
  void BuildEntries();
  std::uint32_t count_ = 0;
};
