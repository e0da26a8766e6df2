#include "pictures/gif/TGIFLoadContext.h"

#include "pictures/GIFException.h"

void TGIFLoadContext::ClaimPixels(std::int64_t count) {
  if (count > pixelsLeft_) GIFError(sBadDimension);
  pixelsLeft_ -= count;
}
