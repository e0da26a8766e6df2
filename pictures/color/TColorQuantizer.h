// TColorQuantizer: chooses at most a given number of colours for the pixels added to it with an
// octree: each pixel descends by one bit of red, green and blue per level; when there are more
// leaves than colours, the deepest reducible node folds its children into itself.
#pragma once

#include <array>
#include <memory>

#include "pictures/color/TOctreeNode.h"
#include "pictures/dib/TDIBReader.h"
#include "platform/gdi/GdiTypes.h"

class TColorQuantizer : public TObject {
 public:
  // Colours are kept within 1..256 and colour bits (the depth of the leaves) within 1..8.
  TColorQuantizer(int maxColors, int colorBits);
  ~TColorQuantizer() override;

  void AddColor(int red, int green, int blue);
  // Every pixel of a 24-bit reader (blue, green, red order), `width` x `height`.
  void ProcessImage(TDIBReader* image, int width, int height);
  // One entry per leaf in tree order (blue, green, red, 0: the leaf's mean colour); the count.
  int GetColorTable(RGBQUAD* table, int size) const;

  int LeafCount() const { return leafCount_; }
  int MaxColors() const { return maxColors_; }
  int ColorBits() const { return colorBits_; }

 private:
  // False when nothing is left to fold.
  bool ReduceTree();

  std::unique_ptr<TOctreeNode> tree_;
  int leafCount_ = 0;
  std::array<TOctreeNode*, 9> reducibleNodes_ = {};
  int maxColors_;
  int colorBits_;
};
