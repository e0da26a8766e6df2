// TOctreeNode: one node of the colour quantizer's octree. A leaf gathers the pixels that fall in
// its cube (count and colour sums, 64 bits wide so that any number of pixels fits); an inner
// node owns up to eight children and waits in its level's list of reducible nodes.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "platform/rtl/Object.h"

class TOctreeNode : public TObject {
 public:
  bool IsLeaf = false;
  std::int64_t PixelCount = 0;
  std::int64_t RedSum = 0;
  std::int64_t GreenSum = 0;
  std::int64_t BlueSum = 0;
  TOctreeNode* Next = nullptr;
  std::array<std::unique_ptr<TOctreeNode>, 8> Children;

  void AddColor(int red, int green, int blue) {
    ++PixelCount;
    RedSum += red;
    GreenSum += green;
    BlueSum += blue;
  }
  // Gathers the children's pixels into this node, frees them and makes it a leaf; the number of
  // children it had.
  int Reduce();
};
