#include "druvo/services/UVlqISm.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <initializer_list>
#include <tuple>

#include "druvo/util/KorbLib.h"

namespace druvo {
namespace {

TEST(UVlqISm, ResourcePaths) {
  const char* const kPaths[] = {
      // clang-format off
      "", "api/Sessions/OpenNewSession", "api/Sessions/CloseSession",
      "api/Sessions/SessionInformation", "api/Warehouses", "api/PaymentForms",
      "api/Products/Catalogs", "api/Products", "api/InventoryStates",
      "api/WarehouseDocuments/Filter", "api/WarehouseDocuments", "api/Contractors",
      "api/Departments", "api/PaymentRegistries", "api/WarehouseDocumentsIssue/New",
      "api/WarehouseDocumentsIssue/InBuffer", "api/WarehouseDocumentsIssue/MMPlus",
      "api/SalesIssue/New", "api/SalesIssue/InBuffer", "api/SalesIssue/WZ",
      "api/SalesIssue/NewCorrection", "api/Sales", "api/Contractors/Create",
      "api/InventoryStates/Changes", "api/Payments/IssueKP", "/api/Payments/Payment", "",
      // clang-format on
  };
  for (int value = 0; value <= 26; ++value)
    EXPECT_EQ(GetNazwePodstrony(static_cast<TVLQTypDanychSM>(value)),
              kPaths[value])
        << value;
  EXPECT_EQ(GetNazwePodstrony(static_cast<TVLQTypDanychSM>(-1)), "");
}

TEST(UVlqISm, PriceTypeNamesUseTheirKeys) {
  // Value, key number (-1: the bare key) and letter of the default name.
  const std::tuple<int, int, char> cases[] = {
      // clang-format off
      {0, -1, '?'}, {1, 1, 'A'}, {2, 2, 'B'}, {3, 3, 'C'}, {4, 4, 'D'}, {16, 5, 'E'},
      {17, 6, 'F'}, {18, 7, 'G'}, {19, 8, 'H'}, {20, 9, 'I'}, {21, 10, 'J'}, {22, 11, 'K'},
      {23, 12, 'L'}, {24, 13, 'M'}, {25, 14, 'N'}, {26, 15, 'O'}, {27, 16, 'P'},
      {28, 17, 'Q'}, {29, 18, 'R'}, {30, 19, 'S'}, {31, 20, 'T'},
      // clang-format on
  };
  for (const auto& [value, number, letter] : cases) {
    const auto typ = static_cast<TVLQTypCenySpSM>(value);
    char key[32] = "GetNazwereturn";
    if (number > 0)
      std::snprintf(key, sizeof key, "GetNazwereturn_%05d", number);
    TMLgTools::Clear();
    EXPECT_EQ(GetNazweTypuCenySpSM(typ),
              number < 0 ? "Niezdefiniowany" : "Cena " + AnsiString(1, letter));
    TMLgTools::SetString("Druvo_UVlqISm", key, u"Cena hurtowa");
    EXPECT_EQ(GetNazweTypuCenySpSM(typ), "Cena hurtowa") << value;
  }
  for (int value : {-1, 5, 10, 15, 32, 100})
    EXPECT_EQ(GetNazweTypuCenySpSM(static_cast<TVLQTypCenySpSM>(value)), "");
  TMLgTools::Clear();
}

TEST(TVLQSMOtwacieSesji, ComparesAndExpiresToTheSecond) {
  const TDateTime at = EncodeDate(2024, 2, 29) + EncodeTime(23, 59, 59, 0);
  const TDateTime ms = EncodeTime(0, 0, 0, 1), sec = EncodeTime(0, 0, 1, 0);
  const std::tuple<TDateTime, TDateTime, int> comparisons[] = {
      // clang-format off
      {at, at + 999 * ms, 0}, {at + 999 * ms, at, 0}, {at + sec, at, 1}, {at, at + sec, -1},
      {at + sec, at + 999 * ms, 1}, {EncodeDate(2024, 2, 28), at, -1}, {0, 0, 0},
      {-1.5, -1.25, 1},  // 12:00 and 06:00 of 29 Dec 1899
      // clang-format on
  };
  for (const auto& [a, b, result] : comparisons)
    EXPECT_EQ(TVLQSMOtwacieSesji::DateTimeCompare(a, b), result) << a;

  const TDateTime now = at + 400 * ms;
  // Identifier, active, expiry and whether the session has expired.
  const std::tuple<AnsiString, bool, TDateTime, bool> sessions[] = {
      // clang-format off
      {"S1", true, at, true}, {"S1", true, at + 999 * ms, true}, {"S1", true, at + sec, false},
      {"S1", true, at - sec, true}, {"S1", false, at + sec, true},
      {" \t\r\n", true, at + sec, true}, {"", true, at + 365, true},
      // clang-format on
  };
  TVLQSMOtwacieSesji s;
  for (const auto& [id, active, expiry, expired] : sessions) {
    s.IdSesji = id;
    s.Aktywna = active;
    s.DataWygasniecia = expiry;
    EXPECT_EQ(s.CzySesjaWygasla(now), expired) << id << " " << expiry;
  }
  s.IdSesji = "S2";
  s.Aktywna = true;
  s.DataWygasniecia = Now() + 1.0 / 24;
  EXPECT_FALSE(s.CzySesjaWygasla());
  s.DataWygasniecia = Now() - sec;
  EXPECT_TRUE(s.CzySesjaWygasla());
}

TEST(TVLQSMError, ListsOfAnySmRecordsAreDestroyedThroughTheRoot) {
  const AnsiString heap = "a text long enough to live on the heap";
  auto* d = new TVLQSMDepartment();
  d->Tekst2 = d->BladTekst1 = heap;
  auto* s = new TVLQSMOtwacieSesji();
  s->IdSesji = heap;
  auto* r = new TVLQSMRejestrPlat();
  r->Tekst2 = heap;
  auto* a = new TVLQSMAsortymenty();
  a->Tekst = heap;
  TList lista;
  for (TVLQSMError* e : std::initializer_list<TVLQSMError*>{d, s, r, a, nullptr,
                                                            new TVLQSMError()})
    lista.Add(e);
  d->Czysc();  // its own fields only
  EXPECT_TRUE(d->BladTekst1 == heap && d->Tekst2.empty());
  TVLQSMError::WyczyscListe(&lista);
  TVLQSMError::WyczyscListe(nullptr);
  EXPECT_EQ(lista.Count(), 0);
}

}  // namespace
}  // namespace druvo
