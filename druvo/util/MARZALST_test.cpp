#include "druvo/util/MARZALST.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/support/TestSupport.h"

namespace druvo {
namespace {

using test::Lines;
using W = std::vector<WideString>;

TEST(TLkMarzaProc, MarginFollowsThePriceDifference) {
  struct Case {
    double sprzedaz, zakup;
    int typ;
    double wynik;
  };
  const Case cases[] = {
      {125, 100, 0, 25},  {125, 100, 1, 20},  {80, 100, 0, -20},
      {80, 100, 1, -25},  {5, -10, 0, 150},   {-5, -10, 0, 50},
      {-20, -10, 1, -50}, {-20, 10, 1, -150}, {100, 100, 0, 0},
      {-10, 5, 0, -300},  {10, -5, 1, 150},
  };
  for (const Case& c : cases) {
    TLkMarzaProc marza;
    marza.Blad = true;
    marza.WyliczMarze(c.sprzedaz, c.zakup, static_cast<TLkTypMarzyProc>(c.typ));
    EXPECT_FALSE(marza.Blad);
    EXPECT_DOUBLE_EQ(marza.Wynik, c.wynik)
        << c.sprzedaz << " " << c.zakup << " " << c.typ;
  }
}

TEST(TLkMarzaProc, ZeroDivisorOrUnknownConventionKeepsTheResult) {
  TLkMarzaProc marza;
  marza.WyliczMarze(125, 100, mpOdZakupu);
  marza.WyliczMarze(-5, 0, mpOdZakupu);
  EXPECT_TRUE(marza.Blad);
  EXPECT_DOUBLE_EQ(marza.Wynik, 25);  // not even negated to the new sign
  marza.WyliczMarze(0, 50, mpOdSprzedazy);
  EXPECT_TRUE(marza.Blad);
  EXPECT_DOUBLE_EQ(marza.Wynik, 25);
  marza.WyliczMarze(0, 50, static_cast<TLkTypMarzyProc>(2));
  EXPECT_FALSE(marza.Blad);
  EXPECT_DOUBLE_EQ(marza.Wynik, 25);
  marza.WyliczMarze(0, 50, mpOdZakupu);
  EXPECT_DOUBLE_EQ(marza.Wynik, -100);
}

TEST(TLkStringList, NamesAsTextTakesBlankNamedLinesWhole) {
  TLkStringList list;
  EXPECT_EQ(list.NamesAsText(), "");
  for (const char16_t* line : {u"a=1", u"b", u" =2", u"", u"=3", u"x y=z=w",
                               u"\u0142\u00f3d\u017a=4"}) {
    list.Lista->Add(line);
  }
  EXPECT_EQ(list.NamesAsText(),
            "a\r\nb\r\n =2\r\n\r\n=3\r\nx y\r\n\xB3\xF3"
            "d\x9F\r\n");
}

TEST(TLkStringList, AssignCopiesLinesAndAppendKeepsOrder) {
  int object = 0;
  TLkStringList source;
  source.Lista->AddObject(u"k=v", &object);
  source.Lista->Add(u"b");
  TLkStringList target;
  target.Lista->Add(u"old");
  target = source;
  EXPECT_EQ(Lines(*target.Lista), (W{u"k=v", u"b"}));
  EXPECT_EQ(target.Lista->Objects(0), nullptr);
  target += source;
  EXPECT_EQ(Lines(*target.Lista), (W{u"k=v", u"b", u"k=v", u"b"}));
  const TLkStringList& self = target;
  target = self;
  EXPECT_EQ(target.Lista->Count(), 4);
  target += self;
  EXPECT_EQ(target.Lista->Count(), 8);
  TLkStringList copy(source);
  source.Lista->Clear();
  EXPECT_EQ(Lines(*copy.Lista), (W{u"k=v", u"b"}));
  EXPECT_NE(copy.Lista, source.Lista);
}

}  // namespace
}  // namespace druvo
