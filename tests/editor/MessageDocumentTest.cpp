// The document without a window: it makes its message once, hands it over whole, counts its
// pages, appends and removes pages and items, and builds itself in the codec's composer.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <utility>

#include "editor/EncodedMessage.h"
#include "editor/MessageDocument.h"
#include "mms/TK3VNMms.h"
#include "mms/TMediaItem.h"
#include "mms/TMmsBody.h"
#include "mms/TMmsFrame.h"
#include "platform/rtl/SysUtils.h"
#include "support/TempDir.h"

TEST(MessageDocument, MakesItsMessageOnceAndHandsItOverWhole) {
  MessageDocument document;
  EXPECT_EQ(document.Message(), nullptr);
  EXPECT_EQ(document.PageCount(), 0);
  EXPECT_EQ(document.CurrentPage(), -1);
  EXPECT_FALSE(document.Modified());

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
  document.SetCurrentPage(1);
  EXPECT_FALSE(document.SetCurrentDuration(5000));  // no such page
  EXPECT_FALSE(document.Modified());
  document.SetCurrentPage(0);
  EXPECT_EQ(document.CurrentDuration(), 1000);
  EXPECT_TRUE(document.SetCurrentDuration(5000));
  EXPECT_TRUE(document.Modified());
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
    MessageDocument document;
    document.SetSubject(c.subject);
    EXPECT_EQ(document.Subject(), c.expected) << c.what;
  }
}

// A new page goes last and becomes current, until the message holds its most pages.
TEST(MessageDocument, AppendsPagesUpToTheLimit) {
  MessageDocument document;
  for (int i = 0; i < MessageDocument::kMaxPages; ++i) {
    EXPECT_EQ(document.AppendPage(), i);
    EXPECT_EQ(document.CurrentPage(), i);
  }
  document.SetCurrentPage(3);
  EXPECT_EQ(document.AppendPage(), -1);
  EXPECT_EQ(document.PageCount(), MessageDocument::kMaxPages);
  EXPECT_EQ(document.CurrentPage(), 3);
}

TEST(MessageDocument, RemovingAPageKeepsTheCurrentPageOnAPage) {
  const struct {
    const char* what;
    int current, removed;
    bool removes;
    int pagesAfter, currentAfter;
  } cases[] = {
      {"the current, in the middle", 1, 1, true, 2, 1},
      {"the current, the last", 2, 2, true, 2, 1},
      {"one before the current", 2, 0, true, 2, 1},
      {"one after the current", 0, 2, true, 2, 0},
      {"no such page", 1, 3, false, 3, 1},
      {"a negative index", 1, -1, false, 3, 1},
  };
  for (const auto& c : cases) {
    MessageDocument document;
    for (int i = 0; i < 3; ++i) document.AppendPage();
    document.SetCurrentPage(c.current);
    EXPECT_EQ(document.RemovePage(c.removed), c.removes) << c.what;
    EXPECT_EQ(document.PageCount(), c.pagesAfter) << c.what;
    EXPECT_EQ(document.CurrentPage(), c.currentAfter) << c.what;
  }
  MessageDocument last;
  last.AppendPage();
  EXPECT_TRUE(last.RemovePage(0));
  EXPECT_EQ(last.CurrentPage(), -1);
}

// Removing an item deletes only a text file of the editor's own that no page uses any more.
TEST(MessageDocument, RemovingAnItemDeletesOnlyAnUnusedTextFileOfItsOwn) {
  testsupport::TempDir app, outside;
  MessageDocument document;
  document.exeDir = (app.path() + "/").c_str();
  document.SetFolders();
  ASSERT_TRUE(ForceDirectories(document.txtDir));
  const std::string own = std::string(document.txtDir.c_str()) + "/txt0.txt";
  const std::string shared = std::string(document.txtDir.c_str()) + "/txt1.txt";
  const std::string foreign = outside.write("mine.txt", "hello");
  const std::string sound = outside.write("voice.amr", "#!AMR\n");
  for (const std::string& path : {own, shared}) {
    FILE* f = fopen(path.c_str(), "w");
    ASSERT_NE(f, nullptr);
    fputs("hello", f);
    fclose(f);
  }
  for (int i = 0; i < 5; ++i) document.AppendPage();
  TK3VNMms& message = *document.Message();
  ASSERT_GE(message.SetFrameItemFromFile(0, TMediaItem::kText, own), 0);
  ASSERT_GE(message.SetFrameItemFromFile(1, TMediaItem::kText, shared), 0);
  ASSERT_GE(message.SetFrameItemFromFile(2, TMediaItem::kText, shared), 0);
  ASSERT_GE(message.SetFrameItemFromFile(3, TMediaItem::kText, foreign), 0);
  ASSERT_GE(message.SetFrameItemFromFile(4, TMediaItem::kAudio, sound), 0);
  EXPECT_TRUE(document.IsFileUsed(shared));

  const struct {
    const char* what;
    int page, type;
    std::string path, gone, stays;
  } cases[] = {
      {"its own, unused", 0, TMediaItem::kText, own, own, ""},
      {"its own, still used by page 2", 1, TMediaItem::kText, shared, "", shared},
      {"its own, now unused", 2, TMediaItem::kText, shared, shared, ""},
      {"outside the text folder", 3, TMediaItem::kText, foreign, "", foreign},
      {"a sound", 4, TMediaItem::kAudio, sound, "", sound},
      {"an empty slot", 0, TMediaItem::kImage, "", "", ""},
      {"no such page", 5, TMediaItem::kText, "", "", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(document.RemoveItem(c.page, c.type), c.path) << c.what;
    EXPECT_EQ(document.ItemPath(c.page, c.type), "") << c.what;
    EXPECT_TRUE(c.gone.empty() || !FileExists(c.gone.c_str())) << c.what;
    EXPECT_TRUE(c.stays.empty() || FileExists(c.stays.c_str())) << c.what;
  }
  EXPECT_FALSE(document.IsFileUsed(shared));
}
