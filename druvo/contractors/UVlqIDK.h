// Contractor data taken from outside registers: the imported contractor with
// its letter-case normalisation, the legal-form symbols, and the records that
// travel with an import (settings, PKD codes, taxpayer check, messages, bank
// accounts, search state).
//
// TVLQDaneImpKontrahenta holds one imported contractor. Its texts are filled
// and read by position (Tekst1 .. Tekst30); the class can rewrite some of them
// in capitals or in the case a Polish reader expects. The case rules are
// static members, usable without a record: ZmianaWielkosciLiter is the
// word-splitting pass, the others are the word tests it uses. Every rule only
// changes the case of letters, so a text keeps its length (after trimming).
// The record owns its PKD codes; copies are deep.
//
// WartoscSymboluFormyPrawnej maps a register's legal-form code, or a number in
// the library's fixed list of 104 forms, to the form's number, code and name.
//
// TVLQSzukaneDaneKontrahenta owns the contractors of its CiG map (and of any
// map given to the map helpers); TVLQDaneImpNumerRachunku's helpers own the
// accounts of the pointer lists they are given.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string_view>
#include <vector>

#include "druvo/platform/AnsiString.h"
#include "druvo/platform/Export.h"
#include "druvo/platform/TList.h"
#include "druvo/util/KorbLib.h"

namespace druvo {

// One activity code (PKD) of a contractor.
class DRUVO_API TVLQDaneKodPKD {
 public:
  AnsiString Tekst1;
  AnsiString Tekst2;
  AnsiString Tekst3;
  bool Znacznik = false;
};

// One imported contractor. Members in the register's order; Czysc() restores
// the defaults below except Tekst27 .. Tekst30, which it keeps. operator=
// copies everything but Tekst27 .. Tekst30 and Liczba4; PKD codes are copied
// as new objects that take Tekst1, Tekst2 and Znacznik (Tekst3 stays empty).
// The copy constructor also takes Tekst29 and Tekst30.
class DRUVO_API TVLQDaneImpKontrahenta {
 public:
  using KodyPKDList = std::vector<std::unique_ptr<TVLQDaneKodPKD>>;

  TVLQDaneImpKontrahenta();
  TVLQDaneImpKontrahenta(const TVLQDaneImpKontrahenta& other);
  TVLQDaneImpKontrahenta& operator=(const TVLQDaneImpKontrahenta& other);
  ~TVLQDaneImpKontrahenta();

  void Czysc();
  void CzyscKodyPKD();

  // Texts 5-8, 10-13, 16-18 and 20-22 in capitals; the others untouched.
  void UstawWszystkieDaneDuzymiLiterami();
  // Texts 5 (name rules), 6 (address rules), 7, 8, 16, 22 through the pass;
  // 12, 13, 18 in lower case; 17 in lower case when every word of it ends
  // like an adjective ("-ski", "-cki", "-zki", "-dni"), else through the pass.
  void UstawDanePierwszaDuzaLitera();

  // The trimmed text in the reader's case. `adres` recognises street
  // designations and titles, `nazwa` the company-name rules. Words end at a
  // blank, "-", "`" or byte 160 outside quotation marks; a word that ends
  // after a closing quotation mark is kept as written, and so is everything
  // after a quotation mark that never closes.
  static AnsiString ZmianaWielkosciLiter(std::string_view text, bool adres,
                                         bool nazwa);
  // The case rule for one ordinary word.
  static AnsiString GlownyTekst(std::string_view word, bool nazwa);
  // "ul.", "al.", "os.", "pl.", "ulica", "aleja", "osiedle", "plac" in lower
  // case and "aleje" as "Aleje", with `jest` true; otherwise the word as it
  // is with `jest` false. An empty or blank word leaves `jest` alone.
  static AnsiString CzyOznaczenieAdresu(std::string_view word, bool& jest);
  // Titles in street names ("św", "ks", "gen", "rtm", "mjr", "marsz", with or
  // without a point) in lower case; `jest` as above.
  static AnsiString CzySkrotWAdresie(std::string_view word, bool& jest);
  // Upper-cases the single letters at the 1-based positions `pozycje` that
  // form initials: with more than three of them, a letter with a neighbour
  // two places away; otherwise the first letter of the text and a letter
  // with exactly one such neighbour. Positions outside the text are skipped.
  static void AnalizaInicjalow(AnsiString& text,
                               const TMacSetOfIntegers& pozycje);
  // The text in lower case with its first character upper-cased.
  static AnsiString ZmianaJakWZdaniu(std::string_view text);
  // True when every blank-separated word ends in "ski", "cki", "zki" or "dni"
  // (any case); false for an empty or blank text.
  static bool CzyWyrazPisanyZMalychLiter(std::string_view text);
  // True when the word ends in a suffix whose number (0 "ski", 1 "cki",
  // 2 "zki", 3 "dni") is in the set; any other number is the empty suffix,
  // which every word ends in.
  static bool CzyWyrazZakonczonyNa(std::string_view word,
                                   const TMacSetOfIntegers& koncowki);
  // A-Z, a-z and the Polish letters; `duza` tells a capital.
  static bool CzyZnakToLitera(char c, bool& duza);
  // '"', '\'', and the CP1250 quotation marks 132 and 148.
  static bool CzyZnakToCudzyslow(char c);

  AnsiString Tekst1, Tekst2, Tekst3, Tekst4, Tekst5, Tekst6, Tekst7, Tekst8;
  AnsiString Tekst9, Tekst10, Tekst11, Tekst12, Tekst13, Tekst14, Tekst15;
  AnsiString Tekst16, Tekst17, Tekst18, Tekst19, Tekst20, Tekst21, Tekst22;
  AnsiString Tekst23;
  std::map<int, int> Mapa;
  int Liczba1 = 0;
  AnsiString Tekst24, Tekst25;
  KodyPKDList KodyPKD;
  int Klucz = -1;  // the key in the contractor maps
  AnsiString Tekst26;
  bool Znacznik1 = false, Znacznik2 = false, Znacznik3 = false;
  bool Znacznik4 = false, Znacznik5 = false;
  int Liczba2 = -1;
  int Liczba3 = -1;
  double Wartosc1 = 0, Wartosc2 = 0, Wartosc3 = 0, Wartosc4 = 0;
  double Wartosc5 = 0, Wartosc6 = 0, Wartosc7 = 0;
  // Kept by Czysc() and not copied by operator=.
  AnsiString Tekst27, Tekst28, Tekst29, Tekst30;
  int Liczba4 = 200;  // reset by Czysc(), not copied by operator=
  int Liczba5 = 0;
  int Liczba6 = -1;
  bool Znacznik6 = true;
};

// One legal form: its number in the list (0 for the fallback), its primary
// code and its name.
class DRUVO_API TVLQSymbolFormyPrawnej {
 public:
  TVLQSymbolFormyPrawnej(int numer, AnsiString kod, AnsiString nazwa);

  int Numer;
  AnsiString Kod;
  AnsiString Nazwa;
};

// The first form (in number order) one of whose codes equals `symbol` exactly
// or whose number is `numer`; else (0, "999", "Bez Szczególnej Formy
// Prawnej").
DRUVO_API TVLQSymbolFormyPrawnej
WartoscSymboluFormyPrawnej(std::string_view symbol, int numer);

// Settings of a contractor import. Czysc() resets the texts, Liczba1,
// Liczba2, Znacznik and Liczba4.
class DRUVO_API TVLQKonfImpDaneKontr {
 public:
  TVLQKonfImpDaneKontr();
  void Czysc();

  AnsiString Tekst1, Tekst2, Tekst3;
  std::int64_t LiczbaDluga1 = 0;
  int Liczba1 = 0;
  int Liczba2 = 0;
  int Liczba3 = 0;
  bool Znacznik = false;
  std::int64_t LiczbaDluga2 = 0;
  std::int64_t LiczbaDluga3 = 0;
  int Liczba4 = 0;
};

// The result of a taxpayer check. A new record holds zeros, empty texts and
// false flags; Czysc() sets Liczba1, Liczba2 to -1 and Znacznik3 to true.
class DRUVO_API TVLQDaneSprawdzeniaPodatnika {
 public:
  void Czysc();

  AnsiString Tekst1, Tekst2;
  int Liczba1 = 0, Liczba2 = 0;
  bool Znacznik1 = false, Znacznik2 = false;
  double Wartosc1 = 0, Wartosc2 = 0;
  AnsiString Tekst3;
  int Liczba3 = 0;
  AnsiString Tekst4;
  int Liczba4 = 0;
  AnsiString Tekst5, Tekst6;
  double Wartosc3 = 0, Wartosc4 = 0, Wartosc5 = 0, Wartosc6 = 0;
  bool Znacznik3 = false;
  bool Znacznik4 = false;
  AnsiString Tekst7;
  int Liczba5 = 0;
  double Wartosc7 = 0;
};

// A message about a contractor.
class DRUVO_API TVLQDaneKontrKomunikat {
 public:
  void Czysc();

  AnsiString Tekst1, Tekst2, Tekst3, Tekst4;
  bool Znacznik1 = false, Znacznik2 = false;
};

// One bank account. The static helpers work on pointer lists whose items are
// owned TVLQDaneImpNumerRachunku objects (null items are skipped).
class DRUVO_API TVLQDaneImpNumerRachunku {
 public:
  void Czysc();  // empties NumerRachunku and Tekst1, clears Znacznik

  // Deletes the accounts from the last to the first; the list ends empty.
  static void WyczyscListe(TList* lista);
  // The first account whose number has the same digits as `numer` (all
  // other characters ignored); null when none.
  static TVLQDaneImpNumerRachunku* ZnajdzNumerRachunku(TList* lista,
                                                       std::string_view numer);

  AnsiString NumerRachunku;
  AnsiString Tekst1;
  bool Znacznik = false;
  AnsiString Tekst2;
};

// The state of a contractor search. Owns the contractors of
// MapaKontrahentowCiG (keyed by their Klucz); copies are deep.
class DRUVO_API TVLQSzukaneDaneKontrahenta {
 public:
  using MapaKontrahentow = std::map<int, TVLQDaneImpKontrahenta*>;

  TVLQSzukaneDaneKontrahenta();
  TVLQSzukaneDaneKontrahenta(const TVLQSzukaneDaneKontrahenta& other);
  TVLQSzukaneDaneKontrahenta& operator=(
      const TVLQSzukaneDaneKontrahenta& other);
  ~TVLQSzukaneDaneKontrahenta();

  void Czysc();
  void CzyscMapeKontrahentowCiG();
  // Stores a deep copy of `k` under k->Klucz unless that key is taken (the
  // first contractor of a key wins). `k` stays the caller's. False when
  // nothing was stored.
  bool DodajDaneKontrahentaDoMapyCiG(const TVLQDaneImpKontrahenta* k);

  // Puts a deep copy of every contractor of `zrodlo` into `cel` under the
  // same key. A contractor already in `cel` under that key is replaced
  // without being deleted, so `cel` is emptied first by the caller.
  static void KopiujMapeKartotekKontrahenta(const MapaKontrahentow* zrodlo,
                                            MapaKontrahentow* cel);
  // Deletes the contractors of `m` and empties it.
  static void CzyscMapeKartotekKontrahenta(MapaKontrahentow* m);

  AnsiString Tekst1, Tekst2, Tekst3, Tekst4;
  int Liczba1 = -1;
  double Wartosc = 0;
  MapaKontrahentow MapaKontrahentowCiG;
  TVLQDaneImpKontrahenta Kontrahent1;
  TVLQDaneImpKontrahenta Kontrahent2;
  TVLQDaneKontrKomunikat Komunikat;
  AnsiString Tekst5;
  int Liczba2 = 1;
};

}  // namespace druvo
