// Lists of components (składniki) with roles and a display order, and of
// the named values (pozycje) they can be given.
//
// TLkSkladnikRec: one component or value. TLkSkladnikBuf: an owning buffer of
// them; keys 1 and -1 order by Kolejnosc (ascending, descending), any other
// key finds all records equal.
//
// TLkSkladniki owns both buffers. A component is selected when its role
// differs from the null role (NullWart). Lookups by number or name take the
// first match in buffer order, names compared byte for byte; a lookup that
// finds nothing answers the null role (role), 0 (default role, order), -1
// (value role, number by index) or the empty text. Copies are deep.
#pragma once

#include "druvo/containers/DBBUFBAS.h"
#include "druvo/platform/AnsiString.h"
#include "druvo/platform/Export.h"

namespace druvo {

class DRUVO_API TLkSkladnikRec : public DataRecBase {
 public:
  TLkSkladnikRec() = default;
  TLkSkladnikRec(const TLkSkladnikRec&) = default;
  TLkSkladnikRec& operator=(const TLkSkladnikRec&) = default;
  ~TLkSkladnikRec() override;

  void Czysc();

  int Numer = 0;
  AnsiString Nazwa;
  AnsiString Tytul;
  int Rola = 0;
  int RolaDomyslna = 0;
  int Kolejnosc = -1;
};

class DRUVO_API TLkSkladnikBuf : public DataBufBase {
 public:
  TLkSkladnikBuf();
  TLkSkladnikBuf(const TLkSkladnikBuf& zrodlo);
  TLkSkladnikBuf& operator=(const TLkSkladnikBuf& zrodlo);
  ~TLkSkladnikBuf() override;

  int Porownaj(int klucz, const DataRecBase* a, const DataRecBase* b) override;
  void Podstaw(DataRecBase* cel, const DataRecBase* zrodlo) override;
  DataRecBase* UtworzNowyRekord() override;

  // The buffer's own record i, or null when i is out of range.
  TLkSkladnikRec* Rekord(int i);
};

class DRUVO_API TLkSkladniki {
 public:
  TLkSkladniki();
  TLkSkladniki(const TLkSkladniki& zrodlo);
  TLkSkladniki& operator=(const TLkSkladniki& zrodlo);
  ~TLkSkladniki();

  void Czysc();

  // ---- Values ----
  // Adds a value named nazwa (tytul when nazwa is empty).
  void DodajPozycje(int rola, const AnsiString& tytul, const AnsiString& nazwa);
  int getIloscPozycji() const;
  AnsiString getTytulPozycji(int i);
  AnsiString getNazwaPozycji(int i);
  int getRolaPozycji(int i);
  // Role of the first value named nazwa; -1 when none.
  int getRolaPozycji(const AnsiString& nazwa);
  void clearListaWartosci();

  // ---- Components ----
  void DodajSkladnik(int numer, int rola, int domyslnaRola,
                     const AnsiString& nazwa, const AnsiString& tytul);
  int getIloscSkladnikow() const;
  int getIloscSkladnikowZRola(int rola);
  int getSkladnikByIndeks(int i);
  int getRolaSkladnika(int numer);
  int getRolaSkladnika(const AnsiString& nazwa);
  void setRolaSkladnika(int numer, int rola);
  void setRolaSkladnika(const AnsiString& nazwa, int rola);
  int getDomyslnaRolaSkladnika(int numer);
  int getDomyslnaRolaSkladnika(const AnsiString& nazwa);
  void PrzywrocDomyslneRole();
  AnsiString getNazwaSkladnika(int numer);
  AnsiString getTytulSkladnika(int numer);
  void setKolejnoscSkladnika(int numer, int kolejnosc);
  void setKolejnoscSkladnika(const AnsiString& nazwa, int kolejnosc);
  int getKolejnoscSkladnika(int numer);
  void SortujSkladnikiWgKolejnosci();
  // jest: i is a component index; zaznaczony: that component's role is not
  // 0; tytul: its title. All false / empty for a bad index.
  void getSkladn(bool& jest, bool& zaznaczony, AnsiString& tytul, int i);
  // Role 1 (zaznacz) or 0 for the component at index i.
  void markSkladn(bool zaznacz, int i);
  // For n = 0 .. count - 1 the title of the component numbered n (empty when
  // none), each followed by CR LF.
  AnsiString getTitlesAsText();
  // "wybranych: S z N" (translatable), S the selected components.
  AnsiString getOpis();

  const AnsiString& getPrefixNazwy() const { return PrefixNazwy; }
  void setPrefixNazwy(const AnsiString& prefix) { PrefixNazwy = prefix; }
  const AnsiString& getCaption() const { return Caption; }
  void setCaption(const AnsiString& caption) { Caption = caption; }
  int getNullWart() const { return NullWart; }
  void setNullWart(int nullWart) { NullWart = nullWart; }

  TLkSkladnikBuf Pozycje;    // the values: name, title and role are used
  TLkSkladnikBuf Skladniki;  // the components
  int NullWart = 0;          // the role meaning not selected
  AnsiString PrefixNazwy;
  AnsiString Caption;
  // Kept for callers and copied by assignment; not read here.
  int Liczba1 = 0;
  bool Znacznik1 = false;
  bool Znacznik2 = false;
  bool Znacznik3 = false;
  int Liczba2 = -1;

 private:
  TLkSkladnikRec* SkladnikNr(int numer);
  TLkSkladnikRec* SkladnikNazwa(const AnsiString& nazwa);
};

}  // namespace druvo
