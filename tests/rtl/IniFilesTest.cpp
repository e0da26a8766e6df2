// TMemIniFile and TIniFile.
#include <gtest/gtest.h>

#include "Printers.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/TStringList.h"
#include "support/SharedData.h"
#include "support/TempDir.h"

namespace {

TEST(IniFiles, MemoryFileReadsWritesAndKeepsItsEncoding) {
  testsupport::TempDir tmp;
  std::string name = tmp.write("a.ini",
                               "\xEF\xBB\xBF; settings\r\n[Main]\r\n Width = 300 \r\nFlag=1\r\nwidth=dup\r\n"
                               "[Text]\r\nTitle=Ti\xE1\xBA\xBFng\r\n");
  {
    TMemIniFile ini(name.c_str());
    EXPECT_EQ(300, ini.ReadInteger("MAIN", "width", 0));  // first of duplicates, names ignore case
    EXPECT_TRUE(ini.ReadBool("Main", "Flag", false));
    EXPECT_EQ(7, ini.ReadInteger("Main", "Missing", 7));
    EXPECT_EQ(AnsiString("Ti\xE1\xBA\xBFng"), ini.ReadString("Text", "Title", ""));
    EXPECT_TRUE(ini.SectionExists("text"));
    EXPECT_FALSE(ini.ValueExists("Text", "Other"));
    ini.WriteString("Text", "Other", "x");
    ini.WriteBool("New", "On", true);
    ini.DeleteKey("Main", "Flag");
    TStringList keys;
    ini.ReadSection("Main", &keys);
    EXPECT_EQ(AnsiString("Width"), keys.CommaText());
    ini.ReadSections(&keys);
    EXPECT_EQ(AnsiString("Main,Text,New"), keys.CommaText());
    ini.ReadSectionValues("Text", &keys);
    EXPECT_EQ(AnsiString("Title=Ti\xE1\xBA\xBFng,Other=x"), keys.CommaText());
    ini.UpdateFile();
  }
  std::vector<uint8_t> bytes = testsupport::ReadFileBytes(name);
  std::string text(bytes.begin(), bytes.end());
  EXPECT_EQ(0u, text.find("\xEF\xBB\xBF[Main]\r\nWidth=300\r\n"));
  EXPECT_NE(std::string::npos, text.find("[New]\r\nOn=1\r\n"));
  TMemIniFile again(name.c_str());
  EXPECT_EQ(AnsiString("x"), again.ReadString("Text", "Other", ""));
  again.EraseSection("Text");
  EXPECT_FALSE(again.SectionExists("Text"));
}

TEST(IniFiles, IniFileWritesAtOnceAndReadsAnew) {
  testsupport::TempDir tmp;
  std::string name = tmp.file("b.ini");
  TIniFile ini(name.c_str());
  EXPECT_EQ(AnsiString("def"), ini.ReadString("S", "K", "def"));  // no file yet
  ini.WriteString("S", "K", "one");
  TIniFile other(name.c_str());
  EXPECT_EQ(AnsiString("one"), other.ReadString("S", "K", ""));
  tmp.write("b.ini", "[S]\nK=two\n");
  EXPECT_EQ(AnsiString("two"), ini.ReadString("S", "K", ""));
  TIniFile nowhere(tmp.file("no/such/c.ini").c_str());
  EXPECT_THROW(nowhere.WriteString("S", "K", "v"), EFCreateError);
}

}  // namespace
