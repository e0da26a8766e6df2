#include "unicode/TUcRadioButton.h"

void TUcRadioButton::CreateWindowHandle(const TCreateParams& params) {
  CreateUnicodeHandle(this, params, u"BUTTON", false);
}

void TUcRadioButton::Dispatch(void* message) {
  auto& m = *static_cast<TMessage*>(message);
  if (m.Msg == CM_DIALOGCHAR) {
    if (UcIsAccelMessage(m, Caption()) && CanFocus()) {
      SetFocus();
      m.Result = 1;
    } else {
      Broadcast(m);
    }
    return;
  }
  TRadioButton::Dispatch(message);
}
