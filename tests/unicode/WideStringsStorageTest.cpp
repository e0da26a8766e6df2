#include <gtest/gtest.h>

#include <string>

#include "platform/forms/ClassRegistry.h"
#include "platform/forms/TComponent.h"
#include "platform/forms/TReader.h"
#include "platform/forms/TWriter.h"
#include "unicode/TUcStringList.h"
#include "unicode/UcPersistent.h"

namespace {

// A component that stores a wide list of lines as its own property.
class TLinesHolder : public TComponent {
 public:
  explicit TLinesHolder(TComponent* owner) : TComponent(owner) {}
  TUcStringList Lines;
  void DefineProperties(TFiler* filer) override { Lines.DefineProperties(filer); }
};

void RegisterHolder() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterProperties<TLinesHolder>("TLinesHolder", "", Factory<TLinesHolder>());
}

TEST(WideStringsStorage, ListsGoToFormTextAndBack) {
  RegisterHolder();
  TLinesHolder holder(nullptr);
  holder.SetName("Holder");
  holder.Lines.SetText(u"\u1780\u1781\r\nTi\u1EBFng\r\n\r\n");
  std::string text = WriteComponentText(&holder);
  EXPECT_NE(text.find("Strings"), std::string::npos) << text;
  TLinesHolder again(nullptr);
  ReadComponentText(&again, text);
  EXPECT_TRUE(again.Lines.Equals(&holder.Lines));
  EXPECT_EQ(again.Lines.Count(), 3);

  TLinesHolder empty(nullptr);
  empty.SetName("Empty");
  EXPECT_EQ(WriteComponentText(&empty).find("Strings"), std::string::npos);
}

// Lines beyond ASCII also go to the UTF-7 store, which is applied only when legacy data is
// asked for; the legacy UTF-8 store fills an empty list even at run time.
TEST(WideStringsStorage, LegacyStoresOfTheLines) {
  RegisterHolder();
  TLinesHolder holder(nullptr);
  holder.SetName("Holder");
  holder.Lines.SetText(u"plain\r\n\u1780\r\n");
  std::string text = WriteComponentText(&holder);
  EXPECT_NE(text.find("WideStrings_UTF7 = (\n    'plain'\n    '+F4A')"), std::string::npos) << text;
  holder.Lines.SetText(u"only ASCII\r\n");
  EXPECT_EQ(WriteComponentText(&holder).find("WideStrings_UTF7"), std::string::npos);

  const std::string legacy =
      "object Holder: TLinesHolder\n"
      "  Strings = (\n    'plain')\n"
      "  WideStrings_UTF7 = (\n    '+F4E-')\n"
      "end\n";
  TLinesHolder runtime(nullptr);
  ReadComponentText(&runtime, legacy);
  EXPECT_EQ(runtime.Lines.Text().ToU16(), u"plain\r\n");
  RuntimeUTFStreaming = true;
  TLinesHolder applied(nullptr);
  ReadComponentText(&applied, legacy);
  RuntimeUTFStreaming = false;
  EXPECT_EQ(applied.Lines.Text().ToU16(), u"\u1781\r\n");

  TLinesHolder utf8(nullptr);
  ReadComponentText(&utf8, "object Holder: TLinesHolder\n  WideStringsW = (\n    #225#158#128)\nend\n");
  EXPECT_EQ(utf8.Lines.Text().ToU16(), u"\u1780\r\n");
  TLinesHolder kept(nullptr);
  ReadComponentText(
      &kept, "object Holder: TLinesHolder\n  Strings = (\n    'a')\n  WideStringsW = (\n    'b')\nend\n");
  EXPECT_EQ(kept.Lines.Text().ToU16(), u"a\r\n");
  TLinesHolder wide(nullptr);
  ReadComponentText(&wide, "object Holder: TLinesHolder\n  WideStrings = (\n    'x'\n    'y')\nend\n");
  EXPECT_EQ(wide.Lines.Count(), 2);
}

}  // namespace
