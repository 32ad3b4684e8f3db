#include "profil/RegulaZnakow.h"

#include "scan/LineScanner.h"

namespace profile {

namespace {

TProfil& Aktywny() {
  static TProfil p = Domyslny();
  return p;
}

}  // namespace

Typy::TRegulaZnakow RegulaZnakow(const TProfil& p) {
  return Typy::ZbudujRegule(kodowanie::Litery(p.kodowanie), p.zabronione,
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
