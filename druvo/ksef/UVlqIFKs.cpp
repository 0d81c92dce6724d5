#include "druvo/ksef/UVlqIFKs.h"

#include <utility>

namespace druvo {

AnsiString KsefTekstRodzajuFaktury(TVLQKsefRodzajFaktury rodzaj) {
  switch (rodzaj) {
    case rfKOR:
      return "KOR";
    case rfZAL:
      return "ZAL";
    case rfROZ:
      return "ROZ";
    case rfUPR:
      return "UPR";
    case rfKOR_ZAL:
      return "KOR_ZAL";
    case rfKOR_ROZ:
      return "KOR_ROZ";
    case rfVAT:
    default:
      return "VAT";
  }
}

TVLQListaFakturZKSeF::TVLQListaFakturZKSeF() = default;

TVLQListaFakturZKSeF::~TVLQListaFakturZKSeF() { Czysc(); }

void TVLQListaFakturZKSeF::Czysc() {
  for (auto& faktura : faktury_) faktura.reset();
  faktury_.clear();
}

int TVLQListaFakturZKSeF::GetIleFaktur() const {
  return static_cast<int>(faktury_.size());
}

TVLQFakturaZKSeF* TVLQListaFakturZKSeF::GetFaktura(int i) const {
  if (i < 0 || i >= GetIleFaktur()) return nullptr;
  return faktury_[static_cast<std::size_t>(i)].get();
}

int TVLQListaFakturZKSeF::DodajFakture(TVLQFakturaZKSeF* faktura) {
  std::unique_ptr<TVLQFakturaZKSeF> wlasna(faktura);
  faktury_.push_back(std::move(wlasna));
  return GetIleFaktur() - 1;
}

}  // namespace druvo
