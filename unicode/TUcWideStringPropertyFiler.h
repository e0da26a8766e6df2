// Defines the legacy "W" (UTF-8, read only) and the "_UTF7" shadow of one UTF-16 string
// property on a filer.
#pragma once

#include "platform/rtl/AnsiString.h"
#include "platform/rtl/Object.h"

class TFiler;
class TReader;
class TWriter;
struct TPropInfo;

class TUcWideStringPropertyFiler : public TObject {
 public:
  void DefineProperties(TFiler* filer, TPersistent* instance, const AnsiString& propName);

 private:
  void ReadDataUTF8(TReader* reader);
  void ReadDataUTF7(TReader* reader);
  void WriteDataUTF7(TWriter* writer);
  bool HasUtf7Data(TFiler* filer);

  TPersistent* FInstance = nullptr;
  const TPropInfo* FPropInfo = nullptr;
};
