#include "mms/TMmsRegion.h"

#include <cstdint>
#include <utility>

TMmsRegion::TMmsRegion(int width, int height, int left, int top, int fit, std::string id)
    : Width(width), Height(height), Top(top), Left(left), Fit(fit), Id(std::move(id)) {}

bool TMmsRegion::Contains(int x, int y) const {
  // 64-bit sums: a region dragged far off the page must not wrap around into it.
  const int64_t right = int64_t{Left} + Width;
  const int64_t bottom = int64_t{Top} + Height;
  return Left <= x && x <= right && Top <= y && y <= bottom;
}

int TMmsRegion::CentreX() const { return static_cast<int>(int64_t{Width} / 2 + Left); }

int TMmsRegion::CentreY() const { return static_cast<int>(int64_t{Height} / 2 + Top); }
