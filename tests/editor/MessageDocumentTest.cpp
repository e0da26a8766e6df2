// The document without a window: it makes its message once, hands it over whole, counts its
// pages and builds itself in the codec's composer.
#include <gtest/gtest.h>

#include <memory>
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
