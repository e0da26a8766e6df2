// The dialog units a built dialog lays itself out in: half an average letter's width and the
// height of the font the DC has selected, as the UTF-16 text functions measure them.
#pragma once

#include "platform/gdi/Gdi.h"

struct WideDialogUnits {
  int cx = 0;
  int cy = 0;
};

WideDialogUnits MeasureWideDialogUnits(HDC dc);
