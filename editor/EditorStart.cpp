#include "editor/EditorStart.h"

#include <memory>

#include "editor/EditorAppFolder.h"
#include "editor/TCanvasTextMeasurer.h"
#include "editor/TDelMessageBox.h"
#include "editor/TFrameBox.h"
#include "editor/TMmsViewer.h"
#include "editor/TMsgBox.h"
#include "editor/TResStringManager.h"
#include "editor/TfrmMain.h"
#include "editor/WorkingArea.h"
#include "pictures/PicturesStartup.h"
#include "platform/forms/TApplication.h"
#include "platform/forms/TPanel.h"
#include "platform/rtl/KernelHandles.h"
#include "platform/rtl/LastError.h"
#include "platform/rtl/Process.h"
#include "platform/rtl/Profile.h"
#include "platform/rtl/StringRoutines.h"

namespace {

// The name every editor locks: one editor runs per user.
constexpr const char* kInstanceMutex = "QuarnMivora,0x12,0xab,0x4f,0x06,0xab,0x1e,0x2c,0x8d,0x9b,0x1d,0x66";
constexpr UINT kErrorAlreadyExists = 183;
constexpr int kEnglish = 1;
// APP_STRING_FILE is read into a buffer of this size (29 characters and the terminator).
constexpr DWORD kLanguageValueSize = 30;

const char* const kLanguageValues[] = {
    "\\Language\\lan_VIE.ini",
    "\\Language\\lan_ENG.ini",
    "\\Language\\lan_Khmer.ini",
};

// MMS_TITLE is read into a buffer of this many characters.
constexpr DWORD kTitleSize = 1024;

HANDLE instanceMutex = nullptr;
// Whether the lock could not be had at all (the runtime folder is another user's, or unusable),
// and whether the user was told.
bool runsUnguarded = false;
bool toldUnguarded = false;

}  // namespace

AnsiString EditorSettingsPath() { return EditorAppFolder() + "App.Config.ini"; }

int KnownLanguageIndexOf(const AnsiString& value) {
  for (int i = 0; i < 3; ++i) {
    if (value == kLanguageValues[i]) return i;
  }
  return -1;
}

int LanguageIndexOf(const AnsiString& value) {
  const int index = KnownLanguageIndexOf(value);
  return index < 0 ? kEnglish : index;
}

AnsiString LanguageSetting() {
  char value[kLanguageValueSize] = {};
  GetPrivateProfileStringA("APP_SECTION", "APP_STRING_FILE", kLanguageValues[kEnglish], value,
                           kLanguageValueSize, EditorSettingsPath().c_str());
  return AnsiString(value);
}

void SelectStartLanguage() { ResStringManager.SelectLanguageFile(LanguageIndexOf(LanguageSetting())); }

bool ClaimSingleInstance() {
  if (instanceMutex) {
    CloseHandle(instanceMutex);
    instanceMutex = nullptr;
  }
  HANDLE mutex = CreateMutexA(nullptr, FALSE, kInstanceMutex);
  if (GetLastError() == kErrorAlreadyExists) {
    CloseHandle(mutex);
    return false;
  }
  // Without a runtime folder there is no lock to take: the editor runs unguarded (the platform
  // said why on standard error; the user is told once the window is up).
  runsUnguarded = mutex == nullptr;
  instanceMutex = mutex;
  return true;
}

bool ClaimWorkingFolder() { return workarea::ClaimWorkingArea(EditorAppFolder()); }

bool EditorStart(const std::vector<std::string>& args) {
  // The picture classes register once, after the platform has started.
  pictures::Startup();
  // The document sizes a slide's "Text" region by the lines the page canvas draws.
  SetDefaultTextMeasurer(std::make_shared<TCanvasTextMeasurer>());
  RegisterEditorForms();
  RegisterMmsViewer();
  SelectStartLanguage();
  if (!ClaimSingleInstance() || !ClaimWorkingFolder()) return false;
  try {
    Application->Initialize();
    Application->CreateForm(frmMain);
    // The preview docks into the main window's panel.
    Application->CreateForm(MmsViewer);
    MmsViewer->Dock(frmMain->Controls().pnl1, frmMain->Mms(), frmMain->Document().previewDir);
    // The boxes are made once here and never shown: every use makes a box of its own.
    Application->CreateForm(DelMessageBox);
    Application->CreateForm(MsgBox);
    Application->CreateForm(FrameBox);
    if (runsUnguarded && !toldUnguarded) {
      toldUnguarded = true;
      ShowMsgBox("STR_Main_Error_RuntimeFolder");
    }
    OpenFromCommandLine(args);
    return true;
  } catch (Exception& e) {
    Application->ShowException(&e);
  } catch (...) {
    // Whatever else went wrong is shown as the form library's exception without a text.
    Exception e("");
    Application->ShowException(&e);
  }
  return false;
}

int EditorMain(const std::vector<std::string>& args) {
  if (EditorStart(args)) Application->Run();
  return 0;
}

void OpenFromCommandLine(const std::vector<std::string>& args) {
  if (args.empty() || !SameText(AnsiString(args[0].c_str()), "open")) return;
  // Without a file name the file stream raises its error, which start-up shows.
  frmMain->OpenMmsFile(args.size() > 1 ? AnsiString(args[1].c_str()) : AnsiString());
  // The subject the settings give replaces whatever the open set, even when empty.
  const WideString settings(EditorSettingsPath());
  std::u16string title(kTitleSize, u'\0');
  const DWORD length = GetPrivateProfileStringW(u"MMS_TITLE_SECTION", u"MMS_TITLE", u"", title.data(),
                                                kTitleSize, settings.c_bstr());
  title.resize(length);
  frmMain->SetSubjectText(WideString(title));
}
