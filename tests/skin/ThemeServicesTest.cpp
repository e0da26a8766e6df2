// Theme services with no theme library (this system) and with a pretend one installed through
// the platform's library loader, to check what the object does when visual styles are on.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <type_traits>

#include "FakeThemes.h"
#include "controls/TThemeServices.h"
#include "controls/ThemeLibrary.h"
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

// Spot checks against the theme API's part and state numbers: a miscounted part in an element's
// table shifts every value after it.
TEST(ThemedElementDetails, TheOtherElementsFollowTheThemePartNumbers) {
  struct Case {
    TThemedElementDetails got;
    TThemedElement element;
    int part, state;
  } cases[] = {
      {TThemeServices::GetElementDetails(twWindowDontCare), teWindow, 0, 1},
      {TThemeServices::GetElementDetails(twWindowRoot), teWindow, 0, 2},
      {TThemeServices::GetElementDetails(twCaptionActive), teWindow, 1, 1},
      {TThemeServices::GetElementDetails(twFrameBottomInactive), teWindow, 9, 2},
      {TThemeServices::GetElementDetails(twCloseButtonNormal), teWindow, 18, 1},
      {TThemeServices::GetElementDetails(twCloseButtonHot), teWindow, 18, 2},
      {TThemeServices::GetElementDetails(twCloseButtonPushed), teWindow, 18, 3},
      {TThemeServices::GetElementDetails(twCloseButtonDisabled), teWindow, 18, 4},
      {TThemeServices::GetElementDetails(twHorzThumbPushed), teWindow, 26, 3},
      {TThemeServices::GetElementDetails(twDialog), teWindow, 29, 1},
      {TThemeServices::GetElementDetails(ttabTabItemNormal), teTab, 1, 1},
      {TThemeServices::GetElementDetails(ttabTabItemHot), teTab, 1, 2},
      {TThemeServices::GetElementDetails(ttabTabItemSelected), teTab, 1, 3},
      {TThemeServices::GetElementDetails(ttabTabItemDisabled), teTab, 1, 4},
      {TThemeServices::GetElementDetails(ttabTabItemFocused), teTab, 1, 5},
      {TThemeServices::GetElementDetails(ttabTopTabItemNormal), teTab, 5, 1},
      {TThemeServices::GetElementDetails(ttabPane), teTab, 9, 1},
      {TThemeServices::GetElementDetails(thHeaderItemNormal), teHeader, 1, 1},
      {TThemeServices::GetElementDetails(thHeaderItemHot), teHeader, 1, 2},
      {TThemeServices::GetElementDetails(thHeaderItemPressed), teHeader, 1, 3},
      {TThemeServices::GetElementDetails(thHeaderItemLeftNormal), teHeader, 2, 1},
      {TThemeServices::GetElementDetails(tebHeaderPinSelectedPressed), teExplorerBar, 3, 6},
      {TThemeServices::GetElementDetails(tebNormalGroupHead), teExplorerBar, 8, 1},
      {TThemeServices::GetElementDetails(ttlbSplitButtonDropDownCheckedHot), teToolBar, 4, 6},
      {TThemeServices::GetElementDetails(ttlbSeparator), teToolBar, 5, 1},
      {TThemeServices::GetElementDetails(ttvGlyphOpened), teTreeview, 2, 2},
      {TThemeServices::GetElementDetails(tspLogOffButtonsPressed), teStartPanel, 9, 3},
      {TThemeServices::GetElementDetails(tmMenuBarItemSelected), teMenu, 3, 2},
      {TThemeServices::GetElementDetails(tlvListGroup), teListView, 2, 1},
      {TThemeServices::GetElementDetails(trbChevronHot), teRebar, 4, 2},
      {TThemeServices::GetElementDetails(tpgUpHorzPressed), tePage, 3, 3},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.got.Element, c.element);
    EXPECT_EQ(c.got.Part, c.part) << c.element << " " << c.state;
    EXPECT_EQ(c.got.State, c.state) << c.element << " " << c.part;
  }
}

// The last value of every enumeration is the last state of its element's last theme part, so no
// table is short or long.
TEST(ThemedElementDetails, EveryEnumerationEndsInItsElementsLastPart) {
  struct Case {
    TThemedElementDetails got;
    TThemedElement element;
    int part, state;
  } cases[] = {
      {TThemeServices::GetElementDetails(tbUserButton), teButton, 5, 1},
      {TThemeServices::GetElementDetails(tcDropDownButtonDisabled), teComboBox, 1, 4},
      {TThemeServices::GetElementDetails(teEditCaret), teEdit, 2, 1},
      {TThemeServices::GetElementDetails(tpChunkVert), teProgress, 4, 1},
      {TThemeServices::GetElementDetails(tsSizeBoxLeftAlign), teScrollBar, 10, 2},
      {TThemeServices::GetElementDetails(tsDownHorzDisabled), teSpin, 4, 4},
      {TThemeServices::GetElementDetails(tttClosePressed), teToolTip, 5, 3},
      {TThemeServices::GetElementDetails(ttbThumbTicsVert), teTrackBar, 10, 1},
      {TThemeServices::GetElementDetails(tcTimeNormal), teClock, 1, 1},
      {TThemeServices::GetElementDetails(tebSpecialGroupHead), teExplorerBar, 12, 1},
      {TThemeServices::GetElementDetails(thHeaderSortArrowSortedDown), teHeader, 4, 2},
      {TThemeServices::GetElementDetails(tlvEmptyText), teListView, 5, 1},
      {TThemeServices::GetElementDetails(tmSeparatorDemoted), teMenu, 6, 3},
      {TThemeServices::GetElementDetails(tpgDownHorzDisabled), tePage, 4, 4},
      {TThemeServices::GetElementDetails(trbChevronVertPressed), teRebar, 5, 3},
      {TThemeServices::GetElementDetails(tspPreview), teStartPanel, 11, 1},
      {TThemeServices::GetElementDetails(tstGripper), teStatus, 3, 1},
      {TThemeServices::GetElementDetails(ttabBody), teTab, 10, 1},
      {TThemeServices::GetElementDetails(ttbdFlashButtonGroupMenu), teTaskBand, 3, 1},
      {TThemeServices::GetElementDetails(ttkbSizingBarLeft), teTaskBar, 8, 1},
      {TThemeServices::GetElementDetails(ttlbSeparatorVert), teToolBar, 6, 1},
      {TThemeServices::GetElementDetails(ttnAnimBackground), teTrayNotify, 2, 1},
      {TThemeServices::GetElementDetails(ttvBranch), teTreeview, 3, 1},
      {TThemeServices::GetElementDetails(twSmallFrameBottomSizingTemplate), teWindow, 37, 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.got.Element, c.element);
    EXPECT_EQ(c.got.Part, c.part) << c.element;
    EXPECT_EQ(c.got.State, c.state) << c.element;
  }
}

}  // namespace
