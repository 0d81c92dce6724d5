#include "druvo/services/UVlqISm.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <tuple>

#include "druvo/util/KorbLib.h"

namespace druvo {
namespace {

TEST(UVlqISm, ResourcePathsAndPriceTypeNames) {
  const char* const kPaths[] = {
      // clang-format off
      "", "", "api/Sessions/OpenNewSession", "api/Sessions/CloseSession",
      "api/Sessions/SessionInformation", "api/Warehouses", "api/PaymentForms",
      "api/Products/Catalogs", "api/Products", "api/InventoryStates",
      "api/WarehouseDocuments/Filter", "api/WarehouseDocuments",
      "api/Contractors", "api/Departments", "api/PaymentRegistries",
      "api/WarehouseDocumentsIssue/New", "api/WarehouseDocumentsIssue/InBuffer",
      "api/WarehouseDocumentsIssue/MMPlus", "api/SalesIssue/New",
      "api/SalesIssue/InBuffer", "api/SalesIssue/WZ",
      "api/SalesIssue/NewCorrection", "api/Sales", "api/Contractors/Create",
      "api/InventoryStates/Changes", "api/Payments/IssueKP",
      "/api/Payments/Payment", "",
      // clang-format on
  };
  for (int value = -1; value <= 26; ++value)  // kPaths[0] is for -1
    EXPECT_EQ(GetNazwePodstrony(TVLQTypDanychSM(value)), kPaths[value + 1]);

  // Value, end of the key and letter of the default name ('-': none), at
  // the edges of both letter ranges and of the key's digit count.
  const std::tuple<int, const char*, char> cases[] = {
      // clang-format off
      {0, "", '-'}, {1, "_00001", 'A'}, {4, "_00004", 'D'}, {16, "_00005", 'E'},
      {20, "_00009", 'I'}, {21, "_00010", 'J'}, {31, "_00020", 'T'},
      // clang-format on
  };
  for (const auto& [value, key, letter] : cases) {
    const auto typ = static_cast<TVLQTypCenySpSM>(value);
    TMLgTools::Clear();
    EXPECT_EQ(GetNazweTypuCenySpSM(typ), letter == '-'
                                             ? "Niezdefiniowany"
                                             : "Cena " + AnsiString(1, letter));
    TMLgTools::SetString("Druvo_UVlqISm", AnsiString("GetNazwereturn") + key,
                         u"Cena hurtowa");
    EXPECT_EQ(GetNazweTypuCenySpSM(typ), "Cena hurtowa") << value;
  }
  for (int value : {-1, 5, 15, 32})
    EXPECT_EQ(GetNazweTypuCenySpSM(static_cast<TVLQTypCenySpSM>(value)), "");
  TMLgTools::Clear();
}

TEST(TVLQSMOtwacieSesji, ComparesAndExpiresToTheSecond) {
  const TDateTime at = EncodeDate(2024, 2, 29) + EncodeTime(23, 59, 59, 0);
  const TDateTime ms = EncodeTime(0, 0, 0, 1), sec = EncodeTime(0, 0, 1, 0);
  const std::tuple<TDateTime, TDateTime, int> comparisons[] = {
      // clang-format off
      {at, at + 999 * ms, 0}, {at + 999 * ms, at, 0}, {at + sec, at, 1},
      {at, at + sec, -1}, {at - sec, at, -1}, {at + sec, at + 999 * ms, 1},
      {0, 0, 0},
      {EncodeDate(2024, 2, 28), at, -1}, {EncodeDate(2025, 1, 1), at, 1},
      {-1.5, -1.25, 1},  // 12:00 and 06:00 of 29 Dec 1899
      // clang-format on
  };
  for (const auto& [a, b, result] : comparisons)
    EXPECT_EQ(TVLQSMOtwacieSesji::DateTimeCompare(a, b), result) << a;

  // Identifier, active, expiry and whether the session has expired.
  const std::tuple<AnsiString, bool, TDateTime, bool> sessions[] = {
      // clang-format off
      {"S1", true, at, true}, {"S1", true, at + 999 * ms, true},
      {"S1", false, at + sec, true}, {" \t\r\n", true, at + sec, true},
      {"S1", true, at + sec, false},
      // clang-format on
  };
  TVLQSMOtwacieSesji s;
  for (const auto& [id, active, expiry, expired] : sessions) {
    s.IdSesji = id;
    s.Aktywna = active;
    s.DataWygasniecia = expiry;
    EXPECT_EQ(s.CzySesjaWygasla(at + 400 * ms), expired) << id << " " << expiry;
  }
  s.DataWygasniecia = Now() + 1.0 / 24;  // against the clock
  EXPECT_FALSE(s.CzySesjaWygasla());
  s.DataWygasniecia = Now() - sec;
  EXPECT_TRUE(s.CzySesjaWygasla());
}

TEST(TVLQSMError, ListsOfAnySmRecordsAreDestroyedThroughTheRoot) {
  auto* d = new TVLQSMDepartment();
  d->Tekst2 = d->BladTekst1 = "a text long enough to live on the heap";
  TList lista;
  for (TVLQSMError* e : std::initializer_list<TVLQSMError*>{
           d, new TVLQSMOtwacieSesji(), new TVLQSMRejestrPlat(), nullptr,
           new TVLQSMAsortymenty(), new TVLQSMError()})
    lista.Add(e);
  d->Liczba = 3;
  d->Czysc();  // its own fields only
  EXPECT_EQ(std::tie(d->Liczba, d->Tekst2), std::tuple(-1, ""));
  EXPECT_FALSE(d->BladTekst1.empty());
  const auto* r = static_cast<TVLQSMRejestrPlat*>(lista.Items(2));
  EXPECT_EQ(std::tie(r->Liczba1, r->Liczba2, r->Liczba3),
            std::tuple(-1, -1, -1));
  TVLQSMError::WyczyscListe(&lista);
  EXPECT_EQ(lista.Count(), 0);
}

}  // namespace
}  // namespace druvo
