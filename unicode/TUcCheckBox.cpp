#include "unicode/TUcCheckBox.h"

void TUcCustomCheckBox::CreateWindowHandle(const TCreateParams& params) {
  CreateUnicodeHandle(this, params, u"BUTTON", false);
}

void TUcCustomCheckBox::Dispatch(void* message) {
  auto& m = *static_cast<TMessage*>(message);
  if (m.Msg == CM_DIALOGCHAR) {
    if (UcIsAccelMessage(m, Caption()) && CanFocus()) {
      SetFocus();
      if (Focused()) Toggle();
      m.Result = 1;
    } else {
      Broadcast(m);
    }
    return;
  }
  TCustomCheckBox::Dispatch(message);
}
