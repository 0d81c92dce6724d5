#include "druvo/services/UVlqIGc.h"

#include <memory>

#include "druvo/util/KorbLib.h"

namespace druvo {

AnsiString GetNazwePodstrony(TVLQTypDanychGC typ) {
  struct Row {
    const char* key;
    const char16_t* path;
  };
  static constexpr Row kRows[] = {
      {"GetNazwereturn", u"product-order-statuses"},
      {"GetNazwereturn_00001", u"measurement-units"},
      {"GetNazwereturn_00002", u"products/import"},
      {"GetNazwereturn_00003", u"product-orders"},
      {"GetNazwereturn_00004", u"payment-methods"},
  };
  const int value = static_cast<int>(typ);
  if (value < 1 || value > 5) return {};
  const Row& row = kRows[value - 1];
  return WideToAnsi(
      TMLgTools::GetString("Druvo_UVlqIGc", row.key, 0, row.path));
}

TVLQGCError::TVLQGCError() { Czysc(); }

TVLQGCError::~TVLQGCError() = default;

void TVLQGCError::Czysc() {
  BladTekst1.clear();
  BladTekst2.clear();
  BladLiczba = 0;
  BladZnacznik = false;
}

TVLQGCImportStatusowZamowien::TVLQGCImportStatusowZamowien() { Czysc(); }

void TVLQGCImportStatusowZamowien::Czysc() {
  Tekst1.clear();
  Tekst2.clear();
  Tekst3.clear();
  Tekst4.clear();
}

void TVLQGCImportStatusowZamowien::WyczyscListe(TList* lista) {
  DestroyItemsAs<TVLQGCImportStatusowZamowien>(lista);
}

TVLQGCImportJednostekMiary::TVLQGCImportJednostekMiary() { Czysc(); }

void TVLQGCImportJednostekMiary::Czysc() {
  Liczba = -1;
  Tekst1.clear();
  Tekst2.clear();
}

void TVLQGCImportJednostekMiary::WyczyscListe(TList* lista) {
  DestroyItemsAs<TVLQGCImportJednostekMiary>(lista);
}

}  // namespace druvo
