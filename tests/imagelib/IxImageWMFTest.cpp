// Metafiles are not rendered: every decode fails with "corrupted WMF" (so detection goes on to
// the next class) and every save is refused.
#include <gtest/gtest.h>

#include <vector>

#include "BridgeTestSupport.h"
#include "imagelib/IxImageWMF.h"

namespace {

TEST(IxImageWMF, DecodeFailsCleanlyAndSaveIsRefused) {
  // A placeable metafile header (key, handle, box, 1440 units per inch, checksum) and a header.
  std::vector<uint8_t> placeable = {0xD7, 0xCD, 0xC6, 0x9A, 0, 0, 0, 0, 0, 0, 0x40, 0x01, 0xF0, 0x00,
                                    0xA0, 0x05, 0,    0,    0, 0, 0, 0, 1, 0, 9,    0,    0,    3};
  IxImage img;
  EXPECT_FALSE(bridgetest::DecodeBytes(img, placeable, IXIMAGE_FORMAT_WMF));
  EXPECT_STREQ(img.GetLastError(), "corrupted WMF");
  EXPECT_FALSE(img.IsValid());

  IxImage pic(4, 4, 24, 0);
  bool ok = true;
  bridgetest::EncodeBytes(pic, IXIMAGE_FORMAT_WMF, &ok);
  EXPECT_FALSE(ok);
  EXPECT_STREQ(pic.GetLastError(), "Save WMF not supported");
}

}  // namespace
