#include "druvo/services/UVlqIShp.h"

#include <memory>

#include "druvo/util/KorbLib.h"

namespace druvo {

AnsiString NazwaPodstronySerwisu(TVLQTypImportuShoper typ) {
  return typ == tisFormyPlatnosci ? "webapi/rest/payments" : "";
}

bool CzyFormaPlatnosciOnline(const AnsiString& nazwa) {
  static constexpr const char* kWords[] = {
      "DotPay",    "Przelewy24.pl", "Raty",      "PayU",
      "PayPal",    "sofort",        "braintree", "Przelew",
      "mTransfer", "multiTransfer", "tpay"};
  if (Trim(nazwa).empty()) return false;
  const TxTools text(nazwa);
  for (const char* word : kWords)
    if (text.ContainsStr(word, true)) return true;
  return false;
}

// ---- TVLQShoperError, TVLQShoperFPlatnosci ----

TVLQShoperError::TVLQShoperError() { Czysc(); }

TVLQShoperError::~TVLQShoperError() = default;

void TVLQShoperError::Czysc() {
  BladTekst1.clear();
  BladTekst2.clear();
  BladLiczba = 0;
  BladZnacznik = false;
}

TVLQShoperFPlatnosci::TVLQShoperFPlatnosci() { Czysc(); }

void TVLQShoperFPlatnosci::Czysc() {
  TVLQShoperError::Czysc();
  Id = -1;
  Liczba1 = -1;
  Liczba2 = -1;
  Liczba3 = 0;
  Liczba4 = -1;
  Tekst1.clear();
  Tekst2.clear();
  Znacznik1 = true;
  Znacznik2 = false;
}

TVLQShoperFPlatnosci* TVLQShoperFPlatnosci::ZnajdzFPlatnosciWgId(TList* lista,
                                                                 int id) {
  if (lista == nullptr) return nullptr;
  for (int i = 0; i < lista->Count(); ++i) {
    auto* item = static_cast<TVLQShoperFPlatnosci*>(lista->Items(i));
    if (item != nullptr && item->Id == id) return item;
  }
  return nullptr;
}

void TVLQShoperFPlatnosci::WyczyscListe(TList* lista) {
  DestroyItemsAs<TVLQShoperFPlatnosci>(lista);
}

// ---- TVLQShoperLogin ----

TVLQShoperLogin::TVLQShoperLogin() { Czysc(); }

void TVLQShoperLogin::Czysc() {
  Tekst1.clear();
  Tekst2.clear();
  Tekst3.clear();
  Tekst4.clear();
  Liczba = 0;
}

// ---- TVLQMapaFPlatnosci ----

TVLQMapaFPlatnosci::TVLQMapaFPlatnosci() { Czysc(); }

void TVLQMapaFPlatnosci::Czysc() {
  Liczba1 = -1;
  Liczba2 = -1;
  Tekst.clear();
  Znacznik = false;
}

int TVLQMapaFPlatnosci::ZnajdzMapowanieFormyPlatnosci(
    const TVLQMapaFormPlatnosci* mapa, int klucz, bool& flaga, int& drugi) {
  flaga = false;
  drugi = -1;
  if (mapa == nullptr) return -1;
  const auto found = mapa->find(klucz);
  if (found == mapa->end() || found->second == nullptr) return -1;
  flaga = found->second->Znacznik;
  drugi = found->second->Liczba2;
  return found->second->Liczba1;
}

void TVLQMapaFPlatnosci::WyczyscMape(TVLQMapaFormPlatnosci* mapa) {
  if (mapa == nullptr) return;
  for (auto& entry : *mapa) {
    delete entry.second;
    entry.second = nullptr;
  }
  mapa->clear();
}

}  // namespace druvo
