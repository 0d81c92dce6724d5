// The extracted data of a KSeF invoice as text: one "name: value" line in
// UTF-8 per field, lists and maps an entry a line, so that whole records can
// be compared (after clearing, after copying) and kept beside the samples.
// The line maps, which point into a tree and are never copied, are left out.
#pragma once

#include <charconv>
#include <string>

#include "druvo/ksef/UVlqKoKs.h"
#include "druvo/platform/AnsiString.h"
#include "tests/support/KsefTestInvoices.h"

namespace druvo::test {

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
    for (const auto& [klucz, wartosc] : teksty) {
      (*this)(nazwa, klucz + "=" + wartosc);
    }
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
  // Every field of `d`, the reserved ones included.
  Zapis& Dane(const TVLQDaneFaktZKSeF& d);

  const std::string& Tekst() const { return tekst_; }

 private:
  std::string tekst_;
};

inline Zapis& Zapis::Dane(const TVLQDaneFaktZKSeF& d) {
  Zapis& z = *this;
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
  z("Zastrzezone",
    std::to_string(d.Zastrzezone1) + " " + d.Zastrzezone2 + " " +
        FloatToStr(d.Zastrzezone3) + " " + FloatToStr(d.Zastrzezone4) + " " +
        std::to_string(d.Zastrzezone6) + " " + std::to_string(d.Zastrzezone7) +
        " " + std::to_string(d.Zastrzezone8) + " " +
        std::to_string(d.Zastrzezone9));
  for (int i = 0; i < d.Zastrzezone5.GetCount(); ++i) {
    z("Zastrzezone5", d.Zastrzezone5.GetValues(i));
  }
  return z;
}

// The text of every field of `dane`.
inline std::string TekstDanych(const TVLQDaneFaktZKSeF& dane) {
  return Zapis().Dane(dane).Tekst();
}

}  // namespace druvo::test
