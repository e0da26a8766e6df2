#include "unicode/TUcHintWindow.h"

#include "unicode/UcNarrowText.h"

void TUcHintWindow::ActivateHint(RECT rect, const WideString& hint) {
  const bool saved = activating_;
  activating_ = true;
  try {
    SetCaption(hint);
    TUcCustomHintWindow::ActivateHint(rect,
                                      UcNarrow(std::u16string_view(hint.data(), size_t(hint.Length()))));
  } catch (...) {
    activating_ = saved;
    throw;
  }
  activating_ = saved;
}

void TUcHintWindow::ActivateHintData(RECT rect, const WideString& hint, void* data) {
  const bool savedBlock = blockPaint_, savedActivating = activating_;
  blockPaint_ = activating_ = true;
  try {
    SetCaption(hint);
    THintWindow::ActivateHintData(rect, UcNarrow(std::u16string_view(hint.data(), size_t(hint.Length()))),
                                  data);
  } catch (...) {
    blockPaint_ = savedBlock;
    activating_ = savedActivating;
    throw;
  }
  blockPaint_ = savedBlock;
  activating_ = savedActivating;
  Invalidate();
}

RECT TUcHintWindow::CalcHintRect(int maxWidth, const WideString& hint, void*) {
  return WideHintRect(maxWidth, hint);
}
