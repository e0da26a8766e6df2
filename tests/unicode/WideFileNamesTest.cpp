#include <gtest/gtest.h>

#include <string>

#include "unicode/WideFileNames.h"

namespace {

struct NameCase {
  std::u16string name;
  std::u16string path, dir, file, ext, drive, withMms;
};

class WideFileNameTable : public ::testing::TestWithParam<NameCase> {};

TEST_P(WideFileNameTable, SplitsTheName) {
  const NameCase& c = GetParam();
  WideString name(c.name);
  EXPECT_EQ(WideExtractFilePath(name).ToU16(), c.path);
  EXPECT_EQ(WideExtractFileDir(name).ToU16(), c.dir);
  EXPECT_EQ(WideExtractFileName(name).ToU16(), c.file);
  EXPECT_EQ(WideExtractFileExt(name).ToU16(), c.ext);
  EXPECT_EQ(WideExtractFileDrive(name).ToU16(), c.drive);
  EXPECT_EQ(WideChangeFileExt(name, u".mms").ToU16(), c.withMms);
}

INSTANTIATE_TEST_SUITE_P(
    Names, WideFileNameTable,
    ::testing::Values(
        NameCase{u"/a/b.c/name", u"/a/b.c/", u"/a/b.c", u"name", u"", u"", u"/a/b.c/name.mms"},
        NameCase{u"C:\\x.y\\name", u"C:\\x.y\\", u"C:\\x.y", u"name", u"", u"C:", u"C:\\x.y\\name.mms"},
        NameCase{u"a", u"", u"", u"a", u"", u"", u"a.mms"}, NameCase{u"", u"", u"", u"", u"", u"", u".mms"},
        NameCase{u"/", u"/", u"/", u"", u"", u"", u"/.mms"},
        NameCase{u"C:\\f.txt", u"C:\\", u"C:\\", u"f.txt", u".txt", u"C:", u"C:\\f.mms"},
        NameCase{u"//srv/share/d/f", u"//srv/share/d/", u"//srv/share/d", u"f", u"", u"//srv/share",
                 u"//srv/share/d/f.mms"},
        NameCase{u"\\\\srv\\share\\d\\f", u"\\\\srv\\share\\d\\", u"\\\\srv\\share\\d", u"f", u"",
                 u"\\\\srv\\share", u"\\\\srv\\share\\d\\f.mms"},
        NameCase{u"a:b.txt", u"a:", u"a:", u"b.txt", u".txt", u"a:", u"a:b.mms"},
        NameCase{u"dir.d/1:2.txt", u"dir.d/", u"dir.d", u"1:2.txt", u".txt", u"", u"dir.d/1:2.mms"}));

TEST(WideFileNames, TrailingDelimiters) {
  EXPECT_EQ(WideIncludeTrailingPathDelimiter(u"").ToU16(), u"/");
  EXPECT_EQ(WideIncludeTrailingPathDelimiter(u"/a").ToU16(), u"/a/");
  EXPECT_EQ(WideIncludeTrailingBackslash(u"C:\\a\\").ToU16(), u"C:\\a\\");
  EXPECT_EQ(WideExcludeTrailingPathDelimiter(u"/a//").ToU16(), u"/a/");
  EXPECT_EQ(WideExcludeTrailingBackslash(u"a").ToU16(), u"a");
  EXPECT_EQ(WideLastDelimiter(u"./", u"a/b.c"), 4);
  EXPECT_EQ(WideLastDelimiter(u";", u"abc"), 0);
  EXPECT_TRUE(WideIsPathDelimiter(u"a\\", 2));
  EXPECT_FALSE(WideIsPathDelimiter(u"a\\", 3));
  EXPECT_TRUE(WideIsDelimiter(u";,", u"a,b", 2));
  EXPECT_FALSE(WideIsDelimiter(u";,", u"a,b", 0));
}

TEST(WideFileNames, RelativePaths) {
  EXPECT_EQ(WideExtractRelativePath(u"/a/b/base.txt", u"/a/c/d/f.txt").ToU16(), u"../c/d/f.txt");
  EXPECT_EQ(WideExtractRelativePath(u"/a/b/", u"/a/b/f.txt").ToU16(), u"f.txt");
  EXPECT_EQ(WideExtractRelativePath(u"C:\\A\\x", u"c:\\a\\B\\f").ToU16(), u"B/f");
  EXPECT_EQ(WideExtractRelativePath(u"C:\\a\\x", u"D:\\a\\f").ToU16(), u"D:\\a\\f");
}

TEST(WideFileNames, ExpandedNamesHaveNoLengthLimit) {
  std::u16string deep = u"/tmp";
  while (deep.size() < 700) deep += u"/\u1780\u1781\u1782";
  EXPECT_EQ(WideExpandFileName(WideString(deep + u"/x/../f")).ToU16(), deep + u"/f");
  EXPECT_EQ(WideExtractShortPathName(u"/tmp").ToU16(), u"/tmp");
  EXPECT_EQ(WideExtractShortPathName(WideString(deep)).ToU16(), u"") << "a path that does not exist";
}

}  // namespace
