#include "druvo/drs/UVlqCDRS.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace druvo {
namespace {

TVLQCompDRSPosDiagnostics SampleDiagnostics() {
  return TVLQCompDRSPosDiagnostics(
      "V1", "M2", "U3", "Kasa", "5.1", "2026-12-05T10:00:00",
      TVLQCompDRSCompany("1234567890"),
      TVLQCompDRSLocation("Sklep", "Opole", "45-001", "Rynek", "1A", "2"));
}

TVLQCompDRSCouponIssue SampleIssue() {
  TVLQCompDRSCouponIssue issue("K1", "1.50", "2026-12-05");
  issue.DodajEan("5900000000001", 2, "PET");
  issue.DodajEan("5900000000002", 0, "ALU");
  return issue;
}

TVLQCompDRSPackage SamplePackage() {
  TVLQCompDRSPackage package("W1", "S9", "\"2026-12-05\"", "Ala");
  package.DodajPackageContent("PET");
  package.DodajFractionContentDoPackageContent(0, "5900000000001", 3);
  package.DodajFractionContentDoPackageContent(0, "5900000000002", 0);
  package.DodajPackageContent("SZKLO");
  return package;
}

// One exact body per message family: member order, the colon styles, text
// written unescaped, numbers in plain decimal.
TEST(TVLQCompDRSRequest, MessagesWriteExactJson) {
  TVLQCompDRSEanUnknown unknown;
  unknown.GetEans()->Add(u"590");
  unknown.GetEans()->Add(u"ż1");
  TVLQCompDRSCouponConfirm confirm;
  confirm.DodajCoupon("K1", "P1", 150, "Ala", "");
  confirm.DodajCoupon("K2", "P2", 7, "Ola", "karta");
  const AnsiString unescaped("a\"b\\c\n\0d", 8);
  // A null item is skipped, but the comma before index 1 is still written.
  TVLQCompDRSCouponIssue withNull;
  withNull.GetEans()->Add(nullptr);
  withNull.DodajEan("1", 1, "A");
  TVLQCompDRSCompany company("1234567890");
  TVLQCompDRSRequest& asRequest = company;
  const std::vector<std::pair<AnsiString, AnsiString>> cases = {
      {TVLQCompDRSAuthRegistration("v", "u", "l", "p", "s").GetJSON(),
       R"({"vendor_code": "v","unique_number": "u","location_id": "l","pin": "p","source": "s"})"},
      {TVLQCompDRSAuthConfirm("v", "m", "l", "s", "p").GetJSON(),
       R"({"vendor_code": "v","mcuid": "m","location_id": "l","source": "s","pin": "p"})"},
      {SampleDiagnostics().GetJSON(),
       R"({"vendor_code": "V1","mcuid": "M2","unique_number": "U3","model": "Kasa","pos_ver": "5.1",)"
       R"("time": "2026-12-05T10:00:00","company": {"nip": "1234567890"},"location": {"name": "Sklep",)"
       R"("city": "Opole","postal_code": "45-001","street": "Rynek","building": "1A","local": "2"}})"},
      {TVLQCompDRSEanUnknown().GetJSON(), R"({"unknown_eans": []})"},
      {unknown.GetJSON(),
       "{\"unknown_eans\": [\"590\",\"\xBF"
       "1\"]}"},
      {SampleIssue().GetJSON(),
       R"({"coupon_id": "K1","value": "1.50","issue_date": "2026-12-05","eans": [)"
       R"({"ean": "5900000000001","factor": 2,"fraction": "PET"},)"
       R"({"ean": "5900000000002","factor": 0,"fraction": "ALU"}]})"},
      {confirm.GetJSON(),
       R"({"confirm_data": [{"coupon_id": "K1","receipt_id": "P1","coupon_value": 150,"cashier": "Ala"},)"
       R"({"coupon_id": "K2","receipt_id": "P2","coupon_value": 7,"cashier": "Ola","payment_type": "karta"}]})"},
      {TVLQCompDRSCoupon("a", "b", INT32_MIN, "c", "", "x", "y").GetJSON(),
       R"({"coupon_id": "a","receipt_id": "b","coupon_value": -2147483648,"cashier": "c"})"},
      {SamplePackage().GetJSON(),
       R"({"package_id": "W1","seal_number": "S9","close_date": "2026-12-05","cashier": "Ala",)"
       R"("package_content": [{"fraction" :"PET","fraction_content" : [{"ean" :"5900000000001","factor" :3},)"
       R"({"ean" :"5900000000002","factor" :0}]},{"fraction" :"SZKLO","fraction_content" : []}]})"},
      {TVLQCompDRSCompany(unescaped).GetJSON(),
       "{\"nip\": \"" + unescaped + "\"}"},
      {withNull.GetJSON(),
       R"({"coupon_id": "","value": "","issue_date": "","eans": [,{"ean": "1","factor": 1,"fraction": "A"}]})"},
      {asRequest.GetJSONBlad("error", "X"),
       R"({"error": "X","nip": "1234567890"})"},
      {TVLQCompDRSEanList().GetJSON(), ""},
      {TVLQCompDRSCouponValue().GetJSONBlad("error", "X"), ""},
      {TVLQCompDRSRequest().GetJSONBlad("error", "X"), ""},
  };
  for (const auto& [json, expected] : cases) EXPECT_EQ(json, expected);
}

TEST(TVLQCompDRSLocation, LongTextsAreCutAndStayCut) {
  using L = TVLQCompDRSLocation;
  const std::pair<AnsiString L::*, std::size_t> limits[] = {
      {&L::Name, 255},   {&L::City, 255},    {&L::PostalCode, 6},
      {&L::Street, 255}, {&L::Building, 20}, {&L::Local, 20}};
  const std::size_t emptySize = TVLQCompDRSPosDiagnostics().GetJSON().size();
  for (const auto& [field, limit] : limits) {
    for (std::size_t length : {limit, limit + 1}) {
      TVLQCompDRSPosDiagnostics diagnostics;
      diagnostics.Location.*field = AnsiString(length, 'x');
      EXPECT_EQ(diagnostics.GetJSON().size(), emptySize + limit);
      EXPECT_EQ(diagnostics.Location.*field, AnsiString(limit, 'x'));
    }
  }
  TVLQCompDRSPosDiagnostics diagnostics;
  diagnostics.Model = AnsiString(300, 'm');
  diagnostics.PosVer = AnsiString(256, 'v');
  diagnostics.VendorCode = AnsiString(300, 'c');
  EXPECT_EQ(diagnostics.GetJSON().size(), emptySize + 255 + 255 + 300);
  EXPECT_EQ(diagnostics.Model.size() + diagnostics.PosVer.size(), 510u);
}

// Each adder refuses a blank (trimmed) text and a number below its lower
// bound, but stores the texts untrimmed.
TEST(TVLQCompDRSRequest, AddersCheckTrimmedArgumentsAndKeepThemWhole) {
  TVLQCompDRSCouponIssue issue;
  EXPECT_TRUE(issue.DodajEan(" 59 ", 0, "\tPET"));
  EXPECT_FALSE(issue.DodajEan("59", -1, "PET") ||
               issue.DodajEan("59", 1, " \t\r\n") ||
               issue.DodajEan("", 1, "PET"));
  ASSERT_EQ(issue.GetIlosc(), 1);
  EXPECT_EQ(issue.GetItems(0)->Ean + issue.GetItems(0)->Fraction, " 59 \tPET");
  EXPECT_TRUE(!issue.GetItems(1) && !issue.GetItems(-1));

  TVLQCompDRSCouponConfirm confirm;
  EXPECT_EQ(confirm.GetItems(0), nullptr);
  EXPECT_FALSE(confirm.DodajCoupon("K", "P", 0, "A", "x") ||
               confirm.DodajCoupon("\t", "P", 1, "A", "x") ||
               confirm.DodajCoupon("K", " ", 1, "A", "x") ||
               confirm.DodajCoupon("K", "P", 1, "", "x"));
  EXPECT_TRUE(confirm.DodajCoupon("K", "P", 1, "A", " "));
  EXPECT_EQ(confirm.GetItems(0)->PaymentType, " ");

  TVLQCompDRSPackage package;
  EXPECT_EQ(package.DodajPackageContent("A"), 0);
  EXPECT_EQ(package.DodajPackageContent(" "), -1);
  EXPECT_EQ(package.DodajPackageContent("B"), 1);
  EXPECT_TRUE(package.DodajFractionContentDoPackageContent(1, "E", 0));
  EXPECT_FALSE(package.DodajFractionContentDoPackageContent(2, "E", 0) ||
               package.DodajFractionContentDoPackageContent(-1, "E", 0) ||
               package.DodajFractionContentDoPackageContent(0, "E", -1) ||
               package.DodajFractionContentDoPackageContent(0, "\x01", 1));
  EXPECT_EQ(package.GetItems(1)->GetIlosc(), 1);
}

TEST(TVLQCompDRSRequest, ClearingAndCopyingOwnTheItems) {
  TVLQCompDRSPackage package = SamplePackage();
  const AnsiString before = package.GetJSON();
  TVLQCompDRSPackage copy = package;
  package.Czysc();
  EXPECT_EQ(package.GetIlosc(), 2);
  package.GetItems(0)->Czysc();
  EXPECT_EQ(package.GetItems(0)->GetIlosc(), 0);
  package.WyczyscListePackageContents();
  EXPECT_EQ(package.GetIlosc(), 0);
  EXPECT_EQ(copy.GetJSON(), before);

  TVLQCompDRSCouponIssue issue = SampleIssue();
  TVLQCompDRSCouponIssue assigned;
  assigned = issue;
  issue.Czysc();
  EXPECT_EQ(issue.GetJSON(), TVLQCompDRSCouponIssue().GetJSON());
  EXPECT_EQ(assigned.GetJSON(), SampleIssue().GetJSON());

  TVLQCompDRSPosDiagnostics diagnostics = SampleDiagnostics();
  diagnostics.Czysc();
  EXPECT_EQ(diagnostics.GetJSON(), TVLQCompDRSPosDiagnostics().GetJSON());
}

}  // namespace
}  // namespace druvo
