#include "druvo/qstruct/QSTRUCT.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/TestSupport.h"

namespace druvo {
namespace {

using test::MessageOf;

// A structure definition of `type` with fields "name:kind,name:kind".
std::string Struct(const std::string& type, const std::string& fields) {
  std::string xml = "<TQStruct><Type>" + type + "</Type><Fields>";
  for (std::size_t at = 0; at < fields.size();) {
    const std::size_t colon = fields.find(':', at);
    const std::size_t end = std::min(fields.find(',', at), fields.size());
    xml += "<TQStructField><FieldName>" + fields.substr(at, colon - at) +
           "</FieldName><FieldType>" +
           fields.substr(colon + 1, end - colon - 1) +
           "</FieldType></TQStructField>";
    at = end + 1;
  }
  return xml + "</Fields></TQStruct>";
}

const std::string kOsoby =
    "<TQArray><Type>Osoby</Type><ArrayFields>" +
    Struct("Osoba", "Nazwisko:qdtString,Wiek:qdtInteger") +
    "</ArrayFields></TQArray>";

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
  text.initialize(
      Struct("Inna", "Wiek:qdtString,Inne:qdtInteger,Nazwisko:qdtString"));
  text.setValueAsString("Wiek", "30");
  for (int i = 0; i < 64; ++i) array->addRow(&text);
  EXPECT_EQ(array->getCapacity(), 64);
  array->addRow(&text);
  EXPECT_EQ(array->getCapacity(), 128);
  EXPECT_EQ(array->getValueAsInteger(64, "Wiek"), 30);

  const std::string addError = "TQArray addRow() error\n\rTQArray type: Osoby";
  missing.initialize(Struct("Osoba", "Wiek:qdtInteger"));
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
  partial.initialize(Struct("P", "Nazwisko:qdtString"));
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
  const std::string head = "<TQArray><Type>A</Type><ArrayFields>";
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"<TQArray>", "Invalid XML format: '</TQArray>' not found"},
      {"<tqarray/>", wrap + "Not a TQArray definition"},
      {"<TQArray><ArrayFields/></TQArray>",
       wrap + "TQArray Type description not found"},
      {head + "<x/></ArrayFields></TQArray>",
       wrap + "TQArray Fields definition not found"},
      {head + "<TQStruct/></ArrayFields></TQArray>",
       wrap + "TQStruct Fields definition not found"},
      {head + "<TQStruct><Fields>x</Fields></TQStruct></ArrayFields></TQArray>",
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
  dup.Sort("Wiek", false);
  EXPECT_EQ(Names(dup), "a b ");
  // Field lookup relies on the descriptors' name order.
  dup.flipFldDef(0, 1);
  EXPECT_THROW(dup.getValueAsString(0, "Nazwisko"), Exception);
  EXPECT_EQ(dup.sortFldDef(0, 1), 0);
  EXPECT_EQ(dup.getValueAsString(0, "Nazwisko"), "a");

  TQArray other;
  other.initialize(kOsoby);
  array->assign(&other);
  other.initialize("<TQArray><Type>Inne</Type><ArrayFields>" +
                   Struct("I", "a:") + "</ArrayFields></TQArray>");
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
