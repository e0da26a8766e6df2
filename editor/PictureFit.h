// The size a picture is drawn at to fit a box with its aspect kept.
#pragma once

#include "platform/win/Win.h"

// Fitted to `boxHeight` first and narrowed to `boxWidth` when wider; at least 1 x 1. {0, 0} when
// the picture has no size to scale.
SIZE FitToBox(int pictureWidth, int pictureHeight, int boxHeight, int boxWidth);
// Fitted to a region: its full width unless the height would exceed the region's, then its full
// height. {0, 0} when the picture or the region has no size.
SIZE FitToRegion(int pictureWidth, int pictureHeight, int regionWidth, int regionHeight);
