// TSkOldPropReader: readers for properties that older layouts stored and that no longer exist
// (a boolean, an enumeration, an identifier, an integer, a set or a string): each reads the
// value and forgets it. Its writer writes nothing, so the old names leave a layout once it is
// written again. Classes claim such names in DefineProperties:
//   filer->DefineProperty("OldName", TSkOldPropReader::ReadBoolean, TSkOldPropReader::WriteNothing, false);
#pragma once

#include "platform/forms/TReader.h"
#include "platform/forms/TWriter.h"

class TSkOldPropReader {
 public:
  static void ReadBoolean(TReader* reader);
  static void ReadEnum(TReader* reader);
  static void ReadIdent(TReader* reader);
  static void ReadInteger(TReader* reader);
  static void ReadSet(TReader* reader);
  static void ReadString(TReader* reader);
  static void WriteNothing(TWriter* writer);

 private:
  // Whatever the value is, including a list of values.
  static void Skip(TReader* reader);
};
