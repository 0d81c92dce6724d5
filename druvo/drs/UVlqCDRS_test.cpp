#include "druvo/drs/UVlqCDRS.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <tuple>
#include <typeinfo>
#include <vector>

#include "druvo/platform/Exceptions.h"
#include "tests/support/TestSupport.h"

namespace druvo {
namespace {

using test::MessageOf;
using Bytes = std::vector<std::uint8_t>;
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
      EXPECT_EQ(MessageOf([ch] { TVLQCompDRSTools::HexCharToByte(ch); }),
                kBadDigit);
    } else {
      EXPECT_EQ(TVLQCompDRSTools::HexCharToByte(ch), at < 16 ? at : at - 6);
    }
  }
  const std::vector<std::pair<AnsiString, Bytes>> good = {
      {"", {}}, {"0aFf", {10, 255}}, {"7f80", {127, 128}}};
  for (const auto& [hex, bytes] : good) {
    EXPECT_EQ(TVLQCompDRSTools::HexToBytes(hex), bytes) << hex;
  }
  // The length is tested before any digit.
  const std::vector<std::pair<AnsiString, AnsiString>> bad = {
      {"0g1", kOddLength},  {"0", kOddLength},
      {"0g", kBadDigit},    {"-1", kBadDigit},
      {"ff \t", kBadDigit}, {AnsiString("0\0", 2), kBadDigit}};
  for (const auto& [hex, error] : bad) {
    EXPECT_EQ(MessageOf([&] { TVLQCompDRSTools::HexToBytes(hex); }), error);
    EXPECT_EQ(MessageOf([&] { TVLQCompDRSTools::HexToAnsiStringKey(hex); }),
              error);
  }
  // The keys keep every byte value, zero included. 0xB9 and 0x8A are CP1250
  // letters (U+0105, U+0160): the wide key holds the byte values instead.
  EXPECT_EQ(TVLQCompDRSTools::HexToAnsiStringKey("4100ff"),
            AnsiString("A\0\xFF", 3));
  EXPECT_EQ(TVLQCompDRSTools::HexToUnicodeStringKey(u"E9b98a00"),
            WideString({0xE9, 0xB9, 0x8A, 0x00}));
  EXPECT_EQ(
      MessageOf([] { TVLQCompDRSTools::HexToUnicodeStringKey(u"0\u0105"); }),
      kBadDigit);
}

// The exact class the factory makes for each endpoint, deleted through the
// root pointer (the sanitizers catch a partial destruction).
TEST(TVLQCompDRSFactoryResponse, CreatesTheClassOfEachEndpoint) {
  // Every value not listed makes the plain root class.
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
  // Its items go with an answer deleted through the root.
  std::unique_ptr<TVLQCompDRSResponse> values(
      TVLQCompDRSFactoryResponse::UtworzObiektResponse(drsCouponValue));
  dynamic_cast<TVLQCompDRSResponseCouponValue&>(*values).DodajEan(
      new TVLQCompDRSFractionContent("E", 1));
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
      "r1", "r2", "r3",
      TVLQCompDRSResponseLocation("l1", "l2",
                                  {"a1", "a2", "a3", "a4", "a5", "a6"}));
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
  TVLQCompDRSResponseCouponConfirm confirm;
  EXPECT_TRUE(confirm.DodajCoupon(nullptr));
  confirm.Czysc();
  EXPECT_EQ(confirm.GetIlosc(), 1);
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
  confirm.DodajCoupon(nullptr);
  confirm.DodajCoupon(new TVLQCompDRSCoupon("K", "P", 5, "A", "B", "x1", "x2"));
  TVLQCompDRSResponseCouponConfirm confirmTarget;
  confirm.KopiujDo(confirmTarget);
  confirm.WyczyscListeCoupons();
  ASSERT_EQ(confirmTarget.GetIlosc(), 1);
  EXPECT_EQ(confirmTarget.GetItems(0)->Extra2, "x2");

  // The other answers copy their fields and the root's.
  TVLQCompDRSResponseCouponIssue issue("K", 4), issueTarget;
  issue.Liczba = 2;
  issue.Tekst1 = issue.Tekst2 = "r";
  issue.KopiujDo(issueTarget);
  EXPECT_EQ(
      std::tie(issueTarget.TekstKuponu, issueTarget.LiczbaKuponu,
               issueTarget.Liczba, issueTarget.Tekst1, issueTarget.Tekst2),
      std::tuple("K", 4, 2, "r", "r"));
  TVLQCompDRSResponsePackage package, packageTarget;
  static_cast<TVLQCompDRSResponse&>(package) = issue;
  package.KopiujDo(packageTarget);
  EXPECT_EQ(std::tie(packageTarget.Liczba, packageTarget.Tekst1,
                     packageTarget.Tekst2),
            std::tuple(2, "r", "r"));
}

TEST(TVLQCompDRSResponse, CopiesAreDeepAndLocationAssignmentKeepsRoot) {
  auto config = std::make_unique<TVLQCompDRSResponseConfiguration>();
  auto* group = new TVLQCompDRSGroupConfiguration;
  group->Tekst = "G";
  group->DodajFraction(new TVLQCompDRSFractionConfiguration);
  EXPECT_FALSE(group->DodajFraction(nullptr));
  EXPECT_EQ(config->DodajGroup(group), 0);
  EXPECT_EQ(config->DodajGroup(nullptr), -1);
  EXPECT_EQ(config->DodajFraction(new TVLQCompDRSFractionConfiguration), 0);
  EXPECT_EQ(config->DodajFraction(nullptr), -1);
  const TVLQCompDRSResponseConfiguration copy = *config;
  config->GetGroupsItems(0)->GetItems(0)->Tekst = "changed";
  config.reset();
  ASSERT_EQ(copy.GetGroupsIlosc(), 1);
  EXPECT_EQ(copy.GetGroupsItems(0)->Tekst, "G");
  EXPECT_EQ(copy.GetGroupsItems(0)->GetItems(0)->Tekst, "");
  EXPECT_EQ(copy.GetFractionsIlosc(), 1);

  TVLQCompDRSGroupConfiguration cleared = *copy.GetGroupsItems(0);
  cleared.Czysc();
  EXPECT_EQ(cleared.GetIlosc() + cleared.Tekst.size(), 0u);

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

}  // namespace
}  // namespace druvo
