// COMBOBOX: its children and parts, the item messages passed to its list, choosing from the
// dropped-down list by mouse and by Enter with the notifications in their classic order,
// keyboard selection while closed, edit changes reported as CBN_EDITCHANGE (and only for the
// user's changes), owner drawing of the field and the items, and bad-index answers.
#include <cstring>

#include "ControlsTestSupport.h"
#include "platform/rtl/CodePage.h"

using namespace controlstest;

namespace {

std::vector<WORD> Codes() {
  std::vector<WORD> out;
  for (const auto& n : Notifications()) out.push_back(n.code);
  return out;
}

class ComboBoxTest : public ControlsTest {
 protected:
  void SetUp() override {
    ControlsTest::SetUp();
    driver().UseFixedMetricFont(7, 10);
  }
  HWND Combo(DWORD style,
             std::initializer_list<std::u16string> items = {u"Hà Nội", u"Huế", u"ភ្នំពេញ", u"Sài Gòn"}) {
    HWND h = Child(u"COMBOBOX", u"", style | WS_TABSTOP, 10, 10, 150, 120, 3);
    for (const auto& s : items) SendMessageW(h, CB_ADDSTRING, 0, LPARAM(s.c_str()));
    driver().RunUntilIdle();
    Notifications().clear();
    return h;
  }
  static COMBOBOXINFO Info(HWND h) {
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    EXPECT_TRUE(GetComboBoxInfo(h, &info));
    return info;
  }
  static std::u16string Item(HWND h, int i) { return ItemText(h, CB_GETLBTEXTLEN, CB_GETLBTEXT, i); }
  void ClickButton(HWND h) {
    RECT r;
    GetClientRect(h, &r);
    driver().Click(driver().ClientPoint(h, r.right - 8, r.bottom / 2));
    driver().RunUntilIdle();
  }
  // A point on an item of the dropped-down list (screen coordinates).
  POINT ListItem(HWND h, int i) { return driver().ClientPoint(Info(h).hwndList, 20, i * 10 + 5); }
};

TEST_F(ComboBoxTest, PartsAreAnEditChildAndAListInAPopup) {
  HWND h = Combo(CBS_DROPDOWN | CBS_AUTOHSCROLL);
  const COMBOBOXINFO info = Info(h);
  ASSERT_TRUE(info.hwndItem);
  ASSERT_TRUE(info.hwndList);
  char16_t cls[32];
  GetClassNameW(info.hwndItem, cls, 32);
  EXPECT_EQ(std::u16string(cls), u"EDIT");
  EXPECT_EQ(GetParent(info.hwndItem), h);
  EXPECT_EQ(GetWindow(h, GW_CHILD), info.hwndItem);
  GetClassNameW(info.hwndList, cls, 32);
  EXPECT_EQ(std::u16string(cls), u"ComboLBox");
  EXPECT_TRUE(IsWindowUnicode(info.hwndList));
  EXPECT_FALSE(IsWindowVisible(info.hwndList));
  // The box keeps its field's height; the creation height is the dropped-down height.
  RECT r;
  GetWindowRect(h, &r);
  EXPECT_EQ(r.bottom - r.top, 10 + 4 + 4);  // text, the edit's margins, the sunken edge
  // A list-only box has no edit.
  EXPECT_EQ(Info(Combo(CBS_DROPDOWNLIST)).hwndItem, nullptr);
  // The popup goes with the box.
  DestroyWindow(h);
  EXPECT_FALSE(IsWindow(info.hwndList));
}

TEST_F(ComboBoxTest, ItemMessagesReachTheListSortedAndBadIndexesAnswerError) {
  HWND h = Combo(CBS_DROPDOWNLIST | CBS_SORT, {u"ភ្នំពេញ", u"huế", u"Hà Nội", u"Hue"});
  EXPECT_EQ(SendMessageW(h, CB_GETCOUNT, 0, 0), 4);
  // Case folded, then by code unit: "hue" < "huế" (e before ế) < "hà nội" (u before à).
  EXPECT_EQ(Item(h, 0), u"Hue");
  EXPECT_EQ(Item(h, 1), u"huế");
  EXPECT_EQ(Item(h, 2), u"Hà Nội");
  EXPECT_EQ(Item(h, 3), u"ភ្នំពេញ");
  EXPECT_EQ(SendMessageW(h, CB_FINDSTRINGEXACT, WPARAM(-1), LPARAM(u"HUẾ")), 1);
  EXPECT_EQ(SendMessageW(h, CB_FINDSTRING, 1, LPARAM(u"h")), 2);
  EXPECT_EQ(SendMessageW(h, CB_SETITEMDATA, 3, 77), CB_OKAY);
  EXPECT_EQ(SendMessageW(h, CB_GETITEMDATA, 3, 0), 77);
  EXPECT_EQ(SendMessageW(h, CB_SELECTSTRING, WPARAM(-1), LPARAM(u"ភ្នំ")), 3);
  char16_t text[32];
  EXPECT_EQ(GetWindowTextW(h, text, 32), 7);
  EXPECT_EQ(std::u16string(text), u"ភ្នំពេញ");
  struct Case {
    const char* name;
    UINT msg;
    WPARAM w;
  } bad[] = {{"GETLBTEXTLEN", CB_GETLBTEXTLEN, 4},
             {"GETLBTEXT", CB_GETLBTEXT, 9},
             {"DELETESTRING", CB_DELETESTRING, 4},
             {"GETITEMDATA", CB_GETITEMDATA, WPARAM(-1)},
             {"SETCURSEL", CB_SETCURSEL, 4},
             {"GETEDITSEL without edit", CB_GETEDITSEL, 0},
             {"LIMITTEXT without edit", CB_LIMITTEXT, 0}};
  for (const Case& c : bad) EXPECT_EQ(SendMessageW(h, c.msg, c.w, LPARAM(text)), CB_ERR) << c.name;
  // A bad CB_SETCURSEL clears the selection and the field.
  EXPECT_EQ(SendMessageW(h, CB_GETCURSEL, 0, 0), CB_ERR);
  EXPECT_EQ(GetWindowTextLengthW(h), 0);
  EXPECT_EQ(SendMessageW(h, CB_DELETESTRING, 0, 0), 3);
  SendMessageW(h, CB_RESETCONTENT, 0, 0);
  EXPECT_EQ(SendMessageW(h, CB_GETCOUNT, 0, 0), 0);
  EXPECT_TRUE(Notifications().empty());  // messages never notify
}

TEST_F(ComboBoxTest, ChoosingFromTheDroppedListByMouse) {
  HWND h = Combo(CBS_DROPDOWN | CBS_AUTOHSCROLL);
  const COMBOBOXINFO info = Info(h);
  ClickButton(h);
  EXPECT_EQ(SendMessageW(h, CB_GETDROPPEDSTATE, 0, 0), TRUE);
  EXPECT_TRUE(IsWindowVisible(info.hwndList));
  EXPECT_EQ(Codes(), (std::vector<WORD>{CBN_SETFOCUS, CBN_DROPDOWN}));
  // The list hangs below the box, as wide as it.
  RECT box, list;
  GetWindowRect(h, &box);
  GetWindowRect(info.hwndList, &list);
  EXPECT_EQ(list.top, box.bottom);
  EXPECT_EQ(list.left, box.left);
  EXPECT_EQ(list.right, box.right);
  Notifications().clear();
  // Moving over the items highlights them without a word; a click chooses.
  driver().MoveMouse(ListItem(h, 1));
  driver().RunUntilIdle();
  EXPECT_EQ(SendMessageW(h, CB_GETCURSEL, 0, 0), 1);
  EXPECT_TRUE(Notifications().empty());
  driver().Click(ListItem(h, 2));
  driver().RunUntilIdle();
  EXPECT_EQ(Codes(), (std::vector<WORD>{CBN_SELENDOK, CBN_CLOSEUP, CBN_SELCHANGE}));
  EXPECT_EQ(SendMessageW(h, CB_GETDROPPEDSTATE, 0, 0), FALSE);
  EXPECT_FALSE(IsWindowVisible(info.hwndList));
  EXPECT_EQ(SendMessageW(h, CB_GETCURSEL, 0, 0), 2);
  EXPECT_EQ(TextOf(h), u"ភ្នំពេញ");
  EXPECT_EQ(TextOf(info.hwndItem), u"ភ្នំពេញ");
  EXPECT_EQ(GetFocus(), info.hwndItem);
  EXPECT_EQ(GetCapture(), nullptr);
  // A press outside the dropped list closes it and keeps the choice.
  ClickButton(h);
  Notifications().clear();
  driver().MoveMouse(ListItem(h, 0));
  driver().Click(driver().ClientPoint(parent, 300, 250));
  driver().RunUntilIdle();
  EXPECT_EQ(Codes(), (std::vector<WORD>{CBN_SELENDCANCEL, CBN_CLOSEUP}));
  EXPECT_EQ(SendMessageW(h, CB_GETCURSEL, 0, 0), 2);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(ComboBoxTest, KeysSelectWhileClosedAndChooseWithEnterWhileDropped) {
  HWND h = Combo(CBS_DROPDOWNLIST);
  FocusQuietly(h);
  Key(VK_DOWN);
  Key(VK_DOWN);
  EXPECT_EQ(SendMessageW(h, CB_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(Codes(), (std::vector<WORD>{CBN_SELCHANGE, CBN_SELCHANGE}));
  Key(VK_END);
  EXPECT_EQ(SendMessageW(h, CB_GETCURSEL, 0, 0), 3);
  Key(VK_DOWN);  // at the end: no change, no word
  EXPECT_EQ(Count(CBN_SELCHANGE), 3);
  Notifications().clear();
  Key(VK_F1 + 3);  // F4 drops the list down
  EXPECT_TRUE(SendMessageW(h, CB_GETDROPPEDSTATE, 0, 0));
  driver().MoveMouse(ListItem(h, 0));  // highlights the first
  driver().RunUntilIdle();
  Key(VK_RETURN);
  EXPECT_FALSE(SendMessageW(h, CB_GETDROPPEDSTATE, 0, 0));
  EXPECT_EQ(SendMessageW(h, CB_GETCURSEL, 0, 0), 0);
  EXPECT_EQ(Codes(), (std::vector<WORD>{CBN_DROPDOWN, CBN_SELENDOK, CBN_CLOSEUP, CBN_SELCHANGE}));
  // Escape gives up what the pointer highlighted.
  Notifications().clear();
  Key(VK_DOWN, platform::headless::kAlt);
  driver().MoveMouse(ListItem(h, 2));
  driver().RunUntilIdle();
  Key(VK_ESCAPE);
  EXPECT_EQ(SendMessageW(h, CB_GETCURSEL, 0, 0), 0);
  EXPECT_EQ(Codes(), (std::vector<WORD>{CBN_DROPDOWN, CBN_SELENDCANCEL, CBN_CLOSEUP}));
  // Typing in a list-only box selects by first letters.
  Notifications().clear();
  driver().Type(u"s");
  driver().RunUntilIdle();
  EXPECT_EQ(Item(h, int(SendMessageW(h, CB_GETCURSEL, 0, 0))), u"Sài Gòn");
  EXPECT_EQ(Codes(), (std::vector<WORD>{CBN_SELCHANGE}));
}

TEST_F(ComboBoxTest, TypingInTheEditReportsEditChangesOnly) {
  HWND h = Combo(CBS_DROPDOWN | CBS_AUTOHSCROLL);
  SendMessageW(h, CB_SETCURSEL, 1, 0);
  SetFocus(h);
  driver().RunUntilIdle();
  EXPECT_EQ(GetFocus(), Info(h).hwndItem);
  DWORD start = 0, end = 0;
  SendMessageW(h, CB_GETEDITSEL, WPARAM(&start), LPARAM(&end));
  EXPECT_EQ(start, 0u);  // focus selects the whole text
  EXPECT_EQ(end, 3u);
  Notifications().clear();
  driver().Type(u"Hà");
  driver().RunUntilIdle();
  EXPECT_EQ(TextOf(h), u"Hà");
  EXPECT_EQ(Codes(), (std::vector<WORD>{CBN_EDITCHANGE, CBN_EDITCHANGE}));
  // Typed text names no item: the selection goes.
  EXPECT_EQ(SendMessageW(h, CB_GETCURSEL, 0, 0), CB_ERR);
  // The box's own changes of the text are not the user's.
  Notifications().clear();
  SetWindowTextW(h, u"Huế");
  SendMessageW(h, CB_SETCURSEL, 2, 0);
  SendMessageW(h, CB_RESETCONTENT, 0, 0);
  EXPECT_TRUE(Notifications().empty());
  EXPECT_EQ(TextOf(h), u"");
  // The edit's limit and selection through the box.
  EXPECT_EQ(SendMessageW(h, CB_LIMITTEXT, 3, 0), TRUE);
  driver().Type(u"abcdef");
  driver().RunUntilIdle();
  EXPECT_EQ(TextOf(h), u"abc");
  EXPECT_EQ(SendMessageW(h, CB_SETEDITSEL, 0, MAKELPARAM(1, -1)), TRUE);
  SendMessageW(h, CB_GETEDITSEL, WPARAM(&start), LPARAM(&end));
  EXPECT_EQ(start, 1u);
  EXPECT_EQ(end, 3u);
}

TEST_F(ComboBoxTest, OwnerDrawnBoxMeasuresFieldAndItemsAndDrawsBoth) {
  HWND owner = OwnerDrawParent();
  // The field (item -1) is 24 pixels high, the items 18.
  OwnerDrawn().itemHeight = [](const MEASUREITEMSTRUCT& m) { return m.itemID == UINT(-1) ? 24u : 18u; };
  HWND h = CreateWindowExW(0, u"COMBOBOX", u"", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED,
                           5, 5, 120, 150, owner, reinterpret_cast<HMENU>(uintptr_t(12)), nullptr, nullptr);
  std::vector<UINT> measured;
  for (const MEASUREITEMSTRUCT& m : OwnerDrawn().measured) measured.push_back(m.itemID);
  EXPECT_EQ(measured, (std::vector<UINT>{UINT(-1), 0u}));
  EXPECT_EQ(SendMessageW(h, CB_GETITEMHEIGHT, WPARAM(-1), 0), 24);
  EXPECT_EQ(SendMessageW(h, CB_GETITEMHEIGHT, 0, 0), 18);
  for (ULONG_PTR d : {1u, 2u, 3u}) SendMessageW(h, CB_ADDSTRING, 0, LPARAM(d));
  SendMessageW(h, CB_SETCURSEL, 1, 0);
  OwnerDrawn().drawn.clear();
  driver().RunUntilIdle();
  ASSERT_FALSE(OwnerDrawn().drawn.empty());
  const DRAWITEMSTRUCT field = OwnerDrawn().drawn.back();
  EXPECT_EQ(field.CtlType, UINT(ODT_COMBOBOX));
  EXPECT_EQ(field.CtlID, 12u);
  EXPECT_EQ(field.itemID, 1u);
  EXPECT_TRUE(field.itemState & ODS_COMBOBOXEDIT);
  EXPECT_EQ(field.hwndItem, h);
  OwnerDrawn().drawn.clear();
  SendMessageW(h, CB_SHOWDROPDOWN, TRUE, 0);
  driver().RunUntilIdle();
  int items = 0;
  for (const DRAWITEMSTRUCT& d : OwnerDrawn().drawn) {
    if (d.itemState & ODS_COMBOBOXEDIT) continue;
    ++items;
    EXPECT_EQ(d.CtlType, UINT(ODT_COMBOBOX));
    EXPECT_EQ(d.CtlID, 12u);
    EXPECT_EQ(d.hwndItem, h);
    EXPECT_EQ((d.itemState & ODS_SELECTED) != 0, d.itemID == 1u);
  }
  EXPECT_EQ(items, 3);
  SendMessageW(h, CB_SHOWDROPDOWN, FALSE, 0);
  EXPECT_FALSE(SendMessageW(h, CB_GETDROPPEDSTATE, 0, 0));
}

}  // namespace

namespace {

// An 8-bit subclass of a UTF-16 child, the way the 8-bit form library hooks the list and edit
// of a combo box before the Unicode layer puts its own procedure back.
WNDPROC savedListProc;
std::vector<std::string> seenByStub;
LRESULT NarrowListStub(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == LB_ADDSTRING) seenByStub.push_back(reinterpret_cast<const char*>(l));
  return CallWindowProcA(savedListProc, h, m, w, l);
}
LRESULT WideListStub(HWND h, UINT m, WPARAM w, LPARAM l) {
  return CallWindowProcW(savedListProc, h, m, w, l);
}

TEST_F(ComboBoxTest, ChildrenSubclassedThroughTheOtherFormStillReadTheirStringsRight) {
  HWND h = Combo(CBS_DROPDOWN | CBS_AUTOHSCROLL, {});
  const COMBOBOXINFO info = Info(h);
  seenByStub.clear();
  savedListProc = WNDPROC(SetWindowLongPtrA(info.hwndList, GWL_WNDPROC, LONG_PTR(WNDPROC(&NarrowListStub))));
  EXPECT_FALSE(IsWindowUnicode(info.hwndList));
  // The box passes UTF-16 strings; the 8-bit stub sees bytes; the list, reached through the
  // stand-in, gets UTF-16 again and must read it as such.
  EXPECT_EQ(SendMessageW(h, CB_ADDSTRING, 0, LPARAM(u"ភ្នំពេញ")), 0);
  EXPECT_EQ(SendMessageA(h, CB_ADDSTRING, 0, LPARAM("Hu\xE1\xBA\xBF")), 1);
  EXPECT_EQ(seenByStub, (std::vector<std::string>{
                            "\xE1\x9E\x97\xE1\x9F\x92\xE1\x9E\x93\xE1\x9F\x86\xE1\x9E\x96\xE1\x9F\x81"
                            "\xE1\x9E\x89",
                            "Hu\xE1\xBA\xBF"}));
  EXPECT_EQ(Item(h, 0), u"ភ្នំពេញ");
  EXPECT_EQ(Item(h, 1), u"Huế");
  // Put back through the 8-bit form, the list is UTF-16 again; then a UTF-16 stub goes on top.
  SetWindowLongPtrA(info.hwndList, GWL_WNDPROC, LONG_PTR(savedListProc));
  EXPECT_TRUE(IsWindowUnicode(info.hwndList));
  savedListProc = WNDPROC(GetWindowLongPtrW(info.hwndList, GWL_WNDPROC));
  SetWindowLongPtrW(info.hwndList, GWL_WNDPROC, LONG_PTR(WNDPROC(&WideListStub)));
  EXPECT_EQ(SendMessageW(h, CB_FINDSTRINGEXACT, WPARAM(-1), LPARAM(u"huế")), 1);
  // The edit: its procedure re-set with the UTF-16 form to what the 8-bit form reads.
  SetWindowLongPtrW(info.hwndItem, GWL_WNDPROC, GetWindowLongPtrA(info.hwndItem, GWL_WNDPROC));
  EXPECT_TRUE(IsWindowUnicode(info.hwndItem));
  SendMessageW(h, CB_SETCURSEL, 0, 0);
  EXPECT_EQ(TextOf(info.hwndItem), u"ភ្នំពេញ");
  SetFocus(info.hwndItem);
  Notifications().clear();
  driver().Type(u"x");
  driver().RunUntilIdle();
  EXPECT_EQ(Count(CBN_EDITCHANGE), 1);
  Key(VK_F1 + 3);  // the box still hears its keys through the edit
  EXPECT_TRUE(SendMessageW(h, CB_GETDROPPEDSTATE, 0, 0));
}

}  // namespace

namespace {

WORD destroyOn = 0;
LRESULT DestroyingParentProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
  if (msg == WM_COMMAND && HIWORD(w) == destroyOn) DestroyWindow(reinterpret_cast<HWND>(l));
  return ParentProc(hwnd, msg, w, l);
}

TEST_F(ComboBoxTest, AnOwnerMayDestroyTheBoxWhileItReports) {
  HWND owner = TopWindow(u"DestroyingParent", &DestroyingParentProc);
  for (WORD code : {CBN_DROPDOWN, CBN_SELENDOK, CBN_CLOSEUP, CBN_SELCHANGE}) {
    destroyOn = code;
    HWND h = CreateWindowExW(0, u"COMBOBOX", u"", WS_CHILD | WS_VISIBLE | CBS_DROPDOWN, 5, 5, 120, 150, owner,
                             reinterpret_cast<HMENU>(uintptr_t(4)), nullptr, nullptr);
    for (const char16_t* s : {u"one", u"two", u"three"}) SendMessageW(h, CB_ADDSTRING, 0, LPARAM(s));
    const COMBOBOXINFO info = Info(h);
    ASSERT_TRUE(info.hwndList);
    driver().RunUntilIdle();
    ClickButton(h);
    if (IsWindow(h)) {
      driver().Click(driver().ClientPoint(info.hwndList, 20, 15));
      driver().RunUntilIdle();
    }
    EXPECT_FALSE(IsWindow(h)) << code;
    EXPECT_FALSE(IsWindow(info.hwndList)) << code;
    EXPECT_EQ(GetCapture(), nullptr) << code;
  }
}

}  // namespace
