#include "controls/TImButtonColors.h"

void TImButtonColors::Assign(TPersistent* source) {
  if (auto* other = dynamic_cast<TImButtonColors*>(source)) CopyColors(*other);
}
