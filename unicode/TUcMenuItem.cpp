#include "unicode/TUcMenuItem.h"

#include "platform/controls/Menus.h"
#include "platform/forms/TCanvas.h"
#include "platform/forms/TPopupMenu.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Program.h"
#include "platform/rtl/ScopeExit.h"
#include "unicode/TCustomActionHelper.h"
#include "unicode/UcActionLinks.h"
#include "unicode/UcActions.h"
#include "unicode/UcNarrowText.h"
#include "unicode/UcPlatformFlags.h"
#include "unicode/UcShortCuts.h"
#include "unicode/UcSyncedWideString.h"
#include "unicode/UcTextWrappers.h"
#include "unicode/WideException.h"

namespace {

AnsiString Narrow(const WideString& s) { return UcNarrow(std::u16string_view(s.data(), size_t(s.Length()))); }

// Puts the hotkey marks of `ansi` at the same places in the mark-free `wide`. Each complete
// character of the 8-bit caption is one wide character, so positions are counted in
// characters, not bytes.
WideString RemarkHotkeys(const WideString& stripped, const AnsiString& ansi) {
  const std::u16string marked(UcWiden(ansi).c_str());
  WideString result;
  int at = 1;  // next character of `stripped`
  for (size_t i = 0; i < marked.size(); ++i) {
    if (marked[i] == u'&') {
      if (SysLocale.FarEast && i > 0 && i + 2 < marked.size() && marked[i - 1] == u'(' &&
          marked[i + 2] == u')') {
        result += WideString(std::u16string(marked, i, 2));
        ++i;
        continue;
      }
      result += u"&";
      continue;
    }
    if (at <= stripped.Length()) result += WideString(stripped[at++]);
  }
  while (at <= stripped.Length()) result += WideString(stripped[at++]);
  return result;
}

}  // namespace

WideString TUcMenuItem::Caption() {
  const AnsiString& ansi = TMenuItem::Caption();
  if (Narrow(wideCaption_) != ansi &&
      WideStripHotkey(UcWiden(Narrow(wideCaption_))) == WideStripHotkey(UcWiden(ansi))) {
    // The 8-bit caption's marks moved: the wide caption takes them at the same characters.
    const WideString remarked = RemarkHotkeys(WideStripHotkey(wideCaption_), ansi);
    // Captions that still disagree keep the 8-bit caption's text: nothing better is known.
    if (Narrow(remarked) == ansi) wideCaption_ = remarked;
  }
  return GetSyncedWideString(wideCaption_, ansi);
}

void TUcMenuItem::SetCaption(const WideString& text) {
  Caption();
  SetSyncedWideString(text, wideCaption_, TMenuItem::Caption(),
                      [this](const AnsiString& value) { TMenuItem::SetCaption(value); });
}

WideString TUcMenuItem::Hint() { return GetSyncedWideString(wideHint_, hint_); }

void TUcMenuItem::SetHint(const WideString& text) {
  SetSyncedWideString(text, wideHint_, hint_, [this](const AnsiString& value) { hint_ = value; });
}

void TUcMenuItem::Loaded() {
  TMenuItem::Loaded();
  UpdateMenuString(GetParentMenu());
}

void TUcMenuItem::MenuChanged(bool rebuild) {
  if (ignoreChange_) return;
  TMenuItem::MenuChanged(rebuild);
  TMenu* menu = GetParentMenu();
  // Sub-items first, the last first, depth first; this item last.
  std::function<void(TMenuItem*)> walk = [&](TMenuItem* item) {
    if (item->ComponentState() & (csLoading | csDestroying)) return;
    for (int i = item->Count() - 1; i >= 0; --i) walk(item->Items(i));
    if (auto* uc = dynamic_cast<TUcMenuItem*>(item)) uc->UpdateMenuString(menu);
  };
  walk(this);
  FixMenuBiDiProblem(menu);
}

void TUcMenuItem::InitiateAction() {
  if (GetKeyboardLayout(0) != keyboardLayout_) MenuChanged(false);
  TMenuItem::InitiateAction();
}

void TUcMenuItem::UpdateMenuString(TMenu* parentMenu) {
  keyboardLayout_ = GetKeyboardLayout(0);
  TMenuItem* parentItem = Parent();
  if (!Win32PlatformIsUnicode() || !parentItem || !parentMenu ||
      (ComponentState() & (csLoading | csDestroying)) || !Visible())
    return;
  HMENU menu = parentItem->Handle();
  auto qualifies = [&] {
    WCHAR buffer[80] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_TYPE;
    info.dwTypeData = buffer;
    info.cch = 80;
    return GetMenuItemInfoW(menu, UINT(Command()), FALSE, &info) &&
           !(info.fType & (MFT_BITMAP | MFT_SEPARATOR | MFT_OWNERDRAW));
  };
  if (!qualifies()) return;
  WideString text = Caption();
  const bool onMenuBar = dynamic_cast<TMainMenu*>(parentMenu) && parentItem == parentMenu->Items();
  if (Count() == 0 && ShortCut() != 0 && !onMenuBar) text = text + u"\t" + WideShortCutToText(ShortCut());
  std::u16string current(size_t(GetMenuStringW(menu, UINT(Command()), nullptr, 0, MF_BYCOMMAND)) + 1, u'\0');
  current.resize(
      size_t(GetMenuStringW(menu, UINT(Command()), current.data(), int(current.size()), MF_BYCOMMAND)));
  if (WideString(current) == text || !qualifies()) return;
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_TYPE;
  info.fType = MFT_STRING;
  info.dwTypeData = const_cast<LPWSTR>(text.c_str());
  info.cch = UINT(text.Length());
  if (!SetMenuItemInfoW(menu, UINT(Command()), FALSE, &info)) RaiseLastOSError();
  if (auto* main = dynamic_cast<TMainMenu*>(parentMenu);
      main && parentItem == parentMenu->Items() && main->WindowHandle())
    DrawMenuBar(main->WindowHandle());
}

TMenuItem* TUcMenuItem::Find(const WideString& caption) const {
  for (int i = 0; i < Count(); ++i)
    if (WideSameCaption(WideGetMenuItemCaption(Items(i)), caption)) return Items(i);
  return nullptr;
}

TActionLinkClass TUcMenuItem::GetActionLinkClass() const { return ActionLinkClassOf<TUcMenuActionLink>(); }

void TUcMenuItem::ActionChange(TObject* sender, bool checkDefaults) {
  if (auto* action = dynamic_cast<TCustomAction*>(sender); action && UcIsWideAction(action)) {
    if (!checkDefaults || Caption().IsEmpty()) SetCaption(UcAction_GetCaption(action));
    if (!checkDefaults || Hint().IsEmpty()) SetHint(UcAction_GetHint(action));
  }
  TMenuItem::ActionChange(sender, checkDefaults);
}

UINT TUcMenuItem::GetAlignmentDrawStyle() const {
  if (auto* popup = dynamic_cast<TPopupMenu*>(GetParentMenu())) {
    if (popup->Alignment() == paRight) return DT_RIGHT;
    if (popup->Alignment() == paCenter) return DT_CENTER;
  }
  return DT_LEFT;
}

void TUcMenuItem::DoDrawText(TCanvas* canvas, const WideString& caption, RECT& rect, bool selected,
                             UINT flags) {
  WideString text = caption;
  if ((flags & DT_CALCRECT) && (text.IsEmpty() || text == u"&")) text += u" ";
  canvas->Brush()->SetStyle(bsClear);
  if (Default()) canvas->Font()->SetStyle(canvas->Font()->Style() | (1u << fsBold));
  if (!Enabled()) {
    if (!selected) {
      RECT shifted = rect;
      OffsetRect(&shifted, 1, 1);
      canvas->Font()->SetColor(clBtnHighlight);
      Uc_DrawTextW(canvas->RequiredHandle(), text.c_str(), text.Length(), &shifted, flags);
    }
    canvas->Font()->SetColor(selected && ColorToRGB(clHighlight) == ColorToRGB(clBtnShadow) ? clBtnHighlight
                                                                                            : clBtnShadow);
  }
  Uc_DrawTextW(canvas->RequiredHandle(), text.c_str(), text.Length(), &rect, flags);
}

int TUcMenuItem::MeasureItemTextWidth(TCanvas* canvas, const WideString& text) {
  RECT r{0, 0, 0, 0};
  DoDrawText(canvas, text, r, false,
             GetAlignmentDrawStyle() | DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS | DT_SINGLELINE);
  return r.right - r.left;
}

void TUcMenuItem::MeasureItem(TCanvas* canvas, int& width, int& height) {
  if (!Win32PlatformIsUnicode() || IsLine()) {
    TMenuItem::MeasureItem(canvas, width, height);
    return;
  }
  // The event hears the corrected size only: it is off during the 8-bit measurement, and
  // back afterwards whatever happens.
  TMenuMeasureItemEvent event = std::move(OnMeasureItem);
  OnMeasureItem = nullptr;
  struct Reattach {
    TMenuItem* item;
    TMenuMeasureItemEvent& event;
    ~Reattach() { item->OnMeasureItem = std::move(event); }
  } reattach{this, event};
  TMenuItem::MeasureItem(canvas, width, height);
  const WideString caption = Caption();
  width += MeasureItemTextWidth(canvas, WideStripHotkey(caption)) -
           canvas->TextWidth(StripHotkey(TMenuItem::Caption()));
  if (ShortCut() != 0)
    width += MeasureItemTextWidth(canvas, WideShortCutToText(ShortCut())) -
             canvas->TextWidth(ShortCutToText(ShortCut()));
  if (event) event(this, canvas, width, height);
}

void TUcMenuItem::AdvancedDrawItem(TCanvas* canvas, RECT rect, TOwnerDrawState state, bool topLevel) {
  TMenu* menu = GetParentMenu();
  const bool menuDraws = menu && menu->OwnerDraw();
  if (!Win32PlatformIsUnicode() || IsLine() || (menuDraws && (OnAdvancedDrawItem || OnDrawItem))) {
    TMenuItem::AdvancedDrawItem(canvas, rect, state, topLevel);
    return;
  }
  // The form library paints background and check mark of an item without text.
  const WideString caption = Caption();
  const TShortCut shortCut = ShortCut();
  {
    ignoreChange_ = true;
    const platform::ScopeExit heed([this] { ignoreChange_ = false; });
    const platform::ScopeExit restore([&] {
      SetCaption(caption);
      SetShortCut(shortCut);
    });
    SetCaption(WideString());
    SetShortCut(0);
    TMenuItem::AdvancedDrawItem(canvas, rect, state, topLevel);
  }
  const bool newer = CheckWin32Version(4, 1);
  const bool selected = state & odSelected;
  const int gr = rect.left + 1 + 16;  // the check-mark column
  RECT text{gr + 5, rect.top, rect.right - 1, rect.bottom};
  if (topLevel && newer && !selected) OffsetRect(&text, 0, -1);
  UINT flags = GetAlignmentDrawStyle() | DT_EXPANDTABS | DT_SINGLELINE;
  if (newer && (state & odNoAccel)) flags |= DT_HIDEPREFIX;
  canvas->Font()->SetColor(selected ? clHighlightText : clMenuText);
  RECT measured = text;
  DoDrawText(canvas, caption, measured, selected, flags | DT_CALCRECT | DT_NOCLIP);
  OffsetRect(&measured, 0, ((rect.bottom - rect.top) - (measured.bottom - measured.top)) / 2);
  if (topLevel && selected && newer) OffsetRect(&measured, 1, 0);
  DoDrawText(canvas, caption, measured, selected, flags);
  if (shortCut != 0 && !topLevel) {
    RECT keys{measured.right + 10, measured.top, rect.right - 10, measured.bottom};
    DoDrawText(canvas, WideShortCutToText(shortCut), keys, selected, DT_RIGHT | DT_SINGLELINE);
  }
}

TUcMenuItem* WideNewItem(const WideString& caption, TShortCut shortCut, bool checked, bool enabled,
                         TNotifyEvent onClick, int /*helpContext*/, const AnsiString& name) {
  auto* item = new TUcMenuItem(nullptr);
  item->SetCaption(caption);
  item->SetShortCut(shortCut);
  item->OnClick = std::move(onClick);
  item->SetChecked(checked);
  item->SetEnabled(enabled);
  item->SetName(name);
  return item;
}

TUcMenuItem* WideNewSubMenu(const WideString& caption, int /*helpContext*/, const AnsiString& name,
                            const std::vector<TMenuItem*>& items, bool enabled) {
  auto* item = new TUcMenuItem(nullptr);
  for (TMenuItem* sub : items) item->Add(sub);
  item->SetCaption(caption);
  item->SetName(name);
  item->SetEnabled(enabled);
  return item;
}

WideString WideGetMenuItemCaption(TMenuItem* item) {
  if (auto* uc = dynamic_cast<TUcMenuItem*>(item)) return uc->Caption();
  return UcWiden(item->Caption());
}

WideString WideGetMenuItemHint(TMenuItem* item) {
  if (auto* uc = dynamic_cast<TUcMenuItem*>(item)) return uc->Hint();
  return UcWiden(item->Hint());
}

void FixMenuBiDiProblem(TMenu* menu) {
  if (!SysLocale.MiddleEast || !menu || menu->Items()->Count() == 0) return;
  for (int i = 0; i < menu->Items()->Count(); ++i) {
    TMenuItem* item = menu->Items()->Items(i);
    if (!item->Visible()) continue;
    if (auto* uc = dynamic_cast<TUcMenuItem*>(item)) uc->UpdateMenuString(menu);
    return;
  }
}

bool MenuItemHasBitmap(TMenuItem*) { return false; }

void NoOwnerDrawTopLevelItems(TMainMenu* mainMenu) {
  if (!mainMenu) return;
  if (Win32MajorVersion < 4 || (Win32MajorVersion == 4 && Win32MinorVersion == 0)) return;
  const HMENU menu = mainMenu->Handle();
  for (UINT position = 0;; ++position) {
    MENUITEMINFOA entry{};
    entry.cbSize = sizeof entry;
    entry.fMask = MIIM_FTYPE | MIIM_ID;
    if (!GetMenuItemInfoA(menu, position, TRUE, &entry)) break;
    if (!(entry.fType & MFT_OWNERDRAW)) continue;
    TMenuItem* item = mainMenu->FindItem(intptr_t(entry.wID), fkCommand);
    // Menus here carry no image lists, so a bitmap is the only image an item can draw.
    if (!item || item->OnDrawItem || item->OnAdvancedDrawItem || MenuItemHasBitmap(item)) continue;
    const UINT type = entry.fType & ~UINT(MFT_OWNERDRAW);
    auto* ucItem = dynamic_cast<TUcMenuItem*>(item);
    if (ucItem && Win32PlatformIsUnicode()) {
      WideString caption = ucItem->Caption();
      MENUITEMINFOW wide{};
      wide.cbSize = sizeof wide;
      wide.fMask = MIIM_STRING | MIIM_FTYPE;
      wide.fType = type;
      wide.dwTypeData = caption.U16().data();
      wide.cch = UINT(caption.Length());
      SetMenuItemInfoW(menu, position, TRUE, &wide);
    } else {
      AnsiString caption = item->Caption();
      MENUITEMINFOA narrow{};
      narrow.cbSize = sizeof narrow;
      narrow.fMask = MIIM_STRING | MIIM_FTYPE;
      narrow.fType = type;
      narrow.dwTypeData = const_cast<char*>(caption.c_str());
      narrow.cch = UINT(caption.Length());
      SetMenuItemInfoA(menu, position, TRUE, &narrow);
    }
  }
}
