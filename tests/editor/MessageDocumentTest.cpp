// The document without a window: it makes its message once, hands it over whole and counts its
// pages.
#include <gtest/gtest.h>

#include <memory>
#include <utility>

#include "editor/MessageDocument.h"
#include "mms/TK3VNMms.h"

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
