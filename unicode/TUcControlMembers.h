// What every control of the layer adds to its form-library base: a UTF-16 hint (and, for
// controls with a caption, a UTF-16 caption), the wide-property form storage, and action links
// that carry the wide texts. The controls derive from these templates over their base class.
#pragma once

#include "platform/forms/TWinControl.h"
#include "platform/rtl/WideString.h"
#include "unicode/UcActions.h"
#include "unicode/UcControls.h"
#include "unicode/UcPersistent.h"
#include "unicode/UcShortCuts.h"

template <class Base>
class TUcControlMembers : public Base {
 public:
  using Base::Base;
  WideString Hint() { return UcControl_GetHint(this); }
  void SetHint(const WideString& text) { UcControl_SetHint(this, text); }
  bool IsHintStored() { return UcControl_IsHintStored(this); }
  void DefineProperties(TFiler* filer) override {
    Base::DefineProperties(filer);
    UcPersistent_AfterInherited_DefineProperties(filer, this);
  }

 protected:
  TActionLinkClass GetActionLinkClass() const override {
    auto* self = const_cast<TUcControlMembers*>(this);
    return UcControl_GetActionLinkClass(self, Base::GetActionLinkClass());
  }
  void ActionChange(TObject* sender, bool checkDefaults) override {
    UcControl_BeforeInherited_ActionChange(this, sender, checkDefaults);
    Base::ActionChange(sender, checkDefaults);
  }
};

template <class Base>
class TUcCaptionedMembers : public TUcControlMembers<Base> {
 public:
  using TUcControlMembers<Base>::TUcControlMembers;
  WideString Caption() { return UcControl_GetText(this); }
  void SetCaption(const WideString& text) { UcControl_SetText(this, text); }
  bool IsCaptionStored() { return UcControl_IsCaptionStored(this); }
  // The 8-bit caption of the form library stays reachable beside the wide one.
  AnsiString NarrowCaption() const { return Base::Caption(); }
};

// Whether a CM_DIALOGCHAR carries the hotkey of `caption` (its character may be any script's).
inline bool UcIsAccelMessage(const TMessage& m, const WideString& caption) {
  return IsWideCharAccel(GetWideCharFromWMCharMsg(TMessage{WM_CHAR, m.WParam, m.LParam, 0}), caption);
}

// A windowless control of the layer: its hint shows in the wide hint window.
template <class Base>
class TUcGraphicMembers : public TUcControlMembers<Base> {
 public:
  using TUcControlMembers<Base>::TUcControlMembers;
  void Dispatch(void* message) override {
    auto& m = *static_cast<TMessage*>(message);
    if (m.Msg == CM_HINTSHOW) ProcessCMHintShowMsg(m);
    Base::Dispatch(message);
  }
};
