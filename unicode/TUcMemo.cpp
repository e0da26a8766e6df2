#include "unicode/TUcMemo.h"

#include "unicode/UcActions.h"
#include "unicode/UcControls.h"
#include "unicode/UcCustomEdit.h"

TUcCustomMemo::TUcCustomMemo(TComponent* owner)
    : TCustomMemo(owner), lines_(std::make_unique<TUcMemoStrings>(this, TCustomMemo::Lines())) {}

TUcCustomMemo::~TUcCustomMemo() {
  Destroying();
  lines_.reset();
}

void TUcCustomMemo::SetLines(TUcStrings* value) { lines_->Assign(value); }
WideString TUcCustomMemo::Text() { return UcControl_GetText(this); }
void TUcCustomMemo::SetText(const WideString& text) { UcControl_SetText(this, text); }
WideString TUcCustomMemo::Hint() { return UcControl_GetHint(this); }
void TUcCustomMemo::SetHint(const WideString& text) { UcControl_SetHint(this, text); }
int TUcCustomMemo::GetSelStart() { return UcCustomEdit_GetSelStart(this); }
void TUcCustomMemo::SetSelStartW(int value) { UcCustomEdit_SetSelStart(this, value); }
int TUcCustomMemo::GetSelLength() { return UcCustomEdit_GetSelLength(this); }
void TUcCustomMemo::SetSelLengthW(int value) { UcCustomEdit_SetSelLength(this, value); }
WideString TUcCustomMemo::GetSelText() { return UcCustomEdit_GetSelText(this); }
void TUcCustomMemo::SetSelText(const WideString& text) { UcCustomEdit_SetSelText(this, text); }

void TUcCustomMemo::CreateWindowHandle(const TCreateParams& params) {
  UcCustomEdit_CreateWindowHandle(this, params);
}

TActionLinkClass TUcCustomMemo::GetActionLinkClass() const {
  return UcControl_GetActionLinkClass(const_cast<TUcCustomMemo*>(this), TCustomMemo::GetActionLinkClass());
}

void TUcCustomMemo::ActionChange(TObject* sender, bool checkDefaults) {
  UcControl_BeforeInherited_ActionChange(this, sender, checkDefaults);
  TCustomMemo::ActionChange(sender, checkDefaults);
}
