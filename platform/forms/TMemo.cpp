#include "platform/forms/TMemo.h"

TCustomMemo::TCustomMemo(TComponent* owner)
    : TCustomEdit(owner), lines_(std::make_unique<TMemoStrings>(this)) {
  SetBounds(0, 0, 185, 89);
}

TCustomMemo::~TCustomMemo() = default;

void TCustomMemo::SetLines(TStrings* value) { lines_->Assign(value); }

void TCustomMemo::CreateParams(TCreateParams& p) {
  TCustomEdit::CreateParams(p);
  // Wrapping lines and scrolling sideways exclude each other.
  if (wordWrap_) p.Style &= ~static_cast<DWORD>(ES_AUTOHSCROLL);
  p.Style |= ES_MULTILINE;
  if (scrollBars_ == ssHorizontal || scrollBars_ == ssBoth) p.Style |= WS_HSCROLL;
  if (scrollBars_ == ssVertical || scrollBars_ == ssBoth) p.Style |= WS_VSCROLL;
}

DWORD TCustomMemo::AlignmentStyle() const {
  switch (alignment_) {
    case taRightJustify:
      return ES_RIGHT;
    case taCenter:
      return ES_CENTER;
    default:
      return ES_LEFT;
  }
}

void TCustomMemo::SetScrollBars(TScrollStyle value) {
  if (scrollBars_ == value) return;
  scrollBars_ = value;
  RecreateWnd();
}

void TCustomMemo::SetWordWrap(bool value) {
  if (wordWrap_ == value) return;
  wordWrap_ = value;
  RecreateWnd();
}

void TCustomMemo::SetAlignment(TAlignment value) {
  if (alignment_ == value) return;
  alignment_ = value;
  RecreateWnd();
}

POINT TCustomMemo::CaretPos() {
  HWND h = Handle();
  DWORD start = 0, end = 0;
  SendMessageA(h, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  const LRESULT line = SendMessageA(h, EM_LINEFROMCHAR, end, 0);
  const LRESULT first = SendMessageA(h, EM_LINEINDEX, static_cast<WPARAM>(line), 0);
  return POINT{static_cast<LONG>(static_cast<LRESULT>(end) - first), static_cast<LONG>(line)};
}

bool TCustomMemo::KeyPress(char& key) {
  TCustomEdit::KeyPress(key);
  // Enter and Tab that the memo does not want are the form's, never the text's.
  if ((key == '\r' && !wantReturns_) || (key == '\t' && !wantTabs_)) key = 0;
  return key == 0;
}

void TCustomMemo::Dispatch(void* message) {
  auto& m = *static_cast<TMessage*>(message);
  if (m.Msg == WM_GETDLGCODE) {
    TCustomEdit::Dispatch(message);
    if (wantTabs_)
      m.Result |= DLGC_WANTTAB;
    else
      m.Result &= ~DLGC_WANTTAB;
    if (!wantReturns_) m.Result &= ~DLGC_WANTALLKEYS;
    return;
  }
  TCustomEdit::Dispatch(message);
}
