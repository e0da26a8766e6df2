#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/TMemoryStream.h"
#include "platform/rtl/TStringList.h"
#include "unicode/TWideStrings.h"
#include "unicode/WStrRoutines.h"

namespace {

// The smallest concrete list, counting its update notifications.
class VectorList : public TWideStrings {
 public:
  void Clear() override {
    items_.clear();
    objects_.clear();
  }
  void Delete(int index) override {
    items_.erase(items_.begin() + index);
    objects_.erase(objects_.begin() + index);
  }
  void Insert(int index, const WideString& s) override {
    items_.insert(items_.begin() + index, s);
    objects_.insert(objects_.begin() + index, nullptr);
  }
  std::vector<std::u16string> Items() const {
    std::vector<std::u16string> out;
    for (const WideString& s : items_) out.push_back(s.ToU16());
    return out;
  }
  int updatesOn = 0, updatesOff = 0;

 protected:
  WideString Get(int index) const override {
    if (index < 0 || index >= static_cast<int>(items_.size())) Error(u"List index out of bounds (%d)", index);
    return items_[static_cast<std::size_t>(index)];
  }
  int GetCount() const override { return static_cast<int>(items_.size()); }
  TObject* GetObject(int index) const override { return objects_[static_cast<std::size_t>(index)]; }
  void PutObject(int index, TObject* object) override { objects_[static_cast<std::size_t>(index)] = object; }
  void SetUpdateState(bool updating) override { ++(updating ? updatesOn : updatesOff); }

 private:
  std::vector<WideString> items_;
  std::vector<TObject*> objects_;
};

using Lines = std::vector<std::u16string>;

struct TextCase {
  std::u16string text;
  Lines lines;
};

class SetTextTable : public ::testing::TestWithParam<TextCase> {};

TEST_P(SetTextTable, EveryLineBreakEndsOneLine) {
  VectorList list;
  list.SetText(GetParam().text);
  EXPECT_EQ(list.Items(), GetParam().lines);
  EXPECT_EQ(list.updatesOn, 1);
  EXPECT_EQ(list.updatesOff, 1);
}

INSTANTIATE_TEST_SUITE_P(Breaks, SetTextTable,
                         ::testing::Values(TextCase{u"a\r\nb\r\n", {u"a", u"b"}},
                                           TextCase{u"a\n\rb", {u"a", u"", u"b"}},
                                           TextCase{u"a\u2028b", {u"a", u"b"}}, TextCase{u"a\r\n", {u"a"}},
                                           TextCase{std::u16string(u"a\0b", 3), {u"a"}}, TextCase{u"", {}},
                                           TextCase{u"\r\n\r\n", {u"", u""}}));

TEST(TWideStrings, TextEndsEveryLineWithCrLf) {
  VectorList list;
  EXPECT_EQ(list.Text().ToU16(), u"");
  list.Add(u"a");
  list.Add(u"\u1780");
  EXPECT_EQ(list.Text().ToU16(), u"a\r\n\u1780\r\n");
  char16_t* copy = list.GetTextW();
  EXPECT_EQ(std::u16string(copy), u"a\r\n\u1780\r\n");
  WStrDispose(copy);
}

TEST(TWideStrings, DelimitedAndCommaText) {
  VectorList list;
  list.Add(u"a");
  list.Add(u"b c");
  list.Add(u"");
  EXPECT_EQ(list.CommaText().ToU16(), u"a,\"b c\",");
  list.SetDelimiter(u';');
  EXPECT_EQ(list.CommaText().ToU16(), u"a,\"b c\",");
  EXPECT_EQ(list.Delimiter(), u';');  // comma text leaves the delimiter as it was
  EXPECT_EQ(list.DelimitedText().ToU16(), u"a;\"b c\";");
  list.Clear();
  list.Add(u"");
  EXPECT_EQ(list.CommaText().ToU16(), u"\"\"");
  list.SetCommaText(u"a,");
  EXPECT_EQ(list.Items(), (Lines{u"a", u""}));
  EXPECT_EQ(list.Delimiter(), u',');
  list.SetCommaText(u"  x , \"it\"\"s\" ,\"open");
  EXPECT_EQ(list.Items(), (Lines{u"x", u"it\"s", u"open"}));
}

// Whatever the list holds (no zero units), its delimited text reads back as the same list.
TEST(TWideStrings, DelimitedTextRoundTrips) {
  const char16_t alphabet[] = u"ab ,;\"'\t\u1780\u00E9\r\n=";
  std::mt19937 random(17);
  for (int round = 0; round < 500; ++round) {
    VectorList list;
    if (round % 2) list.SetDelimiter(u';');
    if (round % 3 == 0) list.SetQuoteChar(u'\'');
    Lines expected;
    int count = static_cast<int>(random() % 5);
    for (int i = 0; i < count; ++i) {
      std::u16string s;
      for (unsigned n = random() % 6; n > 0; --n) s += alphabet[random() % (sizeof alphabet / 2 - 1)];
      list.Add(WideString(s));
      expected.push_back(s);
    }
    // A list of one empty string and an empty list share no text; everything else reads back.
    VectorList back;
    back.SetDelimiter(list.Delimiter());
    back.SetQuoteChar(list.QuoteChar());
    back.SetDelimitedText(list.DelimitedText());
    if (expected.empty())
      EXPECT_TRUE(back.Items().empty());
    else
      ASSERT_EQ(back.Items(), expected) << round;
  }
}

TEST(TWideStrings, NamesAndValues) {
  VectorList list;
  list.SetText(u"Name=\r\nKey=v=w\r\nplain\r\n");
  EXPECT_EQ(list.Values(u"name").ToU16(), u"");
  EXPECT_EQ(list.Values(u"KEY").ToU16(), u"v=w");
  EXPECT_EQ(list.IndexOfName(u"key"), 1);
  EXPECT_EQ(list.IndexOfName(u"plain"), -1);
  EXPECT_EQ(list.Names(2).ToU16(), u"");
  EXPECT_EQ(list.ValueFromIndex(2).ToU16(), u"");  // no "=": no value
  EXPECT_EQ(list.ValueFromIndex(1).ToU16(), u"v=w");
  EXPECT_EQ(list.ValueFromIndex(-1).ToU16(), u"");
  list.SetValues(u"new", u"1");
  EXPECT_EQ(list.Strings(3).ToU16(), u"new=1");
  list.SetValues(u"KEY", u"");
  EXPECT_EQ(list.IndexOfName(u"key"), -1);
  list.SetValueFromIndex(-1, u"x");  // a new entry, set in place
  EXPECT_EQ(list.Items().back(), u"=x");
  EXPECT_EQ(list.Count(), 4);
  list.SetValueFromIndex(0, u"2");
  EXPECT_EQ(list.Strings(0).ToU16(), u"Name=2");
}

TEST(TWideStrings, EqualsIsExactWhileIndexOfIgnoresCase) {
  VectorList a, b;
  a.SetText(u"Abc\r\n\u00C9\r\n");
  b.SetText(u"abc\r\n\u00E9\r\n");
  EXPECT_FALSE(a.Equals(&b));
  EXPECT_EQ(a.IndexOf(u"ABC"), 0);
  EXPECT_EQ(a.IndexOf(u"\u00E9"), 1);
  b.Assign(&a);
  EXPECT_TRUE(a.Equals(&b));
}

TEST(TWideStrings, UpdatesNestAndEachBulkChangeIsOnePair) {
  VectorList list;
  list.BeginUpdate();
  list.BeginUpdate();
  list.EndUpdate();
  list.EndUpdate();
  EXPECT_EQ(list.updatesOn, 1);
  EXPECT_EQ(list.updatesOff, 1);
  list.SetText(u"a\r\nb\r\nc\r\n");
  VectorList other;
  other.Add(u"z");
  for (auto change :
       std::vector<std::function<void()>>{[&] { list.Assign(&other); }, [&] { list.AddStrings(&other); },
                                          [&] { list.Exchange(0, 1); }, [&] { list.Move(0, 1); }}) {
    list.updatesOn = list.updatesOff = 0;
    change();
    EXPECT_EQ(list.updatesOn, 1);
    EXPECT_EQ(list.updatesOff, 1);
  }
}

TEST(TWideStrings, ExchangeAndMoveCarryObjects) {
  VectorList list;
  TObject one, two;
  list.AddObject(u"1", &one);
  list.AddObject(u"2", &two);
  list.Add(u"3");
  list.Exchange(0, 1);
  EXPECT_EQ(list.Items(), (Lines{u"2", u"1", u"3"}));
  EXPECT_EQ(list.Objects(0), &two);
  list.Move(0, 2);
  EXPECT_EQ(list.Items(), (Lines{u"1", u"3", u"2"}));
  EXPECT_EQ(list.Objects(2), &two);
  EXPECT_EQ(list.IndexOfObject(&one), 0);
  list.SetStrings(0, u"one");
  EXPECT_EQ(list.Objects(0), &one);
  EXPECT_THROW(list.Strings(5), EStringListError);
}

TEST(TWideStrings, AssignsToAndFromEightBitLists) {
  TStringList narrow;
  narrow.Delimiter = ';';
  narrow.QuoteChar = '\'';
  narrow.Add("caf\xC3\xA9");
  VectorList list;
  list.Assign(&narrow);
  EXPECT_EQ(list.Items(), (Lines{u"caf\u00E9"}));
  EXPECT_EQ(list.Delimiter(), u';');
  EXPECT_EQ(list.QuoteChar(), u'\'');
  list.Add(u"\u1780");
  TStringList back;
  back.Assign(&list);
  ASSERT_EQ(back.Count(), 2);
  EXPECT_STREQ(back.Strings(1).c_str(), "\xE1\x9E\x80");
  EXPECT_EQ(back.Delimiter, ';');
  TPersistent unrelated;
  EXPECT_THROW(list.Assign(&unrelated), EConvertError);
}

// A stream that claims more bytes than it holds.
class OverstatedStream : public TMemoryStream {
 public:
  std::int64_t Size() override { return TMemoryStream::Size() + 10; }
};

TEST(TWideStrings, RawStreamsHoldUtf16WithoutAMark) {
  VectorList list;
  list.Add(u"a");
  list.Add(u"b");
  TMemoryStream stream;
  list.SaveToStream(&stream);
  ASSERT_EQ(stream.Size(), 12);
  EXPECT_EQ(std::string(static_cast<const char*>(stream.Memory()), 12),
            std::string("a\0\r\0\n\0b\0\r\0\n\0", 12));
  stream.SetPosition(0);
  VectorList back;
  back.LoadFromStream(&stream);
  EXPECT_EQ(back.Items(), (Lines{u"a", u"b"}));
}

// Only the bytes that arrive are read, in whole units: no made-up text after them.
TEST(TWideStrings, AShortStreamLoadsWhatArrived) {
  OverstatedStream stream;
  stream.Write("x\0y\0z", 5);
  stream.SetPosition(0);
  VectorList list;
  list.LoadFromStream(&stream);
  EXPECT_EQ(list.Items(), (Lines{u"xy"}));
}

}  // namespace
