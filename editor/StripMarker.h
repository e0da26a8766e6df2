// Where the slide strip's drop marker may be read and drawn: the band of strip columns
// [x - 2, x + 2) that lies inside the strip bitmap and whose place on the control (one column to
// the right of the strip column less the scroll position) lies inside the control.
#pragma once

struct StripBand {
  int first = 0;  // first strip column
  int count = 0;  // columns; 0 when nothing of the band can be shown
};

StripBand ClipMarkerBand(int x, int stripWidth, int scrollPosition, int controlWidth);
