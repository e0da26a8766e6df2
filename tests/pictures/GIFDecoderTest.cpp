#include <gtest/gtest.h>

#include "GifFixtures.h"
#include "pictures/TGIFSubImage.h"

using namespace giftest;

TEST(GIFDecoder, PlainFrameDecodes) {
  Bytes pixels = {0, 1, 2, 3, 3, 2, 1, 0};
  Bytes gif = Header(4, 2);
  Append(gif, PlainFrame(4, 2, pixels));
  gif.push_back(0x3B);
  TGIFImage image;
  auto warnings = Load(image, gif);
  EXPECT_TRUE(warnings.empty());
  ASSERT_EQ(image.Images()->Count(), 1);
  EXPECT_EQ(image.Images()->GetImage(0)->Pixels(), pixels);
}
