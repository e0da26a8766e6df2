// TList, TThreadList, TStrings and TStringList.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Printers.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/TList.h"
#include "platform/rtl/TStringList.h"
#include "support/TempDir.h"

namespace {

int* P(int i) { return reinterpret_cast<int*>(static_cast<std::intptr_t>(i)); }

class LoggingList : public TList {
 public:
  std::vector<std::string> log;
  ~LoggingList() override { Clear(); }  // while Notify is still ours

 protected:
  void Notify(void* ptr, TListNotification action) override {
    static const char* names[] = {"added", "extracted", "deleted"};
    log.push_back(std::string(names[action]) + " " + std::to_string(reinterpret_cast<std::intptr_t>(ptr)));
  }
};

TEST(Lists, TListIndexRulesAndNotifications) {
  LoggingList list;
  list.Add(P(1));
  list.Add(P(2));
  list.Insert(0, P(3));  // 3 1 2
  list.Add(nullptr);     // 3 1 2 0
  EXPECT_EQ(4, list.Count());
  EXPECT_EQ(P(3), list.First());
  EXPECT_EQ(nullptr, list.Last());
  list.Pack();  // 3 1 2
  EXPECT_EQ(3, list.Count());
  list.Move(0, 2);  // 1 2 3
  EXPECT_EQ(P(3), list[2]);
  list.Exchange(0, 1);  // 2 1 3
  EXPECT_EQ(1, list.IndexOf(P(1)));
  EXPECT_EQ(-1, list.IndexOf(P(9)));
  EXPECT_EQ(P(1), list.Extract(P(1)));  // 2 3
  EXPECT_EQ(1, list.Remove(P(3)));      // 2
  EXPECT_EQ(-1, list.Remove(P(3)));
  list.SetCount(3);  // 2 0 0
  EXPECT_EQ(nullptr, list[2]);
  try {
    list.Items(3);
    FAIL();
  } catch (const EListError& e) {
    EXPECT_EQ(AnsiString("List index out of bounds (3)"), e.Message);
  }
  EXPECT_THROW(list.Delete(-1), EListError);
  EXPECT_THROW(list.Insert(5, nullptr), EListError);
  list.Clear();
  EXPECT_THROW(list.First(), EListError);
  std::vector<std::string> expected = {"added 1",     "added 2",   "added 3",
                                       "extracted 1", "deleted 3", "deleted 2"};
  EXPECT_EQ(expected, list.log);
}

TEST(Lists, TThreadListIgnoresDuplicatesByDefault) {
  TThreadList list;
  list.Add(P(1));
  list.Add(P(1));
  list.Add(P(2));
  TList* locked = list.LockList();
  EXPECT_EQ(2, locked->Count());
  list.Remove(P(1));  // the lock is re-entrant
  EXPECT_EQ(1, locked->Count());
  list.UnlockList();
  list.Duplicates = dupError;
  EXPECT_THROW(list.Add(P(2)), EListError);
}

TEST(StringLists, TextSplitsAtEveryKindOfLineBreak) {
  struct Case {
    const char* text;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\r\n", {"a"}},
      {"a\r\nb", {"a", "b"}},
      {"a\n\nb", {"a", "", "b"}},
      {"a\rb\r", {"a", "b"}},
      {"\r\n", {""}},
  };
  TStringList list;
  for (const Case& c : cases) {
    list.SetText(c.text);
    std::vector<std::string> got;
    for (int i = 0; i < list.Count(); ++i) got.push_back(list[i].ToStd());
    EXPECT_EQ(c.lines, got) << c.text;
  }
  list.SetText("x\ny");
  EXPECT_EQ(AnsiString("x\r\ny\r\n"), list.Text());
}

TEST(StringLists, SortedListsAndDuplicates) {
  TStringList list;
  list.SetSorted(true);
  for (const char* s : {"pear", "Apple", "banana", "apple"}) list.Add(s);  // "apple" is ignored
  EXPECT_EQ(AnsiString("Apple\r\nbanana\r\npear\r\n"), list.Text());
  int index = -1;
  EXPECT_TRUE(list.Find("BANANA", index));
  EXPECT_EQ(1, index);
  EXPECT_FALSE(list.Find("cherry", index));
  EXPECT_EQ(2, index);
  EXPECT_EQ(2, list.IndexOf("PEAR"));
  try {
    list.Insert(0, "x");
    FAIL();
  } catch (const EStringListError& e) {
    EXPECT_EQ(AnsiString("Operation not allowed on sorted list"), e.Message);
  }
  list.Duplicates = dupError;
  try {
    list.Add("apple");
    FAIL();
  } catch (const EStringListError& e) {
    EXPECT_EQ(AnsiString("String list does not allow duplicates"), e.Message);
  }
  list.Duplicates = dupAccept;
  list.Add("apple");
  EXPECT_EQ(4, list.Count());
  list.SetCaseSensitive(true);
  EXPECT_TRUE(list.Find("apple", index));
  EXPECT_EQ(-1, list.IndexOf("APPLE"));

  TStringList numbers;
  for (const char* s : {"10", "9", "100"}) numbers.Add(s);
  numbers.CustomSort(
      [](TStringList* l, int a, int b) { return l->Strings(a).ToInt() - l->Strings(b).ToInt(); });
  EXPECT_EQ(AnsiString("9,10,100"), numbers.CommaText());
}

TEST(StringLists, NamesValuesAndObjects) {
  TStringList list;
  list.SetText("Key=one\nother=two=2\nplain");
  EXPECT_EQ(AnsiString("Key"), list.Names(0));
  EXPECT_EQ(AnsiString(""), list.Names(2));
  EXPECT_EQ(AnsiString("one"), list.Values("KEY"));
  EXPECT_EQ(AnsiString("two=2"), list.Values("other"));
  EXPECT_EQ(AnsiString(""), list.Values("missing"));
  list.SetValues("key", "uno");
  EXPECT_EQ(AnsiString("key=uno"), list[0]);
  list.SetValues("new", "3");
  EXPECT_EQ(AnsiString("new=3"), list[3]);
  list.SetValues("other", "");
  EXPECT_EQ(3, list.Count());
  EXPECT_EQ(1, list.IndexOfName("plain") + 2);  // "plain" has no name
  TObject marker;
  list.AddObject("obj", &marker);
  EXPECT_EQ(3, list.IndexOfObject(&marker));
  EXPECT_EQ(&marker, list.Objects(3));
  list.Move(3, 0);
  EXPECT_EQ(&marker, list.Objects(0));
  TStringList copy;
  copy.Assign(&list);
  EXPECT_TRUE(copy.Equals(&list));
  EXPECT_EQ(&marker, copy.Objects(0));
  EXPECT_THROW(copy.Strings(9), EStringListError);
}

TEST(StringLists, CommaAndDelimitedText) {
  struct Case {
    const char* text;
    std::vector<std::string> items;
    const char* back;
  };
  const Case cases[] = {
      {"a,b,c", {"a", "b", "c"}, "a,b,c"},
      {"\"a b\",c", {"a b", "c"}, "\"a b\",c"},
      {"a b", {"a", "b"}, "a,b"},  // a blank ends an unquoted item
      {"\"say \"\"hi\"\"\"", {"say \"hi\""}, "\"say \"\"hi\"\"\""},
      {"a,,b", {"a", "", "b"}, "a,\"\",b"},
      {"a,", {"a", ""}, "a,\"\""},
      {"", {}, ""},
  };
  TStringList list;
  for (const Case& c : cases) {
    list.SetCommaText(c.text);
    std::vector<std::string> got;
    for (int i = 0; i < list.Count(); ++i) got.push_back(list[i].ToStd());
    EXPECT_EQ(c.items, got) << c.text;
    EXPECT_EQ(AnsiString(c.back), list.CommaText()) << c.text;
  }
  list.Delimiter = ';';
  list.QuoteChar = '\'';
  list.SetDelimitedText("x;'y;z';w v");
  EXPECT_EQ(4, list.Count());
  EXPECT_EQ(AnsiString("x;'y;z';w;v"), list.DelimitedText());
  EXPECT_EQ(';', list.Delimiter);  // CommaText leaves them as they were
}

TEST(StringLists, ChangeEventsAndBatches) {
  TStringList list;
  int changing = 0, changed = 0;
  list.OnChanging = [&](TObject*) { ++changing; };
  list.OnChange = [&](TObject* sender) {
    EXPECT_EQ(&list, sender);
    ++changed;
  };
  list.Add("a");
  list.Add("b");
  EXPECT_EQ(2, changed);
  list.BeginUpdate();
  list.Add("c");
  list.Delete(0);
  list.SetText("x\ny");
  EXPECT_EQ(2, changed);
  list.EndUpdate();
  EXPECT_EQ(3, changed);
  EXPECT_EQ(3, changing);
}

TEST(StringLists, FilesAndStreams) {
  testsupport::TempDir tmp;
  TStringList list;
  list.SetText("one\ntwo");
  AnsiString file(tmp.file("list.txt"));
  list.SaveToFile(file);
  TStringList back;
  back.LoadFromFile(file);
  EXPECT_TRUE(back.Equals(&list));
  try {
    back.LoadFromFile(tmp.file("missing.txt"));
    FAIL();
  } catch (const EFOpenError& e) {
    EXPECT_EQ("Cannot open file " + AnsiString(tmp.file("missing.txt")), e.Message);
  }
  EXPECT_THROW(list.SaveToFile(tmp.file("no/such/folder.txt")), EFCreateError);
  EXPECT_EQ(2, back.Count());  // a failed load changes nothing
}

}  // namespace
