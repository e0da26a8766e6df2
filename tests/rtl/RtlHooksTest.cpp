// Replaceable routines of the run-time library: an installed hook is used, the library's own
// routine stays reachable, and clearing the hooks brings the own routines back.
#include <gtest/gtest.h>

#include <string>

#include "platform/rtl/AnsiString.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/RtlHooks.h"
#include "platform/rtl/WideString.h"

namespace {

TEST(RtlHooks, InstalledRoutinesStandInForTheLibrarysOwn) {
  const platform::RtlHooks before = platform::GetRtlHooks();
  platform::RtlHooks hooks;
  hooks.AnsiToWide = [](std::string_view b) { return u"<" + platform::OwnAnsiToWide(b) + u">"; };
  hooks.WideToAnsi = [](std::u16string_view u) { return "[" + platform::OwnWideToAnsi(u) + "]"; };
  hooks.WideFormat = [](const WideString& f, const TVarRec* a, int h) {
    return WideString(u"F:" + platform::OwnWideFormat(f, a, h).ToU16());
  };
  hooks.RaiseLastOSError = [](DWORD) { throw EAbort("hooked"); };
  platform::SetRtlHooks(hooks);
  EXPECT_EQ(WideString(AnsiString("ab")).ToU16(), u"<ab>");
  EXPECT_EQ(AnsiString(WideString(u"ab")).ToStd(), "[ab]");
  EXPECT_EQ(WideFormat(u"%d", {TVarRec(7)}).ToU16(), u"F:7");
  EXPECT_THROW(RaiseLastOSError(2), EAbort);
  EXPECT_TRUE(platform::GetRtlHooks() == hooks);
  platform::SetRtlHooks(before);
  EXPECT_EQ(WideString(AnsiString("ab")).ToU16(), u"ab");
  EXPECT_THROW(RaiseLastOSError(2), EOSError);
}

}  // namespace
