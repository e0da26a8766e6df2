// UTF-16 character properties, stored tests and UTF-16 string access of the property registry,
// and the reader's byte strings for legacy 8-bit data.
#include <gtest/gtest.h>

#include <string>

#include "platform/forms/ClassRegistry.h"
#include "platform/forms/TReader.h"
#include "platform/forms/TWriter.h"
#include "platform/rtl/Exceptions.h"

namespace {

class TWideThing : public TComponent {
 public:
  explicit TWideThing(TComponent* owner) : TComponent(owner) {}
  WideString Text;
  char16_t Mark = u'*';
  bool KeepText = true;
  std::string Legacy;
  void DefineProperties(TFiler* filer) override {
    filer->DefineProperty(
        "Legacy", [this](TReader* r) { Legacy = r->ReadByteString(); }, nullptr, false);
  }
};

void RegisterWideThing() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterProperties<TWideThing>("TWideThing", "", Factory<TWideThing>())
      .WStr(
          "Text", [](TWideThing& t) { return t.Text; }, [](TWideThing& t, WideString v) { t.Text = v; })
      .StoredIf([](TWideThing& t) { return t.KeepText; })
      .WChar(
          "Mark", [](TWideThing& t) { return t.Mark; }, [](TWideThing& t, char16_t v) { t.Mark = v; }, u'*');
}

TEST(WideProperties, CharacterPropertiesAreOneCharacterStrings) {
  RegisterWideThing();
  TWideThing t(nullptr);
  t.SetName("Thing");
  EXPECT_EQ(std::string::npos, WriteComponentText(&t).find("Mark")) << "the default is left out";
  t.Mark = u'\u1780';
  std::string text = WriteComponentText(&t);
  EXPECT_NE(std::string::npos, text.find("Mark = '\u1780'")) << text;
  TWideThing back(nullptr);
  ReadComponentText(&back, text);
  EXPECT_EQ(u'\u1780', back.Mark);
  for (const char* bad : {"Mark = 'ab'", "Mark = True"}) {
    TWideThing u(nullptr);
    EXPECT_THROW(ReadComponentText(&u, std::string("object Thing: TWideThing\n  ") + bad + "\nend\n"),
                 EReadError)
        << bad;
  }
  const TPropInfo* mark = GetPropInfo(ClassInfoOf(&t), "Mark");
  ASSERT_TRUE(mark);
  EXPECT_EQ(tkWChar, mark->Kind);
  EXPECT_EQ(u'*', mark->Default);
}

TEST(WideProperties, StoredTestAndWideStringAccess) {
  RegisterWideThing();
  TWideThing t(nullptr);
  t.SetName("Thing");
  const TPropInfo* text = GetPropInfo(ClassInfoOf(&t), "Text");
  ASSERT_TRUE(text);
  SetWideStrProp(&t, text, WideString(u"ti\u1EBFng"));
  EXPECT_EQ(WideString(u"ti\u1EBFng"), GetWideStrProp(&t, text));
  EXPECT_TRUE(IsStoredProp(&t, text));
  EXPECT_NE(std::string::npos, WriteComponentText(&t).find("Text = "));
  t.KeepText = false;
  EXPECT_FALSE(IsStoredProp(&t, text));
  EXPECT_EQ(std::string::npos, WriteComponentText(&t).find("Text = "));
  EXPECT_THROW(GetWideStrProp(&t, GetPropInfo(ClassInfoOf(&t), "Mark")), EReadError);
}

TEST(WideProperties, ByteStringsKeepEachUnitBelow256AsOneByte) {
  RegisterWideThing();
  TWideThing t(nullptr);
  ReadComponentText(&t, "object Thing: TWideThing\n  Legacy = #225#158#128'a'\nend\n");
  EXPECT_EQ(
      "\xE1\x9E\x80"
      "a",
      t.Legacy);
  TWideThing u(nullptr);
  try {
    ReadComponentText(&u, "object Thing: TWideThing\n  Legacy = #6016\nend\n");
    ADD_FAILURE();
  } catch (const EReadError& e) {
    EXPECT_EQ("Invalid property value", e.Message);
  }
}

}  // namespace
