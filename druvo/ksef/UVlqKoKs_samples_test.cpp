// The real invoices of testdata/ksef against what was reviewed for them: the
// EDI text (testdata/edi), and every field of the extracted data, of the
// summary and of the document-list reading (testdata/data). The kept texts
// cover each kind of invoice the samples hold, corrections included.
// DRUVO_UPDATE_GOLDEN=1 rewrites the kept texts, which must then be reviewed
// before they are committed.
#include "druvo/ksef/UVlqKoKs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "druvo/xml/UVlqXml.h"
#include "tests/support/KsefDataText.h"
#include "tests/support/KsefTestInvoices.h"
#include "tests/support/TestSupport.h"

namespace druvo::test {
namespace {

namespace fs = std::filesystem;

void ZapiszPodsumowanie(Zapis& z, TVLQXmlNode& faktura) {
  TVLQDaneUproszczoneFaktZKSeF s;
  TVLQKonwersjaKSeF::OdczytajDaneUproszczoneZFakturyKSeF(&faktura, s);
  z("Podsumowanie.NIPWystawcy", s.NIPWystawcy)("Podsumowanie.NazwaWystawcy",
                                               s.NazwaWystawcy)(
      "Podsumowanie.TypDokumentu", s.TypDokumentu)(
      "Podsumowanie.Adnotacja", s.Adnotacja)("Podsumowanie.RodzajFaktury",
                                             s.RodzajFaktury)(
      "Podsumowanie.Stopka1", s.Stopka1)("Podsumowanie.Stopka2", s.Stopka2)(
      "Podsumowanie.Stopka3", s.Stopka3)("Podsumowanie.Zamowienia",
                                         s.Zamowienia);
  z.Teksty("Podsumowanie.TekstDokumentu", s.TekstyDokumentu)
      .TekstyPozycji(s.TekstyPozycji);
  AnsiString nr, typ, nazwa, nip, wolny1, wolny2;
  TDateTime data = 1;
  TVLQKonwersjaKSeF::OdczytajDaneDoListyDokumentow(&faktura, nr, data, typ,
                                                   nazwa, nip, wolny1, wolny2);
  z("Lista", nr + " | " + TVLQKonwersjaKSeF::TekstDatyDlaEdi(data) + " | " +
                 typ + " | " + nazwa + " | " + nip + " | " + wolny1 + wolny2);
}

// Compares `wynik` with the kept text at `wzorzec`, or rewrites it.
void PorownajZWzorcem(const std::string& wynik, const fs::path& wzorzec) {
  const char* zmienna = std::getenv("DRUVO_UPDATE_GOLDEN");
  if (zmienna != nullptr && std::string(zmienna) == "1") {
    fs::create_directories(wzorzec.parent_path());
    std::ofstream(wzorzec, std::ios::binary) << wynik;
  }
  ASSERT_TRUE(fs::exists(wzorzec)) << wzorzec;
  EXPECT_EQ(wynik, ReadFile(wzorzec.string())) << wzorzec;
}

std::vector<fs::path> PlikiFaktur(const fs::path& faktury) {
  std::vector<fs::path> pliki;
  for (const char* wersja : {"fa2", "fa3"}) {
    for (const auto& wpis : fs::directory_iterator(faktury / wersja)) {
      if (wpis.path().extension() == ".xml") pliki.push_back(wpis.path());
    }
  }
  std::sort(pliki.begin(), pliki.end());
  return pliki;
}

// Every real invoice converts; its EDI text (CP1250, CR LF) and its data
// are the ones kept.
TEST(TVLQKonwersjaKSeF, RealInvoicesGiveTheirReviewedEdiTextAndData) {
  const fs::path dane = fs::path(DRUVO_TESTDATA_DIR);
  const fs::path faktury = dane / "ksef";
  const std::vector<fs::path> pliki = PlikiFaktur(faktury);
  ASSERT_EQ(pliki.size(), 40u);
  for (const fs::path& plik : pliki) {
    const fs::path wzgledna = fs::relative(plik, faktury);
    TVLQXmlNode faktura;
    Parsuj(faktura, Utf8ToAnsi(ReadFile(plik.string())));
    AnsiString edi;
    TVLQDaneFaktZKSeF wyciag;
    ASSERT_NO_THROW(TVLQKonwersjaKSeF::KonwertujDaneZXmlNaVelquant5DoTekstu(
        &faktura, edi, &wyciag, nullptr, ""))
        << plik;
    PorownajZWzorcem(edi, (dane / "edi" / wzgledna).replace_extension(".edi"));
    Zapis zapis;
    zapis.Dane(wyciag);
    ZapiszPodsumowanie(zapis, faktura);
    PorownajZWzorcem(zapis.Tekst(),
                     (dane / "data" / wzgledna).replace_extension(".txt"));
  }
}

}  // namespace
}  // namespace druvo::test
