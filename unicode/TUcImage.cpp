#include "unicode/TUcImage.h"

#include "platform/rtl/Exceptions.h"
#include "unicode/UcActions.h"
#include "unicode/UcControls.h"

TUcImage::TUcImage(TComponent* owner) : TImage(owner) { ReplacePicture(std::make_unique<TUcPicture>()); }

TUcPicture* TUcImage::Picture() {
  auto* picture = dynamic_cast<TUcPicture*>(TImage::Picture());
  if (!picture) throw EInvalidCast("Invalid class typecast");
  return picture;
}

WideString TUcImage::Hint() { return UcControl_GetHint(this); }
void TUcImage::SetHint(const WideString& text) { UcControl_SetHint(this, text); }

void TUcImage::Dispatch(void* message) {
  auto& m = *static_cast<TMessage*>(message);
  if (m.Msg == CM_HINTSHOW) ProcessCMHintShowMsg(m);
  TImage::Dispatch(message);
}

TActionLinkClass TUcImage::GetActionLinkClass() const {
  return UcControl_GetActionLinkClass(const_cast<TUcImage*>(this), TImage::GetActionLinkClass());
}

void TUcImage::ActionChange(TObject* sender, bool checkDefaults) {
  UcControl_BeforeInherited_ActionChange(this, sender, checkDefaults);
  TImage::ActionChange(sender, checkDefaults);
}
