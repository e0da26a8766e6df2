// What the user sees of the two picture dialogs in the three languages, with the product's
// language files: each window shaped by its skin, every text inside its control, the preview
// inside its well, the thumbs where their positions put them; saved as
// screenshots/editor/picresize-*.png and resizeset*.png for a person to look at.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "controls/TImButton.h"
#include "controls/TSkTrackBar.h"
#include "editor/TPicResize.h"
#include "editor/TResStringManager.h"
#include "editor/TResizeForm.h"
#include "platform/backend/HeadlessDriver.h"
#include "platform/forms/TBitmap.h"
#include "platform/forms/TCanvas.h"
#include "platform/forms/TEdit.h"
#include "platform/forms/TImage.h"
#include "platform/forms/TLabel.h"
#include "platform/gdi/Gdi.h"
#include "platform/rtl/Program.h"
#include "platform/rtl/SysUtils.h"
#include "tests/editor/PicResizeFixture.h"

namespace {

using editortest::PicResizeTest;
using platform::headless::Driver;
using platform::headless::ModalAnswer;
using platform::headless::ModalInfo;

struct Language {
  int index;
  const char* code;
  const char16_t* setting;
};
constexpr Language kLanguages[] = {{1, "en", u"\\Language\\lan_ENG.ini"},
                                   {0, "vi", u"\\Language\\lan_VIE.ini"},
                                   {2, "km", u"\\Language\\lan_Khmer.ini"}};

class CompressLook : public PicResizeTest {
 protected:
  void SetUp() override {
    PicResizeTest::SetUp();
    editortest::CopyProductLanguageFiles(app);
    std::filesystem::create_directories(MMS_SCREENSHOT_DIR);
  }
  void Choose(const Language& language) {
    AppFile("App.Config.ini", editortest::SettingsFor(language.setting));
    ResStringManager.SelectLanguageFile(language.index);
  }
  // The single-line extent of a text in a font.
  RECT Extent(const AnsiString& text, TFont* font, int wrapWidth = 0) {
    sheet.SetSize(8, 8);
    sheet.Canvas()->Font()->Assign(font);
    const WideString wide(text);
    RECT r{0, 0, wrapWidth ? wrapWidth : 10000, 10000};
    DrawTextW(sheet.Canvas()->Handle(), wide.c_bstr(), -1, &r,
              DT_CALCRECT | DT_NOPREFIX | (wrapWidth ? DT_WORDBREAK : DT_SINGLELINE));
    return r;
  }
  void ExpectFits(TLabel* label) {
    const RECT r = Extent(label->Caption(), label->Font(), label->WordWrap() ? label->Width() : 0);
    EXPECT_FALSE(label->Caption().IsEmpty()) << label->Name().ToStd();
    EXPECT_LE(r.right, label->Width()) << label->Name().ToStd() << ": " << label->Caption().ToStd();
    EXPECT_LE(r.bottom, label->Height()) << label->Name().ToStd() << ": " << label->Caption().ToStd();
  }
  void ExpectFits(TImButton* button) {
    const RECT r = Extent(button->Caption(), button->Font());
    EXPECT_LE(r.right, button->Width() - 8) << button->Name().ToStd() << ": " << button->Caption().ToStd();
    EXPECT_LE(r.bottom, button->Height()) << button->Name().ToStd();
  }
  // The key colour of the background picture is exactly what lies outside the window's shape.
  static void ExpectShapedBySkin(TForm* form, TImage* background) {
    TBitmap* skin = background->Picture()->Bitmap();
    ASSERT_EQ(skin->Width(), form->ClientWidth());
    ASSERT_EQ(skin->Height(), form->ClientHeight());
    const std::vector<RECT> shape = Driver().Shape(form->Handle());
    ASSERT_FALSE(shape.empty());
    auto inShape = [&](int x, int y) {
      for (const RECT& r : shape)
        if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return true;
      return false;
    };
    for (int y = 0; y < skin->Height(); ++y)
      for (int x = 0; x < skin->Width(); ++x)
        ASSERT_EQ(inShape(x, y), (skin->Canvas()->Pixels(x, y) & 0xFFFFFF) != 0xFF00FF) << x << "," << y;
  }

  TBitmap sheet;
};

TEST_F(CompressLook, TheCompressionDialogInEachLanguage) {
  for (const Language& language : kLanguages) {
    SCOPED_TRACE(language.code);
    Choose(language);
    Open("pillow/jpeg/flower.jpg");
    dialog->TrackBar1->SetPosition(50);
    dialog->TrackBar2->SetPosition(80);
    Driver().RunUntilIdle();
    const std::string name = std::string(language.code) == "km" ? "picresize-km.png"
                             : std::string(language.code) == "en"
                                 ? "picresize-50.png"
                                 : std::string("picresize-") + language.code + ".png";
    EXPECT_TRUE(Driver().SavePng(dialog->Handle(), std::string(MMS_SCREENSHOT_DIR) + "/" + name));
    ExpectShapedBySkin(dialog.get(), dialog->Image2);

    for (TLabel* label :
         {dialog->Title, dialog->Resolution, dialog->Qulity, dialog->lb_res, dialog->lb_Qulity})
      ExpectFits(label);
    for (TImButton* button : {dialog->OKButton, dialog->CancleButton}) ExpectFits(button);
    // The name of a value and the value (drawn at the right of its label) leave a gap.
    const int resolutionEnd =
        dialog->Resolution->Left() + Extent(dialog->Resolution->Caption(), dialog->Resolution->Font()).right;
    const int valueStart = dialog->lb_res->Left() + dialog->lb_res->Width() -
                           Extent(dialog->lb_res->Caption(), dialog->lb_res->Font()).right;
    EXPECT_LT(resolutionEnd + 4, valueStart);
    const int qualityEnd =
        dialog->Qulity->Left() + Extent(dialog->Qulity->Caption(), dialog->Qulity->Font()).right;
    const int qualityValueStart = dialog->lb_Qulity->Left() + dialog->lb_Qulity->Width() -
                                  Extent(dialog->lb_Qulity->Caption(), dialog->lb_Qulity->Font()).right;
    EXPECT_LT(qualityEnd + 4, qualityValueStart);

    // The preview lies inside its well and shows the picture there.
    const TImage* preview = dialog->Image1;
    EXPECT_GE(preview->Left(), 27);
    EXPECT_GE(preview->Top(), 36);
    EXPECT_LE(preview->Left() + preview->Width(), 27 + 367);
    EXPECT_LE(preview->Top() + preview->Height(), 36 + 275);
    const platform::headless::CaptureImage shot = Driver().Capture(dialog->Handle());
    int inked = 0;
    for (int y = 36; y < 36 + 180; ++y)
      for (int x = 27 + 63; x < 27 + 63 + 240; ++x)
        if ((shot.At(x, y) & 0xFFFFFF) != 0xFFFFFF) ++inked;
    EXPECT_GT(inked, 240 * 180 / 2) << "the picture shows in the well";

    // Each thumb sits where its position puts it: 50 % near the middle of its bar, 80 % further.
    const RECT t1 = dialog->TrackBar1->ThumbRect(), t2 = dialog->TrackBar2->ThumbRect();
    const int range = dialog->TrackBar1->Width();
    EXPECT_NEAR((t1.left + t1.right) / 2, range / 2, 6);
    EXPECT_NEAR((t2.left + t2.right) / 2, 4 + (range - 8) * 79 / 99, 10);
    EXPECT_TRUE(dialog->TrackBar1->Visible());
    EXPECT_TRUE(dialog->OKButton->Visible());
  }
}

TEST_F(CompressLook, TheSettingsDialogInEachLanguage) {
  for (const Language& language : kLanguages) {
    SCOPED_TRACE(language.code);
    Choose(language);
    std::unique_ptr<TResizeForm> form(TResizeForm::New(nullptr, &host));
    Driver().OnModal([&](const ModalInfo&) {
      return ModalAnswer::Drive([&] {
        Driver().RunUntilIdle();
        const std::string name = std::string(language.code) == "en"
                                     ? "resizeset.png"
                                     : std::string("resizeset-") + language.code + ".png";
        EXPECT_TRUE(Driver().SavePng(form->Handle(), std::string(MMS_SCREENSHOT_DIR) + "/" + name));
        ExpectShapedBySkin(form.get(), form->Image1);
        for (TLabel* label :
             {form->Title, form->Label1, form->Select1, form->Select2, form->WidthLabel, form->HeightLabel})
          ExpectFits(label);
        for (TImButton* button : {form->OKButton, form->CancleButton}) ExpectFits(button);
        // The width's name ends before its field starts, and so does the height's.
        EXPECT_LE(
            form->WidthLabel->Left() + Extent(form->WidthLabel->Caption(), form->WidthLabel->Font()).right,
            form->Edit1->Left());
        EXPECT_LE(
            form->HeightLabel->Left() + Extent(form->HeightLabel->Caption(), form->HeightLabel->Font()).right,
            form->Edit2->Left());
        form->ModalResult = mrCancel;
      });
    });
    form->ShowModal();
    Driver().OnModal(nullptr);
  }
}

}  // namespace
