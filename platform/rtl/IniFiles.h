// INI files as objects. TMemIniFile holds the file in memory (read once, written by
// UpdateFile); TIniFile reads the file anew for every read and writes every change at once.
// Section and key names are trimmed and compared ASCII-case-insensitively; the file keeps the
// encoding it was read in (UTF-16LE or UTF-8 with their marks, else the system code page).
// Writing replaces the file through a temporary, so a failed write keeps the old one.
#pragma once

#include <memory>

#include "platform/rtl/AnsiString.h"
#include "platform/rtl/Object.h"

class TStrings;
namespace platform {
class IniData;
}

class TCustomIniFile : public TObject {
 public:
  explicit TCustomIniFile(const AnsiString& fileName);
  ~TCustomIniFile() override;
  const AnsiString& FileName() const { return fileName_; }

  AnsiString ReadString(const AnsiString& section, const AnsiString& ident, const AnsiString& defaultValue);
  void WriteString(const AnsiString& section, const AnsiString& ident, const AnsiString& value);
  // A value that is no integer gives the default.
  int ReadInteger(const AnsiString& section, const AnsiString& ident, int defaultValue);
  void WriteInteger(const AnsiString& section, const AnsiString& ident, int value);
  // "0" is false, any other integer true; anything else gives the default. Written as 1 or 0.
  bool ReadBool(const AnsiString& section, const AnsiString& ident, bool defaultValue);
  void WriteBool(const AnsiString& section, const AnsiString& ident, bool value);
  bool SectionExists(const AnsiString& section);
  bool ValueExists(const AnsiString& section, const AnsiString& ident);
  // The section's keys / the sections / the section's "key=value" lines, into `strings`.
  void ReadSection(const AnsiString& section, TStrings* strings);
  void ReadSections(TStrings* strings);
  void ReadSectionValues(const AnsiString& section, TStrings* strings);
  void EraseSection(const AnsiString& section);
  void DeleteKey(const AnsiString& section, const AnsiString& ident);
  // Writes the file (TMemIniFile); nothing to do for TIniFile, which writes at once.
  virtual void UpdateFile();

 protected:
  // Before a read: TIniFile reloads; after a change: TIniFile writes.
  virtual void BeforeRead() {}
  virtual void AfterChange() {}
  void Load();
  void Save();

  std::unique_ptr<platform::IniData> data_;

 private:
  AnsiString fileName_;
};

class TMemIniFile : public TCustomIniFile {
 public:
  explicit TMemIniFile(const AnsiString& fileName);
};

class TIniFile : public TCustomIniFile {
 public:
  explicit TIniFile(const AnsiString& fileName) : TCustomIniFile(fileName) {}
  void UpdateFile() override {}

 protected:
  void BeforeRead() override { Load(); }
  void AfterChange() override { Save(); }
};
