// The translation table between an 8-bit sender and the UTF-16 system classes (and the
// reverse), under a single-byte code page and under UTF-8: edit positions counted in the
// sender's units, list and combo box strings in the sender's form, buffers never overrun and
// never cut inside a character, and owner-drawn items' values left alone.
#include <cstring>

#include "platform/controls/Controls.h"
#include "platform/rtl/CodePage.h"
#include "tests/win/WinTestSupport.h"

using wintest::HeadlessTest;

namespace {

struct Page {
  UINT codePage;
  std::u16string text;  // what the windows hold
};

std::string Narrow(const std::u16string& s) { return platform::Utf16ToMultiByte(s, CP_ACP); }
std::u16string Wide(const std::string& s) { return platform::MultiByteToUtf16(s, CP_ACP); }
// Bytes of the first n units.
WPARAM BytesOf(const std::u16string& s, size_t units) { return WPARAM(Narrow(s.substr(0, units)).size()); }

class TranslationTable : public HeadlessTest, public ::testing::WithParamInterface<Page> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SetSystemCodePage(GetParam().codePage));
    HeadlessTest::SetUp();
    platform::controls::Startup();
    parent =
        CreateWindowExW(0, u"STATIC", u"", WS_VISIBLE, 0, 0, 400, 300, nullptr, nullptr, nullptr, nullptr);
  }
  void TearDown() override {
    HeadlessTest::TearDown();
    SetSystemCodePage(CP_UTF8);
  }
  HWND WideChild(const char16_t* cls, DWORD style) {
    return CreateWindowExW(0, cls, u"", WS_CHILD | WS_VISIBLE | style, 0, 0, 200, 100, parent, nullptr,
                           nullptr, nullptr);
  }
  HWND NarrowChild(const char* cls, DWORD style) {
    return CreateWindowExA(0, cls, "", WS_CHILD | WS_VISIBLE | style, 0, 0, 200, 100, parent, nullptr,
                           nullptr, nullptr);
  }
  HWND parent = nullptr;
};

TEST_P(TranslationTable, EditPositionsCountTheSendersUnits) {
  const std::u16string text = GetParam().text;
  const std::string bytes = Narrow(text);
  HWND edit = WideChild(u"EDIT", ES_AUTOHSCROLL);
  ASSERT_TRUE(IsWindowUnicode(edit));
  EXPECT_TRUE(SendMessageA(edit, WM_SETTEXT, 0, LPARAM(bytes.c_str())));
  char16_t wbuf[64];
  GetWindowTextW(edit, wbuf, 64);
  EXPECT_EQ(std::u16string(wbuf), Wide(bytes));
  const std::u16string held = Wide(bytes);  // what a single-byte page could carry
  // Select units 2..7 by bytes; both forms read back their own units.
  SendMessageA(edit, EM_SETSEL, BytesOf(held, 2), LPARAM(BytesOf(held, 7)));
  DWORD start = 0, end = 0;
  SendMessageW(edit, EM_GETSEL, WPARAM(&start), LPARAM(&end));
  EXPECT_EQ(start, 2u);
  EXPECT_EQ(end, 7u);
  const LRESULT packed = SendMessageA(edit, EM_GETSEL, WPARAM(&start), LPARAM(&end));
  EXPECT_EQ(start, DWORD(BytesOf(held, 2)));
  EXPECT_EQ(end, DWORD(BytesOf(held, 7)));
  EXPECT_EQ(packed, MAKELONG(WORD(start), WORD(end)));
  // Lines of a multi-line edit: index and length in bytes for the 8-bit sender.
  HWND memo = WideChild(u"EDIT", ES_MULTILINE);
  const std::u16string twoLines = held + u"\r\n" + held;
  SetWindowTextW(memo, twoLines.c_str());
  const LRESULT second = SendMessageA(memo, EM_LINEINDEX, 1, 0);
  EXPECT_EQ(second, LRESULT(bytes.size() + 2));
  EXPECT_EQ(SendMessageW(memo, EM_LINEINDEX, 1, 0), LRESULT(held.size() + 2));
  EXPECT_EQ(SendMessageA(memo, EM_LINELENGTH, WPARAM(second), 0), LRESULT(Narrow(held).size()));
  EXPECT_EQ(SendMessageA(memo, EM_LINEFROMCHAR, WPARAM(second), 0), 1);
  // EM_GETLINE: the capacity in the first WORD, never exceeded nor cut inside a character.
  for (WORD capacity : {WORD(64), WORD(5), WORD(1)}) {
    char line[80];
    std::memset(line, '#', sizeof line);
    std::memcpy(line, &capacity, sizeof capacity);
    const LRESULT got = SendMessageA(memo, EM_GETLINE, 1, LPARAM(line));
    ASSERT_GE(got, 0);
    EXPECT_LE(got, LRESULT(capacity));
    EXPECT_EQ(std::string(line, size_t(got)), Narrow(held).substr(0, size_t(got)));
    if (capacity >= 2) {
      EXPECT_EQ(line[capacity], '#') << "written past the capacity " << capacity;
    }
    EXPECT_EQ(Wide(std::string(line, size_t(got))),
              held.substr(0, Wide(std::string(line, size_t(got))).size()));
  }
}

TEST_P(TranslationTable, ListStringsTravelInTheSendersForm) {
  const std::u16string text = GetParam().text;
  const std::string bytes = Narrow(text);
  const std::u16string held = Wide(bytes);
  // An 8-bit sender and a UTF-16 list.
  HWND list = WideChild(u"LISTBOX", LBS_SORT);
  EXPECT_EQ(SendMessageA(list, LB_ADDSTRING, 0, LPARAM("zz")), 0);
  EXPECT_EQ(SendMessageA(list, LB_ADDSTRING, 0, LPARAM(bytes.c_str())), 0);
  EXPECT_EQ(SendMessageW(list, LB_GETTEXTLEN, 0, 0), LRESULT(held.size()));
  EXPECT_EQ(SendMessageA(list, LB_GETTEXTLEN, 0, 0), LRESULT(bytes.size()));
  char a[80];
  std::memset(a, '#', sizeof a);
  EXPECT_EQ(SendMessageA(list, LB_GETTEXT, 0, LPARAM(a)), LRESULT(bytes.size()));
  EXPECT_EQ(std::string(a), bytes);
  EXPECT_EQ(a[bytes.size() + 1], '#') << "LB_GETTEXT wrote past the length it gave";
  EXPECT_EQ(SendMessageA(list, LB_FINDSTRINGEXACT, WPARAM(-1), LPARAM(bytes.c_str())), 0);
  EXPECT_EQ(SendMessageA(list, LB_FINDSTRING, 0, LPARAM("ZZ")), 1);
  EXPECT_EQ(SendMessageA(list, LB_SELECTSTRING, WPARAM(-1), LPARAM(bytes.substr(0, 2).c_str())), 0);
  std::memset(a, '#', sizeof a);
  EXPECT_EQ(SendMessageA(list, LB_GETTEXT, 5, LPARAM(a)), LB_ERR);
  EXPECT_EQ(SendMessageA(list, LB_GETTEXTLEN, WPARAM(-1), 0), LB_ERR);
  EXPECT_EQ(a[0], '#');
  // A UTF-16 sender and an 8-bit list.
  HWND narrow = NarrowChild("LISTBOX", 0);
  ASSERT_FALSE(IsWindowUnicode(narrow));
  EXPECT_EQ(SendMessageW(narrow, LB_ADDSTRING, 0, LPARAM(held.c_str())), 0);
  EXPECT_EQ(SendMessageA(narrow, LB_GETTEXTLEN, 0, 0), LRESULT(bytes.size()));
  EXPECT_EQ(SendMessageW(narrow, LB_GETTEXTLEN, 0, 0), LRESULT(held.size()));
  char16_t w[80];
  std::fill(std::begin(w), std::end(w), u'#');
  EXPECT_EQ(SendMessageW(narrow, LB_GETTEXT, 0, LPARAM(w)), LRESULT(held.size()));
  EXPECT_EQ(std::u16string(w), held);
  EXPECT_EQ(w[held.size() + 1], u'#');
  EXPECT_EQ(SendMessageW(narrow, LB_FINDSTRINGEXACT, WPARAM(-1), LPARAM(held.c_str())), 0);
  // An owner-drawn list without strings keeps the values it is given, whoever sends them.
  HWND values = WideChild(u"LISTBOX", LBS_OWNERDRAWFIXED);
  EXPECT_EQ(SendMessageA(values, LB_ADDSTRING, 0, 0x1234), 0);
  EXPECT_EQ(SendMessageA(values, LB_GETITEMDATA, 0, 0), 0x1234);
  EXPECT_EQ(SendMessageA(values, LB_FINDSTRING, WPARAM(-1), 0x1234), 0);
}

TEST_P(TranslationTable, ComboStringsAndEditSelectionTravelInTheSendersForm) {
  const std::u16string text = GetParam().text;
  const std::string bytes = Narrow(text);
  const std::u16string held = Wide(bytes);
  HWND combo = WideChild(u"COMBOBOX", CBS_DROPDOWN | CBS_AUTOHSCROLL);
  ASSERT_TRUE(IsWindowUnicode(combo));
  EXPECT_EQ(SendMessageA(combo, CB_ADDSTRING, 0, LPARAM(bytes.c_str())), 0);
  EXPECT_EQ(SendMessageA(combo, CB_GETLBTEXTLEN, 0, 0), LRESULT(bytes.size()));
  EXPECT_EQ(SendMessageW(combo, CB_GETLBTEXTLEN, 0, 0), LRESULT(held.size()));
  char a[80];
  std::memset(a, '#', sizeof a);
  EXPECT_EQ(SendMessageA(combo, CB_GETLBTEXT, 0, LPARAM(a)), LRESULT(bytes.size()));
  EXPECT_EQ(std::string(a), bytes);
  EXPECT_EQ(a[bytes.size() + 1], '#');
  EXPECT_EQ(SendMessageA(combo, CB_GETLBTEXT, 3, LPARAM(a)), CB_ERR);
  EXPECT_EQ(SendMessageA(combo, CB_FINDSTRINGEXACT, WPARAM(-1), LPARAM(bytes.c_str())), 0);
  EXPECT_EQ(SendMessageA(combo, CB_SELECTSTRING, WPARAM(-1), LPARAM(bytes.c_str())), 0);
  // The edit's text read by an 8-bit sender with a small buffer: cut whole, zero written.
  std::memset(a, '#', sizeof a);
  const LRESULT got = SendMessageA(combo, WM_GETTEXT, 6, LPARAM(a));
  EXPECT_LE(got, 5);
  EXPECT_EQ(std::string(a), bytes.substr(0, size_t(got)));
  EXPECT_EQ(a[6], '#');
  // The edit selection through the box, in the sender's units.
  EXPECT_EQ(SendMessageA(combo, CB_SETEDITSEL, 0, MAKELPARAM(WORD(BytesOf(held, 3)), WORD(BytesOf(held, 8)))),
            TRUE);
  DWORD start = 0, end = 0;
  SendMessageW(combo, CB_GETEDITSEL, WPARAM(&start), LPARAM(&end));
  EXPECT_EQ(start, 3u);
  EXPECT_EQ(end, 8u);
  SendMessageA(combo, CB_GETEDITSEL, WPARAM(&start), LPARAM(&end));
  EXPECT_EQ(start, DWORD(BytesOf(held, 3)));
  EXPECT_EQ(end, DWORD(BytesOf(held, 8)));
}

INSTANTIATE_TEST_SUITE_P(CodePages, TranslationTable,
                         ::testing::Values(Page{1252, u"Café crème ở Huế"},
                                           Page{CP_UTF8, u"Tiếng Việt ភាសាខ្មែរ \U0001F600"}),
                         [](const ::testing::TestParamInfo<Page>& info) {
                           return info.param.codePage == CP_UTF8 ? std::string("Utf8")
                                                                 : std::string("Cp1252");
                         });

}  // namespace
