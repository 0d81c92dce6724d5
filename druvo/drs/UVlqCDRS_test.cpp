#include "druvo/drs/UVlqCDRS.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <tuple>
#include <type_traits>
#include <typeinfo>
#include <utility>
#include <vector>

#include "tests/support/TestSupport.h"

namespace druvo {
namespace {

using test::MessageOf;
using Bytes = std::vector<std::uint8_t>;
using Tools = TVLQCompDRSTools;
const AnsiString kBadDigit = "Niepoprawny znak hex";
const AnsiString kOddLength = Utf8ToAnsi("Długość hex musi być parzysta");

TEST(UVlqCDRS, EndpointPathsAndOutOfRange) {
  AnsiString paths = GetCompDRSEndpoint(TVLQCompDRSEndpoint(INT32_MIN));
  for (int value = -1; value <= 17; ++value) {
    paths += GetCompDRSEndpoint(static_cast<TVLQCompDRSEndpoint>(value)) + "|";
  }
  EXPECT_EQ(paths,
            "|drs/v2/auth/registration|drs/v2/auth/confirm|"
            "drs/v2/pos/diagnostics|drs/v2/ean/list|drs/v2/ean/unknown|"
            "drs/v2/coupon/list|drs/v2/coupon/issue|drs/v2/coupon/value|"
            "drs/v2/coupon/confirm|drs/v2/coupon/add|drs/v2/package|"
            "drs/v2/package/transfer|drs/v2/logistic/collect|"
            "drs/v2/configuration|drs/v2/sale|drs/v2/collection|"
            "drs/v2/reclamation||");
}

TEST(TVLQCompDRSTools, HexDigitsPairsKeysAndErrors) {
  const AnsiString digits = "0123456789abcdefABCDEF";
  for (int c = 0; c < 256; ++c) {
    const char ch = static_cast<char>(c);
    const auto at = digits.find(ch);
    if (at == AnsiString::npos) {
      EXPECT_EQ(MessageOf([ch] { Tools::HexCharToByte(ch); }), kBadDigit);
    } else {
      EXPECT_EQ(Tools::HexCharToByte(ch), at < 16 ? at : at - 6);
    }
  }
  const std::vector<std::pair<AnsiString, Bytes>> good = {
      {"", {}}, {"0aFf", {10, 255}}, {"7f80", {127, 128}}};
  for (const auto& [hex, bytes] : good) {
    EXPECT_EQ(Tools::HexToBytes(hex), bytes) << hex;
  }
  // The length is tested before any digit.
  const std::vector<std::pair<AnsiString, AnsiString>> bad = {
      {"0g1", kOddLength},  {"0", kOddLength},
      {"0g", kBadDigit},    {"-1", kBadDigit},
      {"ff \t", kBadDigit}, {AnsiString("0\0", 2), kBadDigit}};
  for (const auto& [hex, error] : bad) {
    EXPECT_EQ(MessageOf([&] { Tools::HexToBytes(hex); }), error);
  }
  // The keys keep every byte value, zero included. 0xB9 and 0x8A are CP1250
  // letters (U+0105, U+0160): the wide key holds the byte values instead.
  EXPECT_EQ(Tools::HexToAnsiStringKey("4100ff"), AnsiString("A\0\xFF", 3));
  EXPECT_EQ(Tools::HexToUnicodeStringKey(u"E9b98a00"),
            WideString({0xE9, 0xB9, 0x8A, 0x00}));
  EXPECT_EQ(MessageOf([] { Tools::HexToUnicodeStringKey(u"0\u0105"); }),
            kBadDigit);
}

// The exact class the factory makes for each endpoint, deleted through the
// root pointer (the sanitizers catch a partial destruction).
static_assert(std::has_virtual_destructor_v<TVLQCompDRSResponse>);
TEST(TVLQCompDRSFactoryResponse, CreatesTheClassOfEachEndpoint) {
  const std::pair<const std::type_info*, std::vector<int>> kinds[] = {
      {&typeid(TVLQCompDRSResponseAuthRegistration), {0}},
      {&typeid(TVLQCompDRSResponseAuthConfirm), {1}},
      {&typeid(TVLQCompDRSResponsePosDiagnostics), {2}},
      {&typeid(TVLQCompDRSResponseEANList), {3}},
      {&typeid(TVLQCompDRSResponsePackage), {4, 9, 10}},
      {&typeid(TVLQCompDRSResponseCouponList), {5}},
      {&typeid(TVLQCompDRSResponseCouponIssue), {6}},
      {&typeid(TVLQCompDRSResponseCouponValue), {7}},
      {&typeid(TVLQCompDRSResponseCouponConfirm), {8}},
      {&typeid(TVLQCompDRSResponseConfiguration), {13}},
      {&typeid(TVLQCompDRSResponse), {11, 12, 14, 15, 16, 17, 99, -1}},
  };
  for (const auto& [type, endpoints] : kinds) {
    for (int endpoint : endpoints) {
      std::unique_ptr<TVLQCompDRSResponse> answer(
          TVLQCompDRSFactoryResponse::UtworzObiektResponse(
              static_cast<TVLQCompDRSEndpoint>(endpoint)));
      ASSERT_NE(answer, nullptr);
      EXPECT_EQ(typeid(*answer), *type) << endpoint;
    }
  }
}

// Czysc() through the root: each class restores what it defines and keeps
// the rest (lists, flag, the root's number of a configuration).
TEST(TVLQCompDRSResponse, DefaultsAndWhatCzyscRestores) {
  TVLQCompDRSResponseConfiguration config;
  config.Liczba = 5;
  config.Ustawienie1 = config.Ustawienie6 = 1;
  config.Znacznik = true;
  config.DodajFraction(new TVLQCompDRSFractionConfiguration);
  static_cast<TVLQCompDRSResponse&>(config).Czysc();
  EXPECT_EQ(std::tie(config.Liczba, config.Ustawienie1, config.Ustawienie6,
                     config.Znacznik),
            std::tuple(5, 20, 86400, false));
  EXPECT_EQ(config.GetFractionsIlosc(), 1);

  TVLQCompDRSResponseAuthRegistration registration(
      "r1", "r2", "r3", {"l1", "l2", {"a1", "a2", "a3", "a4", "a5", "a6"}});
  registration.Tekst1 = "root";
  static_cast<TVLQCompDRSResponse&>(registration).Czysc();
  EXPECT_EQ(registration.Tekst1 + registration.TekstRejestracji3 +
                registration.Lokalizacja.TekstLokalizacji1 +
                registration.Lokalizacja.Adres.Tekst6,
            "");

  TVLQCompDRSResponsePosDiagnostics diagnostics(true);
  diagnostics.Liczba = 3;
  diagnostics.Czysc();
  EXPECT_TRUE(diagnostics.Znacznik && diagnostics.Liczba == 0);

  TVLQCompDRSResponseEANList eans;
  eans.Liczba = 1;
  EXPECT_TRUE(eans.DodajEan(new TVLQCompDRSResponseEAN(
      "t1", "t2", 1, "t3", 2, 3, "t4", "t5", 0.5, true, true, "t6", "t7", 4, 5,
      6, 7, 8, 9, 10, 11.5, "t8", "t9", "t10", 12.5, 13.5)));
  EXPECT_FALSE(eans.DodajEan(nullptr));
  eans.Czysc();
  ASSERT_EQ(eans.Liczba + eans.GetIlosc(), 1);
  // The 26 values land in the service's order.
  const TVLQCompDRSResponseEAN& e = *eans.GetItems(0);
  EXPECT_EQ(e.Tekst1 + e.Tekst2 + e.Tekst3 + e.Tekst4 + e.Tekst5 + e.Tekst6 +
                e.Tekst7 + e.Tekst8 + e.Tekst9 + e.Tekst10,
            "t1t2t3t4t5t6t7t8t9t10");
  EXPECT_EQ(std::tie(e.Liczba1, e.Liczba2, e.Liczba3, e.Liczba4, e.Liczba5,
                     e.Liczba6, e.Liczba7, e.Liczba8, e.Liczba9, e.Liczba10),
            std::tuple(1, 2, 3, 4, 5, 6, 7, 8, 9, 10));
  EXPECT_EQ(std::tie(e.Data1, e.Data2, e.Data3, e.Data4),
            std::tuple(0.5, 11.5, 12.5, 13.5));
  EXPECT_TRUE(e.Znacznik1 && e.Znacznik2);
}

TEST(TVLQCompDRSResponseCouponList, KeepsUntrimmedLinesAndRefusesBlanks) {
  TVLQCompDRSResponseCouponList list;
  EXPECT_EQ(list.GetItems(0), "");
  EXPECT_FALSE(list.DodajCoupon(" \t\r\n"));
  EXPECT_TRUE(list.DodajCoupon(" K1 ") && list.DodajCoupon("\xB9\x8A"));
  EXPECT_EQ(list.GetCoupons()->Strings(1), u"\u0105\u0160");
  EXPECT_EQ(list.GetItems(0) + list.GetItems(1), " K1 \xB9\x8A");
  EXPECT_EQ(list.GetItems(2) + list.GetItems(-1), "");
  const TVLQCompDRSResponseCouponList copy = list;
  list.Tekst2 = "x";
  list.Czysc();
  EXPECT_EQ(list.GetIlosc() + list.Tekst2.size(), 0u);
  EXPECT_EQ(copy.GetItems(1), "\xB9\x8A");
}

TEST(TVLQCompDRSResponse, KopiujDoAppendsDeepCopies) {
  TVLQCompDRSResponseCouponValue value("T", 9);
  value.DodajEan(new TVLQCompDRSFractionContent("E1", 1));
  value.DodajEan(new TVLQCompDRSFractionContent("E2", 0));
  EXPECT_FALSE(value.DodajEan(nullptr));
  TVLQCompDRSResponseCouponValue target;
  value.KopiujDo(target);
  value.KopiujDo(target);
  ASSERT_EQ(target.GetIlosc(), 4);
  EXPECT_EQ(target.GetItems(3)->Ean, "E2");
  EXPECT_EQ(target.LiczbaKuponu, 9);
  value.KopiujDo(value);  // each item appended once
  EXPECT_EQ(value.GetIlosc(), 4);
  value.Czysc();
  EXPECT_EQ(value.GetIlosc(), 0);
  EXPECT_EQ(target.GetItems(1)->Ean, "E2");

  TVLQCompDRSResponseCouponConfirm confirm;
  EXPECT_TRUE(confirm.DodajCoupon(nullptr));
  confirm.DodajCoupon(new TVLQCompDRSCoupon("K", "P", 5, "A", "B", "x1", "x2"));
  TVLQCompDRSResponseCouponConfirm confirmTarget;
  confirm.KopiujDo(confirmTarget);
  confirm.Czysc();  // the root's fields only
  EXPECT_EQ(confirm.GetIlosc(), 2);
  confirm.WyczyscListeCoupons();
  ASSERT_EQ(confirmTarget.GetIlosc(), 1);
  EXPECT_EQ(confirmTarget.GetItems(0)->Extra2, "x2");

  // The other answers copy their fields and the root's.
  TVLQCompDRSResponseCouponIssue issue("K", 4), issueTarget;
  static_cast<TVLQCompDRSResponse&>(issue) = TVLQCompDRSResponse(2, "r1", "r2");
  issue.KopiujDo(issueTarget);
  EXPECT_EQ(issueTarget.TekstKuponu + std::to_string(issueTarget.LiczbaKuponu),
            "K4");
  TVLQCompDRSResponsePackage package, packageTarget;
  static_cast<TVLQCompDRSResponse&>(package) = issue;
  package.KopiujDo(packageTarget);
  const TVLQCompDRSResponse* roots[] = {&issueTarget, &packageTarget};
  for (const TVLQCompDRSResponse* r : roots) {
    EXPECT_EQ(std::tie(r->Liczba, r->Tekst1, r->Tekst2),
              std::tuple(2, "r1", "r2"));
  }
}

TEST(TVLQCompDRSResponse, ConfigurationAddersAndLocationAssignmentKeepsRoot) {
  TVLQCompDRSResponseConfiguration config;
  auto* group = new TVLQCompDRSGroupConfiguration;
  group->Tekst = "G";
  group->DodajFraction(new TVLQCompDRSFractionConfiguration);
  EXPECT_FALSE(group->DodajFraction(nullptr));
  EXPECT_EQ(config.DodajGroup(group), 0);
  EXPECT_EQ(config.DodajGroup(nullptr), -1);
  EXPECT_EQ(config.DodajFraction(new TVLQCompDRSFractionConfiguration), 0);
  EXPECT_EQ(config.DodajFraction(nullptr), -1);
  ASSERT_EQ(config.GetGroupsItems(0)->GetIlosc(), 1);
  group->Czysc();
  EXPECT_EQ(group->GetIlosc() + group->Tekst.size(), 0u);

  TVLQCompDRSResponseLocation source("a", "b", {"1", "2", "3", "4", "5", "6"});
  source.Liczba = 7;
  TVLQCompDRSResponseLocation target;
  target = source;
  EXPECT_EQ(
      std::tie(target.Liczba, target.TekstLokalizacji2, target.Adres.Tekst4),
      std::tuple(0, "b", "4"));
  const TVLQCompDRSResponseAuthConfirm confirm("c", "d", source.Adres);
  EXPECT_EQ(confirm.TekstLokalizacji1 + confirm.Adres.Tekst1, "c1");
}

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
  EXPECT_EQ(package.PackageId + package.SealNumber + package.CloseDate +
                package.Cashier,
            "");
  EXPECT_EQ(package.GetIlosc(), 2);  // the contents stay
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
