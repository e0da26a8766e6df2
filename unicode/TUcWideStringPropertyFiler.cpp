#include "unicode/TUcWideStringPropertyFiler.h"

#include "platform/forms/ClassRegistry.h"
#include "platform/forms/TFiler.h"
#include "platform/forms/TReader.h"
#include "platform/forms/TWriter.h"
#include "unicode/CodePageConversion.h"
#include "unicode/UcPersistent.h"
#include "unicode/Utf7.h"

namespace {

const TPropInfo* WideStringProp(TPersistent* object, const AnsiString& name) {
  const TPropInfo* p = object ? GetPropInfo(ClassInfoOf(object), name) : nullptr;
  return p && p->Kind == tkWString ? p : nullptr;
}

// True when the text holds a unit outside 7-bit ASCII: the only texts an 8-bit form tool could
// not carry exactly.
bool NeedsShadow(const WideString& value) {
  for (char16_t u : value.ToU16())
    if (u > 0x7F) return true;
  return false;
}

}  // namespace

void TUcWideStringPropertyFiler::DefineProperties(TFiler* filer, TPersistent* instance,
                                                  const AnsiString& propName) {
  FInstance = instance;
  FPropInfo = WideStringProp(instance, propName);
  if (FPropInfo) {
    filer->DefineProperty(
        propName + "W", [this](TReader* r) { ReadDataUTF8(r); }, nullptr, false);
    filer->DefineProperty(
        propName + "_UTF7", [this](TReader* r) { ReadDataUTF7(r); }, [this](TWriter* w) { WriteDataUTF7(w); },
        HasUtf7Data(filer));
  }
  FInstance = nullptr;
  FPropInfo = nullptr;
}

bool TUcWideStringPropertyFiler::HasUtf7Data(TFiler* filer) {
  if (!IsStoredProp(FInstance, FPropInfo)) return false;
  WideString value = GetWideStrProp(FInstance, FPropInfo);
  if (const TPropInfo* inherited = WideStringProp(filer->Ancestor, FPropInfo->Name))
    if (GetWideStrProp(filer->Ancestor, inherited) == value) return false;
  return !value.IsEmpty() && NeedsShadow(value);
}

void TUcWideStringPropertyFiler::ReadDataUTF8(TReader* reader) {
  if (UcIsLegacyDataApplied(reader))
    SetWideStrProp(FInstance, FPropInfo, UTF8ToWideString(AnsiString(reader->ReadByteString())));
  else
    reader->ReadWideString();
}

void TUcWideStringPropertyFiler::ReadDataUTF7(TReader* reader) {
  if (UcIsLegacyDataApplied(reader))
    SetWideStrProp(FInstance, FPropInfo, UTF7ToWideString(AnsiString(reader->ReadByteString())));
  else
    reader->ReadWideString();
}

void TUcWideStringPropertyFiler::WriteDataUTF7(TWriter* writer) {
  writer->WriteString(WideStringToUTF7(GetWideStrProp(FInstance, FPropInfo)));
}
