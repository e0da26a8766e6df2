#include "pictures/color/TSierraDitherer.h"

void TSierraDitherer::SpreadError(int channel, int error) {
  Put(channel, 0, 1, error * 5);
  Put(channel, 0, 2, error * 3);
  Put(channel, 1, -2, error * 2);
  Put(channel, 1, -1, error * 4);
  Put(channel, 1, 0, error * 5);
  Put(channel, 1, 1, error * 4);
  Put(channel, 1, 2, error * 2);
  Put(channel, 2, -1, error * 2);
  Put(channel, 2, 0, error * 3);
  Put(channel, 2, 1, error * 2);
}
