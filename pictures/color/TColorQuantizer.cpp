#include "pictures/color/TColorQuantizer.h"

#include <algorithm>

TColorQuantizer::TColorQuantizer(int maxColors, int colorBits)
    : maxColors_(std::clamp(maxColors, 1, 256)), colorBits_(std::clamp(colorBits, 1, 8)) {}

TColorQuantizer::~TColorQuantizer() = default;

void TColorQuantizer::AddColor(int red, int green, int blue) {
  std::unique_ptr<TOctreeNode>* slot = &tree_;
  for (int level = 0;; ++level) {
    if (!*slot) {
      *slot = std::make_unique<TOctreeNode>();
      TOctreeNode* node = slot->get();
      if (level == colorBits_) {
        node->IsLeaf = true;
        ++leafCount_;
      } else {
        node->Next = reducibleNodes_[std::size_t(level)];
        reducibleNodes_[std::size_t(level)] = node;
      }
    }
    TOctreeNode* node = slot->get();
    if (node->IsLeaf) {
      node->AddColor(red, green, blue);
      return;
    }
    const int shift = 7 - level;
    const int child = (((red >> shift) & 1) << 2) | (((green >> shift) & 1) << 1) | ((blue >> shift) & 1);
    slot = &node->Children[std::size_t(child)];
  }
}

void TColorQuantizer::ProcessImage(TDIBReader* image, int width, int height) {
  for (int row = 0; row < height; ++row) {
    const BYTE* pixel = static_cast<const BYTE*>(image->RowPointer(row));
    for (int x = 0; x < width; ++x, pixel += 3) {
      AddColor(pixel[2], pixel[1], pixel[0]);
      while (leafCount_ > maxColors_ && ReduceTree()) {
      }
    }
  }
}

bool TColorQuantizer::ReduceTree() {
  int level = colorBits_ - 1;
  while (level > 0 && !reducibleNodes_[std::size_t(level)]) --level;
  TOctreeNode* node = reducibleNodes_[std::size_t(level)];
  if (!node) return false;
  reducibleNodes_[std::size_t(level)] = node->Next;
  node->Next = nullptr;
  leafCount_ -= node->Reduce() - 1;
  return true;
}

int TColorQuantizer::GetColorTable(RGBQUAD* table, int size) const {
  int count = 0;
  auto walk = [&](auto&& self, const TOctreeNode* node) -> void {
    if (!node) return;
    if (node->IsLeaf) {
      if (count >= size) return;
      RGBQUAD entry{0, 0, 0, 0};
      if (node->PixelCount > 0) {
        entry.rgbBlue = BYTE(node->BlueSum / node->PixelCount);
        entry.rgbGreen = BYTE(node->GreenSum / node->PixelCount);
        entry.rgbRed = BYTE(node->RedSum / node->PixelCount);
      }
      table[count++] = entry;
      return;
    }
    for (const auto& child : node->Children) self(self, child.get());
  };
  walk(walk, tree_.get());
  return count;
}
