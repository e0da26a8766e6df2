// The texts of messages as phones and gateways send them: a text part read through the whole
// reader (content type, charset parameter, slide text) in the charset it names, names it wrongly,
// or does not name, on a desktop whose system code page is UTF-8.
#include <gtest/gtest.h>
#include <iconv.h>

#include <string>
#include <vector>

#include "mms/MmsTrace.h"
#include "mms/SmilParser.h"
#include "mms/SmilView.h"
#include "platform/rtl/CodePage.h"
#include "platform/rtl/Utf8.h"
#include "tests/mms/MessageBytes.h"
#include "tests/mms/SlideTextFakes.h"

namespace {

using mmstest::ContentLocation;
using mmstest::MessageBytes;
using mmstest::RelatedHeader;

// UTF-8 text in another charset, made by the C library's converter; empty when it lacks one.
std::string Iconv(const char* charset, const std::string& utf8) {
  iconv_t cd = iconv_open(charset, "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) return {};
  std::string in = utf8;
  std::string out(in.size() * 4 + 8, '\0');
  char* src = in.data();
  size_t srcLeft = in.size();
  char* dst = out.data();
  size_t dstLeft = out.size();
  size_t done = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
  iconv_close(cd);
  if (done == static_cast<size_t>(-1)) return {};
  out.resize(out.size() - dstLeft);
  return out;
}

class MessageTextsTest : public ::testing::Test {
 protected:
  void SetUp() override { MmsSetTrace(false); }
  void TearDown() override {
    MmsFreeParsedBody();
    MmsUseTraceSetting();
  }

  // The text one slide shows of a text part whose content-type value holds `parameters` after
  // text/plain (none: the short form).
  static std::u16string SlideText(const MessageBytes& parameters, const std::string& bytes) {
    const std::string smil = "<smil><body><par><text src=\"t.txt\"/></par></body></smil>";
    MessageBytes m = RelatedHeader(2);
    m.Entry(MessageBytes().Text("application/smil"), {}, smil);
    MessageBytes type{0x83};
    if (!parameters.v.empty()) type = MessageBytes().Valued(MessageBytes{0x83}.Add(parameters));
    m.Entry(type, ContentLocation("t.txt"), bytes);
    if (MmsParseBody(m.v.data(), static_cast<int>(m.v.size())) != 1) return u"(does not open)";
    const tSMIL_Par* par = SmilGetFirstPar();
    if (!par || !par->Texts) return u"(no text)";
    return par->Texts->Content;
  }

 private:
  slidetext::CodePageScope codePage_{CP_UTF8};
};

TEST_F(MessageTextsTest, TextPartsLoseNoLetter) {
  struct Case {
    const char* what;
    MessageBytes parameters;
    std::string bytes;
    std::u16string text;
  } cases[] = {
      {"us-ascii, pure ASCII", {0x81, 0x83}, "Hello", u"Hello"},
      // A phone's "präsentiert.." in Latin-1 under a us-ascii label.
      {"us-ascii holding E4",
       {0x81, 0x83},
       "\x70\x72\xE4\x73\x65\x6E\x74\x69\x65\x72\x74\x2E\x2E",
       u"präsentiert.."},
      {"no charset, valid UTF-8 Vietnamese", {}, "Ti\xE1\xBA\xBFng Vi\xE1\xBB\x87t", u"Tiếng Việt"},
      {"no charset, windows-1252 bytes", {}, "\x93quoted\x94 \x80 5", u"\u201Cquoted\u201D € 5"},
      {"charset=iso-8859-1 as a text parameter", MessageBytes().Text("charset").Text("ISO-8859-1"),
       "gar\xE7on", u"garçon"},
      {"the charset parameter with a name for a value", MessageBytes{0x81}.Text("utf-8"), "\xC3\xA9t\xC3\xA9",
       u"été"},
      {"a charset name this reader does not know leaves the text unlabelled",
       MessageBytes().Text("charset").Text("x-unknown"), "caf\xE9", u"café"},
      {"UTF-16 with a little-endian mark", {0x81, 0x02, 0x03, 0xF7}, std::string("\xFF\xFEh\0i\0", 6), u"hi"},
  };
  for (const Case& c : cases) EXPECT_EQ(SlideText(c.parameters, c.bytes), c.text) << c.what;
}

// The double-byte charsets go through the run-time library's code pages.
TEST_F(MessageTextsTest, DoubleByteCharsets) {
  struct Case {
    const char* iconvName;
    MessageBytes parameters;
    std::u16string text;
  } cases[] = {
      {"SHIFT_JIS", {0x81, 0x91}, u"日本語のテキスト"},
      {"GB2312", {0x81, 0x02, 0x07, 0xE9}, u"中文短信"},
      {"BIG5", {0x81, 0x02, 0x07, 0xEA}, u"繁體中文"},
      {"EUC-KR", {0x81, 0xA6}, u"한국어"},
      {"SHIFT_JIS", MessageBytes().Text("charset").Text("Shift_JIS"), u"カタカナ"},
  };
  for (const Case& c : cases) {
    std::string bytes = Iconv(c.iconvName, platform::Utf16ToUtf8(c.text));
    ASSERT_FALSE(bytes.empty()) << c.iconvName;
    EXPECT_EQ(SlideText(c.parameters, bytes), c.text) << c.iconvName;
  }
}

}  // namespace
