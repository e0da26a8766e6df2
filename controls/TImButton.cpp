#include "controls/TImButton.h"

#include <string>
#include <vector>

#include "platform/forms/ClassRegistry.h"

void RegisterImButton() {
  static bool done = false;
  if (done) return;
  done = true;
  static const std::vector<std::string> lookNames{"ibkNormal",    "ibkFlat",        "ibkBevelFlat",
                                                  "ibkUltraFlat", "ibkFullPicture", "ibkWindowsXP"};
  static const std::vector<std::string> alignNames{"alTop", "alCenter", "alBottom", "alRight", "alLeft"};
  using C = TImButtonColors;
  RegisterProperties<C>("TImButtonColors", "")
      .Color("DefaultColor", &C::DefaultColor, &C::SetDefaultColor, clDefault)
      .Color("DisabledColor", &C::DisabledColor, &C::SetDisabledColor, clDefault)
      .Color("PushedColor", &C::PushedColor, &C::SetPushedColor, clDefault)
      .Color("HotColor", &C::HotColor, &C::SetHotColor, clDefault);
  using T = TImButton;
  RegisterProperties<T>("TImButton", "TButton", Factory<T>())
      .Bool("DefaultDraw", &T::DefaultDraw, &T::SetDefaultDraw, true)
      .Bool("Animated", &T::Animated, &T::SetAnimated, false)
      .Int("AnimateSpeed", &T::AnimateSpeed, &T::SetAnimateSpeed, 200)
      .Int("AnimatedCount", &T::AnimatedCount, &T::SetAnimatedCount, 0)
      .Int("Spacing", &T::Spacing, &T::SetSpacing, 2)
      .Bool("FocusRect", &T::FocusRect, &T::SetFocusRect, true)
      .Enum("Looks", &T::Looks, &T::SetLooks, ibkNormal, &lookNames)
      .Color("Color", &T::Color, &T::SetColor, clBtnFace)
      .Object("Colors", &T::Colors)
      .Bool("ParentColor", &T::ParentColor, &T::SetParentColor, false)
      .Color("HotTextColor", &T::HotTextColor, &T::SetHotTextColor, clBlue)
      .Bool("Transparent", &T::Transparent, &T::SetTransparent, false)
      .Enum("FontAlign", &T::FontAlign, &T::SetFontAlign, static_cast<std::int64_t>(TalignType::alCenter),
            &alignNames)
      .Color("DisableCapColor", &T::DisableCapColor, &T::SetDisableCapColor, clBtnShadow)
      .Event("OnOwnerDraw", static_cast<TImOwnerDrawEvent T::*>(&T::OnOwnerDraw))
      .Event("OnMouseEnter", static_cast<TNotifyEvent T::*>(&T::OnMouseEnter))
      .Event("OnMouseLeave", static_cast<TNotifyEvent T::*>(&T::OnMouseLeave))
      .Object("Picture", &T::Picture)
      .Object("MaskPicture", &T::MaskPicture)
      .Int("PictureCount", &T::PictureCount, &T::SetPictureCount, 0)
      .Object("AnimatePicture", &T::AnimatePicture)
      .Bool("ShowFullPicCaption", &T::ShowFullPicCaption, &T::SetShowFullPicCaption, false);
}
