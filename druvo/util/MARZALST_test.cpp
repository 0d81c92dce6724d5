#include "druvo/util/MARZALST.h"

#include <gtest/gtest.h>

namespace druvo {
namespace {

TEST(TLkMarzaProc, MarginFollowsThePriceDifference) {
  // Selling, purchase, convention, result (7 before), error.
  const std::tuple<double, double, int, double, bool> cases[] = {
      {125, 100, 0, 25, false}, {125, 100, 1, 20, false},
      {80, 100, 0, -20, false}, {80, 100, 1, -25, false},
      {5, -10, 0, 150, false},  {-20, -10, 1, -50, false},
      {-10, 5, 0, -300, false}, {-5, 0, 0, 7, true},  // kept, not negated
      {0, 50, 1, 7, true},      {0, 50, 2, 7, false}};
  for (const auto& [sprzedaz, zakup, typ, wynik, blad] : cases) {
    TLkMarzaProc marza;
    marza.Wynik = 7;
    marza.Blad = !blad;
    marza.WyliczMarze(sprzedaz, zakup, static_cast<TLkTypMarzyProc>(typ));
    EXPECT_EQ(marza.Blad, blad);
    EXPECT_DOUBLE_EQ(marza.Wynik, wynik) << sprzedaz << " " << zakup << typ;
  }
}

TEST(TLkStringList, CopiesLinesAndListsNames) {
  int object = 0;
  TLkStringList source, target;
  EXPECT_EQ(source.NamesAsText(), "");
  source.Lista->AddObject(u"a=1", &object);
  for (auto line : {u"b", u" =2", u"", u"x y=z=w", u"\u0142\u00f3d=4"})
    source.Lista->Add(line);
  EXPECT_EQ(source.NamesAsText(),
            "a\r\nb\r\n =2\r\n\r\nx y\r\n\xB3\xF3"
            "d\r\n");
  target.Lista->Add(u"old");
  target = source;                                     // replaces "old"
  EXPECT_EQ(target.Lista->Objects(0), nullptr);        // objects are not copied
  target = static_cast<const TLkStringList&>(target);  // keeps its lines
  target += static_cast<const TLkStringList&>(target);  // doubles
  TLkStringList copy(target);
  target.Lista->Clear();
  EXPECT_EQ(copy.Lista->Text(), source.Lista->Text() + source.Lista->Text());
}

}  // namespace
}  // namespace druvo
