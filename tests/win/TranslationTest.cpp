// 8-bit and UTF-16 procedures meeting: text messages, characters, stand-in procedures and the
// subclassing round trip. The system code page is UTF-8.
#include <cstring>

#include "platform/rtl/CodePage.h"
#include "tests/win/WinTestSupport.h"

using wintest::HeadlessTest;
using wintest::Log;

namespace {

std::string Utf8(const std::u16string& s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    uint32_t c = s[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < s.size())
      c = 0x10000 + ((c - 0xD800) << 10) + (s[++i] - 0xDC00);
    if (c < 0x80)
      out += char(c);
    else if (c < 0x800)
      out += {char(0xC0 | (c >> 6)), char(0x80 | (c & 0x3F))};
    else if (c < 0x10000)
      out += {char(0xE0 | (c >> 12)), char(0x80 | ((c >> 6) & 0x3F)), char(0x80 | (c & 0x3F))};
    else
      out += {char(0xF0 | (c >> 18)), char(0x80 | ((c >> 12) & 0x3F)), char(0x80 | ((c >> 6) & 0x3F)),
              char(0x80 | (c & 0x3F))};
  }
  return out;
}

std::vector<WPARAM> chars;
LRESULT CharsA(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_CHAR) chars.push_back(w);
  return DefWindowProcA(h, m, w, l);
}
LRESULT CharsW(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_CHAR) chars.push_back(w);
  return DefWindowProcW(h, m, w, l);
}

class Translation : public HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    chars.clear();
    WNDCLASSA a{};
    a.lpfnWndProc = CharsA;
    a.lpszClassName = "NarrowWindow";
    RegisterClassA(&a);
    WNDCLASSW w{};
    w.lpfnWndProc = CharsW;
    w.lpszClassName = u"WideWindow";
    RegisterClassW(&w);
    narrow =
        CreateWindowExA(0, "NarrowWindow", "", WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
    wide =
        CreateWindowExW(0, u"WideWindow", u"", WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
  }
  HWND narrow = nullptr, wide = nullptr;
};

struct TextCase {
  const char* name;
  std::u16string text;
};

TEST_F(Translation, TextMessagesAgreeInEitherFormForEitherWindow) {
  const TextCase cases[] = {
      {"ASCII", u"Hello"},
      {"Vietnamese", u"Ti\u1EBFng Vi\u1EC7t"},
      {"Khmer", u"\u1797\u17B6\u179F\u17B6\u1781\u17D2\u1798\u17C2\u179A"},
      {"surrogate pair", u"a\U0001F600b"},
  };
  for (const auto& c : cases) {
    for (HWND h : {narrow, wide}) {
      SCOPED_TRACE(std::string(c.name) + (h == narrow ? " 8-bit window" : " UTF-16 window"));
      ASSERT_TRUE(SetWindowTextW(h, c.text.c_str()));
      const std::string bytes = Utf8(c.text);
      EXPECT_EQ(GetWindowTextLengthW(h), int(c.text.size()));
      EXPECT_EQ(GetWindowTextLengthA(h), int(bytes.size()));
      char16_t wbuf[64];
      EXPECT_EQ(GetWindowTextW(h, wbuf, 64), int(c.text.size()));
      EXPECT_EQ(std::u16string(wbuf), c.text);
      char abuf[64];
      EXPECT_EQ(GetWindowTextA(h, abuf, 64), int(bytes.size()));
      EXPECT_EQ(std::string(abuf), bytes);
      // A buffer of 0 writes nothing; a short buffer is cut without splitting a character.
      abuf[0] = 'Z';
      EXPECT_EQ(SendMessageA(h, WM_GETTEXT, 0, LPARAM(abuf)), 0);
      EXPECT_EQ(abuf[0], 'Z');
      const LRESULT got = SendMessageA(h, WM_GETTEXT, 3, LPARAM(abuf));
      EXPECT_LE(got, 2);
      EXPECT_EQ(std::string(abuf), bytes.substr(0, size_t(got)));
      EXPECT_TRUE(got == 0 || (uint8_t(bytes[size_t(got)]) & 0xC0) != 0x80) << "cut inside a character";
      ASSERT_TRUE(SetWindowTextA(h, bytes.c_str()));
      EXPECT_EQ(GetWindowTextW(h, wbuf, 64), int(c.text.size()));
      EXPECT_EQ(std::u16string(wbuf), c.text);
    }
  }
}

TEST_F(Translation, CharactersCrossTheBoundaryOneUnitOrOneByteAtATime) {
  const std::u16string text = u"a\u1780\U0001F600";
  for (char16_t u : text) SendMessageW(narrow, WM_CHAR, u, 1);
  std::vector<WPARAM> expectedBytes;
  for (char b : Utf8(text)) expectedBytes.push_back(uint8_t(b));
  EXPECT_EQ(chars, expectedBytes);
  chars.clear();
  for (char b : Utf8(text)) SendMessageA(wide, WM_CHAR, uint8_t(b), 1);
  EXPECT_EQ(chars, (std::vector<WPARAM>{u'a', 0x1780, 0xD83D, 0xDE00}));
}

TEST_F(Translation, TypedTextReachesBothKindsOfWindowThroughTheQueue) {
  const std::u16string text = u"\u1780\u17D2\u179A a\U0001F600";
  SetFocus(wide);
  driver().Type(text);
  MSG m;
  while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
  EXPECT_EQ(chars, std::vector<WPARAM>(text.begin(), text.end()));
  chars.clear();
  // An 8-bit retriever gets the bytes of each character in a row, and the UTF-16 window
  // still receives whole units.
  driver().Type(text);
  std::vector<WPARAM> retrieved;
  while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
    if (m.message == WM_CHAR) retrieved.push_back(m.wParam);
    DispatchMessageA(&m);
  }
  std::vector<WPARAM> bytes;
  for (char b : Utf8(text)) bytes.push_back(uint8_t(b));
  EXPECT_EQ(retrieved, bytes);
  EXPECT_EQ(chars, std::vector<WPARAM>(text.begin(), text.end()));
}

std::vector<std::string> seen;
LRESULT NarrowSubclass(HWND h, UINT m, WPARAM w, LPARAM l);
WNDPROC saved;
LRESULT NarrowSubclass(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_SETTEXT) seen.push_back(std::string("subclass:") + reinterpret_cast<const char*>(l));
  return CallWindowProcA(saved, h, m, w, l);
}
LRESULT OriginalW(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_SETTEXT) seen.push_back("original:" + Utf8(reinterpret_cast<const char16_t*>(l)));
  return DefWindowProcW(h, m, w, l);
}

TEST_F(Translation, SubclassingThroughTheOtherVariantRoundTrips) {
  seen.clear();
  WNDCLASSW wc{};
  wc.lpfnWndProc = OriginalW;
  wc.lpszClassName = u"Original";
  RegisterClassW(&wc);
  HWND h = CreateWindowExW(0, u"Original", u"", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(IsWindowUnicode(h));
  const LONG_PTR standIn = GetWindowLongPtrA(h, GWL_WNDPROC);
  EXPECT_NE(WNDPROC(standIn), WNDPROC(OriginalW));
  EXPECT_EQ(GetWindowLongPtrA(h, GWL_WNDPROC), standIn);  // the same stand-in every time
  EXPECT_EQ(GetWindowLongPtrW(h, GWL_WNDPROC), LONG_PTR(WNDPROC(OriginalW)));
  saved = WNDPROC(standIn);
  EXPECT_EQ(SetWindowLongPtrA(h, GWL_WNDPROC, LONG_PTR(WNDPROC(NarrowSubclass))), standIn);
  EXPECT_FALSE(IsWindowUnicode(h));
  SetWindowTextW(h, u"\u1780");
  EXPECT_EQ(seen, (std::vector<std::string>{"subclass:\xE1\x9E\x80", "original:\xE1\x9E\x80"}));
  // Restoring through the 8-bit variant puts back the UTF-16 procedure itself.
  SetWindowLongPtrA(h, GWL_WNDPROC, standIn);
  EXPECT_TRUE(IsWindowUnicode(h));
  EXPECT_EQ(GetWindowLongPtrW(h, GWL_WNDPROC), LONG_PTR(WNDPROC(OriginalW)));
  seen.clear();
  SetWindowTextW(h, u"x");
  EXPECT_EQ(seen, (std::vector<std::string>{"original:x"}));
  // Calling the stand-in from 8-bit code translates.
  seen.clear();
  CallWindowProcA(WNDPROC(standIn), h, WM_SETTEXT, 0, LPARAM("\xE1\x9E\x81"));
  EXPECT_EQ(seen, (std::vector<std::string>{"original:\xE1\x9E\x81"}));
}

}  // namespace

namespace {

class SingleBytePage : public Translation {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SetSystemCodePage(1252));
    Translation::SetUp();
  }
  void TearDown() override {
    Translation::TearDown();
    SetSystemCodePage(CP_UTF8);
  }
};

TEST_F(SingleBytePage, UnmappableUnitsBecomeOneQuestionMarkEach) {
  SetWindowTextW(wide, u"Ti\u1EBFng Vi\u1EC7t");
  char abuf[32];
  ASSERT_EQ(GetWindowTextA(wide, abuf, 32), 10);
  EXPECT_EQ(std::string(abuf), std::string("\x54\x69\x3F\x6E\x67\x20\x56\x69\x3F\x74"));
  EXPECT_EQ(GetWindowTextLengthA(wide), 10);
  chars.clear();
  SendMessageW(narrow, WM_CHAR, 0x00E9, 1);  // in 1252: one byte
  SendMessageW(narrow, WM_CHAR, 0x1780, 1);  // not in 1252: "?"
  SendMessageA(wide, WM_CHAR, 0x81, 1);      // 0x81 maps to U+0081
  EXPECT_EQ(chars, (std::vector<WPARAM>{0xE9, '?', 0x81}));
}

}  // namespace

namespace {

// An 8-bit edit-like procedure: one line, selection kept in bytes.
DWORD selStart = 0, selEnd = 0;
LRESULT NarrowEdit(HWND h, UINT m, WPARAM w, LPARAM l) {
  switch (m) {
    case 0x00B1:
      selStart = DWORD(w);
      selEnd = DWORD(l);
      return 0;   // EM_SETSEL
    case 0x00B0:  // EM_GETSEL
      if (w) *reinterpret_cast<DWORD*>(w) = selStart;
      if (l) *reinterpret_cast<DWORD*>(l) = selEnd;
      return MAKELONG(WORD(selStart), WORD(selEnd));
    case 0x00BB:
      return 0;  // EM_LINEINDEX
    case 0x00C9:
      return 0;  // EM_LINEFROMCHAR
    case 0x00C1:
      return GetWindowTextLengthA(h);  // EM_LINELENGTH
    case 0x00C4: {                     // EM_GETLINE
      char text[64];
      const int n = GetWindowTextA(h, text, 64);
      const WORD capacity = *reinterpret_cast<WORD*>(l);
      const int copied = std::min<int>(n, capacity);
      std::memcpy(reinterpret_cast<char*>(l), text, size_t(copied));
      return copied;
    }
    default:
      return DefWindowProcA(h, m, w, l);
  }
}

TEST_F(Translation, EditPositionsCountTheCallersUnits) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = NarrowEdit;
  wc.lpszClassName = "NarrowEdit";
  RegisterClassA(&wc);
  HWND edit =
      CreateWindowExA(0, "NarrowEdit", "", WS_VISIBLE, 0, 0, 50, 20, nullptr, nullptr, nullptr, nullptr);
  SetWindowTextW(edit, u"a\u1EC7b");  // "ệ" is three bytes in the 8-bit window
  SendMessageW(edit, 0x00B1, 1, 2);
  EXPECT_EQ(selStart, 1u);
  EXPECT_EQ(selEnd, 4u);
  DWORD start = 0, end = 0;
  const LRESULT packed = SendMessageW(edit, 0x00B0, WPARAM(&start), LPARAM(&end));
  EXPECT_EQ(start, 1u);
  EXPECT_EQ(end, 2u);
  EXPECT_EQ(packed, MAKELONG(1, 2));
  EXPECT_EQ(SendMessageW(edit, 0x00C1, 0, 0), 3);
  char16_t line[10] = {10};
  EXPECT_EQ(SendMessageW(edit, 0x00C4, 0, LPARAM(line)), 3);
  EXPECT_EQ(std::u16string(line, 3), u"a\u1EC7b");
}

}  // namespace
