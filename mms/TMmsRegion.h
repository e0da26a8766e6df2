// One named rectangle of the page layout in which a slide's visual item is shown ("Text", "Img",
// "Video" or "Ref"), and the page size the regions live on.
#pragma once

#include <string>

// The page size. The editor makes it 128 x 128 and never changes it.
struct TMmsRootLayout {
  int Width = 128;
  int Height = 128;
};

class TMmsRegion {
 public:
  TMmsRegion(int width, int height, int left, int top, int fit, std::string id);

  int Width;
  int Height;
  int Top;  // may become negative when a move re-stacks regions upwards
  int Left;
  int Fit;  // kept and copied only; nothing in the layout reads it
  std::string Id;

  // Corners count as inside: a point on the right or bottom edge belongs to the region.
  bool Contains(int x, int y) const;
  // Centres as the re-stacking orders them (division truncating toward zero).
  int CentreX() const;
  int CentreY() const;
};
