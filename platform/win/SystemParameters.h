// System parameters beyond the work area (Monitors.h): the metrics and fonts of the window
// frame, menus and message boxes. Every font is the platform's default font (the stock GUI
// font); the sizes are those GetSystemMetrics answers.
#pragma once

#include "platform/win/Win.h"

constexpr UINT SPI_GETNONCLIENTMETRICS = 0x29;

struct NONCLIENTMETRICSA {
  UINT cbSize;
  int iBorderWidth;
  int iScrollWidth;
  int iScrollHeight;
  int iCaptionWidth;
  int iCaptionHeight;
  LOGFONTA lfCaptionFont;
  int iSmCaptionWidth;
  int iSmCaptionHeight;
  LOGFONTA lfSmCaptionFont;
  int iMenuWidth;
  int iMenuHeight;
  LOGFONTA lfMenuFont;
  LOGFONTA lfStatusFont;
  LOGFONTA lfMessageFont;
  int iPaddedBorderWidth;
};
struct NONCLIENTMETRICSW {
  UINT cbSize;
  int iBorderWidth;
  int iScrollWidth;
  int iScrollHeight;
  int iCaptionWidth;
  int iCaptionHeight;
  LOGFONTW lfCaptionFont;
  int iSmCaptionWidth;
  int iSmCaptionHeight;
  LOGFONTW lfSmCaptionFont;
  int iMenuWidth;
  int iMenuHeight;
  LOGFONTW lfMenuFont;
  LOGFONTW lfStatusFont;
  LOGFONTW lfMessageFont;
  int iPaddedBorderWidth;
};
static_assert(sizeof(NONCLIENTMETRICSA) == 344 && sizeof(NONCLIENTMETRICSW) == 504);
// The records of older systems end before iPaddedBorderWidth; both sizes are accepted.
constexpr UINT kOlderNonClientMetricsASize = 340, kOlderNonClientMetricsWSize = 500;

// SPI_GETNONCLIENTMETRICS fills the record at `param` up to its cbSize (one of the two sizes,
// else FALSE with ERROR_INVALID_PARAMETER); SPI_GETWORKAREA as the 8-bit form; other actions
// answer FALSE.
BOOL SystemParametersInfoW(UINT action, UINT uiParam, void* param, UINT winIni);

namespace platform::win {
// The 8-bit record for SystemParametersInfoA (Monitors.cpp).
BOOL GetNonClientMetricsA(NONCLIENTMETRICSA* metrics);
}  // namespace platform::win
