#include "druvo/contractors/UVlqIDK.h"

#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

namespace druvo {
namespace {

using K = TVLQDaneImpKontrahenta;

// Test texts are written in UTF-8 and handed to the library in CP1250.
AnsiString A(const std::string& utf8) { return Utf8ToAnsi(utf8); }
std::string U(const AnsiString& text) { return AnsiToUtf8(text); }

enum Mode { kPlain, kName, kAddress };

std::string Pass(const std::string& utf8, Mode mode) {
  return U(K::ZmianaWielkosciLiter(A(utf8), mode == kAddress, mode == kName));
}

TMacSetOfIntegers SetOf(std::initializer_list<int> values) {
  TMacSetOfIntegers set;
  for (int v : values) set.Add(v);
  return set;
}

TEST(TVLQDaneImpKontrahenta, LettersAndQuotationMarks) {
  for (const char* letter :
       {"A", "Z", "Ą", "Ć", "Ę", "Ł", "Ń", "Ó", "Ś",
        "Ź", "Ż", "a", "z", "ą", "ć", "ę", "ł", "ń",
        "ó", "ś", "ź", "ż", "Č", "ř", "0", "-", "\xC2\xA0"}) {
    const AnsiString c = A(letter);
    const std::string s = letter;
    const bool polish = s.size() == 1 ? std::isalpha(s[0]) != 0
                                      : s != "Č" && s != "ř" && s != "\xC2\xA0";
    bool duza = true;
    EXPECT_EQ(K::CzyZnakToLitera(c[0], duza), polish) << s;
    EXPECT_EQ(duza, polish && c != AnsiLowerCase(c)) << s;
  }
  for (const char* quote : {"\"", "'", "„", "”"}) {
    EXPECT_TRUE(K::CzyZnakToCudzyslow(A(quote)[0])) << quote;
  }
  for (const char* other : {"`", "“", "«", "A"}) {
    EXPECT_FALSE(K::CzyZnakToCudzyslow(A(other)[0])) << other;
  }
}

TEST(TVLQDaneImpKontrahenta, WordRules) {
  struct Case {
    const char* word;
    bool nazwa;
    const char* expected;
  };
  for (const Case& c : std::initializer_list<Case>{
           {"", true, ""},
           {" \t", false, " \t"},
           {"W", false, "w"},
           {"Ą", true, "ą"},
           {"SP.", true, "sp."},
           {"O.O.", true, "o.o."},
           {"S.C.", true, "S.C."},
           {"SP.", false, "Sp."},
           {"PHU", true, "PHU"},
           {"PHU", false, "Phu"},
           {"KOWALSKI", true, "Kowalski"},
           {"KOWALSKA-NOWAK", false, "Kowalska-nowak"},
           {"kowalski", false, "kowalski"},
           {"(ŻÓŁW)", false, "(Żółw)"},
           {"ČESKÝ", false, "ČEskÝ"},
       }) {
    EXPECT_EQ(U(K::GlownyTekst(A(c.word), c.nazwa)), c.expected) << c.word;
  }
}

TEST(TVLQDaneImpKontrahenta, StreetDesignationsAndTitles) {
  struct Case {
    const char* word;
    bool designation;  // else a title
    const char* expected;
    bool jest;
  };
  for (const Case& c : std::initializer_list<Case>{
           {"UL.", true, "ul.", true},
           {"Os.", true, "os.", true},
           {"PL.", true, "pl.", true},
           {"AL.", true, "al.", true},
           {"UL", true, "UL", false},
           {"UL,", true, "UL,", false},
           {"ULICA", true, "ulica", true},
           {"Osiedle", true, "osiedle", true},
           {"PLAC", true, "plac", true},
           {"ALEJE", true, "Aleje", true},
           {"ALEJA.", true, "ALEJA.", false},
           {"GEN.", false, "gen.", true},
           {"ŚW", false, "św", true},
           {"MARSZ.", false, "marsz.", true},
           {"RTM", false, "rtm", true},
           {"MJR.", false, "mjr.", true},
           {"KS", false, "ks", true},
           {"KSI.", false, "KSI.", false},
       }) {
    bool jest = !c.jest;
    const AnsiString out = c.designation
                               ? K::CzyOznaczenieAdresu(A(c.word), jest)
                               : K::CzySkrotWAdresie(A(c.word), jest);
    EXPECT_EQ(U(out), c.expected) << c.word;
    EXPECT_EQ(jest, c.jest) << c.word;
  }
  for (bool before : {false, true}) {
    bool jest = before;
    EXPECT_EQ(K::CzyOznaczenieAdresu(" ", jest), " ");
    EXPECT_EQ(K::CzySkrotWAdresie("", jest), "");
    EXPECT_EQ(jest, before);
  }
}

TEST(TVLQDaneImpKontrahenta, CasePassOnNamesAddressesAndPlainText) {
  struct Case {
    Mode mode;
    const char* text;
    const char* expected;
  };
  for (const Case& c : std::initializer_list<Case>{
           {kName, "PRZEDSIĘBIORSTWO HANDLOWE KOWALSKI SP. Z O.O.",
            "Przedsiębiorstwo Handlowe Kowalski sp. z o.o."},
           {kName, "FIRMA „ABC DEF” S.C.", "Firma „ABC DEF” S.C."},
           {kPlain, "PPHU \"MAX\"-BIS", "Pphu \"MAX\"-Bis"},
           {kName, "D'ARC I SYN", "D'ARC I SYN"},
           {kPlain, "AB\"\" CD", "AB\"\" CD"},
           {kAddress, "UL. GEN. JÓZEFA BEMA", "ul. gen. Józefa Bema"},
           {kAddress, "ALEJE JEROZOLIMSKIE", "Aleje Jerozolimskie"},
           {kAddress, "OSIEDLE KWIATOWE", "osiedle Kwiatowe"},
           {kAddress, "PL. ŚW. KATARZYNY 5", "pl. św. Katarzyny 5"},
           {kPlain, "UL. GEN. BEMA", "Ul. Gen. Bema"},
           {kPlain, "BIELSKO-BIAŁA", "Bielsko-Biała"},
           {kPlain, "NOWY\xC2\xA0SĄCZ`DOLNY", "Nowy\xC2\xA0Sącz`Dolny"},
           {kPlain, "  \t ", ""},
           {kPlain, "  POWIAT  ", "Powiat"},
           {kPlain, "A B", "A B"},
           {kPlain, "JAN I MARIA", "Jan i Maria"},
           {kPlain, "A B C", "A b C"},
           {kPlain, "A B C D KOT E", "A B C D Kot e"},
           {kPlain, "J. I K. NOWAK", "J. i K. Nowak"},
           {kPlain, "A & B", "A & B"},
           {kPlain, "A 1 B", "A 1 B"},
           {kPlain, "KRAKÓW-", "Kraków-"},
       }) {
    EXPECT_EQ(Pass(c.text, c.mode), c.expected) << c.text;
  }
}

TEST(TVLQDaneImpKontrahenta, InitialsFromCallersPositions) {
  struct Case {
    const char* text;
    std::initializer_list<int> positions;
    const char* expected;
  };
  for (const Case& c : std::initializer_list<Case>{
           {"a b c", {1, 3, 5}, "A b C"},
           {"a b c", {5, 1, 3}, "A b C"},
           {"x a b c d", {1, 3, 5, 7, 9}, "X A B C D"},
           {"x a", {3}, "x a"},
           {"a b", {1, 3, -1, 99, 2147483647, -2147483647 - 1}, "A B"},
           {"   ", {1}, "   "},
           {"ab", {}, "ab"},
       }) {
    AnsiString text = c.text;
    K::AnalizaInicjalow(text, SetOf(c.positions));
    EXPECT_EQ(text, c.expected) << c.text;
  }
}

TEST(TVLQDaneImpKontrahenta, AdjectiveEndingsAndSentenceCase) {
  EXPECT_TRUE(K::CzyWyrazPisanyZMalychLiter("warszawski zachodni"));
  EXPECT_TRUE(K::CzyWyrazPisanyZMalychLiter(A(" MIŃSKI  ")));
  EXPECT_TRUE(K::CzyWyrazPisanyZMalychLiter("grodzki wielicki"));
  EXPECT_FALSE(K::CzyWyrazPisanyZMalychLiter("Warszawa"));
  EXPECT_FALSE(K::CzyWyrazPisanyZMalychLiter("warszawski  zachodni"));
  EXPECT_FALSE(K::CzyWyrazPisanyZMalychLiter(" "));
  EXPECT_TRUE(K::CzyWyrazZakonczonyNa("POZNANSKI", SetOf({0})));
  EXPECT_FALSE(K::CzyWyrazZakonczonyNa("ki", SetOf({0, 1, 2, 3})));
  EXPECT_FALSE(K::CzyWyrazZakonczonyNa("dni", SetOf({0, 1, 2})));
  EXPECT_TRUE(K::CzyWyrazZakonczonyNa("Warszawa", SetOf({1, 7})));
  EXPECT_FALSE(K::CzyWyrazZakonczonyNa("ski", SetOf({})));
  EXPECT_EQ(K::ZmianaJakWZdaniu("POWIAT"), "Powiat");
  EXPECT_EQ(U(K::ZmianaJakWZdaniu(A("śRODA WLKP."))), "Środa wlkp.");
  EXPECT_EQ(K::ZmianaJakWZdaniu(""), "");
}

TEST(TVLQDaneImpKontrahenta, FieldTreatments) {
  K k;
  AnsiString* fields[] = {
      &k.Tekst1,  &k.Tekst2,  &k.Tekst3,  &k.Tekst4,  &k.Tekst5,  &k.Tekst6,
      &k.Tekst7,  &k.Tekst8,  &k.Tekst9,  &k.Tekst10, &k.Tekst11, &k.Tekst12,
      &k.Tekst13, &k.Tekst14, &k.Tekst15, &k.Tekst16, &k.Tekst17, &k.Tekst18,
      &k.Tekst19, &k.Tekst20, &k.Tekst21, &k.Tekst22, &k.Tekst23};
  for (AnsiString* f : fields) *f = A("łódź");
  k.UstawWszystkieDaneDuzymiLiterami();
  std::string upper;
  for (AnsiString* f : fields) upper += *f == A("ŁÓDŹ") ? 'U' : '-';
  EXPECT_EQ(upper, "----UUUU-UUUU--UUU-UUU-");
  for (AnsiString* f : fields) *f = "UL. NOWY SP. Z O.O. SKI";
  k.Tekst17 = "WARSZAWSKI ZACHODNI";
  k.UstawDanePierwszaDuzaLitera();
  EXPECT_EQ(k.Tekst5, "UL. Nowy sp. z o.o. SKI");
  EXPECT_EQ(k.Tekst6, "ul. Nowy Sp. z O.o. Ski");
  for (AnsiString* f : {&k.Tekst7, &k.Tekst8, &k.Tekst16, &k.Tekst22}) {
    EXPECT_EQ(*f, "Ul. Nowy Sp. z O.o. Ski");
  }
  for (AnsiString* f : {&k.Tekst12, &k.Tekst13, &k.Tekst18, &k.Tekst17}) {
    EXPECT_EQ(*f, AnsiLowerCase(*f));
  }
  EXPECT_EQ(k.Tekst1, "UL. NOWY SP. Z O.O. SKI");
  k.Tekst17 = A("NOWY DWÓR");
  k.UstawDanePierwszaDuzaLitera();
  EXPECT_EQ(U(k.Tekst17), "Nowy Dwór");
}

// A record with every member away from its default.
std::unique_ptr<K> FilledContractor() {
  auto k = std::make_unique<K>();
  k->Tekst1 = "t1", k->Tekst23 = "t23", k->Tekst26 = "t26";
  k->Mapa = {{1, 10}, {2, 20}};
  k->KodyPKD.push_back(std::make_unique<TVLQDaneKodPKD>());
  k->KodyPKD.back()->Tekst1 = "47.11.Z";
  k->KodyPKD.back()->Tekst2 = "Sprzedaz";
  k->KodyPKD.back()->Tekst3 = "opis";
  k->KodyPKD.back()->Znacznik = true;
  k->Klucz = 7, k->Liczba1 = 1, k->Liczba2 = 2, k->Liczba3 = 3;
  k->Znacznik5 = true, k->Wartosc7 = 7.5;
  k->Tekst27 = "t27", k->Tekst28 = "t28", k->Tekst29 = "t29";
  k->Tekst30 = "t30";
  k->Liczba4 = 4, k->Liczba5 = 5, k->Liczba6 = 6, k->Znacznik6 = false;
  return k;
}

TEST(TVLQDaneImpKontrahenta, CopiesAreDeepAndSkipTheKeptMembers) {
  auto source = FilledContractor();
  K assigned;
  assigned = *source;
  K constructed(*source);
  for (const K* copy : {&assigned, &constructed}) {
    EXPECT_EQ(copy->Tekst1, "t1");
    EXPECT_EQ(copy->Tekst26, "t26");
    EXPECT_EQ(copy->Mapa, source->Mapa);
    EXPECT_EQ(copy->Klucz, 7);
    EXPECT_TRUE(copy->Znacznik5);
    EXPECT_EQ(copy->Wartosc7, 7.5);
    EXPECT_EQ(copy->Liczba6, 6);
    EXPECT_FALSE(copy->Znacznik6);
    EXPECT_EQ(copy->Liczba4, 200);
    EXPECT_EQ(copy->Tekst27 + copy->Tekst28, "");
    ASSERT_EQ(copy->KodyPKD.size(), 1u);
    EXPECT_NE(copy->KodyPKD[0].get(), source->KodyPKD[0].get());
    EXPECT_EQ(copy->KodyPKD[0]->Tekst1, "47.11.Z");
    EXPECT_EQ(copy->KodyPKD[0]->Tekst3, "");
    EXPECT_TRUE(copy->KodyPKD[0]->Znacznik);
  }
  EXPECT_EQ(assigned.Tekst29 + assigned.Tekst30, "");
  EXPECT_EQ(constructed.Tekst29 + constructed.Tekst30, "t29t30");
  source->KodyPKD[0]->Tekst1 = "changed";
  source.reset();
  EXPECT_EQ(assigned.KodyPKD[0]->Tekst1, "47.11.Z");
  const K& alias = assigned;
  assigned = alias;
  EXPECT_EQ(assigned.KodyPKD.size(), 1u);

  auto cleared = FilledContractor();
  cleared->Czysc();
  EXPECT_TRUE(cleared->KodyPKD.empty());
  EXPECT_TRUE(cleared->Mapa.empty());
  EXPECT_EQ(cleared->Klucz, -1);
  EXPECT_EQ(cleared->Liczba2 + cleared->Liczba3 + cleared->Liczba6, -3);
  EXPECT_EQ(cleared->Liczba4, 200);
  EXPECT_TRUE(cleared->Znacznik6);
  EXPECT_EQ(cleared->Tekst1 + cleared->Tekst26, "");
  EXPECT_EQ(cleared->Tekst27 + cleared->Tekst30, "t27t30");
}

TEST(TVLQSymbolFormyPrawnej, EveryRowByEachCodeAndByNumber) {
  std::ifstream table(DRUVO_TESTDATA_DIR "/contractors/legal_forms.txt");
  std::string line;
  int rows = 0;
  while (std::getline(table, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    std::string number, codes, name;
    std::getline(fields, number, '|');
    std::getline(fields, codes, '|');
    std::getline(fields, name);
    const std::string primary = codes.substr(0, codes.find(','));
    std::istringstream codeList(codes);
    for (std::string code; std::getline(codeList, code, ',');) {
      for (const auto& form : {WartoscSymboluFormyPrawnej(code, 0),
                               WartoscSymboluFormyPrawnej(code, 999)}) {
        EXPECT_EQ(form.Numer, std::stoi(number)) << code;
        EXPECT_EQ(form.Kod, primary) << code;
        EXPECT_EQ(U(form.Nazwa), name) << code;
      }
    }
    const auto byNumber = WartoscSymboluFormyPrawnej("", std::stoi(number));
    EXPECT_EQ(byNumber.Kod + U(byNumber.Nazwa), primary + name) << number;
    ++rows;
  }
  EXPECT_EQ(rows, 104);
}

TEST(TVLQSymbolFormyPrawnej, FallbackAndPrecedence) {
  const std::string fallback = "0 999 Bez Szczególnej Formy Prawnej";
  const auto show = [](const TVLQSymbolFormyPrawnej& f) {
    return std::to_string(f.Numer) + " " + f.Kod + " " + U(f.Nazwa);
  };
  for (const auto& [code, number] :
       std::initializer_list<std::pair<const char*, int>>{{"999", 0},
                                                          {"12", 0},
                                                          {"", 0},
                                                          {"", 105},
                                                          {"", -1},
                                                          {" 117", 0},
                                                          {"117 ", 0}}) {
    EXPECT_EQ(show(WartoscSymboluFormyPrawnej(code, number)), fallback)
        << code << number;
  }
  EXPECT_EQ(show(WartoscSymboluFormyPrawnej("48", 0)), "45 148 Fundacje");
  EXPECT_EQ(show(WartoscSymboluFormyPrawnej("048", 0)),
            "8 048 Fundacja Rodzinna");
  EXPECT_EQ(WartoscSymboluFormyPrawnej("117", 3).Numer, 3);
  EXPECT_EQ(WartoscSymboluFormyPrawnej("25", 24).Numer, 1);
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
  ASSERT_EQ(search.MapaKontrahentowCiG.size(), 2u);
  EXPECT_EQ(search.MapaKontrahentowCiG.at(7)->Tekst1, "t1");
  EXPECT_EQ(search.MapaKontrahentowCiG.at(8)->Tekst1, "second");

  TVLQSzukaneDaneKontrahenta copy(search);
  copy = search;
  EXPECT_NE(copy.MapaKontrahentowCiG.at(7), search.MapaKontrahentowCiG.at(7));
  search.MapaKontrahentowCiG.at(7)->Tekst1 = "changed";
  EXPECT_EQ(copy.MapaKontrahentowCiG.at(7)->Tekst1, "t1");

  K kept;
  TVLQSzukaneDaneKontrahenta::MapaKontrahentow target{{7, &kept}};
  TVLQSzukaneDaneKontrahenta::KopiujMapeKartotekKontrahenta(
      &search.MapaKontrahentowCiG, &target);
  EXPECT_EQ(target.at(7)->Tekst1, "changed");  // `kept` was not deleted
  TVLQSzukaneDaneKontrahenta::CzyscMapeKartotekKontrahenta(&target);
  EXPECT_TRUE(target.empty());

  search.Tekst1 = "x", search.Liczba1 = 3, search.Liczba2 = 5;
  search.Komunikat.Znacznik2 = true;
  search.Kontrahent2.Klucz = 4;
  search.Czysc();
  EXPECT_TRUE(search.MapaKontrahentowCiG.empty());
  EXPECT_EQ(search.Liczba1, -1);
  EXPECT_EQ(search.Liczba2, 1);
  EXPECT_EQ(search.Tekst1, "");
  EXPECT_FALSE(search.Komunikat.Znacznik2);
  EXPECT_EQ(search.Kontrahent2.Klucz, -1);
}

TEST(TVLQDaneImpNumerRachunku, FindsByDigitsAndClearsOwnedList) {
  TList list;
  TVLQDaneImpNumerRachunku::WyczyscListe(&list);
  TVLQDaneImpNumerRachunku::WyczyscListe(nullptr);
  list.Add(nullptr);
  for (const char* number : {"PL 12-3456 7890", "brak", "1234567890", ""}) {
    auto account = std::make_unique<TVLQDaneImpNumerRachunku>();
    account->NumerRachunku = number;
    list.Add(account.release());
  }
  const auto find = [&list](const char* numer) {
    auto* found = TVLQDaneImpNumerRachunku::ZnajdzNumerRachunku(&list, numer);
    return found == nullptr ? std::string("(none)") : found->NumerRachunku;
  };
  EXPECT_EQ(find("1234567890"), "PL 12-3456 7890");
  EXPECT_EQ(find("12 3456-7890"), "PL 12-3456 7890");
  EXPECT_EQ(find(""), "brak");
  EXPECT_EQ(find("PL"), "brak");
  EXPECT_EQ(find("123456789"), "(none)");
  EXPECT_EQ(TVLQDaneImpNumerRachunku::ZnajdzNumerRachunku(nullptr, ""),
            nullptr);
  TVLQDaneImpNumerRachunku::WyczyscListe(&list);
  EXPECT_EQ(list.Count(), 0);
}

TEST(TVLQDaneSprawdzeniaPodatnika, ConstructedZeroClearedToDefaults) {
  TVLQDaneSprawdzeniaPodatnika check;
  EXPECT_EQ(check.Liczba1 + check.Liczba2, 0);
  EXPECT_FALSE(check.Znacznik3);
  check.Tekst7 = "x", check.Wartosc7 = 1, check.Znacznik4 = true;
  check.Czysc();
  EXPECT_EQ(check.Liczba1 + check.Liczba2, -2);
  EXPECT_TRUE(check.Znacznik3);
  EXPECT_FALSE(check.Znacznik4);
  EXPECT_EQ(check.Tekst7, "");
  EXPECT_EQ(check.Wartosc7, 0);
  TVLQKonfImpDaneKontr settings;
  settings.Liczba3 = 9, settings.LiczbaDluga2 = 9, settings.Liczba4 = 9;
  settings.Czysc();
  EXPECT_EQ(settings.Liczba3 + settings.LiczbaDluga2, 18);
  EXPECT_EQ(settings.Liczba4, 0);
}

}  // namespace
}  // namespace druvo
