#include "profile/RegulaZnakow.h"

#include "scan/LineScanner.h"

namespace profile {

namespace {

TProfil& Aktywny() {
  static TProfil p = Domyslny();
  return p;
}

}  // namespace

kodowanie::TRegulaZnakow RegulaZnakow(const TProfil& p) {
  return kodowanie::ZbudujRegule(kodowanie::Litery(p.kodowanie), p.zabronione,
                                 p.konceLinii == TKonceLinii::CRLF);
}

void UzyjProfilu(const TProfil& p) {
  scan::UzyjReguly(RegulaZnakow(p));
  Aktywny() = p;
}

const TProfil& AktywnyProfil() {
  return Aktywny();
}

}  // namespace profile
