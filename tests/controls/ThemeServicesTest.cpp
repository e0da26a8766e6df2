// Theme services are absent: the theme library does not load and no entry point resolves, so
// themed controls take their classic look; the loader seam can pretend otherwise.
#include <gtest/gtest.h>

#include "platform/controls/ThemeServices.h"
#include "platform/rtl/LastError.h"

namespace {

void Marker() {}

TEST(ThemeServices, TheThemeLibraryIsAbsentUnlessATestSimulatesIt) {
  EXPECT_EQ(LoadLibraryA("uxtheme.dll"), nullptr);
  EXPECT_EQ(GetLastError(), 126u);
  for (const char* name : {"OpenThemeData", "IsThemeActive", "IsAppThemed", "DrawThemeBackground"})
    EXPECT_EQ(GetProcAddress(nullptr, name), nullptr) << name;
  EXPECT_EQ(platform::controls::kCommonControlsVersion, 0x50052u);
  HMODULE fake = reinterpret_cast<HMODULE>(uintptr_t(0x1000));
  platform::controls::SetLibraryLoader(
      [&](const std::string& n) { return n == "uxtheme.dll" ? fake : nullptr; },
      [](HMODULE, const std::string& n) { return n == "IsThemeActive" ? &Marker : nullptr; });
  EXPECT_EQ(LoadLibraryA("uxtheme.dll"), fake);
  EXPECT_EQ(GetProcAddress(fake, "IsThemeActive"), &Marker);
  EXPECT_EQ(GetProcAddress(fake, "OpenThemeData"), nullptr);
  platform::controls::SetLibraryLoader(nullptr, nullptr);
  EXPECT_EQ(LoadLibraryA("uxtheme.dll"), nullptr);
}

}  // namespace
