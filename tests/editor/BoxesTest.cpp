// The four boxes: what each button answers, the close question's button widths by the settings,
// which language key every text shows (and where a button's own text is drawn), the message
// kept through a change of language, dragging by the background, and what the user sees in the
// three languages (screenshots/editor/box-*.png, shapes, texts that fit).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "controls/TImButton.h"
#include "editor/TDelMessageBox.h"
#include "editor/TFrameBox.h"
#include "editor/TMessageBoxForm.h"
#include "editor/TMsgBox.h"
#include "editor/TResStringManager.h"
#include "platform/backend/HeadlessDriver.h"
#include "platform/forms/TBitmap.h"
#include "platform/forms/TCanvas.h"
#include "platform/forms/TImage.h"
#include "platform/forms/TLabel.h"
#include "platform/gdi/Gdi.h"
#include "platform/rtl/Program.h"
#include "platform/rtl/SysUtils.h"
#include "tests/editor/EditorFixture.h"

namespace {

using editortest::EditorTest;
using platform::headless::Driver;
using platform::headless::ModalAnswer;
using platform::headless::ModalInfo;

constexpr int kEnglish = 1;

class Boxes : public EditorTest {
 protected:
  void SetUp() override {
    EditorTest::SetUp();
    ResStringManager.SelectLanguageFile(kEnglish);
  }
  void TearDown() override {
    Driver().UseFixedMetricFont(0, 0);
    EditorTest::TearDown();
  }
  // Runs `box` modally; `drive` acts inside the loop once the box is painted (its buttons
  // shown). Without an answer of its own the box is closed by its close button's result.
  static int RunModal(TEditorBox* box, const std::function<void()>& drive) {
    Driver().OnModal([&](const ModalInfo&) {
      return ModalAnswer::Drive([&] {
        Driver().RunUntilIdle();
        drive();
        Driver().RunUntilIdle();
        if (box->ModalResult == mrNone) box->ModalResult = mrCancel;
      });
    });
    const int result = box->ShowModal();
    Driver().OnModal(nullptr);
    return result;
  }
  static POINT CentreOf(TWinControl* control) {
    RECT r;
    GetWindowRect(control->Handle(), &r);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  static std::string Text(const WideString& w) { return AnsiString(w).ToStd(); }
};

// Each kind of box, made afresh, with its buttons.
struct BoxKind {
  const char* name;
  std::function<TEditorBox*()> make;
};

const BoxKind kKinds[] = {
    {"close", [] { return NewBox<TMessageBoxForm>(nullptr); }},
    {"delete", [] { return NewBox<TDelMessageBox>(nullptr); }},
    {"warning", [] { return NewBox<TMsgBox>(nullptr); }},
    {"limit", [] { return NewBox<TFrameBox>(nullptr); }},
};

TEST_F(Boxes, EachButtonGivesItsModalResult) {
  struct Case {
    std::size_t kind;  // in kKinds
    const char* button;
    int result;
  };
  const Case cases[] = {
      {0, "OkButton", 1},  {0, "NoButton", 3},       {0, "CancleImButton", 2}, {0, "ImButton1", 2},
      {1, "OkButton", 1},  {1, "CancleImButton", 2}, {1, "ImButton1", 2},      {2, "OkButton", 2},
      {2, "ImButton2", 2}, {3, "OkButton", 2},       {3, "ImButton2", 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(kKinds[c.kind].name) + " " + c.button);
    std::unique_ptr<TEditorBox> box(kKinds[c.kind].make());
    auto* button = dynamic_cast<TImButton*>(box->FindComponent(c.button));
    ASSERT_NE(button, nullptr);
    bool clicked = false;
    const int result = RunModal(box.get(), [&] {
      ASSERT_TRUE(button->Visible()) << "the first paint shows the buttons";
      Driver().Click(CentreOf(button));
      Driver().RunUntilIdle();
      clicked = box->ModalResult != mrNone;
    });
    EXPECT_TRUE(clicked) << "the click itself ended the box";
    EXPECT_EQ(result, c.result);
  }
  // The keys Y, N and C do nothing: their actions stay disabled. The keys go through the box's
  // own loop (which hands shortcuts to the actions); once it has nothing left, the box is closed.
  std::unique_ptr<TEditorBox> box(NewBox<TMessageBoxForm>(nullptr));
  Driver().OnModal([&](const ModalInfo&) {
    return ModalAnswer::Drive([&] {
      for (const char* key : {"Y", "N", "C"}) Driver().Chord(key);
      Driver().SetIdleStep([&] {
        if (box->ModalResult == mrNone) box->ModalResult = mrCancel;
        PostMessageW(box->Handle(), WM_NULL, 0, 0);  // wakes the loop to see the result
      });
    });
  });
  EXPECT_EQ(box->ShowModal(), 2);
  Driver().OnModal(nullptr);
}

TEST_F(Boxes, TheCloseQuestionsButtonsAreAsWideAsTheSettingsLanguageAsks) {
  struct Case {
    const char16_t* value;  // nullptr: no settings file
    int ok, no, cancel;
  };
  const Case cases[] = {
      {u"\\Language\\lan_VIE.ini", 76, 85, 76}, {u"\\Language\\lan_Khmer.ini", 76, 85, 76},
      {u"\\Language\\lan_ENG.ini", 74, 74, 74}, {nullptr, 74, 74, 74},
      {u"\\language\\lan_eng.ini", 76, 88, 69},  // another spelling: the layout's widths
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value ? Text(WideString(c.value)) : "no settings file");
    if (c.value)
      AppFile("App.Config.ini", editortest::SettingsFor(c.value));
    else
      std::remove(app.file("App.Config.ini").c_str());
    std::unique_ptr<TMessageBoxForm> box(NewBox<TMessageBoxForm>(nullptr));
    EXPECT_EQ(box->OkButton->Width(), c.ok);
    EXPECT_EQ(box->NoButton->Width(), c.no);
    EXPECT_EQ(box->CancleImButton->Width(), c.cancel);
    // The buttons keep their places.
    EXPECT_EQ(box->OkButton->Left(), 29);
    EXPECT_EQ(box->NoButton->Left(), 121);
    EXPECT_EQ(box->CancleImButton->Left(), 220);
  }
}

TEST_F(Boxes, EveryTextComesFromItsKeyAndEachButtonTextStartsAtItsPlace) {
  struct Expected {
    const char* message;
    std::vector<std::pair<const char*, int>> buttons;  // key and x of the drawn text
    const char* caption;
  };
  const Expected expected[] = {
      {"STR_CloseFrm_Title",
       {{"STR_CloseFrm_OK", 25}, {"STR_CloseFrm_NO ", 23}, {"STR_TextEdit_Cancle ", 18}},
       "MessageBoxForm"},
      {"STR_Mivora_DelHint", {{"STR_Mivora_YES ", 20}, {"STR_CloseFrm_Cancel ", 10}}, "delMessageBox"},
      {"STR_Main_Error_OnePage", {{"STR_Mivora_YES ", 20}}, "MsgBox"},
      {"STR_Main_Error_Page", {{"STR_Mivora_YES ", 20}}, "FrameBox"},
  };
  // Every character an 8 x 12 block in the button's text colour: the ink's first column is
  // where the text starts.
  Driver().UseFixedMetricFont(8, 12);
  for (std::size_t k = 0; k < std::size(kKinds); ++k) {
    SCOPED_TRACE(kKinds[k].name);
    std::unique_ptr<TEditorBox> box(kKinds[k].make());
    const Expected& e = expected[k];
    EXPECT_EQ(box->Caption().ToStd(), e.caption);
    EXPECT_EQ(Text(box->BoxTitle->Caption()), "<STR_Main_Error_WarningBox>");
    EXPECT_EQ(Text(box->MessageLabel()->Caption()), std::string("<") + e.message + ">");
    std::vector<TImButton*> buttons;
    for (int i = 0; i < box->ComponentCount(); ++i)
      if (auto* b = dynamic_cast<TImButton*>(box->Components(i)); b && !box->ButtonText(b).IsEmpty())
        buttons.push_back(b);
    ASSERT_EQ(buttons.size(), e.buttons.size());
    ModalInfo seen;
    Driver().OnModal([&](const ModalInfo& info) {
      seen = info;
      return ModalAnswer::Drive([&] {
        Driver().RunUntilIdle();
        for (std::size_t i = 0; i < buttons.size(); ++i) {
          TImButton* b = buttons[i];
          SCOPED_TRACE(b->Name().ToStd());
          EXPECT_EQ(Text(box->ButtonText(b)), std::string("<") + e.buttons[i].first + ">");
          const platform::headless::CaptureImage image = Driver().Capture(b->Handle());
          int inkLeft = -1;
          for (int x = 0; x < image.width && inkLeft < 0; ++x)
            for (int y = 0; y < image.height; ++y)
              if (image.At(x, y) == 0x000000) {
                inkLeft = x;
                break;
              }
          EXPECT_EQ(inkLeft, e.buttons[i].second);
        }
        box->ModalResult = mrCancel;
      });
    });
    box->ShowModal();
    Driver().OnModal(nullptr);
    // A script sees the box by its caption and its texts.
    EXPECT_EQ(seen.caption, std::u16string(WideString(e.caption).c_bstr()));
    ASSERT_GE(seen.texts.size(), 2u);
    EXPECT_EQ(Text(WideString(seen.texts[1].c_str())), std::string("<") + e.message + ">");
  }
}

TEST_F(Boxes, AnOpenBoxKeepsItsMessageAcrossAChangeOfLanguage) {
  AppFile("language_editer/lan_Vietnamese.ini", editortest::KeyLanguageFile("vi:"));
  struct Case {
    std::size_t kind;  // in kKinds
    const char* key;
  };
  const Case cases[] = {{2, "SizeHint"}, {1, "STR_Main_Del_Hint"}, {3, "STR_Main_Error_Page"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    ResStringManager.SelectLanguageFile(kEnglish);
    std::unique_ptr<TEditorBox> box(kKinds[c.kind].make());
    box->SetMessageKey(c.key);
    EXPECT_EQ(Text(box->MessageLabel()->Caption()), std::string("<") + c.key + ">");
    RunModal(box.get(), [&] {
      // The main window switched the language and tells the open boxes.
      ResStringManager.SelectLanguageFile(0);
      PostMessageW(box->Handle(), WM_REFRESHCAPTION, 0, 0);
      Driver().RunUntilIdle();
      EXPECT_EQ(Text(box->MessageLabel()->Caption()), std::string("vi:<") + c.key + ">");
      EXPECT_EQ(Text(box->BoxTitle->Caption()), "vi:<STR_Main_Error_WarningBox>");
    });
  }
  ResStringManager.SelectLanguageFile(kEnglish);

  // ShowMsgBox shows the caller's message.
  ModalInfo seen;
  Driver().OnModal([&](const ModalInfo& info) {
    seen = info;
    return ModalAnswer::Result(mrCancel);
  });
  ShowMsgBox("SizeHint");
  Driver().OnModal(nullptr);
  EXPECT_EQ(seen.caption, u"MsgBox");
  ASSERT_GE(seen.texts.size(), 2u);
  EXPECT_EQ(seen.texts[1], u"<SizeHint>");
}

TEST_F(Boxes, APressOnTheBackgroundDragsTheBox) {
  for (const BoxKind& kind : kKinds) {
    SCOPED_TRACE(kind.name);
    std::unique_ptr<TEditorBox> box(kind.make());
    RECT before{}, after{};
    RunModal(box.get(), [&] {
      GetWindowRect(box->Handle(), &before);
      const POINT start{before.left + 150, before.top + 145};  // below the buttons
      Driver().Press(0, start);
      Driver().MoveMouse(POINT{start.x + 30, start.y + 20});
      Driver().MoveMouse(POINT{start.x + 37, start.y - 11});
      Driver().Release(0, POINT{start.x + 37, start.y - 11});
      Driver().RunUntilIdle();
      GetWindowRect(box->Handle(), &after);
      EXPECT_EQ(box->ModalResult, mrNone) << "dragging is no answer";
    });
    EXPECT_EQ(after.left - before.left, 37);
    EXPECT_EQ(after.top - before.top, -11);
    EXPECT_EQ(after.right - after.left, before.right - before.left);
  }
}

// With the product's language files.
class BoxLook : public Boxes {
 protected:
  void SetUp() override {
    Boxes::SetUp();
    editortest::CopyProductLanguageFiles(app);
  }
  struct Language {
    int index;
    const char* code;
    const char16_t* setting;
  };
  static constexpr Language kLanguages[] = {{1, "en", u"\\Language\\lan_ENG.ini"},
                                            {0, "vi", u"\\Language\\lan_VIE.ini"},
                                            {2, "km", u"\\Language\\lan_Khmer.ini"}};
  void Choose(const Language& language) {
    AppFile("App.Config.ini", editortest::SettingsFor(language.setting));
    ResStringManager.SelectLanguageFile(language.index);
  }
  static bool InShape(const std::vector<RECT>& shape, int x, int y) {
    for (const RECT& r : shape)
      if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return true;
    return false;
  }
};

TEST_F(BoxLook, EachBoxInEachLanguageIsShapedByItsSkinAndSavedForAPersonToSee) {
  std::filesystem::create_directories(MMS_SCREENSHOT_DIR);
  for (const Language& language : kLanguages) {
    Choose(language);
    for (const BoxKind& kind : kKinds) {
      SCOPED_TRACE(std::string(kind.name) + " " + language.code);
      std::unique_ptr<TEditorBox> box(kind.make());
      RunModal(box.get(), [&] {
        const std::string file =
            std::string(MMS_SCREENSHOT_DIR) + "/box-" + kind.name + "-" + language.code + ".png";
        EXPECT_TRUE(Driver().SavePng(box->Handle(), file));
        // The longest warning a command shows, with a size and its unit, is seen as well.
        if (std::string(kind.name) == "warning") {
          box->SetMessageKey("SizeHint");
          Driver().RunUntilIdle();
          EXPECT_TRUE(Driver().SavePng(box->Handle(), std::string(MMS_SCREENSHOT_DIR) + "/box-warning-size-" +
                                                          language.code + ".png"));
          box->SetMessageKey("STR_Main_Error_AddImgError1");
          Driver().RunUntilIdle();
          EXPECT_TRUE(Driver().SavePng(box->Handle(), std::string(MMS_SCREENSHOT_DIR) + "/box-warning-long-" +
                                                          language.code + ".png"));
        }
        // The key colour of the background is exactly what lies outside the window's shape.
        auto* background = dynamic_cast<TImage*>(box->Controls(0));
        ASSERT_NE(background, nullptr);
        TBitmap* skin = background->Picture()->Bitmap();
        ASSERT_EQ(skin->Width(), box->ClientWidth());
        ASSERT_EQ(skin->Height(), box->ClientHeight());
        const std::vector<RECT> shape = Driver().Shape(box->Handle());
        ASSERT_FALSE(shape.empty());
        for (int y = 0; y < skin->Height(); ++y)
          for (int x = 0; x < skin->Width(); ++x)
            ASSERT_EQ(InShape(shape, x, y), (skin->Canvas()->Pixels(x, y) & 0xFFFFFF) != 0xFF00FF)
                << x << "," << y;
        // Shown controls stay inside the box, and the buttons clear of each other and the labels.
        std::vector<TControl*> shown;
        for (int i = 0; i < box->ControlCount(); ++i)
          if (box->Controls(i)->Visible() && box->Controls(i) != background)
            shown.push_back(box->Controls(i));
        for (TControl* c : shown) {
          EXPECT_GE(c->Left(), 0) << c->Name().ToStd();
          EXPECT_LE(c->Left() + c->Width(), box->ClientWidth()) << c->Name().ToStd();
          EXPECT_LE(c->Top() + c->Height(), box->ClientHeight()) << c->Name().ToStd();
        }
        for (std::size_t i = 0; i < shown.size(); ++i)
          for (std::size_t j = i + 1; j < shown.size(); ++j) {
            const TControl* a = shown[i];
            const TControl* b = shown[j];
            const bool apart = a->Left() + a->Width() <= b->Left() || b->Left() + b->Width() <= a->Left() ||
                               a->Top() + a->Height() <= b->Top() || b->Top() + b->Height() <= a->Top();
            EXPECT_TRUE(apart) << a->Name().ToStd() << " overlaps " << b->Name().ToStd();
          }
      });
    }
  }
}

TEST_F(BoxLook, EveryTextFitsItsPlaceInTheThreeLanguages) {
  TBitmap sheet;
  sheet.SetSize(8, 8);
  // DT_CALCRECT's extent of `text` in `font`, wrapped at `width` when asked.
  auto extent = [&](const WideString& text, TFont* font, int width, bool wrap) {
    sheet.Canvas()->Font()->Assign(font);
    RECT r{0, 0, wrap ? width : 10000, 10000};
    DrawTextW(sheet.Canvas()->Handle(), text.c_bstr(), -1, &r,
              DT_CALCRECT | DT_NOPREFIX | (wrap ? DT_WORDBREAK : DT_SINGLELINE));
    return r;
  };
  // The space the boxes keep between a number and its unit never breaks, even where the pair
  // does not fit the line.
  {
    TFont font;
    const RECT pair = extent(WideString(u"300\u00A0KB"), &font, 10, true);
    const RECT line = extent(WideString(u"300"), &font, 10, true);
    EXPECT_EQ(pair.bottom, line.bottom);
  }
  // The messages the editor's commands show besides the defaults.
  const std::vector<const char*> extraMessages[] = {
      {},
      {"STR_Main_Del_Hint"},
      {"SizeHint", "CreateMMS", "AddSlide", "STR_Main_Error_AddImgError1", "STR_Main_Error_AddImgError2",
       "STR_Main_Text_Error"},
      {}};
  for (const Language& language : kLanguages) {
    Choose(language);
    for (std::size_t k = 0; k < std::size(kKinds); ++k) {
      std::unique_ptr<TEditorBox> box(kKinds[k].make());
      std::vector<AnsiString> keys{box->MessageKey()};
      for (const char* extra : extraMessages[k]) keys.push_back(extra);
      for (const AnsiString& key : keys) {
        box->SetMessageKey(key);
        TUcLabel* label = box->MessageLabel();
        const WideString text(label->Caption());
        SCOPED_TRACE(std::string(kKinds[k].name) + " " + language.code + " " + key.ToStd() + ": " +
                     Text(text));
        ASSERT_FALSE(text.IsEmpty());
        const RECT r = extent(text, label->Font(), label->Width(), label->WordWrap());
        EXPECT_LE(r.right, label->Width());
        EXPECT_LE(r.bottom, label->Height());
        // A number keeps its unit on its line: no breaking space between them.
        const std::u16string s(text.c_bstr(), size_t(text.Length()));
        for (size_t i = 1; i + 1 < s.size(); ++i)
          EXPECT_FALSE(s[i] == u' ' && s[i - 1] >= u'0' && s[i - 1] <= u'9' && s[i + 1] != u' ')
              << "a line may break between the number and its unit at " << i;
        // The buttons stand right under the text, the two in the middle of the body.
        for (int i = 0; i < box->ComponentCount(); ++i) {
          auto* b = dynamic_cast<TImButton*>(box->Components(i));
          if (!b || box->ButtonText(b).IsEmpty()) continue;
          EXPECT_GE(b->Top(), label->Top() + r.bottom) << b->Name().ToStd();
          EXPECT_LE(b->Top(), label->Top() + r.bottom + 16) << b->Name().ToStd();
          const int above = label->Top() - 26, below = box->ClientHeight() - (b->Top() + b->Height());
          EXPECT_LE(std::abs(above - below), 2) << b->Name().ToStd();
        }
      }
      const WideString title(box->BoxTitle->Caption());
      const RECT t = extent(title, box->BoxTitle->Font(), box->BoxTitle->Width(), false);
      EXPECT_LE(t.right, box->BoxTitle->Width()) << Text(title);
      EXPECT_LE(t.bottom, box->BoxTitle->Height()) << Text(title);
      for (int i = 0; i < box->ComponentCount(); ++i) {
        auto* b = dynamic_cast<TImButton*>(box->Components(i));
        if (!b || box->ButtonText(b).IsEmpty()) continue;
        const WideString text = box->ButtonText(b);
        SCOPED_TRACE(std::string(kKinds[k].name) + " " + language.code + " " + b->Name().ToStd() + ": " +
                     Text(text));
        const RECT r = extent(text, b->Font(), 0, false);
        EXPECT_LE(box->ButtonTextOrigin(b).x + r.right, b->Width() - 2) << "inside the face's edge";
        EXPECT_LE(r.bottom, b->Height());
        // The button's frames are as high as the button: four of them in the strip.
        EXPECT_EQ(b->Picture()->Height(), 4 * b->Height());
      }
    }
  }
}

}  // namespace
