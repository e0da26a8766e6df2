#include "pictures/color/TOctreeNode.h"

int TOctreeNode::Reduce() {
  int children = 0;
  for (auto& child : Children) {
    if (!child) continue;
    PixelCount += child->PixelCount;
    RedSum += child->RedSum;
    GreenSum += child->GreenSum;
    BlueSum += child->BlueSum;
    child.reset();
    ++children;
  }
  IsLeaf = true;
  return children;
}
