// The form library's image with a UTF-16 hint and a picture that takes UTF-16 file names.
#pragma once

#include "platform/forms/TImage.h"
#include "unicode/TUcPicture.h"

class TUcImage : public TImage {
 public:
  explicit TUcImage(TComponent* owner);
  TUcPicture* Picture();
  void SetPicture(TPicture* value) { TImage::SetPicture(value); }
  WideString Hint();
  void SetHint(const WideString& text);
  void Dispatch(void* message) override;

 protected:
  TActionLinkClass GetActionLinkClass() const override;
  void ActionChange(TObject* sender, bool checkDefaults) override;
};
