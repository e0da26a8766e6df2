// Messages saved by phones and gateways (../shared/testdata/mms), checked against what an
// independent decoder sees in them (EXPECTED.md beside them): every one opens, with its SMIL
// slides as a phone shows them and its other parts as attachments.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "mms/MmsDecoder.h"
#include "mms/MmsTrace.h"
#include "mms/SmilParser.h"
#include "mms/SmilView.h"
#include "support/SharedData.h"

namespace {

struct ExpectedPart {
  std::string type;
  std::string name;  // the Name parameter, "" for none
  std::string id;    // the Content-ID without its angle brackets
  int size;
};

// A slide's items by the name of the part each shows ("" for none) and the text it shows.
struct ExpectedSlide {
  int dur;
  std::string image;
  std::string text;
  std::u16string content;
  std::string audio;
};

struct Message {
  const char* file;
  std::optional<std::u16string> subject;
  int smilSize;  // 0: no SMIL part
  std::vector<ExpectedPart> parts;
  std::vector<ExpectedSlide> slides;
  std::vector<std::string> attachments;
};

const Message kMessages[] = {
    {"27d0a048cd79555de05283a22372b0eb.mms",
     u"Angående art-tillhörighet",
     379,
     {{"image/vnd.wap.wbmp", "Rain.wbmp", "Rain.wbmp", 134}, {"text/plain", "mms.txt", "mms.txt", 19}},
     {{2000, "Rain.wbmp", "mms.txt", u"Jonatan är en gnu.", ""}},
     {}},
    {"SIMPLE.MMS", u"Simple message", 0, {{"text/plain", "", "3E03099E.txt", 58}}, {}, {"3E03099E.txt"}},
    {"SonyEricssonT310-R201.mms",
     std::nullopt,
     415,
     {{"image/gif", "Tony.gif", "Tony.gif", 2940},
      {"text/plain", "mms.txt", "mms.txt", 8},
      {"audio/midi", "OldhPhone.mid", "OldhPhone.mid", 5726}},
     {{2000, "Tony.gif", "mms.txt", u"Hej hopp", "OldhPhone.mid"}},
     {}},
    {"openwave.mms",
     u"rubrik",
     356,
     {{"text/plain", "", "text_0", 6}},
     {{30000, "", "text_0", u"rubrik", ""}},
     {}},
    {"projekt_exempel.mms",
     u"Hej",
     381,
     {{"text/plain", "mms.txt", "mms.txt", 18}, {"image/gif", "SonyhEr.gif", "SonyhEr.gif", 1891}},
     {{2000, "SonyhEr.gif", "mms.txt", u"Jonatan är en GNU", ""}},
     {}},
};

std::string Str(const char* text) { return text ? text : ""; }

// The decoded part whose bytes an item of the view shows (the view keeps its own copy of the
// bytes, so the part is found by content).
std::string PartShowing(const tMMS_Body& body, const unsigned char* data, int size) {
  for (const tMMS_Part* p = body.Parts; p; p = p->Next) {
    if (p->Len == size && std::equal(p->Data, p->Data + size, data))
      return p->Name ? p->Name : Str(p->ContentID);
  }
  return "(no part)";
}

TEST(RealMessages, OpenAsAnIndependentDecoderSeesThem) {
  MmsSetTrace(false);
  for (const Message& m : kMessages) {
    SCOPED_TRACE(m.file);
    std::vector<uint8_t> bytes =
        testsupport::ReadFileBytes(testsupport::SharedPath(std::string("testdata/mms/") + m.file));
    tMMS_RetrieveConf* pdu = MmsDecodeHeaders(bytes.data(), static_cast<int>(bytes.size()));
    ASSERT_TRUE(pdu);
    EXPECT_EQ(pdu->Subject, m.subject);
    ASSERT_GT(pdu->BodyLen, 0);

    tMMS_Body* body = MmsDecodeMultipart(pdu->Body.data(), pdu->BodyLen);
    ASSERT_TRUE(body);
    EXPECT_EQ(body->Smil ? body->Smil->Len : 0, m.smilSize);
    std::vector<const tMMS_Part*> parts;
    for (const tMMS_Part* p = body->Parts; p; p = p->Next) parts.push_back(p);
    ASSERT_EQ(parts.size(), m.parts.size());
    for (size_t i = 0; i < parts.size(); ++i) {
      EXPECT_EQ(Str(parts[i]->ContentType), m.parts[i].type) << i;
      EXPECT_EQ(Str(parts[i]->Name), m.parts[i].name) << i;
      EXPECT_EQ(Str(parts[i]->ContentID), m.parts[i].id) << i;
      EXPECT_EQ(parts[i]->Len, m.parts[i].size) << i;
    }

    ASSERT_EQ(MmsParseBody(pdu->Body.data(), pdu->BodyLen), 1);
    std::vector<const tSMIL_Par*> slides;
    for (const tSMIL_Par* p = SmilGetFirstPar(); p; p = p->Next) slides.push_back(p);
    ASSERT_EQ(slides.size(), m.slides.size());
    for (size_t i = 0; i < slides.size(); ++i) {
      const tSMIL_Par& par = *slides[i];
      const ExpectedSlide& want = m.slides[i];
      EXPECT_EQ(par.Dur, want.dur);
      auto shown = [&](const auto* item) {
        return item ? PartShowing(*body, item->Data, item->Size) : std::string();
      };
      EXPECT_EQ(shown(par.Images), want.image);
      EXPECT_EQ(shown(par.Audios), want.audio);
      ASSERT_EQ(par.Texts != nullptr, !want.text.empty());
      if (par.Texts) {
        EXPECT_EQ(par.Texts->Content, want.content);
      }
    }
    std::vector<std::string> attachments;
    for (const tSMIL_Attachment* a = SmilGetView().Attachments; a; a = a->Next)
      attachments.push_back(a->Name);
    EXPECT_EQ(attachments, m.attachments);

    MmsFreeParsedBody();
    MmsFreeDecodedBody(body);
    MmsPduFree(pdu, MMS_PDU_RETRIEVE_CONF);
  }
  MmsUseTraceSetting();
}

}  // namespace
