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

const std::string kOsoba = Struct(
    "Osoba", Field("Nazwisko", "qdtString") + Field("Wiek", "qdtInteger"));

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
  TQInteger i;
  i.setAsDouble(-2.9);
  EXPECT_EQ(i.getAsInteger(), -2);
  i.setAsDouble(1e20);
  EXPECT_EQ(i.getAsInteger(), INT_MAX);

  test::CommaLocale comma;
  TQString s;
  s.setAsDouble(1.5);
  EXPECT_EQ(s.getAsString(), "1.500000");
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
  EXPECT_EQ(t.getAsString(), "05.03.2024 14:07:09:45");
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
  EXPECT_EQ(s.getTypeName(), "Osoba");
  ASSERT_EQ(s.getFieldCount(), 2);
  EXPECT_EQ(s.getFieldDesc(0).name, "Nazwisko");
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

}  // namespace
}  // namespace druvo
