#include "druvo/services/UVlqIShp.h"

#include <gtest/gtest.h>

#include <tuple>
#include <utility>

namespace druvo {
namespace {

TEST(UVlqIShp, PaymentsSubPageAndOnlinePaymentNames) {
  EXPECT_EQ(NazwaPodstronySerwisu(tisFormyPlatnosci), "webapi/rest/payments");
  for (int other : {0, 2})
    EXPECT_EQ(NazwaPodstronySerwisu(TVLQTypImportuShoper(other)), "");
  const std::pair<AnsiString, bool> cases[] = {
      // clang-format off
      {"Przelew tradycyjny", true}, {" \t\r\n\x01", false},
      {"Got\xF3wka", false}, {"Pay U", false}, {"DOTPAY", true},
      {"przelewy24.pl", true}, {"Raty 0%", true}, {"payu", true},
      {"PayPal Express", true}, {"SOFORT", true}, {"Braintree", true},
      {"mtransfer", true}, {"MultiTransfer", true}, {" tpay ", true},
      // clang-format on
  };
  for (const auto& [name, online] : cases)
    EXPECT_EQ(CzyFormaPlatnosciOnline(name), online) << name;
}

TEST(TVLQShoperFPlatnosci, FindsTheFirstByIdAndClearsTheList) {
  TList lista;
  for (int id : {4, 7, 7}) {
    lista.Add(new TVLQShoperFPlatnosci());
    static_cast<TVLQShoperFPlatnosci*>(lista.Last())->Id = id;
  }
  lista.Insert(0, nullptr);
  EXPECT_EQ(TVLQShoperFPlatnosci::ZnajdzFPlatnosciWgId(&lista, 7),
            lista.Items(2));
  EXPECT_EQ(TVLQShoperFPlatnosci::ZnajdzFPlatnosciWgId(&lista, -1), nullptr);
  EXPECT_EQ(TVLQShoperFPlatnosci::ZnajdzFPlatnosciWgId(nullptr, 7), nullptr);
  auto* f = static_cast<TVLQShoperFPlatnosci*>(lista.Items(2));
  f->Tekst1 = f->BladTekst1 = "x";
  f->Znacznik1 = false;
  f->Czysc();  // the error fields as well
  EXPECT_EQ(
      std::tie(f->Id, f->Tekst1, f->Znacznik1, f->BladTekst1, f->BladZnacznik),
      std::tuple(-1, "", true, "", false));
  TVLQShoperFPlatnosci::WyczyscListe(&lista);
  EXPECT_EQ(lista.Count(), 0);
}

TEST(TVLQMapaFPlatnosci, FindsMappingsAndOwnsThem) {
  TVLQMapaFormPlatnosci mapa{{10, new TVLQMapaFPlatnosci()},
                             {11, nullptr},
                             {12, new TVLQMapaFPlatnosci()}};
  mapa[10]->Liczba1 = 7;
  mapa[10]->Liczba2 = 3;
  mapa[10]->Znacznik = true;
  mapa[12]->Tekst = "a mapping text long enough for the heap";
  // Map, key, result, flag and second number.
  const std::tuple<TVLQMapaFormPlatnosci*, int, int, bool, int> cases[] = {
      {&mapa, 10, 7, true, 3},      {&mapa, 11, -1, false, -1},
      {&mapa, 12, -1, false, -1},   {&mapa, 99, -1, false, -1},
      {nullptr, 10, -1, false, -1},
  };
  for (const auto& [map, key, result, flag, second] : cases) {
    bool flaga = !flag;
    int drugi = 55;
    EXPECT_EQ(TVLQMapaFPlatnosci::ZnajdzMapowanieFormyPlatnosci(map, key, flaga,
                                                                drugi),
              result);
    EXPECT_TRUE(flaga == flag && drugi == second) << key;
  }
  mapa[12]->Czysc();
  EXPECT_EQ(mapa[12]->Tekst, "");
  TVLQMapaFPlatnosci::WyczyscMape(&mapa);
  TVLQMapaFPlatnosci::WyczyscMape(nullptr);
  EXPECT_TRUE(mapa.empty());
}

}  // namespace
}  // namespace druvo
