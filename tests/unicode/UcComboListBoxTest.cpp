// The Unicode combo box and list box: wide items before and across windows, the children kept
// UTF-16, the type-ahead search and the typed completion on UTF-16 text, the list operations
// that keep objects and the selection, and the virtual list box's bounded text answers.
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "UcFixture.h"
#include "platform/forms/TReader.h"
#include "platform/rtl/Exceptions.h"
#include "unicode/TUcComboBox.h"
#include "unicode/TUcListBox.h"

namespace uctest {
namespace {

const char16_t* const kKhmerItems[] = {u"\u1780\u1798\u17D2\u1796\u17BB\u1787\u17B6",   // Cambodia
                                       u"\u1781\u17D2\u1798\u17C2\u179A",               // Khmer
                                       u"\u1797\u17D2\u1793\u17C6\u1796\u17C1\u1789"};  // Phnom Penh

TObject* Tag(intptr_t n) { return reinterpret_cast<TObject*>(n); }

class UcComboBox : public UcTest {
 protected:
  TUcComboBox* NewCombo(TForm* form, TComboBoxStyle style) {
    auto* combo = new TUcComboBox(form);
    combo->SetStyle(style);
    combo->SetBounds(10, 10, 200, 24);
    combo->Font()->SetName("Khmer OS");
    return combo;
  }
  // Types into the focused window and lets the messages run; `gapMs` of fake time after each.
  void TypeKeys(const std::u16string& keys, int gapMs = 0) {
    for (char16_t c : keys) {
      Driver().Type(std::u16string(1, c));
      Driver().RunUntilIdle();
      if (gapMs) Driver().Advance(gapMs);
    }
  }
};

// On an 8-bit system the windows are 8-bit ones and the items go through the form library's
// list in the code page (UTF-8 here, so Khmer survives there too).
class UcComboBoxSystems : public UcComboBox, public ::testing::WithParamInterface<bool> {};

TEST_P(UcComboBoxSystems, KhmerItemsMadeBeforeTheWindowLiveOnAcrossRecreation) {
  const bool narrow = GetParam();
  std::unique_ptr<NarrowScope> scope(narrow ? new NarrowScope : nullptr);
  TForm* form = NewForm();
  TUcComboBox* combo = NewCombo(form, csDropDown);
  for (int i = 0; i < 3; ++i) combo->Items()->AddObject(kKhmerItems[i], Tag(100 + i));
  ASSERT_FALSE(combo->HandleAllocated());
  combo->SetParent(form);
  combo->HandleNeeded();
  ASSERT_EQ(bool(IsWindowUnicode(combo->Handle())), !narrow);

  auto check = [&](const char* when) {
    SCOPED_TRACE(when);
    ASSERT_EQ(combo->Items()->Count(), 3);
    for (int i = 0; i < 3; ++i) {
      if (!narrow) {
        char16_t buffer[64] = {};
        SendMessageW(combo->Handle(), CB_GETLBTEXT, WPARAM(i), reinterpret_cast<LPARAM>(buffer));
        EXPECT_EQ(std::u16string(buffer), kKhmerItems[i]);
      }
      EXPECT_EQ(combo->Items()->Strings(i), WideString(kKhmerItems[i]));
      EXPECT_EQ(combo->Items()->Objects(i), Tag(100 + i));
    }
    EXPECT_EQ(bool(IsWindowUnicode(combo->EditHandle())), !narrow);
    EXPECT_EQ(bool(IsWindowUnicode(combo->ListHandle())), !narrow);
  };
  check("first window");

  combo->SetItemIndex(2);
  combo->SetText(u"\u1781\u17D2\u1798\u17C2\u179A \u1797\u17B6\u179F\u17B6");  // typed, no item
  combo->RecreateWnd();
  combo->HandleNeeded();
  check("after recreation");
  EXPECT_EQ(combo->ItemIndex(), 2);
  EXPECT_EQ(combo->Text(), WideString(u"\u1781\u17D2\u1798\u17C2\u179A \u1797\u17B6\u179F\u17B6"));

  // An index outside the items reads as "", through either kind of window.
  for (int outside : {-1, 3}) EXPECT_EQ(combo->Items()->Strings(outside), WideString()) << outside;

  // Clear empties the list and keeps the field's text.
  combo->Items()->Clear();
  EXPECT_EQ(combo->Items()->Count(), 0);
  EXPECT_EQ(combo->Text(), WideString(u"\u1781\u17D2\u1798\u17C2\u179A \u1797\u17B6\u179F\u17B6"));
  EXPECT_TRUE(exceptions.empty());
}

INSTANTIATE_TEST_SUITE_P(Systems, UcComboBoxSystems, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Narrow" : "Unicode"; });

TEST_F(UcComboBox, TypingInAListOnlyComboSearchesUntilAPause) {
  TForm* form = NewForm();
  TUcComboBox* combo = NewCombo(form, csDropDownList);
  combo->SetParent(form);
  for (const char16_t* item : {u"apple", u"kiwi", u"khmer", u"khaki", u"\u1781\u17D2\u1798\u17C2\u179A"})
    combo->Items()->Add(item);
  int selects = 0;
  combo->OnSelect = [&](TObject*) { ++selects; };
  combo->SetFocus();
  Driver().RunUntilIdle();

  TypeKeys(u"k", 1249);
  EXPECT_EQ(combo->ItemIndex(), 1);
  TypeKeys(u"h");
  EXPECT_EQ(combo->ItemIndex(), 2) << "k and h within 1250 ms search together";
  EXPECT_EQ(combo->Text(), WideString(u"khmer"));
  Driver().Advance(1250);
  TypeKeys(u"a");
  EXPECT_EQ(combo->ItemIndex(), 0) << "after the pause a new search starts";
  Driver().Advance(1250);
  TypeKeys(u"\u1781");
  EXPECT_EQ(combo->ItemIndex(), 4) << "a Khmer letter searches too";
  EXPECT_EQ(selects, 4);
  // A letter no item starts with goes on to the window, which finds nothing either.
  TypeKeys(u"z");
  EXPECT_EQ(combo->ItemIndex(), 4);
  EXPECT_TRUE(exceptions.empty());
}

// On an 8-bit system the search takes single-byte characters; the bytes of a longer character
// go to the window as they are.
TEST_F(UcComboBox, TypingInAListOnlyComboOnAnEightBitSystem) {
  NarrowScope narrow;
  TForm* form = NewForm();
  TUcComboBox* combo = NewCombo(form, csDropDownList);
  combo->SetParent(form);
  for (const char16_t* item : {u"apple", u"kiwi", u"khmer"}) combo->Items()->Add(item);
  combo->SetFocus();
  Driver().RunUntilIdle();
  ASSERT_FALSE(IsWindowUnicode(combo->Handle()));
  TypeKeys(u"kh");
  EXPECT_EQ(combo->ItemIndex(), 2);
  Driver().Advance(1250);
  TypeKeys(u"\u1781");
  EXPECT_EQ(combo->ItemIndex(), 2);
  EXPECT_TRUE(exceptions.empty());
}

TEST_F(UcComboBox, TypingAtTheEndOfADropDownComboCompletesIt) {
  struct Case {
    const char16_t* typed;
    const char16_t* text;
  };
  const Case cases[] = {
      {u"Vi", u"Vi\u1EC7t Nam"},
      {u"vi", u"vi\u1EC7t Nam"},  // the case the user typed is kept
      {u"\u1781", u"\u1781\u17D2\u1798\u17C2\u179A"},
      {u"xy", u"xy"},  // no item: the text is as typed
  };
  TForm* form = NewForm();
  for (const UINT codePage : {65001u, 1252u})
    for (const Case& c : cases) {
      SCOPED_TRACE(&c - cases);
      SCOPED_TRACE(codePage);
      CodePageScope page(codePage);
      TUcComboBox* combo = NewCombo(form, csDropDown);
      combo->SetParent(form);
      for (const char16_t* item : {u"Vi\u1EC7t Nam", u"\u1781\u17D2\u1798\u17C2\u179A", u"Vientiane"})
        combo->Items()->Add(item);
      combo->SetFocus();
      Driver().RunUntilIdle();
      TypeKeys(c.typed);
      const int typed = int(std::u16string(c.typed).size());
      EXPECT_EQ(combo->Text(), WideString(c.text));
      EXPECT_EQ(combo->SelStart(), typed);
      EXPECT_EQ(combo->SelLength(), int(std::u16string(c.text).size()) - typed)
          << "the completed tail is selected";
      delete combo;
    }
  EXPECT_TRUE(exceptions.empty());
}

TEST_F(UcComboBox, TheCompletionIsOnlyForStylesWithAnEdit) {
  TForm* form = NewForm();
  TUcComboBox* combo = NewCombo(form, csDropDownList);
  combo->SetParent(form);
  WideChar key = u'a';
  try {
    UcCombo_AutoCompleteKeyPress(combo, key, true, false);
    FAIL() << "no error";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message.ToStd(),
              "Internal Error: UcCombo_AutoCompleteKeyPress is only for csSimple and csDropDown style combo "
              "boxes.");
  }
}

// The unique search takes an item only when nothing else starts the same way.
TEST_F(UcComboBox, TheUniqueSearchNeedsASingleMatch) {
  TForm* form = NewForm();
  TUcComboBox* combo = NewCombo(form, csDropDown);
  combo->SetParent(form);
  for (const char16_t* item : {u"khaki", u"khmer", u"kiwi"}) combo->Items()->Add(item);
  EXPECT_EQ(UcCombo_FindUniqueString(combo, u"kh"), -1);
  EXPECT_EQ(UcCombo_FindUniqueString(combo, u"khm"), 1);
  EXPECT_EQ(UcCombo_FindUniqueString(combo, u"ki"), 2);
  EXPECT_EQ(UcCombo_FindUniqueString(combo, u"q"), -1);
}

TEST_F(UcComboBox, DroppedDownWithKhmerItemsAndOnePickedByMouse) {
  TForm* form = NewForm(260, 200);
  TUcComboBox* combo = NewCombo(form, csDropDownList);
  combo->SetParent(form);
  for (const char16_t* item : kKhmerItems) combo->Items()->Add(item);
  combo->Items()->Add(u"Vi\u1EC7t Nam");
  WideString picked;
  combo->OnSelect = [&](TObject*) { picked = combo->Text(); };
  Driver().RunUntilIdle();

  // The arrow at the right end of the field drops the list down.
  Driver().Click(Driver().ClientPoint(combo->Handle(), combo->Width() - 8, combo->Height() / 2));
  Driver().RunUntilIdle();
  ASSERT_TRUE(combo->DroppedDown());

  const HWND list = combo->ListHandle();
  const HWND popup = GetParent(list);
  auto image = Driver().Capture(form->Handle());
  const auto listImage = Driver().Capture(popup);
  RECT fr{}, pr{};
  GetWindowRect(form->Handle(), &fr);
  GetWindowRect(popup, &pr);
  for (int y = 0; y < listImage.height; ++y)
    for (int x = 0; x < listImage.width; ++x) {
      const int fx = pr.left - fr.left + x, fy = pr.top - fr.top + y;
      if (fx >= 0 && fy >= 0 && fx < image.width && fy < image.height)
        image.pixels[size_t(fy) * size_t(image.width) + size_t(fx)] = listImage.At(x, y);
    }
  std::filesystem::create_directories(Screenshots());
  EXPECT_TRUE(platform::headless::WritePng(Screenshots() + "uc-periphery-combo.png", image.width,
                                           image.height, image.pixels.data()));

  RECT item{};
  ASSERT_NE(SendMessageW(list, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item)), LB_ERR);
  Driver().Click(Driver().ClientPoint(list, item.left + 10, (item.top + item.bottom) / 2));
  Driver().RunUntilIdle();
  EXPECT_FALSE(combo->DroppedDown());
  EXPECT_EQ(combo->ItemIndex(), 1);
  EXPECT_EQ(picked, WideString(kKhmerItems[1]));
  EXPECT_EQ(WindowText(combo->Handle()), kKhmerItems[1]);
  EXPECT_TRUE(exceptions.empty());
}

// The IME's characters come as WM_IME_CHAR: the edit child takes them as typed characters.
TEST_F(UcComboBox, AnImeCharacterCompletesLikeATypedOne) {
  TForm* form = NewForm();
  TUcComboBox* combo = NewCombo(form, csDropDown);
  combo->SetParent(form);
  combo->Items()->Add(kKhmerItems[1]);
  combo->SetFocus();
  Driver().RunUntilIdle();
  SendMessageW(combo->EditHandle(), WM_IME_CHAR, 0x1781, 1);
  EXPECT_EQ(combo->Text(), WideString(kKhmerItems[1]));
  EXPECT_EQ(combo->SelStart(), 1);
  // The composition message reaches the edit child untouched (it answers it itself).
  SendMessageW(combo->EditHandle(), 0x010F, 0, 0);
  EXPECT_EQ(combo->Text(), WideString(kKhmerItems[1]));
  EXPECT_TRUE(exceptions.empty());
}

TEST_F(UcComboBox, LayoutsNameTheWideComboAndListBoxes) {
  TForm* form = NewForm();
  TReader reader(
      "object Form1: TForm\n"
      "  object cbo: TUcComboBox\n"
      "    Left = 10\n"
      "    Top = 10\n"
      "    Width = 150\n"
      "    Style = csDropDownList\n"
      "    Items.Strings = (\n"
      "      'apple'\n"
      "      'kiwi')\n"
      "  end\n"
      "  object lst: TUcListBox\n"
      "    Left = 10\n"
      "    Top = 40\n"
      "    Items.Strings = (\n"
      "      'one'\n"
      "      'two')\n"
      "  end\n"
      "end\n");
  reader.ReadRootComponent(form);
  auto* combo = dynamic_cast<TUcComboBox*>(form->FindComponent("cbo"));
  auto* list = dynamic_cast<TUcListBox*>(form->FindComponent("lst"));
  ASSERT_NE(combo, nullptr);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(combo->Style(), csDropDownList);
  EXPECT_EQ(combo->Items()->Strings(1), WideString(u"kiwi"));
  EXPECT_EQ(list->Items()->Strings(1), WideString(u"two"));
  EXPECT_TRUE(IsWindowUnicode(combo->Handle()));
  EXPECT_TRUE(IsWindowUnicode(list->Handle()));
}

// A chosen item's text is the wide item's, also where the code page has no Khmer letters.
TEST_F(UcComboBox, AChosenItemGivesItsWideTextUnder1252) {
  CodePageScope page(1252);
  TForm* form = NewForm();
  TUcComboBox* combo = NewCombo(form, csDropDown);
  combo->SetParent(form);
  for (const char16_t* item : kKhmerItems) combo->Items()->Add(item);
  WideString selected;
  combo->OnSelect = [&](TObject*) { selected = combo->Text(); };
  EXPECT_EQ(combo->Items()->Strings(0), WideString(kKhmerItems[0]));
  combo->SetFocus();
  Driver().RunUntilIdle();
  Driver().KeyDown(VK_DOWN);
  Driver().KeyUp(VK_DOWN);
  Driver().RunUntilIdle();
  EXPECT_EQ(combo->ItemIndex(), 0);
  EXPECT_EQ(selected, WideString(kKhmerItems[0]));
  EXPECT_EQ(WindowText(combo->Handle()), kKhmerItems[0]);
  EXPECT_TRUE(exceptions.empty());
}

// ---- list box

class UcListBox : public UcTest {};

TEST_F(UcListBox, PutExchangeAndMoveKeepObjectsAndTheSelection) {
  TForm* form = NewForm();
  auto* list = Child<TUcListBox>(form, 10, 10, 200, 120);
  for (int i = 0; i < 3; ++i) list->Items()->AddObject(kKhmerItems[i], Tag(10 + i));
  list->SetItemIndex(1);

  list->Items()->SetStrings(1, u"Vi\u1EC7t Nam");
  EXPECT_EQ(list->Items()->Strings(1), WideString(u"Vi\u1EC7t Nam"));
  EXPECT_EQ(list->Items()->Objects(1), Tag(11));
  EXPECT_EQ(list->ItemIndex(), 1);

  list->Items()->Exchange(1, 2);
  EXPECT_EQ(list->Items()->Strings(2), WideString(u"Vi\u1EC7t Nam"));
  EXPECT_EQ(list->Items()->Objects(2), Tag(11));
  EXPECT_EQ(list->Items()->Strings(1), WideString(kKhmerItems[2]));
  EXPECT_EQ(list->Items()->Objects(1), Tag(12));
  EXPECT_EQ(list->ItemIndex(), 2) << "the selection follows its item";

  list->Items()->Move(2, 0);
  EXPECT_EQ(list->Items()->Strings(0), WideString(u"Vi\u1EC7t Nam"));
  EXPECT_EQ(list->Items()->Objects(0), Tag(11));
  EXPECT_EQ(list->Items()->Objects(2), Tag(12));

  try {
    list->Items()->Strings(5);
    FAIL() << "no error";
  } catch (const EStringListError& e) {
    EXPECT_EQ(e.Message.ToStd(), "List index out of bounds (5)");
  }
}

// How many updates of a string list are open, which only the list itself reads.
template <class Strings>
struct UpdateDepth : Strings {
  static int Of(const Strings* strings) { return (strings->*&UpdateDepth::UpdateCount)(); }
};

TEST_F(UcListBox, AFailedExchangeOrMoveLeavesNoUpdatePending) {
  TForm* form = NewForm();
  auto* list = Child<TUcListBox>(form, 10, 10, 200, 120);
  for (int i = 0; i < 3; ++i) list->Items()->AddObject(kKhmerItems[i], Tag(10 + i));
  const std::function<void(TUcStrings*)> failing[] = {
      [](TUcStrings* items) { items->Exchange(0, 7); },
      [](TUcStrings* items) { items->Move(9, 0); },
  };
  for (const auto& change : failing) {
    EXPECT_THROW(change(list->Items()), EStringListError);
    EXPECT_EQ(UpdateDepth<TWideStrings>::Of(list->Items()), 0);
    EXPECT_EQ(UpdateDepth<TStrings>::Of(list->AnsiItems()), 0) << "the window must draw again";
  }
  EXPECT_EQ(list->Items()->Count(), 3);
}

TEST_F(UcListBox, ItemsLiveOnAcrossRecreationWithTopAndSelection) {
  TForm* form = NewForm();
  auto* list = new TUcListBox(form);
  list->SetBounds(10, 10, 200, 60);
  for (int i = 0; i < 12; ++i)
    list->Items()->AddObject(WideString(kKhmerItems[i % 3]) + WideString(i), Tag(i));
  list->SetParent(form);
  list->HandleNeeded();
  ASSERT_TRUE(IsWindowUnicode(list->Handle()));
  list->SetTopIndex(4);
  list->SetItemIndex(6);
  list->RecreateWnd();
  list->HandleNeeded();
  ASSERT_EQ(list->Items()->Count(), 12);
  for (int i = 0; i < 12; ++i) {
    EXPECT_EQ(list->Items()->Strings(i), WideString(kKhmerItems[i % 3]) + WideString(i));
    EXPECT_EQ(list->Items()->Objects(i), Tag(i));
  }
  EXPECT_EQ(list->TopIndex(), 4);
  EXPECT_EQ(list->ItemIndex(), 6);
}

// A virtual list box answers the window's text questions from its data event; the buffer a
// caller gives is as long as the length it was told, whatever the event says later.
class UcVirtualListBox : public UcTest, public ::testing::WithParamInterface<bool> {};

TEST_P(UcVirtualListBox, TextAnswersNeverWritePastTheReportedLength) {
  const bool narrow = GetParam();
  NarrowScope* scope = narrow ? new NarrowScope : nullptr;
  TForm* form = NewForm();
  auto* list = Child<TUcListBox>(form, 10, 10, 200, 120);
  list->SetStyle(lbVirtual);
  list->SetCount(3);
  std::u16string answer = u"ab";
  list->OnDataW = [&](TWinControl*, int, WideString& data) { data = answer; };
  const HWND h = list->Handle();

  EXPECT_EQ(SendMessageW(h, LB_GETTEXTLEN, 3, 0), LB_ERR) << "index count is outside";
  EXPECT_EQ(SendMessageW(h, LB_GETTEXTLEN, WPARAM(-1), 0), LB_ERR);
  std::vector<char16_t> unasked(8, u'#');
  EXPECT_EQ(SendMessageW(h, LB_GETTEXT, 1, reinterpret_cast<LPARAM>(unasked.data())), LB_ERR)
      << "no length was reported for the item";
  EXPECT_EQ(unasked[0], u'#');

  const LRESULT length = SendMessageW(h, LB_GETTEXTLEN, 1, 0);
  ASSERT_EQ(length, 2);
  answer = u"abcdefghijklmnop";  // the event now gives more than it reported
  if (narrow) {
    std::vector<char> buffer(size_t(length) + 1, '#');
    EXPECT_EQ(SendMessageA(h, LB_GETTEXT, 1, reinterpret_cast<LPARAM>(buffer.data())), 2);
    EXPECT_EQ(std::string(buffer.data()), "ab");
  } else {
    std::vector<char16_t> buffer(size_t(length) + 1, u'#');
    EXPECT_EQ(SendMessageW(h, LB_GETTEXT, 1, reinterpret_cast<LPARAM>(buffer.data())), 2);
    EXPECT_EQ(std::u16string(buffer.data()), u"ab");
  }

  // Without any data event there is no text.
  list->OnDataW = nullptr;
  EXPECT_EQ(SendMessageW(h, LB_GETTEXTLEN, 0, 0), LB_ERR);
  // The 8-bit event answers widened.
  list->OnData = [](TWinControl*, int index, AnsiString& data) {
    data = AnsiString("item ") + AnsiString(index);
  };
  EXPECT_EQ(list->Items()->Strings(2), WideString(u"item 2"));
  delete scope;
}

INSTANTIATE_TEST_SUITE_P(Systems, UcVirtualListBox, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Narrow" : "Unicode"; });

TEST_F(UcListBox, CopySelectionHandsWideItemsToAComboBox) {
  TForm* form = NewForm();
  auto* list = Child<TUcListBox>(form, 10, 10, 200, 80);
  list->SetMultiSelect(true);
  for (int i = 0; i < 3; ++i) list->Items()->AddObject(kKhmerItems[i], Tag(i + 1));
  list->SetSelected(0, true);
  list->SetSelected(2, true);
  auto* combo = Child<TUcComboBox>(form, 10, 100, 200, 24);
  list->CopySelection(combo);
  ASSERT_EQ(combo->Items()->Count(), 2);
  EXPECT_EQ(combo->Items()->Strings(0), WideString(kKhmerItems[0]));
  EXPECT_EQ(combo->Items()->Strings(1), WideString(kKhmerItems[2]));
  EXPECT_EQ(combo->Items()->Objects(1), Tag(3));
}

}  // namespace
}  // namespace uctest
