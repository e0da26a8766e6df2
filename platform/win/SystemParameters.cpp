#include "platform/win/SystemParameters.h"

#include <cstring>

#include "platform/rtl/LastError.h"
#include "platform/win/Monitors.h"

namespace {

template <class Metrics, class LogFont>
BOOL FillNonClientMetrics(Metrics* m, UINT olderSize, int (*getObject)(HGDIOBJ, int, LPVOID)) {
  if (!m || (m->cbSize != sizeof(Metrics) && m->cbSize != olderSize)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  Metrics full{};
  full.cbSize = m->cbSize;
  full.iBorderWidth = GetSystemMetrics(SM_CXBORDER);
  full.iScrollWidth = GetSystemMetrics(SM_CXVSCROLL);
  full.iScrollHeight = GetSystemMetrics(SM_CYHSCROLL);
  full.iCaptionWidth = full.iCaptionHeight = GetSystemMetrics(SM_CYCAPTION);
  full.iSmCaptionWidth = full.iSmCaptionHeight = GetSystemMetrics(SM_CYCAPTION);
  full.iMenuWidth = full.iMenuHeight = GetSystemMetrics(SM_CYMENU);
  LogFont font{};
  getObject(GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
  for (LogFont* f : {&full.lfCaptionFont, &full.lfSmCaptionFont, &full.lfMenuFont, &full.lfStatusFont,
                     &full.lfMessageFont})
    *f = font;
  std::memcpy(m, &full, m->cbSize);
  return TRUE;
}

}  // namespace

namespace platform::win {
BOOL GetNonClientMetricsA(NONCLIENTMETRICSA* metrics) {
  return FillNonClientMetrics<NONCLIENTMETRICSA, LOGFONTA>(metrics, kOlderNonClientMetricsASize, GetObjectA);
}
}  // namespace platform::win

BOOL SystemParametersInfoW(UINT action, UINT uiParam, void* param, UINT winIni) {
  if (action == SPI_GETNONCLIENTMETRICS)
    return FillNonClientMetrics<NONCLIENTMETRICSW, LOGFONTW>(static_cast<NONCLIENTMETRICSW*>(param),
                                                             kOlderNonClientMetricsWSize, GetObjectW);
  return SystemParametersInfoA(action, uiParam, param, winIni);
}
