#include <gtest/gtest.h>

#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>
#include <utility>
#include <vector>

#include "druvo/drs/UVlqCDRS.h"

namespace druvo {
namespace {

using Json = nlohmann::json;

TVLQCompDRSLocation SampleLocation() {
  return TVLQCompDRSLocation("Sklep", "Opole", "45-001", "Rynek", "1A", "2");
}

TVLQCompDRSPosDiagnostics SampleDiagnostics() {
  return TVLQCompDRSPosDiagnostics(
      "V1", "M2", "U3", "Kasa", "5.1", "2026-12-05T10:00:00",
      TVLQCompDRSCompany("1234567890"), SampleLocation());
}

TVLQCompDRSCouponIssue SampleIssue() {
  TVLQCompDRSCouponIssue issue("K1", "1.50", "2026-12-05");
  issue.DodajEan("5900000000001", 2, "PET");
  issue.DodajEan("5900000000002", 0, "ALU");
  return issue;
}

TVLQCompDRSCouponConfirm SampleConfirm() {
  TVLQCompDRSCouponConfirm confirm;
  confirm.DodajCoupon("K1", "P1", 150, "Ala", "");
  confirm.DodajCoupon("K2", "P2", 7, "Ola", "karta");
  return confirm;
}

TVLQCompDRSPackage SamplePackage() {
  TVLQCompDRSPackage package("W1", "S9", "\"2026-12-05\"", "Ala");
  package.DodajPackageContent("PET");
  package.DodajFractionContentDoPackageContent(0, "5900000000001", 3);
  package.DodajFractionContentDoPackageContent(0, "5900000000002", 0);
  package.DodajPackageContent("SZKLO");
  return package;
}

TEST(TVLQCompDRSRequest, MessagesWriteExactJson) {
  TVLQCompDRSEanUnknown unknown;
  unknown.GetEans()->Add(u"590");
  unknown.GetEans()->Add(u"ż1");
  TVLQCompDRSPackageContent content("PET");
  content.DodajFractionContent("5900000000001", 3);
  const AnsiString unescaped("a\"b\\c\n\0d", 8);
  // A null item is skipped, but the comma before index 1 is still written.
  TVLQCompDRSCouponIssue withNull;
  withNull.GetEans()->Add(nullptr);
  withNull.DodajEan("1", 1, "A");
  TVLQCompDRSCompany company("1234567890");
  TVLQCompDRSRequest& asRequest = company;
  const std::vector<std::pair<AnsiString, AnsiString>> cases = {
      {TVLQCompDRSAuthRegistration().GetJSON(),
       R"({"vendor_code": "","unique_number": "","location_id": "","pin": "","source": ""})"},
      {TVLQCompDRSAuthRegistration("v", "u", "l", "p", "s").GetJSON(),
       R"({"vendor_code": "v","unique_number": "u","location_id": "l","pin": "p","source": "s"})"},
      {TVLQCompDRSAuthConfirm().GetJSON(),
       R"({"vendor_code": "","mcuid": "","location_id": "","source": "","pin": ""})"},
      {TVLQCompDRSAuthConfirm("v", "m", "l", "s", "p").GetJSON(),
       R"({"vendor_code": "v","mcuid": "m","location_id": "l","source": "s","pin": "p"})"},
      {TVLQCompDRSCompany("1234567890").GetJSON(), R"({"nip": "1234567890"})"},
      {TVLQCompDRSPosDiagnostics().GetJSON(),
       R"({"vendor_code": "","mcuid": "","unique_number": "","model": "","pos_ver": "","time": "0",)"
       R"("company": {"nip": ""},"location": {"name": "","city": "","postal_code": "",)"
       R"("street": "","building": "","local": ""}})"},
      {SampleDiagnostics().GetJSON(),
       R"({"vendor_code": "V1","mcuid": "M2","unique_number": "U3","model": "Kasa","pos_ver": "5.1",)"
       R"("time": "2026-12-05T10:00:00","company": {"nip": "1234567890"},"location": {"name": "Sklep",)"
       R"("city": "Opole","postal_code": "45-001","street": "Rynek","building": "1A","local": "2"}})"},
      {TVLQCompDRSEanUnknown().GetJSON(), R"({"unknown_eans": []})"},
      {unknown.GetJSON(),
       "{\"unknown_eans\": [\"590\",\"\xBF"
       "1\"]}"},
      {TVLQCompDRSCouponIssue().GetJSON(),
       R"({"coupon_id": "","value": "","issue_date": "","eans": []})"},
      {SampleIssue().GetJSON(),
       R"({"coupon_id": "K1","value": "1.50","issue_date": "2026-12-05","eans": [)"
       R"({"ean": "5900000000001","factor": 2,"fraction": "PET"},)"
       R"({"ean": "5900000000002","factor": 0,"fraction": "ALU"}]})"},
      {TVLQCompDRSEan().GetJSON(),
       R"({"ean": "","factor": -1,"fraction": ""})"},
      {SampleConfirm().GetJSON(),
       R"({"confirm_data": [{"coupon_id": "K1","receipt_id": "P1","coupon_value": 150,"cashier": "Ala"},)"
       R"({"coupon_id": "K2","receipt_id": "P2","coupon_value": 7,"cashier": "Ola","payment_type": "karta"}]})"},
      {TVLQCompDRSCoupon("a", "b", INT32_MIN, "c", "", "x", "y").GetJSON(),
       R"({"coupon_id": "a","receipt_id": "b","coupon_value": -2147483648,"cashier": "c"})"},
      {TVLQCompDRSFractionContent("5900000000001", 3).GetJSON(),
       R"({"ean" :"5900000000001","factor" :3})"},
      {content.GetJSON(),
       R"({"fraction" :"PET","fraction_content" : [{"ean" :"5900000000001","factor" :3}]})"},
      {SamplePackage().GetJSON(),
       R"({"package_id": "W1","seal_number": "S9","close_date": "2026-12-05","cashier": "Ala",)"
       R"("package_content": [{"fraction" :"PET","fraction_content" : [{"ean" :"5900000000001","factor" :3},)"
       R"({"ean" :"5900000000002","factor" :0}]},{"fraction" :"SZKLO","fraction_content" : []}]})"},
      {TVLQCompDRSPackage().GetJSON(),
       R"({"package_id": "","seal_number": "","close_date": ,"cashier": "","package_content": []})"},
      {TVLQCompDRSCompany(unescaped).GetJSON(),
       "{\"nip\": \"" + unescaped + "\"}"},
      {withNull.GetJSON(),
       R"({"coupon_id": "","value": "","issue_date": "","eans": [,{"ean": "1","factor": 1,"fraction": "A"}]})"},
      {asRequest.GetJSONBlad("error", "X"),
       R"({"error": "X","nip": "1234567890"})"},
      {company.GetJSONBlad("", ""), R"({"": "","nip": "1234567890"})"},
      {TVLQCompDRSEanList().GetJSON(), ""},
      {TVLQCompDRSCouponValue("x").GetJSON(), ""},
      {TVLQCompDRSEanList().GetJSONBlad("error", "X"), ""},
      {TVLQCompDRSCouponValue().GetJSONBlad("error", "X"), ""},
      {TVLQCompDRSRequest().GetJSONBlad("error", "X"), ""},
  };
  for (const auto& [json, expected] : cases) EXPECT_EQ(json, expected);
}

TEST(TVLQCompDRSLocation, LongTextsAreCutAndStayCut) {
  using Field = AnsiString TVLQCompDRSLocation::*;
  const std::vector<std::pair<Field, std::size_t>> limits = {
      {&TVLQCompDRSLocation::Name, 255},
      {&TVLQCompDRSLocation::City, 255},
      {&TVLQCompDRSLocation::PostalCode, 6},
      {&TVLQCompDRSLocation::Street, 255},
      {&TVLQCompDRSLocation::Building, 20},
      {&TVLQCompDRSLocation::Local, 20}};
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

TEST(TVLQCompDRSRequest, AddersCheckTrimmedArgumentsAndKeepThemWhole) {
  TVLQCompDRSCouponIssue issue;
  EXPECT_TRUE(issue.DodajEan(" 59 ", 0, "\tPET"));
  EXPECT_FALSE(issue.DodajEan("59", -1, "PET"));
  EXPECT_FALSE(issue.DodajEan("59", 1, " \t\r\n"));
  EXPECT_FALSE(issue.DodajEan("", 1, "PET"));
  ASSERT_EQ(issue.GetIlosc(), 1);
  EXPECT_EQ(issue.GetItems(0)->Ean, " 59 ");
  EXPECT_EQ(issue.GetItems(0)->Fraction, "\tPET");
  EXPECT_EQ(issue.GetItems(1), nullptr);
  EXPECT_EQ(issue.GetItems(-1), nullptr);

  TVLQCompDRSCouponConfirm confirm;
  EXPECT_EQ(confirm.GetItems(0), nullptr);
  EXPECT_FALSE(confirm.DodajCoupon("K", "P", 0, "A", "x"));
  EXPECT_FALSE(confirm.DodajCoupon("K", " ", 1, "A", "x"));
  EXPECT_FALSE(confirm.DodajCoupon("K", "P", 1, "", "x"));
  EXPECT_TRUE(confirm.DodajCoupon("K", "P", 1, "A", " "));
  EXPECT_EQ(confirm.GetItems(0)->PaymentType, " ");

  TVLQCompDRSPackage package;
  EXPECT_EQ(package.DodajPackageContent("A"), 0);
  EXPECT_EQ(package.DodajPackageContent(" "), -1);
  EXPECT_EQ(package.DodajPackageContent("B"), 1);
  EXPECT_EQ(package.DodajPackageContent("C"), 2);
  EXPECT_TRUE(package.DodajFractionContentDoPackageContent(2, "E", 0));
  EXPECT_FALSE(package.DodajFractionContentDoPackageContent(3, "E", 0));
  EXPECT_FALSE(package.DodajFractionContentDoPackageContent(-1, "E", 0));
  EXPECT_FALSE(package.DodajFractionContentDoPackageContent(0, "E", -1));
  EXPECT_FALSE(package.DodajFractionContentDoPackageContent(0, "\x01", 1));
  EXPECT_EQ(package.GetItems(2)->GetIlosc(), 1);
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

TEST(TVLQCompDRSRequest, JsonReadsBackWithAParser) {
  const Json diagnostics = Json::parse(SampleDiagnostics().GetJSON());
  EXPECT_EQ(diagnostics["pos_ver"], "5.1");
  EXPECT_EQ(diagnostics["company"]["nip"], "1234567890");
  EXPECT_EQ(diagnostics["location"]["postal_code"], "45-001");

  const Json issue = Json::parse(SampleIssue().GetJSONBlad("error", "zle"));
  EXPECT_EQ(issue["error"], "zle");
  EXPECT_EQ(issue["value"], "1.50");
  ASSERT_EQ(issue["eans"].size(), 2u);
  EXPECT_EQ(issue["eans"][1]["factor"], 0);
  EXPECT_EQ(issue["eans"][1]["fraction"], "ALU");

  const Json confirm = Json::parse(SampleConfirm().GetJSON());
  EXPECT_FALSE(confirm["confirm_data"][0].contains("payment_type"));
  EXPECT_EQ(confirm["confirm_data"][1]["payment_type"], "karta");
  EXPECT_EQ(confirm["confirm_data"][0]["coupon_value"], 150);

  const Json package = Json::parse(SamplePackage().GetJSON());
  EXPECT_EQ(package["close_date"], "2026-12-05");
  EXPECT_EQ(package["package_content"][0]["fraction_content"][1]["ean"],
            "5900000000002");
  EXPECT_TRUE(package["package_content"][1]["fraction_content"].empty());

  TVLQCompDRSEanUnknown unknown;
  unknown.GetEans()->Add(u"1");
  unknown.GetEans()->Add(u"2");
  EXPECT_EQ(Json::parse(unknown.GetJSON())["unknown_eans"],
            Json::array({"1", "2"}));
}

}  // namespace
}  // namespace druvo
