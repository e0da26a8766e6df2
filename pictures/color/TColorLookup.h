// TColorLookup: maps a colour to the index of a palette's nearest entry, for the ditherers; the
// colour actually chosen comes back too.
#pragma once

#include "platform/gdi/GdiTypes.h"
#include "platform/rtl/Object.h"

class TColorLookup : public TObject {
 public:
  explicit TColorLookup(HPALETTE palette) : palette_(palette) {}
  virtual int NearestIndex(BYTE red, BYTE green, BYTE blue, BYTE& outRed, BYTE& outGreen, BYTE& outBlue) = 0;
  int Colors() const { return colors_; }

 protected:
  HPALETTE palette_;
  int colors_ = 0;
};
