// The system icons of the message dialogs: each of the four names gives its own 32 x 32 icon,
// drawn in its colour with a see-through corner; other names and instances give none.
#include <cstdint>

#include "ControlsTestSupport.h"
#include "platform/controls/SystemIcons.h"

namespace {

// The one 32 x 32 image of 32 bits the icon files hold: its colour at (x, y) (rows stored
// bottom-up, blue-green-red-alpha) and whether its AND mask lets the screen through there.
struct IconImage {
  const std::uint8_t* data;
  std::uint32_t Colour(int x, int y) const {
    const std::uint8_t* p = data + 22 + 40 + ((31 - y) * 32 + x) * 4;
    return std::uint32_t(p[2]) << 16 | std::uint32_t(p[1]) << 8 | p[0];
  }
  bool SeeThrough(int x, int y) const {
    return data[22 + 40 + 4096 + (31 - y) * 4 + x / 8] & (0x80 >> (x % 8));
  }
};

TEST(SystemIconsTest, TheFourDialogIconsLoadAndOthersDoNot) {
  struct Case {
    std::uintptr_t id;
    std::uint32_t centreColour;  // 0xRRGGBB at a point of the icon's background shape
    int x, y;
  };
  const Case cases[] = {{IDI_HAND, 0xD42020, 5, 16},
                        {IDI_QUESTION, 0x2F6FD0, 5, 16},
                        {IDI_EXCLAMATION, 0xF2C200, 10, 26},
                        {IDI_ASTERISK, 0x2F6FD0, 5, 16}};
  std::vector<HICON> seen;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    HICON icon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(c.id));
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(c.id)), icon);
    for (HICON other : seen) EXPECT_NE(other, icon);
    seen.push_back(icon);
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
    ASSERT_TRUE(platform::controls::IconFileOf(icon, data, size));
    ASSERT_EQ(size, 22u + 40 + 32 * 32 * 4 + 32 * 4);
    EXPECT_EQ(data[6], 32);  // the directory's one entry: 32 x 32
    EXPECT_EQ(data[7], 32);
    const IconImage image{data};
    EXPECT_EQ(image.Colour(c.x, c.y), c.centreColour);
    EXPECT_FALSE(image.SeeThrough(c.x, c.y));
    EXPECT_TRUE(image.SeeThrough(0, 0));  // the corner lets the window show through
  }
  SetLastError(0);
  EXPECT_EQ(LoadIconA(nullptr, reinterpret_cast<LPCSTR>(std::uintptr_t(0x7F00))), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_RESOURCE_NAME_NOT_FOUND);
  EXPECT_EQ(LoadIconA(nullptr, "IDI_HAND"), nullptr);
  EXPECT_EQ(
      LoadIconA(reinterpret_cast<HINSTANCE>(std::uintptr_t(0x400000)), reinterpret_cast<LPCSTR>(IDI_HAND)),
      nullptr);
  const std::uint8_t* data = nullptr;
  std::size_t size = 0;
  EXPECT_FALSE(platform::controls::IconFileOf(reinterpret_cast<HICON>(std::uintptr_t(0x1234)), data, size));
}

}  // namespace
