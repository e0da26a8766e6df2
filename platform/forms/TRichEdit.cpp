#include "platform/forms/TRichEdit.h"

TCustomRichEdit::TCustomRichEdit(TComponent* owner) : TCustomMemo(owner) {}

void TCustomRichEdit::SetHideScrollBars(bool value) {
  if (hideScrollBars_ == value) return;
  hideScrollBars_ = value;
  RecreateWnd();
}

void TCustomRichEdit::SelectionChange() {
  if (OnSelectionChange) OnSelectionChange(this);
}

void TCustomRichEdit::CheckSelection() {
  if (!HandleAllocated() || creating_ || (ComponentState() & csDestroying)) return;
  DWORD start = 0, end = 0;
  SendMessageA(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  if (start == lastStart_ && end == lastEnd_) return;
  lastStart_ = start;
  lastEnd_ = end;
  SelectionChange();
}

void TCustomRichEdit::Dispatch(void* message) {
  const UINT msg = static_cast<TMessage*>(message)->Msg;
  TCustomMemo::Dispatch(message);
  switch (msg) {
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_MOUSEMOVE:
    case WM_SETTEXT:
    case WM_PASTE:
    case WM_CUT:
    case WM_CLEAR:
    case WM_UNDO:
    case EM_SETSEL:
    case EM_REPLACESEL:
    case EM_UNDO:
      CheckSelection();
      break;
    default:
      break;
  }
}
