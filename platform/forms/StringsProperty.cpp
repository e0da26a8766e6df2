#include "platform/forms/StringsProperty.h"

#include "platform/forms/TReader.h"
#include "platform/forms/TWriter.h"
#include "platform/rtl/UpdateScope.h"

void DefineStringsProperty(TStrings* strings, TFiler* filer) {
  filer->DefineProperty(
      "Strings",
      [strings](TReader* reader) {
        reader->ReadListBegin();
        {
          platform::UpdateScope<TStrings> update(*strings);
          strings->Clear();
          while (!reader->EndOfList()) strings->Add(reader->ReadString());
        }
        reader->ReadListEnd();
      },
      [strings](TWriter* writer) {
        writer->WriteListBegin();
        for (int i = 0; i < strings->Count(); ++i) writer->WriteString(strings->Strings(i));
        writer->WriteListEnd();
      },
      strings->Count() > 0);
}
