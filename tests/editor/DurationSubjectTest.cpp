// The page's duration and the subject as a user edits them: typed and stepped durations within
// 1..60 s, held spin buttons on the fake clock, selecting a page that must not rewrite its
// duration, and the subject's 40-character limit with its counter.
#include <sys/stat.h>

#include "controls/TImButton.h"
#include "mms/TK3VNMms.h"
#include "mms/TMediaItem.h"
#include "mms/TMmsBody.h"
#include "mms/TMmsFrame.h"
#include "platform/backend/HeadlessDriver.h"
#include "platform/forms/TEdit.h"
#include "platform/forms/TImage.h"
#include "platform/forms/TLabel.h"
#include "platform/rtl/CodePage.h"
#include "platform/rtl/Utf8.h"
#include "tests/editor/CommandFixture.h"

namespace {

using editortest::CommandTest;
using platform::headless::Driver;

class DurationSubject : public CommandTest {
 protected:
  int Dur(int page = 0) { return main->Mms()->Body->GetFrameDur(page); }
  std::string Text(TCustomEdit* edit) { return edit->TControl::Text().c_str(); }
  // The control's centre, in screen coordinates.
  POINT Centre(TControl* control) {
    return Driver().ClientPoint(main->Handle(), control->Left() + control->Width() / 2,
                                control->Top() + control->Height() / 2);
  }
  // Selects page `index` by a click on its title band in the strip.
  void ClickTitle(int index) {
    Driver().Click(Driver().ClientPoint(main->Handle(),
                                        main->Controls().imgFrameList->Left() + 100 * index + 50 -
                                            main->Controls().scrBarFrameList->Position(),
                                        main->Controls().imgFrameList->Top() + 40));
    Driver().RunUntilIdle();
  }
  void TypeDuration(const std::u16string& text) {
    main->Controls().Edit_Cur->SetFocus();
    main->Controls().Edit_Cur->SelectAll();
    Driver().Type(text);
    Driver().RunUntilIdle();
  }
};

TEST(DurationKeys, DigitsAndTheEditingControlsPassEverythingElseIsDropped) {
  for (char key : {'0', '5', '9', char(3), char(8), char(22), char(24), char(26)}) {
    EXPECT_EQ(TfrmMain::IsDurationKey(key), 1) << int(key);
  }
  for (char key : {'a', 'Z', '-', '.', ' ', char(13), char(27)})
    EXPECT_EQ(TfrmMain::IsDurationKey(key), 0) << int(key);
}

TEST_F(DurationSubject, TypedDurationsStayWithinOneToSixtySeconds) {
  ClickTitle(0);
  ASSERT_TRUE(main->Controls().Edit_Cur->Enabled());
  TypeDuration(u"75");
  EXPECT_EQ(Text(main->Controls().Edit_Cur), "60");
  EXPECT_EQ(Dur(), 60000);

  // Emptied while typing: 0 ms for the moment; leaving the edit shows 1 and the page runs 1 s.
  main->Controls().Edit_Cur->SetTextProp("");
  EXPECT_EQ(Dur(), 0);
  main->Edit_CurExit(main->Controls().Edit_Cur);
  EXPECT_EQ(Text(main->Controls().Edit_Cur), "1");
  EXPECT_EQ(Dur(), 1000);

  main->Controls().Edit_Cur->SetTextProp("");
  main->DownbtnCllick(main->Controls().DownBtn);
  EXPECT_EQ(Text(main->Controls().Edit_Cur), "1");
  EXPECT_EQ(Dur(), 1000);
}

TEST_F(DurationSubject, HoldingTheUpButtonStepsEvery200MsAndStopsAtSixty) {
  ClickTitle(0);
  TypeDuration(u"58");
  ASSERT_EQ(Dur(), 58000);
  const POINT up = Centre(main->Controls().UpBtn);
  Driver().Press(0, up);
  Driver().RunUntilIdle();
  Driver().Advance(200);
  EXPECT_EQ(Text(main->Controls().Edit_Cur), "59");
  Driver().Advance(200);
  EXPECT_EQ(Text(main->Controls().Edit_Cur), "60");
  Driver().Advance(200);
  EXPECT_EQ(Text(main->Controls().Edit_Cur), "60");
  Driver().Release(0, up);
  Driver().RunUntilIdle();
  EXPECT_EQ(Text(main->Controls().Edit_Cur), "60");
  EXPECT_EQ(Dur(), 60000);
  EXPECT_TRUE(main->Document().Modified());
  // Released: no more steps.
  TypeDuration(u"10");
  Driver().Advance(1000);
  EXPECT_EQ(Text(main->Controls().Edit_Cur), "10");
}

TEST_F(DurationSubject, SelectingAPageShowsItsSecondsWithoutRewritingIt) {
  Pages(2);
  main->Mms()->Body->SetFrameDur(1, 2500);
  Put(1, TMediaItem::kText, "t.txt", nullptr);
  main->Mms()->Body->SetFrameDur(1, 2500);
  const int itemEnd = main->Mms()->Body->GetFrame(1)->GetItem(TMediaItem::kText)->End;
  main->Document().SetModified(false);
  ClickTitle(1);
  EXPECT_EQ(main->Document().CurrentPage(), 1);
  EXPECT_EQ(Text(main->Controls().Edit_Cur), "2");
  EXPECT_EQ(Dur(1), 2500);
  EXPECT_EQ(main->Mms()->Body->GetFrame(1)->GetItem(TMediaItem::kText)->End, itemEnd);
  EXPECT_FALSE(main->Document().Modified());

  // Typing is an edit: the page and its items are re-timed, the total shown, the close asks.
  TypeDuration(u"5");
  EXPECT_EQ(Dur(1), 5000);
  EXPECT_EQ(main->Mms()->Body->GetFrame(1)->GetItem(TMediaItem::kText)->End, 5000);
  EXPECT_EQ(Caption(main->Controls().Label_Time), "6");
  EXPECT_TRUE(main->Document().Modified());
}

TEST_F(DurationSubject, TheEditFollowsTheCurrentPageWhateverMadeItCurrent) {
  ClickTitle(0);
  TypeDuration(u"5");
  ASSERT_EQ(Dur(0), 5000);

  // A new page is current at once and runs its default second.
  main->btnNewFrameClick(main->Controls().btnNewFrame);
  Driver().RunUntilIdle();
  ASSERT_EQ(main->Document().CurrentPage(), 1);
  EXPECT_EQ(Text(main->Controls().Edit_Cur), "1");
  EXPECT_EQ(Dur(0), 5000);

  // Deleting it makes the first page current again: its 5 s show.
  AnswerModals([](const platform::win::ModalInfo&) { return platform::win::ModalAnswer::Result(1); });
  main->actDeletePageExecute(nullptr);
  Driver().RunUntilIdle();
  ASSERT_EQ(main->Document().CurrentPage(), 0);
  EXPECT_EQ(Text(main->Controls().Edit_Cur), "5");
  EXPECT_EQ(Dur(0), 5000);
}

TEST_F(DurationSubject, TheSubjectIsCutToFortyUnitsWithARedCounter) {
  const std::string fifty(50, 'x');
  main->Document().SetModified(false);
  main->Controls().memo_title->SetTextProp(fifty.c_str());  // a paste
  EXPECT_EQ(Text(main->Controls().memo_title), std::string(40, 'x'));
  EXPECT_EQ(Caption(main->Controls().subject_size), "(40/40)");
  EXPECT_EQ(main->Controls().subject_size->Font()->Color(), TColor(255));
  EXPECT_EQ(main->Controls().memo_title->SelStart(), 40);
  EXPECT_TRUE(main->Document().Modified());

  // At the limit a letter is refused; backspace and typing over a selection are not.
  char key = 'y';
  main->memo_titleKeyPress(main->Controls().memo_title, key);
  EXPECT_EQ(key, 0);
  key = 8;
  main->memo_titleKeyPress(main->Controls().memo_title, key);
  EXPECT_EQ(key, 8);
  main->Controls().memo_title->SetSelStart(0);
  main->Controls().memo_title->SetSelLength(3);
  key = 'y';
  main->memo_titleKeyPress(main->Controls().memo_title, key);
  EXPECT_EQ(key, 'y');

  main->Controls().memo_title->SetTextProp("abc");
  EXPECT_EQ(Caption(main->Controls().subject_size), "(3/40)");
  EXPECT_EQ(main->Document().Subject(), u"abc");  // what the hand-over names
  EXPECT_EQ(main->Controls().subject_size->Font()->Color(), clBlack);
}

TEST_F(DurationSubject, FortyVietnameseLettersAndAFiveSecondPageAsAUserSeesThem) {
  Driver().UseFixedMetricFont(0, 0);
  ClickTitle(0);
  TypeDuration(u"5");
  std::u16string subject;
  const std::u16string letters = u"\u0110\u00E0 N\u1EB5ng \u1EDF bi\u1EC3n \u0111\u1EB9p tr\u1EDDi ";
  while (subject.size() < 50) subject += letters;
  main->Controls().memo_title->SetTextProp(platform::Utf16ToUtf8(subject).c_str());
  EXPECT_EQ(platform::Utf8ToUtf16(Text(main->Controls().memo_title)), subject.substr(0, 40));
  EXPECT_EQ(Caption(main->Controls().subject_size), "(40/40)");
  EXPECT_EQ(Dur(), 5000);
  mkdir(MMS_SCREENSHOT_DIR, 0755);
  EXPECT_TRUE(Driver().SavePng(main->Handle(), std::string(MMS_SCREENSHOT_DIR) + "/subject-limit.png"));
}

TEST_F(DurationSubject, TheCutNeverSplitsASurrogatePair) {
  // 39 letters then an emoji: units 40 and 41 are one character.
  const std::u16string text = std::u16string(39, u'a') + u"\U0001F600" + u"bc";
  main->Controls().memo_title->SetTextProp(platform::Utf16ToUtf8(text).c_str());
  EXPECT_EQ(platform::Utf8ToUtf16(Text(main->Controls().memo_title)), std::u16string(39, u'a'));
  EXPECT_EQ(Caption(main->Controls().subject_size), "(39/40)");
}

TEST_F(DurationSubject, ASubjectSetByTheProgramIsCutButIsNoEdit) {
  main->Document().SetModified(false);
  main->SetSubjectText(WideString(std::u16string(50, u'q')));
  EXPECT_EQ(Text(main->Controls().memo_title), std::string(40, 'q'));
  EXPECT_EQ(main->Document().Subject(), std::u16string(40, u'q'));
  EXPECT_FALSE(main->Document().Modified());
}

TEST_F(DurationSubject, LettersOutsideTheCodePageCountOneEachAndAreLostToQuestionMarks) {
  ASSERT_TRUE(SetSystemCodePage(1252));
  // 45 Vietnamese letters: as the 8-bit edit holds them in code page 1252, each is one "?".
  const std::u16string viet(45, u'\u1EA1');
  main->Controls().memo_title->SetTextProp(AnsiString(platform::Utf16ToMultiByte(viet).c_str()));
  EXPECT_EQ(Text(main->Controls().memo_title), std::string(40, '?'));
  EXPECT_EQ(Caption(main->Controls().subject_size), "(40/40)");
  SetSystemCodePage(CP_UTF8);
}

}  // namespace
