#include "druvo/goods/UVlqWBTw.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <tuple>
#include <vector>

#include "druvo/util/KorbLib.h"
#include "tests/support/TestSupport.h"

namespace druvo {
namespace {

using A = std::vector<AnsiString>;
using P = std::pair<const char*, const char*>;
using Tools = TVLQWiseBaseTools;

A Elementy(TVLQWiseBaseCategory& k) {
  A items;
  for (int i = 0; i < k.GetPathCount(); ++i) items.push_back(k.GetPathItem(i));
  return items;
}

TEST(UVlqWBTw, CategoryPathSplitting) {
  // Path, separator (its first character counts) and the items.
  const std::tuple<const char*, const char*, A> przypadki[] = {
      // clang-format off
      {"Dom i ogr\363d/Meble", "/", {"Dom", "i", "ogr\363d", "Meble"}},
      {"A//B/", "/", {"A", "", "B", ""}}, {"", "/", {}}, {"", "", {}},
      {"  A /\t B  ", "/", {"A", "B"}}, {"A,B;C", ",;", {"A", "B;C"}},
      {"\"a/b c\"/\"x\"\"y\"", "/", {"a/b c", "x\"y"}},
      {"a\271b\271\271c", "\xB9", {"a", "b", "", "c"}},
      {"Dom/Ogr\363d i \"x\"", "", {"Dom/Ogr\363d i \"x\""}},
      // clang-format on
  };
  for (const auto& [sciezka, separator, elementy] : przypadki) {
    TVLQWiseBaseCategory k;
    k.Sciezka = sciezka;
    k.Separator = separator;
    EXPECT_EQ(Elementy(k), elementy) << sciezka << " / " << separator;
    EXPECT_EQ(k.GetPathItem(-1) + k.GetPathItem(k.GetPathCount()), "");
  }
  // Split once; ParsePath appends; Czysc() makes the next lookup split again.
  TVLQWiseBaseCategory k;
  k.Sciezka = "Dom/Ogr\363d/Meble";
  k.Separator = "/";
  EXPECT_EQ(k.GetPathItem(1), "Ogr\363d");
  k.Sciezka = "X";
  EXPECT_EQ(k.GetPathCount(), 3);
  k.ParsePath();
  EXPECT_EQ(Elementy(k), (A{"Dom", "Ogr\363d", "Meble", "X"}));
  k.Czysc();
  k.Sciezka = "a/b";
  EXPECT_EQ(Elementy(k), (A{"a/b"}));  // split again, now without Separator
}

TEST(UVlqWBTw, PhotoNameAndType) {
  const P nazwy[] = {
      // clang-format off
      {"img/2024/123.jpg", "123.jpg"}, {"plik.jpg", "plik.jpg"},
      {"C:\\x/y:z.png", "z.png"}, {"katalog/moje zdj.jpg", "zdj.jpg"},
      {"C:\\foto\\a.jpg", "C:\\foto\\a.jpg"},
      {"\xA3\363d\xBC/\xBF\xF3\xB3w", "\xBF\xF3\xB3w"},
      // clang-format on
  };
  for (const auto& [sciezka, nazwa] : nazwy) {
    EXPECT_EQ(TVLQWiseBasePhoto(1, "", sciezka).OdczytajNazwe(), nazwa);
  }
  const P typy[] = {{"image/png", "png"}, {"image/jpeg", "jpeg"},
                    {"", "png"},          {"jpeg", "png"},
                    {"image/", ""},       {" image / gif ", "gif"}};
  for (const auto& [typ, wynik] : typy) {
    EXPECT_EQ(TVLQWiseBasePhoto(1, typ, "").OdczytajTyp(), wynik) << typ;
  }
  TMLgTools::SetString("Druvo_UVlqWBTw", "TVLQWiseOdczytajtyp", u"gif");
  EXPECT_EQ(TVLQWiseBasePhoto(1, "jpeg", "").OdczytajTyp(), "gif");
  TMLgTools::Clear();
}

TEST(UVlqWBTw, HexOverAllBytes) {
  AnsiString wszystkie;
  for (unsigned b = 0; b < 256; ++b) {
    char hex[3];
    std::snprintf(hex, sizeof hex, "%02X", b);
    const AnsiString bajt(1, static_cast<char>(b));
    EXPECT_EQ(Tools::StringToHex(bajt), hex);
    EXPECT_EQ(Tools::HexToString(hex), bajt);
    EXPECT_EQ(Tools::HexToString(AnsiLowerCase(hex)), bajt);
    wszystkie += bajt;
  }
  EXPECT_EQ(Tools::HexToString(Tools::StringToHex(wszystkie)), wszystkie);
  // A pair not starting with a digit gives 0, one ending in a non-digit the
  // value of its first digit.
  const std::pair<AnsiString, AnsiString> pary[] = {
      // clang-format off
      {"", ""}, {"4162", "Ab"}, {"g4", {"\0", 1}}, {"\xB9\xB9", {"\0", 1}},
      {"4g", "\x04"},
      // clang-format on
  };
  for (const auto& [hex, tekst] : pary) {
    EXPECT_EQ(Tools::HexToString(hex), tekst) << hex;
  }
  for (const char* nieparzyste : {"414", "4"}) {
    EXPECT_EQ(test::MessageOf([&] { Tools::HexToString(nieparzyste); }),
              "Niepoprawny format HEX (nieparzysta liczba znak\xF3w)");
  }
}

TVLQWiseBasePackage* Opakowanie() {
  auto* p = new TVLQWiseBasePackage();
  p->AddPackageEAN("590");
  EXPECT_EQ(p->AddPackageParam(new TVLQWiseBasePackageParam("a", "", "", 3)),
            0);
  EXPECT_EQ(p->AddPackageParam(nullptr), -1);
  for (float v : {0.5f, 0.1f, -2.0f}) p->AddPackageParamMultipleValue(0, v);
  p->AddPackageParamMultipleValue(1, 1.0f);  // no such parameter
  return p;
}

TEST(UVlqWBTw, GoodsRecordOwnsAndCopiesDeeply) {
  TVLQWiseBaseDaneTowaru oryginal;
  EXPECT_EQ(oryginal.DodajParametr(new TVLQWiseBaseParam()), 0);
  EXPECT_EQ(oryginal.DodajParametr(new TVLQWiseBaseParam()), 1);
  EXPECT_EQ(oryginal.DodajParametr(nullptr), -1);
  EXPECT_EQ(oryginal.DodajPackage(Opakowanie()), 0);
  oryginal.DodajZdjecie(new TVLQWiseBasePhoto(1, "image/png", "a/b.png"));
  oryginal.DodajZdjecie(nullptr);
  EXPECT_EQ(
      test::Lines(oryginal.PobierzPackageByIdx(0)->Parametry.Item(0)->Wartosci),
      (std::vector<WideString>{u"0.5", u"0.100000001490116", u"-2"}));
  EXPECT_TRUE(!oryginal.PobierzPackageByIdx(1) &&
              !oryginal.PobierzParametrByIdx(-1));

  TVLQWiseBaseDaneTowaru kopia(oryginal);
  kopia.PobierzPackageByIdx(0)->Parametry.Item(0)->Tekst1 = "zmieniony";
  kopia.PobierzParametrByIdx(0)->AddMultipleValue("zielony");
  EXPECT_EQ(oryginal.PobierzPackageByIdx(0)->Parametry.Item(0)->Tekst1, "a");

  oryginal.ImpTekst2 = oryginal.Producent.Adres2.Tekst10 = "x";
  oryginal.Zdjecia.Item(0)->Czysc();
  EXPECT_EQ(oryginal.Zdjecia.Item(0)->Liczba1, 1);
  kopia.PobierzParametrByIdx(0)->Czysc();  // the values go too
  EXPECT_EQ(kopia.PobierzParametrByIdx(0)->Wartosci.Count(), 0);
  oryginal.Czysc();
  kopia.Czysc();
  EXPECT_EQ(oryginal.ImpTekst2 + oryginal.Producent.Adres2.Tekst10, "");
  // The static clearers destroy the items of any TList, a record's own too.
  TList opakowania;
  opakowania.Add(Opakowanie());
  opakowania.Add(nullptr);
  TVLQWiseBasePackage::CzyscVectorPackages(&opakowania);
  TVLQWiseBaseParam::CzyscVectorParam(nullptr);
  kopia.DodajZdjecie(new TVLQWiseBasePhoto(1, "t", "s"));
  TVLQWiseBasePhoto::CzyscVectorPhotos(&kopia.Zdjecia);
  EXPECT_EQ(oryginal.Opakowania.Count() + oryginal.Zdjecia.Count() +
                oryginal.Parametry.Count() + kopia.Parametry.Count() +
                opakowania.Count() + kopia.Zdjecia.Count(),
            0);
}

}  // namespace
}  // namespace druvo
