#include "platform/controls/ControlSupport.h"

#include <algorithm>
#include <cstring>

#include "platform/gdi/OwnedGdiObject.h"
#include "platform/gdi/SelectedObject.h"
#include "platform/rtl/CodePage.h"
#include "platform/win/SystemClassRegistry.h"
#include "platform/win/WindowDC.h"

namespace platform::controls {

bool IsAnsi(HWND hwnd) {
  const int set = platform::win::CurrentCallSet();
  return set < 0 ? !IsWindowUnicode(hwnd) : set == 0;
}

std::u16string TextParam(HWND hwnd, LPARAM l) {
  if (!l) return {};
  if (IsAnsi(hwnd)) return MultiByteToUtf16(reinterpret_cast<const char*>(l), CP_ACP);
  return std::u16string(reinterpret_cast<const char16_t*>(l));
}

std::u16string CreationCaption(HWND hwnd, LPARAM createStruct) {
  if (!createStruct) return {};
  if (IsAnsi(hwnd)) {
    auto* cs = reinterpret_cast<const CREATESTRUCTA*>(createStruct);
    if (!cs->lpszName || (reinterpret_cast<uintptr_t>(cs->lpszName) >> 16) == 0) return {};
    return MultiByteToUtf16(cs->lpszName, CP_ACP);
  }
  auto* cs = reinterpret_cast<const CREATESTRUCTW*>(createStruct);
  if (!cs->lpszName || (reinterpret_cast<uintptr_t>(cs->lpszName) >> 16) == 0) return {};
  return std::u16string(cs->lpszName);
}

LRESULT CopyTextOut(HWND hwnd, const std::u16string& text, WPARAM capacity, LPARAM buffer) {
  if (capacity == 0 || !buffer) return 0;
  if (IsAnsi(hwnd)) {
    const std::string bytes = Utf16ToMultiByte(text, CP_ACP);
    size_t n = std::min(bytes.size(), size_t(capacity) - 1);
    if (GetACP() == CP_UTF8)
      while (n > 0 && n < bytes.size() && (uint8_t(bytes[n]) & 0xC0) == 0x80) --n;
    std::memcpy(reinterpret_cast<char*>(buffer), bytes.data(), n);
    reinterpret_cast<char*>(buffer)[n] = 0;
    return LRESULT(n);
  }
  size_t n = std::min(text.size(), size_t(capacity) - 1);
  if (n > 0 && n < text.size() && text[n - 1] >= 0xD800 && text[n - 1] <= 0xDBFF) --n;
  std::memcpy(reinterpret_cast<char16_t*>(buffer), text.data(), n * sizeof(char16_t));
  reinterpret_cast<char16_t*>(buffer)[n] = 0;
  return LRESULT(n);
}

LRESULT TextLengthFor(HWND hwnd, const std::u16string& text) {
  return IsAnsi(hwnd) ? LRESULT(Utf16ToMultiByte(text, CP_ACP).size()) : LRESULT(text.size());
}

void NotifyParent(HWND hwnd, WORD code) {
  const HWND parent = GetParent(hwnd);
  if (!parent) return;
  SendMessageW(parent, WM_COMMAND, MAKEWPARAM(WORD(GetDlgCtrlID(hwnd)), code), LPARAM(hwnd));
}

HBRUSH ParentColors(HWND hwnd, HDC dc, UINT ctlColorMessage) {
  const HWND parent = GetParent(hwnd);
  LRESULT brush = 0;
  if (parent) brush = SendMessageW(parent, ctlColorMessage, WPARAM(dc), LPARAM(hwnd));
  if (!brush) brush = DefWindowProcW(hwnd, ctlColorMessage, WPARAM(dc), LPARAM(hwnd));
  return reinterpret_cast<HBRUSH>(brush);
}

HFONT ControlFont(HFONT font) { return font ? font : HFONT(GetStockObject(DEFAULT_GUI_FONT)); }

int FontHeight(HWND hwnd, HFONT font) {
  const WindowDC dc(hwnd);
  const SelectedObject selected(dc, ControlFont(font));
  TEXTMETRICW tm{};
  GetTextMetricsW(dc, &tm);
  return std::max(1, int(tm.tmHeight));
}

void FillSolid(HDC dc, const RECT& r, COLORREF color) {
  const OwnedGdiObject<HBRUSH> brush(CreateSolidBrush(color));
  FillRect(dc, &r, brush);
}

void DrawButtonFrame(HDC dc, RECT r, bool pushed) {
  auto line = [&](int x0, int y0, int x1, int y1, int color) {
    const OwnedGdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, GetSysColor(color)));
    const SelectedObject selected(dc, pen);
    MoveToEx(dc, x0, y0, nullptr);
    LineTo(dc, x1, y1);
  };
  const int l = r.left, t = r.top, rr = r.right - 1, b = r.bottom - 1;
  if (pushed) {
    line(l, b, l, t, COLOR_3DSHADOW);
    line(l, t, rr + 1, t, COLOR_3DSHADOW);
    line(l, b, rr + 1, b, COLOR_3DHILIGHT);
    line(rr, t, rr, b, COLOR_3DHILIGHT);
    return;
  }
  line(l, b, l, t, COLOR_3DHILIGHT);
  line(l, t, rr, t, COLOR_3DHILIGHT);
  line(l, b, rr + 1, b, COLOR_3DDKSHADOW);
  line(rr, t, rr, b, COLOR_3DDKSHADOW);
  line(l + 1, b - 1, rr, b - 1, COLOR_3DSHADOW);
  line(rr - 1, t + 1, rr - 1, b - 1, COLOR_3DSHADOW);
}

void DrawArrowButton(HDC dc, RECT r, bool vertical, bool forward, bool pushed) {
  FillSolid(dc, r, GetSysColor(COLOR_BTNFACE));
  DrawButtonFrame(dc, r, pushed);
  const COLORREF ink = GetSysColor(COLOR_BTNTEXT);
  const int shift = pushed ? 1 : 0;
  const int cx = (r.left + r.right) / 2 + shift, cy = (r.top + r.bottom) / 2 + shift;
  for (int k = 0; k < 4; ++k)
    for (int j = -k; j <= k; ++j) {
      const int along = forward ? 1 - k : k - 2;  // the tip first, the wide row last
      if (vertical)
        SetPixel(dc, cx + j, cy + along, ink);
      else
        SetPixel(dc, cx + along, cy + j, ink);
    }
}

void DrawSunkenEdge(HDC dc, RECT r) {
  auto frame = [&](int topLeft, int bottomRight) {
    FillSolid(dc, RECT{r.left, r.top, r.right - 1, r.top + 1}, GetSysColor(topLeft));
    FillSolid(dc, RECT{r.left, r.top, r.left + 1, r.bottom - 1}, GetSysColor(topLeft));
    FillSolid(dc, RECT{r.left, r.bottom - 1, r.right, r.bottom}, GetSysColor(bottomRight));
    FillSolid(dc, RECT{r.right - 1, r.top, r.right, r.bottom}, GetSysColor(bottomRight));
    InflateRect(&r, -1, -1);
  };
  frame(COLOR_3DSHADOW, COLOR_3DHILIGHT);
  frame(COLOR_3DDKSHADOW, COLOR_3DLIGHT);
}

}  // namespace platform::controls
