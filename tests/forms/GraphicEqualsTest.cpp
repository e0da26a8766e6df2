// TGraphic::Equals: the same object, the same class with the same stream image, and the cases
// that are never equal.
#include <gtest/gtest.h>

#include "platform/forms/TBitmap.h"
#include "platform/forms/TJPEGImage.h"
#include "platform/rtl/TMemoryStream.h"
#include "support/SharedData.h"

TEST(GraphicEquals, ComparesClassEmptinessAndStreamImage) {
  const std::string path = testsupport::SharedPath("testdata/pillow/bmp/g_pal8.bmp");
  TBitmap a, copy, changed, empty, otherEmpty;
  a.LoadFromFile(path.c_str());
  copy.LoadFromFile(path.c_str());
  changed.LoadFromFile(path.c_str());
  static_cast<BYTE*>(changed.ScanLine(0))[0] ^= 1;
  TJPEGImage jpeg;
  struct Case {
    const char* name;
    TGraphic* left;
    TGraphic* right;
    bool equal;
  };
  const Case cases[] = {
      {"itself", &a, &a, true},
      {"a copy loaded from the same file", &a, &copy, true},
      {"one pixel changed", &a, &changed, false},
      {"an empty bitmap", &a, &empty, false},
      {"two empty bitmaps", &empty, &otherEmpty, true},
      {"another class", &empty, &jpeg, false},
      {"nothing", &a, nullptr, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.left->Equals(c.right), c.equal);
  }
}
