// TSkCustomColors: sixteen named custom colours "ColorA" .. "ColorP" as hexadecimal RGB values
// ("ColorA=FFFFFF"), loaded from and saved to a settings store. After a load or a copy every
// value is six lower-case hexadecimal digits of its low 24 bits; a value that is no hexadecimal
// number becomes "ffffff".
#pragma once

#include <memory>

#include "controls/TSkRegIniFile.h"
#include "platform/rtl/TStringList.h"

class TSkCustomColors : public TComponent {
 public:
  explicit TSkCustomColors(TComponent* owner);
  ~TSkCustomColors() override;

  TStrings* Colors() { return colors_.get(); }
  void SetColors(TStrings* value);
  TSkRegIniFile* RegIniFile() const { return regIniFile_; }
  void SetRegIniFile(TSkRegIniFile* value);

  // Raise ENoRegIniFile without a store.
  void Load(const AnsiString& section);
  void Save(const AnsiString& section);

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  void Normalise();
  std::unique_ptr<TStringList> colors_;
  TSkRegIniFile* regIniFile_ = nullptr;
};

// Registers the class and its properties for form layouts.
void RegisterSkCustomColors();
