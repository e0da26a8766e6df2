// The Unicode application object: the get-message hook that dispatches typed characters wide,
// wide message boxes and exception texts, the wide title, and the hint action it replaces.
#include <utility>
#include <vector>

#include "UcFixture.h"
#include "platform/forms/TEdit.h"
#include "platform/forms/TFont.h"
#include "platform/forms/THintAction.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/RtlHooks.h"
#include "unicode/SettingChangeTime.h"
#include "unicode/TUcApplication.h"
#include "unicode/TUcEdit.h"
#include "unicode/TUcHintAction.h"
#include "unicode/TUcHintWindow.h"
#include "unicode/UcSystemUpdates.h"
#include "unicode/WideException.h"

namespace uctest {
namespace {

class UcApplication_ : public UcTest {
 protected:
  void SetUp() override {
    UcTest::SetUp();
    Application->OnMessage = [this](MSG& msg, bool& handled) {
      if (msg.message == WM_CHAR || msg.message == WM_NULL) seen.emplace_back(msg.message, msg.wParam);
      handled = handleChars && msg.message == WM_CHAR;
    };
  }
  std::vector<std::pair<UINT, WPARAM>> Type(HWND window, WPARAM code) {
    seen.clear();
    PostMessageW(window, WM_CHAR, code, 1);
    Application->ProcessMessages();  // the form library's own loop
    return seen;
  }
  std::vector<std::pair<UINT, WPARAM>> seen;
  bool handleChars = false;
};

using Seen = std::vector<std::pair<UINT, WPARAM>>;

TEST_F(UcApplication_, TheHookDispatchesCodesFromTheHighHalfOfAsciiWideToUnicodeWindows) {
  CodePageScope page(1252);
  TForm* form = NewForm();
  auto* edit = Child<TUcEdit>(form, 10, 10, 200, 24);
  EXPECT_EQ(Type(edit->Handle(), 0x1780), (Seen{{WM_CHAR, 0x1780}, {WM_NULL, 0x1780}}));
  EXPECT_EQ(Type(edit->Handle(), 0xE9), (Seen{{WM_CHAR, 0xE9}, {WM_NULL, 0xE9}}));
  EXPECT_EQ(Type(edit->Handle(), 0x41), (Seen{{WM_CHAR, 0x41}}));
  EXPECT_EQ(edit->Text(), WideString(u"\u1780\u00E9A"));
}

TEST_F(UcApplication_, UnderUtf8AVietnameseLetterArrivesWhole) {
  CodePageScope page(65001);
  TForm* form = NewForm();
  auto* edit = Child<TUcEdit>(form, 10, 10, 200, 24);
  for (char16_t c : std::u16string(kVietnamese)) Type(edit->Handle(), c);
  EXPECT_EQ(edit->Text(), WideString(kVietnamese));
}

TEST_F(UcApplication_, TheHookLeavesEightBitWindowsManualPeeksAndEightBitDialogsAlone) {
  TForm* form = NewForm();
  auto* edit = Child<TUcEdit>(form, 10, 10, 200, 24);
  auto* narrow = Child<TEdit>(form, 10, 40, 200, 24);
  for (const Seen& s : {Type(narrow->Handle(), 0x1780)})
    for (const auto& m : s) EXPECT_EQ(m.first, UINT(WM_CHAR));

  // Left to the form library's 8-bit loop, the character arrives as its UTF-8 bytes.
  const Seen bytes{{WM_CHAR, 0xE1}, {WM_CHAR, 0x9E}, {WM_CHAR, 0x81}};
  UcApplication->EnableManualPeekMessageWithRemove();
  EXPECT_EQ(Type(edit->Handle(), 0x1781), bytes);
  UcApplication->DisableManualPeekMessageWithRemove();

  HWND dialog = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr, nullptr, nullptr);
  Application->DialogHandle = dialog;
  EXPECT_EQ(Type(edit->Handle(), 0x1781), bytes);
  Application->DialogHandle = nullptr;
  DestroyWindow(dialog);

  // Looked at without removing, the message is untouched.
  PostMessageW(edit->Handle(), WM_CHAR, 0x1782, 1);
  MSG peeked{};
  ASSERT_TRUE(PeekMessageW(&peeked, nullptr, WM_CHAR, WM_CHAR, PM_NOREMOVE));
  EXPECT_EQ(peeked.message, UINT(WM_CHAR));
  Driver().RunUntilIdle();
}

TEST_F(UcApplication_, AnOnMessageThatHandlesTheCharacterSeesItOnceAndNothingIsTyped) {
  TForm* form = NewForm();
  auto* edit = Child<TUcEdit>(form, 10, 10, 200, 24);
  handleChars = true;
  EXPECT_EQ(Type(edit->Handle(), 0x1780), (Seen{{WM_CHAR, 0x1780}, {WM_NULL, 0x1780}}));
  EXPECT_EQ(edit->Text(), WideString());
}

TEST_F(UcApplication_, ExceptionMessagesEndInAFullStopUnlessTheyEndInPunctuation) {
  NewForm();
  struct Case {
    const char16_t* message;
    const char16_t* shown;
  };
  const Case cases[] = {{u"Disk full", u"Disk full."}, {u"Done.", u"Done."}, {u"Stop!", u"Stop!"},
                        {u"Why?", u"Why?."},           {u"", u""},           {kKhmer, nullptr}};
  Driver().OnModal([](const platform::win::ModalInfo&) { return platform::win::ModalAnswer::Result(IDOK); });
  UcApplication->SetTitle(kKhmer);
  for (const Case& c : cases) {
    WideException e{WideString(c.message)};
    UcApplication->ShowException(&e);
    const auto& info = Driver().ModalsSeen().back();
    ASSERT_FALSE(info.texts.empty());
    const std::u16string expected = c.shown ? c.shown : std::u16string(c.message) + u".";
    EXPECT_EQ(info.texts.front(), expected);
    EXPECT_EQ(info.caption, std::u16string(kKhmer));
  }
}

TEST_F(UcApplication_, AKhmerTitleReadsBackExactly) {
  CodePageScope page(1252);
  UcApplication->SetTitle(kKhmer);
  EXPECT_EQ(UcApplication->Title(), WideString(kKhmer));
}

TEST_F(UcApplication_, TheFormLibrarysHintActionIsReplacedByOneCarryingTheWideHint) {
  CodePageScope page(1252);
  NewForm();
  std::vector<WideString> executed;
  std::vector<bool> wide;
  Application->OnActionExecute = [&](TBasicAction* action, bool& handled) {
    auto* uc = dynamic_cast<TUcHintAction*>(action);
    wide.push_back(uc != nullptr);
    if (uc) executed.push_back(uc->Hint());
    handled = true;
  };
  UcApplication->SetHint(kKhmer);
  wide.clear();  // the form library's own hint action for the new hint
  executed.clear();
  auto* hint = new THintAction(Application);
  hint->TCustomAction::SetHint(Application->Hint());
  EXPECT_EQ(SendMessageA(Application->Handle(), CM_ACTIONEXECUTE, 0, reinterpret_cast<LPARAM>(hint)), 1);
  EXPECT_EQ(executed, std::vector<WideString>{WideString(kKhmer)});

  // Another hint, and the layer's own hint action, go their way (to the forms, which have no use
  // for them here): no wide hint action is made for them.
  hint->TCustomAction::SetHint("other");
  EXPECT_EQ(SendMessageA(Application->Handle(), CM_ACTIONEXECUTE, 0, reinterpret_cast<LPARAM>(hint)), 0);
  auto* own = new TUcHintAction(Application);
  own->SetHint(kKhmer);
  EXPECT_EQ(SendMessageA(Application->Handle(), CM_ACTIONEXECUTE, 0, reinterpret_cast<LPARAM>(own)), 0);
  EXPECT_EQ(executed.size(), 1u);
  EXPECT_EQ(wide, std::vector<bool>{true});
}

// The layer keeps the time of the last change of the system's settings where its other parts
// can read it.
TEST_F(UcApplication_, SettingChangesAreTimed) {
  Driver().Advance(1500);
  SendMessageA(Application->Handle(), WM_SETTINGCHANGE, 0, 0);
  EXPECT_EQ(_SettingChangeTime, GetTickCount());
  EXPECT_EQ(UcApplication->SettingChangeTime(), _SettingChangeTime);
  const DWORD changed = _SettingChangeTime;
  Driver().Advance(250);
  EXPECT_EQ(_SettingChangeTime, changed) << "only a change moves it";
  SendMessageA(Application->Handle(), WM_SETTINGCHANGE, 0, 0);
  EXPECT_EQ(_SettingChangeTime, changed + 250);
}

// The classic set-up: every redirection of the run-time library in place, the default font the
// classic dialog font's stand-in, and the layer's hint window the application's.
TEST_F(UcApplication_, TheEnvironmentSetUpInstallsTheLayer) {
  const platform::RtlHooks before = platform::GetRtlHooks();
  const AnsiString savedFont = DefFontData.Name;
  const THintWindowClass savedHint = HintWindowClass;
  InitUcEnvironment();
  const platform::RtlHooks installed = platform::GetRtlHooks();
  EXPECT_TRUE(installed.AnsiToWide && installed.WideToAnsi && installed.LoadResString &&
              installed.WideFormat && installed.RaiseLastOSError);
  EXPECT_THROW(RaiseLastOSError(ERROR_FILE_NOT_FOUND), EWideOSError);
  EXPECT_EQ(DefFontData.Name, AnsiString("MS Sans Serif")) << "the screen lists no Tahoma";
  EXPECT_EQ(TFont().Name(), AnsiString("MS Sans Serif"));
  EXPECT_TRUE(HintWindowClass == THintWindowClass::Of<TUcHintWindow>());
  UninstallUcSystemUpdates();
  EXPECT_TRUE(platform::GetRtlHooks() == before);
  DefFontData.Name = savedFont;
  HintWindowClass = savedHint;
}

}  // namespace
}  // namespace uctest
