#include "druvo/services/UVlqIBL.h"

#include <utility>

namespace druvo {

namespace {

constexpr const char* kSection = "Druvo_UVlqIBL";

// The first non-null item of `lista`, read as `T`, for which `matches` holds.
template <typename T, typename Predicate>
T* FindItemAs(TList* lista, Predicate matches) {
  if (lista == nullptr) return nullptr;
  for (int i = 0; i < lista->Count(); ++i) {
    T* item = static_cast<T*>(lista->Items(i));
    if (item != nullptr && matches(*item)) return item;
  }
  return nullptr;
}

}  // namespace

AnsiString NazwaAkcjiStatusu(TVLQAkcjaStatusu akcja) {
  struct Row {
    const char* key;
    const char16_t* name;
  };
  static constexpr Row kRows[] = {
      {"NazwaAkcreturn_00003", u"<brak>"},
      {"NazwaAkcreturn", u"Import zamówienia"},
      {"NazwaAkcreturn_00001", u"Realizacja zamówienia"},
      {"NazwaAkcreturn_00002", u"Import i realizacja zamówienia"},
  };
  const int value = static_cast<int>(akcja);
  const Row& row = (value >= 1 && value <= 3) ? kRows[value] : kRows[0];
  return WideToAnsi(TMLgTools::GetString(kSection, row.key, 0, row.name));
}

// ---- IDaneSerwisuOutput, TDaneSerwisuImportObject ----

IDaneSerwisuOutput::~IDaneSerwisuOutput() = default;

TDaneSerwisuImportObject::TDaneSerwisuImportObject() { Czysc(); }

TDaneSerwisuImportObject::~TDaneSerwisuImportObject() = default;

void TDaneSerwisuImportObject::Czysc() {
  ObiektTekst1.clear();
  ObiektTekst2.clear();
  ObiektLiczba = -1;
  ObiektZnacznik = false;
  Zwiniety = false;
}

bool TDaneSerwisuImportObject::GetMaDzieci() const { return false; }

// ---- TDaneSerwisuObject ----

TDaneSerwisuObject::TDaneSerwisuObject(int liczba1, int liczba2,
                                       TDaneSerwisuImportObject* obiekt,
                                       const AnsiString& tekst)
    : Liczba1(liczba1), Liczba2(liczba2), Obiekt(obiekt), Tekst(tekst) {}

bool TDaneSerwisuObject::GetZwiniety() const {
  if (Obiekt == nullptr) return true;
  return Obiekt->GetMaDzieci() && Obiekt->Zwiniety;
}

void TDaneSerwisuObject::SetZwiniety(bool zwiniety) {
  if (Obiekt != nullptr) Obiekt->Zwiniety = zwiniety;
}

bool TDaneSerwisuObject::GetMaDzieci() const {
  return Obiekt != nullptr && Obiekt->GetMaDzieci();
}

void TDaneSerwisuObject::CzyscListeObiektow(TList* lista) {
  if (lista == nullptr) return;
  for (int i = 0; i < lista->Count(); ++i)
    delete static_cast<TDaneSerwisuObject*>(lista->Items(i));
  lista->Clear();
}

// ---- TVLQBLImportMagazyn ----

TVLQBLImportMagazyn::TVLQBLImportMagazyn() { Czysc(); }

TVLQBLImportMagazyn::TVLQBLImportMagazyn(
    TBLTypObiektu typ, const AnsiString& id, const AnsiString& tekst2,
    const TMacSetOfIntegers& zbior, bool znacznik, int liczba1,
    const AnsiString& tekst3, const AnsiString& tekst4) {
  Czysc();
  Typ = typ;
  Id = id;
  Tekst2 = tekst2;
  Zbior.CopySet(zbior);
  Znacznik = znacznik;
  Liczba1 = liczba1;
  Tekst3 = tekst3;
  Tekst4 = tekst4;
}

TVLQBLImportMagazyn::TVLQBLImportMagazyn(const TVLQBLImportMagazyn& other)
    : TDaneSerwisuImportObject(other) {
  CopyOwnFields(other);
  Dzieci = CopyChildren(other);
}

TVLQBLImportMagazyn& TVLQBLImportMagazyn::operator=(
    const TVLQBLImportMagazyn& other) {
  if (this == &other) return *this;
  // The children are copied before anything of this object changes, and
  // `other` (which may lie inside this tree) is read before the old children
  // go.
  Children dzieci = CopyChildren(other);
  TDaneSerwisuImportObject::operator=(other);
  CopyOwnFields(other);
  CzyscDane();
  Dzieci = std::move(dzieci);
  return *this;
}

TVLQBLImportMagazyn::~TVLQBLImportMagazyn() { CzyscDane(); }

void TVLQBLImportMagazyn::Czysc() {
  TDaneSerwisuImportObject::Czysc();
  Lista.Clear();
  Id.clear();
  Tekst2.clear();
  Zbior.Clear();
  Znacznik = false;
  Liczba1 = -1;
  Tekst3.clear();
  Liczba2 = 2;
  Tekst4.clear();
  CzyscDane();
  Typ = btoMagazyn;
}

void TVLQBLImportMagazyn::CzyscDane() {
  // Grandchildren are moved up into one pending list before their parent
  // goes, so no destructor ever meets a child and the stack stays flat.
  Children pending = std::move(Dzieci);
  Dzieci.clear();
  while (!pending.empty()) {
    std::unique_ptr<TVLQBLImportMagazyn> last = std::move(pending.back());
    pending.pop_back();
    if (last == nullptr) continue;
    for (auto& child : last->Dzieci) pending.push_back(std::move(child));
    last->Dzieci.clear();
  }
}

bool TVLQBLImportMagazyn::GetMaDzieci() const { return !Dzieci.empty(); }

TVLQBLImportMagazyn* TVLQBLImportMagazyn::ZnajdzMagazynWgId(
    TList* lista, const AnsiString& id) {
  return FindItemAs<TVLQBLImportMagazyn>(
      lista, [&id](const TVLQBLImportMagazyn& m) { return m.Id == id; });
}

void TVLQBLImportMagazyn::WyczyscListe(TList* lista) {
  // The destructor runs CzyscDane() before the warehouse goes.
  DestroyItemsAs<TVLQBLImportMagazyn>(lista);
}

void TVLQBLImportMagazyn::CopyOwnFields(const TVLQBLImportMagazyn& other) {
  // Lines in their order (unsorted while copying), then the list's settings.
  Lista.Sorted = false;
  Lista.Assign(other.Lista);
  Lista.Sorted = other.Lista.Sorted;
  Lista.CaseSensitive = other.Lista.CaseSensitive;
  Id = other.Id;
  Tekst2 = other.Tekst2;
  Zbior.CopySet(other.Zbior);
  Znacznik = other.Znacznik;
  Liczba1 = other.Liczba1;
  Tekst3 = other.Tekst3;
  Liczba2 = other.Liczba2;
  Tekst4 = other.Tekst4;
  Typ = other.Typ;
}

TVLQBLImportMagazyn::Children TVLQBLImportMagazyn::CopyChildren(
    const TVLQBLImportMagazyn& other) {
  // Pending (source, destination) pairs wait on a list instead of the call
  // stack; null children stay null in the copy.
  Children result;
  std::vector<std::pair<const Children*, Children*>> work{
      {&other.Dzieci, &result}};
  while (!work.empty()) {
    const auto [from, to] = work.back();
    work.pop_back();
    to->reserve(from->size());
    for (const auto& child : *from) {
      if (child == nullptr) {
        to->emplace_back();
        continue;
      }
      auto copy = std::make_unique<TVLQBLImportMagazyn>();
      copy->TDaneSerwisuImportObject::operator=(*child);
      copy->CopyOwnFields(*child);
      work.emplace_back(&child->Dzieci, &copy->Dzieci);
      to->push_back(std::move(copy));
    }
  }
  return result;
}

// ---- TVLQBLImportStatusowZamowien ----

TVLQBLImportStatusowZamowien::TVLQBLImportStatusowZamowien() { Czysc(); }

void TVLQBLImportStatusowZamowien::Czysc() {
  TDaneSerwisuImportObject::Czysc();
  Liczba1 = -1;
  Tekst1.clear();
  Tekst2.clear();
  Liczba2 = -1;
  Liczba3 = -1;
  Akcja = asBrak;
}

bool TVLQBLImportStatusowZamowien::CzyAkcjaStatususUstawiona(TList* lista) {
  return FindItemAs<TVLQBLImportStatusowZamowien>(
             lista, [](const TVLQBLImportStatusowZamowien& s) {
               return s.Akcja == asImport || s.Akcja == asImportIRealizacja;
             }) != nullptr;
}

void TVLQBLImportStatusowZamowien::WyczyscListe(TList* lista) {
  DestroyItemsAs<TVLQBLImportStatusowZamowien>(lista);
}

// ---- TVLQBLImportGrupCenowych ----

TVLQBLImportGrupCenowych::TVLQBLImportGrupCenowych() { Czysc(); }

void TVLQBLImportGrupCenowych::Czysc() {
  Id = -1;
  Tekst1.clear();
  Tekst2.clear();
  Tekst3.clear();
  Znacznik = false;
}

TVLQBLImportGrupCenowych* TVLQBLImportGrupCenowych::ZnajdzGrupeCenowaPoId(
    TList* lista, int id) {
  return FindItemAs<TVLQBLImportGrupCenowych>(
      lista, [id](const TVLQBLImportGrupCenowych& g) { return g.Id == id; });
}

void TVLQBLImportGrupCenowych::WyczyscListe(TList* lista) {
  DestroyItemsAs<TVLQBLImportGrupCenowych>(lista);
}

}  // namespace druvo
