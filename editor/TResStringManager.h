// The language string manager: every caption, hint, menu entry and message of the editor is
// looked up by a language key in the INI file of the current language. The one instance,
// ResStringManager, keeps only which file that is; each lookup reads the file anew.
#pragma once

#include "platform/rtl/AnsiString.h"
#include "platform/rtl/WideString.h"

class TResStringManager {
 public:
  // 0 Vietnamese, 1 English, 2 Khmer: points the lookups at that language's file in the
  // application folder (the file is neither opened nor tested here). Any other index keeps the current
  // choice. Always answers 1.
  int SelectLanguageFile(int index);

  // The text of `key` in section STR_ALL_STR of the current language file, at most 1023 units;
  // empty when no language is chosen yet, the file is missing or the key is absent.
  WideString GetString(const AnsiString& key) const;
};

extern TResStringManager ResStringManager;
