#include "pictures/color/TJaJuNiDitherer.h"

void TJaJuNiDitherer::SpreadError(int channel, int error) {
  Put(channel, 0, 1, error * 7);
  Put(channel, 0, 2, error * 5);
  Put(channel, 1, -2, error * 3);
  Put(channel, 1, -1, error * 5);
  Put(channel, 1, 0, error * 7);
  Put(channel, 1, 1, error * 5);
  Put(channel, 1, 2, error * 3);
  Put(channel, 2, -2, error);
  Put(channel, 2, -1, error * 3);
  Put(channel, 2, 0, error * 5);
  Put(channel, 2, 1, error * 3);
  Put(channel, 2, 2, error);
}
