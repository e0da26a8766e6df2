#include "platform/forms/ActionClient.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"

void RaiseWrongActionLink(const TObject* client, const char* message) {
  AnsiString name = client->ClassName();
  throw EInvalidOperation(message, {TVarRec(name)});
}
