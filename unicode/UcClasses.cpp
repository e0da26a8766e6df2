#include "unicode/UcClasses.h"

#include "platform/forms/ClassRegistry.h"
#include "unicode/TUcAction.h"
#include "unicode/TUcActionList.h"
#include "unicode/TUcComboBox.h"
#include "unicode/TUcEdit.h"
#include "unicode/TUcImage.h"
#include "unicode/TUcLabel.h"
#include "unicode/TUcListBox.h"
#include "unicode/TUcMemo.h"
#include "unicode/TUcMenuItem.h"
#include "unicode/TUcPopupMenu.h"
#include "unicode/TUcSaveDialog.h"

namespace unicode {

// Layouts hold 8-bit placeholders for captions and texts (the program sets the wide ones), so
// the classes take the properties of their form-library bases.
void RegisterUcClasses() {
  RegisterProperties<TUcLabel>("TUcLabel", "TCustomLabel", Factory<TUcLabel>());
  RegisterProperties<TUcEdit>("TUcEdit", "TCustomEdit", Factory<TUcEdit>())
      .Str("Text", &TControl::Text, &TControl::SetTextProp);
  RegisterProperties<TUcMemo>("TUcMemo", "TCustomMemo", Factory<TUcMemo>());
  RegisterProperties<TUcImage>("TUcImage", "TImage", Factory<TUcImage>());
  RegisterProperties<TUcPopupMenu>("TUcPopupMenu", "TPopupMenu", Factory<TUcPopupMenu>());
  RegisterProperties<TUcMenuItem>("TUcMenuItem", "TMenuItem", Factory<TUcMenuItem>());
  RegisterProperties<TUcAction>("TUcAction", "TAction", Factory<TUcAction>());
  RegisterProperties<TUcActionList>("TUcActionList", "TActionList", Factory<TUcActionList>());
  RegisterProperties<TUcOpenDialog>("TUcOpenDialog", "TOpenDialog", Factory<TUcOpenDialog>());
  RegisterProperties<TUcSaveDialog>("TUcSaveDialog", "TSaveDialog", Factory<TUcSaveDialog>());
  RegisterProperties<TUcComboBox>("TUcComboBox", "TCustomComboBox", Factory<TUcComboBox>());
  RegisterProperties<TUcListBox>("TUcListBox", "TCustomListBox", Factory<TUcListBox>());
}

}  // namespace unicode
