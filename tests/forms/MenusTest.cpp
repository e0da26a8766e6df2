// Menus of the form library on the headless backend: a popup menu read from a layout, its system
// menu, choosing items by script, mouse and mnemonic (the click arriving after the menu closed),
// disabled, hidden, separator, checked and radio items, the shortcut text right-aligned, hints
// while highlighting, shortcuts, right clicks on controls, and the item list itself.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "platform/backend/HeadlessDriver.h"
#include "platform/controls/Controls.h"
#include "platform/forms/ClassRegistry.h"
#include "platform/forms/TApplication.h"
#include "platform/forms/TCanvas.h"
#include "platform/forms/TCustomAction.h"
#include "platform/forms/TCustomActionList.h"
#include "platform/forms/TCustomControl.h"
#include "platform/forms/TImage.h"
#include "platform/forms/TMainMenu.h"
#include "platform/forms/TMenuActionLink.h"
#include "platform/forms/TPopupList.h"
#include "platform/forms/TPopupMenu.h"
#include "platform/forms/TReader.h"
#include "platform/forms/TWriter.h"

namespace {

using platform::headless::Driver;
using platform::headless::ModalAnswer;
using platform::headless::ModalInfo;

// A windowed child without a popup menu of its own.
class TMenuSheet : public TCustomControl {
 public:
  explicit TMenuSheet(TComponent* owner) : TCustomControl(owner) {}
};

class TMenuForm : public TForm {
 public:
  explicit TMenuForm(TComponent* owner) : TForm(owner) {}
  std::vector<std::string> log;
  bool cancelContext = false;
  void ItemClick(TObject* sender) {
    log.push_back("click " + static_cast<TComponent*>(sender)->Name().ToStd());
  }
  void RadioClick(TObject* sender) {
    static_cast<TMenuItem*>(sender)->SetChecked(true);
    ItemClick(sender);
  }
  void StripMenuPopup(TObject*) { log.push_back("popup"); }
  void StripContextPopup(TObject*, POINT at, bool& handled) {
    log.push_back("context " + std::to_string(at.x) + "," + std::to_string(at.y));
    handled = cancelContext;
  }
  template <class T>
  T* Find(const char* name) {
    return dynamic_cast<T*>(FindComponent(name));
  }
};

const char* kMenuLayout = R"(object MenuForm: TMenuForm
  Left = 100
  Top = 100
  Width = 300
  Height = 200
  BorderStyle = bsNone
  Caption = 'Menus'
  PopupMenu = FormMenu
  object Strip: TImage
    Left = 10
    Top = 10
    Width = 100
    Height = 80
    PopupMenu = StripMenu
    OnContextPopup = StripContextPopup
  end
  object Sheet: TMenuSheet
    Left = 150
    Top = 10
    Width = 100
    Height = 80
  end
  object StripMenu: TPopupMenu
    OnPopup = StripMenuPopup
    object InsertItem: TMenuItem
      Caption = '&Insert'
      Hint = 'Insert|Inserts a new slide'
      ShortCut = 16457
      OnClick = ItemClick
    end
    object DeleteItem: TMenuItem
      Caption = '&Delete'
      OnClick = ItemClick
    end
    object Line1: TMenuItem
      Caption = '-'
    end
    object SelectItem: TMenuItem
      Caption = '&Select'
      Enabled = False
      Visible = False
      OnClick = ItemClick
    end
    object ResizeItem: TMenuItem
      Caption = '&Resize'
      Enabled = False
      OnClick = ItemClick
    end
    object SizeItem: TMenuItem
      Caption = 'Si&ze'
      object SmallItem: TMenuItem
        Caption = '&Small'
        Checked = True
        GroupIndex = 1
        RadioItem = True
        ShortCut = 16467
        OnClick = RadioClick
      end
      object LargeItem: TMenuItem
        Caption = '&Large'
        GroupIndex = 1
        RadioItem = True
        OnClick = RadioClick
      end
    end
  end
  object FormMenu: TPopupMenu
    object CloseItem: TMenuItem
      Caption = '&Close'
      OnClick = ItemClick
    end
  end
end
)";

// The popup's geometry: a 3-pixel frame, 19-pixel items, 9-pixel separators.
constexpr int kFrame = 3, kItem = 19, kSeparator = 9, kArrowColumn = 16;

class MenusTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::headless::Install();
    platform::controls::Startup();
    FormsStartup();
    static bool registered = false;
    if (!registered) {
      registered = true;
      RegisterProperties<TMenuSheet>("TMenuSheet", "TCustomControl", Factory<TMenuSheet>());
      RegisterProperties<TMenuForm>("TMenuForm", "TForm")
          .Handler("ItemClick", &TMenuForm::ItemClick)
          .Handler("RadioClick", &TMenuForm::RadioClick)
          .Handler("StripMenuPopup", &TMenuForm::StripMenuPopup)
          .Handler("StripContextPopup", &TMenuForm::StripContextPopup);
      RegisterFormLayout("TMenuForm", kMenuLayout);
    }
    Application->CreateForm(form);
    form->Show();
    Driver().RunUntilIdle();
    menu = form->Find<TPopupMenu>("StripMenu");
    ASSERT_NE(menu, nullptr);
  }
  void TearDown() override {
    FormsShutdown();
    platform::headless::Uninstall();
  }
  TMenuItem* Item(const char* name) { return form->Find<TMenuItem>(name); }
  // The screen point in the middle of the visible entry at `position` of an open popup.
  static POINT EntryPoint(HWND popup, int position) {
    RECT r;
    GetWindowRect(popup, &r);
    int y = kFrame;
    for (int i = 0; i < position; ++i) y += i == 2 ? kSeparator : kItem;
    return POINT{r.left + 30, r.top + y + kItem / 2};
  }
  std::u16string MenuString(HMENU m, UINT item, UINT flags) {
    char16_t text[64] = {};
    GetMenuStringW(m, item, text, 64, flags);
    return text;
  }

  TMenuForm* form = nullptr;
  TPopupMenu* menu = nullptr;
};

TEST_F(MenusTest, TheLayoutBuildsTheMenuAndItsSystemMenuFollowsChanges) {
  ASSERT_EQ(menu->Items()->Count(), 6);
  TMenuItem* size = Item("SizeItem");
  EXPECT_EQ(Item("SmallItem")->Parent(), size);
  EXPECT_EQ(Item("SmallItem")->GetParentMenu(), menu);
  EXPECT_EQ(Item("InsertItem")->GetParentComponent(), menu);
  EXPECT_EQ(form->Find<TImage>("Strip")->PopupMenu(), menu);
  EXPECT_EQ(form->PopupMenu(), form->Find<TPopupMenu>("FormMenu"));

  // The hidden item is left out; the shortcut follows a Tab; states and types as set.
  HMENU h = menu->Handle();
  ASSERT_EQ(GetMenuItemCount(h), 5);
  EXPECT_EQ(MenuString(h, 0, MF_BYPOSITION), u"&Insert\tCtrl+I");
  EXPECT_EQ(GetMenuItemID(h, 1), UINT(Item("DeleteItem")->Command()));
  EXPECT_TRUE(GetMenuState(h, 2, MF_BYPOSITION) & MF_SEPARATOR);
  EXPECT_TRUE(GetMenuState(h, UINT(Item("ResizeItem")->Command()), MF_BYCOMMAND) & MF_GRAYED);
  EXPECT_EQ(GetSubMenu(h, 4), size->Handle());
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE | MIIM_STATE;
  ASSERT_TRUE(GetMenuItemInfoW(size->Handle(), 0, TRUE, &info));
  EXPECT_TRUE(info.fType & MFT_RADIOCHECK);
  EXPECT_TRUE(info.fState & MFS_CHECKED);
  ASSERT_TRUE(GetMenuItemInfoW(size->Handle(), 1, TRUE, &info));
  EXPECT_FALSE(info.fState & MFS_CHECKED);

  int changes = 0;
  menu->OnChange = [&](TObject*, TMenuItem*, bool) { ++changes; };
  Item("InsertItem")->SetCaption("&Add");
  EXPECT_EQ(MenuString(h, UINT(Item("InsertItem")->Command()), MF_BYCOMMAND), u"&Add\tCtrl+I");
  Item("SelectItem")->SetVisible(true);
  EXPECT_EQ(GetMenuItemCount(h), 6);
  Item("LargeItem")->SetChecked(true);  // a radio item unchecks its group
  EXPECT_FALSE(Item("SmallItem")->Checked());
  EXPECT_FALSE(GetMenuState(size->Handle(), 0, MF_BYPOSITION) & MF_CHECKED);
  EXPECT_TRUE(GetMenuState(size->Handle(), 1, MF_BYPOSITION) & MF_CHECKED);
  EXPECT_GE(changes, 3);

  // Finding items, and command ids unique across menus.
  EXPECT_EQ(menu->FindItem(Item("LargeItem")->Command(), fkCommand), Item("LargeItem"));
  EXPECT_EQ(menu->FindItem(reinterpret_cast<intptr_t>(size->Handle()), fkHandle), size);
  EXPECT_EQ(menu->FindItem(16467, fkShortCut), Item("SmallItem"));
  EXPECT_EQ(menu->FindItem(0, fkHandle), nullptr);    // items without a system menu are not "handle 0"
  EXPECT_EQ(menu->Items()->Find("insert"), nullptr);  // renamed
  EXPECT_EQ(menu->Items()->Find("ADD"), Item("InsertItem"));
  EXPECT_EQ(size->Find("l&arge"), Item("LargeItem"));
  std::set<int> commands;
  for (const char* n : {"InsertItem", "DeleteItem", "Line1", "SelectItem", "ResizeItem", "SizeItem",
                        "SmallItem", "LargeItem", "CloseItem"})
    commands.insert(Item(n)->Command());
  EXPECT_EQ(commands.size(), 9u);
  EXPECT_EQ(commands.count(0), 0u);
}

TEST_F(MenusTest, AScriptedChoiceRunsTheItemOnceTheMenuHasClosed) {
  ModalInfo seen;
  RECT shownAt{};
  Driver().OnModal([&](const ModalInfo& info) {
    seen = info;
    GetWindowRect(info.hwnd, &shownAt);
    return ModalAnswer::MenuItem(u"Delete");
  });
  menu->Popup(120, 130);
  EXPECT_EQ(form->log, (std::vector<std::string>{"popup"}));  // the command is posted, not run yet
  Driver().RunUntilIdle();
  EXPECT_EQ(form->log, (std::vector<std::string>{"popup", "click DeleteItem"}));
  EXPECT_EQ(seen.kind, ModalInfo::Kind::PopupMenu);
  EXPECT_EQ(seen.texts,
            (std::vector<std::u16string>{u"&Insert\tCtrl+I", u"&Delete", u"", u"&Resize", u"Si&ze"}));
  EXPECT_EQ(shownAt.left, 120);
  EXPECT_EQ(shownAt.top, 130);
  EXPECT_EQ(menu->PopupPoint().x, 120);

  // A disabled item is never chosen; a sub-menu's item is chosen by its command.
  form->log.clear();
  Driver().OnModal([](const ModalInfo&) { return ModalAnswer::MenuItem(u"Resize"); });
  menu->Popup(120, 130);
  Driver().RunUntilIdle();
  EXPECT_EQ(form->log, (std::vector<std::string>{"popup"}));
  form->log.clear();
  const int large = Item("LargeItem")->Command();
  Driver().OnModal([large](const ModalInfo&) { return ModalAnswer::MenuItem(large); });
  menu->Popup(120, 130);
  Driver().RunUntilIdle();
  EXPECT_EQ(form->log, (std::vector<std::string>{"popup", "click LargeItem"}));
  EXPECT_TRUE(Item("LargeItem")->Checked());
  EXPECT_FALSE(Item("SmallItem")->Checked());

  // Right alignment puts the menu's right edge at the point.
  menu->SetAlignment(paRight);
  Driver().OnModal([&](const ModalInfo& info) {
    GetWindowRect(info.hwnd, &shownAt);
    return ModalAnswer::Cancel();
  });
  menu->Popup(400, 130);
  EXPECT_EQ(shownAt.right, 400);
}

TEST_F(MenusTest, MouseAndMnemonicsChooseEnabledItemsOnly) {
  struct Case {
    const char* what;
    std::vector<int> clicks;  // visible entry positions
    std::vector<std::string> chords;
    std::vector<std::string> expected;
  } cases[] = {
      {"mouse on Delete", {1}, {}, {"popup", "click DeleteItem"}},
      {"mouse on disabled Resize, then Esc", {3}, {"Esc"}, {"popup"}},
      {"mouse on the separator, then Esc", {2}, {"Esc"}, {"popup"}},
      {"mnemonic D", {}, {"D"}, {"popup", "click DeleteItem"}},
      {"mnemonic I", {}, {"I"}, {"popup", "click InsertItem"}},
      {"mnemonic of disabled Resize, then Esc", {}, {"R", "Esc"}, {"popup"}},
      {"mnemonic of hidden Select, then Esc", {}, {"S", "Esc"}, {"popup"}},
      {"into the sub-menu and its mnemonic", {}, {"Z", "L"}, {"popup", "click LargeItem"}},
      {"arrows and Enter", {}, {"Down", "Down", "Enter"}, {"popup", "click DeleteItem"}},
      {"Esc", {}, {"Esc"}, {"popup"}},
  };
  for (const Case& c : cases) {
    form->log.clear();
    Driver().OnModal([&](const ModalInfo& info) {
      return ModalAnswer::Drive([&, popup = info.hwnd] {
        for (int position : c.clicks) Driver().Click(EntryPoint(popup, position));
        for (const auto& chord : c.chords) Driver().Chord(chord);
      });
    });
    menu->Popup(200, 150);
    Driver().RunUntilIdle();
    EXPECT_EQ(form->log, c.expected) << c.what;
  }
}

TEST_F(MenusTest, TheShortcutTextIsRightAlignedAndTheMenuDrawsInMenuColours) {
  platform::headless::CaptureImage image;
  Driver().OnModal([&](const ModalInfo& info) {
    return ModalAnswer::Drive([&, popup = info.hwnd] {
      image = Driver().Capture(popup);
      Driver().Chord("Esc");
    });
  });
  menu->Popup(50, 50);
  ASSERT_GT(image.width, 0);
  const uint32_t back = [] {
    const COLORREF c = GetSysColor(COLOR_MENU);
    return uint32_t(GetRValue(c)) << 16 | uint32_t(GetGValue(c)) << 8 | GetBValue(c);
  }();
  // Ink columns of an entry's row (frame left out).
  auto inkColumns = [&](int position) {
    std::vector<int> columns;
    int top = kFrame;
    for (int i = 0; i < position; ++i) top += i == 2 ? kSeparator : kItem;
    for (int x = kFrame; x < image.width - kFrame; ++x)
      for (int y = top + 1; y < top + kItem - 1; ++y)
        if (image.At(x, y) != back) {
          columns.push_back(x);
          break;
        }
    return columns;
  };
  const std::vector<int> insert = inkColumns(0), remove = inkColumns(1);
  ASSERT_FALSE(insert.empty());
  ASSERT_FALSE(remove.empty());
  const int rightEdge = image.width - kFrame - kArrowColumn;
  // "Ctrl+I" ends at the text column's right edge...
  EXPECT_LE(insert.back(), rightEdge);
  EXPECT_GE(insert.back(), rightEdge - 3);
  // ...apart from the caption, and far right of an entry without a shortcut.
  int widestGap = 0;
  for (size_t i = 1; i < insert.size(); ++i) widestGap = std::max(widestGap, insert[i] - insert[i - 1]);
  EXPECT_GE(widestGap, 12);
  EXPECT_LT(remove.back(), insert.back() - 20);
  // Caption text starts after the check column.
  EXPECT_GE(insert.front(), kFrame + 20);
  EXPECT_EQ(image.At(kFrame + 2, kFrame + 2), back);
}

TEST_F(MenusTest, HighlightingAnItemShowsItsLongHint) {
  std::vector<std::string> hints;
  Driver().OnModal([&](const ModalInfo& info) {
    return ModalAnswer::Drive([&, popup = info.hwnd] {
      Driver().MoveMouse(EntryPoint(popup, 0));
      Driver().RunUntilIdle();
      hints.push_back(Application->Hint().ToStd());
      Driver().MoveMouse(EntryPoint(popup, 1));
      Driver().RunUntilIdle();
      hints.push_back(Application->Hint().ToStd());
      Driver().MoveMouse(EntryPoint(popup, 0));
      Driver().RunUntilIdle();
      Driver().Chord("Esc");
    });
  });
  menu->Popup(50, 50);
  EXPECT_EQ(hints, (std::vector<std::string>{"Inserts a new slide", ""}));
  EXPECT_EQ(Application->Hint().ToStd(), "");  // the menu closed
}

TEST_F(MenusTest, ShortcutsClickTheFirstUsableItem) {
  Driver().KeyDown(VK_CONTROL);
  Driver().RunUntilIdle();
  TWMKey key(WM_KEYDOWN, 'I', 0);
  EXPECT_TRUE(menu->IsShortCut(key));
  EXPECT_EQ(form->log, (std::vector<std::string>{"click InsertItem"}));
  // Not without Ctrl; not when the item is disabled; not when a parent is.
  Driver().KeyUp(VK_CONTROL);
  Driver().RunUntilIdle();
  EXPECT_FALSE(menu->IsShortCut(key));
  Driver().KeyDown(VK_CONTROL);
  Driver().RunUntilIdle();
  Item("InsertItem")->SetEnabled(false);
  EXPECT_FALSE(menu->IsShortCut(key));
  TWMKey small(WM_KEYDOWN, 'S', 0);
  Item("SizeItem")->SetEnabled(false);
  EXPECT_FALSE(menu->IsShortCut(small));
  Item("SizeItem")->SetEnabled(true);
  EXPECT_TRUE(menu->IsShortCut(small));
  EXPECT_EQ(form->log.back(), "click SmallItem");

  // The form's menu bar takes the form's shortcuts once it shows on the form's window.
  auto* bar = new TMainMenu(form);
  auto* mute = new TMenuItem(form);
  mute->SetName("MuteItem");
  mute->SetCaption("&Mute");
  mute->SetShortCut(scCtrl | 'M');
  mute->OnClick = [&](TObject* sender) { form->ItemClick(sender); };
  bar->Items()->Add(mute);
  EXPECT_EQ(MenuString(bar->Handle(), 0, MF_BYPOSITION), u"&Mute");  // no shortcut text on a menu bar
  TWMKey m(WM_KEYDOWN, 'M', 0);
  EXPECT_FALSE(form->IsShortCut(m));
  bar->SetWindowHandle(form->Handle());
  EXPECT_TRUE(form->IsShortCut(m));
  EXPECT_EQ(form->log.back(), "click MuteItem");
  Driver().KeyUp(VK_CONTROL);
  Driver().RunUntilIdle();
}

TEST_F(MenusTest, RightClicksPopUpTheMenuOfTheControlUnderThePointer) {
  auto* strip = form->Find<TImage>("Strip");
  auto* formMenu = form->Find<TPopupMenu>("FormMenu");
  RECT shownAt{};
  Driver().OnModal([&](const ModalInfo& info) {
    GetWindowRect(info.hwnd, &shownAt);
    return ModalAnswer::MenuItem(u"Insert");
  });
  const POINT onStrip = Driver().ClientPoint(form->Handle(), 30, 40);
  Driver().Press(1, onStrip);
  Driver().Release(1, onStrip);
  Driver().RunUntilIdle();
  EXPECT_EQ(form->log, (std::vector<std::string>{"context 20,30", "popup", "click InsertItem"}));
  EXPECT_EQ(menu->PopupComponent(), strip);
  EXPECT_EQ(shownAt.left, onStrip.x);
  EXPECT_EQ(shownAt.top, onStrip.y);

  // Beside the strip, and over a windowed child without a menu: the form's own menu.
  for (POINT at : {POINT{200, 150}, POINT{180, 30}}) {
    form->log.clear();
    Driver().OnModal([](const ModalInfo&) { return ModalAnswer::MenuItem(u"Close"); });
    Driver().Press(1, Driver().ClientPoint(form->Handle(), at.x, at.y));
    Driver().Release(1, Driver().ClientPoint(form->Handle(), at.x, at.y));
    Driver().RunUntilIdle();
    EXPECT_EQ(form->log, (std::vector<std::string>{"click CloseItem"})) << at.x;
    EXPECT_EQ(formMenu->PopupComponent(), form);
  }

  // OnContextPopup can cancel; without AutoPopup nothing shows; a left click shows nothing.
  const size_t modals = Driver().ModalsSeen().size();
  form->log.clear();
  form->cancelContext = true;
  Driver().Press(1, onStrip);
  Driver().Release(1, onStrip);
  Driver().RunUntilIdle();
  EXPECT_EQ(form->log, (std::vector<std::string>{"context 20,30"}));
  form->cancelContext = false;
  menu->SetAutoPopup(false);
  formMenu->SetAutoPopup(false);
  Driver().Press(1, onStrip);
  Driver().Release(1, onStrip);
  Driver().Click(onStrip);
  Driver().RunUntilIdle();
  EXPECT_EQ(Driver().ModalsSeen().size(), modals);

  // Asked from the keyboard (no pointer position): the menu shows at the control's corner.
  formMenu->SetAutoPopup(true);
  Driver().OnModal([&](const ModalInfo& info) {
    GetWindowRect(info.hwnd, &shownAt);
    return ModalAnswer::Cancel();
  });
  form->Perform(WM_CONTEXTMENU, WPARAM(form->Handle()), MAKELPARAM(0xFFFF, 0xFFFF));
  const POINT corner = Driver().ClientPoint(form->Handle(), 0, 0);
  EXPECT_EQ(shownAt.left, corner.x);
  EXPECT_EQ(shownAt.top, corner.y);

  // A freed menu leaves no dangling reference behind.
  delete menu;
  EXPECT_EQ(strip->PopupMenu(), nullptr);
  menu = nullptr;
}

TEST_F(MenusTest, ItemsAreAddedInsertedDeletedAndFreedWithTheirEntries) {
  auto* popup = new TPopupMenu(form);
  TMenuItem* root = popup->Items();
  auto* a = new TMenuItem(form);
  auto* b = new TMenuItem(form);
  auto* c = new TMenuItem(nullptr);
  a->SetCaption("A");
  b->SetCaption("B");
  c->SetCaption("C");
  root->Add(a);
  root->Insert(0, b);
  EXPECT_EQ(root->IndexOf(a), 1);
  EXPECT_EQ(a->MenuIndex(), 1);
  EXPECT_THROW(root->Add(a), EMenuError);
  EXPECT_THROW(a->Add(root), EMenuError);
  EXPECT_THROW(root->Items(2), EMenuError);
  EXPECT_THROW(root->Remove(c), EMenuError);
  a->Add(c);  // a becomes a sub-menu
  HMENU h = popup->Handle();
  EXPECT_EQ(GetSubMenu(h, 1), a->Handle());
  // Delete takes the entry out without freeing it.
  root->Delete(0);
  EXPECT_EQ(b->Parent(), nullptr);
  EXPECT_EQ(GetMenuItemCount(h), 1);
  root->Add(b);
  EXPECT_EQ(GetMenuItemCount(h), 2);
  // Freeing an item frees its entries and leaves its parent's system menu.
  int gone = 0;
  struct Watch : TComponent {
    int& gone;
    Watch(int& g) : TComponent(nullptr), gone(g) {}
    void Notification(TComponent* component, TOperation operation) override {
      if (operation == opRemove && component) ++gone;
    }
  } watch(gone);
  c->FreeNotification(&watch);
  delete a;
  EXPECT_EQ(gone, 1);
  EXPECT_EQ(root->Count(), 1);
  EXPECT_EQ(GetMenuItemCount(h), 1);
  root->Clear();
  EXPECT_EQ(root->Count(), 0);
  EXPECT_EQ(form->FindComponent("B"), nullptr);
  delete popup;
}

TEST_F(MenusTest, OwnerDrawnItemsAreMeasuredAndDrawnByTheProgram) {
  menu->SetOwnerDraw(true);
  TMenuItem* insert = Item("InsertItem");
  insert->OnMeasureItem = [](TObject*, TCanvas*, int& width, int& height) {
    width = 150;
    height = 30;
  };
  insert->OnAdvancedDrawItem = [](TObject*, TCanvas* canvas, RECT r, TOwnerDrawState) {
    canvas->Brush()->SetColor(clRed);
    canvas->FillRect(r);
  };
  platform::headless::CaptureImage image;
  Driver().OnModal([&](const ModalInfo& info) {
    return ModalAnswer::Drive([&, popup = info.hwnd] {
      image = Driver().Capture(popup);
      Driver().Chord("Esc");
    });
  });
  menu->Popup(50, 50);
  ASSERT_GE(image.height, kFrame + 30 + kItem);
  EXPECT_EQ(image.At(kFrame + 5, kFrame + 28), 0xFF0000u);  // the program's 30 pixels
  EXPECT_NE(image.At(kFrame + 5, kFrame + 31), 0xFF0000u);  // the next entry drawn by default
}

TEST_F(MenusTest, AnItemFollowsItsActionAndChoosingItRunsTheAction) {
  auto* list = new TActionList(form);
  auto* action = new TAction(form);
  action->SetActionList(list);
  action->SetCaption("&Paste");
  action->SetShortCut(scCtrl | 'V');
  std::vector<TComponent*> executedBy;
  action->OnExecute = [&](TObject* sender) {
    executedBy.push_back(static_cast<TAction*>(sender)->ActionComponent);
  };
  bool allowed = true;
  action->OnUpdate = [&](TObject*) { action->SetEnabled(allowed); };
  TMenuItem* item = Item("DeleteItem");
  item->OnClick = nullptr;
  item->SetAction(action);
  EXPECT_EQ(item->ActionLink()->ClassType(), &typeid(TMenuActionLink));
  EXPECT_EQ(item->Caption(), "&Paste");
  EXPECT_EQ(MenuString(menu->Handle(), UINT(item->Command()), MF_BYCOMMAND), u"&Paste\tCtrl+V");
  action->SetChecked(true);
  EXPECT_TRUE(item->Checked());

  // Choosing the item runs the action with the item as its component.
  Driver().OnModal([](const ModalInfo&) { return ModalAnswer::MenuItem(u"Paste"); });
  menu->Popup(50, 50);
  Driver().RunUntilIdle();
  EXPECT_EQ(executedBy, std::vector<TComponent*>{item});
  // The menu brings its items up to date as it opens: a disabled action's item is grayed.
  allowed = false;
  bool grayed = false;
  Driver().OnModal([&](const ModalInfo&) {
    grayed = GetMenuState(menu->Handle(), UINT(item->Command()), MF_BYCOMMAND) & MF_GRAYED;
    return ModalAnswer::MenuItem(u"Paste");
  });
  menu->Popup(50, 50);
  Driver().RunUntilIdle();
  EXPECT_TRUE(grayed);
  EXPECT_EQ(executedBy.size(), 1u);
  // The action freed: the item keeps what it shows and forgets the link.
  delete action;
  EXPECT_EQ(item->Action(), nullptr);
  EXPECT_EQ(item->Caption(), "&Paste");
}

TEST_F(MenusTest, AWrittenLayoutNestsItemsInTheirMenuAndReadsBackTheSame) {
  const std::string written = WriteComponentText(form);
  // Items sit inside their menu (and sub-items inside theirs), not at the form's level.
  const size_t menuAt = written.find("object StripMenu: TPopupMenu");
  const size_t smallAt = written.find("object SmallItem: TMenuItem");
  const size_t formMenuAt = written.find("object FormMenu: TPopupMenu");
  ASSERT_NE(menuAt, std::string::npos);
  ASSERT_NE(smallAt, std::string::npos);
  EXPECT_LT(menuAt, smallAt);
  EXPECT_LT(smallAt, formMenuAt);
  EXPECT_NE(written.find("ShortCut = 16457"), std::string::npos);
  EXPECT_NE(written.find("PopupMenu = FormMenu"), std::string::npos);
  auto* again = new TMenuForm(nullptr);
  ReadComponentText(again, written);
  const std::string rewritten = WriteComponentText(again);
  EXPECT_EQ(rewritten.substr(rewritten.find("object StripMenu")), written.substr(menuAt));
  auto* items = dynamic_cast<TPopupMenu*>(again->FindComponent("StripMenu"))->Items();
  EXPECT_EQ(items->Count(), 6);
  EXPECT_EQ(items->Items(5)->Items(1)->Name(), "LargeItem");
  delete again;
}

}  // namespace
