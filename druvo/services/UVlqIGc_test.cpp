#include "druvo/services/UVlqIGc.h"

#include <gtest/gtest.h>

#include <tuple>

#include "druvo/util/KorbLib.h"

namespace druvo {
namespace {

TEST(UVlqIGc, SubPagesUseTheirKeys) {
  const std::tuple<int, const char*, AnsiString> cases[] = {
      {1, "GetNazwereturn", "product-order-statuses"},
      {2, "GetNazwereturn_00001", "measurement-units"},
      {3, "GetNazwereturn_00002", "products/import"},
      {4, "GetNazwereturn_00003", "product-orders"},
      {5, "GetNazwereturn_00004", "payment-methods"},
  };
  for (const auto& [value, key, path] : cases) {
    const auto typ = static_cast<TVLQTypDanychGC>(value);
    TMLgTools::Clear();
    EXPECT_EQ(GetNazwePodstrony(typ), path);
    TMLgTools::SetString("Druvo_UVlqIGc", key, u"v2/ś");
    EXPECT_EQ(GetNazwePodstrony(typ), "v2/\x9C") << value;
  }
  TMLgTools::Clear();
  for (int other : {0, 6, -1})
    EXPECT_EQ(GetNazwePodstrony(static_cast<TVLQTypDanychGC>(other)), "");
}

// An import record's Czysc() keeps the error fields, the error's own
// Czysc() empties them; lists are destroyed as their own class.
TEST(TVLQGCError, ClearKeepsTheErrorOfAnImportRecord) {
  auto* status = new TVLQGCImportStatusowZamowien();
  auto* jednostka = new TVLQGCImportJednostekMiary();
  status->Tekst4 = status->BladTekst1 = "a text long enough for the heap";
  status->BladLiczba = jednostka->Liczba = 5;
  status->Czysc();
  jednostka->Czysc();
  EXPECT_EQ(std::tie(status->Tekst4, status->BladLiczba, jednostka->Liczba),
            std::tuple("", 5, -1));
  status->TVLQGCError::Czysc();
  EXPECT_EQ(std::tie(status->BladTekst1, status->BladLiczba),
            std::tuple("", 0));
  TList statusy, jednostki;
  statusy.Add(status);
  statusy.Add(nullptr);
  jednostki.Add(jednostka);
  TVLQGCImportStatusowZamowien::WyczyscListe(&statusy);
  TVLQGCImportJednostekMiary::WyczyscListe(&jednostki);
  EXPECT_EQ(statusy.Count() + jednostki.Count(), 0);
}

}  // namespace
}  // namespace druvo
