// Messages of the deposit-return system (DRS) service: endpoint paths, hex
// key tools, login data, request messages with their JSON bodies, and the
// answer objects with the factory that picks one per endpoint.
//
// The library does no transport. A caller fills a request, sends the text of
// GetJSON() to the path of GetCompDRSEndpoint() and fills the answer object
// that TVLQCompDRSFactoryResponse::UtworzObiektResponse() creates.
//
// JSON is built by plain concatenation: text fields are written between
// quotation marks exactly as they stand (nothing escaped, CP1250 bytes kept),
// whole numbers in plain decimal, independent of the C locale.
//
// Lists: each list is created on first use by its getter (a getter never
// returns null) and owned by its object together with its items. Items added
// straight into a handed-out TList must be of the list's item class; the
// object destroys them. Clearing destroys the items from last to first and
// keeps the list. Copies of list holders are deep.
#pragma once

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "druvo/platform/AnsiString.h"
#include "druvo/platform/DateTime.h"
#include "druvo/platform/Export.h"
#include "druvo/platform/TList.h"
#include "druvo/platform/TStringList.h"

namespace druvo {

namespace drs_detail {

// A TOwnedList<T> created on first use: Get() makes it, Item() and Count()
// read it without making it. Copies are deep; null items are kept as null.
template <typename T>
class OwnedItems {
 public:
  OwnedItems() = default;
  OwnedItems(const OwnedItems& other)
      : list_(other.list_ ? std::make_unique<TOwnedList<T>>(*other.list_)
                          : nullptr) {}
  OwnedItems(OwnedItems&& other) noexcept = default;
  OwnedItems& operator=(OwnedItems other) noexcept {
    std::swap(list_, other.list_);
    return *this;
  }

  TList* Get() {
    if (!list_) list_ = std::make_unique<TOwnedList<T>>();
    return list_.get();
  }
  bool Exists() const { return list_ != nullptr; }
  int Count() const { return list_ ? list_->Count() : 0; }
  // The item at `index`, or null without a list or for a bad index.
  T* Item(int index) const { return list_ ? list_->Item(index) : nullptr; }
  // Takes ownership of `item` (also when the list cannot be made); returns
  // its index.
  int Add(T* item) {
    std::unique_ptr<T> owned(item);
    Get();
    return list_->Adopt(owned.release());
  }
  void Clear() {
    if (list_) list_->DeleteAll();
  }

 private:
  std::unique_ptr<TOwnedList<T>> list_;
};

// A TStringList created on first use, owned and copied with its holder.
class DRUVO_API OwnedLines {
 public:
  OwnedLines() = default;
  OwnedLines(const OwnedLines& other);
  OwnedLines(OwnedLines&& other) noexcept = default;
  OwnedLines& operator=(OwnedLines other) noexcept;
  ~OwnedLines();

  TStringList* Get();
  // The list, or null while it has not been created.
  const TStringList* Peek() const { return list_.get(); }
  int Count() const { return list_ ? list_->Count() : 0; }
  void Clear() {
    if (list_) list_->Clear();
  }

 private:
  std::unique_ptr<TStringList> list_;
};

}  // namespace drs_detail

// ---------------------------------------------------------------------------
// Endpoints, hex tools, login data

// Service endpoints. Callers store and pass the values as plain integers.
enum TVLQCompDRSEndpoint : int {
  drsAuthRegistration = 0,
  drsAuthConfirm = 1,
  drsPosDiagnostics = 2,
  drsEanList = 3,
  drsEanUnknown = 4,
  drsCouponList = 5,
  drsCouponIssue = 6,
  drsCouponValue = 7,
  drsCouponConfirm = 8,
  drsCouponAdd = 9,
  drsPackage = 10,
  drsPackageTransfer = 11,
  drsLogisticCollect = 12,
  drsConfiguration = 13,
  drsSale = 14,
  drsCollection = 15,
  drsReclamation = 16,
};

// The path of `endpoint` relative to the service address ("drs/v2/sale");
// "" for a value outside the endpoints.
DRUVO_API AnsiString GetCompDRSEndpoint(TVLQCompDRSEndpoint endpoint);

// Hexadecimal texts to raw bytes. Bad input raises Exception with
// "Niepoprawny znak hex" (a character that is no hex digit) or "Długość hex
// musi być parzysta" (odd length, tested before any digit). No partial result.
class DRUVO_API TVLQCompDRSTools {
 public:
  TVLQCompDRSTools() = default;
  ~TVLQCompDRSTools() = default;

  // The value 0 to 15 of one digit (0-9, a-f, A-F).
  static std::uint8_t HexCharToByte(char c);
  // Two digits per byte, first pair first.
  static std::vector<std::uint8_t> HexToBytes(const AnsiString& hex);
  // The bytes as characters, one per byte (zero bytes included).
  static AnsiString HexToAnsiStringKey(const AnsiString& hex);
  // The bytes as UTF-16 code units of the same value, one per byte; the wide
  // hex text is first converted to CP1250.
  static WideString HexToUnicodeStringKey(const WideString& hex);
};

// The caller's access data for the service; the library gives the three
// texts no meaning.
class DRUVO_API TVLQCompDRSDaneLogowania {
 public:
  TVLQCompDRSDaneLogowania() { Czysc(); }
  TVLQCompDRSDaneLogowania(const TVLQCompDRSDaneLogowania& other) {
    Czysc();
    *this = other;
  }
  TVLQCompDRSDaneLogowania& operator=(const TVLQCompDRSDaneLogowania&) =
      default;
  ~TVLQCompDRSDaneLogowania() = default;

  void Czysc();

  AnsiString Tekst1;
  AnsiString Tekst2;
  AnsiString Tekst3;
};

// ---------------------------------------------------------------------------
// Requests

// Root of the request messages. GetJSON() gives the body ("" here);
// GetJSONBlad(key, value) the same body with "key": "value" put first (""
// when the body is not an object).
class DRUVO_API TVLQCompDRSRequest {
 public:
  TVLQCompDRSRequest() = default;
  TVLQCompDRSRequest(const TVLQCompDRSRequest&) = default;
  TVLQCompDRSRequest& operator=(const TVLQCompDRSRequest&) = default;
  virtual ~TVLQCompDRSRequest();

  virtual AnsiString GetJSON();
  virtual AnsiString GetJSONBlad(const AnsiString& key,
                                 const AnsiString& value);
};

class DRUVO_API TVLQCompDRSAuthRegistration : public TVLQCompDRSRequest {
 public:
  TVLQCompDRSAuthRegistration() = default;
  TVLQCompDRSAuthRegistration(AnsiString vendorCode, AnsiString uniqueNumber,
                              AnsiString locationId, AnsiString pin,
                              AnsiString source);
  AnsiString GetJSON() override;
  void Czysc();

  AnsiString VendorCode;
  AnsiString UniqueNumber;
  AnsiString LocationId;
  AnsiString Pin;
  AnsiString Source;
};

class DRUVO_API TVLQCompDRSAuthConfirm : public TVLQCompDRSRequest {
 public:
  TVLQCompDRSAuthConfirm() = default;
  TVLQCompDRSAuthConfirm(AnsiString vendorCode, AnsiString mcuid,
                         AnsiString locationId, AnsiString source,
                         AnsiString pin);
  AnsiString GetJSON() override;
  void Czysc();

  AnsiString VendorCode;
  AnsiString Mcuid;
  AnsiString LocationId;
  AnsiString Source;
  AnsiString Pin;
};

class DRUVO_API TVLQCompDRSCompany : public TVLQCompDRSRequest {
 public:
  TVLQCompDRSCompany() = default;
  explicit TVLQCompDRSCompany(AnsiString nip);
  AnsiString GetJSON() override;
  void Czysc();

  AnsiString Nip;
};

// GetJSON() first cuts Name, City and Street to 255 characters, PostalCode
// to 6, Building and Local to 20; the fields keep the cut texts.
class DRUVO_API TVLQCompDRSLocation : public TVLQCompDRSRequest {
 public:
  TVLQCompDRSLocation() = default;
  TVLQCompDRSLocation(AnsiString name, AnsiString city, AnsiString postalCode,
                      AnsiString street, AnsiString building, AnsiString local);
  AnsiString GetJSON() override;
  void Czysc();

  AnsiString Name;
  AnsiString City;
  AnsiString PostalCode;
  AnsiString Street;
  AnsiString Building;
  AnsiString Local;
};

// GetJSON() cuts Model and PosVer to 255 characters (and the location as
// above); Time is a text the caller sets in the service's form.
class DRUVO_API TVLQCompDRSPosDiagnostics : public TVLQCompDRSRequest {
 public:
  TVLQCompDRSPosDiagnostics() = default;
  TVLQCompDRSPosDiagnostics(AnsiString vendorCode, AnsiString mcuid,
                            AnsiString uniqueNumber, AnsiString model,
                            AnsiString posVer, AnsiString time,
                            const TVLQCompDRSCompany& company,
                            const TVLQCompDRSLocation& location);
  AnsiString GetJSON() override;
  void Czysc();

  AnsiString VendorCode;
  AnsiString Mcuid;
  AnsiString UniqueNumber;
  AnsiString Model;
  AnsiString PosVer;
  AnsiString Time = "0";
  TVLQCompDRSCompany Company;
  TVLQCompDRSLocation Location;
};

// Carries a date and a text the caller sends outside the body; GetJSON()
// is the root's empty text.
class DRUVO_API TVLQCompDRSEanList : public TVLQCompDRSRequest {
 public:
  TDateTime Data = 0;
  AnsiString Tekst;
};

// The EAN codes the point of sale does not know, as wide lines.
class DRUVO_API TVLQCompDRSEanUnknown : public TVLQCompDRSRequest {
 public:
  TStringList* GetEans() { return eans_.Get(); }
  AnsiString GetJSON() override;
  void Czysc() { eans_.Clear(); }

 private:
  drs_detail::OwnedLines eans_;
};

// One EAN of a coupon issue (array element, not a message).
class DRUVO_API TVLQCompDRSEan {
 public:
  TVLQCompDRSEan() = default;
  TVLQCompDRSEan(AnsiString ean, int factor, AnsiString fraction);
  AnsiString GetJSON() const;
  void Czysc();

  AnsiString Ean;
  int Factor = -1;
  AnsiString Fraction;
};

class DRUVO_API TVLQCompDRSCouponIssue : public TVLQCompDRSRequest {
 public:
  TVLQCompDRSCouponIssue() = default;
  TVLQCompDRSCouponIssue(AnsiString couponId, AnsiString value,
                         AnsiString issueDate);
  AnsiString GetJSON() override;

  TList* GetEans() { return eans_.Get(); }
  int GetIlosc() const { return eans_.Count(); }
  TVLQCompDRSEan* GetItems(int index) const { return eans_.Item(index); }
  // Adds when the trimmed ean and fraction are not empty and factor >= 0.
  bool DodajEan(const AnsiString& ean, int factor, const AnsiString& fraction);
  void WyczyscListeEans() { eans_.Clear(); }
  void Czysc();

 private:
  drs_detail::OwnedItems<TVLQCompDRSEan> eans_;

 public:
  AnsiString CouponId;
  AnsiString Value;
  AnsiString IssueDate;
};

// Carries a text the caller sends outside the body; GetJSON() is empty.
class DRUVO_API TVLQCompDRSCouponValue : public TVLQCompDRSRequest {
 public:
  TVLQCompDRSCouponValue() = default;
  explicit TVLQCompDRSCouponValue(AnsiString tekst) : Tekst(std::move(tekst)) {}

  AnsiString Tekst;
};

// One coupon of a confirmation (array element). Extra1 and Extra2 are
// carried but never written; "payment_type" only when PaymentType is set.
class DRUVO_API TVLQCompDRSCoupon {
 public:
  TVLQCompDRSCoupon() = default;
  TVLQCompDRSCoupon(AnsiString couponId, AnsiString receiptId, int couponValue,
                    AnsiString cashier, AnsiString paymentType);
  TVLQCompDRSCoupon(AnsiString couponId, AnsiString receiptId, int couponValue,
                    AnsiString cashier, AnsiString paymentType,
                    AnsiString extra1, AnsiString extra2);
  AnsiString GetJSON() const;
  void Czysc();

  AnsiString CouponId;
  AnsiString ReceiptId;
  int CouponValue = 0;
  AnsiString Cashier;
  AnsiString PaymentType;
  AnsiString Extra1;
  AnsiString Extra2;
};

class DRUVO_API TVLQCompDRSCouponConfirm : public TVLQCompDRSRequest {
 public:
  AnsiString GetJSON() override;

  TList* GetCoupons() { return coupons_.Get(); }
  int GetIlosc() const { return coupons_.Count(); }
  TVLQCompDRSCoupon* GetItems(int index) const { return coupons_.Item(index); }
  // Adds when the trimmed id, receipt and cashier are not empty and value > 0.
  bool DodajCoupon(const AnsiString& couponId, const AnsiString& receiptId,
                   int couponValue, const AnsiString& cashier,
                   const AnsiString& paymentType);
  void WyczyscListeCoupons() { coupons_.Clear(); }

 private:
  drs_detail::OwnedItems<TVLQCompDRSCoupon> coupons_;
};

// One EAN and factor of a package content (array element).
class DRUVO_API TVLQCompDRSFractionContent {
 public:
  TVLQCompDRSFractionContent() = default;
  TVLQCompDRSFractionContent(AnsiString ean, int factor);
  AnsiString GetJSON() const;
  void Czysc();

  AnsiString Ean;
  int Factor = -1;
};

// One fraction of a package with its EANs (array element).
class DRUVO_API TVLQCompDRSPackageContent {
 public:
  TVLQCompDRSPackageContent() = default;
  explicit TVLQCompDRSPackageContent(AnsiString fraction);
  AnsiString GetJSON() const;

  TList* GetFractionContents() { return contents_.Get(); }
  int GetIlosc() const { return contents_.Count(); }
  TVLQCompDRSFractionContent* GetItems(int index) const {
    return contents_.Item(index);
  }
  // Adds when the trimmed ean is not empty and factor >= 0.
  bool DodajFractionContent(const AnsiString& ean, int factor);
  void WyczyscListeFractionContents() { contents_.Clear(); }
  void Czysc();

 private:
  drs_detail::OwnedItems<TVLQCompDRSFractionContent> contents_;

 public:
  AnsiString Fraction;
};

// A closed package. CloseDate is written raw (the caller gives it in its
// JSON form); Czysc() keeps the package contents.
class DRUVO_API TVLQCompDRSPackage : public TVLQCompDRSRequest {
 public:
  TVLQCompDRSPackage() = default;
  TVLQCompDRSPackage(AnsiString packageId, AnsiString sealNumber,
                     AnsiString closeDate, AnsiString cashier);
  AnsiString GetJSON() override;

  TList* GetPackageContents() { return contents_.Get(); }
  int GetIlosc() const { return contents_.Count(); }
  TVLQCompDRSPackageContent* GetItems(int index) const {
    return contents_.Item(index);
  }
  // The new content's index, or -1 for a blank fraction.
  int DodajPackageContent(const AnsiString& fraction);
  // Adds to the content at `index`; false for a bad index or refused item.
  bool DodajFractionContentDoPackageContent(int index, const AnsiString& ean,
                                            int factor);
  void WyczyscListePackageContents() { contents_.Clear(); }
  void Czysc();

 private:
  drs_detail::OwnedItems<TVLQCompDRSPackageContent> contents_;

 public:
  AnsiString PackageId;
  AnsiString SealNumber;
  AnsiString CloseDate;
  AnsiString Cashier;
};

// ---------------------------------------------------------------------------
// Answers

// Root of the answers. Liczba, Tekst1 and Tekst2 are common to all; Czysc()
// is virtual and restores each class's defaults as that class defines them.
// Objects of the factory are deleted through this class.
class DRUVO_API TVLQCompDRSResponse {
 public:
  TVLQCompDRSResponse() { TVLQCompDRSResponse::Czysc(); }
  TVLQCompDRSResponse(int liczba, AnsiString tekst1, AnsiString tekst2);
  TVLQCompDRSResponse(const TVLQCompDRSResponse&) = default;
  TVLQCompDRSResponse& operator=(const TVLQCompDRSResponse&) = default;
  virtual ~TVLQCompDRSResponse();

  virtual void Czysc();

  int Liczba = 0;
  AnsiString Tekst1;
  AnsiString Tekst2;
};

// An address of six texts (plain record).
class DRUVO_API TVLQCompDRSResponseAddress {
 public:
  TVLQCompDRSResponseAddress() = default;
  TVLQCompDRSResponseAddress(AnsiString tekst1, AnsiString tekst2,
                             AnsiString tekst3, AnsiString tekst4,
                             AnsiString tekst5, AnsiString tekst6);
  void Czysc();

  AnsiString Tekst1;
  AnsiString Tekst2;
  AnsiString Tekst3;
  AnsiString Tekst4;
  AnsiString Tekst5;
  AnsiString Tekst6;
};

// Two texts and an address. Assignment copies these, not the root's fields.
class DRUVO_API TVLQCompDRSResponseLocation : public TVLQCompDRSResponse {
 public:
  TVLQCompDRSResponseLocation() { Czysc(); }
  TVLQCompDRSResponseLocation(AnsiString tekst1, AnsiString tekst2,
                              const TVLQCompDRSResponseAddress& adres);
  TVLQCompDRSResponseLocation(const TVLQCompDRSResponseLocation&) = default;
  TVLQCompDRSResponseLocation& operator=(
      const TVLQCompDRSResponseLocation& other);
  void Czysc() override;

  AnsiString TekstLokalizacji1;
  AnsiString TekstLokalizacji2;
  TVLQCompDRSResponseAddress Adres;
};

class DRUVO_API TVLQCompDRSResponseAuthRegistration
    : public TVLQCompDRSResponse {
 public:
  TVLQCompDRSResponseAuthRegistration() { Czysc(); }
  TVLQCompDRSResponseAuthRegistration(
      AnsiString tekst1, AnsiString tekst2, AnsiString tekst3,
      const TVLQCompDRSResponseLocation& lokalizacja);
  void Czysc() override;

  AnsiString TekstRejestracji1;
  AnsiString TekstRejestracji2;
  AnsiString TekstRejestracji3;
  TVLQCompDRSResponseLocation Lokalizacja;
};

class DRUVO_API TVLQCompDRSResponseAuthConfirm
    : public TVLQCompDRSResponseLocation {
 public:
  TVLQCompDRSResponseAuthConfirm() { Czysc(); }
  TVLQCompDRSResponseAuthConfirm(AnsiString tekst1, AnsiString tekst2,
                                 const TVLQCompDRSResponseAddress& adres);
};

// One flag; Czysc() is the root's and leaves the flag.
class DRUVO_API TVLQCompDRSResponsePosDiagnostics : public TVLQCompDRSResponse {
 public:
  TVLQCompDRSResponsePosDiagnostics() { Czysc(); }
  explicit TVLQCompDRSResponsePosDiagnostics(bool znacznik);

  bool Znacznik = false;
};

// One entry of the EAN list: 26 fields in the service's order.
class DRUVO_API TVLQCompDRSResponseEAN {
 public:
  TVLQCompDRSResponseEAN() = default;
  // Fields 1 to 10; the rest keep their defaults.
  TVLQCompDRSResponseEAN(AnsiString tekst1, AnsiString tekst2, int liczba1,
                         AnsiString tekst3, int liczba2, int liczba3,
                         AnsiString tekst4, AnsiString tekst5, TDateTime data1,
                         bool znacznik1);
  TVLQCompDRSResponseEAN(AnsiString tekst1, AnsiString tekst2, int liczba1,
                         AnsiString tekst3, int liczba2, int liczba3,
                         AnsiString tekst4, AnsiString tekst5, TDateTime data1,
                         bool znacznik1, bool znacznik2, AnsiString tekst6,
                         AnsiString tekst7, int liczba4, int liczba5,
                         int liczba6, int liczba7, int liczba8, int liczba9,
                         int liczba10, TDateTime data2, AnsiString tekst8,
                         AnsiString tekst9, AnsiString tekst10, TDateTime data3,
                         TDateTime data4);
  void Czysc();

  AnsiString Tekst1;
  AnsiString Tekst2;
  int Liczba1 = -1;
  AnsiString Tekst3;
  int Liczba2 = 0;
  int Liczba3 = 0;
  AnsiString Tekst4;
  AnsiString Tekst5;
  TDateTime Data1 = 0;
  bool Znacznik1 = false;
  bool Znacznik2 = false;
  AnsiString Tekst6;
  AnsiString Tekst7;
  int Liczba4 = 0;
  int Liczba5 = 0;
  int Liczba6 = 0;
  int Liczba7 = 0;
  int Liczba8 = 0;
  int Liczba9 = 0;
  int Liczba10 = 0;
  TDateTime Data2 = 0;
  AnsiString Tekst8;
  AnsiString Tekst9;
  AnsiString Tekst10;
  TDateTime Data3 = 0;
  TDateTime Data4 = 0;
};

// Owns its entries; Czysc() is the root's and keeps them.
class DRUVO_API TVLQCompDRSResponseEANList : public TVLQCompDRSResponse {
 public:
  TList* GetEans() { return eans_.Get(); }
  int GetIlosc() const { return eans_.Count(); }
  TVLQCompDRSResponseEAN* GetItems(int index) const {
    return eans_.Item(index);
  }
  // Takes ownership; false for null.
  bool DodajEan(TVLQCompDRSResponseEAN* ean);
  void WyczyscListeEans() { eans_.Clear(); }

 private:
  drs_detail::OwnedItems<TVLQCompDRSResponseEAN> eans_;
};

// Coupon identifiers as wide lines; Czysc() also empties them.
class DRUVO_API TVLQCompDRSResponseCouponList : public TVLQCompDRSResponse {
 public:
  TStringList* GetCoupons() { return coupons_.Get(); }
  int GetIlosc() const { return coupons_.Count(); }
  // Line `index` as CP1250 text; "" without a list or for a bad index.
  AnsiString GetItems(int index) const;
  // Appends the untrimmed text; false when it is blank.
  bool DodajCoupon(const AnsiString& coupon);
  void Czysc() override;

 private:
  drs_detail::OwnedLines coupons_;
};

class DRUVO_API TVLQCompDRSResponseCouponIssue : public TVLQCompDRSResponse {
 public:
  TVLQCompDRSResponseCouponIssue() { Czysc(); }
  TVLQCompDRSResponseCouponIssue(AnsiString tekstKuponu, int liczbaKuponu);
  void Czysc() override;
  // Copies the root's fields and this class's into `target`.
  void KopiujDo(TVLQCompDRSResponseCouponIssue& target) const;

  AnsiString TekstKuponu;
  int LiczbaKuponu = 0;
};

class DRUVO_API TVLQCompDRSResponsePackage : public TVLQCompDRSResponse {
 public:
  TVLQCompDRSResponsePackage() { Czysc(); }
  // Copies the root's fields into `target`.
  void KopiujDo(TVLQCompDRSResponsePackage& target) const;
};

// EANs with factors, a text and a number. KopiujDo appends copies of the
// items to the target's list (it does not empty it first).
class DRUVO_API TVLQCompDRSResponseCouponValue : public TVLQCompDRSResponse {
 public:
  TVLQCompDRSResponseCouponValue() = default;
  TVLQCompDRSResponseCouponValue(AnsiString tekstKuponu, int liczbaKuponu);

  TList* GetEans() { return eans_.Get(); }
  int GetIlosc() const { return eans_.Count(); }
  TVLQCompDRSFractionContent* GetItems(int index) const {
    return eans_.Item(index);
  }
  // Takes ownership; false for null.
  bool DodajEan(TVLQCompDRSFractionContent* ean);
  void WyczyscListeEans() { eans_.Clear(); }
  void Czysc() override;
  void KopiujDo(TVLQCompDRSResponseCouponValue& target) const;

 private:
  drs_detail::OwnedItems<TVLQCompDRSFractionContent> eans_;

 public:
  AnsiString TekstKuponu;
  int LiczbaKuponu = 0;
};

// Confirmed coupons. DodajCoupon appends any pointer, null too; Czysc() is
// the root's and keeps the coupons; KopiujDo appends copies (nulls skipped).
class DRUVO_API TVLQCompDRSResponseCouponConfirm : public TVLQCompDRSResponse {
 public:
  TList* GetCoupons() { return coupons_.Get(); }
  int GetIlosc() const { return coupons_.Count(); }
  TVLQCompDRSCoupon* GetItems(int index) const { return coupons_.Item(index); }
  // Takes ownership; always true.
  bool DodajCoupon(TVLQCompDRSCoupon* coupon);
  void WyczyscListeCoupons() { coupons_.Clear(); }
  void KopiujDo(TVLQCompDRSResponseCouponConfirm& target) const;

 private:
  drs_detail::OwnedItems<TVLQCompDRSCoupon> coupons_;
};

// One fraction of the service configuration (plain record).
class DRUVO_API TVLQCompDRSFractionConfiguration {
 public:
  TVLQCompDRSFractionConfiguration() = default;
  void Czysc();

  int Liczba1 = -1;
  AnsiString Tekst;
  bool Znacznik = true;
  int Liczba2 = -1;
};

// A group of fractions and its text (plain record).
class DRUVO_API TVLQCompDRSGroupConfiguration {
 public:
  TList* GetFractions() { return fractions_.Get(); }
  int GetIlosc() const { return fractions_.Count(); }
  TVLQCompDRSFractionConfiguration* GetItems(int index) const {
    return fractions_.Item(index);
  }
  // Takes ownership; false for null.
  bool DodajFraction(TVLQCompDRSFractionConfiguration* fraction);
  void WyczyscListeFractions() { fractions_.Clear(); }
  // Empties the text and the list.
  void Czysc();

 private:
  drs_detail::OwnedItems<TVLQCompDRSFractionConfiguration> fractions_;

 public:
  AnsiString Tekst;
};

// Groups, fractions and settings of the service. An item belongs to one list
// only. Czysc() restores the settings, texts and flag, and keeps the root's
// fields and both lists.
class DRUVO_API TVLQCompDRSResponseConfiguration : public TVLQCompDRSResponse {
 public:
  TVLQCompDRSResponseConfiguration() { Czysc(); }

  TList* GetGroups() { return groups_.Get(); }
  int GetGroupsIlosc() const { return groups_.Count(); }
  TVLQCompDRSGroupConfiguration* GetGroupsItems(int index) const {
    return groups_.Item(index);
  }
  TList* GetFractions() { return fractions_.Get(); }
  int GetFractionsIlosc() const { return fractions_.Count(); }
  TVLQCompDRSFractionConfiguration* GetFractionsItems(int index) const {
    return fractions_.Item(index);
  }
  // Take ownership; the new index, or -1 for null.
  int DodajGroup(TVLQCompDRSGroupConfiguration* group);
  int DodajFraction(TVLQCompDRSFractionConfiguration* fraction);
  void WyczyscListeGroups() { groups_.Clear(); }
  void WyczyscListeFractions() { fractions_.Clear(); }
  void Czysc() override;

 private:
  drs_detail::OwnedItems<TVLQCompDRSGroupConfiguration> groups_;
  drs_detail::OwnedItems<TVLQCompDRSFractionConfiguration> fractions_;

 public:
  int Ustawienie1 = 20;
  int Ustawienie2 = 20;
  int Ustawienie3 = 20;
  int Ustawienie4 = 86400;
  int Ustawienie5 = 86400;
  AnsiString TekstKonfiguracji1;
  int Ustawienie6 = 86400;
  AnsiString TekstKonfiguracji2;
  bool Znacznik = false;
  AnsiString TekstKonfiguracji3;
};

// Creates the answer object of an endpoint.
class DRUVO_API TVLQCompDRSFactoryResponse {
 public:
  // A new default answer of the endpoint's class (a plain TVLQCompDRSResponse
  // for 11, 12, 14 to 16 and any other value). The caller owns it and may
  // delete it through the returned pointer.
  static TVLQCompDRSResponse* UtworzObiektResponse(
      TVLQCompDRSEndpoint endpoint);
};

}  // namespace druvo
