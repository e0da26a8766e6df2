// LISTBOX: sorted insertion without regard to case (Vietnamese and Khmer items), searching,
// the answers to bad indexes, LB_GETTEXT's bounded copy in both forms, keyboard, type-ahead and
// mouse selection with their notifications, owner drawing, and the window scroll bar appearing,
// scrolling the items and going away.
#include <cstring>

#include "ControlsTestSupport.h"
#include "platform/rtl/CodePage.h"

using namespace controlstest;

namespace {

class ListBoxTest : public ControlsTest {
 protected:
  void SetUp() override {
    ControlsTest::SetUp();
    driver().UseFixedMetricFont(7, 10);  // items 10 pixels high
  }
  HWND List(DWORD style, int height = 100, int id = 5) {
    HWND h = Child(u"LISTBOX", u"", style, 10, 10, 150, height, id);
    driver().RunUntilIdle();
    Notifications().clear();
    return h;
  }
  static LRESULT Add(HWND h, const std::u16string& s) {
    return SendMessageW(h, LB_ADDSTRING, 0, LPARAM(s.c_str()));
  }
  static std::u16string Text(HWND h, int i) { return ItemText(h, LB_GETTEXTLEN, LB_GETTEXT, i); }
  static std::vector<std::u16string> Items(HWND h) {
    std::vector<std::u16string> out;
    for (int i = 0; i < int(SendMessageW(h, LB_GETCOUNT, 0, 0)); ++i) out.push_back(Text(h, i));
    return out;
  }
  void ClickItem(HWND h, int item) {
    driver().Click(driver().ClientPoint(h, 20, item * 10 + 5));
    driver().RunUntilIdle();
  }
};

TEST_F(ListBoxTest, SortedInsertionIgnoresCaseAndKeepsEqualItemsInArrivalOrder) {
  HWND h = List(LBS_SORT | LBS_NOTIFY);
  for (const std::u16string s : {u"Đèn", u"apple", u"Bánh mì", u"ánh sáng", u"ការ", u"ក", u"Apple"})
    EXPECT_GE(Add(h, s), 0);
  // Case folded, then by code unit: Latin before the Vietnamese letters beyond it, Khmer last,
  // a prefix before the longer text.
  EXPECT_EQ(Items(h),
            (std::vector<std::u16string>{u"apple", u"Apple", u"Bánh mì", u"ánh sáng", u"Đèn", u"ក", u"ការ"}));
  // LB_INSERTSTRING puts an item where it is told, sorted or not.
  EXPECT_EQ(SendMessageW(h, LB_INSERTSTRING, 0, LPARAM(u"zzz")), 0);
  EXPECT_EQ(Text(h, 0), u"zzz");
  EXPECT_EQ(SendMessageW(h, LB_INSERTSTRING, WPARAM(-1), LPARAM(u"end")), 8);
}

TEST_F(ListBoxTest, SearchesMatchPrefixesOrWholeTextsWithoutRegardToCaseAndWrapAround) {
  HWND h = List(LBS_NOTIFY);
  for (const std::u16string s : {u"Tiếng Việt", u"tiếng anh", u"ភាសាខ្មែរ", u"TIẾNG"}) Add(h, s);
  struct Case {
    UINT msg;
    int start;
    std::u16string text;
    LRESULT found;
  } cases[] = {
      {LB_FINDSTRING, -1, u"TIẾNG", 0},
      {LB_FINDSTRING, 0, u"tiếng", 1},
      {LB_FINDSTRING, 3, u"tiếng v", 0},
      {LB_FINDSTRING, -1, u"ភាសា", 2},
      {LB_FINDSTRINGEXACT, -1, u"tiếng", 3},
      {LB_FINDSTRINGEXACT, -1, u"tiếng việt", 0},
      {LB_FINDSTRINGEXACT, -1, u"tiếng v", LB_ERR},
      {LB_FINDSTRING, -1, u"x", LB_ERR},
  };
  for (const Case& c : cases)
    EXPECT_EQ(SendMessageW(h, c.msg, WPARAM(c.start), LPARAM(c.text.c_str())), c.found)
        << platform::Utf16ToMultiByte(c.text, CP_UTF8) << " from " << c.start;
  EXPECT_EQ(SendMessageW(h, LB_SELECTSTRING, WPARAM(-1), LPARAM(u"ភា")), 2);
  EXPECT_EQ(SendMessageW(h, LB_GETCURSEL, 0, 0), 2);
  EXPECT_EQ(Count(LBN_SELCHANGE), 0);  // messages never notify
}

TEST_F(ListBoxTest, BadIndexesAnswerErrorAndChangeNothing) {
  HWND h = List(LBS_NOTIFY);
  Add(h, u"a");
  Add(h, u"b");
  SendMessageW(h, LB_SETCURSEL, 1, 0);
  char16_t buffer[8] = {u'#'};
  RECT r;
  struct Case {
    const char* name;
    UINT msg;
    WPARAM w;
    LPARAM l;
  } cases[] = {
      {"GETTEXT", LB_GETTEXT, 2, LPARAM(buffer)},  {"GETTEXTLEN", LB_GETTEXTLEN, WPARAM(-1), 0},
      {"DELETESTRING", LB_DELETESTRING, 5, 0},     {"INSERTSTRING", LB_INSERTSTRING, 3, LPARAM(u"x")},
      {"SETCURSEL", LB_SETCURSEL, 7, 0},           {"GETITEMDATA", LB_GETITEMDATA, WPARAM(-1), 0},
      {"SETITEMDATA", LB_SETITEMDATA, 2, 9},       {"GETSEL", LB_GETSEL, 2, 0},
      {"SETSEL on single", LB_SETSEL, TRUE, 0},    {"GETSELCOUNT on single", LB_GETSELCOUNT, 0, 0},
      {"SETTOPINDEX", LB_SETTOPINDEX, 4, 0},       {"GETITEMRECT", LB_GETITEMRECT, 3, LPARAM(&r)},
      {"SETITEMHEIGHT 0", LB_SETITEMHEIGHT, 0, 0}, {"SETCOUNT without LBS_NODATA", LB_SETCOUNT, 10, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(SendMessageW(h, c.msg, c.w, c.l), LB_ERR) << c.name;
  EXPECT_EQ(buffer[0], u'#');
  EXPECT_EQ(Items(h), (std::vector<std::u16string>{u"a", u"b"}));
  EXPECT_EQ(SendMessageW(h, LB_GETCURSEL, 0, 0), 1);
  // -1 clears the selection, and the classic answer is still LB_ERR.
  EXPECT_EQ(SendMessageW(h, LB_SETCURSEL, WPARAM(-1), 0), LB_ERR);
  EXPECT_EQ(SendMessageW(h, LB_GETCURSEL, 0, 0), LB_ERR);
  // Deleting moves the selection with its item.
  SendMessageW(h, LB_SETCURSEL, 1, 0);
  EXPECT_EQ(SendMessageW(h, LB_DELETESTRING, 0, 0), 1);
  EXPECT_EQ(SendMessageW(h, LB_GETCURSEL, 0, 0), 0);
  EXPECT_EQ(Count(LBN_SELCHANGE), 0);
}

TEST_F(ListBoxTest, GetTextWritesTheItemAndItsTerminatorOnlyInEitherForm) {
  HWND wide = List(0);
  const std::u16string khmer = u"ភាសាខ្មែរ";
  Add(wide, khmer);
  SendMessageW(wide, LB_SETITEMDATA, 0, 0x1234);
  char16_t w[16];
  std::fill(std::begin(w), std::end(w), u'#');
  EXPECT_EQ(SendMessageW(wide, LB_GETTEXTLEN, 0, 0), LRESULT(khmer.size()));
  EXPECT_EQ(SendMessageW(wide, LB_GETTEXT, 0, LPARAM(w)), LRESULT(khmer.size()));
  EXPECT_EQ(std::u16string(w), khmer);
  EXPECT_EQ(w[khmer.size() + 1], u'#');
  EXPECT_EQ(SendMessageW(wide, LB_GETITEMDATA, 0, 0), 0x1234);
  // An 8-bit list keeps the same store and answers in bytes of the system code page (UTF-8).
  HWND narrow = CreateWindowExA(0, "LISTBOX", "", WS_CHILD | WS_VISIBLE, 0, 0, 100, 100, parent, nullptr,
                                nullptr, nullptr);
  const std::string bytes = platform::Utf16ToMultiByte(khmer, CP_UTF8);
  EXPECT_EQ(SendMessageA(narrow, LB_ADDSTRING, 0, LPARAM(bytes.c_str())), 0);
  char a[40];
  std::memset(a, '#', sizeof a);
  EXPECT_EQ(SendMessageA(narrow, LB_GETTEXTLEN, 0, 0), LRESULT(bytes.size()));
  EXPECT_EQ(SendMessageA(narrow, LB_GETTEXT, 0, LPARAM(a)), LRESULT(bytes.size()));
  EXPECT_EQ(std::string(a), bytes);
  EXPECT_EQ(a[bytes.size() + 1], '#');
  EXPECT_EQ(SendMessageA(narrow, LB_FINDSTRINGEXACT, WPARAM(-1), LPARAM(bytes.c_str())), 0);
}

TEST_F(ListBoxTest, KeysMoveTheSelectionAndNotifyOncePerChange) {
  HWND h = List(LBS_NOTIFY | WS_VSCROLL, 50);  // five items fit
  for (int i = 0; i < 12; ++i) Add(h, u"item " + std::u16string(1, char16_t(u'a' + i)));
  FocusQuietly(h);
  struct Case {
    int vk;
    LRESULT sel;
    LRESULT top;
  } cases[] = {{VK_DOWN, 0, 0}, {VK_DOWN, 1, 0},  {VK_NEXT, 5, 1}, {VK_END, 11, 7},
               {VK_UP, 10, 7},  {VK_PRIOR, 6, 6}, {VK_HOME, 0, 0}};
  int expectedChanges = 0;
  for (const Case& c : cases) {
    Key(c.vk);
    ++expectedChanges;
    EXPECT_EQ(SendMessageW(h, LB_GETCURSEL, 0, 0), c.sel) << c.vk;
    EXPECT_EQ(SendMessageW(h, LB_GETTOPINDEX, 0, 0), c.top) << c.vk;
    EXPECT_EQ(Count(LBN_SELCHANGE), expectedChanges) << c.vk;
  }
  Key(VK_HOME);  // already there: nothing changes, nothing is said
  EXPECT_EQ(Count(LBN_SELCHANGE), expectedChanges);
}

TEST_F(ListBoxTest, TypeAheadFindsItemsByTheirFirstLetters) {
  HWND h = List(LBS_NOTIFY | LBS_SORT);
  for (const std::u16string s : {u"banana", u"bánh", u"berry", u"apple", u"ភាសា", u"ភូមិ"}) Add(h, s);
  // Sorted: apple, banana, berry, bánh, ភាសា, ភូមិ
  SetFocus(h);
  driver().RunUntilIdle();
  driver().Type(u"b");
  driver().RunUntilIdle();
  EXPECT_EQ(Text(h, int(SendMessageW(h, LB_GETCURSEL, 0, 0))), u"banana");
  driver().Advance(1500);
  driver().Type(u"b");  // the same letter again moves on
  driver().RunUntilIdle();
  EXPECT_EQ(Text(h, int(SendMessageW(h, LB_GETCURSEL, 0, 0))), u"berry");
  driver().Advance(1500);
  driver().Type(u"bá");  // quick keys extend the prefix
  driver().RunUntilIdle();
  EXPECT_EQ(Text(h, int(SendMessageW(h, LB_GETCURSEL, 0, 0))), u"bánh");
  driver().Advance(1500);
  driver().Type(u"ភូ");
  driver().RunUntilIdle();
  EXPECT_EQ(Text(h, int(SendMessageW(h, LB_GETCURSEL, 0, 0))), u"ភូមិ");
  EXPECT_EQ(Count(LBN_SELCHANGE), 5);
}

TEST_F(ListBoxTest, TypeAheadInAnEightBitListWaitsForWholeCharacters) {
  HWND h = CreateWindowExA(0, "LISTBOX", "", WS_CHILD | WS_VISIBLE | LBS_NOTIFY, 0, 0, 100, 100, parent,
                           reinterpret_cast<HMENU>(uintptr_t(6)), nullptr, nullptr);
  for (const std::u16string s : {u"ភាសា", u"ភូមិ", u"ក"})
    SendMessageA(h, LB_ADDSTRING, 0, LPARAM(platform::Utf16ToMultiByte(s, CP_UTF8).c_str()));
  FocusQuietly(h);
  driver().Type(u"ភូ");  // reaches the 8-bit window as two three-byte characters
  driver().RunUntilIdle();
  EXPECT_EQ(SendMessageW(h, LB_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(Count(LBN_SELCHANGE), 2);  // "ភ" finds the first, "ភូ" the second
}

TEST_F(ListBoxTest, MouseSelectsInEachSelectionStyle) {
  struct Case {
    const char* name;
    DWORD style;
    std::vector<std::pair<int, int>> clicks;  // item, modifiers
    std::vector<int> selected;
  } cases[] = {
      {"single", 0, {{1, 0}, {3, 0}}, {3}},
      {"multiple toggles", LBS_MULTIPLESEL, {{1, 0}, {3, 0}, {1, 0}, {4, 0}}, {3, 4}},
      {"extended plain", LBS_EXTENDEDSEL, {{1, 0}, {3, 0}}, {3}},
      {"extended shift", LBS_EXTENDEDSEL, {{1, 0}, {3, platform::headless::kShift}}, {1, 2, 3}},
      {"extended ctrl", LBS_EXTENDEDSEL, {{1, 0}, {4, platform::headless::kCtrl}}, {1, 4}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HWND h = List(LBS_NOTIFY | c.style);
    for (int i = 0; i < 6; ++i) Add(h, std::u16string(1, char16_t(u'a' + i)));
    Notifications().clear();
    for (auto [item, mods] : c.clicks) {
      if (mods & platform::headless::kShift) driver().KeyDown(VK_SHIFT);
      if (mods & platform::headless::kCtrl) driver().KeyDown(VK_CONTROL);
      ClickItem(h, item);
      if (mods & platform::headless::kShift) driver().KeyUp(VK_SHIFT);
      if (mods & platform::headless::kCtrl) driver().KeyUp(VK_CONTROL);
      driver().RunUntilIdle();
    }
    std::vector<int> selected;
    for (int i = 0; i < 6; ++i)
      if (SendMessageW(h, LB_GETSEL, WPARAM(i), 0) > 0) selected.push_back(i);
    EXPECT_EQ(selected, c.selected);
    EXPECT_EQ(Count(LBN_SELCHANGE), int(c.clicks.size()));
    EXPECT_EQ(GetFocus(), h);
    if (c.style) {
      EXPECT_EQ(SendMessageW(h, LB_GETSELCOUNT, 0, 0), LRESULT(c.selected.size()));
      int items[8];
      EXPECT_EQ(SendMessageW(h, LB_GETSELITEMS, 8, LPARAM(items)), LRESULT(c.selected.size()));
      EXPECT_EQ(std::vector<int>(items, items + c.selected.size()), c.selected);
    }
    DestroyWindow(h);
  }
}

TEST_F(ListBoxTest, DoubleClickNotifiesOnlyUnderLbsNotify) {
  for (DWORD style : {DWORD(LBS_NOTIFY), DWORD(0)}) {
    HWND h = List(style);
    Add(h, u"one");
    Add(h, u"two");
    Notifications().clear();
    driver().DoubleClick(driver().ClientPoint(h, 20, 15));
    driver().RunUntilIdle();
    EXPECT_EQ(SendMessageW(h, LB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(Count(LBN_DBLCLK), style ? 1 : 0);
    EXPECT_EQ(Count(LBN_SELCHANGE), style ? 1 : 0);
    for (const auto& n : Notifications()) EXPECT_EQ(n.from, h);
    DestroyWindow(h);
  }
}

TEST_F(ListBoxTest, OwnerDrawnItemsAreMeasuredOnceAndDrawnByTheParent) {
  HWND owner = OwnerDrawParent();
  OwnerDrawn().itemHeight = [](const MEASUREITEMSTRUCT&) { return 20u; };
  HWND h = CreateWindowExW(0, u"LISTBOX", u"", WS_CHILD | WS_VISIBLE | LBS_OWNERDRAWFIXED, 0, 0, 100, 50,
                           owner, reinterpret_cast<HMENU>(uintptr_t(9)), nullptr, nullptr);
  EXPECT_EQ(OwnerDrawn().measured.size(), 1u);
  EXPECT_EQ(SendMessageW(h, LB_GETITEMHEIGHT, 0, 0), 20);
  // Without LBS_HASSTRINGS the "string" is the item's data.
  for (ULONG_PTR d : {0x10u, 0x20u, 0x30u, 0x40u}) SendMessageW(h, LB_ADDSTRING, 0, LPARAM(d));
  SendMessageW(h, LB_SETCURSEL, 1, 0);
  ULONG_PTR data = 0;
  EXPECT_EQ(SendMessageW(h, LB_GETTEXT, 2, LPARAM(&data)), LRESULT(sizeof(ULONG_PTR)));
  EXPECT_EQ(data, 0x30u);
  EXPECT_EQ(SendMessageW(h, LB_FINDSTRING, WPARAM(-1), 0x40), 3);
  OwnerDrawn().drawn.clear();
  InvalidateRect(h, nullptr, TRUE);
  driver().RunUntilIdle();
  // Two and a half items fit: three are drawn, each with its data, rectangle and state.
  ASSERT_EQ(OwnerDrawn().drawn.size(), 3u);
  for (UINT i = 0; i < 3; ++i) {
    const DRAWITEMSTRUCT& d = OwnerDrawn().drawn[i];
    EXPECT_EQ(d.CtlType, UINT(ODT_LISTBOX));
    EXPECT_EQ(d.CtlID, 9u);
    EXPECT_EQ(d.itemID, i);
    EXPECT_EQ(d.itemData, 0x10u * (i + 1));
    EXPECT_EQ(d.rcItem.top, LONG(i * 20));
    EXPECT_EQ(d.rcItem.bottom - d.rcItem.top, 20);
    EXPECT_EQ(d.hwndItem, h);
    EXPECT_EQ((d.itemState & ODS_SELECTED) != 0, i == 1);
  }
}

TEST_F(ListBoxTest, NoDataListsTakeACountInsteadOfItems) {
  HWND h = List(LBS_NODATA | LBS_OWNERDRAWFIXED | WS_VSCROLL);
  EXPECT_EQ(SendMessageW(h, LB_ADDSTRING, 0, LPARAM(u"x")), LB_ERR);
  EXPECT_EQ(SendMessageW(h, LB_SETCOUNT, 1000, 0), LB_OKAY);
  EXPECT_EQ(SendMessageW(h, LB_GETCOUNT, 0, 0), 1000);
  EXPECT_EQ(SendMessageW(h, LB_SETCURSEL, 999, 0), 999);
  EXPECT_GT(SendMessageW(h, LB_GETTOPINDEX, 0, 0), 900);  // scrolled to the selection
  SCROLLINFO si{sizeof si, SIF_RANGE, 0, 0, 0, 0, 0};
  ASSERT_TRUE(GetScrollInfo(h, SB_VERT, &si));
  EXPECT_EQ(si.nMax, 999);
  EXPECT_EQ(SendMessageW(h, LB_SETCOUNT, 0, 0), LB_OKAY);
  EXPECT_EQ(SendMessageW(h, LB_GETCURSEL, 0, 0), LB_ERR);
}

TEST_F(ListBoxTest, VariableItemsAreMeasuredOneByOneAndLaidOutByTheirHeights) {
  HWND owner = OwnerDrawParent();
  // 10, 20 or 30 pixels by the item's data.
  OwnerDrawn().itemHeight = [](const MEASUREITEMSTRUCT& m) { return UINT(10 + 10 * (m.itemData % 3)); };
  HWND h = CreateWindowExW(0, u"LISTBOX", u"", WS_CHILD | WS_VISIBLE | LBS_OWNERDRAWVARIABLE | WS_VSCROLL, 0,
                           0, 100, 100, owner, reinterpret_cast<HMENU>(uintptr_t(9)), nullptr, nullptr);
  EXPECT_EQ(OwnerDrawn().measured.size(), 0u);
  for (ULONG_PTR d = 0; d < 10; ++d)
    SendMessageW(h, LB_ADDSTRING, 0, LPARAM(d));  // heights 10 20 30 10 20 30 ...
  EXPECT_EQ(OwnerDrawn().measured.size(), 10u);
  EXPECT_EQ(SendMessageW(h, LB_GETITEMHEIGHT, 2, 0), 30);
  RECT r;
  ASSERT_EQ(SendMessageW(h, LB_GETITEMRECT, 2, LPARAM(&r)), 1);
  EXPECT_EQ(r.top, 30);
  EXPECT_EQ(r.bottom, 60);
  EXPECT_EQ(SendMessageW(h, LB_ITEMFROMPOINT, 0, MAKELPARAM(5, 35)), MAKELONG(2, 0));
  EXPECT_EQ(SendMessageW(h, LB_ITEMFROMPOINT, 0, MAKELPARAM(5, 65)), MAKELONG(3, 0));
  // The last item in view: the top is the first one from which items 5..9 (100 pixels) fit.
  SendMessageW(h, LB_SETCURSEL, 9, 0);
  EXPECT_EQ(SendMessageW(h, LB_GETTOPINDEX, 0, 0), 5);
  OwnerDrawn().drawn.clear();
  InvalidateRect(h, nullptr, TRUE);
  driver().RunUntilIdle();
  ASSERT_EQ(OwnerDrawn().drawn.size(), 5u);
  EXPECT_EQ(OwnerDrawn().drawn[0].itemID, 5u);
  EXPECT_EQ(OwnerDrawn().drawn[0].rcItem.bottom - OwnerDrawn().drawn[0].rcItem.top, 30);
  EXPECT_EQ(OwnerDrawn().drawn[4].rcItem.top, 90);
}

TEST_F(ListBoxTest, ScrollBarAppearsWhenItemsOverflowAndScrollsThem) {
  HWND h = List(LBS_NOTIFY | WS_VSCROLL | WS_BORDER, 102);  // ten items fit inside the border
  for (int i = 0; i < 5; ++i) Add(h, u"short list");
  EXPECT_FALSE(GetWindowLongW(h, GWL_STYLE) & WS_VSCROLL);
  EXPECT_EQ(ClientSize(h).cx, 148);
  for (int i = 0; i < 15; ++i) Add(h, u"more");
  driver().RunUntilIdle();
  ASSERT_TRUE(GetWindowLongW(h, GWL_STYLE) & WS_VSCROLL);
  EXPECT_EQ(ClientSize(h).cx, 148 - 17);
  SCROLLINFO si{sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
  ASSERT_TRUE(GetScrollInfo(h, SB_VERT, &si));
  EXPECT_EQ(si.nMin, 0);
  EXPECT_EQ(si.nMax, 19);
  EXPECT_EQ(si.nPage, 10u);
  EXPECT_EQ(si.nPos, 0);
  // The bar is drawn in the border's inside at the right: its arrow buttons in the face colour.
  RECT wr;
  GetWindowRect(h, &wr);
  POINT up{wr.right - 1 - 8, wr.top + 1 + 2};
  ScreenToClient(parent, &up);
  EXPECT_EQ(driver().Capture(parent).At(up.x, up.y), Pixel(GetSysColor(COLOR_BTNFACE)));
  // The down arrow scrolls one item, the track below the thumb one page, to the end at most.
  const POINT downArrow{wr.right - 1 - 8, wr.bottom - 1 - 5};
  driver().Click(downArrow);
  driver().RunUntilIdle();
  EXPECT_EQ(SendMessageW(h, LB_GETTOPINDEX, 0, 0), 1);
  EXPECT_EQ(GetScrollPos(h, SB_VERT), 1);
  const POINT track{wr.right - 1 - 8, wr.bottom - 1 - 30};
  driver().Click(track);
  driver().RunUntilIdle();
  EXPECT_EQ(SendMessageW(h, LB_GETTOPINDEX, 0, 0), 10);
  driver().Click(track);
  driver().RunUntilIdle();
  EXPECT_EQ(SendMessageW(h, LB_GETTOPINDEX, 0, 0), 10);
  EXPECT_EQ(Count(LBN_SELCHANGE), 0);  // scrolling selects nothing
  // The items moved with it: the first visible row shows item 10.
  EXPECT_EQ(SendMessageW(h, LB_ITEMFROMPOINT, 0, MAKELPARAM(5, 5)), MAKELONG(10, 0));
  // Holding the up arrow repeats.
  const POINT upArrow{wr.right - 1 - 8, wr.top + 1 + 5};
  driver().Press(0, upArrow);
  driver().RunUntilIdle();
  driver().Advance(450);
  driver().Release(0, upArrow);
  driver().RunUntilIdle();
  EXPECT_EQ(SendMessageW(h, LB_GETTOPINDEX, 0, 0), 10 - 3);
  // Emptied, the list needs no bar.
  SendMessageW(h, LB_RESETCONTENT, 0, 0);
  EXPECT_FALSE(GetWindowLongW(h, GWL_STYLE) & WS_VSCROLL);
  EXPECT_EQ(ClientSize(h).cx, 148);
}

TEST_F(ListBoxTest, DraggingTheThumbScrollsTheList) {
  HWND h = List(WS_VSCROLL, 100);
  for (int i = 0; i < 40; ++i) Add(h, u"row");
  RECT wr;
  GetWindowRect(h, &wr);
  // Track 66 px, thumb 16 px at the top: dragging it to the bottom shows the last page.
  const POINT thumb{wr.right - 8, wr.top + 17 + 5};
  driver().Press(0, thumb);
  driver().RunUntilIdle();
  driver().MoveMouse(POINT{thumb.x, thumb.y + 80});
  driver().RunUntilIdle();
  driver().Release(0, POINT{thumb.x, thumb.y + 80});
  driver().RunUntilIdle();
  EXPECT_EQ(SendMessageW(h, LB_GETTOPINDEX, 0, 0), 30);
  EXPECT_EQ(GetCapture(), nullptr);
}

}  // namespace
