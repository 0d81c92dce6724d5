// Tests of the invoice field readers: texts, amounts and dates of elements.
#include "druvo/ksef/UVlqKoKs.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "druvo/platform/Exceptions.h"
#include "druvo/xml/UVlqXml.h"
#include "tests/support/KsefTestInvoices.h"
#include "tests/support/TestSupport.h"

namespace druvo::test {
namespace {

TEST(TVLQKonwersjaKSeF, TextAndAmountReadersOnEmptyMissingAndMalformedFields) {
  TVLQXmlNode fa;
  fa.AddNode("Pusta", "");
  fa.AddNode("Opis", "abc\r\ndef\r\r\n\nghi");
  fa.AddNode("Ujemna", "-50");
  EXPECT_EQ(TVLQKonwersjaKSeF::OdczytajTekstZPola(&fa, "Pusta", true), "");
  EXPECT_EQ(TVLQKonwersjaKSeF::OdczytajTekstZPola(&fa, "Brak", true), "");
  EXPECT_EQ(TVLQKonwersjaKSeF::OdczytajTekstZPola(nullptr, "Opis", true), "");
  EXPECT_EQ(TVLQKonwersjaKSeF::OdczytajTekstZPola(&fa, "Opis", true),
            "abc def\r \nghi");
  EXPECT_EQ(TVLQKonwersjaKSeF::OdczytajTekstZPola(&fa, "Opis", false),
            "abc\r\ndef\r\r\n\nghi");

  double kwota = 99;
  EXPECT_TRUE(TVLQKonwersjaKSeF::OdczytajKwoteZPola(&fa, "Ujemna", kwota));
  EXPECT_DOUBLE_EQ(kwota, -50);
  kwota = 99;
  EXPECT_TRUE(TVLQKonwersjaKSeF::OdczytajKwoteZPola(&fa, "Pusta", kwota));
  EXPECT_EQ(kwota, 0);
  kwota = 99;
  EXPECT_FALSE(TVLQKonwersjaKSeF::OdczytajKwoteZPola(&fa, "Brak", kwota));
  EXPECT_EQ(kwota, 0);
  for (const char* zla : {"12,50", "abc", "1.2.3", " 12", "1e3", "-"}) {
    TVLQXmlNode wezel;
    wezel.AddNode("Kwota", zla);
    EXPECT_THROW(TVLQKonwersjaKSeF::OdczytajKwoteZPola(&wezel, "Kwota", kwota),
                 EConvertError)
        << zla;
  }
}

TEST(TVLQKonwersjaKSeF, DateReaderAndImpossibleDates) {
  EXPECT_EQ(TVLQKonwersjaKSeF::ParsujDateKSeF("2024-03-05T10:00:00"),
            EncodeDate(2024, 3, 5));
  EXPECT_EQ(TVLQKonwersjaKSeF::ParsujDateKSeF("2024-03-5"), 0);  // too short
  EXPECT_EQ(TVLQKonwersjaKSeF::ParsujDateKSeF(""), 0);
  for (const char* zla : {"2024-02-30", "2024-13-01", "2024-xx-05",
                          "abcd-03-05", "2024-03-00", "05.03.2024"}) {
    EXPECT_THROW(TVLQKonwersjaKSeF::ParsujDateKSeF(zla), EConvertError) << zla;
  }
}

}  // namespace
}  // namespace druvo::test
