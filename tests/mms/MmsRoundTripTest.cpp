// The editor's example message read back field by field: the composer, the writer, then the
// reader's header fields and entries and the SMIL parser's slide (every other message the writer
// produces is read back in MmsWriterRoundTripTest).
#include <gtest/gtest.h>

#include <string>

#include "mms/MmsComposer.h"
#include "mms/MmsDecoder.h"
#include "mms/MmsTrace.h"
#include "mms/SmilParser.h"
#include "mms/SmilView.h"
#include "tests/mms/MessageBytes.h"
#include "tests/mms/MmsComposeHelpers.h"

namespace {

class RoundTripTest : public mmstest::ComposerTest {
 protected:
  void SetUp() override {
    mmstest::ComposerTest::SetUp();
    MmsSetTrace(false);
  }
  void TearDown() override {
    MmsFreeParsedBody();
    MmsUseTraceSetting();
    mmstest::ComposerTest::TearDown();
  }
};

using mmstest::Bytes;

TEST_F(RoundTripTest, TheEditorsExampleMessageReadsBack) {
  const std::string picture = mmstest::JfifPicture(1234);
  MmsComposerSetSlideDur(0, 5000);
  ASSERT_EQ(mmstest::SetText(u"\uFEFFHello\r\n", 0, 5000), 0);
  ASSERT_EQ(mmstest::SetImage("image/jpeg", picture, 0, 5000), 0);
  std::string file = mmstest::EncodeMessage();
  ASSERT_EQ(file.size(), 1890u);
  const auto* bytes = reinterpret_cast<const uint8_t*>(file.data());

  tMMS_RetrieveConf* pdu = MmsDecodeHeaders(bytes, static_cast<int>(file.size()));
  ASSERT_TRUE(pdu);
  EXPECT_EQ(pdu->BodyLen, 1890);
  EXPECT_EQ(Bytes(pdu->Body.data(), pdu->BodyLen), file);
  EXPECT_FALSE(pdu->Subject);

  tMMS_Body* body = MmsDecodeMultipart(pdu->Body.data(), pdu->BodyLen);
  ASSERT_TRUE(body);
  ASSERT_TRUE(body->Smil);
  EXPECT_STREQ(body->Smil->ContentType, "application/smil");
  EXPECT_EQ(body->Smil->Len, 491);
  const tMMS_Part* text = body->Parts;
  ASSERT_TRUE(text && text->Next);
  EXPECT_STREQ(text->ContentType, "text/plain");
  EXPECT_EQ(text->HasCharset, 1);
  EXPECT_EQ(text->Charset, 106);
  EXPECT_STREQ(text->ContentID, "text0.txt");
  EXPECT_STREQ(text->ContentLocation, "text0.txt");
  EXPECT_EQ(text->Len, 7);
  const tMMS_Part* image = text->Next;
  EXPECT_STREQ(image->ContentType, "image/jpeg");
  EXPECT_STREQ(image->ContentLocation, "Image0.jpg");
  EXPECT_EQ(image->Len, 1234);
  EXPECT_EQ(image->Next, nullptr);
  MmsFreeDecodedBody(body);

  ASSERT_EQ(MmsParseBody(pdu->Body.data(), pdu->BodyLen), 1);
  MmsPduFree(pdu, MMS_PDU_RETRIEVE_CONF);
  const tSMIL_Par* par = SmilGetFirstPar();
  ASSERT_TRUE(par);
  EXPECT_EQ(par->Next, nullptr);
  EXPECT_EQ(par->Dur, 5000);
  ASSERT_TRUE(par->Images);
  EXPECT_EQ(Bytes(par->Images->Data, par->Images->Size), picture);
  EXPECT_EQ(par->Images->Type, "image/jpeg");
  EXPECT_EQ(par->Images->Begin, 0);
  EXPECT_EQ(par->Images->End, 5000);
  EXPECT_EQ(par->Images->Position.X, 0);
  EXPECT_EQ(par->Images->Position.Y, 0);
  EXPECT_EQ(par->Images->Position.Width, 160);
  EXPECT_EQ(par->Images->Position.Height, 170);
  ASSERT_TRUE(par->Texts);
  EXPECT_EQ(par->Texts->Content, u"Hello\r\n");
  EXPECT_EQ(SmilGetView().Attachments, nullptr);
}

}  // namespace
