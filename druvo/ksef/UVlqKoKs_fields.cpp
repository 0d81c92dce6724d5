// KSeF conversion: finding elements and reading their texts, amounts and
// dates.
#include "druvo/ksef/UVlqKoKs.h"

#include <string_view>

#include "druvo/ksef/UVlqKoKs_internal.h"
#include "druvo/platform/Exceptions.h"
#include "druvo/platform/NumberText.h"
#include "druvo/xml/UVlqXml.h"

namespace druvo {
namespace koks_detail {

namespace {

int CzescDaty(std::string_view tekst, int start, int ile) {
  return StrToIntDef(TxTools(AnsiString(tekst)).ExtractFrom(start, ile), -1);
}

bool TaSamaNazwa(std::string_view nazwa, std::string_view wzor) {
  if (nazwa.size() != wzor.size()) return false;
  if (nazwa == wzor) return true;
  TKluczNazwy klucz;
  TKluczNazwy kluczWzoru;
  if (KluczNazwyDziecka(nazwa, klucz) && KluczNazwyDziecka(wzor, kluczWzoru)) {
    return klucz == kluczWzoru;
  }
  return AnsiSameText(nazwa, wzor);
}

}  // namespace

TVLQXmlNode* Wezel(const TVLQXmlNode* node, std::string_view name) {
  if (node == nullptr) return nullptr;
  for (const auto& dziecko : node->Nodes) {
    if (dziecko->Name.size() == name.size() &&
        TaSamaNazwa(dziecko->Name, name)) {
      return dziecko.get();
    }
  }
  return nullptr;
}

const AnsiString& WartoscPola(const TVLQXmlNode* node, std::string_view name) {
  static const AnsiString kPusty;
  const TVLQXmlNode* pole = Wezel(node, name);
  return pole == nullptr ? kPusty : pole->Value;
}

bool KwotaWezla(const TVLQXmlNode* pole, double& kwota) {
  kwota = 0;
  if (pole == nullptr) return false;
  if (pole->Value.empty()) return true;
  TxfTools liczba;
  liczba.FromString(pole->Value, 10, true);
  kwota = liczba.Value();
  return true;
}

// `tekst` with every CR LF pair replaced by one blank. Replacing a pair by a
// blank never forms a new pair, so one pass leaves none.
AnsiString JednaLinia(const AnsiString& tekst) {
  if (tekst.find("\r\n") == AnsiString::npos) return tekst;
  AnsiString wynik;
  wynik.reserve(tekst.size());
  for (std::size_t i = 0; i < tekst.size(); ++i) {
    if (tekst[i] == '\r' && i + 1 < tekst.size() && tekst[i + 1] == '\n') {
      wynik += ' ';
      ++i;
    } else {
      wynik += tekst[i];
    }
  }
  return wynik;
}

}  // namespace koks_detail

using namespace koks_detail;

// ---------------------------------------------------------------------------
// TVLQKonwersjaKSeF: field readers

AnsiString TVLQKonwersjaKSeF::OdczytajTekstZPola(TVLQXmlNode* node,
                                                 std::string_view name,
                                                 bool jednaLinia) {
  const TVLQXmlNode* pole = Wezel(node, name);
  if (pole == nullptr) return AnsiString();
  return jednaLinia ? JednaLinia(pole->Value) : pole->Value;
}

bool TVLQKonwersjaKSeF::OdczytajKwoteZPola(TVLQXmlNode* node,
                                           std::string_view name,
                                           double& kwota) {
  return KwotaWezla(Wezel(node, name), kwota);
}

TDateTime TVLQKonwersjaKSeF::ParsujDateKSeF(std::string_view tekst) {
  if (tekst.size() < 10) return 0;
  const int rok = CzescDaty(tekst, 0, 4);
  const int miesiac = CzescDaty(tekst, 5, 2);
  const int dzien = CzescDaty(tekst, 8, 2);
  if (rok < 0 || miesiac < 0 || dzien < 0) {
    throw EConvertError("Invalid argument to date encode");
  }
  return EncodeDate(static_cast<unsigned short>(rok),
                    static_cast<unsigned short>(miesiac),
                    static_cast<unsigned short>(dzien));
}

}  // namespace druvo
