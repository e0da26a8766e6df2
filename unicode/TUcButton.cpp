#include "unicode/TUcButton.h"

bool UcButton_CMDialogChar(TButton* button, TMessage& m, const WideString& caption) {
  if (!UcIsAccelMessage(m, caption) || !button->CanFocus()) return false;
  button->Click();
  m.Result = 1;
  return true;
}

void TUcButton::CreateWindowHandle(const TCreateParams& params) {
  CreateUnicodeHandle(this, params, u"BUTTON", false);
}

void TUcButton::Dispatch(void* message) {
  auto& m = *static_cast<TMessage*>(message);
  if (m.Msg == CM_DIALOGCHAR) {
    if (!UcButton_CMDialogChar(this, m, Caption())) Broadcast(m);
    return;
  }
  TButton::Dispatch(message);
}
