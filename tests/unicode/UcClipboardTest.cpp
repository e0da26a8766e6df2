// The wide clipboard text: UTF-16 and the code page's 8-bit form side by side, 8-bit text read
// widened, foreign blocks read only within their size, and a clipboard held by another window.
#include <string>
#include <vector>

#include "UcFixture.h"
#include "platform/rtl/Exceptions.h"
#include "unicode/TUcClipboard.h"

namespace uctest {
namespace {

class UcClipboardTest : public UcTest {};

std::vector<uint8_t> Bytes(const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); }

TEST_F(UcClipboardTest, KhmerTextGoesBothWaysWithTheCodePagesFormBeside) {
  struct Case {
    UINT codePage;
    std::string ansi;  // what a program reading CF_TEXT gets, with the terminator
  };
  const Case cases[] = {
      {65001, std::string("\xE1\x9E\x81\xE1\x9F\x92\xE1\x9E\x98\xE1\x9F\x82\xE1\x9E\x9A x", 17) + '\0'},
      {1252, std::string("????? x") + '\0'},
  };
  const WideString khmer(u"\u1781\u17D2\u1798\u17C2\u179A x");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.codePage);
    CodePageScope page(c.codePage);
    UcClipboard()->SetAsWideText(khmer);
    EXPECT_EQ(UcClipboard()->GetAsWideText(), khmer);
    EXPECT_EQ(Driver().ClipboardRead(CF_TEXT), Bytes(c.ansi));
  }
  EXPECT_EQ(UcClipboard(), UcClipboard());
}

TEST_F(UcClipboardTest, OnlyEightBitTextIsReadWidened) {
  Driver().ClipboardPut(CF_TEXT, Bytes(std::string("Vi\xE1\xBB\x87t", 6) + '\0'));
  EXPECT_EQ(UcClipboard()->GetAsWideText(), WideString(u"Vi\u1EC7t"));
  Clipboard()->Clear();
  EXPECT_EQ(UcClipboard()->GetAsWideText(), WideString());
}

// Another program's block need not end in a zero: the text ends with the block.
TEST_F(UcClipboardTest, AForeignBlockWithoutTerminatorIsReadWithinItsSize) {
  Driver().ClipboardPut(CF_UNICODETEXT, {'a', 0, 'b', 0, 'c'});
  EXPECT_EQ(UcClipboard()->GetAsWideText(), WideString(u"ab"));
  Driver().ClipboardPut(CF_UNICODETEXT, {'a', 0, 0, 0, 'b', 0});
  EXPECT_EQ(UcClipboard()->GetAsWideText(), WideString(u"a"));
}

TEST_F(UcClipboardTest, AClipboardHeldByAnotherWindowRaisesAndLeavesNothingOpen) {
  HWND other = AllocateHWnd(nullptr);
  ASSERT_TRUE(OpenClipboard(other));
  for (int write = 0; write < 2; ++write) {
    try {
      if (write)
        UcClipboard()->SetAsWideText(u"\u1781");
      else
        UcClipboard()->GetAsWideText();
      ADD_FAILURE() << "opened";
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message, "Cannot open clipboard");
    }
  }
  CloseClipboard();
  DeallocateHWnd(other);
  ASSERT_TRUE(OpenClipboard(nullptr));
  CloseClipboard();
  UcClipboard()->SetAsWideText(u"\u1781");
  EXPECT_EQ(UcClipboard()->GetAsWideText(), WideString(u"\u1781"));
}

}  // namespace
}  // namespace uctest
