#include "controls/TSkOldPropReader.h"

void TSkOldPropReader::Skip(TReader* reader) {
  if (reader->NextValue() == vaList) {
    reader->ReadListBegin();
    while (!reader->EndOfList()) Skip(reader);
    reader->ReadListEnd();
    return;
  }
  reader->ReadValue();
}

void TSkOldPropReader::ReadBoolean(TReader* reader) { Skip(reader); }
void TSkOldPropReader::ReadEnum(TReader* reader) { Skip(reader); }
void TSkOldPropReader::ReadIdent(TReader* reader) { Skip(reader); }
void TSkOldPropReader::ReadInteger(TReader* reader) { Skip(reader); }
void TSkOldPropReader::ReadSet(TReader* reader) { Skip(reader); }
void TSkOldPropReader::ReadString(TReader* reader) { Skip(reader); }
void TSkOldPropReader::WriteNothing(TWriter*) {}
