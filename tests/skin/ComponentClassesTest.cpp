// The library's non-visual components: the settings store, custom colours, the frame controller,
// the dialog base and the menu controller.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "Screenshot.h"
#include "Sheet.h"
#include "controls/ENoRegIniFile.h"
#include "controls/TSkCustomColors.h"
#include "controls/TSkDialogComponent.h"
#include "controls/TSkFrameController.h"
#include "controls/TSkMenuController.h"
#include "controls/TSkRegIniFile.h"
#include "controls/TValidateEdit.h"
#include "platform/backend/HeadlessDriver.h"
#include "platform/forms/PlatformStartup.h"
#include "platform/forms/TApplication.h"
#include "platform/forms/TForm.h"
#include "platform/forms/TPopupMenu.h"
#include "platform/rtl/Program.h"
#include "platform/rtl/TMemoryStream.h"
#include "platform/rtl/TRegIniFile.h"
#include "support/TempDir.h"

namespace {

using skintest::Sheet;

class ComponentClasses : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::Startup();
    const char* old = std::getenv("XDG_CONFIG_HOME");
    had = old != nullptr;
    if (had) saved = old;
    setenv("XDG_CONFIG_HOME", dir.path().c_str(), 1);
  }
  void TearDown() override {
    if (had)
      setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
    else
      unsetenv("XDG_CONFIG_HOME");
    platform::Shutdown();
  }
  testsupport::TempDir dir;
  std::string saved;
  bool had = false;
};

TEST_F(ComponentClasses, EveryReadAndWritePairOfTheStoreRoundTrips) {
  for (TSkPathType type : {ptRegistry, ptIniFile}) {
    TSkRegIniFile store(nullptr);
    store.SetPathType(type);
    store.SetPath(type == ptRegistry ? AnsiString("\\Software\\SkinTests")
                                     : AnsiString(dir.file("store.ini")));
    store.WriteBool("S", "Bool", true);
    store.WriteInteger("S", "Int", -42);
    store.WriteString("S", "Str", "Tiếng Việt");
    store.WriteFloat("S", "Float", 0.1);
    store.WriteDate("S", "Date", 45000.0);
    store.WriteDateTime("S", "DateTime", 45000.25);
    store.WriteTime("S", "Time", 0.75);
    TMemoryStream bytes;
    const unsigned char data[] = {0, 1, 0xAB, 0xFF};
    bytes.WriteBuffer(data, 4);
    bytes.SetPosition(0);
    store.WriteBinaryStream("S", "Bin", &bytes);
    TSkRegIniFile again(nullptr);
    again.SetPathType(type);
    again.SetPath(store.Path());
    EXPECT_TRUE(again.ReadBool("S", "Bool", false));
    EXPECT_EQ(again.ReadInteger("S", "Int", 0), -42);
    EXPECT_EQ(again.ReadString("S", "Str", ""), "Tiếng Việt");
    EXPECT_DOUBLE_EQ(again.ReadFloat("S", "Float", 0), 0.1);
    EXPECT_DOUBLE_EQ(again.ReadDate("S", "Date", 0), 45000.0);
    EXPECT_DOUBLE_EQ(again.ReadDateTime("S", "DateTime", 0), 45000.25);
    EXPECT_DOUBLE_EQ(again.ReadTime("S", "Time", 0), 0.75);
    TMemoryStream back;
    EXPECT_EQ(again.ReadBinaryStream("S", "Bin", &back), 4);
    EXPECT_EQ(back.Size(), 4);
    EXPECT_TRUE(again.SectionExists("S"));
    EXPECT_TRUE(again.ValueExists("S", "Int"));
    again.DeleteKey("S", "Int");
    EXPECT_FALSE(again.ValueExists("S", "Int"));
    again.EraseSection("S");
    EXPECT_FALSE(again.SectionExists("S"));
  }
  // The registry's keys are files in the configuration folder.
  EXPECT_TRUE(std::filesystem::exists(platform::RegistryKeyFile("\\Software\\SkinTests").ToStd()));
}

TEST_F(ComponentClasses, AnEmptyPathResolvesOnceAndWritesNeedTheRight) {
  TSkRegIniFile ini(nullptr);
  ini.ReadString("S", "X", "");
  EXPECT_EQ(ini.Path().ToStd(),
            std::filesystem::path(ParamStr(0).ToStd()).replace_extension(".ini").string());
  EXPECT_FALSE(ini.NeedsRefresh());  // keeping the resolved path asks for no new store
  TSkRegIniFile reg(nullptr);
  reg.SetPathType(ptRegistry);
  Application->SetTitle("Skin Demo");
  reg.ReadString("S", "X", "");
  EXPECT_EQ(reg.Path(), "\\Software\\Temp\\Skin Demo");
  reg.SetRegAccess(1u << keyQueryValue);
  EXPECT_EQ(reg.ReadString("S", "X", "none"), "none");
  EXPECT_THROW(reg.WriteString("S", "X", "y"), ERegistryException);
  reg.SetRegAccess(1u << keySetValue);
  EXPECT_NO_THROW(reg.WriteString("S", "X", "y"));
}

TEST_F(ComponentClasses, CustomColoursAreSixteenHexValuesThatRoundTrip) {
  TSkCustomColors colors(nullptr);
  ASSERT_EQ(colors.Colors()->Count(), 16);
  EXPECT_EQ(colors.Colors()->Strings(0), "ColorA=FFFFFF");
  EXPECT_EQ(colors.Colors()->Strings(15), "ColorP=FFFFFF");
  try {
    colors.Save("Colors");
    FAIL();
  } catch (const ENoRegIniFile& e) {
    EXPECT_EQ(e.Message, "Cannot save Custom Colors--No TSkRegIniFile component specified");
  }
  try {
    colors.Load("Colors");
    FAIL();
  } catch (const ENoRegIniFile& e) {
    EXPECT_EQ(e.Message, "Cannot load Custom Colors--No TSkRegIniFile component specified");
  }
  TStringList list;
  list.Add("ColorA=1234ABC");  // more than 24 bits: the low 24 kept
  list.Add("ColorB=zz");       // no number: white
  list.Add("ColorC=ff");
  colors.SetColors(&list);
  EXPECT_EQ(colors.Colors()->Values("ColorA"), "234abc");
  EXPECT_EQ(colors.Colors()->Values("ColorB"), "ffffff");
  EXPECT_EQ(colors.Colors()->Values("ColorC"), "0000ff");
  TSkRegIniFile store(nullptr);
  store.SetPathType(ptRegistry);
  store.SetPath("\\Software\\SkinTests");
  colors.SetRegIniFile(&store);
  colors.Save("Colors");
  TSkCustomColors loaded(nullptr);
  loaded.SetRegIniFile(&store);
  loaded.Load("Colors");
  EXPECT_EQ(loaded.Colors()->Values("ColorA"), "234abc");
  EXPECT_EQ(loaded.Colors()->Values("ColorC"), "0000ff");
  colors.SetRegIniFile(nullptr);
}

// A control that is told of the controller's settings itself.
class TFramedThing : public TComponent, public TSkFrameControllerClient {
 public:
  using TComponent::TComponent;
  void UpdateFrameSetting(TSkFrameController*, TSkFrameControllerProperty property) override {
    ++told;
    last = property;
  }
  int told = 0;
  TSkFrameControllerProperty last = fcpAll;
};

TEST_F(ComponentClasses, TheFrameControllerPushesOnceAfterNestedUpdatesAndForgetsFreedControls) {
  RegisterSkFrameController();
  RegisterValidateEdit();
  TSkFrameController controller(nullptr);
  auto* thing = new TFramedThing(nullptr);
  controller.AddControl(thing);
  EXPECT_EQ(thing->told, 1);
  EXPECT_EQ(thing->last, fcpAll);
  controller.SetFrameColor(clRed);
  EXPECT_EQ(thing->told, 2);
  EXPECT_EQ(thing->last, fcpFrameColor);
  controller.BeginUpdate();
  controller.BeginUpdate();
  controller.SetFrameStyle(fsRaised);
  controller.SetFrameVisible(true);
  controller.EndUpdate();
  EXPECT_EQ(thing->told, 2);
  controller.EndUpdate();
  EXPECT_EQ(thing->told, 3);
  EXPECT_EQ(thing->last, fcpAll);

  // A control without the interface takes the settings it has a property for.
  auto* form = new TForm(Application);
  auto* edit = new TValidateEdit(form);
  edit->SetParent(form);
  controller.AddControl(edit);
  controller.SetColor(clYellow);
  EXPECT_EQ(edit->Color(), clYellow);
  EXPECT_EQ(controller.FocusColor(), clYellow);  // followed the colour it equalled

  delete thing;  // freed: the next push must not reach it
  delete form;
  EXPECT_EQ(controller.ControlCount(), 0);
  controller.SetColor(clAqua);
}

TEST_F(ComponentClasses, TheFrameControllersSettingsLoadAndSave) {
  TSkFrameController controller(nullptr);
  EXPECT_THROW(controller.Save("Frames"), ENoRegIniFile);
  TSkRegIniFile store(nullptr);
  store.SetPathType(ptRegistry);
  store.SetPath("\\Software\\SkinTests");
  controller.SetRegIniFile(&store);
  controller.Load("Frames");  // nothing stored: defaults, but the disabled colour is the window's
  EXPECT_EQ(controller.DisabledColor(), clWindow);
  EXPECT_EQ(controller.FrameHotStyle(), fsFlatBold);
  controller.SetFrameHotTrack(true);
  EXPECT_TRUE(controller.FrameVisible());
  controller.SetFrameSides(SideBit(sdLeft) | SideBit(sdBottom));
  controller.SetFrameStyle(fsGroove);
  controller.Save("Frames");
  TSkFrameController other(nullptr);
  other.SetRegIniFile(&store);
  other.Load("Frames");
  EXPECT_TRUE(other.FrameHotTrack());
  EXPECT_EQ(other.FrameSides(), SideBit(sdLeft) | SideBit(sdBottom));
  EXPECT_EQ(other.FrameStyle(), fsGroove);
  TSkFrameController copy(nullptr);
  copy.Assign(&other);
  EXPECT_EQ(copy.FrameStyle(), fsGroove);
}

TEST_F(ComponentClasses, TheDialogComponentCentresOnItsParentWhenAsked) {
  TSkDialogComponent dialog(nullptr);
  EXPECT_EQ(dialog.Position(), poScreenCenter);
  dialog.SetCenterToParent(true);
  EXPECT_EQ(dialog.Position(), poOwnerFormCenter);
  auto* form = new TForm(Application);
  dialog.CenterForm(form);
  EXPECT_EQ(form->Position, poOwnerFormCenter);
  dialog.SetCenterToParent(false);
  EXPECT_EQ(dialog.Position(), poScreenCenter);
  delete form;
}

TEST_F(ComponentClasses, TheMenuControllerMeasuresAndPaintsItsItems) {
  auto* form = new TForm(Application);
  auto* popup = new TPopupMenu(form);
  auto add = [&](const char* caption) {
    auto* item = new TMenuItem(form);
    item->SetCaption(caption);
    popup->Items()->Add(item);
    return item;
  };
  TMenuItem* open = add("&Open");
  TMenuItem* line = add("-");
  TMenuItem* checked = add("Word wrap");
  checked->SetChecked(true);
  TMenuItem* grey = add("Disabled");
  grey->SetEnabled(false);
  TMenuItem* own = add("Own drawing");
  own->OnAdvancedDrawItem = [](TObject*, TCanvas*, RECT, TOwnerDrawState) {};
  auto* controller = new TSkMenuController(form);
  controller->TakeOverMenus();
  EXPECT_EQ(controller->ItemCount(), 4);  // not the one that draws itself
  EXPECT_TRUE(popup->OwnerDraw());
  struct Case {
    TMenuItem* item;
    int height;
  } sizes[] = {{open, 22}, {line, 3}, {checked, 22}};
  for (const Case& c : sizes) {
    int w = 0, h = 0;
    c.item->OnMeasureItem(c.item, nullptr, w, h);
    EXPECT_EQ(h, c.height) << c.item->Caption().c_str();
    if (c.height == 22) {
      EXPECT_EQ(w, 31);  // a popup item without images: 31 more
    }
  }
  Sheet sheet(360, 100, clWhite);
  for (int column = 0; column < 2; ++column) {
    controller->SetGradientColorStyle(column ? gcsCustom : gcsSystem);
    controller->SelectionColorStart = clYellow;
    controller->SelectionColorStop = 0x0080FF;
    controller->SelectionFrameColor = clMaroon;
    int y = 0;
    for (auto [item, state] :
         {std::pair{open, TOwnerDrawState(odSelected)}, {line, 0u}, {checked, 0u}, {grey, 0u}}) {
      const int h = item->IsLine() ? 3 : 22;
      item->OnAdvancedDrawItem(item, sheet.canvas(), RECT{column * 180, y, column * 180 + 170, y + h}, state);
      y += h;
    }
  }
  EXPECT_EQ(sheet.at(180, 0), ColorToRGB(clMaroon));      // the custom selection frame
  EXPECT_EQ(sheet.at(0, 0), ColorToRGB(clHighlight));     // the system one
  EXPECT_EQ(sheet.at(100, 23), ColorToRGB(clBtnShadow));  // the separator line
  EXPECT_EQ(sheet.at(100, 40), ColorToRGB(clWindow));     // the text area of a plain item
  auto* shown = new TForm(Application);
  shown->SetBounds(0, 0, 360, 100);
  shown->OnPaint = [&](TObject*) {
    shown->Canvas()->CopyRect(RECT{0, 0, 360, 100}, sheet.canvas(), RECT{0, 0, 360, 100});
  };
  shown->Show();
  platform::headless::Driver().RunUntilIdle();
  EXPECT_TRUE(skintest::SaveScreenshot(shown->Handle(), "menu-items.png"));
  delete shown;
  delete controller;  // hands the items back
  EXPECT_FALSE(open->OnAdvancedDrawItem);
  delete form;
}

}  // namespace
