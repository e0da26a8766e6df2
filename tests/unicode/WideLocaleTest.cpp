// Locale texts as UTF-16 on both paths of the layer.
#include <gtest/gtest.h>

#include "CodePageScope.h"
#include "NumberLocaleScope.h"
#include "unicode/UcTextWrappers.h"
#include "unicode/WideLocale.h"

namespace {

TEST(WideGetLocaleStr, TheLocalesTextOrTheDefault) {
  NumberLocaleScope locale("km_KH.UTF-8");
  ASSERT_TRUE(locale.selected);
  struct Case {
    UINT page;
    bool narrow;
    std::u16string symbol;  // what survives the trip through the 8-bit form
  };
  const Case cases[] = {{CP_UTF8, false, u"\u17DB"}, {CP_UTF8, true, u"\u17DB"}, {1252, true, u"?"}};
  for (const Case& c : cases) {
    CodePageScope scope(c.page, c.narrow);
    EXPECT_EQ(WideGetLocaleStr(UcThreadLocale(), LOCALE_SCURRENCY, u"none").ToU16(), c.symbol) << c.page;
    EXPECT_EQ(WideGetLocaleStr(UcThreadLocale(), LOCALE_SMONTHOUSANDSEP, u"none").ToU16(), u",");
    EXPECT_EQ(WideGetLocaleStr(UcThreadLocale(), 0x2, u"\u1780 default").ToU16(), u"\u1780 default")
        << "an item the system does not answer";
  }
}

}  // namespace
