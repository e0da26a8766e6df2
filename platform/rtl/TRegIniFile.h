// TRegIniFile: the current user's settings keys, kept as INI files. Key "\A\B" is the file
// $XDG_CONFIG_HOME/<program>/A/B.ini (~/.config when the variable is unset), <program> being the
// executable's name without its extension; the key's sections are the file's sections. The
// file is read anew for every read (a missing one reads as "no such key") and written through a
// temporary and a rename at every change, its folders made on the first write. Key parts that
// are empty, "." or ".." are left out, so a key never reaches outside the program's folder.
#pragma once

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/IniFiles.h"

// A settings key that cannot be opened or written as asked.
class ERegistryException : public Exception {
 public:
  using Exception::Exception;
};

class TRegIniFile : public TCustomIniFile {
 public:
  explicit TRegIniFile(const AnsiString& key);
  void UpdateFile() override {}

 protected:
  void BeforeRead() override { Load(); }
  void AfterChange() override;
};

namespace platform {
// The folder of the program's settings keys, and the file of one key.
AnsiString RegistryFolder();
AnsiString RegistryKeyFile(const AnsiString& key);
}  // namespace platform
