#include "platform/forms/TScreen.h"

#include <algorithm>

#include "platform/forms/TForm.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"
#include "platform/win/Win.h"

TScreen* Screen = nullptr;

namespace {

// The built-in cursors and the standard shapes they show; those the desktop has no shape for
// (dragging, splitting) take the nearest one.
struct BuiltInCursor {
  TCursor id;
  uintptr_t shape;
};
constexpr BuiltInCursor kBuiltIn[] = {
    {crArrow, IDC_ARROW},          {crCross, IDC_CROSS},     {crIBeam, IDC_IBEAM},
    {crSizeNESW, IDC_SIZENESW},    {crSizeNS, IDC_SIZENS},   {crSizeNWSE, IDC_SIZENWSE},
    {crSizeWE, IDC_SIZEWE},        {crUpArrow, IDC_UPARROW}, {crHourGlass, IDC_WAIT},
    {crDrag, IDC_ARROW},           {crNoDrop, IDC_NO},       {crHSplit, IDC_SIZEWE},
    {crVSplit, IDC_SIZENS},        {crMultiDrag, IDC_ARROW}, {crNo, IDC_NO},
    {crAppStart, IDC_APPSTARTING}, {crHelp, IDC_HELP},       {crHandPoint, IDC_HAND},
    {crSizeAll, IDC_SIZEALL},
};

HCURSOR Standard(uintptr_t shape) { return LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(shape)); }

}  // namespace

RECT TMonitor::BoundsRect() const {
  return RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

TScreen::TScreen(TComponent* owner) : TComponent(owner) {
  defaultCursor_ = Standard(IDC_ARROW);
  cursors_[crNone] = nullptr;
  for (const BuiltInCursor& c : kBuiltIn) cursors_[c.id] = Standard(c.shape);
  hintFont_.SetColor(clInfoText);
  menuFont_.SetColor(clMenuText);
}

TScreen::~TScreen() {
  if (Screen == this) Screen = nullptr;
}

TCustomForm* TScreen::ActiveForm() const {
  HWND active = GetActiveWindow();
  auto* form = dynamic_cast<TCustomForm*>(FindControl(active));
  if (form && std::find(forms_.begin(), forms_.end(), form) != forms_.end()) return form;
  return nullptr;
}

TWinControl* TScreen::ActiveControl() const {
  // A system window inside a control (the edit of a combo box) counts as that control.
  for (HWND h = GetFocus(); h; h = GetParent(h))
    if (TWinControl* c = FindControl(h)) return c;
  return nullptr;
}

void TScreen::SetCursor(TCursor value) {
  if (cursor_ == value) return;
  cursor_ = value;
  if (value != crDefault) {
    ::SetCursor(Cursors(value));
    return;
  }
  // Back to each window's own: let the window under the pointer choose again.
  POINT p{};
  GetCursorPos(&p);
  HWND h = WindowFromPoint(p);
  if (!h) {
    ::SetCursor(defaultCursor_);
    return;
  }
  LRESULT hit = SendMessageA(h, WM_NCHITTEST, 0, MAKELPARAM(WORD(p.x), WORD(p.y)));
  if (!SendMessageA(h, WM_SETCURSOR, reinterpret_cast<WPARAM>(h), MAKELPARAM(WORD(hit), WORD(WM_MOUSEMOVE))))
    ::SetCursor(defaultCursor_);
}

HCURSOR TScreen::Cursors(TCursor index) const {
  if (index == crDefault) return defaultCursor_;
  auto it = cursors_.find(index);
  return it == cursors_.end() ? defaultCursor_ : it->second;
}

void TScreen::SetCursors(TCursor index, HCURSOR handle) {
  if (index == crDefault) {
    defaultCursor_ = handle ? handle : Standard(IDC_ARROW);
    return;
  }
  auto it = cursors_.find(index);
  if (it != cursors_.end() && it->second && it->second != handle) DestroyCursor(it->second);
  if (handle || index < 0)
    cursors_[index] = handle;
  else
    cursors_.erase(index);
}

int TScreen::Width() const { return GetSystemMetrics(SM_CXSCREEN); }
int TScreen::Height() const { return GetSystemMetrics(SM_CYSCREEN); }

TStrings* TScreen::Fonts() {
  if (!fonts_) {
    fonts_ = std::make_unique<TStringList>();
    fonts_->Add(DefFontData.Name);
  }
  return fonts_.get();
}

TMonitor* TScreen::Monitors(int index) {
  if (index != 0) throw EListError("List index out of bounds (%d)", {TVarRec(index)});
  return &monitor_;
}

void TScreen::AddForm(TCustomForm* form) {
  if (std::find(forms_.begin(), forms_.end(), form) == forms_.end()) forms_.push_back(form);
}

void TScreen::RemoveForm(TCustomForm* form) {
  forms_.erase(std::remove(forms_.begin(), forms_.end(), form), forms_.end());
}
