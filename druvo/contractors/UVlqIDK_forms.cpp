// The fixed list of the legal forms (szczególne formy prawne) of the national
// business register.
#include <string_view>
#include <utility>
#include <vector>

#include "druvo/contractors/UVlqIDK.h"

namespace druvo {
namespace {

struct FormRow {
  int numer;
  std::string_view kod;        // the primary code
  std::string_view drugiKod;   // a second code, "" when the row has none
  std::string_view nazwaUtf8;  // the name as shown, in UTF-8
};

// Rows in ascending order of their number; a second code is the primary code
// without its leading digit where the register also uses that form.
// clang-format off
constexpr FormRow kForms[] = {
    {1, "25", "", "Przedsiębiorstwa Komunalne"},
    {2, "73", "", "Organizacje Pracodawców"},
    {3, "79", "", "Oddziały Przedsiębiorców Zagranicznych"},
    {4, "90", "", "Związki Grup Producentów Rolnych"},
    {5, "019", "19", "Spółki Cywilne prowadzące działalność na podstawie Umowy zawartej zgodnie z Kodeksem Cywilnym"},
    {6, "023", "23", "Spółki Przewidziane w przepisach innych ustaw niż Kodeks Spółek Handlowych i Kodeks Cywilny lub Formy Prawne, do których stosuje się przepisy o Spółkach"},
    {7, "044", "44", "Uczelnie"},
    {8, "048", "", "Fundacja Rodzinna"},
    {9, "049", "49", "Fundusze"},
    {10, "050", "50", "Kościół Katolicki"},
    {11, "051", "51", "Inne Kościoły i Związki Wyznaniowe"},
    {12, "053", "53", "Europejskie Ugrupowania Współpracy Terytorialnej"},
    {13, "055", "", "Stowarzyszenia Niewpisane do Krs"},
    {14, "060", "", "Organizacje Społeczne Oddzielnie Niewymienione niewpisane do Krs"},
    {15, "070", "70", "Partie Polityczne"},
    {16, "076", "76", "Samorządy Gospodarcze i Zawodowe niewpisane do Krs"},
    {17, "080", "80", "Przedstawicielstwa Zagraniczne"},
    {18, "085", "85", "Wspólnoty Mieszkaniowe"},
    {19, "099", "", "Osoby Fizyczne Prowadzące Działalność Gospodarczą"},
    {20, "113", "", "Proste Spółki Akcyjne"},
    {21, "114", "14", "Europejskie Zgrupowania Interesów Gospodarczych"},
    {22, "115", "15", "Spółki Partnerskie"},
    {23, "116", "16", "Spółki Akcyjne"},
    {24, "117", "17", "Spółki z Ograniczoną Odpowiedzialnością"},
    {25, "118", "18", "Spółki Jawne"},
    {26, "120", "20", "Spółki Komandytowe"},
    {27, "121", "21", "Spółki Komandytowo - Akcyjne"},
    {28, "122", "22", "Spółki Europejskie"},
    {29, "124", "24", "Przedsiębiorstwa Państwowe"},
    {30, "126", "26", "Towarzystwa Ubezpieczeń Wzajemnych"},
    {31, "132", "32", "Instytucje Gospodarki Budżetowej"},
    {32, "133", "", "Związki Zawodowe Rolników Indywidualnych"},
    {33, "134", "34", "Towarzystwa Reasekuracji Wzajemnej"},
    {34, "135", "35", "Główne Oddziały Zagranicznych Zakładów Reasekuracji"},
    {35, "136", "", "Główne Oddziały Zagranicznych Zakładów Ubezpieczeń"},
    {36, "137", "", "Ogólnokrajowe Zrzeszenia Międzybranżowe"},
    {37, "138", "", "Ogólnokrajowe Związki Międzybranżowe"},
    {38, "140", "40", "Spółdzielnie"},
    {39, "141", "", "Jednostki Badawczo-Rozwojowe"},
    {40, "142", "42", "Spółdzielnie Europejskie"},
    {41, "143", "", "Związki Rolników, Kółek i Organizacji Rolniczych"},
    {42, "145", "", "Związki Rolniczych Zrzeszeń Branżowych"},
    {43, "146", "46", "Samodzielne Publiczne Zakłady Opieki Zdrowotnej"},
    {44, "147", "", "Cechy Rzemieślnicze"},
    {45, "148", "48", "Fundacje"},
    {46, "152", "", "Izby Rzemieślnicze"},
    {47, "154", "", "Związek Rzemiosła Polskiego"},
    {48, "155", "55", "Stowarzyszenia"},
    {49, "156", "", "Związki Stowarzyszeń"},
    {50, "157", "", "Stowarzyszenia Kultury Fizycznej"},
    {51, "158", "", "Związki Sportowe"},
    {52, "159", "", "Polskie Związki Sportowe"},
    {53, "160", "60", "Inne Organizacje Społeczne lub Zawodowe"},
    {54, "161", "", "Kolumny Transportu Sanitarnego"},
    {55, "162", "", "Stowarzyszenia Kultury Fizycznej o Zasięgu Ogólnokrajowym"},
    {56, "163", "", "Zrzeszenia Handlu i Usług"},
    {57, "164", "", "Zrzeszenia Transportu"},
    {58, "165", "65", "Instytuty Badawcze i Instytuty Działające w Ramach Sieci Badawczej Łukasiewicz"},
    {59, "166", "", "Ogólnokrajowe Reprezentacje Zrzeszeń Handlu i Usługe"},
    {60, "167", "", "Ogólnokrajowe Reprezentacje Zrzeszeń Transportu"},
    {61, "168", "", "Inne Organizacje Podmiotów Gospodarczych"},
    {62, "169", "", "Izby Gospodarcze"},
    {63, "171", "", "Przedsiębiorstwa Zagraniczne"},
    {64, "172", "72", "Związki Zawodowe"},
    {65, "174", "", "Związki Pracodawców"},
    {66, "175", "", "Federacje/Konfederacje Związków Pracodawców"},
    {67, "177", "", "Kółka Rolnicze"},
    {68, "178", "", "Rolnicze Zrzeszenia Branżowe"},
    {69, "179", "", "Oddziały Zagranicznych Przedsiębiorców"},
    {70, "180", "", "Spółdzielcze Kasy Oszczędnościowo-Kredytowe"},
    {71, "181", "", "Stowarzyszenia Ogrodowe"},
    {72, "182", "", "Związki Stowarzyszeń Ogrodowych"},
    {73, "183", "", "Jednostki Terenowe Stowarzyszeń Posiadających Osobowość Prawną"},
    {74, "184", "", "Jednostki Organizacyjne Związków Zawodowych Posiadające Osobowość Prawną"},
    {75, "381", "81", "Przedszkola Publiczne"},
    {76, "382", "82", "Przedszkola Niepubliczne"},
    {77, "383", "83", "Publiczne Szkoły Podstawowe"},
    {78, "384", "84", "Publiczne Gimnazja"},
    {79, "385", "", "Publiczne Szkoły Ponadpodstawowe"},
    {80, "386", "86", "Publiczne Szkoły Ponadgimnazjalne"},
    {81, "387", "87", "Publiczne Szkoły Artystyczne"},
    {82, "388", "88", "Niepubliczne Szkoły Podstawowe"},
    {83, "389", "89", "Niepubliczne Gimnazja"},
    {84, "390", "", "Niepubliczne Szkoły Ponadpodstawowe"},
    {85, "391", "91", "Niepubliczne Szkoły Ponadgimnazjalne"},
    {86, "392", "92", "Niepubliczne Szkoły Artystyczne"},
    {87, "393", "93", "Publiczne Placówki Systemu Oświaty"},
    {88, "394", "94", "Niepubliczne Placówki Systemu Oświaty"},
    {89, "395", "95", "Inne Publiczne Jednostki Organizacyjne Systemu Oświaty"},
    {90, "396", "96", "Inne Niepubliczne Jednostki Organizacyjne Systemu Oświaty"},
    {91, "397", "97", "Publiczne Zespoły Szkół i Placówek Systemu Oświaty"},
    {92, "398", "98", "Niepubliczne Zespoły Szkół i Placówek Systemu Oświaty"},
    {93, "401", "01", "Organy Władzy, Administracji Rządowej"},
    {94, "402", "02", "Organy Kontroli Państwowej i Ochrony Prawa"},
    {95, "403", "03", "Wspólnoty Samorządowe"},
    {96, "406", "06", "Sądy i Trybunały"},
    {97, "409", "09", "Skarb Państwa"},
    {98, "428", "28", "Państwowe Jednostki Organizacyjne"},
    {99, "429", "29", "Gminne Samorządowe Jednostki Organizacyjne"},
    {100, "430", "30", "Powiatowe Samorządowe Jednostki Organizacyjne"},
    {101, "431", "31", "Wojewódzkie Samorządowe Jednostki Organizacyjne"},
    {102, "432", "", "Związki Metropolitalne"},
    {103, "433", "", "Jednostki Organizacyjne Związków Metropolitalnych"},
    {104, "439", "", "Inne Państwowe lub Samorządowe Osoby Prawne w rozumieniu Art. 9 pkt 14 Ustawy z dnia 27 Sierpnia 2009 r. o Finansach Publicznych"},
};
// clang-format on

struct Form {
  int numer;
  std::string_view kod;
  std::string_view drugiKod;
  AnsiString nazwa;  // CP1250
};

const std::vector<Form>& Forms() {
  static const std::vector<Form> forms = [] {
    std::vector<Form> result;
    for (const FormRow& row : kForms) {
      result.push_back(
          {row.numer, row.kod, row.drugiKod, Utf8ToAnsi(row.nazwaUtf8)});
    }
    return result;
  }();
  return forms;
}

}  // namespace

TVLQSymbolFormyPrawnej::TVLQSymbolFormyPrawnej(int numer, AnsiString kod,
                                               AnsiString nazwa)
    : Numer(numer), Kod(std::move(kod)), Nazwa(std::move(nazwa)) {}

TVLQSymbolFormyPrawnej WartoscSymboluFormyPrawnej(std::string_view symbol,
                                                  int numer) {
  for (const Form& form : Forms()) {
    if (symbol == form.kod || numer == form.numer ||
        (!form.drugiKod.empty() && symbol == form.drugiKod)) {
      return {form.numer, AnsiString(form.kod), form.nazwa};
    }
  }
  return {0, "999", Utf8ToAnsi("Bez Szczególnej Formy Prawnej")};
}

}  // namespace druvo
