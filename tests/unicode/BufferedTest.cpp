#include <gtest/gtest.h>

#include <random>
#include <string>

#include "platform/rtl/TMemoryStream.h"
#include "unicode/TBufferedStreamReader.h"
#include "unicode/TBufferedString.h"
#include "unicode/WideException.h"

namespace {

// A source that hands out at most `limit` bytes per read and ends early, as a file that shrank
// after its size was taken.
class StingySource : public TMemoryStream {
 public:
  int limit = 1 << 30;
  std::int64_t cut = -1;  // bytes beyond this are never delivered
  int Read(void* buffer, int count) override {
    std::int64_t at = Position();
    if (cut >= 0)
      count = static_cast<int>(std::max<std::int64_t>(0, std::min<std::int64_t>(count, cut - at)));
    return TMemoryStream::Read(buffer, std::min(count, limit));
  }
};

// Random reads and seeks through the reader give what direct reads of the source give.
TEST(TBufferedStreamReader, ReadsWhatTheSourceHolds) {
  std::mt19937 random(11);
  for (int round = 0; round < 300; ++round) {
    StingySource source;
    std::string bytes(random() % 3000, '\0');
    for (char& c : bytes) c = static_cast<char>(random());
    source.Write(bytes.data(), static_cast<int>(bytes.size()));
    std::int64_t deliverable = static_cast<std::int64_t>(bytes.size());
    if (round % 3 == 1) source.limit = 1 + static_cast<int>(random() % 50);
    if (round % 3 == 2 && !bytes.empty()) deliverable = source.cut = random() % bytes.size();
    TBufferedStreamReader reader(&source, 1 + static_cast<int>(random() % 300));
    for (int step = 0; step < 20; ++step) {
      std::int64_t at = bytes.empty() ? 0 : random() % (bytes.size() + 10);
      int count = static_cast<int>(random() % 700);
      ASSERT_EQ(reader.Seek(at, soFromBeginning), at);
      std::string got(static_cast<std::size_t>(count), '\0');
      int n = reader.Read(got.data(), count);
      std::int64_t expected = std::max<std::int64_t>(0, std::min<std::int64_t>(count, deliverable - at));
      ASSERT_LE(n, expected) << round;
      if (round % 3 == 0) {
        ASSERT_EQ(n, expected) << round;
      }
      if (n > 0) {
        ASSERT_EQ(got.substr(0, static_cast<std::size_t>(n)),
                  bytes.substr(static_cast<std::size_t>(at), static_cast<std::size_t>(n)));
      }
      ASSERT_EQ(reader.Position(), at + n);
    }
  }
}

TEST(TBufferedStreamReader, NeitherWritesNorReadsOutsideTheSource) {
  TMemoryStream source;
  source.Write("abc", 3);
  TBufferedStreamReader reader(&source, 2);
  EXPECT_THROW(reader.Write("x", 1), EUcInternalError);
  char c = 0;
  reader.Seek(-1, soFromBeginning);
  EXPECT_EQ(reader.Read(&c, 1), 0);
  EXPECT_EQ(reader.Seek(-1, soFromEnd), 2);
  EXPECT_EQ(reader.Read(&c, 5), 1);
  EXPECT_EQ(c, 'c');
  EXPECT_EQ(reader.Read(&c, 1), 0);
  EXPECT_EQ(reader.Size(), 3);
}

TEST(TBufferedString, GrowsInStepsAndStopsAtZero) {
  TBufferedWideString wide;
  wide.AddChar(u'a');
  EXPECT_EQ(wide.Capacity(), 32);
  for (int i = 0; i < 40; ++i) wide.AddChar(u'\u1780');
  EXPECT_EQ(wide.Capacity(), 64);
  wide.AddBuffer(u"xy\0z", 4);
  EXPECT_EQ(wide.Value().Length(), 43);
  wide.Clear();
  wide.AddString(u"\u1780b");
  EXPECT_EQ(wide.Value().ToU16(), u"\u1780b");
  EXPECT_EQ(wide.BuffPtr()[2], 0);
  TBufferedAnsiString narrow;
  narrow.AddString("hello");
  EXPECT_EQ(narrow.Capacity(), 8);
  narrow.AddString(std::string(20, 'x'));
  EXPECT_EQ(narrow.Capacity(), 8 + 8 * 3);
  narrow.AddBuffer("!\0?", 3);
  EXPECT_EQ(narrow.Value().Length(), 26);
  narrow.Clear();
  EXPECT_EQ(narrow.Value().Length(), 0);
  EXPECT_EQ(narrow.Capacity(), 32);
}

}  // namespace
