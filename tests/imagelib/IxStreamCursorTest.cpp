// The stream cursor's read of data that may be cut short: it copies what there is, says how much,
// and leaves the cursor where a strict read would have.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "imagelib/IxMemFile.h"
#include "imagelib/IxStreamCursor.h"

namespace {

std::vector<uint8_t> Counting(size_t n) {
  std::vector<uint8_t> v(n);
  for (size_t i = 0; i < n; ++i) v[i] = static_cast<uint8_t>(i * 7 + 3);
  return v;
}

TEST(IxStreamCursorTest, ReadSomeCopiesWhatIsThereAndCountsIt) {
  struct Case {
    const char* name;
    size_t size;    // bytes in the stream
    size_t before;  // bytes read byte-wise first, so the read-ahead holds some
    size_t want;
    size_t got;
  };
  const Case cases[] = {
      {"within the read-ahead", 100, 10, 50, 50},
      {"across the end from the read-ahead", 100, 10, 200, 90},
      {"large, straight to the caller", 20000, 0, 12000, 12000},
      {"large, across the end", 20000, 3, 30000, 19997},
      {"large after a partial read-ahead", 20000, 4000, 10000, 10000},
      {"at the end", 8, 8, 4, 0},
      {"nothing asked", 8, 2, 0, 0},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> data = Counting(c.size);
    IxMemFile file(data.data(), data.size());
    IxStreamCursor in(&file);
    for (size_t i = 0; i < c.before; ++i) ASSERT_EQ(in.ReadByte(), data[i]) << c.name;
    std::vector<uint8_t> out(c.want + 1, 0xEE);
    EXPECT_EQ(in.ReadSome(out.data(), c.want), c.got) << c.name;
    EXPECT_TRUE(std::equal(out.begin(), out.begin() + static_cast<std::ptrdiff_t>(c.got),
                           data.begin() + static_cast<std::ptrdiff_t>(c.before)))
        << c.name;
    EXPECT_EQ(out[c.got], 0xEE) << c.name << ": wrote past what it counted";
    EXPECT_EQ(in.Position(), c.before + c.got) << c.name;
    // The next byte follows on from what was copied.
    EXPECT_EQ(in.ReadByte(), c.before + c.got < c.size ? data[c.before + c.got] : -1) << c.name;
  }
}

TEST(IxStreamCursorTest, ReadSomeOverNoStreamCopiesNothing) {
  IxStreamCursor in(nullptr);
  uint8_t b[4] = {};
  EXPECT_EQ(in.ReadSome(b, sizeof(b)), 0u);
  EXPECT_FALSE(in.Read(b, 1));
}

}  // namespace
