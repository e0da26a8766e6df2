// A form with a UTF-16 window, caption and hint. A class derived from TUcForm reads the layouts
// of its classes up to TUcForm and must have one. The window is made without the layered style
// (a translucent form is made translucent once its window exists). A form with a menu bar shows
// the long hint of the highlighted menu item as the application's wide hint, and idle time
// updates the layer's application too.
#pragma once

#include "platform/forms/TForm.h"
#include "unicode/TUcControlMembers.h"

class TUcForm : public TUcControlMembers<TForm> {
 public:
  explicit TUcForm(TComponent* owner) : TUcControlMembers(owner) {}
  // An empty form: no layout is read.
  TUcForm(TComponent* owner, int dummy) : TUcControlMembers(owner, dummy) {}
  WideString Caption() { return UcControl_GetText(this); }
  void SetCaption(const WideString& text) { UcControl_SetText(this, text); }
  bool IsCaptionStored() { return UcControl_IsCaptionStored(this); }
  void UpdateActions() override;
  void Dispatch(void* message) override;

 protected:
  void ReadFormLayout() override;
  void CreateWindowHandle(const TCreateParams& params) override;
  void DestroyWindowHandle() override;

 private:
  void WMMenuSelect(TMessage& message);
};
