// The slide view: finding the part a SMIL source names, turning the parts no slide references
// into attachments, and releasing the view.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "mms/MmsTrace.h"
#include "mms/SmilFileName.h"
#include "mms/SmilView.h"

namespace {

char* C(const char* text) { return const_cast<char*>(text); }

// Parts as the reader leaves them, identified by location, name and Content-ID (nullptr: none).
struct PartSet {
  explicit PartSet(std::vector<std::vector<const char*>> ids) : parts(ids.size()) {
    for (size_t i = 0; i < ids.size(); ++i) {
      parts[i] = tMMS_Part{};
      parts[i].ContentLocation = C(ids[i][0]);
      parts[i].Name = C(ids[i][1]);
      parts[i].ContentID = C(ids[i][2]);
      parts[i].ContentType = C(ids[i].size() > 3 ? ids[i][3] : nullptr);
      parts[i].Data = reinterpret_cast<unsigned char*>(C("data"));
      parts[i].Len = static_cast<int>(i) + 1;
      if (i > 0) parts[i - 1].Next = &parts[i];
    }
  }
  tMMS_Part* First() { return &parts[0]; }
  int IndexOf(const tMMS_Part* part) const { return part ? static_cast<int>(part - parts.data()) : -1; }
  std::vector<tMMS_Part> parts;
};

class SmilViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    MmsSetTrace(false);
    SmilInitViewStruct();
  }
  void TearDown() override {
    SmilFreeViewStruct();
    SmilSetParts(nullptr);
    MmsUseTraceSetting();
  }
};

TEST_F(SmilViewTest, FindsThePartASourceNames) {
  PartSet set({{"Image0.jpg", nullptr, "img"},
               {nullptr, nullptr, "pic1"},
               {"photo.jpg", nullptr, "pic2"},
               {nullptr, "named.txt", nullptr},
               {"cid:pic1-twin", nullptr, "pic3"}});
  struct Case {
    const char* src;
    int part;
  } cases[] = {
      {"IMAGE0.JPG", 0},  // locations compare ignoring case
      {"img", 0},         // a located part's Content-ID counts only when no rule finds a part
      {"cid:pic1", 1},    // a part known only by its Content-ID
      {"PIC1", 1},          {"cid:pic2", 2},   // phones' cid: references to parts that also carry a location
      {"cid:<pic2>", 2},    {"named.txt", 3},  // a Name stands in for a missing location
      {"cid:pic1-twin", 4},                    // a location that looks like a cid: wins by the first rule
      {"missing.gif", -1},  {"", -1},
  };
  // Once over a list of its own, once over the parts the parser keeps (looked up by index).
  for (tMMS_Part* viewParts : {static_cast<tMMS_Part*>(nullptr), set.First()}) {
    SmilSetParts(viewParts);
    for (const Case& c : cases) {
      for (tMMS_Part& p : set.parts) p.IsSmil = 0;
      const tMMS_Part* found = SmilFindPart(set.First(), c.src);
      EXPECT_EQ(set.IndexOf(found), c.part) << c.src << (viewParts ? " (indexed)" : "");
      if (found) {
        EXPECT_EQ(found->IsSmil, 1) << c.src;
      }
    }
  }
}

TEST(SmilSafeFileName, KeepsABaseNameThatIsSafeToWrite) {
  const std::string longStem(400, 'n');
  struct Case {
    std::string name;
    std::string safe;
  } cases[] = {
      {"/srv/upload/php0nDmnY", "php0nDmnY"},
      {"..\\..\\x.jpg", "x.jpg"},
      {"a/b/../c.gif", "c.gif"},
      {"", "part"},
      {"..", "part"},
      {"dir/", "part"},
      {".hidden.txt", "hidden.txt"},
      {"x..jpg", "x.jpg"},
      {"tab\there\x7F.txt", "tabhere.txt"},
      {"b\xE4r.gif", "b\xC3\xA4r.gif"},                    // Latin-1 from a sender, in UTF-8
      {"\xC3\xA9t\xC3\xA9.jpg", "\xC3\xA9t\xC3\xA9.jpg"},  // UTF-8 as it is
      {longStem + ".jpg", std::string(251, 'n') + ".jpg"},
      {longStem, std::string(255, 'n')},
  };
  for (const Case& c : cases) EXPECT_EQ(SmilSafeFileName(c.name), c.safe) << c.name;
  // A long name of two-byte letters is cut between letters.
  std::string letters;
  for (int i = 0; i < 200; ++i) letters += "\xC3\xA4";
  std::string safe = SmilSafeFileName(letters + ".txt");
  EXPECT_LE(safe.size(), 255u);
  EXPECT_EQ(safe.substr(safe.size() - 4), ".txt");
  EXPECT_EQ(safe, letters.substr(0, 250) + ".txt");
}

TEST_F(SmilViewTest, UnreferencedPartsBecomeAttachmentsNamedByWhatTheyHave) {
  PartSet set({{"loc.jpg", "name.jpg", "id1", "image/jpeg"},
               {nullptr, "name.txt", "id2", "text/plain"},
               {nullptr, nullptr, "id3", nullptr},
               {nullptr, nullptr, nullptr, "audio/amr"},
               {"used.gif", nullptr, nullptr, "image/gif"}});
  set.parts[4].IsSmil = 1;
  EXPECT_EQ(SmilParserNoSmilMMS(set.First()), 1);
  std::vector<const tSMIL_Attachment*> attachments;
  for (const tSMIL_Attachment* a = SmilGetView().Attachments; a; a = a->Next) attachments.push_back(a);
  ASSERT_EQ(attachments.size(), 4u);
  const char* names[] = {"loc.jpg", "name.txt", "id3", "unKnown"};
  EXPECT_EQ(attachments[0]->FileName, "loc.jpg");
  const char* types[] = {"image/jpeg", "text/plain", "", "audio/amr"};
  for (size_t i = 0; i < attachments.size(); ++i) {
    EXPECT_EQ(attachments[i]->Name, names[i]);
    EXPECT_EQ(attachments[i]->Type, types[i]);
    EXPECT_EQ(attachments[i]->Data, set.parts[i].Data);
    EXPECT_EQ(attachments[i]->Size, set.parts[i].Len);
    EXPECT_EQ(attachments[i]->Prev, i ? attachments[i - 1] : nullptr);
  }
}

TEST_F(SmilViewTest, TextPartsInTheirCharsets) {
  std::string utf8 = "\xEF\xBB\xBF\xD0\x9F\xD1\x80\xD0\xB8";  // a byte-order mark, then Cyrillic
  std::string ucs2("\x04\x1F\x04\x40", 4);
  std::string ascii = "plain";
  PartSet set({{"u.txt", nullptr, nullptr},
               {"w.txt", nullptr, nullptr},
               {"p.txt", nullptr, nullptr},
               {"empty.txt", nullptr, nullptr}});
  set.parts[0].Data = reinterpret_cast<unsigned char*>(utf8.data());
  set.parts[0].Len = static_cast<int>(utf8.size());
  set.parts[0].HasCharset = 1;
  set.parts[0].Charset = 106;
  set.parts[1].Data = reinterpret_cast<unsigned char*>(ucs2.data());
  set.parts[1].Len = 4;
  set.parts[1].HasCharset = 1;
  set.parts[1].Charset = 1000;
  set.parts[2].Data = reinterpret_cast<unsigned char*>(ascii.data());
  set.parts[2].Len = 5;
  set.parts[3].Len = 0;
  SmilSetParts(set.First());
  struct Case {
    const char* src;
    std::u16string content;
  } cases[] = {{"u.txt", u"При"}, {"w.txt", u"Пр"}, {"p.txt", u"plain"}, {"empty.txt", u""}};
  for (const Case& c : cases) {
    tSMIL_Text text;
    text.Content = u"stale";
    EXPECT_EQ(SmilSetTextSrc(&text, c.src), 1) << c.src;
    EXPECT_EQ(text.Content, c.content) << c.src;
  }
  tSMIL_Text text;
  EXPECT_EQ(SmilSetTextSrc(&text, "none.txt"), 0);
}

TEST_F(SmilViewTest, RegionPositionsComeFromTheNewestRegionOfTheId) {
  for (int i = 0; i < 2; ++i) {
    auto* region = new tSMIL_Region;
    region->Id = "Image";
    region->Left = 10 * i;
    region->Top = 1;
    region->Width = 2;
    region->Height = 3;
    SmilAddRegion(region);
  }
  tSMIL_Position position{7, 7, 7, 7};
  EXPECT_EQ(SmilGetRegionPosition(&position, ""), 0);
  EXPECT_EQ(position.X, 7);
  EXPECT_EQ(SmilGetRegionPosition(&position, "Image"), 1);
  EXPECT_EQ(position.X, 10);
  EXPECT_EQ(position.Height, 3);
  EXPECT_EQ(SmilGetRegionPosition(&position, "image"), 0);  // ids compare exactly
  EXPECT_EQ(position.X, 0);
  EXPECT_EQ(position.Width, 0);
}

TEST_F(SmilViewTest, ItemsNeedASlideAndStackNewestFirst) {
  tSMIL_Img orphan;
  EXPECT_EQ(SmilAddImg(&orphan), 0);  // no slide yet
  EXPECT_EQ(SmilAddPar(nullptr), 0);
  auto* par = new tSMIL_Par;
  ASSERT_EQ(SmilAddPar(par), 1);
  auto* first = new tSMIL_Img;
  auto* second = new tSMIL_Img;
  EXPECT_EQ(SmilAddImg(first), 1);
  EXPECT_EQ(SmilAddImg(second), 1);
  EXPECT_EQ(par->Images, second);
  EXPECT_EQ(second->Next, first);
  auto* next = new tSMIL_Par;
  SmilAddPar(next);
  EXPECT_EQ(SmilGetFirstPar(), par);
  EXPECT_EQ(par->Next, next);
  EXPECT_EQ(next->Prev, par);
  EXPECT_EQ(SmilGetView().CurPar, next);
}

TEST_F(SmilViewTest, FreeingTwiceIsHarmlessAndLeavesAnEmptyView) {
  SmilAddPar(new tSMIL_Par);
  SmilAddText(new tSMIL_Text);
  auto* attachment = new tSMIL_Attachment;
  attachment->Name = "x";
  SmilAddAttachment(attachment);
  SmilFreeViewStruct();
  SmilFreeViewStruct();
  EXPECT_EQ(SmilGetFirstPar(), nullptr);
  EXPECT_EQ(SmilGetView().Attachments, nullptr);
  EXPECT_EQ(SmilGetView().CurPar, nullptr);
}

}  // namespace
