// Settings keys kept as INI files under the configuration folder.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/rtl/TRegIniFile.h"
#include "support/TempDir.h"

namespace {

class RegIniFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* old = std::getenv("XDG_CONFIG_HOME");
    saved = old ? old : "";
    hadOld = old != nullptr;
    setenv("XDG_CONFIG_HOME", dir.path().c_str(), 1);
  }
  void TearDown() override {
    if (hadOld)
      setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
    else
      unsetenv("XDG_CONFIG_HOME");
  }
  testsupport::TempDir dir;
  std::string saved;
  bool hadOld = false;
};

TEST_F(RegIniFileTest, AKeyIsAFileUnderTheProgramsFolder) {
  const std::string folder = platform::RegistryFolder().ToStd();
  EXPECT_EQ(folder, dir.path() + "/rtl_tests");
  EXPECT_EQ(platform::RegistryKeyFile("\\Software\\Skins").ToStd(), folder + "/Software/Skins.ini");
  // Parts that would leave the folder are dropped.
  EXPECT_EQ(platform::RegistryKeyFile("\\..\\..\\etc\\.\\x").ToStd(), folder + "/etc/x.ini");
  EXPECT_EQ(platform::RegistryKeyFile("\\").ToStd(), folder + "/root.ini");
}

TEST_F(RegIniFileTest, AMissingKeyReadsAsAbsentAndTheFirstWriteMakesIt) {
  const std::string file = platform::RegistryFolder().ToStd() + "/Software/Skins/Demo.ini";
  {
    TRegIniFile key("\\Software\\Skins\\Demo");
    EXPECT_EQ(key.ReadString("Colors", "ColorA", "none"), "none");
    EXPECT_FALSE(key.SectionExists("Colors"));
    EXPECT_FALSE(std::filesystem::exists(file));
    key.WriteString("Colors", "ColorA", "FFFFFF");
    key.WriteInteger("Sizes", "Width", 42);
    key.WriteBool("Sizes", "Flat", true);
  }
  ASSERT_TRUE(std::filesystem::exists(file));
  std::ifstream in(file);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_NE(text.str().find("[Colors]"), std::string::npos);
  EXPECT_NE(text.str().find("ColorA=FFFFFF"), std::string::npos);
  TRegIniFile again("Software/Skins/Demo");
  EXPECT_EQ(again.ReadString("Colors", "ColorA", ""), "FFFFFF");
  EXPECT_EQ(again.ReadInteger("Sizes", "Width", 0), 42);
  EXPECT_TRUE(again.ReadBool("Sizes", "Flat", false));
  again.DeleteKey("Colors", "ColorA");
  EXPECT_FALSE(TRegIniFile("\\Software\\Skins\\Demo").ValueExists("Colors", "ColorA"));
  // No temporary is left beside the key.
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(file).parent_path()))
    files += entry.is_regular_file();
  EXPECT_EQ(files, 1);
}

}  // namespace
