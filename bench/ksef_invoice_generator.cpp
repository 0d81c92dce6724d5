#include "bench/ksef_invoice_generator.h"

#include <cstdint>
#include <string>
#include <utility>

namespace druvo::bench {
namespace {

// A small deterministic generator (xorshift) for varied line values.
class Sequence {
 public:
  explicit Sequence(unsigned seed) : state_(seed * 2654435761u + 1) {}
  std::uint32_t Next(std::uint32_t bound) {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_ % bound;
  }

 private:
  std::uint32_t state_;
};

// `number` with leading zeros up to `width` digits.
std::string Padded(int number, std::size_t width) {
  const std::string digits = std::to_string(number);
  return digits.size() >= width
             ? digits
             : std::string(width - digits.size(), '0') + digits;
}

// `cents` as "123.45".
std::string Amount(long long cents) {
  std::string text = std::to_string(cents / 100) + ".";
  const int rest = static_cast<int>(cents % 100);
  if (rest < 10) text += '0';
  return text + std::to_string(rest);
}

// Thousandths as "12.000".
std::string Quantity(long long thousandths) {
  std::string text = std::to_string(thousandths / 1000) + ".";
  const std::string rest = std::to_string(thousandths % 1000);
  return text + std::string(3 - rest.size(), '0') + rest;
}

class InvoiceWriter {
 public:
  void Open(int level, const std::string& name) {
    Indent(level);
    out_ += "<" + name + ">\r\n";
  }
  void Close(int level, const std::string& name) {
    Indent(level);
    out_ += "</" + name + ">\r\n";
  }
  void Field(int level, const std::string& name, const std::string& value) {
    Indent(level);
    out_ += "<" + name + ">" + value + "</" + name + ">\r\n";
  }
  void Raw(const std::string& text) { out_ += text; }
  std::string& Text() { return out_; }

 private:
  void Indent(int level) { out_.append(static_cast<std::size_t>(level), '\t'); }
  std::string out_;
};

void WriteParty(InvoiceWriter& w, const std::string& element,
                const std::string& nip, const std::string& name,
                const std::string& street) {
  w.Open(1, element);
  w.Open(2, "DaneIdentyfikacyjne");
  w.Field(3, "NIP", nip);
  w.Field(3, "Nazwa", name);
  w.Close(2, "DaneIdentyfikacyjne");
  w.Open(2, "Adres");
  w.Field(3, "KodKraju", "PL");
  w.Field(3, "AdresL1", street);
  w.Field(3, "AdresL2", "00-001 Warszawa");
  w.Close(2, "Adres");
  w.Open(2, "DaneKontaktowe");
  w.Field(3, "Email", "biuro@example.pl");
  w.Field(3, "Telefon", "225551234");
  w.Close(2, "DaneKontaktowe");
  w.Close(1, element);
}

struct LineTotals {
  long long net = 0;  // cents
};

void WriteLine(InvoiceWriter& w, int number, Sequence& random,
               LineTotals& totals) {
  const long long quantity = 1000 + 250 * random.Next(80);  // thousandths
  const long long price = 99 + random.Next(250000);         // cents
  const long long net = (quantity * price + 500) / 1000;
  totals.net += net;
  const std::string id = std::to_string(number);
  w.Open(2, "FaWiersz");
  w.Field(3, "NrWierszaFa", id);
  w.Field(3, "UU_ID", "aaaa1111-bbbb-2222-cccc-" + Padded(number, 12));
  w.Field(3, "P_6A", "2026-01-27");
  // "Towar handlowy nr N, opakowanie zbiorcze (żółć)" in CP1250.
  w.Field(
      3, "P_7",
      "Towar handlowy nr " + id + ", opakowanie zbiorcze (\xBF\xF3\xB3\xE6)");
  w.Field(3, "Indeks", "IDX-" + Padded(number, 8));
  w.Field(3, "GTIN", "590" + std::to_string(1000000000 + number));
  w.Field(3, "PKWiU", "46.90.10.0");
  w.Field(3, "P_8A", "szt.");
  w.Field(3, "P_8B", Quantity(quantity));
  w.Field(3, "P_9A", Amount(price));
  w.Field(3, "P_11", Amount(net));
  w.Field(3, "P_12", "23");
  w.Close(2, "FaWiersz");
}

void WriteHeader(InvoiceWriter& w) {
  w.Raw("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n");
  w.Raw(
      "<Faktura xmlns:etd=\"http://crd.gov.pl/xml/schematy/dziedzinowe/mf/"
      "2022/01/05/eD/DefinicjeTypy/\" xmlns:xsi=\"http://www.w3.org/2001/"
      "XMLSchema-instance\" xmlns=\"http://crd.gov.pl/wzor/2025/06/25/"
      "13775/\">\r\n");
  w.Open(1, "Naglowek");
  w.Raw(
      "\t\t<KodFormularza kodSystemowy=\"FA (3)\" wersjaSchemy=\"1-0E\">FA"
      "</KodFormularza>\r\n");
  w.Field(2, "WariantFormularza", "3");
  w.Field(2, "DataWytworzeniaFa", "2026-02-01T00:00:00Z");
  w.Field(2, "SystemInfo", "Generator benchmarku");
  w.Close(1, "Naglowek");
  // "Hurtownia Łódź sp. z o.o." and "Sklep Gęś" in CP1250.
  WriteParty(w, "Podmiot1", "9999999999",
             "Hurtownia \xA3\xF3\x64\x9F sp. z o.o.", "ul. Kwiatowa 1 m. 2");
  WriteParty(w, "Podmiot2", "1111111111", "Sklep G\xEA\x9C", "ul. Polna 1");
}

void WriteTotals(InvoiceWriter& w, const LineTotals& totals) {
  const long long vat = (totals.net * 23 + 50) / 100;
  w.Field(2, "P_13_1", Amount(totals.net));
  w.Field(2, "P_14_1", Amount(vat));
  w.Field(2, "P_15", Amount(totals.net + vat));
  w.Open(2, "Adnotacje");
  for (const char* flag : {"P_16", "P_17", "P_18", "P_18A"}) {
    w.Field(3, flag, "2");
  }
  w.Close(2, "Adnotacje");
  w.Field(2, "RodzajFaktury", "VAT");
}

}  // namespace

std::string GenerateKsefInvoice(int lines, unsigned seed) {
  InvoiceWriter w;
  w.Text().reserve(static_cast<std::size_t>(lines) * 450 + 4096);
  WriteHeader(w);
  // The totals come before the lines in FA(3); compute them first.
  Sequence random(seed);
  LineTotals totals;
  InvoiceWriter scratch;
  for (int i = 1; i <= lines; ++i) WriteLine(scratch, i, random, totals);
  w.Open(1, "Fa");
  w.Field(2, "KodWaluty", "PLN");
  w.Field(2, "P_1", "2026-02-15");
  w.Field(2, "P_1M", "Warszawa");
  w.Field(2, "P_2", "FV2026/02/" + std::to_string(seed));
  w.Field(2, "P_6", "2026-01-27");
  WriteTotals(w, totals);
  w.Raw(scratch.Text());
  w.Open(2, "Platnosc");
  w.Field(3, "Zaplacono", "1");
  w.Field(3, "DataZaplaty", "2026-02-15");
  w.Field(3, "FormaPlatnosci", "6");
  w.Close(2, "Platnosc");
  w.Close(1, "Fa");
  w.Raw("</Faktura>\r\n");
  return std::move(w.Text());
}

}  // namespace druvo::bench
