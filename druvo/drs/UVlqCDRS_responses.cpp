// Answer objects of the DRS service and the factory that creates the answer
// of an endpoint.
#include "druvo/drs/UVlqCDRS.h"

namespace druvo {

// --- root, location, authorisation ---

TVLQCompDRSResponse::TVLQCompDRSResponse(int liczba, AnsiString tekst1,
                                         AnsiString tekst2)
    : Liczba(liczba), Tekst1(std::move(tekst1)), Tekst2(std::move(tekst2)) {}

TVLQCompDRSResponse::~TVLQCompDRSResponse() = default;

void TVLQCompDRSResponse::Czysc() {
  Liczba = 0;
  Tekst1.clear();
  Tekst2.clear();
}

TVLQCompDRSResponseAddress::TVLQCompDRSResponseAddress(
    AnsiString tekst1, AnsiString tekst2, AnsiString tekst3, AnsiString tekst4,
    AnsiString tekst5, AnsiString tekst6)
    : Tekst1(std::move(tekst1)),
      Tekst2(std::move(tekst2)),
      Tekst3(std::move(tekst3)),
      Tekst4(std::move(tekst4)),
      Tekst5(std::move(tekst5)),
      Tekst6(std::move(tekst6)) {}

void TVLQCompDRSResponseAddress::Czysc() { *this = {}; }

TVLQCompDRSResponseLocation::TVLQCompDRSResponseLocation(
    AnsiString tekst1, AnsiString tekst2,
    const TVLQCompDRSResponseAddress& adres)
    : TekstLokalizacji1(std::move(tekst1)),
      TekstLokalizacji2(std::move(tekst2)),
      Adres(adres) {}

TVLQCompDRSResponseLocation& TVLQCompDRSResponseLocation::operator=(
    const TVLQCompDRSResponseLocation& other) {
  TekstLokalizacji1 = other.TekstLokalizacji1;
  TekstLokalizacji2 = other.TekstLokalizacji2;
  Adres = other.Adres;
  return *this;
}

void TVLQCompDRSResponseLocation::Czysc() {
  TVLQCompDRSResponse::Czysc();
  TekstLokalizacji1.clear();
  TekstLokalizacji2.clear();
  Adres.Czysc();
}

TVLQCompDRSResponseAuthRegistration::TVLQCompDRSResponseAuthRegistration(
    AnsiString tekst1, AnsiString tekst2, AnsiString tekst3,
    const TVLQCompDRSResponseLocation& lokalizacja)
    : TekstRejestracji1(std::move(tekst1)),
      TekstRejestracji2(std::move(tekst2)),
      TekstRejestracji3(std::move(tekst3)) {
  Lokalizacja = lokalizacja;
}

void TVLQCompDRSResponseAuthRegistration::Czysc() {
  TVLQCompDRSResponse::Czysc();
  TekstRejestracji1.clear();
  TekstRejestracji2.clear();
  TekstRejestracji3.clear();
  Lokalizacja.Czysc();
}

TVLQCompDRSResponseAuthConfirm::TVLQCompDRSResponseAuthConfirm(
    AnsiString tekst1, AnsiString tekst2,
    const TVLQCompDRSResponseAddress& adres)
    : TVLQCompDRSResponseLocation(std::move(tekst1), std::move(tekst2), adres) {
}

TVLQCompDRSResponsePosDiagnostics::TVLQCompDRSResponsePosDiagnostics(
    bool znacznik)
    : Znacznik(znacznik) {}

// --- EAN list ---

TVLQCompDRSResponseEAN::TVLQCompDRSResponseEAN(AnsiString tekst1,
                                               AnsiString tekst2, int liczba1,
                                               AnsiString tekst3, int liczba2,
                                               int liczba3, AnsiString tekst4,
                                               AnsiString tekst5,
                                               TDateTime data1, bool znacznik1)
    : Tekst1(std::move(tekst1)),
      Tekst2(std::move(tekst2)),
      Liczba1(liczba1),
      Tekst3(std::move(tekst3)),
      Liczba2(liczba2),
      Liczba3(liczba3),
      Tekst4(std::move(tekst4)),
      Tekst5(std::move(tekst5)),
      Data1(data1),
      Znacznik1(znacznik1) {}

TVLQCompDRSResponseEAN::TVLQCompDRSResponseEAN(
    AnsiString tekst1, AnsiString tekst2, int liczba1, AnsiString tekst3,
    int liczba2, int liczba3, AnsiString tekst4, AnsiString tekst5,
    TDateTime data1, bool znacznik1, bool znacznik2, AnsiString tekst6,
    AnsiString tekst7, int liczba4, int liczba5, int liczba6, int liczba7,
    int liczba8, int liczba9, int liczba10, TDateTime data2, AnsiString tekst8,
    AnsiString tekst9, AnsiString tekst10, TDateTime data3, TDateTime data4)
    : TVLQCompDRSResponseEAN(std::move(tekst1), std::move(tekst2), liczba1,
                             std::move(tekst3), liczba2, liczba3,
                             std::move(tekst4), std::move(tekst5), data1,
                             znacznik1) {
  Znacznik2 = znacznik2;
  Tekst6 = std::move(tekst6);
  Tekst7 = std::move(tekst7);
  Liczba4 = liczba4;
  Liczba5 = liczba5;
  Liczba6 = liczba6;
  Liczba7 = liczba7;
  Liczba8 = liczba8;
  Liczba9 = liczba9;
  Liczba10 = liczba10;
  Data2 = data2;
  Tekst8 = std::move(tekst8);
  Tekst9 = std::move(tekst9);
  Tekst10 = std::move(tekst10);
  Data3 = data3;
  Data4 = data4;
}

void TVLQCompDRSResponseEAN::Czysc() { *this = {}; }

bool TVLQCompDRSResponseEANList::DodajEan(TVLQCompDRSResponseEAN* ean) {
  if (ean == nullptr) return false;
  eans_.Add(ean);
  return true;
}

// --- coupons ---

AnsiString TVLQCompDRSResponseCouponList::GetItems(int index) const {
  if (index < 0 || index >= coupons_.Count()) return {};
  return WideToAnsi(coupons_.Peek()->Strings(index));
}

bool TVLQCompDRSResponseCouponList::DodajCoupon(const AnsiString& coupon) {
  if (Trim(coupon).empty()) return false;
  coupons_.Get()->Add(AnsiToWide(coupon));
  return true;
}

void TVLQCompDRSResponseCouponList::Czysc() {
  TVLQCompDRSResponse::Czysc();
  coupons_.Clear();
}

TVLQCompDRSResponseCouponIssue::TVLQCompDRSResponseCouponIssue(
    AnsiString tekstKuponu, int liczbaKuponu)
    : TekstKuponu(std::move(tekstKuponu)), LiczbaKuponu(liczbaKuponu) {}

void TVLQCompDRSResponseCouponIssue::Czysc() {
  TVLQCompDRSResponse::Czysc();
  TekstKuponu.clear();
  LiczbaKuponu = 0;
}

void TVLQCompDRSResponseCouponIssue::KopiujDo(
    TVLQCompDRSResponseCouponIssue& target) const {
  target.Liczba = Liczba;
  target.Tekst1 = Tekst1;
  target.Tekst2 = Tekst2;
  target.TekstKuponu = TekstKuponu;
  target.LiczbaKuponu = LiczbaKuponu;
}

void TVLQCompDRSResponsePackage::KopiujDo(
    TVLQCompDRSResponsePackage& target) const {
  target.Liczba = Liczba;
  target.Tekst1 = Tekst1;
  target.Tekst2 = Tekst2;
}

TVLQCompDRSResponseCouponValue::TVLQCompDRSResponseCouponValue(
    AnsiString tekstKuponu, int liczbaKuponu)
    : TekstKuponu(std::move(tekstKuponu)), LiczbaKuponu(liczbaKuponu) {}

bool TVLQCompDRSResponseCouponValue::DodajEan(TVLQCompDRSFractionContent* ean) {
  if (ean == nullptr) return false;
  eans_.Add(ean);
  return true;
}

void TVLQCompDRSResponseCouponValue::Czysc() {
  TVLQCompDRSResponse::Czysc();
  TekstKuponu.clear();
  LiczbaKuponu = 0;
  eans_.Clear();
}

void TVLQCompDRSResponseCouponValue::KopiujDo(
    TVLQCompDRSResponseCouponValue& target) const {
  target.Liczba = Liczba;
  target.Tekst1 = Tekst1;
  target.Tekst2 = Tekst2;
  target.TekstKuponu = TekstKuponu;
  target.LiczbaKuponu = LiczbaKuponu;
  // Counted first: copying into itself appends each item once.
  const int count = GetIlosc();
  for (int i = 0; i < count; ++i) {
    if (const TVLQCompDRSFractionContent* ean = GetItems(i)) {
      target.DodajEan(new TVLQCompDRSFractionContent(ean->Ean, ean->Factor));
    }
  }
}

bool TVLQCompDRSResponseCouponConfirm::DodajCoupon(TVLQCompDRSCoupon* coupon) {
  coupons_.Add(coupon);
  return true;
}

void TVLQCompDRSResponseCouponConfirm::KopiujDo(
    TVLQCompDRSResponseCouponConfirm& target) const {
  target.Liczba = Liczba;
  target.Tekst1 = Tekst1;
  target.Tekst2 = Tekst2;
  const int count = GetIlosc();
  for (int i = 0; i < count; ++i) {
    if (const TVLQCompDRSCoupon* coupon = GetItems(i)) {
      target.DodajCoupon(new TVLQCompDRSCoupon(*coupon));
    }
  }
}

// --- configuration ---

void TVLQCompDRSFractionConfiguration::Czysc() { *this = {}; }

bool TVLQCompDRSGroupConfiguration::DodajFraction(
    TVLQCompDRSFractionConfiguration* fraction) {
  if (fraction == nullptr) return false;
  fractions_.Add(fraction);
  return true;
}

void TVLQCompDRSGroupConfiguration::Czysc() {
  Tekst.clear();
  fractions_.Clear();
}

int TVLQCompDRSResponseConfiguration::DodajGroup(
    TVLQCompDRSGroupConfiguration* group) {
  return group == nullptr ? -1 : groups_.Add(group);
}

int TVLQCompDRSResponseConfiguration::DodajFraction(
    TVLQCompDRSFractionConfiguration* fraction) {
  return fraction == nullptr ? -1 : fractions_.Add(fraction);
}

void TVLQCompDRSResponseConfiguration::Czysc() {
  Ustawienie1 = Ustawienie2 = Ustawienie3 = 20;
  Ustawienie4 = Ustawienie5 = Ustawienie6 = 86400;
  TekstKonfiguracji1.clear();
  TekstKonfiguracji2.clear();
  Znacznik = false;
  TekstKonfiguracji3.clear();
}

// --- factory ---

TVLQCompDRSResponse* TVLQCompDRSFactoryResponse::UtworzObiektResponse(
    TVLQCompDRSEndpoint endpoint) {
  switch (endpoint) {
    case drsAuthRegistration:
      return new TVLQCompDRSResponseAuthRegistration();
    case drsAuthConfirm:
      return new TVLQCompDRSResponseAuthConfirm();
    case drsPosDiagnostics:
      return new TVLQCompDRSResponsePosDiagnostics();
    case drsEanList:
      return new TVLQCompDRSResponseEANList();
    case drsEanUnknown:
    case drsCouponAdd:
    case drsPackage:
      return new TVLQCompDRSResponsePackage();
    case drsCouponList:
      return new TVLQCompDRSResponseCouponList();
    case drsCouponIssue:
      return new TVLQCompDRSResponseCouponIssue();
    case drsCouponValue:
      return new TVLQCompDRSResponseCouponValue();
    case drsCouponConfirm:
      return new TVLQCompDRSResponseCouponConfirm();
    case drsConfiguration:
      return new TVLQCompDRSResponseConfiguration();
    default:
      return new TVLQCompDRSResponse();
  }
}

}  // namespace druvo
