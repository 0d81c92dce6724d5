// KSeF conversion: the pass over an invoice's header, parties, payments,
// amounts and footer, and the VAT rate sums.
#include "druvo/ksef/UVlqKoKs.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "druvo/ksef/UVlqKoKs_internal.h"
#include "druvo/platform/Exceptions.h"
#include "druvo/platform/NumberText.h"
#include "druvo/xml/UVlqXml.h"

namespace druvo {

using namespace koks_detail;
using namespace std::string_view_literals;

namespace {

// The whole days of a date.
int NumerDnia(TDateTime data) { return static_cast<int>(data); }

// A KSeF payment form: its code in the invoice, its EDI symbol and its name.
struct TFormaPlatnosci {
  std::string_view Kod;
  std::string_view Symbol;
  std::string_view Nazwa;
};

constexpr TFormaPlatnosci kFormyPlatnosci[] = {
    {"1", "GOT",
     "Got\xF3"
     "wka"},
    {"2", "KARTA",
     "Karta p\xB3"
     "atnicza"},
    {"3", "BON", "Bon"},
    {"4", "CZEK", "Czek potwierdzony"},
    {"5", "KREDYT", "Kredyt"},
    {"6", "PRZEL", "Przelew"},
    {"7", "MOBILNA", "Mobilna"},
};

const TFormaPlatnosci* ZnajdzFormePlatnosci(std::string_view kod) {
  for (const TFormaPlatnosci& forma : kFormyPlatnosci) {
    if (forma.Kod == kod) return &forma;
  }
  return nullptr;
}

void DodajPlatnosc(TVLQListaPlatnosciKSeF& lista, int forma,
                   const AnsiString& nazwa, TDateTime data, double kwota) {
  auto platnosc =
      std::make_unique<TVLQPlatnoscDoFakturyKSeF>(forma, nazwa, data, kwota);
  lista.push_back(platnosc.get());
  platnosc.release();
}

// `numer` preceded by `prefiks` when both are given, else `numer`.
AnsiString ZPrefiksem(const AnsiString& prefiks, const AnsiString& numer) {
  if (prefiks.empty() || numer.empty()) return numer;
  return prefiks + numer;
}

// The tax identifier of a buyer or third party: NIP, else the foreign NrID
// with its country, else the EU VAT number with its country.
AnsiString IdentyfikatorPodmiotu(const TVLQXmlNode* dane) {
  AnsiString identyfikator = WartoscPola(dane, "NIP");
  if (identyfikator.empty()) {
    identyfikator =
        ZPrefiksem(WartoscPola(dane, "KodKraju"), WartoscPola(dane, "NrID"));
  }
  if (identyfikator.empty()) {
    identyfikator =
        ZPrefiksem(WartoscPola(dane, "KodUE"), WartoscPola(dane, "NrVatUE"));
  }
  return identyfikator;
}

// Address lines 1 and 2 on one line, joined by a blank.
AnsiString AdresPodmiotu(const TVLQXmlNode* adres) {
  AnsiString wynik = JednaLinia(WartoscPola(adres, "AdresL1"));
  if (const AnsiString& drugaLinia = WartoscPola(adres, "AdresL2");
      !drugaLinia.empty()) {
    wynik.append(1, ' ').append(JednaLinia(drugaLinia));
  }
  return wynik;
}

}  // namespace

// The first child of each name under one element, found in one pass over its
// children. Fa holds every invoice line, so looking its other elements up
// one by one would scan all the lines each time; through this index a lookup
// costs one hash probe. The same pass collects the repeated elements of Fa
// that the conversion reads all of (each list in document order).
class TVLQKonwersjaKSeF::TIndeksDzieci {
 public:
  static constexpr std::size_t kZawczasu = 8;
  enum TLista { kOpisy, kKorygowane, kWZ, kIleList };

  explicit TIndeksDzieci(TVLQXmlNode* wezel) : wezel_(wezel) {
    static constexpr std::string_view kNazwyList[kIleList] = {
        "DodatkowyOpis", "DaneFaKorygowanej", "WZ"};
    TNazwa poprzednia;
    bool jestPoprzednia = false;
    const auto& dzieci = wezel->Nodes;
    for (std::size_t i = 0; i < dzieci.size(); ++i) {
      // The lines make Fa long: their memory is asked for ahead.
      if (i + kZawczasu < dzieci.size()) {
        platform_detail::PrefetchObject(dzieci[i + kZawczasu].get());
      }
      const auto& dziecko = dzieci[i];
      for (int lista = 0; lista < kIleList; ++lista) {
        if (dziecko->Name == kNazwyList[lista]) {
          listy_[lista].push_back(dziecko.get());
        }
      }
      TNazwa nazwa;
      // A name with no key cannot equal any name looked up here.
      if (!nazwa.Ustaw(dziecko->Name)) continue;
      if (jestPoprzednia && nazwa == poprzednia) continue;  // a run of lines
      pierwsze_.try_emplace(nazwa, dziecko.get());
      poprzednia = nazwa;
      jestPoprzednia = true;
    }
  }

  // The children named exactly as list `lista` says.
  const std::vector<TVLQXmlNode*>& Lista(TLista lista) const {
    return listy_[lista];
  }
  // The text of the first child named `nazwa`, or an empty text.
  const AnsiString& Wartosc(std::string_view nazwa) const {
    static const AnsiString kPusty;
    const TVLQXmlNode* pole = Znajdz(nazwa);
    return pole == nullptr ? kPusty : pole->Value;
  }
  // The amount of the first child named `nazwa`, as OdczytajKwoteZPola.
  bool Kwota(std::string_view nazwa, double& kwota) const {
    return KwotaWezla(Znajdz(nazwa), kwota);
  }
  // The first child named `nazwa` ignoring letter case, as GetNodeByName.
  TVLQXmlNode* Znajdz(std::string_view nazwa) const {
    TNazwa szukana;
    if (!szukana.Ustaw(nazwa)) return druvo::Wezel(wezel_, nazwa);
    const auto it = pierwsze_.find(szukana);
    return it == pierwsze_.end() ? nullptr : it->second;
  }

 private:
  struct TNazwa {
    TKluczNazwy Klucz;
    std::size_t Dlugosc = 0;
    bool Ustaw(std::string_view nazwa) {
      Dlugosc = nazwa.size();
      return KluczNazwyDziecka(nazwa, Klucz);
    }
    bool operator==(const TNazwa&) const = default;
  };
  struct THash {
    std::size_t operator()(const TNazwa& nazwa) const {
      std::uint64_t h = nazwa.Dlugosc;
      for (const std::uint64_t czesc : nazwa.Klucz.Czesci) {
        h = (h ^ czesc) * 0x9E3779B97F4A7C15;
        h ^= h >> 29;
      }
      return static_cast<std::size_t>(h);
    }
  };

  TVLQXmlNode* wezel_;
  std::unordered_map<TNazwa, TVLQXmlNode*, THash> pierwsze_;
  std::array<std::vector<TVLQXmlNode*>, kIleList> listy_;
};

// ---------------------------------------------------------------------------
// TVLQKonwersjaKSeF: the pass

void TVLQKonwersjaKSeF::OdczytajTeksty(TVLQXmlNode* fa,
                                       TVLQMapaTekstowKSeF& teksty,
                                       TMapaKomentarzy& komentarze1,
                                       TMapaKomentarzy& komentarze2) {
  std::vector<TVLQXmlNode*> opisy;
  for (const auto& wezel : fa->Nodes) {
    if (wezel->Name == "DodatkowyOpis"sv) opisy.push_back(wezel.get());
  }
  OdczytajOpisy(opisy, teksty, komentarze1, komentarze2);
}

void TVLQKonwersjaKSeF::OdczytajOpisy(const std::vector<TVLQXmlNode*>& opisy,
                                      TVLQMapaTekstowKSeF& teksty,
                                      TMapaKomentarzy& komentarze1,
                                      TMapaKomentarzy& komentarze2) {
  TMapaKomentarzy zebraneTeksty;
  for (TVLQXmlNode* opis : opisy) {
    TVLQXmlNode* kluczWezel = Wezel(opis, "Klucz");
    TVLQXmlNode* wartoscWezel = Wezel(opis, "Wartosc");
    if (kluczWezel == nullptr || wartoscWezel == nullptr) continue;
    const AnsiString& klucz = kluczWezel->Value;
    const AnsiString& wartosc = wartoscWezel->Value;
    const int nr = StrToIntDef(WartoscPola(opis, "NrWiersza"), -1);
    if (nr < 1) {
      teksty[klucz] = wartosc;
      Dane.TekstyDokumentu[klucz] = wartosc;
      continue;
    }
    Dane.TekstyPozycji.DodajTekst(nr, klucz, wartosc);
    if (klucz == "Komentarz 1") {
      komentarze1[nr] = wartosc;
    } else if (klucz == "Komentarz 2") {
      komentarze2[nr] = wartosc;
    } else {
      AnsiString& zebrane = zebraneTeksty[nr];
      if (!zebrane.empty()) zebrane += '|';
      zebrane.append(klucz).append(1, ':').append(wartosc);
    }
  }
  // Lines without a "Komentarz 2" of their own get their other texts.
  for (auto& [nr, zebrane] : zebraneTeksty) {
    komentarze2.try_emplace(nr, std::move(zebrane));
  }
}

void TVLQKonwersjaKSeF::WewnKonwertujDaneZXmlNaVelquant5() {
  if (Faktura == nullptr) return;
  if (TVLQXmlNode* naglowek = Wezel(Faktura, "Naglowek")) {
    Dane.DataWytworzeniaFa =
        OdczytajTekstZPola(naglowek, "DataWytworzeniaFa", false);
  }
  TVLQXmlNode* wezelFa = Wezel(Faktura, "Fa");
  if (wezelFa == nullptr) return;
  const TIndeksDzieci fa(wezelFa);
  bool zaliczka = false;
  bool korekta = false;
  OdczytajRodzajFaktury(fa, zaliczka, korekta);
  TLiniePrzebiegu linie;
  // The amounts are read with the lines when a later step needs them.
  const bool zKwotami = korekta || !TrybUproszczony;
  PodzielLinie(zaliczka ? fa.Znajdz("Zamowienie") : wezelFa, zaliczka, zKwotami,
               Dane.WierszePo, Dane.WierszePrzed, linie.Po, linie.Przed);
  if (DoTekstu) {
    // Room for the records, so that a long invoice's text grows only once.
    const std::size_t wiersze =
        Dane.WierszePo.size() + Dane.WierszePrzed.size();
    Wynik.reserve(Wynik.size() + 1024 + 256 * wiersze);
  }
  const bool rozbieznosc =
      korekta && SprawdzRozbieznosc(linie.Po, linie.Przed, zaliczka);
  WpiszTypDokumentu(korekta, rozbieznosc);

  TVLQMapaTekstowKSeF teksty;
  TMapaKomentarzy komentarze1;
  TMapaKomentarzy komentarze2;
  OdczytajOpisy(fa.Lista(TIndeksDzieci::kOpisy), teksty, komentarze1,
                komentarze2);
  WpiszTekstyDoPliku(teksty);

  TDateTime dataWystawienia = 0;
  bool jestDoZaplaty = false;
  if (!TrybUproszczony) {
    dataWystawienia = OdczytajDaty(fa);
    if (korekta) {
      Dane.PrzyczynaKorekty = fa.Wartosc("PrzyczynaKorekty");
    }
    OdczytajFakturyKorygowane(fa);
    jestDoZaplaty = OdczytajDoZaplaty(fa);
    if (TVLQXmlNode* platnosc = fa.Znajdz("Platnosc")) {
      OdczytajPlatnosc(platnosc, dataWystawienia);
    }
  }
  OdczytajAdnotacje(fa);
  OdczytajSprzedawce();
  OdczytajNabywce();
  OdczytajPodmioty3();
  if (!TrybUproszczony) OdczytajDaneDokumentu(fa, dataWystawienia);
  OdczytajStopke();
  if (!TrybUproszczony) {
    OdczytajKwoty(fa, jestDoZaplaty);
    WpiszNaglowekDokumentu(fa, dataWystawienia);
    WpiszLinie(linie.Po, linie.Przed, rozbieznosc, zaliczka, komentarze1,
               komentarze2);
    WpiszPartieDoPliku();
    WpiszStawki();
  }
  OdczytajZamowienia(fa);
}

void TVLQKonwersjaKSeF::OdczytajRodzajFaktury(const TIndeksDzieci& fa,
                                              bool& zaliczka, bool& korekta) {
  const AnsiString& rodzaj = fa.Wartosc("RodzajFaktury");
  for (int r = rfVAT; r <= rfKOR_ROZ; ++r) {
    const auto kandydat = static_cast<TVLQKsefRodzajFaktury>(r);
    if (KsefTekstRodzajuFaktury(kandydat) == rodzaj) {
      Dane.RodzajFaktury = kandydat;
      break;
    }
  }
  zaliczka = rodzaj == "ZAL" || rodzaj == "KOR_ZAL";
  korekta = rodzaj == "KOR_ZAL" || rodzaj == "KOR" || rodzaj == "KOR_ROZ";
}

void TVLQKonwersjaKSeF::WpiszTypDokumentu(bool korekta, bool rozbieznosc) {
  if (!korekta) {
    Dane.TypDokumentu = 2;
    WpiszDoPliku("TypDok", "PZ", false);
  } else if (rozbieznosc) {
    Dane.TypDokumentu = 26;
    WpiszDoPliku("TypDok", "ROZB", false);
  } else {
    Dane.TypDokumentu = 4;
    WpiszDoPliku("TypDok", "ZD", false);
  }
}

// The issue date (returned) and the delivery date, which falls back to the
// end of the invoiced period and then to the issue date.
TDateTime TVLQKonwersjaKSeF::OdczytajDaty(const TIndeksDzieci& fa) {
  const TDateTime dataWystawienia = ParsujDateKSeF(fa.Wartosc("P_1"));
  if (const AnsiString& p6 = fa.Wartosc("P_6"); !p6.empty()) {
    Dane.DataDostawy = ParsujDateKSeF(p6);
  } else if (const AnsiString& koniecOkresu =
                 WartoscPola(fa.Znajdz("OkresFa"), "P_6_Do");
             !koniecOkresu.empty()) {
    Dane.DataDostawy = ParsujDateKSeF(koniecOkresu);
  }
  if (NumerDnia(Dane.DataDostawy) == 0) Dane.DataDostawy = dataWystawienia;
  return dataWystawienia;
}

void TVLQKonwersjaKSeF::OdczytajFakturyKorygowane(const TIndeksDzieci& fa) {
  for (TVLQXmlNode* korygowana : fa.Lista(TIndeksDzieci::kKorygowane)) {
    if (!Dane.NrFaKorygowanych.empty()) Dane.NrFaKorygowanych += ", ";
    if (!Dane.DatyFaKorygowanych.empty()) Dane.DatyFaKorygowanych += ',';
    if (!Dane.NrKSeFFaKorygowanych.empty()) Dane.NrKSeFFaKorygowanych += ", ";
    Dane.NrFaKorygowanych += WartoscPola(korygowana, "NrFaKorygowanej");
    const TDateTime data =
        ParsujDateKSeF(WartoscPola(korygowana, "DataWystFaKorygowanej"));
    Dane.DatyFaKorygowanych += TdtTools(data).ToString(13).substr(0, 8);
    Dane.NrKSeFFaKorygowanych += WartoscPola(korygowana, "NrKSeFFaKorygowanej");
  }
}

// The amount due of the settlement, else Fa/P_15; true when one was given.
bool TVLQKonwersjaKSeF::OdczytajDoZaplaty(const TIndeksDzieci& fa) {
  TVLQXmlNode* rozliczenie = fa.Znajdz("Rozliczenie");
  if (rozliczenie == nullptr) {
    return fa.Kwota("P_15", Dane.DoZaplaty);
  }
  if (OdczytajKwoteZPola(rozliczenie, "DoZaplaty", Dane.DoZaplaty)) {
    return true;
  }
  double doRozliczenia = 0;
  const bool jest =
      OdczytajKwoteZPola(rozliczenie, "DoRozliczenia", doRozliczenia);
  Dane.DoZaplaty = -doRozliczenia;
  return jest;
}

void TVLQKonwersjaKSeF::OdczytajPlatnosc(TVLQXmlNode* platnosc,
                                         TDateTime dataWystawienia) {
  OdczytajTerminPlatnosci(platnosc, dataWystawienia);
  WpiszDoPliku("SposobPlatn", OdczytajFormePlatnosci(platnosc), true);
  for (const auto& wezel : platnosc->Nodes) {
    if (wezel->Name != "RachunekBankowy"sv) continue;
    Dane.DodajKontoBankowe(WartoscPola(wezel.get(), "NrRB"),
                           WartoscPola(wezel.get(), "OpisRachunku"),
                           WartoscPola(wezel.get(), "NazwaBanku"));
  }
  if (WartoscPola(platnosc, "Zaplacono") == "1") {
    DodajPlatnosc(Dane.Platnosci, Dane.FormaPlatnosci, Dane.NazwaFormyPlatnosci,
                  ParsujDateKSeF(WartoscPola(platnosc, "DataZaplaty")),
                  Dane.DoZaplaty);
    return;
  }
  OdczytajZaplatyCzesciowe(platnosc);
}

// Days from the issue date to the payment term, else to the payment date;
// written only when not negative.
void TVLQKonwersjaKSeF::OdczytajTerminPlatnosci(TVLQXmlNode* platnosc,
                                                TDateTime dataWystawienia) {
  int dni = -1;
  const AnsiString& termin =
      WartoscPola(Wezel(platnosc, "TerminPlatnosci"), "Termin");
  if (!termin.empty()) {
    dni = NumerDnia(ParsujDateKSeF(termin)) - NumerDnia(dataWystawienia);
  }
  const AnsiString& dataZaplaty = WartoscPola(platnosc, "DataZaplaty");
  if (dni < 0 && !dataZaplaty.empty()) {
    dni = NumerDnia(ParsujDateKSeF(dataZaplaty)) - NumerDnia(dataWystawienia);
  }
  if (dni < 0) return;
  AnsiString tekst;
  DopiszLiczbe(tekst, dni);
  WpiszDoPliku("TerminPlatn", tekst, false);
  Dane.TerminPlatnosci = dni;
}

// Sets the payment form's code and name in Dane; returns its EDI symbol.
AnsiString TVLQKonwersjaKSeF::OdczytajFormePlatnosci(TVLQXmlNode* platnosc) {
  if (WartoscPola(platnosc, "PlatnoscInna") == "1") {
    Dane.NazwaFormyPlatnosci = WartoscPola(platnosc, "OpisPlatnosci");
    return AnsiString();
  }
  const AnsiString& forma = WartoscPola(platnosc, "FormaPlatnosci");
  if (forma.empty()) return AnsiString();
  Dane.FormaPlatnosci = StrToIntDef(forma, -1);
  const TFormaPlatnosci* opis = ZnajdzFormePlatnosci(forma);
  if (opis == nullptr) return AnsiString();
  Dane.NazwaFormyPlatnosci = AnsiString(opis->Nazwa);
  return AnsiString(opis->Symbol);
}

void TVLQKonwersjaKSeF::OdczytajZaplatyCzesciowe(TVLQXmlNode* platnosc) {
  const AnsiString& znacznik =
      WartoscPola(platnosc, "ZnacznikZaplatyCzesciowej");
  if (znacznik != "1" && znacznik != "2") return;
  for (const auto& wezel : platnosc->Nodes) {
    if (TxTools(wezel->Name).Compare("ZaplataCzesciowa", true) != 0) continue;
    TVLQXmlNode* zaplata = wezel.get();
    double kwota = 0;
    OdczytajKwoteZPola(zaplata, "KwotaZaplatyCzesciowej", kwota);
    const TDateTime data =
        ParsujDateKSeF(WartoscPola(zaplata, "DataZaplatyCzesciowej"));
    const AnsiString& forma = WartoscPola(zaplata, "FormaPlatnosci");
    AnsiString nazwa;
    if (WartoscPola(zaplata, "PlatnoscInna") == "1") {
      nazwa = WartoscPola(zaplata, "OpisPlatnosci");
    } else if (const TFormaPlatnosci* opis = ZnajdzFormePlatnosci(forma)) {
      nazwa = AnsiString(opis->Nazwa);
    }
    if (kwota != 0) {
      DodajPlatnosc(Dane.Platnosci, StrToIntDef(forma, -1), nazwa, data, kwota);
    }
  }
}

void TVLQKonwersjaKSeF::OdczytajAdnotacje(const TIndeksDzieci& fa) {
  TVLQXmlNode* adnotacje = fa.Znajdz("Adnotacje");
  if (adnotacje == nullptr) return;
  static constexpr struct {
    std::string_view Pole;
    int Kod;
  } kAdnotacje[] = {{"P_18A", 1}, {"P_18", 2},  {"P_19", 8},
                    {"P_16", 9},  {"P_17", 10}, {"P_23", 11}};
  bool ustalona = false;
  for (const auto& adnotacja : kAdnotacje) {
    if (WartoscPola(adnotacje, adnotacja.Pole) == "1") {
      Dane.Adnotacja = adnotacja.Kod;
      ustalona = true;
      break;
    }
  }
  TVLQXmlNode* marza = Wezel(adnotacje, "PMarzy");
  if (!ustalona && marza != nullptr && WartoscPola(marza, "P_PMarzyN") != "1") {
    Dane.Adnotacja = 12;
  }
  if (WartoscPola(Wezel(adnotacje, "NoweSrodkiTransportu"), "P_22") == "1") {
    Dane.NoweSrodkiTransportu = 2;
  }
}

void TVLQKonwersjaKSeF::OdczytajSprzedawce() {
  TVLQXmlNode* podmiot = Wezel(Faktura, "Podmiot1");
  if (podmiot == nullptr) return;
  Dane.NrEORI = WartoscPola(podmiot, "NrEORI");
  TVLQXmlNode* dane = Wezel(podmiot, "DaneIdentyfikacyjne");
  Dane.NazwaWystawcy = OdczytajTekstZPola(dane, "Nazwa", true);
  WpiszDoPliku("NazwaWystawcy", Dane.NazwaWystawcy, true);
  Dane.NIPWystawcy = WartoscPola(dane, "PrefiksPodatnika");
  Dane.NIPWystawcy += WartoscPola(dane, "NIP");
  WpiszDoPliku("NIPWystawcy", Dane.NIPWystawcy, true);
  TVLQXmlNode* adres = Wezel(podmiot, "Adres");
  WpiszDoPliku("KodKrajuWystawcy", WartoscPola(adres, "KodKraju"), true);
  Dane.AdresWystawcy = AdresPodmiotu(adres);
  WpiszDoPliku("AdresWystawcy", Dane.AdresWystawcy, true);
  WpiszDoPliku("TelefonWystawcy",
               WartoscPola(Wezel(podmiot, "DaneKontaktowe"), "Telefon"), true);
}

void TVLQKonwersjaKSeF::OdczytajNabywce() {
  TVLQXmlNode* podmiot = Wezel(Faktura, "Podmiot2");
  if (podmiot == nullptr) return;
  TVLQXmlNode* dane = Wezel(podmiot, "DaneIdentyfikacyjne");
  Dane.NazwaPlatnika = OdczytajTekstZPola(dane, "Nazwa", true);
  Dane.NIPPlatnika = IdentyfikatorPodmiotu(dane);
  WpiszDoPliku("NIPPlatnika", Dane.NIPPlatnika, true);
  TVLQXmlNode* adres = Wezel(podmiot, "Adres");
  WpiszDoPliku("KodKrajuPlatnika", WartoscPola(adres, "KodKraju"), true);
  Dane.AdresPlatnika = AdresPodmiotu(adres);
  WpiszDoPliku("AdresPlatnika", Dane.AdresPlatnika, true);
}

void TVLQKonwersjaKSeF::OdczytajPodmioty3() {
  for (const auto& wezel : Faktura->Nodes) {
    if (wezel->Name != "Podmiot3"sv) continue;
    TVLQXmlNode* dane = Wezel(wezel.get(), "DaneIdentyfikacyjne");
    TVLQPodmiot3 podmiot;
    podmiot.Nazwa = OdczytajTekstZPola(dane, "Nazwa", true);
    podmiot.Identyfikator = IdentyfikatorPodmiotu(dane);
    if (podmiot.Identyfikator.empty()) {
      podmiot.Identyfikator = WartoscPola(dane, "IDWew");
    }
    podmiot.Adres = AdresPodmiotu(Wezel(wezel.get(), "Adres"));
    podmiot.Rola = StrToIntDef(WartoscPola(wezel.get(), "Rola"), 0);
    const bool rolaZIdWew =
        podmiot.Rola == 2 || podmiot.Rola == 8 || podmiot.Rola == 10;
    if (rolaZIdWew && dane != nullptr) {
      Dane.IDWewPodmiotu3 = WartoscPola(dane, "IDWew");
    }
    Dane.Podmioty3.push_back(std::move(podmiot));
  }
}

void TVLQKonwersjaKSeF::OdczytajDaneDokumentu(const TIndeksDzieci& fa,
                                              TDateTime dataWystawienia) {
  Dane.KodWaluty = fa.Wartosc("KodWaluty");
  fa.Kwota("KursWalutyZ", Dane.KursWaluty);
  Dane.DataWystawienia = dataWystawienia;
  Dane.NrDok = fa.Wartosc("P_2");
  for (const TVLQXmlNode* wz : fa.Lista(TIndeksDzieci::kWZ)) {
    Dane.ListaWZ.push_back(wz->Value);
  }
}

void TVLQKonwersjaKSeF::OdczytajStopke() {
  TVLQXmlNode* stopka = Wezel(Faktura, "Stopka");
  if (stopka == nullptr) return;
  int numer = 0;
  for (const auto& wezel : stopka->Nodes) {
    if (wezel->Name != "Informacje"sv) continue;
    ++numer;
    AnsiString& cel =
        numer == 1 ? Dane.Stopka1 : (numer == 2 ? Dane.Stopka2 : Dane.Stopka3);
    cel = OdczytajTekstZPola(wezel.get(), "StopkaFaktury", true);
  }
}

void TVLQKonwersjaKSeF::OdczytajKwoty(const TIndeksDzieci& fa,
                                      bool jestDoZaplaty) {
  if (!jestDoZaplaty) fa.Kwota("P_15", Dane.DoZaplaty);
  fa.Kwota("P_13_1", Dane.Netto23);
  fa.Kwota("P_14_1", Dane.Vat23);
  fa.Kwota("P_13_2", Dane.Netto8);
  fa.Kwota("P_14_2", Dane.Vat8);
  fa.Kwota("P_13_3", Dane.Netto5);
  fa.Kwota("P_14_3", Dane.Vat5);
  fa.Kwota("P_13_4", Dane.Netto4);
  fa.Kwota("P_14_4", Dane.Vat4);
  double netto0 = 0;
  for (std::string_view pole : {"P_13_6_1", "P_13_6_2", "P_13_6_3"}) {
    double kwota = 0;
    if (fa.Kwota(pole, kwota)) {
      netto0 = ZaokraglijDo2(netto0 + kwota);
    }
  }
  Dane.Netto0 = netto0;
  fa.Kwota("P_13_7", Dane.NettoZW);
}

void TVLQKonwersjaKSeF::WpiszNaglowekDokumentu(const TIndeksDzieci& fa,
                                               TDateTime dataWystawienia) {
  WpiszDoPliku("WalutaKod", Dane.KodWaluty, true);
  WpiszDoPliku("WalutaKurs", fa.Wartosc("KursWalutyZ"), true);
  WpiszDoPliku("Data", TekstDatyDlaEdi(dataWystawienia), true);
  WpiszDoPliku("NrDok", Dane.NrDok, true);
  WpiszDoPliku("DoZaplaty", fa.Wartosc("P_15"), true);
  WpiszDoPliku("DotyczyDok", Dane.GetDotyczyDok(true), true);
  if (TekstyEDI != nullptr) {
    WpiszDoPliku("Stopka", TekstyEDI->Stopka, true);
  } else {
    WpiszDoPliku("Stopka", Dane.Stopka1, true);
  }
}

void TVLQKonwersjaKSeF::WpiszStawki() {
  auto wpisz = [this](std::string_view stawka, double netto,
                      std::string_view vat) {
    AnsiString wartosc = DopiszDoLinii("Vat", stawka, false);
    wartosc += DopiszDoLinii("SumaNet", TxfTools(netto).ToDBField(0, 2), false);
    wartosc += DopiszDoLinii("SumaVat", vat, false);
    WpiszDoPliku("Stawka", wartosc, true);
  };
  const auto sumaVat = [](double vat) { return TxfTools(vat).ToDBField(0, 2); };
  if (Dane.Netto23 != 0 || Dane.Vat23 != 0) {
    wpisz("23", Dane.Netto23, sumaVat(Dane.Vat23));
  }
  if (Dane.Netto8 != 0 || Dane.Vat8 != 0) {
    wpisz("8", Dane.Netto8, sumaVat(Dane.Vat8));
  }
  if (Dane.Netto5 != 0 || Dane.Vat5 != 0) {
    wpisz("5", Dane.Netto5, sumaVat(Dane.Vat5));
  }
  if (Dane.Netto4 != 0 || Dane.Vat4 != 0) {
    wpisz("4", Dane.Netto4, sumaVat(Dane.Vat4));
  }
  if (Dane.Netto0 != 0) wpisz("0", Dane.Netto0, "0.0");
  if (Dane.NettoZW != 0) wpisz("ZW", Dane.NettoZW, "0");
}

void TVLQKonwersjaKSeF::OdczytajZamowienia(const TIndeksDzieci& fa) {
  TVLQXmlNode* warunki = fa.Znajdz("WarunkiTransakcji");
  if (warunki == nullptr) return;
  AnsiString zamowienia;
  for (const auto& wezel : warunki->Nodes) {
    if (wezel->Name != "Zamowienia"sv) continue;
    const AnsiString& numer = WartoscPola(wezel.get(), "NrZamowienia");
    if (numer.empty()) continue;
    if (!zamowienia.empty()) zamowienia += ';';
    zamowienia += numer;
    if (const AnsiString& data = WartoscPola(wezel.get(), "DataZamowienia");
        !data.empty()) {
      zamowienia.append(1, ',').append(data);
    }
  }
  Dane.Zamowienia = std::move(zamowienia);
}

}  // namespace druvo
