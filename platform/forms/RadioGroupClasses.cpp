// The radio group in the class registry, so layouts can name it and list its items.
#include "platform/forms/ClassRegistry.h"
#include "platform/forms/TGroupButton.h"
#include "platform/forms/TRadioGroup.h"

void RegisterRadioGroupClasses() {
  RegisterProperties<TRadioGroupStrings>("TRadioGroupStrings", "");
  RegisterProperties<TCustomRadioGroup>("TCustomRadioGroup", "TCustomGroupBox")
      .Object("Items", &TCustomRadioGroup::Items)
      .Int("Columns", &TCustomRadioGroup::Columns, &TCustomRadioGroup::SetColumns, 1)
      .Int("ItemIndex", &TCustomRadioGroup::ItemIndex, &TCustomRadioGroup::SetItemIndex, -1);
  RegisterProperties<TRadioGroup>("TRadioGroup", "TCustomRadioGroup", Factory<TRadioGroup>());
}
