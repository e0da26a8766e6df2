#include "controls/FontRoutines.h"

#include <cmath>
#include <cstring>

#include "platform/gdi/Gdi.h"
#include "platform/gdi/SelectedObject.h"
#include "platform/win/WindowDC.h"

namespace {

// The metrics of `font` as the screen measures it.
TEXTMETRICA Metrics(TFont* font) {
  TEXTMETRICA tm{};
  const WindowDC dc(nullptr);
  const SelectedObject selected(dc, font->Handle());
  GetTextMetricsA(dc, &tm);
  return tm;
}

}  // namespace

HFONT RotateFont(TFont* font, int angle) {
  LOGFONTA lf{};
  lf.lfHeight = font->Height();
  lf.lfEscapement = angle * 10;
  lf.lfOrientation = angle * 10;
  const TFontStyles style = font->Style();
  lf.lfWeight = (style & (1u << fsBold)) ? 700 : 400;
  lf.lfItalic = (style & (1u << fsItalic)) ? 1 : 0;
  lf.lfUnderline = (style & (1u << fsUnderline)) ? 1 : 0;
  lf.lfStrikeOut = (style & (1u << fsStrikeOut)) ? 1 : 0;
  lf.lfCharSet = font->Charset();
  lf.lfPitchAndFamily = font->Pitch() == fpFixed      ? FIXED_PITCH
                        : font->Pitch() == fpVariable ? VARIABLE_PITCH
                                                      : DEFAULT_PITCH;
  std::strncpy(lf.lfFaceName, font->Name().c_str(), LF_FACESIZE - 1);
  return CreateFontIndirectA(&lf);
}

bool IsTrueTypeFont(TFont* font) { return (Metrics(font).tmPitchAndFamily & TMPF_TRUETYPE) != 0; }

int GetMinFontHeight(TFont* font) { return static_cast<int>(Metrics(font).tmHeight) + 2; }

int GetAvgCharWidth(TCanvas* canvas) {
  const int width = canvas->TextWidth("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
  return static_cast<int>(std::lround(width / 52.0));
}
