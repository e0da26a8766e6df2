// Menu objects and popup tracking: items by id and position, item records with their size
// checked, the scripted answer, choosing by mouse and by mnemonic, grayed items, sub-menus, and
// the messages the owner sees.
#include "ControlsTestSupport.h"
#include "platform/controls/Menus.h"

using namespace controlstest;
using platform::headless::ModalAnswer;
using platform::headless::ModalInfo;

namespace {

std::vector<std::pair<UINT, WPARAM>>& OwnerLog() {
  static std::vector<std::pair<UINT, WPARAM>> log;
  return log;
}

LRESULT OwnerProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
  if (msg == WM_ENTERMENULOOP || msg == WM_EXITMENULOOP || msg == WM_INITMENUPOPUP || msg == WM_MENUSELECT ||
      msg == WM_COMMAND)
    OwnerLog().push_back({msg, w});
  return DefWindowProcW(hwnd, msg, w, l);
}

class MenuTest : public ControlsTest {
 protected:
  void SetUp() override {
    ControlsTest::SetUp();
    OwnerLog().clear();
    RegisterTestClass(u"MenuOwner", &OwnerProc);
    owner = CreateWindowExW(0, u"MenuOwner", u"Owner", WS_VISIBLE, 100, 100, 300, 200, nullptr, nullptr,
                            nullptr, nullptr);
    menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, 101, u"&Open\tCtrl+O");
    AppendMenuW(menu, MF_STRING | MF_GRAYED, 102, u"&Paste");
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    sub = CreatePopupMenu();
    AppendMenuW(sub, MF_STRING, 201, u"&Left");
    AppendMenuW(sub, MF_STRING | MF_CHECKED, 202, u"&Right");
    AppendMenuW(menu, MF_POPUP, UINT_PTR(sub), u"&Align");
    AppendMenuW(menu, MF_STRING, 104, u"E&xit");
  }
  UINT Commanded() {
    driver().RunUntilIdle();
    for (auto& [m, w] : OwnerLog())
      if (m == WM_COMMAND) return LOWORD(w);
    return 0;
  }
  // The screen point of item `index` of the open popup.
  static POINT ItemPoint(HWND popup, int index) {
    RECT r;
    GetWindowRect(popup, &r);
    const int ys[] = {3 + 9, 3 + 19 + 9, 0, 3 + 19 * 2 + 9 + 9, 3 + 19 * 3 + 9 + 9};
    return POINT{r.left + 30, r.top + ys[index]};
  }
  HWND owner = nullptr;
  HMENU menu = nullptr, sub = nullptr;
};

TEST_F(MenuTest, ItemsByIdAndPosition) {
  EXPECT_EQ(GetMenuItemCount(menu), 5);
  EXPECT_EQ(GetMenuItemID(menu, 0), 101u);
  EXPECT_EQ(GetMenuItemID(menu, 3), UINT(-1));
  EXPECT_EQ(GetSubMenu(menu, 3), sub);
  char16_t text[32] = {};
  EXPECT_EQ(GetMenuStringW(menu, 202, text, 32, MF_BYCOMMAND), 6);  // found inside the sub-menu
  EXPECT_EQ(std::u16string(text), u"&Right");
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_STATE | MIIM_ID | MIIM_STRING;
  char16_t buffer[4] = {};
  info.dwTypeData = buffer;
  info.cch = 4;
  ASSERT_TRUE(GetMenuItemInfoW(menu, 0, TRUE, &info));
  EXPECT_EQ(info.wID, 101u);
  EXPECT_EQ(std::u16string(buffer), u"&Op");  // cut to the buffer, terminated
  info.cbSize = 60;
  EXPECT_FALSE(GetMenuItemInfoW(menu, 0, TRUE, &info));
  MENUITEMINFOA set{};
  set.cbSize = sizeof set;
  set.fMask = MIIM_STRING | MIIM_STATE;
  set.dwTypeData = const_cast<char*>("&Save");
  set.fState = MFS_CHECKED;
  ASSERT_TRUE(SetMenuItemInfoA(menu, 104, FALSE, &set));
  EXPECT_EQ(GetMenuStringW(menu, 104, text, 32, MF_BYCOMMAND), 5);
  EXPECT_EQ(CheckMenuItem(menu, 104, MF_UNCHECKED), DWORD(MF_CHECKED));
  EXPECT_TRUE(DeleteMenu(menu, 3, MF_BYPOSITION));
  EXPECT_FALSE(IsMenu(sub));  // deleting destroys the sub-menu
  EXPECT_TRUE(DestroyMenu(menu));
  EXPECT_FALSE(IsMenu(menu));
}

TEST_F(MenuTest, ScriptedAnswerChoosesByIdOrCaptionButNeverAGrayedItem) {
  ModalInfo seen;
  driver().OnModal([&](const ModalInfo& info) {
    seen = info;
    return ModalAnswer::MenuItem(u"Exit");
  });
  EXPECT_TRUE(TrackPopupMenu(menu, 0, 50, 50, 0, owner, nullptr));
  EXPECT_EQ(Commanded(), 104u);
  EXPECT_EQ(seen.kind, ModalInfo::Kind::PopupMenu);
  EXPECT_EQ(seen.texts[0], u"&Open\tCtrl+O");
  driver().OnModal([&](const ModalInfo&) { return ModalAnswer::MenuItem(102); });
  EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 50, 50, 0, owner, nullptr), 0);
  driver().OnModal([&](const ModalInfo&) { return ModalAnswer::MenuItem(101); });
  EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 50, 50, 0, owner, nullptr), 101);
}

TEST_F(MenuTest, MouseChoosesAnItemAndTheOwnerSeesTheLoop) {
  driver().OnModal([&](const ModalInfo& info) {
    return ModalAnswer::Drive([&, popup = info.hwnd] {
      driver().MoveMouse(ItemPoint(popup, 0));
      driver().RunUntilIdle();
      driver().Click(ItemPoint(popup, 4));
    });
  });
  ASSERT_TRUE(TrackPopupMenu(menu, 0, 50, 50, 0, owner, nullptr));
  EXPECT_EQ(Commanded(), 104u);
  std::vector<UINT> order;
  for (auto& [m, w] : OwnerLog()) order.push_back(m);
  ASSERT_GE(order.size(), 6u);
  EXPECT_EQ(order.front(), UINT(WM_ENTERMENULOOP));
  EXPECT_EQ(order[1], UINT(WM_INITMENUPOPUP));
  // Highlights: "Open", then "Exit", with the mouse flag; then the close and the command.
  bool sawOpen = false;
  for (auto& [m, w] : OwnerLog())
    if (m == WM_MENUSELECT && LOWORD(w) == 101) sawOpen = (HIWORD(w) & (MF_HILITE | MF_MOUSESELECT)) != 0;
  EXPECT_TRUE(sawOpen);
  const size_t n = OwnerLog().size();
  EXPECT_EQ(OwnerLog()[n - 3].first, UINT(WM_MENUSELECT));
  EXPECT_EQ(HIWORD(OwnerLog()[n - 3].second), 0xFFFF);
  EXPECT_EQ(OwnerLog()[n - 2].first, UINT(WM_EXITMENULOOP));
  EXPECT_EQ(OwnerLog()[n - 1].first, UINT(WM_COMMAND));  // posted after the menu closed
}

TEST_F(MenuTest, KeyboardMnemonicsArrowsAndEscape) {
  struct Case {
    std::vector<std::string> chords;
    UINT expected;
  } cases[] = {
      {{"X"}, 104},                           // mnemonic
      {{"P", "Esc"}, 0},                      // grayed: highlighted, not chosen; the menu stays open
      {{"A", "R"}, 202},                      // into the sub-menu and its mnemonic
      {{"A", "Esc", "Esc"}, 0},               // Esc closes the sub-menu first
      {{"Down", "Down", "Enter", "Esc"}, 0},  // Open, then the grayed Paste: Enter does nothing
      {{"Down", "Enter"}, 101},
      {{"Esc"}, 0},
  };
  for (const Case& c : cases) {
    driver().OnModal([&](const ModalInfo&) {
      return ModalAnswer::Drive([&] {
        for (const auto& chord : c.chords) driver().Chord(chord);
      });
    });
    EXPECT_EQ(UINT(TrackPopupMenu(menu, TPM_RETURNCMD, 50, 50, 0, owner, nullptr)), c.expected)
        << c.chords[0];
    driver().RunUntilIdle();
  }
}

TEST_F(MenuTest, APressOutsideClosesTheMenu) {
  driver().OnModal([&](const ModalInfo&) {
    return ModalAnswer::Drive([&] { driver().Click(driver().ClientPoint(owner, 250, 150)); });
  });
  EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 50, 50, 0, owner, nullptr), 0);
  EXPECT_EQ(Commanded(), 0u);
}

TEST_F(MenuTest, CancelModeClosesTheMenu) {
  // What the desktop posts when a press lands on another program's window.
  driver().OnModal([&](const ModalInfo& info) {
    return ModalAnswer::Drive([hwnd = info.hwnd] { PostMessageW(hwnd, WM_CANCELMODE, 0, 0); });
  });
  EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 50, 50, 0, owner, nullptr), 0);
  EXPECT_EQ(Commanded(), 0u);
}

}  // namespace
