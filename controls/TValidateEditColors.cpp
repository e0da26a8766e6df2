#include "controls/TValidateEditColors.h"

#include "platform/forms/ClassRegistry.h"

void TValidateEditColors::Assign(TPersistent* source) {
  if (auto* other = dynamic_cast<TValidateEditColors*>(source)) CopyColors(*other);
}

void RegisterValidateEditColors() {
  static bool done = false;
  if (done) return;
  done = true;
  using C = TValidateEditColors;
  RegisterProperties<C>("TValidateEditColors", "")
      .Color("DefaultColor", &C::DefaultColor, &C::SetDefaultColor, clDefault)
      .Color("DisabledColor", &C::DisabledColor, &C::SetDisabledColor, clDefault)
      .Color("FocusedColor", &C::FocusedColor, &C::SetFocusedColor, clDefault)
      .Color("HotColor", &C::HotColor, &C::SetHotColor, clDefault);
}
