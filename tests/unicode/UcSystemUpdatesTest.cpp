// The run-time library's routines redirected to the layer's, and put back exactly.
#include <gtest/gtest.h>

#include <string>

#include "CodePageScope.h"
#include "platform/forms/TApplication.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/LastError.h"
#include "platform/rtl/Program.h"
#include "platform/rtl/Resources.h"
#include "platform/rtl/RtlHooks.h"
#include "unicode/UcSystemUpdates.h"
#include "unicode/WideException.h"

namespace {

constexpr UINT kKhmerId = 61001;

class UpdatesScope {
 public:
  explicit UpdatesScope(TUcSystemUpdates updates) { InstallUcSystemUpdates(updates); }
  ~UpdatesScope() { UninstallUcSystemUpdates(); }
};

TEST(UcSystemUpdates, ShutdownPutsEveryHookBack) {
  const platform::RtlHooks before = platform::GetRtlHooks();
  const auto showBefore = TApplication::GetShowExceptionProc();
  InstallUcSystemUpdates();
  const platform::RtlHooks installed = platform::GetRtlHooks();
  EXPECT_FALSE(installed == before);
  EXPECT_NE(TApplication::GetShowExceptionProc(), showBefore);
  EXPECT_TRUE(installed.AnsiToWide && installed.WideToAnsi && installed.LoadResString &&
              installed.WideFormat && installed.RaiseLastOSError);
  InstallUcSystemUpdates(tsFixWideStrConcat);  // a second install keeps the first saved hooks
  UninstallUcSystemUpdates();
  EXPECT_TRUE(platform::GetRtlHooks() == before);
  EXPECT_EQ(TApplication::GetShowExceptionProc(), showBefore);
  UninstallUcSystemUpdates();  // nothing installed: nothing changes
  EXPECT_TRUE(platform::GetRtlHooks() == before);
}

TEST(UcSystemUpdates, WideExceptionsRaiseTheLayersException) {
  EXPECT_THROW(RaiseLastOSError(ERROR_FILE_NOT_FOUND), EOSError);
  UpdatesScope scope(tsWideExceptions);
  try {
    RaiseLastOSError(ERROR_FILE_NOT_FOUND);
    ADD_FAILURE();
  } catch (const EWideOSError& e) {
    EXPECT_EQ(e.ErrorCode, ERROR_FILE_NOT_FOUND);
  }
}

// Under an 8-bit code page a Khmer resource string loaded as 8-bit text and widened at once
// keeps its letters; another widening of the same bytes gets the 8-bit meaning.
TEST(UcSystemUpdates, ResourceStringsWidenedAtOnceKeepTheirText) {
  platform::RegisterResourceString(kKhmerId, u"\u1797\u17B6\u179F\u17B6 Khmer text");
  TResStringRec record{&HInstance, static_cast<int>(kKhmerId)};
  CodePageScope page(1252);
  EXPECT_EQ(WideString(LoadResString(&record)).ToU16(), u"???? Khmer text");
  UpdatesScope scope(tsWideResourceStrings);
  AnsiString narrow = LoadResString(&record);
  EXPECT_EQ(narrow.ToStd(), "???? Khmer text");
  EXPECT_EQ(WideString(narrow).ToU16(), u"\u1797\u17B6\u179F\u17B6 Khmer text");
  EXPECT_EQ(WideString(narrow).ToU16(), u"???? Khmer text") << "only the first widening";
  AnsiString copy = LoadResString(&record);
  AnsiString other("???? Khmer text");
  EXPECT_EQ(WideString(other).ToU16(), u"???? Khmer text") << "equal bytes elsewhere";
}

TEST(UcSystemUpdates, WideFormatGoesThroughTheLayersFormatterWithTheSameText) {
  const std::u16string expected =
      WideFormat(u"%s: %d%% of %.2f", {TVarRec(WideString(u"\u1780")), TVarRec(42), TVarRec(2.5)}).ToU16();
  UpdatesScope scope(tsFixWideFormat);
  EXPECT_EQ(
      WideFormat(u"%s: %d%% of %.2f", {TVarRec(WideString(u"\u1780")), TVarRec(42), TVarRec(2.5)}).ToU16(),
      expected);
  EXPECT_EQ(expected, u"\u1780: 42% of 2.50");
}

}  // namespace
