#include "platform/forms/TRichEdit.h"

TCustomRichEdit::TCustomRichEdit(TComponent* owner) : TCustomMemo(owner) {}

void TCustomRichEdit::SetHideScrollBars(bool value) {
  if (hideScrollBars_ == value) return;
  hideScrollBars_ = value;
  RecreateWnd();
}
