// The wide-aware dialog action and the font, colour and print actions (executing one of these
// three raises, as the form library's do: the platform has none of their dialogs).
#pragma once

#include "platform/forms/TCommonDialogAction.h"
#include "unicode/UcStdActns.h"

class TUcCommonDialogAction : public TUcStdActionOf<TCommonDialogAction> {
 public:
  explicit TUcCommonDialogAction(TComponent* owner) : TUcStdActionOf(owner) {}
};

class TUcFontEdit : public TUcStdActionOf<TFontEdit> {
 public:
  explicit TUcFontEdit(TComponent* owner) : TUcStdActionOf(owner) {}
};

class TUcColorSelect : public TUcStdActionOf<TColorSelect> {
 public:
  explicit TUcColorSelect(TComponent* owner) : TUcStdActionOf(owner) {}
};

class TUcPrintDlg : public TUcStdActionOf<TPrintDlg> {
 public:
  explicit TUcPrintDlg(TComponent* owner) : TUcStdActionOf(owner) {}
};
