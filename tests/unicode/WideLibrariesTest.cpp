// Libraries and packages by UTF-16 name: the failure every load meets here, and the start-up of
// a package a test's loader pretends to load.
#include <gtest/gtest.h>

#include <string>

#include "CodePageScope.h"
#include "platform/rtl/LastError.h"
#include "unicode/WideLibraries.h"

namespace {

TEST(WideLoadPackage, AFailedLoadNamesThePackageAndTheReason) {
  EXPECT_EQ(WideSafeLoadLibrary(u"\u1780.bpl"), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_NOT_SUPPORTED) << "the load's error, not the error mode's";
  try {
    WideLoadPackage(u"\u1780.bpl");
    ADD_FAILURE();
  } catch (const EPackageError& e) {
    EXPECT_EQ(e.Message.ToStd(),
              "Can't load package \xE1\x9E\x80.bpl.\r\n" + SysErrorMessage(ERROR_NOT_SUPPORTED).ToStd());
  }
}

int g_started = 0;

// Through the 8-bit loader, which a test may hand modules: the package's start-up runs once per
// load, and one that raises passes its exception on.
TEST(WideLoadPackage, RunsThePackagesStartUp) {
  NarrowScope narrow;
  HMODULE fake = reinterpret_cast<HMODULE>(0x5000);
  bool failing = false;
  platform::controls::SetLibraryLoader(
      [fake](const std::string& name) { return name == "good.bpl" ? fake : nullptr; },
      [&failing](HMODULE, const std::string& name) -> FARPROC {
        if (name != "Initialize") return nullptr;
        return failing ? FARPROC([] { throw Exception("start-up failed"); }) : FARPROC([] { ++g_started; });
      });
  EXPECT_EQ(WideLoadPackage(u"good.bpl"), fake);
  EXPECT_EQ(g_started, 1);
  failing = true;
  EXPECT_THROW(WideLoadPackage(u"good.bpl"), Exception);
  EXPECT_THROW(WideLoadPackage(u"other.bpl"), EPackageError);
  platform::controls::SetLibraryLoader(nullptr, nullptr);
}

}  // namespace
