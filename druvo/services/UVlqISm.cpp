#include "druvo/services/UVlqISm.h"

#include <array>
#include <memory>
#include <string>

#include "druvo/util/KorbLib.h"

namespace druvo {

namespace {

// Year, month, day, hour, minute and second of a moment.
std::array<unsigned short, 6> Fields(TDateTime moment) {
  std::array<unsigned short, 6> f{};
  unsigned short msec = 0;
  DecodeDate(moment, f[0], f[1], f[2]);
  DecodeTime(moment, f[3], f[4], f[5], msec);
  return f;
}

}  // namespace

AnsiString GetNazwePodstrony(TVLQTypDanychSM typ) {
  static constexpr const char* kPaths[] = {
      "api/Sessions/OpenNewSession",
      "api/Sessions/CloseSession",
      "api/Sessions/SessionInformation",
      "api/Warehouses",
      "api/PaymentForms",
      "api/Products/Catalogs",
      "api/Products",
      "api/InventoryStates",
      "api/WarehouseDocuments/Filter",
      "api/WarehouseDocuments",
      "api/Contractors",
      "api/Departments",
      "api/PaymentRegistries",
      "api/WarehouseDocumentsIssue/New",
      "api/WarehouseDocumentsIssue/InBuffer",
      "api/WarehouseDocumentsIssue/MMPlus",
      "api/SalesIssue/New",
      "api/SalesIssue/InBuffer",
      "api/SalesIssue/WZ",
      "api/SalesIssue/NewCorrection",
      "api/Sales",
      "api/Contractors/Create",
      "api/InventoryStates/Changes",
      "api/Payments/IssueKP",
      "/api/Payments/Payment",
  };
  const int value = static_cast<int>(typ);
  if (value < 1 || value > 25) return {};
  return kPaths[value - 1];
}

AnsiString GetNazweTypuCenySpSM(TVLQTypCenySpSM typ) {
  // Types 1..4 are the letters A..D and keys 1..4; types 16..31 the letters
  // E..T and keys 5..20; type 0 is unnamed and has the bare key.
  const int value = static_cast<int>(typ);
  int number = 0;
  if (value >= 1 && value <= 4)
    number = value;
  else if (value >= 16 && value <= 31)
    number = value - 11;
  else if (value != 0)
    return {};
  AnsiString key = "GetNazwereturn";
  WideString fallback = u"Niezdefiniowany";
  if (number > 0) {
    const std::string digits = std::to_string(number);
    key += "_" + std::string(5 - digits.size(), '0') + digits;
    fallback = u"Cena ";
    fallback += static_cast<char16_t>(u'A' + number - 1);
  }
  return WideToAnsi(TMLgTools::GetString("Druvo_UVlqISm", key, 0, fallback));
}

// ---- TVLQSMError ----

TVLQSMError::TVLQSMError() { Czysc(); }

TVLQSMError::~TVLQSMError() = default;

void TVLQSMError::Czysc() {
  BladTekst1.clear();
  BladTekst2.clear();
  BladLiczba = 0;
  BladZnacznik = false;
}

void TVLQSMError::WyczyscListe(TList* lista) {
  DestroyItemsAs<TVLQSMError>(lista);
}

// ---- TVLQSMOtwacieSesji ----

TVLQSMOtwacieSesji::TVLQSMOtwacieSesji() { Czysc(); }

void TVLQSMOtwacieSesji::Czysc() {
  IdSesji.clear();
  Tekst.clear();
  Aktywna = false;
  DataWygasniecia = 0;
}

bool TVLQSMOtwacieSesji::CzySesjaWygasla() const {
  return CzySesjaWygasla(Now());
}

bool TVLQSMOtwacieSesji::CzySesjaWygasla(TDateTime teraz) const {
  if (Trim(IdSesji).empty()) return true;
  if (DateTimeCompare(DataWygasniecia, teraz) <= 0) return true;
  return !Aktywna;
}

int TVLQSMOtwacieSesji::DateTimeCompare(TDateTime a, TDateTime b) {
  const auto fa = Fields(a);
  const auto fb = Fields(b);
  if (fa < fb) return -1;
  return fb < fa ? 1 : 0;
}

void TVLQSMOtwacieSesji::WyczyscListe(TList* lista) {
  DestroyItemsAs<TVLQSMOtwacieSesji>(lista);
}

// ---- TVLQSMDepartment, TVLQSMRejestrPlat, TVLQSMAsortymenty ----

TVLQSMDepartment::TVLQSMDepartment() { Czysc(); }

void TVLQSMDepartment::Czysc() {
  Liczba = -1;
  Tekst1.clear();
  Tekst2.clear();
}

void TVLQSMDepartment::WyczyscListe(TList* lista) {
  DestroyItemsAs<TVLQSMDepartment>(lista);
}

TVLQSMRejestrPlat::TVLQSMRejestrPlat() { Czysc(); }

void TVLQSMRejestrPlat::Czysc() {
  Tekst1.clear();
  Liczba1 = -1;
  Liczba2 = -1;
  Liczba3 = -1;
  Tekst2.clear();
}

void TVLQSMRejestrPlat::WyczyscListe(TList* lista) {
  DestroyItemsAs<TVLQSMRejestrPlat>(lista);
}

TVLQSMAsortymenty::TVLQSMAsortymenty() { Czysc(); }

void TVLQSMAsortymenty::Czysc() {
  Liczba = -1;
  Tekst.clear();
}

void TVLQSMAsortymenty::WyczyscListe(TList* lista) {
  DestroyItemsAs<TVLQSMAsortymenty>(lista);
}

}  // namespace druvo
