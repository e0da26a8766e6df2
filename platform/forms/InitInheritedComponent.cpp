#include "platform/forms/InitInheritedComponent.h"

#include <string>
#include <vector>

#include "platform/forms/ClassRegistry.h"
#include "platform/forms/TForm.h"
#include "platform/forms/TReader.h"
#include "platform/rtl/StringRoutines.h"

bool InitInheritedComponent(TComponent* instance, const AnsiString& rootAncestor) {
  std::vector<const std::string*> layouts;
  for (const TClassInfo* info = ClassInfoOf(instance); info && !SameText(info->Name, rootAncestor);
       info = info->Parent)
    if (const std::string* layout = FindFormLayout(info->Name)) layouts.push_back(layout);
  for (auto it = layouts.rbegin(); it != layouts.rend(); ++it) ReadComponentText(instance, **it);
  return !layouts.empty();
}
