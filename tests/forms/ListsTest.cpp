// List and combo boxes: items with objects added before and after the window exists and kept
// over its re-creation; selection by code, mouse and keys with OnClick, OnDblClick, OnChange
// and OnSelect once per change; sorted, multi-select, owner-drawn and virtual lists; the combo
// box's drop-down, its edit and its completion of typed text.
#include <string>
#include <vector>

#include "StdCtrlsTestSupport.h"
#include "platform/forms/ClassRegistry.h"
#include "platform/forms/TComboBox.h"
#include "platform/forms/TListBox.h"
#include "platform/rtl/Exceptions.h"

using namespace stdctrlstest;

namespace {

class ListsTest : public StdCtrlsTest {
 public:
  static std::vector<std::string> ItemsOf(TStrings* items) {
    std::vector<std::string> out;
    for (int i = 0; i < items->Count(); ++i) out.push_back(items->Strings(i).ToStd());
    return out;
  }

 protected:
  // The point of item `index` in a list window (items of the list's own height).
  POINT ItemPoint(HWND list, int index) {
    RECT r{};
    SendMessageA(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
    return Driver().ClientPoint(list, r.left + 5, (r.top + r.bottom) / 2);
  }
  void ClickAt(POINT p) {
    Driver().Advance(1000);
    Driver().Click(p);
    Driver().RunUntilIdle();
  }
};

TObject* Tag(std::intptr_t n) { return reinterpret_cast<TObject*>(n); }

TEST_F(ListsTest, ItemsKeepTextsObjectsAndSelectionWithAndWithoutAWindow) {
  auto* list = new TListBox(form);
  TStrings* items = list->Items();
  // Before the list has a window (it has no parent yet).
  items->AddObject("one", Tag(1));
  items->AddObject(Utf8(u"ភាសាខ្មែរ"), Tag(2));
  items->InsertObject(0, "zero", Tag(3));
  list->SetItemIndex(2);
  EXPECT_EQ(list->ItemIndex(), 2);
  EXPECT_FALSE(list->HandleAllocated());
  list->SetParent(form);
  list->SetBounds(10, 10, 150, 120);
  list->HandleNeeded();
  EXPECT_EQ(ItemsOf(items), (std::vector<std::string>{"zero", "one", Utf8(u"ភាសាខ្មែរ")}));
  EXPECT_EQ(items->Objects(1), Tag(1));
  EXPECT_EQ(list->ItemIndex(), 2);
  EXPECT_EQ(SendMessageA(list->Handle(), LB_GETCOUNT, 0, 0), 3);
  // Over a new window.
  HWND before = list->Handle();
  list->SetBorderStyle(bsNone);
  EXPECT_NE(list->Handle(), before);
  EXPECT_EQ(ItemsOf(items), (std::vector<std::string>{"zero", "one", Utf8(u"ភាសាខ្មែរ")}));
  EXPECT_EQ(items->Objects(2), Tag(2));
  EXPECT_EQ(list->ItemIndex(), 2);
  // Sorting moves the selection with its item.
  list->SetSorted(true);
  EXPECT_EQ(ItemsOf(items), (std::vector<std::string>{"one", "zero", Utf8(u"ភាសាខ្មែរ")}));
  EXPECT_EQ(list->ItemIndex(), 2);
  list->SetItemIndex(1);
  list->SetSorted(false);
  items->Move(1, 0);
  EXPECT_EQ(ItemsOf(items), (std::vector<std::string>{"zero", "one", Utf8(u"ភាសាខ្មែរ")}));
  EXPECT_EQ(items->Objects(0), Tag(3));
  list->SetItemIndex(2);
  // Changing a text keeps the item's object and the selection.
  items->SetStrings(2, "two");
  EXPECT_EQ(items->Objects(2), Tag(2));
  EXPECT_EQ(list->ItemIndex(), 2);
  EXPECT_EQ(items->IndexOf("TWO"), 2);
  EXPECT_EQ(items->IndexOf("three"), -1);
  EXPECT_THROW(items->Strings(3), EStringListError);
  EXPECT_THROW(list->Selected(-1), EStringListError);
  items->Delete(0);
  EXPECT_EQ(ItemsOf(items), (std::vector<std::string>{"one", "two"}));
  items->Clear();
  EXPECT_EQ(items->Count(), 0);
  EXPECT_EQ(list->ItemIndex(), -1);
}

// A sorted list or combo box without a window: new items take their sorted places, the current
// item follows them and the objects stay with them; all of it goes into the window and back.
// Reading past the items raises for a list and gives "" for a combo box, with or without a window.
template <class Box>
void CheckItemsKeptUntilTheWindowComes(TForm* form, Box* box, bool outsideRaises) {
  SCOPED_TRACE(box->ClassName().c_str());
  TStrings* items = box->Items();
  box->SetSorted(true);
  items->AddObject("pear", Tag(1));
  items->AddObject("apple", Tag(2));
  box->SetItemIndex(1);
  items->AddObject("banana", Tag(3));
  items->AddObject("cherry", Tag(4));
  EXPECT_EQ(box->ItemIndex(), 3);
  items->Delete(0);
  EXPECT_EQ(box->ItemIndex(), 2);
  const std::vector<std::string> kept{"banana", "cherry", "pear"};
  auto check = [&](const char* when) {
    SCOPED_TRACE(when);
    EXPECT_EQ(ListsTest::ItemsOf(items), kept);
    EXPECT_EQ(items->Objects(2), Tag(1));
    EXPECT_EQ(items->Objects(0), Tag(3));
    EXPECT_EQ(items->IndexOf("CHERRY"), 1);
    EXPECT_EQ(box->ItemIndex(), 2);
    if (outsideRaises)
      EXPECT_THROW(items->Strings(3), EStringListError);
    else
      EXPECT_EQ(items->Strings(3), "");
  };
  EXPECT_FALSE(box->HandleAllocated());
  check("without a window");
  box->SetParent(form);
  box->HandleNeeded();
  check("in the window");
  box->RecreateWnd();
  check("in a new window");
  items->SetObjects(1, Tag(5));
  box->SetParent(nullptr);
  EXPECT_FALSE(box->HandleAllocated());
  check("after the window");
  EXPECT_EQ(items->Objects(1), Tag(5));
}

TEST_F(ListsTest, SortedItemsKeepTheirPlacesObjectsAndCurrentItemWithAndWithoutAWindow) {
  CheckItemsKeptUntilTheWindowComes(form, new TListBox(form), true);
  CheckItemsKeptUntilTheWindowComes(form, new TComboBox(form), false);
}

// The measuring request a variable-height list or combo box passes on: OnMeasureItem starts
// from the item height and its answer is used (at least 1); a fixed style answers the item
// height without asking.
template <class Box, class Style>
void CheckMeasuring(Box* box, Style variable, Style fixed) {
  SCOPED_TRACE(box->ClassName().c_str());
  box->SetItemHeight(15);
  std::vector<int> asked;
  box->OnMeasureItem = [&](TWinControl* control, int index, int& height) {
    EXPECT_EQ(control, box);
    EXPECT_EQ(height, 15);
    asked.push_back(index);
    height = index == 1 ? 40 : -3;
  };
  auto measure = [&](UINT index) {
    MEASUREITEMSTRUCT mis{ODT_LISTBOX, 0, index, 0, 0, 0};
    EXPECT_EQ(box->Perform(CN_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis)), 1);
    return mis.itemHeight;
  };
  box->SetStyle(variable);
  EXPECT_EQ(measure(1), 40u);
  EXPECT_EQ(measure(0), 1u);
  EXPECT_EQ(asked, (std::vector<int>{1, 0}));
  asked.clear();
  box->SetStyle(fixed);
  EXPECT_EQ(measure(1), 15u);
  EXPECT_TRUE(asked.empty());
}

TEST_F(ListsTest, VariableHeightItemsTakeTheHeightOnMeasureItemGives) {
  CheckMeasuring(new TListBox(form), lbOwnerDrawVariable, lbOwnerDrawFixed);
  CheckMeasuring(new TComboBox(form), csOwnerDrawVariable, csOwnerDrawFixed);
}

// On a form the request comes from the window itself, which names the box only by its id.
TEST_F(ListsTest, AVariableHeightBoxOnAFormIsAskedForEveryItemsHeight) {
  auto* list = Make<TListBox>(10, 10, 150, 120);
  auto* combo = Make<TComboBox>(10, 140, 150, 24);
  list->SetStyle(lbOwnerDrawVariable);
  combo->SetStyle(csOwnerDrawVariable);
  std::vector<std::string> asked;
  auto heights = [&](TWinControl* control, int index, int& height) {
    asked.push_back(std::string(control == list ? "list " : "combo ") + std::to_string(index));
    height = 20 + index;
  };
  list->OnMeasureItem = heights;
  combo->OnMeasureItem = heights;
  for (const char* s : {"alpha", "beta"}) {
    list->Items()->Add(s);
    combo->Items()->Add(s);
  }
  EXPECT_EQ(asked, (std::vector<std::string>{"list 0", "combo 0", "list 1", "combo 1"}));
  EXPECT_EQ(SendMessageA(list->Handle(), LB_GETITEMHEIGHT, 1, 0), 21);
  EXPECT_EQ(SendMessageA(combo->Handle(), CB_GETITEMHEIGHT, 1, 0), 21);
}

TEST_F(ListsTest, TheUserSelectingFiresOnClickOnceAndADoubleClickOnDblClick) {
  auto* list = Make<TListBox>(10, 10, 150, 120);
  for (const char* s : {"alpha", "beta", "gamma", "delta"}) list->Items()->Add(s);
  std::vector<std::string> log;
  list->OnClick = [&](TObject* sender) {
    EXPECT_EQ(sender, list);
    log.push_back("click " + std::to_string(list->ItemIndex()));
  };
  list->OnDblClick = [&](TObject*) { log.push_back("dblclick"); };
  Driver().RunUntilIdle();
  ClickAt(ItemPoint(list->Handle(), 1));
  EXPECT_EQ(list->ItemIndex(), 1);
  // The same item again is no change.
  ClickAt(ItemPoint(list->Handle(), 1));
  Key(VK_DOWN);
  Driver().Advance(1000);
  Driver().DoubleClick(ItemPoint(list->Handle(), 3));
  Driver().RunUntilIdle();
  // By code: no click.
  list->SetItemIndex(0);
  EXPECT_EQ(log, (std::vector<std::string>{"click 1", "click 2", "click 3", "dblclick"}));
}

TEST_F(ListsTest, SortedAndMultiSelectListsCopyAndDeleteTheirSelection) {
  auto* list = Make<TListBox>(10, 10, 150, 120);
  list->SetSorted(true);
  for (const char* s : {"pear", "Apple", "fig", "banana"}) list->Items()->Add(s);
  EXPECT_EQ(ItemsOf(list->Items()), (std::vector<std::string>{"Apple", "banana", "fig", "pear"}));
  list->SetMultiSelect(true);
  list->SetSelected(1, true);
  list->SetSelected(3, true);
  EXPECT_EQ(list->SelCount(), 2);
  EXPECT_TRUE(list->Selected(3));
  EXPECT_FALSE(list->Selected(2));
  auto* copy = Make<TListBox>(170, 10, 150, 120);
  list->CopySelection(copy);
  EXPECT_EQ(ItemsOf(copy->Items()), (std::vector<std::string>{"banana", "pear"}));
  // The selection survives a new window.
  list->SetIntegralHeight(true);
  EXPECT_EQ(list->SelCount(), 2);
  EXPECT_TRUE(list->Selected(3));
  list->DeleteSelected();
  EXPECT_EQ(ItemsOf(list->Items()), (std::vector<std::string>{"Apple", "fig"}));
  list->SelectAll();
  EXPECT_EQ(list->SelCount(), 2);
  list->ClearSelection();
  EXPECT_EQ(list->SelCount(), 0);
  // A single-selection list copies its current item into a combo box.
  copy->SetItemIndex(0);
  auto* combo = Make<TComboBox>(10, 150, 150, 21);
  copy->CopySelection(combo);
  EXPECT_EQ(ItemsOf(combo->Items()), (std::vector<std::string>{"banana"}));
}

TEST_F(ListsTest, OwnerDrawnAndVirtualListsDrawEachItemThroughDrawItem) {
  auto* list = Make<TListBox>(10, 10, 150, 100);
  list->SetStyle(lbOwnerDrawFixed);
  list->SetItemHeight(20);
  for (const char* s : {"red", "green", "blue"}) list->Items()->Add(s);
  list->SetItemIndex(1);
  std::vector<std::pair<int, bool>> drawn;
  list->OnDrawItem = [&](TWinControl* control, int index, const RECT& rect, TOwnerDrawState state) {
    EXPECT_EQ(control, list);
    drawn.push_back({index, (state & odSelected) != 0});
    const TColor colors[] = {clRed, clLime, clBlue};
    list->Canvas()->Brush()->SetColor(colors[index]);
    list->Canvas()->FillRect(rect);
  };
  list->Invalidate();
  Driver().RunUntilIdle();
  EXPECT_NE(std::find(drawn.begin(), drawn.end(), std::make_pair(1, true)), drawn.end());
  EXPECT_NE(std::find(drawn.begin(), drawn.end(), std::make_pair(2, false)), drawn.end());
  EXPECT_EQ(list->ItemHeight(), 20);
  const auto shot = Driver().Capture(list->Handle());
  EXPECT_EQ(shot.At(20, 10), 0xFF0000u);
  EXPECT_EQ(shot.At(20, 50), 0x0000FFu);

  // A virtual list has a count and asks OnData for each text.
  auto* numbers = Make<TListBox>(170, 10, 150, 100);
  numbers->SetStyle(lbVirtual);
  numbers->OnData = [](TWinControl*, int index, AnsiString& data) {
    data = AnsiString("item " + std::to_string(index));
  };
  numbers->SetCount(1000);
  EXPECT_EQ(numbers->Count(), 1000);
  EXPECT_EQ(numbers->Items()->Count(), 1000);
  EXPECT_EQ(numbers->Items()->Strings(999), "item 999");
  // Its texts are OnData's: changing one changes nothing.
  numbers->Items()->SetStrings(3, "three");
  EXPECT_EQ(numbers->Items()->Strings(3), "item 3");
  EXPECT_EQ(numbers->Count(), 1000);
  numbers->SetItemIndex(500);
  EXPECT_EQ(numbers->ItemIndex(), 500);
  numbers->RecreateWnd();
  EXPECT_EQ(numbers->Count(), 1000);
}

TEST_F(ListsTest, AComboBoxSelectsByMouseAndCodeWithItsEvents) {
  auto* combo = Make<TComboBox>(10, 10, 160, 21);
  combo->SetStyle(csDropDownList);
  for (const char* s : {"Fit", "Stretch", "Centre"}) combo->Items()->Add(s);
  std::vector<std::string> log;
  combo->OnClick = [&](TObject*) { log.push_back("click"); };
  combo->OnSelect = [&](TObject*) { log.push_back("select " + combo->Text().ToStd()); };
  combo->OnChange = [&](TObject*) { log.push_back("change"); };
  combo->OnDropDown = [&](TObject*) { log.push_back("dropdown"); };
  combo->OnCloseUp = [&](TObject*) { log.push_back("closeup"); };
  combo->SetItemIndex(0);
  EXPECT_EQ(combo->Text(), "Fit");
  EXPECT_TRUE(log.empty());
  combo->SetDroppedDown(true);
  EXPECT_TRUE(combo->DroppedDown());
  ASSERT_NE(combo->ListHandle(), nullptr);
  ClickAt(ItemPoint(combo->ListHandle(), 2));
  EXPECT_FALSE(combo->DroppedDown());
  EXPECT_EQ(combo->ItemIndex(), 2);
  EXPECT_EQ(combo->Text(), "Centre");
  // The list closes before the choice is reported.
  EXPECT_EQ(log, (std::vector<std::string>{"dropdown", "closeup", "click", "select Centre"}));
  // Without OnSelect a choice is a change.
  log.clear();
  combo->OnSelect = nullptr;
  combo->SetFocus();
  Key(VK_UP);
  EXPECT_EQ(combo->Text(), "Stretch");
  EXPECT_EQ(log, (std::vector<std::string>{"click", "change"}));
  // Items and selection over a new window.
  combo->SetSorted(true);
  EXPECT_EQ(ItemsOf(combo->Items()), (std::vector<std::string>{"Centre", "Fit", "Stretch"}));
  EXPECT_EQ(combo->Text(), "Stretch");
}

TEST_F(ListsTest, AComboBoxEditChangesOncePerCharacterAndCompletesTypedText) {
  auto* combo = Make<TComboBox>(10, 10, 160, 21);
  for (const char* s : {"Landscape", "Portrait", "Square"}) combo->Items()->Add(s);
  int changes = 0;
  combo->OnChange = [&](TObject*) { ++changes; };
  combo->SetFocus();
  Driver().RunUntilIdle();
  ASSERT_NE(combo->EditHandle(), nullptr);
  std::vector<char> pressed;
  combo->OnKeyPress = [&](TObject*, char& key) { pressed.push_back(key); };
  // "po" completes to "portrait": the typed part keeps its case, the tail is selected.
  Type(u"po");
  EXPECT_EQ(combo->Text(), "portrait");
  EXPECT_EQ(combo->SelStart(), 2);
  EXPECT_EQ(combo->SelLength(), 6);
  EXPECT_EQ(combo->ItemIndex(), 1);
  EXPECT_EQ(pressed, (std::vector<char>{'p', 'o'}));
  // A character that matches no item is typed as it is, one change.
  changes = 0;
  combo->SetAutoComplete(false);
  combo->SetSelText("");
  Type(u"x");
  EXPECT_EQ(combo->Text(), "pox");
  EXPECT_GE(changes, 1);
  // Clearing the items keeps the text.
  combo->Items()->Clear();
  EXPECT_EQ(combo->Items()->Count(), 0);
  EXPECT_EQ(combo->Text(), "pox");
  combo->Clear();
  EXPECT_EQ(combo->Text(), "");
}

TEST_F(ListsTest, AListOnlyComboBoxSearchesTheTypedLettersUntilAPause) {
  auto* combo = Make<TComboBox>(10, 10, 160, 21);
  combo->SetStyle(csDropDownList);
  for (const char* s : {"Apple", "Apricot", "Banana", "Blueberry"}) combo->Items()->Add(s);
  int selects = 0;
  combo->OnSelect = [&](TObject*) { ++selects; };
  combo->SetFocus();
  Driver().RunUntilIdle();
  Type(u"apr");
  EXPECT_EQ(combo->Text(), "Apricot");
  Driver().Advance(2000);
  Type(u"bl");
  EXPECT_EQ(combo->Text(), "Blueberry");
  // "a" chose Apple, "ap" kept it, "apr" Apricot; after the pause "b" Banana and "bl" Blueberry.
  EXPECT_EQ(selects, 4);
}

TEST_F(ListsTest, AnOwnerDrawnComboBoxDrawsItsFieldAndItsItems) {
  auto* combo = Make<TComboBox>(10, 10, 160, 22);
  combo->SetStyle(csOwnerDrawFixed);
  combo->SetItemHeight(18);
  for (const char* s : {"red", "green"}) combo->Items()->Add(s);
  combo->SetItemIndex(1);
  std::vector<int> drawn;
  combo->OnDrawItem = [&](TWinControl* control, int index, const RECT& rect, TOwnerDrawState) {
    EXPECT_EQ(control, combo);
    drawn.push_back(index);
    combo->Canvas()->Brush()->SetColor(index == 0 ? clRed : clLime);
    combo->Canvas()->FillRect(rect);
  };
  combo->Invalidate();
  Driver().RunUntilIdle();
  EXPECT_NE(std::find(drawn.begin(), drawn.end(), 1), drawn.end());  // the field shows the chosen item
  const auto field = Driver().Capture(combo->Handle());
  EXPECT_EQ(field.At(8, field.height / 2), 0x00FF00u);
  drawn.clear();
  combo->SetDroppedDown(true);
  Driver().RunUntilIdle();
  EXPECT_NE(std::find(drawn.begin(), drawn.end(), 0), drawn.end());
  const auto list = Driver().Capture(combo->ListHandle());
  EXPECT_EQ(list.At(8, 9), 0xFF0000u);
}

TEST_F(ListsTest, ListsAndCombosComeFromALayout) {
  class TChoiceForm : public TForm {
   public:
    explicit TChoiceForm(TComponent* owner) : TForm(owner) {}
  };
  RegisterProperties<TChoiceForm>("TChoiceForm", "TForm");
  RegisterFormLayout("TChoiceForm", R"(object Choice: TChoiceForm
  Width = 300
  Height = 200
  object Fruits: TListBox
    Left = 8
    Top = 8
    Sorted = True
    Items.Strings = (
      'pear'
      'apple')
  end
  object Fit: TComboBox
    Left = 8
    Top = 120
    Style = csDropDownList
    Items.Strings = (
      'Fit'
      'Stretch')
  end
end
)");
  auto* choice = new TChoiceForm(Application);
  choice->AfterConstruction();
  auto* fruits = dynamic_cast<TListBox*>(choice->FindComponent("Fruits"));
  auto* fit = dynamic_cast<TComboBox*>(choice->FindComponent("Fit"));
  ASSERT_TRUE(fruits && fit);
  EXPECT_EQ(ItemsOf(fruits->Items()), (std::vector<std::string>{"apple", "pear"}));
  EXPECT_EQ(fit->Style(), csDropDownList);
  choice->Show();
  Driver().RunUntilIdle();
  EXPECT_EQ(ItemsOf(fit->Items()), (std::vector<std::string>{"Fit", "Stretch"}));
  EXPECT_EQ(SendMessageA(fruits->Handle(), LB_GETCOUNT, 0, 0), 2);
}

}  // namespace
