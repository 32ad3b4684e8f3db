#include "messages/QtUserMessages.h"

#include "TekstyOkien.h"
#include "messages/AppTitle.h"
#include "messages/OknoKomunikatu.h"
#include "typy/TekstBledu.h"

namespace ui {

void TQtUserMessages::Ostrzezenie(const std::string& tekst) {
  TOknoModalne modalne(*this);
  PokazOknoKomunikatu(teksty::komunikaty::kOstrzezenie.str(), tekst, QStyle::SP_MessageBoxWarning,
                      true);
}
void TQtUserMessages::Informacja(const std::string& tekst) {
  TOknoModalne modalne(*this);
  PokazOknoKomunikatu(teksty::komunikaty::kInformacja.str(), tekst,
                      QStyle::SP_MessageBoxInformation, true);
}
void TQtUserMessages::Komunikat(const std::string& tekst) {
  TOknoModalne modalne(*this);
  PokazOknoKomunikatu(TytulAplikacji(), tekst, QStyle::SP_MessageBoxInformation, false);
}

void TQtUserMessages::BladKrytyczny(const std::string& komunikat) {
  TOknoModalne modalne(*this);
  PokazOknoBledu(TytulAplikacji(), Typy::bledy::TekstBledu(komunikat));
}

bool TQtUserMessages::Pytanie(const std::string& tekst) {
  TOknoModalne modalne(*this);
  return PokazPytanie(TytulAplikacji(), tekst);
}

bool TQtUserMessages::PytanieTakDomyslnie(const std::string& tekst) {
  TOknoModalne modalne(*this);
  return PokazPytanie(TytulAplikacji(), tekst, true);
}

std::optional<std::string> TQtUserMessages::OtworzWykazBankow(QWidget* rodzic) {
  TOknoModalne modalne(*this);
  return dialogi_.OtworzWykazBankow(rodzic);
}

std::optional<std::string> TQtUserMessages::OtworzPlik(QWidget* rodzic) {
  TOknoModalne modalne(*this);
  return dialogi_.OtworzPlik(rodzic);
}

std::optional<std::string> TQtUserMessages::ZapiszPlik(QWidget* rodzic) {
  TOknoModalne modalne(*this);
  return dialogi_.ZapiszPlik(rodzic);
}

bool TQtUserMessages::UstawieniaDrukarki(QPrinter& drukarka, QWidget* rodzic) {
  TOknoModalne modalne(*this);
  return dialogi_.UstawieniaDrukarki(drukarka, rodzic);
}

}  // namespace ui
