// libFuzzer target for the DRS messages: the hex key tools over the whole
// input, and every request and list answer filled from its fields.
//
// The input splits at '|' into fields (any other byte, the zero byte too,
// belongs to a field); a field that reads as a decimal integer gives that
// number, any other its length minus one. Besides crashes the target checks
// what must hold for any text: the three hex tools agree, every body is one
// object, GetJSONBlad only puts the error in front, a second GetJSON gives
// the same bytes, over-long location texts stay cut, and copies are
// independent of their source. Any difference aborts.
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "druvo/drs/UVlqCDRS.h"
#include "druvo/platform/Exceptions.h"

namespace {

using namespace druvo;

[[noreturn]] void Fail(const char* what) {
  std::fprintf(stderr, "drs_fuzz: %s\n", what);
  std::abort();
}

void Check(bool ok, const char* what) {
  if (!ok) Fail(what);
}

class Fields {
 public:
  explicit Fields(const std::string& input) {
    std::size_t start = 0;
    for (;;) {
      const std::size_t bar = input.find('|', start);
      fields_.push_back(input.substr(start, bar - start));
      if (bar == std::string::npos) break;
      start = bar + 1;
    }
  }
  std::size_t Size() const { return fields_.size(); }
  const AnsiString& Text(std::size_t i) const {
    static const AnsiString empty;
    return i < fields_.size() ? fields_[i] : empty;
  }
  int Number(std::size_t i) const {
    const AnsiString& text = Text(i);
    int value = 0;
    const auto [end, error] =
        std::from_chars(text.data(), text.data() + text.size(), value);
    if (error == std::errc() && end == text.data() + text.size()) return value;
    return static_cast<int>(text.size()) - 1;
  }

 private:
  std::vector<AnsiString> fields_;
};

void CheckHex(const std::string& input) {
  std::string bytesError = "(none)";
  std::vector<std::uint8_t> bytes;
  try {
    bytes = TVLQCompDRSTools::HexToBytes(input);
  } catch (const Exception& e) {
    bytesError = e.Message;
  }
  std::string wideError = "(none)";
  WideString wide;
  try {
    wide = TVLQCompDRSTools::HexToUnicodeStringKey(AnsiToWide(input));
  } catch (const Exception& e) {
    wideError = e.Message;
  }
  Check(bytesError == wideError, "hex tools disagree on the error");
  if (bytesError != "(none)") return;
  Check(bytes.size() * 2 == input.size(), "hex byte count");
  const AnsiString key = TVLQCompDRSTools::HexToAnsiStringKey(input);
  Check(key.size() == bytes.size() && wide.size() == bytes.size(),
        "hex key lengths");
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    Check(static_cast<std::uint8_t>(key[i]) == bytes[i] && wide[i] == bytes[i],
          "hex key bytes");
  }
}

// One object; a second call gives the same bytes; the error goes in front.
AnsiString CheckBody(TVLQCompDRSRequest& message, const Fields& f) {
  const AnsiString json = message.GetJSON();
  Check(json.size() >= 2 && json.front() == '{' && json.back() == '}',
        "body is not one object");
  Check(message.GetJSON() == json, "second GetJSON differs");
  const AnsiString blad = message.GetJSONBlad(f.Text(0), f.Text(1));
  Check(
      blad == "{\"" + f.Text(0) + "\": \"" + f.Text(1) + "\"," + json.substr(1),
      "GetJSONBlad");
  return json;
}

void CheckRequests(const Fields& f) {
  TVLQCompDRSCompany company(f.Text(0));
  Check(CheckBody(company, f) == "{\"nip\": \"" + f.Text(0) + "\"}", "company");
  TVLQCompDRSAuthRegistration registration(f.Text(0), f.Text(1), f.Text(2),
                                           f.Text(3), f.Text(4));
  CheckBody(registration, f);
  TVLQCompDRSAuthConfirm confirm(f.Text(4), f.Text(3), f.Text(2), f.Text(1),
                                 f.Text(0));
  CheckBody(confirm, f);

  TVLQCompDRSLocation location(f.Text(5), f.Text(6), f.Text(7), f.Text(8),
                               f.Text(9), f.Text(10));
  TVLQCompDRSPosDiagnostics diagnostics(f.Text(0), f.Text(1), f.Text(2),
                                        f.Text(11), f.Text(12), f.Text(3),
                                        company, location);
  CheckBody(diagnostics, f);
  TVLQCompDRSLocation& cut = diagnostics.Location;
  Check(cut.Name.size() <= 255 && cut.City.size() <= 255 &&
            cut.PostalCode.size() <= 6 && cut.Street.size() <= 255 &&
            cut.Building.size() <= 20 && cut.Local.size() <= 20 &&
            diagnostics.Model.size() <= 255 && diagnostics.PosVer.size() <= 255,
        "over-long texts are not cut");
  Check(location.GetJSON() == cut.GetJSON(), "location cut differs");

  TVLQCompDRSEanUnknown unknown;
  TVLQCompDRSCouponIssue issue(f.Text(0), f.Text(1), f.Text(2));
  TVLQCompDRSCouponConfirm coupons;
  TVLQCompDRSPackage package(f.Text(0), f.Text(1), f.Text(2), f.Text(3));
  for (std::size_t i = 0; i < f.Size(); ++i) {
    unknown.GetEans()->Add(AnsiToWide(f.Text(i)));
    issue.DodajEan(f.Text(i), f.Number(i + 1), f.Text(i + 2));
    coupons.DodajCoupon(f.Text(i), f.Text(i + 1), f.Number(i + 2),
                        f.Text(i + 3), f.Text(i + 4));
    const int content = package.DodajPackageContent(f.Text(i));
    Check(content == -1 || content == package.GetIlosc() - 1, "content index");
    package.DodajFractionContentDoPackageContent(f.Number(i), f.Text(i + 1),
                                                 f.Number(i + 2));
  }
  CheckBody(unknown, f);
  CheckBody(issue, f);
  CheckBody(coupons, f);
  const AnsiString packageJson = CheckBody(package, f);
  TVLQCompDRSPackage copy = package;
  package.WyczyscListePackageContents();
  Check(copy.GetJSON() == packageJson, "package copy shares items");
}

void CheckAnswers(const Fields& f) {
  TVLQCompDRSResponseCouponList list;
  TVLQCompDRSResponseCouponValue value(f.Text(0), f.Number(1));
  TVLQCompDRSResponseConfiguration configuration;
  for (std::size_t i = 0; i < f.Size(); ++i) {
    if (list.DodajCoupon(f.Text(i))) {
      Check(list.GetItems(list.GetIlosc() - 1) == f.Text(i), "coupon line");
    }
    value.DodajEan(new TVLQCompDRSFractionContent(f.Text(i), f.Number(i)));
    auto* group = new TVLQCompDRSGroupConfiguration;
    group->Tekst = f.Text(i);
    group->DodajFraction(new TVLQCompDRSFractionConfiguration);
    configuration.DodajGroup(group);
  }
  TVLQCompDRSResponseCouponValue target;
  value.KopiujDo(target);
  value.KopiujDo(target);
  Check(target.GetIlosc() == 2 * value.GetIlosc(), "KopiujDo count");
  const TVLQCompDRSResponseConfiguration copy = configuration;
  configuration.WyczyscListeGroups();
  Check(copy.GetGroupsIlosc() == static_cast<int>(f.Size()), "copy groups");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  CheckHex(input);
  const Fields fields(input);
  CheckRequests(fields);
  CheckAnswers(fields);
  return 0;
}
