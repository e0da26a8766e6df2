// The EDIT class: typing Latin, Vietnamese with combining marks and Khmer; caret moves by whole
// clusters; selection, clipboard, undo, the limit, line messages, 8-bit windows counting bytes,
// and exactly one EN_CHANGE per change.
#include <cstring>

#include "ControlsTestSupport.h"
#include "platform/rtl/CodePage.h"

using namespace controlstest;

namespace {

class EditTest : public ControlsTest {
 protected:
  HWND Edit(DWORD style = ES_AUTOHSCROLL, const char16_t* text = u"") {
    HWND e = Child(u"EDIT", text, WS_BORDER | style, 10, 10, 200, 60, 7);
    FocusQuietly(e);
    return e;
  }
  std::pair<DWORD, DWORD> Sel(HWND e) {
    DWORD s = 0, t = 0;
    SendMessageW(e, EM_GETSEL, WPARAM(&s), LPARAM(&t));
    return {s, t};
  }
};

TEST_F(EditTest, TypingLatinVietnameseAndKhmerGivesOneChangePerCharacter) {
  struct Case {
    std::u16string typed;
  } cases[] = {{u"Hello"}, {u"Tiếng Việt"}, {u"Vie\u0302\u0303t"}, {u"ភាសាខ្មែរ"}, {u"a\U0001F600b"}};
  for (const Case& c : cases) {
    HWND e = Edit();
    driver().Type(c.typed);
    driver().RunUntilIdle();
    EXPECT_EQ(TextOf(e), c.typed);
    size_t units = 0;
    for (char16_t u : c.typed) units += !(u >= 0xDC00 && u <= 0xDFFF);  // a pair is one change
    EXPECT_EQ(Count(EN_CHANGE), int(units));
    EXPECT_EQ(Sel(e), std::make_pair(DWORD(c.typed.size()), DWORD(c.typed.size())));
    DestroyWindow(e);
  }
}

TEST_F(EditTest, ArrowsMoveOverWholeClusters) {
  // "ខ្មែរ": KHA, COENG, MO, VOWEL AE, RO -> clusters "ខ្មែ" (4 units) and "រ" (1).
  HWND e = Edit(ES_AUTOHSCROLL, u"ខ្មែរ");
  SendMessageW(e, EM_SETSEL, 0, 0);
  Key(VK_RIGHT);
  EXPECT_EQ(Sel(e).first, 4u);
  Key(VK_RIGHT);
  EXPECT_EQ(Sel(e).first, 5u);
  Key(VK_LEFT);
  EXPECT_EQ(Sel(e).first, 4u);
  // Vietnamese with combining marks: "e" + U+0302 + U+0303 is one step.
  SetWindowTextW(e, u"Ve\u0302\u0303t");
  SendMessageW(e, EM_SETSEL, 1, 1);
  Key(VK_RIGHT);
  EXPECT_EQ(Sel(e).first, 4u);
  // Shift extends the selection by a cluster; Delete removes the whole cluster.
  SendMessageW(e, EM_SETSEL, 0, 0);
  Key(VK_RIGHT, platform::headless::kShift);
  EXPECT_EQ(Sel(e), std::make_pair(DWORD(0), DWORD(1)));
  SendMessageW(e, EM_SETSEL, 1, 1);
  Key(VK_DELETE);
  EXPECT_EQ(TextOf(e), u"Vt");
}

TEST_F(EditTest, BackspaceRemovesOneCodePointAndAPairAtOnce) {
  HWND e = Edit(ES_AUTOHSCROLL, u"ក្ក\U0001F600");
  SendMessageW(e, EM_SETSEL, 5, 5);
  Notifications().clear();
  driver().Type(u"\b");
  driver().RunUntilIdle();
  EXPECT_EQ(TextOf(e), u"ក្ក");
  driver().Type(u"\b");
  driver().RunUntilIdle();
  EXPECT_EQ(TextOf(e), u"ក្");
  EXPECT_EQ(Count(EN_CHANGE), 2);
  // Backspace at the start changes nothing and reports nothing.
  SendMessageW(e, EM_SETSEL, 0, 0);
  Notifications().clear();
  driver().Type(u"\b");
  driver().RunUntilIdle();
  EXPECT_EQ(Count(EN_CHANGE), 0);
}

TEST_F(EditTest, CutPasteUndoAndControlCharacters) {
  HWND e = Edit(ES_AUTOHSCROLL, u"Tiếng Việt");
  SendMessageW(e, EM_SETSEL, 0, 5);
  driver().Type(u"\x18");  // Ctrl+X
  driver().RunUntilIdle();
  EXPECT_EQ(TextOf(e), u" Việt");
  EXPECT_EQ(Count(EN_CHANGE), 1);
  SendMessageW(e, EM_SETSEL, -1, -1);
  SendMessageW(e, EM_SETSEL, 5, 5);
  driver().Type(u"\x16");  // Ctrl+V
  driver().RunUntilIdle();
  EXPECT_EQ(TextOf(e), u" ViệtTiếng");
  EXPECT_EQ(Count(EN_CHANGE), 2);
  driver().Type(u"\x1A");  // Ctrl+Z
  driver().RunUntilIdle();
  EXPECT_EQ(TextOf(e), u" Việt");
  EXPECT_EQ(Count(EN_CHANGE), 3);
  // Ctrl+A is left to the owner; Enter and Tab do nothing in a single-line edit.
  driver().Type(u"\x01\r\t\x1B");
  driver().RunUntilIdle();
  EXPECT_EQ(TextOf(e), u" Việt");
  EXPECT_EQ(Count(EN_CHANGE), 3);
  // The clipboard holds the cut text as UTF-16 with CF_TEXT synthesised.
  ASSERT_TRUE(OpenClipboard(nullptr));
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
  CloseClipboard();
}

TEST_F(EditTest, PasteAtTheLimitIsCutWithoutHalfAPair) {
  HWND e = Edit(ES_AUTOHSCROLL, u"");
  SendMessageW(e, EM_LIMITTEXT, 3, 0);
  SendMessageW(e, EM_REPLACESEL, TRUE, LPARAM(u"ab\U0001F600"));
  EXPECT_EQ(TextOf(e), u"ab");
  EXPECT_EQ(Count(EN_MAXTEXT), 1);
  driver().Type(u"xy");
  driver().RunUntilIdle();
  EXPECT_EQ(TextOf(e), u"abx");
  EXPECT_EQ(Count(EN_MAXTEXT), 2);
  // WM_SETTEXT is not limited.
  SetWindowTextW(e, u"longer text");
  EXPECT_EQ(TextOf(e), u"longer text");
}

TEST_F(EditTest, LineMessagesAddressHardLines) {
  struct Case {
    std::u16string text;
    int lines;
  } cases[] = {{u"", 1}, {u"a", 1}, {u"a\r\n", 2}, {u"a\r\nb", 2}, {u"a\nb", 1}};
  HWND e = Edit(ES_MULTILINE | WS_VSCROLL);
  for (const Case& c : cases) {
    SetWindowTextW(e, c.text.c_str());
    EXPECT_EQ(SendMessageW(e, EM_GETLINECOUNT, 0, 0), c.lines);
  }
  SetWindowTextW(e, u"first line that is long enough to wrap around\r\nsecond");
  EXPECT_EQ(SendMessageW(e, EM_GETLINECOUNT, 0, 0), 2);
  EXPECT_EQ(SendMessageW(e, EM_LINEINDEX, 1, 0), 47);
  EXPECT_EQ(SendMessageW(e, EM_LINEINDEX, 2, 0), -1);
  EXPECT_EQ(SendMessageW(e, EM_LINELENGTH, 48, 0), 6);
  EXPECT_EQ(SendMessageW(e, EM_LINEFROMCHAR, 50, 0), 1);
  char16_t buffer[8] = {5};
  EXPECT_EQ(SendMessageW(e, EM_GETLINE, 1, LPARAM(buffer)), 5);
  EXPECT_EQ(std::u16string(buffer, 5), u"secon");
  // Enter in a multi-line edit inserts CR LF.
  SetWindowTextW(e, u"ab");
  SendMessageW(e, EM_SETSEL, 1, 1);
  driver().Type(u"\r");
  driver().RunUntilIdle();
  EXPECT_EQ(TextOf(e), u"a\r\nb");
  // Backspace after CR LF removes the line break.
  driver().Type(u"\b");
  driver().RunUntilIdle();
  EXPECT_EQ(TextOf(e), u"ab");
}

TEST_F(EditTest, EveryChangeNotifiesOnceAndSetTextAlways) {
  HWND e = Edit();
  SetWindowTextW(e, u"same");
  SetWindowTextW(e, u"same");
  EXPECT_EQ(Count(EN_CHANGE), 2);
  SendMessageW(e, EM_SETSEL, 0, -1);
  SendMessageW(e, WM_CLEAR, 0, 0);
  EXPECT_EQ(TextOf(e), u"");
  EXPECT_EQ(Count(EN_CHANGE), 3);
  SendMessageW(e, WM_CLEAR, 0, 0);  // nothing selected: no change
  EXPECT_EQ(Count(EN_CHANGE), 3);
}

TEST_F(EditTest, ReadOnlyAndPasswordEdits) {
  HWND ro = Edit(ES_READONLY | ES_AUTOHSCROLL, u"fixed");
  driver().Type(u"x\b");
  driver().RunUntilIdle();
  EXPECT_EQ(TextOf(ro), u"fixed");
  EXPECT_EQ(Count(EN_CHANGE), 0);
  HWND pw = Edit(ES_PASSWORD | ES_AUTOHSCROLL, u"secret");
  EXPECT_EQ(SendMessageW(pw, EM_GETPASSWORDCHAR, 0, 0), u'*');
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  CloseClipboard();
  SendMessageW(pw, EM_SETSEL, 0, -1);
  SendMessageW(pw, WM_COPY, 0, 0);
  SendMessageW(pw, WM_CUT, 0, 0);
  EXPECT_EQ(TextOf(pw), u"secret");
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_UNICODETEXT));
}

TEST_F(EditTest, AnEightBitWindowCountsBytes) {
  ASSERT_EQ(GetACP(), CP_UTF8);
  HWND e = CreateWindowExA(0, "EDIT", "Vi\xE1\xBB\x87t", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 0, 0, 100,
                           20, parent, reinterpret_cast<HMENU>(9), nullptr, nullptr);
  ASSERT_TRUE(e);
  EXPECT_FALSE(IsWindowUnicode(e));
  EXPECT_EQ(SendMessageA(e, WM_GETTEXTLENGTH, 0, 0), 6);
  SendMessageA(e, EM_SETSEL, 2, 5);  // the bytes of "ệ"
  DWORD s = 0, t = 0;
  SendMessageA(e, EM_GETSEL, WPARAM(&s), LPARAM(&t));
  EXPECT_EQ(s, 2u);
  EXPECT_EQ(t, 5u);
  SendMessageA(e, EM_REPLACESEL, TRUE, LPARAM("e"));
  char buffer[16] = {};
  EXPECT_EQ(GetWindowTextA(e, buffer, 16), 4);
  EXPECT_STREQ(buffer, "Viet");
  // UTF-16 typing reaches the 8-bit window as byte sequences and is stored whole.
  SetFocus(e);
  driver().Type(u"ệ");
  driver().RunUntilIdle();
  char16_t wide[16] = {};
  GetWindowTextW(e, wide, 16);
  EXPECT_EQ(std::u16string(wide), u"Vieệt");  // typed at the caret, after the replacement
}

// The limit counts what the window's positions count: an 8-bit window's bytes, a UTF-16
// window's units; a character that does not fit whole is left out.
TEST_F(EditTest, TheLimitCountsTheWindowsOwnUnits) {
  ASSERT_EQ(GetACP(), CP_UTF8);
  struct Case {
    bool wide;
    const char16_t* held;
  } cases[] = {{false, u"abc"}, {true, u"abcệz"}};
  for (const Case& c : cases) {
    HWND e = c.wide ? CreateWindowExW(0, u"EDIT", u"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 0, 0, 100, 20,
                                      parent, reinterpret_cast<HMENU>(9), nullptr, nullptr)
                    : CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 0, 0, 100, 20,
                                      parent, reinterpret_cast<HMENU>(9), nullptr, nullptr);
    ASSERT_TRUE(e);
    SendMessageW(e, EM_LIMITTEXT, 5, 0);
    SendMessageW(e, EM_REPLACESEL, TRUE, LPARAM(u"abcệz"));
    EXPECT_EQ(TextOf(e), c.held) << c.wide;
    if (!c.wide) {
      // Typed one by one, "ệ" (3 bytes) does not fit after "abc" but "z" does.
      SetFocus(e);
      driver().Type(u"ệz");
      driver().RunUntilIdle();
      EXPECT_EQ(TextOf(e), u"abcz");
      EXPECT_EQ(SendMessageA(e, WM_GETTEXTLENGTH, 0, 0), 4);
    }
    DestroyWindow(e);
  }
}

TEST_F(EditTest, MouseClickPlacesTheCaretAndDoubleClickSelectsAWord) {
  driver().UseFixedMetricFont(6, 13);
  HWND e = Edit(ES_AUTOHSCROLL, u"one two three");
  driver().Click(driver().ClientPoint(e, 2 + 6 * 5, 5));
  driver().RunUntilIdle();
  EXPECT_EQ(Sel(e), std::make_pair(DWORD(5), DWORD(5)));
  driver().DoubleClick(driver().ClientPoint(e, 2 + 6 * 9, 5));
  driver().RunUntilIdle();
  EXPECT_EQ(Sel(e), std::make_pair(DWORD(8), DWORD(13)));
}

}  // namespace
