// BUTTON and STATIC: a click sends BN_CLICKED only when released inside, a double click gives
// two clicks, Space clicks, auto radio buttons uncheck their group, owner-drawn buttons get
// WM_DRAWITEM with their state; and a demo window of every control saved as PNG for a person
// to look at, with pixel checks of the classic look.
#include <stdexcept>

#include "ControlsTestSupport.h"
#include "platform/controls/Menus.h"
#include "platform/rtl/CodePage.h"

using namespace controlstest;

namespace {

using ButtonTest = ControlsTest;

TEST_F(ButtonTest, ClickDoubleClickSpaceAndReleaseOutside) {
  HWND b = Child(u"BUTTON", u"&Send", BS_PUSHBUTTON | WS_TABSTOP, 20, 20, 80, 25, 5);
  driver().RunUntilIdle();
  driver().Click(driver().ClientPoint(b, 10, 10));
  driver().RunUntilIdle();
  EXPECT_EQ(Count(BN_CLICKED), 1);
  ASSERT_FALSE(Notifications().empty());
  EXPECT_EQ(Notifications().back().id, 5);
  EXPECT_EQ(Notifications().back().from, b);
  driver().DoubleClick(driver().ClientPoint(b, 10, 10));
  driver().RunUntilIdle();
  EXPECT_EQ(Count(BN_CLICKED), 3);
  // Pressed inside, released outside: no click, and the pushed look goes away.
  driver().Press(0, driver().ClientPoint(b, 10, 10));
  driver().RunUntilIdle();
  EXPECT_EQ(SendMessageW(b, BM_GETSTATE, 0, 0) & BST_PUSHED, BST_PUSHED);
  driver().Release(0, driver().ClientPoint(b, 200, 200));
  driver().RunUntilIdle();
  EXPECT_EQ(Count(BN_CLICKED), 3);
  EXPECT_EQ(SendMessageW(b, BM_GETSTATE, 0, 0) & BST_PUSHED, 0);
  SetFocus(b);
  driver().Chord("Space");
  driver().RunUntilIdle();
  EXPECT_EQ(Count(BN_CLICKED), 4);
  SendMessageW(b, BM_CLICK, 0, 0);
  EXPECT_EQ(Count(BN_CLICKED), 5);
}

TEST_F(ButtonTest, AutoRadioButtonsUncheckTheirGroupOnly) {
  HWND a = Child(u"BUTTON", u"A", BS_AUTORADIOBUTTON | WS_GROUP, 10, 10, 80, 20, 1);
  HWND b = Child(u"BUTTON", u"B", BS_AUTORADIOBUTTON, 10, 30, 80, 20, 2);
  HWND c = Child(u"BUTTON", u"C", BS_AUTORADIOBUTTON | WS_GROUP, 10, 50, 80, 20, 3);
  SendMessageW(a, BM_SETCHECK, BST_CHECKED, 0);
  SendMessageW(c, BM_SETCHECK, BST_CHECKED, 0);
  driver().RunUntilIdle();
  driver().Click(driver().ClientPoint(b, 5, 5));
  driver().RunUntilIdle();
  EXPECT_EQ(SendMessageW(a, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(SendMessageW(b, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessageW(c, BM_GETCHECK, 0, 0), BST_CHECKED);  // another group
  HWND box = Child(u"BUTTON", u"Loop", BS_AUTOCHECKBOX, 10, 80, 80, 20, 4);
  SendMessageW(box, BM_CLICK, 0, 0);
  EXPECT_EQ(SendMessageW(box, BM_GETCHECK, 0, 0), BST_CHECKED);
  SendMessageW(box, BM_CLICK, 0, 0);
  EXPECT_EQ(SendMessageW(box, BM_GETCHECK, 0, 0), BST_UNCHECKED);
}

TEST_F(ButtonTest, OwnerDrawnButtonsAreDrawnByTheParent) {
  // The parent fills each item in the highlight colour while it is pushed, else the window colour.
  OwnerDrawn().paint = [](const DRAWITEMSTRUCT& d) {
    FillRect(d.hDC, &d.rcItem,
             GetSysColorBrush((d.itemState & ODS_SELECTED) ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  };
  HWND owner = OwnerDrawParent(200, 100);
  HWND b = CreateWindowExW(0, u"BUTTON", u"", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 10, 10, 40, 20, owner,
                           reinterpret_cast<HMENU>(9), nullptr, nullptr);
  OwnerDrawn().drawn.clear();
  driver().RunUntilIdle();
  ASSERT_FALSE(OwnerDrawn().drawn.empty());
  EXPECT_EQ(OwnerDrawn().drawn.back().CtlType, ODT_BUTTON);
  EXPECT_EQ(OwnerDrawn().drawn.back().itemAction, ODA_DRAWENTIRE);
  EXPECT_EQ(OwnerDrawn().drawn.back().hwndItem, b);
  OwnerDrawn().drawn.clear();
  driver().Press(0, driver().ClientPoint(b, 5, 5));
  driver().RunUntilIdle();
  bool selected = false;
  for (const auto& d : OwnerDrawn().drawn)
    selected |= d.itemAction == ODA_SELECT && (d.itemState & ODS_SELECTED);
  EXPECT_TRUE(selected);
  // The parent's pixels show the pushed state.
  EXPECT_EQ(driver().Capture(owner).At(15, 15), Pixel(GetSysColor(COLOR_HIGHLIGHT)));
  driver().Release(0, driver().ClientPoint(b, 5, 5));
  driver().RunUntilIdle();
}

TEST_F(ButtonTest, DemoWindowOfEveryControlLooksClassic) {
  HWND edit = Child(u"EDIT", u"Tiếng Việt ភាសាខ្មែរ", WS_BORDER | ES_AUTOHSCROLL, 10, 10, 180, 22, 1);
  HWND memo = Child(u"EDIT", u"Line one\r\nLine two, long enough to wrap in the memo\r\nខ្មែរ",
                    WS_BORDER | ES_MULTILINE, 10, 40, 180, 80, 2);
  HWND push = Child(u"BUTTON", u"&OK", BS_DEFPUSHBUTTON, 200, 10, 80, 25, 3);
  Child(u"BUTTON", u"&Loop", BS_AUTOCHECKBOX, 200, 45, 90, 20, 4);
  HWND radio = Child(u"BUTTON", u"&Fit", BS_AUTORADIOBUTTON | WS_GROUP, 200, 70, 90, 20, 5);
  Child(u"BUTTON", u"Layout", BS_GROUPBOX, 300, 10, 90, 90, 6);
  Child(u"STATIC", u"Duration (&s):", SS_LEFT, 10, 130, 180, 20, 7);
  SendMessageW(radio, BM_SETCHECK, BST_CHECKED, 0);
  SetFocus(memo);
  SendMessageW(memo, EM_SETSEL, 0, 4);
  driver().RunUntilIdle();
  const auto shot = driver().Capture(parent);
  // The edit's inside is the window colour; the push button's face is the button colour with
  // the dark default frame; the selection is drawn in the highlight colour.
  POINT p{20, 30};
  MapWindowPoints(edit, parent, &p, 1);
  RECT er;
  GetWindowRect(edit, &er);
  POINT inside{er.left + 150, er.top + 18};
  ScreenToClient(parent, &inside);
  EXPECT_EQ(shot.At(inside.x, inside.y), Pixel(GetSysColor(COLOR_WINDOW)));
  RECT br;
  GetWindowRect(push, &br);
  POINT face{br.left + 5, br.top + 5}, frame{br.left, br.top};
  ScreenToClient(parent, &face);
  ScreenToClient(parent, &frame);
  EXPECT_EQ(shot.At(face.x, face.y), Pixel(GetSysColor(COLOR_BTNFACE)));
  EXPECT_EQ(shot.At(frame.x, frame.y), Pixel(GetSysColor(COLOR_WINDOWFRAME)));
  // The chosen radio button's mark is round: the corner of its 13-pixel box shows the face
  // behind it, the ring's side is the shadow colour and its middle the dot.
  RECT rr;
  GetWindowRect(radio, &rr);
  POINT markTop{rr.left, rr.top + (rr.bottom - rr.top - 13) / 2};
  ScreenToClient(parent, &markTop);
  EXPECT_NE(shot.At(markTop.x, markTop.y), Pixel(GetSysColor(COLOR_WINDOW)));
  EXPECT_NE(shot.At(markTop.x, markTop.y), Pixel(GetSysColor(COLOR_BTNSHADOW)));
  EXPECT_EQ(shot.At(markTop.x + 6, markTop.y), Pixel(GetSysColor(COLOR_BTNSHADOW)));
  EXPECT_EQ(shot.At(markTop.x + 2, markTop.y + 6), Pixel(GetSysColor(COLOR_WINDOW)));
  EXPECT_EQ(shot.At(markTop.x + 6, markTop.y + 6), Pixel(GetSysColor(COLOR_WINDOWTEXT)));
  RECT mr;
  GetWindowRect(memo, &mr);
  POINT sel{mr.left + 1 + 2 + 2, mr.top + 1 + 2 + 2};
  ScreenToClient(parent, &sel);
  int highlighted = 0;
  for (int dx = 0; dx < 20; ++dx)
    highlighted += shot.At(sel.x + dx, sel.y) == Pixel(GetSysColor(COLOR_HIGHLIGHT));
  EXPECT_GT(highlighted, 5);
  driver().SavePng(parent, ::testing::TempDir() + "controls-demo.png");
  // The popup menu over the demo, with a highlighted item, for the same person.
  HMENU menu = CreatePopupMenu();
  AppendMenuW(menu, MF_STRING | MF_CHECKED, 1, u"&Play\tF5");
  AppendMenuW(menu, MF_STRING | MF_GRAYED, 2, u"&Stop");
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu, MF_POPUP, UINT_PTR(CreatePopupMenu()), u"&More");
  driver().OnModal([&](const platform::headless::ModalInfo& info) {
    return platform::headless::ModalAnswer::Drive([&, popup = info.hwnd] {
      driver().Chord("Down");
      driver().RunUntilIdle();
      const auto m = driver().Capture(popup);
      EXPECT_EQ(m.At(10, 10), Pixel(GetSysColor(COLOR_HIGHLIGHT)));
      EXPECT_EQ(m.At(10, 30), Pixel(GetSysColor(COLOR_MENU)));
      driver().SavePng(popup, ::testing::TempDir() + "controls-demo-menu.png");
      driver().Chord("Esc");
    });
  });
  TrackPopupMenu(menu, TPM_RETURNCMD, 100, 100, 0, parent, nullptr);
  DestroyMenu(menu);
}

// An owner whose drawing raises, after noting the DC it was handed.
HDC& RaisedOn() {
  static HDC dc = nullptr;
  return dc;
}

LRESULT RaisingDrawParentProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
  if (msg == WM_DRAWITEM) {
    RaisedOn() = reinterpret_cast<DRAWITEMSTRUCT*>(l)->hDC;
    throw std::runtime_error("drawing failed");
  }
  return ParentProc(hwnd, msg, w, l);
}

// When the owner of an owner-drawn control raises while drawing, the exception reaches the
// caller and the control gives its paint or window DC back on the way out.
TEST_F(ButtonTest, AnOwnerDrawingThatRaisesLeavesNoDCBehind) {
  HWND owner = TopWindow(u"RaisingDrawParent", &RaisingDrawParentProc, 200, 100);
  struct Case {
    const char16_t* cls;
    DWORD style;
    UINT addString;  // 0: no items
  };
  const Case cases[] = {
      {u"BUTTON", BS_OWNERDRAW, 0},
      {u"LISTBOX", LBS_OWNERDRAWFIXED | LBS_HASSTRINGS, LB_ADDSTRING},
      {u"COMBOBOX", CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS, CB_ADDSTRING},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(platform::Utf16ToMultiByte(c.cls, CP_UTF8));
    HWND control = CreateWindowExW(0, c.cls, u"", WS_CHILD | WS_VISIBLE | c.style, 10, 10, 80, 60, owner,
                                   reinterpret_cast<HMENU>(9), nullptr, nullptr);
    ASSERT_NE(control, nullptr);
    if (c.addString) SendMessageW(control, c.addString, 0, LPARAM(u"Item"));
    RaisedOn() = nullptr;
    InvalidateRect(control, nullptr, FALSE);
    EXPECT_THROW(UpdateWindow(control), std::runtime_error);
    ASSERT_NE(RaisedOn(), nullptr);
    EXPECT_EQ(GetObjectType(RaisedOn()), 0u);  // the paint's DC was ended
    DestroyWindow(control);
  }
  // A pushed owner-drawn button redraws at once on a DC of its own.
  HWND button = CreateWindowExW(0, u"BUTTON", u"", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 10, 10, 40, 20,
                                owner, reinterpret_cast<HMENU>(9), nullptr, nullptr);
  RaisedOn() = nullptr;
  EXPECT_THROW(SendMessageW(button, BM_SETSTATE, TRUE, 0), std::runtime_error);
  ASSERT_NE(RaisedOn(), nullptr);
  EXPECT_EQ(GetObjectType(RaisedOn()), 0u);  // released
}

}  // namespace
