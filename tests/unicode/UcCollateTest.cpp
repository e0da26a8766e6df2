#include <gtest/gtest.h>
#include <unicode/coll.h>
#include <unicode/locid.h>

#include <memory>
#include <string>
#include <vector>

#include "unicode/UcCollate.h"
#include "unicode/WStrRoutines.h"

namespace {

// Words whose order the locales agree on: letters in either case, digits and blanks. Sorted by
// the layer's comparison they come out as the reference collation orders them; blanks weigh
// only where the letters tie, as in the system's locales (ICU's "shifted" handling).
TEST(UcCollate, OrdersLikeTheLocaleCollation) {
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<icu::Collator> collator(icu::Collator::createInstance(icu::Locale::getRoot(), status));
  ASSERT_TRUE(U_SUCCESS(status));
  collator->setAttribute(UCOL_ALTERNATE_HANDLING, UCOL_SHIFTED, status);
  collator->setAttribute(UCOL_STRENGTH, UCOL_QUATERNARY, status);
  std::vector<std::u16string> words = {u"b",     u"B",     u"a",  u"A",  u"ab",  u"aB", u"Ab",   u"AB",
                                       u"abc",   u"a b",   u"a1", u"1a", u"10",  u"9",  u"Zed",  u"zed",
                                       u"zebra", u"Zebra", u"x",  u"X1", u"x 1", u"",   u"bAnd", u"band"};
  for (const auto& x : words)
    for (const auto& y : words) {
      int ours = WStrComp(x.c_str(), y.c_str());
      int reference = collator->compare(icu::UnicodeString(x.data(), static_cast<int32_t>(x.size())),
                                        icu::UnicodeString(y.data(), static_cast<int32_t>(y.size())));
      EXPECT_EQ((ours > 0) - (ours < 0), reference)
          << std::string(x.begin(), x.end()) << " : " << std::string(y.begin(), y.end());
    }
  EXPECT_LT(WStrComp(u"a", u"B"), 0);
  EXPECT_EQ(UcCollate(u"abX", 2, u"abY", 2, 0), 0);
}

}  // namespace
