#include "PlikiWyjsciowe.h"

#include "raport/ZapiszPoprawiony.h"
#include "typy/TekstBledu.h"

namespace cli {

void TPlikiWyjsciowe::ZacznijPoprawiony() {
  try {
    poprawiony_ = std::make_unique<platform::AtomicOutputFile>(
        raport::NazwaPlikuPoprawionego(sciezka_), sciezka_);
  } catch (const std::exception& e) {
    bladPoprawionego_ = Typy::bledy::Opis(e);
  }
}

void TPlikiWyjsciowe::LiniaRaportu(std::uint64_t linia, std::string_view bajty) {
  if (!o_.raport || bladRaportu_) return;
  try {
    if (!raport_) {
      raport_.emplace(*o_.raport, sciezka_);
      raport::NaglowekRaportu(*raport_, sciezka_, platform::CzasLokalny(), separatorCzasu_);
    }
    raport::CzescLinii(*raport_, linia, bajty);
  } catch (const std::exception& e) {
    bladRaportu_ = Typy::bledy::Opis(e);
    raport_.reset();
  }
}

void TPlikiWyjsciowe::Poprawione(const char* dane, std::size_t n) {
  if (!poprawiony_) return;
  try {
    poprawiony_->Write(dane, n);
  } catch (const std::exception& e) {
    bladPoprawionego_ = Typy::bledy::Opis(e);
    poprawiony_.reset();
  }
}

Wynik TPlikiWyjsciowe::Zakoncz(bool bledy) {
  Wynik wynik = kPoprawny;
  if (o_.raport) {
    if (!bledy) {
      if (!o_.cicho) out_ << plik_ << ": raportu nie zapisano, plik nie zawiera błędów\n";
    } else {
      try {
        if (raport_) {
          raport::KoniecRaportu(*raport_);
          raport_->Zatwierdz();
        }
      } catch (const std::exception& e) {
        bladRaportu_ = Typy::bledy::Opis(e);
      }
      if (bladRaportu_) {
        ZglosBlad(out_, *o_.raport, *bladRaportu_);
        wynik = kAwaria;
      }
    }
  }
  if (o_.popraw && bledy) {
    try {
      if (poprawiony_) {
        poprawiony_->Commit();
        if (!o_.cicho)
          out_ << plik_ << ": zapisano "
               << platform::AbsolutePath(raport::NazwaPlikuPoprawionego(sciezka_)) << '\n';
      }
    } catch (const std::exception& e) {
      bladPoprawionego_ = Typy::bledy::Opis(e);
    }
    if (bladPoprawionego_) {
      ZglosBlad(out_, raport::NazwaPlikuPoprawionego(plik_), *bladPoprawionego_);
      wynik = kAwaria;
    }
  }
  return wynik;
}

}  // namespace cli
