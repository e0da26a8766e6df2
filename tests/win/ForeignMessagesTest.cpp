// Messages from another process of the same user: a neighbour writing raw requests with
// pointer-sized numbers in both parameters, for every message of the system classes that takes
// a pointer, gets 0 for each, and the windows live on unchanged.
#include <cstdio>
#include <string>
#include <vector>

#include "platform/controls/Controls.h"
#include "platform/win/Endpoint.h"
#include "tests/win/PeerProcess.h"
#include "tests/win/WinTestSupport.h"

namespace {

class ForeignMessages : public wintest::CrossProcessTest {
 protected:
  void SetUp() override {
    wintest::CrossProcessTest::SetUp();
    platform::controls::Startup();
  }
};

TEST_F(ForeignMessages, PointerMessagesFromAnotherProcessAreRefused) {
  ASSERT_NE(platform::win::EndpointSlot(), 0u);
  HWND parent = CreateWindowExW(0, u"STATIC", u"parent", WS_VISIBLE, 0, 0, 400, 300, nullptr, nullptr,
                                nullptr, nullptr);
  struct Target {
    const char* cls;
    bool wide;
    DWORD style;
  };
  const Target targets[] = {{"EDIT", true, ES_MULTILINE},      {"EDIT", false, ES_AUTOHSCROLL},
                            {"LISTBOX", true, LBS_HASSTRINGS}, {"COMBOBOX", false, CBS_DROPDOWN},
                            {"SCROLLBAR", true, SBS_HORZ},     {"BUTTON", true, BS_PUSHBUTTON},
                            {"STATIC", false, SS_LEFT}};
  std::vector<HWND> windows;
  std::vector<std::string> args = {"--attack"};
  for (const Target& t : targets) {
    const std::u16string cls(t.cls, t.cls + std::char_traits<char>::length(t.cls));
    HWND h = t.wide ? CreateWindowExW(0, cls.c_str(), u"kept", WS_CHILD | WS_VISIBLE | t.style, 0, 0, 200,
                                      100, parent, nullptr, nullptr, nullptr)
                    : CreateWindowExA(0, t.cls, "kept", WS_CHILD | WS_VISIBLE | t.style, 0, 0, 200, 100,
                                      parent, nullptr, nullptr, nullptr);
    ASSERT_NE(h, nullptr) << t.cls;
    windows.push_back(h);
    args.push_back(std::to_string(reinterpret_cast<uintptr_t>(h)));
  }
  args.push_back("--");
  const UINT pointerMessages[] = {
      WM_SETTEXT,
      WM_GETTEXT,
      WM_NCCREATE,
      WM_CREATE,
      WM_GETMINMAXINFO,
      WM_WINDOWPOSCHANGING,
      WM_WINDOWPOSCHANGED,
      WM_NCCALCSIZE,
      WM_DRAWITEM,
      WM_MEASUREITEM,
      WM_NOTIFY,
      WM_SETFONT,
      WM_GETDLGCODE,
      WM_SETTINGCHANGE,
      WM_STYLECHANGING,
      WM_STYLECHANGED,
      WM_ERASEBKGND,
      WM_PRINTCLIENT,
      WM_TIMER,
      WM_CTLCOLOREDIT,
      WM_DESTROY,
      WM_NCDESTROY,
      EM_GETSEL,
      EM_GETRECT,
      EM_SETRECT,
      EM_GETLINE,
      EM_REPLACESEL,
      EM_SETTABSTOPS,
      SBM_GETRANGE,
      SBM_SETSCROLLINFO,
      SBM_GETSCROLLINFO,
      LB_ADDSTRING,
      LB_INSERTSTRING,
      LB_GETTEXT,
      LB_SELECTSTRING,
      LB_FINDSTRING,
      LB_FINDSTRINGEXACT,
      LB_GETSELITEMS,
      LB_GETITEMRECT,
      LB_SETITEMDATA,
      CB_GETEDITSEL,
      CB_ADDSTRING,
      CB_INSERTSTRING,
      CB_GETLBTEXT,
      CB_FINDSTRING,
      CB_FINDSTRINGEXACT,
      CB_SELECTSTRING,
      CB_GETDROPPEDCONTROLRECT,
      CB_SETITEMDATA,
      CB_GETCOMBOBOXINFO,
      0xB000,
      0xB02F,
      0xBC00 + WM_DRAWITEM,  // the form library's own messages
      0xC123,                // a registered message's number without its name
  };
  for (UINT msg : pointerMessages) args.push_back(std::to_string(msg));

  wintest::PeerProcess neighbour(args);
  int code = -1;
  for (int i = 0; i < 600 && !neighbour.Ended(code); ++i) {
    platform::win::ServeEndpoint(50);
    platform::headless::Driver().RunUntilIdle();
  }
  EXPECT_EQ(code, 0) << "a message from the neighbour was taken";
  for (HWND h : windows) {
    ASSERT_TRUE(IsWindow(h));
    char text[16] = {};
    GetWindowTextA(h, text, sizeof text);
    if (h != windows[2]) {
      EXPECT_STREQ(text, "kept");  // a list box keeps no text of its own
    }
  }
  EXPECT_EQ(SendMessageW(windows[2], LB_GETCOUNT, 0, 0), 0);
  EXPECT_EQ(SendMessageW(windows[3], CB_GETCOUNT, 0, 0), 0);
}

}  // namespace
