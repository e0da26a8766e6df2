#include "unicode/TUcLabel.h"

#include "platform/forms/TWinControl.h"
#include "unicode/UcActions.h"
#include "unicode/UcControls.h"
#include "unicode/UcPlatformFlags.h"
#include "unicode/UcShortCuts.h"
#include "unicode/UcTextWrappers.h"

bool UcLabel_DoDrawText(TCustomLabel* label, RECT& rect, UINT flags, const WideString& caption) {
  if (!Win32PlatformIsUnicode()) return false;
  WideString text = caption;
  if ((flags & DT_CALCRECT) && (text.IsEmpty() || (label->ShowAccelChar() && text == u"&"))) text += u" ";
  if (!label->ShowAccelChar()) flags |= DT_NOPREFIX;
  flags = label->DrawTextBiDiModeFlags(flags);
  TCanvas* canvas = label->Canvas();
  canvas->Font()->Assign(label->Font());
  if (label->Enabled() || (flags & DT_CALCRECT)) {
    Uc_DrawTextW(canvas->RequiredHandle(), text.c_str(), text.Length(), &rect, flags);
    return true;
  }
  OffsetRect(&rect, 1, 1);
  canvas->Font()->SetColor(clBtnHighlight);
  Uc_DrawTextW(canvas->RequiredHandle(), text.c_str(), text.Length(), &rect, flags);
  OffsetRect(&rect, -1, -1);
  canvas->Font()->SetColor(clBtnShadow);
  Uc_DrawTextW(canvas->RequiredHandle(), text.c_str(), text.Length(), &rect, flags);
  return true;
}

bool UcLabel_CMDialogChar(TCustomLabel* label, TMessage& m, const WideString& caption) {
  TWinControl* target = label->FocusControl();
  if (!target || !label->Enabled() || !label->ShowAccelChar() ||
      !IsWideCharAccel(GetWideCharFromWMCharMsg(TMessage{WM_CHAR, m.WParam, m.LParam, 0}), caption) ||
      !target->CanFocus())
    return false;
  target->SetFocus();
  m.Result = 1;
  return true;
}

WideString TUcCustomLabel::Caption() { return UcControl_GetText(this); }
void TUcCustomLabel::SetCaption(const WideString& text) { UcControl_SetText(this, text); }
WideString TUcCustomLabel::Hint() { return UcControl_GetHint(this); }
void TUcCustomLabel::SetHint(const WideString& text) { UcControl_SetHint(this, text); }
WideString TUcCustomLabel::GetWideLabelText() { return Caption(); }

void TUcCustomLabel::DoDrawText(RECT& rect, UINT flags) {
  if (!UcLabel_DoDrawText(this, rect, flags, GetWideLabelText())) TCustomLabel::DoDrawText(rect, flags);
}

TActionLinkClass TUcCustomLabel::GetActionLinkClass() const {
  return UcControl_GetActionLinkClass(const_cast<TUcCustomLabel*>(this), TCustomLabel::GetActionLinkClass());
}

void TUcCustomLabel::ActionChange(TObject* sender, bool checkDefaults) {
  UcControl_BeforeInherited_ActionChange(this, sender, checkDefaults);
  TCustomLabel::ActionChange(sender, checkDefaults);
}

void TUcCustomLabel::Dispatch(void* message) {
  auto& m = *static_cast<TMessage*>(message);
  if (m.Msg == CM_DIALOGCHAR) {
    UcLabel_CMDialogChar(this, m, Caption());
    return;
  }
  if (m.Msg == CM_HINTSHOW) ProcessCMHintShowMsg(m);
  TCustomLabel::Dispatch(message);
}
