// Reading slide text files and counting their wrapped lines.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "mms/SlideTextFile.h"
#include "mms/SlideTextLines.h"
#include "mms/TMmsFrame.h"
#include "platform/rtl/CodePage.h"
#include "support/TempDir.h"
#include "tests/mms/SlideTextFakes.h"

namespace {

using slidetext::CodePageScope;
using slidetext::FixedWidth;
using slidetext::Utf16;

std::unique_ptr<TMmsFrame> SlideWithText(const std::string& path) {
  auto frame = std::make_unique<TMmsFrame>();
  frame->SetItem(std::make_unique<TVisualMediaItem>(TMediaItem::kText, path, 0), TMediaItem::kText);
  return frame;
}

std::u16string Units(const std::unique_ptr<char16_t[]>& text) {
  return text ? std::u16string(text.get()) : std::u16string(u"<none>");
}

TEST(ReadFrameText, ReadsTheWholeFileAsLittleEndianUnits) {
  testsupport::TempDir dir;
  struct Case {
    const char* what;
    std::string bytes;
    std::u16string expected;
  } cases[] = {
      {"three bytes: one unit, the odd byte dropped", std::string("A\x01Z", 3), u"\u0141"},
      {"the byte-order mark stays", Utf16("hi", true), u"\uFEFFhi"},
      {"without a mark", Utf16("hi", false), u"hi"},
      {"Khmer and a pair", std::string("\x97\x17\x3D\xD8\x00\xDE", 6), u"\u1797\U0001F600"},
      {"one byte: an empty text", "x", u""},
      {"empty file", "", u"<none>"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string path = dir.write("t.txt", c.bytes);
    auto frame = SlideWithText(path);
    EXPECT_EQ(Units(ReadFrameText(frame.get())), c.expected);
  }
  auto threeBytes = ReadFrameText(SlideWithText(dir.write("3.txt", "abc")).get());
  ASSERT_NE(threeBytes, nullptr);
  EXPECT_EQ(threeBytes[0], u'\u6261');
  EXPECT_EQ(threeBytes[1], 0);
}

TEST(ReadFrameText, NoneWithoutAReadableTextFile) {
  testsupport::TempDir dir;
  EXPECT_EQ(ReadFrameText(nullptr), nullptr);
  TMmsFrame empty;
  EXPECT_EQ(ReadFrameText(&empty), nullptr);
  EXPECT_EQ(ReadFrameText(SlideWithText("").get()), nullptr);
  EXPECT_EQ(ReadFrameText(SlideWithText(dir.file("missing.txt")).get()), nullptr);
  EXPECT_EQ(ReadFrameText(SlideWithText(dir.path()).get()), nullptr);  // a folder
  // Only the text slot is read.
  TMmsFrame pictureOnly;
  pictureOnly.SetItem(std::make_unique<TVisualMediaItem>(TMediaItem::kImage, dir.write("p.txt", "ab"), 0),
                      TMediaItem::kImage);
  EXPECT_EQ(ReadFrameText(&pictureOnly), nullptr);
}

TEST(ReadItemTextAnsi, StopsAtTheFirstZeroByte) {
  testsupport::TempDir dir;
  TVisualMediaItem text(TMediaItem::kText, dir.write("a.txt", std::string("abc\0def", 7)), 0);
  EXPECT_EQ(ReadItemTextAnsi(&text), "abc");
  TVisualMediaItem utf16(TMediaItem::kText, dir.write("u.txt", Utf16("hello", true)), 0);
  EXPECT_EQ(ReadItemTextAnsi(&utf16), "\xFF\xFEh");

  TVisualMediaItem picture(TMediaItem::kImage, dir.file("a.txt"), 0);
  EXPECT_EQ(ReadItemTextAnsi(&picture), "");
  TVisualMediaItem missing(TMediaItem::kText, dir.file("none.txt"), 0);
  EXPECT_EQ(ReadItemTextAnsi(&missing), "");
  TVisualMediaItem noPath(TMediaItem::kText, "", 0);
  EXPECT_EQ(ReadItemTextAnsi(&noPath), "");
  EXPECT_EQ(ReadItemTextAnsi(nullptr), "");
}

TEST(CountTextLines, CountsTheWrappedLinesOfUtf16FilesWithAndWithoutAMark) {
  testsupport::TempDir dir;
  // At 10 pixels a byte and 120 wide: "hello " | "world, this" | "is a text".
  const std::string text = "hello world, this is a text";
  const FixedWidth canvas(10);
  for (bool bom : {true, false}) {
    SCOPED_TRACE(bom);
    const std::string path = dir.write(bom ? "bom.txt" : "plain.txt", Utf16(text, bom));
    TVisualMediaItem item(TMediaItem::kText, path, 0);
    EXPECT_EQ(CountItemTextLines(&item, 120, canvas), 3);
    EXPECT_EQ(CountFrameTextLines(SlideWithText(path).get(), 120, canvas), 3);
    EXPECT_EQ(CountItemTextLines(&item, 1000, canvas), 1);
  }
  // Breaks count, a final one does not.
  const std::string breaks = dir.write("b.txt", Utf16("a\r\n\r\nb\r\n", true));
  TVisualMediaItem withBreaks(TMediaItem::kText, breaks, 0);
  EXPECT_EQ(CountItemTextLines(&withBreaks, 120, canvas), 3);

  // No text, no lines.
  const std::string empty = dir.write("e.txt", "");
  TVisualMediaItem emptyItem(TMediaItem::kText, empty, 0);
  EXPECT_EQ(CountItemTextLines(&emptyItem, 120, canvas), 0);
  EXPECT_EQ(CountItemTextLines(nullptr, 120, canvas), 0);
  EXPECT_EQ(CountFrameTextLines(nullptr, 120, canvas), 0);
  const std::string onlyMark = dir.write("m.txt", "\xFF\xFE");
  EXPECT_EQ(CountFrameTextLines(SlideWithText(onlyMark).get(), 120, canvas), 0);
}

TEST(CountTextLines, VietnameseTextIsMeasuredInTheSystemCodePage) {
  testsupport::TempDir dir;
  CodePageScope cp(65001);
  // "Tiếng Việt" has 10 characters and 14 UTF-8 bytes: "Ti" "ế" "ng" " " "Vi" "ệ" "t".
  TVisualMediaItem item(TMediaItem::kText, dir.write("vi.txt", Utf16(u"Ti\u1EBFng Vi\u1EC7t", true)), 0);
  // At a pixel a byte the last "t" reaches 14 and so starts a second line at width 14.
  EXPECT_EQ(CountItemTextLines(&item, 14, FixedWidth(1)), 2);
  EXPECT_EQ(CountItemTextLines(&item, 15, FixedWidth(1)), 1);
}

TEST(CountTextLines, TheDefaultMeasurerIsTheOneSet) {
  testsupport::TempDir dir;
  TVisualMediaItem item(TMediaItem::kText, dir.write("t.txt", Utf16("aaaa bbbb", true)), 0);
  // With no measurer set, words have no width and only breaks end lines.
  SetDefaultTextMeasurer(nullptr);
  EXPECT_EQ(CountItemTextLines(&item, 1), 1);
  SetDefaultTextMeasurer(std::make_shared<FixedWidth>(10));
  EXPECT_EQ(CountItemTextLines(&item, 50), 2);
  EXPECT_EQ(CountFrameTextLines(SlideWithText(item.Path).get(), 50), 2);
  SetDefaultTextMeasurer(nullptr);
}

}  // namespace
