#include "controls/TThemeServices.h"

#include <span>

#include "platform/forms/TApplication.h"
#include "platform/forms/TWinControl.h"
#include "platform/gdi/Gdi.h"
#include "platform/rtl/ScopeExit.h"

namespace {

const char16_t* const kClassNames[kThemedElementCount] = {
    u"button",   u"clock",      u"combobox", u"edit",       u"explorerbar", u"header",
    u"listview", u"menu",       u"page",     u"progress",   u"rebar",       u"scrollbar",
    u"spin",     u"startpanel", u"status",   u"tab",        u"taskband",    u"taskbar",
    u"toolbar",  u"tooltip",    u"trackbar", u"traynotify", u"treeview",    u"window"};

// Part and state of an enumeration value: DontCare and Root are part 0, states 1 and 2; then the
// element's table gives the number of states of each theme part, parts in the theme API's order.
TThemedElementDetails Details(TThemedElement element, int value, std::span<const int> parts) {
  if (value < 2) return {element, 0, value + 1};
  int index = value - 2, part = 1;
  for (int states : parts) {
    if (index < states) return {element, part, index + 1};
    index -= states;
    ++part;
  }
  return {element, 0, 1};
}

// One table per element: the state count of each part, in part order.
// clang-format off
constexpr int kButtonParts[] = {5, 8, 12, 2, 1};
constexpr int kComboBoxParts[] = {4};
constexpr int kEditParts[] = {7, 1};
constexpr int kProgressParts[] = {1, 1, 1, 1};
constexpr int kScrollBarParts[] = {16, 4, 4, 4, 4, 4, 4, 4, 4, 2};
constexpr int kSpinParts[] = {4, 4, 4, 4};
constexpr int kToolTipParts[] = {2, 2, 2, 2, 3};
constexpr int kTrackBarParts[] = {1, 1, 5, 5, 5, 5, 5, 5, 1, 1};
constexpr int kClockParts[] = {1};
constexpr int kExplorerBarParts[] = {1, 3, 6, 3, 1, 3, 3, 1, 1, 3, 3, 1};
constexpr int kHeaderParts[] = {3, 3, 3, 2};
constexpr int kListviewParts[] = {5, 1, 1, 1, 1};
constexpr int kMenuParts[] = {3, 3, 3, 3, 3, 3};
constexpr int kPageParts[] = {4, 4, 4, 4};
constexpr int kRebarParts[] = {1, 1, 1, 3, 3};
constexpr int kStartPanelParts[] = {1, 1, 3, 1, 1, 1, 1, 1, 3, 1, 1};
constexpr int kStatusParts[] = {1, 1, 1};
constexpr int kTabParts[] = {5, 5, 5, 5, 5, 5, 5, 5, 1, 1};
constexpr int kTaskBandParts[] = {1, 1, 1};
constexpr int kTaskBarParts[] = {1, 1, 1, 1, 1, 1, 1, 1};
constexpr int kToolBarParts[] = {6, 6, 6, 6, 1, 1};
constexpr int kTrayNotifyParts[] = {1, 1};
constexpr int kTreeviewParts[] = {5, 2, 1};
constexpr int kWindowParts[] = {3, 3, 3, 3, 3, 3, 2, 2, 2, 2, 2, 2, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 1, 1, 1, 1, 1, 1, 1, 1, 1};
// clang-format on

TThemeServices* shared = nullptr;

}  // namespace

TThemeServices::TThemeServices(HWND window) : window_(window) {
  if (window_) {
    instance_ = MakeObjectInstance([this](TMessage& m) { WindowProc(m); });
    defaultProc_ = WNDPROC(SetWindowLongPtrA(window_, GWL_WNDPROC, static_cast<LONG_PTR>(instance_)));
  }
  themesAvailable_ = InitThemeLibrary();
  UpdateThemes();
}

TThemeServices::~TThemeServices() {
  Unsubclass();
  UnloadThemeData();
  FreeThemeLibrary();
}

void TThemeServices::Unsubclass() {
  if (!instance_) return;
  if (IsWindow(window_)) SetWindowLongPtrA(window_, GWL_WNDPROC, static_cast<LONG_PTR>(defaultProc_));
  FreeObjectInstance(instance_);
  instance_ = nullptr;
}

void TThemeServices::UpdateThemes() {
  if (useThemes_) UnloadThemeData();
  useThemes_ = UseThemes() && GetComCtlVersion() >= 0x60000;
  controlsEnabled_ =
      useThemes_ && GetThemeAppProperties && (GetThemeAppProperties() & STAP_ALLOW_CONTROLS) != 0;
}

void TThemeServices::WindowProc(TMessage& m) {
  const HWND window = window_;
  const WNDPROC next = defaultProc_;
  switch (m.Msg) {
    case WM_DESTROY:
      // The window is going: hand it back before anything else can reach this object.
      Unsubclass();
      break;
    case WM_THEMECHANGED:
      UpdateThemes();
      DoOnThemeChange();
      break;
  }
  m.Result = CallWindowProcA(next, window, m.Msg, m.WParam, m.LParam);
}

void TThemeServices::DoOnThemeChange() {
  if (OnThemeChange) OnThemeChange(this);
}

HTHEME TThemeServices::GetTheme(TThemedElement element) {
  if (useThemes_ && !themes_[element] && OpenThemeData)
    themes_[element] = OpenThemeData(window_, kClassNames[element]);
  return useThemes_ ? themes_[element] : nullptr;
}

void TThemeServices::UnloadThemeData() {
  if (window_ && !IsWindow(window_)) return;
  for (HTHEME& theme : themes_) {
    if (theme && CloseThemeData) CloseThemeData(theme);
    theme = nullptr;
  }
}

TThemedElementDetails TThemeServices::GetElementDetails(TThemedButton v) {
  return Details(teButton, v, kButtonParts);
}
TThemedElementDetails TThemeServices::GetElementDetails(TThemedComboBox v) {
  return Details(teComboBox, v, kComboBoxParts);
}
TThemedElementDetails TThemeServices::GetElementDetails(TThemedEdit v) {
  return Details(teEdit, v, kEditParts);
}
TThemedElementDetails TThemeServices::GetElementDetails(TThemedProgress v) {
  return Details(teProgress, v, kProgressParts);
}
TThemedElementDetails TThemeServices::GetElementDetails(TThemedScrollBar v) {
  return Details(teScrollBar, v, kScrollBarParts);
}
TThemedElementDetails TThemeServices::GetElementDetails(TThemedSpin v) {
  return Details(teSpin, v, kSpinParts);
}
TThemedElementDetails TThemeServices::GetElementDetails(TThemedToolTip v) {
  return Details(teToolTip, v, kToolTipParts);
}
TThemedElementDetails TThemeServices::GetElementDetails(TThemedTrackBar v) {
  return Details(teTrackBar, v, kTrackBarParts);
}
TThemedElementDetails TThemeServices::GetElementDetails(TThemedClock v) {
  return Details(teClock, v, kClockParts);
}
TThemedElementDetails TThemeServices::GetElementDetails(TThemedExplorerBar v) {
  return Details(teExplorerBar, v, kExplorerBarParts);
}
TThemedElementDetails TThemeServices::GetElementDetails(TThemedHeader v) {
  return Details(teHeader, v, kHeaderParts);
}
TThemedElementDetails TThemeServices::GetElementDetails(TThemedListview v) {
  return Details(teListView, v, kListviewParts);
}
TThemedElementDetails TThemeServices::GetElementDetails(TThemedMenu v) {
  return Details(teMenu, v, kMenuParts);
}
TThemedElementDetails TThemeServices::GetElementDetails(TThemedPage v) {
  return Details(tePage, v, kPageParts);
}
TThemedElementDetails TThemeServices::GetElementDetails(TThemedRebar v) {
  return Details(teRebar, v, kRebarParts);
}
TThemedElementDetails TThemeServices::GetElementDetails(TThemedStartPanel v) {
  return Details(teStartPanel, v, kStartPanelParts);
}
TThemedElementDetails TThemeServices::GetElementDetails(TThemedStatus v) {
  return Details(teStatus, v, kStatusParts);
}
TThemedElementDetails TThemeServices::GetElementDetails(TThemedTab v) { return Details(teTab, v, kTabParts); }
TThemedElementDetails TThemeServices::GetElementDetails(TThemedTaskBand v) {
  return Details(teTaskBand, v, kTaskBandParts);
}
TThemedElementDetails TThemeServices::GetElementDetails(TThemedTaskBar v) {
  return Details(teTaskBar, v, kTaskBarParts);
}
TThemedElementDetails TThemeServices::GetElementDetails(TThemedToolBar v) {
  return Details(teToolBar, v, kToolBarParts);
}
TThemedElementDetails TThemeServices::GetElementDetails(TThemedTrayNotify v) {
  return Details(teTrayNotify, v, kTrayNotifyParts);
}
TThemedElementDetails TThemeServices::GetElementDetails(TThemedTreeview v) {
  return Details(teTreeview, v, kTreeviewParts);
}
TThemedElementDetails TThemeServices::GetElementDetails(TThemedWindow v) {
  return Details(teWindow, v, kWindowParts);
}

void TThemeServices::DrawElement(HDC dc, const TThemedElementDetails& d, const RECT& rect, const RECT* clip) {
  if (HTHEME theme = GetTheme(d.Element); theme && DrawThemeBackground)
    DrawThemeBackground(theme, dc, d.Part, d.State, &rect, clip);
}

void TThemeServices::DrawEdge(HDC dc, const TThemedElementDetails& d, const RECT& rect, UINT edge, UINT flags,
                              RECT* contentRect) {
  if (HTHEME theme = GetTheme(d.Element); theme && DrawThemeEdge)
    DrawThemeEdge(theme, dc, d.Part, d.State, &rect, edge, flags, contentRect);
}

void TThemeServices::DrawIcon(HDC dc, const TThemedElementDetails& d, const RECT& rect, HIMAGELIST images,
                              int index) {
  if (HTHEME theme = GetTheme(d.Element); theme && DrawThemeIcon)
    DrawThemeIcon(theme, dc, d.Part, d.State, &rect, images, index);
}

void TThemeServices::DrawText(HDC dc, const TThemedElementDetails& d, const WideString& text,
                              const RECT& rect, DWORD flags, DWORD flags2) {
  if (HTHEME theme = GetTheme(d.Element); theme && DrawThemeText)
    DrawThemeText(theme, dc, d.Part, d.State, text.c_bstr(), text.Length(), flags, flags2, &rect);
}

RECT TThemeServices::ContentRect(HDC dc, const TThemedElementDetails& d, const RECT& bounds) {
  RECT content = bounds;
  if (HTHEME theme = GetTheme(d.Element); theme && GetThemeBackgroundContentRect)
    GetThemeBackgroundContentRect(theme, dc, d.Part, d.State, &bounds, &content);
  return content;
}

bool TThemeServices::HasTransparentParts(const TThemedElementDetails& d) {
  HTHEME theme = GetTheme(d.Element);
  return theme && IsThemeBackgroundPartiallyTransparent &&
         IsThemeBackgroundPartiallyTransparent(theme, d.Part, d.State);
}

COLORREF TThemeServices::ColorToRGB(TColor color, const TThemedElementDetails* d) {
  if ((color & clSystemColor) && d) {
    if (HTHEME theme = GetTheme(d->Element); theme && GetThemeSysColor)
      return GetThemeSysColor(theme, color & 0xFF);
  }
  return ::ColorToRGB(color);
}

void TThemeServices::DrawParentBackground(HWND window, HDC dc, const TThemedElementDetails* d,
                                          bool onlyIfTransparent, const RECT* rect) {
  if (onlyIfTransparent && d && !HasTransparentParts(*d)) return;
  if (DrawThemeParentBackground) DrawThemeParentBackground(window, dc, rect);
}

void TThemeServices::PaintBorder(TWinControl* control, bool eraseCorner) {
  const HWND window = control->Handle();
  const LONG_PTR exStyle = GetWindowLongPtrA(window, GWL_EXSTYLE);
  if ((exStyle & WS_EX_CLIENTEDGE) == 0) return;
  RECT r{};
  GetWindowRect(window, &r);
  OffsetRect(&r, -r.left, -r.top);
  HDC dc = GetWindowDC(window);
  const platform::ScopeExit release([&] { ReleaseDC(window, dc); });
  const LONG_PTR style = GetWindowLongPtrA(window, GWL_STYLE);
  if (eraseCorner && (style & WS_HSCROLL) && (style & WS_VSCROLL)) {
    RECT corner{r.right - 2 - GetSystemMetrics(SM_CXVSCROLL), r.bottom - 2 - GetSystemMetrics(SM_CYHSCROLL),
                r.right - 2, r.bottom - 2};
    ::FillRect(dc, &corner, GetSysColorBrush(COLOR_BTNFACE));
  }
  ExcludeClipRect(dc, r.left + 2, r.top + 2, r.right - 2, r.bottom - 2);
  DrawElement(dc, GetElementDetails(teEditTextNormal), r);
}

TThemeServices* ThemeServices() {
  if (!shared) shared = new TThemeServices(Application ? Application->Handle() : nullptr);
  return shared;
}

void FreeThemeServices() {
  delete shared;
  shared = nullptr;
}
