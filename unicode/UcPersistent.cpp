#include "unicode/UcPersistent.h"

#include <memory>

#include "platform/forms/ClassRegistry.h"
#include "platform/forms/TReader.h"
#include "unicode/TUcWideCharPropertyFiler.h"
#include "unicode/TUcWideStringPropertyFiler.h"

bool RuntimeUTFStreaming = false;

bool UcIsLegacyDataApplied(TReader* reader) {
  TComponent* owner = reader ? reader->Owner() : nullptr;
  if (!owner) return false;
  if (owner->ComponentState() & csDesigning) return true;
  return RuntimeUTFStreaming;
}

void UcPersistent_AfterInherited_DefineProperties(TFiler* filer, TPersistent* instance) {
  const TClassInfo* info = ClassInfoOf(instance);
  if (!info) return;
  std::vector<const TPropInfo*> props = GetPropInfos(info);
  if (props.empty()) return;
  auto wideStrings = std::make_unique<TUcWideStringPropertyFiler>();
  auto wideChars = std::make_unique<TUcWideCharPropertyFiler>();
  for (const TPropInfo* p : props) {
    if (!p || p->Name.IsEmpty()) break;
    if (p->Kind == tkWString)
      wideStrings->DefineProperties(filer, instance, p->Name);
    else if (p->Kind == tkWChar)
      wideChars->DefineProperties(filer, instance, p->Name);
  }
}
