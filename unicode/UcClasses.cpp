#include "unicode/UcClasses.h"

#include "platform/forms/ClassRegistry.h"
#include "unicode/TUcAction.h"
#include "unicode/TUcActionList.h"
#include "unicode/TUcBevel.h"
#include "unicode/TUcButton.h"
#include "unicode/TUcCheckBox.h"
#include "unicode/TUcComboBox.h"
#include "unicode/TUcControlBar.h"
#include "unicode/TUcEdit.h"
#include "unicode/TUcForm.h"
#include "unicode/TUcFrame.h"
#include "unicode/TUcGroupBox.h"
#include "unicode/TUcImage.h"
#include "unicode/TUcLabel.h"
#include "unicode/TUcListBox.h"
#include "unicode/TUcMemo.h"
#include "unicode/TUcMenuItem.h"
#include "unicode/TUcPaintBox.h"
#include "unicode/TUcPanel.h"
#include "unicode/TUcPopupMenu.h"
#include "unicode/TUcRadioButton.h"
#include "unicode/TUcRadioGroup.h"
#include "unicode/TUcSaveDialog.h"
#include "unicode/TUcScrollBar.h"
#include "unicode/TUcScrollBox.h"
#include "unicode/TUcShape.h"
#include "unicode/TUcSplitter.h"
#include "unicode/TUcStaticText.h"

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
  RegisterProperties<TUcButton>("TUcButton", "TButton", Factory<TUcButton>());
  RegisterProperties<TUcCheckBox>("TUcCheckBox", "TCustomCheckBox", Factory<TUcCheckBox>());
  RegisterProperties<TUcRadioButton>("TUcRadioButton", "TRadioButton", Factory<TUcRadioButton>());
  RegisterProperties<TUcScrollBar>("TUcScrollBar", "TScrollBar", Factory<TUcScrollBar>());
  RegisterProperties<TUcGroupBox>("TUcGroupBox", "TCustomGroupBox", Factory<TUcGroupBox>());
  RegisterProperties<TUcStaticText>("TUcStaticText", "TCustomStaticText", Factory<TUcStaticText>());
  RegisterProperties<TUcForm>("TUcForm", "TForm", Factory<TUcForm>());
  RegisterProperties<TUcFrame>("TUcFrame", "TCustomFrame", Factory<TUcFrame>());
  RegisterProperties<TUcScrollBox>("TUcScrollBox", "TScrollBox", Factory<TUcScrollBox>());
  RegisterProperties<TUcShape>("TUcShape", "TShape", Factory<TUcShape>());
  RegisterProperties<TUcPaintBox>("TUcPaintBox", "TPaintBox", Factory<TUcPaintBox>());
  RegisterProperties<TUcBevel>("TUcBevel", "TBevel", Factory<TUcBevel>());
  RegisterProperties<TUcSplitter>("TUcSplitter", "TSplitter", Factory<TUcSplitter>());
  RegisterProperties<TUcPanel>("TUcPanel", "TCustomPanel", Factory<TUcPanel>());
  RegisterProperties<TUcControlBar>("TUcControlBar", "TCustomControlBar", Factory<TUcControlBar>());
  RegisterProperties<TUcStringList>("TUcStringList", "");
  RegisterProperties<TUcCustomRadioGroup>("TUcCustomRadioGroup", "TCustomGroupBox")
      .Object("Items", &TUcCustomRadioGroup::Items)
      .Int("Columns", &TUcCustomRadioGroup::Columns, &TUcCustomRadioGroup::SetColumns, 1)
      .Int("ItemIndex", &TUcCustomRadioGroup::ItemIndex, &TUcCustomRadioGroup::SetItemIndex, -1);
  RegisterProperties<TUcRadioGroup>("TUcRadioGroup", "TUcCustomRadioGroup", Factory<TUcRadioGroup>());
}

}  // namespace unicode
