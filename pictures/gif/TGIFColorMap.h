// TGIFColorMap: a GIF colour table of up to 256 colours, read and written as RGB triplets and
// padded to a power of two on writing. Optimizing orders it by falling use, drops the colours no
// pixel uses and renumbers the pixels; which pixels count is the global or local table's affair.
#pragma once

#include <vector>

#include "pictures/GIFTypes.h"
#include "platform/gdi/GdiTypes.h"
#include "platform/rtl/Object.h"
#include "platform/rtl/TStream.h"

struct TUsageCount {
  int ColorIndex = 0;
  int Count = 0;
};

class TGIFColorMap : public TPersistent {
 public:
  TGIFColorMap() = default;

  virtual void Warning(TGIFSeverity severity, const AnsiString& message) = 0;
  // One entry per colour, counted over the pixels that use this table; false when there is
  // nothing to count.
  virtual bool BuildHistogram(std::vector<TUsageCount>& usage) = 0;
  // Renumbers every pixel (and transparent index) that uses this table by `map`.
  virtual void MapImages(const std::vector<int>& map) = 0;
  virtual bool Optimize();
  virtual void Changed() = 0;

  void Clear();
  void SetCapacity(int size);
  int Add(TColor color);
  int AddUnique(TColor color);
  int IndexOf(TColor color) const;
  void Delete(int index);
  TColor GetColor(int index);
  void SetColor(int index, TColor color);
  int GetBitsPerPixel() const;
  void LoadFromStream(TStream* stream, int count);
  void SaveToStream(TStream* stream) const;
  void ImportPalette(HPALETTE palette);
  // At most 256 colours are taken, whatever `count` says.
  void ImportColorMap(const TGIFColor* map, int count);
  // Entries of four bytes: blue, green, red, unused. At most 256 are taken.
  void ImportColorTable(const void* table, int count);
  void ImportDIBColors(HDC dc);
  HPALETTE ExportPalette() const;
  void Assign(TPersistent* source) override;

  int Count() const { return count_; }
  int Capacity() const { return capacity_; }
  bool Optimized() const { return optimized_; }
  void SetOptimized(bool value) { optimized_ = value; }
  const TGIFColor& Colors(int index) const { return colors_[std::size_t(index)]; }
  TGIFColor* Data() { return colors_.data(); }

 protected:
  // Shared by both kinds of table: counts pixels of `frame` (its indices below the count).
  void CountPixels(const std::vector<BYTE>& pixels, std::vector<TUsageCount>& usage) const;

  std::vector<TGIFColor> colors_;
  int count_ = 0;
  int capacity_ = 0;
  bool optimized_ = false;
};
