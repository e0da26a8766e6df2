// The picture inspector saving every suite picture through the PNG picture class, judged by
// Pillow: the saved file must decode to the original's samples.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "PngTestSupport.h"
#include "support/TempDir.h"

using namespace pngtest;

namespace {

std::filesystem::path Inspector() {
  char path[4096] = {};
  const ssize_t n = readlink("/proc/self/exe", path, sizeof(path) - 1);
  if (n <= 0) return {};
  return std::filesystem::path(path).parent_path().parent_path().parent_path() / "tools" / "pictureinfo";
}

TEST(PngInspector, SavedSuiteFilesGivePillowTheSameSamples) {
  const std::filesystem::path tool = Inspector();
  if (!std::filesystem::exists(tool)) GTEST_SKIP() << "tools/pictureinfo is not built";
  if (std::system("/usr/bin/python3 -c 'import PIL' 2>/dev/null") != 0) GTEST_SKIP() << "Pillow is missing";
  testsupport::TempDir dir;
  std::string list;
  for (const std::string& name : ValidSuiteFiles()) list += SuitePath(name) + " " + dir.file(name) + "\n";
  std::ofstream(dir.file("pairs.txt")) << list;
  // One inspector run per file, four at a time.
  const std::string runs = "xargs -P 4 -L 1 sh -c '" + tool.string() +
                           " \"$0\" --save \"$1\" > /dev/null' < " + dir.file("pairs.txt");
  ASSERT_EQ(std::system(runs.c_str()), 0);
  std::ofstream(dir.file("compare.py")) << R"(import sys
from PIL import Image
bad = []
for line in open(sys.argv[1]):
    original, saved = line.split()
    a, b = Image.open(original), Image.open(saved)
    a.load(); b.load()
    if a.mode != b.mode or a.size != b.size or a.tobytes() != b.tobytes() or \
       (a.mode == 'P' and a.getpalette() != b.getpalette()):
        bad.append(original)
open(sys.argv[2], 'w').write('\n'.join(bad))
)";
  ASSERT_EQ(std::system(("/usr/bin/python3 " + dir.file("compare.py") + " " + dir.file("pairs.txt") + " " +
                         dir.file("bad.txt"))
                            .c_str()),
            0);
  const auto bad = testsupport::ReadFileBytes(dir.file("bad.txt"));
  EXPECT_EQ(std::string(bad.begin(), bad.end()), "");
}

TEST(PngInspector, HalfTransparentPixelsAreBlendedOverWhiteOnce) {
  const std::filesystem::path tool = Inspector();
  if (!std::filesystem::exists(tool)) GTEST_SKIP() << "tools/pictureinfo is not built";
  testsupport::TempDir dir;
  // Black at alpha 128 beside opaque red.
  const Bytes picture = Simple(2, 1, 8, 6, {0, 0, 0, 0, 128, 255, 0, 0, 255});
  const std::string input = dir.write("half.png", std::string(picture.begin(), picture.end()));
  for (const char* play : {"0", "500"}) {
    const std::string out = dir.file(std::string("sheet") + play + ".png");
    ASSERT_EQ(
        std::system(
            (tool.string() + " " + input + " --out " + out + " --play " + play + " > /dev/null").c_str()),
        0);
    Samples sheet;
    ASSERT_TRUE(Libpng::Get().Read(testsupport::ReadFileBytes(out), sheet)) << play;
    ASSERT_EQ(sheet.width, 2u);
    ASSERT_GE(sheet.channels, 3);
    const int c = sheet.channels;
    for (int k = 0; k < 3; ++k) EXPECT_NEAR(sheet.values[k], 127, 1) << "play " << play << " channel " << k;
    EXPECT_EQ(sheet.values[c], 255);
    EXPECT_EQ(sheet.values[c + 1], 0);
  }
}

}  // namespace
