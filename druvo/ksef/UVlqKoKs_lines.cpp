// KSeF conversion: the invoice lines, split into the state after and before
// a correction, and written as "Linia" records.
#include "druvo/ksef/UVlqKoKs.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>
#include <string_view>

#include "druvo/ksef/UVlqKoKs_internal.h"
#include "druvo/platform/Exceptions.h"
#include "druvo/platform/NumberText.h"
#include "druvo/util/KorbLib_internal.h"
#include "druvo/xml/UVlqXml.h"

namespace druvo {

using namespace koks_detail;
using namespace std::string_view_literals;

namespace {

// StrToIntDef for a line's number. Plain digits, as invoices write it, are
// read here: nine of them cannot overflow.
int NumerWiersza(std::string_view tekst, int domyslny) {
  if (tekst.empty() || tekst.size() > 9) return StrToIntDef(tekst, domyslny);
  int nr = 0;
  for (const char c : tekst) {
    const unsigned cyfra = static_cast<unsigned char>(c) - unsigned{'0'};
    if (cyfra > 9) return StrToIntDef(tekst, domyslny);
    nr = nr * 10 + static_cast<int>(cyfra);
  }
  return nr;
}

// `nr` + `o`, wrapping around at the ends of int as the system's integers do
// (line numbers come from the invoice and may be the largest int).
int PrzesunNumer(int nr, int o) {
  return static_cast<int>(static_cast<unsigned>(nr) + static_cast<unsigned>(o));
}

// The fields of a line that the conversion reads. The amounts come right after
// the number, so that reading them alone collects only the fields up to
// pwWartoscBrutto.
enum TPoleWiersza : int {
  pwStanPrzed,
  pwNrWiersza,
  pwIlosc,
  pwCenaNetto,
  pwCenaBrutto,
  pwWartoscNetto,
  pwWartoscBrutto,
  pwNazwa,
  pwGTIN,
  pwPKWiU,
  pwIndeks,
  pwCN,
  pwJm,
  pwStawkaVat,
  pwMPP,
  pwGTU,
  pwAkcyza,
  pwLiczbaPol
};

// How many elements ahead a scan over the lines asks for their memory, and
// how many lines ahead the writing of records asks for their fields'.
constexpr std::size_t kZawczasu = 8;
constexpr std::size_t kPolaZawczasu = 2;

// Asks for the memory of the lines after line i in stages, each reading
// what the one before brought in: a line's element, its list of children,
// then the children themselves.
void WczytajLinieZawczasu(
    const std::vector<std::unique_ptr<TVLQXmlNode>>& wezly, std::size_t i) {
  if (i + kZawczasu < wezly.size())
    platform_detail::PrefetchObject(wezly[i + kZawczasu].get());
  if (i + kZawczasu / 2 < wezly.size()) {
    const auto& dzieci = wezly[i + kZawczasu / 2]->Nodes;
    if (!dzieci.empty()) {
      platform_detail::PrefetchAddress(dzieci.data());
      platform_detail::PrefetchAddress(dzieci.data() + dzieci.size() - 1);
    }
  }
  if (i + kZawczasu / 4 < wezly.size()) {
    const auto& dzieci = wezly[i + kZawczasu / 4]->Nodes;
    // A line's children, not a long list's.
    for (std::size_t d = 0; d < std::min<std::size_t>(dzieci.size(), 32); ++d) {
      platform_detail::PrefetchObject(dzieci[d].get());
    }
  }
}

// Element names of the fields of one line kind, in TPoleWiersza order: an
// invoice line (FaWiersz) or an ordered item of an advance invoice
// (ZamowienieWiersz). An empty name is a field the kind does not have.
using TNazwyPolWiersza = std::array<std::string_view, pwLiczbaPol>;

constexpr TNazwyPolWiersza kPolaFaWiersza = {
    "StanPrzed", "NrWierszaFa", "P_8B",        "P_9A",  "P_9B",   "P_11",
    "P_11A",     "P_7",         "GTIN",        "PKWiU", "Indeks", "CN",
    "P_8A",      "P_12",        "P_12_Zal_15", "GTU",   ""};
constexpr TNazwyPolWiersza kPolaZamowienia = {"StanPrzedZ",
                                              "NrWierszaZam",
                                              "P_8BZ",
                                              "P_9AZ",
                                              "",
                                              "P_11NettoZ",
                                              "",
                                              "P_7Z",
                                              "GTINZ",
                                              "PKWiUZ",
                                              "IndeksZ",
                                              "CNZ",
                                              "P_8AZ",
                                              "P_12Z",
                                              "P_12Z_Zal_15",
                                              "GTU",
                                              "P_12Z_XII"};

// A line kind's field names with their keys, filed in a table by a hash of
// key and length, where a child's key finds its field, or that it has none,
// mostly in one comparison. For each name length the fields of that length:
// a child of a length no wanted field has is passed over at once, and a
// name with no key is compared with them alone.
struct TOpisWiersza {
  static constexpr std::size_t kDlugosci = 16;
  static constexpr std::size_t kMiejsca = 64;  // four times the fields
  struct TMiejsce {
    TKluczNazwy Klucz;
    std::size_t Dlugosc = 0;
    signed char Pole = -1;  // -1: a free place
  };
  TNazwyPolWiersza Nazwy;
  std::array<TKluczNazwy, pwLiczbaPol> Klucze;
  std::array<std::array<signed char, 10>, kDlugosci> PolaODlugosci;
  std::array<TMiejsce, kMiejsca> Miejsca;

  static constexpr std::size_t Skrot(const TKluczNazwy& klucz,
                                     std::size_t dlugosc) {
    std::uint64_t h = dlugosc;
    for (const std::uint64_t czesc : klucz.Czesci) {
      h = (h ^ czesc) * 0x9E3779B97F4A7C15;
    }
    return static_cast<std::size_t>(h >> 58);  // 64 places
  }
  // The field whose name has the key `klucz` and `dlugosc` bytes, or -1.
  int Pole(const TKluczNazwy& klucz, std::size_t dlugosc) const {
    for (std::size_t i = Skrot(klucz, dlugosc);; i = (i + 1) % kMiejsca) {
      const TMiejsce& miejsce = Miejsca[i];
      if (miejsce.Pole < 0) return -1;
      if (miejsce.Dlugosc == dlugosc && miejsce.Klucz == klucz) {
        return miejsce.Pole;
      }
    }
  }
};

constexpr TOpisWiersza OpiszWiersz(const TNazwyPolWiersza& nazwy) {
  TOpisWiersza opis{nazwy, {}, {}, {}};
  for (auto& pola : opis.PolaODlugosci) pola.fill(-1);
  for (int pole = 0; pole < pwLiczbaPol; ++pole) {
    if (nazwy[pole].empty()) continue;
    if (!KluczNazwy(nazwy[pole], opis.Klucze[pole])) throw "name too long";
    auto& pola = opis.PolaODlugosci.at(nazwy[pole].size());
    std::size_t wolne = 0;
    while (pola.at(wolne) >= 0) ++wolne;
    if (wolne + 1 >= pola.size()) throw "too many fields of one length";
    pola[wolne] = static_cast<signed char>(pole);
    std::size_t miejsce =
        TOpisWiersza::Skrot(opis.Klucze[pole], nazwy[pole].size());
    while (opis.Miejsca[miejsce].Pole >= 0) {
      miejsce = (miejsce + 1) % TOpisWiersza::kMiejsca;
    }
    opis.Miejsca[miejsce] = {opis.Klucze[pole], nazwy[pole].size(),
                             static_cast<signed char>(pole)};
  }
  return opis;
}

constexpr TOpisWiersza kOpisFaWiersza = OpiszWiersz(kPolaFaWiersza);
constexpr TOpisWiersza kOpisZamowienia = OpiszWiersz(kPolaZamowienia);

const TOpisWiersza& OpisWiersza(bool zaliczka) {
  return zaliczka ? kOpisZamowienia : kOpisFaWiersza;
}

// The kind of a line element, or null for any other element.
const TOpisWiersza* OpisWezla(const TVLQXmlNode& wezel) {
  if (wezel.Name == "FaWiersz"sv) return &kOpisFaWiersza;
  if (wezel.Name == "ZamowienieWiersz"sv) return &kOpisZamowienia;
  return nullptr;
}

// A Linia record written at the end of a text, in place: each sub-field
// makes sure of its room with one comparison and is copied in, with no
// string of its own. A record is left whole or not at all: one the writer
// did not finish is taken off again.
class TZapisRekordu {
 public:
  explicit TZapisRekordu(AnsiString& cel)
      : cel_(cel), poczatek_(cel.size()), koniec_(cel.size()) {}
  TZapisRekordu(const TZapisRekordu&) = delete;
  TZapisRekordu& operator=(const TZapisRekordu&) = delete;
  ~TZapisRekordu() {
    if (!zakonczony_) cel_.resize(poczatek_);
  }

  void Tekst(std::string_view tekst) {
    koniec_ = Kopiuj(Miejsce(tekst.size()), tekst) - cel_.data();
  }

  // "nazwa{wartosc}", nothing for an empty value.
  void Pole(std::string_view nazwa, std::string_view wartosc) {
    if (wartosc.empty()) return;
    char* p = Otworz(nazwa, wartosc.size() + 1);
    p = Kopiuj(p, wartosc);
    *p++ = '}';
    koniec_ = p - cel_.data();
  }

  // Pole with every CR LF pair of the value replaced by a blank.
  void PoleJednaLinia(std::string_view nazwa, std::string_view wartosc) {
    if (wartosc.empty()) return;
    char* p = Otworz(nazwa, wartosc.size() + 1);
    for (std::size_t para = wartosc.find("\r\n");
         para != std::string_view::npos; para = wartosc.find("\r\n")) {
      p = Kopiuj(p, wartosc.substr(0, para));
      *p++ = ' ';
      wartosc.remove_prefix(para + 2);
    }
    p = Kopiuj(p, wartosc);
    *p++ = '}';
    koniec_ = p - cel_.data();
  }

  // "nazwa{<rodzaj><number>}", the number as ToDBField(minimum, maksimum)
  // writes it.
  void Liczba(std::string_view nazwa, std::string_view rodzaj, double liczba,
              int minimum, int maksimum) {
    char* p =
        Otworz(nazwa, rodzaj.size() + korblib_detail::kQuickDBFieldRoom + 1);
    p = Kopiuj(p, rodzaj);
    char* koniec = korblib_detail::QuickDBField(p, liczba, minimum, maksimum);
    if (koniec == nullptr) {
      const AnsiString tekst = TxfTools(liczba).ToDBField(minimum, maksimum);
      koniec_ = p - cel_.data();
      koniec = Kopiuj(Miejsce(tekst.size() + 1), tekst);
    }
    *koniec++ = '}';
    koniec_ = koniec - cel_.data();
  }

  // "nazwa{<integer>}".
  void Calkowita(std::string_view nazwa, int liczba) {
    constexpr std::size_t kCyfry = 12;  // a sign and ten digits
    char* p = Otworz(nazwa, kCyfry + 1);
    p = std::to_chars(p, p + kCyfry, liczba).ptr;
    *p++ = '}';
    koniec_ = p - cel_.data();
  }

  // The record is whole: the text ends with it.
  void Zakoncz() {
    cel_.resize(koniec_);
    zakonczony_ = true;
  }

 private:
  static char* Kopiuj(char* p, std::string_view tekst) {
    std::memcpy(p, tekst.data(), tekst.size());
    return p + tekst.size();
  }
  // The place for `ile` more bytes. The text grows by more than asked, so
  // that it grows once per few records.
  char* Miejsce(std::size_t ile) {
    if (cel_.size() - koniec_ < ile) cel_.resize(koniec_ + ile + kZapas);
    return cel_.data() + koniec_;
  }
  // "nazwa{" with room for `reszta` more bytes after it.
  char* Otworz(std::string_view nazwa, std::size_t reszta) {
    char* p = Kopiuj(Miejsce(nazwa.size() + 1 + reszta), nazwa);
    *p++ = '{';
    return p;
  }

  static constexpr std::size_t kZapas = 512;
  AnsiString& cel_;
  std::size_t poczatek_;
  std::size_t koniec_;
  bool zakonczony_ = false;
};

// The comment of line `nr`, or an empty text.
const AnsiString& KomentarzLinii(const std::map<int, AnsiString>& komentarze,
                                 int nr) {
  static const AnsiString kPusty;
  const auto it = komentarze.find(nr);
  return it == komentarze.end() ? kPusty : it->second;
}

}  // namespace

// ---------------------------------------------------------------------------
// TVLQKonwersjaKSeF: the lines

// The fields of one line element, each the first child of its name (letter
// case ignored, as GetNodeByName finds it), collected in one scan of the
// line's children so that reading a dozen fields costs one pass.
struct TVLQKonwersjaKSeF::TPolaWiersza {
  // Collects the fields before `ilePol` (in TPoleWiersza order).
  TPolaWiersza(const TVLQXmlNode* wiersz, const TOpisWiersza& opis,
               int ilePol = pwLiczbaPol) {
    for (const auto& dziecko : wiersz->Nodes) {
      const AnsiString& nazwa = dziecko->Name;
      if (nazwa.size() >= TOpisWiersza::kDlugosci) continue;
      // The fields of each length are listed in TPoleWiersza order: none
      // wanted when the first is not.
      const signed char pierwsze = opis.PolaODlugosci[nazwa.size()][0];
      if (pierwsze < 0 || pierwsze >= ilePol) continue;
      TKluczNazwy klucz;
      const int pole = KluczNazwyDziecka(nazwa, klucz)
                           ? opis.Pole(klucz, nazwa.size())
                           : PoleBezKlucza(nazwa, opis);
      if (pole >= 0 && pole < ilePol && Pola[pole] == nullptr) {
        Pola[pole] = dziecko.get();
      }
    }
  }

  // The field named `nazwa`, a name with no key, in the code page's
  // comparison, or -1.
  static int PoleBezKlucza(std::string_view nazwa, const TOpisWiersza& opis) {
    for (const signed char pole : opis.PolaODlugosci[nazwa.size()]) {
      if (pole < 0) break;
      if (AnsiSameText(nazwa, opis.Nazwy[pole])) return pole;
    }
    return -1;
  }

  const AnsiString& Tekst(TPoleWiersza pole) const {
    static const AnsiString kPusty;
    return Pola[pole] == nullptr ? kPusty : Pola[pole]->Value;
  }
  // The amount of a field: 0 when missing or empty; a malformed amount
  // raises EConvertError.
  double Kwota(TPoleWiersza pole) const {
    double kwota = 0;
    KwotaWezla(Pola[pole], kwota);
    return kwota;
  }

  // Asks for the fields' memory ahead of reading them.
  void WczytajZawczasu() const {
    for (const TVLQXmlNode* pole : Pola) platform_detail::PrefetchObject(pole);
  }

  std::array<const TVLQXmlNode*, pwLiczbaPol> Pola{};
};

void TVLQKonwersjaKSeF::OdczytajWierszeZXml(TVLQXmlNode* faktura,
                                            TMapaWierszy& po,
                                            TMapaWierszy& przed) {
  if (faktura == nullptr) return;
  TVLQXmlNode* fa = Wezel(faktura, "Fa");
  if (fa == nullptr) return;
  const AnsiString& rodzaj = WartoscPola(fa, "RodzajFaktury");
  const bool zaliczka = rodzaj == "ZAL" || rodzaj == "KOR_ZAL";
  PodzielWiesze(zaliczka ? Wezel(fa, "Zamowienie") : fa, po, przed);
}

void TVLQKonwersjaKSeF::PodzielWiesze(TVLQXmlNode* kontener, TMapaWierszy& po,
                                      TMapaWierszy& przed) {
  if (kontener == nullptr) return;
  int ostatniPo = 0;
  int ostatniPrzed = 0;
  for (const auto& wezel : kontener->Nodes) {
    const TOpisWiersza* opis = OpisWezla(*wezel);
    if (opis == nullptr) continue;
    // The marker and the number decide where the line goes.
    const TPolaWiersza wiersz(wezel.get(), *opis, pwNrWiersza + 1);
    const bool stanPrzed = wiersz.Tekst(pwStanPrzed) == "1";
    TMapaWierszy& mapa = stanPrzed ? przed : po;
    int& ostatni = stanPrzed ? ostatniPrzed : ostatniPo;
    const int nr =
        NumerWiersza(wiersz.Tekst(pwNrWiersza), PrzesunNumer(ostatni, 1));
    ostatni = nr;
    const auto [miejsce, dodany] = mapa.try_emplace(nr, wezel.get());
    if (!dodany && ZastepujeLinie(miejsce->second, wezel.get())) {
      miejsce->second = wezel.get();
    }
  }
}

// A repeated number replaces the earlier line, except a line at an "np" rate
// that repeats the earlier line's GTIN.
bool TVLQKonwersjaKSeF::ZastepujeLinie(const TVLQXmlNode* istniejacy,
                                       const TVLQXmlNode* nowy) {
  const TPolaWiersza polaNowego(nowy, *OpisWezla(*nowy));
  const TPolaWiersza polaIstniejacego(istniejacy, *OpisWezla(*istniejacy));
  const bool tenSamGTIN =
      polaIstniejacego.Tekst(pwGTIN) == polaNowego.Tekst(pwGTIN);
  const bool stawkaNp =
      polaNowego.Tekst(pwStawkaVat).find("np") != AnsiString::npos;
  return !(tenSamGTIN && stawkaNp);
}

struct TVLQKonwersjaKSeF::TLinia {
  int Nr;
  TVLQXmlNode* Wezel;
  TPolaWiersza Pola;
  bool MaKwoty = false;  // Kwoty read already
  TKwotyWiersza Kwoty;
};

TVLQKonwersjaKSeF::TKwotyWiersza TVLQKonwersjaKSeF::KwotyLinii(
    const TLinia& linia, bool zaliczka) {
  return linia.MaKwoty ? linia.Kwoty
                       : OdczytajKwotyWiersza(linia.Pola, zaliczka);
}

TVLQKonwersjaKSeF::TLiniePrzebiegu::TLiniePrzebiegu() = default;
TVLQKonwersjaKSeF::TLiniePrzebiegu::~TLiniePrzebiegu() = default;

void TVLQKonwersjaKSeF::PodzielLinie(TVLQXmlNode* kontener, bool zaliczka,
                                     bool zKwotami, TMapaWierszy& mapaPo,
                                     TMapaWierszy& mapaPrzed, TLinie& po,
                                     TLinie& przed) {
  if (!mapaPo.empty() || !mapaPrzed.empty()) {
    PodzielWiesze(kontener, mapaPo, mapaPrzed);
    po = LinieZMapy(mapaPo, zaliczka);
    przed = LinieZMapy(mapaPrzed, zaliczka);
    return;
  }
  if (kontener == nullptr) return;
  const TOpisWiersza& czytany = OpisWiersza(zaliczka);
  int ostatniPo = 0;
  int ostatniPrzed = 0;
  const auto& wezly = kontener->Nodes;
  // Room for every line among the current ones (the usual case), so that a
  // long invoice's lines are not copied as the list grows.
  po.reserve(wezly.size());
  for (std::size_t i = 0; i < wezly.size(); ++i) {
    WczytajLinieZawczasu(wezly, i);
    TVLQXmlNode* wezel = wezly[i].get();
    const TOpisWiersza* opis = OpisWezla(*wezel);
    if (opis == nullptr) continue;
    TLinia linia{0, wezel, TPolaWiersza(wezel, czytany), false, {}};
    // The marker and the number are read as the element's own kind.
    const TPolaWiersza wlasne =
        opis == &czytany ? linia.Pola
                         : TPolaWiersza(wezel, *opis, pwNrWiersza + 1);
    const bool stanPrzed = wlasne.Tekst(pwStanPrzed) == "1";
    int& ostatni = stanPrzed ? ostatniPrzed : ostatniPo;
    linia.Nr =
        NumerWiersza(wlasne.Tekst(pwNrWiersza), PrzesunNumer(ostatni, 1));
    ostatni = linia.Nr;
    if (zKwotami) {
      try {
        linia.Kwoty = OdczytajKwotyWiersza(linia.Pola, zaliczka);
        linia.MaKwoty = true;
      } catch (const EConvertError&) {
        // Raised again when the amounts are read where they are needed.
      }
    }
    (stanPrzed ? przed : po).push_back(linia);
  }
  UporzadkujLinie(po);
  UporzadkujLinie(przed);
  for (const TLinia& linia : po) {
    mapaPo.emplace_hint(mapaPo.end(), linia.Nr, linia.Wezel);
  }
  for (const TLinia& linia : przed) {
    mapaPrzed.emplace_hint(mapaPrzed.end(), linia.Nr, linia.Wezel);
  }
}

// Lines in document order put in number order, one per number, as filing
// them one by one in a map does.
void TVLQKonwersjaKSeF::UporzadkujLinie(TLinie& linie) {
  const auto nieRosnace = [](const TLinia& a, const TLinia& b) {
    return a.Nr >= b.Nr;
  };
  if (std::adjacent_find(linie.begin(), linie.end(), nieRosnace) ==
      linie.end()) {
    return;
  }
  std::stable_sort(
      linie.begin(), linie.end(),
      [](const TLinia& a, const TLinia& b) { return a.Nr < b.Nr; });
  std::size_t zostaje = 0;
  for (const TLinia& linia : linie) {
    if (zostaje > 0 && linie[zostaje - 1].Nr == linia.Nr) {
      if (ZastepujeLinie(linie[zostaje - 1].Wezel, linia.Wezel)) {
        linie[zostaje - 1] = linia;
      }
    } else {
      linie[zostaje++] = linia;
    }
  }
  linie.erase(linie.begin() + static_cast<std::ptrdiff_t>(zostaje),
              linie.end());
}

TVLQKonwersjaKSeF::TLinie TVLQKonwersjaKSeF::LinieZMapy(
    const TMapaWierszy& mapa, bool zaliczka) {
  TLinie linie;
  linie.reserve(mapa.size());
  for (const auto& [nr, wezel] : mapa) {
    linie.push_back(
        {nr, wezel, TPolaWiersza(wezel, OpisWiersza(zaliczka)), false, {}});
  }
  return linie;
}

bool TVLQKonwersjaKSeF::SprawdzCzyBedzieRozbieznoscZDostawy(
    const TMapaWierszy& po, const TMapaWierszy& przed, bool zaliczka) {
  if (przed.empty()) return false;
  if (po.size() != przed.size()) return true;
  return SprawdzRozbieznosc(LinieZMapy(po, zaliczka),
                            LinieZMapy(przed, zaliczka), zaliczka);
}

bool TVLQKonwersjaKSeF::SprawdzRozbieznosc(const TLinie& po,
                                           const TLinie& przed, bool zaliczka) {
  if (przed.empty()) return false;
  if (po.size() != przed.size()) return true;
  // Both are ordered and equally long: equal number sequences mean that
  // every number of each is in the other.
  for (std::size_t i = 0; i < po.size(); ++i) {
    if (po[i].Nr != przed[i].Nr) return true;
  }
  for (std::size_t i = 0; i < po.size(); ++i) {
    const TKwotyWiersza teraz = KwotyLinii(po[i], zaliczka);
    const TKwotyWiersza wczesniej = KwotyLinii(przed[i], zaliczka);
    if (SprawdzCzyPozycjaBedziePrzezWartosc(teraz.Cena, wczesniej.Cena,
                                            teraz.Brutto, wczesniej.Brutto)) {
      return true;
    }
  }
  return false;
}

void TVLQKonwersjaKSeF::OdczytajIloscCeneIWartosc(TVLQXmlNode* wiersz,
                                                  double& ilosc, double& cena,
                                                  double& wartosc, bool& brutto,
                                                  bool zaliczka) {
  const TKwotyWiersza kwoty = OdczytajKwotyWiersza(
      TPolaWiersza(wiersz, OpisWiersza(zaliczka), pwWartoscBrutto + 1),
      zaliczka);
  ilosc = kwoty.Ilosc;
  cena = kwoty.Cena;
  wartosc = kwoty.Wartosc;
  brutto = kwoty.Brutto;
}

// Quantity, price and value of a line: gross when it has a gross price
// other than "0", net otherwise; an ordered item is always net.
TVLQKonwersjaKSeF::TKwotyWiersza TVLQKonwersjaKSeF::OdczytajKwotyWiersza(
    const TPolaWiersza& wiersz, bool zaliczka) {
  TKwotyWiersza kwoty;
  kwoty.Ilosc = wiersz.Kwota(pwIlosc);
  if (!zaliczka) {
    const AnsiString& cenaBrutto = wiersz.Tekst(pwCenaBrutto);
    kwoty.Brutto =
        !cenaBrutto.empty() && cenaBrutto != "0" && cenaBrutto != "0.0";
  }
  kwoty.Cena = wiersz.Kwota(kwoty.Brutto ? pwCenaBrutto : pwCenaNetto);
  kwoty.Wartosc = wiersz.Kwota(kwoty.Brutto ? pwWartoscBrutto : pwWartoscNetto);
  return kwoty;
}

int TVLQKonwersjaKSeF::PorownajDwieKwoty(double a, double b, int miejsca) {
  const double roznica =
      TxfTools(TxfTools(a).Round(miejsca) - TxfTools(b).Round(miejsca))
          .Round(miejsca + 1);
  if (roznica > 0) return 1;
  return roznica < 0 ? -1 : 0;
}

bool TVLQKonwersjaKSeF::SprawdzCzyPozycjaBedziePrzezWartosc(
    const double& cenaPo, const double& cenaPrzed, bool bruttoPo,
    bool bruttoPrzed) {
  return PorownajDwieKwoty(cenaPo, cenaPrzed, 4) != 0 ||
         bruttoPo != bruttoPrzed;
}

bool TVLQKonwersjaKSeF::WpiszPozycjeDoPliku(
    const TMapaWierszy& po, const TMapaWierszy& przed, bool rozbieznosc,
    bool zaliczka, const TMapaKomentarzy& komentarze1,
    const TMapaKomentarzy& komentarze2) {
  WpiszLinie(LinieZMapy(po, zaliczka), LinieZMapy(przed, zaliczka), rozbieznosc,
             zaliczka, komentarze1, komentarze2);
  return true;
}

void TVLQKonwersjaKSeF::WpiszLinie(const TLinie& po, const TLinie& przed,
                                   bool rozbieznosc, bool zaliczka,
                                   const TMapaKomentarzy& komentarze1,
                                   const TMapaKomentarzy& komentarze2) {
  // The host's line comments, when it gave texts, take the invoice's place.
  const TMapaKomentarzy& uwagi1 =
      TekstyEDI != nullptr ? TekstyEDI->KomentarzePozycji[0] : komentarze1;
  const TMapaKomentarzy& uwagi2 =
      TekstyEDI != nullptr ? TekstyEDI->KomentarzePozycji[1] : komentarze2;
  bool innaNizNpI = false;
  // Both are ordered: the line before is found by walking along.
  auto przedNr = przed.begin();
  for (std::size_t i = 0; i < po.size(); ++i) {
    const TLinia& linia = po[i];
    // The text fields of the coming lines are read by DopiszPozycje.
    if (i + kPolaZawczasu < po.size()) {
      po[i + kPolaZawczasu].Pola.WczytajZawczasu();
    }
    while (przedNr != przed.end() && przedNr->Nr < linia.Nr) ++przedNr;
    const TLinia* stary =
        przedNr != przed.end() && przedNr->Nr == linia.Nr ? &*przedNr : nullptr;
    WpiszPozycje(linia, stary, rozbieznosc, zaliczka,
                 KomentarzLinii(uwagi1, linia.Nr),
                 KomentarzLinii(uwagi2, linia.Nr));
    if (!AnsiSameText(linia.Pola.Tekst(pwStawkaVat), "np I")) {
      innaNizNpI = true;
    }
  }
  if (rozbieznosc) {
    WpiszUsunietePozycje(po, przed, zaliczka, komentarze1, komentarze2);
  }
  if (!po.empty() && !innaNizNpI && Dane.Adnotacja == 0) Dane.Adnotacja = 7;
}

// A current line as it is, as its difference from the state before, or, when
// its price or gross/net mode changed, as the old line removed and the new
// one added.
void TVLQKonwersjaKSeF::WpiszPozycje(const TLinia& linia, const TLinia* stary,
                                     bool rozbieznosc, bool zaliczka,
                                     const AnsiString& komentarz1,
                                     const AnsiString& komentarz2) {
  const TPolaWiersza& wiersz = linia.Pola;
  const int nr = linia.Nr;
  const TKwotyWiersza teraz = KwotyLinii(linia, zaliczka);
  Dane.CenyBrutto = teraz.Brutto;
  if (stary == nullptr) {
    DopiszPozycje(wiersz, nr, teraz, zaliczka, komentarz1, komentarz2, false,
                  0);
    return;
  }
  const TKwotyWiersza wczesniej = KwotyLinii(*stary, zaliczka);
  if (!SprawdzCzyPozycjaBedziePrzezWartosc(teraz.Cena, wczesniej.Cena,
                                           teraz.Brutto, wczesniej.Brutto)) {
    // A delivery return gives back what the correction took away.
    TKwotyWiersza roznica = teraz;
    roznica.Ilosc = rozbieznosc ? teraz.Ilosc - wczesniej.Ilosc
                                : wczesniej.Ilosc - teraz.Ilosc;
    roznica.Wartosc = rozbieznosc ? teraz.Wartosc - wczesniej.Wartosc
                                  : wczesniej.Wartosc - teraz.Wartosc;
    DopiszPozycje(wiersz, nr, roznica, zaliczka, komentarz1, komentarz2, false,
                  0);
    return;
  }
  TKwotyWiersza usuniety = wczesniej;
  usuniety.Ilosc = -wczesniej.Ilosc;
  usuniety.Wartosc = -wczesniej.Wartosc;
  DopiszPozycje(stary->Pola, nr, usuniety, zaliczka, komentarz1, komentarz2,
                true, wczesniej.Ilosc);
  DopiszPozycje(wiersz, nr, teraz, zaliczka, komentarz1, komentarz2, true, 0);
}

// The lines of the state before that the correction no longer has, each
// written as removed, with the invoice's own line comments.
void TVLQKonwersjaKSeF::WpiszUsunietePozycje(
    const TLinie& po, const TLinie& przed, bool zaliczka,
    const TMapaKomentarzy& komentarze1, const TMapaKomentarzy& komentarze2) {
  auto poNr = po.begin();
  for (const TLinia& linia : przed) {
    while (poNr != po.end() && poNr->Nr < linia.Nr) ++poNr;
    if (poNr != po.end() && poNr->Nr == linia.Nr) continue;
    TKwotyWiersza usuniety = KwotyLinii(linia, zaliczka);
    const double stanPoczatkowy = usuniety.Ilosc;
    usuniety.Ilosc = -usuniety.Ilosc;
    usuniety.Wartosc = -usuniety.Wartosc;
    DopiszPozycje(linia.Pola, linia.Nr, usuniety, zaliczka,
                  KomentarzLinii(komentarze1, linia.Nr),
                  KomentarzLinii(komentarze2, linia.Nr), true, stanPoczatkowy);
  }
}

void TVLQKonwersjaKSeF::DopiszJednaPozycjeDoPliku(
    TVLQXmlNode* wiersz, int nr, const double& ilosc, const double& cena,
    const double& wartosc, bool brutto, bool zaliczka,
    const AnsiString& komentarz1, const AnsiString& komentarz2, bool zeStanem,
    double stanPoczatkowy) {
  TKwotyWiersza kwoty;
  kwoty.Ilosc = ilosc;
  kwoty.Cena = cena;
  kwoty.Wartosc = wartosc;
  kwoty.Brutto = brutto;
  DopiszPozycje(TPolaWiersza(wiersz, OpisWiersza(zaliczka)), nr, kwoty,
                zaliczka, komentarz1, komentarz2, zeStanem, stanPoczatkowy);
}

void TVLQKonwersjaKSeF::DopiszPozycje(const TPolaWiersza& wiersz, int nr,
                                      const TKwotyWiersza& kwoty, bool zaliczka,
                                      const AnsiString& komentarz1,
                                      const AnsiString& komentarz2,
                                      bool zeStanem, double stanPoczatkowy) {
  // Read before anything is written: a malformed excise amount raises.
  const bool akcyza = zaliczka && !wiersz.Tekst(pwAkcyza).empty() &&
                      wiersz.Kwota(pwAkcyza) != 0;
  // The record goes straight to the text when that is its only target.
  const bool wprost = DoTekstu && PlikWyjsciowy == nullptr;
  if (!wprost) pozycja_.clear();
  TZapisRekordu p(wprost ? Wynik : pozycja_);
  if (wprost) p.Tekst("Linia:");
  p.PoleJednaLinia("Nazwa", wiersz.Tekst(pwNazwa));
  p.Pole("Kod", wiersz.Tekst(pwGTIN));
  p.Pole("PKWiU", wiersz.Tekst(pwPKWiU));
  p.Pole("IndeksKSeF", wiersz.Tekst(pwIndeks));
  p.Pole("KodCN", wiersz.Tekst(pwCN));
  p.Pole("Jm", wiersz.Tekst(pwJm));
  p.Liczba("Ilosc", "", kwoty.Ilosc, 0, 3);
  const std::string_view rodzajCeny = kwoty.Brutto ? "b" : "n";
  p.Liczba("Cena", rodzajCeny, kwoty.Cena, 2, 5);
  p.Liczba("Wartosc", rodzajCeny, kwoty.Wartosc, 2, 5);
  p.Pole("Vat", SymbolVat(wiersz.Tekst(pwStawkaVat)));
  if (wiersz.Tekst(pwMPP) == "1") p.Pole("PodlegaMPP", "1");
  p.Pole("GrupaGTU", wiersz.Tekst(pwGTU));
  if (zeStanem && !zaliczka) p.Liczba("StanPocz", "", stanPoczatkowy, 0, 3);
  p.Calkowita("IdxLinii", PrzesunNumer(nr, -1));
  // After SymbolVat, whose rates set annotations of their own.
  if (akcyza) Dane.Adnotacja = 13;
  // The record is never empty: it always has IleWOpak.
  p.Pole("IleWOpak", "1");
  p.Pole("Komentarz1", komentarz1);
  p.Pole("Komentarz2", komentarz2);
  if (wprost) p.Tekst("\r\n");
  p.Zakoncz();
  if (!wprost) WpiszDoPliku("Linia", pozycja_, true);
}

// The EDI VAT symbol of a line's rate text; the zero rates of export and
// intra-Community supply also set the document's annotation.
std::string_view TVLQKonwersjaKSeF::SymbolVat(const AnsiString& stawka) {
  const auto jest = [&stawka](std::string_view wzor) {
    return AnsiSameText(stawka, wzor);
  };
  const std::string_view specjalny =
      SymbolVatSpecjalny.empty() ? std::string_view("0") : SymbolVatSpecjalny;
  if (jest("0 WDT")) {
    Dane.Adnotacja = 5;
    return specjalny;
  }
  if (jest("0 EX")) {
    Dane.Adnotacja = 6;
    return specjalny;
  }
  if (jest("np I")) return specjalny;
  if (stawka.empty() || jest("0 KR")) return "0";
  if (jest("np") || jest("oo") || jest("np II")) return specjalny;
  return stawka;
}

}  // namespace druvo
