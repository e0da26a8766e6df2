// A fixture for the editor's windows: the platform started headless, an application folder and a
// runtime folder of the test's own (MMSEDITOR_APP_DIR, PLATFORM_RUNTIME_DIR), settings choosing
// English, and language files whose texts are their keys in angle brackets ("<STR_Main_Subject>"),
// so a test reads which key a control shows.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/TempDir.h"

namespace editortest {

// UTF-16LE bytes, with a byte-order mark unless told otherwise.
std::string Utf16Le(const std::u16string& text, bool bom = true);
// The keys of the product's English language file (trailing blanks kept).
std::vector<std::string> LanguageKeys();
// A language file in which every key's text is "<key>", or `prefix` + "<key>".
std::string KeyLanguageFile(const std::string& prefix = "");
// Settings choosing the language file by its APP_STRING_FILE value.
std::string SettingsFor(const std::u16string& appStringFile);
// Puts the product's own three language files (copied beside the test program by the build) in
// the application folder's language_editer/, over the key files a fixture writes there.
void CopyProductLanguageFiles(const testsupport::TempDir& app);

class EditorTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // EditorStart with `args`; when it says the loop would run, shows the main window as the loop
  // would and lets it settle.
  bool Start(const std::vector<std::string>& args = {});
  // Writes the file below the application folder (folders made as needed).
  std::string AppFile(const std::string& name, const std::string& bytes) { return app.write(name, bytes); }

  testsupport::TempDir app;
  testsupport::TempDir runtime;
  std::vector<std::string> exceptions;
};

}  // namespace editortest
