#include "tools/druvo/DocumentList.h"

#include <gtest/gtest.h>

#include "druvo/platform/AnsiString.h"

namespace druvo::cli {
namespace {

DocumentListRow Row(std::string number, std::string seller) {
  DocumentListRow row;
  row.number = std::move(number);
  row.date = "01.02.2026";
  row.type = "PZ";
  row.seller = std::move(seller);
  row.sellerTaxNumber = "PL1234567890";
  row.file = "a.xml";
  return row;
}

TEST(DocumentList, CsvQuotesOnlyWhatNeedsIt) {
  EXPECT_EQ(CsvField("plain text"), "plain text");
  EXPECT_EQ(CsvField(""), "");
  EXPECT_EQ(CsvField("a,b"), "\"a,b\"");
  EXPECT_EQ(CsvField("say \"hi\""), "\"say \"\"hi\"\"\"");
  EXPECT_EQ(CsvField("two\nlines"), "\"two\nlines\"");
  EXPECT_EQ(CsvField(" padded"), "\" padded\"");
  EXPECT_EQ(FormatCsv({Row("F/1", "A, B")}),
            "Number,Date,Type,Seller,Tax number,File\n"
            "F/1,01.02.2026,PZ,\"A, B\",PL1234567890,a.xml\n");
}

TEST(DocumentList, TableAlignsByCharactersNotBytes) {
  DocumentListRow bezPliku = Row("F/10", "Ab\r\nCd");
  bezPliku.file = "";  // no blanks are left at the end of a line
  EXPECT_EQ(FormatTable({Row("F/1", "Żółw"), bezPliku}),
            "Number  Date        Type  Seller  Tax number    File\n"
            "F/1     01.02.2026  PZ    Żółw    PL1234567890  a.xml\n"
            "F/10    01.02.2026  PZ    Ab  Cd  PL1234567890\n");
  EXPECT_EQ(FormatTable({}), "Number  Date  Type  Seller  Tax number  File\n");
}

TEST(DocumentList, RowComesFromTheLibraryReadingInUtf8) {
  TVLQXmlNode root;
  root.XmlParse(
      Utf8ToAnsi("<Faktura><Podmiot1><DaneIdentyfikacyjne>"
                 "<PrefiksPodatnika>PL</PrefiksPodatnika><NIP>123</NIP>"
                 "<Nazwa>Żółw</Nazwa></DaneIdentyfikacyjne></Podmiot1>"
                 "<Fa><P_1>2026-02-01</P_1><P_2>F/1</P_2>"
                 "<RodzajFaktury>VAT</RodzajFaktury></Fa></Faktura>"),
      true, true);
  EXPECT_EQ(FormatCsv({ReadDocumentListRow(root, "x.xml")}),
            "Number,Date,Type,Seller,Tax number,File\n"
            "F/1,01.02.2026,PZ,Żółw,PL123,x.xml\n");

  TVLQXmlNode bezDaty;
  bezDaty.XmlParse("<Faktura><Fa><P_2>F/2</P_2></Fa></Faktura>", true, true);
  EXPECT_EQ(ReadDocumentListRow(bezDaty, "y.xml").date, "");
}

}  // namespace
}  // namespace druvo::cli
