#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "CodePageScope.h"
#include "platform/rtl/KernelHandles.h"
#include "platform/rtl/LastError.h"
#include "platform/rtl/Program.h"
#include "unicode/WideErrorMessages.h"
#include "unicode/WideException.h"

namespace {

constexpr int kId = 0xF101;
constexpr int kFmtId = 0xF102;

TEST(WideException, EveryConstructorFillsBothMessages) {
  platform::RegisterResourceString(kId, u"\u1780 text");
  platform::RegisterResourceString(kFmtId, u"\u1780 %d");
  TResStringRec record{&HInstance, kId};
  TResStringRec fmtRecord{&HInstance, kFmtId};
  struct Case {
    const char* name;
    std::function<WideException()> make;
    std::u16string message;
    int help;
  };
  const Case cases[] = {
      {"message", [] { return WideException(u"\u1780 text"); }, u"\u1780 text", 0},
      {"format", [] { return WideException(u"\u1780 %d", {TVarRec(7)}); }, u"\u1780 7", 0},
      {"id", [] { return WideException(kId); }, u"\u1780 text", 0},
      {"record", [&] { return WideException(&record); }, u"\u1780 text", 0},
      {"id format", [] { return WideException(kFmtId, {TVarRec(7)}); }, u"\u1780 7", 0},
      {"record format", [&] { return WideException(&fmtRecord, {TVarRec(7)}); }, u"\u1780 7", 0},
      {"message help", [] { return WideException(u"\u1780 text", 5); }, u"\u1780 text", 5},
      {"format help", [] { return WideException(u"\u1780 %d", {TVarRec(7)}, 5); }, u"\u1780 7", 5},
      {"id help", [] { return WideException(kId, 5); }, u"\u1780 text", 5},
      {"record help", [&] { return WideException(&record, 5); }, u"\u1780 text", 5},
      {"id format help", [] { return WideException(kFmtId, {TVarRec(7)}, 5); }, u"\u1780 7", 5},
      {"record format help", [&] { return WideException(&fmtRecord, {TVarRec(7)}, 5); }, u"\u1780 7", 5},
  };
  CodePageScope scope(1252);
  for (const Case& c : cases) {
    WideException e = c.make();
    EXPECT_EQ(e.WideMessage().ToU16(), c.message) << c.name;
    EXPECT_EQ(std::string(e.Message.c_str()), std::string(AnsiString(WideString(c.message)).c_str()))
        << c.name;
    EXPECT_EQ(e.HelpContext, c.help) << c.name;
  }
  WideException e(u"a");
  e.SetMessage(u"\u00E9");
  EXPECT_EQ(e.WideMessage().ToU16(), u"\u00E9");
  EXPECT_STREQ(e.what(), "\xE9");
}

TEST(WideException, RaiseLastOSErrorCarriesTheCodeAndItsText) {
  for (DWORD code : {DWORD{0}, ERROR_FILE_NOT_FOUND}) {
    SetLastError(code);
    try {
      WideRaiseLastOSError();
    } catch (const EWideOSError& e) {
      EXPECT_EQ(e.ErrorCode, code);
      std::u16string expected = code ? WideSysErrorMessage(code).ToU16() : u"A call to an OS function failed";
      EXPECT_EQ(e.WideMessage().ToU16(), expected);
    }
  }
  EXPECT_NE(WideSysErrorMessage(ERROR_FILE_NOT_FOUND).ToU16().find(u"\r\n"), std::u16string::npos);
}

TEST(WideException, LibraryMessagesFallBackToTheUnspecifiedText) {
  for (bool narrow : {false, true}) {
    unicode::SetNarrowSystemForTesting(narrow);
    EXPECT_EQ(WideLibraryErrorMessage(u"x", HInstance, 1234).ToU16(), u"Unspecified error (1234) from x.");
    EXPECT_FALSE(WideLibraryErrorMessage(u"system", nullptr, ERROR_ACCESS_DENIED).IsEmpty());
  }
  unicode::SetNarrowSystemForTesting(false);
}

TEST(WideException, ChecksOfHandlesAndPointers) {
  int x = 0;
  EXPECT_EQ(WinCheckP(&x), &x);
  EXPECT_EQ(WinCheckH(&x), &x);
  EXPECT_EQ(WinCheckFileH(nullptr), nullptr);
  SetLastError(ERROR_ACCESS_DENIED);
  EXPECT_THROW(WinCheckP(nullptr), EOSError);
  EXPECT_THROW(WinCheckH(nullptr), EOSError);
  EXPECT_THROW(WinCheckFileH(INVALID_HANDLE_VALUE), EOSError);
  EXPECT_TRUE(CheckWin32Version(5, 1));
  EXPECT_TRUE(Win32PlatformIsUnicode() && Win32PlatformIsXP() && Win32PlatformIs2003() &&
              Win32PlatformIsVista());
  NarrowScope narrow;
  EXPECT_FALSE(Win32PlatformIsUnicode() || Win32PlatformIsXP() || Win32PlatformIs2003() ||
               Win32PlatformIsVista());
}

}  // namespace
