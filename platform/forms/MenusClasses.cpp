// The menu and dialog classes in the registry, with the properties layouts set: a popup menu
// nests its items (and items their sub-items) as child objects.
#include "platform/forms/ClassRegistry.h"
#include "platform/forms/TMainMenu.h"
#include "platform/forms/TMessageForm.h"
#include "platform/forms/TPopupMenu.h"
#include "platform/forms/TSaveDialog.h"

void RegisterMenusClasses() {
  static const std::vector<std::string> alignmentNames{"paLeft", "paRight", "paCenter"};
  static const std::vector<std::string> trackButtonNames{"tbRightButton", "tbLeftButton"};
  RegisterProperties<TMenuItem>("TMenuItem", "TComponent", Factory<TMenuItem>())
      .Component<TBasicAction>("Action", &TMenuItem::Action, &TMenuItem::SetAction)
      .Str("Caption", &TMenuItem::Caption, &TMenuItem::SetCaption)
      .Bool("Checked", &TMenuItem::Checked, &TMenuItem::SetChecked, false)
      .Bool("Default", &TMenuItem::Default, &TMenuItem::SetDefault, false)
      .Bool("Enabled", &TMenuItem::Enabled, &TMenuItem::SetEnabled, true)
      .Int("GroupIndex", &TMenuItem::GroupIndex, &TMenuItem::SetGroupIndex, 0)
      .Str("Hint", &TMenuItem::Hint, &TMenuItem::SetHint)
      .Int("ImageIndex", &TMenuItem::ImageIndex, &TMenuItem::SetImageIndex, -1)
      .Bool("RadioItem", &TMenuItem::RadioItem, &TMenuItem::SetRadioItem, false)
      .Int("ShortCut", &TMenuItem::ShortCut, &TMenuItem::SetShortCut, 0)
      .Bool("Visible", &TMenuItem::Visible, &TMenuItem::SetVisible, true)
      .Int(
          "Tag", [](TMenuItem& c) { return static_cast<std::int64_t>(c.Tag); },
          [](TMenuItem& c, std::int64_t v) { c.Tag = static_cast<std::intptr_t>(v); }, 0)
      .Event("OnAdvancedDrawItem", &TMenuItem::OnAdvancedDrawItem)
      .Event("OnClick", &TMenuItem::OnClick)
      .Event("OnDrawItem", &TMenuItem::OnDrawItem)
      .Event("OnMeasureItem", &TMenuItem::OnMeasureItem);
  RegisterProperties<TMenu>("TMenu", "TComponent")
      .Bool("OwnerDraw", &TMenu::OwnerDraw, &TMenu::SetOwnerDraw, false)
      .Int(
          "Tag", [](TMenu& c) { return static_cast<std::int64_t>(c.Tag); },
          [](TMenu& c, std::int64_t v) { c.Tag = static_cast<std::intptr_t>(v); }, 0)
      .Event("OnChange", &TMenu::OnChange);
  RegisterProperties<TPopupMenu>("TPopupMenu", "TMenu", Factory<TPopupMenu>())
      .Enum("Alignment", &TPopupMenu::Alignment, &TPopupMenu::SetAlignment, paLeft, &alignmentNames)
      .Bool("AutoPopup", &TPopupMenu::AutoPopup, &TPopupMenu::SetAutoPopup, true)
      .Enum("TrackButton", &TPopupMenu::TrackButton, &TPopupMenu::SetTrackButton, tbRightButton,
            &trackButtonNames)
      .Event("OnPopup", &TPopupMenu::OnPopup);
  RegisterProperties<TMainMenu>("TMainMenu", "TMenu", Factory<TMainMenu>());
  static const std::vector<std::string> openOptionNames{
      "ofReadOnly",         "ofOverwritePrompt",    "ofHideReadOnly",        "ofNoChangeDir",
      "ofShowHelp",         "ofNoValidate",         "ofAllowMultiSelect",    "ofExtensionDifferent",
      "ofPathMustExist",    "ofFileMustExist",      "ofCreatePrompt",        "ofShareAware",
      "ofNoReadOnlyReturn", "ofNoTestFileCreate",   "ofNoNetworkButton",     "ofNoLongNames",
      "ofOldStyleDialog",   "ofNoDereferenceLinks", "ofEnableIncludeNotify", "ofEnableSizing"};
  RegisterProperties<TCommonDialog>("TCommonDialog", "TComponent")
      .Bool(
          "Ctl3D", [](TCommonDialog& d) { return d.Ctl3D; }, [](TCommonDialog& d, bool v) { d.Ctl3D = v; },
          true)
      .Int(
          "HelpContext", [](TCommonDialog& d) { return d.HelpContext; },
          [](TCommonDialog& d, int v) { d.HelpContext = v; }, 0)
      .Event("OnClose", &TCommonDialog::OnClose)
      .Event("OnShow", &TCommonDialog::OnShow);
  RegisterProperties<TOpenDialog>("TOpenDialog", "TCommonDialog", Factory<TOpenDialog>())
      .Str("DefaultExt", &TOpenDialog::DefaultExt, &TOpenDialog::SetDefaultExt)
      .Str("FileName", &TOpenDialog::FileName, &TOpenDialog::SetFileName)
      .Str("Filter", &TOpenDialog::Filter, &TOpenDialog::SetFilter)
      .Int("FilterIndex", &TOpenDialog::FilterIndex, &TOpenDialog::SetFilterIndex, 1)
      .Str("InitialDir", &TOpenDialog::InitialDir, &TOpenDialog::SetInitialDir)
      .Set("Options", &TOpenDialog::Options, &TOpenDialog::SetOptions,
           OpenOption(ofHideReadOnly) | OpenOption(ofEnableSizing), &openOptionNames)
      .Str("Title", &TOpenDialog::Title, &TOpenDialog::SetTitle)
      .Event("OnCanClose", &TOpenDialog::OnCanClose)
      .Event("OnFolderChange", &TOpenDialog::OnFolderChange)
      .Event("OnSelectionChange", &TOpenDialog::OnSelectionChange)
      .Event("OnTypeChange", &TOpenDialog::OnTypeChange);
  RegisterProperties<TSaveDialog>("TSaveDialog", "TOpenDialog", Factory<TSaveDialog>());
  RegisterProperties<TMessageForm>("TMessageForm", "TForm");
}
