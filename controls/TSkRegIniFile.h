// TSkRegIniFile: a settings store that is either an INI file or a settings key (the platform's
// TRegIniFile, INI files under the configuration folder). Every read and write first brings the
// store up to date with Path, PathType, RegKey and RegAccess; an empty Path resolves to the
// executable's name with ".ini", or to the key "\Software\Temp\<title>", and is kept. Writing
// to a key without the set-value right of RegAccess raises ERegistryException.
#pragma once

#include <memory>

#include "platform/forms/TComponent.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/TStream.h"
#include "platform/rtl/TStrings.h"
#include "platform/rtl/Types.h"

enum TSkPathType { ptIniFile, ptRegistry };
enum TSkRegKey {
  hkeyClassesRoot,
  hkeyCurrentUser,
  hkeyLocalMachine,
  hkeyUsers,
  hkeyPerformanceData,
  hkeyCurrentConfig,
  hkeyDynData
};
enum TSkRegAccessKey {
  keyQueryValue,
  keySetValue,
  keyCreateSubKey,
  keyEnumerateSubKeys,
  keyNotify,
  keyCreateLink,
  keyRead,
  keyWrite,
  keyExecute,
  keyAllAccess
};
using TSkRegAccess = unsigned;  // bits 1 << TSkRegAccessKey
constexpr TSkRegAccess kAllRegAccess = 1u << keyAllAccess;

class TSkRegIniFile : public TComponent {
 public:
  explicit TSkRegIniFile(TComponent* owner);
  ~TSkRegIniFile() override;

  const AnsiString& Path() const { return path_; }
  void SetPath(const AnsiString& value);
  TSkPathType PathType() const { return pathType_; }
  void SetPathType(TSkPathType value);
  TSkRegKey RegKey() const { return regKey_; }
  void SetRegKey(TSkRegKey value);
  TSkRegAccess RegAccess() const { return regAccess_; }
  void SetRegAccess(TSkRegAccess value);
  // Whether the next read or write opens the store again.
  bool NeedsRefresh() const { return refresh_; }

  bool SectionExists(const AnsiString& section);
  bool ValueExists(const AnsiString& section, const AnsiString& name);
  bool ReadBool(const AnsiString& section, const AnsiString& name, bool defaultValue);
  void WriteBool(const AnsiString& section, const AnsiString& name, bool value);
  TDateTime ReadDate(const AnsiString& section, const AnsiString& name, TDateTime defaultValue);
  void WriteDate(const AnsiString& section, const AnsiString& name, TDateTime value);
  TDateTime ReadDateTime(const AnsiString& section, const AnsiString& name, TDateTime defaultValue);
  void WriteDateTime(const AnsiString& section, const AnsiString& name, TDateTime value);
  double ReadFloat(const AnsiString& section, const AnsiString& name, double defaultValue);
  void WriteFloat(const AnsiString& section, const AnsiString& name, double value);
  int ReadInteger(const AnsiString& section, const AnsiString& name, int defaultValue);
  void WriteInteger(const AnsiString& section, const AnsiString& name, int value);
  AnsiString ReadString(const AnsiString& section, const AnsiString& name, const AnsiString& defaultValue);
  void WriteString(const AnsiString& section, const AnsiString& name, const AnsiString& value);
  TDateTime ReadTime(const AnsiString& section, const AnsiString& name, TDateTime defaultValue);
  void WriteTime(const AnsiString& section, const AnsiString& name, TDateTime value);
  // The bytes stored under the name, appended to `stream`; the count read.
  int ReadBinaryStream(const AnsiString& section, const AnsiString& name, TStream* stream);
  // The stream's bytes from its position to its end.
  void WriteBinaryStream(const AnsiString& section, const AnsiString& name, TStream* stream);
  void ReadSection(const AnsiString& section, TStrings* strings);
  void ReadSections(TStrings* strings);
  void ReadSectionValues(const AnsiString& section, TStrings* strings);
  void EraseSection(const AnsiString& section);
  void DeleteKey(const AnsiString& section, const AnsiString& name);

 protected:
  // Opens the store again when a setting changed since it was opened.
  void CheckAccess();

 private:
  void CheckWrite();
  double ReadNumber(const AnsiString& section, const AnsiString& name, double defaultValue);
  void WriteNumber(const AnsiString& section, const AnsiString& name, double value);

  AnsiString path_;
  TSkPathType pathType_ = ptIniFile;
  TSkRegKey regKey_ = hkeyCurrentUser;
  TSkRegAccess regAccess_ = kAllRegAccess;
  bool refresh_ = true;
  std::unique_ptr<TCustomIniFile> store_;
};

// Registers the class and its properties for form layouts.
void RegisterSkRegIniFile();
