// Theme services with no theme library (this system) and with a pretend one installed through
// the platform's library loader, to check what the object does when visual styles are on.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <type_traits>

#include "controls/TThemeServices.h"
#include "controls/ThemeLibrary.h"
#include "FakeThemes.h"
#include "platform/backend/HeadlessDriver.h"
#include "platform/forms/PlatformStartup.h"
#include "platform/forms/TApplication.h"

namespace {

using skintest::FakeThemes;
using skintest::InstallFakeThemes;

class ThemeServicesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::Startup();
    FakeThemes::appThemed = true;
    FakeThemes::appProperties = STAP_ALLOW_NONCLIENT | STAP_ALLOW_CONTROLS;
    FakeThemes::comctlMajor = 6;
    FakeThemes::opened = FakeThemes::closed = 0;
    FakeThemes::classes.clear();
  }
  void TearDown() override {
    FreeThemeServices();
    controls_internal::ReleaseThemeLibrary();
    platform::controls::SetLibraryLoader(nullptr, nullptr);
    platform::Shutdown();
  }
};

TEST_F(ThemeServicesTest, WithoutAThemeLibraryNothingIsThemed) {
  TThemeServices* themes = ThemeServices();
  EXPECT_FALSE(themes->ThemesAvailable());
  EXPECT_FALSE(themes->GetThemesEnabled());
  EXPECT_EQ(themes->GetTheme(teTrackBar), nullptr);
  EXPECT_EQ(IsAppThemed, nullptr);
  // The wrappers do nothing and answer as an unthemed system would.
  const RECT r{0, 0, 10, 10};
  themes->DrawElement(nullptr, TThemeServices::GetElementDetails(ttbThumbNormal), r);
  EXPECT_FALSE(themes->HasTransparentParts(TThemeServices::GetElementDetails(ttbTrack)));
  const RECT content = themes->ContentRect(nullptr, TThemeServices::GetElementDetails(teEditTextNormal), r);
  EXPECT_EQ(content.right, 10);
  EXPECT_EQ(themes->ColorToRGB(clRed), ColorToRGB(clRed));
}

TEST_F(ThemeServicesTest, AThemedDesktopOpensHandlesOnDemandAndFollowsThemeChanges) {
  InstallFakeThemes();
  TThemeServices* themes = ThemeServices();
  ASSERT_TRUE(themes->GetThemesEnabled());
  HTHEME track = themes->GetTheme(teTrackBar);
  EXPECT_NE(track, nullptr);
  EXPECT_EQ(themes->GetTheme(teTrackBar), track);
  EXPECT_EQ(FakeThemes::classes[u"trackbar"], 1);
  themes->GetTheme(teEdit);
  EXPECT_EQ(FakeThemes::classes[u"edit"], 1);

  int changes = 0;
  themes->OnThemeChange = [&](TObject* sender) {
    EXPECT_EQ(sender, themes);
    ++changes;
  };
  // The desktop turns visual styles off for controls, then back on.
  FakeThemes::appProperties = STAP_ALLOW_NONCLIENT;
  SendMessageA(Application->Handle(), WM_THEMECHANGED, 0, 0);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(FakeThemes::closed, 2);
  EXPECT_FALSE(themes->GetThemesEnabled());
  FakeThemes::appProperties = STAP_ALLOW_CONTROLS;
  SendMessageA(Application->Handle(), WM_THEMECHANGED, 0, 0);
  EXPECT_TRUE(themes->GetThemesEnabled());
  EXPECT_NE(themes->GetTheme(teTrackBar), nullptr);
  EXPECT_EQ(FakeThemes::classes[u"trackbar"], 2);
}

TEST_F(ThemeServicesTest, OldCommonControlsOrAnUnthemedApplicationKeepTheClassicLook) {
  InstallFakeThemes();
  FakeThemes::comctlMajor = 5;
  {
    TThemeServices themes(nullptr);
    EXPECT_TRUE(themes.ThemesAvailable());
    EXPECT_FALSE(themes.GetThemesEnabled());
    EXPECT_EQ(themes.GetTheme(teButton), nullptr);
  }
  FakeThemes::comctlMajor = 6;
  FakeThemes::appThemed = false;
  TThemeServices themes(nullptr);
  EXPECT_FALSE(themes.GetThemesEnabled());
}

TEST_F(ThemeServicesTest, TheLibraryStaysLoadedWhileReferenced) {
  InstallFakeThemes();
  EXPECT_TRUE(InitThemeLibrary());
  EXPECT_TRUE(InitThemeLibrary());
  FreeThemeLibrary();
  EXPECT_NE(IsAppThemed, nullptr);
  EXPECT_TRUE(UseThemes());
  FreeThemeLibrary();
  EXPECT_EQ(IsAppThemed, nullptr);
  EXPECT_FALSE(UseThemes());
  FreeThemeLibrary();  // one too many does nothing
  EXPECT_TRUE(InitThemeLibrary());
  FreeThemeLibrary();
}

TEST(ThemedElementDetails, ValuesMapToPartsAndStates) {
  struct Case {
    TThemedElementDetails got;
    TThemedElement element;
    int part, state;
  } cases[] = {
      {TThemeServices::GetElementDetails(ttbTrackBarDontCare), teTrackBar, 0, 1},
      {TThemeServices::GetElementDetails(ttbTrackBarRoot), teTrackBar, 0, 2},
      {TThemeServices::GetElementDetails(ttbTrack), teTrackBar, 1, 1},
      {TThemeServices::GetElementDetails(ttbTrackVert), teTrackBar, 2, 1},
      {TThemeServices::GetElementDetails(ttbThumbNormal), teTrackBar, 3, 1},
      {TThemeServices::GetElementDetails(ttbThumbDisabled), teTrackBar, 3, 5},
      {TThemeServices::GetElementDetails(ttbThumbBottomHot), teTrackBar, 4, 2},
      {TThemeServices::GetElementDetails(ttbThumbTopPressed), teTrackBar, 5, 3},
      {TThemeServices::GetElementDetails(ttbThumbVertFocused), teTrackBar, 6, 4},
      {TThemeServices::GetElementDetails(ttbThumbLeftNormal), teTrackBar, 7, 1},
      {TThemeServices::GetElementDetails(ttbThumbRightDisabled), teTrackBar, 8, 5},
      {TThemeServices::GetElementDetails(ttbThumbTics), teTrackBar, 9, 1},
      {TThemeServices::GetElementDetails(ttbThumbTicsVert), teTrackBar, 10, 1},
      {TThemeServices::GetElementDetails(tbPushButtonDefaulted), teButton, 1, 5},
      {TThemeServices::GetElementDetails(tbCheckBoxMixedDisabled), teButton, 3, 12},
      {TThemeServices::GetElementDetails(tbUserButton), teButton, 5, 1},
      {TThemeServices::GetElementDetails(teEditCaret), teEdit, 2, 1},
      {TThemeServices::GetElementDetails(tsSizeBoxLeftAlign), teScrollBar, 10, 2},
      {TThemeServices::GetElementDetails(tttClosePressed), teToolTip, 5, 3},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.got.Element, c.element);
    EXPECT_EQ(c.got.Part, c.part) << c.element << " " << c.state;
    EXPECT_EQ(c.got.State, c.state) << c.element << " " << c.part;
  }
}

}  // namespace
