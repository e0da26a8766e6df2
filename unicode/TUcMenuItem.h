// A menu item with a UTF-16 caption and hint. The form library builds the system menu in 8
// bits; the item then writes its wide caption (and shortcut text) into it with the wide calls.
#pragma once

#include "platform/forms/TMainMenu.h"
#include "platform/forms/TMenuItem.h"
#include "platform/rtl/WideString.h"

class TUcMenuItem : public TMenuItem {
 public:
  explicit TUcMenuItem(TComponent* owner) : TMenuItem(owner) {}
  WideString Caption();
  void SetCaption(const WideString& text);
  WideString Hint();
  void SetHint(const WideString& text);
  void Loaded() override;
  void MenuChanged(bool rebuild) override;
  void InitiateAction() override;
  void AdvancedDrawItem(TCanvas* canvas, RECT rect, TOwnerDrawState state, bool topLevel) override;
  void MeasureItem(TCanvas* canvas, int& width, int& height) override;
  // Writes the wide caption (with the shortcut text) into the system menu when it differs.
  void UpdateMenuString(TMenu* parentMenu);
  // The first sub-item with this caption, ignoring hotkey marks and case.
  TMenuItem* Find(const WideString& caption) const;

 protected:
  TActionLinkClass GetActionLinkClass() const override;
  void ActionChange(TObject* sender, bool checkDefaults) override;
  void DoDrawText(TCanvas* canvas, const WideString& text, RECT& rect, bool selected, UINT flags);
  int MeasureItemTextWidth(TCanvas* canvas, const WideString& text);
  UINT GetAlignmentDrawStyle() const;

 private:
  bool ignoreChange_ = false;
  WideString wideCaption_;
  WideString wideHint_;
  HKL keyboardLayout_ = nullptr;
};

TUcMenuItem* WideNewItem(const WideString& caption, TShortCut shortCut, bool checked, bool enabled,
                         TNotifyEvent onClick, int helpContext, const AnsiString& name);
TUcMenuItem* WideNewSubMenu(const WideString& caption, int helpContext, const AnsiString& name,
                            const std::vector<TMenuItem*>& items, bool enabled);
WideString WideGetMenuItemCaption(TMenuItem* item);
WideString WideGetMenuItemHint(TMenuItem* item);
void FixMenuBiDiProblem(TMenu* menu);
// Turns the owner-drawn top-level entries of a main menu that nothing draws (no drawing event, no
// image) into plain string entries with their captions, the wide caption for a TUcMenuItem.
void NoOwnerDrawTopLevelItems(TMainMenu* mainMenu);
// Menu items of the form library carry no bitmaps here.
bool MenuItemHasBitmap(TMenuItem* item);
