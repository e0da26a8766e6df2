#include "unicode/TUcHintWindow.h"

#include "unicode/UcNarrowText.h"

void TUcHintWindow::ActivateHint(RECT rect, const WideString& hint) {
  const auto activation = ActivationScope(false);
  SetCaption(hint);
  TUcCustomHintWindow::ActivateHint(rect, UcNarrow(std::u16string_view(hint.data(), size_t(hint.Length()))));
}

void TUcHintWindow::ActivateHintData(RECT rect, const WideString& hint, void* data) {
  {
    const auto activation = ActivationScope(true);
    SetCaption(hint);
    THintWindow::ActivateHintData(rect, UcNarrow(std::u16string_view(hint.data(), size_t(hint.Length()))),
                                  data);
  }
  Invalidate();
}

RECT TUcHintWindow::CalcHintRect(int maxWidth, const WideString& hint, void*) {
  return WideHintRect(maxWidth, hint);
}
