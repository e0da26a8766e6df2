// The SMIL parser and MmsParseBody: slides from a message's SMIL, attachments from the rest, and
// the SMIL that phones and other senders write.
#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>
#include <vector>

#include "mms/MmsDecoder.h"
#include "mms/MmsTrace.h"
#include "mms/SmilParser.h"
#include "mms/SmilTag.h"
#include "mms/SmilView.h"
#include "tests/mms/MessageBytes.h"

namespace {

using mmstest::Bytes;
using mmstest::ContentId;
using mmstest::ContentLocation;
using mmstest::EditorMessage;
using mmstest::MessageBytes;
using mmstest::NamedType;
using mmstest::RelatedHeader;

class SmilParserTest : public ::testing::Test {
 protected:
  void SetUp() override { MmsSetTrace(false); }
  void TearDown() override {
    MmsFreeParsedBody();
    MmsUseTraceSetting();
  }
};

struct Media {
  std::string name;  // the part's location
  std::string type;
  std::string data;
};

// A message of a SMIL presentation and parts located by name.
MessageBytes SmilMessage(const std::string& smil, const std::vector<Media>& parts) {
  MessageBytes m = RelatedHeader(static_cast<uint32_t>(parts.size() + 1));
  m.Entry(MessageBytes().Text("application/smil"), ContentId("<AAAA>"), smil);
  for (const Media& p : parts) m.Entry(MessageBytes().Text(p.type), ContentLocation(p.name), p.data);
  return m;
}

int Parse(const MessageBytes& m) { return MmsParseBody(m.v.data(), static_cast<int>(m.v.size())); }

std::vector<const tSMIL_Par*> Slides() {
  std::vector<const tSMIL_Par*> slides;
  for (const tSMIL_Par* p = SmilGetFirstPar(); p; p = p->Next) slides.push_back(p);
  return slides;
}

std::vector<std::string> AttachmentNames() {
  std::vector<std::string> names;
  for (const tSMIL_Attachment* a = SmilGetView().Attachments; a; a = a->Next) names.push_back(a->Name);
  return names;
}

const std::vector<Media> kThreeParts = {
    {"a.jpg", "image/jpeg", "JPEG"}, {"t.txt", "text/plain", "words"}, {"s.amr", "audio/amr", "AMR"}};

TEST(SmilParseTime, ReadsTimecountsAndClockValues) {
  struct Case {
    const char* value;
    int ms;
  } cases[] = {
      {"5s", 5000},
      {"5Ms", 5000},
      {"800", 800},
      {"5000ms", 5000},
      {"5000MS", 5000},
      {"1.5s", 1500},
      {"0.25s", 250},
      {"00:00:05", 5000},
      {"0:05.5", 5500},
      {"1:02:03", 3723000},
      {"2min", 120000},
      {"1h", 3600000},
      {" 7s ", 7000},
      {"240px", 240},
      {"indefinite", 0},
      {"-5s", 0},
      {"99999999999999999999s", INT_MAX},
      {"9999999h", INT_MAX},
      {"1:2:3:4", 0},
      {"5s:7", 5000},  // a ":" after the metric makes no clock value
      {"5000000000000:00:01", INT_MAX},
      {"99999999999999.5h", INT_MAX},
  };
  for (const Case& c : cases) EXPECT_EQ(SmilParseTime(c.value), c.ms) << c.value;
}

TEST(SmilParseColor, ReadsHexadecimalAndNames) {
  MmsSetTrace(false);
  struct Case {
    const char* text;
    uint32_t value;
  } cases[] = {
      {"#0000FF", 0x000000FF},
      {"#FF0000", 0x00FF0000},
      {"#ffffff", 0x00FFFFFF},
      {"#FF00FF00FF", 0xFF00FF00},  // at most 8 digits
      {"#12zz", 0x12},              // a character that is no digit ends the number
      {"#", 0xFFFFFFFF},
      {"RED", 0xFFFF0000},
      {"red", 0xFFFF0000},
      {"Navy", 0xFF000080},
      {"chartreuse", 0xFFFFFFFF},
  };
  for (const Case& c : cases) EXPECT_EQ(SmilParseColor(c.text), c.value) << c.text;
  MmsUseTraceSetting();
}

TEST(SmilParseTag, SplitsTagsAsPhonesWriteThem) {
  struct Case {
    const char* text;
    int kind;  // 0: no tag
    const char* name;
    std::vector<std::pair<std::string, std::string>> attrs;  // in the tag's order
  } cases[] = {
      {"<img src=\"a.jpg\"/>", SMIL_TAG_EMPTY, "img", {{"src", "a.jpg"}}},
      {"<par dur=\"5s\">", SMIL_TAG_OPEN, "par", {{"dur", "5s"}}},
      {"</ par >", SMIL_TAG_CLOSE, "par", {}},
      {"<par/>", SMIL_TAG_EMPTY, "par/", {}},
      {"<text\tsrc='t.txt'\tregion = \"Text\" />",
       SMIL_TAG_EMPTY,
       "text",
       {{"src", "t.txt"}, {"region", "Text"}}},
      {"<region\r\nid=\"\" fit=\"meet\">", SMIL_TAG_OPEN, "region", {{"id", ""}, {"fit", "meet"}}},
      {"<meta name=unquoted>", SMIL_TAG_OPEN, "meta", {}},
      {"<?xml version=\"1.0\"?>", 0, "", {}},
      {"<!-- a comment -->", 0, "", {}},
      {"<img src=\"a.jpg\"", 0, "", {}},
      {"plain", 0, "", {}},
  };
  for (const Case& c : cases) {
    std::unique_ptr<tSMIL_Tag> tag = SmilParseTag(c.text);
    if (c.kind == 0) {
      EXPECT_FALSE(tag) << c.text;
      continue;
    }
    ASSERT_TRUE(tag) << c.text;
    EXPECT_EQ(tag->Kind, c.kind) << c.text;
    EXPECT_EQ(tag->Name, c.name) << c.text;
    std::vector<std::pair<std::string, std::string>> attrs;
    for (const tSMIL_Attr* a = tag->Attrs; a; a = a->Next) attrs.insert(attrs.begin(), {a->Name, a->Value});
    EXPECT_EQ(attrs, c.attrs) << c.text;
  }
  EXPECT_EQ(SmilTagId("ROOT-LAYOUT"), SMIL_ID_ROOT_LAYOUT);
  EXPECT_EQ(SmilTagId("par/"), SMIL_TAG_UNKNOWN);
}

TEST(SmilSetInput, RefusesTextWithANul) {
  EXPECT_EQ(SmilSetInput("<smil>", 6), 1);
  EXPECT_EQ(SmilSetInput("<sm\0il>", 7), 0);
  char ch;
  EXPECT_EQ(SmilReadChar(&ch), 0);
  EXPECT_EQ(SmilSetInput(nullptr, 3), 0);
}

// A message as the editor writes it reads back as the slide it was made from.
TEST_F(SmilParserTest, OurOwnMessageReadsBackAsItsSlide) {
  std::string jpeg = std::string("\xFF\xD8\xFF\xE0", 4) + std::string(1230, 'j');
  MessageBytes m = EditorMessage("Hello\r\n", jpeg);
  tMMS_RetrieveConf* pdu = MmsDecodeHeaders(m.v.data(), static_cast<int>(m.v.size()));
  ASSERT_TRUE(pdu);
  ASSERT_EQ(MmsParseBody(pdu->Body.data(), pdu->BodyLen), 1);
  // The view keeps its own bytes: the decoded headers may go (as the editor frees them).
  MmsPduFree(pdu, MMS_PDU_RETRIEVE_CONF);
  const tSMIL_ViewStruct& view = SmilGetView();
  EXPECT_EQ(view.Width, 176);
  EXPECT_EQ(view.Height, 220);
  std::vector<const tSMIL_Par*> slides = Slides();
  ASSERT_EQ(slides.size(), 1u);
  EXPECT_EQ(slides[0]->Dur, 5000);
  const tSMIL_Img* img = slides[0]->Images;
  ASSERT_TRUE(img);
  EXPECT_EQ(img->Next, nullptr);
  EXPECT_EQ(Bytes(img->Data, img->Size), jpeg);
  EXPECT_EQ(img->Type, "image/jpeg");
  EXPECT_EQ(img->Begin, 0);
  EXPECT_EQ(img->End, 5000);
  EXPECT_EQ(img->Position.X, 0);
  EXPECT_EQ(img->Position.Y, 0);
  EXPECT_EQ(img->Position.Width, 160);
  EXPECT_EQ(img->Position.Height, 170);
  const tSMIL_Text* text = slides[0]->Texts;
  ASSERT_TRUE(text);
  EXPECT_EQ(text->Content, u"Hello\r\n");
  EXPECT_EQ(text->Position.Y, 170);
  EXPECT_EQ(text->Position.Height, 30);
  EXPECT_EQ(view.Attachments, nullptr);
}

TEST_F(SmilParserTest, AByteOrderMarkIsNoPartOfTheText) {
  ASSERT_EQ(Parse(EditorMessage("\xEF\xBB\xBFHej")), 1);
  ASSERT_TRUE(SmilGetFirstPar());
  EXPECT_EQ(SmilGetFirstPar()->Texts->Content, u"Hej");
}

TEST_F(SmilParserTest, ItemsTimesRegionsAndColours) {
  std::string smil =
      "<smil><head><layout><root-layout width='100' height='200' background-color='Blue'/>"
      "<region id=\"Image\" left=\"5\" top=\"6\" width=\"50%\" height=\"70px\"/></layout></head><body>"
      "<par dur=\"8s\"><param name=\"background-color\" value=\"red\"/>"
      "<img src=\"a.jpg\" region=\"Image\" begin=\"1s\" end=\"3s\"/>"
      "<img src=\"a.jpg\" region=\"Nowhere\"/>"
      "<video src=\"a.jpg\" region=\"Image\" begin=\"500\"/>"
      "<audio src=\"s.amr\" begin=\"0:01\" end=\"2.5s\"></audio>"
      "<text src=\"t.txt\" region=\"Image\"><param name=\"foreground-color\" value=\"#0000FF\"/></text>"
      "</par><par><text src=\"t.txt\"/></par></body></smil>";
  ASSERT_EQ(Parse(SmilMessage(smil, kThreeParts)), 1);
  const tSMIL_ViewStruct& view = SmilGetView();
  EXPECT_EQ(view.Width, 100);
  EXPECT_EQ(view.HasBgColor, 1);
  EXPECT_EQ(view.bgColor, 0xFF0000FFu);
  std::vector<const tSMIL_Par*> slides = Slides();
  ASSERT_EQ(slides.size(), 2u);
  const tSMIL_Par& par = *slides[0];
  EXPECT_EQ(par.Dur, 8000);
  EXPECT_EQ(par.HasBgColor, 1);
  EXPECT_EQ(par.bgColor, 0xFFFF0000u);
  EXPECT_EQ(par.HasForeColor, 1);
  EXPECT_EQ(par.foreColor, 0x000000FFu);
  // Newest first: the second img heads the list; its unknown region gives a zero position.
  ASSERT_TRUE(par.Images && par.Images->Next);
  EXPECT_EQ(par.Images->Position.X, 0);
  EXPECT_EQ(par.Images->Position.Width, 0);
  const tSMIL_Img& first = *par.Images->Next;
  EXPECT_EQ(first.Begin, 1000);
  EXPECT_EQ(first.End, 3000);
  EXPECT_EQ(first.Position.X, 5);
  EXPECT_EQ(first.Position.Y, 6);
  EXPECT_EQ(first.Position.Width, 50);
  EXPECT_EQ(first.Position.Height, 70);
  ASSERT_TRUE(par.Videos);
  EXPECT_EQ(par.Videos->Begin, 500);
  ASSERT_TRUE(par.Audios);
  EXPECT_EQ(par.Audios->Begin, 1000);
  EXPECT_EQ(par.Audios->End, 2500);
  EXPECT_EQ(Bytes(par.Audios->Data, par.Audios->Size), "AMR");
  ASSERT_TRUE(par.Texts);
  EXPECT_EQ(par.Texts->Content, u"words");
  // A par without dur keeps 0; the editor's open gives it a duration.
  EXPECT_EQ(slides[1]->Dur, 0);
  EXPECT_EQ(view.Attachments, nullptr);
}

// What each slide of the view shows, in document order: "img:a.jpg", "text:words", "audio:AMR",
// "video:..." (media by their bytes), and the slide's duration.
struct SlideSummary {
  int dur;
  std::vector<std::string> items;
  bool operator==(const SlideSummary&) const = default;
};

void PrintTo(const SlideSummary& s, std::ostream* os) {
  *os << s.dur << "ms " << ::testing::PrintToString(s.items);
}

template <typename T>
void AddMedia(const char* kind, const T* newestFirst, std::vector<std::string>& items) {
  std::vector<std::string> mine;
  for (const T* m = newestFirst; m; m = m->Next) mine.insert(mine.begin(), kind + Bytes(m->Data, m->Size));
  items.insert(items.end(), mine.begin(), mine.end());
}

std::vector<SlideSummary> Summary() {
  std::vector<SlideSummary> out;
  for (const tSMIL_Par* p : Slides()) {
    SlideSummary s{p->Dur, {}};
    AddMedia("img:", p->Images, s.items);
    AddMedia("video:", p->Videos, s.items);
    AddMedia("audio:", p->Audios, s.items);
    std::vector<std::string> texts;
    for (const tSMIL_Text* t = p->Texts; t; t = t->Next) {
      std::string text;
      for (char16_t ch : t->Content) text += static_cast<char>(ch);
      texts.insert(texts.begin(), "text:" + text);
    }
    s.items.insert(s.items.end(), texts.begin(), texts.end());
    out.push_back(s);
  }
  return out;
}

// The body of a presentation is a sequence: media directly under it are slides of their own, and a
// src that names no part costs its own item only.
TEST_F(SmilParserTest, BodiesAsSendersWriteThem) {
  struct Case {
    const char* what;
    std::string body;
    std::vector<SlideSummary> slides;
    std::vector<std::string> attachments;
  } cases[] = {
      {"one text directly under the body",
       "<text src=\"t.txt\" region=\"Text\"/>",
       {{1000, {"text:words"}}},
       {"a.jpg", "s.amr"}},
      {"a picture then a text: two slides",
       "<img src=\"a.jpg\" dur=\"4s\"/><text src=\"t.txt\"></text>",
       {{4000, {"img:JPEG"}}, {1000, {"text:words"}}},
       {"s.amr"}},
      {"a par and a bare item mixed",
       "<par dur=\"2s\"><img src=\"a.jpg\"/><text src=\"t.txt\"/></par><audio src=\"s.amr\"/>",
       {{2000, {"img:JPEG", "text:words"}}, {1000, {"audio:AMR"}}},
       {}},
      {"a missing part beside a text: the slide keeps the text",
       "<par dur=\"1s\"><text src=\"t.txt\"/><img src=\"missing.jpg\"/></par>",
       {{1000, {"text:words"}}},
       {"a.jpg", "s.amr"}},
      {"a slide whose only item is missing is dropped",
       "<par dur=\"1s\"><img src=\"missing.jpg\"/></par><par dur=\"3s\"><audio src=\"s.amr\"/></par>",
       {{3000, {"audio:AMR"}}},
       {"a.jpg", "t.txt"}},
      {"a bare item naming a missing part makes no slide",
       "<img src=\"gone.jpg\"/><text src=\"t.txt\"/>",
       {{1000, {"text:words"}}},
       {"a.jpg", "s.amr"}},
      {"a par that never held an item stays",
       "<par dur=\"5s\"></par>",
       {{5000, {}}},
       {"a.jpg", "t.txt", "s.amr"}},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(Parse(SmilMessage("<smil><body>" + c.body + "</body></smil>", kThreeParts)), 1) << c.what;
    EXPECT_EQ(Summary(), c.slides) << c.what;
    EXPECT_EQ(AttachmentNames(), c.attachments) << c.what;
  }
}

// Region sizes in percent are shares of the root layout, and a root layout in percent a share of
// the page the editor makes (128 x 128).
TEST_F(SmilParserTest, PercentSizesResolveAgainstTheRootLayout) {
  struct Case {
    const char* what;
    std::string layout;
    int rootWidth, rootHeight;
    tSMIL_Position image;
  } cases[] = {
      {"a picture region of a 128 x 160 root",
       "<root-layout width=\"128\" height=\"160\"/>"
       "<region id=\"Image\" left=\"0\" top=\"50%\" width=\"100%\" height=\"50%\"/>",
       128,
       160,
       {0, 80, 128, 80}},
      {"a root layout in percent",
       "<root-layout width=\"100%\" height=\"50%\"/>"
       "<region id=\"Image\" left=\"25%\" top=\"0\" width=\"50%\" height=\"50%\"/>",
       128,
       64,
       {32, 0, 64, 32}},
      {"regions before the root layout",
       "<region id=\"Image\" left=\"10%\" top=\"10\" width=\"50%\" height=\"40px\"/>"
       "<root-layout width=\"200\" height=\"100\"/>",
       200,
       100,
       {20, 10, 100, 40}},
      {"no root layout at all",
       "<region id=\"Image\" width=\"50%\" height=\"100%\"/>",
       0,
       0,
       {0, 0, 64, 128}},
  };
  for (const Case& c : cases) {
    std::string smil = "<smil><head><layout>" + c.layout +
                       "</layout></head><body><par><img src=\"a.jpg\" region=\"Image\"/></par></body></smil>";
    ASSERT_EQ(Parse(SmilMessage(smil, kThreeParts)), 1) << c.what;
    EXPECT_EQ(SmilGetView().Width, c.rootWidth) << c.what;
    EXPECT_EQ(SmilGetView().Height, c.rootHeight) << c.what;
    ASSERT_TRUE(SmilGetFirstPar() && SmilGetFirstPar()->Images) << c.what;
    const tSMIL_Position& p = SmilGetFirstPar()->Images->Position;
    EXPECT_EQ((std::vector<int>{p.X, p.Y, p.Width, p.Height}),
              (std::vector<int>{c.image.X, c.image.Y, c.image.Width, c.image.Height}))
        << c.what;
  }
}

// A message cut short inside its picture still opens its slide with the text, and says that it
// lost an entry.
TEST_F(SmilParserTest, ACutMessageOpensWhatIsIntact) {
  MessageBytes whole = EditorMessage("Hello", std::string(40, 'j'));
  std::vector<uint8_t> cut(whole.v.begin(), whole.v.end() - 10);
  ASSERT_EQ(MmsParseBody(cut.data(), static_cast<int>(cut.size())), 1);
  const tMMS_Body* body = MmsGetParsedBody();
  ASSERT_TRUE(body);
  EXPECT_EQ(body->EntriesDeclared, 3);
  EXPECT_EQ(body->EntriesDecoded, 2);
  EXPECT_EQ(body->Incomplete, 1);
  EXPECT_EQ(Summary(), (std::vector<SlideSummary>{{5000, {"text:Hello"}}}));
  ASSERT_EQ(Parse(whole), 1);
  EXPECT_EQ(MmsGetParsedBody()->Incomplete, 0);
  MmsFreeParsedBody();
  EXPECT_EQ(MmsGetParsedBody(), nullptr);
}

// A phone's text directly under the body, named by its Content-ID.
TEST_F(SmilParserTest, ABareTextNamedByItsContentId) {
  MessageBytes m = RelatedHeader(2);
  m.Entry(MessageBytes().Text("application/smil"), ContentId("<AAAA>"),
          "<smil><head><layout><region id=\"Text\" top=\"10\" width=\"90\" height=\"20\"/></layout></head>"
          "<body><text src=\"cid:Generic_Text.txt\" region=\"Text\"/></body></smil>");
  m.Entry(MessageBytes{0x83}, ContentId("<Generic_Text.txt>"), "Hi there");
  ASSERT_EQ(Parse(m), 1);
  ASSERT_EQ(Summary(), (std::vector<SlideSummary>{{1000, {"text:Hi there"}}}));
  EXPECT_EQ(SmilGetFirstPar()->Texts->Position.Y, 10);
  EXPECT_EQ(SmilGetView().Attachments, nullptr);
}

TEST_F(SmilParserTest, SmilVariantsThatParse) {
  struct Case {
    const char* what;
    std::string smil;
    size_t slides;
    std::vector<std::string> attachments;
  } cases[] = {
      {"a head-only presentation",
       "<smil><head><layout><root-layout width=\"176\" height=\"208\"/></layout></head></smil>",
       0,
       {"a.jpg", "t.txt", "s.amr"}},
      {"declaration, comments and an empty par",
       "<?xml version=\"1.0\"?><!-- made by hand --><smil><body><par/><par dur=\"1s\"><img "
       "src=\"a.jpg\"/></par>"
       "</body></smil>",
       1,
       {"t.txt", "s.amr"}},
      {"an element without a source is left out",
       "<smil><body><par><img region=\"Image\"/><text src=\"\"/><audio src=\"s.amr\"/></par></body></smil>",
       1,
       {"a.jpg", "t.txt"}},
      {"a body inside the head",
       "<smil><head><body><par><text src=\"t.txt\"/></par></body></head></smil>",
       1,
       {"a.jpg", "s.amr"}},
      {"a comment holding \">\" is cut there",
       "<smil><!-- <par> --><body><par><img src=\"a.jpg\"/></par></body></smil>",
       1,
       {"t.txt", "s.amr"}},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(Parse(SmilMessage(c.smil, kThreeParts)), 1) << c.what;
    EXPECT_EQ(Slides().size(), c.slides) << c.what;
    EXPECT_EQ(AttachmentNames(), c.attachments) << c.what;
  }
  ASSERT_EQ(Parse(SmilMessage(cases[0].smil, kThreeParts)), 1);
  EXPECT_EQ(SmilGetView().Width, 176);
  EXPECT_EQ(SmilGetView().Height, 208);
}

TEST_F(SmilParserTest, SmilThatFailsLeavesOnlyAttachments) {
  const char* failing[] = {
      "<smil><body><par><img src=\"a.jpg\"/>",               // cut off inside a par
      "<smil><head><body><par><img src=\"a.jpg\"/></head>",  // a failing body in the head
      "<smil><body><par><img src=\"a.jpg\"/></par>",         // no end of the body
  };
  for (const char* smil : failing) {
    ASSERT_EQ(Parse(SmilMessage(smil, kThreeParts)), 1) << smil;
    EXPECT_TRUE(Slides().empty()) << smil;
    EXPECT_EQ(AttachmentNames(), (std::vector<std::string>{"a.jpg", "t.txt", "s.amr"})) << smil;
  }
}

// A SMIL that names one big text part over and over would multiply the message in memory; past a
// budget its parse fails and the message opens as attachments.
TEST_F(SmilParserTest, TextsRepeatedBeyondTheBudgetFailTheSmil) {
  std::string smil = "<smil><body>";
  for (int i = 0; i < 40; ++i) smil += "<par><text src=\"t.txt\"/></par>";
  smil += "</body></smil>";
  ASSERT_EQ(Parse(SmilMessage(smil, {{"t.txt", "text/plain", std::string(1 << 20, 'a')}})), 1);
  EXPECT_TRUE(Slides().empty());
  EXPECT_EQ(AttachmentNames(), (std::vector<std::string>{"t.txt"}));
  // Within the budget the same text may appear on several slides.
  smil = "<smil><body><par><text src=\"t.txt\"/></par><par><text src=\"t.txt\"/></par></body></smil>";
  ASSERT_EQ(Parse(SmilMessage(smil, {{"t.txt", "text/plain", std::string(1 << 20, 'a')}})), 1);
  EXPECT_EQ(Slides().size(), 2u);
}

// A gateway's upload path is shown as sent, and written under its base name only.
TEST_F(SmilParserTest, PartsNamedByPathsGetFileSafeNames) {
  std::string smil = "<smil><body><par><img src=\"/tmp/upload/php0nDmnY\"/></par></body></smil>";
  ASSERT_EQ(Parse(SmilMessage(smil, {{"/tmp/upload/php0nDmnY", "image/jpeg", "JPEG"},
                                     {"..\\..\\evil.txt", "text/plain", "x"}})),
            1);
  ASSERT_TRUE(SmilGetFirstPar() && SmilGetFirstPar()->Images);
  EXPECT_EQ(SmilGetFirstPar()->Images->FileName, "php0nDmnY");
  const tSMIL_Attachment* a = SmilGetView().Attachments;
  ASSERT_TRUE(a);
  EXPECT_EQ(a->Name, "..\\..\\evil.txt");
  EXPECT_EQ(a->FileName, "evil.txt");
}

TEST_F(SmilParserTest, WithoutASmilPartEveryPartIsAnAttachment) {
  MessageBytes m = RelatedHeader(2);
  m.Entry(NamedType({0x83}, "note.txt"), {}, "note");
  m.Entry(MessageBytes{0x9D}, {}, "GIF8");
  ASSERT_EQ(Parse(m), 1);
  EXPECT_TRUE(Slides().empty());
  EXPECT_EQ(AttachmentNames(), (std::vector<std::string>{"note.txt", "unKnown"}));
}

TEST_F(SmilParserTest, ABodyThatDoesNotDecodeOpensNothing) {
  ASSERT_EQ(Parse(EditorMessage()), 1);
  MessageBytes broken{0x84, 0x83};
  EXPECT_EQ(Parse(broken), 0);
  EXPECT_EQ(SmilGetFirstPar(), nullptr);
  EXPECT_EQ(SmilGetView().Attachments, nullptr);
  EXPECT_EQ(MmsParseBody(nullptr, 5), 0);
}

// Opening one message after another releases the previous one; the view never points into bytes
// the caller has freed (the sanitizer build would report it).
TEST_F(SmilParserTest, TheViewOutlivesTheCallersBytes) {
  for (int i = 0; i < 3; ++i) {
    auto bytes = std::make_unique<std::vector<uint8_t>>(EditorMessage("text " + std::to_string(i)).v);
    ASSERT_EQ(MmsParseBody(bytes->data(), static_cast<int>(bytes->size())), 1);
    bytes.reset();
    ASSERT_TRUE(SmilGetFirstPar());
    const tSMIL_Img* img = SmilGetFirstPar()->Images;
    ASSERT_TRUE(img);
    EXPECT_EQ(Bytes(img->Data, 4), std::string("\xFF\xD8\xFF\xE0", 4));
  }
  MmsFreeParsedBody();
  MmsFreeParsedBody();
  EXPECT_EQ(SmilGetFirstPar(), nullptr);
}

}  // namespace
