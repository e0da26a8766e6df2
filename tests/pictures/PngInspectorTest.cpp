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

}  // namespace
