// Every message the writer produces, types outside the part-type table and twenty full slides
// among them, reads back through the reader and the SMIL parser as the same slides: durations,
// item times, texts, part bytes and types, and no stray attachments.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "MessageBytes.h"
#include "MmsComposeHelpers.h"
#include "mms/MmsTrace.h"
#include "mms/SmilParser.h"
#include "mms/SmilView.h"

namespace {

using mmstest::Bytes;
using mmstest::ComposerTest;

struct Item {
  std::string type;   // picture or sound; empty type allowed
  std::string bytes;  // empty: no item
};

struct Slide {
  int dur;
  std::u16string text;  // as handed over, byte-order mark included
  bool hasText;
  Item picture;
  Item sound;
};

struct Message {
  const char* what;
  std::vector<Slide> slides;
};

std::u16string WithoutMark(const std::u16string& text) {
  return !text.empty() && text[0] == 0xFEFF ? text.substr(1) : text;
}

void Compose(const Message& m) {
  mmstest::MakeSlides(static_cast<int>(m.slides.size()), 1000);
  for (unsigned i = 0; i < m.slides.size(); ++i) {
    const Slide& s = m.slides[i];
    MmsComposerSelectSlide(i);
    MmsComposerSetSlideDur(i, s.dur);
    if (s.hasText) {
      ASSERT_EQ(mmstest::SetText(s.text, 0, s.dur), 0);
    }
    if (!s.picture.bytes.empty()) {
      ASSERT_EQ(mmstest::SetImage(s.picture.type, s.picture.bytes, 0, s.dur), 0);
    }
    if (!s.sound.bytes.empty()) {
      ASSERT_EQ(mmstest::SetAudio(s.sound.type, s.sound.bytes, 100, s.dur), 0);
    }
  }
}

void CheckView(const Message& m) {
  const tSMIL_Par* par = SmilGetFirstPar();
  for (std::size_t i = 0; i < m.slides.size(); ++i, par = par->Next) {
    const Slide& s = m.slides[i];
    ASSERT_NE(par, nullptr) << m.what << ": slide " << i << " missing";
    EXPECT_EQ(par->Dur, s.dur) << m.what << " slide " << i;
    if (s.hasText) {
      ASSERT_NE(par->Texts, nullptr) << m.what << " slide " << i;
      EXPECT_TRUE(par->Texts->Content == WithoutMark(s.text)) << m.what << " slide " << i;
      EXPECT_EQ(par->Texts->End, s.dur);
    } else {
      EXPECT_EQ(par->Texts, nullptr) << m.what << " slide " << i;
    }
    if (!s.picture.bytes.empty()) {
      ASSERT_NE(par->Images, nullptr) << m.what << " slide " << i;
      EXPECT_EQ(Bytes(par->Images->Data, par->Images->Size), s.picture.bytes) << m.what << " slide " << i;
      EXPECT_EQ(par->Images->Type, s.picture.type.empty() ? "application/octet-stream" : s.picture.type)
          << m.what << " slide " << i;
      EXPECT_EQ(par->Images->Begin, 0);
      EXPECT_EQ(par->Images->End, s.dur);
    } else {
      EXPECT_EQ(par->Images, nullptr) << m.what << " slide " << i;
    }
    if (!s.sound.bytes.empty()) {
      ASSERT_NE(par->Audios, nullptr) << m.what << " slide " << i;
      EXPECT_EQ(Bytes(par->Audios->Data, par->Audios->Size), s.sound.bytes) << m.what << " slide " << i;
      EXPECT_EQ(par->Audios->Type, s.sound.type) << m.what << " slide " << i;
      EXPECT_EQ(par->Audios->Begin, 100);
      EXPECT_EQ(par->Audios->End, s.dur);
    } else {
      EXPECT_EQ(par->Audios, nullptr) << m.what << " slide " << i;
    }
  }
  EXPECT_EQ(par, nullptr) << m.what << ": more slides than written";
  EXPECT_EQ(SmilGetView().Attachments, nullptr) << m.what << ": a part no slide refers to";
}

std::vector<Message> Messages() {
  const Item jpeg{"image/jpeg", std::string("\xFF\xD8\xFF\xE0\x00\x10JFIF\x00\x01\xFF\xD9", 14)};
  const Item gif{"image/gif", "GIF89a\x01\x00\x01\x00"};
  const Item wav{"audio/wav", "RIFF\x24\x00\x00\x00WAVE"};
  std::vector<Message> messages;
  messages.push_back({"one empty slide", {{1000, u"", false, {}, {}}}});
  messages.push_back({"three empty slides",
                      {{1000, u"", false, {}, {}}, {2000, u"", false, {}, {}}, {60000, u"", false, {}, {}}}});
  messages.push_back({"a text alone", {{3000, u"\uFEFFHello\r\n", true, {}, {}}}});
  messages.push_back({"a picture alone", {{3000, u"", false, jpeg, {}}}});
  messages.push_back({"a sound alone", {{3000, u"", false, {}, wav}}});
  messages.push_back({"everything", {{5000, u"\uFEFFHi", true, gif, {"audio/mid", "MThd\x00\x00\x00\x06"}}}});
  messages.push_back(
      {"Khmer and Vietnamese",
       {{4000,
         u"\uFEFF\u179F\u17BD\u179F\u17D2\u178F\u17B8\r\nXin ch\u00E0o Vi\u1EC7t Nam \U0001F600",
         true,
         {},
         {}}}});
  // Types the editor produces that the part-type table does not spell alike: once saved with an
  // empty name, such a message could not be opened again.
  messages.push_back({"types outside the table",
                      {{2000, u"", false, {"", "BM\x01\x02"}, {"audio/WAV", "RIFF"}},
                       {2000, u"", false, {"image/bmp", "BM\x03"}, {"audio/mp3", "ID3"}}}});
  // Items of one slide whose types give one part name still come back as separate parts.
  messages.push_back({"items of one name",
                      {{1000, u"t", true, {"text/plain", "pic"}, {"text/plain", "snd"}},
                       {1000, u"", false, {"audio/wav", "pic"}, wav}}});
  messages.push_back({"three slides of mixed items",
                      {{3000, u"Первый", true, {"image/gif", "GIF89a-one"}, {"audio/amr", "#!AMR-one"}},
                       {60000, u"", false, {"image/jpeg", mmstest::JfifPicture(400)}, {}},
                       {1000, u"ütf 😀", true, {}, {"audio/mid", "MThd-three"}}}});
  Message twenty{"twenty full slides", {}};
  for (int i = 0; i < 20; ++i) {
    std::u16string text = u"\uFEFFslide " + std::u16string(1, static_cast<char16_t>(u'A' + i));
    Item picture = i % 2 ? jpeg : gif;
    picture.bytes += std::string(static_cast<std::size_t>(i), static_cast<char>(i));
    twenty.slides.push_back(
        {1000 * (i + 1), text, true, picture, {"audio/amr", "#!AMR\n" + std::to_string(i)}});
  }
  messages.push_back(twenty);
  return messages;
}

TEST_F(ComposerTest, EveryWrittenMessageReadsBackAsTheSameSlides) {
  MmsSetTrace(false);
  for (const Message& m : Messages()) {
    MmsComposerReset();
    ASSERT_EQ(MmsComposerCreate(), 0);
    Compose(m);
    std::string file = mmstest::EncodeMessage();
    ASSERT_FALSE(file.empty()) << m.what;
    ASSERT_EQ(MmsParseBody(reinterpret_cast<const uint8_t*>(file.data()), static_cast<int>(file.size())), 1)
        << m.what;
    CheckView(m);
    MmsFreeParsedBody();
  }
  MmsUseTraceSetting();
}

}  // namespace
