// The message box and the file dialogs answered from the headless script: the scripted button,
// Enter and Esc in a driven box, the scripted files with the default extension, several files
// in one buffer, a buffer too small, and the overwrite prompt.
#include <cstring>
#include <fstream>
#include <vector>

#include "ControlsTestSupport.h"
#include "platform/controls/FileDialogs.h"
#include "platform/rtl/CodePage.h"
#include "support/TempDir.h"

using namespace controlstest;
using platform::headless::ModalAnswer;
using platform::headless::ModalInfo;

namespace {

using DialogsTest = ControlsTest;

TEST_F(DialogsTest, MessageBoxReturnsTheScriptedButtonAndDescribesItself) {
  ModalInfo seen;
  driver().OnModal([&](const ModalInfo& info) {
    seen = info;
    return ModalAnswer::Result(IDNO);
  });
  EXPECT_EQ(MessageBoxA(parent, "Save the changes?", "Editor", MB_YESNOCANCEL | MB_ICONQUESTION), IDNO);
  EXPECT_EQ(seen.kind, ModalInfo::Kind::MessageBox);
  EXPECT_EQ(seen.caption, u"Editor");
  ASSERT_EQ(seen.texts.size(), 4u);
  EXPECT_EQ(seen.texts[0], u"Save the changes?");
  EXPECT_EQ(seen.texts[1], u"&Yes");
  EXPECT_EQ(seen.texts[3], u"Cancel");
  EXPECT_FALSE(IsWindow(seen.hwnd));  // gone when the call returns
  EXPECT_TRUE(IsWindowEnabled(parent));
}

TEST_F(DialogsTest, DrivenMessageBoxAnswersKeysMnemonicsAndClicks) {
  struct Case {
    UINT flags;
    std::string chord;
    int expected;
  } cases[] = {
      {MB_OKCANCEL | MB_DEFBUTTON2, "Enter", IDCANCEL},
      {MB_YESNO, "Esc", IDNO},
      {MB_YESNO, "Enter", IDYES},
      {MB_ABORTRETRYIGNORE, "R", IDRETRY},
  };
  for (const Case& c : cases) {
    driver().OnModal([&](const ModalInfo&) { return ModalAnswer::Drive([&] { driver().Chord(c.chord); }); });
    EXPECT_EQ(MessageBoxW(parent, u"Text", u"Caption", c.flags), c.expected) << c.chord;
  }
  // A click on the second button.
  driver().OnModal([&](const ModalInfo& info) {
    return ModalAnswer::Drive([&, box = info.hwnd] {
      HWND second = GetDlgItem(box, IDCANCEL);
      RECT r;
      GetWindowRect(second, &r);
      driver().Click(POINT{r.left + 5, r.top + 5});
    });
  });
  EXPECT_EQ(MessageBoxW(parent, u"Text", u"Caption", MB_OKCANCEL), IDCANCEL);
}

TEST_F(DialogsTest, OpenDialogReturnsTheScriptedFile) {
  ModalInfo seen;
  driver().OnModal([&](const ModalInfo& info) {
    seen = info;
    return ModalAnswer::Files({u"/home/user/Pictures/photo.jpg"});
  });
  char16_t buffer[260] = {};
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = parent;
  ofn.lpstrFilter = u"Pictures\0*.jpg;*.png\0All files\0*.*\0";
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = buffer;
  ofn.nMaxFile = 260;
  ofn.lpstrInitialDir = u"/home/user";
  ofn.lpstrTitle = u"Add a picture";
  ASSERT_TRUE(GetOpenFileNameW(&ofn));
  EXPECT_EQ(std::u16string(buffer), u"/home/user/Pictures/photo.jpg");
  EXPECT_EQ(ofn.nFileOffset, 20);
  EXPECT_EQ(ofn.nFileExtension, 26);
  EXPECT_EQ(seen.kind, ModalInfo::Kind::OpenDialog);
  EXPECT_EQ(seen.filter, u"Pictures|*.jpg;*.png|All files|*.*");
  EXPECT_EQ(seen.initialDir, u"/home/user");
  EXPECT_EQ(seen.title, u"Add a picture");
  // Cancel: FALSE with no extended error.
  driver().OnModal([](const ModalInfo&) { return ModalAnswer::Cancel(); });
  EXPECT_FALSE(GetOpenFileNameW(&ofn));
  EXPECT_EQ(CommDlgExtendedError(), 0u);
}

TEST_F(DialogsTest, TheNameInTheResultBufferIsTheNameTheDialogStartsWith) {
  std::vector<std::u16string> names;
  driver().OnModal([&](const ModalInfo& info) {
    names.push_back(info.fileName);
    return ModalAnswer::Cancel();
  });
  char16_t wide[32] = u"Tiếng Việt.mms";
  OPENFILENAMEW w{};
  w.lStructSize = sizeof w;
  w.lpstrFile = wide;
  w.nMaxFile = 32;
  EXPECT_FALSE(GetSaveFileNameW(&w));
  // An 8-bit buffer filled to its end without a terminator: only what lies inside it counts.
  char narrow[8];
  std::memcpy(narrow, "abcdefgh", 8);
  OPENFILENAMEA a{};
  a.lStructSize = sizeof a;
  a.lpstrFile = narrow;
  a.nMaxFile = 8;
  EXPECT_FALSE(GetOpenFileNameA(&a));
  EXPECT_EQ(names, (std::vector<std::u16string>{u"Tiếng Việt.mms", u"abcdefgh"}));
}

TEST_F(DialogsTest, SeveralFilesBufferSizeAndDefaultExtension) {
  driver().OnModal([](const ModalInfo&) { return ModalAnswer::Files({u"/d/a.wav", u"/d/b.mid"}); });
  char buffer[64] = {};
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.lpstrFile = buffer;
  ofn.nMaxFile = sizeof buffer;
  ofn.Flags = OFN_ALLOWMULTISELECT | OFN_EXPLORER;
  ASSERT_TRUE(GetOpenFileNameA(&ofn));
  EXPECT_EQ(std::string(buffer, 16), std::string("/d\0a.wav\0b.mid\0\0", 16));
  EXPECT_EQ(ofn.nFileOffset, 3);
  // Too small: nothing but the needed size in the first unit.
  ofn.nMaxFile = 10;
  EXPECT_FALSE(GetOpenFileNameA(&ofn));
  EXPECT_EQ(CommDlgExtendedError(), FNERR_BUFFERTOOSMALL);
  EXPECT_EQ(*reinterpret_cast<WORD*>(buffer), 16);
  // A record of an unknown size is refused.
  ofn.lStructSize = 100;
  EXPECT_FALSE(GetOpenFileNameA(&ofn));
  EXPECT_EQ(CommDlgExtendedError(), CDERR_STRUCTSIZE);
  // Save adds the default extension to a name without one.
  driver().OnModal([](const ModalInfo&) { return ModalAnswer::Files({u"/tmp/message"}); });
  OPENFILENAMEW save{};
  char16_t out[64] = {};
  save.lStructSize = sizeof save;
  save.lpstrFile = out;
  save.nMaxFile = 64;
  save.lpstrDefExt = u"mms";
  ASSERT_TRUE(GetSaveFileNameW(&save));
  EXPECT_EQ(std::u16string(out), u"/tmp/message.mms");
}

TEST_F(DialogsTest, OverwritePromptAsksAgainWhenRefused) {
  testsupport::TempDir dir;
  const std::string existing = dir.path() + "/old.mms";
  std::ofstream(existing) << "x";
  const std::u16string existingW(existing.begin(), existing.end());
  const std::u16string fresh = existingW.substr(0, existingW.size() - 7) + u"new.mms";
  int dialogs = 0, boxes = 0;
  driver().OnModal([&](const ModalInfo& info) {
    if (info.kind == ModalInfo::Kind::MessageBox) return ++boxes, ModalAnswer::Result(IDNO);
    return ModalAnswer::Files({++dialogs == 1 ? existingW : fresh});
  });
  char16_t out[512] = {};
  OPENFILENAMEW save{};
  save.lStructSize = sizeof save;
  save.lpstrFile = out;
  save.nMaxFile = 512;
  save.Flags = OFN_OVERWRITEPROMPT;
  ASSERT_TRUE(GetSaveFileNameW(&save));
  EXPECT_EQ(std::u16string(out), fresh);
  EXPECT_EQ(dialogs, 2);
  EXPECT_EQ(boxes, 1);
}

}  // namespace

// What a file dialog's hook saw while the dialog was open.
struct HookLog {
  std::vector<UINT> messages;
  HWND initWindow = nullptr;
  LPARAM initRecord = 0;
  std::vector<std::u16string> paths;  // CDM_GETFILEPATH at each CDN_FILEOK, in the dialog's set
  std::vector<LRESULT> tooSmall;      // the answer to a buffer one character short
  int refusals = 0;                   // CDN_FILEOKs still to refuse
  std::vector<bool> hookInChild;
};
HookLog* hookLog = nullptr;

UINT_PTR RecordingHook(HWND hwnd, UINT msg, WPARAM, LPARAM l) {
  if (msg != WM_INITDIALOG && msg != WM_NOTIFY) return 0;
  hookLog->messages.push_back(msg);
  if (msg == WM_INITDIALOG) {
    hookLog->initWindow = hwnd;
    hookLog->initRecord = l;
    return 0;
  }
  const auto* note = reinterpret_cast<const NMHDR*>(l);
  if (note->code != CDN_FILEOK) return 0;
  // Explorer style: the dialog is the hook window's parent; old style: the hook window itself.
  HWND dialog = note->hwndFrom;
  hookLog->hookInChild.push_back(GetParent(hwnd) == dialog && hwnd != dialog);
  // An 8-bit dialog answers in 8 bits, its capacity and sizes counted in bytes.
  const bool wide = IsWindowUnicode(dialog);
  char16_t wideText[300];
  char narrowText[300];
  const LRESULT needed = wide ? SendMessageW(dialog, CDM_GETFILEPATH, 300, LPARAM(wideText))
                              : SendMessageA(dialog, CDM_GETFILEPATH, 300, LPARAM(narrowText));
  hookLog->paths.push_back(needed <= 0 ? u"<failed>"
                           : wide      ? std::u16string(wideText)
                                       : platform::MultiByteToUtf16(narrowText, CP_UTF8));
  // One character short of the path and its terminator: the needed size, the buffer untouched.
  std::vector<char16_t> shortBuffer(size_t(std::max<LRESULT>(needed - 1, 1)), u'#');
  hookLog->tooSmall.push_back(
      wide ? SendMessageW(dialog, CDM_GETFILEPATH, WPARAM(needed - 1), LPARAM(shortBuffer.data()))
           : SendMessageA(dialog, CDM_GETFILEPATH, WPARAM(needed - 1), LPARAM(shortBuffer.data())));
  if (shortBuffer[0] != u'#') hookLog->tooSmall.back() = -99;
  if (hookLog->refusals > 0) {
    --hookLog->refusals;
    SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, 1);
    return 1;
  }
  return 0;
}

TEST_F(DialogsTest, AHookRunsInsideTheOpenDialogAndCanKeepItOpen) {
  struct Case {
    bool explorer, ansi;
  };
  for (const Case c : {Case{true, false}, Case{false, false}, Case{true, true}}) {
    SCOPED_TRACE(testing::Message() << "explorer " << c.explorer << " ansi " << c.ansi);
    HookLog log;
    log.refusals = 1;
    hookLog = &log;
    int asked = 0;
    driver().OnModal([&](const ModalInfo&) {
      return ModalAnswer::Files({++asked == 1 ? u"/d/ខ្មែរ/refused.txt" : u"/d/ខ្មែរ/taken.txt"});
    });
    const DWORD flags = OFN_ENABLEHOOK | (c.explorer ? OFN_EXPLORER : 0);
    BOOL ok;
    std::u16string result;
    void* record;
    char16_t wideBuffer[64] = {};
    char narrowBuffer[64] = {};
    OPENFILENAMEW w{};
    OPENFILENAMEA a{};
    if (c.ansi) {
      a.lStructSize = sizeof a;
      a.hwndOwner = parent;
      a.lpstrFile = narrowBuffer;
      a.nMaxFile = 64;
      a.Flags = flags;
      a.lpfnHook = &RecordingHook;
      record = &a;
      ok = GetOpenFileNameA(&a);
      result = platform::MultiByteToUtf16(narrowBuffer, CP_UTF8);
    } else {
      w.lStructSize = sizeof w;
      w.hwndOwner = parent;
      w.lpstrFile = wideBuffer;
      w.nMaxFile = 64;
      w.Flags = flags;
      w.lpfnHook = &RecordingHook;
      record = &w;
      ok = GetOpenFileNameW(&w);
      result = wideBuffer;
    }
    hookLog = nullptr;
    ASSERT_TRUE(ok);
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(result, u"/d/ខ្មែរ/taken.txt");
    EXPECT_EQ(log.messages, (std::vector<UINT>{WM_INITDIALOG, WM_NOTIFY, WM_NOTIFY}));
    EXPECT_EQ(log.initRecord, LPARAM(record));
    EXPECT_EQ(log.hookInChild, std::vector<bool>(2, c.explorer));
    EXPECT_EQ(log.paths, (std::vector<std::u16string>{u"/d/ខ្មែរ/refused.txt", u"/d/ខ្មែរ/taken.txt"}));
    const LRESULT needed = c.ansi ? LRESULT(std::string("/d/ខ្មែរ/refused.txt").size() + 1)
                                  : LRESULT(std::u16string(u"/d/ខ្មែរ/refused.txt").size() + 1);
    EXPECT_EQ(log.tooSmall, (std::vector<LRESULT>{needed, needed - 2}));
    // The dialog's window is gone once it returned.
    EXPECT_FALSE(IsWindow(log.initWindow));
  }
}
