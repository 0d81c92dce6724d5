#include "druvo/platform/TStringList.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "druvo/platform/Exceptions.h"
#include "druvo/platform/TList.h"
#include "tests/support/TestSupport.h"

namespace druvo {
namespace {

using test::Lines;
using test::MessageOf;
using W = std::vector<WideString>;

std::vector<WideString> Split(const WideString& text, char16_t delimiter = u',',
                              bool strict = false) {
  TStringList list;
  list.Add(u"old");  // replaced, not added to
  list.Delimiter = delimiter;
  list.StrictDelimiter = strict;
  list.SetDelimitedText(text);
  return Lines(list);
}

// Each call must raise EListError naming `index`.
void ExpectIndexErrors(
    const std::vector<std::pair<std::function<void()>, int>>& calls) {
  for (const auto& [call, index] : calls) {
    EXPECT_EQ(MessageOf<EListError>(call),
              "List index out of bounds (" + std::to_string(index) + ")");
  }
}

TEST(TStringList, TextSplitsAtEveryLineBreakAndJoinsWithCrLf) {
  TStringList list;
  list.SetText(u"a\r\nb\rc\nd");
  EXPECT_EQ(Lines(list), (W{u"a", u"b", u"c", u"d"}));
  EXPECT_EQ(list.Text(), u"a\r\nb\r\nc\r\nd\r\n");
  list.SetText(list.Text());  // a final break adds no empty line
  EXPECT_EQ(list.Count(), 4);
  list.SetText(u"a\n\rb");  // LF CR is two breaks
  EXPECT_EQ(Lines(list), (W{u"a", u"", u"b"}));
  list.SetText(u"a\r\n\r\nb\n\n");
  EXPECT_EQ(Lines(list), (W{u"a", u"", u"b", u""}));
  list.SetText(u"\r\n");
  EXPECT_EQ(list.Text(), u"\r\n");
  list.SetText(u"");
  EXPECT_EQ(list.Count(), 0);
}

TEST(TStringList, NameValueAccessIgnoresCase) {
  TStringList list;
  list.SetText(u"Name=Jan\r\nx\r\n=empty name\r\nŁódź=miasto=duże\r\nname=2");
  EXPECT_EQ(list.Names(0), u"Name");
  EXPECT_EQ(list.Names(1), u"");
  EXPECT_EQ(list.ValueFromIndex(1), u"");
  EXPECT_EQ(list.Values(u"łÓDŹ"), u"miasto=duże");
  EXPECT_EQ(list.Values(u""), u"empty name");
  EXPECT_EQ(list.IndexOfName(u"x"), -1);  // a line without '=' has no name
  EXPECT_EQ(list.IndexOf(u"X"), 1);

  list.SetValues(u"NAME", u"Ewa");
  EXPECT_EQ(list.Strings(0), u"NAME=Ewa");
  list.SetValues(u"nowy", u"1");
  EXPECT_EQ(list.Strings(5), u"nowy=1");
  list.SetValues(u"name", u"");  // an empty value deletes the line
  list.SetValues(u"absent", u"");
  EXPECT_EQ(list.Count(), 5);
  EXPECT_EQ(list.Values(u"name"), u"2");

  list.CaseSensitive = true;
  EXPECT_EQ(list.Values(u"ŁÓDŹ"), u"");
  EXPECT_EQ(list.IndexOf(u"X"), -1);
  list.NameValueSeparator = u':';
  list.SetText(u"a:1");
  EXPECT_EQ(list.Values(u"a"), u"1");
}

TEST(TStringList, DelimitedTextSplitsAtBlanksUnlessStrict) {
  const std::pair<WideString, W> loose[] = {
      {u" \t a , b \r\n", {u"a", u"b"}},
      {u"a,,b", {u"a", u"", u"b"}},
      {u"\u0001a,\u0001b", {u"a", u"b"}},  // control characters too
      {u"a,", {u"a", u""}},
      {u"a, ", {u"a"}},  // the delimiter is not at the very end
      {u"  ", {}},
      {u"\"\"", {u""}},
      {u"\"x, y\",\"say \"\"hi\"\"\"", {u"x, y", u"say \"hi\""}},
      {u"\"ab\"cd", {u"ab", u"cd"}},
      {u"\"open, end", {u"open, end"}},
      {WideString(u"a,b\0,c", 6), {u"a", u"b"}}};
  for (const auto& [text, lines] : loose) EXPECT_EQ(Split(text), lines);
  EXPECT_EQ(Split(u"kat/pod kat/\"x/y\"/plik.png", u'/'),
            (W{u"kat", u"pod", u"kat", u"x/y", u"plik.png"}));

  EXPECT_EQ(Split(u" a b ;c;", u';', true), (W{u" a b ", u"c", u""}));
  EXPECT_EQ(Split(u"\"x;\"\"y\";z", u';', true), (W{u"x;\"y", u"z"}));
  EXPECT_EQ(Split(u" ", u';', true), (W{u" "}));
}

TEST(TStringList, DelimitedTextGetterQuotesWhatWouldNotSplitBack) {
  TStringList list;
  EXPECT_EQ(list.DelimitedText(), u"");
  list.Add(u"");
  EXPECT_EQ(list.DelimitedText(), u"\"\"");
  list.SetText(u"a\r\nb c\r\nd,e\r\nf\"g\r\n\r\n\tt");
  list.Add(u"");
  const WideString text = list.DelimitedText();
  EXPECT_EQ(text, u"a,\"b c\",\"d,e\",\"f\"\"g\",,\"\tt\",");
  EXPECT_EQ(Split(text), Lines(list));
  EXPECT_EQ(list.CommaText(), text);

  list.StrictDelimiter = true;
  list.Delimiter = u';';
  list.SetText(u"b c\r\nd;e\r\nq\"");
  EXPECT_EQ(list.DelimitedText(), u"b c;\"d;e\";\"q\"\"\"");
  EXPECT_EQ(Split(list.DelimitedText(), u';', true), Lines(list));
  EXPECT_EQ(list.CommaText(), u"\"b c\",d;e,\"q\"\"\"");
  list.SetCommaText(u"1, 2");
  EXPECT_EQ(Lines(list), (W{u"1", u"2"}));
}

TEST(TStringList, ObjectsTravelWithTheirLinesAndAreNotOwned) {
  int first = 1, second = 2;
  TStringList list;
  list.AddObject(u"one", &first);
  EXPECT_EQ(list.AddObject(u"two", &second), 1);
  list.Insert(2, u"three");  // inserting at Count() appends
  list.Insert(0, u"zero");
  EXPECT_EQ(list.Objects(0), nullptr);
  list.Exchange(1, 2);
  EXPECT_EQ(Lines(list), (W{u"zero", u"two", u"one", u"three"}));
  EXPECT_EQ(list.Objects(2), &first);

  TStringList copy;
  list.Delimiter = u'|';
  copy.Assign(list);
  EXPECT_EQ(copy.Objects(1), &second);
  EXPECT_EQ(copy.Delimiter, u'|');
  copy.AddStrings(copy);
  EXPECT_EQ(copy.Count(), 8);
  EXPECT_EQ(copy.Objects(6), &first);

  list.Delete(1);
  list.SetObjects(0, &second);
  list.SetStrings(0, u"ZERO");
  EXPECT_EQ(list.Objects(0), &second);
  EXPECT_EQ(Lines(list), (W{u"ZERO", u"one", u"three"}));
  list.Clear();
  EXPECT_EQ(first + second, 3);  // the list owns nothing
}

TEST(TStringList, SortedListKeepsCaseInsensitiveOrder) {
  TStringList list;
  list.Sorted = true;
  for (const char16_t* line : {u"b", u"Ą", u"A", u"c", u"a", u"ą"})
    list.Add(line);
  EXPECT_EQ(Lines(list), (W{u"A", u"a", u"b", u"c", u"Ą", u"ą"}));
  EXPECT_EQ(list.Add(u"B"), 3);
  EXPECT_EQ(list.IndexOf(u"ą"), 5);
  EXPECT_EQ(MessageOf<EListError>([&] { list.Insert(0, u"x"); }),
            "Operation not allowed on sorted list");

  TStringList unsorted;
  unsorted.SetText(u"b\r\nC\r\na");
  unsorted.Sort();
  EXPECT_EQ(Lines(unsorted), (W{u"a", u"b", u"C"}));
  unsorted.CaseSensitive = true;
  unsorted.Sort();
  EXPECT_EQ(Lines(unsorted), (W{u"C", u"a", u"b"}));
}

TEST(TStringList, IndexErrorsNameTheIndex) {
  TStringList list;
  list.SetText(u"a\r\nb\r\nc");
  ExpectIndexErrors({{[&] { list.Strings(3); }, 3},
                     {[&] { list.Objects(-1); }, -1},
                     {[&] { list.Names(7); }, 7},
                     {[&] { list.Insert(4, u"x"); }, 4},
                     {[&] { list.Delete(3); }, 3},
                     {[&] { list.Exchange(0, 5); }, 5},
                     {[&] { list.SetStrings(-2, u""); }, -2},
                     {[&] { list.SetObjects(3, nullptr); }, 3}});
  EXPECT_EQ(list.Count(), 3);
}

TEST(TList, KeepsPointersInOrderWithoutOwningThem) {
  int a = 1, b = 2, c = 3;
  TList list;
  list.Add(&a);
  EXPECT_EQ(list.Add(&b), 1);
  list.Insert(2, &c);
  list.Insert(0, nullptr);
  EXPECT_EQ(list.First(), nullptr);
  EXPECT_EQ(list.Last(), &c);
  list.Move(3, 1);  // null, c, a, b
  EXPECT_EQ(list.Items(1), &c);
  EXPECT_EQ(list.IndexOf(&b), 3);
  list.Exchange(0, 3);  // b, c, a, null
  EXPECT_EQ(list.Remove(&c), 1);
  EXPECT_EQ(list.Remove(&c), -1);
  list.SetItems(2, &c);
  list.Delete(0);
  EXPECT_EQ(list.Items(0), &a);
  EXPECT_EQ(list.Items(1), &c);
  EXPECT_EQ(list.Remove(&a), 0);  // the first item goes as well
  EXPECT_EQ(list.First(), &c);
  list.Clear();
  EXPECT_EQ(list.IndexOf(&a), -1);
  EXPECT_EQ(a + b + c, 6);
}

TEST(TList, IndexErrorsNameTheIndex) {
  TList list;
  ExpectIndexErrors({{[&] { list.Items(0); }, 0},
                     {[&] { list.First(); }, 0},
                     {[&] { list.Last(); }, -1},
                     {[&] { list.Insert(1, nullptr); }, 1}});
  list.Add(nullptr);
  ExpectIndexErrors({{[&] { list.Delete(1); }, 1},
                     {[&] { list.Move(0, 1); }, 1},
                     {[&] { list.Exchange(-1, 0); }, -1},
                     {[&] { list.Exchange(0, 1); }, 1},
                     {[&] { list.SetItems(2, nullptr); }, 2}});
}

}  // namespace
}  // namespace druvo
