// The extra form storage of UTF-16 properties, written by the form library's writer as layout
// text and read back by its reader.
#include <gtest/gtest.h>

#include <string>

#include "platform/forms/ClassRegistry.h"
#include "platform/forms/TReader.h"
#include "platform/forms/TWriter.h"
#include "platform/rtl/Exceptions.h"
#include "unicode/ClassIsRegistered.h"
#include "unicode/UcPersistent.h"
#include "unicode/Utf7.h"

namespace {

// A component with a UTF-16 caption and a UTF-16 password character, storing both the way the
// Unicode controls do.
class TUcGadget : public TComponent {
 public:
  explicit TUcGadget(TComponent* owner) : TComponent(owner) {}
  WideString Caption;
  char16_t PasswordChar = 0;
  void DefineProperties(TFiler* filer) override {
    TComponent::DefineProperties(filer);
    UcPersistent_AfterInherited_DefineProperties(filer, this);
  }
};

void RegisterGadget() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterProperties<TUcGadget>("TUcGadget", "", Factory<TUcGadget>())
      .WStr(
          "Caption", [](TUcGadget& g) { return g.Caption; },
          [](TUcGadget& g, WideString v) { g.Caption = v; })
      .WChar(
          "PasswordChar", [](TUcGadget& g) { return g.PasswordChar; },
          [](TUcGadget& g, char16_t v) { g.PasswordChar = v; }, u'\0');
}

class RuntimeStreamingScope {
 public:
  explicit RuntimeStreamingScope(bool on) { RuntimeUTFStreaming = on; }
  ~RuntimeStreamingScope() { RuntimeUTFStreaming = false; }
};

std::string Written(const WideString& caption, char16_t password = 0) {
  RegisterGadget();
  TUcGadget g(nullptr);
  g.SetName("Gadget");
  g.Caption = caption;
  g.PasswordChar = password;
  return WriteComponentText(&g);
}

TUcGadget* Read(TUcGadget& g, const std::string& body) {
  RegisterGadget();
  ReadComponentText(&g, "object Gadget: TUcGadget\n" + body + "end\n");
  return &g;
}

// A caption that is not plain ASCII gets its UTF-7 shadow; ASCII and empty captions do not,
// whatever the system code page (under UTF-8 every text survives the 8-bit round trip, which
// must not hide the shadow).
TEST(UcPersistent, Utf7ShadowOnlyForTextBeyondAscii) {
  struct Case {
    const char16_t* caption;
    bool shadow;
  };
  const Case cases[] = {
      {u"\u1797\u17B6\u179F\u17B6", true}, {u"Ti\u1EBFng", true}, {u"Hello", false}, {u"", false}};
  for (const Case& c : cases) {
    std::string text = Written(WideString(c.caption));
    std::string expected = "Caption_UTF7 = '" + WideStringToUTF7(WideString(c.caption)).ToStd() + "'";
    EXPECT_EQ(c.shadow, text.find(expected) != std::string::npos) << text;
    EXPECT_EQ(c.shadow, text.find("Caption_UTF7") != std::string::npos) << text;
    EXPECT_EQ(std::string::npos, text.find("CaptionW")) << text;  // the legacy UTF-8 store is never written
  }
}

TEST(UcPersistent, CaptionRoundTripsAndLegacyValuesOnlyApplyWhenAsked) {
  std::string text = Written(WideString(u"\u1780\u1781"));
  TUcGadget back(nullptr);
  ReadComponentText(&back, text);
  EXPECT_EQ(back.Caption, WideString(u"\u1780\u1781"));

  // At run time "W" and "_UTF7" are read past: the plain caption wins.
  const std::string body =
      "  Caption = 'plain'\n"
      "  CaptionW = #225#158#128\n"
      "  Caption_UTF7 = '+F4E-'\n";
  TUcGadget runtime(nullptr);
  EXPECT_EQ(Read(runtime, body)->Caption, WideString(u"plain"));
  {
    RuntimeStreamingScope on(true);
    TUcGadget legacy(nullptr);
    EXPECT_EQ(Read(legacy, body)->Caption, WideString(u"\u1781"));  // the shadow comes last and wins
    TUcGadget utf8(nullptr);
    EXPECT_EQ(Read(utf8, "  CaptionW = #225#158#128\n")->Caption, WideString(u"\u1780"));
    TUcGadget bad(nullptr);
    EXPECT_THROW(Read(bad, "  Caption_UTF7 = '+AOl'\n"), Exception);  // not UTF-7
  }
}

TEST(UcPersistent, CharacterPropertyStoreAndLegacyReader) {
  std::string text = Written(WideString(), u'\u2022');
  EXPECT_NE(std::string::npos, text.find("PasswordCharW = '\u2022'")) << text;
  EXPECT_EQ(std::string::npos, Written(WideString()).find("PasswordCharW")) << "the default is not stored";

  struct Case {
    const char* body;
    char16_t expected;
  };
  const Case cases[] = {
      {"  PasswordCharW = 'A'\n", u'A'},
      {"  PasswordCharW = ''\n", u'\0'},
      {"  PasswordCharW = #6016\n", u'\u1780'},
      {"  PasswordChar_UTF7 = '+F4A-'\n", u'\u1780'},  // applied even at run time
      {"  PasswordChar_UTF7 = ''\n", u'\0'},
  };
  for (const Case& c : cases) {
    TUcGadget g(nullptr);
    g.PasswordChar = u'x';
    EXPECT_EQ(Read(g, c.body)->PasswordChar, c.expected) << c.body;
  }
  for (const char* body : {"  PasswordCharW = 'AB'\n", "  PasswordCharW = 12\n"}) {
    TUcGadget g(nullptr);
    try {
      Read(g, body);
      ADD_FAILURE() << body;
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message, "Invalid property value") << body;
    }
  }
}

TEST(UcPersistent, NoClassIsRegistered) {
  const CLSID shellLink{0x00021401, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
  EXPECT_FALSE(ClassIsRegistered(shellLink));
}

}  // namespace
