#include "controls/TSkDialogComponent.h"

#include <string>
#include <vector>

#include "platform/forms/ClassRegistry.h"

TSkDialogComponent::TSkDialogComponent(TComponent* owner)
    : TComponent(owner), font_(std::make_unique<TFont>()) {}

TSkDialogComponent::~TSkDialogComponent() = default;

void TSkDialogComponent::SetCenterToParent(bool value) {
  centerToParent_ = value;
  position_ = value ? poOwnerFormCenter : poScreenCenter;
}

void TSkDialogComponent::CenterForm(TCustomForm* form) {
  if (!form) return;
  form->Position = position_;
  if (position_ == poDesigned) form->SetBounds(originLeft_, originTop_, form->Width(), form->Height());
}

void RegisterSkDialogComponent() {
  static bool done = false;
  if (done) return;
  done = true;
  static const std::vector<std::string> positionNames{
      "poDesigned",     "poDefault",       "poDefaultPosOnly", "poDefaultSizeOnly",
      "poScreenCenter", "poDesktopCenter", "poMainFormCenter", "poOwnerFormCenter"};
  using T = TSkDialogComponent;
  RegisterProperties<T>("TSkDialogComponent", "TComponent", Factory<T>())
      .Bool("CenterToParent", &T::CenterToParent, &T::SetCenterToParent, false)
      .Int("OriginLeft", &T::OriginLeft, &T::SetOriginLeft, 100)
      .Int("OriginTop", &T::OriginTop, &T::SetOriginTop, 100)
      .Enum("Position", &T::Position, &T::SetPosition, poScreenCenter, &positionNames);
}
