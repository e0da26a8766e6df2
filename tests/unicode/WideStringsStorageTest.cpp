#include <gtest/gtest.h>

#include <string>

#include "platform/forms/ClassRegistry.h"
#include "platform/forms/TComponent.h"
#include "platform/forms/TReader.h"
#include "platform/forms/TWriter.h"
#include "unicode/TUcStringList.h"

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

}  // namespace
