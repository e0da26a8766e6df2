// Defines the "W" store (read and written) and the legacy "_UTF7" reader of one UTF-16
// character property on a filer.
#pragma once

#include "platform/rtl/AnsiString.h"
#include "platform/rtl/Object.h"

class TFiler;
class TReader;
class TWriter;
struct TPropInfo;

class TUcWideCharPropertyFiler : public TObject {
 public:
  void DefineProperties(TFiler* filer, TPersistent* instance, const AnsiString& propName);

 private:
  void ReadData_W(TReader* reader);
  void ReadData_UTF7(TReader* reader);
  void WriteData_W(TWriter* writer);
  bool HasData(TFiler* filer);
  bool IsDefaultValue();

  TPersistent* FInstance = nullptr;
  const TPropInfo* FPropInfo = nullptr;
  TWriter* FWriter = nullptr;
};
