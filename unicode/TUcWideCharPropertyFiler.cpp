#include "unicode/TUcWideCharPropertyFiler.h"

#include "platform/forms/ClassRegistry.h"
#include "platform/forms/TFiler.h"
#include "platform/forms/TReader.h"
#include "platform/forms/TWriter.h"
#include "unicode/UcPersistent.h"
#include "unicode/Utf7.h"

namespace {

const TPropInfo* WideCharProp(TPersistent* object, const AnsiString& name) {
  const TPropInfo* p = object ? GetPropInfo(ClassInfoOf(object), name) : nullptr;
  return p && p->Kind == tkWChar ? p : nullptr;
}

}  // namespace

void TUcWideCharPropertyFiler::DefineProperties(TFiler* filer, TPersistent* instance,
                                                const AnsiString& propName) {
  FInstance = instance;
  FPropInfo = WideCharProp(instance, propName);
  if (FPropInfo) {
    filer->DefineProperty(
        propName + "W", [this](TReader* r) { ReadData_W(r); }, [this](TWriter* w) { WriteData_W(w); },
        HasData(filer));
    filer->DefineProperty(
        propName + "_UTF7", [this](TReader* r) { ReadData_UTF7(r); }, nullptr, false);
  }
  FInstance = nullptr;
  FPropInfo = nullptr;
}

bool TUcWideCharPropertyFiler::HasData(TFiler* filer) {
  if (!IsStoredProp(FInstance, FPropInfo)) return false;
  if (const TPropInfo* inherited = WideCharProp(filer->Ancestor, FPropInfo->Name))
    if (inherited->GetOrd(filer->Ancestor) == FPropInfo->GetOrd(FInstance)) return false;
  FWriter = dynamic_cast<TWriter*>(filer);
  bool stored = !FWriter || !IsDefaultValue();
  FWriter = nullptr;
  return stored;
}

bool TUcWideCharPropertyFiler::IsDefaultValue() {
  if (!FPropInfo->GetOrd || !FPropInfo->SetOrd) return true;
  TPersistent* ancestor = FWriter->Ancestor;
  TComponent* root = FWriter->Root();
  TComponent* rootAncestor = FWriter->RootAncestor;
  const TClassInfo* rootClass = root ? ClassInfoOf(root) : nullptr;
  const TClassInfo* rootAncestorClass = rootAncestor ? ClassInfoOf(rootAncestor) : nullptr;
  bool validAncestor = ancestor && rootAncestor && rootClass && rootAncestorClass &&
                       rootClass->InheritsFrom(rootAncestorClass);
  std::int64_t value = FPropInfo->GetOrd(FInstance);
  if (validAncestor) {
    const TPropInfo* inherited = WideCharProp(ancestor, FPropInfo->Name);
    return inherited && inherited->GetOrd(ancestor) == value;
  }
  return FPropInfo->Default != TPropInfo::kNoDefault && value == FPropInfo->Default;
}

void TUcWideCharPropertyFiler::ReadData_W(TReader* reader) {
  WideString text;
  switch (reader->NextValue()) {
    case vaString:
    case vaLString:
      text = WideString(reader->ReadString());
      break;
    case vaWString:
    case vaUTF8String:
      text = reader->ReadWideString();
      break;
    default:
      InvalidPropertyValue();
  }
  if (text.Length() > 1) InvalidPropertyValue();
  FPropInfo->SetOrd(FInstance, text.IsEmpty() ? 0 : text.ToU16()[0]);
}

void TUcWideCharPropertyFiler::ReadData_UTF7(TReader* reader) {
  WideString text = UTF7ToWideString(AnsiString(reader->ReadByteString()));
  FPropInfo->SetOrd(FInstance, text.IsEmpty() ? 0 : text.ToU16()[0]);
}

void TUcWideCharPropertyFiler::WriteData_W(TWriter* writer) {
  writer->WriteWideString(WideString(std::u16string(1, static_cast<char16_t>(FPropInfo->GetOrd(FInstance)))));
}
