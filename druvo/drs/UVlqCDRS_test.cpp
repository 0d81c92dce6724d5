#include "druvo/drs/UVlqCDRS.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
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

TEST(TVLQCompDRSTools, HexDigitsPairsAndErrors) {
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
      {"", {}}, {"0aFf", {10, 255}}, {"00", {0}}, {"7f80", {127, 128}}};
  for (const auto& [hex, bytes] : good) {
    EXPECT_EQ(TVLQCompDRSTools::HexToBytes(hex), bytes) << hex;
  }
  // The length is tested before any digit.
  const std::vector<std::pair<AnsiString, AnsiString>> bad = {
      {"0g1", kOddLength},     {"0", kOddLength},
      {"0g", kBadDigit},       {"0x1F", kBadDigit},
      {"ff \t", kBadDigit},    {"-1", kBadDigit},
      {"\xE9\xE9", kBadDigit}, {AnsiString("0\0", 2), kBadDigit}};
  for (const auto& [hex, error] : bad) {
    EXPECT_EQ(MessageOf([&] { TVLQCompDRSTools::HexToBytes(hex); }), error);
    EXPECT_EQ(MessageOf([&] { TVLQCompDRSTools::HexToAnsiStringKey(hex); }),
              error);
  }
}

TEST(TVLQCompDRSTools, KeysHoldEveryByteValue) {
  EXPECT_EQ(TVLQCompDRSTools::HexToAnsiStringKey(""), "");
  EXPECT_EQ(TVLQCompDRSTools::HexToUnicodeStringKey(u""), u"");
  EXPECT_EQ(TVLQCompDRSTools::HexToAnsiStringKey("00"), AnsiString(1, '\0'));
  EXPECT_EQ(TVLQCompDRSTools::HexToAnsiStringKey("4100ff"),
            AnsiString("A\0\xFF", 3));
  // 0xB9 is a CP1250 letter (U+0105) and 0x8A another (U+0160): the wide key
  // keeps the byte values, not the letters.
  EXPECT_EQ(TVLQCompDRSTools::HexToUnicodeStringKey(u"E9b98a00"),
            WideString({0xE9, 0xB9, 0x8A, 0x00}));
  EXPECT_EQ(
      MessageOf([] { TVLQCompDRSTools::HexToUnicodeStringKey(u"0\u0105"); }),
      kBadDigit);
  EXPECT_EQ(MessageOf([] { TVLQCompDRSTools::HexToUnicodeStringKey(u"abc"); }),
            kOddLength);
}

// The exact class the factory makes for each endpoint, deleted through the
// root pointer (the sanitizers catch a partial destruction).
TEST(TVLQCompDRSFactoryResponse, CreatesTheClassOfEachEndpoint) {
  std::vector<std::pair<int, const std::type_info*>> cases = {
      {0, &typeid(TVLQCompDRSResponseAuthRegistration)},
      {1, &typeid(TVLQCompDRSResponseAuthConfirm)},
      {2, &typeid(TVLQCompDRSResponsePosDiagnostics)},
      {3, &typeid(TVLQCompDRSResponseEANList)},
      {4, &typeid(TVLQCompDRSResponsePackage)},
      {5, &typeid(TVLQCompDRSResponseCouponList)},
      {6, &typeid(TVLQCompDRSResponseCouponIssue)},
      {7, &typeid(TVLQCompDRSResponseCouponValue)},
      {8, &typeid(TVLQCompDRSResponseCouponConfirm)},
      {9, &typeid(TVLQCompDRSResponsePackage)},
      {10, &typeid(TVLQCompDRSResponsePackage)},
      {13, &typeid(TVLQCompDRSResponseConfiguration)},
  };
  for (int plain : {11, 12, 14, 15, 16, 17, 99, -1}) {
    cases.emplace_back(plain, &typeid(TVLQCompDRSResponse));
  }
  for (const auto& [endpoint, type] : cases) {
    std::unique_ptr<TVLQCompDRSResponse> answer(
        TVLQCompDRSFactoryResponse::UtworzObiektResponse(
            static_cast<TVLQCompDRSEndpoint>(endpoint)));
    ASSERT_NE(answer, nullptr);
    EXPECT_EQ(typeid(*answer), *type) << endpoint;
  }
  std::unique_ptr<TVLQCompDRSResponse> values(
      TVLQCompDRSFactoryResponse::UtworzObiektResponse(drsCouponValue));
  auto* coupons = dynamic_cast<TVLQCompDRSResponseCouponValue*>(values.get());
  ASSERT_NE(coupons, nullptr);
  coupons->DodajEan(new TVLQCompDRSFractionContent("E", 1));
}

TEST(TVLQCompDRSResponse, DefaultsAndWhatCzyscRestores) {
  TVLQCompDRSResponseConfiguration config;
  EXPECT_EQ(config.Ustawienie3, 20);
  EXPECT_EQ(config.Ustawienie6, 86400);
  EXPECT_EQ(config.GetGroupsIlosc() + config.GetFractionsIlosc(), 0);
  config.Liczba = 5;
  config.Ustawienie1 = config.Ustawienie6 = 1;
  config.Znacznik = true;
  config.DodajFraction(new TVLQCompDRSFractionConfiguration);
  TVLQCompDRSResponse& root = config;
  root.Czysc();
  EXPECT_EQ(config.Liczba, 5);
  EXPECT_EQ(config.Ustawienie1, 20);
  EXPECT_EQ(config.Ustawienie6, 86400);
  EXPECT_FALSE(config.Znacznik);
  EXPECT_EQ(config.GetFractionsIlosc(), 1);
  EXPECT_EQ(config.GetFractionsItems(0)->Liczba1, -1);
  EXPECT_TRUE(config.GetFractionsItems(0)->Znacznik);

  const TVLQCompDRSResponseEAN ean("a", "b", 7, "c", 1, 2, "d", "e", 3.5, true);
  EXPECT_EQ(TVLQCompDRSResponseEAN().Liczba1, -1);
  EXPECT_EQ(ean.Liczba1, 7);
  EXPECT_FALSE(ean.Znacznik2);
  EXPECT_EQ(ean.Liczba4 + ean.Liczba10, 0);

  TVLQCompDRSResponseAuthRegistration registration(
      "r1", "r2", "r3",
      TVLQCompDRSResponseLocation("l1", "l2",
                                  {"a1", "a2", "a3", "a4", "a5", "a6"}));
  registration.Tekst1 = "root";
  static_cast<TVLQCompDRSResponse&>(registration).Czysc();
  EXPECT_EQ(registration.Tekst1, "");
  EXPECT_EQ(registration.Lokalizacja.TekstLokalizacji1, "");
  EXPECT_EQ(registration.Lokalizacja.Adres.Tekst6, "");

  TVLQCompDRSResponsePosDiagnostics diagnostics(true);
  diagnostics.Liczba = 3;
  diagnostics.Czysc();
  EXPECT_TRUE(diagnostics.Znacznik);
  EXPECT_EQ(diagnostics.Liczba, 0);
  EXPECT_FALSE(TVLQCompDRSResponsePosDiagnostics().Znacznik);

  TVLQCompDRSResponseEANList eans;
  eans.Liczba = 1;
  EXPECT_TRUE(eans.DodajEan(new TVLQCompDRSResponseEAN));
  EXPECT_FALSE(eans.DodajEan(nullptr));
  eans.Czysc();
  EXPECT_EQ(eans.Liczba, 0);
  EXPECT_EQ(eans.GetIlosc(), 1);
  TVLQCompDRSResponseCouponConfirm confirm;
  EXPECT_TRUE(confirm.DodajCoupon(nullptr));
  confirm.Czysc();
  EXPECT_EQ(confirm.GetIlosc(), 1);
}

TEST(TVLQCompDRSResponseCouponList, KeepsUntrimmedLinesAndRefusesBlanks) {
  TVLQCompDRSResponseCouponList list;
  EXPECT_EQ(list.GetItems(0), "");
  EXPECT_FALSE(list.DodajCoupon(" \t\r\n"));
  EXPECT_TRUE(list.DodajCoupon(" K1 "));
  EXPECT_TRUE(list.DodajCoupon("\xB9\x8A"));
  EXPECT_EQ(list.GetCoupons()->Strings(1), u"\u0105\u0160");
  EXPECT_EQ(list.GetItems(0), " K1 ");
  EXPECT_EQ(list.GetItems(1), "\xB9\x8A");
  EXPECT_EQ(list.GetItems(5), "");
  const TVLQCompDRSResponseCouponList copy = list;
  list.Tekst2 = "x";
  list.Czysc();
  EXPECT_EQ(list.GetIlosc(), 0);
  EXPECT_EQ(list.Tekst2, "");
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
  EXPECT_NE(target.GetItems(0), value.GetItems(0));
  EXPECT_EQ(target.LiczbaKuponu, 9);
  value.KopiujDo(value);
  EXPECT_EQ(value.GetIlosc(), 4);
  value.Czysc();
  EXPECT_EQ(value.GetIlosc(), 0);
  EXPECT_EQ(target.GetItems(1)->Ean, "E2");

  TVLQCompDRSResponseCouponConfirm confirm;
  confirm.DodajCoupon(nullptr);
  confirm.DodajCoupon(new TVLQCompDRSCoupon("K", "P", 5, "A", "B", "x1", "x2"));
  TVLQCompDRSResponseCouponConfirm confirmTarget;
  confirm.KopiujDo(confirmTarget);
  ASSERT_EQ(confirmTarget.GetIlosc(), 1);
  EXPECT_EQ(confirmTarget.GetItems(0)->Extra2, "x2");
  confirm.WyczyscListeCoupons();
  EXPECT_EQ(confirmTarget.GetItems(0)->CouponValue, 5);
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
  EXPECT_EQ(copy.GetGroupsItems(1), nullptr);

  TVLQCompDRSGroupConfiguration cleared = *copy.GetGroupsItems(0);
  cleared.Czysc();
  EXPECT_EQ(cleared.GetIlosc(), 0);
  EXPECT_EQ(cleared.Tekst, "");

  TVLQCompDRSResponseLocation source("a", "b", {"1", "2", "3", "4", "5", "6"});
  source.Liczba = 7;
  TVLQCompDRSResponseLocation target;
  target = source;
  EXPECT_EQ(target.Liczba, 0);
  EXPECT_EQ(target.TekstLokalizacji2, "b");
  EXPECT_EQ(target.Adres.Tekst4, "4");
  const TVLQCompDRSResponseAuthConfirm confirm("c", "d", source.Adres);
  EXPECT_EQ(confirm.TekstLokalizacji1 + confirm.Adres.Tekst1, "c1");
}

}  // namespace
}  // namespace druvo
