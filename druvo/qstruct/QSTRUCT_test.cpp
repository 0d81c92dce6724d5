#include "druvo/qstruct/QSTRUCT.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/TestSupport.h"

namespace druvo {
namespace {

using test::MessageOf;

std::string Field(const std::string& name, const std::string& type,
                  const std::string& extra = "") {
  return "<TQStructField><FieldName>" + name + "</FieldName><FieldType>" +
         type + "</FieldType>" + extra + "</TQStructField>";
}

std::string Struct(const std::string& type, const std::string& fields) {
  return "<TQStruct><Type>" + type + "</Type><Fields>" + fields +
         "</Fields></TQStruct>";
}

std::string Array(const std::string& type, const std::string& row) {
  return "<TQArray><Type>" + type + "</Type><ArrayFields>" + row +
         "</ArrayFields></TQArray>";
}

const std::string kOsoba = Struct(
    "Osoba", Field("Nazwisko", "qdtString") + Field("Wiek", "qdtInteger"));
const std::string kOsoby = Array("Osoby", kOsoba);

TEST(TQDataTypeBase, TextConversionsFollowTheFixedFormats) {
  const std::vector<std::pair<std::string, int>> integers = {
      {" 42 apples", 42}, {"apples", 0}, {"", 0},    {"  ", 0},
      {"-12abc", -12},    {"+7", 7},     {"- 3", 0}, {"99999999999", INT_MAX},
      {"1.500000", 1}};
  for (const auto& [text, expected] : integers) {
    TQInteger value;
    TQString source;
    value.setAsString(text);
    source.setAsString(text);
    EXPECT_EQ(std::pair(value.getAsInteger(), source.getAsInteger()),
              std::pair(expected, expected))
        << text;
  }
  TQInteger i;  // truncation toward zero: see the assignment from TQDouble
  i.setAsDouble(1e20);
  EXPECT_EQ(i.getAsInteger(), INT_MAX);

  test::CommaLocale comma;
  TQString s;  // six decimals and a point, the sign kept
  s.setAsDouble(-0.0000004);
  EXPECT_EQ(s.getAsString(), "-0.000000");
  TQDouble d;
  d.setAsString("2,5");
  EXPECT_EQ(d.getAsDouble(), 0.0);
  d.setAsString(" 2.5 ");
  EXPECT_EQ(d.getAsString(), "2.5");
}

TEST(TQDataTypeBase, DateTimeTextReadsBackAndRejectsInvalidDates) {
  TQDateTime t;
  EXPECT_EQ(t.getAsString(), "30.12.1899 00:00:00:00");
  t.setAsString("05.03.2024 14:07:09:45");
  EXPECT_EQ(t.getAsInteger(), 45356);
  EXPECT_NEAR(t.getAsDouble(), 45356.588299, 1e-6);
  TQString text;
  text.assign(&t);
  EXPECT_EQ(text.getAsString(), "45356");
  t.setAsString("05.03.2024 14:07:09:1234");  // milliseconds: 3 digits at most
  EXPECT_EQ(t.getAsString(), "05.03.2024 14:07:09:123");

  for (const std::string written :
       {"05.03.2024 14:07:09:123", "01.01.1850 00:00:00:00",
        "31.12.1899 23:59:59:999", "29.02.2024 00:00:00:05"}) {
    TQDateTime back;
    back.setAsString(written);
    EXPECT_EQ(back.getAsString(), written);
  }
  for (const std::string invalid :
       {"31.02.2024 10:00:00:00", "05.03.2024", "", "05.03.2024 24:00:00:00",
        "5.3.2024 1:2:3", "05.03.0000 00:00:00:00", "-1.03.2024 00:00:00:00"}) {
    TQDateTime kept;
    kept.setAsDouble(7.5);
    kept.setAsString(invalid);
    EXPECT_EQ(kept.getAsDouble(), 7.5) << invalid;
    TQString source;
    source.setAsString(invalid);
    EXPECT_EQ(source.getAsDateTime(), 0.0) << invalid;
  }
}

TEST(TQDataTypeBase, AssignConvertsScalarsAndRejectsCompounds) {
  TQInteger i;
  TQDouble d;
  TQString s;
  TQDateTime t;
  d.setAsDouble(-2.9);
  i.assign(&d);
  EXPECT_EQ(i.getAsInteger(), -2);
  s.assign(&d);
  EXPECT_EQ(s.getAsString(), "-2.9");
  s.setAsString("7 dni");
  i.assign(&s);
  t.assign(&s);
  EXPECT_EQ(i.getAsInteger(), 7);
  EXPECT_EQ(t.getAsDouble(), 0.0);
  t.assign(&i);
  d.assign(&t);
  EXPECT_EQ(d.getAsDouble(), 7.0);

  // A compound source raises and leaves the target as it was.
  TQStruct structure;
  std::vector<std::pair<TQDataTypeBase*, std::string>> targets = {
      {&i, "Invalid assignment for TQInteger"},
      {&d, "Invalid assignment for IQDouble"},
      {&s, "Invalid assignment for IQString"},
      {&t, "Invalid assignment for IQDateTime"}};
  for (auto& [target, message] : targets) {
    EXPECT_EQ(MessageOf([&] { target->assign(&structure); }), message);
    EXPECT_EQ(MessageOf([&] { target->assign(nullptr); }), message);
  }
  EXPECT_EQ(i.getAsInteger() + d.getAsDouble() + t.getAsDouble(), 21);
  EXPECT_EQ(s.getAsString(), "7 dni");
}

TEST(TQStruct, LaysOutFieldsAndConvertsByName) {
  TQStruct s;
  s.initialize(kOsoba);
  ASSERT_EQ(s.getFieldCount(), 2);
  EXPECT_EQ(s.getFieldDesc(1).index, 1);
  s.setValueAsString("Wiek", "42 lata");
  EXPECT_EQ(s.getValueAsInteger("Wiek"), 42);
  EXPECT_EQ(s.getValueAsString("Wiek"), "42");
  EXPECT_EQ(MessageOf([&] { s.getValueAsInteger("wiek"); }),
            "Field not found: wiek\n\rTQStruct type: Osoba");

  TQStruct names;
  std::string fields, order;
  for (const char* name : {"alfa", "Zeta", "AB", "A", "\xA5le", "b"})
    fields += Field(name, "qdtInteger");
  names.initialize(Struct("N", fields));
  for (int k = 0; k < names.getFieldCount(); ++k)
    order += names.getFieldDesc(k).name + " ";
  EXPECT_EQ(order, "A AB Zeta alfa b \xA5le ");
}

TEST(TQStruct, DefinitionErrorsCarryTheirMessages) {
  const std::string wrap = "TQStruct initialization error\n\r";
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"a<b", "Invalid XML format: single '<' found"},
      {"<tqstruct><Type>T</Type></tqstruct>",
       wrap + "Not a TQStruct definition"},
      {"<TQStruct><Fields/></TQStruct>",
       wrap + "TQStruct Type description not found"},
      {"<TQStruct><Type>T</Type></TQStruct>",
       wrap + "TQStruct Fields definition not found"},
      {Struct("T", ""), wrap + "FieldCount cannot be 0"},
      {Struct("T", "<tqstructfield/>"),
       wrap + "TQStructField definition expected"},
      {Struct("T", Field("a", "qdtInteger") + "tail"),
       wrap + "TQStructField definition expected"},
      {Struct("T", Field("a", "QDTINTEGER")),
       wrap + "Invalid field type: QDTINTEGER"},
      {Struct("T", "<TQStructField><FieldName>a</FieldName></TQStructField>"),
       wrap + "Invalid field type: "},
      {Struct("T", Field("a", "qdtStructure")),
       wrap + "Field definition of type 'TQStruct' not found"},
      {Struct("T", Field("a", "qdtArray")),
       wrap + "Field definition of type 'TQArray' not found"},
      {Struct("T", Field("a", "qdtStructure",
                         "<Definition><Type>X</Type></Definition>")),
       wrap + wrap + "Not a TQStruct definition"},
  };
  for (const auto& [xml, message] : cases) {
    TQStruct s;
    EXPECT_EQ(MessageOf([&] { s.initialize(xml); }), wrap + message) << xml;
    EXPECT_EQ(s.getFieldCount(), 0);
  }
  // The first "</TQStruct>" closes the outer element, so a nested
  // definition comes as a tree: Definition wraps a whole TQStruct element.
  TQXmlNode tree, inner;
  std::string text = "<TQStruct><type>T</type><fields>" +
                     Field("N", "qdtStructure") + Field("x", "qdtDouble") +
                     "</fields></TQStruct>";
  tree.QXmlParse(text);
  text = "<Definition>" + kOsoba + "</Definition>";
  inner.QXmlParse(text);
  tree.getNode(1)->getNode(0)->addNode(inner);
  TQStruct s;
  s.xmlParsedInit(tree);
  EXPECT_EQ(MessageOf([&] { s.getValueAsInteger("N"); }),
            "getAsInteger() not supported for N");
  EXPECT_EQ(MessageOf([&] { s.setValueAsDateTime("N", 1); }),
            "setAsDateTime() not supported for N");
  auto* nested = dynamic_cast<TQStruct*>(s.getFieldByName("N"));
  ASSERT_NE(nested, nullptr);
  EXPECT_EQ(nested->getTypeName(), "Osoba");
}

TEST(TQStruct, AssignChecksTypeAndDuplicateIsDeep) {
  TQStruct osoba, other, firma;
  osoba.initialize(kOsoba);
  other.initialize(kOsoba);
  firma.initialize(Struct("Firma", Field("Nip", "qdtString")));
  osoba.setValueAsString("Nazwisko", "Nowak");
  osoba.assign(&other);
  EXPECT_EQ(osoba.getValueAsString("Nazwisko"), "Nowak");
  EXPECT_EQ(
      MessageOf([&] { osoba.assign(&firma); }),
      "Incompatible TQStruct assignment\n\rCannot assign Osoba with Firma");
  TQInteger scalar;
  EXPECT_EQ(MessageOf([&] { osoba.assign(&scalar); }),
            "Invalid TQStruct assignment");

  std::unique_ptr<TQDataTypeBase> copy(osoba.duplicate());
  auto& dup = dynamic_cast<TQStruct&>(*copy);
  EXPECT_EQ(dup.getValueAsString("Nazwisko"), "Nowak");
  dup.setValueAsString("Nazwisko", "Kowal");
  EXPECT_EQ(osoba.getValueAsString("Nazwisko"), "Nowak");
  osoba.setValueAsInteger("Wiek", 5);
  osoba.clear();
  EXPECT_EQ(osoba.getValueAsString("Nazwisko"), "");
  EXPECT_EQ(osoba.getValueAsInteger("Wiek"), 0);
  EXPECT_EQ(dup.getValueAsString("Nazwisko"), "Kowal");
}

// An array of Osoby with one row per (name, age).
std::unique_ptr<TQArray> Osoby(
    const std::vector<std::pair<std::string, int>>& rows) {
  auto array = std::make_unique<TQArray>();
  array->initialize(kOsoby);
  TQStruct row;
  array->createCompatibleStruct(&row);
  for (const auto& [name, age] : rows) {
    row.setValueAsString("Nazwisko", name);
    row.setValueAsInteger("Wiek", age);
    array->addRow(&row);
  }
  return array;
}

std::string Names(const TQArray& array) {
  std::string out;
  for (int i = 0; i < array.getRowCount(); ++i) {
    out += array.getValueAsString(i, "Nazwisko") + " ";
  }
  return out;
}

TEST(TQArray, AddsRowsByConversionAndGrowsByItsStep) {
  auto array = Osoby({});
  TQStruct row, text, missing;
  array->createCompatibleStruct(&row);
  EXPECT_EQ(row.getTypeName(), "Osoba");
  EXPECT_EQ(row.getFieldCount(), 2);
  text.initialize(Struct("Inna", Field("Wiek", "qdtString") +
                                     Field("Inne", "qdtInteger") +
                                     Field("Nazwisko", "qdtString")));
  text.setValueAsString("Wiek", "30");
  for (int i = 0; i < 64; ++i) array->addRow(&text);
  EXPECT_EQ(array->getCapacity(), 64);
  array->addRow(&text);
  EXPECT_EQ(array->getCapacity(), 128);
  EXPECT_EQ(array->getValueAsInteger(64, "Wiek"), 30);

  const std::string addError = "TQArray addRow() error\n\rTQArray type: Osoby";
  missing.initialize(Struct("Osoba", Field("Wiek", "qdtInteger")));
  EXPECT_EQ(MessageOf([&] { array->addRow(&missing); }), addError);
  EXPECT_EQ(MessageOf([&] { array->addRow(nullptr); }), addError);
  EXPECT_EQ(array->getRowCount(), 65);
}

TEST(TQArray, SortFlipsDirectionAndKeepsThePartitionOrder) {
  // Rows r0..r3 with ages 3, 1, 2, 1.
  auto array = Osoby({{"r0", 3}, {"r1", 1}, {"r2", 2}, {"r3", 1}});
  TQDataTypeBase* cell = array->getFieldByName(0, "Wiek");
  const std::vector<std::pair<bool, std::string>> runs = {
      {false, "r3 r1 r2 r0 "},
      {false, "r0 r2 r3 r1 "},
      {false, "r3 r1 r2 r0 "},
      {true, "r1 r3 r2 r0 "}};
  for (const auto& [ascending, names] : runs) {
    EXPECT_EQ(array->Sort("Wiek", ascending), 1);
    EXPECT_EQ(Names(*array), names);
  }
  EXPECT_EQ(array->getFieldByName(3, "Wiek"), cell);
  // A range sort leaves the rows outside the range in place.
  array->setValueAsInteger(3, "Wiek", 0);
  array->localSort(1, 3);
  EXPECT_EQ(Names(*array), "r1 r0 r3 r2 ");

  auto none = Osoby({{"r0", 0}, {"r1", 0}, {"r2", 0}});
  none->Sort("Brak", false);
  EXPECT_EQ(Names(*none), "r2 r1 r0 ");
  auto two = Osoby({{"r0", 0}, {"r1", 0}});
  two->Sort("Brak", false);
  EXPECT_EQ(Names(*two), "r1 r0 ");

  // By name (Polish order, case ignored) then age; direction by key text.
  auto keys = Osoby({{"ala", 2}, {"Bob", 1}, {"Ala", 1}, {"\xA5ni", 0}});
  for (const char* text :
       {"Nazwisko\nWiek", "Nazwisko\r\nWiek\r\n", "Nazwisko\nWiek"}) {
    keys->Sort(text, false);
    EXPECT_EQ(Names(*keys), "Ala ala \xA5ni Bob ") << text;
  }
  keys->Sort("Nazwisko\nWiek", false);
  EXPECT_EQ(Names(*keys), "Bob \xA5ni ala Ala ");
  keys->Sort("Nazwisko\nWiek", true);
  EXPECT_EQ(Names(*keys), "Ala ala \xA5ni Bob ");
  // Rows compare by the last keys: name, then age on a tie; rows past the
  // end compare as equal.
  EXPECT_EQ(std::vector<int>({keys->cmpRows(0, 1), keys->cmpRows(1, 3),
                              keys->cmpRows(0, 4)}),
            std::vector<int>({-1, -1, 0}));
}

TEST(TQArray, RowEditsAndTheirMessages) {
  auto array = Osoby({{"a", 1}, {"b", 2}, {"c", 3}});
  TQStruct partial, row;
  EXPECT_EQ(MessageOf([&] { array->getRow(5, &row); }),
            "TQArray getRow() error\nTQArray type: Osoby\n"
            "Index out of range: 5/3");
  TQDataTypeBase* kept = array->getFieldByName(2, "Wiek");
  array->deleteRow(1);
  EXPECT_EQ(Names(*array), "a c ");
  EXPECT_EQ(array->getFieldByName(1, "Wiek"), kept);
  EXPECT_EQ(MessageOf([&] { array->deleteRow(3); }),
            "TQArray deleteRow() error\n\rTQArray type: Osoby");

  // setRow keeps the fields assigned before a failure.
  partial.initialize(Struct("P", Field("Nazwisko", "qdtString")));
  partial.setValueAsString("Nazwisko", "z");
  EXPECT_EQ(MessageOf([&] { array->setRow(0, &partial); }),
            "TQArray setRow() error\n\rTQArray type: Osoby");
  EXPECT_EQ(array->getValueAsString(0, "Nazwisko"), "z");
  EXPECT_EQ(array->getValueAsInteger(0, "Wiek"), 0);

  array->getRow(1, &row);
  EXPECT_EQ(row.getValueAsString("Nazwisko") + row.getValueAsString("Wiek"),
            "c3");
  EXPECT_EQ(MessageOf([&] { array->getValueAsString(0, "wiek"); }),
            "Field not found: wiek\n\rTQArray type: Osoby");
  EXPECT_EQ(MessageOf([&] { array->getValueAsString(3, "Wiek"); }),
            "Index out of range: 3/2\n\rTQArray type: Osoby");
  TQInteger scalar;
  EXPECT_EQ(MessageOf([&] { array->createCompatibleStruct(&scalar); }),
            "TQArray createCompatibleStruct() error\n\rTQArray type: Osoby");
}

TEST(TQArray, DefinitionErrorsCopiesAndClear) {
  const std::string wrap = "TQArray initialization error\n\r";
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"<TQArray>", "Invalid XML format: '</TQArray>' not found"},
      {"<tqarray/>", wrap + "Not a TQArray definition"},
      {"<TQArray><ArrayFields/></TQArray>",
       wrap + "TQArray Type description not found"},
      {Array("A", "<x/>"), wrap + "TQArray Fields definition not found"},
      {Array("A", "<TQStruct/>"),
       wrap + "TQStruct Fields definition not found"},
      {Array("A", "<TQStruct><Fields>x</Fields></TQStruct>"),
       wrap + "FieldCount cannot be 0"},
  };
  for (const auto& [xml, message] : cases) {
    TQArray array;
    EXPECT_EQ(MessageOf([&] { array.initialize(xml); }), message) << xml;
  }

  auto array = Osoby({{"a", 1}, {"b", 2}});
  std::unique_ptr<TQDataTypeBase> copy(array->duplicate());
  auto& dup = dynamic_cast<TQArray&>(*copy);
  array->clear();
  EXPECT_EQ(array->getRowCount(), 2);
  EXPECT_EQ(Names(*array), "  ");
  EXPECT_EQ(array->getValueAsInteger(1, "Wiek"), 0);
  EXPECT_EQ(Names(dup), "a b ");
  EXPECT_EQ(dup.getCapacity(), 64);
  EXPECT_EQ(dup.getFieldCount(), 2);
  dup.flipRows(1, 2);  // a row past the end: nothing moves
  dup.flipRows(-1, 0);
  EXPECT_EQ(Names(dup), "a b ");
  dup.Sort("Wiek", false);
  EXPECT_EQ(Names(dup), "a b ");
  // Field lookup relies on the descriptors' name order, which the definition
  // need not follow.
  TQArray odwrotna;
  odwrotna.initialize(
      Array("O", Struct("O", Field("Wiek", "qdtInteger") +
                                 Field("Nazwisko", "qdtString"))));
  TQStruct wiersz;
  odwrotna.createCompatibleStruct(&wiersz);
  wiersz.setValueAsString("Nazwisko", "x");
  odwrotna.addRow(&wiersz);
  EXPECT_EQ(odwrotna.getValueAsString(0, "Nazwisko"), "x");
  dup.flipFldDef(0, 1);
  EXPECT_THROW(dup.getValueAsString(0, "Nazwisko"), Exception);
  EXPECT_EQ(dup.sortFldDef(0, 1), 0);
  EXPECT_EQ(dup.getValueAsString(0, "Nazwisko"), "a");

  TQArray other;
  other.initialize(kOsoby);
  array->assign(&other);
  other.initialize(Array("Inne", Struct("I", Field("a", ""))));
  EXPECT_EQ(MessageOf([&] { array->assign(&other); }),
            "Incompatible TQArray assignment\n\rCannot assign Osoby with Inne");
  EXPECT_EQ(MessageOf([&] { array->assign(nullptr); }),
            "Invalid TQArray assignment");
  // A field type is examined only when a row is made.
  TQStruct row;
  EXPECT_THROW(other.addRow(&row), Exception);
  EXPECT_EQ(other.getRowCount(), 0);
  array->dealloc();
  EXPECT_EQ(MessageOf([&] { array->getValueAsString(0, "Wiek"); }),
            "Field not found: Wiek\n\rTQArray type: Osoby");
}

}  // namespace
}  // namespace druvo
