// Records of a goods import from an outside product base: access-key types,
// run parameters and summary, the goods record with its import switches, a
// product read from an outside base, and the login and session data.
//
// The records only hold values; the calling modules fill them and act on
// them. Each default constructor leaves a record as its Czysc() does.
// Records that own objects (TVLQZewnBazaDaneImpTow and its maps, the lists
// of the derived goods records) destroy them when cleared or destroyed and
// copy them deeply, so no object is ever shared between two records.
//
// The records hold their objects in TOwnedList (druvo/platform/TList.h) and
// TVLQMapaWlasna: a TList and an ordered map of pointers that delete what
// they point to. An object handed to one belongs to it; it must be in one
// list or map only.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "druvo/platform/AnsiString.h"
#include "druvo/platform/DateTime.h"
#include "druvo/platform/Export.h"
#include "druvo/platform/TList.h"

namespace druvo {

// ---- Owning map ----

// An ordered map whose values are owned T objects: Czysc() and the
// destructor delete them (null values are skipped), a copy clones each.
template <class K, class T>
class TVLQMapaWlasna : public std::map<K, T*> {
 public:
  TVLQMapaWlasna() = default;
  TVLQMapaWlasna(const TVLQMapaWlasna& other) : std::map<K, T*>() {
    Kopiuj(other);
  }
  TVLQMapaWlasna& operator=(const TVLQMapaWlasna& other) {
    if (this != &other) Kopiuj(other);
    return *this;
  }
  ~TVLQMapaWlasna() { Czysc(); }

  void Czysc() {
    for (auto& entry : *this) delete entry.second;
    this->clear();
  }

 private:
  void Kopiuj(const TVLQMapaWlasna& other) {
    std::vector<std::pair<K, std::unique_ptr<T>>> clones;
    clones.reserve(other.size());
    for (const auto& [key, value] : other) {
      clones.emplace_back(key, value ? std::make_unique<T>(*value) : nullptr);
    }
    Czysc();
    for (auto& [key, clone] : clones) {
      (*this)[key] = clone.get();
      clone.release();
    }
  }
};

// ---- Access keys ----

enum TVLQTypKluczaAutoryzacji : int {
  tkaBrak = 0,
  tkaGlowny = 1,
  tkaZKlucza = 2,
  tkaDemo = 3,
};

// "glowny", "zKlucza" or "demo"; "brak" for any other value.
DRUVO_API AnsiString NazwaTypuKluczaAutoryzacji(TVLQTypKluczaAutoryzacji typ);
// The key type named `nazwa`, letter case ignored; tkaBrak for anything else.
DRUVO_API TVLQTypKluczaAutoryzacji
NazwaTypuKluczaAutoryzacji2TypKluczaAutoryzacji(const AnsiString& nazwa);

// ---- Run parameters and summary ----

// Parameters of an update run: two dates, today's midnight after Czysc().
class DRUVO_API TVLQParamAktualizacjiTowZewnBaza {
 public:
  TVLQParamAktualizacjiTowZewnBaza();
  void Czysc();

  TDateTime Data1 = 0;
  TDateTime Data2 = 0;
};

// Counters of a run, all 0 after Czysc().
class DRUVO_API TVLQPodsumowanie {
 public:
  void Czysc();
  // Copies the six counters of `zrodlo`; a null source changes nothing.
  void Kopiuj(const TVLQPodsumowanie* zrodlo);

  int Liczba1 = 0;
  int Liczba2 = 0;
  int Liczba3 = 0;
  int Liczba4 = 0;
  int Liczba5 = 0;
  int Liczba6 = 0;
};

// ---- Goods records ----

// Import switches and data common to every goods record. Czysc() restores
// the defaults except ImpTekst2, which only the constructor sets.
class DRUVO_API TVLQDaneImpTowaruBase {
 public:
  TVLQDaneImpTowaruBase() = default;
  TVLQDaneImpTowaruBase(const TVLQDaneImpTowaruBase&) = default;
  TVLQDaneImpTowaruBase& operator=(const TVLQDaneImpTowaruBase&) = default;
  virtual ~TVLQDaneImpTowaruBase();
  void Czysc();

  bool ImpPrzelacznik1 = true;
  bool ImpPrzelacznik2 = true;
  bool ImpPrzelacznik3 = true;
  bool ImpPrzelacznik4 = true;
  bool ImpPrzelacznik5 = true;
  bool ImpPrzelacznik6 = true;
  bool ImpPrzelacznik7 = false;
  bool ImpPrzelacznik8 = false;
  bool ImpPrzelacznik9 = false;
  bool ImpPrzelacznik10 = false;
  int ImpLiczba1 = -1;
  int ImpLiczba2 = -1;
  int ImpLiczba3 = -1;
  int ImpLiczba4 = -1;
  int ImpLiczba5 = -1;
  AnsiString ImpTekst1;
  AnsiString ImpTekst2;
  bool ImpZnacznik1 = false;
  int ImpLiczba6 = 1;
  int ImpLiczba7 = 0;
  bool ImpZnacznik2 = true;
};

// A goods record to import. Assignment copies ImpTekst1, every own field,
// ImpZnacznik1 and ImpTekst2, and keeps the target's other import switches
// and numbers; the copy constructor copies everything.
class DRUVO_API TVLQDaneImpTowaru : public TVLQDaneImpTowaruBase {
 public:
  TVLQDaneImpTowaru() = default;
  TVLQDaneImpTowaru(const TVLQDaneImpTowaru&) = default;
  TVLQDaneImpTowaru& operator=(const TVLQDaneImpTowaru& other);
  ~TVLQDaneImpTowaru() override;
  // The base's Czysc(), then every own field to "", 0 or false.
  void Czysc();

  AnsiString Tekst1;
  AnsiString Tekst2;
  AnsiString Tekst3;
  float Wartosc1 = 0;
  bool Znacznik1 = false;
  float Wartosc2 = 0;
  float Wartosc3 = 0;
  AnsiString Tekst4;
  AnsiString Tekst5;
  AnsiString Tekst6;
  AnsiString Tekst7;
  AnsiString Tekst8;
  AnsiString Tekst9;
  AnsiString Tekst10;
  AnsiString Tekst11;
  AnsiString Tekst12;
  AnsiString Tekst13;
  AnsiString Tekst14;
  AnsiString Tekst15;
  AnsiString Tekst16;
  AnsiString Tekst17;
  bool Znacznik2 = false;
  bool Znacznik3 = false;
  bool Znacznik4 = false;
  bool Znacznik5 = false;
};

// ---- A product read from an outside base ----

// Import parameters of such a product.
class DRUVO_API TVLQParamImpZewnBazaTow {
 public:
  void Czysc();

  bool Znacznik = false;
  int Liczba = -1;
};

// One additional code of such a product.
class DRUVO_API TVLQKodyDodImpZewnBazaTow {
 public:
  void Czysc();

  AnsiString Tekst1;
  AnsiString Tekst2;
  int Liczba1 = -1;
  int Liczba2 = -1;
  AnsiString Tekst3;
};

// One category parameter of such a product.
class DRUVO_API TVLQParamKategoriiImpZewnBazaTow {
 public:
  void Czysc();

  AnsiString Tekst1;
  AnsiString Tekst2;
  AnsiString Tekst3;
};

// A product read from an outside base. It owns its import parameters
// (created on first use) and the objects in both maps; copies are deep.
class DRUVO_API TVLQZewnBazaDaneImpTow : public TVLQDaneImpTowaruBase {
 public:
  TVLQZewnBazaDaneImpTow();
  TVLQZewnBazaDaneImpTow(const TVLQZewnBazaDaneImpTow&) = default;
  TVLQZewnBazaDaneImpTow& operator=(const TVLQZewnBazaDaneImpTow&) = default;
  ~TVLQZewnBazaDaneImpTow() override;

  // The import parameters, created with their defaults when absent.
  TVLQParamImpZewnBazaTow* GetParametryImportu();
  // Destroy every object of the map and empty it.
  void CzyscKodyDodatkowe();
  void CzyscParamKategorii();
  // The base's Czysc(), the import parameters' Czysc() (creating them), both
  // maps emptied, then every own field to its default.
  void Czysc();

  AnsiString Tekst1;
  AnsiString Tekst2;
  AnsiString Tekst3;
  AnsiString Tekst4;
  double Wartosc1 = 0;
  double Wartosc2 = 0;
  std::int16_t Liczba1 = 0;
  double Wartosc3 = 0;
  double Wartosc4 = 0;
  int Liczba2 = 0;
  int Liczba3 = 0;
  int Liczba4 = 0;
  int Liczba5 = 0;
  int Liczba6 = 0;
  AnsiString Tekst5;
  int Liczba7 = 0;
  int Liczba8 = 0;
  AnsiString Tekst6;
  AnsiString Tekst7;
  AnsiString Tekst8;
  AnsiString Tekst9;
  AnsiString Tekst10;
  AnsiString Tekst11;
  AnsiString Tekst12;
  AnsiString Tekst13;
  AnsiString Tekst14;
  AnsiString Tekst15;
  AnsiString Tekst16;
  bool Znacznik = false;
  AnsiString Tekst17;
  int Liczba9 = 0;
  TVLQMapaWlasna<AnsiString, TVLQParamKategoriiImpZewnBazaTow>
      ParametryKategorii;
  TVLQMapaWlasna<AnsiString, TVLQKodyDodImpZewnBazaTow> KodyDodatkowe;

 private:
  std::optional<TVLQParamImpZewnBazaTow> parametryImportu_;
};

// ---- Login and session ----

// Session data of an outside base. Copying clears the target first, then
// copies the nine texts; assigning a record to itself changes nothing.
class DRUVO_API TVLQDaneSesji {
 public:
  TVLQDaneSesji() = default;
  TVLQDaneSesji(const TVLQDaneSesji& other);
  TVLQDaneSesji& operator=(const TVLQDaneSesji& other);
  void Czysc();

  AnsiString Tekst1;
  AnsiString Tekst2;
  AnsiString Tekst3;
  AnsiString Tekst4;
  AnsiString Tekst5;
  AnsiString Tekst6;
  AnsiString Tekst7;
  AnsiString Tekst8;
  AnsiString Tekst9;
};

// Login data of an outside base with the validity of its session token.
class DRUVO_API TVLQDaneLogowania {
 public:
  void Czysc();
  // Whether the token may still be used at `teraz`: never when the whole-day
  // part of WaznoscTokenu is 0, otherwise only while `teraz` is strictly
  // earlier than WaznoscTokenu to the second (milliseconds do not count).
  bool CzyTokenSesjiWazny(TDateTime teraz) const;

  TVLQDaneSesji DaneSesji;
  int Liczba = 1;
  AnsiString Tekst1;
  TDateTime WaznoscTokenu = 0;
  AnsiString Tekst2;
  AnsiString Tekst3;
  AnsiString Tekst4;
  AnsiString Tekst5;
  std::map<AnsiString, AnsiString> Mapa;
};

}  // namespace druvo
