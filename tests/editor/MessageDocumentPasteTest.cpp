// The document takes pasted pages and items without a window: a page before a page, an item into
// a page's slot or a page appended for it, within the page limit; a paste is taken back exactly;
// pasted texts go to files of their own under names that never replace a file.
#include <sys/stat.h>

#include <memory>
#include <string>
#include <vector>

#include "editor/MessageDocument.h"
#include "mms/TK3VNMms.h"
#include "mms/TMediaItem.h"
#include "mms/TMmsBody.h"
#include "mms/TMmsFrame.h"
#include "mms/TVisualMediaItem.h"
#include "platform/rtl/SysUtils.h"
#include "tests/editor/CommandFixture.h"
#include "tests/editor/DocumentFixture.h"
#include "tests/editor/EditorFixture.h"

namespace {

using editortest::DocumentTest;
using editortest::ReadAll;

constexpr int kPastedDur = 4321;  // marks the pasted page

class DocumentPaste : public DocumentTest {
 protected:
  void Pages(int count) {
    for (int i = 0; i < count; ++i) document.AppendPage();
  }
  int PastedPageAt() const {
    for (int i = 0; i < document.PageCount(); ++i)
      if (document.Message()->Body->GetFrameDur(i) == kPastedDur) return i;
    return -1;
  }
  static std::unique_ptr<TMediaItem> Item(int type, const std::string& path) {
    return std::make_unique<TVisualMediaItem>(type, path, 0);
  }
  using DocumentTest::Item;
};

TEST_F(DocumentPaste, APastedPageGoesBeforeThePageWithinTheLimit) {
  const struct {
    const char* what;
    int pages, index, result, at;  // `at`: where the pasted page is, -1 none
  } cases[] = {
      {"before the first", 3, 0, 0, 0},
      {"before the middle", 3, 1, 0, 1},
      {"past the last", 3, 7, 0, 3},
      {"into no message", 0, 0, 0, 0},
      {"at the page limit", MessageDocument::kMaxPages, 0, MessageDocument::kTooManyPages, -1},
      {"a negative index", 3, -1, MessageDocument::kNoSuchPage, -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    MessageDocument fresh;
    for (int i = 0; i < c.pages; ++i) fresh.AppendPage();
    fresh.SetCurrentPage(c.pages > 0 ? 1 : -1);
    TPasteRecord record;
    EXPECT_EQ(fresh.PastePage(c.index, std::make_unique<TMmsFrame>(kPastedDur), &record), c.result);
    EXPECT_EQ(record.insertedPage, c.at);
    EXPECT_EQ(fresh.PageCount(), c.pages + (c.at >= 0 ? 1 : 0));
    if (c.at >= 0) {
      EXPECT_EQ(fresh.Message()->Body->GetFrameDur(c.at), kPastedDur);
    }
    fresh.UndoPaste(record);
    EXPECT_EQ(fresh.PageCount(), c.pages);
    for (int i = 0; i < fresh.PageCount(); ++i) EXPECT_NE(fresh.Message()->Body->GetFrameDur(i), kPastedDur);
    EXPECT_EQ(fresh.CurrentPage(), c.pages > 0 ? 1 : -1);
  }
}

// An item goes into the page's slot, the item there kept for the undo; past the last page a
// page is appended for it (and made current), but not at the page limit. The undo gives the slot
// its item back and deletes the pasted text's own file, never the one it replaced.
TEST_F(DocumentPaste, AnItemGoesIntoItsSlotAndComesOutAgainExactly) {
  Pages(2);
  const AnsiString kept = document.WritePastedText(u"kept");
  ASSERT_EQ(document.PasteItem(0, TMediaItem::kText, Item(TMediaItem::kText, kept.c_str())), 0);
  document.SetCurrentPage(1);
  const struct {
    const char* what;
    int index;
    int pageAfter, pagesAfter;  // where the item went, and the page count with it
  } cases[] = {
      {"over a text", 0, 0, 2},
      {"into an empty slot", 1, 1, 2},
      {"past the last page", 5, 2, 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const AnsiString pasted = document.WritePastedText(u"pasted");
    TPasteRecord record;
    ASSERT_EQ(
        document.PasteItem(c.index, TMediaItem::kText, Item(TMediaItem::kText, pasted.c_str()), &record), 0);
    EXPECT_EQ(record.page, c.pageAfter);
    EXPECT_EQ(document.PageCount(), c.pagesAfter);
    EXPECT_EQ(Item(c.pageAfter, TMediaItem::kText), pasted.c_str());
    EXPECT_EQ(document.CurrentPage(), record.appended ? c.pageAfter : 1);
    document.UndoPaste(record);
    EXPECT_EQ(document.PageCount(), 2);
    EXPECT_EQ(document.CurrentPage(), 1);
    EXPECT_EQ(Item(0, TMediaItem::kText), kept.c_str());
    EXPECT_EQ(Item(1, TMediaItem::kText), "");
    EXPECT_FALSE(FileExists(pasted));
    EXPECT_EQ(ReadAll(kept.c_str()), editortest::Utf16Le(u"kept"));
  }

  // At the page limit an item still goes into a page, but appends none.
  Pages(MessageDocument::kMaxPages - 2);
  EXPECT_TRUE(document.HasRoomForItem(0));
  EXPECT_FALSE(document.HasRoomForItem(MessageDocument::kMaxPages));
  EXPECT_FALSE(document.HasRoomForPage());
  document.SetCurrentPage(3);
  TPasteRecord record;
  EXPECT_EQ(document.PasteItem(MessageDocument::kMaxPages, TMediaItem::kAudio,
                               Item(TMediaItem::kAudio, "x.wav"), &record),
            MessageDocument::kTooManyPages);
  EXPECT_EQ(document.PageCount(), MessageDocument::kMaxPages);
  EXPECT_EQ(document.CurrentPage(), 3);
  EXPECT_FALSE(record.appended);
  EXPECT_EQ(document.PasteItem(-1, TMediaItem::kAudio, Item(TMediaItem::kAudio, "x.wav")),
            MessageDocument::kNoSuchPage);
}

// Undoing a pasted picture or page tells the picture cache of a picture no page uses any more.
TEST_F(DocumentPaste, UndoingAPasteForgetsOnlyPicturesNoPageUses) {
  std::vector<std::string> dropped;
  document.pictureDropped = [&dropped](const std::string& path) { dropped.push_back(path); };
  Pages(2);
  const std::string shared = In(document.imageDir, "shared.jpg"), alone = In(document.imageDir, "alone.jpg");
  ASSERT_EQ(document.PasteItem(0, TMediaItem::kImage, Item(TMediaItem::kImage, shared)), 0);

  TPasteRecord same, other, page;
  ASSERT_EQ(document.PasteItem(1, TMediaItem::kImage, Item(TMediaItem::kImage, shared), &same), 0);
  document.UndoPaste(same);
  EXPECT_TRUE(dropped.empty());  // page 0 still shows it
  ASSERT_EQ(document.PasteItem(1, TMediaItem::kImage, Item(TMediaItem::kImage, alone), &other), 0);
  document.UndoPaste(other);
  EXPECT_EQ(dropped, std::vector<std::string>{alone});

  dropped.clear();
  auto frame = std::make_unique<TMmsFrame>(kPastedDur);
  frame->SetItem(Item(TMediaItem::kImage, alone), TMediaItem::kImage);
  ASSERT_EQ(document.PastePage(0, std::move(frame), &page), 0);
  document.UndoPaste(page);
  EXPECT_EQ(dropped, std::vector<std::string>{alone});
  EXPECT_EQ(Item(0, TMediaItem::kImage), shared);
}

// Pasted files are numbered on from the latest name, past names a file or a folder has.
TEST_F(DocumentPaste, PastedFilesNeverReplaceAFile) {
  const std::string taken = In(document.txtDir, "Text0.txt");
  FILE* f = fopen(taken.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  fputs("keep", f);
  fclose(f);
  ASSERT_EQ(mkdir(In(document.txtDir, "Text1.txt").c_str(), 0700), 0);

  EXPECT_EQ(document.WritePastedText(u"a\r\nb"), In(document.txtDir, "Text2.txt").c_str());
  EXPECT_EQ(ReadAll(In(document.txtDir, "Text2.txt")), editortest::Utf16Le(u"a\r\nb"));
  EXPECT_EQ(document.NewPasteFileName(document.imageDir, "Img", ".jpg"),
            In(document.imageDir, "Img3.jpg").c_str());
  EXPECT_EQ(document.PasteCounter(), 4);
  EXPECT_EQ(ReadAll(taken), "keep");

  // A new document starts the numbers again, and still passes over what is there.
  document.SetPasteCounter(0);
  EXPECT_EQ(document.WritePastedText(u"c"), In(document.txtDir, "Text3.txt").c_str());
  // A text that cannot be written gives no path.
  document.txtDir = (files.path() + "/no-such-folder").c_str();
  EXPECT_EQ(document.WritePastedText(u"d"), "");
}

}  // namespace
