// Memory, file and handle streams.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "Printers.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/TFileStream.h"
#include "platform/rtl/TMemoryStream.h"
#include "support/SharedData.h"
#include "support/TempDir.h"

namespace {

std::string Contents(TCustomMemoryStream& s) {
  return std::string(static_cast<const char*>(s.Memory()), static_cast<std::size_t>(s.Size()));
}

TEST(MemoryStreams, WriteReadSeekAndGrow) {
  TMemoryStream m;
  EXPECT_EQ(0, m.Size());
  m.WriteBuffer("hello", 5);
  EXPECT_EQ(5, m.Position());
  EXPECT_EQ(2, m.Seek(-3, soFromCurrent));
  m.WriteBuffer("LLO!", 4);  // overwrites and extends
  EXPECT_EQ("heLLO!", Contents(m));
  EXPECT_EQ(-1, m.Seek(-1, soFromBeginning));
  EXPECT_EQ(8, m.Seek(2, soFromEnd));
  m.WriteBuffer("x", 1);  // past the end: the gap is zeros
  EXPECT_EQ(std::string("heLLO!\0\0x", 9), Contents(m));
  m.SetPosition(0);
  char buf[16] = {};
  EXPECT_EQ(9, m.Read(buf, 16));
  EXPECT_EQ(0, m.Read(buf, 16));
  m.SetPosition(7);
  EXPECT_THROW(m.ReadBuffer(buf, 3), EReadError);
  m.SetSize(2);
  EXPECT_EQ("he", Contents(m));
  EXPECT_EQ(2, m.Position());
  for (int i = 0; i < 100000; ++i) m.WriteBuffer("0123456789", 10);
  EXPECT_EQ(1000002, m.Size());
  EXPECT_GE(m.Capacity(), m.Size());
  m.Clear();
  EXPECT_EQ(0, m.Size());
  EXPECT_EQ(nullptr, m.Memory());
}

TEST(MemoryStreams, CopyFromAndFiles) {
  testsupport::TempDir tmp;
  TMemoryStream a;
  a.WriteBuffer("abcdef", 6);
  TMemoryStream b;
  EXPECT_EQ(6, b.CopyFrom(&a, 0));  // 0: the whole source from its start
  a.SetPosition(2);
  EXPECT_EQ(3, b.CopyFrom(&a, 3));
  EXPECT_EQ("abcdefcde", Contents(b));
  AnsiString file(tmp.file("m.bin"));
  b.SaveToFile(file);
  TMemoryStream c;
  c.LoadFromFile(file);
  EXPECT_EQ("abcdefcde", Contents(c));
  EXPECT_EQ(0, c.Position());
  EXPECT_THROW(c.LoadFromFile(tmp.file("missing")), EFOpenError);
  EXPECT_THROW(c.SaveToFile(tmp.file("no/such/m.bin")), EFCreateError);
  EXPECT_EQ("abcdefcde", Contents(c));
}

TEST(FileStreams, CreateOpenReadWrite) {
  testsupport::TempDir tmp;
  AnsiString name(tmp.file("\xE1\x9E\x80.bin"));  // a UTF-8 name
  {
    TFileStream f(name, fmCreate);
    f.WriteBuffer("12345", 5);
    EXPECT_EQ(5, f.Size());
    f.SetSize(3);
    EXPECT_EQ(3, f.Position());
  }
  {
    TFileStream f(name, fmOpenRead | fmShareDenyNone);
    char buf[8] = {};
    EXPECT_EQ(3, f.Read(buf, 8));
    EXPECT_STREQ("123", buf);
    EXPECT_EQ(0, f.Write("x", 1));  // read-only
    EXPECT_THROW(f.WriteBuffer("x", 1), EWriteError);
  }
  {
    TFileStream f(name, fmOpenReadWrite);
    f.Seek(0, soFromEnd);
    f.WriteBuffer("45", 2);
    TMemoryStream m;
    m.LoadFromStream(&f);
    EXPECT_EQ("12345", Contents(m));
  }
  try {
    TFileStream f(tmp.file("missing"), fmOpenRead);
    FAIL();
  } catch (const EFOpenError& e) {
    EXPECT_EQ("Cannot open file " + AnsiString(tmp.file("missing")), e.Message);
  }
  try {
    TFileStream f(tmp.file("no/such/file"), fmCreate);
    FAIL();
  } catch (const EFCreateError& e) {
    EXPECT_EQ("Cannot create file " + AnsiString(tmp.file("no/such/file")), e.Message);
  }
  EXPECT_THROW(TFileStream(AnsiString(tmp.path()), fmOpenRead), EFOpenError);  // a folder
}

TEST(FileStreams, ReadsAMessageFileMadeByOthers) {
  std::vector<std::string> files = testsupport::SharedFiles("testdata/mms");
  ASSERT_FALSE(files.empty());
  std::vector<uint8_t> expected = testsupport::ReadFileBytes(files[0]);
  TMemoryStream m;
  m.LoadFromFile(AnsiString(files[0]));
  ASSERT_EQ(static_cast<std::int64_t>(expected.size()), m.Size());
  EXPECT_EQ(0, std::memcmp(expected.data(), m.Memory(), expected.size()));
}

}  // namespace
