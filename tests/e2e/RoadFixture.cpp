#include "tests/e2e/RoadFixture.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "controls/TImButton.h"
#include "editor/TfrmTextEditor.h"
#include "mms/MmsTrace.h"
#include "mms/TK3VNMms.h"
#include "mms/TMmsBody.h"
#include "platform/forms/FormMessages.h"
#include "platform/forms/TApplication.h"
#include "platform/forms/TEdit.h"
#include "platform/forms/TImage.h"
#include "platform/forms/TLabel.h"
#include "platform/forms/TScrollBar.h"
#include "platform/forms/TWinControl.h"
#include "platform/rtl/Utf8.h"
#include "support/SharedData.h"

namespace e2e {

namespace fs = std::filesystem;
using platform::headless::Driver;

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void Road::SetUp() {
  editortest::EditorTest::SetUp();
  MmsSetTrace(false);
  AppFile("App.Config.ini",
          editortest::Utf16Le(u"[APP_SECTION]\r\nAPP_STRING_FILE=\\Language\\lan_ENG.ini\r\n"
                              u"[MMS_TITLE_SECTION]\r\nMMS_TITLE=" +
                              std::u16string(kSettingsTitle) + u"\r\n"));
  AppFile("UI_Mivora/imgFrameListnew.bmp",
          ReadFile(MMS_SOURCE_DIR "/resources/skin/editor/imgFrameListnew.bmp"));
  fs::copy(MMS_HELP_DIR, app.path() + "/help", fs::copy_options::recursive);
  Driver().OnModal([this](const ModalInfo& info) {
    modals.push_back(info);
    if (answer) return answer(info);
    switch (info.kind) {
      case ModalInfo::Kind::Form:
      case ModalInfo::Kind::MessageBox:
        return ModalAnswer::Result(1);
      default:
        return ModalAnswer::Cancel();
    }
  });
}

void Road::TearDown() { editortest::EditorTest::TearDown(); }

void Road::StartEditor(const std::vector<std::string>& args) {
  ASSERT_TRUE(Start(args));
  main = frmMain;
  Pump();
}

void Road::Pump() {
  // The program's loop, as the form library runs it: a key message is offered to the nearest
  // control of the form library first (CN_KEYDOWN ...), which is where chords meet the forms'
  // shortcuts. A quit request is left in the queue for the road to see.
  for (int guard = 0; guard < 1000000; ++guard) {
    MSG m;
    if (!PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) return;
    if (m.message == WM_QUIT) {
      PostQuitMessage(int(m.wParam));
      return;
    }
    if (m.message >= WM_KEYDOWN && m.message <= WM_KEYDOWN + 8) {
      HWND target = GetCapture();
      if (!target || !FindControl(target)) {
        target = m.hwnd;
        while (target && !FindControl(target)) target = GetParent(target);
      }
      if (target && SendMessageW(target, CN_BASE + m.message, m.wParam, m.lParam) != 0) continue;
    }
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
  FAIL() << "messages keep coming";
}

bool Road::QuitRequested() {
  MSG m;
  bool quit = false;
  while (PeekMessageW(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) quit = true;
  return quit;
}

void Road::Chord(const std::string& chord) {
  Driver().Chord(chord);
  Pump();
}

void Road::Type(const std::u16string& text) {
  Driver().Type(text);
  Pump();
}

POINT Road::StripPoint(int x, int y) const {
  return Driver().ClientPoint(
      main->Handle(),
      main->Controls().imgFrameList->Left() + x - main->Controls().scrBarFrameList->Position(),
      main->Controls().imgFrameList->Top() + y);
}

POINT Road::Centre(TControl* c) const {
  RECT r{c->Left(), c->Top(), c->Left() + c->Width(), c->Top() + c->Height()};
  const HWND parent = c->Parent() ? c->Parent()->Handle() : main->Handle();
  return Driver().ClientPoint(parent, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

void Road::Click(POINT screen) {
  Driver().Click(screen);
  Pump();
}

void Road::DoubleClick(POINT screen) {
  Driver().DoubleClick(screen);
  Pump();
}

void Road::Retype(TControl* edit, const std::u16string& text) {
  Click(Centre(edit));
  Chord("Ctrl+A");
  Chord("Delete");
  Type(text);
}

bool Road::Saw(const std::u16string& text) const {
  for (const ModalInfo& m : modals) {
    if (m.caption == text || m.title == text || m.filter == text) return true;
    if (std::find(m.texts.begin(), m.texts.end(), text) != m.texts.end()) return true;
  }
  return false;
}

void Road::WriteText(const std::u16string& text, bool ok) {
  answer = [text, ok](const ModalInfo& info) {
    if (info.caption != u"TextEditor") return ModalAnswer::Result(1);
    return ModalAnswer::Drive([text, ok, hwnd = info.hwnd] {
      Driver().RunUntilIdle();
      Driver().Type(text);
      Driver().RunUntilIdle();
      auto* form = dynamic_cast<TfrmTextEditor*>(FindControl(hwnd));
      ASSERT_NE(form, nullptr);
      TImButton* button = ok ? form->btnOK : form->btnCancle;
      Driver().Click(Driver().ClientPoint(button->Handle(), button->Width() / 2, button->Height() / 2));
      Driver().RunUntilIdle();
    });
  };
}

void Road::ChooseFile(const std::string& file) {
  answer = [file](const ModalInfo& info) {
    if (info.kind == ModalInfo::Kind::OpenDialog || info.kind == ModalInfo::Kind::SaveDialog)
      return ModalAnswer::Files({platform::Utf8ToUtf16(file)});
    if (info.kind == ModalInfo::Kind::PopupMenu) return ModalAnswer::Cancel();
    return ModalAnswer::Result(1);
  };
}

void Road::Shot(const std::string& name, HWND window) {
  fs::create_directories(MMS_SCREENSHOT_DIR);
  EXPECT_TRUE(
      Driver().SavePng(window ? window : main->Handle(), std::string(MMS_SCREENSHOT_DIR) + "/" + name));
}

platform::headless::CaptureImage Road::Capture() const { return Driver().Capture(main->Handle()); }

std::string Road::Shared(const std::string& relative, const std::string& name) {
  return AppFile("media/" + name, ReadFile(testsupport::SharedPath("testdata/" + relative)));
}

std::string Road::Wav(const std::string& name) {
  // 8 kHz, 8-bit mono PCM: a tenth of a second of a square tone.
  const uint32_t samples = 800;
  std::string wav = "RIFF";
  auto le32 = [&](uint32_t v) {
    for (int i = 0; i < 4; ++i) wav.push_back(char((v >> (8 * i)) & 0xFF));
  };
  auto le16 = [&](uint16_t v) {
    wav.push_back(char(v & 0xFF));
    wav.push_back(char(v >> 8));
  };
  le32(36 + samples);
  wav += "WAVEfmt ";
  le32(16);
  le16(1);
  le16(1);
  le32(8000);
  le32(8000);
  le16(1);
  le16(8);
  wav += "data";
  le32(samples);
  for (uint32_t i = 0; i < samples; ++i) wav.push_back(char((i / 10) % 2 ? 0xC0 : 0x40));
  return AppFile("media/" + name, wav);
}

std::string Road::NoiseJpeg(const std::string& name) {
  const std::string file = app.path() + "/media/" + name;
  fs::create_directories(app.path() + "/media");
  const std::string command = "convert -size 440x440 xc: +noise Random -quality 95 '" + file + "'";
  EXPECT_EQ(std::system(command.c_str()), 0);
  EXPECT_GT(fs::file_size(file), 300u * 1024u);
  return file;
}

int Road::Pages() const { return main->Mms()->Body->GetFrameCount(); }

std::string Road::LabelText(TControl* label) const {
  if (auto* l = dynamic_cast<TLabel*>(label)) return l->Caption().c_str();
  return label->Text().c_str();
}

}  // namespace e2e
