#include "druvo/goods/UVlqWBTw.h"

#include <memory>
#include <utility>

#include "druvo/platform/Exceptions.h"
#include "druvo/platform/NumberText.h"
#include "druvo/util/KorbLib.h"

namespace druvo {

namespace {

// The items of `tekst` split at `delimiter` by the runtime's non-strict
// delimited-text rules, appended to `items`.
void Podziel(const AnsiString& tekst, char delimiter, TStrings& items) {
  TStringList lista;
  lista.Delimiter = AnsiCharToWide(static_cast<unsigned char>(delimiter));
  lista.QuoteChar = u'"';
  lista.StrictDelimiter = false;
  lista.SetDelimitedText(AnsiToWide(tekst));
  items.AddStrings(lista);
}

// The last item of `tekst` split at "/", when there are at least two.
bool OstatniElement(const AnsiString& tekst, AnsiString& element) {
  TStringList items;
  Podziel(tekst, '/', items);
  if (items.Count() < 2) return false;
  element = WideToAnsi(items.Strings(items.Count() - 1));
  return true;
}

// The runtime's ExtractFileName: the text after the last backslash or colon.
AnsiString ExtractFileName(const AnsiString& sciezka) {
  const std::size_t at = sciezka.find_last_of("\\:");
  return at == AnsiString::npos ? sciezka : sciezka.substr(at + 1);
}

template <class T>
void Zniszcz(TList* lista) {
  if (lista == nullptr) return;
  for (int i = 0; i < lista->Count(); ++i) {
    delete static_cast<T*>(lista->Items(i));
  }
  lista->Clear();
}

int HexDigit(unsigned char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

// ---- Producer ----

void TVLQWiseBaseAdress::Czysc() { *this = TVLQWiseBaseAdress(); }

void TVLQWiseBaseBrand::Czysc() { *this = TVLQWiseBaseBrand(); }

void TVLQWiseBaseProducent::Czysc() {
  Tekst1 = Tekst2 = "";
  Marka.Czysc();
  Adres1.Czysc();
  Adres2.Czysc();
}

// ---- Category ----

void TVLQWiseBaseCategory::Czysc() {
  ElementySciezki.Clear();
  Podzielona = false;
  Tekst1 = Sciezka = Separator = Tekst2 = Tekst3 = "";
}

void TVLQWiseBaseCategory::ParsePath() {
  if (!Separator.empty()) {
    Podziel(Sciezka, Separator[0], ElementySciezki);
  } else if (!Sciezka.empty()) {
    ElementySciezki.Add(AnsiToWide(Sciezka));  // no delimiter: one item
  }
  Podzielona = true;
}

int TVLQWiseBaseCategory::GetPathCount() {
  if (!Podzielona) ParsePath();
  return ElementySciezki.Count();
}

AnsiString TVLQWiseBaseCategory::GetPathItem(int i) {
  if (i < 0 || i >= GetPathCount()) return "";
  return WideToAnsi(ElementySciezki.Strings(i));
}

// ---- Packages ----

TVLQWiseBasePackageParam::TVLQWiseBasePackageParam(AnsiString a, AnsiString b,
                                                   AnsiString c, int d)
    : Tekst1(std::move(a)),
      Tekst2(std::move(b)),
      Tekst3(std::move(c)),
      Liczba1(d) {}

void TVLQWiseBasePackageParam::Czysc() {
  Tekst1 = Tekst2 = Tekst3 = "";
  Wartosci.Clear();
  Liczba1 = -1;
}

void TVLQWiseBasePackageParam::AddMultipleValue(float v) {
  Wartosci.Add(AnsiToWide(FloatToStr(static_cast<double>(v))));
}

void TVLQWiseBasePackageParam::CzyscVectorParams(TList* lista) {
  Zniszcz<TVLQWiseBasePackageParam>(lista);
}

void TVLQWiseBasePackage::Czysc() {
  Liczba1 = 0;
  Eany.Clear();
  Tekst1 = Tekst2 = Tekst3 = Tekst4 = Tekst5 = "";
  Wartosc1 = Wartosc2 = Wartosc3 = Wartosc4 = 0;
  Parametry.DeleteAll();
}

void TVLQWiseBasePackage::AddPackageEAN(AnsiString ean) {
  Eany.Add(AnsiToWide(ean));
}

int TVLQWiseBasePackage::AddPackageParam(TVLQWiseBasePackageParam* param) {
  return param == nullptr ? -1 : Parametry.Adopt(param);
}

void TVLQWiseBasePackage::AddPackageParamMultipleValue(int i, float v) {
  if (TVLQWiseBasePackageParam* param = Parametry.Item(i)) {
    param->AddMultipleValue(v);
  }
}

void TVLQWiseBasePackage::CzyscVectorPackages(TList* lista) {
  Zniszcz<TVLQWiseBasePackage>(lista);
}

// ---- Photos and parameters ----

TVLQWiseBasePhoto::TVLQWiseBasePhoto(int n, AnsiString typ, AnsiString sciezka)
    : Liczba1(n), Typ(std::move(typ)), Sciezka(std::move(sciezka)) {}

void TVLQWiseBasePhoto::Czysc() { Typ = Sciezka = ""; }

AnsiString TVLQWiseBasePhoto::OdczytajNazwe() const {
  AnsiString ostatni;
  return OstatniElement(Sciezka, ostatni) ? ExtractFileName(ostatni) : Sciezka;
}

AnsiString TVLQWiseBasePhoto::OdczytajTyp() const {
  AnsiString wynik = WideToAnsi(
      TMLgTools::GetString("Druvo_UVlqWBTw", "TVLQWiseOdczytajtyp", 0, u"png"));
  OstatniElement(Typ, wynik);
  return wynik;
}

void TVLQWiseBasePhoto::CzyscVectorPhotos(TList* lista) {
  Zniszcz<TVLQWiseBasePhoto>(lista);
}

TVLQWiseBaseParam::TVLQWiseBaseParam(AnsiString t1, AnsiString t2,
                                     AnsiString t3, AnsiString t4,
                                     AnsiString t5, int liczba1)
    : Tekst1(std::move(t1)),
      Tekst2(std::move(t2)),
      Tekst3(std::move(t3)),
      Tekst4(std::move(t4)),
      Tekst5(std::move(t5)),
      Liczba1(liczba1) {}

void TVLQWiseBaseParam::Czysc() {
  Tekst1 = Tekst2 = Tekst3 = Tekst4 = Tekst5 = "";
  Liczba1 = -1;
  Wartosci.Clear();
}

void TVLQWiseBaseParam::AddMultipleValue(AnsiString wartosc) {
  Wartosci.Add(AnsiToWide(wartosc));
}

void TVLQWiseBaseParam::CzyscVectorParam(TList* lista) {
  Zniszcz<TVLQWiseBaseParam>(lista);
}

// ---- Goods record ----

TVLQWiseBaseDaneTowaru::TVLQWiseBaseDaneTowaru() { Czysc(); }

TVLQWiseBaseDaneTowaru::~TVLQWiseBaseDaneTowaru() = default;

void TVLQWiseBaseDaneTowaru::Czysc() {
  TVLQDaneImpTowaruBase::Czysc();
  ImpTekst2 = "";
  Tekst1 = Tekst2 = Tekst3 = "";
  Kategoria.Czysc();
  Producent.Czysc();
  Opakowania.DeleteAll();
  Zdjecia.DeleteAll();
  Parametry.DeleteAll();
}

void TVLQWiseBaseDaneTowaru::DodajZdjecie(TVLQWiseBasePhoto* zdjecie) {
  if (zdjecie != nullptr) Zdjecia.Adopt(zdjecie);
}

int TVLQWiseBaseDaneTowaru::DodajParametr(TVLQWiseBaseParam* parametr) {
  return parametr == nullptr ? -1 : Parametry.Adopt(parametr);
}

int TVLQWiseBaseDaneTowaru::DodajPackage(TVLQWiseBasePackage* opakowanie) {
  return opakowanie == nullptr ? -1 : Opakowania.Adopt(opakowanie);
}

TVLQWiseBaseParam* TVLQWiseBaseDaneTowaru::PobierzParametrByIdx(int i) const {
  return Parametry.Item(i);
}

TVLQWiseBasePackage* TVLQWiseBaseDaneTowaru::PobierzPackageByIdx(int i) const {
  return Opakowania.Item(i);
}

// ---- Hex ----

AnsiString TVLQWiseBaseTools::StringToHex(const AnsiString& s) {
  static constexpr char kCyfry[] = "0123456789ABCDEF";
  AnsiString hex;
  hex.reserve(s.size() * 2);
  for (unsigned char c : s) {
    hex += kCyfry[c >> 4];
    hex += kCyfry[c & 15];
  }
  return hex;
}

AnsiString TVLQWiseBaseTools::HexToString(const AnsiString& s) {
  if (s.size() % 2 != 0) {
    throw Exception("Niepoprawny format HEX (nieparzysta liczba znak\xF3w)");
  }
  AnsiString tekst;
  tekst.reserve(s.size() / 2);
  for (std::size_t i = 0; i < s.size(); i += 2) {
    const int starsza = HexDigit(static_cast<unsigned char>(s[i]));
    const int mlodsza = HexDigit(static_cast<unsigned char>(s[i + 1]));
    int bajt = 0;
    if (starsza >= 0) bajt = mlodsza >= 0 ? starsza * 16 + mlodsza : starsza;
    tekst += static_cast<char>(bajt);
  }
  return tekst;
}

}  // namespace druvo
