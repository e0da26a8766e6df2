// Inserting pictures, sounds and texts: the picture kind read from the first bytes, the refusals
// and their boxes on real files, copies into the working folder that never overwrite another
// picture or empty the source, the sound extensions, text file names, and insertions that cross
// the size limit taken back to exactly what the page had.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <new>

#include "editor/MediaTypes.h"
#include "mms/TK3VNMms.h"
#include "mms/TMediaItem.h"
#include "mms/TMmsBody.h"
#include "mms/TMmsFrame.h"
#include "platform/backend/HeadlessDriver.h"
#include "platform/forms/TBitmap.h"
#include "platform/forms/TLabel.h"
#include "platform/forms/TPicture.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/ScopeExit.h"
#include "support/SharedData.h"
#include "tests/editor/CommandFixture.h"

namespace {

using editortest::CommandTest;
using editortest::ReadAll;
using platform::win::ModalAnswer;
using platform::win::ModalInfo;

std::string Shared(const char* path) { return testsupport::SharedPath(std::string("testdata/") + path); }

bool Exists(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0;
}

// A 24-bit BMP of noise, `side` pixels square (about 3 x side x side bytes).
std::string NoiseBmp(int side, unsigned seed) {
  const int row = (side * 3 + 3) & ~3;
  const uint32_t pixels = uint32_t(row * side), size = 54 + pixels;
  std::string b(54, 0);
  auto put32 = [&b](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = char(v >> (8 * i));
  };
  b[0] = 'B';
  b[1] = 'M';
  put32(2, size);
  put32(10, 54);
  put32(14, 40);
  put32(18, uint32_t(side));
  put32(22, uint32_t(side));
  b[26] = 1;
  b[28] = 24;
  put32(34, pixels);
  return b + editortest::Noise(pixels, seed);
}

class InsertCommands : public CommandTest {
 protected:
  const TMediaItem* Item(int page, int type) { return main->Mms()->Body->GetFrame(page)->GetItem(type); }
  std::string ItemPath(int page, int type) {
    const TMediaItem* item = Item(page, type);
    return item ? item->Path : "";
  }
  // A fake text editor that writes the file as the real one does (FF FE, UTF-16LE) and records
  // the path it was given.
  void TextEditorWrites(const std::u16string& text) {
    main->SetTextEditorRunner([this, text](TfrmMain*, const AnsiString& path) {
      editedPaths.push_back(path.c_str());
      std::ofstream(path.c_str(), std::ios::binary | std::ios::trunc)
          << (text.empty() ? std::string() : editortest::Utf16Le(text));
      return path;
    });
  }
  std::vector<std::string> editedPaths;
};

TEST(MediaTypes, PictureKindFromTheFirstBytesWithinTheirLength) {
  struct Case {
    std::string bytes;
    const char* kind;
  };
  const std::string jfif = std::string("\xFF\xD8\xFF\xE0\x00\x10", 6) + "JFIF" + std::string(118, '\0');
  const std::string jfifLower = std::string("\xFF\xD8\xFF\xE0\x00\x10", 6) + "jfif";
  const std::string exif = std::string("\xFF\xD8\xFF\xE1\x00\x10", 6) + "Exif" + std::string(118, '\0');
  const Case cases[] = {
      {"BM" + std::string(126, '\0'), "BMP"},
      {"GIF87a", "GIF"},
      {"gif89A", "GIF"},
      {jfif, "JPG"},
      {jfifLower, "JPG"},
      {exif, "Invalid"},
      {"GIF87", "Invalid"},
      {jfif.substr(0, 8), "Invalid"},
      {"", "Invalid"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bytes.substr(0, 10));
    EXPECT_EQ(GetImageType(reinterpret_cast<const uint8_t*>(c.bytes.data()), c.bytes.size()),
              AnsiString(c.kind));
  }
  EXPECT_EQ(GetImageType(nullptr, 0), AnsiString("Invalid"));
}

TEST_F(InsertCommands, PicturesOnRealFiles) {
  testsupport::TempDir files;
  const std::string bmp = ReadAll(Shared("pillow/bmp/g_rgb24.bmp"));
  const std::string jfif = ReadAll(Shared("pillow/jpeg/hopper.jpg"));
  struct Case {
    const char* what;
    std::string path;
    int result;
    const char16_t* box;  // null: no box
  };
  const std::vector<Case> cases = {
      {"JFIF", Shared("pillow/jpeg/hopper.jpg"), 0, nullptr},
      {"BMP", Shared("pillow/bmp/g_rgb24.bmp"), 0, nullptr},
      {"GIF", Shared("gif/static_nontransparent.gif"), 0, nullptr},
      {"animated GIF", Shared("gif/animated_loop.gif"), 0, nullptr},
      {"Exif", Shared("pillow/jpeg/exif-200dpcm.jpg"), -1, u"<STR_Main_Error_AddImgError2>"},
      {"GIF named .jpg", files.write("gif.jpg", ReadAll(Shared("gif/static_nontransparent.gif"))), -1,
       u"<STR_Main_Error_AddImgError2>"},
      {"PNG", Shared("png/basn2c08.png"), -1, u"<STR_Main_Error_AddImgError1>"},
      {"100 bytes of a BMP", files.write("short.bmp", bmp.substr(0, 100)), -1, nullptr},
      {"empty", files.write("empty.bmp", ""), -1, nullptr},
      {"JFIF head and junk", files.write("junk.jpg", jfif.substr(0, 20) + std::string(300, 'x')), -1,
       nullptr},
      {"missing", files.file("gone.jpg"), -25, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    main->Init();
    main->Mms()->Body->SetFrameDur(0, 3000);
    shown.clear();
    EXPECT_EQ(main->InsertPicture(c.path.c_str()), c.result);
    ASSERT_EQ(shown.size(), c.box ? 1u : 0u);
    if (c.box) {
      EXPECT_TRUE(shown[0].Says(c.box));
    }
    const TMediaItem* item = Item(0, TMediaItem::kImage);
    ASSERT_EQ(item != nullptr, c.result == 0);
    if (!item) continue;
    const std::string copy = app.path() + "/tmp/Image/" + c.path.substr(c.path.rfind('/') + 1);
    EXPECT_EQ(item->Path, copy);
    EXPECT_EQ(ReadAll(copy), ReadAll(c.path));
    EXPECT_EQ(item->Begin, 0);
    EXPECT_EQ(item->End, 3000);
    EXPECT_EQ(main->Mms()->GetRegionLeft("Img"), 4);
    EXPECT_EQ(main->Mms()->GetRegionTop("Img"), 0);
    EXPECT_EQ(main->Mms()->GetRegionWidth("Img"), 120);
    EXPECT_EQ(main->Mms()->GetRegionHeight("Img"), 120);
    // The working copy itself, given again, is refused and stays as it was.
    EXPECT_EQ(main->InsertPicture(copy.c_str()), -1);
    EXPECT_EQ(ReadAll(copy), ReadAll(c.path));
  }
}

// A bitmap class whose reading raises what the test asks for, registered for ".bmp" over the
// built-in one while the test runs.
class RaisingBitmap : public TBitmap {
 public:
  void LoadFromFile(const AnsiString&) override { raise(); }
  static inline std::function<void()> raise;
};

TEST_F(InsertCommands, APictureThatCannotBeReadIsRefusedAndAShortageGoesOn) {
  TPicture::RegisterFileFormat<RaisingBitmap>("bmp", "Bitmaps that raise", "RaisingBitmap");
  const platform::ScopeExit unregister([] { TPicture::UnregisterGraphicClass(&typeid(RaisingBitmap)); });
  const std::string bmp = Shared("pillow/bmp/g_rgb24.bmp");
  struct Case {
    const char* what;
    std::function<void()> raise;
    bool goesOn;  // reaches the caller (the application's handler) instead of a refusal
  };
  const Case cases[] = {
      {"not a picture", [] { throw EInvalidGraphic("Bitmap image is not valid"); }, false},
      {"unreadable", [] { throw EReadError("Stream read error"); }, false},
      {"out of memory", [] { throw EOutOfMemory("Out of memory"); }, true},
      {"allocation failed", [] { throw std::bad_alloc(); }, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    main->Init();
    shown.clear();
    RaisingBitmap::raise = c.raise;
    if (c.goesOn) {
      EXPECT_ANY_THROW(main->InsertPicture(bmp.c_str()));
    } else {
      EXPECT_EQ(main->InsertPicture(bmp.c_str()), -1);
    }
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(Item(0, TMediaItem::kImage), nullptr);
    EXPECT_FALSE(Exists(app.path() + "/tmp/Image/g_rgb24.bmp"));
  }
}

TEST_F(InsertCommands, SameNamedPicturesFromTwoFoldersStayApartAndTheSourceIsNeverEmptied) {
  testsupport::TempDir one, two;
  const std::string bmp = ReadAll(Shared("pillow/bmp/g_rgb24.bmp"));
  const std::string a = one.write("photo.bmp", bmp);
  std::string other = bmp;
  other[100] ^= 0x55;
  const std::string b = two.write("photo.bmp", other);
  Pages(2);
  main->Document().SetCurrentPage(0);
  ASSERT_EQ(main->InsertPicture(a.c_str()), 0);
  main->Document().SetCurrentPage(1);
  ASSERT_EQ(main->InsertPicture(b.c_str()), 0);
  EXPECT_EQ(ReadAll(ItemPath(0, TMediaItem::kImage)), bmp);
  EXPECT_EQ(ReadAll(ItemPath(1, TMediaItem::kImage)), other);
  EXPECT_EQ(ItemPath(1, TMediaItem::kImage), app.path() + "/tmp/Image/photo_1.bmp");
  // The same file again shares the copy it already has.
  ASSERT_EQ(main->InsertPicture(a.c_str()), 0);
  EXPECT_EQ(ItemPath(1, TMediaItem::kImage), ItemPath(0, TMediaItem::kImage));
  // The working copy reached through a link or a relative path is the copy itself: refused.
  const std::string copy = ItemPath(0, TMediaItem::kImage);
  testsupport::TempDir three;
  const std::string link = three.file("photo.bmp");
  ASSERT_EQ(symlink(copy.c_str(), link.c_str()), 0);
  EXPECT_EQ(main->InsertPicture(link.c_str()), -1);
  char cwd[4096];
  ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
  ASSERT_EQ(chdir((app.path() + "/tmp").c_str()), 0);
  EXPECT_EQ(main->InsertPicture("Image/photo.bmp"), -1);
  ASSERT_EQ(chdir(cwd), 0);
  EXPECT_EQ(ReadAll(copy), bmp);
}

TEST_F(InsertCommands, SoundsByExtension) {
  testsupport::TempDir files;
  const std::string sound = editortest::Noise(500, 9);
  struct Case {
    const char* name;
    std::string bytes;
    int result;
    const char16_t* box;
  };
  const std::vector<Case> cases = {
      {"a.wav", sound, 0, nullptr},
      {"b.WAV", sound, 0, nullptr},
      {"c.mid", sound, 0, nullptr},
      {"d.mp3", sound, 0, nullptr},
      {"e.Wav", sound, -1, u"<STR_Main_Text_Error>"},
      {"f.wav", "", -1, nullptr},
      // A dotted folder lends no extension to a name without one.
      {"sounds.wav/tone", sound, -1, u"<STR_Main_Text_Error>"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    main->Init();
    const std::string path = files.write(c.name, c.bytes);
    ChooseFile(path);
    shown.clear();
    EXPECT_EQ(main->InsertAudio(), c.result);
    ASSERT_GE(shown.size(), 1u);
    EXPECT_EQ(shown[0].kind, ModalInfo::Kind::OpenDialog);
    EXPECT_EQ(shown[0].title, u"<STR_Main_DialogTitle_Audio>");
    EXPECT_EQ(shown[0].filter, u"<STR_Main_DialogFilter_Audio>");
    ASSERT_EQ(shown.size(), c.box ? 2u : 1u);
    if (c.box) {
      EXPECT_TRUE(shown[1].Says(c.box));
    }
    EXPECT_EQ(Item(0, TMediaItem::kAudio) != nullptr, c.result == 0);
  }
  main->Init();
  ChooseFile("");
  EXPECT_EQ(main->InsertAudio(), 0);
  EXPECT_EQ(Item(0, TMediaItem::kAudio), nullptr);
}

TEST_F(InsertCommands, TextFileNamesAreNeverAnotherPagesFile) {
  TextEditorWrites(u"hello");
  Pages(3);
  main->Document().SetCurrentPage(0);
  EXPECT_EQ(main->InsertText(), 0);
  EXPECT_EQ(ItemPath(0, TMediaItem::kText), app.path() + "/tmp/TXT/txt0.txt");
  // The last page, whose default name is taken by a file an earlier page left: n + 100.
  AppFile("tmp/TXT/txt2.txt", "left over");
  main->Document().SetCurrentPage(2);
  EXPECT_EQ(main->InsertText(), 0);
  EXPECT_EQ(ItemPath(2, TMediaItem::kText), app.path() + "/tmp/TXT/txt102.txt");
  // Page 0 moved to index 1: page 1's default name would be page 0's file.
  main->Mms()->Body->MoveFrame(1, 0);
  main->Document().SetCurrentPage(0);
  EXPECT_EQ(main->InsertText(), 0);
  EXPECT_NE(ItemPath(0, TMediaItem::kText), ItemPath(1, TMediaItem::kText));
  EXPECT_EQ(ReadAll(ItemPath(1, TMediaItem::kText)), editortest::Utf16Le(u"hello"));
}

TEST_F(InsertCommands, ATextThatSaysNothingIsNoText) {
  for (const std::u16string& text : {std::u16string(), std::u16string()}) {
    (void)text;
  }
  struct Case {
    const char* what;
    std::string bytes;
  };
  const Case cases[] = {{"empty", ""}, {"mark only", "\xFF\xFE"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    main->Init();
    main->SetTextEditorRunner([&c](TfrmMain*, const AnsiString& path) {
      std::ofstream(path.c_str(), std::ios::binary | std::ios::trunc) << c.bytes;
      return path;
    });
    EXPECT_EQ(main->InsertText(), 0);
    EXPECT_EQ(Item(0, TMediaItem::kText), nullptr);
    EXPECT_FALSE(Exists(app.path() + "/tmp/TXT/txt0.txt"));
  }
}

TEST_F(InsertCommands, AnInsertionOverTheLimitGivesThePageBackWhatItHad) {
  testsupport::TempDir files;
  const std::string small = ReadAll(Shared("pillow/bmp/g_rgb24.bmp"));
  const std::string a = files.write("a.bmp", small);
  const std::string big = files.write("big.bmp", NoiseBmp(320, 11));
  Pages(2);
  main->Document().SetCurrentPage(0);
  ASSERT_EQ(main->InsertPicture(a.c_str()), 0);
  main->Mms()->Body->SetFrameDur(0, 2500);
  main->GetPduSize();
  const std::string size = Caption(main->Controls().Label_Size), time = Caption(main->Controls().Label_Time);
  ASSERT_EQ(time, "3.5");

  // Replacing picture A by one that is too large: A comes back, the labels show their texts.
  main->SetSelection(StripSelection::kPicture);
  ChooseFile(big);
  shown.clear();
  main->imgFrameListDblClick(nullptr);
  EXPECT_EQ(ItemPath(0, TMediaItem::kImage), app.path() + "/tmp/Image/a.bmp");
  EXPECT_EQ(Caption(main->Controls().Label_Size), size);
  EXPECT_EQ(Caption(main->Controls().Label_Time), "3.5");
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_TRUE(shown[1].Says(u"<SizeHint>"));
  // The refused picture's copy does not stay behind in the working folder.
  EXPECT_FALSE(Exists(app.path() + "/tmp/Image/big.bmp"));
  // A page without a picture stays without one.
  main->Document().SetCurrentPage(1);
  main->imgFrameListDblClick(nullptr);
  EXPECT_EQ(Item(1, TMediaItem::kImage), nullptr);
  EXPECT_FALSE(Exists(app.path() + "/tmp/Image/big.bmp"));

  // The same for a sound, through the menu's route.
  const std::string sound = files.write("s.wav", editortest::Noise(200, 12));
  const std::string loud = files.write("loud.wav", editortest::Noise(310 * 1024, 13));
  main->Document().SetCurrentPage(0);
  ChooseFile(sound);
  main->actInsertAudioExecute(nullptr);
  ASSERT_NE(Item(0, TMediaItem::kAudio), nullptr);
  ChooseFile(loud);
  main->actInsertAudioExecute(nullptr);
  EXPECT_EQ(ItemPath(0, TMediaItem::kAudio), app.path() + "/tmp/Audio/s.wav");
  EXPECT_FALSE(Exists(app.path() + "/tmp/Audio/loud.wav"));
  EXPECT_TRUE(Exists(app.path() + "/tmp/Audio/s.wav"));

  // A text lengthened past the limit gets its old bytes back.
  TextEditorWrites(u"short");
  main->actInsertTextExecute(nullptr);
  const std::string textPath = ItemPath(0, TMediaItem::kText);
  ASSERT_EQ(ReadAll(textPath), editortest::Utf16Le(u"short"));
  ChooseFile("");
  main->GetPduSize();
  const std::string before = Caption(main->Controls().Label_Size);
  TextEditorWrites(std::u16string(320000, u'x'));
  main->SetSelection(StripSelection::kText);
  main->imgFrameListDblClick(nullptr);
  EXPECT_TRUE(ReadAll(textPath) == editortest::Utf16Le(u"short"));
  EXPECT_EQ(Caption(main->Controls().Label_Size), before);

  // A file the refused insertion found already copied for another page stays with that page.
  const std::string bigBytes = ReadAll(big);
  const std::string kept = Put(1, TMediaItem::kImage, "big.bmp", &bigBytes);
  main->Document().SetCurrentPage(0);
  main->SetSelection(StripSelection::kPicture);
  ChooseFile(big);
  main->imgFrameListDblClick(nullptr);
  EXPECT_EQ(ItemPath(0, TMediaItem::kImage), app.path() + "/tmp/Image/a.bmp");
  EXPECT_EQ(ReadAll(kept), bigBytes);
}

TEST_F(InsertCommands, NoPageToInsertIntoChangesNothing) {
  Pages(20);
  main->Document().SetCurrentPage(-1);
  TextEditorWrites(u"hello");
  EXPECT_EQ(main->InsertText(), 0);
  EXPECT_EQ(main->Mms()->Body->GetFrameCount(), 20);
  for (int i = 0; i < 20; ++i) EXPECT_EQ(Item(i, TMediaItem::kText), nullptr) << i;
  EXPECT_TRUE(editedPaths.empty());
}

}  // namespace

namespace {

// The main window after a picture, a text and a sound went into the first page, as a user sees it.
TEST_F(InsertCommands, TheWindowAfterAPictureATextAndASound) {
  testsupport::TempDir files;
  ASSERT_EQ(main->InsertPicture(Shared("pillow/jpeg/hopper.jpg").c_str()), 0);
  TextEditorWrites(u"Hello from the slide");
  ASSERT_EQ(main->InsertText(), 0);
  ChooseFile(files.write("s.wav", editortest::Noise(4000, 21)));
  ASSERT_EQ(main->InsertAudio(), 0);
  main->GetPduSize();
  main->RefreshFrameList();
  platform::headless::Driver().RunUntilIdle();
  EXPECT_EQ(Caption(main->Controls().Label_Size), "10");
  EXPECT_EQ(Caption(main->Controls().Label_Time), "1");
  std::filesystem::create_directories(MMS_SCREENSHOT_DIR);
  EXPECT_TRUE(platform::headless::Driver().SavePng(main->Handle(), MMS_SCREENSHOT_DIR "/main-inserted.png"));
}

}  // namespace
