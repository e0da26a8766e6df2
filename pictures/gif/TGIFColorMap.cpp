#include "pictures/gif/TGIFColorMap.h"

#include <algorithm>
#include <cstring>

#include "pictures/GIFException.h"
#include "pictures/gifcoding/GIFStreamRoutines.h"
#include "platform/gdi/Gdi.h"

void TGIFColorMap::Clear() {
  colors_.clear();
  count_ = 0;
  capacity_ = 0;
  optimized_ = false;
}

void TGIFColorMap::SetCapacity(int size) {
  if (size < capacity_) return;
  if (size <= 16)
    capacity_ = 16;
  else
    capacity_ = std::min(256, (size + 31) / 32 * 32);
  colors_.resize(std::size_t(capacity_));
}

int TGIFColorMap::Add(TColor color) {
  if (count_ > 255) GIFError(sTooManyColors);
  if (count_ >= capacity_) SetCapacity(count_ + 1);
  colors_[std::size_t(count_)] = ColorToGIFColor(color);
  ++count_;
  optimized_ = false;
  Changed();
  return count_ - 1;
}

int TGIFColorMap::AddUnique(TColor color) {
  int index = IndexOf(color);
  return index >= 0 ? index : Add(color);
}

int TGIFColorMap::IndexOf(TColor color) const {
  const TGIFColor c = ColorToGIFColor(color);
  if (optimized_) {
    for (int i = 0; i < count_; ++i)
      if (colors_[std::size_t(i)] == c) return i;
  } else {
    for (int i = count_ - 1; i >= 0; --i)
      if (colors_[std::size_t(i)] == c) return i;
  }
  return -1;
}

void TGIFColorMap::Delete(int index) {
  if (index < 0 || index >= count_) GIFError(sBadColorIndex);
  colors_.erase(colors_.begin() + index);
  colors_.push_back(TGIFColor{});
  --count_;
  optimized_ = false;
  Changed();
}

TColor TGIFColorMap::GetColor(int index) {
  if (index < 0 || index >= count_) {
    Warning(gsWarning, sBadColorIndex);
    if (count_ == 0) GIFError(sEmptyColorMap);
    index = 0;
  }
  return GIFColorToColor(colors_[std::size_t(index)]);
}

void TGIFColorMap::SetColor(int index, TColor color) {
  if (index < 0 || index >= count_) GIFError(sBadColorIndex);
  colors_[std::size_t(index)] = ColorToGIFColor(color);
  Changed();
}

int TGIFColorMap::GetBitsPerPixel() const {
  if (count_ == 0) return 0;
  int bits = 1;
  while ((1 << bits) < count_) ++bits;
  return bits;
}

void TGIFColorMap::LoadFromStream(TStream* stream, int count) {
  Clear();
  count = std::clamp(count, 0, 256);
  SetCapacity(count);
  ReadCheck(stream, colors_.data(), 3 * count);
  count_ = count;
}

void TGIFColorMap::SaveToStream(TStream* stream) const {
  if (count_ == 0) return;
  std::vector<BYTE> bytes(std::size_t(3) << GetBitsPerPixel(), 0);
  std::memcpy(bytes.data(), colors_.data(), std::size_t(3) * std::size_t(count_));
  stream->WriteBuffer(bytes.data(), int(bytes.size()));
}

void TGIFColorMap::ImportPalette(HPALETTE palette) {
  Clear();
  PALETTEENTRY entries[256];
  UINT n = palette ? GetPaletteEntries(palette, 0, 256, entries) : 0;
  if (n > 256) n = 0;
  SetCapacity(int(n));
  for (UINT i = 0; i < n; ++i)
    colors_[i] = TGIFColor{entries[i].peRed, entries[i].peGreen, entries[i].peBlue};
  count_ = int(n);
  Changed();
}

void TGIFColorMap::ImportColorMap(const TGIFColor* map, int count) {
  Clear();
  count = std::min(count, 256);
  if (count > 0) {
    SetCapacity(count);
    std::copy(map, map + count, colors_.begin());
    count_ = count;
  }
  Changed();
}

void TGIFColorMap::ImportColorTable(const void* table, int count) {
  Clear();
  count = std::min(count, 256);
  if (count > 0) {
    SetCapacity(count);
    const auto* quad = static_cast<const BYTE*>(table);
    for (int i = 0; i < count; ++i, quad += 4) colors_[std::size_t(i)] = TGIFColor{quad[2], quad[1], quad[0]};
    count_ = count;
  }
  Changed();
}

void TGIFColorMap::ImportDIBColors(HDC dc) {
  RGBQUAD table[256];
  UINT n = GetDIBColorTable(dc, 0, 256, table);
  ImportColorTable(table, int(std::min<UINT>(n, 256)));
}

HPALETTE TGIFColorMap::ExportPalette() const {
  if (count_ == 0) return nullptr;
  std::vector<BYTE> memory(sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * std::size_t(count_));
  auto* palette = reinterpret_cast<LOGPALETTE*>(memory.data());
  palette->palVersion = 0x300;
  palette->palNumEntries = WORD(count_);
  for (int i = 0; i < count_; ++i) {
    const TGIFColor& c = colors_[std::size_t(i)];
    palette->palPalEntry[i] = PALETTEENTRY{c.Red, c.Green, c.Blue, PC_NOCOLLAPSE};
  }
  return CreatePalette(palette);
}

void TGIFColorMap::Assign(TPersistent* source) {
  if (auto* map = dynamic_cast<TGIFColorMap*>(source)) {
    if (map == this) return;
    colors_ = map->colors_;
    count_ = map->count_;
    capacity_ = map->capacity_;
    optimized_ = map->optimized_;
    Changed();
    return;
  }
  TPersistent::Assign(source);
}

void TGIFColorMap::CountPixels(const std::vector<BYTE>& pixels, std::vector<TUsageCount>& usage) const {
  // Broken files hold indices at or above the count: those are not this table's colours.
  int counts[256] = {};
  for (BYTE p : pixels) ++counts[p];
  for (int i = 0; i < count_; ++i) usage[std::size_t(i)].Count += counts[i];
}

bool TGIFColorMap::Optimize() {
  if (count_ <= 1) return false;
  std::vector<TUsageCount> usage(static_cast<std::size_t>(count_));
  for (int i = 0; i < count_; ++i) usage[std::size_t(i)].ColorIndex = i;
  if (!BuildHistogram(usage)) return false;
  optimized_ = true;
  // Equal counts keep their order, so an already ordered table stays as it is.
  std::stable_sort(usage.begin(), usage.end(),
                   [](const TUsageCount& a, const TUsageCount& b) { return a.Count > b.Count; });
  bool inPlace = true;
  for (int i = 0; i < count_; ++i) inPlace = inPlace && usage[std::size_t(i)].ColorIndex == i;
  if (inPlace) return true;
  std::vector<int> map(static_cast<std::size_t>(count_));
  for (int i = 0; i < count_; ++i) map[std::size_t(usage[std::size_t(i)].ColorIndex)] = i;
  MapImages(map);
  std::vector<TGIFColor> ordered(colors_.size());
  for (int i = 0; i < count_; ++i)
    ordered[std::size_t(i)] = colors_[std::size_t(usage[std::size_t(i)].ColorIndex)];
  colors_ = std::move(ordered);
  for (int i = 0; i < count_; ++i)
    if (usage[std::size_t(i)].Count == 0) {
      std::fill(colors_.begin() + i, colors_.begin() + count_, TGIFColor{});
      count_ = i;
      break;
    }
  Changed();
  return true;
}
