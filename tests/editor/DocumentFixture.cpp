#include "tests/editor/DocumentFixture.h"

#include <algorithm>
#include <filesystem>
#include <vector>

#include "platform/rtl/SysUtils.h"

namespace editortest {

DocumentTest::DocumentTest() { PlaceFolders(document, app.path()); }

void DocumentTest::PlaceFolders(MessageDocument& document, const std::string& appFolder) {
  document.exeDir = (appFolder + "/").c_str();
  document.SetFolders();
  for (const AnsiString* folder : {&document.txtDir, &document.imageDir, &document.audioDir})
    EXPECT_TRUE(ForceDirectories(*folder));
}

std::string DocumentTest::Listing(const AnsiString& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder.c_str()))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  std::string out;
  for (const std::string& name : names) out += (out.empty() ? "" : " ") + name;
  return out;
}

}  // namespace editortest
