// The message file reader: header fields, content types, multipart entries, and bytes that are
// cut off or damaged.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>

#include "mms/MmsContentTypes.h"
#include "mms/MmsDecoder.h"
#include "mms/MmsEncoder.h"
#include "mms/MmsTrace.h"
#include "tests/mms/MessageBytes.h"

namespace {

using mmstest::Bytes;
using mmstest::ContentId;
using mmstest::ContentLocation;
using mmstest::EditorMessage;
using mmstest::MessageBytes;
using mmstest::NamedType;
using mmstest::RelatedHeader;

struct PduDeleter {
  void operator()(tMMS_RetrieveConf* record) const { MmsPduFree(record, MMS_PDU_RETRIEVE_CONF); }
};
using Pdu = std::unique_ptr<tMMS_RetrieveConf, PduDeleter>;
struct BodyDeleter {
  void operator()(tMMS_Body* body) const { MmsFreeDecodedBody(body); }
};
using Body = std::unique_ptr<tMMS_Body, BodyDeleter>;

Pdu DecodeHeaders(const MessageBytes& m) {
  return Pdu(MmsDecodeHeaders(m.v.data(), static_cast<int>(m.v.size())));
}
Body DecodeMultipart(const std::vector<uint8_t>& bytes) {
  return Body(MmsDecodeMultipart(bytes.data(), static_cast<int>(bytes.size())));
}

std::vector<const tMMS_Part*> Parts(const tMMS_Body& body) {
  std::vector<const tMMS_Part*> parts;
  for (const tMMS_Part* p = body.Parts; p; p = p->Next) parts.push_back(p);
  return parts;
}

class Quiet : public ::testing::Test {
 protected:
  void SetUp() override { MmsSetTrace(false); }
  void TearDown() override { MmsUseTraceSetting(); }
};

using MmsDecodeHeadersTest = Quiet;
using MmsDecodeMultipartTest = Quiet;

TEST_F(MmsDecodeHeadersTest, AFileOfOurOwnIsAllBody) {
  MessageBytes m = EditorMessage();
  Pdu pdu = DecodeHeaders(m);
  ASSERT_TRUE(pdu);
  EXPECT_EQ(pdu->Body, m.v);
  EXPECT_EQ(pdu->BodyLen, static_cast<int>(m.v.size()));
  EXPECT_FALSE(pdu->Subject);
}

TEST_F(MmsDecodeHeadersTest, ReadsTheFieldsOfAStoredMessage) {
  MessageBytes m{0x8C, 0x84, 0x98};
  m.Text("T-1").Add({0x8D, 0x90, 0x85, 0x04, 0x40, 0xB0, 0xB1, 0xE2, 0x89, 0x01, 0x81, 0x97});
  m.Text("+123/TYPE=PLMN").Add({0x82}).Text("anna@example.org").Add({0x8B}).Text("mid-7");
  m.Add({0x96, 0x0A, 0xEA})
      .Text(
          "Gr\xC3\xBC\xC3\x9F"
          "e!")
      .Add({0x86, 0x80, 0x90, 0x81, 0x8A, 0x80, 0x8F, 0x82});
  m.Add({0x84, 0xB3, 0x00});
  Pdu pdu = DecodeHeaders(m);
  ASSERT_TRUE(pdu);
  EXPECT_EQ(pdu->TransactionID, "T-1");
  EXPECT_EQ(pdu->Date, 0x40B0B1E2);
  EXPECT_EQ(pdu->From, "");
  EXPECT_EQ(pdu->To, "+123");
  EXPECT_EQ(pdu->Cc, "anna@example.org");
  EXPECT_EQ(pdu->MessageID, "mid-7");
  ASSERT_TRUE(pdu->Subject);
  EXPECT_EQ(*pdu->Subject, u"Grüße!");
  EXPECT_EQ(pdu->DeliveryReport, 1);
  EXPECT_EQ(pdu->ReadReply, 0);
  EXPECT_EQ(pdu->MessageClass, 0x80);
  EXPECT_EQ(pdu->Priority, 0x82);
  EXPECT_EQ(pdu->BodyLen, 3);
}

TEST_F(MmsDecodeHeadersTest, MessageTypesWithABodyAreAccepted) {
  struct Case {
    int type;
    bool accepted;
  } cases[] = {{0x80, true}, {0x84, true}, {0x82, false}, {0x86, false}};
  for (const Case& c : cases) {
    MessageBytes m{0x8C, c.type, 0x84, 0xB3};
    EXPECT_EQ(DecodeHeaders(m) != nullptr, c.accepted) << std::hex << c.type;
    // So that a caller can say why a notification opens no message.
    EXPECT_EQ(MmsMessageType(m.v.data(), static_cast<int>(m.v.size())), c.type);
  }
  EXPECT_EQ(MmsMessageType(EditorMessage().v.data(), 4), 0);
}

TEST_F(MmsDecodeHeadersTest, EveryRecipientIsKeptInOrder) {
  MessageBytes from{0x80};
  from.Text("J\xF6rg@example.org");
  MessageBytes m{0x8C, 0x84};
  m.Add({0x97}).Text("+4611/TYPE=PLMN").Add({0x82}).Text("cc@example.org");
  m.Add({0x97}).Text("anna@example.org").Add({0x81}).Text("+4633/TYPE=PLMN");
  m.Add({0x89}).Valued(from).Add({0x84, 0xB3});
  Pdu pdu = DecodeHeaders(m);
  ASSERT_TRUE(pdu);
  EXPECT_EQ(pdu->ToList, (std::vector<std::string>{"+4611", "anna@example.org"}));
  EXPECT_EQ(pdu->To, "+4611; anna@example.org");
  EXPECT_EQ(pdu->CcList, (std::vector<std::string>{"cc@example.org"}));
  EXPECT_EQ(pdu->Cc, "cc@example.org");
  EXPECT_EQ(pdu->BccList, (std::vector<std::string>{"+4633"}));
  EXPECT_EQ(pdu->Bcc, "+4633");
  // The sender's Latin-1 letter, in UTF-8 like every address.
  EXPECT_EQ(pdu->From, "J\xC3\xB6rg@example.org");
}

TEST_F(MmsDecodeHeadersTest, FieldsItHasNoUseForAreSteppedOverByTheirShape) {
  MessageBytes m{0x8C, 0x80};
  m.Add({0x94, 0x81});                     // Sender-Visibility: a short integer
  m.Add({0x99, 0x80});                     // Retrieve-Status
  m.Add({0x9A, 0x06, 0xEA}).Text("okay");  // Retrieve-Text: a Value-length form
  m.Add({0x88, 0x1F, 0x22, 0x80}).Add(MessageBytes().Raw(std::string(33, 'x')));  // long form
  m.Add({0xBB}).Text("text value");                                               // a text value
  m.Raw("X-Mms-Own").Add({0}).Text("whatever");                                   // an application header
  m.Add({0x96}).Text("Subject");
  m.Add({0x84, 0xB3, 0x01});
  Pdu pdu = DecodeHeaders(m);
  ASSERT_TRUE(pdu);
  EXPECT_EQ(*pdu->Subject, u"Subject");
  EXPECT_EQ(pdu->BodyLen, 3);
}

TEST_F(MmsDecodeHeadersTest, FromInTheLongFormIsReadWhole) {
  std::string sender = "a.rather.long.sender.name@mail.example.org";
  MessageBytes value{0x80};
  value.Text(sender);
  MessageBytes m{0x89};
  m.Valued(value).Add({0x96}).Text("after").Add({0x84, 0xB3});
  ASSERT_GT(value.v.size(), 30u);
  Pdu pdu = DecodeHeaders(m);
  ASSERT_TRUE(pdu);
  EXPECT_EQ(pdu->From, sender);
  EXPECT_EQ(*pdu->Subject, u"after");
}

TEST_F(MmsDecodeHeadersTest, SubjectsInEveryCharset) {
  struct Case {
    const char* what;
    MessageBytes value;
    std::optional<std::u16string> subject;
  } cases[] = {
      {"plain text", MessageBytes().Text("Hi"), u"Hi"},
      {"quoted text", MessageBytes{0x7F}.Text("Hi"), u"Hi"},
      {"UTF-8", MessageBytes{0x06, 0xEA}.Text("\xC3\xA5ok"), u"åok"},
      {"US-ASCII", MessageBytes{0x05, 0x83}.Text("abc"), u"abc"},
      {"UCS-2 as a long integer", MessageBytes{0x09, 0x02, 0x03, 0xE8, 0x04, 0x1F, 0x04, 0x40, 0x00, 0x00},
       u"\u041F\u0440"},
      {"UTF-16 with a little-endian mark", MessageBytes{0x08, 0x02, 0x03, 0xF7, 0xFF, 0xFE, 0x1F, 0x04, 0x00},
       u"\u041F"},
      {"ISO-8859-1", MessageBytes{0x04, 0x84}.Text("\xE5\xE4"), u"åä"},
      {"an unknown charset", MessageBytes{0x05, 0x02, 0x27, 0x0F}.Text("x"), std::nullopt},
      // Letters a phone sent in Latin-1 without saying so, or under a us-ascii label.
      {"8-bit text that is no UTF-8", MessageBytes().Text("pr\xE4sentiert"), u"präsentiert"},
      {"US-ASCII holding E4", MessageBytes().Valued(MessageBytes{0x83}.Text("pr\xE4sentiert")),
       u"präsentiert"},
      {"a byte-order mark before plain text", MessageBytes().Text("\xEF\xBB\xBFHej"), u"Hej"},
      {"a byte-order mark before 8-bit text", MessageBytes().Text("\xEF\xBB\xBFpr\xE4sentiert"),
       u"präsentiert"},
      {"a byte-order mark before UTF-8", MessageBytes().Valued(MessageBytes{0xEA}.Text("\xEF\xBB\xBFHej")),
       u"Hej"},
  };
  for (const Case& c : cases) {
    MessageBytes m{0x96};
    m.Add(c.value).Add({0x97}).Text("+1").Add({0x84, 0xB3});
    Pdu pdu = DecodeHeaders(m);
    ASSERT_TRUE(pdu) << c.what;
    EXPECT_EQ(pdu->Subject, c.subject) << c.what;
    EXPECT_EQ(pdu->To, "+1") << c.what << ": the field after the subject";
  }
}

TEST_F(MmsDecodeHeadersTest, DamagedHeadersGiveNone) {
  const MessageBytes cases[] = {
      {0x85, 0x09, 1, 2, 3, 4, 5, 6, 7, 8, 9, 0x84},     // a Long-integer of 9 bytes
      {0x85, 0x04, 1, 2},                                // a Long-integer cut off
      {0x96, 0x1F, 0x90, 0x80, 0x80, 0x80, 0x01, 0x84},  // a uintvar of 6 bytes
      {0x96, 0x1F, 0x90, 0x80, 0x80, 0x80, 0x00},        // a uintvar above 2^32-1
      {0x96, 0x10, 0xEA, 'a', 0},                        // a Value-length beyond the end
      {0x98, 't', 'x'},                                  // a text without its NUL
      {0x89, 0x05, 0x80, '+', '1'},                      // From longer than the bytes
      {0x8C},                                            // a one-byte field at the last byte
      {0x8C, 0x84, 0x05, 0x84},                          // a field byte below 32
  };
  for (const MessageBytes& m : cases) {
    EXPECT_FALSE(DecodeHeaders(m)) << ::testing::PrintToString(m.v);
  }
}

TEST_F(MmsDecodeHeadersTest, WithoutAContentTypeThereIsNoBody) {
  Pdu pdu = DecodeHeaders(MessageBytes{0x8C, 0x84, 0x96, 'S', 0});
  ASSERT_TRUE(pdu);
  EXPECT_TRUE(pdu->Body.empty());
  EXPECT_EQ(pdu->BodyLen, 0);
}

TEST_F(MmsDecodeMultipartTest, SplitsAFileOfOurOwn) {
  MessageBytes m = EditorMessage();
  Body body = DecodeMultipart(m.v);
  ASSERT_TRUE(body);
  ASSERT_TRUE(body->Smil);
  EXPECT_STREQ(body->Smil->ContentType, "application/smil");
  EXPECT_EQ(Bytes(reinterpret_cast<unsigned char*>(body->Smil->Data), body->Smil->Len), mmstest::kEditorSmil);
  std::vector<const tMMS_Part*> parts = Parts(*body);
  ASSERT_EQ(parts.size(), 2u);
  EXPECT_STREQ(parts[0]->ContentType, "text/plain");
  EXPECT_EQ(parts[0]->HasCharset, 1);
  EXPECT_EQ(parts[0]->Charset, 106);
  EXPECT_STREQ(parts[0]->ContentID, "text0.txt");
  EXPECT_STREQ(parts[0]->ContentLocation, "text0.txt");
  EXPECT_STREQ(parts[0]->Name, "text0.txt");
  EXPECT_EQ(Bytes(parts[0]->Data, parts[0]->Len), "Hello\r\n");
  EXPECT_STREQ(parts[1]->ContentType, "image/jpeg");
  EXPECT_EQ(parts[1]->HasCharset, 0);
  EXPECT_EQ(parts[1]->Len, 13);
  EXPECT_EQ(parts[1]->IsSmil, 0);
  // The body owns a copy of the data, apart from the decoded bytes.
  EXPECT_EQ(parts[1]->OwnsData, 1);
  EXPECT_TRUE(parts[1]->Data + parts[1]->Len <= m.v.data() || parts[1]->Data >= m.v.data() + m.v.size());
}

// A body decoded from a header record's bytes reads its parts after the record is gone (the
// sanitizer build reports a read of freed bytes).
TEST_F(MmsDecodeMultipartTest, ABodyOutlivesTheRecordItWasDecodedFrom) {
  MessageBytes m = EditorMessage();
  Pdu pdu = DecodeHeaders(m);
  ASSERT_TRUE(pdu);
  Body body(MmsDecodeMultipart(pdu->Body.data(), pdu->BodyLen));
  pdu.reset();
  m.v.assign(m.v.size(), 0);
  ASSERT_TRUE(body);
  ASSERT_TRUE(body->Smil);
  EXPECT_EQ(body->Smil->OwnsData, 1);
  EXPECT_EQ(Bytes(reinterpret_cast<unsigned char*>(body->Smil->Data), body->Smil->Len), mmstest::kEditorSmil);
  std::vector<const tMMS_Part*> parts = Parts(*body);
  ASSERT_EQ(parts.size(), 2u);
  EXPECT_EQ(Bytes(parts[0]->Data, parts[0]->Len), "Hello\r\n");
  EXPECT_EQ(parts[1]->Len, 13);
  EXPECT_EQ(Bytes(parts[1]->Data, 3), std::string("\xFF\xD8\xFF", 3));
}

TEST_F(MmsDecodeMultipartTest, PartIdentification) {
  MessageBytes m{0x84, 0xA3};  // multipart.mixed, short form
  m.Uintvar(4);
  m.Entry(MessageBytes{0x9E}, ContentId("<img1>"), "a");
  m.Entry(NamedType({0x9D}, "photo.jpg"), {}, "b");
  // A Content-Disposition (and an application header) before the Content-Location.
  m.Entry(
      MessageBytes{0x83},
      MessageBytes{0xC5, 0x02, 0x81, 0x00}.Raw("X-Own").Add({0}).Text("v").Add(ContentLocation("late.txt")),
      "c");
  m.Entry(MessageBytes().Text("audio/amr"), MessageBytes{0xC0}.Text("bare"), "d");
  Body body = DecodeMultipart(m.v);
  ASSERT_TRUE(body);
  EXPECT_FALSE(body->Smil);
  std::vector<const tMMS_Part*> parts = Parts(*body);
  ASSERT_EQ(parts.size(), 4u);
  EXPECT_STREQ(parts[0]->ContentID, "img1");
  EXPECT_EQ(parts[0]->ContentLocation, nullptr);
  EXPECT_STREQ(parts[1]->ContentLocation, "photo.jpg");
  EXPECT_STREQ(parts[1]->ContentType, "image/gif");
  EXPECT_STREQ(parts[2]->ContentLocation, "late.txt");
  EXPECT_STREQ(parts[3]->ContentType, "audio/amr");
  EXPECT_STREQ(parts[3]->ContentID, "bare");
}

TEST_F(MmsDecodeMultipartTest, NewerParameterCodesDoNotDerailTheEntries) {
  // Name 0x97 with a quoted value, Size 0x96, Filename 0x98, an untyped parameter, then the
  // Start 0x99 naming the root part: the value's length, not its parameters, ends it.
  MessageBytes top{0xB3, 0x96, 0x02, 0x01, 0x00};
  top.Raw("comment").Add({0}).Text("x").Add({0x99}).Text("<root>");
  MessageBytes m{0x84};
  m.Valued(top).Uintvar(2);
  MessageBytes picture{0x9E, 0x98};
  picture.Text("from-filename.jpg").Add({0x8C, 0x80});
  m.Entry(MessageBytes().Valued(picture), ContentLocation("pic.jpg"), "JPEG");
  MessageBytes text{0x83, 0x97, 0x22};
  text.Text("named.txt").Add({0x98}).Text("ignored.txt").Add({0x81, 0xEA});
  m.Entry(MessageBytes().Valued(text), ContentId("<t>"), "hi");
  Body body = DecodeMultipart(m.v);
  ASSERT_TRUE(body);
  std::vector<const tMMS_Part*> parts = Parts(*body);
  ASSERT_EQ(parts.size(), 2u);
  EXPECT_STREQ(parts[0]->Name, "from-filename.jpg");
  EXPECT_STREQ(parts[0]->ContentLocation, "pic.jpg");
  EXPECT_EQ(Bytes(parts[0]->Data, parts[0]->Len), "JPEG");
  EXPECT_STREQ(parts[1]->Name, "named.txt");
  EXPECT_STREQ(parts[1]->ContentLocation, "named.txt");
  EXPECT_STREQ(parts[1]->ContentID, "t");
  EXPECT_EQ(parts[1]->Charset, 106);
}

TEST_F(MmsDecodeMultipartTest, TheSmilPartIsTheOneTheStartNamesElseTheFirst) {
  MessageBytes smil = MessageBytes().Text("Application/SMIL");
  {
    MessageBytes m = RelatedHeader(3);
    m.Entry(MessageBytes{0x83}, {}, "text");
    m.Entry(MessageBytes{0x9D}, {}, "gif");
    m.Entry(smil, ContentId("<x>"), "<smil/>");
    Body body = DecodeMultipart(m.v);
    ASSERT_TRUE(body);
    ASSERT_TRUE(body->Smil);
    EXPECT_EQ(Bytes(reinterpret_cast<unsigned char*>(body->Smil->Data), body->Smil->Len), "<smil/>");
    EXPECT_EQ(Parts(*body).size(), 2u);
  }
  {
    MessageBytes m = RelatedHeader(2);
    m.Entry(smil, ContentId("<other>"), "first");
    m.Entry(smil, ContentId("<AAAA>"), "started");
    Body body = DecodeMultipart(m.v);
    ASSERT_TRUE(body);
    EXPECT_EQ(Bytes(reinterpret_cast<unsigned char*>(body->Smil->Data), body->Smil->Len), "started");
    // The other presentation is not lost: it stays a part.
    std::vector<const tMMS_Part*> parts = Parts(*body);
    ASSERT_EQ(parts.size(), 1u);
    EXPECT_EQ(Bytes(parts[0]->Data, parts[0]->Len), "first");
  }
}

TEST_F(MmsDecodeMultipartTest, RefusesWhatIsNoMultipart) {
  MessageBytes noEntries = RelatedHeader(0);
  MessageBytes singleText{0x84, 0x83};
  singleText.Raw("\x02\x05\x01hello");
  MessageBytes textType{0x84};
  textType.Text("text/plain").Uintvar(1).Entry(MessageBytes{0x83}, {}, "x");
  MessageBytes notContentType{0x83, 0xB3, 0x01};
  for (const MessageBytes* m : {&noEntries, &singleText, &textType, &notContentType}) {
    EXPECT_FALSE(DecodeMultipart(m->v)) << ::testing::PrintToString(m->v);
  }
  // Multipart types in text form, in any case, are multiparts.
  MessageBytes mixed{0x84};
  mixed.Text("MultiPart/Mixed").Uintvar(1).Entry(MessageBytes{0x83}, {}, "x");
  EXPECT_TRUE(DecodeMultipart(mixed.v));
}

// A message cut short at any byte keeps the entries that are whole, intact, and says how many of
// those it declared were lost; cut before its first whole entry it holds nothing.
TEST_F(MmsDecodeMultipartTest, ACutMessageKeepsWhatIsWholeAndCountsWhatIsLost) {
  const std::vector<std::string> names = {"a.txt", "b.txt", "c.txt", "d.txt"};
  const std::vector<std::string> data = {"first", "second", "", "fourth"};
  MessageBytes m = RelatedHeader(4);
  size_t header = m.v.size();
  std::vector<size_t> ends;
  for (size_t i = 0; i < names.size(); ++i) {
    m.Entry(MessageBytes{0x83}, ContentLocation(names[i]), data[i]);
    ends.push_back(m.v.size());
  }
  for (size_t cut = header; cut <= m.v.size(); ++cut) {
    SCOPED_TRACE(cut);
    size_t whole = 0;
    while (whole < ends.size() && ends[whole] <= cut) ++whole;
    std::vector<uint8_t> bytes(m.v.begin(), m.v.begin() + static_cast<long>(cut));
    Body body = DecodeMultipart(bytes);
    if (whole == 0) {
      EXPECT_FALSE(body);
      continue;
    }
    ASSERT_TRUE(body);
    EXPECT_EQ(body->EntriesDeclared, 4);
    EXPECT_EQ(body->EntriesDecoded, static_cast<int>(whole));
    EXPECT_EQ(body->Incomplete, whole < 4 ? 1 : 0);
    std::vector<const tMMS_Part*> parts = Parts(*body);
    ASSERT_EQ(parts.size(), whole);
    for (size_t i = 0; i < whole; ++i) {
      EXPECT_STREQ(parts[i]->ContentLocation, names[i].c_str());
      EXPECT_EQ(Bytes(parts[i]->Data, parts[i]->Len), data[i]);
    }
  }
  // A HeadersLen shorter than the content type: the entry is damaged, dropped and counted lost.
  MessageBytes shortHeaders = RelatedHeader(2);
  shortHeaders.Entry(MessageBytes{0x83}, {}, "ok");
  shortHeaders.Add({0x02, 0x01}).Add(MessageBytes().Text("text/plain")).Raw("z");
  Body body = DecodeMultipart(shortHeaders.v);
  ASSERT_TRUE(body);
  EXPECT_EQ(Parts(*body).size(), 1u);
  EXPECT_EQ(body->EntriesDecoded, 1);
  EXPECT_EQ(body->Incomplete, 1);
}

// Code 0x21 is a WBMP picture; this program once wrote BMP pictures with it, and those still read
// as BMP. Our writer's output reads back as the type written.
TEST_F(MmsDecodeMultipartTest, WbmpAndBmpPictures) {
  const std::string wbmp("\x00\x00\x08\x02\xFF\x00", 6);
  const std::string bmp = std::string("BM\x3A\x00\x00\x00", 6) + std::string(10, '\0');
  struct Case {
    const char* what;
    MessageBytes type;
    std::string data;
    const char* decoded;
  } cases[] = {
      {"0x21 and WBMP bytes", {0xA1}, wbmp, "image/vnd.wap.wbmp"},
      {"0x21 and a BMP file", {0xA1}, bmp, "image/bmp"},
      {"0x21 in the general form and a BMP file", NamedType({0xA1}, "old.bmp"), bmp, "image/bmp"},
      {"the WBMP type as text holds what it says", MessageBytes().Text("image/vnd.wap.wbmp"), bmp,
       "image/vnd.wap.wbmp"},
      {"0x21 and one byte", {0xA1}, "B", "image/vnd.wap.wbmp"},
  };
  for (const Case& c : cases) {
    MessageBytes m = RelatedHeader(1);
    m.Entry(c.type, {}, c.data);
    Body body = DecodeMultipart(m.v);
    ASSERT_TRUE(body && body->Parts) << c.what;
    EXPECT_STREQ(body->Parts->ContentType, c.decoded) << c.what;
  }

  char smilText[] = "<smil></smil>";
  tMMS_SmilPart smil{const_cast<char*>("application/smil"), smilText, 13};
  tMMS_Part bmpPart{};
  bmpPart.ContentLocation = const_cast<char*>("Image0.bmp");
  bmpPart.ContentType = const_cast<char*>("image/bmp");
  bmpPart.Data = reinterpret_cast<unsigned char*>(const_cast<char*>(bmp.data()));
  bmpPart.Len = static_cast<int>(bmp.size());
  tMMS_Part wbmpPart = bmpPart;
  wbmpPart.ContentLocation = const_cast<char*>("Image1.wbmp");
  wbmpPart.ContentType = const_cast<char*>("image/vnd.wap.wbmp");
  wbmpPart.Data = reinterpret_cast<unsigned char*>(const_cast<char*>(wbmp.data()));
  wbmpPart.Len = static_cast<int>(wbmp.size());
  bmpPart.Next = &wbmpPart;
  tMMS_Body written{};
  written.Smil = &smil;
  written.Parts = &bmpPart;
  int len = 0;
  unsigned char* bytes = MmsEncodeMultipart(&written, &len);
  ASSERT_TRUE(bytes);
  std::vector<uint8_t> encoded(bytes, bytes + len);
  std::free(bytes);
  std::string text(encoded.begin(), encoded.end());
  EXPECT_NE(text.find("image/bmp"), std::string::npos) << "a BMP travels with its type spelled out";
  EXPECT_EQ(text.find("image/vnd.wap.wbmp"), std::string::npos) << "a WBMP travels as code 0x21";
  Body body = DecodeMultipart(encoded);
  ASSERT_TRUE(body);
  std::vector<const tMMS_Part*> parts = Parts(*body);
  ASSERT_EQ(parts.size(), 2u);
  EXPECT_STREQ(parts[0]->ContentType, "image/bmp");
  EXPECT_STREQ(parts[1]->ContentType, "image/vnd.wap.wbmp");
}

// The trace lines the reader prints on the standard output: none unless MMS_TRACE asks for them
// (or a tool switches them on), and then as they stand.
TEST(MmsDecodeMultipartTrace, PrintsItsTraceLinesOnlyWhenAsked) {
  MessageBytes notContentType{0x83, 0xB3, 0x01};
  auto printed = [&](const std::vector<uint8_t>& bytes) {
    ::testing::internal::CaptureStdout();
    DecodeMultipart(bytes);
    return ::testing::internal::GetCapturedStdout();
  };
  const char* const before = std::getenv("MMS_TRACE");
  const std::string saved = before ? before : "";
  struct Case {
    const char* value;  // nullptr: unset
    bool on;
  } cases[] = {{nullptr, false}, {"", false}, {"0", false}, {"1", true}, {"yes", true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value ? c.value : "(unset)");
    if (c.value) {
      setenv("MMS_TRACE", c.value, 1);
    } else {
      unsetenv("MMS_TRACE");
    }
    MmsUseTraceSetting();
    EXPECT_EQ(MmsTraceOn(), c.on);
    EXPECT_EQ(
        printed(notContentType.v),
        c.on ? "/////////////////////////////////TempValue != 0x84/////////////////////////////////" : "");
  }

  MmsSetTrace(true);
  EXPECT_EQ(printed(RelatedHeader(0).v),
            "/////////////////////////////////mms content is Empty/////////////////////////////////");
  EXPECT_EQ(printed(EditorMessage().v), "Element_Num = 3");
  setenv("MMS_TRACE", "1", 1);
  MmsSetTrace(false);  // the tool's choice wins over the environment
  EXPECT_EQ(printed(notContentType.v), "");

  if (before) {
    setenv("MMS_TRACE", saved.c_str(), 1);
  } else {
    unsetenv("MMS_TRACE");
  }
  MmsUseTraceSetting();
}

// Every cut of a message and a few thousand seeded byte changes decode to none or to a body whose
// every Data and Len lies inside the input (the sanitizer build checks every read on the way).
TEST_F(MmsDecodeMultipartTest, DamagedBytesNeverLeadOutsideTheInput) {
  MessageBytes seed = EditorMessage();
  auto check = [](const std::vector<uint8_t>& bytes) {
    Pdu pdu(MmsDecodeHeaders(bytes.data(), static_cast<int>(bytes.size())));
    Body body = DecodeMultipart(bytes);
    if (!body) return;
    // Every entry's data is a copy of a run of the input's bytes (the body owns it).
    auto withinInput = [&bytes](const uint8_t* data, int len) {
      return len == 0 || std::search(bytes.begin(), bytes.end(), data, data + len) != bytes.end();
    };
    if (body->Smil) {
      ASSERT_GE(body->Smil->Len, 0);
      ASSERT_TRUE(withinInput(reinterpret_cast<const uint8_t*>(body->Smil->Data), body->Smil->Len));
    }
    for (const tMMS_Part* p = body->Parts; p; p = p->Next) {
      ASSERT_GE(p->Len, 0);
      ASSERT_TRUE(withinInput(p->Data, p->Len));
    }
  };
  for (size_t cut = 1; cut <= seed.v.size(); ++cut) {
    check(std::vector<uint8_t>(seed.v.begin(), seed.v.begin() + static_cast<long>(cut)));
  }
  std::mt19937 random(20261210);
  for (int round = 0; round < 4000; ++round) {
    std::vector<uint8_t> bytes = seed.v;
    int changes = 1 + static_cast<int>(random() % 4);
    for (int i = 0; i < changes; ++i) {
      // Most changes go to the structure before the SMIL text, where they matter.
      size_t at = random() % (round % 2 ? bytes.size() : 80);
      bytes[at] = static_cast<uint8_t>(random());
    }
    check(bytes);
  }
}

}  // namespace
