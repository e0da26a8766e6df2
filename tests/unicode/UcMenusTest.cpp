// Shortcut texts, hotkey marks and the Unicode menus: wide captions written into the system
// menu, the highlighted item's wide hint, and the popup list put back after a popup.
#include "UcFixture.h"
#include "platform/controls/Menus.h"
#include "platform/forms/TPopupList.h"
#include "platform/rtl/Exceptions.h"
#include "unicode/CodePageConversion.h"
#include "unicode/TUcApplication.h"
#include "unicode/TUcMenuItem.h"
#include "unicode/TUcPopupMenu.h"
#include "unicode/UcShortCuts.h"

namespace uctest {
namespace {

TEST(UcShortCutTexts, ShortcutsNameModifiersInOrderAndKeysOfTheLayout) {
  struct Case {
    TShortCut shortCut;
    const char16_t* text;
  };
  const Case cases[] = {{0x6053, u"Shift+Ctrl+S"},
                        {32847, u"Alt+O"},
                        {0x4070, u"Ctrl+F1"},
                        {0x2E, u"Del"},
                        {0x60, u"0"},
                        {0xE8, u""}};
  for (const Case& c : cases) EXPECT_EQ(WideShortCutToText(c.shortCut), WideString(c.text)) << c.shortCut;
}

TEST(UcShortCutTexts, TextsNameShortcutsWithExactModifierWords) {
  struct Case {
    const char16_t* text;
    TShortCut shortCut;
  };
  const Case cases[] = {{u"Ctrl+Shift+S", 0x6053}, {u"^S", 0x4053}, {u"Ctrl+", 0}, {u"ctrl+s", 0},
                        {u"Alt+o", 32847},         {u"", 0}};
  for (const Case& c : cases)
    EXPECT_EQ(WideTextToShortCut(c.text), c.shortCut) << WideStringToUTF8(c.text).c_str();
  // Every named key comes back from its text (a name two keys share gives the main one).
  for (unsigned key = 8; key <= 255; ++key) {
    const WideString text = WideShortCutToText(TShortCut(key | scCtrl));
    if (text.IsEmpty()) continue;
    EXPECT_EQ(WideShortCutToText(WideTextToShortCut(text)), text) << key;
  }
}

TEST(UcHotkeys, TheMarkedCharacterAndTheCaptionWithoutMarks) {
  struct Case {
    const char16_t* caption;
    const char16_t* hotkey;
    const char16_t* stripped;
  };
  const Case cases[] = {{u"&File", u"F", u"File"},
                        {u"a&&b", u"", u"a&b"},
                        {u"abc&", u"", u"abc"},
                        {u"&a&b", u"b", u"ab"},
                        {u"\u1780&\u1781", u"\u1781", u"\u1780\u1781"}};
  for (const Case& c : cases) {
    EXPECT_EQ(WideGetHotkey(c.caption), WideString(c.hotkey));
    EXPECT_EQ(WideStripHotkey(c.caption), WideString(c.stripped));
  }
  EXPECT_TRUE(WideSameCaption(u"&Open", u"oPEN"));
  EXPECT_TRUE(IsWideCharAccel(0x1781, u"\u1780&\u1781"));
  EXPECT_TRUE(IsWideCharAccel('f', u"&File"));
}

using UcMenus = UcTest;

TEST_F(UcMenus, AMarkTheFormLibraryMovedMovesInTheWideCaptionToo) {
  struct Case {
    UINT page;
    const char16_t* wide;
    const char* remarked;  // the 8-bit caption after 8-bit code moved the mark
    const char16_t* expected;
  };
  const Case cases[] = {
      {1252, u"M\u1EDF &t\u1EC7p", "&M? t?p", u"&M\u1EDF t\u1EC7p"},
      {65001, u"M\u1EDF &t\u1EC7p", "&M\xE1\xBB\x9F t\xE1\xBB\x87p", u"&M\u1EDF t\u1EC7p"},
      {65001, u"\u1780&\u1781\u1782", "\xE1\x9E\x80\xE1\x9E\x81&\xE1\x9E\x82", u"\u1780\u1781&\u1782"},
  };
  for (const Case& c : cases) {
    CodePageScope page(c.page);
    auto* item = new TUcMenuItem(nullptr);
    item->SetCaption(c.wide);
    item->TMenuItem::SetCaption(c.remarked);
    EXPECT_EQ(item->Caption(), WideString(c.expected));
    delete item;
  }
}

TEST_F(UcMenus, TheSystemMenuShowsTheWideCaptionAndTheShortcut) {
  CodePageScope page(1252);
  TForm* form = NewForm();
  auto* menu = new TUcPopupMenu(form);
  auto* item = new TUcMenuItem(form);
  item->SetCaption(kKhmer);
  item->SetShortCut(0x6053);
  menu->Items()->Add(item);
  char16_t buffer[128] = {};
  GetMenuStringW(menu->Items()->Handle(), UINT(item->Command()), buffer, 128, MF_BYCOMMAND);
  EXPECT_EQ(std::u16string(buffer), std::u16string(kKhmer) + u"\tShift+Ctrl+S");
  item->SetCaption(kVietnamese);
  GetMenuStringW(menu->Items()->Handle(), UINT(item->Command()), buffer, 128, MF_BYCOMMAND);
  EXPECT_EQ(std::u16string(buffer), std::u16string(kVietnamese) + u"\tShift+Ctrl+S");
  // A sibling's change rebuilds the menu in 8 bits; the wide captions are written again.
  auto* sibling = new TUcMenuItem(form);
  menu->Items()->Add(sibling);
  sibling->SetCaption(u"\u1780");
  GetMenuStringW(menu->Items()->Handle(), UINT(item->Command()), buffer, 128, MF_BYCOMMAND);
  EXPECT_EQ(std::u16string(buffer), std::u16string(kVietnamese) + u"\tShift+Ctrl+S");
}

TEST_F(UcMenus, OwnerDrawnTopLevelEntriesThatNothingDrawsShowTheirCaptions) {
  CodePageScope page(1252);
  TForm* form = NewForm();
  auto* menu = new TUcMainMenu(form);
  menu->SetOwnerDraw(true);
  auto* wide = new TUcMenuItem(form);
  wide->SetCaption(kKhmer);
  auto* plain = new TMenuItem(form);
  plain->SetCaption("&Edit");
  auto* drawn = new TUcMenuItem(form);
  drawn->SetCaption(u"Drawn");
  drawn->OnDrawItem = [](TObject*, TCanvas*, RECT, bool) {};
  for (TMenuItem* item : {static_cast<TMenuItem*>(wide), plain, static_cast<TMenuItem*>(drawn)})
    menu->Items()->Add(item);
  auto ownerDrawn = [&](TMenuItem* item) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    EXPECT_TRUE(GetMenuItemInfoW(menu->Handle(), UINT(item->Command()), FALSE, &info));
    return (info.fType & MFT_OWNERDRAW) != 0;
  };
  EXPECT_TRUE(ownerDrawn(wide) && ownerDrawn(plain));
  NoOwnerDrawTopLevelItems(menu);
  struct Case {
    TMenuItem* item;
    bool ownerDrawn;
    std::u16string text;  // the entry's string once it is a plain one
  };
  const Case cases[] = {{wide, false, kKhmer}, {plain, false, u"&Edit"}, {drawn, true, u""}};
  for (const Case& c : cases) {
    SCOPED_TRACE(WideStringToUTF8(WideGetMenuItemCaption(c.item)).c_str());
    EXPECT_EQ(ownerDrawn(c.item), c.ownerDrawn);
    if (c.ownerDrawn) continue;
    char16_t buffer[64] = {};
    GetMenuStringW(menu->Handle(), UINT(c.item->Command()), buffer, 64, MF_BYCOMMAND);
    EXPECT_EQ(std::u16string(buffer), c.text);
  }
}

TEST_F(UcMenus, TheHighlightedItemsLongHintBecomesTheApplicationsWideHint) {
  CodePageScope page(1252);
  TForm* form = NewForm();
  auto* menu = new TUcPopupMenu(form);
  auto* item = new TUcMenuItem(form);
  item->SetCaption(u"Insert");
  item->SetHint(u"Insert|Ch\u00E8n \u1EA3nh");
  menu->Items()->Add(item);
  HWND owner = UcPopupList->Window();
  SendMessageW(owner, WM_MENUSELECT, MAKEWPARAM(WORD(item->Command()), 0),
               reinterpret_cast<LPARAM>(menu->Items()->Handle()));
  EXPECT_EQ(UcApplication->Hint(), WideString(u"Ch\u00E8n \u1EA3nh"));
  EXPECT_EQ(Application->Hint(), AnsiString("Ch\xE8n ?nh"));
  SendMessageW(owner, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
  EXPECT_EQ(UcApplication->Hint(), WideString());
}

TEST_F(UcMenus, APopupUsesTheLayersListAndPutsTheFormLibrarysBack) {
  TForm* form = NewForm();
  TPopupList* own = PopupList;
  auto* menu = new TUcPopupMenu(form);
  auto* item = new TUcMenuItem(form);
  item->SetCaption(u"One");
  menu->Items()->Add(item);
  TPopupList* during = nullptr;
  Driver().OnModal([&](const platform::win::ModalInfo&) {
    during = PopupList;
    return platform::win::ModalAnswer::Cancel();
  });
  menu->Popup(50, 50);
  EXPECT_EQ(during, own);  // the menu loop itself runs with the form library's list again
  EXPECT_EQ(PopupList, own);
  menu->OnPopup = [](TObject*) { throw EInvalidOperation("refused"); };
  EXPECT_THROW(menu->Popup(50, 50), EInvalidOperation);
  EXPECT_EQ(PopupList, own);
}

TEST_F(UcMenus, MeasuringGivesTheEventTheWideWidthAndReattachesItAfterAnError) {
  TForm* form = NewForm();
  (void)form;
  auto* item = new TUcMenuItem(nullptr);
  item->SetCaption(u"\u1780\u1781\u1782");
  TCanvas* canvas = Application->MainForm->Canvas();
  int calls = 0;
  item->OnMeasureItem = [&](TObject*, TCanvas*, int&, int&) {
    if (++calls == 1) throw EInvalidOperation("measure");
  };
  int width = 0, height = 0;
  EXPECT_THROW(item->MeasureItem(canvas, width, height), EInvalidOperation);
  ASSERT_TRUE(bool(item->OnMeasureItem));
  item->MeasureItem(canvas, width, height);
  EXPECT_EQ(calls, 2);
  delete item;
}

}  // namespace
}  // namespace uctest
