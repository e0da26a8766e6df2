// The document takes pictures, sounds and texts into its pages without a window: which files it
// takes, the page it inserts into, copies into its working folders under names that never replace
// another file, texts that say nothing, and a refused insertion taken back to exactly what the
// page's slot had.
#include <sys/stat.h>
#include <unistd.h>

#include <memory>
#include <string>
#include <vector>

#include "editor/MessageDocument.h"
#include "mms/TK3VNMms.h"
#include "mms/TMediaItem.h"
#include "mms/TMmsBody.h"
#include "mms/TMmsFrame.h"
#include "platform/forms/TPicture.h"
#include "platform/rtl/SysUtils.h"
#include "support/SharedData.h"
#include "tests/editor/CommandFixture.h"
#include "tests/editor/DocumentFixture.h"
#include "tests/editor/EditorFixture.h"

namespace {

using editortest::DocumentTest;
using editortest::Noise;
using editortest::ReadAll;
using FileCheck = MessageDocument::FileCheck;

std::string PictureBytes() { return ReadAll(testsupport::SharedPath("testdata/pillow/bmp/g_rgb24.bmp")); }

class DocumentInsert : public DocumentTest {};

TEST_F(DocumentInsert, TakesOnlyFilesThatAreWhatTheirNamesSay) {
  TPicture::RegisterBuiltInFormats();  // the picture classes, as the application's start registers them
  const std::string bmp = PictureBytes(), sound = Noise(500, 3);
  ASSERT_GT(bmp.size(), 128u);
  ASSERT_EQ(mkfifo(files.file("pipe.wav").c_str(), 0600), 0);
  const struct {
    const char* name;
    bool picture;
    bool present;
    std::string bytes;
    FileCheck expected;
  } cases[] = {
      {"g.bmp", true, true, bmp, FileCheck::kTaken},
      {"G.BMP", true, true, bmp, FileCheck::kTaken},
      {"gone.bmp", true, false, "", FileCheck::kNoSuchFile},
      {"empty.bmp", true, true, "", FileCheck::kRefused},
      {"short.bmp", true, true, bmp.substr(0, 127), FileCheck::kRefused},
      {"g.png", true, true, bmp, FileCheck::kNotAPictureKind},
      {"g.gif", true, true, bmp, FileCheck::kNotItsKind},
      {"broken.bmp", true, true, "BM" + Noise(400, 4), FileCheck::kRefused},  // its class cannot read it
      {"a.wav", false, true, sound, FileCheck::kTaken},
      {"b.MP3", false, true, sound, FileCheck::kTaken},
      {"c.Wav", false, true, sound, FileCheck::kNotASoundKind},
      {"d.ogg", false, true, sound, FileCheck::kNotASoundKind},
      {"sounds.wav/tone", false, true, sound, FileCheck::kNotASoundKind},
      {"e.wav", false, true, "", FileCheck::kRefused},
      {"gone.wav", false, false, "", FileCheck::kNoSuchFile},
      // A pipe is no file: it is refused, and opening it waits for no writer.
      {"pipe.wav", false, false, "", FileCheck::kRefused},
  };
  for (const auto& c : cases) {
    const std::string path = c.present ? files.write(c.name, c.bytes) : files.file(c.name);
    const AnsiString name = path.c_str();
    EXPECT_EQ(c.picture ? MessageDocument::CheckPicture(name) : MessageDocument::CheckSound(name), c.expected)
        << c.name;
  }
}

// An insertion goes into the current page; without one, into a page appended for it. Either way
// the document is changed, even when the page limit leaves nothing to insert into.
TEST_F(DocumentInsert, ThePageToInsertInto) {
  const struct {
    const char* what;
    int pages, current;
    int page, pagesAfter;
  } cases[] = {
      {"no message", 0, -1, 0, 1},
      {"the current page", 3, 1, 1, 3},
      {"no current page", 3, -1, 3, 4},
      {"no current page at the limit", MessageDocument::kMaxPages, -1, -1, MessageDocument::kMaxPages},
      {"a current page that is gone", 2, 5, -1, 2},
  };
  for (const auto& c : cases) {
    MessageDocument fresh;
    for (int i = 0; i < c.pages; ++i) fresh.AppendPage();
    fresh.SetCurrentPage(c.current);
    EXPECT_EQ(fresh.PageForInsert(), c.page) << c.what;
    EXPECT_EQ(fresh.PageCount(), c.pagesAfter) << c.what;
    EXPECT_TRUE(fresh.Modified()) << c.what;
    if (c.page >= 0) {
      EXPECT_EQ(fresh.CurrentPage(), c.page) << c.what;
    }
  }
}

// Same-named files from different folders get numbered names; the same bytes again share the copy
// there; the copy itself, a source that cannot be read and a link lying at the name are refused,
// and the link's target is never made.
TEST_F(DocumentInsert, CopiesUnderNumberedNamesAndNeverThroughALink) {
  testsupport::TempDir one, two, three;
  const std::string a = Noise(300, 1), b = Noise(300, 2), c = Noise(300, 3);
  const std::string outside = files.file("made-through-link");
  ASSERT_EQ(symlink(outside.c_str(), In(document.imageDir, "linked.bmp").c_str()), 0);
  const struct {
    std::string source;
    int result;
    const char* copy;  // its name in the folder, "" when refused
  } steps[] = {
      {one.write("photo.bmp", a), 0, "photo.bmp"},
      {two.write("photo.bmp", b), 0, "photo_1.bmp"},
      {three.write("photo.bmp", c), 0, "photo_2.bmp"},
      {one.file("photo.bmp"), 0, "photo.bmp"},  // the same bytes again
      {two.write("noext", a), 0, "noext"},
      {three.write("noext", b), 0, "noext_1"},
      {In(document.imageDir, "photo_1.bmp"), MessageDocument::kRefused, ""},
      {one.file("missing.bmp"), MessageDocument::kCannotOpen, ""},
      {one.write("linked.bmp", a), MessageDocument::kRefused, ""},
  };
  for (const auto& s : steps) {
    AnsiString copy;
    EXPECT_EQ(document.CopyIntoFolder(document.imageDir, s.source.c_str(), &copy), s.result) << s.source;
    EXPECT_EQ(std::string(copy.c_str()), *s.copy ? In(document.imageDir, s.copy) : "") << s.source;
    if (s.result == 0) {
      EXPECT_EQ(ReadAll(copy.c_str()), ReadAll(s.source)) << s.source;
    }
  }
  EXPECT_EQ(Listing(document.imageDir), "linked.bmp noext noext_1 photo.bmp photo_1.bmp photo_2.bmp");
  EXPECT_FALSE(FileExists(outside.c_str()));
  EXPECT_EQ(ReadAll(two.file("photo.bmp")), b);  // a source is never emptied
}

TEST_F(DocumentInsert, AFileGoesIntoThePagesSlotAsACopyOfItsOwn) {
  document.AppendPage();
  const std::string first = files.write("first.wav", Noise(100, 5)),
                    second = files.write("second.mid", Noise(90, 6));
  ASSERT_EQ(document.InsertFile(0, TMediaItem::kAudio, first.c_str()), 0);
  EXPECT_EQ(Item(0, TMediaItem::kAudio), In(document.audioDir, "first.wav"));
  const TMediaItem* item = document.Message()->Body->GetFrame(0)->GetItem(TMediaItem::kAudio);
  ASSERT_EQ(document.InsertFile(0, TMediaItem::kAudio, second.c_str()), 0);
  EXPECT_EQ(document.Message()->Body->GetFrame(0)->GetItem(TMediaItem::kAudio), item);  // the item stays
  EXPECT_EQ(Item(0, TMediaItem::kAudio), In(document.audioDir, "second.mid"));

  // No such page, a slot that takes no file, a file that cannot be copied: nothing changes.
  EXPECT_EQ(document.InsertFile(1, TMediaItem::kAudio, first.c_str()), MessageDocument::kRefused);
  EXPECT_EQ(document.InsertFile(0, TMediaItem::kText, first.c_str()), MessageDocument::kRefused);
  EXPECT_EQ(document.InsertFile(0, TMediaItem::kImage, files.file("gone.bmp").c_str()),
            MessageDocument::kRefused);
  EXPECT_EQ(Item(0, TMediaItem::kImage), "");
  EXPECT_EQ(Listing(document.audioDir), "first.wav second.mid");
  EXPECT_EQ(Listing(document.imageDir), "");
}

TEST_F(DocumentInsert, ATextThatSaysNothingIsNoText) {
  const struct {
    const char* what;
    bool written;
    std::string bytes;
    bool kept;
  } cases[] = {
      {"no file", false, "", false},
      {"an empty file", true, "", false},
      {"a byte-order mark", true, "\xFF\xFE", false},
      {"marks only", true, "\xFF\xFE\xFF\xFE", false},
      {"a word", true, editortest::Utf16Le(u"hi"), true},
  };
  document.AppendPage();
  for (const auto& c : cases) {
    const AnsiString path = document.TextFileFor(0);
    if (c.written) {
      FILE* f = fopen(path.c_str(), "wb");
      ASSERT_NE(f, nullptr);
      fwrite(c.bytes.data(), 1, c.bytes.size(), f);
      fclose(f);
    }
    EXPECT_EQ(document.TakeText(0, path), c.kept) << c.what;
    EXPECT_EQ(Item(0, TMediaItem::kText), c.kept ? std::string(path.c_str()) : "") << c.what;
    EXPECT_EQ(FileExists(path), c.kept) << c.what;
    document.RemoveItem(0, TMediaItem::kText);
  }
}

// A refused insertion gives the slot exactly what it had, in every kind of slot, filled or empty:
// the old path, a text file's old bytes; the copy it made goes, and the picture cache hears of a
// picture no page uses any more. An accepted one keeps what it put there.
TEST(DocumentInsertTakenBack, TheSlotGetsExactlyWhatItHad) {
  const struct {
    const char* what;
    int type;
    bool had;
  } cases[] = {
      {"a picture over a picture", TMediaItem::kImage, true},
      {"a picture into an empty slot", TMediaItem::kImage, false},
      {"a sound over a sound", TMediaItem::kAudio, true},
      {"a sound into an empty slot", TMediaItem::kAudio, false},
      {"a text rewritten", TMediaItem::kText, true},
      {"a new text", TMediaItem::kText, false},
  };
  for (const auto& c : cases) {
    for (const bool refuse : {true, false}) {
      SCOPED_TRACE(std::string(c.what) + (refuse ? ", refused" : ", accepted"));
      testsupport::TempDir app, files;
      MessageDocument document;
      DocumentTest::PlaceFolders(document, app.path());
      std::vector<std::string> dropped;
      document.pictureDropped = [&dropped](const std::string& path) { dropped.push_back(path); };
      document.AppendPage();
      const bool text = c.type == TMediaItem::kText;
      const std::string ext = c.type == TMediaItem::kImage ? ".bmp" : ".wav";
      const std::string oldBytes = editortest::Utf16Le(u"old"), newBytes = editortest::Utf16Le(u"new text");
      // The slot's text is written where the text editor writes it: its own file.
      auto writeText = [&document](const std::string& bytes) {
        const AnsiString path = document.TextFileFor(0);
        FILE* f = fopen(path.c_str(), "wb");
        fwrite(bytes.data(), 1, bytes.size(), f);
        fclose(f);
        return document.TakeText(0, path) ? 0 : MessageDocument::kRefused;
      };
      if (c.had) {
        ASSERT_EQ(text ? writeText(oldBytes)
                       : document.InsertFile(0, c.type, files.write("old" + ext, oldBytes).c_str()),
                  0);
      }
      const std::string before = document.ItemPath(0, c.type);
      const std::string source = files.write("new" + ext, newBytes);
      bool asked = false;
      const int result = document.InsertKeepingLimit(
          c.type, [&] { return text ? writeText(newBytes) : document.InsertFile(0, c.type, source.c_str()); },
          [&] {
            asked = true;
            return refuse;
          });
      EXPECT_TRUE(asked);
      EXPECT_EQ(result, refuse ? MessageDocument::kRefused : 0);
      const std::string now = document.ItemPath(0, c.type);
      if (refuse) {
        EXPECT_EQ(now, before);
        if (c.had) {
          EXPECT_EQ(ReadAll(now), oldBytes);
        }
        // The copy this insertion made (a text rewritten has its own file, which stays).
        const std::string made =
            text ? DocumentTest::In(document.txtDir, "txt0.txt")
                 : DocumentTest::In(c.type == TMediaItem::kImage ? document.imageDir : document.audioDir,
                                    "new" + ext);
        if (!c.had || !text) {
          EXPECT_FALSE(FileExists(made.c_str()));
        }
      } else {
        EXPECT_NE(now, "");
        EXPECT_EQ(ReadAll(now), newBytes);
      }
      const bool picture = c.type == TMediaItem::kImage && refuse;
      EXPECT_EQ(!dropped.empty(), picture);
      for (const std::string& path : dropped)
        EXPECT_EQ(path, std::string(document.imageDir.c_str()) + "/new.bmp");
    }
  }
}

// An insertion that fails is not measured, and what it copied goes again.
TEST_F(DocumentInsert, AFailedInsertionIsNotMeasured) {
  document.AppendPage();
  const std::string source = files.write("tone.wav", Noise(100, 7));
  bool asked = false;
  const int result = document.InsertKeepingLimit(
      TMediaItem::kAudio,
      [&] {
        AnsiString copy;
        EXPECT_EQ(document.CopyIntoFolder(document.audioDir, source.c_str(), &copy), 0);
        return MessageDocument::kNoSuchFile;
      },
      [&] { return asked = true; });
  EXPECT_EQ(result, MessageDocument::kNoSuchFile);
  EXPECT_FALSE(asked);
  EXPECT_EQ(Listing(document.audioDir), "");
}

}  // namespace
