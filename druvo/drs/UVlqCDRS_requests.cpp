// Request messages of the DRS service and their JSON bodies.
//
// The service reads exactly these bytes: members in a fixed order, the key
// pieces below, text values copied unescaped, whole numbers in plain decimal.
#include <charconv>
#include <string_view>

#include "druvo/drs/UVlqCDRS.h"

namespace druvo {

namespace {

// The usual key piece is `"key": `; the package elements use `"key" :`.
constexpr std::string_view kColon = "\": ";
constexpr std::string_view kTightColon = "\" :";
constexpr std::string_view kSpacedColon = "\" : ";

void AppendNumber(AnsiString& out, int value) {
  char digits[16];
  const auto result = std::to_chars(digits, digits + sizeof digits, value);
  out.append(digits, result.ptr);
}

// Writes one JSON object member by member.
class JsonObject {
 public:
  JsonObject() : out_("{") {}

  JsonObject& Text(std::string_view key, std::string_view value,
                   std::string_view colon = kColon) {
    Key(key, colon);
    out_ += '"';
    out_ += value;
    out_ += '"';
    return *this;
  }
  JsonObject& Number(std::string_view key, int value,
                     std::string_view colon = kColon) {
    Key(key, colon);
    AppendNumber(out_, value);
    return *this;
  }
  // A value already in JSON form: a nested object or a raw text.
  JsonObject& Raw(std::string_view key, std::string_view json) {
    Key(key, kColon);
    out_ += json;
    return *this;
  }
  // An array of the non-null items of `items`, each written by `write`. A
  // comma goes before every written item whose index is above 0.
  template <typename T, typename Write>
  JsonObject& Array(std::string_view key,
                    const drs_detail::OwnedItems<T>& items, Write write,
                    std::string_view colon = kColon) {
    Key(key, colon);
    out_ += '[';
    for (int i = 0; i < items.Count(); ++i) {
      const T* item = items.Item(i);
      if (item == nullptr) continue;
      if (i > 0) out_ += ',';
      out_ += write(*item);
    }
    out_ += ']';
    return *this;
  }
  AnsiString Close() {
    out_ += '}';
    return std::move(out_);
  }

 private:
  void Key(std::string_view key, std::string_view colon) {
    if (out_.size() > 1) out_ += ',';
    out_ += '"';
    out_ += key;
    out_ += colon;
  }

  AnsiString out_;
};

// Blanks and control characters only (or nothing at all).
bool IsBlank(const AnsiString& text) { return Trim(text).empty(); }

void CutTo(AnsiString& text, std::size_t limit) {
  if (text.size() > limit) text.resize(limit);
}

}  // namespace

// --- root ---

TVLQCompDRSRequest::~TVLQCompDRSRequest() = default;

AnsiString TVLQCompDRSRequest::GetJSON() { return {}; }

AnsiString TVLQCompDRSRequest::GetJSONBlad(const AnsiString& key,
                                           const AnsiString& value) {
  const AnsiString json = GetJSON();
  if (json.empty() || json[0] != '{') return {};
  AnsiString result;
  result.reserve(json.size() + key.size() + value.size() + 8);
  result += "{\"";
  result += key;
  result += "\": \"";
  result += value;
  result += "\",";
  result.append(json, 1);
  return result;
}

// --- authorisation ---

TVLQCompDRSAuthRegistration::TVLQCompDRSAuthRegistration(
    AnsiString vendorCode, AnsiString uniqueNumber, AnsiString locationId,
    AnsiString pin, AnsiString source)
    : VendorCode(std::move(vendorCode)),
      UniqueNumber(std::move(uniqueNumber)),
      LocationId(std::move(locationId)),
      Pin(std::move(pin)),
      Source(std::move(source)) {}

AnsiString TVLQCompDRSAuthRegistration::GetJSON() {
  return JsonObject()
      .Text("vendor_code", VendorCode)
      .Text("unique_number", UniqueNumber)
      .Text("location_id", LocationId)
      .Text("pin", Pin)
      .Text("source", Source)
      .Close();
}

void TVLQCompDRSAuthRegistration::Czysc() { *this = {}; }

TVLQCompDRSAuthConfirm::TVLQCompDRSAuthConfirm(AnsiString vendorCode,
                                               AnsiString mcuid,
                                               AnsiString locationId,
                                               AnsiString source,
                                               AnsiString pin)
    : VendorCode(std::move(vendorCode)),
      Mcuid(std::move(mcuid)),
      LocationId(std::move(locationId)),
      Source(std::move(source)),
      Pin(std::move(pin)) {}

AnsiString TVLQCompDRSAuthConfirm::GetJSON() {
  return JsonObject()
      .Text("vendor_code", VendorCode)
      .Text("mcuid", Mcuid)
      .Text("location_id", LocationId)
      .Text("source", Source)
      .Text("pin", Pin)
      .Close();
}

void TVLQCompDRSAuthConfirm::Czysc() { *this = {}; }

// --- company, location, diagnostics ---

TVLQCompDRSCompany::TVLQCompDRSCompany(AnsiString nip) : Nip(std::move(nip)) {}

AnsiString TVLQCompDRSCompany::GetJSON() {
  return JsonObject().Text("nip", Nip).Close();
}

void TVLQCompDRSCompany::Czysc() { Nip.clear(); }

TVLQCompDRSLocation::TVLQCompDRSLocation(AnsiString name, AnsiString city,
                                         AnsiString postalCode,
                                         AnsiString street, AnsiString building,
                                         AnsiString local)
    : Name(std::move(name)),
      City(std::move(city)),
      PostalCode(std::move(postalCode)),
      Street(std::move(street)),
      Building(std::move(building)),
      Local(std::move(local)) {}

AnsiString TVLQCompDRSLocation::GetJSON() {
  CutTo(Name, 255);
  CutTo(City, 255);
  CutTo(PostalCode, 6);
  CutTo(Street, 255);
  CutTo(Building, 20);
  CutTo(Local, 20);
  return JsonObject()
      .Text("name", Name)
      .Text("city", City)
      .Text("postal_code", PostalCode)
      .Text("street", Street)
      .Text("building", Building)
      .Text("local", Local)
      .Close();
}

void TVLQCompDRSLocation::Czysc() { *this = {}; }

TVLQCompDRSPosDiagnostics::TVLQCompDRSPosDiagnostics(
    AnsiString vendorCode, AnsiString mcuid, AnsiString uniqueNumber,
    AnsiString model, AnsiString posVer, AnsiString time,
    const TVLQCompDRSCompany& company, const TVLQCompDRSLocation& location)
    : VendorCode(std::move(vendorCode)),
      Mcuid(std::move(mcuid)),
      UniqueNumber(std::move(uniqueNumber)),
      Model(std::move(model)),
      PosVer(std::move(posVer)),
      Time(std::move(time)) {
  Company = company;
  Location = location;
}

AnsiString TVLQCompDRSPosDiagnostics::GetJSON() {
  CutTo(Model, 255);
  CutTo(PosVer, 255);
  return JsonObject()
      .Text("vendor_code", VendorCode)
      .Text("mcuid", Mcuid)
      .Text("unique_number", UniqueNumber)
      .Text("model", Model)
      .Text("pos_ver", PosVer)
      .Text("time", Time)
      .Raw("company", Company.GetJSON())
      .Raw("location", Location.GetJSON())
      .Close();
}

void TVLQCompDRSPosDiagnostics::Czysc() {
  VendorCode.clear();
  Mcuid.clear();
  UniqueNumber.clear();
  Model.clear();
  PosVer.clear();
  Time.assign(1, '0');  // the number 0 as text
  Company.Czysc();
  Location.Czysc();
}

// --- unknown EANs ---

AnsiString TVLQCompDRSEanUnknown::GetJSON() {
  AnsiString out = "{\"unknown_eans";
  out += kColon;
  out += '[';
  const TStringList* eans = eans_.Peek();
  for (int i = 0; i < eans_.Count(); ++i) {
    if (i > 0) out += ',';
    out += '"';
    out += WideToAnsi(eans->Strings(i));
    out += '"';
  }
  out += "]}";
  return out;
}

// --- coupon issue ---

TVLQCompDRSEan::TVLQCompDRSEan(AnsiString ean, int factor, AnsiString fraction)
    : Ean(std::move(ean)), Factor(factor), Fraction(std::move(fraction)) {}

AnsiString TVLQCompDRSEan::GetJSON() const {
  return JsonObject()
      .Text("ean", Ean)
      .Number("factor", Factor)
      .Text("fraction", Fraction)
      .Close();
}

void TVLQCompDRSEan::Czysc() { *this = {}; }

TVLQCompDRSCouponIssue::TVLQCompDRSCouponIssue(AnsiString couponId,
                                               AnsiString value,
                                               AnsiString issueDate)
    : CouponId(std::move(couponId)),
      Value(std::move(value)),
      IssueDate(std::move(issueDate)) {}

AnsiString TVLQCompDRSCouponIssue::GetJSON() {
  return JsonObject()
      .Text("coupon_id", CouponId)
      .Text("value", Value)
      .Text("issue_date", IssueDate)
      .Array("eans", eans_, [](const TVLQCompDRSEan& e) { return e.GetJSON(); })
      .Close();
}

bool TVLQCompDRSCouponIssue::DodajEan(const AnsiString& ean, int factor,
                                      const AnsiString& fraction) {
  if (IsBlank(ean) || factor < 0 || IsBlank(fraction)) return false;
  eans_.Add(new TVLQCompDRSEan(ean, factor, fraction));
  return true;
}

void TVLQCompDRSCouponIssue::Czysc() {
  CouponId.clear();
  Value.clear();
  IssueDate.clear();
  eans_.Clear();
}

// --- coupon confirmation ---

TVLQCompDRSCoupon::TVLQCompDRSCoupon(AnsiString couponId, AnsiString receiptId,
                                     int couponValue, AnsiString cashier,
                                     AnsiString paymentType)
    : CouponId(std::move(couponId)),
      ReceiptId(std::move(receiptId)),
      CouponValue(couponValue),
      Cashier(std::move(cashier)),
      PaymentType(std::move(paymentType)) {}

TVLQCompDRSCoupon::TVLQCompDRSCoupon(AnsiString couponId, AnsiString receiptId,
                                     int couponValue, AnsiString cashier,
                                     AnsiString paymentType, AnsiString extra1,
                                     AnsiString extra2)
    : TVLQCompDRSCoupon(std::move(couponId), std::move(receiptId), couponValue,
                        std::move(cashier), std::move(paymentType)) {
  Extra1 = std::move(extra1);
  Extra2 = std::move(extra2);
}

AnsiString TVLQCompDRSCoupon::GetJSON() const {
  JsonObject json;
  json.Text("coupon_id", CouponId)
      .Text("receipt_id", ReceiptId)
      .Number("coupon_value", CouponValue)
      .Text("cashier", Cashier);
  if (!PaymentType.empty()) json.Text("payment_type", PaymentType);
  return json.Close();
}

void TVLQCompDRSCoupon::Czysc() { *this = {}; }

AnsiString TVLQCompDRSCouponConfirm::GetJSON() {
  return JsonObject()
      .Array("confirm_data", coupons_,
             [](const TVLQCompDRSCoupon& c) { return c.GetJSON(); })
      .Close();
}

bool TVLQCompDRSCouponConfirm::DodajCoupon(const AnsiString& couponId,
                                           const AnsiString& receiptId,
                                           int couponValue,
                                           const AnsiString& cashier,
                                           const AnsiString& paymentType) {
  if (IsBlank(couponId) || IsBlank(receiptId) || IsBlank(cashier) ||
      couponValue <= 0) {
    return false;
  }
  coupons_.Add(new TVLQCompDRSCoupon(couponId, receiptId, couponValue, cashier,
                                     paymentType));
  return true;
}

// --- package ---

TVLQCompDRSFractionContent::TVLQCompDRSFractionContent(AnsiString ean,
                                                       int factor)
    : Ean(std::move(ean)), Factor(factor) {}

AnsiString TVLQCompDRSFractionContent::GetJSON() const {
  return JsonObject()
      .Text("ean", Ean, kTightColon)
      .Number("factor", Factor, kTightColon)
      .Close();
}

void TVLQCompDRSFractionContent::Czysc() { *this = {}; }

TVLQCompDRSPackageContent::TVLQCompDRSPackageContent(AnsiString fraction)
    : Fraction(std::move(fraction)) {}

AnsiString TVLQCompDRSPackageContent::GetJSON() const {
  return JsonObject()
      .Text("fraction", Fraction, kTightColon)
      .Array(
          "fraction_content", contents_,
          [](const TVLQCompDRSFractionContent& f) { return f.GetJSON(); },
          kSpacedColon)
      .Close();
}

bool TVLQCompDRSPackageContent::DodajFractionContent(const AnsiString& ean,
                                                     int factor) {
  if (IsBlank(ean) || factor < 0) return false;
  contents_.Add(new TVLQCompDRSFractionContent(ean, factor));
  return true;
}

void TVLQCompDRSPackageContent::Czysc() {
  Fraction.clear();
  contents_.Clear();
}

TVLQCompDRSPackage::TVLQCompDRSPackage(AnsiString packageId,
                                       AnsiString sealNumber,
                                       AnsiString closeDate, AnsiString cashier)
    : PackageId(std::move(packageId)),
      SealNumber(std::move(sealNumber)),
      CloseDate(std::move(closeDate)),
      Cashier(std::move(cashier)) {}

AnsiString TVLQCompDRSPackage::GetJSON() {
  return JsonObject()
      .Text("package_id", PackageId)
      .Text("seal_number", SealNumber)
      .Raw("close_date", CloseDate)
      .Text("cashier", Cashier)
      .Array("package_content", contents_,
             [](const TVLQCompDRSPackageContent& p) { return p.GetJSON(); })
      .Close();
}

int TVLQCompDRSPackage::DodajPackageContent(const AnsiString& fraction) {
  if (IsBlank(fraction)) return -1;
  return contents_.Add(new TVLQCompDRSPackageContent(fraction));
}

bool TVLQCompDRSPackage::DodajFractionContentDoPackageContent(
    int index, const AnsiString& ean, int factor) {
  if (index < 0 || index >= contents_.Count()) return false;
  if (IsBlank(ean) || factor < 0) return false;
  TVLQCompDRSPackageContent* content = contents_.Item(index);
  return content != nullptr && content->DodajFractionContent(ean, factor);
}

void TVLQCompDRSPackage::Czysc() {
  PackageId.clear();
  SealNumber.clear();
  CloseDate.clear();
  Cashier.clear();
}

}  // namespace druvo
