// The encoded message: built and encoded once, its bytes handed to a writer only when every page
// was taken, a build that could not take every page told apart from a write that failed, and the
// composer emptied on every way out, a writer that raises included.
#include <cstdio>
#include <stdexcept>
#include <string>

#include "editor/EncodedMessage.h"
#include "mms/MmsComposer.h"
#include "mms/TMediaItem.h"
#include "tests/editor/CommandFixture.h"

namespace {

using editortest::CommandTest;
using editortest::Noise;

class EncodedMessageTest : public CommandTest {
 protected:
  void SetUp() override {
    CommandTest::SetUp();
    Pages(2);
    Put(1, TMediaItem::kImage, "p.jpg", &picture);
  }
  // Nothing built is left in the composer: it can be created afresh.
  static bool ComposerEmptied() {
    const bool emptied = MmsComposerCreate() == MMS_COMPOSER_OK;
    MmsComposerReset();
    return emptied;
  }
  const std::string picture = Noise(2000, 11);
};

TEST_F(EncodedMessageTest, ABuildThatFailsIsToldApartFromAWriteThatFails) {
  struct Case {
    const char* what;
    bool mediaGone;
    bool writes;
    EncodedMessage::Outcome outcome;
  };
  const Case cases[] = {
      {"written", false, true, EncodedMessage::kWritten},
      {"not written", false, false, EncodedMessage::kWriteFailed},
      {"a page's picture gone", true, true, EncodedMessage::kBuildFailed},
  };
  const int whole = EncodedSize();
  MmsComposerReset();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.mediaGone) std::remove((app.path() + "/tmp/Image/p.jpg").c_str());
    std::string handed;
    int calls = 0;
    {
      const EncodedMessage message(main->Document());
      EXPECT_EQ(message.Complete(), !c.mediaGone);
      EXPECT_EQ(message.WriteWith([&](const unsigned char* bytes, size_t count) {
        ++calls;
        handed.assign(reinterpret_cast<const char*>(bytes), count);
        return c.writes;
      }),
                c.outcome);
    }
    // A message that is not complete never reaches the writer.
    EXPECT_EQ(calls, c.mediaGone ? 0 : 1);
    if (!c.mediaGone) {
      EXPECT_EQ(handed.size(), size_t(whole));
      EXPECT_NE(handed.find(picture), std::string::npos);
    }
    EXPECT_TRUE(ComposerEmptied());
  }
}

TEST_F(EncodedMessageTest, AWriterThatRaisesLeavesTheComposerEmpty) {
  EXPECT_THROW(
      {
        const EncodedMessage message(main->Document());
        message.WriteWith(
            [](const unsigned char*, size_t) -> bool { throw std::runtime_error("disk gone"); });
      },
      std::runtime_error);
  EXPECT_TRUE(ComposerEmptied());
}

}  // namespace
