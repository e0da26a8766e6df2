// The byte streams: one script of stream behaviour run against memory and file streams, plus
// the memory stream's growth and ownership rules.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>

#include "imagelib/IxIOFile.h"
#include "imagelib/IxMemFile.h"

namespace {

struct StreamKind {
  const char* name;
  std::function<std::unique_ptr<IxFile>(FILE** keep)> make;
};

std::unique_ptr<IxFile> MakeMem(FILE**) {
  auto f = std::make_unique<IxMemFile>();
  f->Open();
  return f;
}

std::unique_ptr<IxFile> MakeIO(FILE** keep) {
  *keep = tmpfile();
  return std::make_unique<IxIOFile>(*keep);
}

class StreamScript : public ::testing::TestWithParam<StreamKind> {
 protected:
  void SetUp() override {
    stream_ = GetParam().make(&fp_);
    ASSERT_TRUE(stream_ != nullptr);
    const char text[] = "0123456789ABCDEFGHIJ";
    ASSERT_EQ(stream_->Write(text, 1, 20), 20u);
  }
  void TearDown() override {
    stream_.reset();
    if (fp_ != nullptr) fclose(fp_);
  }
  FILE* fp_ = nullptr;
  std::unique_ptr<IxFile> stream_;
};

TEST_P(StreamScript, ReadCountsWholeItemsAndCopiesWhatIsLeft) {
  ASSERT_TRUE(stream_->Seek(10, SEEK_SET));
  char buf[12];
  memset(buf, '.', sizeof(buf));
  EXPECT_EQ(stream_->Read(buf, 4, 3), 2u);
  EXPECT_EQ(std::string(buf, 10), "ABCDEFGHIJ");
  EXPECT_EQ(stream_->Tell(), 20);
}

TEST_P(StreamScript, GetCAtTheEndGivesMinusOneAndKeepsThePosition) {
  ASSERT_TRUE(stream_->Seek(0, SEEK_END));
  EXPECT_EQ(stream_->GetC(), -1);
  EXPECT_EQ(stream_->Tell(), 20);
  ASSERT_TRUE(stream_->Seek(-1, SEEK_END));
  EXPECT_EQ(stream_->GetC(), 'J');
}

TEST_P(StreamScript, SizeLeavesThePositionWhereItWas) {
  ASSERT_TRUE(stream_->Seek(7, SEEK_SET));
  EXPECT_EQ(stream_->Size(), 20);
  EXPECT_EQ(stream_->Tell(), 7);
  EXPECT_EQ(stream_->GetC(), '7');
}

TEST_P(StreamScript, PutCWritesOneByte) {
  ASSERT_TRUE(stream_->Seek(0, SEEK_SET));
  EXPECT_TRUE(stream_->PutC('x'));
  ASSERT_TRUE(stream_->Seek(0, SEEK_SET));
  EXPECT_EQ(stream_->GetC(), 'x');
  EXPECT_EQ(stream_->Size(), 20);
}

INSTANTIATE_TEST_SUITE_P(BothStreams, StreamScript,
                         ::testing::Values(StreamKind{"memory", MakeMem}, StreamKind{"file", MakeIO}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(IxMemFileTest, SeekBeforeTheStartStopsAtZero) {
  IxMemFile f;
  ASSERT_TRUE(f.Open());
  f.Write("abc", 1, 3);
  EXPECT_TRUE(f.Seek(-5, SEEK_SET));
  EXPECT_EQ(f.Tell(), 0);
}

TEST(IxIOFileTest, SeekBeforeTheStartFailsLikeTheFile) {
  FILE* fp = tmpfile();
  ASSERT_NE(fp, nullptr);
  IxIOFile f(fp);
  f.Write("abc", 1, 3);
  EXPECT_FALSE(f.Seek(-5, SEEK_SET));
  fclose(fp);
}

TEST(IxMemFileTest, GrowsInStepsOf4096) {
  IxMemFile f;
  ASSERT_TRUE(f.Open());
  EXPECT_FALSE(f.Open());  // refused while a buffer is there
  EXPECT_EQ(f.AllocatedLength(), 0u);
  f.PutC(1);
  EXPECT_EQ(f.AllocatedLength(), 4096u);
  std::string block(4095, 'z');
  EXPECT_EQ(f.Write(block.data(), 1, block.size()), block.size());
  EXPECT_EQ(f.AllocatedLength(), 4096u);
  f.PutC(2);  // the 4097th byte
  EXPECT_EQ(f.AllocatedLength(), 8192u);
  EXPECT_EQ(f.Size(), 4097);
}

TEST(IxMemFileTest, GrowingACallersBufferCopiesItInsteadOfReallocating) {
  // A buffer on the stack: reallocating it would be fatal.
  uint8_t caller[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  IxMemFile f(caller, sizeof(caller));
  ASSERT_TRUE(f.Seek(0, SEEK_END));
  EXPECT_EQ(f.Write("ab", 1, 2), 2u);
  uint8_t* grown = f.GetBuffer(true);
  ASSERT_NE(grown, caller);
  EXPECT_EQ(memcmp(grown, caller, 8), 0);
  EXPECT_EQ(grown[8], 'a');
  EXPECT_EQ(caller[7], 8);
  free(grown);
}

TEST(IxMemFileTest, AWriteAfterAGapZeroFillsTheGap) {
  IxMemFile f;
  ASSERT_TRUE(f.Open());
  f.Write("abcd", 1, 4);
  // The bytes between the old end and a write past it must read back as zero, not as heap.
  ASSERT_TRUE(f.Seek(100, SEEK_SET));
  EXPECT_EQ(f.Write("z", 1, 1), 1u);
  EXPECT_EQ(f.Size(), 101);
  ASSERT_TRUE(f.Seek(4, SEEK_SET));
  for (int i = 4; i < 100; ++i) ASSERT_EQ(f.GetC(), 0) << "gap byte " << i;
  EXPECT_EQ(f.GetC(), 'z');
}

TEST(IxMemFileTest, EmptyStreamAnswersLikeAClosedOne) {
  IxMemFile f;
  char c;
  EXPECT_EQ(f.Read(&c, 1, 1), 0u);
  EXPECT_EQ(f.Tell(), -1);
  EXPECT_EQ(f.Size(), -1);
  EXPECT_TRUE(f.Eof());
  EXPECT_EQ(f.Error(), -1);
  EXPECT_FALSE(f.PutC('a'));
  EXPECT_EQ(f.GetC(), -1);
}

TEST(IxMemFileTest, UnreadIsWhatFollowsThePositionInPlace) {
  uint8_t data[6] = {'a', 'b', 'c', 'd', 'e', 'f'};
  IxMemFile f(data, sizeof(data));
  ASSERT_EQ(f.GetC(), 'a');
  size_t count = 99;
  EXPECT_EQ(f.Unread(&count), data + 1);
  EXPECT_EQ(count, 5u);
  ASSERT_TRUE(f.Seek(0, SEEK_END));
  EXPECT_EQ(f.Unread(&count), nullptr);
  EXPECT_EQ(count, 0u);
  // Past the end, and on a stream with no memory, there is nothing either.
  ASSERT_TRUE(f.Seek(10, SEEK_SET));
  EXPECT_EQ(f.Unread(&count), nullptr);
  EXPECT_EQ(count, 0u);
  IxMemFile empty;
  EXPECT_EQ(empty.Unread(&count), nullptr);
}

TEST(IxIOFileTest, AFileOffersNoBytesInPlace) {
  FILE* fp = tmpfile();
  ASSERT_NE(fp, nullptr);
  fputs("abc", fp);
  rewind(fp);
  {
    IxIOFile f(fp);
    size_t count = 99;
    EXPECT_EQ(f.Unread(&count), nullptr);
    EXPECT_EQ(count, 0u);
  }
  fclose(fp);
}

TEST(IxIOFileTest, AStreamOverACallersFileNeverClosesIt) {
  FILE* fp = tmpfile();
  ASSERT_NE(fp, nullptr);
  {
    IxIOFile f(fp);
    EXPECT_TRUE(f.PutC('a'));
    EXPECT_TRUE(f.Close());
  }
  EXPECT_EQ(fputc('b', fp), 'b');
  EXPECT_EQ(fflush(fp), 0);
  rewind(fp);
  EXPECT_EQ(fgetc(fp), 'a');
  EXPECT_EQ(fgetc(fp), 'b');
  fclose(fp);
}

TEST(IxIOFileTest, WithoutAFileEverythingFailsQuietly) {
  IxIOFile f;
  char c;
  EXPECT_EQ(f.Read(&c, 1, 1), 0u);
  EXPECT_FALSE(f.Seek(0, SEEK_SET));
  EXPECT_EQ(f.Size(), -1);
  EXPECT_TRUE(f.Eof());
  EXPECT_EQ(f.Error(), -1);
  EXPECT_EQ(f.GetC(), -1);
  EXPECT_TRUE(f.Close());
}

}  // namespace
