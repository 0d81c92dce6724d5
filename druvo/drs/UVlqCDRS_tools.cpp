// Endpoint paths, hex key tools, login data and the owned string list of the
// DRS messages.
#include <array>

#include "druvo/drs/UVlqCDRS.h"
#include "druvo/platform/Exceptions.h"

namespace druvo {

namespace drs_detail {

OwnedLines::OwnedLines(const OwnedLines& other) {
  if (other.list_) list_ = std::make_unique<TStringList>(*other.list_);
}

OwnedLines& OwnedLines::operator=(OwnedLines other) noexcept {
  std::swap(list_, other.list_);
  return *this;
}

OwnedLines::~OwnedLines() = default;

TStringList* OwnedLines::Get() {
  if (!list_) list_ = std::make_unique<TStringList>();
  return list_.get();
}

}  // namespace drs_detail

namespace {

constexpr std::array<const char*, 17> kEndpointPaths = {
    "drs/v2/auth/registration",
    "drs/v2/auth/confirm",
    "drs/v2/pos/diagnostics",
    "drs/v2/ean/list",
    "drs/v2/ean/unknown",
    "drs/v2/coupon/list",
    "drs/v2/coupon/issue",
    "drs/v2/coupon/value",
    "drs/v2/coupon/confirm",
    "drs/v2/coupon/add",
    "drs/v2/package",
    "drs/v2/package/transfer",
    "drs/v2/logistic/collect",
    "drs/v2/configuration",
    "drs/v2/sale",
    "drs/v2/collection",
    "drs/v2/reclamation",
};

// "Niepoprawny znak hex" and "Długość hex musi być parzysta" in CP1250.
constexpr const char* kBadHexDigit = "Niepoprawny znak hex";
constexpr const char* kOddHexLength =
    "D\xB3ugo\x9C\xE6 hex musi by\xE6 parzysta";

}  // namespace

AnsiString GetCompDRSEndpoint(TVLQCompDRSEndpoint endpoint) {
  const int index = static_cast<int>(endpoint);
  if (index < 0 || index >= static_cast<int>(kEndpointPaths.size())) return {};
  return kEndpointPaths[static_cast<std::size_t>(index)];
}

std::uint8_t TVLQCompDRSTools::HexCharToByte(char c) {
  const auto u = static_cast<unsigned char>(c);
  if (u >= '0' && u <= '9') return static_cast<std::uint8_t>(u - '0');
  if (u >= 'a' && u <= 'f') return static_cast<std::uint8_t>(u - 'a' + 10);
  if (u >= 'A' && u <= 'F') return static_cast<std::uint8_t>(u - 'A' + 10);
  throw Exception(kBadHexDigit);
}

std::vector<std::uint8_t> TVLQCompDRSTools::HexToBytes(const AnsiString& hex) {
  if (hex.size() % 2 != 0) throw Exception(kOddHexLength);
  std::vector<std::uint8_t> bytes;
  bytes.reserve(hex.size() / 2);
  for (std::size_t p = 0; p < hex.size(); p += 2) {
    const std::uint8_t high = HexCharToByte(hex[p]);
    const std::uint8_t low = HexCharToByte(hex[p + 1]);
    bytes.push_back(static_cast<std::uint8_t>(high * 16 + low));
  }
  return bytes;
}

AnsiString TVLQCompDRSTools::HexToAnsiStringKey(const AnsiString& hex) {
  const std::vector<std::uint8_t> bytes = HexToBytes(hex);
  AnsiString key(bytes.size(), '\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    key[i] = static_cast<char>(bytes[i]);
  }
  return key;
}

WideString TVLQCompDRSTools::HexToUnicodeStringKey(const WideString& hex) {
  const std::vector<std::uint8_t> bytes = HexToBytes(WideToAnsi(hex));
  WideString key(bytes.size(), u'\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    key[i] = static_cast<char16_t>(bytes[i]);
  }
  return key;
}

void TVLQCompDRSDaneLogowania::Czysc() {
  Tekst1.clear();
  Tekst2.clear();
  Tekst3.clear();
}

}  // namespace druvo
