// The real invoices of testdata/ksef against what was reviewed for them: the
// EDI text (testdata/edi), and every field of the extracted data, of the
// summary and of the document-list reading (testdata/data). The kept texts
// cover each kind of invoice the samples hold, corrections included.
// DRUVO_UPDATE_GOLDEN=1 rewrites the kept texts, which must then be reviewed
// before they are committed.
#include "druvo/ksef/UVlqKoKs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "druvo/xml/UVlqXml.h"
#include "tests/support/KsefTestInvoices.h"
#include "tests/support/TestSupport.h"

namespace druvo::test {
namespace {

namespace fs = std::filesystem;

// Writes the fields of the extracted data as "name: value" lines in UTF-8.
class Zapis {
 public:
  Zapis& operator()(const char* nazwa, const AnsiString& wartosc) {
    tekst_ += std::string(nazwa) + ": " + AnsiToUtf8(wartosc) + "\n";
    return *this;
  }
  Zapis& operator()(const char* nazwa, double wartosc) {
    char bufor[32];
    const auto koniec = std::to_chars(bufor, bufor + sizeof bufor, wartosc);
    return (*this)(nazwa, AnsiString(bufor, koniec.ptr));
  }
  Zapis& operator()(const char* nazwa, int wartosc) {
    return (*this)(nazwa, AnsiString(std::to_string(wartosc)));
  }
  Zapis& Data(const char* nazwa, TDateTime data) {
    return (*this)(nazwa, TVLQKonwersjaKSeF::TekstDatyDlaEdi(data));
  }
  Zapis& Teksty(const char* nazwa, const TVLQMapaTekstowKSeF& teksty) {
    for (const auto& [klucz, wartosc] : teksty)
      (*this)(nazwa, klucz + "=" + wartosc);
    return *this;
  }
  Zapis& TekstyPozycji(const TVLQTekstyPozycjiZKSeF& teksty) {
    for (const auto& [linia, mapa] : teksty.GetWszystkieTeksty()) {
      for (const auto& [klucz, wartosc] : mapa) {
        (*this)("TekstPozycji",
                std::to_string(linia) + ":" + klucz + "=" + wartosc);
      }
    }
    return *this;
  }
  const std::string& Tekst() const { return tekst_; }

 private:
  std::string tekst_;
};

void ZapiszDane(Zapis& z, const TVLQDaneFaktZKSeF& d) {
  z("TypDokumentu", d.TypDokumentu)(
      "RodzajFaktury", static_cast<int>(d.RodzajFaktury))("DataWytworzeniaFa",
                                                          d.DataWytworzeniaFa);
  z.Data("DataWystawienia", d.DataWystawienia)
      .Data("DataDostawy", d.DataDostawy);
  z("KodWaluty", d.KodWaluty)("KursWaluty", d.KursWaluty)("NrDok", d.NrDok)(
      "TerminPlatnosci", d.TerminPlatnosci)("NazwaFormyPlatnosci",
                                            d.NazwaFormyPlatnosci)(
      "FormaPlatnosci", d.FormaPlatnosci)("Stopka1", d.Stopka1)(
      "Stopka2", d.Stopka2)("Stopka3", d.Stopka3);
  for (const AnsiString& wz : d.ListaWZ) z("WZ", wz);
  z("DoZaplaty", d.DoZaplaty)("CenyBrutto", d.CenyBrutto ? 1 : 0)(
      "Adnotacja", d.Adnotacja)("NoweSrodkiTransportu", d.NoweSrodkiTransportu)(
      "PrzyczynaKorekty", d.PrzyczynaKorekty)(
      "NrFaKorygowanych", d.NrFaKorygowanych)("NrKSeFFaKorygowanych",
                                              d.NrKSeFFaKorygowanych)(
      "DatyFaKorygowanych", d.DatyFaKorygowanych)("NIPWystawcy", d.NIPWystawcy)(
      "NazwaWystawcy", d.NazwaWystawcy)("NrEORI", d.NrEORI)(
      "AdresWystawcy", d.AdresWystawcy)("IDWewPodmiotu3", d.IDWewPodmiotu3);
  z("Netto23", d.Netto23)("Vat23", d.Vat23)("Netto8", d.Netto8)("Vat8", d.Vat8)(
      "Netto5", d.Netto5)("Vat5", d.Vat5)("Netto4", d.Netto4)("Vat4", d.Vat4)(
      "Netto0", d.Netto0)("NettoZW", d.NettoZW)("SumaNetto", d.SumaNetto())(
      "SumaPodatek", d.SumaPodatek());
  z("NazwaPlatnika", d.NazwaPlatnika)("AdresPlatnika", d.AdresPlatnika)(
      "NIPPlatnika", d.NIPPlatnika);
  for (const TVLQPodmiot3& p : d.Podmioty3) {
    z("Podmiot3", p.Nazwa + " | " + p.Identyfikator + " | " + p.Adres + " | " +
                      std::to_string(p.Rola));
  }
  z("Wiersze", static_cast<int>(d.WierszePo.size() + d.WierszePrzed.size()));
  z.Teksty("TekstDokumentu", d.TekstyDokumentu).TekstyPozycji(d.TekstyPozycji);
  z("Platnosci", Platnosci(d.Platnosci));
  for (int i = 0; i < d.GetIleKontBankowych(); ++i) {
    const TVLQKontoBankoweKSeF* konto = d.GetKontoBankowe(i);
    z("Konto",
      konto->NrRB + " | " + konto->OpisRachunku + " | " + konto->NazwaBanku);
  }
  z("Zamowienia", d.Zamowienia);
  AnsiString nazwy, identyfikatory, adresy;
  d.PrzygotujTekstyPodatnika3(nazwy, identyfikatory, adresy);
  z("Podatnicy3", nazwy + " | " + identyfikatory + " | " + adresy);
  z("DotyczyDok", d.GetDotyczyDok(true))("DotyczyDokBezNumeru",
                                         d.GetDotyczyDok(false));
}

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
    ZapiszDane(zapis, wyciag);
    ZapiszPodsumowanie(zapis, faktura);
    PorownajZWzorcem(zapis.Tekst(),
                     (dane / "data" / wzgledna).replace_extension(".txt"));
  }
}

}  // namespace
}  // namespace druvo::test
