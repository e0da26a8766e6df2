#include "pictures/color/TStuckiDitherer.h"

void TStuckiDitherer::SpreadError(int channel, int error) {
  Put(channel, 0, 1, error * 8);
  Put(channel, 0, 2, error * 4);
  Put(channel, 1, -2, error * 2);
  Put(channel, 1, -1, error * 4);
  Put(channel, 1, 0, error * 8);
  Put(channel, 1, 1, error * 4);
  Put(channel, 1, 2, error * 2);
  Put(channel, 2, -2, error);
  Put(channel, 2, -1, error * 2);
  Put(channel, 2, 0, error * 4);
  Put(channel, 2, 1, error * 2);
  Put(channel, 2, 2, error);
}
