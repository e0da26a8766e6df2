// The Unicode message dialogs and the one-line question: which buttons are default and cancel,
// the buttons' names, captions and results, the layout in dialog units, a real click on a
// button, Ctrl+C copying the dialog as text, and the typed Khmer answer of WideInputQuery.
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "UcFixture.h"
#include "platform/forms/TImage.h"
#include "support/TempDir.h"
#include "unicode/TUcApplication.h"
#include "unicode/TUcButton.h"
#include "unicode/TUcClipboard.h"
#include "unicode/TUcEdit.h"
#include "unicode/TUcImage.h"
#include "unicode/TUcLabel.h"
#include "unicode/WideException.h"
#include "unicode/WideInputQuery.h"
#include "unicode/WideMessageDialogs.h"
#include "unicode/WidePromptForFileName.h"

namespace {

using namespace uctest;
using platform::headless::ModalAnswer;
using platform::headless::ModalInfo;

class UcMessageDialogsTest : public UcTest {
 protected:
  static void SaveScreenshot(HWND hwnd, const std::string& name) {
    std::filesystem::create_directories(Screenshots());
    const auto image = Driver().Capture(hwnd);
    EXPECT_TRUE(
        platform::headless::WritePng(Screenshots() + name, image.width, image.height, image.pixels.data()));
  }
};

const char16_t* const kKhmerQuestion = u"តើអ្នកចង់រក្សាទុកសារនេះទេ?";

std::vector<TUcButton*> ButtonsOf(TComponent* form) {
  std::vector<TUcButton*> buttons;
  for (int i = 0; i < form->ComponentCount(); ++i)
    if (auto* b = dynamic_cast<TUcButton*>(form->Components(i))) buttons.push_back(b);
  return buttons;
}

POINT CentreOf(TWinControl* control) {
  RECT r{};
  GetWindowRect(control->Handle(), &r);
  return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

TEST_F(UcMessageDialogsTest, DefaultAndCancelButtons) {
  struct Case {
    TMsgDlgButtons buttons;
    const char* defaultName;
    const char* cancelName;  // "" when no requested button cancels
  };
  const Case cases[] = {
      {mbYesNo, "Yes", "No"},           {mbOKCancel, "OK", "Cancel"},
      {mbYesNoCancel, "Yes", "Cancel"}, {mbAbortRetryIgnore, "Retry", ""},
      {MsgDlgButton(mbOK), "OK", "OK"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.defaultName);
    std::unique_ptr<TUcMessageForm> form(WideCreateMessageDialog(kKhmer, mtConfirmation, c.buttons));
    std::string defaults, cancels;
    for (TUcButton* b : ButtonsOf(form.get())) {
      if (b->Default()) defaults += b->Name().ToStd();
      if (b->Cancel()) cancels += b->Name().ToStd();
    }
    EXPECT_EQ(defaults, c.defaultName);
    EXPECT_EQ(cancels, c.cancelName);
    EXPECT_EQ(form->ActiveControl() ? form->ActiveControl()->Name().ToStd() : "", c.defaultName);
  }
  // A default button chosen by the caller.
  std::unique_ptr<TUcMessageForm> form(WideCreateMessageDialog(kKhmer, mtWarning, mbYesNoCancel, mbNo));
  for (TUcButton* b : ButtonsOf(form.get())) EXPECT_EQ(b->Default(), b->Name() == "No");
}

TEST_F(UcMessageDialogsTest, EveryButtonHasItsNameCaptionAndResultInTableOrder) {
  const TMsgDlgButtons all = (1u << (mbHelp + 1)) - 1;
  std::unique_ptr<TUcMessageForm> form(WideCreateMessageDialog(u"m", mtInformation, all));
  struct Expected {
    const char* name;
    const char16_t* caption;
    TModalResult result;
  };
  const Expected expected[] = {{"Yes", u"&Yes", 6},
                               {"No", u"&No", 7},
                               {"OK", u"OK", 1},
                               {"Cancel", u"Cancel", 2},
                               {"Abort", u"&Abort", 3},
                               {"Retry", u"&Retry", 4},
                               {"Ignore", u"&Ignore", 5},
                               {"All", u"&All", 8},
                               {"NoToAll", u"N&o to All", 9},
                               {"YesToAll", u"Yes to &All", 10},
                               {"Help", u"&Help", 0}};
  const auto buttons = ButtonsOf(form.get());
  ASSERT_EQ(buttons.size(), 11u);
  for (size_t i = 0; i < buttons.size(); ++i) {
    EXPECT_EQ(buttons[i]->Name().ToStd(), expected[i].name);
    EXPECT_EQ(buttons[i]->Caption(), expected[i].caption);
    EXPECT_EQ(buttons[i]->ModalResult(), expected[i].result);
    if (i) {
      EXPECT_GT(buttons[i]->Left(), buttons[i - 1]->Left());
    }
  }
  // Captions of the types; the custom type shows the application's title.
  UcApplication->SetTitle(kKhmer);
  const std::pair<TMsgDlgType, WideString> captions[] = {{mtWarning, u"Warning"},
                                                         {mtError, u"Error"},
                                                         {mtInformation, u"Information"},
                                                         {mtConfirmation, u"Confirm"},
                                                         {mtCustom, kKhmer}};
  for (const auto& [type, caption] : captions) {
    std::unique_ptr<TUcMessageForm> f(WideCreateMessageDialog(u"m", type, mbOKCancel));
    EXPECT_EQ(f->Caption(), caption);
    EXPECT_EQ(f->FindComponent("Image") != nullptr, type != mtCustom);
  }
  // Values outside the tables.
  try {
    GetMessageCaption(TMsgDlgType(7));  // within the enumeration's range, outside the table
    ADD_FAILURE();
  } catch (const EUcInternalError& e) {
    EXPECT_EQ(e.Message.ToStd(), "Unexpected MsgType in GetMessageCaption.");
  }
  try {
    GetButtonCaption(TMsgDlgBtn(11));
    ADD_FAILURE();
  } catch (const EUcInternalError& e) {
    EXPECT_EQ(e.Message.ToStd(), "Unexpected MsgDlgBtn in GetButtonCaption.");
  }
}

TEST_F(UcMessageDialogsTest, TheLayoutFollowsTheDialogUnitsOfTheFont) {
  // Every character 7 x 16: cx = (7 * 52 / 26 + 1) / 2 = 7, cy = 16.
  Driver().UseFixedMetricFont(7, 16);
  std::unique_ptr<TUcMessageForm> form(WideCreateMessageDialog(u"0123456789", mtError, mbYesNoCancel));
  // The margins and sizes in dialog units, rounded: 8 x 7 / 4, 8 x 16 / 8, 10 x 7 / 4 = 17.5,
  // 10 x 16 / 8, 50 x 7 / 4 = 87.5, 14 x 16 / 8, 4 x 7 / 4.
  const int horzMargin = 14, vertMargin = 16, horzSpacing = 18, vertSpacing = 20;
  const int buttonWidth = 88, buttonHeight = 28, buttonSpacing = 7;
  auto* image = dynamic_cast<TUcImage*>(form->FindComponent("Image"));
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->BoundsRect().left, horzMargin);
  EXPECT_EQ(image->BoundsRect().top, vertMargin);
  EXPECT_EQ(image->Width(), 32);
  EXPECT_EQ(image->Picture()->Graphic()->Width(), 32);
  // The message: 10 characters on one line, right of the icon.
  TUcLabel* message = form->Message;
  ASSERT_EQ(message, form->FindComponent("Message"));
  EXPECT_EQ(message->Width(), 70);
  EXPECT_EQ(message->Height(), 16);
  EXPECT_EQ(message->Left(), 32 + horzSpacing + horzMargin);
  EXPECT_EQ(message->Top(), vertMargin);
  const int iconTextWidth = 70 + 32 + horzSpacing, iconTextHeight = 32;
  const int groupWidth = 3 * buttonWidth + 2 * buttonSpacing;
  const int clientWidth = std::max(iconTextWidth, groupWidth) + 2 * horzMargin;
  EXPECT_EQ(form->Width(), clientWidth);
  EXPECT_EQ(form->Height(), iconTextHeight + buttonHeight + vertSpacing + 2 * vertMargin);
  // The buttons centred below.
  const auto buttons = ButtonsOf(form.get());
  ASSERT_EQ(buttons.size(), 3u);
  EXPECT_EQ(buttons[0]->Left(), (clientWidth - groupWidth) / 2);
  for (size_t i = 0; i < buttons.size(); ++i) {
    EXPECT_EQ(buttons[i]->Top(), iconTextHeight + vertMargin + vertSpacing);
    EXPECT_EQ(buttons[i]->Width(), buttonWidth);
    EXPECT_EQ(buttons[i]->Height(), buttonHeight);
    if (i) {
      EXPECT_EQ(buttons[i]->Left(), buttons[i - 1]->Left() + buttonWidth + buttonSpacing);
    }
  }
  // Centred on the screen.
  EXPECT_EQ(form->Left(), GetSystemMetrics(SM_CXSCREEN) / 2 - clientWidth / 2);
  Driver().UseFixedMetricFont(0, 0);
}

TEST_F(UcMessageDialogsTest, ARealClickOnNoAnswersNoAndCtrlCCopiesTheDialog) {
  UcApplication->SetTitle(u"MMS");
  HWND shown = nullptr;
  std::u16string copied;
  int beepsAtCopy = 0;
  Driver().OnModal([&](const ModalInfo& info) {
    EXPECT_EQ(info.kind, ModalInfo::Kind::MessageBox);
    EXPECT_EQ(info.caption, u"Confirm");
    EXPECT_EQ(info.texts, (std::vector<std::u16string>{kKhmerQuestion, u"&Yes", u"&No", u"Cancel"}));
    return ModalAnswer::Drive([&] {
      Driver().RunUntilIdle();
      shown = GetActiveWindow();
      auto* form = dynamic_cast<TUcMessageForm*>(FindControl(shown));
      ASSERT_NE(form, nullptr);
      EXPECT_TRUE(IsWindowUnicode(shown));
      EXPECT_EQ(WindowText(shown), u"Confirm");
      SaveScreenshot(shown, "uc-messagedlg-km.png");
      const int beeps = Driver().Beeps();
      Driver().Chord("Ctrl+C");
      Driver().RunUntilIdle();
      beepsAtCopy = Driver().Beeps() - beeps;
      copied = UcClipboard()->GetAsWideText().ToU16();
      auto* no = dynamic_cast<TUcButton*>(form->FindComponent("No"));
      ASSERT_NE(no, nullptr);
      Driver().Click(CentreOf(no));
    });
  });
  EXPECT_EQ(WideMessageDlg(kKhmerQuestion, mtConfirmation, mbYesNoCancel, 0), mrNo);
  EXPECT_FALSE(IsWindow(shown));  // freed
  const std::u16string divider = u"---------------------------\r\n";
  EXPECT_EQ(copied, divider + u"Confirm\r\n" + divider + kKhmerQuestion + u"\r\n" + divider +
                        u"Yes   No   Cancel   \r\n" + divider);
  EXPECT_EQ(beepsAtCopy, 1);
}

TEST_F(UcMessageDialogsTest, ShowMessageIsAnOkBoxPlacedWhereAsked) {
  RECT placed{};
  Driver().OnModal([&](const ModalInfo& info) {
    EXPECT_EQ(info.texts, (std::vector<std::u16string>{u"ស្វាគមន៍ 3", u"OK"}));
    return ModalAnswer::Drive([&] {
      GetWindowRect(GetActiveWindow(), &placed);
      Driver().Chord("Esc");  // OK is also the cancel button
    });
  });
  WideShowMessageFmt(u"ស្វាគមន៍ %d", {3});
  Driver().OnModal([&](const ModalInfo&) {
    return ModalAnswer::Drive([&] {
      GetWindowRect(GetActiveWindow(), &placed);
      Driver().Chord("Enter");
    });
  });
  WideShowMessagePos(u"m", 40, 30);
  EXPECT_EQ(placed.left, 40);
  EXPECT_EQ(placed.top, 30);
}

TEST_F(UcMessageDialogsTest, InputQueryGivesTheTypedKhmerTextOnOkAndNothingOnCancel) {
  WideString value = u"ចាស់";
  Driver().OnModal([&](const ModalInfo&) {
    return ModalAnswer::Drive([&] {
      Driver().RunUntilIdle();
      HWND dialog = GetActiveWindow();
      EXPECT_EQ(WindowText(dialog), u"ឈ្មោះ");
      // The starting value is all selected: typing replaces it.
      Driver().Type(kKhmer);
      Driver().RunUntilIdle();
      SaveScreenshot(dialog, "uc-inputquery.png");
      auto* form = dynamic_cast<TForm*>(FindControl(dialog));
      ASSERT_NE(form, nullptr);
      TUcButton* ok = nullptr;
      for (TUcButton* b : ButtonsOf(form))
        if (b->Caption() == u"OK") ok = b;
      ASSERT_NE(ok, nullptr);
      Driver().Click(CentreOf(ok));
    });
  });
  EXPECT_TRUE(WideInputQuery(u"ឈ្មោះ", u"សូមវាយឈ្មោះរបស់អ្នក:", value));
  EXPECT_EQ(value, kKhmer);

  Driver().OnModal([&](const ModalInfo&) {
    return ModalAnswer::Drive([&] {
      Driver().Type(u"x");
      Driver().Chord("Esc");
    });
  });
  EXPECT_FALSE(WideInputQuery(u"ឈ្មោះ", u"?", value));
  EXPECT_EQ(value, kKhmer);
  Driver().OnModal([&](const ModalInfo&) { return ModalAnswer::Cancel(); });
  EXPECT_EQ(WideInputBox(u"c", u"p", u"លំនាំដើម"), u"លំនាំដើម");
}

TEST_F(UcMessageDialogsTest, PromptForFileNameOffersAllFilesAndAsksBeforeReplacing) {
  testsupport::TempDir dir;
  const std::string existing = dir.path() + "/ខ្មែរ.txt";
  { std::ofstream(existing) << "x"; }
  const std::u16string existingW = platform::MultiByteToUtf16(existing, CP_UTF8);
  std::vector<ModalInfo> seen;
  Driver().OnModal([&](const ModalInfo& info) {
    seen.push_back(info);
    if (info.kind == ModalInfo::Kind::MessageBox) return ModalAnswer::Result(IDYES);
    return ModalAnswer::Files({existingW});
  });
  WideString name = u"ថ្មី.txt";
  ASSERT_TRUE(WidePromptForFileName(name, u"", u"txt", u"រក្សាទុក", u"", true));
  EXPECT_EQ(name, existingW);
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].kind, ModalInfo::Kind::SaveDialog);
  EXPECT_EQ(seen[0].filter, u"All files (*.*)|*.*");
  EXPECT_EQ(seen[0].title, u"រក្សាទុក");
  EXPECT_EQ(seen[0].fileName, u"ថ្មី.txt");
  EXPECT_EQ(seen[1].kind, ModalInfo::Kind::MessageBox);  // replace the existing file?
  // Cancelled: the name stays.
  Driver().OnModal([](const ModalInfo&) { return ModalAnswer::Cancel(); });
  WideString kept = u"ថ្មី.txt";
  EXPECT_FALSE(WidePromptForFileName(kept, u"Text|*.txt"));
  EXPECT_EQ(kept, u"ថ្មី.txt");
}

}  // namespace
