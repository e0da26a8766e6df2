// The document without a window: it makes its message once, hands it over whole, counts its
// pages and builds itself in the codec's composer.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>

#include "editor/EncodedMessage.h"
#include "editor/MessageDocument.h"
#include "mms/TK3VNMms.h"
#include "mms/TMediaItem.h"

TEST(MessageDocument, MakesItsMessageOnceAndHandsItOverWhole) {
  MessageDocument document;
  EXPECT_EQ(document.Message(), nullptr);
  EXPECT_EQ(document.PageCount(), 0);
  EXPECT_EQ(document.curFrame, -1);
  EXPECT_FALSE(document.modified);

  TK3VNMms& message = document.EnsureMessage();
  message.AppendNewFrame();
  message.AppendNewFrame();
  EXPECT_EQ(&document.EnsureMessage(), &message);  // a second call keeps the pages
  EXPECT_EQ(document.PageCount(), 2);

  std::unique_ptr<TK3VNMms> held = document.ReplaceMessage(nullptr);
  EXPECT_EQ(held.get(), &message);
  EXPECT_EQ(document.Message(), nullptr);
  EXPECT_EQ(document.PageCount(), 0);
  EXPECT_EQ(document.ReplaceMessage(std::move(held)), nullptr);
  EXPECT_EQ(document.PageCount(), 2);
}

// A page whose sound is gone ends the build of a message to save or send, while a measurement
// still encodes the pages it could take; an empty document builds to a whole message.
TEST(MessageDocument, BuildsWithoutAWindowAndPassesOverAnUnreadablePageOnlyWhenMeasuring) {
  MessageDocument document;
  int warnings = 0;
  document.warn = [&warnings](const char*) { ++warnings; };
  TK3VNMms& message = document.EnsureMessage();
  message.AppendNewFrame();
  message.AppendNewFrame();
  EXPECT_EQ(document.BuildMms(), 1);
  EXPECT_TRUE(EncodedMessage(document).Complete());
  EXPECT_EQ(document.TotalDurationMs(), 2000);

  ASSERT_GE(message.SetFrameItemFromFile(0, TMediaItem::kAudio, "/nonexistent/gone.amr"), 0);
  EXPECT_EQ(document.BuildMms(), 0);
  EXPECT_EQ(document.BuildReadablePages(), 0);
  EXPECT_FALSE(EncodedMessage(document).Complete());
  const EncodedMessage measured(document, EncodedMessage::Pages::kReadable);
  EXPECT_GT(measured.Size(), 0u);
  EXPECT_EQ(warnings, 0);
}

// Only a current page takes a duration, and taking one is an edit.
TEST(MessageDocument, TheCurrentPageTakesADurationAsAnEdit) {
  MessageDocument document;
  EXPECT_FALSE(document.SetCurrentDuration(5000));  // no message
  document.EnsureMessage().AppendNewFrame();
  document.curFrame = 1;
  EXPECT_FALSE(document.SetCurrentDuration(5000));  // no such page
  EXPECT_FALSE(document.modified);
  document.curFrame = 0;
  EXPECT_EQ(document.CurrentDuration(), 1000);
  EXPECT_TRUE(document.SetCurrentDuration(5000));
  EXPECT_TRUE(document.modified);
  EXPECT_EQ(document.CurrentDuration(), 5000);
  EXPECT_EQ(document.TotalDurationMs(), 5000);
}

TEST(MessageDocument, TheSubjectIsCutToItsLimitBetweenPairs) {
  const std::u16string forty(40, u'a'), pair = u"\xD83D\xDE00";
  const struct {
    const char* what;
    std::u16string subject, expected;
  } cases[] = {
      {"within", u"subject", u"subject"},
      {"at the limit", forty, forty},
      {"one over", forty + u"b", forty},
      {"a pair across the limit", std::u16string(39, u'a') + pair, std::u16string(39, u'a')},
      {"a pair ending at the limit", std::u16string(38, u'a') + pair + u"b", std::u16string(38, u'a') + pair},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MessageDocument::SubjectWithinLimit(c.subject), c.expected) << c.what;
  }
}
