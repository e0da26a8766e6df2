#include "tests/editor/EditorFixture.h"

#include <cstdlib>
#include <filesystem>

#include "editor/EditorStart.h"
#include "editor/TfrmMain.h"
#include "pictures/PicturesStartup.h"
#include "platform/backend/HeadlessDriver.h"
#include "platform/forms/PlatformStartup.h"
#include "platform/forms/TApplication.h"
#include "platform/rtl/Program.h"
#include "platform/rtl/SysUtils.h"
#include "support/RuntimeFolder.h"
#include "support/SharedData.h"
#include "unicode/UcLayer.h"

namespace editortest {

std::string Utf16Le(const std::u16string& text, bool bom) {
  std::string out = bom ? std::string("\xFF\xFE") : std::string();
  for (char16_t u : text) {
    out.push_back(static_cast<char>(u & 0xFF));
    out.push_back(static_cast<char>(u >> 8));
  }
  return out;
}

std::vector<std::string> LanguageKeys() {
  const std::string path = std::string(ExtractFileDir(ParamStr(0)).c_str()) + "/language_editer/lan_ENG.ini";
  std::vector<uint8_t> bytes = testsupport::ReadFileBytes(path);
  std::string text;  // the keys are ASCII
  for (size_t i = 2; i + 1 < bytes.size(); i += 2) text.push_back(bytes[i + 1] ? '?' : char(bytes[i]));
  std::vector<std::string> keys;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find("\r\n", pos);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(pos, end - pos);
    const size_t eq = line.find('=');
    if (!line.empty() && line[0] != ';' && line[0] != '[' && eq != std::string::npos)
      keys.push_back(line.substr(0, eq));
    pos = end + 2;
  }
  return keys;
}

std::string KeyLanguageFile(const std::string& prefix) {
  std::u16string text = u"[STR_ALL_STR]\r\n";
  for (const std::string& key : LanguageKeys()) {
    const std::string line = key + "=" + prefix + "<" + key + ">\r\n";
    text.append(line.begin(), line.end());
  }
  return Utf16Le(text);
}

std::string SettingsFor(const std::u16string& appStringFile) {
  return Utf16Le(u"[APP_SECTION]\r\nAPP_STRING_FILE=" + appStringFile + u"\r\n");
}

void CopyProductLanguageFiles(const testsupport::TempDir& app) {
  const std::string beside = std::string(ExtractFileDir(ParamStr(0)).c_str()) + "/language_editer/";
  std::filesystem::create_directories(app.file("language_editer"));
  for (const char* file : {"lan_Vietnamese.ini", "lan_ENG.ini", "lan_Khmer.ini"})
    std::filesystem::copy_file(beside + file, app.file(std::string("language_editer/") + file),
                               std::filesystem::copy_options::overwrite_existing);
}

void EditorTest::SetUp() {
  setenv("MMSEDITOR_APP_DIR", app.path().c_str(), 1);
  setenv("PLATFORM_RUNTIME_DIR", runtime.path().c_str(), 1);
  const std::string keys = KeyLanguageFile();
  for (const char* file : {"lan_Vietnamese.ini", "lan_ENG.ini", "lan_Khmer.ini"})
    AppFile(std::string("language_editer/") + file, keys);
  AppFile("App.Config.ini", SettingsFor(u"\\Language\\lan_ENG.ini"));
  unicode::RegisterLayer();
  platform::Startup();
  Application->OnException = [this](TObject*, Exception* e) { exceptions.push_back(e->Message.ToStd()); };
}

void EditorTest::TearDown() {
  // The editor's start registered the picture classes; they go before the platform does.
  pictures::Shutdown();
  platform::Shutdown();
  unsetenv("MMSEDITOR_APP_DIR");
  testsupport::RestoreRuntimeFolder();
}

bool EditorTest::Start(const std::vector<std::string>& args) {
  if (!EditorStart(args)) return false;
  frmMain->Show();
  platform::headless::Driver().RunUntilIdle();
  return true;
}

}  // namespace editortest
