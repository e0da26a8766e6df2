#include "editor/TResStringManager.h"

#include "editor/EditorAppFolder.h"
#include "platform/rtl/CodePage.h"
#include "platform/rtl/Profile.h"
#include "platform/rtl/SysUtils.h"

TResStringManager ResStringManager;

namespace {

// Full path of the current language file; empty until a language is chosen.
AnsiString LanguageFile;

const char* const kLanguageFiles[] = {
    "/language_editer/lan_Vietnamese.ini",
    "/language_editer/lan_ENG.ini",
    "/language_editer/lan_Khmer.ini",
};

constexpr int kMaxText = 1024;  // the buffer of one lookup: 1023 units and the terminator

}  // namespace

int TResStringManager::SelectLanguageFile(int index) {
  if (index >= 0 && index < 3)
    LanguageFile = ExcludeTrailingPathDelimiter(EditorAppFolder()) + kLanguageFiles[index];
  return 1;
}

WideString TResStringManager::GetString(const AnsiString& key) const {
  if (LanguageFile.IsEmpty()) return WideString();
  WideString file(LanguageFile);
  WideString wideKey(key);
  char16_t buffer[kMaxText] = {};
  DWORD n = GetPrivateProfileStringW(u"STR_ALL_STR", wideKey.c_bstr(), u"", buffer, kMaxText, file.c_bstr());
  return WideString(std::u16string(buffer, n));
}
