// The standard controls in the class registry, with the properties layouts set.
#include "platform/forms/ClassRegistry.h"
#include "platform/forms/TButton.h"
#include "platform/forms/TCheckBox.h"
#include "platform/forms/TComboBox.h"
#include "platform/forms/TGroupBox.h"
#include "platform/forms/TListBox.h"
#include "platform/forms/TMemo.h"
#include "platform/forms/TRadioButton.h"
#include "platform/forms/TRichEdit.h"
#include "platform/forms/TStaticText.h"

namespace {

const std::vector<std::string> kAlignmentNames{"taLeftJustify", "taRightJustify", "taCenter"};
const std::vector<std::string> kBorderNames{"bsNone", "bsSingle"};
const std::vector<std::string> kCharCaseNames{"ecNormal", "ecUpperCase", "ecLowerCase"};
const std::vector<std::string> kScrollStyleNames{"ssNone", "ssHorizontal", "ssVertical", "ssBoth"};
const std::vector<std::string> kCheckStateNames{"cbUnchecked", "cbChecked", "cbGrayed"};
const std::vector<std::string> kStaticBorderNames{"sbsNone", "sbsSingle", "sbsSunken"};
const std::vector<std::string> kListBoxStyleNames{"lbStandard", "lbOwnerDrawFixed", "lbOwnerDrawVariable",
                                                  "lbVirtual", "lbVirtualOwnerDraw"};
const std::vector<std::string> kComboBoxStyleNames{"csDropDown", "csSimple", "csDropDownList",
                                                   "csOwnerDrawFixed", "csOwnerDrawVariable"};

AnsiString PasswordCharText(TCustomEdit& e) {
  return e.PasswordChar() ? AnsiString(std::string(1, e.PasswordChar())) : AnsiString();
}
void SetPasswordCharText(TCustomEdit& e, const AnsiString& v) {
  e.SetPasswordChar(v.IsEmpty() ? '\0' : v.c_str()[0]);
}

template <class C>
RegisterProperties<C>& EditProperties(RegisterProperties<C>& r) {
  return r.Int("MaxLength", &C::MaxLength, &C::SetMaxLength, 0)
      .Bool("ReadOnly", &C::ReadOnly, &C::SetReadOnly, false)
      .Str(
          "PasswordChar", [](C& e) { return PasswordCharText(e); },
          [](C& e, const AnsiString& v) { SetPasswordCharText(e, v); })
      .Enum("CharCase", &C::CharCase, &C::SetCharCase, ecNormal, &kCharCaseNames)
      .Bool("AutoSelect", &C::AutoSelect, &C::SetAutoSelect, true)
      .Bool("HideSelection", &C::HideSelection, &C::SetHideSelection, true)
      .Bool("OEMConvert", &C::OEMConvert, &C::SetOEMConvert, false)
      .Enum("BorderStyle", &C::BorderStyle, &C::SetBorderStyle, bsSingle, &kBorderNames)
      .Event("OnChange", &C::OnChange);
}

}  // namespace

void RegisterStdCtrlsClasses() {
  auto edit = RegisterProperties<TCustomEdit>("TCustomEdit", "TWinControl");
  EditProperties(edit);
  RegisterProperties<TEdit>("TEdit", "TCustomEdit", Factory<TEdit>())
      .Str("Text", &TEdit::Text, &TEdit::SetTextProp);
  RegisterProperties<TMemoStrings>("TMemoStrings", "");
  RegisterProperties<TCustomMemo>("TCustomMemo", "TCustomEdit")
      .Object("Lines", &TCustomMemo::Lines)
      .Enum("ScrollBars", &TCustomMemo::ScrollBars, &TCustomMemo::SetScrollBars, ssNone, &kScrollStyleNames)
      .Bool("WordWrap", &TCustomMemo::WordWrap, &TCustomMemo::SetWordWrap, true)
      .Bool("WantReturns", &TCustomMemo::WantReturns, &TCustomMemo::SetWantReturns, true)
      .Bool("WantTabs", &TCustomMemo::WantTabs, &TCustomMemo::SetWantTabs, false)
      .Enum("Alignment", &TCustomMemo::Alignment, &TCustomMemo::SetAlignment, taLeftJustify,
            &kAlignmentNames);
  RegisterProperties<TMemo>("TMemo", "TCustomMemo", Factory<TMemo>());
  RegisterProperties<TCustomRichEdit>("TCustomRichEdit", "TCustomMemo")
      .Bool("PlainText", &TCustomRichEdit::PlainText, &TCustomRichEdit::SetPlainText, false)
      .Bool("HideScrollBars", &TCustomRichEdit::HideScrollBars, &TCustomRichEdit::SetHideScrollBars, true);
  RegisterProperties<TRichEdit>("TRichEdit", "TCustomRichEdit", Factory<TRichEdit>());

  RegisterProperties<TButtonControl>("TButtonControl", "TWinControl")
      .Bool("WordWrap", &TButtonControl::WordWrap, &TButtonControl::SetWordWrap, false);
  RegisterProperties<TButton>("TButton", "TButtonControl", Factory<TButton>())
      .Bool("Default", &TButton::Default, &TButton::SetDefault, false)
      .Bool("Cancel", &TButton::Cancel, &TButton::SetCancel, false)
      .Int("ModalResult", &TButton::ModalResult, &TButton::SetModalResult, mrNone);
  RegisterProperties<TCustomCheckBox>("TCustomCheckBox", "TButtonControl")
      .Enum("Alignment", &TCustomCheckBox::Alignment, &TCustomCheckBox::SetAlignment, taRightJustify,
            &kAlignmentNames)
      .Bool("AllowGrayed", &TCustomCheckBox::AllowGrayed, &TCustomCheckBox::SetAllowGrayed, false)
      .Enum("State", &TCustomCheckBox::State, &TCustomCheckBox::SetState, cbUnchecked, &kCheckStateNames)
      .Bool("Checked", &TCustomCheckBox::Checked, &TCustomCheckBox::SetCheckedProp, false);
  RegisterProperties<TCheckBox>("TCheckBox", "TCustomCheckBox", Factory<TCheckBox>());
  RegisterProperties<TRadioButton>("TRadioButton", "TButtonControl", Factory<TRadioButton>())
      .Enum("Alignment", &TRadioButton::Alignment, &TRadioButton::SetAlignment, taRightJustify,
            &kAlignmentNames)
      .Bool("Checked", &TRadioButton::Checked, &TRadioButton::SetCheckedProp, false);

  RegisterProperties<TCustomGroupBox>("TCustomGroupBox", "TCustomControl");
  RegisterProperties<TGroupBox>("TGroupBox", "TCustomGroupBox", Factory<TGroupBox>());
  RegisterProperties<TCustomStaticText>("TCustomStaticText", "TWinControl")
      .Enum("Alignment", &TCustomStaticText::Alignment, &TCustomStaticText::SetAlignment, taLeftJustify,
            &kAlignmentNames)
      .Bool("AutoSize", &TCustomStaticText::AutoSize, &TCustomStaticText::SetAutoSize, true)
      .Enum("BorderStyle", &TCustomStaticText::BorderStyle, &TCustomStaticText::SetBorderStyle, sbsNone,
            &kStaticBorderNames)
      .Component<TWinControl>("FocusControl", &TCustomStaticText::FocusControl,
                              &TCustomStaticText::SetFocusControl)
      .Bool("ShowAccelChar", &TCustomStaticText::ShowAccelChar, &TCustomStaticText::SetShowAccelChar, true);
  RegisterProperties<TStaticText>("TStaticText", "TCustomStaticText", Factory<TStaticText>());

  RegisterProperties<TCustomListControl>("TCustomListControl", "TWinControl");
  RegisterProperties<TListBoxStrings>("TListBoxStrings", "");
  RegisterProperties<TCustomListBox>("TCustomListBox", "TCustomListControl")
      .Object("Items", &TCustomListBox::Items)
      .Enum("Style", &TCustomListBox::Style, &TCustomListBox::SetStyle, lbStandard, &kListBoxStyleNames)
      .Bool("Sorted", &TCustomListBox::Sorted, &TCustomListBox::SetSorted, false)
      .Bool("MultiSelect", &TCustomListBox::MultiSelect, &TCustomListBox::SetMultiSelect, false)
      .Bool("ExtendedSelect", &TCustomListBox::ExtendedSelect, &TCustomListBox::SetExtendedSelect, true)
      .Bool("IntegralHeight", &TCustomListBox::IntegralHeight, &TCustomListBox::SetIntegralHeight, false)
      .Int("ItemHeight", &TCustomListBox::ItemHeight, &TCustomListBox::SetItemHeight)
      .Enum("BorderStyle", &TCustomListBox::BorderStyle, &TCustomListBox::SetBorderStyle, bsSingle,
            &kBorderNames)
      .Event<TDrawItemEvent>("OnDrawItem", &TCustomListBox::OnDrawItem)
      .Event<TMeasureItemEvent>("OnMeasureItem", &TCustomListBox::OnMeasureItem)
      .Event("OnData", &TCustomListBox::OnData);
  RegisterProperties<TListBox>("TListBox", "TCustomListBox", Factory<TListBox>());
  RegisterProperties<TComboBoxStrings>("TComboBoxStrings", "");
  RegisterProperties<TCustomComboBox>("TCustomComboBox", "TCustomListControl")
      .Object("Items", &TCustomComboBox::Items)
      .Enum("Style", &TCustomComboBox::Style, &TCustomComboBox::SetStyle, csDropDown, &kComboBoxStyleNames)
      .Bool("Sorted", &TCustomComboBox::Sorted, &TCustomComboBox::SetSorted, false)
      .Int("DropDownCount", &TCustomComboBox::DropDownCount, &TCustomComboBox::SetDropDownCount, 8)
      .Int("MaxLength", &TCustomComboBox::MaxLength, &TCustomComboBox::SetMaxLength, 0)
      .Int("ItemHeight", &TCustomComboBox::ItemHeight, &TCustomComboBox::SetItemHeight)
      .Bool("AutoComplete", &TCustomComboBox::AutoComplete, &TCustomComboBox::SetAutoComplete, true)
      .Bool("AutoDropDown", &TCustomComboBox::AutoDropDown, &TCustomComboBox::SetAutoDropDown, false)
      .Str("Text", &TCustomComboBox::Text, &TCustomComboBox::SetTextProp)
      .Event("OnChange", &TCustomComboBox::OnChange)
      .Event("OnSelect", &TCustomComboBox::OnSelect)
      .Event("OnDropDown", &TCustomComboBox::OnDropDown)
      .Event("OnCloseUp", &TCustomComboBox::OnCloseUp)
      .Event<TDrawItemEvent>("OnDrawItem", &TCustomComboBox::OnDrawItem)
      .Event<TMeasureItemEvent>("OnMeasureItem", &TCustomComboBox::OnMeasureItem);
  RegisterProperties<TComboBox>("TComboBox", "TCustomComboBox", Factory<TComboBox>());
}
