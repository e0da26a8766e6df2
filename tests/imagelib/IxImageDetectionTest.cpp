// Format detection over every suite: TGA has no signature and WBMP a weak one, so each file
// that its own class reads must come out of detection with its own format id, not another's.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BridgeTestSupport.h"
#include "support/SharedData.h"

namespace {

TEST(IxImageDetection, NoSuiteFileIsTakenByAnotherClass) {
  struct Suite {
    const char* folder;
    const char* suffix;
    uint32_t id;
  };
  const Suite suites[] = {
      {"testdata/pillow/bmp", ".bmp", IXIMAGE_FORMAT_BMP},
      {"testdata/gif", ".gif", IXIMAGE_FORMAT_GIF},
      {"testdata/pillow/jpeg", ".jpg", IXIMAGE_FORMAT_JPG},
      {"testdata/png", ".png", IXIMAGE_FORMAT_PNG},
      {"testdata/pillow/ico", ".ico", IXIMAGE_FORMAT_ICO},
      {"testdata/pillow/tiff", "", IXIMAGE_FORMAT_TIF},
      {"testdata/pillow/tga", ".tga", IXIMAGE_FORMAT_TGA},
      {"testdata/pillow/pcx", ".pcx", IXIMAGE_FORMAT_PCX},
  };
  int checked = 0;
  for (const Suite& s : suites) {
    for (const std::string& path : testsupport::SharedFiles(s.folder, s.suffix)) {
      const std::vector<uint8_t> bytes = testsupport::ReadFileBytes(path);
      IxImage typed;
      // Only files the class itself reads say anything about who detection hands them to.
      if (!bridgetest::DecodeBytes(typed, bytes, s.id)) continue;
      IxImage detected;
      ASSERT_TRUE(bridgetest::DecodeBytes(detected, bytes, IXIMAGE_FORMAT_UNKNOWN)) << path;
      EXPECT_EQ(detected.GetType(), s.id) << path;
      ++checked;
    }
  }
  EXPECT_GE(checked, 350);
}

}  // namespace
