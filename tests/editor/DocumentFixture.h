// A document without a window whose working folders lie in a temporary application folder of
// the test's own.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "editor/MessageDocument.h"
#include "support/TempDir.h"

namespace editortest {

class DocumentTest : public ::testing::Test {
 public:
  // Points the document's working folders into `appFolder` and makes them.
  static void PlaceFolders(MessageDocument& document, const std::string& appFolder);
  // The full path of `name` in a working folder.
  static std::string In(const AnsiString& folder, const std::string& name) {
    return std::string(folder.c_str()) + "/" + name;
  }
  // The names of the files in a working folder, sorted.
  static std::string Listing(const AnsiString& folder);

 protected:
  DocumentTest();
  // The path of the page's item of a type, "" without one.
  std::string Item(int page, int type) const { return document.ItemPath(page, type); }

  testsupport::TempDir app, files;
  MessageDocument document;
};

}  // namespace editortest
