#include "unicode/WideDialogUnits.h"

WideDialogUnits MeasureWideDialogUnits(HDC dc) {
  SIZE letters{};
  GetTextExtentPoint32W(dc, u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52, &letters);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  return WideDialogUnits{(letters.cx / 26 + 1) / 2, metrics.tmHeight};
}
