// The routines the layer's edit and memo share: window creation, wide selection and the wide
// password character.
#pragma once

#include "platform/forms/TEdit.h"
#include "platform/rtl/WideString.h"

void UcCustomEdit_CreateWindowHandle(TCustomEdit* edit, const TCreateParams& params);
void UcCustomEdit_AfterInherited_CreateWnd(TCustomEdit* edit, WideChar widePasswordChar);
int UcCustomEdit_GetSelStart(TCustomEdit* edit);
void UcCustomEdit_SetSelStart(TCustomEdit* edit, int value);
int UcCustomEdit_GetSelLength(TCustomEdit* edit);
void UcCustomEdit_SetSelLength(TCustomEdit* edit, int value);
WideString UcCustomEdit_GetSelText(TCustomEdit* edit);
void UcCustomEdit_SetSelText(TCustomEdit* edit, const WideString& text);
WideChar UcCustomEdit_GetPasswordChar(TCustomEdit* edit, WideChar& widePasswordChar);
void UcCustomEdit_SetPasswordChar(TCustomEdit* edit, WideChar& widePasswordChar, WideChar value);
// The 8-bit password character of a wide one: the character when it is one byte of the
// system code page, else "*".
char UcNarrowPasswordChar(WideChar ch);
