// The rest of the common routines: the colour scheme from the settings, colour sets per scheme,
// progress bars, glyphs, fonts, the system version, the desktop and centring, image lists,
// redrawing transparent children and reading obsolete properties.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#include "FakeThemes.h"
#include "Screenshot.h"
#include "Sheet.h"
#include "controls/ControlFrames.h"
#include "controls/DesktopRoutines.h"
#include "controls/FontRoutines.h"
#include "controls/GlyphDrawing.h"
#include "controls/ImageListRoutines.h"
#include "controls/ProgressBars.h"
#include "controls/TQvBackImage.h"
#include "controls/TSkOldPropReader.h"
#include "controls/WindowsVersion.h"
#include "controls/XPColors.h"
#include "platform/backend/HeadlessDriver.h"
#include "platform/forms/ClassRegistry.h"
#include "platform/forms/PlatformStartup.h"
#include "platform/forms/TApplication.h"
#include "platform/gdi/Gdi.h"
#include "platform/rtl/TRegIniFile.h"
#include "support/TempDir.h"

namespace {

using skintest::Sheet;

// A private configuration folder for one test.
class ConfigHome {
 public:
  ConfigHome() {
    const char* old = std::getenv("XDG_CONFIG_HOME");
    had_ = old != nullptr;
    if (had_) saved_ = old;
    setenv("XDG_CONFIG_HOME", dir_.path().c_str(), 1);
  }
  ~ConfigHome() {
    if (had_)
      setenv("XDG_CONFIG_HOME", saved_.c_str(), 1);
    else
      unsetenv("XDG_CONFIG_HOME");
  }
  void SetColorName(const char* name) {
    TRegIniFile("\\Software\\Microsoft\\Windows\\CurrentVersion")
        .WriteString("ThemeManager", "ColorName", name);
  }

 private:
  testsupport::TempDir dir_;
  std::string saved_;
  bool had_ = false;
};

class ControlRoutines : public ::testing::Test {
 protected:
  void SetUp() override { platform::Startup(); }
  void TearDown() override {
    skintest::RemoveFakeThemes();
    DetectDesktopColors();
    platform::Shutdown();
  }
};

TEST_F(ControlRoutines, TheSchemeComesFromTheThemeManagersColourName) {
  ConfigHome home;
  DetectDesktopColors();
  EXPECT_EQ(GetXPColorScheme(), 0);  // nothing written: blue
  home.SetColorName("HOMESTEAD");
  EXPECT_EQ(GetXPColorScheme(), 0);  // read once, until asked to read again
  DetectDesktopColors();
  EXPECT_EQ(GetXPColorScheme(), 1);
  home.SetColorName("metallic");
  DetectDesktopColors();
  EXPECT_EQ(GetXPColorScheme(), 2);
  struct Case {
    const char* name;
    int scheme;
  } names[] = {{"NormalColor", 0}, {"Homestead", 1}, {"METALLIC", 2}, {"", 0}, {"HOMESTEADX", 0}};
  for (const Case& c : names) EXPECT_EQ(XPColorSchemeFromName(c.name), c.scheme) << c.name;

  // Office colours per scheme while themes are on.
  skintest::RemoveFakeThemes();
  skintest::InstallFakeThemes();
  home.SetColorName("HOMESTEAD");
  DetectDesktopColors();
  TColor start, end;
  GetGradientGroupBarColors(gcsMSOffice, start, end);
  EXPECT_EQ(start, static_cast<TColor>(0xADD9CC));
  EXPECT_EQ(end, static_cast<TColor>(0x84BDA5));
  EXPECT_EQ(GetGradientPanelFrameColor(gcsMSOffice), static_cast<TColor>(0x77A17F));
  EXPECT_EQ(GetGradientSelectionColors(gcsMSOffice).Frame, static_cast<TColor>(0x385D3F));
  TColor frame;
  GetGradientOutlookGroupColors(gcsMSOffice, start, end, frame);
  EXPECT_EQ(frame, static_cast<TColor>(0x385D3F));
  GetGradientOutlookGroupColors(gcsSystem, start, end, frame);  // the system style ignores the scheme
  EXPECT_EQ(frame, clBtnShadow);
}

TEST_F(ControlRoutines, PercentBarsClampTheirShareAndText) {
  struct Case {
    int percent;
    const char* text;
    int filled;  // of 100 pixels
  } cases[] = {{0, "0%", 0}, {37, "37%", 37}, {100, "100%", 100}, {150, "100%", 100}, {-5, "0%", 0}};
  for (const Case& c : cases) {
    EXPECT_EQ(PercentText(c.percent), c.text) << c.percent;
    EXPECT_EQ(FilledLength(100, c.percent), c.filled) << c.percent;
    Sheet s(120, 20, clWhite);
    DrawPercentBar(s.canvas(), RECT{10, 2, 110, 18}, c.percent, clNavy, clSilver, false, false);
    EXPECT_EQ(s.at(109, 10), ColorToRGB(c.filled == 100 ? clNavy : clSilver)) << c.percent;
    EXPECT_EQ(s.at(110, 10), ColorToRGB(clWhite)) << c.percent;  // never past the bar
    EXPECT_EQ(s.at(9, 10), ColorToRGB(clWhite)) << c.percent;
    Sheet led(120, 20, clWhite);
    DrawLEDBar(led.canvas(), RECT{10, 2, 110, 18}, c.percent, clLime, clBlack);
    EXPECT_EQ(led.at(110, 10), ColorToRGB(clWhite));
  }
  // Vertical bars fill from the bottom.
  Sheet v(20, 100, clWhite);
  DrawGradientPercentBar(v.canvas(), RECT{0, 0, 20, 100}, 37, clRed, clYellow, clSilver, true, false);
  EXPECT_EQ(v.at(10, 10), ColorToRGB(clSilver));
  EXPECT_NE(v.at(10, 90), ColorToRGB(clSilver));
}

TEST_F(ControlRoutines, GlyphsAndBoxes) {
  Sheet s(40, 20, clWhite);
  DrawRadioButton(s.canvas(), 2, 2, true, clNavy, clWindow, clRed, glNormal);
  EXPECT_EQ(s.at(2, 2), ColorToRGB(clWhite));   // the corner stays outside the circle
  EXPECT_EQ(s.at(8, 2), ColorToRGB(clNavy));    // top of the ring
  EXPECT_EQ(s.at(8, 8), ColorToRGB(clRed));     // the dot
  EXPECT_EQ(s.at(15, 8), ColorToRGB(clWhite));  // 13 pixels wide: ends at x 14
  DrawRadioButton(s.canvas(), 20, 2, false, clNavy, clWindow, clRed, glDisabled);
  EXPECT_EQ(s.at(26, 8), ColorToRGB(clBtnFace));
  EXPECT_EQ(s.at(26, 2), ColorToRGB(clBtnShadow));
  Sheet box(20, 20, clWhite);
  DrawCheckBox(box.canvas(), RECT{2, 2, 15, 15}, true, clBlack, clWindow, clGreen, glNormal);
  EXPECT_EQ(box.at(2, 2), ColorToRGB(clBlack));
  int marks = 0;
  for (int y = 3; y < 14; ++y)
    for (int x = 3; x < 14; ++x) marks += box.at(x, y) == ColorToRGB(clGreen);
  EXPECT_GT(marks, 10);
}

TEST_F(ControlRoutines, FontsTurnAndMeasure) {
  TFont font;
  font.SetName("Arial");
  font.SetStyle(1u << fsBold);
  HFONT turned = RotateFont(&font, 90);
  ASSERT_NE(turned, nullptr);
  LOGFONTA lf{};
  ASSERT_GT(GetObjectA(turned, sizeof lf, &lf), 0);
  EXPECT_EQ(lf.lfEscapement, 900);
  EXPECT_EQ(lf.lfWeight, 700);
  DeleteObject(turned);
  EXPECT_GT(GetMinFontHeight(&font), 2);
  Sheet s(10, 10);
  s.canvas()->Font()->Assign(&font);
  const int average = GetAvgCharWidth(s.canvas());
  EXPECT_GT(average, 2);
  EXPECT_LT(average, 30);
}

TEST_F(ControlRoutines, TheSystemVersionNamesOneSystemAtMost) {
  struct Case {
    TSkOSVersion version;
    TSkWindowsVersion is;
  } cases[] = {{{1, 4, 0}, wvWin95},        {{2, 4, 0}, wvWinNT},   {{1, 4, 10}, wvWin98},
               {{1, 4, 90}, wvWinMe},       {{2, 5, 0}, wvWin2000}, {{2, 5, 1}, wvWinXP},
               {{2, 5, 2}, wvWinServer2003}};
  for (const Case& c : cases) {
    SetWindowsVersionSource([&] { return c.version; });
    for (int v = wvWin95; v <= wvWinServer2003; ++v)
      EXPECT_EQ(RunningUnder(static_cast<TSkWindowsVersion>(v)), v == c.is) << c.is << " asked " << v;
  }
  SetWindowsVersionSource(nullptr);  // this platform: 2, 6.1, none of them
  for (int v = wvWin95; v <= wvWinServer2003; ++v)
    EXPECT_FALSE(RunningUnder(static_cast<TSkWindowsVersion>(v)));
}

TEST_F(ControlRoutines, CentringAtTheScreensEdgeStaysInsideTheWorkArea) {
  const RECT work = GetActiveWorkArea(nullptr);
  EXPECT_EQ(GetActiveWorkAreaWidth(nullptr), work.right - work.left);
  EXPECT_EQ(GetMonitorContainingPoint(POINT{work.right + 50, 0}), nullptr);
  ASSERT_NE(GetMonitorContainingPoint(POINT{1, 1}), nullptr);
  auto* owner = new TForm(Application);
  owner->SetBounds(work.right - 60, work.bottom - 40, 100, 80);  // half off the screen
  owner->Show();
  auto* dialog = new TForm(Application);
  dialog->SetBounds(0, 0, 300, 200);
  const TPoint p = CenterToForm(dialog, owner);
  EXPECT_EQ(p.x, work.right - 300);
  EXPECT_EQ(p.y, work.bottom - 200);
  owner->SetBounds(200, 150, 400, 300);
  const TPoint centred = CenterToWindow(dialog, owner->Handle());
  EXPECT_EQ(centred.x, 250);
  EXPECT_EQ(centred.y, 200);
  delete dialog;
  delete owner;
}

TEST_F(ControlRoutines, AShortGlyphTakesItsMaskFromTheBottomLeftPixel) {
  TImageList list(nullptr);
  list.SetWidth(13);
  list.SetHeight(13);
  Sheet glyph(13, 13, clFuchsia);  // 13 rows: no pixel (0, 15)
  glyph.canvas()->Brush()->SetColor(clBlue);
  glyph.canvas()->FillRect(RECT{3, 3, 10, 10});
  EXPECT_EQ(GlyphMaskColor(&glyph.bitmap), clFuchsia);
  int first = 0, second = 0;
  AddImageToImageList(&list, &glyph.bitmap, first, second);
  EXPECT_EQ(first, 0);
  EXPECT_EQ(second, -1);
  Sheet drawn(13, 13, clLime);
  list.Draw(drawn.canvas(), 0, 0, first);
  EXPECT_EQ(drawn.at(0, 0), ColorToRGB(clLime));  // the key colour is uncovered
  EXPECT_EQ(drawn.at(5, 5), ColorToRGB(clBlue));
  // A strip of two glyphs gives two pictures.
  Sheet strip(26, 13, clFuchsia);
  AddImageToImageList(&list, &strip.bitmap, first, second);
  EXPECT_EQ(first, 1);
  EXPECT_EQ(second, 2);
  TBitmap empty;
  AddImageToImageList(&list, &empty, first, second);
  EXPECT_EQ(first, -1);
}

class TCountingImage : public TQvBackImage {
 public:
  using TQvBackImage::TQvBackImage;
  void Invalidate() override {
    ++invalidated;
    TQvBackImage::Invalidate();
  }
  int invalidated = 0;
};

TEST_F(ControlRoutines, OnlyTransparentChildrenAreRedrawn) {
  RegisterQvBackImage();
  RegisterProperties<TCountingImage>("TCountingImage", "TQvBackImage", Factory<TCountingImage>());
  auto* form = new TForm(Application);
  auto* clear = new TCountingImage(form);
  clear->SetParent(form);
  clear->SetTransparent(true);
  auto* solid = new TCountingImage(form);
  solid->SetParent(form);
  clear->invalidated = solid->invalidated = 0;
  InvalidateControls(form);
  EXPECT_EQ(clear->invalidated, 1);
  EXPECT_EQ(solid->invalidated, 0);
  delete form;
}

// A class that once stored two properties it no longer has.
class TRenewed : public TComponent {
 public:
  using TComponent::TComponent;
  int Size = 0;
  void DefineProperties(TFiler* filer) override {
    TComponent::DefineProperties(filer);
    filer->DefineProperty("OldFlag", TSkOldPropReader::ReadBoolean, TSkOldPropReader::WriteNothing, false);
    filer->DefineProperty("OldSides", TSkOldPropReader::ReadSet, TSkOldPropReader::WriteNothing, false);
    filer->DefineProperty("OldCaption", TSkOldPropReader::ReadString, TSkOldPropReader::WriteNothing, false);
  }
};

TEST_F(ControlRoutines, ObsoletePropertiesAreReadAndForgotten) {
  RegisterProperties<TRenewed>("TRenewed", "TComponent", Factory<TRenewed>())
      .Int(
          "Size", [](TRenewed& r) { return r.Size; }, [](TRenewed& r, int v) { r.Size = v; }, 0);
  TRenewed r(nullptr);
  ReadComponentText(&r,
                    "object R: TRenewed\n  OldFlag = True\n  OldSides = [sdLeft, sdTop]\n"
                    "  OldCaption = 'gone'\n  Size = 4\nend\n");
  EXPECT_EQ(r.Size, 4);
  const std::string text = WriteComponentText(&r);
  EXPECT_EQ(text.find("Old"), std::string::npos) << text;
  EXPECT_NE(text.find("Size = 4"), std::string::npos) << text;
}

TEST_F(ControlRoutines, AGalleryOfTheRoutines) {
  auto* form = new TForm(Application);
  form->SetBounds(0, 0, 360, 200);
  form->SetColor(clWhite);
  form->OnPaint = [form](TObject*) {
    TCanvas* c = form->Canvas();
    int y = 8;
    for (int percent : {0, 37, 100}) {
      DrawPercentBar(c, RECT{8, y, 128, y + 16}, percent, clNavy, clSilver);
      DrawGradientPercentBar(c, RECT{136, y, 256, y + 16}, percent, 0xFF8040, clBlue, clSilver);
      DrawLEDBar(c, RECT{264, y, 352, y + 16}, percent, clLime, clBlack);
      y += 22;
    }
    DrawDropDownArrow(c, RECT{8, 80, 24, 96}, glNormal, false);
    DrawDropDownArrow(c, RECT{30, 80, 46, 96}, glHot, true);
    DrawSpinArrow(c, RECT{52, 80, 68, 88}, true, glNormal, true);
    DrawSpinArrow(c, RECT{52, 88, 68, 96}, false, glDisabled, true);
    DrawCloseX(c, RECT{74, 80, 90, 96}, clBlack, glNormal);
    DrawHighlightBox(c, RECT{96, 80, 160, 100}, gcsSystem);
    int x = 168;
    for (TSkGlyphLook look : {glNormal, glHot, glDown, glDisabled}) {
      DrawCheckBox(c, RECT{x, 80, x + 13, 93}, true, clNavy, clWindow, clGreen, look);
      DrawRadioButton(c, x, 100, true, clNavy, clWindow, clGreen, look);
      x += 20;
    }
    RECT r{8, 120, 120, 180};
    DrawInnerOuterBorders(c, r, fsRaised, fsFlatRounded, 2, clSilver, clBlue);
    DrawGroupBarBackground(c, RECT{130, 120, 250, 180}, gcsSystem);
  };
  form->Show();
  platform::headless::Driver().RunUntilIdle();
  const auto shot = platform::headless::Driver().Capture(form->Handle());
  EXPECT_NE(shot.At(60, 8 + 22 + 8) & 0xFFFFFF, 0xFFFFFFu);
  EXPECT_TRUE(skintest::SaveScreenshot(form->Handle(), "common-routines.png"));
  delete form;
}

}  // namespace
