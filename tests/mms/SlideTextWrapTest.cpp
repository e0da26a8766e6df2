// Splitting slide texts into words and wrapping them into lines.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "mms/SlideTextWords.h"
#include "mms/SlideTextWrap.h"
#include "tests/mms/SlideTextFakes.h"

namespace {

using slidetext::CodePageScope;
using slidetext::FixedWidth;

struct W {
  int kind;
  int count;
  std::string text;
};

std::string Describe(const std::vector<_K3VN_MMS_Text_Word>& words) {
  std::string s;
  for (const auto& w : words) {
    s += "(" + std::to_string(w.Kind) + "," + std::to_string(w.Count) + ",";
    for (unsigned char c : w.Text) {
      static const char* hex = "0123456789ABCDEF";
      if (c >= 0x21 && c < 0x7F) {
        s += static_cast<char>(c);
      } else {
        s += std::string("\\x") + hex[c >> 4] + hex[c & 15];
      }
    }
    s += ")";
  }
  return s;
}

std::string Describe(const std::vector<W>& words) {
  std::vector<_K3VN_MMS_Text_Word> real;
  for (const W& w : words) {
    _K3VN_MMS_Text_Word word;
    word.Kind = static_cast<unsigned char>(w.kind);
    word.Count = w.count;
    word.Text = w.text;
    real.push_back(word);
  }
  return Describe(real);
}

struct SplitCase {
  const char* what;
  std::string text;
  int result;
  std::vector<W> words;
};

void RunSplitCases(const std::vector<SplitCase>& cases) {
  for (const SplitCase& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<_K3VN_MMS_Text_Word> words;
    EXPECT_EQ(SplitTextWords(c.text, words), c.result);
    EXPECT_EQ(Describe(words), Describe(c.words));
  }
}

TEST(SplitTextWords, SingleByteRunsBlanksAndBreaks) {
  CodePageScope cp(1252);
  RunSplitCases({
      {"two words", "ab  cd", 0, {{1, 2, "ab"}, {0, 2, "  "}, {1, 2, "cd"}}},
      {"CR LF twice", "a\r\n\r\nb", 0, {{1, 1, "a"}, {2, 0, "\r"}, {2, 0, "\r"}, {1, 1, "b"}}},
      {"CR alone", "a\rb", 0, {{1, 1, "a"}, {2, 0, "\r"}, {1, 1, "b"}}},
      {"LF alone", "a\nb", 0, {{1, 1, "a"}, {2, 0, "\n"}, {1, 1, "b"}}},
      {"LF CR is two breaks", "\n\r", 0, {{2, 0, "\n"}, {2, 0, "\r"}}},
      {"tab belongs to the run", "a\tb ", 0, {{1, 3, "a\tb"}, {0, 1, " "}}},
      // Under a single-byte page every byte is a character of its own kind.
      {"high bytes", "caf\xE9 \x80", 0, {{1, 4, "caf\xE9"}, {0, 1, " "}, {1, 1, "\x80"}}},
      {"empty", "", 0, {}},
  });
}

TEST(SplitTextWords, Utf8CharactersStayWhole) {
  CodePageScope cp(65001);
  RunSplitCases({
      {"Vietnamese",
       "Ti\xE1\xBA\xBFng Vi\xE1\xBB\x87t",
       0,
       {{1, 2, "Ti"},
        {3, 3, "\xE1\xBA\xBF"},
        {1, 2, "ng"},
        {0, 1, " "},
        {1, 2, "Vi"},
        {3, 3, "\xE1\xBB\x87"},
        {1, 1, "t"}}},
      {"Khmer",
       "\xE1\x9E\x97\xE1\x9E\xB6\xE1\x9E\x9F\xE1\x9E\xB6",
       0,
       {{3, 3, "\xE1\x9E\x97"}, {3, 3, "\xE1\x9E\xB6"}, {3, 3, "\xE1\x9E\x9F"}, {3, 3, "\xE1\x9E\xB6"}}},
      {"two and four bytes", "\xC3\xA9\xF0\x9F\x98\x80", 0, {{3, 2, "\xC3\xA9"}, {3, 4, "\xF0\x9F\x98\x80"}}},
      {"cut short by the end", "a\xE1\xBA", 0, {{1, 1, "a"}, {3, 2, "\xE1\xBA"}}},
      {"lead as last byte", "a\xE1", 0, {{1, 1, "a"}, {3, 1, "\xE1"}}},
      {"stray trail byte", "a\x80z", kSplitStrayTrailByte, {}},
      {"stray trail byte first",
       "\xBA"
       "a",
       kSplitStrayTrailByte,
       {}},
      {"one trail too many", "\xC3\xA9\xA9x", kSplitStrayTrailByte, {}},
      {"trail byte as last byte adds nothing", "a\x80", 0, {{1, 1, "a"}}},
      {"lead without its trails",
       "\xE1\xBA"
       "a",
       kSplitBrokenCharacter,
       {}},
      {"lead then blank", "\xC3 ", kSplitBrokenCharacter, {}},
  });
}

TEST(SplitTextWords, DoubleByteCodePages) {
  // Byte streams made by glibc iconv from known strings.
  {
    CodePageScope cp(936);
    RunSplitCases({
        {"936: 汉字ab",
         "\xBA\xBA\xD7\xD6"
         "ab",
         0,
         {{3, 2, "\xBA\xBA"}, {3, 2, "\xD7\xD6"}, {1, 2, "ab"}}},
        {"936: a中 after a run", "a\xD6\xD0", 0, {{1, 1, "a"}, {3, 2, "\xD6\xD0"}}},
        {"936: lead as last byte", "\xD6\xD0\xCE", 0, {{3, 2, "\xD6\xD0"}, {3, 1, "\xCE"}}},
        // The platform pairs a lead byte with whatever byte follows it, except a zero byte.
        {"936: any byte after a lead is its trail", "\xD6 a", 0, {{3, 2, "\xD6 "}, {1, 1, "a"}}},
        {"936: lead before a zero byte", std::string("\xD6\0a", 3), kSplitBrokenCharacter, {}},
    });
  }
  {
    CodePageScope cp(932);
    RunSplitCases({
        // Trail bytes of 932 include ASCII letters: "テキ" is 83 65 83 4C.
        {"932: テキ", "\x83\x65\x83\x4C", 0, {{3, 2, "\x83\x65"}, {3, 2, "\x83\x4C"}}},
        {"932: 日本 then text",
         "\x93\xFA\x96\x7B"
         "x",
         0,
         {{3, 2, "\x93\xFA"}, {3, 2, "\x96\x7B"}, {1, 1, "x"}}},
        // Half-width katakana are single bytes in 932.
        {"932: ｶﾀｶﾅ", "\xB6\xC0\xB6\xC5", 0, {{1, 4, "\xB6\xC0\xB6\xC5"}}},
    });
  }
}

TEST(SplitTextWords, AppendsToTheListAndEmptiesItOnFailure) {
  CodePageScope cp(65001);
  std::vector<_K3VN_MMS_Text_Word> words;
  ASSERT_EQ(SplitTextWords("ab", words), 0);
  ASSERT_EQ(SplitTextWords("cd", words), 0);
  EXPECT_EQ(Describe(words), Describe(std::vector<W>{{1, 2, "ab"}, {1, 2, "cd"}}));
  EXPECT_EQ(SplitTextWords("\x80x", words), kSplitStrayTrailByte);
  EXPECT_TRUE(words.empty());
}

std::vector<std::string> Wrap(const std::string& text, int width, int perByte = 1) {
  std::vector<std::string> lines{"left over"};
  EXPECT_EQ(WrapTextLines(text, width, FixedWidth(perByte), lines), 0);
  return lines;
}

using Lines = std::vector<std::string>;

TEST(WrapTextLines, Breaks) {
  CodePageScope cp(1252);
  EXPECT_EQ(Wrap("a\r\n\r\nb", 100), (Lines{"a", "", "b"}));
  EXPECT_EQ(Wrap("a\r\n", 100), (Lines{"a"}));
  EXPECT_EQ(Wrap("a\rb\nc", 100), (Lines{"a", "b", "c"}));
  EXPECT_EQ(Wrap("\r\nb", 100), (Lines{"", "b"}));
  EXPECT_EQ(Wrap("", 100), Lines{});
}

TEST(WrapTextLines, GreedyByTheSumOfWordWidths) {
  CodePageScope cp(1252);
  // "hello" 5, " " 1, "world" 5 pixels.
  EXPECT_EQ(Wrap("hello world", 100), (Lines{"hello world"}));
  // The blank still fits: it stays at the end of the first line.
  EXPECT_EQ(Wrap("hello world", 7), (Lines{"hello ", "world"}));
  // The blank reaches the width: it is dropped.
  EXPECT_EQ(Wrap("hello world", 6), (Lines{"hello", "world"}));
  // A word exactly as wide as the line closes it; the blank after it then opens the next line.
  EXPECT_EQ(Wrap("abcde fg", 5), (Lines{"abcde", " fg"}));
  // A word wider than the line stands alone and is never split.
  EXPECT_EQ(Wrap("abcdefgh ij", 5), (Lines{"abcdefgh", " ij"}));
  EXPECT_EQ(Wrap("ab abcdefgh", 5), (Lines{"ab ", "abcdefgh"}));
  // Widths scale with the measurer.
  EXPECT_EQ(Wrap("hello world", 70, 10), (Lines{"hello ", "world"}));
}

TEST(WrapTextLines, MultiByteCharactersWrapOneByOne) {
  CodePageScope cp(65001);
  // Each Khmer character is one word of three bytes (3 pixels here).
  const std::string khmer = "\xE1\x9E\x97\xE1\x9E\xB6\xE1\x9E\x9F\xE1\x9E\xB6";
  EXPECT_EQ(Wrap(khmer, 7), (Lines{"\xE1\x9E\x97\xE1\x9E\xB6", "\xE1\x9E\x9F\xE1\x9E\xB6"}));
  // A text that cannot be split has no lines.
  EXPECT_EQ(Wrap("ok \x80x", 100), Lines{});
}

}  // namespace
