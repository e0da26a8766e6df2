// A key or character message seen as its parts: the key (or character) code in the low word of
// wParam and the key data (repeat count, scan code, Alt bit ...) in lParam. Shortcut dispatch
// (forms, menus, action lists) takes its chords in this form.
#pragma once

#include "platform/win/WinTypes.h"

struct TWMKey {
  UINT Msg = 0;
  WORD CharCode = 0;
  LPARAM KeyData = 0;
  LRESULT Result = 0;

  TWMKey() = default;
  TWMKey(UINT msg, WORD charCode, LPARAM keyData) : Msg(msg), CharCode(charCode), KeyData(keyData) {}
  explicit TWMKey(const TMessage& m)
      : Msg(m.Msg), CharCode(m.WParamLo()), KeyData(m.LParam), Result(m.Result) {}
};
using TWMChar = TWMKey;
using TCMDialogKey = TWMKey;
using TCMDialogChar = TWMKey;
