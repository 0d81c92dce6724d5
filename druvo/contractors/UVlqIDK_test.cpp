#include "druvo/contractors/UVlqIDK.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <span>
#include <string>
#include <tuple>

namespace druvo {
namespace {

using K = TVLQDaneImpKontrahenta;

// Test texts are written in UTF-8 and handed to the library in CP1250.
AnsiString A(const std::string& utf8) { return Utf8ToAnsi(utf8); }
std::string U(const AnsiString& text) { return AnsiToUtf8(text); }

TMacSetOfIntegers SetOf(std::initializer_list<int> values) {
  TMacSetOfIntegers set;
  for (int v : values) set.Add(v);
  return set;
}

// Each row: word, rule (n: GlownyTekst with nazwa, g: without, d: street
// designation, t: title), result, and for d and t the flag set ("1"/"0").
TEST(TVLQDaneImpKontrahenta, WordRules) {
  // clang-format off
  const char* cases[][4] = {
      {"", "n", "", ""}, {" \t", "g", " \t", ""}, {"W", "g", "w", ""},
      {"Ą", "n", "ą", ""}, {"SP.", "n", "sp.", ""}, {"O.O.", "n", "o.o.", ""},
      {"S.C.", "n", "S.C.", ""}, {"SP.", "g", "Sp.", ""}, {"PHU", "n", "PHU", ""},
      {"PHU", "g", "Phu", ""}, {"KOWALSKI", "n", "Kowalski", ""},
      {"KOWALSKA-NOWAK", "g", "Kowalska-nowak", ""}, {"kowalski", "g", "kowalski", ""},
      {"(ŻÓŁW)", "g", "(Żółw)", ""}, {"ČESKÝ", "g", "ČEskÝ", ""},
      {"UL.", "d", "ul.", "1"}, {"Os.", "d", "os.", "1"}, {"PL.", "d", "pl.", "1"},
      {"UL", "d", "UL", "0"}, {"UL,", "d", "UL,", "0"}, {"ULICA", "d", "ulica", "1"},
      {"Osiedle", "d", "osiedle", "1"}, {"PLAC", "d", "plac", "1"},
      {"ALEJE", "d", "Aleje", "1"}, {"ALEJA.", "d", "ALEJA.", "0"},
      {"GEN.", "t", "gen.", "1"}, {"ŚW", "t", "św", "1"}, {"MARSZ.", "t", "marsz.", "1"},
      {"RTM", "t", "rtm", "1"}, {"KS", "t", "ks", "1"}, {"KSI.", "t", "KSI.", "0"}};
  // clang-format on
  for (const auto& [word, rule, expected, flag] : cases) {
    const std::string r = rule;
    bool jest = std::string(flag) != "1";
    const AnsiString out = r == "d"   ? K::CzyOznaczenieAdresu(A(word), jest)
                           : r == "t" ? K::CzySkrotWAdresie(A(word), jest)
                                      : K::GlownyTekst(A(word), r == "n");
    EXPECT_EQ(U(out), expected) << word;
    if (*flag != 0) {
      EXPECT_EQ(jest, std::string(flag) == "1") << word;
    }
  }
  bool jest = true;  // a blank word leaves the flag alone
  EXPECT_EQ(K::CzyOznaczenieAdresu(" ", jest) + K::CzySkrotWAdresie("", jest),
            " ");
  EXPECT_TRUE(jest);
}

// Each row: mode (n: name, a: address, p: plain), text, result.
TEST(TVLQDaneImpKontrahenta, CasePassOnNamesAddressesAndPlainText) {
  // clang-format off
  const char* cases[][3] = {
      {"n", "PRZEDSIĘBIORSTWO HANDLOWE KOWALSKI SP. Z O.O.",
       "Przedsiębiorstwo Handlowe Kowalski sp. z o.o."},
      {"n", "FIRMA „ABC DEF” S.C.", "Firma „ABC DEF” S.C."},
      {"p", "PPHU \"MAX\"-BIS", "Pphu \"MAX\"-Bis"},
      {"n", "D'ARC I SYN", "D'ARC I SYN"}, {"p", "AB\"\" CD", "AB\"\" CD"},
      {"a", "UL. GEN. JÓZEFA BEMA", "ul. gen. Józefa Bema"},
      {"a", "ALEJE JEROZOLIMSKIE", "Aleje Jerozolimskie"},
      {"a", "OSIEDLE KWIATOWE", "osiedle Kwiatowe"},
      {"a", "PL. ŚW. KATARZYNY 5", "pl. św. Katarzyny 5"},
      {"p", "UL. GEN. BEMA", "Ul. Gen. Bema"}, {"p", "BIELSKO-BIAŁA", "Bielsko-Biała"},
      {"p", "NOWY\xC2\xA0SĄCZ`DOLNY", "Nowy\xC2\xA0Sącz`Dolny"},
      {"p", "  \t ", ""}, {"p", "  POWIAT  ", "Powiat"},
      {"p", "A B", "A B"}, {"p", "JAN I MARIA", "Jan i Maria"},
      {"p", "A B C", "A b C"}, {"p", "A B C D KOT E", "A B C D Kot e"},
      {"p", "J. I K. NOWAK", "J. i K. Nowak"}, {"p", "A & B", "A & B"},
      {"p", "A 1 B", "A 1 B"}, {"p", "KRAKÓW-", "Kraków-"},
      {"p", "“ABC” DEF", "“ABC” DEF"}};  // only the closing mark quotes
  // clang-format on
  for (const auto& [mode, text, expected] : cases) {
    EXPECT_EQ(U(K::ZmianaWielkosciLiter(A(text), *mode == 'a', *mode == 'n')),
              expected)
        << text;
  }
}

TEST(TVLQDaneImpKontrahenta, InitialsFromCallersPositions) {
  struct Case {
    const char* text;
    std::initializer_list<int> positions;
    const char* expected;
  };
  // clang-format off
  for (const Case& c : std::initializer_list<Case>{
           {"a b c", {1, 3, 5}, "A b C"}, {"a b c", {5, 1, 3}, "A b C"},
           {"x a b c d", {1, 3, 5, 7, 9}, "X A B C D"}, {"x a", {3}, "x a"},
           {"a b", {1, 3, -1, 99, 2147483647, -2147483647 - 1}, "A B"},
           {"   ", {1}, "   "}, {"ab", {}, "ab"}}) {
    AnsiString text = c.text;
    K::AnalizaInicjalow(text, SetOf(c.positions));
    EXPECT_EQ(text, c.expected) << c.text;
  }
  // clang-format on
}

TEST(TVLQDaneImpKontrahenta, AdjectiveEndingsAndSentenceCase) {
  for (const char* text : {"warszawski zachodni", " MIŃSKI ", "grodzki dni"}) {
    EXPECT_TRUE(K::CzyWyrazPisanyZMalychLiter(A(text))) << text;
  }
  for (const char* text : {"Warszawa", "warszawski  zachodni", " ", "ki"}) {
    EXPECT_FALSE(K::CzyWyrazPisanyZMalychLiter(text)) << text;
  }
  EXPECT_FALSE(K::CzyWyrazZakonczonyNa("dni", SetOf({0, 1, 2})));
  EXPECT_TRUE(K::CzyWyrazZakonczonyNa("Warszawa", SetOf({1, 7})));  // 7: ""
  EXPECT_EQ(U(K::ZmianaJakWZdaniu(A("śRODA WLKP."))), "Środa wlkp.");
  EXPECT_EQ(K::ZmianaJakWZdaniu(""), "");
}

// Tekst1 .. Tekst26: both copies take them, Czysc() empties them.
constexpr AnsiString K::*kCopiedTexts[] = {
    &K::Tekst1,  &K::Tekst2,  &K::Tekst3,  &K::Tekst4,  &K::Tekst5,
    &K::Tekst6,  &K::Tekst7,  &K::Tekst8,  &K::Tekst9,  &K::Tekst10,
    &K::Tekst11, &K::Tekst12, &K::Tekst13, &K::Tekst14, &K::Tekst15,
    &K::Tekst16, &K::Tekst17, &K::Tekst18, &K::Tekst19, &K::Tekst20,
    &K::Tekst21, &K::Tekst22, &K::Tekst23, &K::Tekst24, &K::Tekst25,
    &K::Tekst26};

TEST(TVLQDaneImpKontrahenta, FieldTreatments) {
  K k;
  const auto fields = std::span(kCopiedTexts).first(23);  // Tekst1 .. Tekst23
  // Per field: N, A, P the name, address or plain pass, L lower, U upper.
  const auto which = [&] {
    std::string shown;
    for (auto f : fields) {
      shown += k.*f == "UL. Nowy sp. z o.o. SKI"   ? 'N'
               : k.*f == "ul. Nowy Sp. z O.o. Ski" ? 'A'
               : k.*f == "Ul. Nowy Sp. z O.o. Ski" ? 'P'
               : k.*f == AnsiLowerCase(k.*f)       ? 'L'
                                                   : 'U';
    }
    return shown;
  };
  for (auto f : fields) k.*f = A("łódź");
  k.UstawWszystkieDaneDuzymiLiterami();
  EXPECT_EQ(which(), "LLLLUUUULUUUULLUUULUUUL");
  for (auto f : fields) k.*f = "UL. NOWY SP. Z O.O. SKI";
  k.UstawDanePierwszaDuzaLitera();
  EXPECT_EQ(which(), "UUUUNAPPUUULLUUPPLUUUPU");
  k.Tekst17 = A("WARSZAWSKI ZACHODNI");
  k.UstawDanePierwszaDuzaLitera();
  EXPECT_EQ(k.Tekst17, "warszawski zachodni");
}

// A record with every member away from its default.
std::unique_ptr<K> FilledContractor() {
  auto k = std::make_unique<K>();
  for (std::size_t i = 0; i < std::size(kCopiedTexts); ++i) {
    k.get()->*kCopiedTexts[i] = "t" + std::to_string(i + 1);
  }
  k->Mapa = {{1, 10}, {2, 20}};
  k->KodyPKD.push_back(std::make_unique<TVLQDaneKodPKD>());
  *k->KodyPKD.back() = {"47.11.Z", "Sprzedaz", "opis", true};
  k->Klucz = 7, k->Liczba1 = 1, k->Liczba2 = 2, k->Liczba3 = 3;
  k->Znacznik5 = true, k->Znacznik6 = false, k->Wartosc7 = 7.5;
  k->Tekst27 = "t27", k->Tekst28 = "t28", k->Tekst29 = "t29";
  k->Liczba4 = 4, k->Liczba5 = 5, k->Liczba6 = 6, k->Tekst30 = "t30";
  return k;
}

// The members that the copy and clear rules treat differently, as one text.
std::string Summary(const K& k) {
  int texts = 0;  // of Tekst1 .. Tekst26, those holding what Filled put in
  for (std::size_t i = 0; i < std::size(kCopiedTexts); ++i) {
    texts += k.*kCopiedTexts[i] == "t" + std::to_string(i + 1);
  }
  std::string s = std::to_string(texts) + " texts map";
  for (int n : {int(k.Mapa.size()), k.Klucz, k.Liczba1, k.Liczba2, k.Liczba3,
                k.Liczba4, k.Liczba5, k.Liczba6, int{k.Znacznik5},
                int{k.Znacznik6}, int(k.Wartosc7 * 10)}) {
    s += " " + std::to_string(n);
  }
  s += " kept " + k.Tekst27 + "," + k.Tekst28 + "," + k.Tekst29 + "," +
       k.Tekst30 + " pkd";
  for (const auto& c : k.KodyPKD) {
    s += " " + c->Tekst1 + "/" + c->Tekst2 + "/" + c->Tekst3 +
         (c->Znacznik ? "/1" : "/0");
  }
  return s;
}

TEST(TVLQDaneImpKontrahenta, CopiesAreDeepAndSkipTheKeptMembers) {
  auto source = FilledContractor();
  K assigned;
  assigned = *source;
  K constructed(*source);
  const std::string copied = "26 texts map 2 7 1 2 3 200 5 6 1 0 75 kept ";
  EXPECT_EQ(Summary(assigned), copied + ",,, pkd 47.11.Z/Sprzedaz//1");
  EXPECT_EQ(Summary(constructed), copied + ",,t29,t30 pkd 47.11.Z/Sprzedaz//1");
  EXPECT_NE(assigned.KodyPKD[0].get(), source->KodyPKD[0].get());
  source.reset();  // the copies own their codes
  const K& alias = assigned;
  assigned = alias;
  EXPECT_EQ(Summary(assigned), copied + ",,, pkd 47.11.Z/Sprzedaz//1");

  auto cleared = FilledContractor();
  cleared->Czysc();
  EXPECT_EQ(Summary(*cleared),
            "0 texts map 0 -1 0 -1 -1 200 0 -1 0 1 0 kept t27,t28,t29,t30 pkd");
}

std::string Show(const TVLQSymbolFormyPrawnej& f) {
  return std::to_string(f.Numer) + " " + f.Kod + " " + U(f.Nazwa);
}

// Rows "number|codes, primary first|name" typed from the register's list.
TEST(TVLQSymbolFormyPrawnej, EveryRowByEachCodeAndByNumber) {
  std::ifstream table(DRUVO_TESTDATA_DIR "/contractors/legal_forms.txt");
  int rows = 0;
  for (std::string line; std::getline(table, line);) {
    if (line.empty() || line[0] == '#') continue;
    const std::size_t bar = line.find('|'), bar2 = line.find('|', bar + 1);
    const std::string codes = line.substr(bar + 1, bar2 - bar - 1) + ",";
    const std::string expected = line.substr(0, bar) + " " +
                                 codes.substr(0, codes.find(',')) + " " +
                                 line.substr(bar2 + 1);
    for (std::size_t at = 0; at < codes.size(); at = codes.find(',', at) + 1) {
      const std::string code = codes.substr(at, codes.find(',', at) - at);
      EXPECT_EQ(Show(WartoscSymboluFormyPrawnej(code, 0)), expected);
      EXPECT_EQ(Show(WartoscSymboluFormyPrawnej(code, 999)), expected);
    }
    EXPECT_EQ(Show(WartoscSymboluFormyPrawnej("", std::stoi(line))), expected);
    ++rows;
  }
  EXPECT_EQ(rows, 104);
}

TEST(TVLQSymbolFormyPrawnej, FallbackAndPrecedence) {
  const auto show = [](auto... args) {
    return Show(WartoscSymboluFormyPrawnej(args...));
  };
  const std::pair<const char*, int> unknown[] = {
      {"999", 0}, {"12", 0}, {"", 0}, {"", 105}, {"", -1}, {" 117", 0}};
  for (const auto& [code, number] : unknown) {
    EXPECT_EQ(show(code, number), "0 999 Bez Szczególnej Formy Prawnej")
        << code << number;
  }
  EXPECT_EQ(show("48", 0), "45 148 Fundacje");
  EXPECT_EQ(show("048", 0), "8 048 Fundacja Rodzinna");
  EXPECT_EQ(show("117", 3).substr(0, 4), "3 79");  // the earlier row wins
  EXPECT_EQ(show("25", 24).substr(0, 4), "1 25");
}

TEST(TVLQSzukaneDaneKontrahenta, CiGMapOwnsDeepCopiesAndFirstWins) {
  auto first = FilledContractor();
  auto second = FilledContractor();
  second->Tekst1 = "second";
  TVLQSzukaneDaneKontrahenta search;
  EXPECT_TRUE(search.DodajDaneKontrahentaDoMapyCiG(first.get()));
  EXPECT_FALSE(search.DodajDaneKontrahentaDoMapyCiG(second.get()));
  EXPECT_FALSE(search.DodajDaneKontrahentaDoMapyCiG(nullptr));
  second->Klucz = 8;
  EXPECT_TRUE(search.DodajDaneKontrahentaDoMapyCiG(second.get()));
  first.reset();
  auto& map = search.MapaKontrahentowCiG;
  EXPECT_EQ(map.at(7)->Tekst1 + map.at(8)->Tekst1, "t1second");

  TVLQSzukaneDaneKontrahenta copy(search);
  copy.MapaKontrahentowCiG.at(8)->Klucz = 9;  // entries the copy gives up
  copy.DodajDaneKontrahentaDoMapyCiG(copy.MapaKontrahentowCiG.at(8));
  copy = search;
  EXPECT_EQ(copy.MapaKontrahentowCiG.size(), 2u);
  map.at(7)->Tekst1 = "changed";
  EXPECT_EQ(copy.MapaKontrahentowCiG.at(7)->Tekst1, "t1");

  K kept;  // replaced in the target without being deleted
  TVLQSzukaneDaneKontrahenta::MapaKontrahentow target{{7, &kept}};
  TVLQSzukaneDaneKontrahenta::KopiujMapeKartotekKontrahenta(&map, &target);
  EXPECT_EQ(target.at(7)->Tekst1, "changed");
  TVLQSzukaneDaneKontrahenta::CzyscMapeKartotekKontrahenta(&target);
  EXPECT_TRUE(target.empty());

  search.Liczba1 = 3, search.Liczba2 = 5, search.Komunikat.Znacznik2 = true;
  search.Kontrahent2.Tekst1 = "x";
  search.Czysc();
  EXPECT_TRUE(map.empty());
  EXPECT_EQ(std::tie(search.Kontrahent2.Tekst1, search.Liczba1, search.Liczba2,
                     search.Komunikat.Znacznik2),
            std::tuple("", -1, 1, false));
}

TEST(TVLQDaneImpNumerRachunku, FindsByDigitsAndClearsOwnedList) {
  TList list;
  TVLQDaneImpNumerRachunku::WyczyscListe(&list);
  list.Add(nullptr);
  for (const char* number : {"PL 12-3456 7890", "brak", "1234567890"}) {
    list.Add(new TVLQDaneImpNumerRachunku{number, "", false, ""});
  }
  const auto find = [&list](const char* numer) {
    auto* found = TVLQDaneImpNumerRachunku::ZnajdzNumerRachunku(&list, numer);
    return found == nullptr ? std::string("(none)") : found->NumerRachunku;
  };
  EXPECT_EQ(find("12 3456-7890"), "PL 12-3456 7890");
  EXPECT_EQ(find("") + find("PL"), "brakbrak");
  EXPECT_EQ(find("123456789"), "(none)");
  TVLQDaneImpNumerRachunku::WyczyscListe(&list);
  EXPECT_EQ(list.Count(), 0);
}

TEST(TVLQDaneSprawdzeniaPodatnika, ConstructedZeroClearedToDefaults) {
  TVLQDaneSprawdzeniaPodatnika check;
  EXPECT_EQ(check.Liczba1 + check.Liczba2 + check.Znacznik3, 0);
  check.Tekst7 = "x", check.Znacznik4 = true;
  check.Czysc();
  EXPECT_EQ(check.Liczba1 + check.Liczba2 + check.Znacznik3, -1);
  EXPECT_EQ(check.Tekst7 + (check.Znacznik4 ? "1" : "0"), "0");

  // The import settings: Czysc() keeps the long numbers and Liczba3.
  TVLQKonfImpDaneKontr settings;
  settings.Tekst3 = "t", settings.Znacznik = true;
  settings.Liczba1 = settings.Liczba2 = settings.Liczba3 = settings.Liczba4 = 1;
  settings.LiczbaDluga1 = settings.LiczbaDluga3 = 1;
  settings.Czysc();
  EXPECT_EQ(std::tie(settings.Tekst3, settings.Znacznik, settings.Liczba1,
                     settings.Liczba2, settings.Liczba3, settings.Liczba4),
            std::tuple("", false, 0, 0, 1, 0));
  EXPECT_EQ(settings.LiczbaDluga1 + settings.LiczbaDluga3, 2);
}

}  // namespace
}  // namespace druvo
