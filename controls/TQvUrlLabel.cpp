#include "controls/TQvUrlLabel.h"

#include "platform/forms/ClassRegistry.h"
#include "platform/forms/FormMessages.h"
#include "platform/forms/TApplication.h"
#include "platform/rtl/Process.h"
#include "platform/win/Win.h"

TQvCustomUrlLabel::TQvCustomUrlLabel(TComponent* owner) : TCustomLabel(owner) {
  SetCursor(crHandPoint);
  SetTransparent(true);
  Font()->SetColor(textColor_);
  Font()->SetStyle(Font()->Style() | (1u << fsUnderline));
}

void TQvCustomUrlLabel::SetTextColor(TColor value) {
  textColor_ = value;
  Font()->SetColor(value);
}

void TQvCustomUrlLabel::Click() {
  if (!url_.IsEmpty())
    ShellExecuteA(Application ? Application->Handle() : nullptr, "open", url_.c_str(), nullptr, "",
                  SW_SHOWNORMAL);
  TCustomLabel::Click();
}

void TQvCustomUrlLabel::Dispatch(void* message) {
  auto& m = *static_cast<TMessage*>(message);
  TCustomLabel::Dispatch(message);
  const bool self = m.LParam == 0 || m.LParam == reinterpret_cast<LPARAM>(this);
  if (self && m.Msg == CM_MOUSEENTER) Font()->SetColor(hotTextColor_);
  if (self && m.Msg == CM_MOUSELEAVE) Font()->SetColor(textColor_);
}

void RegisterUrlLabel() {
  static bool done = false;
  if (done) return;
  done = true;
  using T = TQvUrlLabel;
  RegisterProperties<T>("TQvUrlLabel", "TCustomLabel", Factory<T>())
      .Color("TextColor", &T::TextColor, &T::SetTextColor, clBlue)
      .Color("HotTextColor", &T::HotTextColor, &T::SetHotTextColor, clRed)
      .Str("URLString", &T::URLString, &T::SetURLString);
}
